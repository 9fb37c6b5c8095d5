#include "platform/DecimalNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

// Exponents beyond this are far outside every representable value; capping
// them keeps the arithmetic on int safe.
constexpr int ExponentLimit = 100000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

TDecimalNumber TDecimalNumber::FromDouble(double value)
{
    TDecimalNumber result;
    if (std::isnan(value)) {
        result.Kind = NotANumber;
        return result;
    }
    if (std::isinf(value)) {
        result.Kind = value < 0 ? MinusInfinity : PlusInfinity;
        result.Negative = value < 0;
        return result;
    }
    result.Negative = std::signbit(value);
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    // "d[.ddd]e(+|-)xx": the digits, then the power of the first one.
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            result.Digits.push_back(*p);
    int power = 0;
    if (p < end)
        std::from_chars(p + 1 + (p[1] == '+'), end, power);
    result.Exponent = power + 1;
    result.Normalize();
    return result;
}

TDecimalNumber TDecimalNumber::FromScaled(int64_t scaled, int scale)
{
    TDecimalNumber result;
    result.Negative = scaled < 0;
    uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    if (magnitude != 0) {
        result.Digits = std::to_string(magnitude);
        result.Exponent = static_cast<int>(result.Digits.size()) - scale;
    }
    result.Normalize();
    return result;
}

char TDecimalNumber::DigitAt(int power) const noexcept
{
    long index = static_cast<long>(Exponent) - 1 - power;
    if (index < 0 || index >= static_cast<long>(Digits.size()))
        return '0';
    return Digits[static_cast<size_t>(index)];
}

void TDecimalNumber::Normalize()
{
    size_t lead = 0;
    while (lead < Digits.size() && Digits[lead] == '0')
        ++lead;
    if (lead) {
        Digits.erase(0, lead);
        Exponent -= static_cast<int>(lead);
    }
    while (!Digits.empty() && Digits.back() == '0')
        Digits.pop_back();
    if (Digits.empty())
        Exponent = 0;
}

void TDecimalNumber::KeepDigits(int keep, TDecimalRounding mode)
{
    if (Kind != Finite || keep >= static_cast<int>(Digits.size()))
        return;
    if (keep < 0) {
        Digits.clear();
        Exponent = 0;
        return;
    }
    const size_t k = static_cast<size_t>(keep);
    const char first = Digits[k];
    bool up;
    if (mode == TDecimalRounding::HalfAwayFromZero || first != '5') {
        up = first >= '5';
    } else if (Digits.size() > k + 1) {
        up = true;   // more than half: the digits are trimmed, so any further one is not zero
    } else {
        const char last = k > 0 ? Digits[k - 1] : '0';
        up = (last - '0') % 2 == 1;
    }
    Digits.resize(k);
    if (up) {
        size_t i = Digits.size();
        while (i > 0 && Digits[i - 1] == '9')
            Digits[--i] = '0';
        if (i == 0) {
            Digits.insert(Digits.begin(), '1');
            ++Exponent;
        } else {
            ++Digits[i - 1];
        }
    }
    Normalize();
}

void TDecimalNumber::RoundToSignificant(int count, TDecimalRounding mode)
{
    KeepDigits(count, mode);
}

void TDecimalNumber::RoundToDecimals(int decimals, TDecimalRounding mode)
{
    if (Kind != Finite || Digits.empty())
        return;
    long keep = static_cast<long>(Exponent) + decimals;
    KeepDigits(keep < 0 ? -1 : static_cast<int>(keep), mode);
}

bool TDecimalNumber::ToScaled(int scale, int64_t& scaled) const
{
    if (Kind != Finite)
        return false;
    if (Digits.empty()) {
        scaled = 0;
        return true;
    }
    long integerDigits = static_cast<long>(Exponent) + scale;
    if (integerDigits < static_cast<long>(Digits.size()) || integerDigits > 19)
        return false;
    unsigned __int128 magnitude = 0;
    for (long i = 0; i < integerDigits; ++i)
        magnitude = magnitude * 10 + static_cast<unsigned>(DigitAt(Exponent - 1 - static_cast<int>(i)) - '0');
    const unsigned __int128 limit = static_cast<unsigned __int128>(INT64_MAX) + (Negative ? 1 : 0);
    if (magnitude > limit)
        return false;
    scaled = Negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(magnitude)) : static_cast<int64_t>(magnitude);
    return true;
}

bool TDecimalNumber::Parse(const std::string& text, char decimalSeparator, TDecimalNumber& result)
{
    TDecimalNumber number;
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        number.Negative = text[i++] == '-';
    int integerDigits = 0;
    bool anyDigit = false;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        number.Digits.push_back(text[i++]);
        ++integerDigits;
        anyDigit = true;
    }
    if (i < n && text[i] == decimalSeparator) {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
            number.Digits.push_back(text[i++]);
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return false;
    long power = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativePower = false;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            negativePower = text[i++] == '-';
        if (i >= n || !std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
            if (power < ExponentLimit)
                power = power * 10 + (text[i] - '0');
            ++i;
        }
        if (negativePower)
            power = -power;
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n)
        return false;
    number.Exponent = static_cast<int>(integerDigits + power);
    number.Normalize();
    result = number;
    return true;
}

std::string TDecimalNumber::ToFixedText(int decimals, TDecimalRounding mode) const
{
    TDecimalNumber rounded = *this;
    rounded.RoundToDecimals(decimals, mode);
    std::string text;
    if (rounded.ShowsMinus())
        text += '-';
    int integerDigits = rounded.IntegerDigits();
    if (integerDigits == 0)
        text += '0';
    for (int power = integerDigits - 1; power >= 0; --power)
        text += rounded.DigitAt(power);
    if (decimals > 0) {
        text += '.';
        for (int power = -1; power >= -decimals; --power)
            text += rounded.DigitAt(power);
    }
    return text;
}
