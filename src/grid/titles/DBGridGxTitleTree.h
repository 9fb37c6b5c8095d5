#pragma once
// TDBGridGxTitleTree: the multi-level titles (UseMultiTitle): the tree of
// title cells built from the columns' captions, which gives the title row
// its height.  Every layout pass under multi-level titles rebuilds it from
// the current captions, widths, visibility and sort markers.

#include "grid/titles/HeadTreeNode.h"

#include <QRect>

class TCustomDBGridGx;

class TDBGridGxTitleTree {
public:
    explicit TDBGridGxTitleTree(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxTitleTree() = default;
    TDBGridGxTitleTree(const TDBGridGxTitleTree&) = delete;
    TDBGridGxTitleTree& operator=(const TDBGridGxTitleTree&) = delete;

    // The tree of the last layout pass under multi-level titles.
    const TTitleTree& Tree() const { return FTree; }
    // The leaf of a data column; null when the tree has none for it (not
    // built yet, or the column came after the last layout pass).
    const THeadTreeNode* Leaf(int dataCol) const;
    // Where a column's own title starts in its title cell: the leaf's band
    // is the lowest part of the cell, the group captions above it; the
    // cell's top when the tree has no leaf for the column.
    int LeafTop(int dataCol, const QRect& cell) const;

    // Notes at each paint whether the grid is scrolled past its first
    // scrollable column; true when that changed since the last paint: the
    // band slices over the last frozen column then gain or lose the pixel
    // over the line after them, and every title cell is to be repainted.
    bool ScrollStateChanged(bool scrolled);

    // ---- hooks
    // The layout pass laid out the columns under multi-level titles: the
    // tree is rebuilt and the title row takes its height (the root's
    // height less 1 with dghFixed3D, else less 3).
    virtual void ColumnsLaidOut(int& titleRowHeight);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
    TTitleTree FTree;
    bool FPaintedScrolled = false;
};
