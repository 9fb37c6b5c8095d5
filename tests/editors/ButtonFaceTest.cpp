// Button faces and check boxes rendered into images: where the glyphs sit,
// their sizes, the pressed, disabled, flat and hot looks, and the cache.

#include "editors/ButtonPainter.h"
#include "editors/ButtonsBitmapCache.h"
#include "ui/ImageProbe.h"
#include "ui/SystemMetrics.h"

#include <gtest/gtest.h>

namespace {

const TColor Marker = RGB(0, 200, 0);
const TColor Face = ColorToRGB(clBtnFace);
const TColor Shadow = RGB(128, 128, 128);
const TColor DarkShadow = RGB(64, 64, 64);
const TColor White = RGB(255, 255, 255);

QImage Face3D(TButtonFaceKindGx kind, int width, int height, bool pressed = false, bool enabled = true)
{
    return Render(width, height, Marker, [&](QPainter& painter) {
        DrawEditButtonFace(painter, QRect(0, 0, width, height), kind, pressed, false, false, enabled);
    });
}

// Restores the global cache switch after a test.
class ButtonFaces : public ::testing::Test {
protected:
    void TearDown() override { SetButtonsBitmapCacheEnabled(true); }
};

std::vector<std::pair<int, int>> Dots(const QImage& image, int y) { return RowRuns(image, y, clBlack); }

} // namespace

TEST_F(ButtonFaces, EllipsisDotAndGapSizesFollowTheInnerWidth)
{
    struct TCase {
        int InnerWidth;
        int Dot;
        int Gap;
    };
    for (const TCase c : {TCase{7, 1, 1}, TCase{10, 2, 1}, TCase{12, 2, 2}}) {
        SCOPED_TRACE(c.InnerWidth);
        // A 3D face has a 2-pixel edge on every side.
        const int width = c.InnerWidth + 4;
        const int height = 15;
        const QImage image = Face3D(bfkEllipsisGx, width, height);
        const std::vector<int> rows = RowsWith(image, clBlack);
        ASSERT_EQ(rows.size(), static_cast<size_t>(c.Dot));
        EXPECT_EQ(rows.front(), 2 + 11 / 2 - c.Dot / 2);
        const auto dots = Dots(image, rows.front());
        ASSERT_EQ(dots.size(), 3u);
        const int middleLeft = 2 + c.InnerWidth / 2 - c.Dot / 2;
        EXPECT_EQ(dots[1].first, middleLeft);
        for (const auto& dot : dots)
            EXPECT_EQ(dot.second, c.Dot);
        EXPECT_EQ(dots[1].first - (dots[0].first + c.Dot), c.Gap);
        EXPECT_EQ(dots[2].first - (dots[1].first + c.Dot), c.Gap);
    }
}

TEST_F(ButtonFaces, PressedEllipsisIsSunkenAndMovesItsDots)
{
    const QImage up = Face3D(bfkEllipsisGx, 16, 15);
    const QImage down = Face3D(bfkEllipsisGx, 16, 15, true);
    // Raised: dark shadow at the bottom right; sunken: shadow at the top left.
    EXPECT_EQ(PixelAt(up, 15, 14), DarkShadow);
    EXPECT_EQ(PixelAt(up, 1, 1), White);
    EXPECT_EQ(PixelAt(down, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(down, 1, 1), DarkShadow);
    EXPECT_EQ(PixelAt(down, 15, 14), White);
    const int upRow = RowsWith(up, clBlack).front();
    EXPECT_EQ(RowsWith(down, clBlack).front(), upRow + 1);
    EXPECT_EQ(Dots(down, upRow + 1)[0].first, Dots(up, upRow)[0].first + 1);
}

TEST_F(ButtonFaces, DisabledGlyphsAreEmbossed)
{
    // Inner 12 x 11: 2-pixel dots at 3, 7 and 11 in rows 6 and 7; the
    // shadow column at 14 is the edge's.
    const QImage image = Face3D(bfkEllipsisGx, 16, 15, false, false);
    EXPECT_EQ(CountPixels(image, clBlack), 0);
    EXPECT_EQ(RowRuns(image, 6, Shadow), (std::vector<std::pair<int, int>>{{3, 2}, {7, 2}, {11, 2}, {14, 1}}));
    // The highlight shows one pixel right of and below each dot.
    EXPECT_EQ(PixelAt(image, 5, 7), White);
    EXPECT_EQ(PixelAt(image, 5, 8), White);
    EXPECT_EQ(PixelAt(image, 4, 8), White);
    EXPECT_EQ(PixelAt(image, 3, 8), Face);

    const QImage plus = Face3D(bfkPlusGx, 15, 15, false, false);
    EXPECT_EQ(CountPixels(plus, clBlack), 0);
    EXPECT_GT(CountPixels(plus, Shadow, QRect(2, 2, 11, 11)), 0);
}

TEST_F(ButtonFaces, PlusAndMinusBarsAreCentredOnWholePixels)
{
    // Inner 11 x 11: bar length 11 * 4 / 7 = 6, made odd (5), thickness 1.
    const QImage minus = Face3D(bfkMinusGx, 15, 15);
    EXPECT_EQ(RowsWith(minus, clBlack), std::vector<int>{7});
    EXPECT_EQ(Dots(minus, 7), (std::vector<std::pair<int, int>>{{5, 5}}));

    const QImage plus = Face3D(bfkPlusGx, 15, 15);
    EXPECT_EQ(CountPixels(plus, clBlack), 9);
    EXPECT_EQ(RowsWith(plus, clBlack), (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(plus.transformed(QTransform().rotate(90)).pixelColor(7, 5), plus.pixelColor(5, 7));

    // A larger face: thickness grows with the length, both centred.
    const QImage big = Face3D(bfkPlusGx, 25, 25);   // inner 21: length 12 -> 11, thickness 3
    EXPECT_EQ(Dots(big, 12), (std::vector<std::pair<int, int>>{{7, 11}}));
    EXPECT_EQ(RowsWith(big, clBlack).size(), 11u);
    EXPECT_EQ(Dots(big, 7), (std::vector<std::pair<int, int>>{{11, 3}}));
}

TEST_F(ButtonFaces, DropDownArrowSitsInTheMiddleAndMovesWhenPressed)
{
    const QImage up = Face3D(bfkDropDownGx, 17, 17);
    // A 7-pixel base over a 4-row triangle pointing down.
    EXPECT_EQ(Dots(up, 6), (std::vector<std::pair<int, int>>{{5, 7}}));
    EXPECT_EQ(Dots(up, 9), (std::vector<std::pair<int, int>>{{8, 1}}));
    EXPECT_EQ(RowsWith(up, clBlack).size(), 4u);
    EXPECT_EQ(PixelAt(up, 16, 16), DarkShadow);
    EXPECT_EQ(PixelAt(up, 0, 0), White);

    const QImage down = Face3D(bfkDropDownGx, 17, 17, true);
    EXPECT_EQ(Dots(down, 7), (std::vector<std::pair<int, int>>{{6, 7}}));
    // Pressed arrows show a flat shadow frame.
    EXPECT_EQ(PixelAt(down, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(down, 16, 16), Shadow);
    EXPECT_EQ(PixelAt(down, 1, 1), Face);

    const QImage disabled = Face3D(bfkDropDownGx, 17, 17, false, false);
    EXPECT_EQ(CountPixels(disabled, clBlack), 0);
    EXPECT_TRUE(Dots(disabled, 6).empty());
    EXPECT_EQ(RowRuns(disabled, 6, Shadow).front(), std::make_pair(5, 7));
    EXPECT_EQ(PixelAt(disabled, 12, 7), White);
}

TEST_F(ButtonFaces, UpDownPairSplitsIntoTwoArrowsWithThePressedHalfSunk)
{
    const int width = 16;
    const int height = 21;   // odd: one row between the halves
    const QImage image = Render(width, height, Marker, [&](QPainter& painter) {
        PaintButtonFace(painter, QRect(0, 0, width, height), clRed, true, false, false, ebpBottomGx, bfkUpDownGx);
    });
    // The middle row takes the background colour.
    EXPECT_EQ(RowRuns(image, 10, clRed), (std::vector<std::pair<int, int>>{{0, width}}));
    const std::vector<int> rows = RowsWith(image, clBlack);
    ASSERT_FALSE(rows.empty());
    // Top half: arrow up (widest row last); bottom half: arrow down, 1 pixel lower when pressed.
    std::vector<int> topRows;
    std::vector<int> bottomRows;
    for (int row : rows)
        (row < 10 ? topRows : bottomRows).push_back(row);
    ASSERT_FALSE(topRows.empty());
    ASSERT_FALSE(bottomRows.empty());
    EXPECT_LT(Dots(image, topRows.front())[0].second, Dots(image, topRows.back())[0].second);
    EXPECT_GT(Dots(image, bottomRows.front())[0].second, Dots(image, bottomRows.back())[0].second);
    // Raised top half (dark shadow bottom-right), flat pressed bottom half.
    EXPECT_EQ(PixelAt(image, width - 1, 9), DarkShadow);
    EXPECT_EQ(PixelAt(image, 0, 11), Shadow);
    EXPECT_EQ(PixelAt(image, width - 1, height - 1), Shadow);
    EXPECT_EQ(topRows.front() - 0 + 1, bottomRows.front() - 11);
}

TEST_F(ButtonFaces, FlatInactiveFaceHasNoBorderOnlyTheBackgroundFrame)
{
    for (TButtonFaceKindGx kind : {bfkDropDownGx, bfkEllipsisGx, bfkPlusGx}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const QImage image = Render(13, 17, Marker, [&](QPainter& painter) {
            PaintButtonFace(painter, QRect(0, 0, 13, 17), clRed, true, false, true, ebpNoneGx, kind);
        });
        EXPECT_EQ(CountPixels(image, clRed), 2 * 13 + 2 * 15);
        EXPECT_EQ(CountPixels(image, DarkShadow), 0);
        EXPECT_EQ(CountPixels(image, White), 0);
        EXPECT_EQ(CountPixels(image, Shadow), 0);
        EXPECT_EQ(CountPixels(image, Marker), 0);
        EXPECT_GT(CountPixels(image, clBlack), 0);
    }
}

TEST_F(ButtonFaces, FlatActiveFaceShowsAThinEdge)
{
    const auto paint = [](TEditButtonPartGx part) {
        return Render(13, 17, Marker, [&](QPainter& painter) {
            PaintButtonFace(painter, QRect(0, 0, 13, 17), clRed, true, true, true, part, bfkEllipsisGx);
        });
    };
    const QImage hot = paint(ebpNoneGx);
    EXPECT_EQ(PixelAt(hot, 0, 0), White);
    EXPECT_EQ(PixelAt(hot, 12, 16), Shadow);
    EXPECT_EQ(PixelAt(hot, 1, 1), Face);
    EXPECT_EQ(CountPixels(hot, clRed), 0);
    const QImage pressed = paint(ebpTopGx);
    EXPECT_EQ(PixelAt(pressed, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(pressed, 12, 16), White);
}

TEST_F(ButtonFaces, CheckBoxesInTheirStates)
{
    const auto paint = [](TCheckPaintStateGx state, bool flat, bool enabled) {
        return Render(13, 13, Marker, [&](QPainter& painter) {
            PaintCheckBoxFace(painter, QRect(0, 0, 13, 13), clRed, state, flat, enabled);
        });
    };
    const QImage unchecked = paint(cpsUncheckedGx, false, true);
    EXPECT_EQ(PixelAt(unchecked, 0, 0), Shadow);
    EXPECT_EQ(PixelAt(unchecked, 1, 1), DarkShadow);
    EXPECT_EQ(PixelAt(unchecked, 12, 12), White);
    EXPECT_EQ(PixelAt(unchecked, 11, 11), Face);
    EXPECT_EQ(CountPixels(unchecked, White, QRect(2, 2, 9, 9)), 81);

    // The 7 x 7 check mark sits in the middle of the 9 x 9 inside.
    const QImage checked = paint(cpsCheckedGx, false, true);
    EXPECT_EQ(PixelAt(checked, 9, 3), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(checked, 3, 5), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(checked, 5, 9), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(checked, 3, 3), White);
    EXPECT_EQ(CountPixels(checked, clBlack), 21);

    const QImage grayed = paint(cpsGrayedGx, false, true);
    EXPECT_EQ(CountPixels(grayed, clBlack), 0);
    EXPECT_EQ(PixelAt(grayed, 9, 3), Shadow);
    EXPECT_NE(PixelAt(grayed, 3, 3), PixelAt(grayed, 4, 3));   // dithered inside

    const QImage disabled = paint(cpsCheckedGx, false, false);
    EXPECT_EQ(PixelAt(disabled, 9, 3), Shadow);
    EXPECT_EQ(PixelAt(disabled, 3, 3), Face);

    // Flat: background ring, shadow ring, then the inside.
    const QImage flat = paint(cpsCheckedGx, true, true);
    EXPECT_EQ(PixelAt(flat, 0, 0), ColorToRGB(clRed));
    EXPECT_EQ(PixelAt(flat, 1, 6), ColorToRGB(clRed));
    EXPECT_EQ(PixelAt(flat, 2, 2), Shadow);
    EXPECT_EQ(PixelAt(flat, 10, 10), Shadow);
    EXPECT_EQ(PixelAt(flat, 3, 3), White);
    EXPECT_EQ(CountPixels(flat, DarkShadow), 0);
}

TEST_F(ButtonFaces, CheckBoxTakesTheCentredSquareOfItsRectangle)
{
    // A cell narrower than the check size: the box spans the whole width.
    const QImage image = Render(9, 20, Marker, [&](QPainter& painter) {
        PaintCheckBoxFace(painter, QRect(0, 0, 9, 20), clRed, cpsUncheckedGx, false);
    });
    const int top = (20 - 9) / 2;
    EXPECT_EQ(PixelAt(image, 0, top), Shadow);
    EXPECT_EQ(PixelAt(image, 8, top + 8), White);
    EXPECT_EQ(PixelAt(image, 4, top - 1), Marker);
    EXPECT_EQ(PixelAt(image, 4, top + 9), Marker);
}

TEST_F(ButtonFaces, CachedAndDirectDrawingLookTheSame)
{
    struct TCase {
        TButtonFaceKindGx Kind;
        TEditButtonPartGx Part;
        bool Flat;
        bool Active;
        bool Enabled;
    };
    const TCase cases[] = {
        {bfkDropDownGx, ebpNoneGx, false, false, true}, {bfkDropDownGx, ebpTopGx, true, true, true},
        {bfkEllipsisGx, ebpTopGx, false, false, false}, {bfkUpDownGx, ebpBottomGx, true, false, true},
        {bfkUpDownGx, ebpTopGx, false, false, true},    {bfkPlusGx, ebpNoneGx, true, true, false},
        {bfkMinusGx, ebpTopGx, false, false, true},     {bfkCheckBoxGx, ebpTopGx /* checked */, true, false, true},
        {bfkCheckBoxGx, ebpBottomGx /* grayed */, false, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Kind) * 100 + c.Part * 10 + c.Flat);
        const auto paint = [&](bool cached) {
            SetButtonsBitmapCacheEnabled(cached);
            return Render(15, 19, Marker, [&](QPainter& painter) {
                PaintButtonFace(painter, QRect(0, 0, 15, 19), clTeal, c.Enabled, c.Active, c.Flat, c.Part, c.Kind);
            });
        };
        EXPECT_EQ(paint(true), paint(false));
    }
}

TEST_F(ButtonFaces, IdenticalCheckBoxesShareOneCachedBitmap)
{
    TButtonsBitmapCache& cache = ButtonsBitmapCache();
    cache.Clear();
    QImage image = BlankImage(60, 20, clWindow);
    QPainter painter(&image);
    PaintCheckBoxFace(painter, QRect(0, 0, 20, 20), clWindow, cpsCheckedGx, false);
    EXPECT_EQ(cache.Count(), 1);
    PaintCheckBoxFace(painter, QRect(30, 2, 16, 16), clYellow, cpsCheckedGx, false);   // another size
    EXPECT_EQ(cache.Count(), 2);
    PaintCheckBoxFace(painter, QRect(40, 0, 20, 20), clYellow, cpsCheckedGx, false);
    EXPECT_EQ(cache.Count(), 2);
    PaintCheckBoxFace(painter, QRect(40, 0, 20, 20), clYellow, cpsUncheckedGx, false);
    PaintCheckBoxFace(painter, QRect(40, 0, 20, 20), clYellow, cpsCheckedGx, true);
    EXPECT_EQ(cache.Count(), 4);

    const auto key = TButtonBitmapKeyGx::Make(20, 20, bfkCheckBoxGx, false, cpsCheckedGx, false, true, udhUpGx);
    const QImage& first = cache.GetButtonBitmap(key);
    const QImage& second = cache.GetButtonBitmap(key);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(cache.Count(), 4);

    SetButtonsBitmapCacheEnabled(false);
    PaintCheckBoxFace(painter, QRect(0, 0, 12, 12), clWindow, cpsCheckedGx, false);
    PaintButtonFace(painter, QRect(0, 0, 12, 17), clWindow, true, false, false, ebpNoneGx, bfkEllipsisGx);
    EXPECT_EQ(cache.Count(), 4);
}

TEST_F(ButtonFaces, KeysAreWholeZeroFilledByteBlocks)
{
    const auto a = TButtonBitmapKeyGx::Make(-5, 17, bfkDropDownGx, true, 1, false, true, udhDownGx);
    EXPECT_EQ(a.Width, 0);
    EXPECT_EQ(a.Height, 17);
    EXPECT_EQ(a.Reserved[0], 0);
    EXPECT_EQ(a.Reserved[1], 0);
    const auto b = TButtonBitmapKeyGx::Make(0, 17, bfkDropDownGx, true, 1, false, true, udhDownGx);
    EXPECT_TRUE(a == b);
    for (int field = 0; field < 6; ++field) {
        auto c = b;
        reinterpret_cast<uint8_t*>(&c)[8 + field] ^= 1;
        EXPECT_FALSE(c == b) << field;
    }
    TButtonsBitmapCache cache;
    EXPECT_EQ(cache.GetButtonBitmap(b).size(), QSize(1, 17));
    // A kind the painter does not know leaves the bitmap empty.
    auto unknown = TButtonBitmapKeyGx::Make(8, 8, bfkMinusGx, false, 0, false, true, udhUpGx);
    unknown.Kind = 9;
    const QImage& empty = cache.GetButtonBitmap(unknown);
    EXPECT_EQ(empty.size(), QSize(8, 8));
    EXPECT_EQ(empty.pixelColor(4, 4).alpha(), 0);
    EXPECT_EQ(cache.Count(), 2);
}

TEST_F(ButtonFaces, DefaultButtonWidths)
{
    const int flat = FlatEditButtonWidth();
    EXPECT_EQ(flat % 2, 1);
    EXPECT_LE(flat, VerticalScrollBarWidth());
    EXPECT_EQ(DefaultEditButtonWidth(true), flat);
    EXPECT_EQ(DefaultEditButtonWidth(false), VerticalScrollBarWidth());
}

TEST_F(ButtonFaces, FacesOfAnySizeStayInsideTheirRectangle)
{
    const TButtonFaceKindGx kinds[] = {bfkDropDownGx, bfkEllipsisGx, bfkUpDownGx, bfkCheckBoxGx, bfkPlusGx, bfkMinusGx};
    for (bool cached : {true, false}) {
        SetButtonsBitmapCacheEnabled(cached);
        for (TButtonFaceKindGx kind : kinds)
            for (int size : {0, 1, 2, 3, 5, 8, 13})
                for (int look = 0; look < 8; ++look) {
                    const bool flat = look & 1;
                    const bool active = look & 2;
                    const auto part = (look & 4) ? ebpBottomGx : ebpNoneGx;
                    const QRect rect(10, 10, size, size + 3);
                    const QImage image = Render(40, 40, Marker, [&](QPainter& painter) {
                        PaintButtonFace(painter, rect, clRed, true, active, flat, part, kind);
                    });
                    const int inside = rect.isEmpty() ? 0 : rect.width() * rect.height();
                    const int markedInside = rect.isEmpty() ? 0 : CountPixels(image, Marker, rect);
                    EXPECT_EQ(CountPixels(image, Marker) - markedInside, 40 * 40 - inside)
                        << "kind " << int(kind) << " size " << size << " look " << look << " cached " << cached;
                    // Buttons cover their whole rectangle; check boxes only their square.
                    if (kind != bfkCheckBoxGx)
                        EXPECT_EQ(markedInside, 0) << "kind " << int(kind) << " size " << size << " look " << look;
                }
    }
}
