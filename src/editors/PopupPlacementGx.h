#pragma once
// Where a drop-down list opens: under its edited cell when it fits there,
// above when it fits only there, otherwise on the side with more room
// (under when equal) shortened to that room; never wider than the work
// area, and moved left to end at the work area's right edge when it would
// pass it.  The placement codes tell the list's size grip which corner is
// away from the cell (TPopupPlacementGx).

#include <QRect>

struct TPopupPlaceGx {
    QRect Bounds;          // in screen coordinates
    int Vertical = 0;      // ppBelowGx or ppAboveGx
    int Horizontal = 0;    // ppLeftAlignedGx or ppPushedLeftGx
};

// cell: the editor's rectangle in screen coordinates; size: the list's
// wanted size; workArea: the desktop's available area.
TPopupPlaceGx PlacePopupGx(const QRect& cell, QSize size, const QRect& workArea);
