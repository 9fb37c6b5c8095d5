// The RTF export: the exact document of a one-column table, the colour and
// font tables, cell texts with their escapes and font words, twips, footer
// rows and merged multi-level titles.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/RtfText.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxExportClass RTF = ExportClass<TDBGridGxExportAsRTF>;
const std::string Head = "{\\rtf0\\ansi\r\n"
                         "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red212\\green208\\blue200;";
const std::string AllBorders = "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                               "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n";

TFontGx Font(const char* family, int points, TColor color = clWindowText)
{
    QFont font(family);
    font.setPointSize(points);
    return TFontGx(font, color);
}

// A grid over one string column A whose look is fixed by the test.
class RtfExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.AddField("A", ftString, 20);
        Grid.AddRecord({TVariant("x")});
        Grid.Bind();
        // User columns: adding another one keeps this one.
        Column = Grid.Grid->Columns().Add();
        Column->SetFieldName("A");
        Column->SetWidth(64);
        Column->SetFont(Font("Arial", 10));
        Column->SetColor(clWindow);
        Column->Title()->SetFont(Font("Arial", 10));
        Column->Title()->SetColor(clBtnFace);
        Twips = 64 * 1440 / Grid.Grid->logicalDpiX();
    }
    std::string Export() { return Exported(RTF, *Grid.Grid, true); }
    std::string Definition(int shading, const std::string& borders = AllBorders)
    {
        return "\\trowd\\trgaph40\r\n" + borders + "\\clshdng10000\\clcfpat" + std::to_string(shading) + "\\cellx" +
               std::to_string(Twips) + "\r\n{\\trrh0\r\n";
    }

    TExportGrid Grid;
    TColumnGx* Column = nullptr;
    int Twips = 0;
};

TEST_F(RtfExport, OneColumnWithTitleAndOneRecord)
{
    const std::string expected = Head + "}\r\n{\\fonttbl\\f0\\fnil Arial;}\r\n" + Definition(2) +
                                 "\\pard\\intbl{\\ql\\sb24\\sa24\\fs20\\f0\\cf0\\cb2 A\\cell}\r\n"
                                 "\\pard\\intbl\\row}\r\n" +
                                 Definition(1) +
                                 "\\pard\\intbl{\\ql\\sb24\\sa24\\fs20\\f0\\cf0\\cb1 x\\cell}\r\n"
                                 "\\pard\\intbl\\row}\r\n}";
    EXPECT_EQ(Export(), expected);
}

TEST_F(RtfExport, FlatGridSpacesCellsLess)
{
    Grid.Grid->SetFlat(true);
    EXPECT_NE(Export().find("\\pard\\intbl{\\ql\\sb12\\sa12\\fs20\\f0\\cf0\\cb1 x\\cell}"), std::string::npos);
}

TEST_F(RtfExport, FirstThreeColoursAreFixedAndNoColourTwice)
{
    Column->SetColor(clRed);
    Column->Title()->SetColor(clWhite);
    Column->SetFont(Font("Arial", 10, RGB(212, 208, 200)));
    const std::string text = Export();
    const std::string colours = Head + "\\red255\\green0\\blue0;}\r\n";
    EXPECT_EQ(text.substr(0, colours.size()), colours);
    EXPECT_NE(text.find("\\cf2\\cb3 x"), std::string::npos);
    EXPECT_NE(text.find("\\clcfpat1\\cellx"), std::string::npos);
}

TEST_F(RtfExport, FontNamesDifferingInCaseShareOneEntry)
{
    Grid.Grid->Columns().Add()->SetFieldName("A");
    Grid.Grid->Columns()[1]->SetFont(Font("ARIAL", 10));
    Grid.Grid->Columns()[1]->Title()->SetFont(Font("Courier New", 10));
    const std::string text = Export();
    EXPECT_NE(text.find("{\\fonttbl\\f0\\fnil Arial;\\f1\\fnil Courier New;}\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\\f2"), std::string::npos);
}

TEST_F(RtfExport, BracesAndBackslashesAreEscaped)
{
    Grid.Table->Edit();
    Grid.Table->FieldByName("A")->SetAsString("a{b}\\c");
    Grid.Table->Post();
    EXPECT_NE(Export().find("\\cb1 a\\{b\\}\\\\c\\cell}"), std::string::npos);
}

TEST_F(RtfExport, BoldUnderlinedEightPointFont)
{
    TFontGx font = Font("Arial", 8);
    font.setBold(true);
    font.setUnderline(true);
    Column->SetFont(font);
    EXPECT_NE(Export().find("\\fs16\\b\\ul\\f0\\cf0\\cb1 x"), std::string::npos);
    font.setItalic(true);
    font.setStrikeOut(true);
    Column->SetFont(font);
    EXPECT_NE(Export().find("\\fs16\\b\\i\\strike\\ul\\f0"), std::string::npos);
}

TEST_F(RtfExport, PixelSizedFontsAreConvertedToPoints)
{
    QFont font("Arial");
    font.setPixelSize(16);
    Column->SetFont(TFontGx(font));
    const int points = (16 * 72 + Grid.Grid->logicalDpiX() / 2) / Grid.Grid->logicalDpiX();
    EXPECT_NE(Export().find("\\fs" + std::to_string(2 * points) + "\\f0\\cf0\\cb1 x"), std::string::npos);
}

TEST_F(RtfExport, CharactersAbove127AreUnicodeEscapes)
{
    Grid.Table->Edit();
    Grid.Table->FieldByName("A")->SetAsString("\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80\xC3\xA9");   // 中文😀é
    Grid.Table->Post();
    Column->SetFont(Font("\xE5\xAE\x8B\xE4\xBD\x93", 10));   // 宋体
    const std::string text = Export();
    EXPECT_NE(text.find(" \\u20013?\\u25991?\\u-10179?\\u-8704?\\u233?\\cell}"), std::string::npos);
    EXPECT_NE(text.find("\\fnil \\u23435?\\u20307?;"), std::string::npos);
    for (unsigned char c : text)
        ASSERT_LT(c, 128);
}

TEST(RtfText, InvalidUtf8BecomesReplacementCharacters)
{
    std::string out;
    AppendRtfText(out, std::string("a\xFF" "b\xE4\xB8", 5));
    EXPECT_EQ(out, "a\\u-3?b\\u-3?\\u-3?");
}

TEST_F(RtfExport, RightEdgesAccumulateInTwips)
{
    Grid.Grid->Columns().Add()->SetFieldName("A");
    Grid.Grid->Columns()[1]->SetWidth(100);
    const int ppi = Grid.Grid->logicalDpiX();
    const std::string text = Export();
    EXPECT_NE(text.find("\\cellx" + std::to_string(64 * 1440 / ppi) + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\cellx" + std::to_string(64 * 1440 / ppi + 100 * 1440 / ppi) + "\r\n"), std::string::npos);
}

TEST_F(RtfExport, DataShadingPassesThroughTheGridsCellEvent)
{
    Grid.Grid->OnGetCellParams = [](TCustomDBGridGx&, TColumnGx&, TFontGx&, TColor& background, TGridDrawState) {
        background = RGB(1, 2, 3);
    };
    const std::string text = Export();
    EXPECT_NE(text.find("\\red1\\green2\\blue3;"), std::string::npos);
    EXPECT_NE(text.find("\\clcfpat3\\cellx"), std::string::npos);
    EXPECT_NE(text.find("\\cb3 x\\cell}"), std::string::npos);
}

TEST_F(RtfExport, FooterRowsHaveTheirColourAndText)
{
    Grid.Grid->SetFooterRowCount(1);
    Column->Footer()->SetValueType(fvtStaticText);
    Column->Footer()->SetValue("Sum {1}");
    Column->Footer()->SetColor(clYellow);
    Column->Footer()->SetAlignment(taRightJustify);
    Column->Footer()->SetFont(Font("Arial", 9));
    const std::string text = Export();
    EXPECT_NE(text.find("\\red255\\green255\\blue0;"), std::string::npos);
    const std::string footer = Definition(3) + "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb3 Sum \\{1\\}\\cell}\r\n"
                                               "\\pard\\intbl\\row}\r\n}";
    ASSERT_GE(text.size(), footer.size());
    EXPECT_EQ(text.substr(text.size() - footer.size()), footer);
}

TEST_F(RtfExport, NoSelectionWritesNothing)
{
    EXPECT_EQ(Exported(RTF, *Grid.Grid, false), "");
}

TEST_F(RtfExport, BodyCacheIsFreedAndItsSizeReported)
{
    TDBGridGxExportAsRTF exporter;
    exporter.Grid = Grid.Grid.get();
    TMemoryStream stream;
    exporter.ExportIntoStream(stream, true);
    const std::string text = StreamText(stream);
    EXPECT_EQ(exporter.LastBodyCacheSize(), static_cast<int64_t>(text.size() - text.find("\\trowd")));
}

// Two columns under one top-level header.
class RtfMultiTitle : public RtfExport {
protected:
    void SetUp() override
    {
        RtfExport::SetUp();
        Grid.Grid->Columns().Add()->SetFieldName("A");
        TColumnGx* second = Grid.Grid->Columns()[1];
        second->SetWidth(64);
        second->SetFont(Font("Arial", 10));
        second->Title()->SetFont(Font("Arial", 10));
        second->Title()->SetColor(clBtnFace);
        Column->Title()->SetCaption("Top|Left");
        second->Title()->SetCaption("Top|Right");
        TFontGx titleFont = Font("Arial", 12);
        Grid.Grid->SetTitleFont(titleFont);
        Grid.Grid->SetFixedColor(clSilver);
        Grid.Grid->SetUseMultiTitle(true);
        Grid.Grid->SetOptions(Grid.Grid->Options() - dgMultiSelect);
    }
};

// Besides leaving out the inner borders, the block's cells carry the merge
// words, so that readers merge them.
TEST_F(RtfMultiTitle, TopLevelHeaderOverTwoColumnsIsOneMergedBlock)
{
    const std::string text = Export();
    const std::string twice = std::to_string(2 * Twips);
    const std::string top =
        "\\trowd\\trgaph40\r\n"
        "\\clmgf\r\n\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat3\\cellx" + std::to_string(Twips) + "\r\n"
        "\\clmrg\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat3\\cellx" + twice + "\r\n{\\trrh0\r\n"
        "\\pard\\intbl{\\qc\\sb55\\sa55\\fs24\\f0\\cf0\\cb3 Top\\cell}\r\n"
        "\\pard\\intbl{\\qc\\fs24\\f0\\cf0\\cb3 \\cell}\r\n"
        "\\pard\\intbl\\row}\r\n";
    const size_t body = text.find("\\trowd");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(text.substr(body, top.size()), top);
    // The leaves below: each its own block, title colour, its caption's last part.
    EXPECT_NE(text.find("\\pard\\intbl{\\qc\\sb55\\sa55\\fs20\\f0\\cf0\\cb2 Left\\cell}\r\n"
                        "\\pard\\intbl{\\qc\\sb55\\sa55\\fs20\\f0\\cf0\\cb2 Right\\cell}\r\n"),
              std::string::npos);
}

TEST_F(RtfMultiTitle, SpacingFollowsTheVerticalTitleMargin)
{
    Grid.Grid->SetVTitleMargin(20);
    const int ppi = Grid.Grid->logicalDpiX();
    const int spacing = std::abs(static_cast<int>(20 / 2.0 / ppi * 1440 - 20));
    EXPECT_NE(Export().find("\\sb" + std::to_string(spacing) + "\\sa" + std::to_string(spacing) + "\\fs24"),
              std::string::npos);
}

}  // namespace
