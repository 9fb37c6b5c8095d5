#include "grid/selection/DBGridGxSelectionModel.h"

#include "data/DataSet.h"
#include "grid/columns/ColumnGx.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/layout/KeepRecordInViewGx.h"
#include "grid/layout/UpdateLockGx.h"
#include "ui/DialogService.h"

TDBGridGxSelectionModel::TDBGridGxSelectionModel(TCustomDBGridGx& grid)
    : FGrid(grid), FSelection(*this), FSelectedRecords(*this)
{
}

TDBGridGxSelectionModel::~TDBGridGxSelectionModel() = default;

bool TDBGridGxSelectionModel::LinkActive() const
{
    return FGrid.DataLink()->Active() && FGrid.DataLink()->DataSet();
}

void TDBGridGxSelectionModel::SetAllowedSelections(TDBGridGxAllowedSelections value)
{
    value -= gstNon;
    FAllowedSelections = value;
    TDBGridGxSelectionType kind = FSelection.SelectionType();
    if (kind != gstNon && !value.Contains(kind))
        FSelection.Clear();
}

bool TDBGridGxSelectionModel::CanSelectType(TDBGridGxSelectionType kind) const
{
    if (kind == gstNon)
        return true;
    if (!FGrid.Options().Contains(dgMultiSelect) || !FAllowedSelections.Contains(kind))
        return false;
    if (kind == gstRectangle || kind == gstColumns)
        return !FGrid.Options().Contains(dgRowSelect);
    return true;
}

void TDBGridGxSelectionModel::ClearSelection()
{
    bool clearing = FGrid.OptionsGx().Contains(dghClearSelection);
    if (FGrid.Options().Contains(dgMultiSelect) && clearing)
        FSelectedRecords.Clear();
    FRowShiftActive = false;
    if (FSelection.SelectionType() != gstNon && clearing) {
        FSelection.Clear();
        FGrid.InvalidateGrid();
    }
}

bool TDBGridGxSelectionModel::DrawnCellSelected(int columnIndex)
{
    if (!FGrid.Options().Contains(dgMultiSelect) || !LinkActive())
        return false;
    return FSelection.DataCellSelected(columnIndex, FGrid.DataLink()->DataSet()->Bookmark());
}

// ---- moving ------------------------------------------------------------------

void TDBGridGxSelectionModel::MoveWithSelection(bool extend, int distance, bool rowMode, bool toEnd)
{
    if (!LinkActive())
        return;
    if (rowMode || FGrid.Options().Contains(dgRowSelect)) {
        MoveRows(extend, distance, toEnd);
    } else if (extend && CanSelectType(gstRectangle)) {
        MoveExtendingRectangle(distance, toEnd);
    } else {
        TDataSet& dataSet = *FGrid.DataLink()->DataSet();
        if (!toEnd)
            dataSet.MoveBy(distance);
        else if (distance == 1)
            dataSet.Last();
        else
            dataSet.First();
    }
    if (FGrid.UpdateLock() == 0)
        FGrid.Update();
}

bool TDBGridGxSelectionModel::Step(int direction)
{
    return FGrid.DataLink()->DataSet()->MoveBy(direction) != 0;
}

void TDBGridGxSelectionModel::MoveRows(bool extend, int distance, bool toEnd)
{
    TUpdateLockGx lock(FGrid);
    bool extending = extend && CanSelectType(gstRecordBookmarks);
    int direction = distance < 0 ? -1 : 1;
    int remaining = distance < 0 ? -distance : distance;
    // The state a row takes while the gesture moves away from its anchor.
    auto markedState = [this] { return FAdditiveSelect ? !FRowAnchorState : true; };
    bool selecting = FGrid.Options().Contains(dgMultiSelect) && LinkActive();
    if (toEnd && !(selecting && extending)) {
        // Nothing is marked on the way: one jump instead of a walk.
        if (selecting)
            ClearSelection();
        TDataSet& dataSet = *FGrid.DataLink()->DataSet();
        if (direction < 0)
            dataSet.First();
        else
            dataSet.Last();
        return;
    }
    while (toEnd || remaining > 0) {
        bool markReached = false;
        if (FGrid.Options().Contains(dgMultiSelect) && LinkActive()) {
            if (!extending) {
                ClearSelection();
            } else if (FRowShiftActive) {
                int towardsAnchor = FSelectedRecords.Compare(FSelectedRecords.CurrentBookmark(), FRowAnchor);
                if (towardsAnchor == -direction)
                    FSelectedRecords.SetCurrentRowSelected(FAdditiveSelect ? FRowAnchorState : false);
                else
                    markReached = true;
            } else {
                FRowAnchor = FSelectedRecords.CurrentBookmark();
                FRowAnchorState = FSelectedRecords.CurrentRowSelected();
                FSelectedRecords.SetCurrentRowSelected(markedState());
                FRowShiftActive = true;
                markReached = true;
            }
        }
        if (!Step(direction))
            break;
        if (markReached)
            FSelectedRecords.SetCurrentRowSelected(markedState());
        if (!toEnd)
            --remaining;
    }
}

void TDBGridGxSelectionModel::MoveExtendingRectangle(int distance, bool toEnd)
{
    TUpdateLockGx lock(FGrid);
    TDataSet& dataSet = *FGrid.DataLink()->DataSet();
    TDBGridGxSelectionRect& rect = FSelection.Rect();
    int column = FGrid.RawToDataColumn(FGrid.Col());
    if (FSelection.SelectionType() != gstRectangle) {
        rect.Clear();
        rect.Select(column, dataSet.Bookmark(), true);
    }
    if (!toEnd)
        dataSet.MoveBy(distance);
    else if (distance == 1)
        dataSet.Last();
    else
        dataSet.First();
    rect.Select(column, dataSet.Bookmark(), true);
}

// ---- notifications -----------------------------------------------------------

void TDBGridGxSelectionModel::LinkChanged(bool active) { FSelection.LinkChanged(active); }

void TDBGridGxSelectionModel::OptionsChanging(TDBGridOptions value)
{
    if (FGrid.Options().Contains(dgMultiSelect) && !value.Contains(dgMultiSelect))
        ClearSelection();
}

void TDBGridGxSelectionModel::LayoutRebuilt()
{
    if (FSelection.SelectionType() == gstColumns)
        FSelection.Cols().Refresh();
}

void TDBGridGxSelectionModel::ColumnDestroying(TColumnGx& column)
{
    FSelection.Cols().ColumnDestroying(&column);
    FSelection.DropIfEmpty();
}

// ---- deleting records ----------------------------------------------------------

bool TDBGridGxSelectionModel::ConfirmDelete() const
{
    if (!FGrid.Options().Contains(dgConfirmDelete))
        return true;
    const char* text = FSelectedRecords.Count() < 2 ? "Delete record?" : "Delete all selected records?";
    return MessageDlg(text, mtConfirmation, mbOKCancel) != mrCancel;
}

bool TDBGridGxSelectionModel::DeleteRecords()
{
    if (!LinkActive())
        return false;
    if (!ConfirmDelete())
        return false;
    TDataSet& dataSet = *FGrid.DataLink()->DataSet();
    if (FSelectedRecords.Empty()) {
        dataSet.Delete();
        return true;
    }
    TKeepRecordInViewGx keep(*FGrid.DataLink());
    if (FSelectedRecords.CurrentRowSelected())
        keep.Forget();
    FSelectedRecords.Delete();
    keep.Restore();
    return true;
}
