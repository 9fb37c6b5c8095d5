// The grid hands mouse presses, moves and releases to its mouse object first.

#include "grid/BehaviourTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {
QPoint CentreOfCell(TCustomDBGridGx& grid, int col, int row)
{
    return grid.CellRect(col, row).center();
}
}  // namespace

TEST(MouseHooks, AClickReachesTheMouseAndStillMovesTheCurrentCell)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    const int targetRow = grid.TitleRows() + 2;
    const QPoint at = CentreOfCell(grid, grid.DataToRawColumn(1), targetRow);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(grid.Clicks->Downs.size(), 1u);
    EXPECT_EQ(grid.Clicks->Downs[0], at);
    ASSERT_EQ(grid.Clicks->Ups.size(), 1u);
    EXPECT_EQ(grid.Row(), targetRow);
}

TEST(MouseHooks, APressTheMouseTakesLeavesTheCurrentCell)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.Clicks->TakeDowns = true;
    const int startRow = grid.Row();
    const QPoint at = CentreOfCell(grid, grid.DataToRawColumn(1), grid.TitleRows() + 2);

    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(grid.Clicks->Downs.size(), 1u);
    EXPECT_EQ(grid.Row(), startRow);
}

TEST(MouseHooks, PressedTitleButtonIsKeptByTheMouse)
{
    TShownBehaviourGrid shown;
    EXPECT_EQ(shown.Grid->Mouse().PressedTitleCol(), -1);
    shown.Grid->Mouse().SetPressedTitleCol(2);
    EXPECT_EQ(shown.Grid->Mouse().PressedTitleCol(), 2);
    shown.Grid->Mouse().SetPressedTitleCol(-1);
    EXPECT_EQ(shown.Grid->Mouse().PressedTitleCol(), -1);
}
