#pragma once
// A date-time number split into its calendar day and time of day, shared by
// the date functions, the picture formatter and the parser.

#include "platform/Variant.h"

#include <cstdint>

struct TDateTimeParts {
    int Year = 0, Month = 0, Day = 0;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 0;          // 1 = Sunday .. 7 = Saturday
    bool HasTime = false;       // the time of day is not midnight

    // Rounds to the millisecond; a time that rounds up to midnight moves
    // to the next day.
    static TDateTimeParts From(TDateTime value);
};

// Days from 30 December 1899 to the given day of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int month, int day);

// A date-time number keeps its time of day as a positive fraction even
// before 30 December 1899: -1.25 is 29 December 1899, 06:00, not a quarter
// of a day after it.  Formats that count time continuously (milliseconds
// since an epoch) convert through a day number and the milliseconds of that
// day, never through plain arithmetic on the number.
TDateTime DateTimeFromDayAndMilliseconds(int64_t day, int64_t milliseconds);
// Rounds to the millisecond; a time that rounds up to midnight moves to the
// next day.
void SplitDateTime(TDateTime value, int64_t& day, int64_t& milliseconds);
