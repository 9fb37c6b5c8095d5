#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiValueText.h"
#include "platform/DateTimeFormat.h"

#include <gtest/gtest.h>

namespace {

TAsciiField Field(TAsciiType type, int decimals = 0)
{
    return TAsciiField{"F", type, 20, decimals, 0};
}

TVariant Read(TAsciiType type, const std::string& text)
{
    return AsciiTextToValue(Field(type), text, false);
}

uint16_t WriteError(TAsciiType type, const TVariant& value)
{
    try {
        AsciiValueToText(Field(type), value);
    } catch (const EDBEngineError& e) {
        return e.ErrorCode();
    }
    return DBIERR_NONE;
}

} // namespace

TEST(AsciiDateText, ReadsTheCommonForms)
{
    TDateTime expected = EncodeDate(2024, 3, 7);
    for (const char* text : {"3/7/2024", "03/07/2024", "3-7-2024", "2024-03-07", "2024/3/7", "7.3.2024",
                             "20240307", " 3/7/2024 ", "3/7/24"}) {
        TDateTime value = -1;
        EXPECT_TRUE(ParseAsciiDate(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    TDateTime value = 0;
    EXPECT_TRUE(ParseAsciiDate("1/2/99", value));
    EXPECT_EQ(value, EncodeDate(1999, 1, 2));
    for (const char* text : {"", "2/30/2024", "13/1/2024", "2024-13-01", "3/7", "3/7/2024x", "abc", "3/7/202",
                             "2024-03-07 10:00", "1/1/12345"})
        EXPECT_FALSE(ParseAsciiDate(text, value)) << text;
}

TEST(AsciiDateText, ReadsTimesWithSecondsMillisecondsAndTwelveHourClock)
{
    TDateTime value = 0;
    ASSERT_TRUE(ParseAsciiTime("13:05", value));
    EXPECT_EQ(value, EncodeTime(13, 5, 0, 0));
    ASSERT_TRUE(ParseAsciiTime("13:05:09.25", value));
    EXPECT_EQ(value, EncodeTime(13, 5, 9, 250));
    ASSERT_TRUE(ParseAsciiTime("1:05:09 PM", value));
    EXPECT_EQ(value, EncodeTime(13, 5, 9, 0));
    ASSERT_TRUE(ParseAsciiTime("12:00am", value));
    EXPECT_EQ(value, EncodeTime(0, 0, 0, 0));
    for (const char* text : {"24:00", "10:60", "13:00 PM", "10", "10:5", "10:00:00.", "x"})
        EXPECT_FALSE(ParseAsciiTime(text, value)) << text;
}

TEST(AsciiDateText, ReadsTimestamps)
{
    TDateTime value = 0;
    ASSERT_TRUE(ParseAsciiTimestamp("12/31/1999 23:59:58", value));
    EXPECT_DOUBLE_EQ(value, EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0));
    ASSERT_TRUE(ParseAsciiTimestamp("1999-12-31T23:59:58.5", value));
    EXPECT_DOUBLE_EQ(value, EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 500));
    ASSERT_TRUE(ParseAsciiTimestamp("1999-12-31", value));
    EXPECT_EQ(value, EncodeDate(1999, 12, 31));
    EXPECT_FALSE(ParseAsciiTimestamp("1999-12-31 25:00", value));
    EXPECT_FALSE(ParseAsciiTimestamp("1999-12-31x10:00", value));
}

TEST(AsciiValueText, WritesOneFormPerTypeAndReadsItBack)
{
    struct TCase {
        TAsciiType Type;
        int Decimals;
        TVariant Value;
        const char* Text;
    };
    const TCase cases[] = {
        {TAsciiType::Char, 0, TVariant("a \"b\", c"), "a \"b\", c"},
        {TAsciiType::Float, 0, TVariant(0.1), "0.1"},
        {TAsciiType::Float, 0, TVariant(-1234567.5), "-1234567.5"},
        {TAsciiType::Float, 0, TVariant(1e300), "1e+300"},
        {TAsciiType::Float, 2, TVariant(2.5), "2.50"},
        {TAsciiType::Currency, 2, TVariant(-19.99), "-19.99"},
        {TAsciiType::Number, 0, TVariant(int32_t(-32768)), "-32768"},
        {TAsciiType::LongInt, 0, TVariant(int32_t(2147483647)), "2147483647"},
        {TAsciiType::Bool, 0, TVariant(true), "T"},
        {TAsciiType::Bool, 0, TVariant(false), "F"},
        {TAsciiType::Date, 0, TVariant::FromDateTime(EncodeDate(2024, 3, 7)), "3/7/2024"},
        {TAsciiType::Date, 0, TVariant::FromDateTime(EncodeDate(1, 1, 1)), "1/1/0001"},
        {TAsciiType::Time, 0, TVariant::FromDateTime(EncodeTime(7, 8, 9, 0)), "07:08:09"},
        {TAsciiType::Time, 0, TVariant::FromDateTime(EncodeTime(23, 59, 59, 5)), "23:59:59.005"},
        {TAsciiType::Timestamp, 0,
         TVariant::FromDateTime(EncodeDate(1899, 12, 30) + EncodeTime(12, 0, 0, 0)), "12/30/1899 12:00:00"},
    };
    for (const TCase& c : cases) {
        TAsciiField field = Field(c.Type, c.Decimals);
        std::string text = AsciiValueToText(field, c.Value);
        EXPECT_EQ(text, c.Text);
        TVariant back = AsciiTextToValue(field, text, true);
        EXPECT_EQ(TVariant::Compare(back, c.Value), 0) << text;
        EXPECT_EQ(back.VarType(), c.Value.VarType()) << text;
    }
}

TEST(AsciiValueText, TimestampsRoundToTheMillisecondAsOneValue)
{
    TAsciiField stamp = Field(TAsciiType::Timestamp);
    EXPECT_EQ(AsciiValueToText(stamp, TVariant::FromDateTime(EncodeDate(2020, 1, 1) + 0.9999999999)),
              "1/2/2020 00:00:00");
    EXPECT_EQ(AsciiValueToText(stamp, TVariant::FromDateTime(EncodeDate(2020, 1, 1) + EncodeTime(23, 59, 59, 999))),
              "1/1/2020 23:59:59.999");
}

TEST(AsciiValueText, FloatsKeepEveryDigit)
{
    TAsciiField field = Field(TAsciiType::Float);
    for (double value : {1.0 / 3, 0.1 + 0.2, 123456789.123456789, -5e-310, 6.02214076e23}) {
        TVariant back = AsciiTextToValue(field, AsciiValueToText(field, TVariant(value)), false);
        EXPECT_EQ(back.AsDouble(), value);
    }
}

TEST(AsciiValueText, BlankOrUnreadableTextIsNull)
{
    EXPECT_TRUE(Read(TAsciiType::Float, "  ").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Float, "12x").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Float, "nan").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Number, "40000").IsNull());
    EXPECT_TRUE(Read(TAsciiType::LongInt, "99999999999").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Bool, "maybe").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Date, "yesterday").IsNull());
    EXPECT_TRUE(Read(TAsciiType::Char, "   ").IsNull());
    EXPECT_EQ(AsciiTextToValue(Field(TAsciiType::Char), "", true).AsString(), "");
    EXPECT_FALSE(AsciiTextToValue(Field(TAsciiType::Char), "", true).IsNull());
}

TEST(AsciiValueText, ReadsLenientForms)
{
    EXPECT_EQ(Read(TAsciiType::Float, " +1.5 ").AsDouble(), 1.5);
    EXPECT_EQ(Read(TAsciiType::Float, "1.5E3").AsDouble(), 1500.0);
    EXPECT_EQ(Read(TAsciiType::Number, "12.0").AsInteger(), 12);
    EXPECT_EQ(Read(TAsciiType::LongInt, "-7").AsInteger(), -7);
    EXPECT_TRUE(Read(TAsciiType::Bool, "true").AsBoolean());
    EXPECT_FALSE(Read(TAsciiType::Bool, "n").AsBoolean());
    EXPECT_EQ(Read(TAsciiType::Char, "  lead and trail  ").AsString(), "  lead and trail");
}

TEST(AsciiValueText, RefusesValuesTheTypeCannotHold)
{
    EXPECT_EQ(WriteError(TAsciiType::Number, TVariant(int32_t(32768))), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::LongInt, TVariant(int64_t(1) << 40)), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::LongInt, TVariant(1.5)), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::Float, TVariant("twelve")), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::Char, TVariant("two\nlines")), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::Date, TVariant::FromDateTime(EncodeDate(1, 1, 1) - 1)), DBIERR_INVALIDFIELDVALUE);
    EXPECT_EQ(WriteError(TAsciiType::Number, TVariant(int32_t(5))), DBIERR_NONE);
}
