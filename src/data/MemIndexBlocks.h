#pragma once
// The sorted entries of a column index, held in blocks of at most a couple
// of thousand: inserting or removing one entry moves the rest of its block
// only, where a single array would move half of a million entries.  A
// place is a block and an offset in it; a search finds the block by its
// last entry and then the entry inside the block, both by bisection.

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

    size_t Size() const { return FSize; }
    size_t BlockCount() const { return FBlocks.size(); }
    void Clear();

    TPlace Begin() const { return {}; }
    bool AtEnd(TPlace place) const { return place.Block >= FBlocks.size(); }
    const TMemIndexEntry& At(TPlace place) const { return FBlocks[place.Block][place.Offset]; }
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
    using TBlock = std::vector<TMemIndexEntry>;

    // Joins a block that has grown small to a neighbour that has room.
    void JoinSmall(size_t block);
    // Adds an entry behind every entry of `blocks`, starting a block when the last is filled.
    static void AppendFilled(std::vector<TBlock>& blocks, const TMemIndexEntry& entry);

    std::vector<TBlock> FBlocks;   // none of them empty
    size_t FSize = 0;
};

template <typename Below>
TMemIndexBlocks::TPlace TMemIndexBlocks::PartitionPoint(Below below) const
{
    size_t lo = 0, hi = FBlocks.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (below(FBlocks[mid].back()))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == FBlocks.size())
        return {lo, 0};
    const TBlock& block = FBlocks[lo];
    size_t first = 0, last = block.size() - 1;   // `below` is false for the last
    while (first < last) {
        const size_t mid = first + (last - first) / 2;
        if (below(block[mid]))
            first = mid + 1;
        else
            last = mid;
    }
    return {lo, first};
}

template <typename Before>
void TMemIndexBlocks::MergeSorted(const TMemIndexEntry* first, const TMemIndexEntry* last, Before before)
{
    std::vector<TBlock> merged;
    merged.reserve((FSize + static_cast<size_t>(last - first)) / FilledBlockSize + 1);
    for (const TBlock& block : FBlocks) {
        for (const TMemIndexEntry& held : block) {
            for (; first != last && before(*first, held); ++first)
                AppendFilled(merged, *first);
            AppendFilled(merged, held);
        }
    }
    for (; first != last; ++first)
        AppendFilled(merged, *first);
    size_t size = 0;
    for (const TBlock& block : merged)
        size += block.size();
    FBlocks = std::move(merged);
    FSize = size;
}
