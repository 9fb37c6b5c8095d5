// Tables written by the driver in every dialect, read back through the
// driver; posts that fail leave the files as they were.

#include "DbfTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

namespace {

TEngineFieldDef Field(const std::string& name, TFieldType type, int size = 0, int precision = 0, int scale = 0,
                      const std::string& native = "")
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    def.NativeType = native;
    return def;
}

int ColumnOf(TEngineCursor& cursor, const std::string& name)
{
    const auto& defs = cursor.FieldDefs();
    for (size_t i = 0; i < defs.size(); ++i)
        if (defs[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

const std::string LongChinese = [] {
    std::string s;
    for (int i = 0; i < 120; ++i)
        s += "长文本备注第" + std::to_string(i) + "行；";
    return s;
}();

struct TLevelCase {
    const char* Level;
    bool VisualFoxPro;
    bool Level7;
};

class DbfRoundTrip : public ::testing::TestWithParam<TLevelCase> {};

std::vector<TEngineFieldDef> FieldsFor(const TLevelCase& c)
{
    std::vector<TEngineFieldDef> fields = {
        Field("NAME", ftString, 20),
        Field("AMOUNT", ftFloat, 0, 10, 2),
        Field("QTY", ftInteger, 0, 6, 0),
        Field("BIG", ftLargeint, 0, 18, 0),
        Field("OK", ftBoolean),
        Field("BORN", ftDate),
        Field("NOTES", ftMemo),
    };
    if (c.VisualFoxPro || c.Level7) {
        fields.push_back(Field("ID", ftAutoInc));
        fields.push_back(Field("STAMP", ftDateTime));
        fields.push_back(Field("RATIO", ftFloat));
        fields.push_back(Field("LONGNUM", ftInteger));
        fields.push_back(Field("PICTURE", ftBlob));
    }
    if (c.VisualFoxPro) {
        fields.push_back(Field("PRICE", ftCurrency));
        fields.push_back(Field("CODE", ftString, 10, 0, 0, "V"));
        fields.push_back(Field("RAW", ftVarBytes, 6));
        fields.push_back(Field("TAG", ftBytes, 4));
    }
    return fields;
}

void SetValue(TEngineCursor& cursor, TEngineRecord& record, const std::string& name, TVariant value)
{
    int column = ColumnOf(cursor, name);
    if (column >= 0)
        record[static_cast<size_t>(column)] = std::move(value);
}

} // namespace

TEST_P(DbfRoundTrip, EveryTypeMemosNullsChineseAndDeletedRecordsReadBack)
{
    const TLevelCase c = GetParam();
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("round.dbf");
    create.Level = c.Level;
    create.Fields = FieldsFor(c);
    DbfDriver().CreateTable(create);

    auto cursor = OpenDbf(create.Path);
    ASSERT_TRUE(cursor->CanModify());
    EXPECT_EQ(cursor->CodePage(), 936);
    EXPECT_FALSE(cursor->IsSequenced());

    TEngineRecord first = cursor->BlankRecord();
    SetValue(*cursor, first, "NAME", "中文名字 abc");
    SetValue(*cursor, first, "AMOUNT", -1234.5);
    SetValue(*cursor, first, "QTY", int32_t(99999));
    SetValue(*cursor, first, "BIG", int64_t(123456789012345678));
    SetValue(*cursor, first, "OK", true);
    SetValue(*cursor, first, "BORN", TVariant::FromDateTime(MakeDate(1999, 12, 31)));
    SetValue(*cursor, first, "NOTES", LongChinese);
    SetValue(*cursor, first, "STAMP", TVariant::FromDateTime(MakeDate(2024, 2, 29) + (13 * 3600 + 14 * 60 + 15) / 86400.0));
    SetValue(*cursor, first, "RATIO", 0.1);
    SetValue(*cursor, first, "LONGNUM", int32_t(-2000000000));
    SetValue(*cursor, first, "PICTURE", TBytes{0x00, 0x1A, 0xFF, 0x1F, 0x42});
    SetValue(*cursor, first, "PRICE", 12.3456);
    SetValue(*cursor, first, "CODE", "ab");
    SetValue(*cursor, first, "RAW", TBytes{1, 2, 3});
    SetValue(*cursor, first, "TAG", TBytes{9, 8, 7, 6});
    cursor->InsertRecord(first, true);
    EXPECT_EQ(cursor->RecNo(), 1);

    TEngineRecord empty = cursor->BlankRecord();
    cursor->InsertRecord(empty, true);
    TEngineRecord doomed = cursor->BlankRecord();
    SetValue(*cursor, doomed, "NAME", "deleted");
    cursor->InsertRecord(doomed, true);
    cursor->DeleteRecord();
    TEngineRecord last = cursor->BlankRecord();
    SetValue(*cursor, last, "NAME", "last");
    cursor->InsertRecord(last, true);
    EXPECT_EQ(cursor->RecordCount(), 3);
    cursor.reset();

    auto reread = OpenDbf(create.Path, true);
    std::vector<TEngineRecord> records = ReadAll(*reread);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(reread->RecordCount(), 3);
    auto value = [&](size_t row, const std::string& name) { return records[row][static_cast<size_t>(ColumnOf(*reread, name))]; };
    EXPECT_EQ(value(0, "NAME").AsString(), "中文名字 abc");
    EXPECT_DOUBLE_EQ(value(0, "AMOUNT").AsDouble(), -1234.5);
    EXPECT_EQ(value(0, "QTY").AsInt64(), 99999);
    EXPECT_EQ(value(0, "BIG").AsInt64(), 123456789012345678);
    EXPECT_TRUE(value(0, "OK").AsBoolean());
    EXPECT_EQ(value(0, "BORN").AsDateTime(), MakeDate(1999, 12, 31));
    EXPECT_EQ(value(0, "NOTES").AsString(), LongChinese);
    EXPECT_EQ(value(2, "NAME").AsString(), "last");
    EXPECT_TRUE(value(1, "AMOUNT").IsNull());
    EXPECT_TRUE(value(1, "OK").IsNull());
    EXPECT_TRUE(value(1, "BORN").IsNull());
    EXPECT_TRUE(value(1, "NOTES").IsNull());
    if (c.VisualFoxPro || c.Level7) {
        EXPECT_EQ(value(0, "ID").AsInteger(), 1);
        EXPECT_EQ(value(1, "ID").AsInteger(), 2);
        EXPECT_EQ(value(2, "ID").AsInteger(), 4) << "the deleted record used number 3";
        EXPECT_NEAR(value(0, "STAMP").AsDateTime(), MakeDate(2024, 2, 29) + (13 * 3600 + 14 * 60 + 15) / 86400.0, 1e-8);
        EXPECT_EQ(value(0, "RATIO").AsDouble(), 0.1);
        EXPECT_EQ(value(0, "LONGNUM").AsInteger(), -2000000000);
        EXPECT_EQ(value(0, "PICTURE").AsBytes(), (TBytes{0x00, 0x1A, 0xFF, 0x1F, 0x42}));
        EXPECT_TRUE(value(1, "STAMP").IsNull());
    }
    if (c.VisualFoxPro) {
        EXPECT_DOUBLE_EQ(value(0, "PRICE").AsDouble(), 12.3456);
        EXPECT_EQ(value(0, "CODE").AsString(), "ab");
        EXPECT_EQ(value(0, "RAW").AsBytes(), (TBytes{1, 2, 3}));
        EXPECT_EQ(value(0, "TAG").AsBytes(), (TBytes{9, 8, 7, 6}));
        EXPECT_TRUE(value(1, "NAME").IsNull()) << "Visual FoxPro keeps nulls";
        EXPECT_TRUE(value(1, "RATIO").IsNull());
        EXPECT_TRUE(value(1, "CODE").IsNull());
    } else {
        EXPECT_EQ(value(1, "NAME").AsString(), "") << "blank text reads as empty";
    }

    // The file is one every reader accepts: count, EOF marker, length.
    std::string bytes = ReadFileBytes(create.Path);
    uint32_t count = static_cast<uint8_t>(bytes[4]) | (static_cast<uint8_t>(bytes[5]) << 8);
    uint32_t headerLength = static_cast<uint8_t>(bytes[8]) | (static_cast<uint8_t>(bytes[9]) << 8);
    uint32_t recordLength = static_cast<uint8_t>(bytes[10]) | (static_cast<uint8_t>(bytes[11]) << 8);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(bytes.size(), headerLength + count * recordLength + 1);
    EXPECT_EQ(bytes.back(), '\x1A');
}

INSTANTIATE_TEST_SUITE_P(Levels, DbfRoundTrip,
                         ::testing::Values(TLevelCase{"III", false, false}, TLevelCase{"IV", false, false},
                                           TLevelCase{"7", false, true}, TLevelCase{"FOXPRO2", false, false},
                                           TLevelCase{"VFP", true, false}),
                         [](const auto& info) { return std::string(info.param.Level == std::string("III") ? "dBase3" : info.param.Level == std::string("IV") ? "dBase4" : info.param.Level == std::string("7") ? "dBase7" : info.param.Level); });

class DbfWriteFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        TCreateTableParams create;
        create.Path = FDir.File("fail.dbf");
        create.Level = "IV";
        create.CodePage = 1252;
        create.Fields = {Field("NAME", ftString, 8), Field("PRICE", ftFloat, 0, 6, 2), Field("NOTES", ftMemo)};
        DbfDriver().CreateTable(create);
        FPath = create.Path;
        auto cursor = OpenDbf(FPath);
        TEngineRecord record = {TVariant("ok"), TVariant(1.5), TVariant("memo")};
        cursor->InsertRecord(record, true);
        FTable = ReadFileBytes(FPath);
        FMemo = ReadFileBytes(FDir.File("fail.dbt"));
    }

    void ExpectFilesUnchanged()
    {
        EXPECT_EQ(ReadFileBytes(FPath), FTable);
        EXPECT_EQ(ReadFileBytes(FDir.File("fail.dbt")), FMemo);
    }

    TScratchDir FDir;
    std::string FPath, FTable, FMemo;
};

TEST_F(DbfWriteFailure, ANumberTooWideIsRefusedNotWrittenAsAsterisks)
{
    auto cursor = OpenDbf(FPath);
    TEngineRecord record = {TVariant("new"), TVariant(12345.678), TVariant("a new memo")};
    try {
        cursor->InsertRecord(record, true);
        FAIL() << "the value does not fit N(6,2)";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDFIELDVALUE);
        EXPECT_NE(e.Message().find("12345.68"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("PRICE"), std::string::npos) << e.Message();
    }
    ExpectFilesUnchanged();
    // Rounding that reaches the width is refused too; one that fits is kept.
    TEngineRecord stored;
    cursor->SetToBegin();
    ASSERT_TRUE(cursor->Next(stored));
    EXPECT_THROW(cursor->ModifyRecord({TVariant("ok"), TVariant(999.995), TVariant("memo")}), EDBEngineError);
    ExpectFilesUnchanged();
    cursor->ModifyRecord({TVariant("ok"), TVariant(-99.994), TVariant("memo")});
    EXPECT_NE(ReadFileBytes(FPath).find("-99.99"), std::string::npos);
}

TEST_F(DbfWriteFailure, ACharacterTheCodePageLacksFailsThePostAndChangesNothing)
{
    auto cursor = OpenDbf(FPath);
    TEngineRecord stored;
    cursor->SetToBegin();
    ASSERT_TRUE(cursor->Next(stored));
    try {
        cursor->ModifyRecord({TVariant("ok"), TVariant(2.5), TVariant("备注")});
        FAIL() << "code page 1252 has no Chinese";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDCHAR);
        EXPECT_NE(e.Message().find("备"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("NOTES"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(cursor->ModifyRecord({TVariant("toolongtext"), TVariant(2.5), TVariant("x")}), EDBEngineError);
    ExpectFilesUnchanged();
}

TEST_F(DbfWriteFailure, AFileNobodyMayWriteOpensReadOnlyOnlyWhenAskedSo)
{
    ASSERT_EQ(chmod(FPath.c_str(), 0444), 0);
    try {
        OpenDbf(FPath);
        FAIL() << "a read-write open of a read-only file";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_TABLEREADONLY);
    }
    auto cursor = OpenDbf(FPath, true);
    EXPECT_FALSE(cursor->CanModify());
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_THROW(cursor->ModifyRecord(record), EDBEngineError);
    ExpectFilesUnchanged();
}

TEST(DbfAutoIncrement, ADBase7CounterNeverRepeatsANumberTheTableHolds)
{
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("counter.dbf");
    create.Level = "7";
    create.Fields = {Field("ID", ftAutoInc), Field("NAME", ftString, 10)};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        for (int i = 0; i < 3; ++i) {
            TEngineRecord record = {TVariant::Null(), TVariant("n" + std::to_string(i))};
            cursor->InsertRecord(record, true);
            EXPECT_EQ(record[0].AsInteger(), i + 1) << "the assigned value comes back";
        }
    }
    // Another writer left the counter at zero.
    std::string bytes = ReadFileBytes(create.Path);
    const size_t descriptor = 68;
    for (size_t i = 40; i < 48; ++i)
        bytes[descriptor + i] = '\0';
    WriteFileBytes(create.Path, bytes);
    auto cursor = OpenDbf(create.Path);
    TEngineRecord record = {TVariant::Null(), TVariant("next")};
    cursor->InsertRecord(record, true);
    EXPECT_EQ(record[0].AsInteger(), 4);
}
