// Keyboard and mouse of the base grid: navigation keys, the mouse hooks
// (their machinery is TCustomGridMouse's), sizing zones and cursors, the
// moving hooks, timed scrolling of a selecting drag and the mouse wheel.

#include "grid/base/CustomGrid.h"

#include "grid/base/CustomGridMouse.h"
#include "grid/base/GridDrawInfo.h"
#include "grid/base/GridKeys.h"
#include "grid/base/InplaceEdit.h"
#include "ui/ExceptionReport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

// ---- Keyboard -------------------------------------------------------------

bool TCustomGrid::event(QEvent* e) {
    return RunEventHandler([&] {
        if (e->type() == QEvent::Show && !FHandleAllocated) {
            const bool result = QAbstractScrollArea::event(e);
            FHandleAllocated = true;
            CreateWnd();
            return result;
        }
        // A new reading order mirrors every cell and the editor's place.
        if (e->type() == QEvent::LayoutDirectionChange) {
            InvalidateGrid();
            if (FInplaceEdit && FInplaceEdit->isVisible())
                FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
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
    });
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
    // Mirrored cells: Left goes on to the following column, Right back.
    if (IsMirrored() && (key == Qt::Key_Left || key == Qt::Key_Right))
        key = key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
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
// Pointer positions become logical here, as they enter the grid: every
// handler and hook below works on the cell model's coordinates.

void TCustomGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint p = LogicalPoint(e->position().toPoint());
    FMouse->SetLastPos(p);
    MouseDown(e->button(), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = LogicalPoint(e->position().toPoint());
    FMouse->SetLastPos(p);
    MouseDown(e->button(), ShiftFromQt(e->modifiers(), e->buttons()) + ssDouble, p.x(), p.y());
    e->accept();
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = LogicalPoint(e->position().toPoint());
    FMouse->SetLastPos(p);
    MouseMove(ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    viewport()->setCursor(CursorAt(p.x(), p.y()));
    e->accept();
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = LogicalPoint(e->position().toPoint());
    FMouse->SetLastPos(p);
    MouseUp(e->button(), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TCustomGrid::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
    if (!IsActiveControl() && focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
        if (!IsActiveControl()) return;
    }
    FMouse->Press(button, shift, x, y);
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    FMouse->Move(x, y);
    if (OnMouseMove) OnMouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) {
    FMouse->Release(x, y);
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

TGridState TCustomGrid::GridState() const { return FMouse->State(); }

TCustomGridMouse& TCustomGrid::BaseMouse() const { return *FMouse; }

QCursor TCustomGrid::CursorAt(int x, int y) const {
    TGridState state = FMouse->State();
    if (state == gsNormal) {
        int index, pos, ofs;
        state = CalcSizingState(x, y, index, pos, ofs, CalcDrawInfo());
    }
    if (state == gsColSizing) return QCursor(Qt::SplitHCursor);
    if (state == gsRowSizing) return QCursor(Qt::SplitVCursor);
    return QCursor(Qt::ArrowCursor);
}

void TCustomGrid::CancelMode() { FMouse->Cancel(); }

void TCustomGrid::timerEvent(QTimerEvent* e) {
    if (!FMouse->TimerEvent(e->timerId())) QAbstractScrollArea::timerEvent(e);
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

// ---- Moving columns and rows -------------------------------------------------

bool TCustomGrid::BeginColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::CheckColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::EndColumnDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::BeginRowDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::CheckRowDrag(int&, int&, const QPoint&) { return true; }
bool TCustomGrid::EndRowDrag(int&, int&, const QPoint&) { return true; }

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
                 LogicalPoint(e->position().toPoint()));
    e->accept();
}

bool TCustomGrid::eventFilter(QObject* watched, QEvent* e) {
    return RunEventHandler([&] {
        // The wheel over a scroll bar works as over the grid.
        if (e->type() == QEvent::Wheel &&
            (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
            auto* we = static_cast<QWheelEvent*>(e);
            DoMouseWheel(ShiftFromQt(we->modifiers(), we->buttons()), we->angleDelta().y(),
                         LogicalPoint(viewport()->mapFromGlobal(we->globalPosition().toPoint())));
            return true;
        }
        // The viewport's events reach viewportEvent from here.
        return QAbstractScrollArea::eventFilter(watched, e);
    });
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int delta, const QPoint& pos) {
    bool handled = false;
    for (int notches = FMouse->TakeWheelNotches(delta); notches != 0;) {
        if (notches < 0) {
            ++notches;
            handled = DoMouseWheelDown(shift, pos);
        } else {
            --notches;
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
