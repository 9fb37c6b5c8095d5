// The scroll bars: scroll information in the classic terms, visibility by
// range, and every action of a real scroll bar reaching the grid's hook.

#include "GridTestSupport.h"

#include <QScrollBar>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

class GridScrollBars : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        grid->SetColCount(20);
        grid->SetRowCount(40);
        ShowGrid(*grid, 300, 200);
    }
    QScrollBar* Bar(TScrollBarKind kind) const { return grid->ScrollBarControl(kind); }
    QRect SubControl(QScrollBar* bar, QStyle::SubControl sc) const { return ScrollBarPart(bar, sc); }
    std::vector<TScrollCall> VerticalCalls() const {
        std::vector<TScrollCall> calls;
        for (const TScrollCall& c : grid->Scrolls)
            if (c.Kind == sbVertical) calls.push_back(c);
        return calls;
    }
    std::unique_ptr<TTestGrid> grid;
};

TEST_F(GridScrollBars, ScrollInfoIsKeptInClassicTermsAndShowsTheBar) {
    grid->SetScrollInfo(sbVertical, {1, 40 + 7 - 1, 7, 12});
    EXPECT_EQ(grid->GetScrollInfo(sbVertical), (TScrollInfo{1, 46, 7, 12}));
    EXPECT_TRUE(grid->IsScrollBarShown(sbVertical));
    EXPECT_EQ(Bar(sbVertical)->minimum(), 1);
    EXPECT_EQ(Bar(sbVertical)->maximum(), 40);
    EXPECT_EQ(Bar(sbVertical)->value(), 12);
    EXPECT_EQ(Bar(sbVertical)->pageStep(), 7);
    // The client area gives way to the bar.
    EXPECT_EQ(grid->ClientWidth(), 300 - Bar(sbVertical)->sizeHint().width());

    grid->SetScrollInfo(sbVertical, {0, 4, 0, 9});  // the three-position bar
    EXPECT_EQ(grid->GetScrollInfo(sbVertical), (TScrollInfo{0, 4, 0, 4}));
    EXPECT_TRUE(grid->IsScrollBarShown(sbVertical));

    grid->SetScrollInfo(sbVertical, {1, 1, 7, 1});  // maximum = minimum removes it
    EXPECT_FALSE(grid->IsScrollBarShown(sbVertical));
    EXPECT_EQ(grid->ClientWidth(), 300);
    grid->SetScrollInfo(sbVertical, {1, 7, 7, 1});  // a page as large as the range too
    EXPECT_FALSE(grid->IsScrollBarShown(sbVertical));
}

TEST_F(GridScrollBars, BaseBarsFollowTheView) {
    grid->SetScrollBars(ssBoth);
    QApplication::processEvents();
    EXPECT_TRUE(grid->IsScrollBarShown(sbVertical));
    EXPECT_TRUE(grid->IsScrollBarShown(sbHorizontal));
    const TScrollInfo v = grid->GetScrollInfo(sbVertical);
    EXPECT_EQ(v.Min, 0);
    EXPECT_EQ(v.Max, 38);  // 39 scrollable rows
    EXPECT_EQ(v.Page, grid->VisibleRowCount());
    grid->SetTopRow(10);
    EXPECT_EQ(grid->GetScrollInfo(sbVertical).Pos, 9);
    EXPECT_EQ(Bar(sbVertical)->value(), 9);
    grid->SetScrollBars(ssHorizontal);
    EXPECT_FALSE(grid->IsScrollBarShown(sbVertical));
    EXPECT_TRUE(grid->IsScrollBarShown(sbHorizontal));
}

TEST_F(GridScrollBars, EveryActionReachesTheHook) {
    grid->InterceptVScroll = true;
    grid->SetScrollInfo(sbVertical, {0, 4, 0, 2});
    QApplication::processEvents();
    QScrollBar* bar = Bar(sbVertical);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const std::vector<TScrollCall> calls = VerticalCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].Code, scLineUp);
    EXPECT_EQ(calls[1].Code, scLineDown);
    EXPECT_EQ(calls[2].Code, scPageUp);
    EXPECT_EQ(calls[3].Code, scPageDown);
    EXPECT_EQ(calls[4].Code, scTop);
    EXPECT_EQ(calls[5].Code, scBottom);
    // The hook did not move the bar, so it stays where the grid put it.
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(grid->GetScrollInfo(sbVertical).Pos, 2);
}

TEST_F(GridScrollBars, ClicksOnArrowsAndTroughReachTheHook) {
    grid->InterceptVScroll = true;
    grid->SetScrollInfo(sbVertical, {1, 100, 10, 40});
    QApplication::processEvents();
    QScrollBar* bar = Bar(sbVertical);
    const QRect addLine = SubControl(bar, QStyle::SC_ScrollBarAddLine);
    const QRect subPage = SubControl(bar, QStyle::SC_ScrollBarSubPage);
    ASSERT_FALSE(addLine.isEmpty());
    ASSERT_FALSE(subPage.isEmpty());
    QTest::mouseClick(bar, Qt::LeftButton, {}, addLine.center());
    QTest::mouseClick(bar, Qt::LeftButton, {}, subPage.center());
    const std::vector<TScrollCall> calls = VerticalCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().Code, scLineDown);
    EXPECT_EQ(calls.back().Code, scPageUp);
    EXPECT_EQ(bar->value(), 40);
}

TEST_F(GridScrollBars, DraggingTheThumbTracksAndReleasesAPosition) {
    grid->InterceptVScroll = true;
    grid->SetScrollInfo(sbVertical, {0, 4, 0, 2});
    QApplication::processEvents();
    QScrollBar* bar = Bar(sbVertical);
    const QRect thumb = SubControl(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = SubControl(bar, QStyle::SC_ScrollBarGroove);
    ASSERT_FALSE(thumb.isEmpty());
    const QPoint from = thumb.center();
    const QPoint to(from.x(), groove.top() + 1);
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    QTest::mouseMove(bar, QPoint(from.x(), (from.y() + to.y()) / 2));
    QTest::mouseMove(bar, to);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    const std::vector<TScrollCall> calls = VerticalCalls();
    ASSERT_GE(calls.size(), 2u);
    for (size_t i = 0; i + 1 < calls.size(); ++i) EXPECT_EQ(calls[i].Code, scTrack);
    EXPECT_EQ(calls.back().Code, scPosition);
    EXPECT_EQ(calls.back().Pos, 0);
    // The hook set nothing: the thumb returns to the grid's position.
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(bar->sliderPosition(), 2);
}

TEST_F(GridScrollBars, HookThatSetsThePositionMovesTheThumb) {
    class MovingGrid : public TCustomGrid {
    protected:
        void VScroll(TScrollCode code, int pos) override {
            if (code == scLineDown) SetScrollInfo(sbVertical, {0, 4, 0, 4});
        }
    } moving;
    ShowGrid(moving, 300, 200);
    moving.SetScrollInfo(sbVertical, {0, 4, 0, 2});
    moving.ScrollBarControl(sbVertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(moving.ScrollBarControl(sbVertical)->value(), 4);
    EXPECT_EQ(moving.GetScrollInfo(sbVertical).Pos, 4);
}

TEST_F(GridScrollBars, DefaultHandlingScrollsTopRowAndLeftCol) {
    grid->SetScrollBars(ssBoth);
    QApplication::processEvents();
    QScrollBar* vbar = Bar(sbVertical);
    vbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->TopRow(), 2);
    const int page = grid->VisibleRowCount();
    vbar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->TopRow(), 2 + page);
    vbar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid->TopRow(), 40 - page);
    EXPECT_EQ(vbar->value(), 40 - page - 1);
    vbar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid->TopRow(), 1);
    Bar(sbHorizontal)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->LeftCol(), 2);
}

TEST_F(GridScrollBars, ThumbTrackingMovesTheViewOnlyWithTheOption) {
    grid->SetScrollBars(ssVertical);
    QApplication::processEvents();
    QScrollBar* bar = Bar(sbVertical);
    const QRect thumb = SubControl(bar, QStyle::SC_ScrollBarSlider);
    const QPoint from = thumb.center();
    const QPoint to(from.x(), from.y() + 40);
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    QTest::mouseMove(bar, to);
    EXPECT_EQ(grid->TopRow(), 1);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    const int released = grid->TopRow();
    EXPECT_GT(released, 1);

    grid->SetTopRow(1);
    grid->SetOptions(grid->Options() + goThumbTracking);
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    QTest::mouseMove(bar, to);
    EXPECT_EQ(grid->TopRow(), released);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    EXPECT_EQ(grid->TopRow(), released);
}

}  // namespace
