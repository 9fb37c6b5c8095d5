#pragma once
// Scope guards: a change that must be undone when a scope ends, on every
// path out of it, normal or by an exception.
//
//   TValueRollback<bool> busy(FBusy, true);   // FBusy is true inside, its
//                                             // old value again after
//   TScopeExit enable([&] { dataSet.EnableControls(); });

#include <utility>

// Gives a variable a value for the duration of a scope, then puts the old
// value back.
template <typename T>
class TValueRollback {
public:
    TValueRollback(T& variable, T value) : FVariable(variable), FOld(std::move(variable))
    {
        FVariable = std::move(value);
    }
    ~TValueRollback() { FVariable = std::move(FOld); }
    TValueRollback(const TValueRollback&) = delete;
    TValueRollback& operator=(const TValueRollback&) = delete;

private:
    T& FVariable;
    T FOld;
};

// Runs an action when the scope ends.
template <typename TAction>
class TScopeExit {
public:
    explicit TScopeExit(TAction action) : FAction(std::move(action)) {}
    ~TScopeExit() { FAction(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    TAction FAction;
};
