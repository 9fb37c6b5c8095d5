#pragma once
// Fixed-point currency: a signed 64-bit integer holding the value x 10000.
// Conversions from floating point round half to even.

#include <compare>
#include <cstdint>

struct TCurrency {
    int64_t Scaled = 0;   // value x 10000

    static constexpr int64_t Scale = 10000;

    constexpr TCurrency() = default;
    static constexpr TCurrency FromScaled(int64_t scaled) { TCurrency c; c.Scaled = scaled; return c; }
    static TCurrency FromDouble(double value);   // raises EConvertError when out of range
    static constexpr TCurrency FromInt(int64_t value) { return FromScaled(value * Scale); }

    double ToDouble() const { return static_cast<double>(Scaled) / Scale; }
    // The nearest whole number, ties to the even neighbour, exact at any size.
    int64_t RoundToInt64() const noexcept;

    constexpr auto operator<=>(const TCurrency&) const = default;
    constexpr bool operator==(const TCurrency&) const = default;

    TCurrency operator+(TCurrency other) const;   // raise EConvertError on overflow
    TCurrency operator-(TCurrency other) const;
    TCurrency operator-() const { return FromScaled(-Scaled); }
};

// Rounds a double to the nearest integer, ties to the even neighbour.
double RoundHalfEven(double value);
