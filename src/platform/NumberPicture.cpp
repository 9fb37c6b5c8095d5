// FormatFloat's picture language: "0" and "#" digit places, "." the decimal
// point, "," thousands separators, "E+"/"E-" (or lower case) an exponent,
// quoted text, and up to three ";"-separated sections for positive,
// negative and zero values.
#include "platform/NumberText.h"

#include <algorithm>
#include <vector>

namespace {

bool IsQuote(char c) { return c == '\'' || c == '"'; }

bool IsExponentAt(const std::string& text, size_t i)
{
    return (text[i] == 'E' || text[i] == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-');
}

// Index just past the quoted text starting at i (the opening quote).
size_t SkipQuoted(const std::string& text, size_t i)
{
    size_t close = text.find(text[i], i + 1);
    return close == std::string::npos ? text.size() : close + 1;
}

std::vector<std::string> SplitSections(const std::string& picture)
{
    std::vector<std::string> sections(1);
    for (size_t i = 0; i < picture.size();) {
        if (IsQuote(picture[i])) {
            size_t next = SkipQuoted(picture, i);
            sections.back().append(picture, i, next - i);
            i = next;
        } else if (picture[i] == ';') {
            if (sections.size() == 3)
                break;   // a fourth section is ignored
            sections.emplace_back();
            ++i;
        } else {
            sections.back().push_back(picture[i++]);
        }
    }
    return sections;
}

// What one section asks for, read before the number is rounded.
struct TPictureSection {
    std::string Text;
    int IntegerPlaces = 0;        // "0"/"#" before the point
    int MinIntegerDigits = 0;     // places from the first "0" before the point on
    int FractionPlaces = 0;       // "0"/"#" after the point
    int MinFractionDigits = 0;    // places up to the last "0" after the point
    bool Thousands = false;
    bool Scientific = false;

    explicit TPictureSection(std::string text) : Text(std::move(text))
    {
        bool inFraction = false;
        int firstIntegerZero = 0;
        for (size_t i = 0; i < Text.size();) {
            char c = Text[i];
            if (IsQuote(c)) {
                i = SkipQuoted(Text, i);
                continue;
            }
            if (IsExponentAt(Text, i)) {
                Scientific = true;
                break;   // digit places after the exponent are its own
            }
            if (c == '0' || c == '#') {
                if (inFraction) {
                    ++FractionPlaces;
                    if (c == '0')
                        MinFractionDigits = FractionPlaces;
                } else {
                    ++IntegerPlaces;
                    if (c == '0' && firstIntegerZero == 0)
                        firstIntegerZero = IntegerPlaces;
                }
            } else if (c == '.') {
                inFraction = true;
            } else if (c == ',') {
                Thousands = true;
            }
            ++i;
        }
        if (firstIntegerZero)
            MinIntegerDigits = IntegerPlaces - firstIntegerZero + 1;
    }

    // Rounds the magnitude as the section shows it.  For an exponent, the
    // result is the mantissa and `power` the exponent shown.
    TDecimalNumber Round(TDecimalNumber number, int& power) const
    {
        number.Negative = false;
        power = 0;
        if (!Scientific) {
            number.RoundToDecimals(FractionPlaces);
            return number;
        }
        number.RoundToSignificant(std::max(1, IntegerPlaces + FractionPlaces));
        if (!number.IsZero()) {
            power = number.Exponent - IntegerPlaces;
            number.Exponent = IntegerPlaces;
        }
        return number;
    }

    std::string Render(const TDecimalNumber& number, int power, const TFormatSettings& settings) const
    {
        std::string out;
        const int integerDigits = number.IntegerDigits();
        const int significantDecimals = std::max(0, static_cast<int>(number.Digits.size()) - number.Exponent);
        const int shownDecimals = std::max(MinFractionDigits, std::min(FractionPlaces, significantDecimals));
        auto emitInteger = [&](int p) {
            out.push_back(number.DigitAt(p));
            if (Thousands && settings.ThousandSeparator && p > 0 && p % 3 == 0)
                out.push_back(settings.ThousandSeparator);
        };
        int placesLeft = IntegerPlaces;
        int decimalsSeen = 0;
        bool inFraction = false, exponentDone = false;
        for (size_t i = 0; i < Text.size();) {
            char c = Text[i];
            if (IsQuote(c)) {
                size_t close = std::min(Text.find(c, i + 1), Text.size());
                out.append(Text, i + 1, close - i - 1);
                i = close + 1;
                continue;
            }
            if (!exponentDone && IsExponentAt(Text, i)) {
                out.push_back(c);
                if (power < 0)
                    out.push_back('-');
                else if (Text[i + 1] == '+')
                    out.push_back('+');
                i += 2;
                size_t width = 0;
                while (i < Text.size() && Text[i] == '0' && width < 4) {
                    ++width;
                    ++i;
                }
                std::string digits = std::to_string(power < 0 ? -power : power);
                if (digits.size() < width)
                    out.append(width - digits.size(), '0');
                out += digits;
                exponentDone = true;
                continue;
            }
            ++i;
            if (exponentDone) {
                out.push_back(c);
            } else if (c == '0' || c == '#') {
                if (inFraction) {
                    ++decimalsSeen;
                    if (decimalsSeen <= shownDecimals)
                        out.push_back(number.DigitAt(-decimalsSeen));
                    continue;
                }
                if (placesLeft == IntegerPlaces)   // the first place takes every digit beyond the places
                    for (int p = integerDigits - 1; p >= IntegerPlaces; --p)
                        emitInteger(p);
                int p = --placesLeft;
                if (p < integerDigits || p < MinIntegerDigits)
                    emitInteger(p);
            } else if (c == '.') {
                if (inFraction)
                    continue;
                if (IntegerPlaces == 0)
                    for (int p = integerDigits - 1; p >= 0; --p)
                        emitInteger(p);
                inFraction = true;
                if (shownDecimals > 0)
                    out.push_back(settings.DecimalSeparator);
            } else if (c != ',') {
                out.push_back(c);
            }
        }
        return out;
    }
};

} // namespace

std::string FormatDecimalPicture(const std::string& picture, const TDecimalNumber& number,
                                 const TFormatSettings& settings)
{
    if (!number.IsFinite())
        return FormatDecimalNumber(number, ffGeneral, 15, 0, settings);
    const std::vector<std::string> sections = SplitSections(picture);
    auto usable = [&](size_t index) { return index < sections.size() && !sections[index].empty(); };

    size_t index = 0;
    if (number.IsZero() && usable(2))
        index = 2;
    else if (number.ShowsMinus() && usable(1))
        index = 1;
    bool minus = number.ShowsMinus() && index == 0;

    TPictureSection section(sections[index]);
    if (section.Text.empty())
        return FormatDecimalNumber(number, ffGeneral, 15, 0, settings);
    // Integers too long for digit places are shown in general form.
    if (!section.Scientific && number.Exponent > 18)
        return FormatDecimalNumber(number, ffGeneral, 15, 0, settings);

    int power;
    TDecimalNumber shown = section.Round(number, power);
    if (shown.IsZero() && !number.IsZero()) {
        // Rounded to nothing: it is shown as a zero, never as "-0".
        minus = false;
        index = usable(2) ? 2 : 0;
        section = TPictureSection(sections[index]);
        if (section.Text.empty())
            return "0";
        shown = section.Round(TDecimalNumber(), power);
    }
    std::string text = section.Render(shown, power, settings);
    return minus ? "-" + text : text;
}
