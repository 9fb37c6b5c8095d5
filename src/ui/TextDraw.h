#pragma once
// Formatted text in a rectangle: alignment, vertical placement, word wrap,
// end ellipsis, margins and right-to-left reading, drawn with the painter's
// font and pen.  Lines are one font height apart and a line's top is the
// top of its character cells.

#include <QRect>
#include <QString>

class QFontMetrics;
class QPainter;

constexpr unsigned DT_TOP = 0x00000;
constexpr unsigned DT_LEFT = 0x00000;
constexpr unsigned DT_CENTER = 0x00001;
constexpr unsigned DT_RIGHT = 0x00002;
constexpr unsigned DT_VCENTER = 0x00004;
constexpr unsigned DT_BOTTOM = 0x00008;
constexpr unsigned DT_WORDBREAK = 0x00010;
constexpr unsigned DT_SINGLELINE = 0x00020;
constexpr unsigned DT_EXPANDTABS = 0x00040;
constexpr unsigned DT_NOCLIP = 0x00100;
constexpr unsigned DT_CALCRECT = 0x00400;
constexpr unsigned DT_NOPREFIX = 0x00800;
constexpr unsigned DT_END_ELLIPSIS = 0x08000;
constexpr unsigned DT_RTLREADING = 0x20000;

struct TDrawTextMargins {
    int Left = 0;
    int Right = 0;
};

// Draws text into rect and returns the height of the text block.
// DT_VCENTER and DT_BOTTOM place the whole block.  Without DT_NOPREFIX an
// '&' is dropped ("&&" stays one '&').  Without DT_SINGLELINE line breaks
// start new lines; DT_WORDBREAK also breaks between words and inside words
// too long for a line.  DT_END_ELLIPSIS ends a line too wide with "...".
// DT_CALCRECT draws nothing and sets rect's height and width to what the
// text needs (wrapped: the widest line).  Drawing is clipped to rect unless
// DT_NOCLIP is given.
int DrawFormattedText(QPainter& painter, const QString& text, QRect& rect, unsigned format,
                      const TDrawTextMargins& margins = {});

// The text shortened to fit maxWidth: unchanged when it fits, otherwise
// the longest start of it followed by "..." that fits, or "..." alone.
QString EllipsizeEnd(const QFontMetrics& metrics, const QString& text, int maxWidth);

// The text width as drawn with the metrics' font.
int TextWidth(const QFontMetrics& metrics, const QString& text);
