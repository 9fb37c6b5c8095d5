// Mouse selection, column and row sizing by their lines, column moving by
// the fixed cells, and the cursors over the sizing zones.

#include "GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

class GridMouse : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        grid->SetColCount(8);
        grid->SetRowCount(20);
        ShowGrid(*grid, 300, 200);
    }
    std::unique_ptr<TTestGrid> grid;
};

TEST_F(GridMouse, ClickMakesTheCellCurrentAndDragSelects) {
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    Drag(*grid, QPoint(80, 30), QPoint(210, 90));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    QTest::mouseClick(Client(*grid), Qt::LeftButton, Qt::ShiftModifier, QPoint(150, 60));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
    EXPECT_EQ(grid->GridState(), gsNormal);
}

TEST_F(GridMouse, ClicksOnFixedCellsDoNotMoveTheCurrentCell) {
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, QPoint(10, 60));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridMouse, DraggingAColumnLineInTheFixedRowSizesTheColumn) {
    // Without goColSizing the line does nothing.
    Drag(*grid, QPoint(129, 10), QPoint(160, 10));
    EXPECT_EQ(grid->ColWidths(1), 64);

    grid->SetOptions(grid->Options() + goColSizing);
    EXPECT_EQ(grid->CursorAt(129, 10).shape(), Qt::SplitHCursor);
    EXPECT_EQ(grid->CursorAt(129, 60).shape(), Qt::ArrowCursor) << "only in the fixed rows";
    EXPECT_EQ(grid->CursorAt(100, 10).shape(), Qt::ArrowCursor);
    // The zone reaches 3 pixels left and 4 right of the 1-pixel line at 129.
    QTest::mousePress(Client(*grid), Qt::LeftButton, {}, QPoint(127, 10));
    EXPECT_EQ(grid->GridState(), gsColSizing);
    QTest::mouseMove(Client(*grid), QPoint(150, 10));
    QTest::mouseRelease(Client(*grid), Qt::LeftButton, {}, QPoint(157, 10));
    // The grab offset is kept: the line ends 2 pixels right of the pointer.
    EXPECT_EQ(grid->ColWidths(1), 159 - 65);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_GT(grid->ColWidthChanges, 0);
}

TEST_F(GridMouse, SizingZoneOfWideLinesCoversTheLine) {
    grid->SetOptions(grid->Options() + goColSizing);
    grid->SetGridLineWidth(8);
    // Fixed column [0,64) and its line to 72; column 1 [72,136), line [136,144).
    const TGridDrawInfo di = grid->CalcDrawInfo();
    int index, pos, ofs;
    EXPECT_EQ(grid->CalcSizingState(135, 10, index, pos, ofs, di), gsNormal);
    EXPECT_EQ(grid->CalcSizingState(136, 10, index, pos, ofs, di), gsColSizing);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(pos, 136);
    EXPECT_EQ(grid->CalcSizingState(144, 10, index, pos, ofs, di), gsColSizing);
    EXPECT_EQ(ofs, -8);
    EXPECT_EQ(grid->CalcSizingState(145, 10, index, pos, ofs, di), gsNormal);
}

TEST_F(GridMouse, HiddenColumnIsNotSizedInsteadOfItsNeighbour) {
    grid->SetOptions(grid->Options() + goColSizing);
    grid->SetColWidths(2, -1);
    Drag(*grid, QPoint(129, 10), QPoint(150, 10));
    EXPECT_EQ(grid->ColWidths(1), 85);
    EXPECT_EQ(grid->ColWidths(2), -1);
}

TEST_F(GridMouse, ColumnCannotBeSizedBelowTwoPixels) {
    grid->SetOptions(grid->Options() + goColSizing);
    Drag(*grid, QPoint(129, 10), QPoint(20, 10));
    EXPECT_EQ(grid->ColWidths(1), 64);
}

TEST_F(GridMouse, RowLinesSizeRowsOnlyInTheFixedColumn) {
    grid->SetOptions(grid->Options() + goRowSizing);
    EXPECT_EQ(grid->CursorAt(10, 49).shape(), Qt::SplitVCursor);
    EXPECT_EQ(grid->CursorAt(100, 49).shape(), Qt::ArrowCursor);
    Drag(*grid, QPoint(10, 49), QPoint(10, 70));
    EXPECT_EQ(grid->RowHeights(1), 70 - 25);
    EXPECT_EQ(grid->RowHeights(2), 24);
}

TEST_F(GridMouse, CancelModeEndsSizingWithoutChange) {
    grid->SetOptions(grid->Options() + goColSizing);
    QTest::mousePress(Client(*grid), Qt::LeftButton, {}, QPoint(129, 10));
    QTest::mouseMove(Client(*grid), QPoint(180, 10));
    grid->CancelModeForTest();
    QTest::mouseRelease(Client(*grid), Qt::LeftButton, {}, QPoint(180, 10));
    EXPECT_EQ(grid->ColWidths(1), 64);
    EXPECT_EQ(grid->GridState(), gsNormal);
}

TEST_F(GridMouse, DraggingAFixedCellMovesTheColumn) {
    grid->SetColWidths(1, 50);
    // Without goColMoving nothing moves.
    Drag(*grid, QPoint(80, 10), QPoint(200, 10));
    EXPECT_TRUE(grid->Moves.empty());

    grid->SetOptions(grid->Options() + goColMoving);
    QTest::mousePress(Client(*grid), Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_EQ(grid->GridState(), gsColMoving);
    QTest::mouseMove(Client(*grid), QPoint(150, 10));
    QTest::mouseMove(Client(*grid), QPoint(200, 10));
    QTest::mouseRelease(Client(*grid), Qt::LeftButton, {}, QPoint(200, 10));
    ASSERT_EQ(grid->Moves.size(), 1u);
    EXPECT_EQ(grid->Moves[0], std::make_pair(1, 3));
    EXPECT_EQ(grid->ColWidths(3), 50);  // the width travels with the column
    EXPECT_EQ(grid->ColWidths(1), 64);
    EXPECT_EQ(grid->Col(), 3);  // the current column follows it
}

class RefusingGrid : public TTestGrid {
protected:
    bool CheckColumnDrag(int& origin, int& destination, const QPoint&) override {
        return destination != 3;  // column 3 does not take others
    }
    bool EndColumnDrag(int& origin, int& destination, const QPoint&) override {
        destination = std::min(destination, 4);
        return true;
    }
};

TEST(GridMouseHooks, ColumnDragHooksDecideTheDestination) {
    EnsureApplication();
    RefusingGrid grid;
    grid.SetColCount(8);
    ShowGrid(grid, 400, 200);
    grid.SetOptions(grid.Options() + goColMoving);
    Drag(grid, QPoint(80, 10), QPoint(220, 10));  // over column 3: refused, stays at 2
    ASSERT_EQ(grid.Moves.size(), 1u);
    EXPECT_EQ(grid.Moves[0], std::make_pair(1, 2));
    Drag(grid, QPoint(80, 10), QPoint(350, 10));  // over column 5, limited to 4
    ASSERT_EQ(grid.Moves.size(), 2u);
    EXPECT_EQ(grid.Moves[1], std::make_pair(1, 4));
}

TEST_F(GridMouse, DoubleClickFiresOnDblClick) {
    int clicks = 0;
    grid->OnDblClick = [&] { ++clicks; };
    QTest::mouseDClick(Client(*grid), Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridMouse, MouseEventsReachTheirHandlers) {
    std::vector<TGridCoord> downs;
    grid->OnMouseDown = [&](Qt::MouseButton b, TShiftState s, int x, int y) {
        downs.push_back(grid->MouseCoord(x, y));
        EXPECT_TRUE(s.Contains(ssCtrl));
    };
    QTest::mouseClick(Client(*grid), Qt::LeftButton, Qt::ControlModifier, QPoint(150, 60));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], (TGridCoord{2, 2}));
}

}  // namespace

namespace {

TEST_F(GridMouse, HoldingTheMouseBelowTheCellsScrollsTheSelection) {
    QTest::mousePress(Client(*grid), Qt::LeftButton, {}, QPoint(100, 30));
    QTest::mouseMove(Client(*grid), QPoint(100, 180));  // row 7, the last full one
    QTest::mouseMove(Client(*grid), QPoint(100, 230));  // below the client area
    QTest::qWait(400);
    QTest::mouseRelease(Client(*grid), Qt::LeftButton, {}, QPoint(100, 230));
    EXPECT_GT(grid->TopRow(), 1);
    const TGridRect sel = grid->Selection();
    EXPECT_EQ(sel.Top, 1);
    EXPECT_GT(sel.Bottom, 7);
    EXPECT_EQ(grid->GridState(), gsNormal);
}

TEST_F(GridMouse, DraggingAFixedRowCellMovesTheRow) {
    grid->SetOptions(grid->Options() + goRowMoving);
    grid->SetRowHeights(1, 30);
    Drag(*grid, QPoint(10, 40), QPoint(10, 95));  // row 1 onto row 3
    EXPECT_EQ(grid->RowHeights(3), 30);
    EXPECT_EQ(grid->RowHeights(1), 24);
    EXPECT_EQ(grid->Row(), 3);
}

}  // namespace
