#pragma once
// TSizeGripGx: the triangular size grip in a corner of a popup list.
// Dragging it resizes the list (its parent window) within the desktop's
// work area; the list's own minimum size stops it shrinking further.  The
// grip sits in the corner away from the edited cell: the editor tells the
// list how it placed it and the list passes that on (ApplyPlacement).

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <functional>

enum TSizeGripCornerGx { sgcTopLeftGx, sgcTopRightGx, sgcBottomRightGx, sgcBottomLeftGx };

// How the editor placed a popup list relative to its cell.
enum TPopupPlacementGx {
    ppPushedLeftGx = 0,    // moved left against the work area's right edge
    ppLeftAlignedGx = 1,   // left-aligned with the cell
    ppAboveGx = 2,         // opened above the cell
    ppBelowGx = 3,         // opened below the cell
};

class TSizeGripGx : public QWidget {
public:
    explicit TSizeGripGx(QWidget* parent);

    TSizeGripCornerGx Corner() const { return FCorner; }
    void SetCorner(TSizeGripCornerGx value);
    bool Triangular() const { return FTriangular; }
    void SetTriangular(bool value);
    // Moves the grip to its corner of the parent.
    void Reposition();
    // Moves the grip to the corner away from the cell for a placement code.
    void ApplyPlacement(int placement);
    bool IsRightCorner() const { return FCorner == sgcTopRightGx || FCorner == sgcBottomRightGx; }
    bool IsBottomCorner() const { return FCorner == sgcBottomRightGx || FCorner == sgcBottomLeftGx; }

    // Fired after a drag step changed the parent's size.
    std::function<void()> OnParentResized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateShape();
    void DragTo(QPoint globalPosition);

    TSizeGripCornerGx FCorner = sgcBottomRightGx;
    bool FTriangular = true;
    bool FDragging = false;
    bool FRepositioning = false;
    QPoint FPressPoint;
    QRect FPressGeometry;   // the parent's geometry at the press
    QPoint FLastPoint;
};
