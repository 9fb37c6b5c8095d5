#pragma once
// Helpers of the writes that put back what they changed when a later step
// fails: a clean-up run however a scope ends, and undo steps that never
// hide the error that made them necessary.

#include <utility>

// Runs a clean-up when the scope ends, however it ends.
template <typename F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : FAction(std::move(f)) {}
    ~TScopeExit() { if (FArmed) FAction(); }
    void Dismiss() { FArmed = false; }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FAction;
    bool FArmed = true;
};

// One step of putting back what a failed write changed: each step is tried
// even when an earlier one failed, and the write's own error is the one raised.
template <typename F>
void Undo(F step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}
