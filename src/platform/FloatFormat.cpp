#include "platform/FloatFormat.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

std::string SpecialText(const TDecimalNumber& number)
{
    switch (number.Kind) {
    case TDecimalNumber::PlusInfinity: return "INF";
    case TDecimalNumber::MinusInfinity: return "-INF";
    case TDecimalNumber::NotANumber: return "NAN";
    case TDecimalNumber::Finite: break;
    }
    return std::string();
}

std::string IntegerPart(const TDecimalNumber& number, bool thousands, char separator)
{
    int count = number.IntegerDigits();
    if (count == 0)
        return "0";
    std::string text;
    for (int power = count - 1; power >= 0; --power) {
        text.push_back(number.DigitAt(power));
        if (thousands && separator && power > 0 && power % 3 == 0)
            text.push_back(separator);
    }
    return text;
}

std::string ExponentPart(int power, bool alwaysSign, int minimumDigits)
{
    std::string digits = std::to_string(power < 0 ? -power : power);
    if (static_cast<int>(digits.size()) < minimumDigits)
        digits.insert(0, static_cast<size_t>(minimumDigits) - digits.size(), '0');
    std::string text = "E";
    if (power < 0)
        text.push_back('-');
    else if (alwaysSign)
        text.push_back('+');
    return text + digits;
}

// d[.ddd]E[+|-]x with the given count of digits after the point.
std::string Scientific(const TDecimalNumber& number, int decimals, bool padDecimals, bool alwaysSign,
                       int exponentDigits, char decimalSeparator)
{
    std::string text(1, number.IsZero() ? '0' : number.Digits[0]);
    std::string fraction;
    for (int i = 1; i <= decimals; ++i)
        fraction.push_back(i < static_cast<int>(number.Digits.size()) ? number.Digits[static_cast<size_t>(i)] : '0');
    if (!padDecimals)
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    if (!fraction.empty())
        text += decimalSeparator + fraction;
    return text + ExponentPart(number.IsZero() ? 0 : number.Exponent - 1, alwaysSign, exponentDigits);
}

std::string General(const TDecimalNumber& number, int precision, int exponentDigits, char decimalSeparator)
{
    if (number.IsZero())
        return "0";
    if (number.Exponent > precision || number.Exponent < -3)
        return Scientific(number, precision - 1, false, false, exponentDigits, decimalSeparator);
    std::string text = IntegerPart(number, false, 0);
    std::string fraction;
    for (int power = -1; power >= number.Exponent - static_cast<int>(number.Digits.size()); --power)
        fraction.push_back(number.DigitAt(power));
    if (!fraction.empty())
        text += decimalSeparator + fraction;
    return text;
}

std::string Fixed(const TDecimalNumber& number, int decimals, bool thousands, const TFormatSettings& settings)
{
    std::string text = IntegerPart(number, thousands, settings.ThousandSeparator);
    if (decimals > 0) {
        text.push_back(settings.DecimalSeparator);
        for (int power = -1; power >= -decimals; --power)
            text.push_back(number.DigitAt(power));
    }
    return text;
}

std::string PlaceCurrency(const std::string& amount, bool negative, const TFormatSettings& settings)
{
    const std::string& c = settings.CurrencyString;
    if (!negative) {
        switch (settings.CurrencyFormat) {
        case 1: return amount + c;
        case 2: return c + " " + amount;
        case 3: return amount + " " + c;
        default: return c + amount;
        }
    }
    switch (settings.NegCurrFormat) {
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 9: return "-" + c + " " + amount;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "(" + c + amount + ")";
    }
}

// Values of at most four decimals and fifteen digits (amounts, quantities,
// whole numbers) found by arithmetic: the first scale at which an integer
// over a power of ten reads back as the value.  Below 10^15 decimals of
// that scale lie further apart than the double's spacing, so the digits
// found are the shortest text, which needs no rounding and no exponent.
bool TryFewDecimals(double value, char decimalSeparator, std::string& text)
{
    static constexpr double Scales[] = {1, 10, 100, 1000, 10000};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e11))
        return false;
    for (int decimals = 0; decimals < 5; ++decimals) {
        const double scaled = std::nearbyint(magnitude * Scales[decimals]);
        if (scaled >= 1e15 || scaled / Scales[decimals] != magnitude)
            continue;
        char digits[24];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(scaled));
        const int count = static_cast<int>(end - digits);
        text.clear();
        if (value < 0)
            text.push_back('-');
        if (decimals == 0) {
            text.append(digits, end);
            return true;
        }
        if (count <= decimals) {
            text.push_back('0');
            text.push_back(decimalSeparator);
            text.append(static_cast<size_t>(decimals - count), '0');
            text.append(digits, end);
            return true;
        }
        text.append(digits, static_cast<size_t>(count - decimals));
        text.push_back(decimalSeparator);
        text.append(digits + count - decimals, end);
        return true;
    }
    return false;
}

} // namespace

bool TryGeneralWithoutExponent(double value, int precision, const TFormatSettings& settings, std::string& text)
{
    if (!std::isfinite(value))
        return false;
    if (value == 0) {
        text = "0";   // negative zero too
        return true;
    }
    if (precision >= 15 && TryFewDecimals(value, settings.DecimalSeparator, text))
        return true;
    // The shortest exact text, "d[.ddd]e(+|-)xx".
    char buffer[40];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    if (ec != std::errc())
        return false;
    char digits[24];
    int count = 0;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.' && count < static_cast<int>(sizeof digits))
            digits[count++] = *p;
    if (p + 2 >= end)
        return false;
    int power = 0;
    for (const char* q = p + 2; q < end; ++q)
        power = power * 10 + (*q - '0');
    if (p[1] == '-')
        power = -power;
    int exponent = power + 1;   // value = 0.digits x 10^exponent
    // Rounds the shortest digits half away from zero, as the decimal path does.
    if (count > precision) {
        const bool up = digits[precision] >= '5';
        count = precision;
        if (up) {
            int i = count;
            while (i > 0 && digits[i - 1] == '9')
                --i;
            if (i == 0) {
                digits[0] = '1';
                count = 1;
                ++exponent;
            } else {
                ++digits[i - 1];
                count = i;
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (exponent > precision || exponent < -3)
        return false;
    text.clear();
    if (value < 0)
        text.push_back('-');
    if (exponent <= 0) {
        text.push_back('0');
        text.push_back(settings.DecimalSeparator);
        text.append(static_cast<size_t>(-exponent), '0');
        text.append(digits, static_cast<size_t>(count));
        return true;
    }
    if (count <= exponent) {
        text.append(digits, static_cast<size_t>(count));
        text.append(static_cast<size_t>(exponent - count), '0');
        return true;
    }
    text.append(digits, static_cast<size_t>(exponent));
    text.push_back(settings.DecimalSeparator);
    text.append(digits + exponent, static_cast<size_t>(count - exponent));
    return true;
}

std::string FormatDecimalNumber(TDecimalNumber number, TFloatFormat format, int precision, int digits,
                                const TFormatSettings& settings)
{
    if (!number.IsFinite())
        return SpecialText(number);
    precision = std::clamp(precision, 1, 19);
    if (format == ffGeneral || format == ffExponent)
        digits = std::clamp(digits, 0, 4);
    else
        digits = std::clamp(digits, 0, 18);
    number.RoundToSignificant(precision);
    std::string body;
    switch (format) {
    case ffGeneral:
        body = General(number, precision, digits, settings.DecimalSeparator);
        break;
    case ffExponent:
        body = Scientific(number, precision - 1, true, true, digits, settings.DecimalSeparator);
        break;
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        if (number.Exponent > precision) {
            body = General(number, precision, 0, settings.DecimalSeparator);
            break;
        }
        number.RoundToDecimals(digits);
        body = Fixed(number, digits, format != ffFixed, settings);
        if (format == ffCurrency)
            return PlaceCurrency(body, number.ShowsMinus(), settings);
        break;
    }
    return number.ShowsMinus() ? "-" + body : body;
}

std::string FloatToStr(double value)
{
    return FloatToStr(value, FormatSettings());
}

std::string FloatToStr(double value, const TFormatSettings& settings)
{
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings)
{
    // A double never carries more than 17 meaningful digits.
    std::string text;
    if (format == ffGeneral && TryGeneralWithoutExponent(value, std::clamp(std::min(precision, 17), 1, 19), settings, text))
        return text;
    return FormatDecimalNumber(TDecimalNumber::FromDouble(value), format, std::min(precision, 17), digits, settings);
}

std::string FormatFloat(const std::string& picture, double value)
{
    return FormatFloat(picture, value, FormatSettings());
}

std::string FormatFloat(const std::string& picture, double value, const TFormatSettings& settings)
{
    // Pictures round the value as FloatToStr shows it, so that a sum that
    // lands a hair below 0.145 still shows as 0.15 with two decimals.
    TDecimalNumber number = TDecimalNumber::FromDouble(value);
    number.RoundToSignificant(15);
    return FormatDecimalPicture(picture, number, settings);
}

std::string CurrToStr(TCurrency value)
{
    return CurrToStrF(value, ffGeneral, 0);
}

std::string CurrToStrF(TCurrency value, TFloatFormat format, int digits)
{
    return CurrToStrF(value, format, digits, FormatSettings());
}

std::string CurrToStrF(TCurrency value, TFloatFormat format, int digits, const TFormatSettings& settings)
{
    return FormatDecimalNumber(TDecimalNumber::FromScaled(value.Scaled, 4), format, 19, digits, settings);
}

std::string FormatCurr(const std::string& picture, TCurrency value)
{
    return FormatCurr(picture, value, FormatSettings());
}

std::string FormatCurr(const std::string& picture, TCurrency value, const TFormatSettings& settings)
{
    return FormatDecimalPicture(picture, TDecimalNumber::FromScaled(value.Scaled, 4), settings);
}
