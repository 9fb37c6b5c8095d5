// The data grid's auto-scroll step: while a selecting drag is held outside
// the data area, rows and columns scroll toward the pointer, faster the
// further out it is, and the selection follows.

#include "grid/input/DBGridGxMouse.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/GridDrawInfo.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxAutoScroll.h"
#include "platform/ScopeGuard.h"

#include <algorithm>

namespace {
constexpr int PixelsPerRow = 6;        // one more row per tick for each 6 pixels out
constexpr int MaxRowsPerTick = 8;
constexpr int SlowestInterval = 200;   // ms between ticks next to the data area
}  // namespace

void TDBGridGxMouse::ScrollColumnSelection(int direction, int distance)
{
    const TGridDrawInfo di = FGrid.CalcDrawInfo();
    TColumnGx* target = nullptr;
    if (direction > 0) {
        if (di.Horz.LastFullVisibleCell < FGrid.ColCount() - 1)
            FGrid.SetLeftCol(FGrid.LeftCol() + 1);
        const TGridDrawInfo after = FGrid.CalcDrawInfo();
        target = ColumnAtRaw(std::min(after.Horz.LastFullVisibleCell, FGrid.ColCount() - 1));
    } else {
        if (FGrid.LeftCol() > FGrid.FixedCols())
            FGrid.SetLeftCol(FGrid.LeftCol() - 1);
        target = ColumnAtRaw(FGrid.LeftCol());
    }
    if (target)
        FGrid.Selection().Cols().SelectShift(target);
    FAutoScroll->Run(std::max(0, SlowestInterval - 10 * distance));
}

void TDBGridGxMouse::AutoScrollStep()
{
    const bool dragging = FRowDrag || FRectDrag || FInteraction == TGridInteractionGx::ColumnSelecting ||
                          FInteraction == TGridInteractionGx::RectSelecting;
    if (!dragging || !LinkActive()) {
        FAutoScroll->Stop();
        return;
    }
    const QRect area = DataArea();
    const QPoint pt = FLastPt;
    if (FInteraction == TGridInteractionGx::ColumnSelecting) {
        if (pt.x() > area.right())
            ScrollColumnSelection(+1, pt.x() - area.right());
        else if (pt.x() < area.left())
            ScrollColumnSelection(-1, area.left() - pt.x());
        return;
    }
    int vertDir = 0;
    int vertDistance = 0;
    if (pt.y() < area.top()) {
        vertDir = -1;
        vertDistance = area.top() - pt.y();
    } else if (pt.y() > area.bottom()) {
        vertDir = 1;
        vertDistance = pt.y() - area.bottom();   // pixels below the bottom edge, plus 1
    }
    int horzDir = 0;
    int horzDistance = 0;
    if (pt.x() < area.left()) {
        horzDir = -1;
        horzDistance = area.left() - pt.x();
    } else if (pt.x() > area.right()) {
        horzDir = 1;
        horzDistance = pt.x() - area.right();
    }
    if (vertDir == 0 && horzDir == 0) {
        FAutoScroll->Stop();
        return;
    }
    const bool rectSelecting = FInteraction == TGridInteractionGx::RectSelecting;
    const int rows = vertDir * std::min(vertDistance / PixelsPerRow, MaxRowsPerTick);
    {
        FGrid.LockUpdate();
        const TScopeExit unlock([this] { FGrid.UnlockUpdate(); });
        if (rows != 0 && !rectSelecting)
            FGrid.SelectionModel().MoveWithSelection(FLastShift.Contains(ssLeft), rows, FRowDrag, false);
        if (horzDir != 0) {
            if (FRectDrag) {
                const TGridDrawInfo di = FGrid.CalcDrawInfo();
                if (horzDir < 0 && FGrid.LeftCol() > FGrid.FixedCols())
                    FGrid.SetLeftCol(FGrid.LeftCol() - 1);
                else if (horzDir > 0 && di.Horz.LastFullVisibleCell < FGrid.ColCount() - 1)
                    FGrid.SetLeftCol(FGrid.LeftCol() + 1);
            }
            if (FInteraction != TGridInteractionGx::RowSelecting) {
                const int next = FGrid.Col() + horzDir;
                if (next >= FGrid.IndicatorCols() && next < FGrid.ColCount())
                    FGrid.SelectColumn(next, horzDir, false);
            }
        }
        if (rectSelecting) {
            if (rows != 0)
                FGrid.DataLink()->DataSet()->MoveBy(rows);
            FGrid.Selection().Rect().Select(FGrid.RawToDataColumn(FGrid.Col()),
                                            FGrid.SelectedRecords().CurrentBookmark(), true);
        }
    }
    FGrid.viewport()->update();
    FAutoScroll->Run(std::max(0, SlowestInterval - 15 * std::max(vertDistance, horzDistance)));
}
