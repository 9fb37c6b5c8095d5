// Values that must survive a round trip digit for digit and millisecond
// for millisecond: date-times before 30 December 1899, whose time of day
// counts forward from midnight while the day number counts backward, and
// 32-digit BCD numbers, which no double holds.

#include "ParadoxTestSupport.h"

#include "data/DataSet.h"
#include "data/FieldTypes.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/paradox/PxEncoding.h"
#include "platform/DateTimeParts.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using px::DecodeDouble;

// Milliseconds since the start of year 1 as the format counts them: the
// ordinal of 0001-01-01 is 1, that of 1800-01-01 is 657072.
constexpr double MsPerDayValue = 86400000.0;

void CreateTable(const std::string& path, std::vector<TEngineFieldDef> fields, int keys = 0)
{
    TCreateTableParams p;
    p.Path = path;
    p.Level = "7";
    p.KeyFieldCount = keys;
    p.CodePage = 1252;
    p.Fields = std::move(fields);
    CreateParadoxDriver()->CreateTable(p);
}

TEngineFieldDef Field(const char* name, TFieldType type, int scale = 0)
{
    TEngineFieldDef d;
    d.Name = name;
    d.DataType = type;
    d.Scale = scale;
    return d;
}

TDateTime At(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return DateTimeFromDayAndMilliseconds(DaysFromCivil(year, month, day),
                                          ((hour * 60 + minute) * 60 + second) * 1000 + ms);
}

// A dataset over a Paradox table through its own session.
struct TParadoxTable {
    explicit TParadoxTable(const std::string& path)
    {
        Session.Engine().RegisterDriver(CreateParadoxDriver());
        Table.SetSession(Session);
        Table.SetTableName(path);
        Table.Open();
    }
    TSession Session;
    TTable Table;
};

std::string PartsText(TDateTime value)
{
    TDateTimeParts p = TDateTimeParts::From(value);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                  p.Second, p.Millisecond);
    return text;
}

// The 8 stored bytes of the first record's field at `offset`, decoded.
double StoredTimestamp(const std::string& path, size_t offset)
{
    std::string bytes = ReadFileBytes(path);
    uint16_t headerSize = static_cast<uint8_t>(bytes[2]) | static_cast<uint8_t>(bytes[3]) << 8;
    // The first data block follows the header; its records start after the
    // block's 6-byte link.
    return DecodeDouble(reinterpret_cast<const uint8_t*>(bytes.data()) + headerSize + 6 + offset);
}

} // namespace

TEST(ParadoxExactValues, TimestampsBeforeTheEpochDayKeepTheirDayAndTimeOfDay)
{
    TScratchDir dir;
    std::string path = dir.File("stamps.db");
    CreateTable(path, {Field("Stamp", ftDateTime), Field("Day", ftDate), Field("Clock", ftTime)});
    const TDateTime values[] = {
        At(1800, 1, 1, 6, 30, 0, 250), At(1899, 12, 29, 23, 59, 59, 999), At(1899, 12, 30, 0, 0, 0, 1),
        At(1, 1, 1, 12, 0, 0, 0),      At(2024, 2, 29, 18, 45, 10, 5)};
    {
        auto cursor = OpenParadox(path);
        for (TDateTime v : values) {
            TEngineRecord record{TVariant::FromDateTime(v), TVariant::FromDateTime(v), TVariant::FromDateTime(v)};
            cursor->InsertRecord(record, true);
        }
    }
    // The stored count is the day's milliseconds plus the time of day, not
    // the time mirrored below the day.
    EXPECT_EQ(StoredTimestamp(path, 0), 657072 * MsPerDayValue + (6 * 3600 + 30 * 60) * 1000.0 + 250);

    auto cursor = OpenParadox(path, true);
    auto records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), std::size(values));
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(PartsText(values[i]));
        EXPECT_EQ(PartsText(records[i][0].AsDateTime()), PartsText(values[i]));
        EXPECT_EQ(DateText(records[i][1].AsDateTime()), PartsText(values[i]).substr(0, 10));
        EXPECT_EQ(TimeText(records[i][2].AsDateTime()), PartsText(values[i]).substr(11));
    }
}

TEST(ParadoxExactValues, BcdKeepsEveryStoredDigitThroughTheDataset)
{
    TScratchDir dir;
    std::string path = dir.File("bcd.db");
    CreateTable(path, {Field("Id", ftInteger), Field("Amount", ftFMTBcd, 2), Field("Ratio", ftFMTBcd, 12)}, 1);
    {
        auto cursor = OpenParadox(path);
        TEngineRecord first{TVariant(int32_t(1)), TVariant(std::string("123456789012345678.12")),
                            TVariant(std::string("-12345678901234567890.123456789012"))};
        TEngineRecord second{TVariant(int32_t(2)), TVariant(std::string("0.05")), TVariant(std::string("1"))};
        cursor->InsertRecord(first, true);
        cursor->InsertRecord(second, true);
    }

    TParadoxTable open(path);
    TTable& table = open.Table;
    TField* amount = table.FieldByName("Amount");
    TField* ratio = table.FieldByName("Ratio");
    ASSERT_EQ(amount->DataType(), ftFMTBcd);
    EXPECT_EQ(amount->AsString(), "123456789012345678.12");
    EXPECT_EQ(ratio->AsString(), "-12345678901234567890.123456789012");
    EXPECT_DOUBLE_EQ(amount->AsFloat(), 123456789012345678.12);

    // Editing one digit at the far end writes exactly that digit back.
    table.Edit();
    amount->SetAsString("123456789012345678.13");
    table.Post();
    table.Next();
    EXPECT_EQ(amount->AsString(), "0.05");
    EXPECT_EQ(amount->AsCurrency().Scaled, 500);   // fits in currency: exact there too
    EXPECT_EQ(ratio->AsString(), "1");
    table.Close();

    auto cursor = OpenParadox(path, true);
    auto records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][1].AsString(), "123456789012345678.13");
    EXPECT_EQ(records[0][2].AsString(), "-12345678901234567890.123456789012");
    EXPECT_EQ(records[1][2].AsString(), "1.000000000000");
}

TEST(ParadoxExactValues, BcdRefusesWhatDoesNotFitAndRoundsTheExtraDecimals)
{
    TScratchDir dir;
    std::string path = dir.File("limits.db");
    CreateTable(path, {Field("Amount", ftFMTBcd, 2)});
    TParadoxTable open(path);
    TTable& table = open.Table;
    TField* amount = table.FieldByName("Amount");
    table.Append();
    EXPECT_THROW(amount->SetAsString("1234567890123456789012345678901.5"), EDatabaseError);   // 31 whole digits
    EXPECT_THROW(amount->SetAsString("12abc"), EConvertError);
    amount->SetAsString("2.345");   // half away from zero, as the table's own encoder rounds
    EXPECT_EQ(amount->AsString(), "2.35");
    amount->SetAsFloat(0.1);        // the double's shortest text, not its binary expansion
    EXPECT_EQ(amount->AsString(), "0.1");
    amount->SetAsCurrency(TCurrency::FromScaled(-12345));
    EXPECT_EQ(amount->AsString(), "-1.23");
    table.Post();
    table.Close();
    auto cursor = OpenParadox(path, true);
    EXPECT_EQ(ReadAll(*cursor)[0][0].AsString(), "-1.23");
}
