// The HTML table: the document around it, column widths, and cells whose
// look is written both as attributes and as inline formatting, which
// spreadsheets and editors alike understand.

#include "exchange/DBGridGxExportAsHTML.h"

#include "exchange/ExportLook.h"
#include "exchange/TitleBands.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "grid/DBGridGx.h"


namespace {

const char* AlignAttribute(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return "right";
    case taCenter:
        return "center";
    default:
        return "left";
    }
}

std::string HexColor(TColor color)
{
    static const char digits[] = "0123456789abcdef";
    const TColor rgb = RGBOf(color);
    const uint8_t parts[] = {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
    std::string text = "#";
    for (uint8_t part : parts) {
        text += digits[part >> 4];
        text += digits[part & 15];
    }
    return text;
}

}  // namespace

void AppendHtmlText(std::string& out, std::string_view text)
{
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char* reference = nullptr;
        switch (text[i]) {
        case '&':
            reference = "&amp;";
            break;
        case '<':
            reference = "&lt;";
            break;
        case '>':
            reference = "&gt;";
            break;
        case '"':
            reference = "&quot;";
            break;
        case '\'':
            reference = "&#39;";
            break;
        case '\r':
        case '\n':
            reference = "<br>";
            break;
        default:
            continue;
        }
        // Bytes that need no escape go in as one run.
        out.append(text.data() + run, i - run);
        out += reference;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        run = i + 1;
    }
    out.append(text.data() + run, text.size() - run);
}

void TDBGridGxExportAsHTML::Flush()
{
    Write(FOut);
    FOut.clear();
}

void TDBGridGxExportAsHTML::BeginOutput()
{
    FPixelsPerInch = PixelsPerInch();
    FDataCells.Clear();
    FOut += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n<body>\r\n"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
            "style=\"border-collapse:collapse;border:1px solid #000000\">\r\n<colgroup>";
    for (TColumnGx* column : ExportColumns())
        FOut += "<col width=\"" + std::to_string(column->Width()) + "\">";
    FOut += "</colgroup>\r\n";
    Flush();
}

void TDBGridGxExportAsHTML::EndOutput()
{
    Write("</table>\r\n</body>\r\n</html>\r\n");
}

TCellMarkupGx TDBGridGxExportAsHTML::CellMarkup(const char* tag, int colSpan, int rowSpan, TAlignment alignment,
                                                const TFontGx& font, TColor background) const
{
    TCellMarkupGx markup;
    std::string& open = markup.Open;
    open += '<';
    open += tag;
    if (colSpan > 1)
        open += " colspan=\"" + std::to_string(colSpan) + '"';
    if (rowSpan > 1)
        open += " rowspan=\"" + std::to_string(rowSpan) + '"';
    open += " align=\"";
    open += AlignAttribute(alignment);
    open += "\" bgcolor=\"" + HexColor(background) + "\"><font face=\"";
    AppendHtmlText(open, font.family().toStdString());
    open += "\" color=\"" + HexColor(font.Color()) + "\" style=\"font-size:" +
            std::to_string(FontPointSize(font, FPixelsPerInch)) + "pt\">";
    const char* styles[][2] = {{"<b>", "</b>"}, {"<i>", "</i>"}, {"<u>", "</u>"}, {"<s>", "</s>"}};
    const bool on[] = {font.bold(), font.italic(), font.underline(), font.strikeOut()};
    for (int k = 0; k < 4; ++k)
        if (on[k])
            open += styles[k][0];
    for (int k = 3; k >= 0; --k)
        if (on[k])
            markup.Close += styles[k][1];
    markup.Close += "</font></";
    markup.Close += tag;
    markup.Close += '>';
    return markup;
}

void TDBGridGxExportAsHTML::PutCell(const char* tag, int colSpan, int rowSpan, TAlignment alignment,
                                    const TFontGx& font, TColor background, const std::string& text)
{
    PutCellText(CellMarkup(tag, colSpan, rowSpan, alignment, font, background), text);
}

void TDBGridGxExportAsHTML::PutCellText(const TCellMarkupGx& markup, const std::string& text)
{
    FOut += markup.Open;
    AppendHtmlText(FOut, text);
    FOut += markup.Close;
}

void TDBGridGxExportAsHTML::PutTitleRow(const TColumnsGxList& columns)
{
    if (Grid->UseMultiTitle()) {
        PutMultiLevelTitles(columns);
        return;
    }
    FOut += "<tr>";
    for (TColumnGx* column : columns) {
        const TColumnTitleGx& title = *column->Title();
        PutCell("th", 1, 1, title.Alignment(), title.Font(), title.Color(), title.Caption());
    }
    FOut += "</tr>\r\n";
    Flush();
}

void TDBGridGxExportAsHTML::PutMultiLevelTitles(const TColumnsGxList& columns)
{
    const TTitleBandsGx bands(columns, Grid->TitleTree().Tree());
    for (int level = bands.LevelCount() - 1; level >= 0; --level) {
        FOut += "<tr>";
        for (int i = 0; i < columns.Count(); ++i) {
            const TTitleBandCellGx& cell = bands.Cell(level, i);
            if (!cell.Keeps)
                continue;
            // A block that reaches the bottom level over one column is that
            // column's own title; the bands above show the grid's title look.
            const bool own = level - cell.RowSpan + 1 == 0 && cell.ColSpan == 1;
            const TColumnTitleGx& title = *columns[i]->Title();
            PutCell("th", cell.ColSpan, cell.RowSpan, taCenter, own ? title.Font() : Grid->TitleFont(),
                    own ? title.Color() : Grid->FixedColor(), bands.Text(level, i));
        }
        FOut += "</tr>\r\n";
    }
    Flush();
}

void TDBGridGxExportAsHTML::PutDataRow(const TColumnsGxList& columns)
{
    FOut += "<tr>";
    FDataCellPosition = 0;
    TDBGridGxExport::PutDataRow(columns);
    FOut += "</tr>\r\n";
    Flush();
}

void TDBGridGxExportAsHTML::PutDataCell(TColumnGx& column, TColCellParamsGx& params)
{
    const TCellMarkupGx& markup =
        FDataCells.Markup(FDataCellPosition++, params.Font, params.Background, params.Alignment, [&] {
            return CellMarkup("td", 1, 1, params.Alignment, params.Font, params.Background);
        });
    PutCellText(markup, params.Text);
}

void TDBGridGxExportAsHTML::PutFooterRow(const TColumnsGxList& columns, int footerRow)
{
    FOut += "<tr>";
    TDBGridGxExport::PutFooterRow(columns, footerRow);
    FOut += "</tr>\r\n";
    Flush();
}

void TDBGridGxExportAsHTML::PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font,
                                          TColor background, TAlignment alignment, const std::string& text)
{
    PutCell("td", 1, 1, alignment, font, background, text);
}
