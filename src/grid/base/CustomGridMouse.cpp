// The base grid's mouse: selecting drags, sizing columns and rows by their
// lines, moving columns and rows by their fixed cells, the drag timer, and
// the sizing line and move marker over the cells.

#include "grid/base/CustomGridMouse.h"

#include "grid/base/CustomGrid.h"
#include "grid/base/GridDrawInfo.h"
#include "ui/QtColor.h"

#include <QPainter>

#include <cstdlib>

namespace {
constexpr int DragTimerInterval = 60;  // ms between scroll steps of a drag
constexpr int WheelNotch = 120;        // wheel delta of one notch
}  // namespace

void TCustomGridMouse::Press(Qt::MouseButton button, TShiftState shift, int x, int y) {
    TCustomGrid& g = FGrid;
    if (button == Qt::LeftButton && shift.Contains(ssDouble)) {
        g.DblClick();
        return;
    }
    if (button != Qt::LeftButton) return;
    const TGridDrawInfo di = g.CalcDrawInfo();
    int index, sizingPos, sizingOfs;
    const TGridState sizing = g.CalcSizingState(x, y, index, sizingPos, sizingOfs, di);
    if (sizing != gsNormal) {
        StartSizing(sizing, index, sizingPos, sizingOfs);
        return;
    }
    const TGridCoord hit = g.CalcCoordFromPoint(x, y, di);
    const QPoint pt(x, y);
    const TGridOptions options = g.Options();
    if (hit.X >= g.FixedCols() && hit.Y >= g.FixedRows()) {
        if (options.Contains(goEditing) && hit == TGridCoord{g.Col(), g.Row()} && !shift.Contains(ssShift)) {
            g.ShowEditor();
        } else {
            FState = gsSelecting;
            FDragTimer.start(DragTimerInterval, &g);
            if (shift.Contains(ssShift)) g.MoveAnchor(hit);
            else g.MoveColRow(hit.X, hit.Y, true, true);
        }
    } else if (options.Contains(goRowMoving) && hit.X >= 0 && hit.X < g.FixedCols() &&
               hit.Y >= g.FixedRows()) {
        FMoveIndex = FMovePos = hit.Y;
        if (g.BeginRowDrag(FMoveIndex, FMovePos, pt)) {
            FState = gsRowMoving;
            FDragTimer.start(DragTimerInterval, &g);
            InvalidateOverlay();
        }
    } else if (options.Contains(goColMoving) && hit.Y >= 0 && hit.Y < g.FixedRows() &&
               hit.X >= g.FixedCols()) {
        FMoveIndex = FMovePos = hit.X;
        if (g.BeginColumnDrag(FMoveIndex, FMovePos, pt)) {
            FState = gsColMoving;
            FDragTimer.start(DragTimerInterval, &g);
            InvalidateOverlay();
        }
    }
}

void TCustomGridMouse::SelectingMove(int x, int y) {
    TCustomGrid& g = FGrid;
    const TGridDrawInfo di = g.CalcDrawInfo();
    const TGridCoord hit = g.CalcCoordFromPoint(x, y, di);
    if (hit.X >= g.FixedCols() && hit.Y >= g.FixedRows() &&
        hit.X <= di.Horz.LastFullVisibleCell + 1 && hit.Y <= di.Vert.LastFullVisibleCell + 1 &&
        !(hit == g.Anchor()))
        g.MoveAnchor(hit);
}

void TCustomGridMouse::Move(int x, int y) {
    switch (FState) {
    case gsSelecting: SelectingMove(x, y); break;
    case gsColMoving: MoveAndScroll(x, FGrid.MouseCoord(x, y).X, true, QPoint(x, y)); break;
    case gsRowMoving: MoveAndScroll(y, FGrid.MouseCoord(x, y).Y, false, QPoint(x, y)); break;
    case gsColSizing:
    case gsRowSizing:
        InvalidateOverlay();
        FSizingPos = (FState == gsColSizing ? x : y) + FSizingOfs;
        InvalidateOverlay();
        break;
    default: break;
    }
}

void TCustomGridMouse::Release(int x, int y) {
    TCustomGrid& g = FGrid;
    const QPoint pt(x, y);
    switch (FState) {
    case gsSelecting:
        SelectingMove(x, y);
        FDragTimer.stop();
        FState = gsNormal;
        g.UpdateEdit();
        g.Click();
        break;
    case gsColSizing:
    case gsRowSizing: {
        const bool columns = FState == gsColSizing;
        InvalidateOverlay();
        // The line ends where the mouse was released.
        FSizingPos = (columns ? x : y) + FSizingOfs;
        FState = gsNormal;
        const TGridDrawInfo di = g.CalcDrawInfo();
        const int newSize = ResizeLine(columns ? di.Horz : di.Vert);
        if (newSize > 1) {
            if (columns) g.SetColWidths(FSizingIndex, newSize);
            else g.SetRowHeights(FSizingIndex, newSize);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        const bool columns = FState == gsColMoving;
        FDragTimer.stop();
        InvalidateOverlay();
        FState = gsNormal;
        if (columns) {
            if (g.EndColumnDrag(FMoveIndex, FMovePos, pt)) g.MoveColumn(FMoveIndex, FMovePos);
        } else if (g.EndRowDrag(FMoveIndex, FMovePos, pt)) {
            g.MoveRow(FMoveIndex, FMovePos);
        }
        g.UpdateEdit();
        break;
    }
    default: g.UpdateEdit(); break;
    }
    FState = gsNormal;
}

int TCustomGridMouse::ResizeLine(const TGridAxisDrawInfo& axis) const {
    const int start = GridAxis::CellStart(axis, FSizingIndex);
    return start < 0 ? 0 : FSizingPos - start;
}

void TCustomGridMouse::StartSizing(TGridState state, int index, int sizingPos, int sizingOfs) {
    FState = state;
    FSizingIndex = index;
    FSizingPos = sizingPos;
    FSizingOfs = sizingOfs;
    InvalidateOverlay();
}

void TCustomGridMouse::Cancel() {
    if (FState == gsNormal) return;
    InvalidateOverlay();
    FDragTimer.stop();
    FState = gsNormal;
    FGrid.viewport()->update();
}

void TCustomGridMouse::MoveAndScroll(int mouse, int cellHit, bool columns, const QPoint& mousePt) {
    TCustomGrid& g = FGrid;
    TGridDrawInfo di = g.CalcDrawInfo();
    const TGridAxisDrawInfo* axis = columns ? &di.Horz : &di.Vert;
    if (cellHit == FMovePos) return;
    if (FMovePos == axis->FixedCellCount && mouse < axis->FixedBoundary) return;
    if (FMovePos == axis->GridCellCount - 1 && mouse > axis->GridBoundary) return;
    auto scrollBy = [&](int delta) {
        if (columns) g.MoveTopLeft(g.LeftCol() + delta, g.TopRow());
        else g.MoveTopLeft(g.LeftCol(), g.TopRow() + delta);
        di = g.CalcDrawInfo();
        axis = columns ? &di.Horz : &di.Vert;
    };
    InvalidateOverlay();
    if (mouse < axis->FixedBoundary) {
        if (FMovePos > axis->FixedCellCount) scrollBy(-1);
        cellHit = axis->FirstGridCell;
    } else if (mouse >= axis->FullVisBoundary) {
        if (FMovePos == axis->LastFullVisibleCell && FMovePos < axis->GridCellCount - 1)
            scrollBy(+1);
        cellHit = axis->LastFullVisibleCell;
    } else if (cellHit < 0) {
        cellHit = FMovePos;
    }
    const bool accepted = columns ? g.CheckColumnDrag(FMoveIndex, cellHit, mousePt)
                                  : g.CheckRowDrag(FMoveIndex, cellHit, mousePt);
    if (accepted) FMovePos = cellHit;
    InvalidateOverlay();
}

// ---- Drag timer and wheel ---------------------------------------------------

bool TCustomGridMouse::TimerEvent(int timerId) {
    if (timerId != FDragTimer.timerId()) return false;
    DragTimerTick();
    return true;
}

void TCustomGridMouse::DragTimerTick() {
    TCustomGrid& g = FGrid;
    const QPoint pt = FLastPos;
    const TGridDrawInfo di = g.CalcDrawInfo();
    const TGridCoord hit = g.CalcCoordFromPoint(pt.x(), pt.y(), di);
    switch (FState) {
    case gsColMoving: MoveAndScroll(pt.x(), hit.X, true, pt); break;
    case gsRowMoving: MoveAndScroll(pt.y(), hit.Y, false, pt); break;
    case gsSelecting: {
        TGridScrollDirections direction;
        if (pt.x() < di.Horz.FixedBoundary) direction += sdLeft;
        else if (pt.x() > di.Horz.FullVisBoundary) direction += sdRight;
        if (pt.y() < di.Vert.FixedBoundary) direction += sdUp;
        else if (pt.y() > di.Vert.FullVisBoundary) direction += sdDown;
        if (!direction.Empty()) g.TimedScroll(direction);
        break;
    }
    default: FDragTimer.stop(); break;
    }
}

int TCustomGridMouse::TakeWheelNotches(int delta) {
    FWheelAccumulator += delta;
    const int notches = FWheelAccumulator / WheelNotch;
    FWheelAccumulator -= notches * WheelNotch;
    return notches;
}

// ---- Sizing line and move marker -------------------------------------------

QRect TCustomGridMouse::OverlayRect() const {
    const TCustomGrid& g = FGrid;
    if (FState == gsColMoving) {
        const QRect cell = g.CellRect(FMovePos, 0);
        if (cell.isEmpty()) return QRect();
        const int x = FMovePos > FMoveIndex ? cell.x() + cell.width() : cell.x();
        return QRect(x - 1, 0, 3, g.ClientHeight());
    }
    if (FState == gsRowMoving) {
        const QRect cell = g.CellRect(0, FMovePos);
        if (cell.isEmpty()) return QRect();
        const int y = FMovePos > FMoveIndex ? cell.y() + cell.height() : cell.y();
        return QRect(0, y - 1, g.ClientWidth(), 3);
    }
    if (FState == gsColSizing) return QRect(FSizingPos, 0, 1, g.ClientHeight());
    if (FState == gsRowSizing) return QRect(0, FSizingPos, g.ClientWidth(), 1);
    return QRect();
}

void TCustomGridMouse::InvalidateOverlay() const {
    const QRect r = OverlayRect();
    FGrid.InvalidateArea(r);
}

void TCustomGridMouse::PaintOverlay(QPainter& painter) const {
    const QRect r = OverlayRect();
    if (r.isEmpty()) return;
    if (FState == gsColMoving || FState == gsRowMoving) {
        painter.fillRect(r, ToQColor(FGrid.MoveMarkerColor()));
        return;
    }
    // The sizing line: a dotted line, every other pixel dark.
    const bool vertical = FState == gsColSizing;
    const int length = vertical ? r.height() : r.width();
    for (int i = 0; i < length; i += 2) {
        const QRect dot = vertical ? QRect(r.x(), r.y() + i, 1, 1) : QRect(r.x() + i, r.y(), 1, 1);
        painter.fillRect(dot, ToQColor(clBlack));
    }
}
