// Classic edges, frames and the focus rectangle, read back pixel by pixel.

#include "ui/Draw3D.h"
#include "ui/ImageProbe.h"

#include <gtest/gtest.h>

namespace {

const TColor Marker = RGB(0, 200, 0);
const TColor Light = RGB(212, 208, 200);   // 3D light and button face
const TColor Shadow = RGB(128, 128, 128);
const TColor DarkShadow = RGB(64, 64, 64);
const TColor White = RGB(255, 255, 255);

QImage Edge(unsigned edge, unsigned flags, int size = 10)
{
    return Render(size, size, Marker, [&](QPainter& painter) { DrawEdge(painter, QRect(0, 0, size, size), edge, flags); });
}

} // namespace

TEST(Draw3D, RaisedEdgeHasLightTopLeftAndDarkBottomRightRings)
{
    const QImage image = Edge(EDGE_RAISED, BF_RECT);
    EXPECT_EQ(PixelAt(image, 0, 0), Light);
    EXPECT_EQ(PixelAt(image, 5, 0), Light);
    EXPECT_EQ(PixelAt(image, 0, 5), Light);
    EXPECT_EQ(PixelAt(image, 9, 0), DarkShadow);   // bottom and right lines cover the corners
    EXPECT_EQ(PixelAt(image, 0, 9), DarkShadow);
    EXPECT_EQ(PixelAt(image, 9, 9), DarkShadow);
    EXPECT_EQ(PixelAt(image, 1, 1), White);
    EXPECT_EQ(PixelAt(image, 8, 1), Shadow);
    EXPECT_EQ(PixelAt(image, 8, 8), Shadow);
    EXPECT_EQ(PixelAt(image, 5, 5), Marker) << "no middle without BF_MIDDLE";
    EXPECT_EQ(CountPixels(image, Marker), 36);
}

TEST(Draw3D, SunkenEdgeAndMiddle)
{
    const QImage image = Edge(EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(PixelAt(image, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(image, 9, 9), White);
    EXPECT_EQ(PixelAt(image, 1, 1), DarkShadow);
    EXPECT_EQ(PixelAt(image, 8, 8), Light);
    EXPECT_EQ(PixelAt(image, 5, 5), Light);
    EXPECT_EQ(CountPixels(image, Marker), 0);
}

TEST(Draw3D, ThinEdgesUseOneRing)
{
    const QImage raised = Edge(BDR_RAISEDINNER, BF_RECT);
    EXPECT_EQ(PixelAt(raised, 0, 0), White);
    EXPECT_EQ(PixelAt(raised, 9, 9), Shadow);
    EXPECT_EQ(PixelAt(raised, 1, 1), Marker);
    const QImage sunken = Edge(BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(PixelAt(sunken, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(sunken, 9, 9), White);
    EXPECT_EQ(CountPixels(sunken, Marker), 64);
}

TEST(Draw3D, OnlyTheFlaggedSidesAreDrawn)
{
    const QImage image = Edge(BDR_RAISEDINNER, BF_LEFT | BF_TOP);
    EXPECT_EQ(RowRuns(image, 0, White), (std::vector<std::pair<int, int>>{{0, 10}}));
    EXPECT_EQ(PixelAt(image, 0, 9), White);
    EXPECT_EQ(PixelAt(image, 9, 5), Marker);
    EXPECT_EQ(PixelAt(image, 5, 9), Marker);
    EXPECT_EQ(CountPixels(image, Shadow), 0);
}

TEST(Draw3D, FlatAndSoftVariants)
{
    const QImage flat = Edge(EDGE_SUNKEN, BF_RECT | BF_FLAT);
    EXPECT_EQ(PixelAt(flat, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(flat, 9, 9), Shadow);
    EXPECT_EQ(PixelAt(flat, 1, 1), Light);
    const QImage soft = Edge(EDGE_RAISED, BF_RECT | BF_SOFT);
    EXPECT_EQ(PixelAt(soft, 0, 0), White);
    EXPECT_EQ(PixelAt(soft, 1, 1), Light);
    EXPECT_EQ(PixelAt(soft, 9, 9), DarkShadow);
}

TEST(Draw3D, AdjustShrinksTheRectangleByTheRingsDrawn)
{
    QImage image = BlankImage(10, 10, Marker);
    QPainter painter(&image);
    QRect rect(0, 0, 10, 10);
    DrawEdge(painter, rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(rect, QRect(2, 2, 6, 6));
    rect = QRect(0, 0, 10, 10);
    DrawEdge(painter, rect, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_ADJUST);
    EXPECT_EQ(rect, QRect(1, 1, 9, 9));
    rect = QRect(0, 0, 10, 10);
    DrawEdge(painter, rect, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(rect, QRect(0, 0, 10, 10));
}

TEST(Draw3D, FillAndFrame)
{
    const QImage image = Render(6, 5, Marker, [](QPainter& painter) {
        FrameRect(painter, QRect(0, 0, 6, 5), clHighlight);
        FillRect(painter, QRect(2, 2, 1, 1), clWindowText);
        FillRect(painter, QRect(3, 2, 1, 1), clNone);
    });
    EXPECT_EQ(CountPixels(image, RGB(10, 36, 106)), 2 * 6 + 2 * 3);
    EXPECT_EQ(PixelAt(image, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(image, 3, 2), Marker);
}

TEST(Draw3D, FocusRectangleInvertsEveryOtherPixelAndUndoesItself)
{
    QImage image = BlankImage(8, 6, clWhite);
    {
        QPainter painter(&image);
        DrawFocusRect(painter, QRect(0, 0, 8, 6));
    }
    EXPECT_EQ(RowRuns(image, 0, clBlack), (std::vector<std::pair<int, int>>{{0, 1}, {2, 1}, {4, 1}, {6, 1}}));
    EXPECT_EQ(PixelAt(image, 0, 1), White);
    EXPECT_EQ(PixelAt(image, 0, 2), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(image, 7, 1), RGB(0, 0, 0));   // (7 + 1) is even
    EXPECT_EQ(PixelAt(image, 1, 5), RGB(0, 0, 0));
    EXPECT_EQ(CountPixels(image, clBlack, QRect(1, 1, 6, 4)), 0);
    EXPECT_EQ(CountPixels(image, clBlack), 12);
    {
        QPainter painter(&image);
        DrawFocusRect(painter, QRect(0, 0, 8, 6));
    }
    EXPECT_EQ(CountPixels(image, clWhite), 48);

    // On a coloured background the dots show the inverse colour.
    QImage highlight = BlankImage(4, 4, clHighlight);
    {
        QPainter painter(&highlight);
        DrawFocusRect(painter, QRect(0, 0, 4, 4));
    }
    EXPECT_EQ(PixelAt(highlight, 0, 0), RGB(245, 219, 149));
    EXPECT_EQ(PixelAt(highlight, 1, 0), RGB(10, 36, 106));
}
