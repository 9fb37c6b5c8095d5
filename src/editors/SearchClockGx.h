#pragma once
// The millisecond clock the lists' type-ahead searches time their pauses
// with; tests replace it to step time without waiting.

#include <cstdint>
#include <functional>

std::function<int64_t()>& SearchClockGx();
