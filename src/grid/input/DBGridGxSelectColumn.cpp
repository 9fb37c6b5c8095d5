// Select column: the current column moves to a grid column, stepping over
// hidden ones, and a rectangle selection may grow with it.

#include "grid/input/DBGridGxSelectColumn.h"

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/PendingEditorGx.h"

#include <algorithm>

namespace {

void ExtendRectangleToCurrentCell(TCustomDBGridGx& grid)
{
    TDBGridGxSelection& selection = grid.Selection();
    selection.Rect().Select(grid.RawToDataColumn(grid.Col()), grid.SelectedRecords().CurrentBookmark(), true);
}

} // namespace

void TDBGridGxSelectColumn::SelectColumn(int gridCol, int direction, bool extend)
{
    auto& grid = static_cast<TCustomDBGridGx&>(*this);
    const TDBGridOptions options = grid.Options();
    const bool linkActive = grid.DataLink() && grid.DataLink()->Active();
    extend = extend && linkActive && !options.Contains(dgRowSelect) &&
             grid.SelectionModel().CanSelectType(gstRectangle);
    if (extend && grid.Selection().SelectionType() != gstRectangle) {
        grid.Selection().Rect().Clear();
        ExtendRectangleToCurrentCell(grid);
    }
    if (linkActive)
        WritePendingEditorGx(grid);

    const int first = grid.IndicatorCols();
    const int last = grid.ColCount() - 1;
    if (last < first)
        return;
    gridCol = std::clamp(gridCol, first, last);
    if (direction != 0) {
        while (gridCol >= first && gridCol <= last && grid.ColWidths(gridCol) < 1)
            gridCol += direction;
        if (gridCol < first || gridCol > last)
            return;
    }
    if (gridCol != grid.Col()) {
        if (!options.Contains(dgAlwaysShowEditor))
            grid.HideEditor();
        if (!options.Contains(dgRowSelect))
            grid.SetCol(gridCol);
    }
    if (extend)
        ExtendRectangleToCurrentCell(grid);
}
