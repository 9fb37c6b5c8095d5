#pragma once
// The sorted entries of a column index, held in blocks of at most a couple
// of thousand: inserting or removing one entry moves the rest of its block
// only, where a single array would move half of a million entries.  A
// place is a block and an offset in it; a search finds the block by its
// last entry and then the entry inside the block, both by bisection.
//
// Every block has room for BlockCapacity entries.  The rooms are cut from
// large slabs of huge-page memory (HugePageAllocator.h): a million sorted
// entries put into blocks take one allocation and a few page faults, not
// hundreds of allocations and thousands of faults.  A room given up by a
// block serves the next block needed.

#include "platform/HugePageAllocator.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct TMemRow;

struct TMemIndexEntry {
    uint64_t Head;   // of the row's value, IndexHead
    TMemRow* Row;
};

class TMemIndexBlocks {
public:
    static constexpr size_t BlockCapacity = 2048;
    // Blocks filled from sorted entries are left this full, so that the
    // first inserts do not split them at once.
    static constexpr size_t FilledBlockSize = BlockCapacity * 3 / 4;

    struct TPlace {
        size_t Block = 0;
        size_t Offset = 0;
    };

    TMemIndexBlocks() = default;
    TMemIndexBlocks(const TMemIndexBlocks&) = delete;
    TMemIndexBlocks& operator=(const TMemIndexBlocks&) = delete;

    size_t Size() const { return FSize; }
    size_t BlockCount() const { return FBlocks.size(); }

    TPlace Begin() const { return {}; }
    bool AtEnd(TPlace place) const { return place.Block >= FBlocks.size(); }
    const TMemIndexEntry& At(TPlace place) const { return FBlocks[place.Block].Items[place.Offset]; }
    TPlace Next(TPlace place) const;
    // Entries from `first` up to `last`, which does not lie before it.
    size_t Distance(TPlace first, TPlace last) const;

    // The first place whose entry `below` is false for, `below` being true
    // for a leading run of the entries (the end when it is true for all).
    template <typename Below>
    TPlace PartitionPoint(Below below) const;

    // Inserts an entry before the one at `place` (at the end for the end).
    void Insert(TPlace place, const TMemIndexEntry& entry);
    void Erase(TPlace place);

    // Merges sorted entries into the sorted ones held, `before` ordering
    // them, an entry held going first where neither is before the other.
    template <typename Before>
    void MergeSorted(const TMemIndexEntry* first, const TMemIndexEntry* last, Before before);

private:
    struct TBlock {
        TMemIndexEntry* Items;   // a room of BlockCapacity entries
        size_t Count;
        const TMemIndexEntry& Last() const { return Items[Count - 1]; }
    };
    using TFlat = std::vector<TMemIndexEntry, THugePageAllocator<TMemIndexEntry>>;

    // Holds the sorted entries only.
    void AssignSorted(const TMemIndexEntry* first, const TMemIndexEntry* last);
    // Joins a block that has grown small to a neighbour that has room.
    void JoinSmall(size_t block);
    TBlock NewBlock();
    void FreeBlock(const TBlock& block);
    // Makes sure that `count` rooms are free, cutting a slab for the rest.
    void ReserveRooms(size_t count);

    struct TSlab {
        TMemIndexEntry* Items;
        size_t Count;
        TSlab(size_t count);
        TSlab(TSlab&& other) noexcept : Items(other.Items), Count(other.Count) { other.Items = nullptr; }
        TSlab(const TSlab&) = delete;
        TSlab& operator=(const TSlab&) = delete;
        TSlab& operator=(TSlab&&) = delete;
        ~TSlab();
    };

    std::vector<TBlock> FBlocks;           // none of them empty
    size_t FSize = 0;
    std::vector<TSlab> FSlabs;             // the memory of every room
    std::vector<TMemIndexEntry*> FFreeRooms;
};

template <typename Below>
TMemIndexBlocks::TPlace TMemIndexBlocks::PartitionPoint(Below below) const
{
    size_t lo = 0, hi = FBlocks.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (below(FBlocks[mid].Last()))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == FBlocks.size())
        return {lo, 0};
    const TBlock& block = FBlocks[lo];
    size_t first = 0, last = block.Count - 1;   // `below` is false for the last
    while (first < last) {
        const size_t mid = first + (last - first) / 2;
        if (below(block.Items[mid]))
            first = mid + 1;
        else
            last = mid;
    }
    return {lo, first};
}

template <typename Before>
void TMemIndexBlocks::MergeSorted(const TMemIndexEntry* first, const TMemIndexEntry* last, Before before)
{
    if (FBlocks.empty()) {
        AssignSorted(first, last);
        return;
    }
    TFlat merged;
    merged.reserve(FSize + static_cast<size_t>(last - first));
    for (const TBlock& block : FBlocks)
        for (const TMemIndexEntry* held = block.Items; held != block.Items + block.Count; ++held) {
            for (; first != last && before(*first, *held); ++first)
                merged.push_back(*first);
            merged.push_back(*held);
        }
    merged.insert(merged.end(), first, last);
    AssignSorted(merged.data(), merged.data() + merged.size());
}
