#pragma once
// TLayoutLockGx: holds the grid's layout lock for a scope; the layout pass
// runs when the outermost lock goes.  A null host holds nothing.

#include "grid/columns/ColumnsHostGx.h"

#include <exception>

class TLayoutLockGx {
public:
    explicit TLayoutLockGx(TColumnsHostGx* host) : FHost(host)
    {
        if (FHost)
            FHost->LockLayout();
    }
    // Unwinding from a failure only releases the lock; the layout pass
    // runs when the scope ends normally.
    ~TLayoutLockGx() noexcept(false)
    {
        if (!FHost)
            return;
        if (std::uncaught_exceptions() > FUncaught)
            FHost->ReleaseLayout();
        else
            FHost->UnlockLayout();
    }
    TLayoutLockGx(const TLayoutLockGx&) = delete;
    TLayoutLockGx& operator=(const TLayoutLockGx&) = delete;

private:
    TColumnsHostGx* FHost;
    int FUncaught = std::uncaught_exceptions();
};
