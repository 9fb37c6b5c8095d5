// The drag of the selection under automatic drag mode: a left press inside
// the selection pends a drag; the first move beyond the platform's drag
// distance starts it, carrying what a copy of the selection puts on the
// clipboard; a release without such a move selects anew.

#include "grid/input/DBGridGxMouse.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/GridClipboardActionsGx.h"
#include "platform/ScopeGuard.h"

#include <QApplication>
#include <QDrag>

bool TDBGridGxMouse::ProcessLeftPress(const std::function<bool()>& process)
{
    if (FGrid.DragMode() != dmAutomatic || !FGrid.Options().Contains(dgMultiSelect))
        return process();
    // The grid drags its selection itself, and only from inside it.
    const TValueRollback<bool> allowed(FDragAllowed, true);
    FGrid.SetDragMode(dmManual);
    const TScopeExit automatic([this] { FGrid.SetDragMode(dmAutomatic); });
    return process();
}

bool TDBGridGxMouse::PendsDrag(Qt::MouseButton button, TShiftState shift, TGridCoord cell) const
{
    if (!FDragAllowed || button != Qt::LeftButton || shift.Contains(ssShift) || !ColumnAtRaw(cell.X))
        return false;
    const std::string bookmark = FGrid.DataLink()->DataSet()->Bookmark();
    return FGrid.Selection().DataCellSelected(FGrid.RawToDataColumn(cell.X), bookmark);
}

bool TDBGridGxMouse::MovePendingDrag(TShiftState shift, int x, int y)
{
    if (!shift.Contains(ssLeft)) {
        // The release went elsewhere: the press no longer drags anything.
        FDragPending = false;
        return false;
    }
    if ((QPoint(x, y) - FDownPt).manhattanLength() < QApplication::startDragDistance())
        return true;
    FDragPending = false;
    StartSelectionDrag();
    return true;
}

void TDBGridGxMouse::StartSelectionDrag()
{
    TGridClipboardActionsGx* actions = FGrid.ClipboardActions();
    std::unique_ptr<QMimeData> data = actions ? actions->SelectionDragData(FGrid) : nullptr;
    if (!data)
        return;
    auto* drag = new QDrag(&FGrid);
    drag->setMimeData(data.release());
    ExecDrag(*drag);
}

void TDBGridGxMouse::ExecDrag(QDrag& drag)
{
    drag.exec(Qt::CopyAction);
}

void TDBGridGxMouse::ReleasePendingDrag(TShiftState shift)
{
    FDragPending = false;
    if (shift.Contains(ssCtrl) && FGrid.Options().Contains(dgRowSelect)) {
        TBookmarkListGx& records = FGrid.SelectedRecords();
        records.SetCurrentRowSelected(!records.CurrentRowSelected());
    } else {
        FGrid.SelectionModel().ClearSelection();
    }
}
