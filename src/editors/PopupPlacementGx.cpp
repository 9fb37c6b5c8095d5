#include "editors/PopupPlacementGx.h"

#include "editors/SizeGripGx.h"

#include <algorithm>

TPopupPlaceGx PlacePopupGx(const QRect& cell, QSize size, const QRect& workArea)
{
    TPopupPlaceGx place;
    const int workBottom = workArea.y() + workArea.height();   // exclusive edges
    const int workRight = workArea.x() + workArea.width();
    const int roomBelow = workBottom - (cell.y() + cell.height());
    const int roomAbove = cell.y() - workArea.y();
    int height = size.height();
    bool below = true;
    if (height > roomBelow) {
        if (height <= roomAbove) {
            below = false;
        } else {
            below = roomBelow >= roomAbove;
            height = std::max(0, below ? roomBelow : roomAbove);
        }
    }
    const int top = below ? cell.y() + cell.height() : cell.y() - height;
    const int width = std::min(size.width(), workArea.width());
    int left = cell.x();
    place.Horizontal = ppLeftAlignedGx;
    if (left + width > workRight) {
        left = workRight - width;
        place.Horizontal = ppPushedLeftGx;
    }
    place.Vertical = below ? ppBelowGx : ppAboveGx;
    place.Bounds = QRect(left, top, width, height);
    return place;
}
