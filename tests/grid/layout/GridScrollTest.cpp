// Scrolling through the dataset: the vertical scroll bar in its numbered
// and three-position modes, every scroll action, the wheel, and what a
// move repaints.

#include "grid/RowWindowTestSupport.h"
#include "grid/footers/DBGridGxFooterSummaries.h"

#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

QScrollBar* VBar(TDBGridGx& grid) { return grid.ScrollBarControl(sbVertical); }

// Drags the vertical thumb to a position and, when asked, lets it go.
void DragThumb(TDBGridGx& grid, int pos, bool release)
{
    QScrollBar* bar = VBar(grid);
    bar->setSliderDown(true);
    bar->setSliderPosition(pos);
    if (release)
        bar->setSliderDown(false);
}

TEST(GridScroll, ANumberedTableGetsAProportionalBar)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    TScrollInfo info = g.GetScrollInfo(sbVertical);
    const int page = RowWindowOf(g).VisibleDataRowCount();
    EXPECT_EQ(info.Min, 1);
    EXPECT_EQ(info.Page, page);
    EXPECT_EQ(info.Max, 1000 + page - 1);
    EXPECT_EQ(info.Pos, 1);
    EXPECT_TRUE(g.IsScrollBarShown(sbVertical));
    grid.Table->MoveBy(10);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 11);
    grid.Table->Last();
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 1000);
    EXPECT_EQ(VBar(g)->value(), 1000);
}

TEST(GridScroll, AnUnnumberedTableGetsTheThreePositionBar)
{
    TNumberedGrid grid(1000, false);
    TDBGridGx& g = grid.G();
    EXPECT_EQ(g.GetScrollInfo(sbVertical), (TScrollInfo{0, 4, 0, 0}));
    grid.Table->MoveBy(5);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 2);
    grid.Table->Last();
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 4);
    grid.Table->First();
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 0);
}

TEST(GridScroll, TheSummaryListNumbersAnUnsequencedDataSetAfterInsertsAndDeletes)
{
    TNumberedGrid grid(50, false);
    TDBGridGx& g = grid.G();
    TDBSumListProducer& list = g.FooterSummaries().SumList();
    list.SetActive(true);
    list.SetVirtualRecords(true);
    grid.Table->MoveBy(1);   // any move brings the bar up to date
    grid.Table->First();
    const int page = RowWindowOf(g).VisibleDataRowCount();
    EXPECT_EQ(g.GetScrollInfo(sbVertical), (TScrollInfo{1, 50 + page - 1, page, 1}));
    grid.Table->MoveBy(9);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 10);

    // A record inserted before the tenth becomes the tenth; the count grows.
    grid.Table->Insert();
    grid.Table->FieldByName("ID")->SetAsInteger(1000);
    grid.Table->Post();
    EXPECT_EQ(grid.Id(), 1000);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Max, 51 + page - 1);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 10);
    grid.Table->Next();
    EXPECT_EQ(grid.Id(), 10);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 11);

    // Deleting the first two records moves every number down by two.
    grid.Table->First();
    grid.Table->Delete();
    grid.Table->Delete();
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Max, 49 + page - 1);
    grid.Table->Last();
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 49);

    // Letting the thumb go at a number goes to that record.
    DragThumb(g, 8, true);
    EXPECT_EQ(grid.Id(), 1000) << "the inserted record is now the eighth";
    DragThumb(g, 20, true);
    EXPECT_EQ(grid.Id(), 21);

    // Without the record list the bar falls back to its three positions.
    list.SetVirtualRecords(false);
    list.SetActive(false);
    grid.Table->First();
    EXPECT_EQ(g.GetScrollInfo(sbVertical), (TScrollInfo{0, 4, 0, 0}));
}

TEST(GridScroll, AHiddenVerticalBarStaysHidden)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    g.VertScrollBar().SetVisible(false);
    EXPECT_FALSE(g.IsScrollBarShown(sbVertical));
    grid.Table->MoveBy(100);
    EXPECT_FALSE(g.IsScrollBarShown(sbVertical));
    g.VertScrollBar().SetVisible(true);
    EXPECT_TRUE(g.IsScrollBarShown(sbVertical));
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 101);
}

TEST(GridScroll, LineActionsBringTheNeighbourOfTheWindowIntoView)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    const int rows = grid.DataRows();
    grid.Table->MoveBy(2);
    VBar(g)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    // The record below the last visible row became current, one row scrolled.
    EXPECT_EQ(grid.Id(), rows + 1);
    EXPECT_EQ(grid.FirstVisibleId(), 2);
    EXPECT_EQ(g.Row(), g.RowCount() - 1);
    grid.Table->MoveBy(-3);
    VBar(g)->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid.Id(), 1);
    EXPECT_EQ(grid.FirstVisibleId(), 1);
}

TEST(GridScroll, PageActionsMoveByTheVisibleDataRows)
{
    TNumberedGrid grid(1000, false);
    TDBGridGx& g = grid.G();
    const int page = RowWindowOf(g).VisibleDataRowCount();
    VBar(g)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.Id(), 1 + page);
    VBar(g)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.Id(), 1 + 2 * page);
    VBar(g)->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(grid.Id(), 1 + page);
    VBar(g)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid.Id(), 1000);
    VBar(g)->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid.Id(), 1);
}

TEST(GridScroll, TheThreePositionThumbPagesOrJumpsWhereItIsReleased)
{
    TNumberedGrid grid(1000, false);
    TDBGridGx& g = grid.G();
    const int page = RowWindowOf(g).VisibleDataRowCount();
    grid.Table->MoveBy(100);
    DragThumb(g, 1, true);
    EXPECT_EQ(grid.Id(), 101 - page);
    DragThumb(g, 2, true);
    EXPECT_EQ(grid.Id(), 101 - page);
    EXPECT_EQ(VBar(g)->value(), 2);
    DragThumb(g, 3, true);
    EXPECT_EQ(grid.Id(), 101);
    DragThumb(g, 4, true);
    EXPECT_EQ(grid.Id(), 1000);
    DragThumb(g, 0, true);
    EXPECT_EQ(grid.Id(), 1);
}

TEST(GridScroll, ANumberedThumbGoesToTheRecordOfItsPosition)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    DragThumb(g, 500, true);
    EXPECT_EQ(grid.Id(), 500);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 500);
    DragThumb(g, 1000, true);
    EXPECT_EQ(grid.Id(), 1000);
    DragThumb(g, 1, true);
    EXPECT_EQ(grid.Id(), 1);
}

TEST(GridScroll, WithoutTrackingTheThumbMovesNothingUntilReleased)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    ASSERT_FALSE(g.VertScrollBar().Tracking());
    DragThumb(g, 300, false);
    EXPECT_EQ(grid.Id(), 1);
    VBar(g)->setSliderDown(false);
    EXPECT_EQ(grid.Id(), 300);
}

TEST(GridScroll, WithTrackingTheRecordsFollowTheThumb)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    g.VertScrollBar().SetTracking(true);
    DragThumb(g, 300, false);
    EXPECT_EQ(grid.Id(), 300);
    VBar(g)->setSliderPosition(250);
    EXPECT_EQ(grid.Id(), 250);
    // The release after tracking moves nothing more.
    grid.Table->MoveBy(7);
    VBar(g)->setSliderDown(false);
    EXPECT_EQ(grid.Id(), 257);
}

TEST(GridScroll, TheWheelMovesOneRecordPerNotch)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    const QPoint at(40, 40);
    QWheelEvent down(at, g.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &down);
    EXPECT_EQ(grid.Id(), 3);
    QWheelEvent up(at, g.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &up);
    EXPECT_EQ(grid.Id(), 2);
}

TEST(GridScroll, HorizontalTrackingMovesTheColumnsWithTheThumb)
{
    TNumberedGrid grid(50, true, 120, 200);
    TDBGridGx& g = grid.G();
    g.Columns()[0]->SetWidth(150);
    g.Columns()[1]->SetWidth(150);
    QApplication::processEvents();
    QScrollBar* bar = g.ScrollBarControl(sbHorizontal);
    ASSERT_TRUE(g.IsScrollBarShown(sbHorizontal));
    const int firstLeft = g.LeftCol();
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum());
    EXPECT_EQ(g.LeftCol(), firstLeft) << "without tracking the columns wait for the release";
    bar->setSliderDown(false);
    EXPECT_GT(g.LeftCol(), firstLeft);

    g.SetLeftCol(firstLeft);
    g.HorzScrollBar().SetTracking(true);
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum());
    EXPECT_GT(g.LeftCol(), firstLeft);
    bar->setSliderDown(false);
}

// Exposes the timed scroll a drag held beyond the grid's edge runs.
class TTimedScrollGrid : public TDBGridGx {
public:
    using TDBGridGx::TimedScroll;
};

TEST(GridScroll, TimedScrollBeyondAnEdgeBringsTheNextRecordIntoView)
{
    auto table = NumberedTable(500);
    TDataSource source(table.get());
    TTimedScrollGrid grid;
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    grid.SetDataSource(&source);
    const int rows = grid.DataLink()->RecordCount();
    grid.TimedScroll(TGridScrollDirections{sdDown});
    EXPECT_EQ(CurrentId(*table), rows + 1);
    grid.TimedScroll(TGridScrollDirections{sdDown});
    EXPECT_EQ(CurrentId(*table), rows + 2);
    grid.TimedScroll(TGridScrollDirections{sdUp});
    EXPECT_EQ(CurrentId(*table), 2);
}

TEST(GridScroll, AOneRowScrollMovesPixelsAndAJumpRepaintsEverything)
{
    TNumberedGrid grid(1000, true);
    TDBGridGx& g = grid.G();
    grid.Table->MoveBy(grid.DataRows() - 1);
    QApplication::processEvents();
    const QRect client = g.viewport()->rect();
    {
        TPaintRecorder recorder(g.viewport());
        grid.Table->Next();
        QApplication::processEvents();
        ASSERT_FALSE(recorder.Painted.isEmpty());
        EXPECT_NE(recorder.Painted.boundingRect(), client) << "a one-row scroll repainted everything";
        // The uncovered strip at the bottom (the new last row) was painted.
        EXPECT_TRUE(recorder.Painted.contains(g.CellRect(2, g.RowCount() - 1).center()));
        // A row in the middle, neither current nor uncovered, was moved, not painted.
        EXPECT_FALSE(recorder.Painted.contains(g.CellRect(2, g.TitleRows() + 2).center()));
    }
    {
        TPaintRecorder recorder(g.viewport());
        grid.Table->MoveBy(500);
        QApplication::processEvents();
        EXPECT_TRUE(recorder.Painted.contains(g.CellRect(2, g.TitleRows() + 2).center()));
        EXPECT_EQ(recorder.Painted.boundingRect(), client);
    }
}

}  // namespace
