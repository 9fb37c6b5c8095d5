// The data grid's cursors: the sizing cursor over frozen-column borders,
// the row-select arrow over the indicator and the column-select arrow over
// the bottom of a title in a multi-select grid.

#include "grid/input/DBGridGxMouse.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/CustomGridMouse.h"
#include "grid/paint/GridPaintResources.h"
#include "grid/layout/DBGridGxRowWindow.h"

QCursor TDBGridGxMouse::CursorAt(int x, int y, const QCursor& baseCursor) const
{
    int pos = 0;
    int ofs = 0;
    if (FTracedCol >= 0 || FInteraction == TGridInteractionGx::FrozenSizing || FrozenSizingColAt(x, y, pos, ofs) >= 0)
        return QCursor(Qt::SplitHCursor);
    if (!LinkActive() || !FGrid.Options().Contains(dgMultiSelect) || FGrid.BaseMouse().State() != gsNormal ||
        baseCursor.shape() != Qt::ArrowCursor)
        return baseCursor;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    if (cell.X >= 0 && cell.X < FGrid.IndicatorCols() && cell.Y >= FGrid.TitleRows() &&
        RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) >= 0 && !FGrid.DataLink()->DataSet()->IsEmpty() &&
        FGrid.AllowedSelections().Contains(gstRecordBookmarks))
        return FGrid.layoutDirection() == Qt::RightToLeft ? GridPaintResources().LeftCursor()
                                                          : GridPaintResources().RightCursor();
    if (InColumnSelectZone(cell, y))
        return GridPaintResources().DownCursor();
    return baseCursor;
}
