// Three processes on one keyed Paradox table: the first holds the lock of
// record 1003, a second inserts 1001.5 into the same block (moving 1003 to
// another slot, or with full blocks to another block), and a third tries
// to lock and change 1003.  The third is refused until the first posts; the
// record then holds both edits.

#include "RecoveryTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

constexpr int Locked = 1;
constexpr int Unexpected = 2;

int ErrorCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDBEngineError& e) {
        return e.ErrorCode() == DBIERR_LOCKED ? Locked : Unexpected;
    }
    return 0;
}

struct TScenario {
    const char* Name;
    int Records;
    int NameWidth;
};

class ThreeWritersTest : public ::testing::TestWithParam<TScenario> {};

TEST_P(ThreeWritersTest, ALockStaysWithItsRecordWhenAnotherWriterMovesIt)
{
    TScratchDir scratch;
    TRows rows;
    for (int i = 0; i < GetParam().Records; ++i)
        rows[1000 + i] = TRow{"record " + std::to_string(1000 + i), "note"};
    const std::string path =
        CreateTable(TTableFormat::Paradox, scratch.Path(), "LOCKS", rows, true, GetParam().NameWidth);

    // The first writer: this process.
    auto first = OpenTable(TTableFormat::Paradox, path);
    ASSERT_TRUE(GotoId(*first, 1003));
    TEngineRecord held;
    first->LockRecord(held);
    const int64_t recNoBefore = first->RecNo();

    TChildResult inserter = RunInChild([&] {
        auto second = OpenTable(TTableFormat::Paradox, path);
        Perform(*second, TEdit{TEdit::Insert, 1001.5, {"inserted", "by the second writer"}});
        return 0;
    });
    ASSERT_TRUE(inserter.Exited);
    ASSERT_EQ(inserter.Code, 0);
    {
        auto look = OpenTable(TTableFormat::Paradox, path, true);
        ASSERT_TRUE(GotoId(*look, 1003));
        EXPECT_EQ(look->RecNo(), recNoBefore + 1) << "the insert did not move record 1003";
    }

    auto thirdWriter = [&](bool lockFirst) {
        return RunInChild([&] {
            auto third = OpenTable(TTableFormat::Paradox, path);
            if (!GotoId(*third, 1003))
                return Unexpected + 10;
            return ErrorCodeOf([&] {
                TEngineRecord fresh;
                if (lockFirst)
                    third->LockRecord(fresh);
                else
                    third->ReadCurrent(fresh);
                fresh[2] = TVariant(std::string("third writer's note"));
                third->ModifyRecord(fresh);
            });
        });
    };
    TChildResult refused = thirdWriter(true);
    ASSERT_TRUE(refused.Exited);
    EXPECT_EQ(refused.Code, Locked) << "the third writer locked the record the first one holds";
    TChildResult refusedPost = thirdWriter(false);
    ASSERT_TRUE(refusedPost.Exited);
    EXPECT_EQ(refusedPost.Code, Locked) << "the third writer posted the record the first one holds";

    held[1] = TVariant(std::string("first writer's name"));
    first->ModifyRecord(held);

    TChildResult accepted = thirdWriter(true);
    ASSERT_TRUE(accepted.Exited);
    EXPECT_EQ(accepted.Code, 0);

    auto check = OpenTable(TTableFormat::Paradox, path, true);
    TRows final = ReadRows(*check);
    EXPECT_EQ(final.size(), rows.size() + 1);
    EXPECT_EQ(final[1003], (TRow{"first writer's name", "third writer's note"}));
    EXPECT_EQ(final[1001.5], (TRow{"inserted", "by the second writer"}));
    EXPECT_EQ(final[1002], rows[1002]);
    EXPECT_EQ(final[1004], rows[1004]);
}

// Without a key a record is known by its bytes: a record inserted ahead of
// the locked one moves it, and the lock and the first writer's post follow it.
TEST(ThreeWritersUnkeyed, ALockAndAPostFollowTheRecordAnInsertAheadOfItMoved)
{
    TScratchDir scratch;
    TRows rows;
    for (int i = 1; i <= 6; ++i)
        rows[i] = TRow{"record " + std::to_string(i), "note " + std::to_string(i)};
    const std::string path = CreateTable(TTableFormat::Paradox, scratch.Path(), "HEAP", rows, true, 20, false);

    auto first = OpenTable(TTableFormat::Paradox, path);
    ASSERT_TRUE(GotoId(*first, 3));
    TEngineRecord held;
    first->LockRecord(held);

    TChildResult inserter = RunInChild([&] {
        auto second = OpenTable(TTableFormat::Paradox, path);
        if (!GotoId(*second, 2))
            return Unexpected;
        TEngineRecord record = second->BlankRecord();
        record[0] = TVariant(0.5);
        record[1] = TVariant(std::string("ahead"));
        second->InsertRecord(record, false);
        return 0;
    });
    ASSERT_TRUE(inserter.Exited);
    ASSERT_EQ(inserter.Code, 0);

    TChildResult third = RunInChild([&] {
        auto cursor = OpenTable(TTableFormat::Paradox, path);
        if (!GotoId(*cursor, 3))
            return Unexpected + 10;
        return ErrorCodeOf([&] {
            TEngineRecord fresh;
            cursor->LockRecord(fresh);
        });
    });
    ASSERT_TRUE(third.Exited);
    EXPECT_EQ(third.Code, Locked);

    held[1] = TVariant(std::string("first writer's name"));
    first->ModifyRecord(held);
    TRows expected = rows;
    expected[0.5] = TRow{"ahead", ""};
    expected[3].Name = "first writer's name";
    auto check = OpenTable(TTableFormat::Paradox, path, true);
    EXPECT_EQ(ReadRows(*check), expected);
}

INSTANTIATE_TEST_SUITE_P(Blocks, ThreeWritersTest,
                         ::testing::Values(TScenario{"SameBlock", 10, 20}, TScenario{"BlockSplit", 40, 250}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
