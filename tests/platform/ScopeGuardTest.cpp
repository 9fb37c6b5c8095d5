#include "platform/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ScopeGuard, ValueRollbackRestoresTheOldValueOnEveryPath)
{
    bool flag = false;
    {
        TValueRollback<bool> set(flag, true);
        EXPECT_TRUE(flag);
    }
    EXPECT_FALSE(flag);

    std::string text = "before";
    try {
        TValueRollback<std::string> set(text, "during");
        EXPECT_EQ(text, "during");
        throw std::runtime_error("fails");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(text, "before");
}

TEST(ScopeGuard, NestedRollbacksCountDepthBackDown)
{
    int depth = 0;
    {
        TValueRollback<int> outer(depth, depth + 1);
        {
            TValueRollback<int> inner(depth, depth + 1);
            EXPECT_EQ(depth, 2);
        }
        EXPECT_EQ(depth, 1);
    }
    EXPECT_EQ(depth, 0);
}

TEST(ScopeGuard, ScopeExitRunsOnceWhenTheScopeEndsEvenByAnException)
{
    int runs = 0;
    {
        TScopeExit count([&] { ++runs; });
        EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(
        {
            TScopeExit count([&] { ++runs; });
            throw std::logic_error("fails");
        },
        std::logic_error);
    EXPECT_EQ(runs, 2);
}
