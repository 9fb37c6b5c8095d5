#pragma once
// The data grid's mouse events, which a program sets on the grid (it is a
// TDBGridGxMouseEvents).  OnSortMarkingChanged is with the column events
// (DBGridGxEvents.h): the keyboard fires it when Ctrl goes up after a
// Ctrl+click on a title.

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
};
