#pragma once
// The highlight of an incremental search: the matched start of a cell's
// text marked where its characters lie on the drawn line.  A line of
// mixed or right-to-left text shows its characters in visual runs, so the
// start of its text may lie at the line's right end or in pieces.

#include <QColor>
#include <QPointF>
#include <QString>

#include <vector>

class QFont;
class QPaintDevice;
class QPainter;
class QRect;
class QTextLayout;

// Pixel columns [Left, Right) of a line, counted from its left edge.
struct TTextSpanGx {
    int Left = 0;
    int Right = 0;
    bool operator==(const TTextSpanGx&) const = default;
};

// Lays the layout's whole text out as one line from x = 0, read in
// `direction`, as a painter draws a line from a point; false when there
// is no line to lay.
bool LayOutOneLine(QTextLayout& layout, Qt::LayoutDirection direction);

// The columns that the first `length` characters of `line` cover when the
// line is laid out in `direction` from x = 0: one span per visual run,
// touching runs joined, from left to right.  `device` gives the font's
// resolution (the painter's device); null for the screen's.
std::vector<TTextSpanGx> TextStartSpans(const QFont& font, const QString& line, int length,
                                        Qt::LayoutDirection direction, QPaintDevice* device = nullptr);

// Marks the first `length` characters of a line drawn in the painter's
// font and `direction` with the left end of its baseline at `baseline`:
// each span gets the background over the line's height (its ascent above
// the baseline, its descent below), and the characters in it are drawn
// again in the text colour, exactly where the line has them.  Nothing is
// painted outside `clip`.
void PaintTextStart(QPainter& canvas, const QString& line, int length, QPointF baseline,
                    Qt::LayoutDirection direction, const QRect& clip, const QColor& background, const QColor& text);
