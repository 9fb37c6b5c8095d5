// Format settings read from a POSIX locale: LC_NUMERIC for the separators,
// LC_MONETARY for the currency, LC_TIME for the date and time pictures and
// names.  A category in the "C"/"POSIX" locale keeps the defaults.
#include "platform/FormatSettings.h"

#include <cctype>
#include <climits>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace {

bool IsPlainCLocale(locale_t locale, int category)
{
#ifdef _NL_LOCALE_NAME
    const char* name = nl_langinfo_l(_NL_LOCALE_NAME(category), locale);
#else
    (void)locale;
    const char* name = setlocale(category, nullptr);
#endif
    if (!name || !*name)
        return true;
    return std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 || std::strncmp(name, "C.", 2) == 0;
}

// A separator of one byte; others (a narrow no-break space, say) give `fallback`.
char SingleByte(const char* text, char fallback)
{
    return text && text[0] && !text[1] && static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : fallback;
}

int CurrencyFormatOf(bool precedes, bool space)
{
    return precedes ? (space ? 2 : 0) : (space ? 3 : 1);
}

// The classic negative currency pattern matching the POSIX description.
int NegCurrFormatOf(bool precedes, bool space, int signPosition)
{
    static const int patterns[5][4] = {
        // {before no space, before space, after no space, after space}
        {0, 14, 4, 15},    // parentheses around
        {1, 9, 5, 8},      // sign before the amount and symbol
        {3, 11, 7, 10},    // sign after both
        {1, 9, 6, 13},     // sign right before the symbol
        {2, 12, 7, 10},    // sign right after the symbol
    };
    if (signPosition < 0 || signPosition > 4)
        signPosition = 1;
    return patterns[signPosition][(precedes ? 0 : 2) + (space ? 1 : 0)];
}

// strftime directives as our picture; the first punctuation between fields
// becomes the separator, written as `separatorToken` ('/' or ':').
class TStrftimeTranslator {
public:
    TStrftimeTranslator(locale_t locale, char separatorToken) : FLocale(locale), FToken(separatorToken) {}

    std::string Translate(const std::string& format, int depth = 0)
    {
        std::string picture;
        std::string literal;
        auto flush = [&] {
            if (!literal.empty())
                picture += "\"" + literal + "\"";
            literal.clear();
        };
        for (size_t i = 0; i < format.size(); ++i) {
            char c = format[i];
            if (c != '%' || i + 1 >= format.size()) {
                if (c == ' ') {
                    flush();
                    picture.push_back(' ');
                } else if (std::ispunct(static_cast<unsigned char>(c)) && c != '"' && c != '\'' &&
                           (Separator == 0 || c == Separator)) {
                    flush();
                    Separator = c;
                    picture.push_back(FToken);
                } else {
                    literal.push_back(c);
                }
                continue;
            }
            flush();
            char d = format[++i];
            if ((d == 'E' || d == 'O') && i + 1 < format.size())
                d = format[++i];   // alternative representations: the plain field
            picture += Directive(d, depth);
        }
        flush();
        return picture;
    }

    char Separator = 0;

private:
    std::string Nested(const char* format, int depth) { return depth > 3 ? std::string() : Translate(format, depth + 1); }

    std::string Directive(char d, int depth)
    {
        switch (d) {
        case 'd': return "dd";
        case 'e': return "d";
        case 'm': return "mm";
        case 'y': return "yy";
        case 'Y': case 'G': return "yyyy";
        case 'b': case 'h': return "mmm";
        case 'B': return "mmmm";
        case 'a': return "ddd";
        case 'A': return "dddd";
        case 'H': return "hh";
        case 'k': return "h";
        case 'I': return "hh";
        case 'l': return "h";
        case 'M': return "nn";
        case 'S': return "ss";
        case 'p': case 'P': return "ampm";
        case 'n': case 't': return " ";
        case '%': return "\"%\"";
        case 'D': return Nested("%m/%d/%y", depth);
        case 'F': return Nested("%Y-%m-%d", depth);
        case 'T': return Nested("%H:%M:%S", depth);
        case 'R': return Nested("%H:%M", depth);
        case 'r': return Nested(nl_langinfo_l(T_FMT_AMPM, FLocale), depth);
        case 'x': return Nested(nl_langinfo_l(D_FMT, FLocale), depth);
        case 'X': return Nested(nl_langinfo_l(T_FMT, FLocale), depth);
        default: return std::string();   // week numbers, time zones...: nothing a short format shows
        }
    }

    locale_t FLocale;
    char FToken;
};

// "hh:nn:ss ampm" -> "hh:nn ampm".
std::string WithoutSeconds(std::string picture)
{
    size_t at = picture.find(":ss");
    if (at != std::string::npos)
        picture.erase(at, 3);
    return picture;
}

void ReadNumeric(locale_t locale, TFormatSettings& s)
{
    const char* decimal = nl_langinfo_l(RADIXCHAR, locale);
    const char* thousands = nl_langinfo_l(THOUSEP, locale);
    s.DecimalSeparator = SingleByte(decimal, '.');
    if (thousands && *thousands)
        s.ThousandSeparator = SingleByte(thousands, ' ');   // multi-byte spaces show as a plain space
    if (s.ThousandSeparator == s.DecimalSeparator)
        s.ThousandSeparator = s.DecimalSeparator == ',' ? '.' : ',';
}

void ReadMonetary(locale_t locale, TFormatSettings& s)
{
    locale_t previous = uselocale(locale);
    const lconv* conv = localeconv();
    if (conv->currency_symbol && *conv->currency_symbol)
        s.CurrencyString = conv->currency_symbol;
    const bool precedes = conv->p_cs_precedes == 1;
    s.CurrencyFormat = CurrencyFormatOf(precedes, conv->p_sep_by_space == 1);
    const bool negPrecedes = conv->n_cs_precedes == CHAR_MAX ? precedes : conv->n_cs_precedes == 1;
    s.NegCurrFormat = NegCurrFormatOf(negPrecedes, conv->n_sep_by_space == 1,
                                      conv->n_sign_posn == CHAR_MAX ? 1 : conv->n_sign_posn);
    if (conv->frac_digits != CHAR_MAX)
        s.CurrencyDecimals = conv->frac_digits;
    uselocale(previous);
}

void ReadTime(locale_t locale, TFormatSettings& s)
{
    TStrftimeTranslator date(locale, '/');
    std::string shortDate = date.Translate(nl_langinfo_l(D_FMT, locale));
    if (!shortDate.empty()) {
        s.ShortDateFormat = shortDate;
        s.LongDateFormat = shortDate;
        if (date.Separator)
            s.DateSeparator = date.Separator;
    }
    TStrftimeTranslator time(locale, ':');
    std::string longTime = time.Translate(nl_langinfo_l(T_FMT, locale));
    if (!longTime.empty()) {
        s.LongTimeFormat = longTime;
        s.ShortTimeFormat = WithoutSeconds(longTime);
        if (time.Separator)
            s.TimeSeparator = time.Separator;
    }
    const char* am = nl_langinfo_l(AM_STR, locale);
    const char* pm = nl_langinfo_l(PM_STR, locale);
    if (am && *am && pm && *pm) {
        s.TimeAMString = am;
        s.TimePMString = pm;
    }
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[static_cast<size_t>(i)] = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), locale);
        s.LongMonthNames[static_cast<size_t>(i)] = nl_langinfo_l(static_cast<nl_item>(MON_1 + i), locale);
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[static_cast<size_t>(i)] = nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), locale);
        s.LongDayNames[static_cast<size_t>(i)] = nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), locale);
    }
}

TFormatSettings SettingsOf(locale_t locale)
{
    TFormatSettings settings;
    if (!IsPlainCLocale(locale, LC_NUMERIC))
        ReadNumeric(locale, settings);
    if (!IsPlainCLocale(locale, LC_MONETARY))
        ReadMonetary(locale, settings);
    if (!IsPlainCLocale(locale, LC_TIME))
        ReadTime(locale, settings);
    return settings;
}

} // namespace

void LoadFormatSettingsFromLocale()
{
    locale_t locale = duplocale(LC_GLOBAL_LOCALE);
    if (!locale)
        return;   // out of memory: keep the settings in use
    FormatSettings() = SettingsOf(locale);
    freelocale(locale);
}

TFormatSettings FormatSettingsFromLocale(const std::string& localeName)
{
    locale_t locale = newlocale(LC_ALL_MASK, localeName.c_str(), static_cast<locale_t>(nullptr));
    if (!locale)
        return TFormatSettings();
    TFormatSettings settings = SettingsOf(locale);
    freelocale(locale);
    return settings;
}
