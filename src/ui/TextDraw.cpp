#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("...");
constexpr int TabColumns = 8;

QString StripPrefixes(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                result += QLatin1Char('&');
            else
                continue;
            ++i;
            continue;
        }
        result += text[i];
    }
    return result;
}

QString ExpandTabs(const QString& text)
{
    QString result;
    for (QChar c : text) {
        if (c == QLatin1Char('\t')) {
            const qsizetype column = result.size() - (result.lastIndexOf(QLatin1Char('\n')) + 1);
            result += QString(TabColumns - column % TabColumns, QLatin1Char(' '));
        } else {
            result += c;
        }
    }
    return result;
}

QStringList SplitParagraphs(const QString& text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normalised.split(QLatin1Char('\n'));
}

// Keeps a cut from splitting a surrogate pair.
qsizetype SafeCut(const QString& text, qsizetype position)
{
    if (position > 0 && position < text.size() && text[position - 1].isHighSurrogate())
        return position - 1;
    return position;
}

// The most characters from start that fit width (at least one).
qsizetype FittingLength(const QFontMetrics& metrics, const QString& text, qsizetype start, int width)
{
    qsizetype low = 1;
    qsizetype high = text.size() - start;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (TextWidth(metrics, text.mid(start, middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    const qsizetype cut = SafeCut(text, start + low) - start;
    return cut > 0 ? cut : std::min<qsizetype>(2, text.size() - start);
}

// Breaks a paragraph into lines no wider than width: between words where
// possible, inside a word that does not fit a line of its own.
void WrapParagraph(const QFontMetrics& metrics, const QString& paragraph, int width, QStringList& lines)
{
    if (paragraph.isEmpty()) {
        lines << QString();
        return;
    }
    const QChar space = QLatin1Char(' ');
    qsizetype start = 0;
    const qsizetype length = paragraph.size();
    while (start < length) {
        const qsizetype fitting = FittingLength(metrics, paragraph, start, width);
        qsizetype lineEnd = start + fitting;
        qsizetype next = lineEnd;
        if (lineEnd < length && paragraph[lineEnd] != space) {
            // Break at the last space of the piece, when there is one.
            const qsizetype lastSpace = paragraph.lastIndexOf(space, lineEnd - 1);
            if (lastSpace > start) {
                lineEnd = lastSpace;
                next = lastSpace + 1;
            }
        }
        QString line = paragraph.mid(start, lineEnd - start);
        while (line.endsWith(space))
            line.chop(1);
        lines << line;
        while (next < length && paragraph[next] == space)
            ++next;
        start = next;
    }
}

} // namespace

int TextWidth(const QFontMetrics& metrics, const QString& text) { return metrics.horizontalAdvance(text); }

QString EllipsizeEnd(const QFontMetrics& metrics, const QString& text, int maxWidth)
{
    if (TextWidth(metrics, text) <= maxWidth)
        return text;
    // Widths grow with the prefix length: search the longest prefix that fits.
    qsizetype low = 0;
    qsizetype high = text.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (TextWidth(metrics, text.left(middle) + Ellipsis) <= maxWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return text.left(SafeCut(text, low)) + Ellipsis;
}

int DrawFormattedText(QPainter& painter, const QString& text, QRect& rect, unsigned format,
                      const TDrawTextMargins& margins)
{
    const QFontMetrics metrics(painter.font());
    QString source = (format & DT_NOPREFIX) ? text : StripPrefixes(text);
    if (format & DT_EXPANDTABS)
        source = ExpandTabs(source);
    const int available = std::max(0, rect.width() - margins.Left - margins.Right);

    QStringList lines;
    if (format & DT_SINGLELINE) {
        QString line = source;
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << line;
    } else {
        for (const QString& paragraph : SplitParagraphs(source)) {
            if (format & DT_WORDBREAK)
                WrapParagraph(metrics, paragraph, available, lines);
            else
                lines << paragraph;
        }
    }
    if (format & DT_END_ELLIPSIS)
        for (QString& line : lines)
            line = EllipsizeEnd(metrics, line, available);

    const int lineHeight = metrics.height();
    const int blockHeight = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, TextWidth(metrics, line));
        rect.setWidth(widest + margins.Left + margins.Right);
        rect.setHeight(blockHeight);
        return blockHeight;
    }

    int top = rect.top();
    if (format & DT_VCENTER)
        top = rect.top() + (rect.height() - blockHeight) / 2;
    else if (format & DT_BOTTOM)
        top = rect.top() + rect.height() - blockHeight;

    const bool rightToLeft = (format & DT_RTLREADING) != 0;
    painter.save();
    if (!(format & DT_NOCLIP))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    for (const QString& line : lines) {
        const int width = TextWidth(metrics, line);
        int x = rect.left() + margins.Left;
        if (format & DT_RIGHT)
            x = rect.left() + rect.width() - margins.Right - width;
        else if (format & DT_CENTER)
            x = rect.left() + margins.Left + (available - width) / 2;
        if (!line.isEmpty()) {
            if (rightToLeft)
                painter.drawText(QRect(x, top, width, lineHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, line);
            else
                painter.drawText(QPoint(x, top + metrics.ascent()), line);
        }
        top += lineHeight;
    }
    painter.restore();
    return blockHeight;
}
