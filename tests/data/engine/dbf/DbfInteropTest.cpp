// Files written by the driver as another reader sees them, and edits to
// files other programs wrote that keep every byte the edit did not touch.

#include "DbfTestSupport.h"
#include "support/JsonValue.h"

#include "data/engine/EngineStatus.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

bool HasIndependentReader()
{
    return access("/usr/bin/python3", X_OK) == 0 &&
           std::system("/usr/bin/python3 -c 'import dbfread' >/dev/null 2>&1") == 0;
}

// The table as dbfread reads it: one JSON object per live record.
TJsonValue ReadWithDbfread(const std::string& path)
{
    std::string script =
        "import dbfread, json, sys, datetime, decimal\n"
        "t = dbfread.DBF(sys.argv[1], encoding='gbk', char_decode_errors='strict')\n"
        "def v(x):\n"
        "    if isinstance(x, (datetime.date, datetime.datetime)): return x.isoformat()\n"
        "    if isinstance(x, bytes): return x.hex()\n"
        "    if isinstance(x, (float, int, decimal.Decimal)) and not isinstance(x, bool): return repr(float(x))\n"
        "    return x\n"
        "print(json.dumps([{k: v(x) for k, x in r.items()} for r in t]))\n";
    std::string scriptPath = path + ".py";
    WriteFileBytes(scriptPath, script);
    std::string command = "/usr/bin/python3 " + scriptPath + " " + path;
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << output;
    return TJsonValue::Parse(output);
}

TEngineFieldDef Field(const std::string& name, TFieldType type, int size = 0, int precision = 0, int scale = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    return def;
}

} // namespace

class DbfIndependentReader : public ::testing::TestWithParam<const char*> {};

TEST_P(DbfIndependentReader, ReadsWhatTheDriverWrote)
{
    if (!HasIndependentReader())
        GTEST_SKIP() << "Debian's python3-dbfread is not installed";
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("shared.dbf");
    create.Level = GetParam();
    create.Fields = {Field("NAME", ftString, 24), Field("AMOUNT", ftFloat, 0, 12, 3), Field("QTY", ftInteger, 0, 7),
                     Field("OK", ftBoolean), Field("BORN", ftDate), Field("NOTES", ftMemo)};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        TEngineRecord a = {TVariant("王小明"), TVariant(-42.125), TVariant(int32_t(1234567)), TVariant(false),
                           TVariant::FromDateTime(MakeDate(2001, 2, 3)), TVariant("备注：第一行\r\n第二行")};
        cursor->InsertRecord(a, true);
        TEngineRecord gone = {TVariant("gone"), TVariant::Null(), TVariant::Null(), TVariant::Null(), TVariant::Null(), TVariant::Null()};
        cursor->InsertRecord(gone, true);
        cursor->DeleteRecord();
        TEngineRecord b = cursor->BlankRecord();
        b[0] = TVariant("second");
        cursor->InsertRecord(b, true);
    }
    TJsonValue rows = ReadWithDbfread(create.Path);
    ASSERT_EQ(rows.Items().size(), 2u) << "the deleted record is hidden from both readers";
    const TJsonValue& a = rows.Items()[0];
    EXPECT_EQ(a["NAME"].AsString(), "王小明");
    EXPECT_EQ(a["AMOUNT"].AsString(), "-42.125");
    EXPECT_EQ(a["QTY"].AsString(), "1234567.0");
    EXPECT_FALSE(a["OK"].AsBool());
    EXPECT_EQ(a["BORN"].AsString(), "2001-02-03");
    std::string memo = a["NOTES"].AsString();
    while (!memo.empty() && memo.back() == '\0')
        memo.pop_back();   // dbfread keeps a dBASE IV block's padding
    EXPECT_EQ(memo, "备注：第一行\r\n第二行");
    const TJsonValue& b = rows.Items()[1];
    EXPECT_EQ(b["NAME"].AsString(), "second");
    if (std::string(GetParam()) == "VFP")
        EXPECT_EQ(b["AMOUNT"].AsString(), "0.0") << "dbfread does not apply null flags to binary doubles";
    else
        EXPECT_TRUE(b["AMOUNT"].IsNull());
    EXPECT_TRUE(b["BORN"].IsNull());
    EXPECT_TRUE(b["OK"].IsNull());
}

INSTANTIATE_TEST_SUITE_P(Levels, DbfIndependentReader, ::testing::Values("III", "IV", "FOXPRO2", "VFP"));

TEST(DbfForeignEdit, EditingARecordKeepsEveryOtherByteOfTheFiles)
{
    TScratchDir dir;
    const std::string source = SharedDir() + "/testdata/dbf/infused_dbf/";
    CopyFile(source + "dbase_83.dbf", dir.File("dbase_83.dbf"));
    CopyFile(source + "dbase_83.dbt", dir.File("dbase_83.dbt"));
    const std::string tableBefore = ReadFileBytes(dir.File("dbase_83.dbf"));
    const std::string memoBefore = ReadFileBytes(dir.File("dbase_83.dbt"));

    auto cursor = OpenDbf(dir.File("dbase_83.dbf"));
    ASSERT_TRUE(cursor->CanModify());
    const auto& defs = cursor->FieldDefs();
    size_t name = 0, desc = 0;
    for (size_t i = 0; i < defs.size(); ++i) {
        if (defs[i].Name == "NAME") name = i;
        if (defs[i].Name == "DESC") desc = i;
    }
    ASSERT_TRUE(cursor->SetRecNo(5));
    TEngineRecord record;
    cursor->LockRecord(record);
    record[name] = TVariant("Renamed petits fours");
    record[desc] = TVariant("A new description.");
    cursor->ModifyRecord(record);
    cursor.reset();

    const std::string tableAfter = ReadFileBytes(dir.File("dbase_83.dbf"));
    ASSERT_EQ(tableAfter.size(), tableBefore.size());
    const size_t headerLength = static_cast<uint8_t>(tableBefore[8]) | (static_cast<uint8_t>(tableBefore[9]) << 8);
    const size_t recordLength = static_cast<uint8_t>(tableBefore[10]) | (static_cast<uint8_t>(tableBefore[11]) << 8);
    const size_t editedStart = headerLength + 4 * recordLength;
    for (size_t i = 0; i < tableBefore.size(); ++i) {
        bool headerDate = i >= 1 && i <= 3;
        bool editedRecord = i >= editedStart && i < editedStart + recordLength;
        if (!headerDate && !editedRecord) {
            ASSERT_EQ(tableAfter[i], tableBefore[i]) << "byte " << i << " changed";
        }
    }
    // Within the edited record only the two edited fields changed.
    std::string oldRecord = tableBefore.substr(editedStart, recordLength);
    std::string newRecord = tableAfter.substr(editedStart, recordLength);
    size_t changed = 0;
    for (size_t i = 0; i < recordLength; ++i)
        changed += oldRecord[i] != newRecord[i];
    EXPECT_GT(changed, 0u);
    EXPECT_NE(newRecord.find("Renamed petits fours"), std::string::npos);

    // The memo file only grew: the old blocks and header tail are as they were.
    const std::string memoAfter = ReadFileBytes(dir.File("dbase_83.dbt"));
    ASSERT_GT(memoAfter.size(), memoBefore.size());
    EXPECT_EQ(memoAfter.substr(4, memoBefore.size() - 4), memoBefore.substr(4));

    auto reread = OpenDbf(dir.File("dbase_83.dbf"), true);
    ASSERT_TRUE(reread->SetRecNo(5));
    TEngineRecord again;
    ASSERT_TRUE(reread->ReadCurrent(again));
    EXPECT_EQ(again[name].AsString(), "Renamed petits fours");
    EXPECT_EQ(again[desc].AsString(), "A new description.");
}

TEST(DbfForeignEdit, TablesWithProductionIndexesOpenReadOnly)
{
    TScratchDir dir;
    const std::string source = SharedDir() + "/testdata/dbf/MPSystemsServices_CodeBase-for-DBF/";
    CopyFile(source + "STUDENT.DBF", dir.File("STUDENT.DBF"));   // flag byte 28 set
    auto flagged = OpenDbf(dir.File("STUDENT.DBF"));
    EXPECT_FALSE(flagged->CanModify());

    CopyFile(SharedDir() + "/testdata/dbf/olemb_dbfread/people.dbf", dir.File("people.dbf"));
    EXPECT_TRUE(OpenDbf(dir.File("people.dbf"))->CanModify());
    WriteFileBytes(dir.File("PEOPLE.CDX"), "index");
    auto indexed = OpenDbf(dir.File("people.dbf"));
    EXPECT_FALSE(indexed->CanModify());
    TEngineRecord record;
    ASSERT_TRUE(indexed->Next(record));
    try {
        indexed->DeleteRecord();
        FAIL() << "a table with an index file must not be changed";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_TABLEREADONLY);
        EXPECT_NE(e.Message().find("index"), std::string::npos) << e.Message();
    }
}

TEST(DbfSharing, ASecondCursorCannotLockALockedRecordAndSeesAppendsAfterRefresh)
{
    TScratchDir dir;
    CopyFile(SharedDir() + "/testdata/dbf/olemb_dbfread/people.dbf", dir.File("people.dbf"));
    auto first = OpenDbf(dir.File("people.dbf"));
    auto second = OpenDbf(dir.File("people.dbf"));
    TEngineRecord a, b;
    ASSERT_TRUE(first->Next(a));
    ASSERT_TRUE(second->Next(b));
    first->LockRecord(a);
    try {
        second->LockRecord(b);
        FAIL() << "the record is locked by the first cursor";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_LOCKED);
        EXPECT_NE(e.Message().find("Record locked by another user."), std::string::npos);
    }
    ASSERT_TRUE(second->Next(b));
    second->LockRecord(b);   // another record is free
    second->UnlockRecord();

    // An edit starts from the stored values: the first cursor's post is
    // what the second one reads when it locks the record.
    a[0] = TVariant("Alicia");
    first->ModifyRecord(a);
    second->SetToBegin();
    ASSERT_TRUE(second->Next(b));
    second->LockRecord(b);
    EXPECT_EQ(b[0].AsString(), "Alicia");
    second->UnlockRecord();

    int64_t before = second->RecordCount();
    TEngineRecord added = first->BlankRecord();
    added[0] = TVariant("Carol");
    first->InsertRecord(added, true);
    second->Refresh();
    EXPECT_EQ(second->RecordCount(), before + 1);
    second->SetToEnd();
    ASSERT_TRUE(second->Prior(b));
    EXPECT_EQ(b[0].AsString(), "Carol");
}

TEST(DbfBookmarks, AreRecordNumbersThatCompareAsNumbersAndAsBytes)
{
    TScratchDir dir;
    CopyFile(SharedDir() + "/testdata/dbf/yortus_DBFFile/PYACFL.DBF", dir.File("PYACFL.DBF"));
    auto cursor = OpenDbf(dir.File("PYACFL.DBF"), true);
    EXPECT_EQ(cursor->RecordCount(), 15);
    EXPECT_FALSE(cursor->SetRecNo(1)) << "record 1 is deleted";
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(cursor->RecNo(), 31);
    std::string early = cursor->Bookmark();
    cursor->SetToEnd();
    ASSERT_TRUE(cursor->Prior(record));
    std::string late = cursor->Bookmark();
    EXPECT_LT(cursor->CompareBookmarks(early, late), 0);
    EXPECT_GT(cursor->CompareBookmarks(late, early), 0);
    EXPECT_LT(early, late);
    ASSERT_TRUE(cursor->GotoBookmark(early));
    EXPECT_EQ(cursor->RecNo(), 31);
    EXPECT_FALSE(cursor->GotoBookmark(std::string("\0\0\0\0\0\0\0\x02", 8))) << "a deleted record";
}

// Tables of other writers in several dialects and code pages: editing the
// widest text field of the first record changes that field, the header date
// and nothing else.
class DbfForeignTextEdit : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(DbfForeignTextEdit, ChangesOnlyTheEditedFieldAndTheHeaderDate)
{
    TScratchDir dir;
    const std::string source = SharedDir() + "/testdata/dbf/" + GetParam().first;
    const std::string table = dir.File("t.dbf");
    CopyFile(source, table);
    const std::string before = ReadFileBytes(table);

    auto cursor = OpenDbf(table);
    ASSERT_TRUE(cursor->CanModify());
    size_t column = 0;   // the widest text field
    for (size_t i = 0; i < cursor->FieldDefs().size(); ++i)
        if (cursor->FieldDefs()[i].DataType == ftString && cursor->FieldDefs()[i].Size > cursor->FieldDefs()[column].Size)
            column = i;
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    const int64_t recNo = cursor->RecNo();
    cursor->LockRecord(record);
    record[column] = TVariant(GetParam().second);
    cursor->ModifyRecord(record);
    cursor.reset();

    const std::string after = ReadFileBytes(table);
    ASSERT_EQ(after.size(), before.size());
    const size_t headerLength = static_cast<uint8_t>(before[8]) | (static_cast<uint8_t>(before[9]) << 8);
    const size_t recordLength = static_cast<uint8_t>(before[10]) | (static_cast<uint8_t>(before[11]) << 8);
    const size_t start = headerLength + static_cast<size_t>(recNo - 1) * recordLength;
    size_t changedOutside = 0, changedInside = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i])
            continue;
        if (i >= start && i < start + recordLength)
            ++changedInside;
        else if (i < 1 || i > 3)
            ++changedOutside;
    }
    EXPECT_EQ(changedOutside, 0u);
    EXPECT_GT(changedInside, 0u);

    auto reread = OpenDbf(table, true);
    ASSERT_TRUE(reread->Next(record));
    EXPECT_EQ(record[column].AsString(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, DbfForeignTextEdit,
    ::testing::Values(std::make_pair("yortus_DBFFile/vfp9_30.dbf", "José Núñez"),
                      std::make_pair("albfernandez_javadbf/provincias_es.dbf", "Ávila"),
                      std::make_pair("tmontaigu_dbase-rs/cp936.dbf", "改过的中文"),
                      std::make_pair("caicai147_caicai147.github.io/testDBF.dbf", "张三"),
                      std::make_pair("infused_dbf/dbase_03_cyrillic.dbf", "Изменено")));

TEST(DbfSharing, AnExclusiveOpenAndOtherOpensKeepEachOtherOut)
{
    TScratchDir dir;
    CopyFile(SharedDir() + "/testdata/dbf/olemb_dbfread/people.dbf", dir.File("people.dbf"));
    TOpenTableParams exclusive;
    exclusive.Path = dir.File("people.dbf");
    exclusive.Exclusive = true;
    {
        auto owner = DbfDriver().OpenTable(exclusive);
        try {
            OpenDbf(dir.File("people.dbf"), true);
            FAIL() << "the table is open exclusively";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_FILELOCKED);
        }
    }
    auto reader = OpenDbf(dir.File("people.dbf"), true);
    auto writer = OpenDbf(dir.File("people.dbf"));
    EXPECT_THROW(DbfDriver().OpenTable(exclusive), EDBEngineError);
    reader.reset();
    writer.reset();
    EXPECT_NO_THROW(DbfDriver().OpenTable(exclusive));
}
