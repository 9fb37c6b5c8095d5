#include "grid/paint/SearchHighlight.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRegion>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

bool LayOutOneLine(QTextLayout& layout, Qt::LayoutDirection direction)
{
    QTextOption option;
    option.setTextDirection(direction);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setPosition(QPointF(0, 0));
    layout.endLayout();
    return line.isValid();
}

std::vector<TTextSpanGx> TextStartSpans(const QFont& font, const QString& line, int length,
                                        Qt::LayoutDirection direction, QPaintDevice* device)
{
    length = std::clamp(length, 0, static_cast<int>(line.size()));
    if (length == 0)
        return {};
    // A surrogate pair stays whole.
    if (length < line.size() && line[length - 1].isHighSurrogate())
        ++length;

    QTextLayout layout(line, font, device);
    if (!LayOutOneLine(layout, direction))
        return {};

    // One glyph run per visual run (and font) of the characters asked for,
    // its rectangle spanning the glyphs' advances.
    std::vector<TTextSpanGx> spans;
    for (const QGlyphRun& run : layout.glyphRuns(0, length)) {
        const QRectF box = run.boundingRect();
        const int left = static_cast<int>(std::lround(box.left()));
        const int right = static_cast<int>(std::lround(box.right()));
        if (right > left)
            spans.push_back({left, right});
    }
    std::sort(spans.begin(), spans.end(), [](const TTextSpanGx& a, const TTextSpanGx& b) { return a.Left < b.Left; });
    std::vector<TTextSpanGx> joined;
    for (const TTextSpanGx& span : spans) {
        if (!joined.empty() && span.Left <= joined.back().Right)
            joined.back().Right = std::max(joined.back().Right, span.Right);
        else
            joined.push_back(span);
    }
    return joined;
}

void PaintTextStart(QPainter& canvas, const QString& line, int length, QPointF baseline,
                    Qt::LayoutDirection direction, const QRect& clip, const QColor& background, const QColor& text)
{
    const QFontMetrics metrics(canvas.font());
    const int left = static_cast<int>(std::lround(baseline.x()));
    const int top = static_cast<int>(std::lround(baseline.y())) - metrics.ascent();
    QRegion marked;
    for (const TTextSpanGx& span : TextStartSpans(canvas.font(), line, length, direction, canvas.device()))
        marked += QRect(left + span.Left, top, span.Right - span.Left, metrics.height()) & clip;
    if (marked.isEmpty())
        return;
    canvas.save();
    canvas.setClipRegion(marked, Qt::IntersectClip);
    for (const QRect& rect : marked)
        canvas.fillRect(rect, background);
    // The whole line drawn again keeps every glyph in its shaped place
    // (joined letters, marks); the clip keeps the rest of it unchanged.
    canvas.setPen(text);
    canvas.setBackgroundMode(Qt::TransparentMode);
    canvas.setLayoutDirection(direction);
    canvas.drawText(baseline, line);
    canvas.restore();
}
