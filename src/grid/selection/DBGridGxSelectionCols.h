#pragma once
// TDBGridGxSelectionCols: the selected columns of a grid, in the order of
// their Index, with the anchor of the click or Shift gesture that selected
// them.  The list does not own its columns: a column that leaves the grid
// is dropped (ColumnDestroying, Refresh).

#include "grid/columns/ColumnsGxList.h"

class TColumnGx;
class TDBGridGxSelectionModel;

class TDBGridGxSelectionCols {
public:
    explicit TDBGridGxSelectionCols(TDBGridGxSelectionModel& model);
    TDBGridGxSelectionCols(const TDBGridGxSelectionCols&) = delete;
    TDBGridGxSelectionCols& operator=(const TDBGridGxSelectionCols&) = delete;

    int Count() const { return FItems.Count(); }
    TColumnGx* operator[](int index) const { return FItems[index]; }
    const TColumnsGxList& Items() const { return FItems; }
    bool Contains(const TColumnGx* column) const { return FItems.Contains(column); }
    TColumnsGxList::const_iterator begin() const { return FItems.begin(); }
    TColumnsGxList::const_iterator end() const { return FItems.end(); }

    // Where the last click or Shift gesture began (null when none), where the
    // last Shift gesture ended, and the columns the Shift gesture changed.
    TColumnGx* Anchor() const { return FAnchor; }
    TColumnGx* ShiftCol() const { return FShiftCol; }
    const TColumnsGxList& ShiftSelectedCols() const { return FShiftSelectedCols; }

    // Inserts before the first column of a greater Index.
    void Add(TColumnGx* column);
    // Repaints and forgets every column; the anchor goes.
    void Clear();
    // A Ctrl+click on a title: toggles the column.
    void InvertSelect(TColumnGx* column);
    // A click on a title: selects the column, alone unless keepOthers.
    void Select(TColumnGx* column, bool keepOthers);
    // A Shift+click on a title: extends or shrinks the columns from the
    // anchor to the column.
    void SelectShift(TColumnGx* column);
    // Drops the columns that left the grid and sorts the rest by Index.
    void Refresh();
    void ColumnDestroying(TColumnGx* column);

private:
    // The column's Index in the grid, -1 when it is not the grid's.
    int IndexOf(const TColumnGx* column) const;
    void InvalidateColumn(const TColumnGx* column) const;
    void Remove(TColumnGx* column);
    void UpdateKind();

    TDBGridGxSelectionModel& FModel;
    TColumnsGxList FItems;
    TColumnGx* FAnchor = nullptr;
    TColumnGx* FShiftCol = nullptr;
    TColumnsGxList FShiftSelectedCols;
};
