#include "grid/input/DBGridGxSelectColumn.h"

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxIncSearch.h"
#include "platform/ScopeGuard.h"

#include <algorithm>

TColumnGx* GridCurrentColumn(TCustomDBGridGx& grid)
{
    const int index = grid.RawToDataColumn(grid.Col());
    if (index < 0 || index >= grid.Columns().Count())
        return nullptr;
    return grid.Columns()[index];
}

bool IsToggledColumn(const TColumnGx* column)
{
    if (!column)
        return false;
    const TColumnKindGx kind = column->ColumnKind();
    return kind == ckCheckboxes || kind == ckKeyImageList;
}

void TCustomDBGridGx::SelectColumn(int gridCol, int direction, bool extend)
{
    TDBGridGxSelection& selection = D->FSelectionModel->Selection();
    extend = extend && !D->FOptions.Contains(dgRowSelect) && D->FSelectionModel->CanSelectType(gstRectangle);
    const bool linked = D->FDataLink->Active() && D->FDataLink->DataSet();
    if (extend && linked && selection.SelectionType() != gstRectangle) {
        selection.Rect().Clear();
        selection.Rect().Select(RawToDataColumn(Col()), D->FDataLink->DataSet()->Bookmark(), false);
    }
    D->FDataLink->UpdateData();

    gridCol = std::clamp(gridCol, IndicatorCols(), std::max(ColCount() - 1, IndicatorCols()));
    if (direction != 0) {
        while (gridCol >= IndicatorCols() && gridCol < ColCount() && ColWidths(gridCol) < 1)
            gridCol += direction;
        if (gridCol < IndicatorCols() || gridCol >= ColCount())
            return;
    }
    if (gridCol != Col() && gridCol < ColCount()) {
        if (!D->FInColExit) {
            const int before = Col();
            TValueRollback<bool> inExit(D->FInColExit, true);
            if (OnColExit)
                OnColExit();
            if (Col() != before)
                return;
        }
        if (!D->FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        if (!D->FOptions.Contains(dgRowSelect)) {
            if (RawToDataColumn(gridCol) < FrozenCols())
                MoveColRow(gridCol, Row(), true, false);
            else
                SetCol(gridCol);
        }
        if (D->FOptions.Contains(dgAlwaysShowEditor) && !IsToggledColumn(GridCurrentColumn(*this)))
            ShowEditor();
        if (OnColEnter)
            OnColEnter();
    }
    if (extend && linked)
        selection.Rect().Select(RawToDataColumn(Col()), D->FDataLink->DataSet()->Bookmark(), true);
    D->FKeyboard->IncSearch().End();
}
