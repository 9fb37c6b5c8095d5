#include "platform/ui/TextDraw.h"

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

// Breaks a paragraph into lines no wider than width: between words where
// possible, inside a word that does not fit a line of its own.
void WrapParagraph(const QFontMetrics& metrics, const QString& paragraph, int width, QStringList& lines)
{
    if (paragraph.isEmpty()) {
        lines << QString();
        return;
    }
    qsizetype start = 0;
    const qsizetype length = paragraph.size();
    while (start < length) {
        // The longest piece from start that fits.
        qsizetype end = start;
        qsizetype lastBreak = -1;
        while (end < length) {
            const QString candidate = paragraph.mid(start, end - start + 1);
            if (TextWidth(metrics, candidate) > width && end > start)
                break;
            if (paragraph[end] == QLatin1Char(' '))
                lastBreak = end;
            ++end;
        }
        if (end >= length) {
            lines << paragraph.mid(start);
            break;
        }
        qsizetype lineEnd = end;
        qsizetype next = end;
        if (paragraph[end] == QLatin1Char(' ')) {
            lineEnd = end;
            next = end + 1;
        } else if (lastBreak > start) {
            lineEnd = lastBreak;
            next = lastBreak + 1;
        }
        QString line = paragraph.mid(start, lineEnd - start);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines << line;
        while (next < length && paragraph[next] == QLatin1Char(' '))
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
    return text.left(low) + Ellipsis;
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
        if (!(format & DT_WORDBREAK))
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
