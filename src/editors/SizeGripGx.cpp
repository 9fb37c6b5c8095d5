#include "editors/SizeGripGx.h"

#include "ui/QtColor.h"
#include "ui/SystemMetrics.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace {

// The parent's rectangle in screen coordinates.
QRect GlobalRect(const QWidget& widget) { return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()); }

void SetGlobalRect(QWidget& widget, const QRect& rect)
{
    if (widget.isWindow() || widget.parentWidget() == nullptr) {
        widget.setGeometry(rect);
        return;
    }
    widget.setGeometry(QRect(widget.parentWidget()->mapFromGlobal(rect.topLeft()), rect.size()));
}

QRect WorkAreaAt(const QWidget& widget, QPoint globalPoint)
{
    QScreen* screen = QGuiApplication::screenAt(globalPoint);
    if (screen == nullptr)
        screen = widget.screen();
    return screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
}

} // namespace

TSizeGripGx::TSizeGripGx(QWidget* parent) : QWidget(parent)
{
    const int side = VerticalScrollBarWidth();
    resize(side, side);
    setAutoFillBackground(false);
    UpdateShape();
}

void TSizeGripGx::SetCorner(TSizeGripCornerGx value)
{
    if (value == FCorner)
        return;
    FCorner = value;
    UpdateShape();
}

void TSizeGripGx::SetTriangular(bool value)
{
    if (value == FTriangular)
        return;
    FTriangular = value;
    UpdateShape();
}

void TSizeGripGx::UpdateShape()
{
    const int w = width();
    const int h = height();
    const bool backSlash = FCorner == sgcBottomRightGx || FCorner == sgcTopLeftGx;
    setCursor(backSlash ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    if (!FTriangular) {
        clearMask();
    } else {
        QPolygon triangle;
        switch (FCorner) {
        case sgcBottomRightGx: triangle << QPoint(0, h) << QPoint(w, h) << QPoint(w, 0); break;
        case sgcBottomLeftGx: triangle << QPoint(w, h) << QPoint(0, h) << QPoint(0, 0); break;
        case sgcTopLeftGx: triangle << QPoint(w - 1, 0) << QPoint(0, 0) << QPoint(0, h - 1); break;
        case sgcTopRightGx: triangle << QPoint(w, h - 1) << QPoint(w, 0) << QPoint(1, 0); break;
        }
        setMask(QRegion(triangle));
    }
    Reposition();
    update();
}

void TSizeGripGx::Reposition()
{
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    // The client area: inside the parent's border.
    const QRect client = parent->contentsRect();
    const int left = client.x();
    const int top = client.y();
    const int right = client.x() + client.width() - width();
    const int bottom = client.y() + client.height() - height();
    QPoint corner;
    switch (FCorner) {
    case sgcTopLeftGx: corner = QPoint(left, top); break;
    case sgcTopRightGx: corner = QPoint(right, top); break;
    case sgcBottomRightGx: corner = QPoint(right, bottom); break;
    case sgcBottomLeftGx: corner = QPoint(left, bottom); break;
    }
    FRepositioning = true;
    move(corner);
    FRepositioning = false;
    update();
}

void TSizeGripGx::ApplyPlacement(int placement)
{
    TSizeGripCornerGx corner = FCorner;
    switch (placement) {
    case ppBelowGx:
        if (corner == sgcTopLeftGx)
            corner = sgcBottomLeftGx;
        else if (corner == sgcTopRightGx)
            corner = sgcBottomRightGx;
        break;
    case ppAboveGx:
        if (corner == sgcBottomLeftGx)
            corner = sgcTopLeftGx;
        else if (corner == sgcBottomRightGx)
            corner = sgcTopRightGx;
        break;
    case ppLeftAlignedGx:
        if (corner == sgcTopLeftGx)
            corner = sgcTopRightGx;
        else if (corner == sgcBottomLeftGx)
            corner = sgcBottomRightGx;
        break;
    case ppPushedLeftGx:
        if (corner == sgcTopRightGx)
            corner = sgcTopLeftGx;
        else if (corner == sgcBottomRightGx)
            corner = sgcBottomLeftGx;
        break;
    default: return;
    }
    SetCorner(corner);
}

void TSizeGripGx::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || parentWidget() == nullptr)
        return;
    FDragging = true;
    FPressPoint = event->globalPosition().toPoint();
    FLastPoint = FPressPoint;
    FPressGeometry = GlobalRect(*parentWidget());   // the press holds the mouse until the release
}

void TSizeGripGx::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging || FRepositioning || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint position = event->globalPosition().toPoint();
    if (position != FLastPoint)
        DragTo(position);
}

void TSizeGripGx::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FDragging)
        return;
    FDragging = false;
}

void TSizeGripGx::DragTo(QPoint globalPosition)
{
    QWidget& parent = *parentWidget();
    const QRect workArea = WorkAreaAt(parent, FPressGeometry.center());
    const QPoint travel = globalPosition - FPressPoint;
    const QSize minimum = parent.minimumSize();
    const QRect press = FPressGeometry;
    const int pressRight = press.x() + press.width();     // exclusive edges
    const int pressBottom = press.y() + press.height();
    QRect target = press;

    if (IsRightCorner()) {
        const int width = std::min(press.width() + travel.x(), workArea.x() + workArea.width() - press.x());
        target.setWidth(std::max(width, minimum.width()));
    } else {
        const int width = std::max(std::min(press.width() - travel.x(), pressRight - workArea.x()), minimum.width());
        target.setLeft(pressRight - width);
        target.setWidth(width);
    }
    if (IsBottomCorner()) {
        const int height = std::min(press.height() + travel.y(), workArea.y() + workArea.height() - press.y());
        target.setHeight(std::max(height, minimum.height()));
    } else {
        const int height = std::max(std::min(press.height() - travel.y(), pressBottom - workArea.y()), minimum.height());
        target.setTop(pressBottom - height);
        target.setHeight(height);
    }

    FLastPoint = globalPosition;
    const QSize before = parent.size();
    SetGlobalRect(parent, target);
    if (parent.size() != before && OnParentResized)
        OnParentResized();
    Reposition();
}

void TSizeGripGx::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!FRepositioning)
        Reposition();
}

void TSizeGripGx::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateShape();
}

void TSizeGripGx::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), ToQColor(clBtnFace));
    // The ridges are drawn for the bottom-right corner and mirrored for the others.
    switch (FCorner) {
    case sgcBottomRightGx: break;
    case sgcBottomLeftGx: painter.setTransform(QTransform(-1, 0, 0, 1, w - 1, 0)); break;
    case sgcTopRightGx: painter.setTransform(QTransform(1, 0, 0, -1, 0, h - 1)); break;
    case sgcTopLeftGx: painter.setTransform(QTransform(-1, 0, 0, -1, w - 1, h - 1)); break;
    }
    const TColor groupColors[4] = {clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
    const int side = std::min(w, h);
    for (int start = 1; start < side; start += 4)
        for (int line = 0; line < 4 && start + line < side; ++line) {
            // A line at distance k from the corner, parallel to the triangle's long side.
            const int k = side - start - line;
            painter.setPen(ToQColor(groupColors[line]));
            painter.drawLine(QPoint(w - k, h - 1), QPoint(w - 1, h - k));
        }
}
