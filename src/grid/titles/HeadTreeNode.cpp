#include "grid/titles/HeadTreeNode.h"

#include "platform/Exceptions.h"

#include <algorithm>

namespace {

// The first part of a caption: leading "|" skipped, up to the next "|".
// `consumed` counts the characters up to the start of the second part.
struct TCaptionHead {
    std::string Part;
    size_t Consumed = 0;
    bool HasSecondPart = false;
};

TCaptionHead SplitCaption(const std::string& text)
{
    TCaptionHead head;
    size_t i = text.find_first_not_of('|');
    if (i == std::string::npos)
        return head;
    size_t end = text.find('|', i);
    if (end == std::string::npos) {
        head.Part = text.substr(i);
        head.Consumed = text.size();
        return head;
    }
    head.Part = text.substr(i, end - i);
    size_t next = text.find_first_not_of('|', end);
    head.Consumed = next == std::string::npos ? text.size() : next;
    head.HasSecondPart = next != std::string::npos;
    return head;
}

int LeftmostColumn(const THeadTreeNode& node)
{
    return node.IsLeaf() ? node.ColumnIndex : LeftmostColumn(*node.Children().front());
}

int RightmostColumn(const THeadTreeNode& node)
{
    return node.IsLeaf() ? node.ColumnIndex : RightmostColumn(*node.Children().back());
}

int DepthBelow(const THeadTreeNode& node)
{
    int deepest = 0;
    for (const auto& child : node.Children())
        deepest = std::max(deepest, 1 + DepthBelow(*child));
    return deepest;
}

} // namespace

// ---- THeadTreeNode

THeadTreeNode::THeadTreeNode(std::string text, int width, int height)
    : Text(std::move(text)), Width(width), Height(height)
{
}

size_t THeadTreeNode::IndexInHost() const
{
    const auto& siblings = FHost->FChildren;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == this; });
    return static_cast<size_t>(it - siblings.begin());
}

THeadTreeNode* THeadTreeNode::Next() const
{
    if (!FHost)
        return const_cast<THeadTreeNode*>(this);
    const auto& siblings = FHost->FChildren;
    return siblings[(IndexInHost() + 1) % siblings.size()].get();
}

bool THeadTreeNode::Find(const THeadTreeNode& node) const
{
    if (&node == this)
        return true;
    return std::any_of(FChildren.begin(), FChildren.end(), [&](const auto& child) { return child->Find(node); });
}

THeadTreeNode& THeadTreeNode::AddAfter(THeadTreeNode& sibling, std::string text, int width, int height)
{
    if (!Find(sibling) || !sibling.FHost)
        throw Exception("Node not in Tree");
    auto node = std::make_unique<THeadTreeNode>(std::move(text), width, height);
    node->FHost = sibling.FHost;
    auto& siblings = sibling.FHost->FChildren;
    return **siblings.insert(siblings.begin() + static_cast<long>(sibling.IndexInHost()) + 1, std::move(node));
}

THeadTreeNode& THeadTreeNode::AddChild(THeadTreeNode& parent, std::string text, int width, int height)
{
    if (!Find(parent))
        throw Exception("Node not in Tree");
    auto node = std::make_unique<THeadTreeNode>(std::move(text), width, height);
    node->FHost = &parent;
    parent.FChildren.push_back(std::move(node));
    return *parent.FChildren.back();
}

THeadTreeNode& THeadTreeNode::Union(THeadTreeNode& from, THeadTreeNode& to, int height, std::string text)
{
    if (!Find(from) || !from.FHost)
        throw Exception("Node not in Tree");
    if (to.FHost != from.FHost || to.IndexInHost() < from.IndexInHost())
        throw Exception("ATo not in level");
    THeadTreeNode* host = from.FHost;
    size_t first = from.IndexInHost(), last = to.IndexInHost();
    auto group = std::make_unique<THeadTreeNode>(std::move(text), 0, height);
    group->FHost = host;
    group->VLineWidth = to.VLineWidth;
    auto& siblings = host->FChildren;
    for (size_t i = first; i <= last; ++i) {
        THeadTreeNode& member = *siblings[i];
        group->Width += member.Width + group->VLineWidth;
        member.Height -= height;
        member.FHost = group.get();
        group->FChildren.push_back(std::move(siblings[i]));
    }
    group->Width -= group->VLineWidth;   // no line after the last child
    siblings.erase(siblings.begin() + static_cast<long>(first), siblings.begin() + static_cast<long>(last) + 1);
    return **siblings.insert(siblings.begin() + static_cast<long>(first), std::move(group));
}

void THeadTreeNode::VisitAll(const std::function<void(THeadTreeNode&)>& visit)
{
    for (auto& child : FChildren) {
        visit(*child);
        child->VisitAll(visit);
    }
}

// ---- TTitleTree

void TTitleTree::Build(const std::vector<THeadLeafSource>& columns, int titleRowHeight)
{
    FRoot.FreeAllChild();
    FLeaves.clear();
    for (size_t i = 0; i < columns.size(); ++i) {
        const THeadLeafSource& c = columns[i];
        THeadTreeNode& leaf = FRoot.AddChild(FRoot, c.Caption, c.Width, titleRowHeight);
        leaf.ColumnIndex = static_cast<int>(i);
        leaf.WidthIndent = c.WidthIndent;
        leaf.VLineWidth = c.VLineWidth;
        FLeaves.push_back(&leaf);
    }
    // Group one run per pass, the outermost caption parts first, until a
    // pass finds nothing more to group.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t k = 0; k < FLeaves.size() && !merged; ++k) {
            TCaptionHead head = SplitCaption(FLeaves[k]->Text);
            if (!head.HasSecondPart)
                continue;
            // The run stays within one level: a leaf already grouped under
            // another parent does not join it, even with the same first part.
            size_t end = k;
            while (end + 1 < FLeaves.size() && FLeaves[end + 1]->Host() == FLeaves[k]->Host() &&
                   SplitCaption(FLeaves[end + 1]->Text).Part == head.Part)
                ++end;
            // Each leaf loses its own first part and separators, so a
            // caption written with more "|" than its neighbour's keeps the rest.
            for (size_t i = k; i <= end; ++i)
                FLeaves[i]->Text.erase(0, SplitCaption(FLeaves[i]->Text).Consumed);
            FRoot.Union(*FLeaves[k], *FLeaves[end], 20, head.Part);
            merged = true;
        }
    }
}

int TTitleTree::LevelHeight(THeadTreeNode& parent, THeadTreeMeasure& measure, int vTitleMargin)
{
    std::vector<int> below(parent.Children().size(), 0);
    int level = 0;
    for (size_t i = 0; i < parent.Children().size(); ++i) {
        THeadTreeNode& child = *parent.Children()[i];
        below[i] = child.Children().empty() ? 0 : LevelHeight(child, measure, vTitleMargin);
        int own = -1;
        if (child.IsLeaf()) {
            own = measure.VerticalHeight(child);
            if (own >= 0 && child.Width <= 0)
                own = 0;
        }
        if (own < 0) {
            int text = 0;
            if (child.Width > 0)
                text = measure.TextHeight(child, child.Text.empty() ? std::string(" ") : child.Text,
                                          std::max(1, child.Width - 4 - child.WidthIndent));
            own = text + vTitleMargin;
        }
        level = std::max(level, below[i] + own);
    }
    for (size_t i = 0; i < parent.Children().size(); ++i) {
        THeadTreeNode& child = *parent.Children()[i];
        child.Height = child.IsLeaf() ? level : level - below[i];
    }
    parent.Height = level;
    return level;
}

int TTitleTree::ComputeHeights(THeadTreeMeasure& measure, int vTitleMargin)
{
    return LevelHeight(FRoot, measure, vTitleMargin);
}

int TTitleTree::Depth() const { return DepthBelow(FRoot); }

namespace {

// The bands of a level that starts at `top` and is `rows` high: as in the
// title row, a node's own band takes what its branch leaves over and a
// leaf reaches down to the bottom.
void LayBands(const THeadTreeNode& parent, int top, int rows, std::vector<TTitleBand>& bands)
{
    for (const auto& child : parent.Children()) {
        const int below = DepthBelow(*child);
        const int own = child->IsLeaf() ? rows : rows - below;
        bands.push_back({child.get(), LeftmostColumn(*child), RightmostColumn(*child), top, own});
        if (!child->IsLeaf())
            LayBands(*child, top + own, below, bands);
    }
}

}  // namespace

std::vector<TTitleBand> TTitleTree::Bands() const
{
    std::vector<TTitleBand> bands;
    LayBands(FRoot, 0, DepthBelow(FRoot), bands);
    std::stable_sort(bands.begin(), bands.end(), [](const TTitleBand& a, const TTitleBand& b) {
        return a.FirstRow != b.FirstRow ? a.FirstRow < b.FirstRow : a.FirstColumn < b.FirstColumn;
    });
    return bands;
}
