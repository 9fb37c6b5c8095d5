// Cells, sizes, view, current cell, selection, options and geometry of the
// base grid.  Input, painting, scrolling and editor hosting live in their
// own files.

#include "grid/base/CustomGrid.h"

#include "grid/base/CustomGridMouse.h"
#include "grid/base/CustomGridScrollBars.h"
#include "grid/base/GridDrawInfo.h"
#include "grid/base/InplaceEdit.h"
#include "platform/Exceptions.h"

#include <QApplication>
#include <QScrollBar>

#include <algorithm>

namespace {
const char* const SIndexOutOfRange = "Grid index out of range";
const char* const SFixedColTooBig = "Fixed column count must be less than column count";
const char* const SFixedRowTooBig = "Fixed row count must be less than row count";

int ClampInt(int value, int low, int high) { return std::max(low, std::min(value, high)); }
}  // namespace

TCustomGrid::TCustomGrid(QWidget* parent)
    : QAbstractScrollArea(parent),
      FMouse(std::make_unique<TCustomGridMouse>(*this)),
      FScrollBarSet(std::make_unique<TCustomGridScrollBars>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(qApp, &QApplication::focusChanged, this, &TCustomGrid::OnFocusChanged);
    SetBorderStyle(bsSingle);
    UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() {
    // The editor is a child widget; it must not call back into a grid being
    // destroyed.
    disconnect(qApp, nullptr, this, nullptr);
}

// ---- Cells and their sizes ---------------------------------------------

void TCustomGrid::CheckColIndex(int col) const {
    if (col < 0 || col >= FColCount) throw EInvalidGridOperation(SIndexOutOfRange);
}

void TCustomGrid::CheckRowIndex(int row) const {
    if (row < 0 || row >= FRowCount) throw EInvalidGridOperation(SIndexOutOfRange);
}

void TCustomGrid::SetColCount(int value) {
    value = std::max(value, 1);
    if (value == FColCount) return;
    if (value <= FFixedCols) FFixedCols = value - 1;
    ChangeSize(value, FRowCount);
}

void TCustomGrid::SetRowCount(int value) {
    value = std::max(value, 1);
    if (value == FRowCount) return;
    if (value <= FFixedRows) FFixedRows = value - 1;
    ChangeSize(FColCount, value);
}

void TCustomGrid::ClampCells() {
    auto clampCoord = [this](TGridCoord& c) {
        c.X = ClampInt(c.X, 0, FColCount - 1);
        c.Y = ClampInt(c.Y, 0, FRowCount - 1);
    };
    clampCoord(FCurrent);
    clampCoord(FAnchor);
    FTopLeft.X = ClampInt(FTopLeft.X, FFixedCols, FColCount - 1);
    FTopLeft.Y = ClampInt(FTopLeft.Y, FFixedRows, FRowCount - 1);
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TCustomGrid::ChangeSize(int newColCount, int newRowCount) {
    const int oldColCount = FColCount;
    const int oldRowCount = FRowCount;
    if (!FColWidths.empty()) FColWidths.resize(newColCount, FDefaultColWidth);
    if (!FTabStops.empty()) FTabStops.resize(newColCount, true);
    if (!FRowHeights.empty()) FRowHeights.resize(newRowCount, FDefaultRowHeight);
    FColCount = newColCount;
    FRowCount = newRowCount;
    ClampCells();
    if (FInplaceCol >= FColCount || FInplaceRow >= FRowCount) HideEdit();
    SizeChanged(oldColCount, oldRowCount);
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0) throw EInvalidGridOperation(SIndexOutOfRange);
    if (value >= FColCount) throw EInvalidGridOperation(SFixedColTooBig);
    if (value == FFixedCols) return;
    FFixedCols = value;
    FTopLeft.X = FFixedCols;
    FCurrent.X = std::max(FCurrent.X, FFixedCols);
    FAnchor.X = std::max(FAnchor.X, FFixedCols);
    ClampCells();
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0) throw EInvalidGridOperation(SIndexOutOfRange);
    if (value >= FRowCount) throw EInvalidGridOperation(SFixedRowTooBig);
    if (value == FFixedRows) return;
    FFixedRows = value;
    FTopLeft.Y = FFixedRows;
    FCurrent.Y = std::max(FCurrent.Y, FFixedRows);
    FAnchor.Y = std::max(FAnchor.Y, FFixedRows);
    ClampCells();
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SetDefaultColWidth(int value) {
    FDefaultColWidth = value;
    FColWidths.clear();
    InvalidateGrid();
    ColWidthsChanged();
}

int TCustomGrid::ColWidths(int col) const {
    if (col < 0 || col >= FColCount) return 0;
    return FColWidths.empty() ? FDefaultColWidth : FColWidths[col];
}

void TCustomGrid::SetColWidths(int col, int value) {
    CheckColIndex(col);
    if (ColWidths(col) == value) return;
    if (FColWidths.empty()) FColWidths.assign(FColCount, FDefaultColWidth);
    FColWidths[col] = value;
    InvalidateGrid();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    FDefaultRowHeight = value;
    FRowHeights.clear();
    InvalidateGrid();
    RowHeightsChanged();
}

int TCustomGrid::RowHeights(int row) const {
    if (row < 0 || row >= FRowCount) return 0;
    return FRowHeights.empty() ? FDefaultRowHeight : FRowHeights[row];
}

void TCustomGrid::SetRowHeights(int row, int value) {
    CheckRowIndex(row);
    if (RowHeights(row) == value) return;
    if (FRowHeights.empty()) FRowHeights.assign(FRowCount, FDefaultRowHeight);
    FRowHeights[row] = value;
    InvalidateGrid();
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int value) {
    value = std::max(value, 0);
    if (value == FGridLineWidth) return;
    FGridLineWidth = value;
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

bool TCustomGrid::TabStops(int col) const {
    if (col < 0 || col >= FColCount) return false;
    return FTabStops.empty() ? true : bool(FTabStops[col]);
}

void TCustomGrid::SetTabStops(int col, bool value) {
    CheckColIndex(col);
    if (FTabStops.empty()) {
        if (value) return;
        FTabStops.assign(FColCount, true);
    }
    FTabStops[col] = value;
}

int TCustomGrid::ClientWidth() const { return viewport()->width(); }
int TCustomGrid::ClientHeight() const { return viewport()->height(); }
int TCustomGrid::GridWidth() const { return CalcDrawInfo().Horz.GridBoundary; }
int TCustomGrid::GridHeight() const { return CalcDrawInfo().Vert.GridBoundary; }

// ---- View, current cell and selection ----------------------------------

void TCustomGrid::SetTopRow(int value) { MoveTopLeft(FTopLeft.X, value); }
void TCustomGrid::SetLeftCol(int value) { MoveTopLeft(value, FTopLeft.Y); }

int TCustomGrid::VisibleRowCount() const {
    return CalcDrawInfo().Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

int TCustomGrid::VisibleColCount() const {
    return CalcDrawInfo().Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

void TCustomGrid::SetCol(int value) {
    if (value != FCurrent.X) FocusCell(value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int value) {
    if (value != FCurrent.Y) FocusCell(FCurrent.X, value, true);
}

TGridRect TCustomGrid::Selection() const {
    TGridRect r = TGridRect::Span(FCurrent, FAnchor);
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = FColCount - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& value) {
    const TGridRect oldSel = Selection();
    FAnchor = {ClampInt(value.Left, 0, FColCount - 1), ClampInt(value.Top, 0, FRowCount - 1)};
    FCurrent = {ClampInt(value.Right, 0, FColCount - 1), ClampInt(value.Bottom, 0, FRowCount - 1)};
    SelectionMoved(oldSel);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    MoveColRow(col, row, moveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveColRow(int col, int row, bool moveAnchor, bool show) {
    CheckColIndex(col);
    CheckRowIndex(row);
    if (!SelectCell(col, row)) return;
    const TGridRect oldSel = Selection();
    FCurrent = {col, row};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (show) ClampInView(FCurrent);
    SelectionMoved(oldSel);
}

void TCustomGrid::MoveAnchor(TGridCoord newAnchor) {
    newAnchor.X = ClampInt(newAnchor.X, FFixedCols, FColCount - 1);
    newAnchor.Y = ClampInt(newAnchor.Y, FFixedRows, FRowCount - 1);
    if (!FOptions.Contains(goRangeSelect)) {
        MoveColRow(newAnchor.X, newAnchor.Y, true, true);
        return;
    }
    const TGridRect oldSel = Selection();
    FAnchor = newAnchor;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ClampInView(newAnchor);
    SelectionMoved(oldSel);
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSel) {
    const TGridRect newSel = Selection();
    if (oldSel == newSel) {
        InvalidateCell(FCurrent.X, FCurrent.Y);
        return;
    }
    InvalidateRect(oldSel);
    InvalidateRect(newSel);
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    return canSelect;
}

void TCustomGrid::MoveTopLeft(int left, int top) {
    left = ClampInt(left, FFixedCols, FColCount - 1);
    top = ClampInt(top, FFixedRows, FRowCount - 1);
    if (left == FTopLeft.X && top == FTopLeft.Y) return;
    const TGridCoord old = FTopLeft;
    FTopLeft = {left, top};
    TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(TGridCoord oldTopLeft) {
    if (oldTopLeft == FTopLeft) return;
    UpdateScrollBars();
    ScrollView(oldTopLeft);
    TopLeftChanged();
}

void TCustomGrid::ScrollView(TGridCoord oldTopLeft) {
    const bool horz = oldTopLeft.X != FTopLeft.X;
    const bool vert = oldTopLeft.Y != FTopLeft.Y;
    if (!FHandleAllocated || (horz && vert)) {
        InvalidateGrid();
        return;
    }
    // The scrollable cells move as one strip: shift its pixels by the cells
    // scrolled past and repaint only what comes into view.
    const TGridDrawInfo di = CalcDrawInfo();
    const TGridAxisDrawInfo& axis = horz ? di.Horz : di.Vert;
    const QRect band = horz ? QRect(axis.FixedBoundary, 0, ClientWidth() - axis.FixedBoundary,
                                    ClientHeight())
                            : QRect(0, axis.FixedBoundary, ClientWidth(),
                                    ClientHeight() - axis.FixedBoundary);
    const int from = horz ? oldTopLeft.X : oldTopLeft.Y;
    const int to = horz ? FTopLeft.X : FTopLeft.Y;
    const int extent = horz ? band.width() : band.height();
    int shift = 0;
    for (int i = std::min(from, to); i < std::max(from, to) && shift < extent; ++i)
        shift += axis.Pitch(i);
    if (to > from) shift = -shift;
    ScrollBand(band, horz ? shift : 0, horz ? 0 : shift);
}

void TCustomGrid::ScrollBand(const QRect& band, int dx, int dy) {
    if (band.isEmpty() || (dx == 0 && dy == 0)) return;
    if (std::abs(dx) >= band.width() || std::abs(dy) >= band.height()) viewport()->update(band);
    else viewport()->scroll(dx, dy, band);
}

void TCustomGrid::TopLeftChanged() {
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
    if (OnTopLeftChanged) OnTopLeftChanged();
}

TGridCoord TCustomGrid::CalcMaxTopLeft(TGridCoord coord, const TGridDrawInfo& drawInfo) const {
    return {GridAxis::MaxFirstCell(drawInfo.Horz, coord.X),
            GridAxis::MaxFirstCell(drawInfo.Vert, coord.Y)};
}

void TCustomGrid::ClampInView(TGridCoord coord) {
    // Before the window exists there is no client area to scroll into.
    if (!FHandleAllocated) return;
    const TGridDrawInfo di = CalcDrawInfo();
    const bool outX = coord.X >= FFixedCols &&
                      (coord.X < FTopLeft.X || coord.X > di.Horz.LastFullVisibleCell);
    const bool outY = coord.Y >= FFixedRows &&
                      (coord.Y < FTopLeft.Y || coord.Y > di.Vert.LastFullVisibleCell);
    if (!outX && !outY) return;
    const TGridCoord maxTopLeft = CalcMaxTopLeft(coord, di);
    TGridCoord topLeft = FTopLeft;
    if (outX) topLeft.X = coord.X < FTopLeft.X ? coord.X : maxTopLeft.X;
    if (outY) topLeft.Y = coord.Y < FTopLeft.Y ? coord.Y : maxTopLeft.Y;
    MoveTopLeft(topLeft.X, topLeft.Y);
}

int TCustomGrid::NextVisibleCol(int from, int direction) const {
    for (int c = from + direction; c >= FFixedCols && c < FColCount; c += direction)
        if (ColWidths(c) > 0) return c;
    return from;
}

void TCustomGrid::MoveAdjust(int& cellPos, int fromIndex, int toIndex) {
    if (cellPos == fromIndex) {
        cellPos = toIndex;
        return;
    }
    const int low = std::min(fromIndex, toIndex);
    const int high = std::max(fromIndex, toIndex);
    if (cellPos >= low && cellPos <= high) cellPos += fromIndex > toIndex ? 1 : -1;
}

void TCustomGrid::MoveColumn(int fromIndex, int toIndex) {
    CheckColIndex(fromIndex);
    CheckColIndex(toIndex);
    if (fromIndex == toIndex) return;
    auto moveEntry = [fromIndex, toIndex](auto& list) {
        if (list.empty()) return;
        auto value = list[fromIndex];
        list.erase(list.begin() + fromIndex);
        list.insert(list.begin() + toIndex, value);
    };
    moveEntry(FColWidths);
    moveEntry(FTabStops);
    MoveAdjust(FCurrent.X, fromIndex, toIndex);
    MoveAdjust(FAnchor.X, fromIndex, toIndex);
    if (FInplaceCol >= 0) MoveAdjust(FInplaceCol, fromIndex, toIndex);
    ColumnMoved(fromIndex, toIndex);
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    InvalidateGrid();
    UpdateEdit();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex) {
    CheckRowIndex(fromIndex);
    CheckRowIndex(toIndex);
    if (fromIndex == toIndex) return;
    if (!FRowHeights.empty()) {
        const int h = FRowHeights[fromIndex];
        FRowHeights.erase(FRowHeights.begin() + fromIndex);
        FRowHeights.insert(FRowHeights.begin() + toIndex, h);
    }
    MoveAdjust(FCurrent.Y, fromIndex, toIndex);
    MoveAdjust(FAnchor.Y, fromIndex, toIndex);
    if (FInplaceRow >= 0) MoveAdjust(FInplaceRow, fromIndex, toIndex);
    RowMoved(fromIndex, toIndex);
    InvalidateGrid();
    UpdateEdit();
}

// ---- Settings ------------------------------------------------------------

void TCustomGrid::SetOptions(TGridOptions value) {
    if (value.Contains(goRowSelect)) value.Exclude(goAlwaysShowEditor);
    if (value == FOptions) return;
    const TGridOptions old = FOptions;
    FOptions = value;
    if (value.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    else if (old.Contains(goRowSelect)) FAnchor = FCurrent;
    if (value.Contains(goAlwaysShowEditor)) {
        ShowEditor();
    } else if (FEditorMode && (!value.Contains(goEditing) || value.Contains(goRowSelect) ||
                               old.Contains(goAlwaysShowEditor))) {
        HideEditor();
    }
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SetBorderStyle(TGridBorderStyle value) {
    FBorderStyle = value;
    if (value == bsSingle) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

void TCustomGrid::SetColor(TColor value) {
    FColor = value;
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor value) {
    FFixedColor = value;
    InvalidateGrid();
}

// ---- Geometry ------------------------------------------------------------

TGridDrawInfo TCustomGrid::CalcFixedInfo() const {
    TGridDrawInfo di;
    const int horzLines =
        (FOptions * TGridOptions{goFixedVertLine, goVertLine}).Empty() ? 0 : FGridLineWidth;
    const int vertLines =
        (FOptions * TGridOptions{goFixedHorzLine, goHorzLine}).Empty() ? 0 : FGridLineWidth;
    GridAxis::CalcFixed(di.Horz, horzLines, FFixedCols, FTopLeft.X, FColCount,
                        [this](int c) { return ColWidths(c); });
    GridAxis::CalcFixed(di.Vert, vertLines, FFixedRows, FTopLeft.Y, FRowCount,
                        [this](int r) { return RowHeights(r); });
    return di;
}

TGridDrawInfo TCustomGrid::CalcDrawInfo() const {
    TGridDrawInfo di = CalcFixedInfo();
    GridAxis::CalcVisible(di.Horz, ClientWidth());
    GridAxis::CalcVisible(di.Vert, ClientHeight());
    return di;
}

QRect TCustomGrid::CellRect(int col, int row) const { return BoxRect(col, row, col, row); }

QRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const {
    return GridRectToScreenRect(TGridRect::Span({left, top}, {right, bottom}), false);
}

QRect TCustomGrid::GridRectToScreenRect(const TGridRect& rect, bool includeLine) const {
    const TGridDrawInfo di = CalcDrawInfo();
    int x0, x1, y0, y1;
    if (!GridAxis::CellSpan(di.Horz, rect.Left, rect.Right, includeLine, x0, x1)) return QRect();
    if (!GridAxis::CellSpan(di.Vert, rect.Top, rect.Bottom, includeLine, y0, y1)) return QRect();
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    return CalcCoordFromPoint(x, y, CalcDrawInfo());
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int x, int y, const TGridDrawInfo& drawInfo) const {
    return {GridAxis::CellAt(drawInfo.Horz, x), GridAxis::CellAt(drawInfo.Vert, y)};
}

bool TCustomGrid::IsActiveControl() const {
    const QWidget* focus = window()->focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

// ---- Invalidation ----------------------------------------------------------

void TCustomGrid::InvalidateCell(int col, int row) { InvalidateRect({col, row, col, row}); }

void TCustomGrid::InvalidateCol(int col) { InvalidateRect({col, 0, col, FRowCount - 1}); }

void TCustomGrid::InvalidateRow(int row) { InvalidateRect({0, row, FColCount - 1, row}); }

void TCustomGrid::InvalidateRect(const TGridRect& rect) {
    const QRect r = GridRectToScreenRect(rect, true);
    if (!r.isEmpty()) viewport()->update(r);
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::ScrollRowBand(int firstRow, int lastRow, int dy) {
    const TGridDrawInfo di = CalcDrawInfo();
    const int top = GridAxis::CellStart(di.Vert, firstRow);
    if (top < 0) return;
    int bottom = ClientHeight();
    int spanStart, spanStop;
    if (lastRow >= 0) {
        if (lastRow < firstRow) return;
        if (GridAxis::CellSpan(di.Vert, lastRow, lastRow, true, spanStart, spanStop))
            bottom = std::min(spanStop, ClientHeight());
    }
    ScrollBand(QRect(0, top, ClientWidth(), bottom - top), 0, dy);
}

void TCustomGrid::Update() {
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
}

// ---- Default hooks -----------------------------------------------------------

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::ColWidthsChanged() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::RowHeightsChanged() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::Resize() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::CreateWnd() {
    ClampInView(FCurrent);
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::Click() {
    if (OnClick) OnClick();
}

void TCustomGrid::DblClick() {
    if (OnDblClick) OnDblClick();
}

void TCustomGrid::DoEnter() {
    InvalidateRect(Selection());
    UpdateEdit();
    if (OnEnter) OnEnter();
}

void TCustomGrid::DoExit() {
    InvalidateRect(Selection());
    if (OnExit) OnExit();
}

void TCustomGrid::OnFocusChanged(QWidget*, QWidget*) {
    const bool inside = IsActiveControl();
    if (inside == FFocusInside) return;
    FFocusInside = inside;
    if (inside) DoEnter();
    else DoExit();
}

TShiftState TCustomGrid::ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s += ssShift;
    if (modifiers & Qt::AltModifier) s += ssAlt;
    if (modifiers & Qt::ControlModifier) s += ssCtrl;
    if (buttons & Qt::LeftButton) s += ssLeft;
    if (buttons & Qt::RightButton) s += ssRight;
    if (buttons & Qt::MiddleButton) s += ssMiddle;
    return s;
}

bool TCustomGrid::viewportEvent(QEvent* e) {
    const bool result = QAbstractScrollArea::viewportEvent(e);
    if (e->type() == QEvent::Resize) Resize();
    return result;
}
