#include "data/MemIndexBlocks.h"

#include <algorithm>
#include <iterator>

void TMemIndexBlocks::Clear()
{
    FBlocks.clear();
    FSize = 0;
}

TMemIndexBlocks::TPlace TMemIndexBlocks::Next(TPlace place) const
{
    if (++place.Offset < FBlocks[place.Block].size())
        return place;
    return {place.Block + 1, 0};
}

size_t TMemIndexBlocks::Distance(TPlace first, TPlace last) const
{
    if (first.Block == last.Block)
        return last.Offset - first.Offset;
    size_t count = FBlocks[first.Block].size() - first.Offset + last.Offset;
    for (size_t block = first.Block + 1; block < last.Block; ++block)
        count += FBlocks[block].size();
    return count;
}

void TMemIndexBlocks::AppendFilled(std::vector<TBlock>& blocks, const TMemIndexEntry& entry)
{
    if (blocks.empty() || blocks.back().size() >= FilledBlockSize) {
        blocks.emplace_back();
        blocks.back().reserve(BlockCapacity);
    }
    blocks.back().push_back(entry);
}

void TMemIndexBlocks::Insert(TPlace place, const TMemIndexEntry& entry)
{
    if (AtEnd(place)) {
        // Behind the last entry: into the last block while it has room.
        if (FBlocks.empty() || FBlocks.back().size() >= BlockCapacity) {
            FBlocks.emplace_back();
            FBlocks.back().reserve(BlockCapacity);
        }
        FBlocks.back().push_back(entry);
        ++FSize;
        return;
    }
    TBlock& block = FBlocks[place.Block];
    if (block.size() >= BlockCapacity) {
        // A full block splits in halves; the entry goes into its half.
        const size_t half = block.size() / 2;
        TBlock upper;
        upper.reserve(BlockCapacity);
        upper.assign(block.begin() + static_cast<std::ptrdiff_t>(half), block.end());
        FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(place.Block) + 1, std::move(upper));
        FBlocks[place.Block].resize(half);
        if (place.Offset > half)
            place = {place.Block + 1, place.Offset - half};
    }
    TBlock& target = FBlocks[place.Block];
    target.insert(target.begin() + static_cast<std::ptrdiff_t>(place.Offset), entry);
    ++FSize;
}

void TMemIndexBlocks::Erase(TPlace place)
{
    TBlock& block = FBlocks[place.Block];
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(place.Offset));
    --FSize;
    if (block.empty())
        FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(place.Block));
    else
        JoinSmall(place.Block);
}

void TMemIndexBlocks::JoinSmall(size_t block)
{
    constexpr size_t Small = BlockCapacity / 4;
    if (FBlocks[block].size() >= Small)
        return;
    // Into the following block, or the preceding one, when the two fit in half a block.
    for (const size_t into : {block + 1, block - 1}) {
        if (into >= FBlocks.size())   // also block - 1 below 0
            continue;
        const size_t lower = std::min(block, into), upper = std::max(block, into);
        if (FBlocks[lower].size() + FBlocks[upper].size() > BlockCapacity / 2)
            continue;
        FBlocks[lower].insert(FBlocks[lower].end(), FBlocks[upper].begin(), FBlocks[upper].end());
        FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(upper));
        return;
    }
}
