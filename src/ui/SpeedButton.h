#pragma once
// TSpeedButton: a small button that never takes the focus, with a picture
// (Glyph, up to four images side by side: up, disabled, clicked, down),
// a flat look that shows its edge only while the pointer is over it, and
// groups: buttons of one parent with the same GroupIndex (above 0) are
// held down one at a time; AllowAllUp lets the held one be released.
//
// The button's state is up, disabled, down (pressed by the mouse) or
// exclusive (held down through Down).  A click is a left press and release
// both on the button.

#include <QPixmap>
#include <QWidget>

#include <functional>

class TSpeedButton : public QWidget {
public:
    enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
    using TNotifyEvent = std::function<void(TSpeedButton& sender)>;
    using TMouseEvent = std::function<void(TSpeedButton& sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers modifiers, QPoint position)>;
    using TMouseMoveEvent =
        std::function<void(TSpeedButton& sender, Qt::KeyboardModifiers modifiers, QPoint position)>;

    explicit TSpeedButton(QWidget* parent = nullptr);
    ~TSpeedButton() override;

    TButtonState State() const { return FState; }
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    const QPixmap& Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& value) { setToolTip(value); }
    // The pointer is over the button (what flat buttons show their edge for).
    bool MouseInControl() const { return FMouseInControl; }
    // Whether the left button is held from a press on this button.
    bool Dragging() const { return FDragging; }

    // Runs OnClick.
    virtual void Click();
    // Ends a press without a click (the host took the mouse away, or the
    // button was hidden or disabled): the button shows up again unless it
    // is held down.
    virtual void CancelMode();

    // Paints a speed button's look into rect: a push-button frame (flat
    // buttons only while hot or pressed) and the glyph image for the state,
    // centred, moved right and down while pressed, embossed when disabled
    // without an image of its own.
    static void PaintLook(QPainter& painter, const QRect& rect, TButtonState state, bool flat, bool hot,
                          const QPixmap& glyph, int numGlyphs);

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // The press, move and release logic; the Qt events call these.
    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    virtual void MouseMove(Qt::KeyboardModifiers modifiers, QPoint position);
    virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Paints the button (PaintLook with the button's own settings).
    virtual void Paint(QPainter& painter);
    void SetState(TButtonState value);
    bool ContainsPoint(QPoint position) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    TButtonState FState = bsUp;

private:
    // Releases the other held buttons of this button's group.
    void UpdateExclusive();

    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    QPixmap FGlyph;
    int FNumGlyphs = 1;
    bool FMouseInControl = false;
    bool FDragging = false;
};
