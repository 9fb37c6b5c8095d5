#pragma once
// TDBGridGxKeyboard: the data grid's keyboard.  The grid hands every key
// to it; it replaces the cell grid's own key handling: the key tables with
// and without Ctrl (record moves, column moves, tab moves with their wraps,
// insert, delete with its confirmation, the clipboard keys), Enter as Tab,
// Esc, the routing of typed characters to the incremental search, Space on
// check box columns, and the release of Ctrl after sort-marking clicks.

#include "grid/base/GridTypes.h"
#include "grid/input/DBGridGxIncSearch.h"

#include <QString>

#include <string>

class TCustomDBGridGx;

class TDBGridGxKeyboard {
public:
    explicit TDBGridGxKeyboard(TCustomDBGridGx& grid) : FGrid(grid), FIncSearch(grid) {}
    virtual ~TDBGridGxKeyboard() = default;
    TDBGridGxKeyboard(const TDBGridGxKeyboard&) = delete;
    TDBGridGxKeyboard& operator=(const TDBGridGxKeyboard&) = delete;

    // ---- hooks; true when the key was handled (the cell grid's own
    // handling does not run then)
    virtual bool KeyDown(int& key, TShiftState shift);
    virtual bool KeyPress(QString& key);
    // A typed character (or one committed by an input method).
    virtual bool HandleChar(QString& key);
    virtual bool KeyUp(int& key, TShiftState shift);

    // ---- incremental search
    TDBGridGxIncSearch& IncSearch() { return FIncSearch; }
    bool IncSearchActive() const { return FIncSearch.Active(); }
    const std::string& IncSearchText() const { return FIncSearch.Text(); }

    // ---- sort marking: a sorting title click made with Ctrl held; the
    // change is announced when Ctrl is released.
    bool SortMarkingPending() const { return FSortMarkingPending; }
    void SetSortMarkingPending(bool value) { FSortMarkingPending = value; }

    // ---- record steps of Up, Down and the tab wraps
    void PriorRecord(bool select, bool extend);
    void NextRecord(bool select, bool extend);
    void TabMove(bool backward);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    void SearchKeys(int key, TShiftState shift);
    void CtrlKey(int key, TShiftState shift);
    void PlainKey(int key, TShiftState shift);
    void ClearCheckOnDelete(int key, TShiftState shift);
    void MoveRows(int distance, bool select, bool toEnd);
    void DeleteRecords();
    void InsertRecord();
    void Escape();
    // Whether a typed character goes to the incremental search.
    bool RoutesToSearch() const;
    bool AtBlankAppendedRecord(bool requireEof) const;

    TCustomDBGridGx& FGrid;
    TDBGridGxIncSearch FIncSearch;
    bool FSortMarkingPending = false;
    TShiftState FShift;   // of the last key down, for the character it types
};
