#pragma once
// TCustomGridMouse: the base grid's mouse machinery.  It keeps the mouse
// state (selecting, sizing a column or row by its line, moving a column or
// row by its fixed cell), the sizing line and the move marker drawn over
// the cells meanwhile, and the drag timer that scrolls while a drag is held
// outside the cells.  The grid owns one and hands it its presses, moves and
// releases after its own hooks have run.

#include "grid/base/GridTypes.h"

#include <QBasicTimer>
#include <QPoint>
#include <QRect>

class QPainter;
class TCustomGrid;
struct TGridAxisDrawInfo;

class TCustomGridMouse {
public:
    explicit TCustomGridMouse(TCustomGrid& grid) : FGrid(grid) {}
    TCustomGridMouse(const TCustomGridMouse&) = delete;
    TCustomGridMouse& operator=(const TCustomGridMouse&) = delete;

    TGridState State() const { return FState; }
    // Sets the state directly (a derived grid ending its own sizing).
    void SetState(TGridState value) { FState = value; }
    // The column or row being sized, the position of its moving line and
    // the distance from the pointer to that line.
    int SizingIndex() const { return FSizingIndex; }
    int SizingPos() const { return FSizingPos; }
    int SizingOfs() const { return FSizingOfs; }
    // Enters a sizing state as a press in a sizing zone would.
    void StartSizing(TGridState state, int index, int sizingPos, int sizingOfs);
    // Where the pointer was last seen, in client coordinates.
    QPoint LastPos() const { return FLastPos; }
    void SetLastPos(const QPoint& value) { FLastPos = value; }

    // The base handling of a press (the grid holds the focus), a move and a
    // release.
    void Press(Qt::MouseButton button, TShiftState shift, int x, int y);
    void Move(int x, int y);
    void Release(int x, int y);
    // Ends sizing, moving and selecting at once.
    void Cancel();
    // True when the timer event was the drag timer's.
    bool TimerEvent(int timerId);
    // Wheel steps: adds delta (eighths of a degree) and returns the whole
    // notches it completes, negative downwards.
    int TakeWheelNotches(int delta);

    // The sizing line or move marker, drawn over the painted cells.
    void PaintOverlay(QPainter& painter) const;

private:
    void SelectingMove(int x, int y);
    void MoveAndScroll(int mouse, int cellHit, bool columns, const QPoint& mousePt);
    void DragTimerTick();
    int ResizeLine(const TGridAxisDrawInfo& axis) const;
    QRect OverlayRect() const;
    void InvalidateOverlay() const;

    TCustomGrid& FGrid;
    TGridState FState = gsNormal;
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    QPoint FLastPos;
    QBasicTimer FDragTimer;
    int FWheelAccumulator = 0;
};
