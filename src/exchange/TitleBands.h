#pragma once
// The multi-level title rows of an export: the grid's title tree, walked
// band by band over the exported columns, as a grid of levels (level 0
// holds the leaves), and the blocks that the same node forms over
// neighbouring columns and consecutive levels.  Only a block's top-left
// cell (its highest level, leftmost column) keeps the node; borders inside
// a block are left out.  Levels in which no exported column changes its
// node are left out too.

#include "grid/columns/ColumnsGxList.h"
#include "grid/titles/HeadTreeNode.h"

#include <string>
#include <vector>

struct TTitleBandCellGx {
    // The node the column reaches at this level (null without a leaf).
    const THeadTreeNode* Node = nullptr;
    // Whether the cell is its block's top-left cell, which shows the text.
    bool Keeps = false;
    // The size of the block, in columns and levels (on every cell).
    int ColSpan = 1;
    int RowSpan = 1;
    bool BorderLeft = true;
    bool BorderTop = true;
    bool BorderRight = true;
    bool BorderBottom = true;
};

class TTitleBandsGx {
public:
    TTitleBandsGx(const TColumnsGxList& columns, const TTitleTree& tree);

    // Levels counted from the leaves (0) up.
    int LevelCount() const { return static_cast<int>(FLevels.size()); }
    int ColumnCount() const { return FColumnCount; }
    const TTitleBandCellGx& Cell(int level, int column) const
    {
        return FLevels.at(static_cast<size_t>(level)).at(static_cast<size_t>(column));
    }
    const std::string& Text(int level, int column) const;

private:
    void WalkBands(const TColumnsGxList& columns, const TTitleTree& tree);
    void FormBlocks();

    int FColumnCount = 0;
    std::vector<std::vector<TTitleBandCellGx>> FLevels;
};
