// The cell model of the base grid: cells, sizes, view, current cell,
// selection, geometry and invalidation.

#include "grid/base/CustomGridCells.h"

#include "grid/base/GridDrawInfo.h"
#include "platform/Exceptions.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace {
const char* const SIndexOutOfRange = "Grid index out of range";
const char* const SFixedColTooBig = "Fixed column count must be less than column count";
const char* const SFixedRowTooBig = "Fixed row count must be less than row count";

int ClampInt(int value, int low, int high) { return std::max(low, std::min(value, high)); }
}  // namespace

// ---- Cells and their sizes ---------------------------------------------

void TCustomGridCells::CheckColIndex(int col) const {
    if (col < 0 || col >= FColCount) throw EInvalidGridOperation(SIndexOutOfRange);
}

void TCustomGridCells::CheckRowIndex(int row) const {
    if (row < 0 || row >= FRowCount) throw EInvalidGridOperation(SIndexOutOfRange);
}

void TCustomGridCells::SetColCount(int value) {
    value = std::max(value, 1);
    if (value == FColCount) return;
    if (value <= FFixedCols) FFixedCols = value - 1;
    ChangeSize(value, FRowCount);
}

void TCustomGridCells::SetRowCount(int value) {
    value = std::max(value, 1);
    if (value == FRowCount) return;
    if (value <= FFixedRows) FFixedRows = value - 1;
    ChangeSize(FColCount, value);
}

void TCustomGridCells::ClampCells() {
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

void TCustomGridCells::ChangeSize(int newColCount, int newRowCount) {
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

void TCustomGridCells::SetFixedCols(int value) {
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

void TCustomGridCells::SetFixedRows(int value) {
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

void TCustomGridCells::SetDefaultColWidth(int value) {
    FDefaultColWidth = value;
    FColWidths.clear();
    InvalidateGrid();
    ColWidthsChanged();
}

int TCustomGridCells::ColWidths(int col) const {
    if (col < 0 || col >= FColCount) return 0;
    return FColWidths.empty() ? FDefaultColWidth : FColWidths[col];
}

void TCustomGridCells::SetColWidths(int col, int value) {
    CheckColIndex(col);
    if (ColWidths(col) == value) return;
    if (FColWidths.empty()) FColWidths.assign(FColCount, FDefaultColWidth);
    FColWidths[col] = value;
    InvalidateGrid();
    ColWidthsChanged();
}

void TCustomGridCells::SetDefaultRowHeight(int value) {
    FDefaultRowHeight = value;
    FRowHeights.clear();
    InvalidateGrid();
    RowHeightsChanged();
}

int TCustomGridCells::RowHeights(int row) const {
    if (row < 0 || row >= FRowCount) return 0;
    return FRowHeights.empty() ? FDefaultRowHeight : FRowHeights[row];
}

void TCustomGridCells::SetRowHeights(int row, int value) {
    CheckRowIndex(row);
    if (RowHeights(row) == value) return;
    if (FRowHeights.empty()) FRowHeights.assign(FRowCount, FDefaultRowHeight);
    FRowHeights[row] = value;
    InvalidateGrid();
    RowHeightsChanged();
}

void TCustomGridCells::SetGridLineWidth(int value) {
    value = std::max(value, 0);
    if (value == FGridLineWidth) return;
    FGridLineWidth = value;
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

bool TCustomGridCells::TabStops(int col) const {
    if (col < 0 || col >= FColCount) return false;
    return FTabStops.empty() ? true : bool(FTabStops[col]);
}

void TCustomGridCells::SetTabStops(int col, bool value) {
    CheckColIndex(col);
    if (FTabStops.empty()) {
        if (value) return;
        FTabStops.assign(FColCount, true);
    }
    FTabStops[col] = value;
}

int TCustomGridCells::ClientWidth() const { return viewport()->width(); }

int TCustomGridCells::ClientHeight() const { return viewport()->height(); }

int TCustomGridCells::GridWidth() const { return CalcDrawInfo().Horz.GridBoundary; }

int TCustomGridCells::GridHeight() const { return CalcDrawInfo().Vert.GridBoundary; }

// ---- View, current cell and selection ----------------------------------

void TCustomGridCells::SetTopRow(int value) { MoveTopLeft(FTopLeft.X, value); }

void TCustomGridCells::SetLeftCol(int value) { MoveTopLeft(value, FTopLeft.Y); }

int TCustomGridCells::VisibleRowCount() const {
    return CalcDrawInfo().Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

int TCustomGridCells::VisibleColCount() const {
    return CalcDrawInfo().Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

void TCustomGridCells::SetCol(int value) {
    if (value != FCurrent.X) FocusCell(value, FCurrent.Y, true);
}

void TCustomGridCells::SetRow(int value) {
    if (value != FCurrent.Y) FocusCell(FCurrent.X, value, true);
}

TGridRect TCustomGridCells::Selection() const {
    TGridRect r = TGridRect::Span(FCurrent, FAnchor);
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = FColCount - 1;
    }
    return r;
}

void TCustomGridCells::SetSelection(const TGridRect& value) {
    const TGridRect oldSel = Selection();
    FAnchor = {ClampInt(value.Left, 0, FColCount - 1), ClampInt(value.Top, 0, FRowCount - 1)};
    FCurrent = {ClampInt(value.Right, 0, FColCount - 1), ClampInt(value.Bottom, 0, FRowCount - 1)};
    SelectionMoved(oldSel);
}

void TCustomGridCells::FocusCell(int col, int row, bool moveAnchor) {
    MoveColRow(col, row, moveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGridCells::MoveColRow(int col, int row, bool moveAnchor, bool show) {
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

void TCustomGridCells::MoveAnchor(TGridCoord newAnchor) {
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

void TCustomGridCells::SelectionMoved(const TGridRect& oldSel) {
    const TGridRect newSel = Selection();
    if (oldSel == newSel) {
        InvalidateCell(FCurrent.X, FCurrent.Y);
        return;
    }
    InvalidateRect(oldSel);
    InvalidateRect(newSel);
}

bool TCustomGridCells::SelectCell(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    return canSelect;
}

void TCustomGridCells::MoveTopLeft(int left, int top) {
    left = ClampInt(left, FFixedCols, FColCount - 1);
    top = ClampInt(top, FFixedRows, FRowCount - 1);
    if (left == FTopLeft.X && top == FTopLeft.Y) return;
    const TGridCoord old = FTopLeft;
    FTopLeft = {left, top};
    TopLeftMoved(old);
}

void TCustomGridCells::TopLeftMoved(TGridCoord oldTopLeft) {
    if (oldTopLeft == FTopLeft) return;
    UpdateScrollBars();
    ScrollView(oldTopLeft);
    TopLeftChanged();
}

void TCustomGridCells::ScrollView(TGridCoord oldTopLeft) {
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

void TCustomGridCells::ScrollBand(const QRect& band, int dx, int dy) {
    if (band.isEmpty() || (dx == 0 && dy == 0)) return;
    if (std::abs(dx) >= band.width() || std::abs(dy) >= band.height()) InvalidateArea(band);
    else viewport()->scroll(IsMirrored() ? -dx : dx, dy, ViewportRect(band));
}

void TCustomGridCells::TopLeftChanged() {
    if (OnTopLeftChanged) OnTopLeftChanged();
}

TGridCoord TCustomGridCells::CalcMaxTopLeft(TGridCoord coord, const TGridDrawInfo& drawInfo) const {
    return {GridAxis::MaxFirstCell(drawInfo.Horz, coord.X),
            GridAxis::MaxFirstCell(drawInfo.Vert, coord.Y)};
}

void TCustomGridCells::ClampInView(TGridCoord coord) {
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

int TCustomGridCells::NextVisibleCol(int from, int direction) const {
    for (int c = from + direction; c >= FFixedCols && c < FColCount; c += direction)
        if (ColWidths(c) > 0) return c;
    return from;
}

void TCustomGridCells::MoveAdjust(int& cellPos, int fromIndex, int toIndex) {
    if (cellPos == fromIndex) {
        cellPos = toIndex;
        return;
    }
    const int low = std::min(fromIndex, toIndex);
    const int high = std::max(fromIndex, toIndex);
    if (cellPos >= low && cellPos <= high) cellPos += fromIndex > toIndex ? 1 : -1;
}

void TCustomGridCells::MoveColumn(int fromIndex, int toIndex) {
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

void TCustomGridCells::MoveRow(int fromIndex, int toIndex) {
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

// ---- Geometry ------------------------------------------------------------

TGridDrawInfo TCustomGridCells::CalcFixedInfo() const {
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

TGridDrawInfo TCustomGridCells::CalcDrawInfo() const {
    TGridDrawInfo di = CalcFixedInfo();
    GridAxis::CalcVisible(di.Horz, ClientWidth());
    GridAxis::CalcVisible(di.Vert, ClientHeight());
    return di;
}

QRect TCustomGridCells::CellRect(int col, int row) const { return BoxRect(col, row, col, row); }

QRect TCustomGridCells::BoxRect(int left, int top, int right, int bottom) const {
    return GridRectToScreenRect(TGridRect::Span({left, top}, {right, bottom}), false);
}

QRect TCustomGridCells::GridRectToScreenRect(const TGridRect& rect, bool includeLine) const {
    const TGridDrawInfo di = CalcDrawInfo();
    int x0, x1, y0, y1;
    if (!GridAxis::CellSpan(di.Horz, rect.Left, rect.Right, includeLine, x0, x1)) return QRect();
    if (!GridAxis::CellSpan(di.Vert, rect.Top, rect.Bottom, includeLine, y0, y1)) return QRect();
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

TGridCoord TCustomGridCells::MouseCoord(int x, int y) const {
    return CalcCoordFromPoint(x, y, CalcDrawInfo());
}

TGridCoord TCustomGridCells::CalcCoordFromPoint(int x, int y, const TGridDrawInfo& drawInfo) const {
    return {GridAxis::CellAt(drawInfo.Horz, x), GridAxis::CellAt(drawInfo.Vert, y)};
}

bool TCustomGridCells::IsActiveControl() const {
    const QWidget* focus = window()->focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

// ---- Invalidation ----------------------------------------------------------

void TCustomGridCells::InvalidateCell(int col, int row) { InvalidateRect({col, row, col, row}); }

void TCustomGridCells::InvalidateCol(int col) { InvalidateRect({col, 0, col, FRowCount - 1}); }

void TCustomGridCells::InvalidateRow(int row) { InvalidateRect({0, row, FColCount - 1, row}); }

void TCustomGridCells::InvalidateRect(const TGridRect& rect) {
    InvalidateArea(GridRectToScreenRect(rect, true));
}

void TCustomGridCells::InvalidateGrid() { viewport()->update(); }

void TCustomGridCells::ScrollRowBand(int firstRow, int lastRow, int dy) {
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

void TCustomGridCells::Update() {
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
}

// ---- Default hooks -----------------------------------------------------------

void TCustomGridCells::ColumnMoved(int, int) {}

void TCustomGridCells::RowMoved(int, int) {}

void TCustomGridCells::ColWidthsChanged() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGridCells::RowHeightsChanged() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGridCells::SizeChanged(int, int) {}

void TCustomGridCells::Click() {
    if (OnClick) OnClick();
}
