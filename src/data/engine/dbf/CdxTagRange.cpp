#include "data/engine/dbf/CdxTagRange.h"

#include "data/engine/dbf/CdxTree.h"

#include "data/engine/ByteOrder.h"

#include <algorithm>

namespace cdx {

namespace {

constexpr size_t MaxDepth = 32;

bool StartsWith(std::string_view key, std::string_view prefix)
{
    return key.size() >= prefix.size() && key.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TTagRange::TTagRange(TPages& pages, uint32_t headerOffset, uint16_t keyLength, uint8_t fill)
    : FPages(pages), FHeaderOffset(headerOffset), FKeyLength(keyLength), FFill(fill)
{
}

void TTagRange::Damaged(const std::string& what) const { TreeDamaged(FHeaderOffset, what); }

std::shared_ptr<const TNode> TTagRange::Load(uint32_t page)
{
    return LoadTreeNode(FPages, FHeaderOffset, page, FKeyLength, FFill);
}

void TTagRange::Descend(const std::string& key, uint32_t recNo)
{
    uint32_t page = Le32(FPages.Read(FHeaderOffset));
    for (size_t depth = 0;; ++depth) {
        if (depth >= MaxDepth)
            Damaged("The tree is deeper than any index tree can be.");
        std::shared_ptr<const TNode> node = Load(page);
        const size_t index = node->LowerBound(key, recNo);
        if (node->IsLeaf()) {
            FLeaf = std::move(node);
            FAt = index;
            FLeavesVisited = 0;
            return;
        }
        if (node->Empty() || node->Children.size() != node->Count())
            Damaged("An interior node has no children.");
        // Past the last child's greatest pair: the range starts in no leaf of
        // this subtree but in the next one, reached through the last leaf's link.
        page = node->Children[std::min(index, node->Count() - 1)];
    }
}

void TTagRange::Seek(const std::string& prefix)
{
    FPrefix = prefix;
    Descend(prefix, 0);
}

bool TTagRange::Next(TEntry& entry)
{
    const uint64_t pageLimit = FPages.Size() / PageSize;
    while (FLeaf) {
        if (FAt < FLeaf->Count()) {
            const std::string_view key = FLeaf->Key(FAt);
            if (!StartsWith(key, FPrefix)) {
                FLeaf.reset();
                return false;
            }
            entry.Key.assign(key);
            entry.RecNo = FLeaf->RecNo(FAt);
            ++FAt;
            return true;
        }
        if (FLeaf->Right == NoPage) {
            FLeaf.reset();
            return false;
        }
        if (++FLeavesVisited > pageLimit)
            Damaged("The leaves are linked in a circle.");
        FLeaf = Load(FLeaf->Right);
        FAt = 0;
    }
    return false;
}

bool TTagRange::Holds(const std::string& key, uint32_t recNo)
{
    Descend(key, recNo);
    FPrefix = key;
    TEntry entry;
    return Next(entry) && entry.Key == key && entry.RecNo == recNo;
}

} // namespace cdx
