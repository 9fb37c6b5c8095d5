// Date-time numbers, their texts, pictures and parsing.
#include "platform/DateTimeFormat.h"
#include "platform/DateTimeParts.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return ComposeDateTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s, ms));
}

int CurrentYear()
{
    int y, m, d;
    DecodeDate(Now(), y, m, d);
    return y;
}

TEST(DateTimeNumber, DaysSinceThirtiethDecember1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
}

TEST(DateTimeNumber, NegativeDatesKeepTheTimeOfDayAsAbsoluteFraction)
{
    // -1.25: the day before the epoch at 06:00, not 18:00.
    EXPECT_DOUBLE_EQ(At(1899, 12, 29, 6), -1.25);
    int y, mo, d, h, mi, s, ms;
    DecodeDate(-1.25, y, mo, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(y * 10000 + mo * 100 + d, 18991229);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(mi, 0);
    DecodeDate(-0.5, y, mo, d);   // between -1 and 0: the epoch day itself
    DecodeTime(-0.5, h, mi, s, ms);
    EXPECT_EQ(y * 10000 + mo * 100 + d, 18991230);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(DateTimeToStr(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(DateTimeToStr(At(1850, 7, 4, 23, 59, 30)), "1850-07-04 23:59:30");
}

TEST(DateTimeNumber, DayAndMillisecondsSplitAndJoinOnBothSidesOfTheEpoch)
{
    EXPECT_DOUBLE_EQ(DateTimeFromDayAndMilliseconds(-1, 6 * 3600000), -1.25);
    EXPECT_DOUBLE_EQ(DateTimeFromDayAndMilliseconds(2, 18 * 3600000), 2.75);
    const struct { int64_t Day, Ms; } cases[] = {{-36522, 23400250}, {-1, 0}, {-1, 86399999}, {0, 1}, {45000, 43200000}};
    for (auto c : cases) {
        int64_t day = 0, ms = 0;
        SplitDateTime(DateTimeFromDayAndMilliseconds(c.Day, c.Ms), day, ms);
        EXPECT_EQ(day, c.Day);
        EXPECT_EQ(ms, c.Ms);
    }
    // A time that rounds up to midnight belongs to the next calendar day,
    // before the epoch too: 27 December 1899 (day -3) at 23:59:59.9999999
    // is 28 December (day -2), and the day between -1 and 0 is the epoch day.
    int64_t day = 0, ms = 0;
    SplitDateTime(-3.99999999999, day, ms);
    EXPECT_EQ(day, -2);
    EXPECT_EQ(ms, 0);
    SplitDateTime(-0.99999999999, day, ms);
    EXPECT_EQ(day, 1);
    EXPECT_EQ(ms, 0);
    EXPECT_EQ(DateTimeToStr(-3.99999999999), "1899-12-28");
}

TEST(DateTimeNumber, EveryDayDecodesBackToItself)
{
    for (int64_t day = -693593; day <= 2958465; day += 97) {
        int y, m, d;
        DecodeDate(static_cast<double>(day), y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), static_cast<double>(day)) << day;
    }
}

TEST(DateTimeNumber, EverySecondDecodesBackToItself)
{
    for (int second = 0; second < 86400; ++second) {
        for (int ms : {0, 1, 999}) {
            int h, mi, s, z;
            DecodeTime(EncodeTime(second / 3600, second / 60 % 60, second % 60, ms), h, mi, s, z);
            ASSERT_EQ(((h * 60 + mi) * 60 + s) * 1000 + z, second * 1000 + ms);
        }
    }
    // A time that rounds up to midnight belongs to the next day.
    int y, m, d, h, mi, s, ms;
    DecodeDate(1 - 1e-10, y, m, d);
    DecodeTime(1 - 1e-10, h, mi, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991231);
    EXPECT_EQ(h + mi + s + ms, 0);
}

TEST(DateTimeNumber, LeapYearsAndInvalidArguments)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    TDateTime value = 7;
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, value));
    for (auto [y, m, d] : {std::tuple{1900, 2, 29}, {2023, 2, 29}, {2024, 13, 1}, {2024, 4, 31}, {0, 1, 1},
                           {10000, 1, 1}, {2024, 1, 0}}) {
        EXPECT_FALSE(TryEncodeDate(y, m, d, value)) << y << "-" << m << "-" << d;
    }
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
    try {
        EncodeDate(1900, 2, 29);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
    EXPECT_THROW(EncodeTime(25, 0, 0, 0), EConvertError);
}

TEST(DateTimeNumber, DayOfWeek)
{
    EXPECT_EQ(DayOfWeek(0), 7);                              // a Saturday
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_EQ(DayOfWeek(-1.75), 6);                          // the time does not move the day
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);         // a Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3) + 0.99), 1);  // a Sunday
}

TEST(FormatDateTime, PictureLanguage)
{
    const TDateTime v = At(2024, 3, 5, 14, 7, 9, 45);
    struct {
        const char* Picture;
        const char* Expected;
    } cases[] = {
        {"yyyy-mm-dd", "2024-03-05"},
        {"d/m/yy", "5-3-24"},           // "/" is the date separator
        {"dd.mm.yyyy", "05.03.2024"},
        {"y", "24"},
        {"yyy", "2024"},
        {"ddd dddd", "Tue Tuesday"},
        {"mmm mmmm", "Mar March"},
        {"ddddd", "2024-03-05"},
        {"dddddd", "2024-03-05"},
        {"h:n:s", "14:7:9"},
        {"hh:nn:ss.zzz", "14:07:09.045"},
        {"z", "45"},
        {"hh:mm", "14:07"},             // "m" right after an hour means minutes
        {"hh:mm:ss", "14:07:09"},
        {"mm hh mm", "03 14 07"},
        {"h:mm am/pm", "2:07 pm"},
        {"h:mm AM/PM", "2:07 PM"},
        {"h a/p", "2 p"},
        {"h A/P", "2 P"},
        {"hh ampm", "02 PM"},
        {"t", "14:07"},
        {"tt", "14:07:09"},
        {"c", "2024-03-05 14:07:09"},
        {"", "2024-03-05 14:07:09"},
        {"'yyyy'yyyy", "yyyy2024"},
        {"\"d\"d", "d5"},
        {"yyyy'年'm'月'", "2024年3月"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.Picture, v), c.Expected) << "'" << c.Picture << "'";
}

TEST(FormatDateTime, TwelveHourClockAndMidnight)
{
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(0, 30, 0, 0)), "12:30 am");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(12, 0, 0, 0)), "12:00 pm");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(23, 5, 0, 0)), "11:05 pm");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "2024-03-05");   // no time at midnight
    EXPECT_EQ(DateTimeToStr(0), "1899-12-30");
    EXPECT_EQ(DateToStr(At(2024, 3, 5, 14)), "2024-03-05");
    EXPECT_EQ(TimeToStr(At(2024, 3, 5, 14, 1, 2)), "14:01:02");
}

TEST(FormatDateTime, SettingsOfAnotherLocale)
{
    TFormatSettings s;
    s.ShortDateFormat = "dd/mm/yyyy";
    s.DateSeparator = '.';
    s.LongTimeFormat = "h:nn:ss ampm";
    s.TimeSeparator = '.';
    s.TimePMString = "p.m.";
    EXPECT_EQ(DateTimeToStr(At(2024, 3, 5, 14, 7, 9), s), "05.03.2024 2.07.09 p.m.");
}

TEST(StrToDateTime, RoundTripsThroughTheShortFormats)
{
    for (TDateTime v : {At(2024, 2, 29, 23, 59, 59), At(1899, 12, 30, 12), At(1899, 12, 29, 6), At(1, 1, 1),
                        At(9999, 12, 31, 23, 59, 59), At(1900, 3, 1), At(1850, 1, 1, 0, 0, 1)}) {
        EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v)), v) << DateTimeToStr(v);
        EXPECT_DOUBLE_EQ(StrToDate(DateToStr(v)), std::trunc(v)) << DateToStr(v);
    }
    TFormatSettings dmy;
    dmy.ShortDateFormat = "dd.mm.yyyy";
    dmy.DateSeparator = '.';
    TDateTime v = At(2024, 2, 29, 8, 30);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v, dmy), dmy), v);
}

TEST(StrToDate, FollowsTheOrderOfTheShortDateFormat)
{
    TFormatSettings ymd, mdy, dmy;
    mdy.ShortDateFormat = "m/d/yyyy";
    mdy.DateSeparator = '/';
    dmy.ShortDateFormat = "dd.mm.yyyy";
    dmy.DateSeparator = '.';
    EXPECT_EQ(StrToDate("2024-3-5", ymd), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(" 2024-03-05 ", ymd), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("3/5/2024", mdy), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("05.03.2024", dmy), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("5. 3. 2024", dmy), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("3-5", ymd), EncodeDate(CurrentYear(), 3, 5));   // no year: this year
    EXPECT_EQ(StrToDate("5.3", dmy), EncodeDate(CurrentYear(), 3, 5));
    for (const char* text : {"2024-02-30", "2023-02-29", "abc", "", "2024", "2024-1-5-7", "20240105", "2024-01-05x",
                             "99999-1-1"}) {
        TDateTime value = 7;
        EXPECT_FALSE(TryStrToDate(text, value, ymd)) << text;
        EXPECT_EQ(value, 7);
    }
    TDateTime value;
    EXPECT_FALSE(TryStrToDate("31.02.2024", value, dmy));
    try {
        StrToDate("x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid date");
    }
}

TEST(StrToDate, TwoDigitYearsFallInTheCenturyWindow)
{
    TFormatSettings s;
    const int current = CurrentYear();
    for (int yy = 0; yy < 100; ++yy) {
        std::string text = (yy < 10 ? "0" : "") + std::to_string(yy) + "-6-15";
        int y, m, d;
        DecodeDate(StrToDate(text, s), y, m, d);
        EXPECT_EQ(y % 100, yy) << text;
        EXPECT_GE(y, current - 50) << text;
        EXPECT_LT(y, current + 50) << text;
    }
    s.TwoDigitYearCenturyWindow = 0;   // no window: the current century
    int y, m, d;
    DecodeDate(StrToDate("99-1-1", s), y, m, d);
    EXPECT_EQ(y, current - current % 100 + 99);
    DecodeDate(StrToDate("0099-1-1", s), y, m, d);   // four digits are taken as written
    EXPECT_EQ(y, 99);
}

TEST(StrToTime, ClockFormsAndMarkers)
{
    struct {
        const char* Text;
        int Milliseconds;
    } cases[] = {
        {"14:07", (14 * 60 + 7) * 60000},
        {"14:07:09", ((14 * 60 + 7) * 60 + 9) * 1000},
        {"14:07:09.5", ((14 * 60 + 7) * 60 + 9) * 1000 + 500},
        {"14:07:09.045", ((14 * 60 + 7) * 60 + 9) * 1000 + 45},
        {"2:07 PM", (14 * 60 + 7) * 60000},
        {"2:07 pm", (14 * 60 + 7) * 60000},
        {"12:00 AM", 0},
        {"12:00 PM", 12 * 3600000},
        {"3 PM", 15 * 3600000},
        {"AM 9:15", (9 * 60 + 15) * 60000},
        {"0:00", 0},
        {"23:59:59", 86399000},
    };
    for (const auto& c : cases) {
        TDateTime value;
        ASSERT_TRUE(TryStrToTime(c.Text, value)) << c.Text;
        EXPECT_EQ(std::llround(value * 86400000.0), c.Milliseconds) << c.Text;
    }
    for (const char* text : {"24:00", "10:60", "10:00:60", "13:00 PM", "14", "abc", "", "10:", "10:00 XM", "1:2:3:4"}) {
        TDateTime value;
        EXPECT_FALSE(TryStrToTime(text, value)) << text;
    }
    try {
        StrToTime("25:00");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'25:00' is not a valid time");
    }
}

TEST(StrToDateTime, DateWithOptionalTime)
{
    EXPECT_DOUBLE_EQ(StrToDateTime("2024-01-05 10:30"), At(2024, 1, 5, 10, 30));
    EXPECT_DOUBLE_EQ(StrToDateTime("2024-01-05T10:30:15"), At(2024, 1, 5, 10, 30, 15));
    EXPECT_DOUBLE_EQ(StrToDateTime("2024-01-05"), EncodeDate(2024, 1, 5));
    EXPECT_DOUBLE_EQ(StrToDateTime("10:30"), EncodeTime(10, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("1899-12-29 18:00"), -1.75);
    for (const char* text : {"2024-01-05 25:00", "2024-01-05 10:30 junk", "2024-01-0510:30", "junk"}) {
        TDateTime value;
        EXPECT_FALSE(TryStrToDateTime(text, value)) << text;
    }
    try {
        StrToDateTime("2024-01-05 25:00");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2024-01-05 25:00' is not a valid date and time");
    }
}

} // namespace
