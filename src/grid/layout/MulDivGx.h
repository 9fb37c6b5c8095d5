#pragma once
// a * b / c with a 64-bit product, rounded half away from zero: how the
// grid scales widths and shares them out without losing precision.

#include <cstdint>

inline int64_t MulDivGx(int64_t a, int64_t b, int64_t c)
{
    if (c < 0) {
        c = -c;
        a = -a;
    }
    const int64_t product = a * b;
    const int64_t half = c / 2;
    return product >= 0 ? (product + half) / c : (product - half) / c;
}
