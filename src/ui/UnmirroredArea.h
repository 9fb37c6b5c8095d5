#pragma once
// Drawing that keeps its own orientation (text, images, dotted frames) on a
// painter whose world transform may mirror the x axis, as a grid under
// right-to-left reading paints its cells.  While one of these is in scope
// the mirroring is lifted and Rect() is where the given area lies on the
// device; on an unmirrored painter nothing changes and Rect() is the area.

#include <QRect>
#include <QTransform>

class QPainter;

class TUnmirroredArea {
public:
    TUnmirroredArea(QPainter& painter, const QRect& area);
    ~TUnmirroredArea();
    TUnmirroredArea(const TUnmirroredArea&) = delete;
    TUnmirroredArea& operator=(const TUnmirroredArea&) = delete;

    const QRect& Rect() const { return FRect; }
    bool Mirrored() const { return FMirrored; }

private:
    QPainter& FPainter;
    QTransform FSaved;
    QRect FRect;
    bool FMirrored = false;
};

// True when the painter's world transform mirrors the x axis.
bool IsMirroredPainter(const QPainter& painter);
