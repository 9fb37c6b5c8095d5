#pragma once
// A shown data grid over an in-memory table, in a fixed monospaced font
// and a known client size, rendered into an image for pixel checks.

#include "GridTestSupport.h"

#include "grid/paint/DBGridGxCellPainter.h"
#include "ui/QtColor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include <memory>

inline TFontGx PaintTestFont(bool bold = false)
{
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(12);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return TFontGx(font, clWindowText);
}

class TPaintGrid {
public:
    std::unique_ptr<TMemTable> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TRecordingGrid> Grid;

    explicit TPaintGrid(std::unique_ptr<TMemTable> table = SampleTable(), int width = 480, int height = 200)
        : Table(std::move(table)), Source(std::make_unique<TDataSource>(Table.get())),
          Grid(std::make_unique<TRecordingGrid>())
    {
        Grid->SetBorderStyle(bsNone);
        Grid->SetFont(PaintTestFont());
        Grid->SetTitleFont(PaintTestFont());
        Grid->SetFooterFont(PaintTestFont());
        Grid->SetDataSource(Source.get());
        ShowActiveGrid(*Grid, width, height);
    }

    TRecordingGrid& G() { return *Grid; }
    TColumnGx& Column(int dataCol) { return *Grid->Columns()[dataCol]; }
    // The cell of a data column in a grid row.
    QRect Cell(int dataCol, int row) const { return Grid->CellRect(Grid->DataToRawColumn(dataCol), row); }
    QRect IndicatorCell(int row) const { return Grid->CellRect(0, row); }

    QImage Render()
    {
        QApplication::processEvents();
        return Grid->viewport()->grab().toImage();
    }
};

inline QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
inline QColor Pixel(const QImage& image, QPoint p) { return image.pixelColor(p); }
inline QColor Qc(TColor color) { return ToQColor(color); }

// Pixels of a colour inside a rectangle of the image.
inline int CountColor(const QImage& image, const QRect& rect, const QColor& color)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) == color)
                ++count;
    return count;
}

// The leftmost and topmost pixel in rect that differs from `background`;
// (-1, -1) when there is none.
inline QPoint FirstInk(const QImage& image, const QRect& rect, const QColor& background)
{
    int left = -1;
    int top = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != background) {
                if (left < 0 || x < left)
                    left = x;
                if (top < 0 || y < top)
                    top = y;
            }
    return QPoint(left, top);
}

// The rightmost pixel in rect that differs from `background`; -1 when none.
inline int LastInkX(const QImage& image, const QRect& rect, const QColor& background)
{
    int right = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != background)
                right = std::max(right, x);
    return right;
}

// Where a text drawn with its top-left corner at (0, 0) puts ink: its first
// inked pixel, and how far its last inked column lies from its advance.
struct TInk {
    QPoint First;
    int LastFromAdvance;
};
inline TInk InkOf(const QString& text, const QFont& font = PaintTestFont())
{
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    }
    return {FirstInk(image, image.rect(), Qt::white),
            LastInkX(image, image.rect(), Qt::white) - QFontMetrics(font).horizontalAdvance(text)};
}
