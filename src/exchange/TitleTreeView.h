#pragma once
// TTitleTreeViewGx: what an export reads of a grid's multi-level titles:
// each column's leaf node, and for every node its host (the node above it),
// its height and its text.  Nodes are opaque handles.  A top-level node
// has no host: the exports never show the tree's root.
//
// GridTitleTree gives the view of a grid; it is the one place that decides
// where the tree comes from.

#include <memory>
#include <string>

class TColumnGx;
class TCustomDBGridGx;

class TTitleTreeViewGx {
public:
    using TNode = const void*;

    virtual ~TTitleTreeViewGx() = default;
    // The leaf of a column of the grid.
    virtual TNode Leaf(const TColumnGx& column) const = 0;
    // The node above, or null for a top-level node.
    virtual TNode Host(TNode node) const = 0;
    // The node's height: a band's own height, or for a leaf the height from
    // its band's top down to the bottom of the titles.
    virtual int Height(TNode node) const = 0;
    virtual const std::string& Text(TNode node) const = 0;
};

// The title tree of the grid, built from its columns' captions.
std::unique_ptr<TTitleTreeViewGx> GridTitleTree(const TCustomDBGridGx& grid);
