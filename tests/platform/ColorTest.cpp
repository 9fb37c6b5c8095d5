#include "platform/Color.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

TEST(Color, RgbPacksRedInTheLowByte)
{
    TColor c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x00563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
    EXPECT_EQ(clRed, RGB(255, 0, 0));
    EXPECT_EQ(clBlue, RGB(0, 0, 255));
    EXPECT_EQ(clOlive, RGB(128, 128, 0));
    EXPECT_EQ(clTeal, RGB(0, 128, 128));
}

TEST(Color, SystemColoursCarryTheirIndexAndResolveThroughTheClassicScheme)
{
    EXPECT_EQ(clScrollBar, 0x80000000u);
    EXPECT_EQ(clBtnFace, 0x8000000Fu);
    EXPECT_EQ(clInfoBk, 0x80000018u);
    EXPECT_TRUE(IsSystemColor(clWindow));
    EXPECT_FALSE(IsSystemColor(clWhite));

    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 36, 106));
    EXPECT_EQ(ColorToRGB(clHighlightText), clWhite);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), RGB(64, 64, 64));
    EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
    EXPECT_EQ(ColorToRGB(clMenuBar), RGB(212, 208, 200));
    // Every index of the table resolves to a plain RGB value.
    for (int i = 0; i < SystemColorCount; ++i)
        EXPECT_FALSE(IsSystemColor(ColorToRGB(SystemColor(i)))) << i;
    EXPECT_EQ(GetSysColor(SystemColorCount), clBlack);
    EXPECT_EQ(GetSysColor(-1), clBlack);
}

TEST(Color, ColorToRgbKeepsRgbAndMarkers)
{
    EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(Color, ColorToStringNamesKnownColoursAndWritesHexOtherwise)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clSilver), "clSilver");   // not its alias clLtGray
    EXPECT_EQ(ColorToString(clNone), "clNone");
    EXPECT_EQ(ColorToString(RGB(255, 0, 255)), "clFuchsia");
    EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
    EXPECT_EQ(ColorToString(0x8000001Fu), "$8000001F");
}

TEST(Color, StringToColorReadsNamesHexAndDecimal)
{
    EXPECT_EQ(StringToColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(StringToColor("$00FF00FF"), clFuchsia);
    EXPECT_EQ(StringToColor("$ff"), clRed);
    EXPECT_EQ(StringToColor("0x0000FF00"), clLime);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    for (TColor c : {clBlack, clWindow, clInfoText, RGB(9, 8, 7), clDefault, 0x8000001Fu})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
}

TEST(Color, StringToColorRejectsJunk)
{
    for (const char* bad : {"", "clNoSuchColor", "$", "$1G", "$123456789", "12a", "0x", "4294967296", "-"}) {
        TColor c;
        EXPECT_FALSE(TryStringToColor(bad, c)) << bad;
    }
    try {
        StringToColor("purple-ish");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'purple-ish' is not a valid color value");
    }
}
