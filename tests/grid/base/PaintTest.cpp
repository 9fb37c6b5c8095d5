// Painting checked on rendered images: lines per region with the line
// options, cell backgrounds, selection and focus, the free area, the draw
// states DrawCell receives, overlays and the pixel scroll of a row band.

#include "GridTestSupport.h"

#include "ui/QtColor.h"

#include <QPaintEvent>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

class GridPaint : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        // 5 x 5 cells of 64 x 24 with 1-pixel lines: fixed column [0,64) and
        // its line at 64, column 1 [65,129) and its line at 129; fixed row
        // [0,24), line at 24; row 1 [25,49), line at 49.  All rows fit.
        ShowGrid(*grid, 300, 200);
    }
    QImage Image() { return Render(*grid); }
    std::unique_ptr<TTestGrid> grid;
};

const QColor Black = ToQColor(clBlack);
const QColor White = ToQColor(clWindow);
const QColor Silver = ToQColor(clSilver);
const QColor Gray = ToQColor(clGray);
const QColor BtnFace = ToQColor(clBtnFace);
const QColor Highlight = ToQColor(clHighlight);

TEST_F(GridPaint, LinesAndBackgroundsPerRegion) {
    const QImage img = Image();
    EXPECT_EQ(PixelAt(img, 64, 10), Black);               // fixed vertical line
    EXPECT_EQ(PixelAt(img, 30, 24), Black);               // fixed horizontal line
    EXPECT_EQ(PixelAt(img, 64, 60), Black);               // fixed column below the title
    EXPECT_EQ(PixelAt(img, 150, 24), Black);              // title row right of the corner
    EXPECT_EQ(PixelAt(img, 129, 60), Silver);  // data lines
    EXPECT_EQ(PixelAt(img, 160, 74), Silver);
    EXPECT_EQ(PixelAt(img, 30, 10), BtnFace);  // fixed cell
    EXPECT_EQ(PixelAt(img, 160, 60), White);                  // data cell
    EXPECT_EQ(PixelAt(img, 160, 150), White);                 // below the last row
}

TEST_F(GridPaint, LineOptionsSwitchRegionsOff) {
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goHorzLine});
    QImage img = Image();
    EXPECT_EQ(PixelAt(img, 64, 10), Black);
    EXPECT_EQ(PixelAt(img, 130, 60).rgb(), PixelAt(img, 140, 60).rgb())
        << "no vertical data lines: the columns close up";
    EXPECT_EQ(PixelAt(img, 160, 49), Silver);

    grid->SetOptions({goVertLine, goHorzLine});  // fixed lines off, data lines on
    img = Image();
    EXPECT_EQ(PixelAt(img, 64, 10), BtnFace) << "fixed lines in the fixed colour";
    EXPECT_EQ(PixelAt(img, 129, 60), Silver);
}

TEST_F(GridPaint, WideLinesAndSilverBackground) {
    grid->SetGridLineWidth(2);
    grid->SetColor(clSilver);
    const QImage img = Image();
    EXPECT_EQ(PixelAt(img, 64, 10), Black);
    EXPECT_EQ(PixelAt(img, 65, 10), Black);
    EXPECT_EQ(PixelAt(img, 66, 10), BtnFace);
    // Data lines turn grey on a silver grid.
    EXPECT_EQ(PixelAt(img, 130, 60), Gray);
    EXPECT_EQ(PixelAt(img, 131, 60), Gray);
    EXPECT_EQ(PixelAt(img, 160, 60), Silver);
}

TEST_F(GridPaint, SelectionIsHighlightedAndTheFocusedCellFramed) {
    grid->SetSelection({2, 2, 1, 1});  // anchor (2,2), current (1,1)
    const QImage img = Image();
    EXPECT_EQ(PixelAt(img, 160, 60), Highlight);
    EXPECT_EQ(PixelAt(img, 100, 60), Highlight);
    EXPECT_EQ(PixelAt(img, 100, 37), White) << "the focused cell is not highlighted";
    // Dotted focus frame: every other pixel of its border.
    EXPECT_EQ(PixelAt(img, 65, 25), Black);
    EXPECT_EQ(PixelAt(img, 66, 25), White);
    EXPECT_EQ(PixelAt(img, 67, 25), Black);

    grid->SetOptions(grid->Options() + goDrawFocusSelected);
    EXPECT_EQ(PixelAt(Image(), 100, 37), Highlight);
}

TEST_F(GridPaint, DrawCellGetsEveryVisibleCellWithItsState) {
    grid->Drawn.clear();
    Image();
    auto stateOf = [&](int col, int row) -> std::optional<TGridDrawState> {
        for (const auto& [coord, state] : grid->Drawn)
            if (coord == TGridCoord{col, row}) return state;
        return std::nullopt;
    };
    ASSERT_TRUE(stateOf(0, 0));
    EXPECT_EQ(*stateOf(0, 0), TGridDrawState{gdFixed});
    EXPECT_EQ(*stateOf(2, 0), TGridDrawState{gdFixed});
    EXPECT_EQ(*stateOf(1, 1), (TGridDrawState{gdFocused, gdSelected}));
    EXPECT_EQ(*stateOf(2, 3), TGridDrawState{});
    EXPECT_TRUE(stateOf(4, 4)) << "the partly shown column is drawn";
    EXPECT_EQ(grid->Drawn.size(), 25u);

    grid->SetLeftCol(2);
    grid->Drawn.clear();
    Image();
    EXPECT_FALSE(stateOf(1, 1));
    EXPECT_TRUE(stateOf(0, 1));
    EXPECT_EQ(*stateOf(2, 0), TGridDrawState{gdFixed});

    grid->SetLeftCol(1);
    grid->clearFocus();
    grid->Drawn.clear();
    Image();
    EXPECT_EQ(*stateOf(1, 1), TGridDrawState{gdSelected}) << "no focus, no focused state";
}

TEST_F(GridPaint, CellUnderTheEditorIsNotDrawn) {
    grid->SetOptions(grid->Options() + goEditing);
    grid->ShowEditor();
    ASSERT_TRUE(grid->InplaceEditor()->isVisible());
    grid->Drawn.clear();
    Image();
    for (const auto& [coord, state] : grid->Drawn) EXPECT_FALSE(coord == (TGridCoord{1, 1}));
}

TEST_F(GridPaint, SizingLineIsDrawnWhileSizing) {
    grid->SetOptions(grid->Options() + goColSizing);
    QTest::mousePress(Client(*grid), Qt::LeftButton, {}, QPoint(129, 10));
    QTest::mouseMove(Client(*grid), QPoint(180, 10));
    const QImage img = Image();
    EXPECT_EQ(PixelAt(img, 180, 100), Black);
    EXPECT_EQ(PixelAt(img, 180, 101), White);
    QTest::mouseRelease(Client(*grid), Qt::LeftButton, {}, QPoint(180, 10));
    EXPECT_EQ(PixelAt(Image(), 180, 150), White);
}

// Records the regions the viewport is asked to paint.
class PaintRecorder : public QObject {
public:
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

TEST_F(GridPaint, RowBandScrollRepaintsOnlyTheUncoveredStrip) {
    grid->SetRowCount(20);
    QApplication::processEvents();
    grid->Update();
    PaintRecorder recorder;
    grid->viewport()->installEventFilter(&recorder);
    grid->ScrollRowBand(1, -1, -25);
    grid->Update();
    QApplication::processEvents();
    grid->viewport()->removeEventFilter(&recorder);
    ASSERT_FALSE(recorder.Painted.isEmpty());
    EXPECT_EQ(recorder.Painted.boundingRect(), QRect(0, 175, 300, 25));
}

TEST_F(GridPaint, RowBandScrollOfAWholeBandRepaintsIt) {
    grid->SetRowCount(20);
    QApplication::processEvents();
    grid->Update();
    PaintRecorder recorder;
    grid->viewport()->installEventFilter(&recorder);
    grid->ScrollRowBand(1, 2, 60);  // more than the band of rows 1..2
    grid->Update();
    QApplication::processEvents();
    grid->viewport()->removeEventFilter(&recorder);
    EXPECT_EQ(recorder.Painted.boundingRect(), QRect(0, 25, 300, 50));
}

}  // namespace

namespace {

QRegion PaintedBy(TCustomGrid& grid, const std::function<void()>& change) {
    QApplication::processEvents();
    grid.Update();
    PaintRecorder recorder;
    grid.viewport()->installEventFilter(&recorder);
    change();
    grid.Update();
    QApplication::processEvents();
    grid.viewport()->removeEventFilter(&recorder);
    return recorder.Painted;
}

TEST_F(GridPaint, ScrollingByACellRepaintsOnlyTheCellsComingIntoView) {
    grid->SetColCount(10);
    grid->SetRowCount(20);
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->SetTopRow(2); }).boundingRect(),
              QRect(0, 175, 300, 25));
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->SetLeftCol(2); }).boundingRect(),
              QRect(300 - 65, 0, 65, 200));
    // A jump of a whole page or more repaints all scrollable cells.
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->SetTopRow(12); }).boundingRect(),
              QRect(0, 25, 300, 175));
}

TEST_F(GridPaint, ScrolledPixelsMatchAFreshPaint) {
    grid->SetColCount(10);
    grid->SetRowCount(20);
    grid->SetSelection({3, 4, 2, 2});
    QApplication::processEvents();
    grid->Update();
    grid->SetTopRow(2);
    grid->Update();
    grid->SetLeftCol(2);
    grid->Update();
    QApplication::processEvents();
    // What the screen shows (the backing store, with the moved pixels)
    // against a paint of the whole grid from scratch.
    const QImage shown =
        grid->screen()->grabWindow(grid->winId(), 0, 0, 300, 200).toImage().convertToFormat(
            QImage::Format_RGB32);
    const QImage fresh = Render(*grid).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    EXPECT_EQ(shown, fresh);
}

}  // namespace

namespace {

TEST_F(GridPaint, InvalidationCoversTheCellsWithTheirLines) {
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->InvalidateCell(2, 2); }).boundingRect(),
              QRect(130, 50, 65, 25));
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->InvalidateRow(2); }).boundingRect(),
              QRect(0, 50, 300, 25));
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->InvalidateCol(2); }).boundingRect(),
              QRect(130, 0, 65, 125));
    EXPECT_EQ(PaintedBy(*grid, [&] { grid->InvalidateRect({1, 1, 2, 3}); }).boundingRect(),
              QRect(65, 25, 130, 75));
    // A cell scrolled out of view invalidates nothing.
    grid->SetColCount(10);
    grid->SetLeftCol(5);
    EXPECT_TRUE(PaintedBy(*grid, [&] { grid->InvalidateCell(2, 2); }).isEmpty());
}

TEST_F(GridPaint, RowSelectHighlightsTheWholeRowAndFramesIt) {
    grid->SetOptions(grid->Options() + goRowSelect);
    const QImage img = Image();
    EXPECT_EQ(PixelAt(img, 100, 37), Highlight) << "the focused cell too";
    EXPECT_EQ(PixelAt(img, 200, 37), Highlight);
    EXPECT_EQ(PixelAt(img, 200, 60), White);
    // The dotted frame runs around the selected row, not around the cell.
    EXPECT_NE(PixelAt(img, 65, 25), Highlight);
    EXPECT_EQ(PixelAt(img, 66, 25), Highlight);
    EXPECT_NE(PixelAt(img, 129, 25), PixelAt(img, 129, 60)) << "frame over the line";
}

}  // namespace
