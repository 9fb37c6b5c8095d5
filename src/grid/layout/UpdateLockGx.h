#pragma once
// TUpdateLockGx: holds the grid's update (painting) lock for a scope and
// releases it on every path; the grid repaints once when the last goes.

#include "grid/DBGridGx.h"

class TUpdateLockGx {
public:
    explicit TUpdateLockGx(TCustomDBGridGx& grid) : FGrid(grid) { FGrid.LockUpdate(); }
    ~TUpdateLockGx() { FGrid.UnlockUpdate(); }
    TUpdateLockGx(const TUpdateLockGx&) = delete;
    TUpdateLockGx& operator=(const TUpdateLockGx&) = delete;

private:
    TCustomDBGridGx& FGrid;
};
