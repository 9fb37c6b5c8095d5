#include "editors/ButtonPainter.h"

#include "editors/ButtonsBitmapCache.h"
#include "ui/Draw3D.h"
#include "ui/FrameControls.h"
#include "ui/QtColor.h"
#include "ui/SpeedButton.h"
#include "ui/SystemMetrics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Fills the glyph's rectangles in the button-text colour, or embossed when
// disabled: the highlight one pixel right and down, then the shadow.
void FillGlyph(QPainter& painter, const std::vector<QRect>& parts, bool enabled)
{
    if (enabled) {
        for (const QRect& part : parts)
            FillRect(painter, part, clBtnText);
        return;
    }
    for (const QRect& part : parts)
        FillRect(painter, part.translated(1, 1), clBtnHighlight);
    for (const QRect& part : parts)
        FillRect(painter, part, clBtnShadow);
}

// The button-face background of the drawn kinds; returns the inside.
QRect DrawFaceBackground(QPainter& painter, const QRect& face, bool pressed, bool flat)
{
    if (flat) {
        FillRect(painter, face, clBtnFace);
        return face.adjusted(1, 1, -1, -1);
    }
    DrawEdge(painter, face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    return face.adjusted(2, 2, -2, -2);
}

void DrawEllipsisDots(QPainter& painter, const QRect& inside, bool pressed, bool enabled)
{
    const int dot = inside.width() > 7 ? 2 : 1;
    const int gap = inside.width() < 12 ? 1 : 2;
    int left = inside.left() + inside.width() / 2 - dot / 2;
    int top = inside.top() + inside.height() / 2 - dot / 2;
    if (pressed) {
        ++left;
        ++top;
    }
    const int step = gap + dot;
    FillGlyph(painter,
              {QRect(left - step, top, dot, dot), QRect(left, top, dot, dot), QRect(left + step, top, dot, dot)},
              enabled);
}

// Makes value's parity equal to (extent's parity), so that value centres
// in extent on whole pixels; stays at least 1.
int MatchParity(int value, int extent)
{
    if ((extent - value) % 2 == 0)
        return value;
    return value > 1 ? value - 1 : value + 1;
}

void DrawPlusMinus(QPainter& painter, const QRect& inside, bool plus, bool pressed, bool enabled)
{
    const int shortest = std::min(inside.width(), inside.height());
    int length = std::max(1, shortest * 4 / 7);
    int thickness = std::max(1, length / 3);
    length = MatchParity(length, inside.width());
    thickness = MatchParity(thickness, inside.height());
    const int shift = pressed ? 1 : 0;
    std::vector<QRect> bars;
    bars.emplace_back(inside.left() + (inside.width() - length) / 2 + shift,
                      inside.top() + (inside.height() - thickness) / 2 + shift, length, thickness);
    if (plus)
        bars.emplace_back(inside.left() + (inside.width() - thickness) / 2 + shift,
                          inside.top() + (inside.height() - length) / 2 + shift, thickness, length);
    FillGlyph(painter, bars, enabled);
}

void DrawFace(QPainter& painter, const QRect& rect, TButtonFaceKindGx kind, bool pressed, bool active, bool flat,
              bool enabled, TUpDownHalfGx half)
{
    if (ButtonsBitmapCacheEnabled()) {
        const auto key = TButtonBitmapKeyGx::Make(rect.width(), rect.height(), kind, flat, pressed ? 1 : 0, active,
                                                  enabled, half);
        painter.drawImage(rect, ButtonsBitmapCache().GetButtonBitmap(key));
    } else {
        DrawEditButtonFace(painter, rect, kind, pressed, active, flat, enabled, half);
    }
}

QRect CenteredSquare(const QRect& rect)
{
    const int side = std::max(0, std::min(rect.width(), rect.height()));
    return QRect(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side);
}

} // namespace

void DrawEditButtonFace(QPainter& painter, const QRect& rect, TButtonFaceKindGx kind, bool pressed, bool active,
                        bool flat, bool enabled, TUpDownHalfGx half)
{
    if (!rect.isValid())
        return;
    // A flat face is drawn larger than its rectangle, so that its 3D border
    // falls outside; the rectangle clips it (an active one keeps its own
    // one-pixel edge).
    QRect face = rect;
    painter.save();
    if (flat) {
        painter.setClipRect(active ? rect.adjusted(1, 1, -1, -1) : rect, Qt::IntersectClip);
        face = active ? rect.adjusted(-1, -1, 1, 1) : rect.adjusted(-2, -2, 2, 2);
    } else {
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    unsigned state = 0;
    if (pressed)
        state |= DFCS_PUSHED;
    if (flat)
        state |= DFCS_FLAT;
    if (!enabled)
        state |= DFCS_INACTIVE;
    switch (kind) {
    case bfkDropDownGx:
        DrawFrameControl(painter, face, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | state);
        break;
    case bfkUpDownGx:
        DrawFrameControl(painter, face, DFC_SCROLL, (half == udhUpGx ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | state);
        break;
    case bfkEllipsisGx:
        DrawEllipsisDots(painter, DrawFaceBackground(painter, face, pressed, flat), pressed, enabled);
        break;
    case bfkPlusGx:
    case bfkMinusGx:
        DrawPlusMinus(painter, DrawFaceBackground(painter, face, pressed, flat), kind == bfkPlusGx, pressed, enabled);
        break;
    case bfkCheckBoxGx:
        DrawCheckBox(painter, rect, pressed ? cpsCheckedGx : cpsUncheckedGx, flat, enabled, clBtnFace);
        break;
    }
    painter.restore();
    if (flat && active)
        DrawEdge(painter, rect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

void DrawCheckBox(QPainter& painter, const QRect& rect, TCheckPaintStateGx state, bool flat, bool enabled,
                  TColor background)
{
    const QRect square = CenteredSquare(rect);
    if (square.isEmpty())
        return;
    unsigned flags = DFCS_BUTTONCHECK;
    if (state == cpsCheckedGx)
        flags |= DFCS_CHECKED;
    else if (state == cpsGrayedGx)
        flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (!enabled)
        flags |= DFCS_INACTIVE;
    if (!flat) {
        DrawFrameControl(painter, square, DFC_BUTTON, flags);
        return;
    }
    painter.save();
    painter.setClipRect(square.adjusted(2, 2, -2, -2), Qt::IntersectClip);
    DrawFrameControl(painter, square.adjusted(-1, -1, 1, 1), DFC_BUTTON, flags);
    painter.restore();
    FrameRect(painter, square.adjusted(1, 1, -1, -1), clBtnShadow);
    FrameRect(painter, square, background);
}

void PaintCheckBoxFace(QPainter& painter, const QRect& rect, TColor background, TCheckPaintStateGx state, bool flat,
                       bool enabled)
{
    const QRect square = CenteredSquare(rect);
    if (square.isEmpty())
        return;
    const QRect box = flat ? square.adjusted(1, 1, -1, -1) : square;
    if (ButtonsBitmapCacheEnabled()) {
        const auto key =
            TButtonBitmapKeyGx::Make(box.width(), box.height(), bfkCheckBoxGx, flat, state, false, enabled, udhUpGx);
        painter.drawImage(box, ButtonsBitmapCache().GetButtonBitmap(key));
    } else {
        DrawCheckBox(painter, box, state, flat, enabled, background);
    }
    if (flat) {
        // The box's own outer ring and the ring around it take the
        // background, whichever way the box was drawn.
        FrameRect(painter, box, background);
        FrameRect(painter, square, background);
    }
}

void PaintButtonFace(QPainter& painter, const QRect& rect, TColor background, bool enabled, bool active, bool flat,
                     TEditButtonPartGx pressedPart, TButtonFaceKindGx kind)
{
    if (kind == bfkCheckBoxGx) {
        PaintCheckBoxFace(painter, rect, background, static_cast<TCheckPaintStateGx>(pressedPart), flat, enabled);
        return;
    }
    if (rect.isEmpty())
        return;
    QRect area = rect;
    const bool frameOnly = flat && !active;
    if (frameOnly) {
        FrameRect(painter, area, background);
        area.adjust(1, 1, -1, -1);
        if (area.isEmpty())
            return;
    }
    if (kind != bfkUpDownGx) {
        DrawFace(painter, area, kind, pressedPart != ebpNoneGx, active, flat, enabled, udhUpGx);
        return;
    }
    const int halfHeight = area.height() / 2;
    const QRect top(area.x(), area.y(), area.width(), halfHeight);
    const QRect bottom(area.x(), area.y() + area.height() - halfHeight, area.width(), halfHeight);
    if (halfHeight > 0) {
        DrawFace(painter, top, bfkUpDownGx, pressedPart == ebpTopGx, active, flat, enabled, udhUpGx);
        DrawFace(painter, bottom, bfkUpDownGx, pressedPart == ebpBottomGx, active, flat, enabled, udhDownGx);
    }
    if (area.height() % 2 != 0 || frameOnly)
        FillRect(painter, QRect(area.x(), top.bottom() + 1, area.width(), bottom.top() - top.bottom() - 1), background);
}

TButtonFaceKindGx FaceKindOfStyle(TEditButtonStyleGx style)
{
    switch (style) {
    case ebsEllipsisGx: return bfkEllipsisGx;
    case ebsUpDownGx: return bfkUpDownGx;
    case ebsPlusGx: return bfkPlusGx;
    case ebsMinusGx: return bfkMinusGx;
    case ebsDropDownGx:
    case ebsGlyphGx: break;
    }
    return bfkDropDownGx;
}

void PaintEditButton(QPainter& painter, const QRect& rect, TColor background, TEditButtonStyleGx style,
                     const QPixmap& glyph, int numGlyphs, bool enabled, bool active, bool flat,
                     TEditButtonPartGx pressedPart)
{
    if (style != ebsGlyphGx) {
        PaintButtonFace(painter, rect, background, enabled, active, flat, pressedPart, FaceKindOfStyle(style));
        return;
    }
    const bool pressed = pressedPart != ebpNoneGx;
    const TSpeedButton::TButtonState state =
        !enabled ? TSpeedButton::bsDisabled : (pressed ? TSpeedButton::bsDown : TSpeedButton::bsUp);
    if (!flat) {
        TSpeedButton::PaintLook(painter, rect, state, false, active, glyph, numGlyphs);
        return;
    }
    painter.save();
    painter.setClipRect(rect.adjusted(1, 1, -1, -1), Qt::IntersectClip);
    TSpeedButton::PaintLook(painter, rect, state, true, active, glyph, numGlyphs);
    painter.restore();
    if (active)
        DrawEdge(painter, rect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    else
        FrameRect(painter, rect, background);
}

int FlatEditButtonWidth()
{
    static const int width = [] {
        const int fontHeight = QFontMetrics(QApplication::font()).height();
        int value = std::min(VerticalScrollBarWidth(), static_cast<int>(std::lround(fontHeight * 2.0 / 3.0)));
        if (value % 2 == 0)
            --value;
        return value;
    }();
    return width;
}

int DefaultEditButtonWidth(bool flat) { return flat ? FlatEditButtonWidth() : VerticalScrollBarWidth(); }
