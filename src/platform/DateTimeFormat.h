#pragma once
// Dates and times as the number of days since 30 December 1899, their
// texts in the locale's short formats, pictures, and parsing.

#include "platform/FormatSettings.h"
#include "platform/Variant.h"

#include <string>

// Raise EConvertError on an invalid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
int DayOfWeek(TDateTime value);     // 1 = Sunday .. 7 = Saturday
// A date plus a time of day; before 30 December 1899 the time is subtracted,
// as the fraction of a negative date is the time of day in absolute value.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
TDateTime Now();
TDateTime Date();

std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);    // time part only when not midnight
std::string DateToStr(TDateTime value, const TFormatSettings& settings);
std::string TimeToStr(TDateTime value, const TFormatSettings& settings);
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings);
std::string FormatDateTime(const std::string& picture, TDateTime value);
std::string FormatDateTime(const std::string& picture, TDateTime value, const TFormatSettings& settings);

// Parse texts in the short date format and the time formats;
// raise EConvertError ("'x' is not a valid date").
TDateTime StrToDate(const std::string& text);
TDateTime StrToTime(const std::string& text);
TDateTime StrToDateTime(const std::string& text);
bool TryStrToDate(const std::string& text, TDateTime& value);
bool TryStrToTime(const std::string& text, TDateTime& value);
bool TryStrToDateTime(const std::string& text, TDateTime& value);
TDateTime StrToDate(const std::string& text, const TFormatSettings& settings);
TDateTime StrToTime(const std::string& text, const TFormatSettings& settings);
TDateTime StrToDateTime(const std::string& text, const TFormatSettings& settings);
bool TryStrToDate(const std::string& text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(const std::string& text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDateTime(const std::string& text, TDateTime& value, const TFormatSettings& settings);
