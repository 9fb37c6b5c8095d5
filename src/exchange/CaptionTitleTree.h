#pragma once
// TCaptionTitleTreeGx: a title tree built from the columns' captions the
// way the grid groups them: a caption's parts are separated by one or more
// "|", outermost first, and adjacent columns whose captions start with the
// same part (compared exactly) share one node for it.  Each node's own band
// is one unit high; a leaf reaches down to the bottom of the titles.

#include "exchange/TitleTreeView.h"

#include <unordered_map>
#include <vector>

class TDBGridColumnsGx;

class TCaptionTitleTreeGx : public TTitleTreeViewGx {
public:
    // The tree of the columns' Title.Caption texts (all columns, visible
    // or not, in collection order).
    explicit TCaptionTitleTreeGx(const TDBGridColumnsGx& columns);
    // The tree of the given captions, one leaf per caption.
    explicit TCaptionTitleTreeGx(const std::vector<std::string>& captions);

    TNode Leaf(const TColumnGx& column) const override;
    // The leaf of the caption at this position.
    TNode LeafAt(int index) const { return FLeaves.at(static_cast<size_t>(index)); }
    TNode Host(TNode node) const override { return Of(node).Host; }
    int Height(TNode node) const override { return Of(node).Height; }
    const std::string& Text(TNode node) const override { return Of(node).Text; }

private:
    struct TNodeData {
        std::string Text;
        int Height = 0;
        TNodeData* Host = nullptr;
        std::vector<TNodeData*> Children;
    };

    static const TNodeData& Of(TNode node) { return *static_cast<const TNodeData*>(node); }
    void Build(const std::vector<std::string>& captions);
    // Groups the first run of leaves that share a first caption part; false
    // when no leaf has more than one part left.
    bool GroupFirstRun(std::vector<std::string>& texts);
    void Union(size_t first, size_t last, const std::string& text);
    // Heights of the level below `children`; returns the level's height.
    int ComputeHeights(const std::vector<TNodeData*>& children);

    std::vector<std::unique_ptr<TNodeData>> FNodes;
    std::vector<TNodeData*> FTopLevel;
    std::vector<TNodeData*> FLeaves;
    std::unordered_map<const TColumnGx*, TNodeData*> FLeafOfColumn;
};
