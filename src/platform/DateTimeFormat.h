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
TDateTime Now();
TDateTime Date();

std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);    // time part only when not midnight
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
