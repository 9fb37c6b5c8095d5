// The layout pass hands the title height to the title tree under
// multi-level titles, and takes the tree's height back.

#include "grid/BehaviourTestSupport.h"

#include <gtest/gtest.h>

TEST(TitleTreeHooks, OnlyMultiLevelTitlesAskTheTree)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetTitleLines(1);
    EXPECT_TRUE(grid.Titles->HeightsSeen.empty());

    grid.SetUseMultiTitle(true);
    ASSERT_FALSE(grid.Titles->HeightsSeen.empty());
    EXPECT_EQ(grid.Titles->HeightsSeen.back(), grid.TitleRowHeight());
}

TEST(TitleTreeHooks, TheTreesHeightBecomesTheTitleRowHeight)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetTitleLines(1);
    grid.Titles->TreeHeight = 57;
    grid.SetUseMultiTitle(true);
    EXPECT_EQ(grid.TitleRowHeight(), 57);
    EXPECT_EQ(grid.RowHeights(0), 57);
}
