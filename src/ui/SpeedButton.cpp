#include "ui/SpeedButton.h"

#include "ui/Draw3D.h"
#include "ui/FrameControls.h"
#include "ui/QtColor.h"

#include <QBitmap>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {
// The speed buttons among a widget's direct children.  The class has no
// meta-object of its own, so Qt's typed child search would take every
// widget child for one: the type is checked here.
std::vector<TSpeedButton*> SpeedButtonsOf(const QWidget& parent)
{
    std::vector<TSpeedButton*> buttons;
    for (QObject* child : parent.children())
        if (auto* button = dynamic_cast<TSpeedButton*>(child))
            buttons.push_back(button);
    return buttons;
}

// Glyph image numbers for the button states.
constexpr int GlyphUp = 0;
constexpr int GlyphDisabled = 1;
constexpr int GlyphClicked = 2;
constexpr int GlyphDown = 3;

// The shape of an image without its transparent parts, in one colour: the
// alpha of images that have it, else the colour of the bottom-left pixel
// counts as transparent.
QPixmap Silhouette(const QPixmap& image, const QColor& color)
{
    QImage source = image.toImage();
    QBitmap mask;
    if (source.hasAlphaChannel())
        mask = QBitmap::fromImage(source.createAlphaMask());
    else
        mask = QBitmap::fromImage(source.createMaskFromColor(source.pixel(0, source.height() - 1), Qt::MaskInColor));
    QPixmap result(image.size());
    result.fill(color);
    result.setMask(mask);
    return result;
}

QPixmap WithTransparency(const QPixmap& image)
{
    if (image.hasAlphaChannel() || image.isNull())
        return image;
    QImage source = image.toImage();
    QPixmap result = image;
    result.setMask(
        QBitmap::fromImage(source.createMaskFromColor(source.pixel(0, source.height() - 1), Qt::MaskInColor)));
    return result;
}
} // namespace

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetState(TButtonState value)
{
    if (value == FState)
        return;
    FState = value;
    update();
}

void TSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    if (value) {
        if (FState == bsUp)
            update();
        FState = bsExclusive;
    } else {
        FState = isEnabled() ? bsUp : bsDisabled;
    }
    update();
    if (value)
        UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    // The whole group shares the setting.
    if (FGroupIndex != 0 && parentWidget())
        for (auto* sibling : SpeedButtonsOf(*parentWidget()))
            if (sibling != this && sibling->FGroupIndex == FGroupIndex)
                sibling->FAllowAllUp = value;
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !FDown || !parentWidget())
        return;
    for (auto* sibling : SpeedButtonsOf(*parentWidget())) {
        if (sibling == this || sibling->FGroupIndex != FGroupIndex || !sibling->FDown)
            continue;
        sibling->FDown = false;
        sibling->FState = sibling->isEnabled() ? bsUp : bsDisabled;
        sibling->update();
    }
}

void TSpeedButton::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    update();
}

void TSpeedButton::SetGlyph(const QPixmap& value)
{
    FGlyph = value;
    update();
}

void TSpeedButton::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs)
        return;
    FNumGlyphs = value;
    update();
}

void TSpeedButton::Click()
{
    if (OnClick)
        OnClick(*this);
}

bool TSpeedButton::ContainsPoint(QPoint position) const
{
    return position.x() >= 0 && position.x() < width() && position.y() >= 0 && position.y() <= height();
}

void TSpeedButton::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position)
{
    if (OnMouseDown)
        OnMouseDown(*this, button, modifiers, position);
    if (button == Qt::LeftButton && isEnabled()) {
        if (!FDown)
            SetState(bsDown);
        FDragging = true;
    }
}

void TSpeedButton::MouseMove(Qt::KeyboardModifiers modifiers, QPoint position)
{
    if (OnMouseMove)
        OnMouseMove(*this, modifiers, position);
    if (!FDragging)
        return;
    TButtonState state = FDown ? bsExclusive : bsUp;
    if (ContainsPoint(position))
        state = FDown ? bsExclusive : bsDown;
    SetState(state);
}

void TSpeedButton::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position)
{
    if (OnMouseUp)
        OnMouseUp(*this, button, modifiers, position);
    if (!FDragging || button != Qt::LeftButton)
        return;
    FDragging = false;
    const bool doClick = ContainsPoint(position);
    if (FGroupIndex == 0) {
        SetState(isEnabled() ? bsUp : bsDisabled);
    } else if (doClick) {
        SetDown(!FDown);
    } else {
        if (FDown)
            FState = bsExclusive;
        update();
    }
    FMouseInControl = rect().contains(position);
    if (doClick)
        Click();
}

void TSpeedButton::MouseEnter()
{
    FMouseInControl = true;
    if (FFlat && isEnabled())
        update();
}

void TSpeedButton::MouseLeave()
{
    FMouseInControl = false;
    if (FFlat && isEnabled())
        update();
}

void TSpeedButton::mousePressEvent(QMouseEvent* event)
{
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like the first.
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event) { MouseMove(event->modifiers(), event->position().toPoint()); }

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    MouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TSpeedButton::enterEvent(QEnterEvent*) { MouseEnter(); }

void TSpeedButton::leaveEvent(QEvent*) { MouseLeave(); }

void TSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            CancelMode();
            FState = bsDisabled;
        } else {
            FState = FDown ? bsExclusive : bsUp;
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TSpeedButton::hideEvent(QHideEvent* event)
{
    CancelMode();
    QWidget::hideEvent(event);
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TSpeedButton::CancelMode()
{
    if (!FDragging)
        return;
    FDragging = false;
    SetState(FDown ? bsExclusive : (isEnabled() ? bsUp : bsDisabled));
}

namespace {

// The part of a glyph strip shown for a state.
QPixmap GlyphImage(const QPixmap& glyph, int numGlyphs, TSpeedButton::TButtonState state)
{
    if (glyph.isNull())
        return {};
    const int count = std::max(1, std::min(numGlyphs, glyph.width()));
    const int imageWidth = glyph.width() / count;
    int index = GlyphUp;
    switch (state) {
    case TSpeedButton::bsDisabled: index = GlyphDisabled; break;
    case TSpeedButton::bsDown: index = GlyphClicked; break;
    case TSpeedButton::bsExclusive: index = GlyphDown; break;
    case TSpeedButton::bsUp: break;
    }
    if (index >= count)
        index = GlyphUp;
    return glyph.copy(index * imageWidth, 0, imageWidth, glyph.height());
}

} // namespace

void TSpeedButton::PaintLook(QPainter& painter, const QRect& rect, TButtonState state, bool flat, bool hot,
                             const QPixmap& glyph, int numGlyphs)
{
    const bool pressed = state == bsDown || state == bsExclusive;
    FillRect(painter, rect, clBtnFace);
    if (!flat)
        DrawFrameControl(painter, rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    else if (pressed || (hot && state != bsDisabled))
        DrawEdge(painter, rect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);

    const QPixmap image = GlyphImage(glyph, numGlyphs, state);
    if (image.isNull())
        return;
    QPoint origin(rect.x() + (rect.width() - image.width()) / 2, rect.y() + (rect.height() - image.height()) / 2);
    if (pressed)
        origin += QPoint(1, 1);
    if (state == bsDisabled && numGlyphs <= GlyphDisabled) {
        painter.drawPixmap(origin + QPoint(1, 1), Silhouette(image, ToQColor(clBtnHighlight)));
        painter.drawPixmap(origin, Silhouette(image, ToQColor(clBtnShadow)));
        return;
    }
    painter.drawPixmap(origin, WithTransparency(image));
}

void TSpeedButton::Paint(QPainter& painter)
{
    PaintLook(painter, rect(), FState, FFlat, FMouseInControl, FGlyph, FNumGlyphs);
}
