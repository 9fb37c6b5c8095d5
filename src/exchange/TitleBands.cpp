// Walking the grid's title tree into levels and merging the blocks of one node.

#include "exchange/TitleBands.h"

#include "grid/columns/ColumnGx.h"

#include <algorithm>

TTitleBandsGx::TTitleBandsGx(const TColumnsGxList& columns, const TTitleTree& tree) : FColumnCount(columns.Count())
{
    WalkBands(columns, tree);
    FormBlocks();
}

const std::string& TTitleBandsGx::Text(int level, int column) const
{
    static const std::string empty;
    const TTitleBandCellGx& cell = Cell(level, column);
    return cell.Node ? cell.Node->Text : empty;
}

// Each title row of the tree becomes a level, the bottom row level 0; a
// row in which every exported column shows the same node as in the row
// below adds nothing and is dropped.
void TTitleBandsGx::WalkBands(const TColumnsGxList& columns, const TTitleTree& tree)
{
    const int rows = tree.Depth();
    // The node of each title row over each collection column.
    std::vector<std::vector<const THeadTreeNode*>> byRow(
        static_cast<size_t>(rows), std::vector<const THeadTreeNode*>(tree.Leaves().size(), nullptr));
    for (const TTitleBand& band : tree.Bands())
        for (int row = band.FirstRow; row < band.FirstRow + band.RowCount; ++row)
            for (int c = band.FirstColumn; c <= band.LastColumn; ++c)
                byRow[static_cast<size_t>(row)][static_cast<size_t>(c)] = band.Node;

    for (int row = rows - 1; row >= 0; --row) {
        std::vector<TTitleBandCellGx> level(static_cast<size_t>(FColumnCount));
        for (int i = 0; i < FColumnCount; ++i) {
            const auto index = static_cast<size_t>(columns[i]->Index());
            if (index < byRow[static_cast<size_t>(row)].size())
                level[static_cast<size_t>(i)].Node = byRow[static_cast<size_t>(row)][index];
        }
        const bool repeats = !FLevels.empty() && std::equal(level.begin(), level.end(), FLevels.back().begin(),
                                                            [](const TTitleBandCellGx& a, const TTitleBandCellGx& b) {
                                                                return a.Node == b.Node;
                                                            });
        if (!repeats)
            FLevels.push_back(std::move(level));
    }
    if (FLevels.empty())
        FLevels.emplace_back(static_cast<size_t>(FColumnCount));
}

void TTitleBandsGx::FormBlocks()
{
    const int levels = LevelCount();
    std::vector<std::vector<bool>> placed(static_cast<size_t>(levels),
                                          std::vector<bool>(static_cast<size_t>(FColumnCount), false));
    auto same = [&](int level, int column, const THeadTreeNode* node) {
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
            const THeadTreeNode* node = Cell(top, left).Node;
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
