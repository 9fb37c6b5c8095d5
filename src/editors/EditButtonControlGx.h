#pragma once
// TEditButtonControlGx: one edit button of the in-place editor (or of any
// edit control): a speed button painted as a drop-down arrow, ellipsis,
// up-down pair, plus, minus or picture.
//
// A left press tells the host through OnDown which part is held (the top
// or bottom half of an up-down pair; always the top for the other styles).
// When the host leaves AutoRepeat on (it starts on for up-down buttons),
// OnDown repeats after 400 ms and then every 100 ms while the button stays
// down.  Sliding off the held half of an up-down pair shows the button up
// (and pauses the repeating) until the pointer returns; releasing it there
// is not a click.  The dropped state holds the button down while the
// host's drop-down is open.  Flat buttons show a hot edge while the pointer
// is over them (Active).

#include "editors/ButtonPainter.h"
#include "editors/EditButtonGx.h"
#include "ui/SpeedButton.h"

#include <functional>

class TEditButtonControlGx : public TSpeedButton {
public:
    using TDownEvent =
        std::function<void(TEditButtonControlGx& sender, bool topButton, bool& autoRepeat, bool& handled)>;

    static constexpr int InitialRepeatInterval = 400;
    static constexpr int RepeatInterval = 100;

    explicit TEditButtonControlGx(QWidget* parent = nullptr);
    ~TEditButtonControlGx() override;

    TEditButtonStyleGx Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleGx value);
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool Dropped() const { return FDropped; }
    void SetDropped(bool value);
    TEditButtonPartGx PressedPart() const { return FPressedPart; }
    // Whether the auto-repeat timer runs, and its current interval.
    bool Repeating() const { return FRepeatTimerId != 0; }
    int CurrentRepeatInterval() const { return FRepeatInterval; }
    void Click() override;
    void CancelMode() override;

    // The press of a part, again on every auto-repeat step.
    TDownEvent OnDown;

protected:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position) override;
    void MouseMove(Qt::KeyboardModifiers modifiers, QPoint position) override;
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Paint(QPainter& painter) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Recomputes the held part from the pointer position; repaints on change.
    void UpdatePressedPart(QPoint position);
    void SetPressedPart(TEditButtonPartGx value);
    // Runs OnDown for the held part; false when the host turned repeating off.
    bool FireDown(bool autoRepeat);
    void StartRepeat(int interval);
    void StopRepeat();
    TColor BackgroundColor() const;

    TEditButtonStyleGx FStyle = ebsDropDownGx;
    bool FActive = false;
    bool FDropped = false;
    TEditButtonPartGx FPressedPart = ebpNoneGx;
    int FRepeatTimerId = 0;
    int FRepeatInterval = 0;
    bool FNoClickThisRelease = false;
};
