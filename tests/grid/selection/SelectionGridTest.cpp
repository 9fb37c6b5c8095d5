// The selection as part of the grid: its defaults, and how opening and
// closing the table, changing options, columns and the data source reach it.

#include "grid/SelectionTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectionGrid, ANewGridSelectsNothingAndAllowsEveryKind)
{
    TDBGridGx grid;
    EXPECT_EQ(grid.Selection().SelectionType(), gstNon);
    EXPECT_EQ(grid.SelectedRecords().Count(), 0);
    EXPECT_FALSE(grid.SelectedRecords().LinkActive());
    EXPECT_EQ(grid.AllowedSelections(), (TDBGridGxAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns, gstAll}));
    EXPECT_FALSE(grid.Options().Contains(dgMultiSelect));
    EXPECT_FALSE(grid.SelectionModel().CanSelectType(gstRecordBookmarks));
}

TEST(SelectionGrid, ClosingTheTableEmptiesTheSelectedRecords)
{
    TSelectionGrid fixture;
    EXPECT_TRUE(fixture.Grid->SelectedRecords().LinkActive());
    fixture.Select({2, 5, 8});
    fixture.Table->Close();
    EXPECT_EQ(fixture.Grid->SelectedRecords().Count(), 0);
    EXPECT_EQ(fixture.Kind(), gstNon);
    EXPECT_FALSE(fixture.Grid->SelectedRecords().LinkActive());

    fixture.Table->Open();
    EXPECT_TRUE(fixture.Grid->SelectedRecords().LinkActive());
    fixture.Grid->Selection().SelectAll();
    fixture.Table->Close();
    EXPECT_EQ(fixture.Kind(), gstNon);
}

TEST(SelectionGrid, TurningMultiSelectOffDropsTheSelection)
{
    TSelectionGrid fixture;
    fixture.Select({4});
    fixture.Grid->SetOptions(fixture.Grid->Options() - dgMultiSelect);
    EXPECT_EQ(fixture.Kind(), gstNon);
    EXPECT_EQ(fixture.Grid->SelectedRecords().Count(), 0);
}

TEST(SelectionGrid, ANewDataSourceDropsTheSelection)
{
    TSelectionGrid fixture;
    fixture.Select({4, 6});
    TDataSource other(fixture.Table.get());
    fixture.Grid->SetDataSource(&other);
    EXPECT_EQ(fixture.Kind(), gstNon);
    EXPECT_EQ(fixture.Grid->SelectedRecords().Count(), 0);
    fixture.Grid->SetDataSource(nullptr);
}

TEST(SelectionGrid, SelectedColumnsFollowTheLayout)
{
    TSelectionGrid fixture;
    TDBGridGxSelectionCols& cols = fixture.Grid->Selection().Cols();
    cols.Select(fixture.Column(1), false);
    cols.Select(fixture.Column(3), true);
    // Hiding a field takes its default column away with the layout pass.
    fixture.Table->FieldByName("C1")->SetVisible(false);
    EXPECT_EQ(cols.Count(), 1);
    EXPECT_EQ(cols[0]->FieldName(), "C3");
    EXPECT_EQ(fixture.SelectedColumns(), (std::vector<int>{2}));
    EXPECT_EQ(fixture.Kind(), gstColumns);

    fixture.Table->FieldByName("C3")->SetVisible(false);
    EXPECT_EQ(cols.Count(), 0);
    EXPECT_EQ(fixture.Kind(), gstNon);
}

TEST(SelectionGrid, TheAlwaysShownEditorHidesWhileASelectionExists)
{
    TSelectionGrid fixture;
    TDBGridGx& grid = *fixture.Grid;
    grid.SetOptions(grid.Options() + dgAlwaysShowEditor + dgEditing);
    grid.ShowEditor();
    fixture.Select({3});
    EXPECT_FALSE(grid.EditorMode());
    grid.Selection().Clear();
    EXPECT_TRUE(grid.EditorMode());

    grid.SetOptions(grid.Options() - dgAlwaysShowEditor);
    fixture.Select({3});
    grid.Selection().Clear();
    EXPECT_FALSE(grid.EditorMode());
}

}  // namespace
