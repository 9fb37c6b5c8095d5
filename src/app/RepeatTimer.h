#pragma once
// The clock behind a button that repeats while it is held down.  The
// navigator asks for the first repeat after one interval and for the
// following ones after another; tests install a manual timer and fire it.

#include <functional>
#include <memory>

class TRepeatTimer {
public:
    virtual ~TRepeatTimer() = default;
    // (Re)starts the timer: OnTimer runs every intervalMs until Stop.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;

    std::function<void()> OnTimer;
};

// A timer on the GUI thread's event loop.
std::unique_ptr<TRepeatTimer> CreateRepeatTimer();
