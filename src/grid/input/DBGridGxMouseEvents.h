#pragma once
// The data grid's mouse events, which a program sets on the grid (it is a
// TDBGridGxMouseEvents), and the sort marking a Ctrl+click leaves pending
// until Ctrl is released.

#include <functional>

class TColumnGx;
class TCustomDBGridGx;

struct TDBGridGxMouseEvents {
    // A left click released on a data cell (the current column) or on a title.
    std::function<void(TColumnGx& column)> OnCellClick;
    std::function<void(TColumnGx& column)> OnTitleClick;
    // Whether a title works as a button: starts as the title's TitleButton
    // (false for an index outside the columns).
    std::function<void(TCustomDBGridGx& sender, int dataCol, TColumnGx* column, bool& enabled)> OnCheckButton;
    // A title button released over the title it was pressed on.
    std::function<void(TCustomDBGridGx& sender, int dataCol, TColumnGx& column)> OnTitleBtnClick;
    // The user moved a column from one data index to another.
    std::function<void(TCustomDBGridGx& sender, int fromIndex, int toIndex)> OnColumnMoved;
    // The user sized a column.
    std::function<void(TCustomDBGridGx& sender)> OnColWidthsChanged;
    // The sort markers changed by title clicks: at once, or after a Ctrl+click
    // at the release of Ctrl.
    std::function<void(TCustomDBGridGx& sender)> OnSortMarkingChanged;

    // A sorting title click was made with Ctrl held; the keyboard fires
    // OnSortMarkingChanged when Ctrl goes up.
    bool SortMarkingPending() const { return FSortMarkingPending; }
    void SetSortMarkingPending(bool value) { FSortMarkingPending = value; }

private:
    bool FSortMarkingPending = false;
};
