// Creating tables and writing records: every type at every level, keyed
// order, splits, deletes, blobs, auto-increment, required fields, and
// failures that must leave the files as they were.

#include "ParadoxTestSupport.h"
#include "PxIndexCheck.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/ParadoxCursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <filesystem>
#include <sys/stat.h>

namespace {

TEngineFieldDef Field(const std::string& name, TFieldType type, int size = 0, const std::string& native = "")
{
    TEngineFieldDef d;
    d.Name = name;
    d.DataType = type;
    d.Size = size;
    d.NativeType = native;
    return d;
}

void Create(const std::string& path, std::vector<TEngineFieldDef> fields, int keys, const std::string& level = "7",
            const std::string& password = "", int codePage = 1252)
{
    TCreateTableParams p;
    p.Path = path;
    p.Fields = std::move(fields);
    p.KeyFieldCount = keys;
    p.Level = level;
    p.Password = password;
    p.CodePage = codePage;
    CreateParadoxDriver()->CreateTable(p);
}

TEngineRecord Rec(std::initializer_list<TVariant> values) { return TEngineRecord(values); }

std::vector<int32_t> IntColumn(TEngineCursor& cursor, int field)
{
    std::vector<int32_t> values;
    for (const auto& r : ReadAll(cursor))
        values.push_back(r[field].AsInteger());
    return values;
}

uint16_t ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDBEngineError& e) {
        return e.ErrorCode();
    }
    return 0;
}

} // namespace

TEST(ParadoxWrite, NonKeyedAppendInsertModifyDeleteKeepsOrderAndCounts)
{
    TScratchDir dir;
    std::string path = dir.File("plain.db");
    Create(path, {Field("Id", ftInteger), Field("Name", ftString, 40)}, 0);
    auto cursor = OpenParadox(path);
    ASSERT_TRUE(cursor->CanModify());
    for (int i = 1; i <= 200; ++i) {
        TEngineRecord r = Rec({TVariant(int32_t(i * 10)), TVariant("row " + std::to_string(i))});
        cursor->InsertRecord(r, true);
        EXPECT_EQ(cursor->RecNo(), i);
    }
    // Insert before record 5 (Id 50): shifts the rest down, splits a full block.
    ASSERT_TRUE(cursor->SetRecNo(5));
    TEngineRecord mid = Rec({TVariant(int32_t(45)), TVariant("between")});
    cursor->InsertRecord(mid, false);
    EXPECT_EQ(cursor->RecNo(), 5);
    ASSERT_TRUE(cursor->SetRecNo(100));
    cursor->DeleteRecord();
    TEngineRecord next;
    ASSERT_TRUE(cursor->Next(next));
    EXPECT_EQ(next[0].AsInteger(), 1000);   // record 100 was Id 990
    ASSERT_TRUE(cursor->SetRecNo(1));
    cursor->ModifyRecord(Rec({TVariant(int32_t(5)), TVariant("first")}));

    cursor.reset();
    auto again = OpenParadox(path);
    EXPECT_EQ(again->RecordCount(), 200);
    auto ids = IntColumn(*again, 0);
    std::vector<int32_t> expected;
    for (int i = 1; i <= 200; ++i)
        if (i != 99) expected.push_back(i * 10);
    expected.insert(expected.begin() + 4, 45);
    expected[0] = 5;
    EXPECT_EQ(ids, expected);
    EXPECT_TRUE(again->CanModify()) << "the written file must be consistent";
    EXPECT_TRUE(PxTableIsConsistent(path));
}

TEST(ParadoxWrite, KeyedTableKeepsKeyOrderAndRefusesDuplicates)
{
    TScratchDir dir;
    std::string path = dir.File("keyed.db");
    Create(path, {Field("Key", ftInteger), Field("Text", ftString, 60)}, 1);
    auto cursor = OpenParadox(path);
    std::mt19937 random(7);
    std::set<int32_t> keys;
    while (keys.size() < 2000) {
        int32_t key = static_cast<int32_t>(random() % 1000000) - 500000;
        TEngineRecord r = Rec({TVariant(key), TVariant("v" + std::to_string(key))});
        if (keys.count(key)) {
            EXPECT_EQ(ErrorOf([&] { cursor->InsertRecord(r, false); }), DBIERR_KEYVIOL);
            continue;
        }
        cursor->InsertRecord(r, false);
        keys.insert(key);
        TEngineRecord current;
        ASSERT_TRUE(cursor->ReadCurrent(current));
        EXPECT_EQ(current[0].AsInteger(), key);
        EXPECT_EQ(cursor->RecNo(), std::distance(keys.begin(), keys.find(key)) + 1);
    }
    auto ids = IntColumn(*cursor, 0);
    EXPECT_EQ(ids, std::vector<int32_t>(keys.begin(), keys.end()));
    std::string why;
    EXPECT_TRUE(PxIndexIsValid(path, &why)) << why;

    // Key change moves the record; a clash is a key violation and changes nothing.
    ASSERT_TRUE(cursor->SetRecNo(1));
    TEngineRecord first;
    cursor->ReadCurrent(first);
    first[0] = TVariant(int32_t(900000));
    cursor->ModifyRecord(first);
    EXPECT_EQ(cursor->RecNo(), cursor->RecordCount());
    std::string before = ReadFileBytes(path);
    ASSERT_TRUE(cursor->SetRecNo(1));
    TEngineRecord clash;
    cursor->ReadCurrent(clash);
    clash[0] = TVariant(int32_t(900000));
    EXPECT_EQ(ErrorOf([&] { cursor->ModifyRecord(clash); }), DBIERR_KEYVIOL);
    EXPECT_EQ(ReadFileBytes(path), before);
    try {
        cursor->ModifyRecord(clash);
    } catch (const EDBEngineError& e) {
        EXPECT_NE(e.Message().find("same value of Key exists"), std::string::npos) << e.Message();
    }

    // Deleting everything leaves a valid empty table.
    while (cursor->RecordCount() > 0) {
        ASSERT_TRUE(cursor->SetRecNo(1 + static_cast<int64_t>(random() % cursor->RecordCount())));
        cursor->DeleteRecord();
    }
    EXPECT_TRUE(PxIndexIsValid(path, &why)) << why;
    auto reopened = OpenParadox(path);
    EXPECT_EQ(reopened->RecordCount(), 0);
    EXPECT_TRUE(reopened->CanModify());
}

TEST(ParadoxWrite, RequiredFieldsAndDefaultsComeFromTheValidityFile)
{
    TScratchDir dir;
    // logical.val: the field BOOL is required and defaults to true.
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/fields/logical.db"));
    auto cursor = OpenParadox(path);
    ASSERT_TRUE(cursor->CanModify());
    EXPECT_TRUE(cursor->FieldDefs()[0].Required);
    TEngineRecord blank = cursor->BlankRecord();
    ASSERT_FALSE(blank[0].IsNull());
    EXPECT_TRUE(blank[0].AsBoolean());
    std::string before = ReadFileBytes(path);
    TEngineRecord empty{TVariant::Null()};
    EXPECT_EQ(ErrorOf([&] { cursor->InsertRecord(empty, true); }), DBIERR_REQDERR);
    EXPECT_EQ(ReadFileBytes(path), before);
    TEngineRecord no{TVariant(false)};
    cursor->InsertRecord(no, true);
    EXPECT_EQ(OpenParadox(path, true)->RecordCount(), 5);
}

TEST(ParadoxWrite, AutoIncrementValuesAreTheEnginesAndNeverReused)
{
    TScratchDir dir;
    // long.db: keyed on a + field whose header value is above the highest key.
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/fields/long.db"));
    auto cursor = OpenParadox(path);
    ASSERT_TRUE(cursor->CanModify()) << static_cast<TParadoxCursor&>(*cursor).ReadOnlyReason();
    auto before = IntColumn(*cursor, 0);
    int32_t highest = *std::max_element(before.begin(), before.end());
    TEngineRecord r{TVariant(int32_t(1)), TVariant(int32_t(77))};   // the given 1 is ignored
    cursor->InsertRecord(r, true);
    EXPECT_GT(r[0].AsInteger(), highest);
    int32_t assigned = r[0].AsInteger();
    cursor->DeleteRecord();
    TEngineRecord again{TVariant::Null(), TVariant(int32_t(78))};
    cursor->InsertRecord(again, true);
    EXPECT_EQ(again[0].AsInteger(), assigned + 1);
    EXPECT_TRUE(PxIndexIsValid(path));
}

TEST(ParadoxWrite, TenThousandRandomKeysKeepKeyOrderAndAValidIndex)
{
    TScratchDir dir;
    std::string path = dir.File("random.db");
    Create(path, {Field("Key", ftInteger), Field("Name", ftString, 50)}, 1);
    auto cursor = OpenParadox(path);
    std::mt19937 random(2024);
    std::set<int32_t> keys;
    while (keys.size() < 10000) {
        int32_t key = static_cast<int32_t>(random() % 2000000000) - 1000000000;
        if (!keys.insert(key).second)
            continue;
        TEngineRecord r{TVariant(key), TVariant("k" + std::to_string(key))};
        cursor->InsertRecord(r, false);
    }
    EXPECT_EQ(IntColumn(*cursor, 0), std::vector<int32_t>(keys.begin(), keys.end()));
    std::string why;
    ASSERT_TRUE(PxIndexIsValid(path, &why)) << why;
    std::string px = ReadFileBytes(dir.File("random.px"));
    EXPECT_GE(static_cast<uint8_t>(px[0x20]), 2) << "a table of this size has an index of several levels";

    // Delete half, insert again: freed blocks are reused, order and index stay right.
    auto sizeBefore = ReadFileBytes(path).size();
    std::vector<int32_t> all(keys.begin(), keys.end());
    std::shuffle(all.begin(), all.end(), random);
    for (size_t i = 0; i < all.size() / 2; ++i) {
        TEngineRecord probe{TVariant(all[i]), TVariant::Null()};
        int64_t recNo = std::distance(keys.begin(), keys.find(all[i])) + 1;
        ASSERT_TRUE(cursor->SetRecNo(recNo));
        TEngineRecord current;
        cursor->ReadCurrent(current);
        ASSERT_EQ(current[0].AsInteger(), all[i]);
        cursor->DeleteRecord();
        keys.erase(all[i]);
    }
    ASSERT_TRUE(PxIndexIsValid(path, &why)) << why;
    for (size_t i = 0; i < all.size() / 2; ++i) {
        TEngineRecord r{TVariant(all[i]), TVariant("again")};
        cursor->InsertRecord(r, false);
        keys.insert(all[i]);
    }
    EXPECT_EQ(IntColumn(*cursor, 0), std::vector<int32_t>(keys.begin(), keys.end()));
    ASSERT_TRUE(PxIndexIsValid(path, &why)) << why;
    EXPECT_LE(ReadFileBytes(path).size(), sizeBefore * 11 / 10);
}

TEST(ParadoxWrite, CreateTableRefusesWhatTheFormatCannotHold)
{
    TScratchDir dir;
    std::string path = dir.File("bad.db");
    auto errorOf = [&](std::vector<TEngineFieldDef> fields, int keys, const std::string& level) {
        return ErrorOf([&] { Create(path, fields, keys, level); });
    };
    EXPECT_EQ(errorOf({Field("A", ftString, 10), Field("a", ftInteger)}, 0, "7"), DBIERR_INVALIDPARAM) << "same name twice";
    EXPECT_EQ(errorOf({Field("ThisFieldNameIsLongerThan25", ftInteger)}, 0, "7"), DBIERR_INVALIDPARAM);
    EXPECT_EQ(errorOf({Field("Flag", ftBoolean)}, 0, "4"), DBIERR_INVALIDPARAM) << "L needs level 5";
    EXPECT_EQ(errorOf({Field("Note", ftMemo)}, 0, "3"), DBIERR_INVALIDPARAM) << "blobs need level 4";
    EXPECT_EQ(errorOf({Field("Note", ftMemo), Field("Id", ftInteger)}, 1, "7"), DBIERR_INVALIDPARAM) << "blob key";
    EXPECT_EQ(errorOf({Field("Big", ftLargeint)}, 0, "7"), DBIERR_INVALIDPARAM);
    EXPECT_EQ(errorOf({Field("Text", ftString, 256)}, 0, "7"), DBIERR_INVALIDPARAM);
    EXPECT_EQ(errorOf({Field("Id", ftInteger)}, 0, "6"), DBIERR_INVALIDPARAM) << "no level 6";
    std::vector<TEngineFieldDef> wide;
    for (int i = 0; i < 20; ++i)
        wide.push_back(Field("T" + std::to_string(i), ftString, 255));
    EXPECT_EQ(errorOf(wide, 1, "4"), DBIERR_RECTOOBIG) << "5,100 bytes keyed at level 4";
    EXPECT_FALSE(std::filesystem::exists(path)) << "a refused definition writes nothing";
    EXPECT_EQ(errorOf(wide, 1, "7"), 0) << "level 7 takes larger blocks";
    EXPECT_TRUE(OpenParadox(path)->CanModify());
}

TEST(ParadoxWrite, CreatedTablesRecordLevelCodePageAndPassword)
{
    TScratchDir dir;
    std::string path = dir.File("made.db");
    Create(path, {Field("Id", ftInteger), Field("Name", ftString, 20)}, 1, "5", "geheim", 0);
    std::string header = ReadFileBytes(path);
    EXPECT_EQ(static_cast<uint8_t>(header[0x39]), 0x0B);
    EXPECT_EQ(static_cast<uint8_t>(header[0x6A]) | (static_cast<uint8_t>(header[0x6B]) << 8), 936);
    EXPECT_EQ(ErrorOf([&] { OpenParadox(path); }), DBIERR_NOTSUFFTABLERIGHTS);
    auto cursor = OpenParadox(path, false, {"geheim"});
    EXPECT_EQ(cursor->CodePage(), 936);
    TEngineRecord r{TVariant(int32_t(1)), TVariant("中文")};
    cursor->InsertRecord(r, false);
    TEngineRecord back;
    ASSERT_TRUE(cursor->ReadCurrent(back));
    EXPECT_EQ(back[1].AsString(), "中文");
    TEngineRecord tooLong{TVariant(int32_t(2)), TVariant("中文中文中文中文中文中文")};   // 24 bytes in GBK
    EXPECT_EQ(ErrorOf([&] { cursor->InsertRecord(tooLong, false); }), DBIERR_INVALIDFIELDVALUE);
    TEngineRecord foreign{TVariant(int32_t(3)), TVariant("Ωμέγα")};
    foreign[1] = TVariant("\xF0\x9F\x98\x80");   // an emoji has no GBK form
    EXPECT_EQ(ErrorOf([&] { cursor->InsertRecord(foreign, false); }), DBIERR_INVALIDCHAR);
    EXPECT_EQ(cursor->RecordCount(), 1);
}

TEST(ParadoxWrite, ChangedBlobsReuseTheSpaceTheyFreed)
{
    for (const std::string password : {"", "secret"}) {
        SCOPED_TRACE(password.empty() ? "plain" : "encrypted");
        TScratchDir dir;
        std::string path = dir.File("notes.db");
        Create(path, {Field("Id", ftInteger), Field("Note", ftMemo, 10), Field("Data", ftBlob)}, 1, "7", password);
        auto cursor = OpenParadox(path, false, {password});
        for (int i = 0; i < 5; ++i) {
            TEngineRecord r{TVariant(int32_t(i)), TVariant(std::string(5000, 'a' + i)), TVariant(TBytes(20000, uint8_t(i)))};
            cursor->InsertRecord(r, true);
        }
        auto size = std::filesystem::file_size(dir.File("notes.mb"));
        for (int round = 0; round < 40; ++round) {
            ASSERT_TRUE(cursor->SetRecNo(1 + round % 5));
            TEngineRecord r;
            cursor->ReadCurrent(r);
            r[1] = TVariant(std::string(4000 + round, 'A' + round % 26));
            cursor->ModifyRecord(r);
        }
        ASSERT_TRUE(cursor->SetRecNo(2));
        cursor->DeleteRecord();
        TEngineRecord fresh{TVariant(int32_t(9)), TVariant(std::string(3000, 'z')), TVariant(TBytes(15000, 7))};
        cursor->InsertRecord(fresh, true);
        EXPECT_LE(std::filesystem::file_size(dir.File("notes.mb")), size + 3 * 4096) << "freed blocks are used again";
        auto records = ReadAll(*OpenParadox(path, true, {password}));
        ASSERT_EQ(records.size(), 5u);
        EXPECT_EQ(records[0][1].AsString(), std::string(4035, 'A' + 35 % 26));
        EXPECT_EQ(records[1][2].AsBytes(), TBytes(20000, 2));   // Id 1 was deleted
        EXPECT_EQ(records[4][1].AsString(), std::string(3000, 'z'));
        EXPECT_EQ(records[4][2].AsBytes(), TBytes(15000, 7));
    }
}
