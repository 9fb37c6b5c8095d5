// The HTML export: one UTF-8 table with widths, looks, escaped texts,
// merged multi-level titles and footers.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsHTML.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxExportClass HTML = ExportClass<TDBGridGxExportAsHTML>;

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(HtmlText, EscapesMarkupAndTurnsLineBreaksIntoBreaks)
{
    std::string out;
    AppendHtmlText(out, "a<b>&\"c'\r\nd\re\nf\xE4\xB8\xAD");
    EXPECT_EQ(out, "a&lt;b&gt;&amp;&quot;c&#39;<br>d<br>e<br>f\xE4\xB8\xAD");
}

TEST(HtmlExport, OneTableWithWidthsTitlesRecordsAndLooks)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    grid.Column("A")->SetWidth(70);
    grid.Column("B")->SetWidth(90);
    QFont font("Arial");
    font.setPointSize(9);
    font.setBold(true);
    grid.Column("B")->SetFont(TFontGx(font, clRed));
    grid.Column("B")->SetColor(RGB(1, 2, 3));
    grid.Column("B")->SetAlignment(taCenter);
    grid.Column("A")->Title()->SetCaption("<A & B>");
    const std::string text = Exported(HTML, *grid.Grid, true);
    EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(Count(text, "<table"), 1u);
    EXPECT_NE(text.find("<colgroup><col width=\"70\"><col width=\"90\"></colgroup>"), std::string::npos);
    EXPECT_NE(text.find("&lt;A &amp; B&gt;</font></th>"), std::string::npos);
    EXPECT_NE(text.find("<td align=\"center\" bgcolor=\"#010203\"><font face=\"Arial\" color=\"#ff0000\" "
                        "style=\"font-size:9pt\"><b>x</b></font></td>"),
              std::string::npos);
    EXPECT_EQ(Count(text, "<tr>"), 3u);
    EXPECT_EQ(Count(text, "<th "), 2u);
    EXPECT_EQ(Count(text, "<td "), 4u);
    const std::string end = "</table>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST(HtmlExport, NoSelectionWritesNothing)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    EXPECT_EQ(Exported(HTML, *grid.Grid, false), "");
}

TEST(HtmlExport, MultiLevelTitlesAreSpannedCellsAndFootersFollow)
{
    TExportGrid grid;
    MakeNumbered(grid, 3);
    grid.Column("ID")->Title()->SetCaption("Top|Mid|ID");
    grid.Column("C1")->Title()->SetCaption("Top|Mid|C1");
    grid.Column("C2")->Title()->SetCaption("Top|C2");
    grid.Column("C3")->Title()->SetCaption("C3");
    grid.Grid->SetUseMultiTitle(true);
    grid.Grid->SetFooterRowCount(1);
    grid.Column("ID")->Footer()->SetValueType(fvtSum);
    const std::string text = Exported(HTML, *grid.Grid, true);
    const size_t top = text.find("<th colspan=\"3\"");
    const size_t c3 = text.find("<th rowspan=\"3\"");
    const size_t mid = text.find("<th colspan=\"2\"");
    const size_t c2 = text.find("<th rowspan=\"2\"");
    ASSERT_NE(top, std::string::npos);
    ASSERT_NE(c3, std::string::npos);
    EXPECT_LT(top, c3);
    EXPECT_LT(c3, mid);
    EXPECT_LT(mid, c2);
    EXPECT_NE(text.find(">Top</font>"), std::string::npos);
    EXPECT_NE(text.find(">Mid</font>"), std::string::npos);
    EXPECT_EQ(Count(text, "<th "), 6u);
    EXPECT_EQ(Count(text, "<tr>"), 3u + 3u + 1u);
    EXPECT_NE(text.find(">6</font></td>"), std::string::npos);
}

}  // namespace
