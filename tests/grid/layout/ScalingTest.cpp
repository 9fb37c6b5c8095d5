// Scaling the grid by m/d: column widths as running sums (no rounding
// drift), the fonts given to columns, titles and footers, the grid's own
// fonts when it does not follow its parent, and one layout pass for all.

#include "grid/GridTestSupport.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TFontGx PointFont(int points)
{
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    return TFontGx(font);
}

class Scaling : public ::testing::Test {
protected:
    void AddColumns(std::initializer_list<int> widths)
    {
        TLayoutLockGx lock(&Grid);
        for (int width : widths)
            Grid.Columns().Add()->SetWidth(width);
    }
    std::vector<int> Widths() const
    {
        std::vector<int> widths;
        for (const auto& column : Grid.Columns())
            widths.push_back(column->Width());
        return widths;
    }
    TDBGridGx Grid;
};

TEST_F(Scaling, WidthsAreScaledAsRunningSums)
{
    AddColumns({33, 33, 33});
    Grid.ChangeScale(3, 2);
    // 49.5 rounds to 50, 99 - 50 = 49, 148.5 rounds to 149 less 99 = 50:
    // together exactly 99 x 3 / 2 rounded, not 3 x 50.
    EXPECT_EQ(Widths(), (std::vector<int>{50, 49, 50}));
    // The grid's columns show the new widths.
    EXPECT_EQ(Grid.ColWidths(1), 50);
    EXPECT_EQ(Grid.ColWidths(2), 49);
}

TEST_F(Scaling, ScalingDownAndBackKeepsTheTotal)
{
    AddColumns({70, 71, 72, 73, 74});
    Grid.ChangeScale(2, 3);
    int sum = 0;
    for (int width : Widths())
        sum += width;
    EXPECT_EQ(sum, (360 * 2 + 1) / 3);
    Grid.ChangeScale(3, 2);
    sum = 0;
    for (int width : Widths())
        sum += width;
    EXPECT_EQ(sum, 360);
}

TEST_F(Scaling, OnlyFontsGivenToColumnsTitlesAndFootersAreScaled)
{
    AddColumns({40, 40});
    TColumnGx& own = *Grid.Columns()[0];
    TColumnGx& inherited = *Grid.Columns()[1];
    own.SetFont(PointFont(10));
    own.Title()->SetFont(PointFont(12));
    own.Footer()->SetFont(PointFont(8));
    own.Footers()->Add()->SetFont(PointFont(20));
    Grid.SetParentFont(true);
    const int gridPoints = Grid.Font().pointSize();

    Grid.ChangeScale(3, 2);
    EXPECT_EQ(own.Font().pointSize(), 15);
    EXPECT_EQ(own.Title()->Font().pointSize(), 18);
    EXPECT_EQ(own.Footer()->Font().pointSize(), 12);
    EXPECT_EQ((*own.Footers())[0]->Font().pointSize(), 30);
    // The others keep following the grid, whose font follows its parent.
    EXPECT_EQ(inherited.Font(), Grid.Font());
    EXPECT_EQ(inherited.Title()->Font(), Grid.TitleFont());
    EXPECT_EQ(Grid.Font().pointSize(), gridPoints);
    EXPECT_TRUE(Grid.ParentFont());
}

TEST_F(Scaling, AGridWithItsOwnFontScalesItsFonts)
{
    Grid.SetFont(PointFont(10));
    Grid.SetTitleFont(PointFont(7));
    Grid.SetFooterFont(PointFont(9));
    ASSERT_FALSE(Grid.ParentFont());
    Grid.ChangeScale(2, 1);
    EXPECT_EQ(Grid.Font().pointSize(), 20);
    // The title font takes the grid font's size, the footer font its own.
    EXPECT_EQ(Grid.TitleFont().pointSize(), 20);
    EXPECT_EQ(Grid.FooterFont().pointSize(), 18);
    EXPECT_FALSE(Grid.ParentFont());
    // The columns follow the scaled grid font.
    EXPECT_EQ(Grid.Columns()[0]->Font().pointSize(), 20);
}

TEST_F(Scaling, PixelSizedFontsStayPixelSized)
{
    QFont pixels("DejaVu Sans");
    pixels.setPixelSize(14);
    AddColumns({40});
    Grid.Columns()[0]->SetFont(TFontGx(pixels));
    Grid.ChangeScale(3, 2);
    EXPECT_EQ(Grid.Columns()[0]->Font().pixelSize(), 21);
}

TEST_F(Scaling, OneLayoutPassForTheWholeChange)
{
    AddColumns({40, 50, 60});
    Grid.SetFont(PointFont(10));
    const int passes = Grid.LayoutPassCount();
    Grid.ChangeScale(5, 4);
    EXPECT_EQ(Grid.LayoutPassCount(), passes + 1);
    // The row height follows the scaled font in that pass.
    EXPECT_EQ(Grid.DefaultRowHeight(), 3 + Grid.GridLineWidth() + QFontMetrics(Grid.Font()).height());
}

TEST_F(Scaling, ARatioOfOneOrNotPositiveChangesNothing)
{
    AddColumns({33, 34});
    Grid.SetFont(PointFont(10));
    const int passes = Grid.LayoutPassCount();
    Grid.ChangeScale(4, 4);
    Grid.ChangeScale(3, 0);
    Grid.ChangeScale(0, 3);
    Grid.ChangeScale(-3, 2);
    EXPECT_EQ(Widths(), (std::vector<int>{33, 34}));
    EXPECT_EQ(Grid.Font().pointSize(), 10);
    EXPECT_EQ(Grid.LayoutPassCount(), passes);
}

TEST_F(Scaling, TheWindowGrowsWithTheScale)
{
    Grid.resize(200, 120);
    Grid.ChangeScale(3, 2);
    EXPECT_EQ(Grid.width(), 300);
    EXPECT_EQ(Grid.height(), 180);
}

}  // namespace
