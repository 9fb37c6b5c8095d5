// The column model's footer notifications and the footer values reach the
// footer summaries through the grid.

#include "grid/BehaviourTestSupport.h"

#include <gtest/gtest.h>

TEST(FooterSummariesHooks, AFootersChangeAndGoingReachTheSummaries)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    TColumnGx* amount = grid.Columns()[5];
    grid.Summaries->Changed.clear();

    amount->Footer()->SetValueType(fvtSum);
    ASSERT_FALSE(grid.Summaries->Changed.empty());
    EXPECT_EQ(grid.Summaries->Changed.back(), amount->Footer());

    const int before = grid.Summaries->Destroyed;
    grid.Columns().Delete(5);
    EXPECT_GT(grid.Summaries->Destroyed, before);
}

TEST(FooterSummariesHooks, FooterTextShowsTheSummariesValue)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    TColumnGx* amount = grid.Columns()[5];
    amount->Footer()->SetValueType(fvtCount);
    EXPECT_EQ(grid.FooterText(0, *amount), "");

    grid.Summaries->HasAnswer = true;
    grid.Summaries->Answer = 3 * 10000;
    EXPECT_EQ(grid.FooterText(0, *amount), "3");
}

TEST(FooterSummariesHooks, DataChangesReachTheSummaries)
{
    TShownBehaviourGrid shown;
    const int before = shown.Grid->Summaries->DataChanges;
    shown.Table->Refresh();
    EXPECT_GT(shown.Grid->Summaries->DataChanges, before);
}
