#include "data/engine/dbf/CdxPages.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "platform/HugePageAllocator.h"

#include <algorithm>
#include <cstring>

namespace cdx {

namespace {

// Pages read from the file together: neighbouring nodes of a tree mostly
// stand in one block, so walking or editing a tag reads the file seldom.
constexpr uint32_t PagesPerBlock = 64;
constexpr uint32_t BlockSize = PagesPerBlock * PageSize;
// Blocks kept between changes (128 MiB); past this the cache starts afresh.
constexpr size_t CachedBlocksLimit = 4096;
// Blocks of one slab: one huge page.
constexpr size_t BlocksPerSlab = (size_t{2} << 20) / BlockSize;
// Nodes let go of, kept to decode into.
constexpr size_t SpareNodesLimit = 64;

} // namespace

TPages::TPages(TDbfFile& file, size_t nodesLimit) : FFile(file), FNodesLimit(std::max<size_t>(1, nodesLimit))
{
    FFileSize = FFile.Size();
    FSize = FFileSize;
}

const uint8_t* TPages::Stored(uint32_t offset)
{
    if (offset % PageSize != 0 || static_cast<uint64_t>(offset) + PageSize > FFileSize)
        RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + FFile.Path(), "A page offset lies outside the index file."});
    const size_t number = offset / BlockSize;
    if (number >= FBlocks.size())
        FBlocks.resize(number + 1);
    if (!FBlocks[number]) {
        if (FLoadedBlocks >= CachedBlocksLimit)
            ForgetAllBlocks();
        const uint64_t start = static_cast<uint64_t>(number) * BlockSize;
        // Left unset past the end of the file: only pages within it are read,
        // and pages a change adds there are copied in when committed.
        uint8_t* block = NewBlock();
        FFile.ReadExactAt(start, block, static_cast<size_t>(std::min<uint64_t>(BlockSize, FFileSize - start)));
        FBlocks[number] = block;
        ++FLoadedBlocks;
    }
    return FBlocks[number] + offset % BlockSize;
}

void TPages::TSlabFree::operator()(uint8_t* slab) const { THugePageAllocator<uint8_t>().deallocate(slab, 0); }

uint8_t* TPages::NewBlock()
{
    if (FSlabs.empty() || FSlabUsed == FSlabBlocks) {
        // A small file gets a slab of just the blocks it has left to read.
        const uint64_t fileBlocks = (FFileSize + BlockSize - 1) / BlockSize;
        const uint64_t unread = fileBlocks > FLoadedBlocks ? fileBlocks - FLoadedBlocks : 1;
        FSlabBlocks = static_cast<size_t>(std::min<uint64_t>(BlocksPerSlab, unread));
        FSlabs.emplace_back(THugePageAllocator<uint8_t>().allocate(FSlabBlocks * BlockSize));
        FSlabUsed = 0;
    }
    return FSlabs.back().get() + FSlabUsed++ * BlockSize;
}

void TPages::ForgetAllBlocks()
{
    std::fill(FBlocks.begin(), FBlocks.end(), nullptr);
    FSlabs.clear();
    FSlabBlocks = 0;
    FSlabUsed = 0;
    FLoadedBlocks = 0;
}

const uint8_t* TPages::Read(uint32_t offset)
{
    auto dirty = FDirty.find(offset);
    if (dirty != FDirty.end())
        return dirty->second.data();
    return Stored(offset);
}

std::shared_ptr<const TNode> TPages::Node(uint32_t offset, uint16_t keyLength, uint8_t fill, std::string& error)
{
    const uint32_t slot = SlotOf(offset);
    if (slot != NoSlot && FSlots[slot].KeyLength == keyLength && FSlots[slot].Fill == fill) {
        MakeNewest(slot);
        return FSlots[slot].Node;
    }
    std::shared_ptr<const TNode> node = SpareNode();
    // Nodes are made by this class, never const themselves.
    if (!DecodeNode(Read(offset), keyLength, fill, const_cast<TNode&>(*node), error))
        return nullptr;
    Remember(offset, node, keyLength, fill);
    return node;
}

bool TPages::IsLeaf(uint32_t offset) { return (Le16(Read(offset)) & AttrLeaf) != 0; }

std::shared_ptr<const TNode> TPages::SpareNode()
{
    if (FSpareNodes.empty())
        return std::make_shared<TNode>();
    std::shared_ptr<const TNode> node = std::move(FSpareNodes.back());
    FSpareNodes.pop_back();
    return node;
}

void TPages::Remember(uint32_t offset, std::shared_ptr<const TNode> node, uint16_t keyLength, uint8_t fill)
{
    uint32_t slot = SlotOf(offset);
    if (slot == NoSlot) {
        if (FNodeCount >= FNodesLimit)
            Forget(FSlots[FOldest].Offset);
        if (FFreeSlots.empty()) {
            slot = static_cast<uint32_t>(FSlots.size());
            FSlots.emplace_back();
        } else {
            slot = FFreeSlots.back();
            FFreeSlots.pop_back();
        }
        const size_t page = offset / PageSize;
        if (page >= FSlotOfPage.size())
            FSlotOfPage.resize(page + 1, 0);
        FSlotOfPage[page] = slot + 1;
        FSlots[slot].Offset = offset;
        ++FNodeCount;
    } else {
        Unlink(slot);
    }
    TCachedNode& cached = FSlots[slot];
    cached.Node = std::move(node);
    cached.KeyLength = keyLength;
    cached.Fill = fill;
    LinkAsNewest(slot);
}

uint32_t TPages::SlotOf(uint32_t offset) const
{
    const size_t page = offset / PageSize;
    // 0 (none) becomes NoSlot.
    return page < FSlotOfPage.size() ? FSlotOfPage[page] - 1 : NoSlot;
}

void TPages::Unlink(uint32_t slot)
{
    TCachedNode& cached = FSlots[slot];
    if (cached.Newer != NoSlot)
        FSlots[cached.Newer].Older = cached.Older;
    else
        FNewest = cached.Older;
    if (cached.Older != NoSlot)
        FSlots[cached.Older].Newer = cached.Newer;
    else
        FOldest = cached.Newer;
    cached.Newer = cached.Older = NoSlot;
}

void TPages::LinkAsNewest(uint32_t slot)
{
    FSlots[slot].Older = FNewest;
    FSlots[slot].Newer = NoSlot;
    if (FNewest != NoSlot)
        FSlots[FNewest].Newer = slot;
    FNewest = slot;
    if (FOldest == NoSlot)
        FOldest = slot;
}

void TPages::MakeNewest(uint32_t slot)
{
    if (slot == FNewest)
        return;
    Unlink(slot);
    LinkAsNewest(slot);
}

void TPages::Drop(uint32_t slot)
{
    Unlink(slot);
    FSlots[slot].Node.reset();
    FSlotOfPage[FSlots[slot].Offset / PageSize] = 0;
    FFreeSlots.push_back(slot);
    --FNodeCount;
}

void TPages::Forget(uint32_t offset)
{
    const uint32_t slot = SlotOf(offset);
    if (slot == NoSlot)
        return;
    std::shared_ptr<const TNode>& node = FSlots[slot].Node;
    if (node.use_count() == 1 && FSpareNodes.size() < SpareNodesLimit)
        FSpareNodes.push_back(std::move(node));
    Drop(slot);
}

void TPages::ForgetAllNodes()
{
    FSlots.clear();
    FFreeSlots.clear();
    FSlotOfPage.clear();
    FNewest = FOldest = NoSlot;
    FNodeCount = 0;
}

std::unique_ptr<TNode> TPages::EditNode(uint32_t offset, std::shared_ptr<const TNode>& shared)
{
    const uint32_t slot = SlotOf(offset);
    if (slot != NoSlot && FSlots[slot].Node == shared)
        Drop(slot);
    if (shared.use_count() != 1)
        return std::make_unique<TNode>(*shared);
    // Nodes are made by this class, never const themselves.
    auto own = std::make_unique<TNode>(std::move(const_cast<TNode&>(*shared)));
    shared.reset();
    return own;
}

const uint8_t* TPages::Original(uint32_t offset) { return Stored(offset); }

uint8_t* TPages::Write(uint32_t offset)
{
    Forget(offset);
    auto dirty = FDirty.find(offset);
    if (dirty != FDirty.end())
        return dirty->second.data();
    TPage copy;
    std::memcpy(copy.data(), Read(offset), PageSize);
    return FDirty.emplace(offset, copy).first->second.data();
}

void TPages::Store(uint32_t offset, const uint8_t* bytes, std::shared_ptr<const TNode> node, uint16_t keyLength,
                   uint8_t fill)
{
    std::memcpy(Write(offset), bytes, PageSize);
    Remember(offset, std::move(node), keyLength, fill);
}

uint32_t TPages::Allocate()
{
    uint32_t head = Le32(Read(0) + 4);
    if (head != 0 && head != NoPage) {
        if (head % PageSize != 0 || head < HeaderSize || static_cast<uint64_t>(head) + PageSize > FSize)
            RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + FFile.Path(), "The index's free-page list is damaged."});
        uint32_t next = Le32(Read(head));
        PutLe32(Write(0) + 4, next);
        std::memset(Write(head), 0, PageSize);
        return head;
    }
    if (FSize + PageSize > 0xFFFFF000ull)
        RaiseEngineError(DBIERR_NODISKSPACE, {"File: " + FFile.Path(), "The index file cannot grow further."});
    uint32_t offset = static_cast<uint32_t>(FSize);
    FSize += PageSize;
    Forget(offset);
    FDirty[offset].fill(0);
    return offset;
}

void TPages::Release(uint32_t offset)
{
    uint32_t head = Le32(Read(0) + 4);
    uint8_t* page = Write(offset);
    std::memset(page, 0, PageSize);
    PutLe32(page, head == NoPage ? 0 : head);
    PutLe32(Write(0) + 4, offset);
}

void TPages::WriteToFile()
{
    // New pages first, then the pages pointing to them, the file header
    // (free list and change counter) last; neighbouring pages in one write.
    auto writeWhere = [&](auto take) {
        auto first = FDirty.end();
        size_t pages = 0;
        auto flush = [&] {
            if (pages == 1) {
                FFile.WriteAt(first->first, first->second.data(), PageSize);
            } else if (pages > 1) {
                FRun.resize(pages * PageSize);
                auto page = first;
                for (size_t i = 0; i < pages; ++i, ++page)
                    std::memcpy(FRun.data() + i * PageSize, page->second.data(), PageSize);
                FFile.WriteAt(first->first, FRun.data(), FRun.size());
            }
            pages = 0;
        };
        for (auto page = FDirty.begin(); page != FDirty.end(); ++page) {
            if (!take(page->first))
                continue;
            if (pages == 0 || static_cast<uint64_t>(first->first) + pages * PageSize != page->first) {
                flush();
                first = page;
            }
            ++pages;
        }
        flush();
    };
    writeWhere([this](uint32_t offset) { return offset >= FFileSize; });
    writeWhere([this](uint32_t offset) { return offset != 0 && offset < FFileSize; });
    writeWhere([](uint32_t offset) { return offset == 0; });
}

void TPages::Commit()
{
    WriteToFile();
    FFileSize = FSize;
    // The written pages are the file's now; blocks already read take them in.
    for (const auto& [offset, page] : FDirty) {
        const size_t number = offset / BlockSize;
        if (number < FBlocks.size() && FBlocks[number])
            std::memcpy(FBlocks[number] + offset % BlockSize, page.data(), PageSize);
    }
    FDirty.clear();
}

void TPages::Abandon()
{
    for (const auto& written : FDirty)
        Forget(written.first);
    FDirty.clear();
    FSize = FFileSize;
}

void TPages::Reload()
{
    FDirty.clear();
    ForgetAllBlocks();
    ForgetAllNodes();
    FFileSize = FFile.Size();
    FSize = FFileSize;
}

} // namespace cdx
