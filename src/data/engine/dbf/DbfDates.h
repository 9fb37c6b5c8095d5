#pragma once
// Calendar arithmetic for the date encodings of the dBASE family, on the
// proleptic Gregorian calendar, with TDateTime as days since 1899-12-30.

#include <cstdint>

namespace DbfDates {

// Days since 1970-01-01 of a civil date, and back.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day);
bool IsValidDate(int64_t year, unsigned month, unsigned day);

// Offset between days since 1970-01-01 and TDateTime day numbers.
constexpr int64_t UnixToDateTimeDays = 25569;
// Julian day number of 1899-12-30 (TDateTime day 0).
constexpr int64_t JulianDayOfDateTimeZero = 2415019;

} // namespace DbfDates
