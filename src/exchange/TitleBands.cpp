// Walking the title tree into levels and merging the blocks of one node.

#include "exchange/TitleBands.h"

#include <algorithm>
#include <climits>

TTitleBandsGx::TTitleBandsGx(const TColumnsGxList& columns, const TTitleTreeViewGx& tree)
    : FTree(tree), FColumnCount(columns.Count())
{
    WalkLevels(columns);
    FormBlocks();
}

const std::string& TTitleBandsGx::Text(int level, int column) const
{
    static const std::string empty;
    const TTitleBandCellGx& cell = Cell(level, column);
    return cell.Node ? FTree.Text(cell.Node) : empty;
}

// Every column starts at its leaf with the leaf's height.  Each pass moves
// the columns whose accumulated height is the smallest, and whose node has
// a host, up to that host; a pass that moves nothing ends the walk.
void TTitleBandsGx::WalkLevels(const TColumnsGxList& columns)
{
    std::vector<TTitleTreeViewGx::TNode> nodes;
    std::vector<long long> heights;
    for (const TColumnGx* column : columns) {
        nodes.push_back(FTree.Leaf(*column));
        heights.push_back(nodes.back() ? FTree.Height(nodes.back()) : 0);
    }
    auto record = [&] {
        std::vector<TTitleBandCellGx> level(nodes.size());
        for (size_t i = 0; i < nodes.size(); ++i)
            level[i].Node = nodes[i];
        FLevels.push_back(std::move(level));
    };
    record();
    while (true) {
        long long lowest = LLONG_MAX;
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i])
                lowest = std::min(lowest, heights[i]);
        bool moved = false;
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (!nodes[i] || heights[i] != lowest)
                continue;
            if (TTitleTreeViewGx::TNode host = FTree.Host(nodes[i])) {
                nodes[i] = host;
                heights[i] += FTree.Height(host);
                moved = true;
            }
        }
        if (!moved)
            break;
        record();
    }
}

void TTitleBandsGx::FormBlocks()
{
    const int levels = LevelCount();
    std::vector<std::vector<bool>> placed(static_cast<size_t>(levels),
                                          std::vector<bool>(static_cast<size_t>(FColumnCount), false));
    auto same = [&](int level, int column, TTitleTreeViewGx::TNode node) {
        return !placed[static_cast<size_t>(level)][static_cast<size_t>(column)] &&
               Cell(level, column).Node == node;
    };
    // From the highest level down and from the left, each unplaced cell is
    // the top-left cell of its block: widen it to the right, then deepen it
    // downwards while the whole strip holds the same node.
    for (int top = levels - 1; top >= 0; --top) {
        for (int left = 0; left < FColumnCount; ++left) {
            if (placed[static_cast<size_t>(top)][static_cast<size_t>(left)])
                continue;
            const TTitleTreeViewGx::TNode node = Cell(top, left).Node;
            int right = left;
            while (node && right + 1 < FColumnCount && same(top, right + 1, node))
                ++right;
            int bottom = top;
            while (node && bottom > 0) {
                bool whole = true;
                for (int c = left; c <= right && whole; ++c)
                    whole = same(bottom - 1, c, node);
                if (!whole)
                    break;
                --bottom;
            }
            for (int level = bottom; level <= top; ++level) {
                for (int c = left; c <= right; ++c) {
                    TTitleBandCellGx& cell = FLevels[static_cast<size_t>(level)][static_cast<size_t>(c)];
                    placed[static_cast<size_t>(level)][static_cast<size_t>(c)] = true;
                    cell.Keeps = level == top && c == left && node;
                    cell.ColSpan = right - left + 1;
                    cell.RowSpan = top - bottom + 1;
                    cell.BorderLeft = c == left;
                    cell.BorderRight = c == right;
                    cell.BorderTop = level == top;
                    cell.BorderBottom = level == bottom;
                }
            }
        }
    }
}
