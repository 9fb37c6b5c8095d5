// The cell grid's mouse hooks of the data grid: each goes to the mouse.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/input/DBGridGxMouse.h"
#include "ui/DialogService.h"

#include <QMouseEvent>

TGridState TCustomDBGridGx::CalcSizingState(int x, int y, int& index, int& sizingPos, int& sizingOfs,
                                            const TGridDrawInfo& drawInfo) const
{
    const TGridState state = TCustomGrid::CalcSizingState(x, y, index, sizingPos, sizingOfs, drawInfo);
    return D->FMouse->RestrictSizing(state, x);
}

QCursor TCustomDBGridGx::CursorAt(int x, int y) const
{
    return D->FMouse->CursorAt(x, y, TCustomGrid::CursorAt(x, y));
}

void TCustomDBGridGx::ColumnMoved(int fromIndex, int toIndex)
{
    TCustomGrid::ColumnMoved(fromIndex, toIndex);
    D->FMouse->ColumnMoved(fromIndex, toIndex);
}

void TCustomDBGridGx::ColWidthsChanged()
{
    TCustomGrid::ColWidthsChanged();
    D->FMouse->ColWidthsChanged();
}

void TCustomDBGridGx::RowHeightsChanged()
{
    TCustomGrid::RowHeightsChanged();
    D->FMouse->RowHeightsChanged();
}

bool TCustomDBGridGx::viewportEvent(QEvent* e)
{
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    if (!press || static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton)
        return TCustomGrid::viewportEvent(e);
    return D->FMouse->ProcessLeftPress([this, e] { return TCustomGrid::viewportEvent(e); });
}

void TCustomDBGridGx::CancelMode()
{
    D->FMouse->CancelMode();
    TCustomGrid::CancelMode();
}

void TCustomDBGridGx::DoExit()
{
    try {
        D->FMouse->Exit();
    } catch (const std::exception& error) {
        ShowException(error);
    }
    TCustomGrid::DoExit();
}
