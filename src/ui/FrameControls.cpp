#include "ui/FrameControls.h"

#include "platform/Color.h"
#include "ui/Draw3D.h"
#include "ui/QtColor.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr unsigned PartMask = 0x001F;

// The classic check mark, 7 x 7 pixels.
constexpr const char* CheckMark[7] = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};
constexpr int CheckMarkSize = 7;

// Fills the triangle of an arrow pointing in the part's direction: height
// rows of widths base, base - 2, ... 1, its box's top-left at origin.
void FillArrow(QPainter& painter, QPoint origin, unsigned part, int height, const QColor& color)
{
    const int base = 2 * height - 1;
    for (int i = 0; i < height; ++i) {
        const int from = i;             // row i counted from the base
        const int length = base - 2 * i;
        switch (part) {
        case DFCS_SCROLLUP:
            painter.fillRect(origin.x() + from, origin.y() + height - 1 - i, length, 1, color);
            break;
        case DFCS_SCROLLDOWN:
        case DFCS_SCROLLCOMBOBOX:
            painter.fillRect(origin.x() + from, origin.y() + i, length, 1, color);
            break;
        case DFCS_SCROLLLEFT:
            painter.fillRect(origin.x() + height - 1 - i, origin.y() + from, 1, length, color);
            break;
        case DFCS_SCROLLRIGHT:
            painter.fillRect(origin.x() + i, origin.y() + from, 1, length, color);
            break;
        default:
            break;
        }
    }
}

bool IsScrollPart(unsigned part)
{
    return part == DFCS_SCROLLUP || part == DFCS_SCROLLDOWN || part == DFCS_SCROLLLEFT || part == DFCS_SCROLLRIGHT ||
           part == DFCS_SCROLLCOMBOBOX;
}

bool DrawScroll(QPainter& painter, const QRect& rect, unsigned state)
{
    const unsigned part = state & PartMask;
    if (!IsScrollPart(part))
        return false;
    if (state & (DFCS_PUSHED | DFCS_FLAT))
        DrawEdge(painter, rect, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_FLAT);
    else if (state & DFCS_MONO)
        DrawEdge(painter, rect, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_MONO);
    else
        DrawEdge(painter, rect, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    QRect glyph = rect;
    if (state & DFCS_PUSHED)
        glyph.translate(1, 1);
    DrawScrollArrowGlyph(painter, glyph, part, (state & DFCS_INACTIVE) == 0);
    return true;
}

void DrawCheckMark(QPainter& painter, const QRect& inside, const QColor& color)
{
    const int scale = std::max(1, inside.width() / (CheckMarkSize + 2));
    const int size = CheckMarkSize * scale;
    const int x0 = inside.x() + (inside.width() - size) / 2;
    const int y0 = inside.y() + (inside.height() - size) / 2;
    painter.save();
    painter.setClipRect(inside, Qt::IntersectClip);
    for (int row = 0; row < CheckMarkSize; ++row)
        for (int column = 0; column < CheckMarkSize; ++column)
            if (CheckMark[row][column] == '#')
                painter.fillRect(x0 + column * scale, y0 + row * scale, scale, scale, color);
    painter.restore();
}

// A checkerboard of the button highlight and the button face.
void FillGrayed(QPainter& painter, const QRect& rect)
{
    const QColor face = ToQColor(clBtnFace);
    const QColor light = ToQColor(clBtnHighlight);
    painter.fillRect(rect, face);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left() + ((y + rect.left()) & 1); x <= rect.right(); x += 2)
            painter.fillRect(x, y, 1, 1, light);
}

void DrawCheck(QPainter& painter, const QRect& rect, unsigned state)
{
    const int side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    QRect box(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side);
    unsigned flags = BF_RECT | BF_ADJUST;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    else if (state & DFCS_MONO)
        flags |= BF_MONO;
    DrawEdge(painter, box, EDGE_SUNKEN, flags);
    if (!box.isValid())
        return;
    const bool checked = (state & DFCS_CHECKED) != 0;
    const bool grayed = checked && (state & DFCS_BUTTON3STATE);
    if (grayed)
        FillGrayed(painter, box);
    else if (state & (DFCS_INACTIVE | DFCS_PUSHED))
        painter.fillRect(box, ToQColor(clBtnFace));
    else
        painter.fillRect(box, ToQColor(clWindow));
    if (checked)
        DrawCheckMark(painter, box, ToQColor((grayed || (state & DFCS_INACTIVE)) ? clBtnShadow : clWindowText));
}

void DrawPush(QPainter& painter, const QRect& rect, unsigned state)
{
    unsigned flags = BF_RECT | BF_MIDDLE;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    else if (state & DFCS_MONO)
        flags |= BF_MONO;
    else
        flags |= BF_SOFT;
    DrawEdge(painter, rect, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, flags);
}

} // namespace

void DrawScrollArrowGlyph(QPainter& painter, const QRect& rect, unsigned part, bool enabled)
{
    // The arrow's height is about a third of the button's inside (the
    // rectangle without its 2-pixel border); its base is twice that less 1.
    const int inside = std::min(rect.width(), rect.height()) - 4;
    const int height = std::max(1, (inside + 1) / 3);
    const int base = 2 * height - 1;
    const bool horizontal = part == DFCS_SCROLLLEFT || part == DFCS_SCROLLRIGHT;
    const int boxWidth = horizontal ? height : base;
    const int boxHeight = horizontal ? base : height;
    const QPoint origin(rect.x() + (rect.width() - boxWidth) / 2, rect.y() + (rect.height() - boxHeight) / 2);
    if (enabled) {
        FillArrow(painter, origin, part, height, ToQColor(clBtnText));
    } else {
        FillArrow(painter, origin + QPoint(1, 1), part, height, ToQColor(clBtnHighlight));
        FillArrow(painter, origin, part, height, ToQColor(clBtnShadow));
    }
}

bool DrawFrameControl(QPainter& painter, const QRect& rect, unsigned type, unsigned state)
{
    if (!rect.isValid())
        return true;
    switch (type) {
    case DFC_SCROLL:
        return DrawScroll(painter, rect, state);
    case DFC_BUTTON:
        if ((state & PartMask & ~DFCS_BUTTON3STATE) == DFCS_BUTTONCHECK) {
            DrawCheck(painter, rect, state);
            return true;
        }
        if ((state & PartMask) == DFCS_BUTTONPUSH) {
            DrawPush(painter, rect, state);
            return true;
        }
        return false;
    default:
        return false;
    }
}
