#pragma once
// Reading rendered pictures back in tests: pixels as TColor values and runs
// of one colour along a row or column.

#include "platform/Color.h"
#include "ui/QtColor.h"

#include <QImage>
#include <QPainter>

#include <functional>
#include <utility>
#include <vector>

inline TColor PixelAt(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }

inline QImage BlankImage(int width, int height, TColor color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(ToQColor(color));
    return image;
}

inline QImage Render(int width, int height, TColor background, const std::function<void(QPainter&)>& paint)
{
    QImage image = BlankImage(width, height, background);
    QPainter painter(&image);
    paint(painter);
    painter.end();
    return image;
}

// Runs of pixels of the colour in row y: (first x, length) pairs.
inline std::vector<std::pair<int, int>> RowRuns(const QImage& image, int y, TColor color)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (PixelAt(image, x, y) != ColorToRGB(color))
            continue;
        if (!runs.empty() && runs.back().first + runs.back().second == x)
            ++runs.back().second;
        else
            runs.emplace_back(x, 1);
    }
    return runs;
}

inline int CountPixels(const QImage& image, TColor color, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (PixelAt(image, x, y) == ColorToRGB(color))
                ++count;
    return count;
}

// The rows that hold at least one pixel of the colour.
inline std::vector<int> RowsWith(const QImage& image, TColor color)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (!RowRuns(image, y, color).empty())
            rows.push_back(y);
    return rows;
}
