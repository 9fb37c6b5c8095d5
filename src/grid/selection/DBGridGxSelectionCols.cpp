#include "grid/selection/DBGridGxSelectionCols.h"

#include "grid/columns/ColumnGx.h"
#include "grid/DBGridGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"

#include <algorithm>
#include <optional>

TDBGridGxSelectionCols::TDBGridGxSelectionCols(TDBGridGxSelectionModel& model) : FModel(model) {}

int TDBGridGxSelectionCols::IndexOf(const TColumnGx* column) const
{
    return column ? FModel.Grid().Columns().IndexOf(column) : -1;
}

void TDBGridGxSelectionCols::InvalidateColumn(const TColumnGx* column) const
{
    int index = IndexOf(column);
    if (index >= 0)
        FModel.Grid().InvalidateCol(FModel.Grid().DataToRawColumn(index));
}

void TDBGridGxSelectionCols::Add(TColumnGx* column)
{
    int index = IndexOf(column);
    for (int i = 0; i < FItems.Count(); ++i) {
        if (IndexOf(FItems[i]) > index) {
            FItems.Insert(i, column);
            return;
        }
    }
    FItems.Add(column);
}

void TDBGridGxSelectionCols::Remove(TColumnGx* column) { FItems.Remove(column); }

void TDBGridGxSelectionCols::Clear()
{
    for (TColumnGx* column : FItems)
        InvalidateColumn(column);
    FItems.Clear();
    FAnchor = nullptr;
}

void TDBGridGxSelectionCols::UpdateKind()
{
    FModel.Selection().SetSelectionType(FItems.Empty() ? gstNon : gstColumns);
}

void TDBGridGxSelectionCols::InvertSelect(TColumnGx* column)
{
    TDBGridGxSelection& selection = FModel.Selection();
    if (selection.SelectionType() != gstColumns)
        selection.Clear();
    if (Contains(column))
        Remove(column);
    else
        Add(column);
    InvalidateColumn(column);
    FAnchor = column;
    FShiftCol = column;
    UpdateKind();
    FShiftSelectedCols.Clear();
}

void TDBGridGxSelectionCols::Select(TColumnGx* column, bool keepOthers)
{
    TDBGridGxSelection& selection = FModel.Selection();
    if (selection.SelectionType() != gstColumns)
        selection.Clear();
    if (!keepOthers) {
        for (TColumnGx* other : FItems)
            InvalidateColumn(other);
        FItems.Clear();
    }
    if (!Contains(column)) {
        Add(column);
        InvalidateColumn(column);
    }
    FAnchor = column;
    FShiftCol = column;
    selection.SetSelectionType(gstColumns);
    FShiftSelectedCols.Clear();
}

void TDBGridGxSelectionCols::SelectShift(TColumnGx* column)
{
    TDBGridGxSelection& selection = FModel.Selection();
    // Another kind of selection goes first: only one part is ever meaningful.
    if (selection.SelectionType() != gstColumns && selection.SelectionType() != gstNon)
        selection.Clear();
    int a = IndexOf(FAnchor);
    int x = IndexOf(column);
    if (x < 0)
        return;
    if (a < 0) {
        Select(column, true);
        FAnchor = column;
        return;
    }
    int s = IndexOf(FShiftCol);
    if (s < 0)
        s = a;

    enum TMode { Extend, Shrink };
    int start = s, stop = x, step = 1;
    TMode mode = Extend;
    std::optional<int> turn;
    if (s == a) {
        start = a;
        stop = x;
        step = x < a ? -1 : 1;
    } else if (s == x) {
        start = stop = x;
    } else if (a < s && s < x) {
        // going further right
    } else if (a < s) {
        // coming back left: undo up to the column, or past the anchor
        stop = x < a ? x : x + 1;
        step = -1;
        mode = Shrink;
        if (x < a)
            turn = a;
    } else if (x < s) {
        // going further left
        step = -1;
    } else {
        // coming back right
        stop = a < x ? x : x - 1;
        mode = Shrink;
        if (a < x)
            turn = a;
    }

    TDBGridColumnsGx& columns = FModel.Grid().Columns();
    for (int i = start;; i += step) {
        if (turn && i == *turn)
            mode = mode == Extend ? Shrink : Extend;
        TColumnGx* current = columns[i];
        bool anchorSelected = Contains(FAnchor);
        bool changed = false;
        if (mode == Extend) {
            if (anchorSelected && !Contains(current) && current->Visible()) {
                Add(current);
                changed = true;
            } else if (!anchorSelected && Contains(current) && current != FAnchor) {
                Remove(current);
                changed = true;
            }
            if (changed && !FShiftSelectedCols.Contains(current))
                FShiftSelectedCols.Add(current);
        } else if (FShiftSelectedCols.Contains(current)) {
            if (anchorSelected && Contains(current) && current != FAnchor) {
                Remove(current);
                changed = true;
            } else if (!anchorSelected && !Contains(current) && current->Visible()) {
                Add(current);
                changed = true;
            }
            if (changed)
                FShiftSelectedCols.Remove(current);
        }
        if (changed)
            InvalidateColumn(current);
        if (i == stop)
            break;
    }
    FShiftCol = column;
    UpdateKind();
}

void TDBGridGxSelectionCols::Refresh()
{
    for (int i = FItems.Count() - 1; i >= 0; --i)
        if (IndexOf(FItems[i]) < 0)
            FItems.Delete(i);
    for (int i = FShiftSelectedCols.Count() - 1; i >= 0; --i)
        if (IndexOf(FShiftSelectedCols[i]) < 0)
            FShiftSelectedCols.Delete(i);
    if (IndexOf(FAnchor) < 0)
        FAnchor = nullptr;
    if (IndexOf(FShiftCol) < 0)
        FShiftCol = nullptr;
    std::vector<TColumnGx*> sorted(FItems.begin(), FItems.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [this](const TColumnGx* l, const TColumnGx* r) { return IndexOf(l) < IndexOf(r); });
    FItems.Clear();
    for (TColumnGx* column : sorted)
        FItems.Add(column);
    FModel.Selection().DropIfEmpty();
}

void TDBGridGxSelectionCols::ColumnDestroying(TColumnGx* column)
{
    FItems.Remove(column);
    FShiftSelectedCols.Remove(column);
    if (FAnchor == column)
        FAnchor = nullptr;
    if (FShiftCol == column)
        FShiftCol = nullptr;
}
