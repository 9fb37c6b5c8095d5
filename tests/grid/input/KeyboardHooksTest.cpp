// The grid hands every key to its keyboard object first.

#include "grid/BehaviourTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(KeyboardHooks, EveryKeyReachesTheKeyboardAndUntakenKeysStillMoveTheCell)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    const int startRow = grid.Row();

    QTest::keyClick(&grid, Qt::Key_Down);
    ASSERT_EQ(grid.Keys->KeysDown.size(), 1u);
    EXPECT_EQ(grid.Keys->KeysDown[0], Qt::Key_Down);
    EXPECT_EQ(grid.Row(), startRow + 1);
}

TEST(KeyboardHooks, AKeyTheKeyboardTakesDoesNotMoveTheGrid)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.Keys->Taken = {Qt::Key_Down};
    const int startRow = grid.Row();

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Keys->KeysDown.size(), 1u);
    EXPECT_EQ(grid.Row(), startRow);
}

TEST(KeyboardHooks, TypedCharactersReachKeyPress)
{
    TShownBehaviourGrid shown;
    QTest::keyClicks(shown.Grid.get(), "ab");
    ASSERT_GE(shown.Grid->Keys->KeysPressed.size(), 1u);
    EXPECT_EQ(shown.Grid->Keys->KeysPressed[0], QString("a"));
}

TEST(KeyboardHooks, IncrementalSearchStateFollowsStartAndEnd)
{
    TShownBehaviourGrid shown;
    TDBGridGxIncSearch& search = shown.Grid->Keyboard().IncSearch();
    EXPECT_FALSE(shown.Grid->Keyboard().IncSearchActive());

    search.Start();
    EXPECT_TRUE(shown.Grid->Keyboard().IncSearchActive());
    EXPECT_EQ(shown.Grid->Keyboard().IncSearchText(), "");

    search.End();
    EXPECT_FALSE(shown.Grid->Keyboard().IncSearchActive());
    EXPECT_EQ(shown.Grid->Keyboard().IncSearchText(), "");
}
