#pragma once
// TDBGridGxExportAsHTML: the exported part of a grid as one HTML table in a
// small UTF-8 document, the form spreadsheets, word processors, mail and
// web editors paste as a table.  It keeps what the RTF export keeps: column
// widths, cell, title and footer colours, fonts with size and style,
// alignment, merged multi-level titles (colspan and rowspan) and footers.
// Every text is escaped; line breaks in a text become <br>.

#include "exchange/CellMarkupCache.h"
#include "exchange/DBGridGxExport.h"

class TTitleBandsGx;

class TDBGridGxExportAsHTML : public TDBGridGxExport {
protected:
    void BeginOutput() override;
    void EndOutput() override;
    void PutTitleRow(const TColumnsGxList& columns) override;
    void PutDataRow(const TColumnsGxList& columns) override;
    void PutDataCell(TColumnGx& column, TColCellParamsGx& params) override;
    void PutFooterRow(const TColumnsGxList& columns, int footerRow) override;
    void PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font, TColor background,
                       TAlignment alignment, const std::string& text) override;

private:
    // The markup around the text of a cell with its tag ("td" or "th"),
    // spans and look.
    TCellMarkupGx CellMarkup(const char* tag, int colSpan, int rowSpan, TAlignment alignment, const TFontGx& font,
                             TColor background) const;
    void PutCellText(const TCellMarkupGx& markup, const std::string& text);
    // A cell with its tag, spans and look.
    void PutCell(const char* tag, int colSpan, int rowSpan, TAlignment alignment, const TFontGx& font,
                 TColor background, const std::string& text);
    void PutMultiLevelTitles(const TColumnsGxList& columns);
    void Flush();

    std::string FOut;
    int FPixelsPerInch = 96;
    TCellMarkupCacheGx FDataCells;
    int FDataCellPosition = 0;
};

// Appends text with "&", "<", ">", '"' and "'" written as references and
// each line break (CR LF, CR or LF) as <br>.
void AppendHtmlText(std::string& out, std::string_view text);
