#include "data/engine/dbf/CdxTree.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/CdxLeafEdit.h"

#include <algorithm>
#include <cstring>

namespace cdx {

namespace {

constexpr size_t MaxDepth = 32;

// Split points to try: at the right edge of the tree as many keys on the
// left as fit; elsewhere the preferred one, then outwards from the middle.
std::vector<size_t> SplitCandidates(size_t count, size_t preferred, bool rightEdge)
{
    std::vector<size_t> order{preferred};
    if (rightEdge) {
        for (size_t m = preferred; m-- > 1;)
            order.push_back(m);
        return order;
    }
    size_t middle = count / 2;
    for (size_t d = 0; d <= count; ++d) {
        if (middle + d >= 1 && middle + d < count)
            order.push_back(middle + d);
        if (d && middle >= d && middle - d >= 1)
            order.push_back(middle - d);
    }
    return order;
}

} // namespace

void TreeDamaged(uint32_t headerOffset, const std::string& what)
{
    RaiseEngineError(DBIERR_INDEXCORRUPT, {"Index tree at " + std::to_string(headerOffset), what});
}

std::shared_ptr<const TNode> LoadTreeNode(TPages& pages, uint32_t headerOffset, uint32_t page, uint16_t keyLength,
                                          uint8_t fill)
{
    if (page < HeaderSize || page == NoPage)
        TreeDamaged(headerOffset, "A node lies in a header.");
    std::string error;
    std::shared_ptr<const TNode> node = pages.Node(page, keyLength, fill, error);
    if (!node)
        TreeDamaged(headerOffset, "Page " + std::to_string(page) + ": " + error + ".");
    return node;
}

TTree::TTree(TPages& pages, uint32_t headerOffset, uint16_t keyLength, uint8_t fill)
    : FPages(pages), FHeaderOffset(headerOffset), FKeyLength(keyLength), FFill(fill)
{
}

uint32_t TTree::Root() { return Le32(FPages.Read(FHeaderOffset)); }

void TTree::SetRoot(uint32_t page) { PutLe32(FPages.Write(FHeaderOffset), page); }

std::vector<TTree::TStep> TTree::Descend(const std::string& key, uint32_t recNo, uint32_t* leafPage)
{
    std::vector<TStep> path;
    // Deep enough for any tree of a few million keys: one allocation a descent.
    path.reserve(8);
    uint32_t page = Root();
    for (;;) {
        if (path.size() >= MaxDepth)
            Damaged("The tree is deeper than any index tree can be.");
        if (leafPage && page >= HeaderSize && page != NoPage && FPages.IsLeaf(page)) {
            *leafPage = page;
            return path;
        }
        TStep step;
        step.Page = page;
        step.Shared = Load(page);
        const TNode& node = *step.Shared;
        step.Index = node.LowerBound(key, recNo);
        if (node.IsLeaf()) {
            path.push_back(std::move(step));
            return path;
        }
        if (step.Index == node.Count())
            step.Index = node.Count() - 1;
        page = step.Shared->Children[step.Index];
        path.push_back(std::move(step));
    }
}

void TTree::Store(std::vector<TStep>& path, size_t level, const uint8_t* encoded)
{
    TStep& step = path[level];
    uint8_t page[PageSize];
    if (!encoded) {
        if (!EncodeNode(step.Node(), FKeyLength, FFill, page)) {
            Split(path, level);
            return;
        }
        encoded = page;
    }
    const uint8_t* bytes = encoded;
    if (step.Own) {
        // The node as the page now holds it (a leaf keeps the entry width it was written with).
        if (step.Own->IsLeaf())
            step.Own->EntryBytes = bytes[23];
        step.Shared = std::move(step.Own);
        FPages.Store(step.Page, bytes, step.Shared, FKeyLength, FFill);
    } else {
        std::memcpy(FPages.Write(step.Page), bytes, PageSize);
    }
    const TNode& node = step.Node();
    if (level == 0 || node.Empty())
        return;
    TStep& parent = path[level - 1];
    if (!parent.Node().Holds(parent.Index, node.LastKey(), node.LastRecNo())) {
        parent.Edit(FPages).Set(parent.Index, node.LastKey(), node.LastRecNo());
        Store(path, level - 1);
    }
}

void TTree::Split(std::vector<TStep>& path, size_t level)
{
    TStep& step = path[level];
    TNode& left = step.Edit(FPages);
    const size_t count = left.Count();
    if (count < 2)
        Damaged("A single key does not fit in a page.");
    // Growing at the right edge of the tree: the new node starts with just
    // the new key, so a run of appends leaves full pages behind.
    const bool rightEdge = step.Index + 1 >= count && left.Right == NoPage;
    size_t preferred = rightEdge ? count - 1 : count / 2;

    TNode right(FKeyLength);
    right.Attributes = static_cast<uint16_t>(left.Attributes & AttrLeaf);
    right.EntryBytes = left.EntryBytes;
    left.Attributes = static_cast<uint16_t>(left.Attributes & ~AttrRoot);
    const TNode all = left;
    uint8_t leftBytes[PageSize], rightBytes[PageSize];
    bool placed = false;
    for (size_t m : SplitCandidates(count, preferred, rightEdge)) {
        left.AssignRange(all, 0, m);
        right.AssignRange(all, m, count);
        if (EncodeNode(left, FKeyLength, FFill, leftBytes) && EncodeNode(right, FKeyLength, FFill, rightBytes)) {
            placed = true;
            break;
        }
    }
    if (!placed)
        Damaged("The keys of a page cannot be split.");

    const uint32_t rightPage = FPages.Allocate();
    right.Left = step.Page;
    right.Right = left.Right;
    left.Right = rightPage;
    if (right.Right != NoPage)
        PutLe32(FPages.Write(right.Right) + 4, rightPage);
    EncodeNode(left, FKeyLength, FFill, leftBytes);
    EncodeNode(right, FKeyLength, FFill, rightBytes);
    std::memcpy(FPages.Write(step.Page), leftBytes, PageSize);
    std::memcpy(FPages.Write(rightPage), rightBytes, PageSize);

    if (level == 0) {
        TNode root(FKeyLength);
        root.Attributes = AttrRoot;
        root.Append(left.LastKey(), left.LastRecNo());
        root.Append(right.LastKey(), right.LastRecNo());
        root.Children = {step.Page, rightPage};
        const uint32_t rootPage = FPages.Allocate();
        uint8_t rootBytes[PageSize];
        EncodeNode(root, FKeyLength, FFill, rootBytes);
        std::memcpy(FPages.Write(rootPage), rootBytes, PageSize);
        SetRoot(rootPage);
        return;
    }
    TStep& parent = path[level - 1];
    TNode& above = parent.Edit(FPages);
    const size_t at = parent.Index;
    above.Set(at, left.LastKey(), left.LastRecNo());
    above.Insert(at + 1, right.LastKey(), right.LastRecNo());
    above.Children.insert(above.Children.begin() + static_cast<std::ptrdiff_t>(at) + 1, rightPage);
    parent.Index = at + 1;
    Store(path, level - 1);
}

void TTree::Insert(const std::string& key, uint32_t recNo)
{
    std::vector<TStep> path;
    if (EditLeafInPlace(InsertIntoLeafPage, key, recNo, path))
        return;
    TStep& leaf = path.back();
    if (leaf.Node().Holds(leaf.Index, key, recNo))
        return;
    leaf.Edit(FPages).Insert(leaf.Index, key, recNo);
    Store(path, path.size() - 1);
}

bool TTree::LeafBound(const std::vector<TStep>& path, TEntry& bound)
{
    for (size_t level = path.size() - 1; level-- > 0;) {
        const TNode& node = path[level].Node();
        if (path[level].Index + 1 < node.Count()) {
            bound = node.Entry(path[level].Index);
            return true;
        }
    }
    return false;
}

void TTree::InsertSorted(const std::vector<TEntry>& entries)
{
    // Pairs added to a leaf at once: few enough that the leaf, however
    // full it was, splits into two that fit.
    const size_t perLeaf = std::max<size_t>(1, LeafSpace / 3 / (FKeyLength + 8u));
    size_t next = 0;
    while (next < entries.size()) {
        std::vector<TStep> path = Descend(entries[next].Key, entries[next].RecNo);
        TEntry bound;
        const bool bounded = LeafBound(path, bound);
        TStep& leaf = path.back();
        size_t at = leaf.Index;
        size_t added = 0;
        for (; next < entries.size() && added < perLeaf; ++next) {
            const TEntry& entry = entries[next];
            if (bounded && CompareEntries(entry.Key, entry.RecNo, bound.Key, bound.RecNo) > 0)
                break;
            const TNode& held = leaf.Node();
            while (at < held.Count() && held.Compare(at, entry.Key, entry.RecNo) < 0)
                ++at;
            if (held.Holds(at, entry.Key, entry.RecNo))
                continue;
            leaf.Edit(FPages).Insert(at, entry.Key, entry.RecNo);
            leaf.Index = at++;
            ++added;
        }
        if (added)
            Store(path, path.size() - 1);
    }
}

bool TTree::EditLeafInPlace(TLeafPageEdit edit, const std::string& key, uint32_t recNo, std::vector<TStep>& path)
{
    uint32_t leafPage = 0;
    path = Descend(key, recNo, &leafPage);
    uint8_t edited[PageSize];
    if (edit(FPages.Read(leafPage), FKeyLength, FFill, key, recNo, edited)) {
        std::memcpy(FPages.Write(leafPage), edited, PageSize);
        return true;
    }
    TStep step;
    step.Page = leafPage;
    step.Shared = Load(leafPage);
    step.Index = step.Shared->LowerBound(key, recNo);
    path.push_back(std::move(step));
    return false;
}

void TTree::Remove(const std::string& key, uint32_t recNo)
{
    std::vector<TStep> path;
    if (EditLeafInPlace(RemoveFromLeafPage, key, recNo, path))
        return;
    TStep& leaf = path.back();
    if (!leaf.Node().Holds(leaf.Index, key, recNo))
        Damaged("The key of record " + std::to_string(recNo) + " is missing.");
    leaf.Edit(FPages).Erase(leaf.Index);
    Shrink(path, path.size() - 1);
}

void TTree::Unlink(const TNode& node)
{
    if (node.Left != NoPage)
        PutLe32(FPages.Write(node.Left) + 8, node.Right);
    if (node.Right != NoPage)
        PutLe32(FPages.Write(node.Right) + 4, node.Left);
}

void TTree::Shrink(std::vector<TStep>& path, size_t level)
{
    TStep& step = path[level];
    const TNode& node = step.Node();
    if (node.Empty()) {
        if (level == 0) {
            // An empty tag is one root leaf.
            TNode& root = step.Edit(FPages);
            root.Attributes = AttrRoot | AttrLeaf;
            root.Children.clear();
            root.EntryBytes = 0;
            Store(path, 0);
            return;
        }
        Unlink(node);
        FPages.Release(step.Page);
        TStep& parent = path[level - 1];
        TNode& above = parent.Edit(FPages);
        above.Erase(parent.Index);
        above.Children.erase(above.Children.begin() + static_cast<std::ptrdiff_t>(parent.Index));
        parent.Index = parent.Index > 0 ? parent.Index - 1 : 0;
        Shrink(path, level - 1);
        return;
    }
    if (level == 0 && !node.IsLeaf() && node.Count() == 1) {
        // The root's only child takes its place.
        const uint32_t child = node.Children[0];
        uint8_t* childPage = FPages.Write(child);
        PutLe16(childPage, static_cast<uint16_t>(Le16(childPage) | AttrRoot));
        FPages.Release(step.Page);
        SetRoot(child);
        return;
    }
    if (level == 0 || !node.IsLeaf()) {
        Store(path, level);
        return;
    }
    // A leaf less than a third full takes in its right neighbour when both
    // fit in one page; else it is stored as encoded here.
    uint8_t bytes[PageSize];
    const bool fits = EncodeNode(node, FKeyLength, FFill, bytes);
    if (fits && Le16(bytes + 12) >= 2 * LeafSpace / 3 && MergeWithRight(path, level))
        return;
    Store(path, level, fits ? bytes : nullptr);
}

// Merges the leaf at `level` with its right neighbour under the same
// parent when the two fit in one page.
bool TTree::MergeWithRight(std::vector<TStep>& path, size_t level)
{
    TStep& step = path[level];
    TStep& parent = path[level - 1];
    if (parent.Index + 1 >= parent.Node().Count())
        return false;
    const uint32_t rightPage = parent.Node().Children[parent.Index + 1];
    std::shared_ptr<const TNode> right = Load(rightPage);
    auto merged = std::make_unique<TNode>(step.Node());
    merged->AppendPairs(*right);
    merged->Right = right->Right;
    uint8_t bytes[PageSize];
    if (!EncodeNode(*merged, FKeyLength, FFill, bytes))
        return false;
    if (right->Right != NoPage)
        PutLe32(FPages.Write(right->Right) + 4, step.Page);
    std::memcpy(FPages.Write(step.Page), bytes, PageSize);
    FPages.Release(rightPage);
    step.Own = std::move(merged);
    TNode& above = parent.Edit(FPages);
    above.Erase(parent.Index);
    above.Children.erase(above.Children.begin() + static_cast<std::ptrdiff_t>(parent.Index) + 1);
    above.Set(parent.Index, step.Node().LastKey(), step.Node().LastRecNo());
    Shrink(path, level - 1);
    return true;
}

uint32_t TTree::RecordWithKey(const std::string& key, uint32_t except)
{
    std::vector<TStep> path = Descend(key, 0);
    std::shared_ptr<const TNode> node = path.back().Shared;
    size_t i = path.back().Index;
    for (size_t visited = 0; visited < 1u << 20; ++visited) {
        for (; i < node->Count(); ++i) {
            if (node->Key(i) != key)
                return 0;
            if (node->RecNo(i) != except)
                return node->RecNo(i);
        }
        if (node->Right == NoPage)
            return 0;
        node = Load(node->Right);
        i = 0;
    }
    return 0;
}

void TTree::ForEach(const std::function<void(const TEntry&)>& visit)
{
    std::shared_ptr<const TNode> node = Load(Root());
    for (size_t depth = 0; !node->IsLeaf(); ++depth) {
        if (depth >= MaxDepth || node->Children.empty())
            Damaged("The tree's first leaf cannot be reached.");
        node = Load(node->Children.front());
    }
    const uint64_t pageLimit = FPages.Size() / PageSize;
    TEntry entry;
    for (uint64_t visited = 0;; ++visited) {
        if (visited > pageLimit)
            Damaged("The leaves are linked in a circle.");
        for (size_t i = 0; i < node->Count(); ++i) {
            entry.Key.assign(node->Key(i));
            entry.RecNo = node->RecNo(i);
            visit(entry);
        }
        if (node->Right == NoPage)
            return;
        node = Load(node->Right);
    }
}

} // namespace cdx
