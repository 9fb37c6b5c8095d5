#include "grid/selection/DBGridGxSelection.h"

#include "grid/DBGridGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"

TDBGridGxSelection::TDBGridGxSelection(TDBGridGxSelectionModel& model)
    : FModel(model), FCols(model), FRect(model)
{
}

TBookmarkListGx& TDBGridGxSelection::SelectedRecords() { return FModel.SelectedRecords(); }

void TDBGridGxSelection::SetSelectionType(TDBGridGxSelectionType value)
{
    if (value == FSelectionType)
        return;
    FSelectionType = value;
    TCustomDBGridGx& grid = FModel.Grid();
    if (value == gstNon && grid.Options().Contains(dgAlwaysShowEditor))
        grid.ShowEditor();
    else
        grid.HideEditor();
}

bool TDBGridGxSelection::DataCellSelected(int columnIndex, const std::string& bookmark)
{
    switch (FSelectionType) {
    case gstNon:
        return false;
    case gstRecordBookmarks:
        return SelectedRecords().Contains(bookmark);
    case gstRectangle:
        return columnIndex >= 0 && FRect.DataCellSelected(columnIndex, bookmark);
    case gstColumns: {
        TDBGridColumnsGx& columns = FModel.Grid().Columns();
        return columnIndex >= 0 && columnIndex < columns.Count() && FCols.Contains(columns[columnIndex]);
    }
    case gstAll:
        return true;
    }
    return false;
}

void TDBGridGxSelection::Clear()
{
    // Whatever the clearing does, the selection ends.
    try {
        ClearPart();
    } catch (...) {
        EndSelection();
        throw;
    }
    EndSelection();
}

void TDBGridGxSelection::EndSelection()
{
    FSelectionType = gstNon;
    TCustomDBGridGx& grid = FModel.Grid();
    if (grid.Options().Contains(dgAlwaysShowEditor))
        grid.ShowEditor();
}

void TDBGridGxSelection::ClearPart()
{
    switch (FSelectionType) {
    case gstNon:
        break;
    case gstRecordBookmarks:
        SelectedRecords().Clear();
        break;
    case gstRectangle:
        FRect.Clear();
        break;
    case gstColumns:
        FCols.Clear();
        break;
    case gstAll:
        FModel.Grid().InvalidateGrid();
        break;
    }
}

void TDBGridGxSelection::SelectAll()
{
    if (FSelectionType == gstAll)
        return;
    if (FSelectionType != gstNon)
        Clear();
    SetSelectionType(gstAll);
    FModel.Grid().InvalidateGrid();
}

void TDBGridGxSelection::DropIfEmpty()
{
    if ((FSelectionType == gstRecordBookmarks && SelectedRecords().Empty()) ||
        (FSelectionType == gstColumns && FCols.Count() == 0)) {
        SetSelectionType(gstNon);
        FModel.Grid().InvalidateGrid();
    }
}

void TDBGridGxSelection::LinkChanged(bool active)
{
    SelectedRecords().LinkChanged(active);
    Clear();
}
