#pragma once
// TToolTipsWindow: a hint window that shows a text in a font of the
// caller's choosing, in the window-text colour of its owner's palette, on
// the hint background inside a 1-pixel frame.  It is a frameless tool-tip
// window that never takes the activation or the keyboard focus and lets
// the mouse through to what lies under it, so a tip laid over a cell does
// not take the pointer away from the cell.
//
// The text starts TextOffset pixels right of and below the window's
// top-left corner (the frame and a 2-pixel margin) and the window is
// TextOffset wider than the text on its other side too, so a caller places
// the text exactly by placing the window.

#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>

class TToolTipsWindow : public QWidget {
public:
    static constexpr int TextOffset = 3;

    // The window belongs to `owner` (it is freed with it) and follows its
    // palette and layout direction when it shows.
    explicit TToolTipsWindow(QWidget* owner);

    void SetHintFont(const QFont& font) { FHintFont = font; }
    const QFont& HintFont() const { return FHintFont; }

    // How the lines of a wrapped text line up with each other: DT_LEFT,
    // DT_CENTER or DT_RIGHT (from ui/TextDraw.h).  One-line text fills the
    // text area, so it looks the same either way.
    void SetLineAlignment(unsigned alignment) { FLineAlignment = alignment; }

    // The window's size for a text in the hint font: one line, or with
    // maxWidth above 0 the text broken into lines at most that wide (the
    // widest line and the lines' height), TextOffset added on every side.
    QSize HintSize(const QString& text, int maxWidth = 0) const;

    // Shows the text with the window's top-left corner at `topLeft` (screen
    // coordinates), sized by HintSize.
    void ActivateHint(const QPoint& topLeft, const QString& text, int maxWidth = 0);
    const QString& HintText() const { return FText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned TextFormat() const;

    QFont FHintFont;
    QString FText;
    int FMaxWidth = 0;
    unsigned FLineAlignment = 0;
};
