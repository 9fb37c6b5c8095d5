#include "platform/FloatFormat.h"

#include "platform/NumberText.h"

#include <algorithm>

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

} // namespace

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
