// Which records and columns each selection kind exports, in which order,
// and that the grid's view and the dataset come back as they were.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsText.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxExportClass Text = ExportClass<TDBGridGxExportAsText>;

class ExportSelection : public ::testing::Test {
protected:
    void SetUp() override { MakeNumbered(Grid, 12); }

    std::string Export(bool all = false) { return Exported(Text, *Grid.Grid, all); }
    void SelectRecords(std::initializer_list<int> ids)
    {
        for (int id : ids) {
            Grid.GoTo("ID", TVariant(id));
            Grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
        }
    }
    int CurrentId() { return Grid.Table->FieldByName("ID")->AsInteger(); }

    TExportGrid Grid;
};

TEST_F(ExportSelection, RecordBookmarksInListOrderWithVisibleColumns)
{
    SelectRecords({7, 2, 4});
    ASSERT_EQ(Grid.Selection().SelectionType(), gstRecordBookmarks);
    Grid.Column("C2")->SetVisible(false);
    EXPECT_EQ(Export(), "ID\tC1\tC3\r\n2\ta2\tc2\r\n4\ta4\tc4\r\n7\ta7\tc7");
}

TEST_F(ExportSelection, RecordBookmarksSkipARecordDeletedSinceSelected)
{
    SelectRecords({3, 5});
    Grid.GoTo("ID", TVariant(3));
    Grid.Table->Delete();
    EXPECT_EQ(Export(), "ID\tC1\tC2\tC3\r\n5\ta5\tb5\tc5");
}

TEST_F(ExportSelection, RectangleFromTopToBottomRecordOverVisibleColumns)
{
    Grid.Grid->Columns()[2]->SetVisible(false);   // C2 inside the rectangle
    Grid.Selection().Rect().Select(3, Grid.BookmarkOf("ID", TVariant(6)), false);
    Grid.Selection().Rect().Select(1, Grid.BookmarkOf("ID", TVariant(4)), true);
    ASSERT_EQ(Grid.Selection().SelectionType(), gstRectangle);
    EXPECT_EQ(Export(), "C1\tC3\r\na4\tc4\r\na5\tc5\r\na6\tc6");
}

TEST_F(ExportSelection, RectangleOfInvisibleColumnsGivesOneEmptyLinePerRecord)
{
    Grid.Grid->Columns()[1]->SetVisible(false);
    Grid.Grid->Columns()[2]->SetVisible(false);
    Grid.Selection().Rect().Select(1, Grid.BookmarkOf("ID", TVariant(2)), false);
    Grid.Selection().Rect().Select(2, Grid.BookmarkOf("ID", TVariant(4)), true);
    Grid.Grid->SetOptions(Grid.Grid->Options() - dgTitles);
    EXPECT_EQ(Export(), "\r\n\r\n");
}

TEST_F(ExportSelection, RectangleWhoseBottomRecordIsGoneRunsToTheLastRecord)
{
    Grid.Selection().Rect().Select(0, Grid.BookmarkOf("ID", TVariant(10)), false);
    Grid.Selection().Rect().Select(1, Grid.BookmarkOf("ID", TVariant(11)), true);
    Grid.GoTo("ID", TVariant(11));
    Grid.Table->Delete();
    Grid.GoTo("ID", TVariant(1));
    EXPECT_EQ(Export(), "ID\tC1\r\n10\ta10\r\n12\ta12");
    EXPECT_EQ(CurrentId(), 1);
}

TEST_F(ExportSelection, ColumnsInSelectionOrderForEveryRecord)
{
    Grid.Selection().Cols().Select(Grid.Column("C3"), false);
    Grid.Selection().Cols().Select(Grid.Column("ID"), true);
    ASSERT_EQ(Grid.Selection().SelectionType(), gstColumns);
    Grid.Grid->SetOptions(Grid.Grid->Options() - dgTitles);
    std::string expected;
    for (int id = 1; id <= 12; ++id)
        expected += (id > 1 ? "\r\n" : "") + std::to_string(id) + "\tc" + std::to_string(id);
    EXPECT_EQ(Export(), expected);
}

TEST_F(ExportSelection, SelectAllAndExportAllGiveEveryRecordAndVisibleColumn)
{
    Grid.Column("C1")->SetVisible(false);
    std::string expected = "ID\tC2\tC3";
    for (int id = 1; id <= 12; ++id)
        expected += "\r\n" + std::to_string(id) + "\tb" + std::to_string(id) + "\tc" + std::to_string(id);
    EXPECT_EQ(Export(true), expected);
    Grid.Selection().SelectAll();
    ASSERT_EQ(Grid.Selection().SelectionType(), gstAll);
    EXPECT_EQ(Export(), expected);
}

TEST_F(ExportSelection, ExportAllIgnoresARecordSelection)
{
    SelectRecords({2});
    EXPECT_EQ(Export(true).substr(0, 17), "ID\tC1\tC2\tC3\r\n1\ta1");
}

TEST_F(ExportSelection, CurrentRecordAndWindowPlaceComeBackAndControlsAreEnabled)
{
    Grid.GoTo("ID", TVariant(9));
    const int activeRecord = Grid.Grid->DataLink()->ActiveRecord();
    int changesWhileExporting = 0;
    Grid.Grid->OnGetCellParams = [&](TCustomDBGridGx&, TColumnGx&, TFontGx&, TColor&, TGridDrawState) {
        changesWhileExporting += Grid.Table->ControlsDisabled() ? 0 : 1;
    };
    Export(true);
    EXPECT_EQ(changesWhileExporting, 0);
    EXPECT_EQ(CurrentId(), 9);
    EXPECT_EQ(Grid.Grid->DataLink()->ActiveRecord(), activeRecord);
    EXPECT_FALSE(Grid.Table->ControlsDisabled());
}

TEST(ExportWithoutData, ClosedDatasetExportsTheTitlesOnly)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    grid.Grid->Columns().Add()->SetFieldName("A");
    grid.Table->Close();
    EXPECT_EQ(Exported(Text, *grid.Grid, true), "A");
}

}  // namespace
