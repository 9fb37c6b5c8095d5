#pragma once
// TDBGridGxLayoutPass: one run of the data grid's layout pass, which derives
// the columns, widths, heights and row window from the grid's settings, its
// columns and its dataset.  The grid runs one whenever the outermost layout
// lock goes (RebuildLayout); the steps run in the order of Run.

class TColumnGx;
class TCustomDBGridGx;
class TDBGridGxPrivate;

#include <cstdint>

class TDBGridGxLayoutPass {
public:
    TDBGridGxLayoutPass(TCustomDBGridGx& grid, TDBGridGxPrivate& state) : FGrid(grid), D(state) {}

    void Run();
    // Gives a data column's grid column its width (the change notification
    // does it for one column).
    void ApplyColumnWidth(TColumnGx& column);

private:
    void DropDeferredLayout();
    // Frees default columns a user column follows, and matches default
    // columns to the dataset's fields.
    void RebuildColumns();
    void MatchColumnsToFieldMap();
    void RebuildVisibleColumns();
    // Invisible columns inside (and right after) the frozen columns.
    int FrozenInvisibleCount() const;
    void ApplyGridDimensions(int frozenInvisible);
    void LayoutRowHeight();
    // The multi-line flag and the edit-button size, from the row height.
    void LayoutCellMetrics();
    void LayoutTitleHeight();
    // TitleLines and TitleHeight, or the title tree, over the title height.
    void LayoutTitleLines();
    void ApplyScrollBarStyle();
    void ApplyColumnWidths();
    void ApplyTabStops();
    bool IsTabStopColumn(const TColumnGx& column) const;
    // Shares the client width among the auto-fit columns.
    void DistributeAutoFitWidths();
    // The width the auto-fit columns share when the others take othersWidth.
    int AutoFitAvailableWidth(int64_t othersWidth) const;
    void RebuildRowWindow();

    TCustomDBGridGx& FGrid;
    TDBGridGxPrivate& D;
};
