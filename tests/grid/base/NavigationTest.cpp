// Keyboard navigation of the base grid, driven by real key events.

#include "GridTestSupport.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class GridNavigation : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        grid->SetColCount(10);
        grid->SetRowCount(30);
        // 300 x 200: columns 1..3 and rows 1..7 are fully visible.
        ShowGrid(*grid, 300, 200);
        ASSERT_TRUE(grid->hasFocus());
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(grid.get(), Qt::Key(key), mods);
    }
    // The current cell lies completely inside the client area.
    bool CurrentCellShown() const {
        const QRect r = grid->CellRect(grid->Col(), grid->Row());
        return !r.isEmpty() && r.right() < grid->ClientWidth() && r.bottom() < grid->ClientHeight();
    }
    std::unique_ptr<TTestGrid> grid;
};

TEST_F(GridNavigation, ArrowsMoveAndStopAtTheEdges) {
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);  // fixed cells are never current
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridNavigation, MovingPastTheViewScrollsJustEnough) {
    for (int i = 0; i < 7; ++i) Key(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_EQ(grid->TopRow(), 2);  // row 8 is now the last visible one
    EXPECT_TRUE(CurrentCellShown());
    for (int i = 0; i < 3; ++i) Key(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 4);
    EXPECT_EQ(grid->LeftCol(), 2);
    EXPECT_TRUE(CurrentCellShown());
}

TEST_F(GridNavigation, PagesHomeEndAndCtrlKeys) {
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_EQ(grid->TopRow(), 8);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->TopRow(), 1);
    Key(Qt::Key_End);
    EXPECT_EQ(grid->Col(), 9);
    Key(Qt::Key_Home);
    EXPECT_EQ(grid->Col(), 1);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(grid->Row(), 29);
    EXPECT_EQ(grid->TopRow(), 23);  // rows 23..29 fill the view
    EXPECT_TRUE(CurrentCellShown());
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 23);  // top of the view
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    Key(Qt::Key_Down, Qt::ControlModifier);  // scrolls without moving
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridNavigation, TabWalksTabStopsAndWraps) {
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), 1) << "without goTabs Tab does not move between cells";
    grid->SetOptions(grid->Options() + goTabs);
    grid->SetTabStops(2, false);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), 3);
    Key(Qt::Key_End);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->Col(), 9);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridNavigation, ArrowsSkipHiddenColumns) {
    grid->SetColWidths(2, -1);
    grid->SetColWidths(3, 0);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 4);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridNavigation, ShiftExtendsTheSelectionOnlyWithRangeSelect) {
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 2, 3, 2}));
    grid->SetOptions(grid->Options() - goRangeSelect);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(GridNavigation, RowSelectScrollsColumnsWithLeftAndRight) {
    grid->SetOptions(grid->Options() + goRowSelect);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->LeftCol(), 2);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 9, 1}));
    Key(Qt::Key_End);
    EXPECT_EQ(grid->Row(), 29);
}

TEST_F(GridNavigation, SelectCellCanRefuseAMove) {
    grid->OnSelectCell = [](int col, int row, bool& canSelect) { canSelect = row != 2; };
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid->Row(), 8);
}

TEST_F(GridNavigation, KeyDownEventMayConsumeTheKey) {
    grid->OnKeyDown = [](int& key, TShiftState) {
        if (key == Qt::Key_Down) key = 0;
    };
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 1);
}

TEST(GridWindow, CurrentCellSetBeforeShowingIsScrolledIntoViewWhenShown) {
    EnsureApplication();
    TTestGrid grid;
    grid.SetRowCount(30);
    grid.FocusCell(1, 25, true);
    EXPECT_FALSE(grid.HandleAllocated());
    EXPECT_EQ(grid.TopRow(), 1);
    ShowGrid(grid, 300, 200);
    EXPECT_TRUE(grid.HandleAllocated());
    EXPECT_EQ(grid.TopRow(), 19);  // rows 19..25 fill the view
}

TEST_F(GridNavigation, WheelMovesTheCurrentRow) {
    QWheelEvent down(QPointF(100, 100), grid->mapToGlobal(QPointF(100, 100)), QPoint(),
                     QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &down);
    EXPECT_EQ(grid->Row(), 3);
    QWheelEvent halfUp(QPointF(100, 100), grid->mapToGlobal(QPointF(100, 100)), QPoint(),
                       QPoint(0, 60), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &halfUp);
    EXPECT_EQ(grid->Row(), 3);  // half a notch does nothing yet
    QApplication::sendEvent(grid->viewport(), &halfUp);
    EXPECT_EQ(grid->Row(), 2);
}

}  // namespace

namespace {

// Without goTabs, Tab leaves the grid for the neighbouring controls, also
// from inside the editor, and never lands in the grid's own editor.
TEST(GridFocusChain, TabWithoutTabsLeavesTheGrid) {
    EnsureApplication();
    QWidget form;
    auto* before = new QLineEdit(&form);
    auto* grid = new TTestGrid();
    grid->setParent(&form);
    auto* after = new QLineEdit(&form);
    before->setGeometry(0, 0, 100, 20);
    grid->setGeometry(0, 30, 300, 200);
    after->setGeometry(0, 240, 100, 20);
    grid->SetOptions(grid->Options() + goEditing);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditor()->hasFocus());
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(grid->hasFocus() || grid->InplaceEditor()->hasFocus());
    grid->HideEditor();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus());

    grid->SetOptions(grid->Options() + goTabs);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->Col(), 2);
}

}  // namespace
