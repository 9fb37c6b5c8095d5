// Column selection: clicks, Ctrl+clicks and the Shift gesture's walk from
// the anchor, and the list following the grid's columns.

#include "grid/SelectionTestSupport.h"

#include "grid/columns/ColumnGx.h"

#include <gtest/gtest.h>

namespace {

using Indexes = std::vector<int>;

class SelectionColumns : public ::testing::Test {
protected:
    TSelectionGrid Fixture;
    TDBGridGxSelectionCols& Cols() { return Fixture.Selection().Cols(); }
    TColumnGx* Column(int index) { return Fixture.Column(index); }
    Indexes Selected() { return Fixture.SelectedColumns(); }
};

TEST_F(SelectionColumns, AddKeepsTheGridsColumnOrder)
{
    for (int index : {4, 1, 5, 0})
        Cols().Add(Column(index));
    EXPECT_EQ(Selected(), (Indexes{0, 1, 4, 5}));
}

TEST_F(SelectionColumns, ClickCtrlClickAndTheAnchor)
{
    Cols().Select(Column(2), false);
    Cols().Select(Column(4), true);
    EXPECT_EQ(Selected(), (Indexes{2, 4}));
    EXPECT_EQ(Cols().Anchor(), Column(4));
    Cols().Select(Column(1), false);
    EXPECT_EQ(Selected(), (Indexes{1}));

    Cols().InvertSelect(Column(3));
    EXPECT_EQ(Selected(), (Indexes{1, 3}));
    EXPECT_EQ(Cols().Anchor(), Column(3));
    EXPECT_EQ(Cols().ShiftCol(), Column(3));
    Cols().InvertSelect(Column(3));
    Cols().InvertSelect(Column(1));
    EXPECT_EQ(Selected(), Indexes{});
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

TEST_F(SelectionColumns, ShiftWithoutAnAnchorSelectsTheColumn)
{
    Cols().SelectShift(Column(3));
    EXPECT_EQ(Selected(), (Indexes{3}));
    EXPECT_EQ(Cols().Anchor(), Column(3));
    EXPECT_EQ(Fixture.Kind(), gstColumns);
}

TEST_F(SelectionColumns, ShiftGestureExtendsShrinksAndCrossesTheAnchor)
{
    Cols().Select(Column(2), false);
    Cols().SelectShift(Column(4));          // further right
    EXPECT_EQ(Selected(), (Indexes{2, 3, 4}));
    Cols().SelectShift(Column(5));
    EXPECT_EQ(Selected(), (Indexes{2, 3, 4, 5}));
    Cols().SelectShift(Column(3));          // back left, not past the anchor
    EXPECT_EQ(Selected(), (Indexes{2, 3}));
    Cols().SelectShift(Column(0));          // back left past the anchor
    EXPECT_EQ(Selected(), (Indexes{0, 1, 2}));
    Cols().SelectShift(Column(1));          // back right, not past the anchor
    EXPECT_EQ(Selected(), (Indexes{1, 2}));
    Cols().SelectShift(Column(4));          // back right past the anchor
    EXPECT_EQ(Selected(), (Indexes{2, 3, 4}));
    Cols().SelectShift(Column(4));          // the same column again
    EXPECT_EQ(Selected(), (Indexes{2, 3, 4}));
    Cols().SelectShift(Column(2));          // onto the anchor
    EXPECT_EQ(Selected(), (Indexes{2}));
    EXPECT_EQ(Cols().Anchor(), Column(2));
    EXPECT_EQ(Fixture.Kind(), gstColumns);
}

TEST_F(SelectionColumns, ShiftKeepsColumnsSelectedBeforeTheGesture)
{
    Cols().Select(Column(5), false);
    Cols().Select(Column(1), true);          // anchor 1, 5 selected before
    Cols().SelectShift(Column(3));
    EXPECT_EQ(Selected(), (Indexes{1, 2, 3, 5}));
    Cols().SelectShift(Column(5));
    Cols().SelectShift(Column(2));
    // 5 was selected before the gesture: shrinking undoes only the gesture's own.
    EXPECT_EQ(Selected(), (Indexes{1, 2, 5}));
}

TEST_F(SelectionColumns, ShiftFromAnUnselectedAnchorDeselectsAndRestores)
{
    for (int index : {0, 1, 2, 3, 4, 5})
        Cols().Select(Column(index), true);
    Cols().InvertSelect(Column(1));          // anchor 1, now unselected
    Cols().SelectShift(Column(4));
    EXPECT_EQ(Selected(), (Indexes{0, 5}));
    Cols().SelectShift(Column(2));          // coming back restores 3 and 4
    EXPECT_EQ(Selected(), (Indexes{0, 3, 4, 5}));
}

TEST_F(SelectionColumns, ExtendingSkipsHiddenColumns)
{
    Column(3)->SetVisible(false);
    Cols().Select(Column(1), false);
    Cols().SelectShift(Column(5));
    EXPECT_EQ(Selected(), (Indexes{1, 2, 4, 5}));
}

TEST_F(SelectionColumns, ColumnSelectionReplacesOtherKinds)
{
    Fixture.Select({4});
    Cols().Select(Column(0), false);
    EXPECT_EQ(Fixture.Records().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstColumns);

    Fixture.Select({6});
    EXPECT_EQ(Cols().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
}

TEST_F(SelectionColumns, RefreshFollowsTheGridsColumns)
{
    // User columns keep the order they are given.
    TDBGridColumnsGx& columns = Fixture.Grid->Columns();
    columns.Clear();
    for (const char* name : {"ID", "C1", "C2", "C3", "C4"})
        columns.Add()->SetFieldName(name);
    Cols().Select(Column(1), false);
    Cols().Select(Column(4), true);
    TColumnGx* moved = Column(4);
    columns.Move(4, 0);
    ASSERT_EQ(Column(0), moved);
    Cols().Refresh();
    EXPECT_EQ(Cols()[0], moved);
    EXPECT_EQ(Selected(), (Indexes{0, 2}));

    // A column that leaves the grid leaves the selection.
    columns.Delete(0);
    Cols().Refresh();
    EXPECT_EQ(Selected(), (Indexes{1}));
    Fixture.Model->ColumnDestroying(*Cols()[0]);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

}  // namespace
