#include "platform/Currency.h"

#include "platform/Exceptions.h"

#include <cmath>
#include <limits>

double RoundHalfEven(double value)
{
    double whole = std::floor(value);
    double diff = value - whole;
    if (diff > 0.5)
        return whole + 1;
    if (diff < 0.5)
        return whole;
    return std::fmod(whole, 2.0) == 0 ? whole : whole + 1;
}

TCurrency TCurrency::FromDouble(double value)
{
    if (!std::isfinite(value))
        throw EConvertError("Invalid floating point operation");
    // Scale in long double so that values such as 1.005 keep the digits
    // their decimal text shows before rounding.
    long double scaled = static_cast<long double>(value) * Scale;
    long double whole = std::floor(scaled);
    long double diff = scaled - whole;
    long double rounded;
    constexpr long double eps = 1e-9L;
    if (diff > 0.5L + eps)
        rounded = whole + 1;
    else if (diff < 0.5L - eps)
        rounded = whole;
    else
        rounded = std::fmod(whole, 2.0L) == 0 ? whole : whole + 1;
    // Every int64_t lies in [-2^63, 2^63).
    if (rounded >= 0x1p63L || rounded < -0x1p63L)
        throw EConvertError("Floating point overflow");
    return FromScaled(static_cast<int64_t>(rounded));
}

int64_t TCurrency::RoundToInt64() const noexcept
{
    int64_t whole = Scaled / Scale;    // towards zero
    int64_t rest = Scaled % Scale;     // same sign as Scaled
    const int64_t half = Scale / 2;
    if (rest > half || (rest == half && whole % 2 != 0))
        ++whole;
    else if (rest < -half || (rest == -half && whole % 2 != 0))
        --whole;
    return whole;
}

TCurrency TCurrency::operator+(TCurrency other) const
{
    int64_t result;
    if (__builtin_add_overflow(Scaled, other.Scaled, &result))
        throw EConvertError("Currency overflow");
    return FromScaled(result);
}

TCurrency TCurrency::operator-(TCurrency other) const
{
    int64_t result;
    if (__builtin_sub_overflow(Scaled, other.Scaled, &result))
        throw EConvertError("Currency overflow");
    return FromScaled(result);
}
