// Auto-fit: the visible columns whose AutoFitColWidth is on share the
// client width in proportion to their base widths.  A column that cannot
// take its share (MinWidth, MaxWidth) keeps the width it got and the others
// share the rest again; what rounding leaves over goes to the rightmost
// column that still shares.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/layout/DBGridGxLayoutPass.h"
#include "grid/layout/MulDivGx.h"

#include <cstdint>
#include <vector>

void TDBGridGxLayoutPass::DistributeAutoFitWidths()
{
    const int count = D.FVisibleColumns.Count();
    std::vector<bool> fixed(static_cast<size_t>(count), false);
    // The widths handed out by the last pass (-1: no share in that pass).
    std::vector<int> given(static_cast<size_t>(count), -1);
    int available = 0;

    for (int pass = 0; pass < count; ++pass) {
        int64_t sharedBase = 0;
        int64_t others = 0;
        for (int i = 0; i < count; ++i) {
            const TColumnGx& column = *D.FVisibleColumns[i];
            if (column.AutoFitColWidth() && !fixed[static_cast<size_t>(i)])
                sharedBase += column.BaseWidth();
            else
                others += column.Width();
        }
        available = AutoFitAvailableWidth(others);

        bool marked = false;
        for (int i = 0; i < count; ++i) {
            TColumnGx& column = *D.FVisibleColumns[i];
            given[static_cast<size_t>(i)] = -1;
            if (!column.AutoFitColWidth() || fixed[static_cast<size_t>(i)])
                continue;
            const int width = sharedBase > 0 ? static_cast<int>(MulDivGx(column.BaseWidth(), available, sharedBase)) : 0;
            column.SetWidth(width);
            given[static_cast<size_t>(i)] = width;
            if (column.Width() != width) {
                // Held by MinWidth or MaxWidth: out of the sharing from now on.
                fixed[static_cast<size_t>(i)] = true;
                marked = true;
            }
        }
        if (!marked)
            break;
    }

    int64_t sum = 0;
    int rightmost = -1;
    for (int i = 0; i < count; ++i) {
        if (given[static_cast<size_t>(i)] < 0)
            continue;
        sum += given[static_cast<size_t>(i)];
        if (!fixed[static_cast<size_t>(i)])
            rightmost = i;
    }
    if (rightmost >= 0 && sum != available) {
        const int64_t width = given[static_cast<size_t>(rightmost)] + (available - sum);
        D.FVisibleColumns[rightmost]->SetWidth(width > 0 ? static_cast<int>(width) : 0);
    }
}

int TDBGridGxLayoutPass::AutoFitAvailableWidth(int64_t othersWidth) const
{
    const int client = FGrid.ClientWidth();
    int64_t width = (D.FMinAutoFitWidth < client ? client : D.FMinAutoFitWidth) - othersWidth;
    if (width < 0)
        width = 0;
    const bool indicator = D.FOptions.Contains(dgIndicator);
    const bool colLines = D.FOptions.Contains(dgColLines);
    if (indicator)
        width -= FGrid.ColWidths(0);
    if (colLines)
        width -= D.FVisibleColumns.Count();
    if (indicator && colLines)
        width -= 1;
    // A grid narrower than its indicator and lines has nothing to share.
    return static_cast<int>(std::max<int64_t>(width, 0));
}
