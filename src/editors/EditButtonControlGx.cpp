#include "editors/EditButtonControlGx.h"

#include "ui/QtColor.h"

#include <QPainter>
#include <QTimerEvent>

TEditButtonControlGx::TEditButtonControlGx(QWidget* parent) : TSpeedButton(parent) {}

TEditButtonControlGx::~TEditButtonControlGx() { StopRepeat(); }

void TEditButtonControlGx::SetStyle(TEditButtonStyleGx value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    update();
}

void TEditButtonControlGx::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (Flat())
        update();
}

void TEditButtonControlGx::SetDropped(bool value)
{
    if (value == FDropped)
        return;
    FDropped = value;
    if (value) {
        SetGroupIndex(1);
        SetDown(true);
        SetAllowAllUp(false);
        SetPressedPart(ebpTopGx);
    } else {
        SetAllowAllUp(true);
        SetDown(false);
        SetGroupIndex(0);
        SetPressedPart(ebpNoneGx);
    }
    update();
}

void TEditButtonControlGx::SetPressedPart(TEditButtonPartGx value)
{
    if (value == FPressedPart)
        return;
    FPressedPart = value;
    update();
}

void TEditButtonControlGx::UpdatePressedPart(QPoint position)
{
    TEditButtonPartGx part = ebpNoneGx;
    if (FState == bsDown || FState == bsExclusive) {
        if (FStyle != ebsUpDownGx) {
            part = ebpTopGx;
        } else {
            const int half = height() / 2;
            if (position.y() < half)
                part = ebpTopGx;
            else if (position.y() >= height() - half)
                part = ebpBottomGx;
        }
    }
    SetPressedPart(part);
}

bool TEditButtonControlGx::FireDown(bool autoRepeat)
{
    bool handled = false;
    if (OnDown)
        OnDown(*this, FPressedPart == ebpTopGx, autoRepeat, handled);
    return autoRepeat;
}

void TEditButtonControlGx::StartRepeat(int interval)
{
    StopRepeat();
    FRepeatInterval = interval;
    FRepeatTimerId = startTimer(interval, Qt::PreciseTimer);
}

void TEditButtonControlGx::StopRepeat()
{
    if (FRepeatTimerId != 0)
        killTimer(FRepeatTimerId);
    FRepeatTimerId = 0;
    FRepeatInterval = 0;
}

void TEditButtonControlGx::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position)
{
    const bool autoRepeat = FStyle == ebsUpDownGx;
    FNoClickThisRelease = false;
    TSpeedButton::MouseDown(button, modifiers, position);
    if (button != Qt::LeftButton)
        return;
    UpdatePressedPart(position);
    if (FPressedPart == ebpNoneGx)
        return;
    // The host may have ended the press meanwhile (hidden the button).
    if (FireDown(autoRepeat) && Dragging())
        StartRepeat(InitialRepeatInterval);
}

void TEditButtonControlGx::MouseMove(Qt::KeyboardModifiers modifiers, QPoint position)
{
    TSpeedButton::MouseMove(modifiers, position);
    if (!Dragging() || FState != bsDown || FStyle != ebsUpDownGx)
        return;
    const int half = height() / 2;
    const bool offTop = FPressedPart == ebpTopGx && position.y() >= height() - half;
    const bool offBottom = FPressedPart == ebpBottomGx && position.y() < half;
    if (offTop || offBottom)
        SetState(bsUp);
}

void TEditButtonControlGx::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position)
{
    if (FStyle == ebsUpDownGx && Dragging() && button == Qt::LeftButton && FState == bsUp)
        FNoClickThisRelease = true;
    TSpeedButton::MouseUp(button, modifiers, position);
    FNoClickThisRelease = false;
    UpdatePressedPart(position);
    if (button == Qt::LeftButton)
        StopRepeat();
}

void TEditButtonControlGx::Click()
{
    if (FNoClickThisRelease)
        return;
    TSpeedButton::Click();
}

void TEditButtonControlGx::CancelMode()
{
    TSpeedButton::CancelMode();
    StopRepeat();
    UpdatePressedPart(QPoint(-1, -1));
}

void TEditButtonControlGx::MouseEnter()
{
    TSpeedButton::MouseEnter();
    SetActive(true);
}

void TEditButtonControlGx::MouseLeave()
{
    TSpeedButton::MouseLeave();
    SetActive(false);
}

void TEditButtonControlGx::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != FRepeatTimerId) {
        TSpeedButton::timerEvent(event);
        return;
    }
    if (FRepeatInterval == InitialRepeatInterval)
        StartRepeat(RepeatInterval);
    if (FState != bsDown)
        return;
    if (!FireDown(FStyle == ebsUpDownGx))
        StopRepeat();
}

TColor TEditButtonControlGx::BackgroundColor() const
{
    const QWidget* owner = parentWidget();
    if (owner == nullptr)
        return clBtnFace;
    return FromQColor(owner->palette().color(owner->backgroundRole()));
}

void TEditButtonControlGx::Paint(QPainter& painter)
{
    // The speed button's state decides the look: the pressed part counts
    // only while the button is down or held down.
    const bool held = FState == bsDown || FState == bsExclusive;
    PaintEditButton(painter, rect(), BackgroundColor(), FStyle, Glyph(), NumGlyphs(), isEnabled(), FActive, Flat(),
                    held ? FPressedPart : ebpNoneGx);
}
