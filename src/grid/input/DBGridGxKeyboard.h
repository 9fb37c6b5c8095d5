#pragma once
// TDBGridGxKeyboard: the data grid's keyboard, with the incremental search.
// The grid hands every key to KeyDown and KeyPress first; a key they do not
// take goes on to the cell grid's own handling.  While the incremental
// search is active its text is written over the current cell and the
// indicator shows the search arrow.

#include "grid/base/GridTypes.h"

#include <QString>

#include <string>

class TCustomDBGridGx;

class TDBGridGxKeyboard {
public:
    explicit TDBGridGxKeyboard(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxKeyboard() = default;
    TDBGridGxKeyboard(const TDBGridGxKeyboard&) = delete;
    TDBGridGxKeyboard& operator=(const TDBGridGxKeyboard&) = delete;

    // ---- hooks; true when the key was taken (clear `key` to swallow it)
    virtual bool KeyDown(int& key, TShiftState shift);
    virtual bool KeyPress(QString& key);

    // ---- incremental search
    bool IncSearchActive() const { return FIncSearchActive; }
    const std::string& IncSearchText() const { return FIncSearchText; }
    // Repaints the current row when the state changes.
    void SetIncSearchState(bool active, const std::string& text);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
    bool FIncSearchActive = false;
    std::string FIncSearchText;
};
