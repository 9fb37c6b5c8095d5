#pragma once
// Number, currency and date settings, read once from the process locale
// (LC_NUMERIC, LC_MONETARY, LC_TIME) with C-locale defaults.

#include <array>
#include <string>

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    std::string CurrencyString = "$";
    int CurrencyFormat = 0;      // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int NegCurrFormat = 0;       // 0 "($1)", 1 "-$1", ... as the classic table
    int CurrencyDecimals = 2;
    char DateSeparator = '-';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongDateFormat = "yyyy-mm-dd";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    int TwoDigitYearCenturyWindow = 50;
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March", "April", "May", "June", "July",
                                               "August", "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// The settings every formatting function uses unless given others.
TFormatSettings& FormatSettings();
// Re-reads the process locale into FormatSettings().
void LoadFormatSettingsFromLocale();
// The settings of a named locale ("de_DE.UTF-8"; "" for the environment's),
// without touching the process locale; C defaults where the name is unknown.
TFormatSettings FormatSettingsFromLocale(const std::string& localeName);
