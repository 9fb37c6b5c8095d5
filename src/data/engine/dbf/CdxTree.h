#pragma once
// One B-tree of a compound index (a tag, or the file's tag directory):
// finding, inserting and removing (key, record) pairs.  A full node splits
// (a new node to its right; at the right edge of the tree the new node
// starts with the one new key, so appends fill pages); an emptied node is
// unlinked and its page goes to the free list; a thin leaf merges with its
// right neighbour when the two fit in one page; a root left with one child
// hands the root over to it.  A single pair inserted or removed where
// nothing above its leaf changes is written into the leaf's page as it
// stands (CdxLeafEdit.h), without decoding the leaf.  Every change goes
// through TPages, so nothing reaches the file until the caller commits.

#include "data/engine/dbf/CdxPages.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cdx {

// Raises DBIERR_INDEXCORRUPT naming the tree whose header is at `headerOffset`.
[[noreturn]] void TreeDamaged(uint32_t headerOffset, const std::string& what);
// The node at `page` of that tree, through the page cache; raises
// DBIERR_INDEXCORRUPT naming the page when it is no node.
std::shared_ptr<const TNode> LoadTreeNode(TPages& pages, uint32_t headerOffset, uint32_t page, uint16_t keyLength,
                                          uint8_t fill);

class TTree {
public:
    TTree(TPages& pages, uint32_t headerOffset, uint16_t keyLength, uint8_t fill);

    void Insert(const std::string& key, uint32_t recNo);
    // Inserts pairs given in (key, record) order; neighbouring pairs that
    // belong in one leaf go in together, the leaf written once for them.
    void InsertSorted(const std::vector<TEntry>& entries);
    // Raises DBIERR_INDEXCORRUPT when the pair is not there.
    void Remove(const std::string& key, uint32_t recNo);
    // The lowest record filed under `key` other than `except` (0 when none).
    uint32_t RecordWithKey(const std::string& key, uint32_t except = 0);
    // Every pair in order.
    void ForEach(const std::function<void(const TEntry&)>& visit);

    uint32_t HeaderOffset() const { return FHeaderOffset; }
    uint16_t KeyLength() const { return FKeyLength; }
    uint8_t Fill() const { return FFill; }

private:
    // A node on the way down: shared with the page cache until it is changed.
    struct TStep {
        uint32_t Page = 0;
        std::shared_ptr<const TNode> Shared;
        std::unique_ptr<TNode> Own;
        size_t Index = 0;   // the child descended into; in the leaf, the pair's place

        const TNode& Node() const { return Own ? *Own : *Shared; }
        TNode& Edit(TPages& pages)
        {
            if (!Own)
                Own = pages.EditNode(Page, Shared);
            return *Own;
        }
    };

    uint32_t Root();
    void SetRoot(uint32_t page);
    std::shared_ptr<const TNode> Load(uint32_t page)
    {
        return LoadTreeNode(FPages, FHeaderOffset, page, FKeyLength, FFill);
    }
    // The nodes from the root to the leaf where (key, recNo) belongs.  With
    // `leafPage`, the leaf is left out and its page put there.
    std::vector<TStep> Descend(const std::string& key, uint32_t recNo, uint32_t* leafPage = nullptr);
    using TLeafPageEdit = bool (*)(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key,
                                   uint32_t recNo, uint8_t* edited);
    // Makes the change `edit` (a function of CdxLeafEdit.h) to the page of
    // the leaf where (key, recNo) belongs; when it declines, false with the
    // path down to the leaf, for the change to be made the general way.
    bool EditLeafInPlace(TLeafPageEdit edit, const std::string& key, uint32_t recNo, std::vector<TStep>& path);
    // The greatest pair the leaf at the end of `path` may hold; false when
    // it takes every greater pair too.
    static bool LeafBound(const std::vector<TStep>& path, TEntry& bound);
    // Writes the node at `level` (`encoded`: its page, when already encoded)
    // and carries its last pair up; a node too full splits.
    void Store(std::vector<TStep>& path, size_t level, const uint8_t* encoded = nullptr);
    void Split(std::vector<TStep>& path, size_t level);
    void Shrink(std::vector<TStep>& path, size_t level);
    bool MergeWithRight(std::vector<TStep>& path, size_t level);
    void Unlink(const TNode& node);
    [[noreturn]] void Damaged(const std::string& what) const { TreeDamaged(FHeaderOffset, what); }

    TPages& FPages;
    uint32_t FHeaderOffset;
    uint16_t FKeyLength;
    uint8_t FFill;
};

} // namespace cdx
