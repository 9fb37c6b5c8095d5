#pragma once
// TDBGridGxMouse: the data grid's mouse.  The grid hands every press, move
// and release to it first; one it does not take goes on to the cell grid's
// own handling (selecting, sizing, moving, scrolling).  It keeps the title
// button the mouse holds down, which the title painting shows pressed.

#include "grid/base/GridTypes.h"

#include <Qt>

class TCustomDBGridGx;

class TDBGridGxMouse {
public:
    explicit TDBGridGxMouse(TCustomDBGridGx& grid) : FGrid(grid) {}
    virtual ~TDBGridGxMouse() = default;
    TDBGridGxMouse(const TDBGridGxMouse&) = delete;
    TDBGridGxMouse& operator=(const TDBGridGxMouse&) = delete;

    // ---- hooks; true when the event was taken
    virtual bool MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual bool MouseMove(TShiftState shift, int x, int y);
    virtual bool MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);

    // ---- the pressed title button
    // The data column whose title button the mouse holds down (-1: none).
    int PressedTitleCol() const { return FPressedTitleCol; }
    // Repaints the title cells that change.
    void SetPressedTitleCol(int dataCol);

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }

private:
    TCustomDBGridGx& FGrid;
    int FPressedTitleCol = -1;
};
