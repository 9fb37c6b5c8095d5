#include "data/engine/paradox/PxChange.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxTable.h"

#include <algorithm>
#include <cstring>

namespace px {

namespace {
constexpr int BlockHeader = 6;
constexpr int MaxBlocks = 0xFFFF;
}

TPxChange::TPxChange(TPxTable& table)
    : Header(table.FHeader), Chain(table.FMap.Chain()), FTable(table), FRecordSize(table.FHeader.RecordSize()),
      FBlockSize(table.FHeader.BlockSize()), FOldChain(table.FMap.Chain())
{
    FCapacity = (FBlockSize - BlockHeader) / FRecordSize;
    FFileBlocks = Header.FileBlocks();
    FFreeHead = Header.FirstFreeBlock();
    if (FFreeHead > FFileBlocks)
        FFreeHead = 0;   // a dangling free list is not followed
}

void TPxChange::Flag(std::vector<uint8_t>& flags, uint16_t block)
{
    if (block >= flags.size())
        flags.resize(size_t{block} + 1, 0);
    flags[block] = 1;
}

std::vector<uint8_t>& TPxChange::Image(uint16_t block)
{
    if (IsLoaded(block))
        return FImages[block];
    Flag(FLoadedFlags, block);
    std::vector<uint8_t>& image = FImages[block];
    if (block <= FTable.FHeader.FileBlocks()) {
        FTable.ReadBlockImage(block, image);
        // Counts come from the chain walk, which clamps damaged values.
        int position = FTable.FMap.PositionOf(block);
        if (position >= 0)
            PutLe16(&image[4], static_cast<uint16_t>((FTable.FMap.CountAt(position) - 1) * FRecordSize));
    } else {
        image.assign(FBlockSize, 0);
    }
    return image;
}

std::vector<uint8_t>& TPxChange::DirtyImage(uint16_t block)
{
    std::vector<uint8_t>& image = Image(block);
    if (!IsDirty(block)) {
        Flag(FDirtyFlags, block);
        FDirty.push_back(block);
    }
    return image;
}

int TPxChange::CountOf(uint16_t block)
{
    if (!IsLoaded(block)) {
        int position = FTable.FMap.PositionOf(block);
        return position >= 0 ? FTable.FMap.CountAt(position) : 0;
    }
    int16_t last = static_cast<int16_t>(Le16(&FImages[block][4]));
    return last < 0 ? 0 : last / FRecordSize + 1;
}

void TPxChange::SetCount(uint16_t block, int count)
{
    PutLe16(&DirtyImage(block)[4], static_cast<uint16_t>(static_cast<int16_t>((count - 1) * FRecordSize)));
}

uint8_t* TPxChange::Record(uint16_t block, int slot)
{
    return &Image(block)[BlockHeader + slot * FRecordSize];
}

std::vector<std::string>& TPxChange::Labels(uint16_t block)
{
    auto it = FLabels.find(block);
    if (it != FLabels.end())
        return it->second;
    std::vector<std::string>& labels = FLabels[block];
    if (!FTable.FKeyBookmarks && block < FTable.FLabels.size()) {
        int count = CountOf(block);
        for (int i = 0; i < count; ++i)
            labels.push_back(FTable.LabelAt(block, i));
    }
    return labels;
}

uint16_t TPxChange::AllocateBlock()
{
    while (FFreeHead != 0) {
        uint16_t block = static_cast<uint16_t>(FFreeHead);
        std::vector<uint8_t>& image = Image(block);
        int next = Le16(&image[0]);
        FFreeHead = next <= FFileBlocks ? next : 0;
        if (std::find(Chain.begin(), Chain.end(), block) != Chain.end())
            continue;   // a damaged free list naming a live block: never reuse it
        FFreed.erase(std::remove(FFreed.begin(), FFreed.end(), block), FFreed.end());
        std::fill(image.begin(), image.end(), 0);
        DirtyImage(block);
        FLabels[block].clear();
        return block;
    }
    if (FFileBlocks >= MaxBlocks)
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + FTable.Path(), "The table has reached its limit of 65,535 blocks."});
    uint16_t block = static_cast<uint16_t>(++FFileBlocks);
    Flag(FLoadedFlags, block);
    FImages[block].assign(FBlockSize, 0);
    DirtyImage(block);
    FLabels[block].clear();
    return block;
}

void TPxChange::FreeBlock(uint16_t block)
{
    std::vector<uint8_t>& image = DirtyImage(block);
    PutLe16(&image[0], static_cast<uint16_t>(FFreeHead));
    PutLe16(&image[2], 0);
    PutLe16(&image[4], static_cast<uint16_t>(static_cast<int16_t>(-FRecordSize)));
    FFreeHead = block;
    FFreed.push_back(block);
    FLabels.erase(block);
}

void TPxChange::Insert(int position, int slot, const std::vector<uint8_t>& record, const std::string& label,
                       int& finalPosition, int& finalSlot)
{
    if (Chain.empty()) {
        uint16_t first = AllocateBlock();
        Chain.push_back(first);
        SetCount(first, 0);
        position = 0;
        slot = 0;
    }
    uint16_t block = Chain[position];
    int count = CountOf(block);
    const bool labelled = !FTable.FKeyBookmarks;
    auto putInto = [&](uint16_t target, int at) {
        if (labelled)
            Labels(target);   // materialised before the count changes
        int n = CountOf(target);
        std::vector<uint8_t>& image = DirtyImage(target);
        uint8_t* base = &image[BlockHeader];
        std::memmove(base + (at + 1) * FRecordSize, base + at * FRecordSize, static_cast<size_t>(n - at) * FRecordSize);
        std::memcpy(base + at * FRecordSize, record.data(), FRecordSize);
        SetCount(target, n + 1);
        if (!FTable.FKeyBookmarks) {
            auto& labels = Labels(target);
            labels.insert(labels.begin() + std::min<int>(at, static_cast<int>(labels.size())), label);
        }
    };
    if (count < FCapacity) {
        putInto(block, slot);
        finalPosition = position;
        finalSlot = slot;
        return;
    }
    bool atChainEnd = position == static_cast<int>(Chain.size()) - 1 && slot == count;
    uint16_t fresh = AllocateBlock();
    SetCount(fresh, 0);
    if (atChainEnd || FCapacity == 1) {
        // A new block of its own after (or, at slot 0, before) the full one.
        int at = slot == 0 && !atChainEnd ? position : position + 1;
        Chain.insert(Chain.begin() + at, fresh);
        putInto(fresh, 0);
        finalPosition = at;
        finalSlot = 0;
        return;
    }
    // Split: the second half moves to the new block linked right after.
    int keep = count / 2;
    int moved = count - keep;
    if (labelled)
        Labels(block);
    std::memcpy(&DirtyImage(fresh)[BlockHeader], Record(block, keep), static_cast<size_t>(moved) * FRecordSize);
    SetCount(fresh, moved);
    SetCount(block, keep);
    if (!FTable.FKeyBookmarks) {
        auto& oldLabels = Labels(block);
        auto& newLabels = Labels(fresh);
        newLabels.assign(oldLabels.begin() + keep, oldLabels.end());
        oldLabels.resize(keep);
    }
    Chain.insert(Chain.begin() + position + 1, fresh);
    if (slot <= keep) {
        putInto(block, slot);
        finalPosition = position;
        finalSlot = slot;
    } else {
        putInto(fresh, slot - keep);
        finalPosition = position + 1;
        finalSlot = slot - keep;
    }
}

void TPxChange::Remove(int position, int slot)
{
    uint16_t block = Chain[position];
    int count = CountOf(block);
    if (!FTable.FKeyBookmarks)
        Labels(block);   // materialised before the count changes
    std::vector<uint8_t>& image = DirtyImage(block);
    uint8_t* base = &image[BlockHeader];
    std::memmove(base + slot * FRecordSize, base + (slot + 1) * FRecordSize, static_cast<size_t>(count - slot - 1) * FRecordSize);
    std::memset(base + (count - 1) * FRecordSize, 0, FRecordSize);
    SetCount(block, count - 1);
    if (!FTable.FKeyBookmarks) {
        auto& labels = Labels(block);
        if (slot < static_cast<int>(labels.size()))
            labels.erase(labels.begin() + slot);
    }
    if (count - 1 > 0 || Chain.size() == 1)
        return;
    if (block != 1) {
        Chain.erase(Chain.begin() + position);
        FreeBlock(block);
        return;
    }
    // Block 1 is never freed: it takes over a neighbour's records and place.
    int neighbourPosition = position + 1 < static_cast<int>(Chain.size()) ? position + 1 : position - 1;
    uint16_t neighbour = Chain[neighbourPosition];
    int moved = CountOf(neighbour);
    if (!FTable.FKeyBookmarks)
        Labels(neighbour);
    std::memcpy(&DirtyImage(1)[BlockHeader], Record(neighbour, 0), static_cast<size_t>(moved) * FRecordSize);
    SetCount(1, moved);
    if (!FTable.FKeyBookmarks)
        Labels(1) = Labels(neighbour);
    Chain[neighbourPosition] = 1;
    Chain.erase(Chain.begin() + position);
    FreeBlock(neighbour);
}

void TPxChange::Overwrite(uint16_t block, int slot, const std::vector<uint8_t>& record)
{
    std::memcpy(&DirtyImage(block)[BlockHeader + slot * FRecordSize], record.data(), FRecordSize);
}

void TPxChange::FindKey(const std::string& key, int& position, int& slot, bool& found)
{
    found = false;
    position = 0;
    slot = 0;
    size_t width = key.size();
    if (Chain.empty())
        return;
    // Last block whose first key is <= key (blocks in the chain are never empty unless alone).
    int lo = 0, hi = static_cast<int>(Chain.size()) - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (CountOf(Chain[mid]) > 0 && std::memcmp(Record(Chain[mid], 0), key.data(), width) <= 0)
            lo = mid;
        else
            hi = mid - 1;
    }
    position = lo;
    uint16_t block = Chain[lo];
    int a = 0, b = CountOf(block);
    while (a < b) {
        int mid = (a + b) / 2;
        if (std::memcmp(Record(block, mid), key.data(), width) < 0)
            a = mid + 1;
        else
            b = mid;
    }
    slot = a;
    found = a < CountOf(block) && std::memcmp(Record(block, a), key.data(), width) == 0;
}

std::vector<int> TPxChange::ChainCounts()
{
    if (!FFinalCounts.empty() || Chain.empty())
        return FFinalCounts;
    std::vector<int> counts;
    counts.reserve(Chain.size());
    for (uint16_t block : Chain)
        counts.push_back(CountOf(block));
    return counts;
}

void TPxChange::LinkChain()
{
    const TPxBlockMap& old = FTable.FMap;
    const bool sameChain = Chain == FOldChain;   // then every block keeps its neighbours
    for (size_t i = 0; i < Chain.size() && !sameChain; ++i) {
        uint16_t block = Chain[i];
        uint16_t prev = i > 0 ? Chain[i - 1] : 0;
        uint16_t next = i + 1 < Chain.size() ? Chain[i + 1] : 0;
        if (!IsDirty(block)) {
            int oldPosition = old.PositionOf(block);
            uint16_t oldPrev = oldPosition > 0 ? FOldChain[oldPosition - 1] : 0;
            uint16_t oldNext = oldPosition >= 0 && oldPosition + 1 < static_cast<int>(FOldChain.size()) ? FOldChain[oldPosition + 1] : 0;
            if (oldPosition >= 0 && oldPrev == prev && oldNext == next)
                continue;
        }
        std::vector<uint8_t>& image = DirtyImage(block);
        PutLe16(&image[0], next);
        PutLe16(&image[2], prev);
    }
    FFinalCounts.clear();
    FFinalCounts = ChainCounts();
    int64_t total = 0;
    for (int count : FFinalCounts)
        total += count;
    Header.SetNumRecords(static_cast<uint32_t>(total));
    Header.SetBlocks(static_cast<int>(Chain.size()), FFileBlocks, Chain.empty() ? 0 : Chain.front(),
                     Chain.empty() ? 0 : Chain.back(), FFreeHead);
    Header.StampChange();
}

void TPxChange::Commit()
{
    LinkChain();
    TPxFile& file = FTable.FData;
    FOldSize = file.Size();
    FOldHeader.assign(FTable.FHeader.Raw.begin(), FTable.FHeader.Raw.end());
    int oldBlocks = FTable.FHeader.FileBlocks();
    std::vector<uint16_t> order(FDirty);
    // New blocks first: until the header is written nobody reaches them.
    std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) {
        return (a > oldBlocks) > (b > oldBlocks);
    });
    FWritten = true;
    try {
        for (uint16_t block : order) {
            int64_t offset = FTable.FHeader.HeaderSize() + int64_t(block - 1) * FBlockSize;
            if (block <= oldBlocks && offset < FOldSize) {
                std::vector<uint8_t> old(FBlockSize, 0);
                file.ReadAt(offset, old.data(), old.size());
                FOldBytes.emplace_back(offset, std::move(old));
            }
            FTable.WriteBlockImage(block, FImages[block]);
        }
        FTable.WriteHeader(Header.Raw);
    } catch (...) {
        Undo();
        throw;
    }
}

void TPxChange::Undo()
{
    if (!FWritten)
        return;
    TPxFile& file = FTable.FData;
    try {
        for (auto it = FOldBytes.rbegin(); it != FOldBytes.rend(); ++it)
            file.WriteAt(it->first, it->second.data(), it->second.size());
        file.WriteAt(0, FOldHeader.data(), FOldHeader.size());
        file.Truncate(FOldSize);
    } catch (...) {
        // Nothing more can be done; the caller reports the original failure.
    }
    FWritten = false;
}

} // namespace px
