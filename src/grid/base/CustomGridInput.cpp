// Keyboard and mouse of the base grid: navigation keys, selecting drags,
// sizing columns and rows by their lines, moving columns and rows by their
// fixed cells, the drag timer and the mouse wheel.

#include "grid/base/CustomGrid.h"

#include "grid/base/GridDrawInfo.h"
#include "grid/base/GridKeys.h"
#include "grid/base/InplaceEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int DragTimerInterval = 60;  // ms between scroll steps of a drag
constexpr int WheelNotch = 120;        // wheel delta of one notch
}  // namespace

// ---- Keyboard -------------------------------------------------------------

bool TCustomGrid::event(QEvent* e) {
    if (e->type() == QEvent::Show && !FHandleAllocated) {
        const bool result = QAbstractScrollArea::event(e);
        FHandleAllocated = true;
        CreateWnd();
        return result;
    }
    // Tab reaches the grid only when it moves between cells.
    if (e->type() == QEvent::KeyPress && FOptions.Contains(goTabs)) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
            !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void TCustomGrid::keyPressEvent(QKeyEvent* e) {
    ProcessKeyEvent(e);
    e->accept();
}

void TCustomGrid::ProcessKeyEvent(QKeyEvent* e) {
    int key = e->key();
    TShiftState shift = ShiftFromQt(e->modifiers());
    NormalizeKey(key, shift);
    KeyDown(key, shift);
    QString text = e->text();
    if (text == QStringLiteral("\x7f")) text.clear();  // Delete types no character
    if (!text.isEmpty()) HandleChar(text);
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* e) {
    int key = e->key();
    TShiftState shift = ShiftFromQt(e->modifiers());
    NormalizeKey(key, shift);
    KeyUp(key, shift);
    e->accept();
}

void TCustomGrid::DoKeyDownEvent(int& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(key, shift);
}

void TCustomGrid::DoKeyPressEvent(QString& key) {
    if (OnKeyPress) OnKeyPress(key);
}

void TCustomGrid::NormalizeKey(int& key, TShiftState& shift) {
    if (key == Qt::Key_Enter) key = Qt::Key_Return;
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        shift += ssShift;
    }
}

bool TCustomGrid::focusNextPrevChild(bool next) {
    QWidget* w = this;
    for (;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == this) return false;
        if (isAncestorOf(w) || w->window() != window()) continue;
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

bool TCustomGrid::CanGridAcceptKey(int, TShiftState) const { return true; }

void TCustomGrid::KeyUp(int& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(key, shift);
}

void TCustomGrid::KeyDown(int& key, TShiftState shift) {
    DoKeyDownEvent(key, shift);
    if (key == 0) return;
    if (!CanGridAcceptKey(key, shift)) {
        key = 0;
        return;
    }
    const TGridDrawInfo di = CalcDrawInfo();
    const int pageHeight = std::max(di.Vert.LastFullVisibleCell - FTopLeft.Y + 1, 1);
    const int pageWidth = std::max(di.Horz.LastFullVisibleCell - FTopLeft.X + 1, 1);
    const bool rowSelect = FOptions.Contains(goRowSelect);
    TGridCoord newCurrent = FCurrent;
    TGridCoord newTopLeft = FTopLeft;
    bool extend = shift.Contains(ssShift);

    if (shift.Contains(ssCtrl)) {
        switch (key) {
        case Qt::Key_Up: --newTopLeft.Y; break;
        case Qt::Key_Down: ++newTopLeft.Y; break;
        case Qt::Key_Left:
            if (!rowSelect) {
                newCurrent.X -= pageWidth;
                newTopLeft.X -= pageWidth;
            }
            break;
        case Qt::Key_Right:
            if (!rowSelect) {
                newCurrent.X += pageWidth;
                newTopLeft.X += pageWidth;
            }
            break;
        case Qt::Key_PageUp: newCurrent.Y = FTopLeft.Y; break;
        case Qt::Key_PageDown: newCurrent.Y = di.Vert.LastFullVisibleCell; break;
        case Qt::Key_Home: newCurrent = {FFixedCols, FFixedRows}; break;
        case Qt::Key_End: newCurrent = {FColCount - 1, FRowCount - 1}; break;
        default: break;
        }
    } else {
        switch (key) {
        case Qt::Key_Up: --newCurrent.Y; break;
        case Qt::Key_Down: ++newCurrent.Y; break;
        case Qt::Key_Left:
            if (rowSelect) --newTopLeft.X;
            else newCurrent.X = NextVisibleCol(FCurrent.X, -1);
            break;
        case Qt::Key_Right:
            if (rowSelect) ++newTopLeft.X;
            else newCurrent.X = NextVisibleCol(FCurrent.X, +1);
            break;
        case Qt::Key_PageDown:
            newCurrent.Y += pageHeight;
            newTopLeft.Y += pageHeight;
            break;
        case Qt::Key_PageUp:
            newCurrent.Y -= pageHeight;
            newTopLeft.Y -= pageHeight;
            break;
        case Qt::Key_Home:
            if (rowSelect) newCurrent.Y = FFixedRows;
            else newCurrent.X = NextVisibleCol(FFixedCols - 1, +1);
            break;
        case Qt::Key_End:
            if (rowSelect) newCurrent.Y = FRowCount - 1;
            else newCurrent.X = NextVisibleCol(FColCount, -1);
            break;
        case Qt::Key_Tab:
            if (!shift.Contains(ssAlt) && FOptions.Contains(goTabs)) {
                const bool backward = shift.Contains(ssShift);
                TGridCoord c = FCurrent;
                do {
                    if (backward) {
                        if (--c.X < FFixedCols) {
                            c.X = FColCount - 1;
                            if (--c.Y < FFixedRows) c.Y = FRowCount - 1;
                        }
                    } else if (++c.X >= FColCount) {
                        c.X = FFixedCols;
                        if (++c.Y >= FRowCount) c.Y = FFixedRows;
                    }
                } while (!(TabStops(c.X) && ColWidths(c.X) > 0) && c.X != FCurrent.X);
                newCurrent = c;
                extend = false;
            }
            break;
        case Qt::Key_F2: SetEditorMode(true); break;
        default: break;
        }
    }

    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(maxTopLeft.X, FFixedCols));
    newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(maxTopLeft.Y, FFixedRows));
    if (!(newTopLeft == FTopLeft)) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    newCurrent.X = std::clamp(newCurrent.X, FFixedCols, FColCount - 1);
    newCurrent.Y = std::clamp(newCurrent.Y, FFixedRows, FRowCount - 1);
    if (!(newCurrent == FCurrent)) FocusCell(newCurrent.X, newCurrent.Y, !extend);
}

void TCustomGrid::KeyPress(QString& key) {
    DoKeyPressEvent(key);
    if (key == QStringLiteral("\r") && !FOptions.Contains(goAlwaysShowEditor)) {
        if (FEditorMode) HideEditor();
        else ShowEditor();
        key.clear();
    }
}

void TCustomGrid::HandleChar(QString& key) {
    if (FOptions.Contains(goEditing) && (key == QStringLiteral("\b") || IsPrintableKey(key)))
        ShowEditorChar(key);
    else
        KeyPress(key);
}

// ---- Mouse ----------------------------------------------------------------

void TCustomGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FLastMousePos = p;
    MouseDown(e->button(), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FLastMousePos = p;
    MouseDown(e->button(), ShiftFromQt(e->modifiers(), e->buttons()) + ssDouble, p.x(), p.y());
    e->accept();
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FLastMousePos = p;
    MouseMove(ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    viewport()->setCursor(CursorAt(p.x(), p.y()));
    e->accept();
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FLastMousePos = p;
    MouseUp(e->button(), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TCustomGrid::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
    if (!IsActiveControl() && focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
        if (!IsActiveControl()) return;
    }
    if (button == Qt::LeftButton && shift.Contains(ssDouble)) {
        DblClick();
    } else if (button == Qt::LeftButton) {
        const TGridDrawInfo di = CalcDrawInfo();
        int index, sizingPos, sizingOfs;
        const TGridState sizing = CalcSizingState(x, y, index, sizingPos, sizingOfs, di);
        if (sizing != gsNormal) {
            StartSizing(sizing, index, sizingPos, sizingOfs);
        } else {
            const TGridCoord hit = CalcCoordFromPoint(x, y, di);
            const QPoint pt(x, y);
            if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
                if (FOptions.Contains(goEditing) && hit == FCurrent && !shift.Contains(ssShift)) {
                    ShowEditor();
                } else {
                    FGridState = gsSelecting;
                    StartDragTimer();
                    if (shift.Contains(ssShift)) MoveAnchor(hit);
                    else MoveColRow(hit.X, hit.Y, true, true);
                }
            } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols &&
                       hit.Y >= FFixedRows) {
                FMoveIndex = FMovePos = hit.Y;
                if (BeginRowDrag(FMoveIndex, FMovePos, pt)) {
                    FGridState = gsRowMoving;
                    StartDragTimer();
                    InvalidateOverlay();
                }
            } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows &&
                       hit.X >= FFixedCols) {
                FMoveIndex = FMovePos = hit.X;
                if (BeginColumnDrag(FMoveIndex, FMovePos, pt)) {
                    FGridState = gsColMoving;
                    StartDragTimer();
                    InvalidateOverlay();
                }
            }
        }
    }
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TCustomGrid::SelectingMove(int x, int y) {
    const TGridDrawInfo di = CalcDrawInfo();
    const TGridCoord hit = CalcCoordFromPoint(x, y, di);
    if (hit.X >= FFixedCols && hit.Y >= FFixedRows &&
        hit.X <= di.Horz.LastFullVisibleCell + 1 && hit.Y <= di.Vert.LastFullVisibleCell + 1 &&
        !(hit == FAnchor))
        MoveAnchor(hit);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    switch (FGridState) {
    case gsSelecting: SelectingMove(x, y); break;
    case gsColMoving: MoveAndScroll(x, MouseCoord(x, y).X, true, QPoint(x, y)); break;
    case gsRowMoving: MoveAndScroll(y, MouseCoord(x, y).Y, false, QPoint(x, y)); break;
    case gsColSizing:
    case gsRowSizing:
        InvalidateOverlay();
        FSizingPos = (FGridState == gsColSizing ? x : y) + FSizingOfs;
        InvalidateOverlay();
        break;
    default: break;
    }
    if (OnMouseMove) OnMouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) {
    const QPoint pt(x, y);
    switch (FGridState) {
    case gsSelecting:
        SelectingMove(x, y);
        StopDragTimer();
        FGridState = gsNormal;
        UpdateEdit();
        Click();
        break;
    case gsColSizing:
    case gsRowSizing: {
        const bool columns = FGridState == gsColSizing;
        InvalidateOverlay();
        // The line ends where the mouse was released.
        FSizingPos = (columns ? x : y) + FSizingOfs;
        FGridState = gsNormal;
        const TGridDrawInfo di = CalcDrawInfo();
        const int newSize = ResizeLine(columns ? di.Horz : di.Vert);
        if (newSize > 1) {
            if (columns) SetColWidths(FSizingIndex, newSize);
            else SetRowHeights(FSizingIndex, newSize);
        }
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        const bool columns = FGridState == gsColMoving;
        StopDragTimer();
        InvalidateOverlay();
        FGridState = gsNormal;
        if (columns) {
            if (EndColumnDrag(FMoveIndex, FMovePos, pt)) MoveColumn(FMoveIndex, FMovePos);
        } else if (EndRowDrag(FMoveIndex, FMovePos, pt)) {
            MoveRow(FMoveIndex, FMovePos);
        }
        UpdateEdit();
        break;
    }
    default: UpdateEdit(); break;
    }
    FGridState = gsNormal;
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

int TCustomGrid::ResizeLine(const TGridAxisDrawInfo& axis) const {
    const int start = GridAxis::CellStart(axis, FSizingIndex);
    return start < 0 ? 0 : FSizingPos - start;
}

void TCustomGrid::StartSizing(TGridState state, int index, int sizingPos, int sizingOfs) {
    FGridState = state;
    FSizingIndex = index;
    FSizingPos = sizingPos;
    FSizingOfs = sizingOfs;
    InvalidateOverlay();
}

TGridState TCustomGrid::CalcSizingState(int x, int y, int& index, int& sizingPos,
                                        int& sizingOfs, const TGridDrawInfo& drawInfo) const {
    index = -1;
    sizingPos = sizingOfs = 0;
    auto calcAxis = [&](const TGridAxisDrawInfo& axis, int pos, TGridState newState) {
        const int lw = axis.EffectiveLineWidth;
        int range = lw;
        int back = 0;
        if (range < 7) {
            range = 7;
            back = (range - lw) / 2;
        }
        int line = axis.FixedBoundary;
        for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
            line += axis.GetExtent(i);
            if (line > axis.GridBoundary) break;
            if (pos >= line - back && pos <= line - back + range) {
                index = i;
                sizingPos = line;
                sizingOfs = line - pos;
                return newState;
            }
            line += lw;
        }
        if (axis.GridBoundary == axis.GridExtent && pos >= axis.GridExtent - back &&
            pos <= axis.GridExtent && axis.LastFullVisibleCell + 1 < axis.GridCellCount) {
            index = axis.LastFullVisibleCell + 1;
            sizingPos = axis.GridExtent;
            sizingOfs = axis.GridExtent - pos;
            return newState;
        }
        return gsNormal;
    };
    if (x > drawInfo.Horz.FixedBoundary && FOptions.Contains(goColSizing)) {
        if (y >= drawInfo.Vert.FixedBoundary) return gsNormal;
        return calcAxis(drawInfo.Horz, x, gsColSizing);
    }
    if (y > drawInfo.Vert.FixedBoundary && FOptions.Contains(goRowSizing)) {
        if (x >= drawInfo.Horz.FixedBoundary) return gsNormal;
        return calcAxis(drawInfo.Vert, y, gsRowSizing);
    }
    return gsNormal;
}

QCursor TCustomGrid::CursorAt(int x, int y) const {
    TGridState state = FGridState;
    if (state == gsNormal) {
        int index, pos, ofs;
        state = CalcSizingState(x, y, index, pos, ofs, CalcDrawInfo());
    }
    if (state == gsColSizing) return QCursor(Qt::SplitHCursor);
    if (state == gsRowSizing) return QCursor(Qt::SplitVCursor);
    return QCursor(Qt::ArrowCursor);
}

void TCustomGrid::CancelMode() {
    if (FGridState == gsNormal) return;
    InvalidateOverlay();
    StopDragTimer();
    FGridState = gsNormal;
    viewport()->update();
}

// ---- Moving columns and rows -------------------------------------------------

bool TCustomGrid::BeginColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::CheckColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::EndColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::BeginRowDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::CheckRowDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::EndRowDrag(int&, int&, const QPoint&) { return true; }

void TCustomGrid::MoveAndScroll(int mouse, int cellHit, bool columns, const QPoint& mousePt) {
    TGridDrawInfo di = CalcDrawInfo();
    const TGridAxisDrawInfo* axis = columns ? &di.Horz : &di.Vert;
    if (cellHit == FMovePos) return;
    if (FMovePos == axis->FixedCellCount && mouse < axis->FixedBoundary) return;
    if (FMovePos == axis->GridCellCount - 1 && mouse > axis->GridBoundary) return;
    auto scrollBy = [&](int delta) {
        if (columns) MoveTopLeft(FTopLeft.X + delta, FTopLeft.Y);
        else MoveTopLeft(FTopLeft.X, FTopLeft.Y + delta);
        di = CalcDrawInfo();
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
    const bool accepted = columns ? CheckColumnDrag(FMoveIndex, cellHit, mousePt)
                                  : CheckRowDrag(FMoveIndex, cellHit, mousePt);
    if (accepted) FMovePos = cellHit;
    InvalidateOverlay();
}

// ---- Drag timer ------------------------------------------------------------------

void TCustomGrid::StartDragTimer() { FDragTimer.start(DragTimerInterval, this); }

void TCustomGrid::StopDragTimer() { FDragTimer.stop(); }

void TCustomGrid::timerEvent(QTimerEvent* e) {
    if (e->timerId() == FDragTimer.timerId()) DragTimerTick();
    else QAbstractScrollArea::timerEvent(e);
}

void TCustomGrid::DragTimerTick() {
    const QPoint pt = FLastMousePos;
    const TGridDrawInfo di = CalcDrawInfo();
    const TGridCoord hit = CalcCoordFromPoint(pt.x(), pt.y(), di);
    switch (FGridState) {
    case gsColMoving: MoveAndScroll(pt.x(), hit.X, true, pt); break;
    case gsRowMoving: MoveAndScroll(pt.y(), hit.Y, false, pt); break;
    case gsSelecting: {
        TGridScrollDirections direction;
        if (pt.x() < di.Horz.FixedBoundary) direction += sdLeft;
        else if (pt.x() > di.Horz.FullVisBoundary) direction += sdRight;
        if (pt.y() < di.Vert.FixedBoundary) direction += sdUp;
        else if (pt.y() > di.Vert.FullVisBoundary) direction += sdDown;
        if (!direction.Empty()) TimedScroll(direction);
        break;
    }
    default: StopDragTimer(); break;
    }
}

void TCustomGrid::TimedScroll(TGridScrollDirections direction) {
    TGridCoord newAnchor = FAnchor;
    TGridCoord newTopLeft = FTopLeft;
    if (direction.Contains(sdLeft) && FAnchor.X > FFixedCols) {
        --newAnchor.X;
        --newTopLeft.X;
    }
    if (direction.Contains(sdRight) && FAnchor.X < FColCount - 1) {
        ++newAnchor.X;
        ++newTopLeft.X;
    }
    if (direction.Contains(sdUp) && FAnchor.Y > FFixedRows) {
        --newAnchor.Y;
        --newTopLeft.Y;
    }
    if (direction.Contains(sdDown) && FAnchor.Y < FRowCount - 1) {
        ++newAnchor.Y;
        ++newTopLeft.Y;
    }
    if (!(newAnchor == FAnchor)) MoveAnchor(newAnchor);
}

// ---- Wheel ----------------------------------------------------------------

void TCustomGrid::wheelEvent(QWheelEvent* e) {
    DoMouseWheel(ShiftFromQt(e->modifiers(), e->buttons()), e->angleDelta().y(),
                 e->position().toPoint());
    e->accept();
}

bool TCustomGrid::eventFilter(QObject* watched, QEvent* e) {
    // The wheel over a scroll bar works as over the grid.
    if (e->type() == QEvent::Wheel &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        auto* we = static_cast<QWheelEvent*>(e);
        DoMouseWheel(ShiftFromQt(we->modifiers(), we->buttons()), we->angleDelta().y(),
                     viewport()->mapFromGlobal(we->globalPosition().toPoint()));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, e);
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int delta, const QPoint& pos) {
    bool handled = false;
    FWheelAccumulator += delta;
    while (std::abs(FWheelAccumulator) >= WheelNotch) {
        if (FWheelAccumulator < 0) {
            FWheelAccumulator += WheelNotch;
            handled = DoMouseWheelDown(shift, pos);
        } else {
            FWheelAccumulator -= WheelNotch;
            handled = DoMouseWheelUp(shift, pos);
        }
    }
    return handled;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState, const QPoint&) {
    if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState, const QPoint&) {
    if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
    return true;
}
