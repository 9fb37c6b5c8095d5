// Reading dates and times typed in the short date format's order and the
// time formats, with two-digit years placed by the century window.
#include "platform/DateTimeFormat.h"

#include "platform/DateTimeParts.h"
#include "platform/Exceptions.h"

#include <cctype>
#include <strings.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

class TDateTimeScanner {
public:
    TDateTimeScanner(const std::string& text, const TFormatSettings& settings) : FText(text), FSettings(settings) {}

    // Only blanks remain.
    bool AtEnd() const
    {
        size_t i = FPos;
        while (i < FText.size() && IsBlank(FText[i]))
            ++i;
        return i == FText.size();
    }

    // Day, month and year in the order of the short date format; without a
    // year, the current year.
    bool ScanDate(TDateTime& date)
    {
        SkipBlanks();
        int values[3];
        int digitCounts[3];
        int count = 0;
        while (count < 3) {
            if (!ScanNumber(values[count], digitCounts[count], 4))
                return false;
            ++count;
            if (count == 3 || !SkipDateSeparator())
                break;
        }
        if (count < 2)
            return false;
        const std::string order = DateOrder();
        int year = 0, month = 0, day = 0, yearDigits = 4;
        if (count == 2) {
            year = CurrentYear();
            int index = 0;
            for (char part : order) {
                if (part == 'm') month = values[index++];
                if (part == 'd') day = values[index++];
            }
        } else {
            for (int index = 0; index < 3; ++index) {
                switch (order[static_cast<size_t>(index)]) {
                case 'y': year = values[index]; yearDigits = digitCounts[index]; break;
                case 'm': month = values[index]; break;
                default: day = values[index]; break;
                }
            }
            if (yearDigits <= 2)
                year = ExpandTwoDigitYear(year);
        }
        return TryEncodeDate(year, month, day, date);
    }

    // h[:n[:s[.zzz]]] with an optional AM/PM marker before or after; without
    // a marker the minutes are required.
    bool ScanTime(TDateTime& time)
    {
        SkipBlanks();
        int marker = ScanAmPm();   // -1 none, 0 am, 1 pm
        SkipBlanks();
        int hour, minute = 0, second = 0, millisecond = 0, digits;
        if (!ScanNumber(hour, digits, 2))
            return false;
        bool hasMinutes = false;
        if (SkipTimeSeparator()) {
            if (!ScanNumber(minute, digits, 2))
                return false;
            hasMinutes = true;
            if (SkipTimeSeparator()) {
                if (!ScanNumber(second, digits, 2))
                    return false;
                if (FPos < FText.size() && (FText[FPos] == '.' || FText[FPos] == FSettings.DecimalSeparator)) {
                    ++FPos;
                    if (!ScanNumber(millisecond, digits, 3))
                        return false;
                    for (; digits < 3; ++digits)
                        millisecond *= 10;   // a fraction of the second: ".5" is 500 ms
                }
            }
        }
        if (marker < 0) {
            size_t before = FPos;
            SkipBlanks();
            marker = ScanAmPm();
            if (marker < 0)
                FPos = before;
        }
        if (marker >= 0) {
            if (hour > 12)
                return false;
            if (hour == 12)
                hour = 0;
            if (marker == 1)
                hour += 12;
        } else if (!hasMinutes) {
            return false;
        }
        return TryEncodeTime(hour, minute, second, millisecond, time);
    }

    // Between the date and the time: blanks, or the "T" of ISO texts.
    bool SkipDateTimeSeparator()
    {
        size_t start = FPos;
        if (FPos < FText.size() && (FText[FPos] == 'T' || FText[FPos] == 't') && FPos + 1 < FText.size() &&
            IsDigit(FText[FPos + 1])) {
            ++FPos;
            return true;
        }
        SkipBlanks();
        return FPos > start;
    }

private:
    void SkipBlanks()
    {
        while (FPos < FText.size() && IsBlank(FText[FPos]))
            ++FPos;
    }

    bool ScanNumber(int& value, int& digits, int maxDigits)
    {
        digits = 0;
        value = 0;
        while (FPos < FText.size() && IsDigit(FText[FPos])) {
            if (++digits > maxDigits)
                return false;
            value = value * 10 + (FText[FPos++] - '0');
        }
        return digits > 0;
    }

    bool SkipDateSeparator()
    {
        if (FPos >= FText.size())
            return false;
        char c = FText[FPos];
        if (c != FSettings.DateSeparator && c != '/' && c != '-' && c != '.')
            return false;
        ++FPos;
        SkipBlanks();   // "1. 2. 2024"
        return true;
    }

    bool SkipTimeSeparator()
    {
        if (FPos < FText.size() && (FText[FPos] == FSettings.TimeSeparator || FText[FPos] == ':')) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool Matches(const std::string& word)
    {
        if (word.empty() || FText.size() - FPos < word.size() ||
            strncasecmp(FText.c_str() + FPos, word.c_str(), word.size()) != 0)
            return false;
        FPos += word.size();
        return true;
    }

    int ScanAmPm()
    {
        if (Matches(FSettings.TimeAMString) || Matches("AM") || Matches("A"))
            return 0;
        if (Matches(FSettings.TimePMString) || Matches("PM") || Matches("P"))
            return 1;
        return -1;
    }

    // "ymd", "mdy", "dmy"...: the order of the first y, m and d in the
    // short date format.
    std::string DateOrder() const
    {
        std::string order;
        const std::string& format = FSettings.ShortDateFormat;
        for (size_t i = 0; i < format.size() && order.size() < 3; ++i) {
            char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
            if (format[i] == '\'' || format[i] == '"') {
                size_t close = format.find(format[i], i + 1);
                if (close == std::string::npos)
                    break;
                i = close;
            } else if ((c == 'y' || c == 'm' || c == 'd') && order.find(c) == std::string::npos) {
                order.push_back(c);
            }
        }
        for (char part : std::string("ymd"))
            if (order.find(part) == std::string::npos)
                order.push_back(part);
        return order;
    }

    static int CurrentYear()
    {
        int year, month, day;
        DecodeDate(Now(), year, month, day);
        return year;
    }

    // Places a year of one or two digits in the hundred years that start
    // TwoDigitYearCenturyWindow years before the current one; with a window
    // of 0, in the current century.
    int ExpandTwoDigitYear(int year) const
    {
        const int current = CurrentYear();
        const int window = FSettings.TwoDigitYearCenturyWindow;
        if (window <= 0)
            return current - current % 100 + year;
        const int base = current - window;
        year += base - base % 100;
        if (year < base)
            year += 100;
        return year;
    }

    const std::string& FText;
    const TFormatSettings& FSettings;
    size_t FPos = 0;
};

[[noreturn]] void NotValid(const std::string& text, const char* what)
{
    throw EConvertError("'" + text + "' is not a valid " + what);
}

} // namespace

bool TryStrToDate(const std::string& text, TDateTime& value, const TFormatSettings& settings)
{
    TDateTimeScanner scanner(text, settings);
    TDateTime date;
    if (!scanner.ScanDate(date) || !scanner.AtEnd())
        return false;
    value = date;
    return true;
}

bool TryStrToTime(const std::string& text, TDateTime& value, const TFormatSettings& settings)
{
    TDateTimeScanner scanner(text, settings);
    TDateTime time;
    if (!scanner.ScanTime(time) || !scanner.AtEnd())
        return false;
    value = time;
    return true;
}

bool TryStrToDateTime(const std::string& text, TDateTime& value, const TFormatSettings& settings)
{
    TDateTimeScanner scanner(text, settings);
    TDateTime date, time = 0;
    if (!scanner.ScanDate(date))
        return TryStrToTime(text, value, settings);
    if (!scanner.AtEnd()) {
        if (!scanner.SkipDateTimeSeparator() || !scanner.ScanTime(time) || !scanner.AtEnd())
            return false;
    }
    value = ComposeDateTime(date, time);
    return true;
}

bool TryStrToDate(const std::string& text, TDateTime& value) { return TryStrToDate(text, value, FormatSettings()); }
bool TryStrToTime(const std::string& text, TDateTime& value) { return TryStrToTime(text, value, FormatSettings()); }
bool TryStrToDateTime(const std::string& text, TDateTime& value) { return TryStrToDateTime(text, value, FormatSettings()); }

TDateTime StrToDate(const std::string& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDate(text, value, settings))
        NotValid(text, "date");
    return value;
}

TDateTime StrToTime(const std::string& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToTime(text, value, settings))
        NotValid(text, "time");
    return value;
}

TDateTime StrToDateTime(const std::string& text, const TFormatSettings& settings)
{
    TDateTime value;
    if (!TryStrToDateTime(text, value, settings))
        NotValid(text, "date and time");
    return value;
}

TDateTime StrToDate(const std::string& text) { return StrToDate(text, FormatSettings()); }
TDateTime StrToTime(const std::string& text) { return StrToTime(text, FormatSettings()); }
TDateTime StrToDateTime(const std::string& text) { return StrToDateTime(text, FormatSettings()); }
