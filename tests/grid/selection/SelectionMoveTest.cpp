// Moving with the selection: Shift+Up/Down over records in clearing and
// additive mode, plain moves, moves to either end, and the rectangle that
// cell-mode moves extend.

#include "grid/SelectionTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<int>;

class SelectionMove : public ::testing::TestWithParam<bool> {
protected:
    TSelectionGrid Fixture{30, GetParam()};
    TDBGridGxSelectionModel& Model() { return *Fixture.Model; }
    void Rows(bool extend, int distance, bool toEnd = false) { Model().MoveWithSelection(extend, distance, true, toEnd); }
};

TEST_P(SelectionMove, ShiftDownThreeTimesThenUpOnceKeepsTheAnchorAndTwoRows)
{
    Fixture.GoTo(10);
    for (int i = 0; i < 3; ++i)
        Rows(true, 1);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{10, 11, 12, 13}));
    Fixture.GoTo(13);
    Rows(true, -1);
    EXPECT_EQ(Fixture.CurrentId(), 12);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{10, 11, 12}));
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
    EXPECT_TRUE(Model().RowShiftActive());
}

TEST_P(SelectionMove, CrossingTheAnchorSelectsTheOtherSide)
{
    Fixture.GoTo(10);
    Rows(true, 2);
    Fixture.GoTo(12);
    Rows(true, -4);
    EXPECT_EQ(Fixture.CurrentId(), 8);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{8, 9, 10}));
}

TEST_P(SelectionMove, AdditiveModeDeselectsSelectedRowsAndComingBackRestoresThem)
{
    Fixture.Select({10, 11, 12, 13, 20});
    Fixture.GoTo(10);
    Model().SetAdditiveSelect(true);
    Rows(true, 3);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{20}));
    Fixture.GoTo(13);
    Rows(true, -2);
    EXPECT_EQ(Fixture.CurrentId(), 11);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{12, 13, 20}));
}

TEST_P(SelectionMove, APlainMoveClearsTheSelectionAndEndsTheGesture)
{
    Fixture.GoTo(5);
    Rows(true, 2);
    Fixture.GoTo(7);
    Rows(false, 1);
    EXPECT_EQ(Fixture.CurrentId(), 8);
    EXPECT_EQ(Fixture.Records().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
    EXPECT_FALSE(Model().RowShiftActive());
}

TEST_P(SelectionMove, ExtendingRefusedMovesPlainly)
{
    Model().SetAllowedSelections(DefaultAllowedSelectionsGx - gstRecordBookmarks);
    Fixture.GoTo(5);
    Rows(true, 3);
    EXPECT_EQ(Fixture.CurrentId(), 8);
    EXPECT_EQ(Fixture.Records().Count(), 0);
}

TEST_P(SelectionMove, ToTheEndSelectsEveryRecordOnTheWay)
{
    Fixture.GoTo(26);
    Rows(true, 1, true);
    EXPECT_EQ(Fixture.CurrentId(), 30);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{26, 27, 28, 29, 30}));
    Fixture.GoTo(30);
    Rows(true, 1);   // at the end: nothing moves, nothing changes
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{26, 27, 28, 29, 30}));
}

TEST_P(SelectionMove, ToTheEndWithoutExtendingClearsAndJumps)
{
    Fixture.Select({3, 4});
    Fixture.GoTo(10);
    Rows(false, 1, true);
    EXPECT_EQ(Fixture.CurrentId(), 30);
    EXPECT_TRUE(Fixture.Table->Eof());
    EXPECT_EQ(Fixture.Kind(), gstNon);
    Rows(false, -1, true);
    EXPECT_EQ(Fixture.CurrentId(), 1);
    EXPECT_TRUE(Fixture.Table->Bof());
}

TEST_P(SelectionMove, RowSelectMakesEveryMoveARowMove)
{
    Fixture.Grid->SetOptions(Fixture.Grid->Options() + dgRowSelect);
    Fixture.GoTo(3);
    Model().MoveWithSelection(true, 2, false, false);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{3, 4, 5}));
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
}

TEST_P(SelectionMove, CellModeExtendsARectangleFromTheCurrentCell)
{
    TDBGridGx& grid = *Fixture.Grid;
    grid.SetCol(grid.DataToRawColumn(2));
    Fixture.GoTo(4);
    std::string b4 = Fixture.Table->Bookmark();
    Model().MoveWithSelection(true, 3, false, false);
    EXPECT_EQ(Fixture.CurrentId(), 7);
    EXPECT_EQ(Fixture.Kind(), gstRectangle);
    TDBGridGxSelectionRect& rect = Fixture.Selection().Rect();
    EXPECT_EQ(rect.Anchor().Bookmark, b4);
    EXPECT_EQ(rect.Anchor().Col, 2);
    EXPECT_EQ(rect.ShiftCell().Bookmark, Fixture.Table->Bookmark());

    // Further, then back onto the anchor row: no selection left.
    Model().MoveWithSelection(true, 1, false, false);
    EXPECT_TRUE(Fixture.Selection().DataCellSelected(2, Fixture.BookmarkOf(8)));
    Fixture.GoTo(8);
    Model().MoveWithSelection(true, -4, false, false);
    EXPECT_EQ(Fixture.CurrentId(), 4);
    EXPECT_EQ(Fixture.Kind(), gstNon);

    // To the first record.
    Model().MoveWithSelection(true, -1, false, true);
    EXPECT_EQ(Fixture.CurrentId(), 1);
    EXPECT_EQ(Fixture.Kind(), gstRectangle);
    EXPECT_EQ(rect.TopRow(), Fixture.Table->Bookmark());
    EXPECT_EQ(rect.BottomRow(), b4);
}

TEST_P(SelectionMove, CellModeWithoutExtendingOnlyMoves)
{
    Fixture.Select({9});
    Fixture.GoTo(5);
    Model().MoveWithSelection(false, 2, false, false);
    EXPECT_EQ(Fixture.CurrentId(), 7);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{9}));
    Model().MoveWithSelection(false, 1, false, true);
    EXPECT_EQ(Fixture.CurrentId(), 30);
}

TEST_P(SelectionMove, WithoutMultiSelectNothingIsSelected)
{
    Fixture.Grid->SetOptions(Fixture.Grid->Options() - dgMultiSelect);
    Fixture.GoTo(5);
    Rows(true, 2);
    Model().MoveWithSelection(true, 2, false, false);
    EXPECT_EQ(Fixture.CurrentId(), 9);
    EXPECT_EQ(Fixture.Records().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

INSTANTIATE_TEST_SUITE_P(Sequencing, SelectionMove, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Sequenced" : "Unsequenced"; });

}  // namespace
