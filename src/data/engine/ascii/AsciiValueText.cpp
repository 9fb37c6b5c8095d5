#include "data/engine/ascii/AsciiValueText.h"

#include "data/engine/EngineStatus.h"
#include "platform/DateTimeFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <strings.h>

namespace {

std::string_view TrimView(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool ParseDouble(std::string_view text, double& value)
{
    text = TrimView(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ParseInteger(std::string_view text, int64_t low, int64_t high, int64_t& value)
{
    text = TrimView(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        // "12.0" and "1e3" still name whole numbers.
        double number = 0;
        if (!ParseDouble(text, number) || number != std::floor(number) || std::fabs(number) > 1e18)
            return false;
        value = static_cast<int64_t>(number);
    }
    return value >= low && value <= high;
}

bool ParseBool(std::string_view text, bool& value)
{
    std::string word(TrimView(text));
    for (const char* yes : {"T", "TRUE", "Y", "YES"})
        if (strcasecmp(word.c_str(), yes) == 0)
            return value = true, true;
    for (const char* no : {"F", "FALSE", "N", "NO"})
        if (strcasecmp(word.c_str(), no) == 0)
            return value = false, true;
    return false;
}

// Reads the digits at `pos`; `digits` tells how many there were.
bool ReadNumber(std::string_view text, size_t& pos, int& number, int& digits)
{
    number = 0;
    digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 9) {
        number = number * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

int ExpandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

// Date forms: m/d/yyyy, m/d/yy, m-d-yyyy, yyyy-mm-dd, yyyy/mm/dd, d.m.yyyy, yyyymmdd.
// `pos` ends after the date.
bool ParseDatePart(std::string_view text, size_t& pos, TDateTime& value)
{
    int first = 0, second = 0, third = 0, d1 = 0, d2 = 0, d3 = 0;
    if (!ReadNumber(text, pos, first, d1))
        return false;
    if (d1 == 8 && (pos == text.size() || text[pos] == ' ' || text[pos] == 'T'))
        return TryEncodeDate(first / 10000, first / 100 % 100, first % 100, value);
    if (pos >= text.size())
        return false;
    char separator = text[pos];
    if (separator != '/' && separator != '-' && separator != '.')
        return false;
    ++pos;
    if (!ReadNumber(text, pos, second, d2) || pos >= text.size() || text[pos] != separator)
        return false;
    ++pos;
    if (!ReadNumber(text, pos, third, d3))
        return false;
    if (d1 == 4)
        return d2 <= 2 && d3 <= 2 && TryEncodeDate(first, second, third, value);
    if (d1 > 2 || d2 > 2 || d3 == 3 || d3 > 4)
        return false;
    if (separator == '.')
        return TryEncodeDate(ExpandYear(third, d3), second, first, value);
    return TryEncodeDate(ExpandYear(third, d3), first, second, value);
}

// Time forms: h:mm, h:mm:ss, h:mm:ss.zzz, each with an optional AM / PM.
bool ParseTimePart(std::string_view text, size_t& pos, TDateTime& value)
{
    int hour = 0, minute = 0, second = 0, millisecond = 0, digits = 0;
    if (!ReadNumber(text, pos, hour, digits) || digits > 2 || pos >= text.size() || text[pos] != ':')
        return false;
    ++pos;
    if (!ReadNumber(text, pos, minute, digits) || digits != 2)
        return false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (!ReadNumber(text, pos, second, digits) || digits != 2)
            return false;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            int fraction = 0;
            if (!ReadNumber(text, pos, fraction, digits))
                return false;
            // Milliseconds are kept; further digits are dropped.
            for (; digits < 3; ++digits)
                fraction *= 10;
            for (; digits > 3; --digits)
                fraction /= 10;
            millisecond = fraction;
        }
    }
    size_t mark = pos;
    while (mark < text.size() && text[mark] == ' ')
        ++mark;
    std::string rest(text.substr(mark));
    bool pm = strncasecmp(rest.c_str(), "PM", 2) == 0 || strcasecmp(rest.c_str(), "P") == 0;
    bool am = strncasecmp(rest.c_str(), "AM", 2) == 0 || strcasecmp(rest.c_str(), "A") == 0;
    if (am || pm) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
        pos = mark + (rest.size() >= 2 && (rest[1] == 'M' || rest[1] == 'm') ? 2 : 1);
    }
    return TryEncodeTime(hour, minute, second, millisecond, value);
}

bool AtEnd(std::string_view text, size_t pos)
{
    return TrimView(text.substr(pos)).empty();
}

TDateTime CombineDateTime(TDateTime date, TDateTime time)
{
    return date >= 0 ? date + time : date - time;
}

[[noreturn]] void RefuseValue(const TAsciiField& field, const std::string& reason)
{
    RaiseEngineError(DBIERR_INVALIDFIELDVALUE, {"Field: " + field.Name, reason});
}

std::string FormatDouble(double value, int decimals)
{
    char buffer[512];
    std::to_chars_result result;
    if (decimals > 0) {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        if (result.ec != std::errc() || result.ptr - buffer > 24)
            result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    }
    if (result.ec != std::errc())
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return std::string(buffer, result.ptr);
}

std::string TwoDigits(int value)
{
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// Day numbers of 1/1/0001 and 12/31/9999, the years a date text can hold.
constexpr TDateTime FirstDay = -693593;
constexpr TDateTime LastDay = 2958465;

std::string DateText(const TAsciiField& field, TDateTime value)
{
    if (!std::isfinite(value) || value < FirstDay - 1 || value >= LastDay + 1)
        RefuseValue(field, "The date lies outside the years 1 to 9999.");
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    if (year < 1 || year > 9999)
        RefuseValue(field, "The date lies outside the years 1 to 9999.");
    std::string yearText = std::to_string(year);
    yearText.insert(0, 4 - yearText.size(), '0');   // never a two-digit year
    return std::to_string(month) + "/" + std::to_string(day) + "/" + yearText;
}

std::string TimeText(TDateTime value)
{
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    DecodeTime(value, hour, minute, second, millisecond);
    std::string text = TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
    if (millisecond != 0)
        text += "." + std::to_string(millisecond / 100) + TwoDigits(millisecond % 100);
    return text;
}

int64_t IntegerValue(const TAsciiField& field, const TVariant& value, int64_t low, int64_t high)
{
    double number = value.AsDouble();
    if (!std::isfinite(number) || number != std::floor(number))
        RefuseValue(field, "The value " + value.AsString() + " is not a whole number.");
    if (number < static_cast<double>(low) || number > static_cast<double>(high))
        RefuseValue(field, "The value " + value.AsString() + " lies outside " + std::to_string(low) + " to " +
                               std::to_string(high) + ".");
    return static_cast<int64_t>(number);
}

std::string ValueText(const TAsciiField& field, const TVariant& value)
{
    switch (field.Type) {
    case TAsciiType::Char: {
        std::string text = value.AsString();
        if (text.find_first_of("\r\n") != std::string::npos)
            RefuseValue(field, "A line break cannot be stored in a text table.");
        return text;
    }
    case TAsciiType::Float:
    case TAsciiType::Currency: {
        double number = value.AsDouble();
        if (!std::isfinite(number))
            RefuseValue(field, "The value is not a finite number.");
        return FormatDouble(number, field.Decimals);
    }
    case TAsciiType::Number:
        return std::to_string(IntegerValue(field, value, INT16_MIN, INT16_MAX));
    case TAsciiType::LongInt:
        return std::to_string(IntegerValue(field, value, INT32_MIN, INT32_MAX));
    case TAsciiType::Bool:
        return value.AsBoolean() ? "T" : "F";
    case TAsciiType::Date:
        return DateText(field, value.AsDateTime());
    case TAsciiType::Time: {
        TDateTime time = value.AsDateTime();
        if (!std::isfinite(time))
            RefuseValue(field, "The time is not a number.");
        return TimeText(std::fabs(time - std::trunc(time)));
    }
    case TAsciiType::Timestamp: {
        TDateTime stamp = value.AsDateTime();
        return DateText(field, stamp) + " " + TimeText(stamp);
    }
    }
    RefuseValue(field, "The column type is unknown.");
}

} // namespace

bool ParseAsciiDate(std::string_view text, TDateTime& value)
{
    text = TrimView(text);
    size_t pos = 0;
    return ParseDatePart(text, pos, value) && AtEnd(text, pos);
}

bool ParseAsciiTime(std::string_view text, TDateTime& value)
{
    text = TrimView(text);
    size_t pos = 0;
    return ParseTimePart(text, pos, value) && AtEnd(text, pos);
}

bool ParseAsciiTimestamp(std::string_view text, TDateTime& value)
{
    text = TrimView(text);
    size_t pos = 0;
    TDateTime date = 0;
    if (!ParseDatePart(text, pos, date))
        return false;
    if (AtEnd(text, pos)) {
        value = date;
        return true;
    }
    if (text[pos] != ' ' && text[pos] != 'T')
        return false;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T'))
        ++pos;
    TDateTime time = 0;
    if (!ParseTimePart(text, pos, time) || !AtEnd(text, pos))
        return false;
    value = CombineDateTime(date, time);
    return true;
}

TVariant AsciiTextToValue(const TAsciiField& field, std::string_view text, bool quoted)
{
    if (field.Type == TAsciiType::Char) {
        if (quoted)
            return TVariant(std::string(text));
        size_t last = text.find_last_not_of(' ');
        if (last == std::string_view::npos)
            return TVariant::Null();
        return TVariant(std::string(text.substr(0, last + 1)));
    }
    if (TrimView(text).empty())
        return TVariant::Null();
    switch (field.Type) {
    case TAsciiType::Float:
    case TAsciiType::Currency: {
        double number = 0;
        if (ParseDouble(text, number))
            return TVariant(number);
        break;
    }
    case TAsciiType::Number:
    case TAsciiType::LongInt: {
        int64_t number = 0;
        bool small = field.Type == TAsciiType::Number;
        if (ParseInteger(text, small ? INT16_MIN : INT32_MIN, small ? INT16_MAX : INT32_MAX, number))
            return TVariant(static_cast<int32_t>(number));
        break;
    }
    case TAsciiType::Bool: {
        bool flag = false;
        if (ParseBool(text, flag))
            return TVariant(flag);
        break;
    }
    case TAsciiType::Date:
    case TAsciiType::Time:
    case TAsciiType::Timestamp: {
        TDateTime value = 0;
        bool ok = field.Type == TAsciiType::Date ? ParseAsciiDate(text, value)
                  : field.Type == TAsciiType::Time ? ParseAsciiTime(text, value)
                                                   : ParseAsciiTimestamp(text, value);
        if (ok)
            return TVariant::FromDateTime(value);
        break;
    }
    case TAsciiType::Char:
        break;
    }
    return TVariant::Null();
}

std::string AsciiValueToText(const TAsciiField& field, const TVariant& value)
{
    try {
        return ValueText(field, value);
    } catch (const EDBEngineError&) {
        throw;
    } catch (const Exception& e) {
        RefuseValue(field, e.Message());
    }
}
