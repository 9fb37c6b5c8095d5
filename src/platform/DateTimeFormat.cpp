#include "platform/DateTimeFormat.h"

#include "platform/DateTimeParts.h"
#include "platform/Exceptions.h"

#include <cmath>
#include <ctime>

namespace {

constexpr double MillisecondsPerDay = 86400000.0;
constexpr int64_t UnixEpochDay = 25569;   // 1 January 1970

// Civil date of a day counted from 30 December 1899 (proleptic Gregorian).
void CivilFromDays(int64_t days, int& year, int& month, int& day)
{
    int64_t z = days - UnixEpochDay + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

} // namespace

int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yoe = year - era * 400;
    int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + UnixEpochDay;
}

TDateTime DateTimeFromDayAndMilliseconds(int64_t day, int64_t milliseconds)
{
    double fraction = static_cast<double>(milliseconds) / MillisecondsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

void SplitDateTime(TDateTime value, int64_t& day, int64_t& milliseconds)
{
    double whole = std::trunc(value);
    day = static_cast<int64_t>(whole);
    milliseconds = std::llround(std::fabs(value - whole) * MillisecondsPerDay);
    if (milliseconds >= static_cast<int64_t>(MillisecondsPerDay)) {
        milliseconds -= static_cast<int64_t>(MillisecondsPerDay);
        ++day;   // the next calendar day on both sides of the epoch
    }
}

TDateTimeParts TDateTimeParts::From(TDateTime value)
{
    TDateTimeParts parts;
    // Far outside years 1..9999 nothing is meaningful; keep the arithmetic safe.
    if (!std::isfinite(value) || std::fabs(value) > 1e9)
        value = 0;
    int64_t day = static_cast<int64_t>(value);   // toward zero
    double fraction = value - static_cast<double>(day);
    int64_t ms = fraction == 0 ? 0 : std::llround(std::fabs(fraction) * MillisecondsPerDay);
    if (ms >= static_cast<int64_t>(MillisecondsPerDay)) {
        ms -= static_cast<int64_t>(MillisecondsPerDay);
        ++day;   // the next calendar day on both sides of the epoch
    }
    CivilFromDays(day, parts.Year, parts.Month, parts.Day);
    parts.DayOfWeek = static_cast<int>(((day % 7) + 7) % 7);
    if (parts.DayOfWeek == 0)
        parts.DayOfWeek = 7;   // day 0 was a Saturday
    parts.HasTime = ms != 0;
    parts.Millisecond = static_cast<int>(ms % 1000);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Hour = static_cast<int>(ms / 3600000);
    return parts;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = static_cast<TDateTime>(DaysFromCivil(year, month, day));
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        return false;
    result = ((hour * 60 + minute) * 60 + second) * 1000.0 + millisecond;
    result /= MillisecondsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime result;
    if (!TryEncodeTime(hour, minute, second, millisecond, result))
        throw EConvertError("Invalid argument to time encode");
    return result;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    TDateTimeParts parts = TDateTimeParts::From(value);
    year = parts.Year;
    month = parts.Month;
    day = parts.Day;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    TDateTimeParts parts = TDateTimeParts::From(value);
    hour = parts.Hour;
    minute = parts.Minute;
    second = parts.Second;
    millisecond = parts.Millisecond;
}

int DayOfWeek(TDateTime value)
{
    return TDateTimeParts::From(value).DayOfWeek;
}

TDateTime Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    TDateTime date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A leap second shows as the last second of the minute.
    TDateTime time = EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                                static_cast<int>(now.tv_nsec / 1000000));
    return date + time;
}

TDateTime Date()
{
    return std::trunc(Now());
}

std::string DateToStr(TDateTime value)
{
    return DateToStr(value, FormatSettings());
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value)
{
    return TimeToStr(value, FormatSettings());
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(settings.LongTimeFormat, value, settings);
}

std::string DateTimeToStr(TDateTime value)
{
    return DateTimeToStr(value, FormatSettings());
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime("c", value, settings);
}
