// Selections dragged with the button held: the rectangle, the records of
// the indicator and the columns of the titles grow while the pointer moves
// and, outside the data area, on every tick of the auto-scroll timer; the
// release ends the drag and keeps what was selected.

#include "MouseTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A multi-select grid over numbered records, held by the left button.
struct TDragGrid : TNumberedGrid {
    explicit TDragGrid(int records, int width = 480) : TNumberedGrid(records, true, width, 240)
    {
        G().SetOptions(G().Options() + dgMultiSelect);
    }
    TDBGridGxAutoScroll& Timer() { return G().Mouse().AutoScroll(); }
    int Top() { return G().TitleRows(); }
    int LastRow() { return Top() + RowWindowOf(G()).VisibleDataRowCount() - 1; }
    // A point this many pixels below the last data row.
    QPoint Below(int col, int pixels)
    {
        const QRect last = G().CellRect(col, LastRow());
        return QPoint(last.center().x(), last.bottom() + pixels);
    }
    void Press(QPoint at, Qt::KeyboardModifiers mods = {}) { QTest::mousePress(Client(G()), Qt::LeftButton, mods, at); }
    void Move(QPoint to) { QTest::mouseMove(Client(G()), to); }
    void Release(QPoint at) { QTest::mouseRelease(Client(G()), Qt::LeftButton, {}, at); }
};

TEST(MouseDragSelection, ARectangleGrowsWithTheRowsScrolledWhileTheButtonIsHeld)
{
    TDragGrid t(200);
    TDBGridGx& grid = t.G();
    const int firstId = t.IdAtRow(t.Top() + 1);
    t.Press(CellCentre(grid, 1, t.Top() + 1));
    t.Move(CellCentre(grid, 2, t.Top() + 3));
    TDBGridGxSelection& selection = grid.Selection();
    ASSERT_EQ(selection.SelectionType(), gstRectangle) << "selected before the release";
    EXPECT_EQ(selection.Rect().LeftCol(), 0);
    EXPECT_EQ(selection.Rect().RightCol(), 1);
    EXPECT_EQ(t.Id(), firstId + 2);

    // 13 pixels below the data area: 2 records a tick.
    t.Move(t.Below(2, 12));
    ASSERT_TRUE(t.Timer().Running());
    const int before = t.Id();
    const int ticks = RowWindowOf(grid).VisibleDataRowCount();
    for (int i = 0; i < ticks; ++i)
        t.Timer().Tick();
    EXPECT_EQ(t.Id(), before + 2 * ticks);
    EXPECT_GT(t.IdAtRow(t.Top()), firstId) << "the rows scrolled with the record";
    EXPECT_EQ(grid.UpdateLock(), 0);

    t.Release(t.Below(2, 12));
    EXPECT_FALSE(t.Timer().Running());
    ASSERT_EQ(selection.SelectionType(), gstRectangle);
    int selectedRecords = 0;
    t.Table->First();
    while (!t.Table->Eof()) {
        if (selection.DataCellSelected(1, t.Table->Bookmark()))
            ++selectedRecords;
        t.Table->Next();
    }
    EXPECT_EQ(selectedRecords, before + 2 * ticks - firstId + 1) << "every record from the press to the last tick";

    // A tick that comes after the release moves nothing.
    t.Table->First();
    const int id = t.Id();
    t.Timer().Tick();
    EXPECT_EQ(t.Id(), id);
    EXPECT_EQ(grid.Selection().SelectionType(), gstRectangle);
}

TEST(MouseDragSelection, RecordsDraggedOnTheIndicatorGrowDownAndShrinkBack)
{
    TDragGrid t(200);
    TDBGridGx& grid = t.G();
    t.Press(CellCentre(grid, 0, t.Top() + 2));
    EXPECT_EQ(grid.SelectedRecords().Count(), 1);
    t.Move(CellCentre(grid, 0, t.Top() + 5));
    EXPECT_EQ(grid.SelectedRecords().Count(), 4) << "while held";

    t.Move(t.Below(0, 30));   // 5 records a tick, as fast as the timer goes
    ASSERT_TRUE(t.Timer().Running());
    EXPECT_EQ(t.Timer().Interval(), 0);
    t.Timer().Tick();
    const int count = grid.SelectedRecords().Count();
    EXPECT_GE(count, 4 + 5);
    t.Timer().Tick();
    EXPECT_EQ(grid.SelectedRecords().Count(), count + 5);

    // Back over the rows: the records passed again drop out.
    t.Move(CellCentre(grid, 0, t.LastRow() - 3));
    EXPECT_EQ(grid.SelectedRecords().Count(), count + 5 - 3);
    t.Release(CellCentre(grid, 0, t.LastRow() - 3));
    EXPECT_EQ(grid.SelectedRecords().Count(), count + 2);
    EXPECT_FALSE(grid.SelectionModel().RowShiftActive());
}

TEST(MouseDragSelection, DraggingAboveTheDataAreaScrollsUpSelecting)
{
    TDragGrid t(200);
    TDBGridGx& grid = t.G();
    for (int i = 0; i < 60; ++i)
        t.Table->Next();
    const int pressedId = t.IdAtRow(t.Top() + 1);
    t.Press(CellCentre(grid, 0, t.Top() + 1));
    const QRect title = grid.CellRect(0, 0);
    t.Move(QPoint(title.center().x(), title.top()));
    ASSERT_TRUE(t.Timer().Running());
    t.Timer().Tick();
    t.Timer().Tick();
    t.Release(QPoint(title.center().x(), title.top()));
    EXPECT_LT(t.Id(), pressedId - 1);
    EXPECT_EQ(grid.SelectedRecords().Count(), pressedId - t.Id() + 1);
}

TEST(MouseDragSelection, ColumnsDraggedPastTheRightEdgeScrollIntoTheSelection)
{
    TBoundGrid bound;
    TCustomDBGridGx& grid = *bound.Grid;
    grid.SetOptions(grid.Options() + dgMultiSelect);
    ShowActiveGrid(grid, 260, 200);
    const QRect title = grid.CellRect(1, 0);
    const QPoint zone(title.center().x(), title.bottom() - 2);
    QTest::mousePress(Client(grid), Qt::LeftButton, {}, zone);
    TDBGridGxAutoScroll& timer = grid.Mouse().AutoScroll();
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 60);
    ASSERT_EQ(grid.Selection().Cols().Count(), 1);

    const QPoint outside(grid.ClientWidth() + 5, zone.y());
    QTest::mouseMove(Client(grid), outside);
    const int leftCol = grid.LeftCol();
    int ticks = 0;
    while (grid.Selection().Cols().Count() < grid.Columns().Count() && ticks++ < 20)
        timer.Tick();
    EXPECT_EQ(grid.Selection().Cols().Count(), grid.Columns().Count()) << "every column up to the last";
    EXPECT_GT(grid.LeftCol(), leftCol) << "the view scrolled right";
    QTest::mouseRelease(Client(grid), Qt::LeftButton, {}, outside);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(grid.Selection().SelectionType(), gstColumns);
}

}  // namespace
