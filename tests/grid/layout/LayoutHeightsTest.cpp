// Heights of the layout pass: the data rows' height from the grid's font,
// RowHeight and RowLines, fitting to whole text lines, the multi-line flag,
// the edit-button size and the title row's height.  Expected values are
// computed from the fonts' metrics, never taken from one machine.

#include "grid/GridTestSupport.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include "editors/ButtonPainter.h"
#include "ui/SystemMetrics.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TFontGx PixelFont(int pixels)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    return TFontGx(font);
}

int LineHeight(const QFont& font) { return QFontMetrics(font).height(); }
int ExternalLeading(const QFont& font) { return std::max(0, QFontMetrics(font).leading()); }

TEST(RowHeight, OneTextLineAndTheMarginByDefault)
{
    TDBGridGx grid;
    grid.SetFont(PixelFont(13));
    const int h = LineHeight(grid.Font());
    EXPECT_EQ(grid.DefaultRowHeight(), 3 + grid.GridLineWidth() + h);

    grid.SetOptions(grid.Options() - dgRowLines);
    EXPECT_EQ(grid.DefaultRowHeight(), 3 + h);
    grid.SetFlat(true);
    EXPECT_EQ(grid.DefaultRowHeight(), 1 + h);
    grid.SetOptions(grid.Options() + dgRowLines);
    EXPECT_EQ(grid.DefaultRowHeight(), 1 + grid.GridLineWidth() + h);

    // A bigger font makes higher rows.
    grid.SetFont(PixelFont(24));
    EXPECT_EQ(grid.DefaultRowHeight(), 1 + grid.GridLineWidth() + LineHeight(grid.Font()));
    EXPECT_GT(LineHeight(grid.Font()), h);
}

TEST(RowHeight, RowLinesCountWholeLinesWithTheirLeadingPlusRowHeight)
{
    TDBGridGx grid;
    grid.SetFont(PixelFont(13));
    const int line = LineHeight(grid.Font()) + ExternalLeading(grid.Font());
    grid.SetRowLines(2);
    EXPECT_EQ(grid.DefaultRowHeight(), 2 * line);
    grid.SetRowHeight(5);
    EXPECT_EQ(grid.DefaultRowHeight(), 5 + 2 * line);
    // RowHeight alone is the row's whole height.
    grid.SetRowLines(0);
    EXPECT_EQ(grid.DefaultRowHeight(), 5);

    grid.SetRowLines(-3);
    grid.SetRowHeight(-7);
    EXPECT_EQ(grid.RowLines(), 0);
    EXPECT_EQ(grid.RowHeight(), 0);
    EXPECT_EQ(grid.DefaultRowHeight(), 3 + grid.GridLineWidth() + LineHeight(grid.Font()));
}

TEST(RowHeight, DataRowsTakeTheDefaultHeightAndTheTitleRowItsOwn)
{
    TBoundGrid bound;
    bound.Grid->SetRowLines(3);
    const int rows = bound.Grid->DefaultRowHeight();
    EXPECT_EQ(bound.Grid->RowHeights(bound.Grid->TitleRows()), rows);
    EXPECT_EQ(bound.Grid->RowHeights(0), bound.Grid->TitleRowHeight());
    EXPECT_NE(bound.Grid->RowHeights(0), rows);
}

class FitRowHeight : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.SetFont(PixelFont(13));
        H = LineHeight(Grid.Font());
        Margin = 3 + Grid.GridLineWidth();
    }
    // Fitting switched on together with a row height and line count.
    void Fit(int rowHeight, int rowLines)
    {
        TLayoutLockGx lock(&Grid);
        Grid.SetRowHeight(rowHeight);
        Grid.SetRowLines(rowLines);
        Grid.SetOptionsGx(Grid.OptionsGx() + dghFitRowHeightToText);
    }
    TDBGridGx Grid;
    int H = 0;
    int Margin = 0;
};

TEST_F(FitRowHeight, TheDefaultRowIsOneWholeLine)
{
    Fit(0, 0);
    EXPECT_EQ(Grid.DefaultRowHeight(), Margin + H);
    // The row is now described as lines over the margin.
    EXPECT_EQ(Grid.RowLines(), 1);
    EXPECT_EQ(Grid.RowHeight(), Margin);
}

TEST_F(FitRowHeight, APartLineOfAtMostHalfALineIsDropped)
{
    Fit(Margin + 2 * H + H / 2, 0);
    EXPECT_EQ(Grid.DefaultRowHeight(), Margin + 2 * H);
    EXPECT_EQ(Grid.RowLines(), 2);
    EXPECT_EQ(Grid.RowHeight(), Margin);
}

TEST_F(FitRowHeight, ALargerPartLineBecomesAWholeLine)
{
    Fit(Margin + 2 * H + H / 2 + 1, 0);
    EXPECT_EQ(Grid.DefaultRowHeight(), Margin + 3 * H);
    EXPECT_EQ(Grid.RowLines(), 3);
    EXPECT_EQ(Grid.RowHeight(), Margin);
}

TEST_F(FitRowHeight, ARowBelowOneLineGetsOneLine)
{
    Fit(2, 0);
    EXPECT_EQ(Grid.DefaultRowHeight(), Margin + H);
    EXPECT_EQ(Grid.RowLines(), 1);
}

TEST_F(FitRowHeight, TheSnappedHeightStaysOverLaterPasses)
{
    Fit(0, 2);
    const int snapped = Grid.DefaultRowHeight();
    EXPECT_EQ(snapped, Margin + 2 * H);
    Grid.RequestLayout();
    Grid.RequestLayout();
    EXPECT_EQ(Grid.DefaultRowHeight(), snapped);
    EXPECT_EQ(Grid.RowLines(), 2);
}

TEST(MultiLine, OnlyRowsWithRoomForMoreThanOneLineWrap)
{
    TDBGridGx grid;
    grid.SetFont(PixelFont(13));
    EXPECT_FALSE(grid.MultiLine());
    grid.SetRowLines(1);
    EXPECT_FALSE(grid.MultiLine());
    grid.SetRowLines(2);
    EXPECT_TRUE(grid.MultiLine());
    grid.SetRowLines(0);
    EXPECT_FALSE(grid.MultiLine());
}

TEST(EditButtonSize, AScrollBarWideOrTheFlatButtonWidthAndOneSeparator)
{
    TDBGridGx grid;
    grid.SetFont(PixelFont(13));
    const int width = VerticalScrollBarWidth();
    EXPECT_EQ(grid.EditButtonWidth(), width);
    grid.SetFlat(true);
    EXPECT_EQ(grid.EditButtonWidth(), FlatEditButtonWidth() + 1);
    grid.SetFlat(false);

    // Rows not much higher than the button: the button takes the row.
    const int row = grid.DefaultRowHeight();
    if (3 * width >= 2 * row)
        EXPECT_EQ(grid.EditButtonHeight(), row);
    else
        EXPECT_EQ(grid.EditButtonHeight(), width);
    // High rows: a square button.
    grid.SetRowHeight(4 * width);
    EXPECT_EQ(grid.DefaultRowHeight(), 4 * width);
    EXPECT_EQ(grid.EditButtonHeight(), width);
    // Low rows: the row's height.
    grid.SetRowHeight(width);
    EXPECT_EQ(grid.EditButtonHeight(), width);
    grid.SetRowHeight(width + 1);
    EXPECT_EQ(grid.EditButtonHeight(), width + 1);
}

TEST(TitleHeight, TheTallestTitleFontAndTheLineMargin)
{
    TBoundGrid bound;
    TDBGridGx& grid = *bound.Grid;
    grid.SetTitleFont(PixelFont(12));
    EXPECT_EQ(grid.TitleRowHeight(), LineHeight(grid.TitleFont()) + 4);
    EXPECT_EQ(grid.RowHeights(0), grid.TitleRowHeight());

    TFontGx big = PixelFont(30);
    bound.Column("CODE")->Title()->SetFont(big);
    EXPECT_EQ(grid.TitleRowHeight(), LineHeight(big) + 4);
    grid.SetFlat(true);
    EXPECT_EQ(grid.TitleRowHeight(), LineHeight(big) + 2);

    // A hidden column's title counts as well.
    bound.Column("CODE")->SetVisible(false);
    EXPECT_EQ(grid.TitleRowHeight(), LineHeight(big) + 2);
}

TEST(TitleHeight, WithoutColumnsTheGridsTitleFontCounts)
{
    TDBGridGx grid;
    grid.SetTitleFont(PixelFont(20));
    EXPECT_EQ(grid.TitleRowHeight(), LineHeight(grid.TitleFont()) + 4);
}

TEST(TitleHeight, TitleLinesAndTitleHeightGiveTheHeightOfTheirOwn)
{
    TBoundGrid bound;
    TDBGridGx& grid = *bound.Grid;
    TFontGx big = PixelFont(22);
    grid.SetTitleFont(PixelFont(12));
    bound.Column("NAME")->Title()->SetFont(big);
    grid.SetTitleLines(2);
    // The tallest title font; dgRowLines adds the line below the titles.
    EXPECT_EQ(grid.TitleRowHeight(), 2 * LineHeight(big) + ExternalLeading(big) + 0 + 2 + 1);
    grid.SetTitleHeight(6);
    EXPECT_EQ(grid.TitleRowHeight(), 2 * LineHeight(big) + ExternalLeading(big) + 6 + 2 + 1);
    grid.SetOptions(grid.Options() - dgRowLines);
    EXPECT_EQ(grid.TitleRowHeight(), 2 * LineHeight(big) + ExternalLeading(big) + 6 + 2);
    EXPECT_EQ(grid.RowHeights(0), grid.TitleRowHeight());

    // TitleHeight alone: no text line at all.
    grid.SetTitleLines(0);
    EXPECT_EQ(grid.TitleRowHeight(), ExternalLeading(big) + 6 + 2);
    // A title cannot be less than nothing.
    grid.SetTitleHeight(-100);
    EXPECT_EQ(grid.TitleRowHeight(), 0);
    EXPECT_EQ(grid.RowHeights(0), 0);
    grid.SetTitleHeight(6);

    grid.SetOptions(grid.Options() - dgTitles);
    EXPECT_EQ(grid.TitleRowHeight(), 0);
    EXPECT_EQ(grid.RowHeights(0), grid.DefaultRowHeight());
}

TEST(TitleHeight, MultiLevelTitlesTakeTheTitleTreesHeight)
{
    TBoundGrid bound;
    const int single = bound.Grid->TitleRowHeight();
    bound.Grid->SetUseMultiTitle(true);
    // One level of captions, each with the title margin: less 1 with the
    // 3D frame of fixed cells.
    const int tree = bound.Grid->TitleTree().Tree().Root().Height;
    EXPECT_EQ(bound.Grid->TitleTree().Tree().Depth(), 1);
    EXPECT_EQ(bound.Grid->TitleRowHeight(), tree - 1);
    EXPECT_GT(bound.Grid->TitleRowHeight(), single);
    bound.Grid->SetUseMultiTitle(false);
    EXPECT_EQ(bound.Grid->TitleRowHeight(), single);
}

}  // namespace
