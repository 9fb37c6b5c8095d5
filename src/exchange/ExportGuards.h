#pragma once
// Scope guards of a walk over a grid's dataset: the dataset's controls stay
// disabled, and the grid's view position is brought back, on every way out
// of the scope.  While a failure unwinds, a failure of the restoring itself
// is dropped so that the first one reaches the caller.

#include "data/DataSet.h"
#include "grid/DBGridGx.h"

#include <exception>

class TControlsDisabledGuard {
public:
    explicit TControlsDisabledGuard(TDataSet* dataSet) : FDataSet(dataSet)
    {
        if (FDataSet)
            FDataSet->DisableControls();
    }
    ~TControlsDisabledGuard() noexcept(false)
    {
        if (!FDataSet)
            return;
        if (std::uncaught_exceptions() <= FUncaught) {
            FDataSet->EnableControls();
            return;
        }
        try {
            FDataSet->EnableControls();
        } catch (...) {
        }
    }
    TControlsDisabledGuard(const TControlsDisabledGuard&) = delete;
    TControlsDisabledGuard& operator=(const TControlsDisabledGuard&) = delete;

private:
    TDataSet* FDataSet;
    int FUncaught = std::uncaught_exceptions();
};

class TViewPositionGuard {
public:
    explicit TViewPositionGuard(TCustomDBGridGx& grid) : FGrid(grid) { FGrid.SaveViewPosition(); }
    // Brings the view back before the scope ends; the guard then has
    // nothing left to do.
    void Restore()
    {
        FRestored = true;
        FGrid.RestoreViewPosition();
    }
    ~TViewPositionGuard() noexcept(false)
    {
        if (FRestored)
            return;
        if (std::uncaught_exceptions() <= FUncaught) {
            FGrid.RestoreViewPosition();
            return;
        }
        try {
            FGrid.RestoreViewPosition();
        } catch (...) {
        }
    }
    TViewPositionGuard(const TViewPositionGuard&) = delete;
    TViewPositionGuard& operator=(const TViewPositionGuard&) = delete;

private:
    TCustomDBGridGx& FGrid;
    bool FRestored = false;
    int FUncaught = std::uncaught_exceptions();
};
