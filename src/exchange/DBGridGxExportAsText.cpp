// Tab-separated text and CSV.

#include "exchange/DBGridGxExportAsText.h"

#include "grid/columns/ColumnGx.h"

void TDBGridGxExportAsText::ExportIntoStream(TStream& stream, bool exportAll)
{
    IsFirstRow = true;
    TDBGridGxExport::ExportIntoStream(stream, exportAll);
}

void TDBGridGxExportAsText::BeginRow()
{
    if (IsFirstRow)
        IsFirstRow = false;
    else
        Write("\r\n");
}

void TDBGridGxExportAsText::BeginCell()
{
    if (IsFirstCell)
        IsFirstCell = false;
    else
        Write("\t");
}

void TDBGridGxExportAsText::PutCellText(const std::string& text)
{
    Write(text);
}

void TDBGridGxExportAsText::PutTitleRow(const TColumnsGxList& columns)
{
    BeginRow();
    IsFirstCell = true;
    for (TColumnGx* column : columns) {
        BeginCell();
        PutCellText(column->Title()->Caption());
    }
}

void TDBGridGxExportAsText::PutDataRow(const TColumnsGxList& columns)
{
    BeginRow();
    IsFirstCell = true;
    TDBGridGxExport::PutDataRow(columns);
}

void TDBGridGxExportAsText::PutDataCell(TColumnGx& column, TColCellParamsGx& params)
{
    BeginCell();
    PutCellText(params.Text);
}

void TDBGridGxExportAsText::PutFooterRow(const TColumnsGxList& columns, int footerRow)
{
    BeginRow();
    IsFirstCell = true;
    TDBGridGxExport::PutFooterRow(columns, footerRow);
}

void TDBGridGxExportAsText::PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font,
                                          TColor background, TAlignment alignment, const std::string& text)
{
    BeginCell();
    PutCellText(text);
}

std::string CSVQuoted(const std::string& text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    // In UTF-8 no byte of a multi-byte character is a quote, so a plain
    // byte scan never mistakes part of a character for one.
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void TDBGridGxExportAsCSV::BeginCell()
{
    if (IsFirstCell)
        IsFirstCell = false;
    else
        Write(std::string_view(&SeparatorChar, 1));
}

void TDBGridGxExportAsCSV::PutCellText(const std::string& text)
{
    Write(CSVQuoted(text));
}
