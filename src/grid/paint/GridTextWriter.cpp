#include "grid/paint/GridTextWriter.h"

#include "grid/paint/GridPaintResources.h"
#include "ui/TextDraw.h"
#include "ui/UnmirroredArea.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

QColor Background(const QPainter& canvas) { return canvas.brush().color(); }

unsigned AlignmentFlags(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

bool BoldOrItalic(const QFont& font) { return font.bold() || font.italic(); }

// The pixels an italic text reaches beyond its advance.
int Overhang(const QFontMetrics& metrics, const QString& text)
{
    if (text.isEmpty())
        return 0;
    const QRect drawn = metrics.boundingRect(text);
    return std::max(0, drawn.x() + drawn.width() - metrics.horizontalAdvance(text));
}

void WriteOneLine(QPainter& canvas, const QRect& rect, TAlignment alignment, const TCellTextGx& cell,
                  const QString& text)
{
    const QFontMetrics metrics(canvas.font());
    const TOneLineTextGx line = LayOneLine(canvas.font(), rect, alignment, cell, text);
    canvas.fillRect(rect, Background(canvas));
    if (line.Shown.isEmpty())
        return;
    const QRect drawn(line.Origin, QSize(line.Width, metrics.height()));
    const bool spills = !rect.contains(drawn);
    if (spills) {
        canvas.save();
        canvas.setClipRect(rect, Qt::IntersectClip);
    }
    // The text's own reading order runs in the grid's: mixed text reads as
    // the in-place editor and the wrapped writer show it.
    const Qt::LayoutDirection saved = canvas.layoutDirection();
    canvas.setLayoutDirection(TextDirection(cell));
    canvas.drawText(QPoint(line.Origin.x(), line.Origin.y() + metrics.ascent()), line.Shown);
    canvas.setLayoutDirection(saved);
    if (spills)
        canvas.restore();
}

void WriteThroughBitmap(QPainter& canvas, const QRect& rect, TAlignment alignment, const TCellTextGx& cell,
                        const QString& text)
{
    QImage& bitmap = SharedTextBitmap(rect.size());
    const QRect area(0, 0, rect.width(), rect.height());
    {
        QPainter composer(&bitmap);
        composer.setFont(canvas.font());
        composer.setPen(canvas.pen());
        composer.setBrush(canvas.brush());
        composer.fillRect(area, Background(canvas));
        ComposeWrappedText(composer, area, alignment, cell, text);
    }
    canvas.drawImage(rect.topLeft(), bitmap, area);
}

}  // namespace

void ComposeWrappedText(QPainter& composer, const QRect& area, TAlignment drawnAlignment, const TCellTextGx& cell,
                        const QString& text)
{
    QRect inner = area.adjusted(cell.DX, cell.DY, -cell.DX, -cell.DY);
    if (cell.DX > 0)
        inner.setHeight(inner.height() + 1);
    unsigned format = AlignmentFlags(drawnAlignment) | DT_NOPREFIX | DT_EXPANDTABS;
    if (cell.RightToLeft)
        format |= DT_RTLREADING;
    if (cell.WordWrap)
        format |= DT_WORDBREAK;
    if (cell.EndEllipsis)
        format |= DT_END_ELLIPSIS;
    const TDrawTextMargins margins{cell.LeftMargin, cell.RightMargin};
    if (cell.Placement != vpTopGx) {
        QRect measured = inner;
        const int height = DrawFormattedText(composer, text, measured, format | DT_CALCRECT, margins);
        const int top = cell.Placement == vpCenterGx ? inner.y() + inner.height() / 2 - height / 2
                                                     : inner.y() + inner.height() - height;
        inner.setTop(top);
    }
    DrawFormattedText(composer, text, inner, format, margins);
}

TOneLineTextGx LayOneLine(const QFont& font, const QRect& rect, TAlignment drawnAlignment, const TCellTextGx& cell,
                          const QString& text)
{
    const QFontMetrics metrics(font);
    TOneLineTextGx line;
    line.Shown = text;
    if (cell.EndEllipsis) {
        line.Shown = EllipsizeEnd(metrics, text, std::max(0, rect.width() - cell.DX));
        line.Ellipsized = line.Shown != text;
    }
    line.Width = CellTextWidth(metrics, line.Shown, drawnAlignment, BoldOrItalic(font));
    TCellTextGx placed = cell;
    placed.Rect = rect;
    placed.WordWrap = false;
    line.Origin = QPoint(CellTextLeft(placed, drawnAlignment, line.Width), rect.y() + cell.DY);
    return line;
}

int CellTextWidth(const QFontMetrics& metrics, const QString& text, TAlignment alignment, bool boldOrItalic)
{
    const int advance = metrics.horizontalAdvance(text);
    if (boldOrItalic && alignment != taLeftJustify)
        return advance + Overhang(metrics, text);
    return advance;
}

int CellTextLeft(const TCellTextGx& cell, TAlignment drawnAlignment, int textWidth)
{
    const QRect& rect = cell.Rect;
    if (cell.WordWrap) {
        // The formatter's place for a line in the rectangle less DX and the margins.
        const int left = rect.x() + cell.DX + cell.LeftMargin;
        const int available = std::max(0, rect.width() - 2 * cell.DX - cell.LeftMargin - cell.RightMargin);
        if (drawnAlignment == taRightJustify)
            return left + available - textWidth;
        if (drawnAlignment == taCenter)
            return left + (available - textWidth) / 2;
        return left;
    }
    if (drawnAlignment == taRightJustify)
        return rect.x() + rect.width() - textWidth - 3;
    if (drawnAlignment == taCenter)
        return rect.x() + rect.width() / 2 - textWidth / 2;
    return rect.x() + cell.DX;
}

Qt::LayoutDirection TextDirection(const TCellTextGx& cell)
{
    return cell.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
}

TAlignment ReadingAlignment(TAlignment alignment, bool rightToLeft)
{
    if (!rightToLeft)
        return alignment;
    if (alignment == taLeftJustify)
        return taRightJustify;
    if (alignment == taRightJustify)
        return taLeftJustify;
    return alignment;
}

void WriteCellText(QPainter& canvas, const TCellTextGx& cell, const QString& text)
{
    const TAlignment alignment = ReadingAlignment(cell.Alignment, cell.RightToLeft);
    const TUnmirroredArea device(canvas, cell.Rect);
    const QRect& rect = device.Rect();
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (cell.WordWrap)
        WriteThroughBitmap(canvas, rect, alignment, cell, text);
    else
        WriteOneLine(canvas, rect, alignment, cell, text);
}

int WriteVerticalText(QPainter& canvas, const TCellTextGx& cell, const QString& text, bool measureOnly)
{
    const QFontMetrics metrics(canvas.font());
    const int overhang = Overhang(metrics, text);
    const int length = metrics.horizontalAdvance(text) + overhang;
    if (measureOnly)
        return length;

    const TAlignment alignment = ReadingAlignment(cell.Alignment, cell.RightToLeft);
    const TUnmirroredArea device(canvas, cell.Rect);
    const QRect& rect = device.Rect();
    if (rect.width() <= 0 || rect.height() <= 0)
        return length;
    const int textHeight = metrics.height();
    int x = rect.x() + cell.DX;
    if (alignment == taRightJustify)
        x = rect.x() + rect.width() - textHeight;
    else if (alignment == taCenter)
        x = rect.x() + (rect.width() - (textHeight + overhang)) / 2;
    const int startY = rect.y() + rect.height() - cell.DY;

    canvas.fillRect(rect, Background(canvas));
    if (text.isEmpty())
        return length;
    canvas.save();
    canvas.setClipRect(rect, Qt::IntersectClip);
    canvas.translate(x + metrics.ascent(), startY);
    canvas.rotate(-90);
    canvas.drawText(QPoint(0, 0), text);
    canvas.restore();
    return length;
}
