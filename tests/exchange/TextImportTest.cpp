// The text importer: where the rows go for each selection kind and mode,
// how the parser splits cells and rows, and the error prompt.

#include "ImportTestSupport.h"

#include "data/DataSet.h"
#include "grid/columns/ColumnGx.h"

#include <gtest/gtest.h>

namespace {

const std::string TextFormatError = "TDBGridGxImportAsText.CheckState: Invalid text format";

// ID 1..5 with texts a<id>, b<id>, c<id>.
class TextImport : public ::testing::Test {
protected:
    void SetUp() override { MakeNumbered(Grid, 5); }
    // The current cell: the record with the ID, the column of the field.
    void GoToCell(int id, const std::string& field)
    {
        Grid.GoTo("ID", TVariant(id));
        SetCurrentColumn(Grid, field);
    }
    std::vector<std::string> Column(const std::string& field) { return FieldTexts(*Grid.Table, field); }

    TExportGrid Grid;
};

using Texts = std::vector<std::string>;

TEST_F(TextImport, FromCurrentCellOverwritesThenAppends)
{
    GoToCell(4, "C1");
    ImportText(*Grid.Grid, "p1\tq1\r\np2\tq2\r\np3\tq3");
    EXPECT_EQ(Column("C1"), (Texts{"a1", "a2", "a3", "p1", "p2", "p3"}));
    EXPECT_EQ(Column("C2"), (Texts{"b1", "b2", "b3", "q1", "q2", "q3"}));
    EXPECT_EQ(Column("C3"), (Texts{"c1", "c2", "c3", "c4", "c5", ""}));
    EXPECT_EQ(Grid.Table->State(), dsBrowse);
}

TEST_F(TextImport, WithoutAppendAllowedSurplusRowsAreDropped)
{
    Grid.Grid->SetAllowedOperations(AllAllowedOperationsGx - alopAppendGx);
    GoToCell(4, "C1");
    ImportText(*Grid.Grid, "p1\tq1\r\np2\tq2\r\np3\tq3");
    EXPECT_EQ(Column("C1"), (Texts{"a1", "a2", "a3", "p1", "p2"}));
}

TEST_F(TextImport, WhileInsertingEveryRowIsANewRecordInOrder)
{
    GoToCell(3, "C1");
    Grid.Table->Insert();
    ImportText(*Grid.Grid, "n1\r\nn2\r\nn3\r\n");
    // The user's new record, left empty, is dropped as any unchanged
    // insert is when the dataset moves on.
    EXPECT_EQ(Column("C1"), (Texts{"a1", "a2", "n1", "n2", "n3", "a3", "a4", "a5"}));
}

TEST_F(TextImport, LineFeedAloneIsPartOfTheCell)
{
    GoToCell(1, "C1");
    ImportText(*Grid.Grid, "x\ny\tz\n");
    EXPECT_EQ(Column("C1")[0], "x\ny");
    EXPECT_EQ(Column("C2")[0], "z\n");
    EXPECT_EQ(Column("C1")[1], "a2");
}

TEST_F(TextImport, CarriageReturnWithoutLineFeedIsAFormatError)
{
    GoToCell(1, "C1");
    for (const std::string text : {"x\ry", "x\r"}) {
        try {
            ImportText(*Grid.Grid, text);
            ADD_FAILURE() << "no format error";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), TextFormatError);
        }
        EXPECT_EQ(Grid.Table->State(), dsBrowse);
    }
    EXPECT_EQ(Column("C1")[0], "a1");
}

TEST_F(TextImport, EmptyCellsLinesAndTrailingTab)
{
    GoToCell(1, "C1");
    // An empty middle cell stores "", the cell after a line-ending tab is
    // not stored, an empty line uses up a record, a final line break adds
    // no row.
    ImportText(*Grid.Grid, "u\t\tw\r\nv\t\r\n\r\nlast\r\n");
    EXPECT_EQ(Column("C1"), (Texts{"u", "v", "a3", "last", "a5"}));
    EXPECT_EQ(Column("C2"), (Texts{"", "b2", "b3", "b4", "b5"}));
    EXPECT_EQ(Column("C3"), (Texts{"w", "c2", "c3", "c4", "c5"}));
}

TEST_F(TextImport, TextWithoutFinalLineBreakStoresItsLastCell)
{
    Grid.Selection().Cols().Select(Grid.Column("C3"), false);
    ImportText(*Grid.Grid, "one\r\ntwo");
    EXPECT_EQ(Column("C3"), (Texts{"one", "two", "c3", "c4", "c5"}));
}

TEST_F(TextImport, ReadOnlyColumnIsSkippedButKeepsItsPosition)
{
    Grid.Column("C2")->SetReadOnly(true);
    GoToCell(2, "C1");
    ImportText(*Grid.Grid, "x\ty\tz");
    EXPECT_EQ(TextOf(Grid, 2, "C1"), "x");
    EXPECT_EQ(TextOf(Grid, 2, "C2"), "b2");
    EXPECT_EQ(TextOf(Grid, 2, "C3"), "z");
}

TEST_F(TextImport, SelectionKindsChooseRecordsAndColumns)
{
    // Selected records, in bookmark order; surplus rows dropped.
    for (int id : {4, 2}) {
        Grid.GoTo("ID", TVariant(id));
        Grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
    }
    ImportText(*Grid.Grid, "10\tr1\r\n20\tr2\r\n30\tr3");
    EXPECT_EQ(Column("ID"), (Texts{"1", "10", "3", "20", "5"}));
    EXPECT_EQ(Column("C1"), (Texts{"a1", "r1", "a3", "r2", "a5"}));

    // A rectangle: its records and columns only.
    Grid.Selection().Clear();
    Grid.Selection().Rect().Select(2, Grid.BookmarkOf("ID", TVariant(3)), false);
    Grid.Selection().Rect().Select(3, Grid.BookmarkOf("ID", TVariant(20)), true);
    ImportText(*Grid.Grid, "s1\tt1\tdropped\r\ns2\tt2\r\ns3\tt3");
    EXPECT_EQ(Column("C2"), (Texts{"b1", "b2", "s1", "s2", "b5"}));
    EXPECT_EQ(Column("C3"), (Texts{"c1", "c2", "t1", "t2", "c5"}));
    EXPECT_EQ(Column("C1"), (Texts{"a1", "r1", "a3", "r2", "a5"}));
}

TEST_F(TextImport, ImportAllStartsAtTheFirstRecordAndColumn)
{
    GoToCell(3, "C2");
    ImportText(*Grid.Grid, "7\tg\r\n8\th", true);
    EXPECT_EQ(Column("ID"), (Texts{"7", "8", "3", "4", "5"}));
    EXPECT_EQ(Column("C1"), (Texts{"g", "h", "a3", "a4", "a5"}));
}

TEST_F(TextImport, KeyPickListColumn)
{
    TColumnGx& keyed = *Grid.Column("C3");
    keyed.SetPickList({"Red", "Green"});
    keyed.SetKeyList({"R", "G"});
    ASSERT_EQ(keyed.ColumnKind(), ckKeyPickList);
    GoToCell(1, "C3");
    ImportText(*Grid.Grid, "Green\r\nBlue");
    EXPECT_EQ(TextOf(Grid, 1, "C3"), "G");
    Grid.GoTo("ID", TVariant(2));
    EXPECT_TRUE(Grid.Table->FieldByName("C3")->IsNull());
}

TEST_F(TextImport, ErrorPromptYesNoAndAll)
{
    Grid.Selection().Cols().Select(Grid.Column("ID"), false);
    {
        // Yes skips the one value and goes on.
        TMessageAnswerer answerer(mrYes);
        ImportText(*Grid.Grid, "x\r\n12\r\ny\r\n14");
        EXPECT_EQ(answerer.Count(), 2);
        EXPECT_EQ(Column("ID"), (Texts{"1", "12", "3", "14", "5"}));
    }
    {
        // All skips this failure and every later one without asking.
        TMessageAnswerer answerer(mrAll);
        ImportText(*Grid.Grid, "x\r\n22\r\ny\r\n24");
        EXPECT_EQ(answerer.Count(), 1);
        EXPECT_EQ(Column("ID"), (Texts{"1", "22", "3", "24", "5"}));
    }
    {
        // No ends the import silently; the rows before stay.
        TMessageAnswerer answerer(mrNo);
        EXPECT_THROW(ImportText(*Grid.Grid, "31\r\nx\r\n33"), EAbort);
        EXPECT_EQ(answerer.Count(), 1);
        EXPECT_EQ(Column("ID"), (Texts{"31", "22", "3", "24", "5"}));
        EXPECT_EQ(Grid.Table->State(), dsBrowse);
    }
    {
        // Each import asks again.
        TMessageAnswerer answerer(mrYes);
        ImportText(*Grid.Grid, "z");
        EXPECT_EQ(answerer.Count(), 1);
    }
}

TEST_F(TextImport, StoppingAfterARecordKeepsWhatWasDone)
{
    GoToCell(1, "C1");
    TMemoryStream stream;
    const std::string text = "s1\r\ns2\r\ns3\r\ns4";
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream.SetPosition(0);
    int changed = 0;
    EXPECT_THROW(ImportGridFromStream(ImportClass<TDBGridGxImportAsText>, *Grid.Grid, stream, false,
                                      [&](TDBGridGxImport& importer) {
                                          importer.OnRecordDone = [&](int done, int changedSoFar) {
                                              changed = changedSoFar;
                                              return done < 2;
                                          };
                                      }),
                 EImportStopped);
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(Column("C1"), (Texts{"s1", "s2", "a3", "a4", "a5"}));
    EXPECT_EQ(Grid.Table->State(), dsBrowse);
}

TEST_F(TextImport, ImportOutOfFileReadsTheFile)
{
    const std::string path = ::testing::TempDir() + "/tablemaint-import.txt";
    {
        TFileStream file(path, fmCreate);
        file.WriteBuffer("f1\tf2", 5);
    }
    GoToCell(5, "C2");
    TDBGridGxImportAsText importer;
    importer.Grid = Grid.Grid.get();
    importer.ImportOutOfFile(path, false);
    EXPECT_EQ(TextOf(Grid, 5, "C2"), "f1");
    EXPECT_EQ(TextOf(Grid, 5, "C3"), "f2");
    EXPECT_THROW(importer.ImportOutOfFile(path + ".missing", false), EFOpenError);
}

}  // namespace

namespace {

TEST(TextImportReadOnly, ReadOnlyGridTakesNoValuesAndNoNewRecords)
{
    TExportGrid grid;
    MakeNumbered(grid, 2);
    grid.Grid->SetReadOnly(true);
    grid.GoTo("ID", TVariant(2));
    ImportText(*grid.Grid, "x\r\ny\r\nz");
    EXPECT_EQ(FieldTexts(*grid.Table, "ID"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(grid.Table->State(), dsBrowse);
}

}  // namespace
