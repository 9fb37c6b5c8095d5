// Auto-fit: visible auto-fit columns share the client width in proportion
// to their base widths; columns held by MinWidth or MaxWidth drop out of
// the sharing, the others share the rest; rounding's remainder goes to the
// rightmost sharing column; the indicator and the column lines are taken
// off first, and MinAutoFitWidth is a floor for the width shared.

#include "grid/GridTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class AutoFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.resize(417, 200);
        Grid.show();
    }
    // User columns with the given widths, as base widths for the sharing.
    void AddColumns(std::initializer_list<int> widths)
    {
        TLayoutLockGx lock(&Grid);
        for (int width : widths)
            Grid.Columns().Add()->SetWidth(width);
    }
    TColumnGx& Column(int i) { return *Grid.Columns()[i]; }
    int SumOfWidths() const
    {
        int sum = 0;
        for (TColumnGx* column : Grid.VisibleColumns())
            sum += column->Width();
        return sum;
    }
    // The width the columns share: the client width less the indicator,
    // one line per visible column and one more for the indicator's line.
    int Shared() const { return Grid.ClientWidth() - 11 - Grid.VisibleColumns().Count() - 1; }

    TDBGridGx Grid;
};

TEST_F(AutoFit, ColumnsShareTheClientWidthByTheirBaseWidths)
{
    AddColumns({100, 200, 100});
    Grid.SetAutoFitColWidths(true);
    const int w = Shared();
    ASSERT_GT(w, 100);
    EXPECT_EQ(SumOfWidths(), w);
    // Each share rounded; the last one takes what rounding left over.
    const int quarter = static_cast<int>((static_cast<int64_t>(w) * 100 * 2 + 400) / 800);
    EXPECT_EQ(Column(0).Width(), quarter);
    EXPECT_EQ(Column(1).Width(), static_cast<int>((static_cast<int64_t>(w) * 200 * 2 + 400) / 800));
    EXPECT_EQ(Column(2).Width(), w - Column(0).Width() - Column(1).Width());
    // The grid's columns show those widths.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Grid.ColWidths(i + 1), Column(i).Width());
    // The base widths are left as they were: sharing again gives the same.
    EXPECT_EQ(Column(0).BaseWidth(), 100);
    Grid.RequestLayout();
    EXPECT_EQ(Column(0).Width(), quarter);
}

TEST_F(AutoFit, TheRemainderOfRoundingGoesToTheRightmostColumn)
{
    AddColumns({10, 10, 10});
    Grid.SetAutoFitColWidths(true);
    const int w = Shared();
    EXPECT_EQ(Column(0).Width(), (2 * w + 3) / 6);
    EXPECT_EQ(Column(1).Width(), (2 * w + 3) / 6);
    EXPECT_EQ(Column(2).Width(), w - 2 * ((2 * w + 3) / 6));
    EXPECT_EQ(SumOfWidths(), w);
}

TEST_F(AutoFit, ColumnsHeldByTheirLimitsLeaveTheRestToTheOthers)
{
    AddColumns({100, 100, 100});
    Grid.SetAutoFitColWidths(true);
    Column(0).SetMaxWidth(40);
    Column(2).SetMinWidth(300);
    // Equal shares asked for: the limits hold two of them.
    Column(0).SetBaseWidth(100);
    Column(2).SetBaseWidth(100);
    Grid.RequestLayout();
    const int w = Shared();
    ASSERT_GT(w, 340);
    EXPECT_EQ(Column(0).Width(), 40);
    EXPECT_EQ(Column(2).Width(), 300);
    EXPECT_EQ(Column(1).Width(), w - 340);
    EXPECT_EQ(SumOfWidths(), w);
}

TEST_F(AutoFit, ColumnsThatDoNotFitKeepTheirWidthAndAreTakenOff)
{
    AddColumns({50, 120, 50});
    Column(1).SetAutoFitColWidth(false);
    Grid.SetAutoFitColWidths(true);
    const int w = Shared() - 120;
    EXPECT_EQ(Column(1).Width(), 120);
    EXPECT_EQ(Column(0).Width(), (w + 1) / 2);
    EXPECT_EQ(Column(0).Width() + Column(2).Width(), w);
}

TEST_F(AutoFit, HiddenColumnsTakeNoPart)
{
    AddColumns({50, 999, 50});
    Column(1).SetVisible(false);
    Grid.SetAutoFitColWidths(true);
    EXPECT_EQ(Grid.VisibleColumns().Count(), 2);
    EXPECT_EQ(Column(0).Width() + Column(2).Width(), Shared());
    EXPECT_EQ(Grid.ColWidths(2), -1);
}

TEST_F(AutoFit, TheIndicatorAndTheLinesAreTakenOffOnlyWhenShown)
{
    AddColumns({60, 60});
    Grid.SetAutoFitColWidths(true);
    EXPECT_EQ(SumOfWidths(), Grid.ClientWidth() - 11 - 2 - 1);
    Grid.SetOptions(Grid.Options() - dgIndicator);
    EXPECT_EQ(SumOfWidths(), Grid.ClientWidth() - 2);
    Grid.SetOptions(Grid.Options() - dgColLines);
    EXPECT_EQ(SumOfWidths(), Grid.ClientWidth());
    Grid.SetOptions(Grid.Options() + dgIndicator);
    EXPECT_EQ(SumOfWidths(), Grid.ClientWidth() - 11);
}

TEST_F(AutoFit, MinAutoFitWidthIsAFloorForTheSharedWidth)
{
    AddColumns({60, 60});
    Grid.SetAutoFitColWidths(true);
    const int client = Grid.ClientWidth();
    Grid.SetMinAutoFitWidth(client - 50);   // below the client width: no effect
    EXPECT_EQ(SumOfWidths(), client - 11 - 2 - 1);
    Grid.SetMinAutoFitWidth(900);
    EXPECT_EQ(SumOfWidths(), 900 - 11 - 2 - 1);
    EXPECT_EQ(Column(0).Width(), (900 - 14) / 2);
}

TEST_F(AutoFit, AWindowNarrowerThanTheIndicatorLeavesNothingToShare)
{
    AddColumns({60, 60});
    Column(0).SetAutoFitColWidth(false);
    Column(0).SetWidth(2000);
    Grid.SetAutoFitColWidths(true);
    EXPECT_EQ(Column(1).Width(), 0);
}

TEST_F(AutoFit, ColumnsWithoutBaseWidthsLeaveAllToTheRightmost)
{
    AddColumns({0, 0, 0});
    Grid.SetAutoFitColWidths(true);
    EXPECT_EQ(Column(0).Width(), 0);
    EXPECT_EQ(Column(1).Width(), 0);
    EXPECT_EQ(Column(2).Width(), Shared());
}

TEST_F(AutoFit, ResizingTheWindowSharesTheNewWidth)
{
    AddColumns({30, 70});
    Grid.SetAutoFitColWidths(true);
    Grid.resize(617, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(SumOfWidths(), Shared());
    EXPECT_EQ(Column(0).Width(), static_cast<int>((static_cast<int64_t>(Shared()) * 30 * 2 + 100) / 200));
}

TEST_F(AutoFit, DefaultColumnsOfADatasetFillTheGrid)
{
    auto table = SampleTable();
    TDataSource source(table.get());
    Grid.SetAutoFitColWidths(true);
    Grid.SetDataSource(&source);
    // A vertical scroll bar that comes or goes lays the grid out again.
    QCoreApplication::processEvents();
    EXPECT_EQ(Grid.Columns().Count(), 6);
    EXPECT_EQ(SumOfWidths(), Grid.ClientWidth() - 11 - 6 - 1);
    Grid.SetDataSource(nullptr);
}

}  // namespace
