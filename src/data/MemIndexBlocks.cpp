#include "data/MemIndexBlocks.h"

#include <algorithm>
#include <cstring>

TMemIndexBlocks::TSlab::TSlab(size_t count)
    : Items(THugePageAllocator<TMemIndexEntry>().allocate(count)), Count(count)
{
}

TMemIndexBlocks::TSlab::~TSlab()
{
    if (Items != nullptr)
        THugePageAllocator<TMemIndexEntry>().deallocate(Items, Count);
}

TMemIndexBlocks::TPlace TMemIndexBlocks::Next(TPlace place) const
{
    if (++place.Offset < FBlocks[place.Block].Count)
        return place;
    return {place.Block + 1, 0};
}

size_t TMemIndexBlocks::Distance(TPlace first, TPlace last) const
{
    if (first.Block == last.Block)
        return last.Offset - first.Offset;
    size_t count = FBlocks[first.Block].Count - first.Offset + last.Offset;
    for (size_t block = first.Block + 1; block < last.Block; ++block)
        count += FBlocks[block].Count;
    return count;
}

// ---- rooms

void TMemIndexBlocks::ReserveRooms(size_t count)
{
    if (FFreeRooms.size() >= count)
        return;
    const size_t rooms = count - FFreeRooms.size();
    FFreeRooms.reserve(FFreeRooms.size() + rooms);
    TSlab& slab = FSlabs.emplace_back(rooms * BlockCapacity);
    // Taken from the back: the slab's rooms are used in address order.
    for (size_t room = rooms; room-- > 0;)
        FFreeRooms.push_back(slab.Items + room * BlockCapacity);
}

TMemIndexBlocks::TBlock TMemIndexBlocks::NewBlock()
{
    // A slab of a few rooms at a time serves the blocks that splits need.
    ReserveRooms(1 + FBlocks.size() / 16);
    TMemIndexEntry* items = FFreeRooms.back();
    FFreeRooms.pop_back();
    return {items, 0};
}

void TMemIndexBlocks::FreeBlock(const TBlock& block)
{
    FFreeRooms.push_back(block.Items);
}

// ---- changing

void TMemIndexBlocks::AssignSorted(const TMemIndexEntry* first, const TMemIndexEntry* last)
{
    const size_t count = static_cast<size_t>(last - first);
    const size_t blocks = (count + FilledBlockSize - 1) / FilledBlockSize;
    // Every allocation first: the rooms held now come free below.
    ReserveRooms(blocks > FBlocks.size() ? blocks - FBlocks.size() : 0);
    FFreeRooms.reserve(FFreeRooms.size() + FBlocks.size());
    std::vector<TBlock> filled;
    filled.reserve(blocks);
    for (const TBlock& block : FBlocks)
        FreeBlock(block);
    FBlocks.clear();
    for (const TMemIndexEntry* from = first; from != last;) {
        TBlock block = NewBlock();
        block.Count = std::min(static_cast<size_t>(last - from), FilledBlockSize);
        std::memcpy(block.Items, from, block.Count * sizeof(TMemIndexEntry));
        from += block.Count;
        filled.push_back(block);
    }
    FBlocks = std::move(filled);
    FSize = count;
}

void TMemIndexBlocks::Insert(TPlace place, const TMemIndexEntry& entry)
{
    if (AtEnd(place)) {
        // Behind the last entry: into the last block while it has room.
        if (FBlocks.empty() || FBlocks.back().Count >= BlockCapacity)
            FBlocks.push_back(NewBlock());
        TBlock& block = FBlocks.back();
        block.Items[block.Count++] = entry;
        ++FSize;
        return;
    }
    if (FBlocks[place.Block].Count >= BlockCapacity) {
        // A full block splits in halves; the entry goes into its half.
        TBlock upper = NewBlock();
        FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(place.Block) + 1, upper);
        TBlock& lower = FBlocks[place.Block];
        const size_t half = lower.Count / 2;
        std::memcpy(upper.Items, lower.Items + half, (lower.Count - half) * sizeof(TMemIndexEntry));
        FBlocks[place.Block + 1].Count = lower.Count - half;
        lower.Count = half;
        if (place.Offset > half)
            place = {place.Block + 1, place.Offset - half};
    }
    TBlock& block = FBlocks[place.Block];
    std::memmove(block.Items + place.Offset + 1, block.Items + place.Offset,
                 (block.Count - place.Offset) * sizeof(TMemIndexEntry));
    block.Items[place.Offset] = entry;
    ++block.Count;
    ++FSize;
}

void TMemIndexBlocks::Erase(TPlace place)
{
    TBlock& block = FBlocks[place.Block];
    std::memmove(block.Items + place.Offset, block.Items + place.Offset + 1,
                 (block.Count - place.Offset - 1) * sizeof(TMemIndexEntry));
    --block.Count;
    --FSize;
    if (block.Count == 0) {
        FreeBlock(block);
        FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(place.Block));
    } else {
        JoinSmall(place.Block);
    }
}

void TMemIndexBlocks::JoinSmall(size_t block)
{
    constexpr size_t Small = BlockCapacity / 4;
    if (FBlocks[block].Count >= Small)
        return;
    // Into the following block, or the preceding one, when the two fit in half a block.
    for (const size_t into : {block + 1, block - 1}) {
        if (into >= FBlocks.size())   // also block - 1 below 0
            continue;
        TBlock& lower = FBlocks[std::min(block, into)];
        const size_t upperIndex = std::max(block, into);
        const TBlock upper = FBlocks[upperIndex];
        if (lower.Count + upper.Count > BlockCapacity / 2)
            continue;
        std::memcpy(lower.Items + lower.Count, upper.Items, upper.Count * sizeof(TMemIndexEntry));
        lower.Count += upper.Count;
        FreeBlock(upper);
        FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(upperIndex));
        return;
    }
}
