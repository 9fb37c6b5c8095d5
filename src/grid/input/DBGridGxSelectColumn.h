#pragma once
// Select column: the grid's operation that makes a grid column current, for
// keys, mouse and the auto-scroll timer.  The grid is a TDBGridGxSelectColumn.

class TDBGridGxSelectColumn {
public:
    // Makes grid column gridCol current (clamped into the data columns).
    // With a direction (+1 or -1) hidden columns are stepped over that way;
    // extend grows a rectangle selection from the current cell.
    void SelectColumn(int gridCol, int direction, bool extend);

protected:
    TDBGridGxSelectColumn() = default;
    ~TDBGridGxSelectColumn() = default;
};
