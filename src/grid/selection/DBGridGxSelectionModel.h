#pragma once
// TDBGridGxSelectionModel: everything a grid keeps about its multi-cell
// selection besides the current cell: the selection itself (Selection), the
// selected records (SelectedRecords), the kinds the grid allows
// (AllowedSelections) and the Shift gesture that extends a record selection
// (RowShiftActive, RowAnchor, RowAnchorState, AdditiveSelect); and the grid
// operations on them that keyboard, mouse and painting call.

#include "grid/selection/BookmarkListGx.h"
#include "grid/selection/DBGridGxSelection.h"
#include "grid/DBGridOptionsGx.h"
#include "grid/selection/SelectionTypesGx.h"

#include <string>

class TColumnGx;
class TCustomDBGridGx;

class TDBGridGxSelectionModel {
public:
    explicit TDBGridGxSelectionModel(TCustomDBGridGx& grid);
    ~TDBGridGxSelectionModel();
    TDBGridGxSelectionModel(const TDBGridGxSelectionModel&) = delete;
    TDBGridGxSelectionModel& operator=(const TDBGridGxSelectionModel&) = delete;

    TCustomDBGridGx& Grid() const { return FGrid; }
    TDBGridGxSelection& Selection() { return FSelection; }
    TBookmarkListGx& SelectedRecords() { return FSelectedRecords; }

    TDBGridGxAllowedSelections AllowedSelections() const { return FAllowedSelections; }
    // Stores the set; a selection of a kind no longer allowed is cleared.
    void SetAllowedSelections(TDBGridGxAllowedSelections value);

    // gstNon always; any other kind needs dgMultiSelect and the kind allowed;
    // rectangles and columns are refused under dgRowSelect.
    bool CanSelectType(TDBGridGxSelectionType kind) const;
    // Drops the selection before a plain move (as far as dghClearSelection
    // asks) and ends any Shift gesture over records.
    void ClearSelection();
    // The grid's record move for keys and mouse: distance records (±n), or
    // with toEnd to the first (distance < 1) or last (distance 1) record;
    // extend selects on the way, in row mode records, in cell mode a
    // rectangle.  Row mode is also on under dgRowSelect.
    void MoveWithSelection(bool extend, int distance, bool rowMode, bool toEnd);
    // The painter's test for the cell of data column columnIndex in the
    // record the link's ActiveRecord shows.
    bool DrawnCellSelected(int columnIndex);

    // ---- notifications from the grid
    // The data link became active or inactive.
    void LinkChanged(bool active);
    // The options are about to change from the grid's present ones to
    // `value` (removing dgMultiSelect drops the selection).
    void OptionsChanging(TDBGridOptions value);
    // A layout pass ended.
    void LayoutRebuilt();
    // A column is going away.
    void ColumnDestroying(TColumnGx& column);

    // ---- deleting records
    // Asks "Delete record?" (fewer than two selected) or "Delete all selected
    // records?" when dgConfirmDelete is set; true unless answered Cancel.
    bool ConfirmDelete() const;
    // After ConfirmDelete: deletes the selected records, or the current one
    // when none is selected.  A current record that survives stays current
    // in its row of the window.  False when the user cancelled.
    bool DeleteRecords();

    // ---- the Shift gesture over records
    bool RowShiftActive() const { return FRowShiftActive; }
    void SetRowShiftActive(bool value) { FRowShiftActive = value; }
    const std::string& RowAnchor() const { return FRowAnchor; }
    void SetRowAnchor(const std::string& value) { FRowAnchor = value; }
    bool RowAnchorState() const { return FRowAnchorState; }
    void SetRowAnchorState(bool value) { FRowAnchorState = value; }
    bool AdditiveSelect() const { return FAdditiveSelect; }
    void SetAdditiveSelect(bool value) { FAdditiveSelect = value; }

private:
    void MoveRows(bool extend, int distance, bool toEnd);
    void MoveExtendingRectangle(int distance, bool toEnd);
    // One step of a record move: true when the dataset moved.
    bool Step(int direction);
    bool LinkActive() const;

    TCustomDBGridGx& FGrid;
    // The selection outlives the record list, which reports to it when it
    // is cleared on destruction.
    TDBGridGxSelection FSelection;
    TBookmarkListGx FSelectedRecords;
    TDBGridGxAllowedSelections FAllowedSelections = DefaultAllowedSelectionsGx;
    bool FRowShiftActive = false;
    std::string FRowAnchor;
    bool FRowAnchorState = false;
    bool FAdditiveSelect = false;
};
