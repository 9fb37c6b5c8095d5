// The base grid under right-to-left reading: the one mapping between the
// logical (left-to-right) coordinates of the cell model and the viewport's
// own, a mirror about the viewport's vertical centre line.

#include "grid/base/CustomGridCells.h"

QRect TCustomGridCells::ViewportRect(const QRect& area) const {
    if (!IsMirrored() || area.isNull()) return area;
    return QRect(ClientWidth() - area.x() - area.width(), area.y(), area.width(), area.height());
}

QPoint TCustomGridCells::ViewportPoint(const QPoint& logical) const {
    if (!IsMirrored()) return logical;
    return QPoint(ClientWidth() - 1 - logical.x(), logical.y());
}

QPoint TCustomGridCells::LogicalPoint(const QPoint& viewportPoint) const {
    return ViewportPoint(viewportPoint);
}

QTransform TCustomGridCells::ViewportTransform() const {
    // Pixel column x of an area becomes ClientWidth() - 1 - x, as for points.
    if (!IsMirrored()) return QTransform();
    return QTransform(-1, 0, 0, 1, ClientWidth(), 0);
}

void TCustomGridCells::InvalidateArea(const QRect& area) {
    if (!area.isEmpty()) viewport()->update(ViewportRect(area));
}
