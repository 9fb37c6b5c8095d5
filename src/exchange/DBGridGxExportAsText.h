#pragma once
// TDBGridGxExportAsText: tab-separated text, one line per row, CR LF
// between rows and none after the last; UTF-8 without a byte-order mark.
// Cell texts are written as they stand (a tab or line break inside a text
// is not escaped).
//
// TDBGridGxExportAsCSV: the same rows with every cell quoted (quotes in
// the text doubled) and SeparatorChar between cells.

#include "exchange/DBGridGxExport.h"

class TDBGridGxExportAsText : public TDBGridGxExport {
public:
    void ExportIntoStream(TStream& stream, bool exportAll) override;

protected:
    void PutTitleRow(const TColumnsGxList& columns) override;
    void PutDataRow(const TColumnsGxList& columns) override;
    void PutDataCell(TColumnGx& column, TColCellParamsGx& params) override;
    void PutFooterRow(const TColumnsGxList& columns, int footerRow) override;
    void PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font, TColor background,
                       TAlignment alignment, const std::string& text) override;

    // Starts a row: a line break before every row but the first.
    virtual void BeginRow();
    // Starts a cell: the separator before every cell of a row but the first.
    virtual void BeginCell();
    // Writes one cell's text as the format wants it.
    virtual void PutCellText(const std::string& text);

    bool IsFirstRow = true;
    bool IsFirstCell = true;
};

// The separator every CSV exporter starts with.
inline constexpr char DefaultCSVSeparatorChar = ';';

class TDBGridGxExportAsCSV : public TDBGridGxExportAsText {
public:
    char SeparatorChar = DefaultCSVSeparatorChar;

protected:
    void BeginCell() override;
    void PutCellText(const std::string& text) override;
};

// The text between double quotes, each double quote in it doubled.
std::string CSVQuoted(const std::string& text);
