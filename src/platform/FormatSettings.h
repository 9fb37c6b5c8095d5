#pragma once
// Number, currency and date settings, read once from the process locale
// (LC_NUMERIC, LC_MONETARY, LC_TIME) with C-locale defaults.

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
};

// The settings every formatting function uses unless given others.
TFormatSettings& FormatSettings();
// Re-reads the process locale into FormatSettings().
void LoadFormatSettingsFromLocale();
