#include "grid/paint/GridImages.h"

#include "ui/QtColor.h"

#include <initializer_list>
#include <string_view>
#include <utility>

namespace {

// One picture: its rows top to bottom, one character per pixel, and the
// colour of each character it uses.
struct TPixelPicture {
    std::string_view Name;
    std::initializer_list<std::string_view> Rows;
    std::initializer_list<std::pair<char, TColor>> Palette;
};

constexpr TColor Teal = clTeal;
constexpr TColor DarkGrey = RGB(128, 128, 128);
constexpr TColor Magenta = clFuchsia;

// Indicator glyphs: black on white (white is their transparent colour).
const TPixelPicture Bitmaps[] = {
    {"DBGARROWGX",
     {"#.....", "##....", "###...", "####..", "#####.", "######", "#####.", "####..", "###...", "##....",
      "#....."},
     {{'#', clBlack}, {'.', clWhite}}},
    {"DBEDITGX",
     {"##..##", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..",
      "##..##"},
     {{'#', clBlack}, {'.', clWhite}}},
    {"DBINSERTGX",
     {"......", "......", "......", ".#..#.", "..##..", "######", "..##..", ".#..#.", "......", "......",
      "......"},
     {{'#', clBlack}, {'.', clWhite}}},
    {"DBMULTIDOTGX",
     {"......", "......", "......", "......", "..##..", ".####.", ".####.", ".####.", "..##..", "......",
      "......"},
     {{'#', clBlack}, {'.', clWhite}}},
    {"DBMULTIARROWGX",
     {"#.....", "##....", "###...", "####..", "#..##.", "#..###", "#..##.", "####..", "###...", "##....",
      "#....."},
     {{'#', clBlack}, {'.', clWhite}}},
    // The arrow in white on teal (teal is its transparent colour).
    {"DBGARROWGXW",
     {"W.....", "WW....", "WWW...", "WWWW..", "WWWWW.", "WWWWWW", "WWWWW.", "WWWW..", "WWW...", "WW....",
      "W....."},
     {{'W', clWhite}, {'.', Teal}}},
    // Sort markers on magenta (their transparent colour): a downward
    // triangle with a dark top and left side and a white right side, and an
    // upward one with a dark left side and a white right side and base.
    {"DBSMDOWNGX",
     {"GGGGGGGGGG", ".G......W.", ".G......W.", "..G....W..", "..G....W..", "...G..W...", "...G..W...",
      "....GW....", "....GW...."},
     {{'G', DarkGrey}, {'W', clWhite}, {'.', Magenta}}},
    {"DBSMUPGX",
     {"....GW....", "....GW....", "...G..W...", "...G..W...", "..G....W..", "..G....W..", ".G......W.",
      ".G......W.", "GWWWWWWWWW"},
     {{'G', DarkGrey}, {'W', clWhite}, {'.', Magenta}}},
};

// The column-select cursor: a white arrow pointing down with a black
// outline; the row-select cursors are the same arrow turned to the right
// and to the left.
const TPixelPicture DownArrowCursor{
    "DOWNCURGX",
    {"......####......", "......#oo#......", "......#oo#......", "......#oo#......", "......#oo#......",
     "......#oo#......", "......#oo#......", "..#####oo#####..", "...#oooooooo#...", "....#oooooo#....",
     ".....#oooo#.....", "......#oo#......", ".......##.......", "................", "................",
     "................"},
    {{'#', clBlack}, {'o', clWhite}}};
const QPoint DownArrowHotSpot(7, 12);

QImage Render(const TPixelPicture& picture)
{
    const int height = static_cast<int>(picture.Rows.size());
    const int width = height > 0 ? static_cast<int>(picture.Rows.begin()->size()) : 0;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (std::string_view row : picture.Rows) {
        for (int x = 0; x < width && x < static_cast<int>(row.size()); ++x)
            for (const auto& [ch, color] : picture.Palette)
                if (row[static_cast<size_t>(x)] == ch)
                    image.setPixelColor(x, y, ToQColor(color));
        ++y;
    }
    return image;
}

QImage Transposed(const QImage& image)
{
    QImage result(image.height(), image.width(), image.format());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            result.setPixel(y, x, image.pixel(x, y));
    return result;
}

}  // namespace

QImage LoadGridBitmap(std::string_view name)
{
    for (const TPixelPicture& picture : Bitmaps)
        if (picture.Name == name)
            return Render(picture).convertToFormat(QImage::Format_RGB32);
    return QImage();
}

std::optional<QCursor> LoadGridCursor(std::string_view name)
{
    const QImage down = Render(DownArrowCursor);
    if (name == "DOWNCURGX")
        return QCursor(QPixmap::fromImage(down), DownArrowHotSpot.x(), DownArrowHotSpot.y());
    if (name == "RIGHTCURGX")
        return QCursor(QPixmap::fromImage(Transposed(down)), DownArrowHotSpot.y(), DownArrowHotSpot.x());
    if (name == "LEFTCURGX") {
        const QImage left = Transposed(down).mirrored(true, false);
        return QCursor(QPixmap::fromImage(left), left.width() - 1 - DownArrowHotSpot.y(), DownArrowHotSpot.x());
    }
    return std::nullopt;
}

QPixmap MaskedPixmap(const QImage& image, TColor transparent)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb();
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    return QPixmap::fromImage(masked);
}
