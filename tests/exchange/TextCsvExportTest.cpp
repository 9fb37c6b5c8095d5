// Tab-separated text and CSV: the exact bytes of rows, cells, quoting and
// the edge cases of empty output.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsText.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxExportClass Text = ExportClass<TDBGridGxExportAsText>;
const TDBGridGxExportClass CSV = ExportClass<TDBGridGxExportAsCSV>;

TEST(TextCsvExport, TwoColumnsTwoRecordsExportAll)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "A\tB\r\n1\tx\r\n2\ty");
    EXPECT_EQ(Exported(CSV, *grid.Grid, true), "\"A\";\"B\"\r\n\"1\";\"x\"\r\n\"2\";\"y\"");
}

TEST(TextCsvExport, NoSelectionWritesNothing)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    ASSERT_EQ(grid.Selection().SelectionType(), gstNon);
    EXPECT_EQ(Exported(Text, *grid.Grid, false), "");
    EXPECT_EQ(Exported(CSV, *grid.Grid, false), "");
}

TEST(TextCsvExport, EmptyDatasetGivesTheTitleRowAlone)
{
    TExportGrid grid;
    grid.AddField("A", ftInteger);
    grid.AddField("B", ftString, 10);
    grid.Bind();
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "A\tB");
    EXPECT_EQ(Exported(CSV, *grid.Grid, true), "\"A\";\"B\"");
}

TEST(TextCsvExport, WithoutTitlesOnlyTheRecords)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    grid.Grid->SetOptions(grid.Grid->Options() - dgTitles);
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "1\tx\r\n2\ty");
}

TEST(TextCsvExport, CsvQuotesEveryCellAndDoublesQuotes)
{
    TExportGrid grid;
    grid.AddField("T", ftString, 30);
    grid.AddRecord({TVariant("say \"hi\"")});
    grid.AddRecord({TVariant::Null()});
    grid.AddRecord({TVariant("a;b\r\nc\td")});
    grid.AddRecord({TVariant("\xE4\xB8\xAD\"\xE6\x96\x87")});
    grid.Bind();
    EXPECT_EQ(Exported(CSV, *grid.Grid, true),
              "\"T\"\r\n\"say \"\"hi\"\"\"\r\n\"\"\r\n\"a;b\r\nc\td\"\r\n\"\xE4\xB8\xAD\"\"\xE6\x96\x87\"");
    EXPECT_EQ(CSVQuoted(""), "\"\"");
}

TEST(TextCsvExport, TextWritesCellTextsUnescaped)
{
    TExportGrid grid;
    grid.AddField("T", ftString, 30);
    grid.AddRecord({TVariant("a\tb\r\nc \"q\"")});
    grid.Bind();
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "T\r\na\tb\r\nc \"q\"");
}

TEST(TextCsvExport, TitlesAreTheColumnsCaptionsInOutputOrder)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    grid.Column("B")->Title()->SetCaption("Name \"B\"");
    grid.Column("A")->SetIndex(1);
    EXPECT_EQ(Exported(CSV, *grid.Grid, true), "\"Name \"\"B\"\"\";\"A\"\r\n\"x\";\"1\"\r\n\"y\";\"2\"");
}

TEST(TextCsvExport, CellTextsComeFromTheCellParameterEvents)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    std::vector<std::string> order;
    grid.Grid->OnGetCellParams = [&](TCustomDBGridGx&, TColumnGx& column, TFontGx&, TColor&, TGridDrawState state) {
        EXPECT_TRUE(state.Empty());
        order.push_back("grid " + column.FieldName());
    };
    grid.Column("B")->SetOnGetCellParams([&](TColumnGx& column, bool editMode, TColCellParamsGx& params) {
        EXPECT_FALSE(editMode);
        order.push_back("column " + column.FieldName());
        params.Text = "<" + params.Text + ">";
    });
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "A\tB\r\n1\t<x>\r\n2\t<y>");
    EXPECT_EQ(order, (std::vector<std::string>{"grid A", "grid B", "column B", "grid A", "grid B", "column B"}));
}

TEST(TextCsvExport, CsvSeparatorIsSemicolonAndCanBeChanged)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    TDBGridGxExportAsCSV exporter;
    EXPECT_EQ(exporter.SeparatorChar, ';');
    exporter.SeparatorChar = ',';
    exporter.Grid = grid.Grid.get();
    TMemoryStream stream;
    exporter.ExportIntoStream(stream, true);
    EXPECT_EQ(StreamText(stream), "\"A\",\"B\"\r\n\"1\",\"x\"\r\n\"2\",\"y\"");
}

}  // namespace
