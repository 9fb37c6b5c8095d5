// The quick paths of number and date texts against the general ones: the
// texts must be the same for every value, precision, picture and locale.
#include "platform/DateTimeFormat.h"
#include "platform/FloatFormat.h"
#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// FloatToStrF's general form worked out digit by digit, without any quick path.
std::string GeneralByDigits(double value, int precision, int digits, const TFormatSettings& settings)
{
    return FormatDecimalNumber(TDecimalNumber::FromDouble(value), ffGeneral, std::min(precision, 17), digits, settings);
}

std::vector<double> AwkwardDoubles()
{
    std::vector<double> values = {
        0.0, -0.0, 1.0, -1.0, 0.5, 2.5, -2.5, 0.125, 0.1, 0.2, 0.1 + 0.2, 1.0 / 3, 2.0 / 3, 100.0 / 7,
        1e-4, 9.99999e-5, 0.00009999999999999999, 0.000123456789012345678, 1e-3, 0.001234,
        1e11, 1e11 - 0.5, 99999999999.9999, 1e14, 123456789012345.0, 999999999999999.0,
        999999999999999.9, 1e15, 1e15 + 1, 1e16, 9007199254740993.0, 1e22, 1e300, -1e-300,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), 1.0000000000000002, 0.9999999999999999,
        9.9999999999999995, 99.99999999999999, 0.30000000000000004, 1234.5, -5000.0, 0.0625,
        1.00000000000000049, 1.4999999999999998, 4503599627370495.5, 12345.00005, 0.00015};
    for (double step : {1.0, 0.5, 0.25, 0.01, 0.001, 0.0001, 0.00001}) {
        for (int i = -400; i <= 400; i += 3) {
            values.push_back(i * step);
            values.push_back(i * step + 1e8);
            values.push_back(i * step * 1e7);
        }
    }
    return values;
}

TEST(QuickGeneralFloat, AwkwardValuesEveryPrecisionAndSeparator)
{
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    for (double value : AwkwardDoubles()) {
        for (int precision : {1, 2, 7, 14, 15, 16, 17, 18, 19}) {
            for (int digits : {0, 2}) {
                SCOPED_TRACE(testing::Message() << value << " precision " << precision);
                EXPECT_EQ(FloatToStrF(value, ffGeneral, precision, digits, comma),
                          GeneralByDigits(value, precision, digits, comma));
                EXPECT_EQ(FloatToStrF(-value, ffGeneral, precision, digits), GeneralByDigits(-value, precision, digits, FormatSettings()));
            }
        }
    }
}

TEST(QuickGeneralFloat, RandomValuesOfEveryScale)
{
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<uint64_t> bits;
    std::uniform_int_distribution<int64_t> cents(-100'000'000'000'000, 100'000'000'000'000);
    std::uniform_int_distribution<int> decimals(0, 6);
    for (int i = 0; i < 100000; ++i) {
        uint64_t pattern = bits(random);
        double anyDouble;
        std::memcpy(&anyDouble, &pattern, sizeof anyDouble);
        const double scaled = static_cast<double>(cents(random)) / std::pow(10.0, decimals(random));
        const double uniform = std::ldexp(static_cast<double>(pattern >> 11), -53) * std::pow(10.0, decimals(random) - 2);
        for (double value : {anyDouble, scaled, uniform, std::nearbyint(scaled)}) {
            SCOPED_TRACE(testing::Message() << std::hexfloat << value);
            ASSERT_EQ(FloatToStr(value), GeneralByDigits(value, 15, 0, FormatSettings()));
        }
    }
}

TEST(QuickGeneralFloat, KnownTexts)
{
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(-100.0 / 7), "-14.2857142857143");
    EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(0.00009999999999999999), "0.0001");
    EXPECT_EQ(FloatToStr(0.000099999), "9.9999E-5");
    EXPECT_EQ(FloatToStr(-1234.5, comma), "-1234,5");
    EXPECT_EQ(FloatToStr(0.0625, comma), "0,0625");
    EXPECT_EQ(FloatToStrF(2.5, ffGeneral, 1, 0), "3");
    EXPECT_EQ(FloatToStrF(0.45, ffGeneral, 1, 0), "0.5");
}

// A picture with an empty quoted text shows the same as without it, but
// only the general writer reads quotes.
std::string GeneralPicture(const std::string& picture)
{
    return picture + "''";
}

std::vector<TDateTime> AwkwardDates()
{
    std::vector<TDateTime> values = {0.0, -0.0, 1.0, -1.0, 2.0, -693593.0, 2958465.0, 1e9, -1e9, 1e10, 0.5,
                                     -0.5, -1.25, 45000.99999999999, 45000.999999, -45000.9999999999,
                                     std::numeric_limits<double>::quiet_NaN()};
    for (int day = -800000; day <= 3000000; day += 97) {
        values.push_back(day);
        values.push_back(day + 0.75);
    }
    return values;
}

TEST(QuickDateText, NumericPicturesMatchTheGeneralWriter)
{
    TFormatSettings dots;
    dots.DateSeparator = '.';
    dots.TimeSeparator = '.';
    dots.ShortDateFormat = "dd/mm/yyyy";
    for (const char* picture : {"yyyy-mm-dd", "d/m/yy", "dd.mm.yyyy", "m/d/yyyy", "YYYY/MM/DD", "yyy", "Dd:mM",
                                "y", "mmm d", "ddddd", "hh:mm", "yyyy-mm-dd hh:nn", "d am/pm", "ddd"}) {
        for (TDateTime value : AwkwardDates()) {
            SCOPED_TRACE(testing::Message() << picture << " " << value);
            ASSERT_EQ(FormatDateTime(picture, value, dots), FormatDateTime(GeneralPicture(picture), value, dots));
            ASSERT_EQ(FormatDateTime(picture, value), FormatDateTime(GeneralPicture(picture), value));
        }
    }
}

TEST(QuickDateText, DateAndDateTimeTextsMatchTheGeneralWriter)
{
    TFormatSettings slashes;
    slashes.DateSeparator = '/';
    slashes.ShortDateFormat = "m/d/yy";
    TFormatSettings named;
    named.ShortDateFormat = "dd mmm yyyy";
    for (const TFormatSettings* settings : {&FormatSettings(), &slashes, &named}) {
        for (TDateTime value : AwkwardDates()) {
            SCOPED_TRACE(testing::Message() << settings->ShortDateFormat << " " << value);
            ASSERT_EQ(DateTimeToStr(value, *settings), FormatDateTime(GeneralPicture("c"), value, *settings));
            ASSERT_EQ(FormatDateTime("", value, *settings), FormatDateTime(GeneralPicture("c"), value, *settings));
            ASSERT_EQ(DateToStr(value, *settings),
                      FormatDateTime(GeneralPicture(settings->ShortDateFormat), value, *settings));
        }
    }
}

TEST(QuickDateText, KnownTexts)
{
    TFormatSettings german;
    german.DateSeparator = '.';
    german.ShortDateFormat = "dd/mm/yyyy";
    const TDateTime day = EncodeDate(2024, 2, 29);
    EXPECT_EQ(DateTimeToStr(day), "2024-02-29");
    EXPECT_EQ(DateTimeToStr(day + 0.5), "2024-02-29 12:00:00");
    EXPECT_EQ(DateTimeToStr(day - 0.000000001), "2024-02-29");   // rounds up to midnight
    EXPECT_EQ(DateToStr(day, german), "29.02.2024");
    EXPECT_EQ(FormatDateTime("d/m/yy", EncodeDate(2005, 3, 7)), "7-3-05");
    EXPECT_EQ(DateTimeToStr(-1.0), "1899-12-29");
}

} // namespace
