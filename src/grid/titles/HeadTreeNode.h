#pragma once
// The multi-level title tree.  Captions such as "Address|City" and
// "Address|Street" on adjacent columns share one "Address" node above two
// leaves.  The tree is rebuilt from the columns' captions at every layout
// pass; each node knows its width (the sum of its children's, with the
// lines between them) and the height of its own band.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class THeadTreeNode {
public:
    THeadTreeNode(std::string text, int width, int height);
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;

    std::string Text;
    int Width;
    int Height;
    int VLineWidth = 0;    // 1 with column lines, else 0
    int WidthIndent = 0;   // room for a sort marker (16) on a leaf
    int ColumnIndex = -1;  // the column of a leaf; -1 for inner nodes

    THeadTreeNode* Host() const { return FHost; }
    const std::vector<std::unique_ptr<THeadTreeNode>>& Children() const { return FChildren; }
    bool IsLeaf() const { return ColumnIndex >= 0; }
    // The first child, or null.
    THeadTreeNode* Child() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    // The next node of the same level, the first again after the last.
    THeadTreeNode* Next() const;

    // A new node right after `sibling` in its level.  Raises "Node not in
    // Tree" when `sibling` is not in this tree.
    THeadTreeNode& AddAfter(THeadTreeNode& sibling, std::string text, int width, int height);
    // A new node at the end of `parent`'s children.
    THeadTreeNode& AddChild(THeadTreeNode& parent, std::string text, int width, int height);
    // Whether `node` is this node or lies below it.
    bool Find(const THeadTreeNode& node) const;
    // Groups the siblings `from` to `to` under a new node of height
    // `height`, taking their place in the level; raises "Node not in Tree"
    // or "ATo not in level".
    THeadTreeNode& Union(THeadTreeNode& from, THeadTreeNode& to, int height, std::string text);
    void FreeAllChild() { FChildren.clear(); }
    // Every node below this one, depth first, parents before children.
    void VisitAll(const std::function<void(THeadTreeNode&)>& visit);

private:
    size_t IndexInHost() const;

    THeadTreeNode* FHost = nullptr;
    std::vector<std::unique_ptr<THeadTreeNode>> FChildren;
};

// What the tree needs of one column.
struct THeadLeafSource {
    std::string Caption;
    int Width = 0;        // the column's width; -1 or 0 when hidden
    int WidthIndent = 0;
    int VLineWidth = 0;
};

// The text measuring the heights need (the grid gives its fonts).
class THeadTreeMeasure {
public:
    virtual ~THeadTreeMeasure() = default;
    // Height of `text` (the node's, a blank when it has none) word-wrapped
    // in `width` pixels, in the font of `node` (its column's title font
    // for a leaf, the grid's title font above).
    virtual int TextHeight(const THeadTreeNode& node, const std::string& text, int width) = 0;
    // For a leaf written vertically: its text's length + 6; -1 otherwise.
    virtual int VerticalHeight(const THeadTreeNode& leaf) = 0;
};

// One band of one node as exporters lay titles out: the columns it spans
// and the title rows it covers (a leaf reaches down to the last row).
struct TTitleBand {
    const THeadTreeNode* Node;
    int FirstColumn;    // collection indexes of the leftmost and rightmost leaves below it
    int LastColumn;
    int FirstRow;       // 0 = top title row
    int RowCount;
};

class TTitleTree {
public:
    TTitleTree() : FRoot("Root", 0, 0) {}

    THeadTreeNode& Root() { return FRoot; }
    const THeadTreeNode& Root() const { return FRoot; }
    // One leaf per column, in collection order, hidden columns included.
    const std::vector<THeadTreeNode*>& Leaves() const { return FLeaves; }

    // Rebuilds the tree from the columns' captions split at "|".
    void Build(const std::vector<THeadLeafSource>& columns, int titleRowHeight);
    // Sizes every band; returns the root's height.
    int ComputeHeights(THeadTreeMeasure& measure, int vTitleMargin);
    // Levels below the root (1 for plain captions).
    int Depth() const;
    // Every node's band in title rows one band high, laid as the title row
    // lays them: a node's own band takes the rows its branch leaves over
    // beside a deeper one, a leaf reaches down to the last row.  Top row
    // first, left to right within a row.
    std::vector<TTitleBand> Bands() const;

private:
    int LevelHeight(THeadTreeNode& parent, THeadTreeMeasure& measure, int vTitleMargin);

    THeadTreeNode FRoot;
    std::vector<THeadTreeNode*> FLeaves;
};
