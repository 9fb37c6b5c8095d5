#pragma once
// Shared pieces of the base grid tests: the application object, a grid
// that records its hooks, and helpers that show it with a known client
// size and drive it with the mouse.

#include "grid/base/CustomGrid.h"
#include "grid/base/InplaceEdit.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <memory>
#include <vector>

inline void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_grid_base";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

struct TScrollCall {
    TScrollBarKind Kind;
    TScrollCode Code;
    int Pos;
    bool operator==(const TScrollCall&) const = default;
};

// A grid that exposes its protected operations and records what its hooks
// were asked.
class TTestGrid : public TCustomGrid {
public:
    using TCustomGrid::CalcMaxTopLeft;
    using TCustomGrid::CalcSizingState;
    using TCustomGrid::Canvas;
    using TCustomGrid::CursorAt;
    using TCustomGrid::FocusCell;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::UpdateScrollBars;

    std::vector<std::pair<int, int>> Moves;
    std::vector<TScrollCall> Scrolls;
    std::vector<std::pair<TGridCoord, TGridDrawState>> Drawn;
    std::vector<std::pair<TGridCoord, QString>> EditTexts;
    int ColWidthChanges = 0;
    int TopLeftChanges = 0;
    bool InterceptVScroll = false;  // record vertical actions instead of scrolling
    void CancelModeForTest() { CancelMode(); }
    QString EditTextOf(int col, int row) const { return QString("r%1c%2").arg(row).arg(col); }

protected:
    void ColumnMoved(int from, int to) override { Moves.push_back({from, to}); }
    void ColWidthsChanged() override {
        ++ColWidthChanges;
        TCustomGrid::ColWidthsChanged();
    }
    void TopLeftChanged() override {
        ++TopLeftChanges;
        TCustomGrid::TopLeftChanged();
    }
    void VScroll(TScrollCode code, int pos) override {
        Scrolls.push_back({sbVertical, code, pos});
        if (!InterceptVScroll) TCustomGrid::VScroll(code, pos);
    }
    void HScroll(TScrollCode code, int pos) override {
        Scrolls.push_back({sbHorizontal, code, pos});
        TCustomGrid::HScroll(code, pos);
    }
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override {
        Drawn.push_back({{col, row}, state});
        TCustomGrid::DrawCell(col, row, rect, state);
    }
    QString GetEditText(int col, int row) override { return EditTextOf(col, row); }
    void SetEditText(int col, int row, const QString& value) override {
        EditTexts.push_back({{col, row}, value});
    }
};

// Shows a grid without border and scroll bars so that its client area has
// exactly the given size, and gives it the keyboard focus.
inline void ShowGrid(TCustomGrid& grid, int clientWidth, int clientHeight) {
    grid.SetBorderStyle(bsNone);
    grid.SetScrollBars(ssNone);
    grid.resize(clientWidth, clientHeight);
    grid.show();
    QApplication::setActiveWindow(&grid);
    if (!QTest::qWaitForWindowExposed(&grid)) return;
    grid.activateWindow();
    grid.setFocus();
    QApplication::processEvents();
}

// The viewport takes the grid's mouse events.
inline QWidget* Client(TCustomGrid& grid) { return grid.viewport(); }

inline void Drag(TCustomGrid& grid, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(Client(grid), Qt::LeftButton, mods, from);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(Client(grid), from + (to - from) * i / steps);
    QTest::mouseRelease(Client(grid), Qt::LeftButton, mods, to);
}

inline QImage Render(TCustomGrid& grid) { return grid.viewport()->grab().toImage(); }

inline QColor PixelAt(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// Where the bar's style puts one of its parts (arrow, page area, thumb,
// groove) on the bar as shown, in the bar's reading order.
inline QRect ScrollBarPart(const QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_None;
    opt.activeSubControls = QStyle::SC_None;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}
