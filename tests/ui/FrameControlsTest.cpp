// Frame controls: scroll arrows in every direction, check boxes and push
// buttons, read back pixel by pixel.

#include "ui/FrameControls.h"
#include "ui/ImageProbe.h"

#include <gtest/gtest.h>

namespace {

const TColor Marker = RGB(0, 200, 0);
const TColor Face = RGB(212, 208, 200);
const TColor Shadow = RGB(128, 128, 128);
const TColor DarkShadow = RGB(64, 64, 64);
const TColor White = RGB(255, 255, 255);
const TColor Black = RGB(0, 0, 0);

QImage Control(unsigned type, unsigned state, int width = 17, int height = 17)
{
    return Render(width, height, Marker, [&](QPainter& painter) {
        EXPECT_TRUE(DrawFrameControl(painter, QRect(0, 0, width, height), type, state));
    });
}

using Runs = std::vector<std::pair<int, int>>;

// Runs of the colour down column x: (first y, length) pairs.
Runs ColumnRuns(const QImage& image, int x, TColor color)
{
    return RowRuns(image.transformed(QTransform(0, 1, 1, 0, 0, 0)), x, color);
}

} // namespace

TEST(FrameControls, ScrollArrowsPointTheirWay)
{
    const QImage down = Control(DFC_SCROLL, DFCS_SCROLLDOWN);
    EXPECT_EQ(RowRuns(down, 6, Black), (Runs{{5, 7}}));
    EXPECT_EQ(RowRuns(down, 9, Black), (Runs{{8, 1}}));
    EXPECT_EQ(CountPixels(down, Black), 7 + 5 + 3 + 1);
    EXPECT_EQ(PixelAt(down, 0, 0), White);   // soft raised edge
    EXPECT_EQ(PixelAt(down, 16, 16), DarkShadow);

    const QImage up = Control(DFC_SCROLL, DFCS_SCROLLUP);
    EXPECT_EQ(RowRuns(up, 6, Black), (Runs{{8, 1}}));
    EXPECT_EQ(RowRuns(up, 9, Black), (Runs{{5, 7}}));

    const QImage left = Control(DFC_SCROLL, DFCS_SCROLLLEFT);
    EXPECT_EQ(ColumnRuns(left, 6, Black), (Runs{{8, 1}}));
    EXPECT_EQ(ColumnRuns(left, 9, Black), (Runs{{5, 7}}));
    const QImage right = Control(DFC_SCROLL, DFCS_SCROLLRIGHT);
    EXPECT_EQ(ColumnRuns(right, 6, Black), (Runs{{5, 7}}));
    EXPECT_EQ(ColumnRuns(right, 9, Black), (Runs{{8, 1}}));

    const QImage combo = Control(DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    EXPECT_EQ(combo, down);
}

TEST(FrameControls, PushedFlatAndInactiveArrows)
{
    const QImage pushed = Control(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    EXPECT_EQ(RowRuns(pushed, 7, Black), (Runs{{6, 7}}));
    EXPECT_EQ(PixelAt(pushed, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(pushed, 16, 16), Shadow);
    EXPECT_EQ(PixelAt(pushed, 1, 1), Face);

    const QImage flat = Control(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT);
    EXPECT_EQ(RowRuns(flat, 6, Black), (Runs{{5, 7}}));
    EXPECT_EQ(PixelAt(flat, 16, 16), Shadow);

    const QImage inactive = Control(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
    EXPECT_EQ(CountPixels(inactive, Black), 0);
    EXPECT_EQ(RowRuns(inactive, 6, Shadow).front(), std::make_pair(5, 7));
    EXPECT_EQ(PixelAt(inactive, 12, 7), White);
}

TEST(FrameControls, ArrowsScaleWithTheButton)
{
    // 11 x 11: inside 7, arrow 2 rows over a 3-pixel base.
    const QImage small = Control(DFC_SCROLL, DFCS_SCROLLDOWN, 11, 11);
    EXPECT_EQ(RowsWith(small, clBlack), (std::vector<int>{4, 5}));
    EXPECT_EQ(RowRuns(small, 4, Black), (Runs{{4, 3}}));
    // 25 x 25: inside 21, arrow 7 rows over a 13-pixel base.
    const QImage big = Control(DFC_SCROLL, DFCS_SCROLLDOWN, 25, 25);
    EXPECT_EQ(RowsWith(big, clBlack).size(), 7u);
    EXPECT_EQ(RowRuns(big, 9, Black), (Runs{{6, 13}}));
}

TEST(FrameControls, CheckBoxes)
{
    const QImage unchecked = Control(DFC_BUTTON, DFCS_BUTTONCHECK, 13, 13);
    EXPECT_EQ(PixelAt(unchecked, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(unchecked, 1, 1), DarkShadow);
    EXPECT_EQ(PixelAt(unchecked, 12, 12), White);
    EXPECT_EQ(PixelAt(unchecked, 11, 11), Face);
    EXPECT_EQ(CountPixels(unchecked, White, QRect(2, 2, 9, 9)), 81);

    const QImage checked = Control(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 13, 13);
    EXPECT_EQ(RowRuns(checked, 3, Black), (Runs{{9, 1}}));
    EXPECT_EQ(RowRuns(checked, 5, Black), (Runs{{3, 1}, {7, 3}}));
    EXPECT_EQ(RowRuns(checked, 9, Black), (Runs{{5, 1}}));

    const QImage pushed = Control(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED, 13, 13);
    EXPECT_EQ(PixelAt(pushed, 6, 6), Face);

    // A box in a wider rectangle is the centred square.
    const QImage wide = Control(DFC_BUTTON, DFCS_BUTTONCHECK, 33, 13);
    EXPECT_EQ(PixelAt(wide, 9, 6), Marker);
    EXPECT_EQ(PixelAt(wide, 10 + 1, 0), Shadow);
    EXPECT_EQ(PixelAt(wide, 10 + 12, 12), White);
    EXPECT_EQ(PixelAt(wide, 23, 6), Marker);
}

TEST(FrameControls, PushButtonsAndUnknownParts)
{
    const QImage up = Control(DFC_BUTTON, DFCS_BUTTONPUSH, 20, 10);
    EXPECT_EQ(PixelAt(up, 0, 0), White);
    EXPECT_EQ(PixelAt(up, 19, 9), DarkShadow);
    EXPECT_EQ(PixelAt(up, 10, 5), Face);
    const QImage down = Control(DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED, 20, 10);
    EXPECT_EQ(PixelAt(down, 19, 9), White);

    QImage image = BlankImage(5, 5, Marker);
    QPainter painter(&image);
    EXPECT_FALSE(DrawFrameControl(painter, QRect(0, 0, 5, 5), 99, 0));
    EXPECT_FALSE(DrawFrameControl(painter, QRect(0, 0, 5, 5), DFC_SCROLL, 0x0004));
}
