#pragma once
// TDBGridGxSelection: the grid's one multi-cell selection.  Its kind says
// which part is meaningful: the selected records (the grid's
// SelectedRecords), a rectangle of cells (Rect), a set of columns (Cols), or
// every cell (gstAll).  The other parts stay empty.

#include "grid/selection/DBGridGxSelectionCols.h"
#include "grid/selection/DBGridGxSelectionRect.h"
#include "grid/selection/SelectionTypesGx.h"

#include <string>

class TBookmarkListGx;
class TDBGridGxSelectionModel;

class TDBGridGxSelection {
public:
    explicit TDBGridGxSelection(TDBGridGxSelectionModel& model);
    TDBGridGxSelection(const TDBGridGxSelection&) = delete;
    TDBGridGxSelection& operator=(const TDBGridGxSelection&) = delete;

    TDBGridGxSelectionType SelectionType() const { return FSelectionType; }
    // Stores the kind; the in-place editor shows again when the selection
    // ends under dgAlwaysShowEditor, and hides otherwise.
    void SetSelectionType(TDBGridGxSelectionType value);
    bool Empty() const { return FSelectionType == gstNon; }

    TDBGridGxSelectionCols& Cols() { return FCols; }
    TDBGridGxSelectionRect& Rect() { return FRect; }
    TBookmarkListGx& SelectedRecords();

    // Whether the cell of data column columnIndex in the record with this
    // bookmark is selected.
    bool DataCellSelected(int columnIndex, const std::string& bookmark);
    // Clears the part of the present kind; the kind becomes gstNon.
    void Clear();
    void SelectAll();
    // An empty record or column selection becomes no selection.
    void DropIfEmpty();
    void LinkChanged(bool active);

private:
    void ClearPart();
    void EndSelection();

    TDBGridGxSelectionModel& FModel;
    TDBGridGxSelectionType FSelectionType = gstNon;
    TDBGridGxSelectionCols FCols;
    TDBGridGxSelectionRect FRect;
};
