// Number texts: general, exponent, fixed, number and currency forms,
// pictures with sections, currency exactness, and locale separators.
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct TFloatCase {
    double Value;
    const char* Expected;
};

TEST(FloatToStr, GeneralFormFifteenDigitsAndExponentRules)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TFloatCase cases[] = {
        {0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {123.456, "123.456"},
        {1e20, "1E20"},
        {1.5e-5, "1.5E-5"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-0.00012, "-0.00012"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.9999999999999999, "1"},
        {-0.0, "0"},
        {123456789012345678.0, "1.23456789012346E17"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {5e-324, "5E-324"},                 // the shortest text that reads back
        {inf, "INF"},
        {-inf, "-INF"},
        {std::nan(""), "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.Value), c.Expected) << c.Value;
}

struct TFloatFCase {
    double Value;
    TFloatFormat Format;
    int Precision, Digits;
    const char* Expected;
};

TEST(FloatToStrF, EveryFormWithPrecisionAndDigits)
{
    const TFloatFCase cases[] = {
        {1234.5678, ffFixed, 15, 2, "1234.57"},
        {1234.5678, ffFixed, 4, 2, "1235.00"},      // precision limits the digits before padding
        {0.125, ffFixed, 15, 2, "0.13"},            // ties go away from zero
        {-0.125, ffFixed, 15, 2, "-0.13"},
        {1.005, ffFixed, 15, 2, "1.01"},            // the decimal value shown, not its binary neighbour
        {std::nextafter(0.145, 0.0), ffFixed, 15, 2, "0.15"},
        {2.5, ffFixed, 15, 0, "3"},
        {-0.004, ffFixed, 15, 2, "0.00"},           // never "-0.00"
        {0.5, ffFixed, 15, 0, "1"},
        {1e20, ffFixed, 15, 2, "1E20"},             // too many digits: general form
        {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
        {-1234567.891, ffNumber, 15, 0, "-1,234,568"},
        {999.995, ffNumber, 15, 2, "1,000.00"},
        {123.0, ffNumber, 15, 1, "123.0"},
        {1234.5, ffExponent, 4, 2, "1.235E+03"},
        {0.00012345, ffExponent, 3, 0, "1.23E-4"},
        {-0.00012345, ffExponent, 3, 4, "-1.23E-0004"},
        {0, ffExponent, 3, 2, "0.00E+00"},
        {9.9999, ffExponent, 3, 1, "1.00E+1"},
        {123456, ffGeneral, 3, 0, "1.23E5"},
        {123456, ffGeneral, 6, 0, "123456"},
        {0.0000123, ffGeneral, 15, 2, "1.23E-05"},
        {0.000123, ffGeneral, 15, 2, "0.000123"},
        {0.1, ffGeneral, 17, 0, "0.1"},             // no binary noise at full precision
        {0.1 + 0.2, ffGeneral, 17, 0, "0.30000000000000004"},
        {1234.5, ffCurrency, 15, 2, "$1,234.50"},
        {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
        {-0.001, ffCurrency, 15, 2, "$0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected)
            << c.Value << " format " << c.Format << " " << c.Precision << "/" << c.Digits;
}

TEST(FloatToStrF, CurrencyPositionsAndTheSixteenNegativePatterns)
{
    TFormatSettings s;
    const char* positive[] = {"$1.50", "1.50$", "$ 1.50", "1.50 $"};
    for (int format = 0; format < 4; ++format) {
        s.CurrencyFormat = format;
        EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, s), positive[format]) << format;
    }
    const char* negative[] = {"($1.50)", "-$1.50",   "$-1.50",   "$1.50-",   "(1.50$)",  "-1.50$",
                              "1.50-$",  "1.50$-",   "-1.50 $",  "-$ 1.50",  "1.50 $-",  "$ 1.50-",
                              "$ -1.50", "1.50- $",  "($ 1.50)", "(1.50 $)"};
    for (int format = 0; format < 16; ++format) {
        s.NegCurrFormat = format;
        EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, s), negative[format]) << format;
    }
    s.CurrencyString = "€";
    s.NegCurrFormat = 8;
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, s), "-1,234.50 €");
}

struct TPictureCase {
    const char* Picture;
    double Value;
    const char* Expected;
};

TEST(FormatFloat, PictureLanguage)
{
    const TPictureCase cases[] = {
        {"0.00", 1234.5678, "1234.57"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", -1234567.891, "-1,234,567.89"},
        {"#,##0", 999999.5, "1,000,000"},
        {"#,##0", 12, "12"},
        {"#.##", 0.5, ".5"},
        {"#.##", 0, ""},
        {"#", 0, ""},
        {"0", 0.5, "1"},
        {"0", -0.5, "-1"},
        {"0", 2.5, "3"},                // half away from zero, not to even
        {"0.00", 0.125, "0.13"},
        {"0.00", 1.005, "1.01"},
        {"0.00", std::nextafter(0.145, 0.0), "0.15"},   // rounded as the fifteen digits shown
        {"0.0000000000000000", 0.1 + 0.2, "0.3000000000000000"},
        {"0.00", -0.004, "0.00"},       // never "-0.00"
        {"0.00", -0.005, "-0.01"},
        {"00000", 123, "00123"},
        {"0.###", 1.5, "1.5"},
        {"0.0##", 1, "1.0"},
        {"0.0##", 1.23456, "1.235"},
        {".00", 12.5, "12.50"},         // digits before the point without places
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.00E+00", 0.000123456, "1.23E-04"},
        {"0.00E-00", 1234.5, "1.23E03"},
        {"0.00e+0", 1234.5, "1.23e+3"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -1234.5, "-1.23E+03"},
        {"0.0E+0", 9.96, "1.0E+1"},
        {"0.00", 1e25, "1E25"},         // too long for digit places
        {"0", 1e17, "100000000000000000"},
        {"0", 1e18, "1E18"},             // more than 18 digits before the point
        {"", 1.5, "1.5"},
        {"$#,##0.00", -5, "-$5.00"},
        {"'Total: '0", 12, "Total: 12"},
        {"\"x\"0\"y\"", 5, "x5y"},
        {"'0#.,;'0", 5, "0#.,;5"},      // placeholders and separators inside quotes are text
        {"0.00", std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.Picture, c.Value), c.Expected) << "'" << c.Picture << "' " << c.Value;
}

TEST(FormatFloat, SectionsForPositiveNegativeAndZero)
{
    const TPictureCase cases[] = {
        {"0.00;(0.00)", -5, "(5.00)"},
        {"0.00;(0.00)", 5, "5.00"},
        {"0.00;(0.00);'zero'", 0, "zero"},
        {"0.00;(0.00);'zero'", -0.001, "zero"},   // rounds to zero: the zero section
        {"0.00;(0.00)", -0.001, "0.00"},          // ...or the positive one, without a sign
        {"0.00;(0.0000)", -0.001, "(0.0010)"},    // the negative section's own rounding decides
        {"0.00;;'zero'", -5, "-5.00"},            // empty negative section: positive with a minus
        {"0.00;(0.00);", 0, "0.00"},              // empty zero section: the positive one
        {"#,##0.00 'CR';#,##0.00 'DR'", -1234.5, "1,234.50 DR"},
        {"0;-0;0;ignored", -3, "-3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.Picture, c.Value), c.Expected) << "'" << c.Picture << "' " << c.Value;
}

TEST(Currency, TextsAreExactAtTheExtremes)
{
    const TCurrency max = TCurrency::FromScaled(INT64_MAX);
    const TCurrency min = TCurrency::FromScaled(INT64_MIN);
    EXPECT_EQ(CurrToStr(max), "922337203685477.5807");
    EXPECT_EQ(CurrToStr(min), "-922337203685477.5808");
    EXPECT_EQ(CurrToStr(TCurrency::FromScaled(15000)), "1.5");
    EXPECT_EQ(CurrToStr(TCurrency()), "0");
    EXPECT_EQ(CurrToStr(TCurrency::FromScaled(1)), "0.0001");
    EXPECT_EQ(CurrToStr(TCurrency::FromScaled(-1)), "-0.0001");
    EXPECT_EQ(CurrToStrF(max, ffCurrency, 2), "$922,337,203,685,477.58");
    EXPECT_EQ(CurrToStrF(min, ffNumber, 4), "-922,337,203,685,477.5808");
    EXPECT_EQ(CurrToStrF(min, ffFixed, 0), "-922337203685478");
    EXPECT_EQ(CurrToStrF(TCurrency::FromScaled(-49), ffFixed, 2), "0.00");
    EXPECT_EQ(CurrToStrF(TCurrency::FromScaled(-50), ffFixed, 2), "-0.01");
    EXPECT_EQ(FormatCurr("#,##0.0000", max), "922,337,203,685,477.5807");
    EXPECT_EQ(FormatCurr("#,##0.0000", min), "-922,337,203,685,477.5808");
    EXPECT_EQ(FormatCurr("0.00", max), "922337203685477.58");
    EXPECT_EQ(FormatCurr("0.00", TCurrency::FromScaled(50)), "0.01");
    EXPECT_EQ(FormatCurr("0", TCurrency::FromScaled(25000)), "3");
    EXPECT_EQ(FormatCurr("0.00;(0.00);'nil'", TCurrency::FromScaled(-49)), "nil");
}

TEST(FormatSettingsArgument, SeparatorsOfAnotherLocale)
{
    TFormatSettings s;
    s.DecimalSeparator = ',';
    s.ThousandSeparator = '.';
    EXPECT_EQ(FloatToStr(1.5, s), "1,5");
    EXPECT_EQ(FloatToStr(1.5e-5, s), "1,5E-5");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, s), "1.234.567,89");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, s), "1.234,50");
    EXPECT_EQ(CurrToStrF(TCurrency::FromScaled(12345678), ffNumber, 2, s), "1.234,57");
    EXPECT_EQ(StrToFloat("1,5", s), 1.5);
    double value;
    EXPECT_FALSE(TryStrToFloat("1.5", value, s));
    TCurrency c;
    ASSERT_TRUE(TryStrToCurr("-12,34565", c, s));
    EXPECT_EQ(c.Scaled, -123456);
}

TEST(StrToFloat, AcceptsSignsBlanksAndExponents)
{
    const TFloatCase cases[] = {
        {1.5, "1.5"}, {1.5, " 1.5 "}, {1.5, "+1.5"}, {-1500, "-1.5e3"}, {1e-5, "1E-5"},
        {0.5, ".5"}, {5, "5."}, {0, "1e-400"}, {1e308, "1e308"}, {-0.0, "-0"},
        {123456789012345678.0, "123456789012345678"},
        {5e-324, "5E-324"}, {1e-310, "1e-310"}, {1.7976931348623157e308, "1.7976931348623157e308"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToFloat(c.Expected), c.Value) << c.Expected;
}

TEST(StrToFloat, RejectsGarbageWithTheClassicMessage)
{
    for (const char* text : {"abc", "", " ", "1.2.3", "1,5", "1 000", "e5", "1e", "1e+", "0x10", "--1", "-", ".",
                             "inf", "nan", "1e400", "1.7976931348623159e308", "12abc"}) {
        double value = 7;
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
        EXPECT_EQ(value, 7) << "a failed parse must not change the value";
    }
    try {
        StrToFloat("abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST(StrToFloat, FullPrecisionTextsReadBackExactly)
{
    // A deterministic spread of doubles over many magnitudes.
    uint64_t state = 88172645463325252ull;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double value = std::ldexp(static_cast<double>(state >> 11), static_cast<int>(state % 200) - 150);
        if (i % 2)
            value = -value;
        ASSERT_EQ(StrToFloat(FloatToStrF(value, ffGeneral, 17, 0)), value) << i;
        // Fifteen digits read back within the last digit.
        double shown = StrToFloat(FloatToStr(value));
        ASSERT_NEAR(shown, value, std::fabs(value) * 1e-14) << i;
    }
}

TEST(StrToInt, RangesAndMessages)
{
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("+42"), 42);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    for (const char* text : {"abc", "", "-", "+-1", "4 2", "1.0", "0x10", "9223372036854775808", "1e3"}) {
        int64_t value = 7;
        EXPECT_FALSE(TryStrToInt64(text, value)) << text;
        EXPECT_EQ(value, 7);
    }
    try {
        StrToInt("2147483648");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2147483648' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64("abc"), EConvertError);
}

TEST(StrToCurr, ExactDigitsRoundedHalfToEven)
{
    struct {
        const char* Text;
        int64_t Scaled;
    } cases[] = {
        {"922337203685477.5807", INT64_MAX},
        {"-922337203685477.5808", INT64_MIN},
        {"1.00005", 10000},       // tie: to the even neighbour
        {"1.00015", 10002},
        {"1.000050001", 10001},   // above the tie
        {"-1.00005", -10000},
        {"-1.00015", -10002},
        {"1e3", 10000000},
        {"0.00001", 0},
        {" 12.3 ", 123000},
        {"922337203685477.58074", INT64_MAX},
    };
    for (const auto& c : cases) {
        TCurrency value;
        ASSERT_TRUE(TryStrToCurr(c.Text, value)) << c.Text;
        EXPECT_EQ(value.Scaled, c.Scaled) << c.Text;
    }
    for (const char* text : {"922337203685477.5808", "922337203685477.58075", "-922337203685477.58086", "1e20", "abc", ""}) {
        TCurrency value;
        EXPECT_FALSE(TryStrToCurr(text, value)) << text;
    }
    EXPECT_THROW(StrToCurr("abc"), EConvertError);
    // Every currency text reads back to the same value.
    for (int64_t scaled : {INT64_MAX, INT64_MIN, int64_t(0), int64_t(1), int64_t(-123456789)})
        EXPECT_EQ(StrToCurr(CurrToStr(TCurrency::FromScaled(scaled))).Scaled, scaled);
}

} // namespace
