#pragma once
// The pages of one open .cdx file as one change sees them: pages read from
// the file are kept in blocks of consecutive pages (one read brings in a
// whole block; blocks are carved from slabs of up to 2 MiB that the system
// may back with huge pages, so filling a slab costs one page fault rather
// than hundreds), nodes decoded from them are kept until their page changes
// (the least recently used going first when too many are kept; its memory
// is decoded into next), pages a change writes are kept aside (with what they replace) until the
// change is committed or abandoned, and pages are allocated from the
// file's free list or at its end and given back to the list.  Nothing
// reaches the file before Commit.

#include "data/engine/dbf/CdxPage.h"
#include "data/engine/dbf/DbfFile.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cdx {

using TPage = std::array<uint8_t, PageSize>;

class TPages {
public:
    // Decoded nodes kept at most; past this the least recently used goes.
    static constexpr size_t DefaultNodesLimit = 16384;

    explicit TPages(TDbfFile& file, size_t nodesLimit = DefaultNodesLimit);

    // The page at `offset` as the change sees it; raises DBIERR_INDEXCORRUPT
    // for an offset off the pages or past the end of the file.  The pointer
    // holds until the next call.
    const uint8_t* Read(uint32_t offset);
    // The page decoded as a node of a tree of `keyLength`-byte keys; nullptr
    // with `error` set when the page is damaged.  The node stays as it is
    // however the page changes later.
    std::shared_ptr<const TNode> Node(uint32_t offset, uint16_t keyLength, uint8_t fill, std::string& error);
    // Whether page `offset` holds a leaf, as its attributes say.
    bool IsLeaf(uint32_t offset);
    // A node of page `offset` to change, from `shared` (as Node gave it):
    // the cache lets go of it, and when nobody else holds it its entries
    // are moved rather than copied.  `shared` is emptied then.
    std::unique_ptr<TNode> EditNode(uint32_t offset, std::shared_ptr<const TNode>& shared);
    // The page to change (its current bytes); marks it written.
    uint8_t* Write(uint32_t offset);
    // Writes `bytes` (a whole page, encoded from `node`) at `offset`; the
    // node is kept as the page's decoded form.
    void Store(uint32_t offset, const uint8_t* bytes, std::shared_ptr<const TNode> node, uint16_t keyLength,
               uint8_t fill);
    uint32_t Allocate();
    void Release(uint32_t offset);

    bool Changed() const { return !FDirty.empty(); }
    uint64_t Size() const { return FSize; }
    // The pages the change wrote, in offset order, with the size of the file
    // before it (pages at or past it are new).
    const std::map<uint32_t, TPage>& Written() const { return FDirty; }
    uint64_t SizeBefore() const { return FFileSize; }
    // A written page as the file holds it (before the change).
    const uint8_t* Original(uint32_t offset);
    // Writes the change's pages to the file (the caller has saved what they
    // replace) and keeps them as the cached state.
    void Commit();
    // Forgets the change.
    void Abandon();
    // Forgets the cache (another program changed the file).
    void Reload();

private:
    struct TSlabFree {
        void operator()(uint8_t* slab) const;
    };
    using TSlab = std::unique_ptr<uint8_t[], TSlabFree>;
    static constexpr uint32_t NoSlot = 0xFFFFFFFFu;
    // A decoded node kept, in a slot of FSlots found through its page's
    // entry in FSlotOfPage; the slots in use are linked from the most
    // recently used to the least.
    struct TCachedNode {
        std::shared_ptr<const TNode> Node;
        uint32_t Offset = 0;
        uint16_t KeyLength = 0;
        uint8_t Fill = 0;
        uint32_t Newer = NoSlot;
        uint32_t Older = NoSlot;
    };

    // A page of the file as it stands, read with its block when first needed.
    const uint8_t* Stored(uint32_t offset);
    // Memory for one more block, from the last slab or a new one.
    uint8_t* NewBlock();
    void ForgetAllBlocks();
    void WriteToFile();
    // Keeps `node` as the decoded form of page `offset`, the most recently used.
    void Remember(uint32_t offset, std::shared_ptr<const TNode> node, uint16_t keyLength, uint8_t fill);
    void Forget(uint32_t offset);
    void ForgetAllNodes();
    uint32_t SlotOf(uint32_t offset) const;
    // Takes slot `slot` out of use (its node let go of).
    void Drop(uint32_t slot);
    void Unlink(uint32_t slot);
    // Links an unlinked slot in as the most recently used.
    void LinkAsNewest(uint32_t slot);
    void MakeNewest(uint32_t slot);
    // A node to decode into: one the cache let go of when nobody else
    // holds it, else a new one.
    std::shared_ptr<const TNode> SpareNode();

    TDbfFile& FFile;
    // PagesPerBlock pages each, as far as the file had them when read (by
    // offset / block size; nullptr: not read).
    std::vector<uint8_t*> FBlocks;
    size_t FLoadedBlocks = 0;
    std::vector<TSlab> FSlabs;
    size_t FSlabBlocks = 0;   // blocks the last slab holds
    size_t FSlabUsed = 0;     // of them given out
    std::vector<TCachedNode> FSlots;
    std::vector<uint32_t> FFreeSlots;
    std::vector<uint32_t> FSlotOfPage;   // by offset / page size: the slot + 1, 0 for none
    uint32_t FNewest = NoSlot;
    uint32_t FOldest = NoSlot;
    size_t FNodeCount = 0;
    size_t FNodesLimit;
    std::vector<std::shared_ptr<const TNode>> FSpareNodes;
    std::map<uint32_t, TPage> FDirty;
    std::vector<uint8_t> FRun;   // neighbouring written pages, joined for one write
    uint64_t FFileSize = 0;   // on disk
    uint64_t FSize = 0;       // with the pages the change added
};

} // namespace cdx
