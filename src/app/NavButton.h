#pragma once
// One button of the navigator bar: a raised button face with a two-state
// glyph (enabled and disabled) that never takes the keyboard focus.

#include <QAbstractButton>
#include <QPixmap>

class TNavButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TNavButton(QWidget* parent = nullptr);

    // A strip holding the enabled glyph on the left and the disabled one
    // on the right, both of the same width.
    void SetGlyphStrip(const QPixmap& strip);
    const QPixmap& EnabledGlyph() const { return FEnabledGlyph; }
    const QPixmap& DisabledGlyph() const { return FDisabledGlyph; }
    // A glyph that points along the reading order (an arrow) is drawn
    // mirrored under right-to-left reading.
    void SetMirroredGlyph(bool value);
    bool MirroredGlyph() const { return FMirroredGlyph; }

    QSize sizeHint() const override;

    // Ends the current mouse press: the button comes up and ignores the
    // press until the mouse is released, so the release clicks nothing.
    void CancelPress();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FPressCancelled = false;
    bool FMirroredGlyph = false;
    QPixmap FEnabledGlyph;
    QPixmap FDisabledGlyph;
};
