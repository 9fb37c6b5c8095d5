// FormatDateTime's picture language: c, d..dddddd, m..mmmm (minutes right
// after an hour), yy, yyyy, h, hh, n, nn, s, ss, z, zzz, t, tt, am/pm, a/p,
// ampm, the separators "/" and ":", and quoted text.
#include "platform/DateTimeFormat.h"

#include "platform/DateTimeParts.h"

#include <cctype>
#include <strings.h>

namespace {

// Nested formats (c, ddddd, t, ...) may refer to each other; a settings
// value that refers to itself must not recurse without end.
constexpr int MaxNesting = 4;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(const std::string& text, size_t at, const char* word)
{
    size_t length = std::char_traits<char>::length(word);
    return text.size() - at >= length && strncasecmp(text.c_str() + at, word, length) == 0;
}

// Appends value with leading zeros up to width digits.
void AppendNumber(std::string& out, int value, int width)
{
    if (value < 0) {
        std::string digits = std::to_string(value);
        if (static_cast<int>(digits.size()) < width)
            out.append(static_cast<size_t>(width) - digits.size(), '0');
        out += digits;
        return;
    }
    char buffer[16];
    int length = 0;
    do {
        buffer[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (length < width)
        out.append(static_cast<size_t>(width - length), '0');
    while (length > 0)
        out.push_back(buffer[--length]);
}

// The common numeric date pictures (d, dd, m, mm, yy, yyyy and separators,
// such as "yyyy-mm-dd" or "dd/mm/yyyy") written without the general
// writer; false for any picture with another letter, a quote or a name.
bool TryWriteNumericDate(const std::string& picture, const TDateTimeParts& parts, const TFormatSettings& settings,
                         std::string& out)
{
    out.clear();
    for (size_t i = 0; i < picture.size();) {
        char c = picture[i];
        // Bytes beyond ASCII may be letters in the current locale.
        if (c == '\'' || c == '"' || (c & 0x80))
            return false;
        if (c == '/') {
            out.push_back(settings.DateSeparator);
            ++i;
            continue;
        }
        if (c == ':') {
            out.push_back(settings.TimeSeparator);
            ++i;
            continue;
        }
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char token = static_cast<char>(c | 0x20);
        size_t count = 1;
        while (i + count < picture.size() && (picture[i + count] | 0x20) == token)
            ++count;
        if (token == 'y')
            count <= 2 ? AppendNumber(out, parts.Year % 100, 2) : AppendNumber(out, parts.Year, 4);
        else if (token == 'm' && count <= 2)
            AppendNumber(out, parts.Month, static_cast<int>(count));
        else if (token == 'd' && count <= 2)
            AppendNumber(out, parts.Day, static_cast<int>(count));
        else
            return false;
        i += count;
    }
    return true;
}

class TDateTimeWriter {
public:
    TDateTimeWriter(const TDateTimeParts& parts, const TFormatSettings& settings) : FParts(parts), FSettings(settings) {}

    void Write(const std::string& picture, int depth)
    {
        if (depth > MaxNesting)
            return;
        char lastToken = 0;
        for (size_t i = 0; i < picture.size();) {
            char c = picture[i];
            if (c == '\'' || c == '"') {
                size_t close = std::min(picture.find(c, i + 1), picture.size());
                FOut.append(picture, i + 1, close - i - 1);
                i = close + 1;
                continue;
            }
            if (c == '/') {
                FOut.push_back(FSettings.DateSeparator);
                ++i;
                continue;
            }
            if (c == ':') {
                FOut.push_back(FSettings.TimeSeparator);
                ++i;
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(c))) {
                FOut.push_back(c);
                ++i;
                continue;
            }
            char token = Lower(c);
            if (token == 'a') {
                i += WriteAmPm(picture, i);
                lastToken = 'a';
                continue;
            }
            size_t count = 1;
            while (i + count < picture.size() && Lower(picture[i + count]) == token)
                ++count;
            if (token == 'm' && lastToken == 'h')
                token = 'n';
            lastToken = token;
            WriteToken(picture, i, token, static_cast<int>(count), depth);
            i += count;
        }
    }

    std::string Result() { return std::move(FOut); }

private:
    void Number(int value, int width) { AppendNumber(FOut, value, width); }

    // An hour shows on the 12-hour clock when an am/pm marker follows it.
    static bool TwelveHourClockFollows(const std::string& picture, size_t from)
    {
        for (size_t i = from; i < picture.size(); ++i) {
            char c = picture[i];
            if (c == '\'' || c == '"') {
                size_t close = picture.find(c, i + 1);
                if (close == std::string::npos)
                    return false;
                i = close;
            } else if (StartsWithNoCase(picture, i, "am/pm") || StartsWithNoCase(picture, i, "a/p") ||
                       StartsWithNoCase(picture, i, "ampm")) {
                return true;
            }
        }
        return false;
    }

    void WriteToken(const std::string& picture, size_t at, char token, int count, int depth)
    {
        const TDateTimeParts& p = FParts;
        switch (token) {
        case 'y':
            if (count <= 2)
                Number(p.Year % 100, 2);
            else
                Number(p.Year, 4);
            break;
        case 'm':
            if (count <= 2)
                Number(p.Month, count);
            else if (count == 3)
                FOut += FSettings.ShortMonthNames[static_cast<size_t>(p.Month - 1)];
            else
                FOut += FSettings.LongMonthNames[static_cast<size_t>(p.Month - 1)];
            break;
        case 'd':
            if (count <= 2)
                Number(p.Day, count);
            else if (count == 3)
                FOut += FSettings.ShortDayNames[static_cast<size_t>(p.DayOfWeek - 1)];
            else if (count == 4)
                FOut += FSettings.LongDayNames[static_cast<size_t>(p.DayOfWeek - 1)];
            else if (count == 5)
                Write(FSettings.ShortDateFormat, depth + 1);
            else
                Write(FSettings.LongDateFormat, depth + 1);
            break;
        case 'h': {
            int hour = p.Hour;
            if (TwelveHourClockFollows(picture, at + static_cast<size_t>(count))) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            Number(hour, count >= 2 ? 2 : 1);
            break;
        }
        case 'n':
            Number(p.Minute, count >= 2 ? 2 : 1);
            break;
        case 's':
            Number(p.Second, count >= 2 ? 2 : 1);
            break;
        case 'z':
            Number(p.Millisecond, count >= 3 ? 3 : 1);
            break;
        case 't':
            Write(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth + 1);
            break;
        case 'c':
            Write(FSettings.ShortDateFormat, depth + 1);
            if (p.HasTime) {
                FOut.push_back(' ');
                Write(FSettings.LongTimeFormat, depth + 1);
            }
            break;
        default:
            FOut.append(static_cast<size_t>(count), picture[at]);   // a letter without meaning
            break;
        }
    }

    // "am/pm" and "a/p" keep the letter case they are written in; "ampm"
    // shows the settings' texts.  Returns the characters consumed.
    size_t WriteAmPm(const std::string& picture, size_t at)
    {
        const bool pm = FParts.Hour >= 12;
        if (StartsWithNoCase(picture, at, "am/pm")) {
            FOut.append(picture, at + (pm ? 3 : 0), 2);
            return 5;
        }
        if (StartsWithNoCase(picture, at, "a/p")) {
            FOut.push_back(picture[at + (pm ? 2 : 0)]);
            return 3;
        }
        if (StartsWithNoCase(picture, at, "ampm")) {
            FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;
            return 4;
        }
        FOut.push_back(picture[at]);
        return 1;
    }

    const TDateTimeParts& FParts;
    const TFormatSettings& FSettings;
    std::string FOut;
};

} // namespace

std::string FormatDateTime(const std::string& picture, TDateTime value)
{
    return FormatDateTime(picture, value, FormatSettings());
}

std::string FormatDateTime(const std::string& picture, TDateTime value, const TFormatSettings& settings)
{
    TDateTimeParts parts = TDateTimeParts::From(value);
    // "c" without a time of day is the short date alone.
    const bool wholeDateTime = picture.empty() || picture == "c";
    const bool dateOnly = wholeDateTime && !parts.HasTime;
    std::string text;
    if ((dateOnly || !wholeDateTime) &&
        TryWriteNumericDate(dateOnly ? settings.ShortDateFormat : picture, parts, settings, text))
        return text;
    TDateTimeWriter writer(parts, settings);
    writer.Write(picture.empty() ? std::string("c") : picture, 0);
    return writer.Result();
}
