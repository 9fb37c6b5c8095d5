#pragma once
// What the drop-down lists share as windows: a top-most tool window with a
// thin border that never takes the focus (the editor keeps it), never
// smaller than a scroll bar square, with a triangular size grip that the
// editor's placement events move to the corner away from the cell.

class QEvent;
class QFrame;
class TSizeGripGx;

// Makes the list such a window and gives it its grip.
TSizeGripGx* MakePopupListWindowGx(QFrame& list);
// Hands a placement event to the grip; true when the event was one.  The
// grip is null while the window is being made (making it sends events).
bool HandlePopupPlacementGx(const QEvent& event, TSizeGripGx* grip);
