// Reading numbers typed by a user or stored as text.
#include "platform/FloatFormat.h"

#include "platform/DecimalNumber.h"
#include "platform/Exceptions.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace {

[[noreturn]] void NotValid(const std::string& text, const char* what)
{
    throw EConvertError("'" + text + "' is not a valid " + what);
}

bool DecimalToDouble(const TDecimalNumber& number, double& value)
{
    if (number.IsZero()) {
        value = number.Negative ? -0.0 : 0.0;
        return true;
    }
    // "0.<digits>e<exponent>" in the C form from_chars reads, correctly rounded.
    std::string text = "0." + number.Digits + "e" + std::to_string(number.Exponent);
    double result;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec == std::errc::result_out_of_range && number.Exponent < 0)
        result = 0;     // below the smallest double: as close as it gets
    else if (ec != std::errc() || end != text.data() + text.size())
        return false;   // beyond the largest double
    value = number.Negative ? -result : result;
    return true;
}

} // namespace

bool TryStrToFloat(const std::string& text, double& value)
{
    return TryStrToFloat(text, value, FormatSettings());
}

bool TryStrToFloat(const std::string& text, double& value, const TFormatSettings& settings)
{
    TDecimalNumber number;
    return TDecimalNumber::Parse(text, settings.DecimalSeparator, number) && DecimalToDouble(number, value);
}

double StrToFloat(const std::string& text)
{
    return StrToFloat(text, FormatSettings());
}

double StrToFloat(const std::string& text, const TFormatSettings& settings)
{
    double value;
    if (!TryStrToFloat(text, value, settings))
        NotValid(text, "floating point value");
    return value;
}

bool TryStrToCurr(const std::string& text, TCurrency& value)
{
    return TryStrToCurr(text, value, FormatSettings());
}

bool TryStrToCurr(const std::string& text, TCurrency& value, const TFormatSettings& settings)
{
    TDecimalNumber number;
    if (!TDecimalNumber::Parse(text, settings.DecimalSeparator, number))
        return false;
    // Far beyond the range: rounding could not bring it back, and the
    // exponent arithmetic below stays small.
    if (number.Exponent > 20)
        return false;
    number.RoundToDecimals(4, TDecimalRounding::HalfEven);
    int64_t scaled;
    if (!number.ToScaled(4, scaled))
        return false;
    value = TCurrency::FromScaled(scaled);
    return true;
}

TCurrency StrToCurr(const std::string& text)
{
    return StrToCurr(text, FormatSettings());
}

TCurrency StrToCurr(const std::string& text, const TFormatSettings& settings)
{
    TCurrency value;
    if (!TryStrToCurr(text, value, settings))
        NotValid(text, "floating point value");
    return value;
}

bool TryStrToInt64(const std::string& text, int64_t& value)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    // from_chars takes a '-' but no '+'; after the sign there must be a digit.
    size_t firstDigit = begin < end && (text[begin] == '+' || text[begin] == '-') ? begin + 1 : begin;
    if (firstDigit >= end || !std::isdigit(static_cast<unsigned char>(text[firstDigit])))
        return false;
    if (text[begin] == '+')
        ++begin;
    int64_t result;
    auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end, result);
    if (ec != std::errc() || ptr != text.data() + end)
        return false;
    value = result;
    return true;
}

int64_t StrToInt64(const std::string& text)
{
    int64_t value;
    if (!TryStrToInt64(text, value))
        NotValid(text, "integer value");
    return value;
}

int32_t StrToInt(const std::string& text)
{
    int64_t value;
    if (!TryStrToInt64(text, value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        NotValid(text, "integer value");
    return static_cast<int32_t>(value);
}
