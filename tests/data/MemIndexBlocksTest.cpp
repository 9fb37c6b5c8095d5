// The blocks of a column index's sorted entries against a plain sorted
// array: inserts and removals at every kind of place (splitting full
// blocks, joining small ones, emptying some), merges of sorted batches,
// and the searches and counts over places.

#include "data/MemIndexBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Entries told apart by their heads alone: Row carries the order in which
// equal heads arrived.
TMemIndexEntry EntryOf(uint64_t head, size_t serial)
{
    return {head, reinterpret_cast<TMemRow*>(serial + 1)};
}

bool Before(const TMemIndexEntry& a, const TMemIndexEntry& b)
{
    return a.Head != b.Head ? a.Head < b.Head : a.Row < b.Row;
}

class IndexBlocks : public ::testing::Test {
protected:
    TMemIndexBlocks::TPlace PlaceOf(const TMemIndexEntry& entry) const
    {
        return Blocks.PartitionPoint([&](const TMemIndexEntry& e) { return Before(e, entry); });
    }

    void Insert(uint64_t head)
    {
        const TMemIndexEntry entry = EntryOf(head, ++Serial);
        Blocks.Insert(PlaceOf(entry), entry);
        Model.insert(std::lower_bound(Model.begin(), Model.end(), entry, Before), entry);
    }

    void EraseAt(size_t index)
    {
        const TMemIndexBlocks::TPlace place = PlaceOf(Model[index]);
        ASSERT_FALSE(Blocks.AtEnd(place));
        ASSERT_EQ(Blocks.At(place).Row, Model[index].Row);
        Blocks.Erase(place);
        Model.erase(Model.begin() + static_cast<std::ptrdiff_t>(index));
    }

    void Merge(std::vector<TMemIndexEntry> batch)
    {
        std::sort(batch.begin(), batch.end(), Before);
        Blocks.MergeSorted(batch.data(), batch.data() + batch.size(), Before);
        std::vector<TMemIndexEntry> merged;
        std::merge(Model.begin(), Model.end(), batch.begin(), batch.end(), std::back_inserter(merged), Before);
        Model = std::move(merged);
    }

    // Every entry in order, none of the blocks empty or beyond capacity.
    void ExpectSameAsModel()
    {
        ASSERT_EQ(Blocks.Size(), Model.size());
        size_t i = 0;
        for (auto p = Blocks.Begin(); !Blocks.AtEnd(p); p = Blocks.Next(p), ++i) {
            ASSERT_LT(i, Model.size());
            ASSERT_EQ(Blocks.At(p).Head, Model[i].Head) << i;
            ASSERT_EQ(Blocks.At(p).Row, Model[i].Row) << i;
            ASSERT_LT(p.Offset, TMemIndexBlocks::BlockCapacity);
        }
        ASSERT_EQ(i, Model.size());
        ASSERT_EQ(Blocks.Distance(Blocks.Begin(), PlaceOf(EntryOf(UINT64_MAX, SIZE_MAX - 1))), Model.size());
    }

    // The place of the first head not below `head`, and the count of the
    // entries between two such places.
    void ExpectSearchesAgree(uint64_t low, uint64_t high)
    {
        const auto below = [](uint64_t head) { return [head](const TMemIndexEntry& e) { return e.Head < head; }; };
        const auto first = Blocks.PartitionPoint(below(low));
        const auto last = Blocks.PartitionPoint(below(high));
        const auto modelFirst = std::partition_point(Model.begin(), Model.end(), below(low));
        const auto modelLast = std::partition_point(Model.begin(), Model.end(), below(high));
        ASSERT_EQ(Blocks.AtEnd(first), modelFirst == Model.end());
        if (!Blocks.AtEnd(first)) {
            ASSERT_EQ(Blocks.At(first).Row, modelFirst->Row);
        }
        ASSERT_EQ(Blocks.Distance(first, last), static_cast<size_t>(modelLast - modelFirst));
    }

    TMemIndexBlocks Blocks;
    std::vector<TMemIndexEntry> Model;
    size_t Serial = 0;
    std::mt19937_64 Random{20261209};
};

TEST_F(IndexBlocks, InsertsAndRemovalsKeepTheOrderAcrossSplitsAndJoins)
{
    // Rising heads fill the last block; random ones split blocks in the
    // middle; few distinct heads make long runs of equal ones.
    for (int i = 0; i < 5000; ++i)
        Insert(static_cast<uint64_t>(i) * 4);
    for (int i = 0; i < 8000; ++i)
        Insert(Random() % 30000);
    for (int i = 0; i < 3000; ++i)
        Insert(Random() % 3);
    ExpectSameAsModel();
    EXPECT_GT(Blocks.BlockCount(), Model.size() / TMemIndexBlocks::BlockCapacity);
    for (int i = 0; i < 40; ++i)
        ExpectSearchesAgree(Random() % 30000, 30000);

    // Removals thin blocks out until they join or vanish.
    while (Model.size() > 300) {
        const size_t at = Random() % 2 ? Random() % Model.size() : Model.size() / 3;
        EraseAt(at);
        if (HasFatalFailure())
            return;
        if (Model.size() % 997 == 0)
            ExpectSameAsModel();
    }
    ExpectSameAsModel();
    ExpectSearchesAgree(0, 15000);
    while (!Model.empty())
        EraseAt(0);
    ExpectSameAsModel();
    EXPECT_EQ(Blocks.BlockCount(), 0u);
}

TEST_F(IndexBlocks, SortedBatchesMergeIntoPlace)
{
    std::vector<TMemIndexEntry> batch;
    for (int i = 0; i < 4000; ++i)
        batch.push_back(EntryOf(Random() % 1000, ++Serial));
    Merge(batch);   // into no blocks
    ExpectSameAsModel();
    for (int round = 0; round < 3; ++round) {
        batch.clear();
        for (int i = 0; i < 2500; ++i)
            batch.push_back(EntryOf(Random() % 1200, ++Serial));
        Merge(batch);
        ExpectSameAsModel();
        for (int i = 0; i < 200; ++i)
            Insert(Random() % 1200);
        ExpectSameAsModel();
    }
    for (int i = 0; i < 20; ++i)
        ExpectSearchesAgree(Random() % 600, 600 + Random() % 700);
    Merge({});
    ExpectSameAsModel();
}

} // namespace
