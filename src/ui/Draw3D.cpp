#include "ui/Draw3D.h"

#include "ui/UnmirroredArea.h"

#include "ui/QtColor.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

namespace {

// System colour indexes of the two rings per edge kind (index: the four
// BDR bits); -1 is "no ring".  A lone inner edge is drawn in the outer ring.
constexpr int None = -1;

constexpr int LTOuterNormal[16] = {
    None, COLOR_3DLIGHT, COLOR_BTNSHADOW, None,
    COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, None,
    COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, None,
    None, COLOR_3DLIGHT, COLOR_BTNSHADOW, None};
constexpr int RBOuterNormal[16] = {
    None, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, None,
    COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, None,
    COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, None,
    None, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, None};
constexpr int LTInnerNormal[16] = {
    None, None, None, None,
    None, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, None,
    None, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, None,
    None, None, None, None};
constexpr int RBInnerNormal[16] = {
    None, None, None, None,
    None, COLOR_BTNSHADOW, COLOR_BTNSHADOW, None,
    None, COLOR_3DLIGHT, COLOR_3DLIGHT, None,
    None, None, None, None};

constexpr int LTOuterSoft[16] = {
    None, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, None,
    COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, None,
    COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, None,
    None, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, None};
constexpr int LTInnerSoft[16] = {
    None, None, None, None,
    None, COLOR_3DLIGHT, COLOR_3DLIGHT, None,
    None, COLOR_BTNSHADOW, COLOR_BTNSHADOW, None,
    None, None, None, None};

constexpr int OuterMono[16] = {
    None, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME,
    COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME,
    COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME,
    COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
constexpr int InnerMono[16] = {
    None, None, None, None,
    None, COLOR_WINDOW, COLOR_WINDOW, COLOR_WINDOW,
    None, COLOR_WINDOW, COLOR_WINDOW, COLOR_WINDOW,
    None, COLOR_WINDOW, COLOR_WINDOW, COLOR_WINDOW};
constexpr int OuterFlat[16] = {
    None, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW,
    COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW,
    COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW,
    COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW};
constexpr int InnerFlat[16] = {
    None, None, None, None,
    None, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE,
    None, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE,
    None, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE};

struct TRingColors {
    int TopLeft;
    int BottomRight;
};

void FillSystem(QPainter& painter, int x, int y, int width, int height, int colorIndex)
{
    if (width > 0 && height > 0)
        painter.fillRect(x, y, width, height, ToQColor(SystemColor(colorIndex)));
}

// Draws one ring on the flagged sides of rect and shrinks rect by it.
void DrawRing(QPainter& painter, QRect& rect, TRingColors colors, unsigned flags)
{
    if (colors.TopLeft == None && colors.BottomRight == None)
        return;
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    if (colors.TopLeft != None) {
        if (flags & BF_LEFT)
            FillSystem(painter, x, y, 1, h, colors.TopLeft);
        if (flags & BF_TOP)
            FillSystem(painter, x, y, w, 1, colors.TopLeft);
    }
    if (colors.BottomRight != None) {
        if (flags & BF_RIGHT)
            FillSystem(painter, x + w - 1, y, 1, h, colors.BottomRight);
        if (flags & BF_BOTTOM)
            FillSystem(painter, x, y + h - 1, w, 1, colors.BottomRight);
    }
    rect.adjust((flags & BF_LEFT) ? 1 : 0, (flags & BF_TOP) ? 1 : 0, (flags & BF_RIGHT) ? -1 : 0,
                (flags & BF_BOTTOM) ? -1 : 0);
}

} // namespace

void DrawEdge(QPainter& painter, QRect& rect, unsigned edge, unsigned flags)
{
    const unsigned kind = edge & (BDR_OUTER | BDR_INNER);
    TRingColors outer{};
    TRingColors inner{};
    int middle = COLOR_BTNFACE;
    if (flags & BF_MONO) {
        outer = {OuterMono[kind], OuterMono[kind]};
        inner = {InnerMono[kind], InnerMono[kind]};
        middle = COLOR_WINDOW;
    } else if (flags & BF_FLAT) {
        outer = {OuterFlat[kind], OuterFlat[kind]};
        inner = {InnerFlat[kind], InnerFlat[kind]};
    } else if (flags & BF_SOFT) {
        outer = {LTOuterSoft[kind], RBOuterNormal[kind]};
        inner = {LTInnerSoft[kind], RBInnerNormal[kind]};
    } else {
        outer = {LTOuterNormal[kind], RBOuterNormal[kind]};
        inner = {LTInnerNormal[kind], RBInnerNormal[kind]};
    }
    QRect inside = rect;
    DrawRing(painter, inside, outer, flags);
    DrawRing(painter, inside, inner, flags);
    if ((flags & BF_MIDDLE) && inside.isValid())
        FillSystem(painter, inside.x(), inside.y(), inside.width(), inside.height(), middle);
    if (flags & BF_ADJUST)
        rect = inside;
}

void DrawEdge(QPainter& painter, const QRect& rect, unsigned edge, unsigned flags)
{
    QRect copy = rect;
    DrawEdge(painter, copy, edge, flags & ~BF_ADJUST);
}

void FillRect(QPainter& painter, const QRect& rect, TColor color)
{
    if (color == clNone || !rect.isValid())
        return;
    QColor qcolor = ToQColor(color);
    if (!qcolor.isValid())
        return;
    painter.fillRect(rect, qcolor);
}

void FrameRect(QPainter& painter, const QRect& rect, TColor color)
{
    if (color == clNone || !rect.isValid())
        return;
    const QColor qcolor = ToQColor(color);
    if (!qcolor.isValid())
        return;
    const int x = rect.x();
    const int y = rect.y();
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(x, y, w, 1, qcolor);
    painter.fillRect(x, y + h - 1, w, 1, qcolor);
    painter.fillRect(x, y, 1, h, qcolor);
    painter.fillRect(x + w - 1, y, 1, h, qcolor);
}

void DrawFocusRect(QPainter& painter, const QRect& rect)
{
    if (!rect.isValid())
        return;
    // Dots are device pixels: on a mirrored painter they are placed on the
    // mirrored rectangle, not shifted by the mirror's half pixel.
    const TUnmirroredArea device(painter, rect);
    // Pixels whose distance from the top-left corner along x + y is even.
    QPolygon dots;
    const int left = device.Rect().left();
    const int top = device.Rect().top();
    const int right = device.Rect().right();
    const int bottom = device.Rect().bottom();
    auto addDot = [&](int x, int y) {
        if (((x - left) + (y - top)) % 2 == 0)
            dots << QPoint(x, y);
    };
    for (int x = left; x <= right; ++x)
        addDot(x, top);
    if (bottom > top)
        for (int x = left; x <= right; ++x)
            addDot(x, bottom);
    for (int y = top + 1; y < bottom; ++y) {
        addDot(left, y);
        if (right > left)
            addDot(right, y);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 1));
    } else {
        painter.setPen(QPen(Qt::black, 1));
    }
    painter.drawPoints(dots);
    painter.restore();
}
