#include "editors/SearchClockGx.h"

#include <chrono>

std::function<int64_t()>& SearchClockGx()
{
    static std::function<int64_t()> clock = [] {
        using namespace std::chrono;
        return static_cast<int64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    return clock;
}
