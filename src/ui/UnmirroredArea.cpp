#include "ui/UnmirroredArea.h"

#include <QPainter>

bool IsMirroredPainter(const QPainter& painter) { return painter.worldTransform().m11() < 0; }

TUnmirroredArea::TUnmirroredArea(QPainter& painter, const QRect& area)
    : FPainter(painter), FSaved(painter.worldTransform()), FRect(area), FMirrored(IsMirroredPainter(painter))
{
    if (!FMirrored)
        return;
    // A mirror maps the area's pixels [x, x + w) onto [x' - w, x'), so the
    // device rectangle covers exactly the mirrored pixels.
    FRect = FSaved.mapRect(area);
    FPainter.setWorldTransform(QTransform());
}

TUnmirroredArea::~TUnmirroredArea()
{
    if (FMirrored)
        FPainter.setWorldTransform(FSaved);
}
