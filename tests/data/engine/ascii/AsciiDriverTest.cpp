#include "AsciiTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiDriver.h"
#include "platform/DateTimeFormat.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEngineFieldDef Def(const char* name, TFieldType type, int size = 0, int precision = 0, int scale = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    return def;
}

class AsciiDriver : public ::testing::Test {
protected:
    std::shared_ptr<TEngineDriver> FDriver = CreateAsciiDriver();
    TScratchFolder FFolder;

    std::unique_ptr<TEngineCursor> Open(const std::string& name, bool readOnly = false, bool exclusive = false)
    {
        TOpenTableParams params;
        params.Path = FFolder.File(name);
        params.ReadOnly = readOnly;
        params.Exclusive = exclusive;
        return FDriver->OpenTable(params);
    }

    uint16_t OpenError(const std::string& name, bool readOnly = false, std::string* message = nullptr)
    {
        try {
            Open(name, readOnly);
        } catch (const EDBEngineError& e) {
            if (message)
                *message = e.Message();
            return e.ErrorCode();
        }
        return DBIERR_NONE;
    }

    // A table with a column of every type.
    void CreateEveryType(const std::string& name, const std::string& level)
    {
        TCreateTableParams params;
        params.Path = FFolder.File(name);
        params.Level = level;
        params.CodePage = 1252;
        params.Fields = {Def("Name", ftString, 24), Def("Amount", ftFloat, 0, 20), Def("Small", ftSmallint),
                         Def("Flag", ftBoolean), Def("Count", ftInteger), Def("Day", ftDate), Def("Clock", ftTime),
                         Def("Stamp", ftDateTime), Def("Price", ftCurrency, 0, 12, 2)};
        FDriver->CreateTable(params);
    }

    // A table from a schema text and a data text.
    void WriteTable(const std::string& stem, const std::string& schema, const std::string& data)
    {
        WriteBytes(FFolder.File(stem + ".sch"), schema);
        WriteBytes(FFolder.File(stem + ".txt"), data);
    }

    static std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor)
    {
        std::vector<TEngineRecord> records;
        cursor.SetToBegin();
        TEngineRecord record;
        while (cursor.Next(record))
            records.push_back(record);
        return records;
    }

    static std::vector<std::string> Column(TEngineCursor& cursor, size_t column)
    {
        std::vector<std::string> texts;
        for (const TEngineRecord& record : ReadAll(cursor))
            texts.push_back(record[column].IsNull() ? "<null>" : record[column].AsString());
        return texts;
    }
};

const char* const PartsSchema = "[PARTS]\r\nFILETYPE = VARYING\r\nCHARSET = ansiintl\r\nDELIMITER = \"\r\n"
                                "SEPARATOR = ,\r\nField1 = Part,CHAR,10,00,00\r\nField2 = Qty,LONGINT,11,00,10\r\n";

TEngineRecord EveryTypeRecord(int n)
{
    return {TVariant("  Item \"" + std::to_string(n) + "\", x"),
            TVariant(n + 0.125),
            TVariant(int32_t(-n)),
            TVariant(n % 2 == 0),
            TVariant(int32_t(n * 100000)),
            TVariant::FromDateTime(EncodeDate(2000 + n, n % 12 + 1, n % 28 + 1)),
            TVariant::FromDateTime(EncodeTime(n % 24, n % 60, 30, n % 2 ? 250 : 0)),
            TVariant::FromDateTime(EncodeDate(1990, 1, n % 28 + 1) + EncodeTime(23, 59, 59, 0)),
            TVariant(n * 1.5)};
}

void ExpectSameRecord(const TEngineRecord& actual, const TEngineRecord& expected, const std::string& where)
{
    ASSERT_EQ(actual.size(), expected.size()) << where;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].VarType(), expected[i].VarType()) << where << " column " << i;
        EXPECT_EQ(TVariant::Compare(actual[i], expected[i]), 0)
            << where << " column " << i << ": " << actual[i].AsString() << " != " << expected[i].AsString();
    }
}

} // namespace

TEST_F(AsciiDriver, AnswersItsName)
{
    EXPECT_EQ(FDriver->Names(), std::vector<std::string>{"ASCIIDRV"});
}

TEST_F(AsciiDriver, CreateTableWritesTheSchemaAndAnEmptyTextFile)
{
    CreateEveryType("orders.txt", "");
    EXPECT_EQ(ReadBytes(FFolder.File("orders.txt")), "");
    std::string schema = ReadBytes(FFolder.File("orders.sch"));
    EXPECT_EQ(schema.substr(0, 37), "[ORDERS]\r\nFILETYPE = VARYING\r\nCHARSET");
    EXPECT_NE(schema.find("Field1 = Name,CHAR,24,00,00\r\n"), std::string::npos) << schema;
    // A money column is written as FLOAT, the type every reader knows.
    EXPECT_NE(schema.find("Field9 = Price,FLOAT,12,02,"), std::string::npos) << schema;

    auto cursor = Open("orders.txt");
    EXPECT_EQ(cursor->RecordCount(), 0);
    EXPECT_TRUE(cursor->IsSequenced());
    EXPECT_TRUE(cursor->CanModify());
    EXPECT_EQ(cursor->CodePage(), 1252);
    const TFieldType types[] = {ftString, ftFloat, ftSmallint, ftBoolean, ftInteger,
                                ftDate, ftTime, ftDateTime, ftFloat};
    ASSERT_EQ(cursor->FieldDefs().size(), 9u);
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(cursor->FieldDefs()[i].DataType, types[i]) << i;
    EXPECT_EQ(cursor->FieldDefs()[0].Size, 24);
    TEngineRecord record;
    cursor->SetToBegin();
    EXPECT_FALSE(cursor->Next(record));
}

TEST_F(AsciiDriver, CreateTableRefusesWhatItCannotStoreAndExistingTables)
{
    TCreateTableParams params;
    params.Path = FFolder.File("bad.txt");
    params.Fields = {Def("Pic", ftBlob)};
    EXPECT_THROW(FDriver->CreateTable(params), EDBEngineError);
    params.Fields = {Def("Name", ftString, 0)};
    EXPECT_THROW(FDriver->CreateTable(params), EDBEngineError);
    params.Fields = {Def("Name", ftString, 5)};
    params.Password = "secret";
    EXPECT_THROW(FDriver->CreateTable(params), EDBEngineError);
    params.Password.clear();
    params.Level = "CSV";
    EXPECT_THROW(FDriver->CreateTable(params), EDBEngineError);
    EXPECT_FALSE(std::filesystem::exists(FFolder.File("bad.txt")));
    EXPECT_FALSE(std::filesystem::exists(FFolder.File("bad.sch")));

    WriteTable("parts", PartsSchema, "\"Bolt\",1\r\n");
    params.Path = FFolder.File("parts.txt");
    params.Level.clear();
    EXPECT_THROW(FDriver->CreateTable(params), EDBEngineError);
    EXPECT_EQ(ReadBytes(FFolder.File("parts.txt")), "\"Bolt\",1\r\n");
}

class AsciiDriverLevels : public AsciiDriver, public ::testing::WithParamInterface<const char*> {};

TEST_P(AsciiDriverLevels, EveryTypeRoundTripsThroughTheFile)
{
    CreateEveryType("all.txt", GetParam());
    {
        auto cursor = Open("all.txt");
        for (int n = 1; n <= 6; ++n) {
            TEngineRecord record = EveryTypeRecord(n);
            cursor->InsertRecord(record, true);
        }
        TEngineRecord nulls = cursor->BlankRecord();
        cursor->InsertRecord(nulls, true);
    }
    auto cursor = Open("all.txt");
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 7u);
    for (int n = 1; n <= 6; ++n)
        ExpectSameRecord(records[n - 1], EveryTypeRecord(n), "record " + std::to_string(n));
    for (const TVariant& value : records[6])
        EXPECT_TRUE(value.IsNull());
}

INSTANTIATE_TEST_SUITE_P(, AsciiDriverLevels, ::testing::Values("VARYING", "FIXED"));

TEST_F(AsciiDriver, WritesTheDocumentedTextForms)
{
    CreateEveryType("v.txt", "VARYING");
    CreateEveryType("f.txt", "FIXED");
    for (const char* name : {"v.txt", "f.txt"}) {
        auto cursor = Open(name);
        TEngineRecord record = EveryTypeRecord(3);
        cursor->InsertRecord(record, true);
    }
    EXPECT_EQ(ReadBytes(FFolder.File("v.txt")),
              "\"  Item \"\"3\"\", x\",3.125,-3,F,300000,4/4/2003,03:03:30.250,1/4/1990 23:59:59,4.50\r\n");
    std::string fixed = ReadBytes(FFolder.File("f.txt"));
    EXPECT_EQ(fixed.substr(0, 24), "  Item \"3\", x" + std::string(11, ' '));
    EXPECT_EQ(fixed.substr(24, 20), "               3.125");
    EXPECT_EQ(fixed.substr(fixed.size() - 14), "        4.50\r\n");
}

TEST_F(AsciiDriver, ReadsFixedFilesByOffset)
{
    WriteTable("stock", "[STOCK]\nFILETYPE=FIXED\nCHARSET=ascii\n"
                        "Field1=Code,CHAR,4,00,00\nField2=Qty,NUMBER,5,00,04\nField3=Due,DATE,10,00,10\n",
               "A1  00012 1/31/2020\nB2     -7          \nC3\n");
    auto cursor = Open("stock.txt");
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0][0].AsString(), "A1");
    EXPECT_EQ(records[0][1].AsInteger(), 12);
    EXPECT_EQ(records[0][2].AsDateTime(), EncodeDate(2020, 1, 31));
    EXPECT_EQ(records[1][1].AsInteger(), -7);
    EXPECT_TRUE(records[1][2].IsNull());
    EXPECT_EQ(records[2][0].AsString(), "C3");
    EXPECT_TRUE(records[2][1].IsNull());
}

TEST_F(AsciiDriver, EditsKeepTheFileLineEndsAndEndOfFileMark)
{
    WriteTable("lf", PartsSchema, "\"Bolt\",1\n\"Nut\",2\n");
    WriteTable("crlf", PartsSchema, "\"Bolt\",1\r\n\"Nut\",2\r\n\x1A");
    WriteTable("open", PartsSchema, "\"Bolt\",1\n\"Nut\",2");
    WriteTable("bom", PartsSchema, "\xEF\xBB\xBF\"Bolt\",1\r\n\"Nut\",2\r\n");
    for (const char* name : {"lf.txt", "crlf.txt", "open.txt", "bom.txt"}) {
        auto cursor = Open(name);
        ASSERT_EQ(cursor->RecordCount(), 2) << name;
        ASSERT_TRUE(cursor->SetRecNo(2));
        TEngineRecord record;
        cursor->LockRecord(record);
        record[1] = TVariant(int32_t(20));
        cursor->ModifyRecord(record);
        TEngineRecord added{TVariant("Washer"), TVariant(int32_t(3))};
        cursor->InsertRecord(added, true);
    }
    EXPECT_EQ(ReadBytes(FFolder.File("lf.txt")), "\"Bolt\",1\n\"Nut\",20\n\"Washer\",3\n");
    EXPECT_EQ(ReadBytes(FFolder.File("crlf.txt")), "\"Bolt\",1\r\n\"Nut\",20\r\n\"Washer\",3\r\n\x1A");
    EXPECT_EQ(ReadBytes(FFolder.File("open.txt")), "\"Bolt\",1\n\"Nut\",20\n\"Washer\",3\n");
    EXPECT_EQ(ReadBytes(FFolder.File("bom.txt")), "\xEF\xBB\xBF\"Bolt\",1\r\n\"Nut\",20\r\n\"Washer\",3\r\n");
    auto bom = Open("bom.txt");
    TEngineRecord first;
    ASSERT_TRUE(bom->Next(first));
    EXPECT_EQ(first[0].AsString(), "Bolt");
    bom->SetToBegin();
    TEngineRecord front{TVariant("Front"), TVariant::Null()};
    bom->InsertRecord(front, false);
    bom->SetRecNo(4);
    bom->DeleteRecord();
    EXPECT_EQ(ReadBytes(FFolder.File("bom.txt")), "\xEF\xBB\xBF\"Front\",\r\n\"Bolt\",1\r\n\"Nut\",20\r\n");
}

TEST_F(AsciiDriver, InsertAppendAndDeleteMoveTheCursorAsTheInterfaceSays)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n\"C\",3\r\n");
    auto cursor = Open("parts.txt");
    TEngineRecord record;
    ASSERT_TRUE(cursor->SetRecNo(2));
    TEngineRecord inserted{TVariant("AB"), TVariant(int32_t(12))};
    cursor->InsertRecord(inserted, false);
    EXPECT_EQ(cursor->RecNo(), 2);
    ASSERT_TRUE(cursor->ReadCurrent(record));
    EXPECT_EQ(record[0].AsString(), "AB");
    EXPECT_EQ(Column(*cursor, 0), (std::vector<std::string>{"A", "AB", "B", "C"}));

    ASSERT_TRUE(cursor->SetRecNo(3));
    cursor->DeleteRecord();
    EXPECT_EQ(cursor->RecNo(), -1);
    EXPECT_FALSE(cursor->ReadCurrent(record));
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record[0].AsString(), "C");
    ASSERT_TRUE(cursor->SetRecNo(3));
    cursor->DeleteRecord();
    ASSERT_TRUE(cursor->Prior(record));
    EXPECT_EQ(record[0].AsString(), "AB");
    EXPECT_EQ(cursor->RecordCount(), 2);

    cursor->SetToEnd();
    TEngineRecord last{TVariant("Z"), TVariant::Null()};
    cursor->InsertRecord(last, false);
    EXPECT_EQ(cursor->RecNo(), 3);
    cursor->SetToBegin();
    TEngineRecord first{TVariant("0"), TVariant::Null()};
    cursor->InsertRecord(first, false);
    EXPECT_EQ(ReadBytes(FFolder.File("parts.txt")), "\"0\",\r\n\"A\",1\r\n\"AB\",12\r\n\"Z\",\r\n");
    EXPECT_FALSE(cursor->SetRecNo(0));
    EXPECT_FALSE(cursor->SetRecNo(5));
}

TEST_F(AsciiDriver, BookmarksStayValidAndOrderedAcrossInsertsAndDeletes)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n\"C\",3\r\n");
    auto cursor = Open("parts.txt");
    std::vector<std::string> marks;
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(cursor->SetRecNo(n));
        marks.push_back(cursor->Bookmark());
    }
    ASSERT_TRUE(cursor->GotoBookmark(marks[1]));
    TEngineRecord inserted{TVariant("A2"), TVariant::Null()};
    cursor->InsertRecord(inserted, false);
    std::string insertedMark = cursor->Bookmark();
    EXPECT_LT(cursor->CompareBookmarks(marks[0], insertedMark), 0);
    EXPECT_LT(cursor->CompareBookmarks(insertedMark, marks[1]), 0);
    EXPECT_GT(cursor->CompareBookmarks(marks[2], insertedMark), 0);
    EXPECT_EQ(cursor->CompareBookmarks(marks[1], marks[1]), 0);

    ASSERT_TRUE(cursor->GotoBookmark(marks[0]));
    cursor->DeleteRecord();
    EXPECT_FALSE(cursor->GotoBookmark(marks[0]));
    TEngineRecord record;
    ASSERT_TRUE(cursor->GotoBookmark(marks[2]));
    EXPECT_EQ(cursor->RecNo(), 3);
    ASSERT_TRUE(cursor->ReadCurrent(record));
    EXPECT_EQ(record[0].AsString(), "C");
    ASSERT_TRUE(cursor->GotoBookmark(insertedMark));
    EXPECT_EQ(cursor->RecNo(), 1);
    EXPECT_FALSE(cursor->GotoBookmark("rubbish"));
    EXPECT_FALSE(cursor->GotoBookmark(std::string(8, '\x7F')));
}

TEST_F(AsciiDriver, SchemaIsFoundWithoutRegardToCaseAndMissingSchemaFails)
{
    WriteBytes(FFolder.File("upper.SCH"), PartsSchema);
    WriteBytes(FFolder.File("upper.txt"), "\"A\",1\r\n");
    EXPECT_EQ(Open("upper.txt")->RecordCount(), 1);
    WriteBytes(FFolder.File("Mixed.Sch"), PartsSchema);
    WriteBytes(FFolder.File("Mixed.TXT"), "");
    EXPECT_EQ(Open("Mixed.TXT")->RecordCount(), 0);

    WriteBytes(FFolder.File("lonely.txt"), "\"A\",1\r\n");
    std::string message;
    EXPECT_EQ(OpenError("lonely.txt", false, &message), DBIERR_NOSUCHTABLE);
    EXPECT_NE(message.find("lonely.sch"), std::string::npos) << message;
    EXPECT_EQ(OpenError("absent.txt"), DBIERR_NOSUCHTABLE);

    WriteTable("broken", "[BROKEN]\nField1 = Name,BLOB,10,0,0\n", "");
    EXPECT_EQ(OpenError("broken.txt", false, &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("BLOB"), std::string::npos) << message;
}

TEST_F(AsciiDriver, ReadOnlyFilesOpenOnlyForReading)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n");
    ::chmod(FFolder.File("parts.txt").c_str(), 0444);
    EXPECT_EQ(OpenError("parts.txt"), DBIERR_TABLEREADONLY);
    auto cursor = Open("parts.txt", true);
    EXPECT_FALSE(cursor->CanModify());
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record[0].AsString(), "A");
    try {
        cursor->ModifyRecord(record);
        FAIL() << "a read-only table was written";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_TABLEREADONLY);
    }
    EXPECT_THROW(cursor->LockRecord(record), EDBEngineError);

    ::chmod(FFolder.File("parts.txt").c_str(), 0644);
    ::chmod(FFolder.File("parts.sch").c_str(), 0444);
    EXPECT_EQ(OpenError("parts.txt"), DBIERR_TABLEREADONLY);
}

TEST_F(AsciiDriver, RecordLocksExcludeASecondLocker)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n");
    auto first = Open("parts.txt");
    auto second = Open("parts.txt");
    TEngineRecord record;
    ASSERT_TRUE(first->SetRecNo(1));
    first->LockRecord(record);

    ASSERT_TRUE(second->SetRecNo(1));
    try {
        second->LockRecord(record);
        FAIL() << "a locked record was locked again";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_LOCKED);
    }
    EXPECT_THROW(second->DeleteRecord(), EDBEngineError);
    TEngineRecord changed{TVariant("X"), TVariant(int32_t(9))};
    EXPECT_THROW(second->ModifyRecord(changed), EDBEngineError);
    EXPECT_EQ(second->RecordCount(), 2);

    ASSERT_TRUE(second->SetRecNo(2));
    second->LockRecord(record);   // another record is free
    second->UnlockRecord();
    first->UnlockRecord();
    ASSERT_TRUE(second->SetRecNo(1));
    second->LockRecord(record);
    EXPECT_EQ(record[0].AsString(), "A");
}

TEST_F(AsciiDriver, ExclusiveOpenKeepsOthersOut)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n");
    {
        auto shared = Open("parts.txt");
        EXPECT_THROW(Open("parts.txt", false, true), EDBEngineError);
    }
    auto exclusive = Open("parts.txt", false, true);
    std::string message;
    EXPECT_EQ(OpenError("parts.txt", true, &message), DBIERR_FILELOCKED);
}

TEST_F(AsciiDriver, ChangesByAnotherWriterAreTakenInAndNeverOverwritten)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n\"C\",3\r\n");
    auto mine = Open("parts.txt");
    auto theirs = Open("parts.txt");
    ASSERT_TRUE(mine->SetRecNo(3));
    std::string markOfC = mine->Bookmark();
    TEngineRecord record;
    ASSERT_TRUE(theirs->SetRecNo(2));
    theirs->LockRecord(record);
    record[1] = TVariant(int32_t(22));
    theirs->ModifyRecord(record);

    // A record the other writer left alone is still editable in place.
    ASSERT_TRUE(mine->SetRecNo(1));
    mine->LockRecord(record);
    EXPECT_EQ(record[1].AsInteger(), 1);
    record[1] = TVariant(int32_t(11));
    mine->ModifyRecord(record);
    EXPECT_EQ(ReadBytes(FFolder.File("parts.txt")), "\"A\",11\r\n\"B\",22\r\n\"C\",3\r\n");

    // The record under the cursor was changed elsewhere: refused, nothing written.
    ASSERT_TRUE(mine->SetRecNo(2));
    ASSERT_TRUE(theirs->SetRecNo(2));
    theirs->DeleteRecord();
    TEngineRecord stale{TVariant("B"), TVariant(int32_t(99))};
    try {
        mine->ModifyRecord(stale);
        FAIL() << "a record deleted by another writer was written";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_RECNOTFOUND);
        EXPECT_NE(e.Message().find("Another program"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(ReadBytes(FFolder.File("parts.txt")), "\"A\",11\r\n\"C\",3\r\n");
    EXPECT_EQ(Column(*mine, 1), (std::vector<std::string>{"11", "3"}));

    // Bookmarks of records untouched elsewhere survive, also when another
    // program replaces the file with one that has a new first line.
    ASSERT_TRUE(mine->GotoBookmark(markOfC));
    EXPECT_EQ(mine->RecNo(), 2);
    WriteBytes(FFolder.File("other.tmp"), "\"New\",0\r\n\"A\",11\r\n\"C\",3\r\n");
    std::filesystem::rename(FFolder.File("other.tmp"), FFolder.File("parts.txt"));
    mine->Refresh();
    EXPECT_EQ(mine->RecordCount(), 3);
    ASSERT_TRUE(mine->GotoBookmark(markOfC));
    EXPECT_EQ(mine->RecNo(), 3);
    ASSERT_TRUE(mine->ReadCurrent(record));
    EXPECT_EQ(record[0].AsString(), "C");
}

// A file rewritten in place (as a text editor may save it) has no old
// version left to compare with: every bookmark from before is void, and the
// records read are the new ones.
TEST_F(AsciiDriver, FileChangedInPlaceVoidsOldBookmarks)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n");
    auto cursor = Open("parts.txt");
    ASSERT_TRUE(cursor->SetRecNo(1));
    std::string markOfA = cursor->Bookmark();
    TEngineRecord record;
    ASSERT_TRUE(cursor->ReadCurrent(record));
    WriteBytes(FFolder.File("parts.txt"), "\"Z\",9\r\n\"A\",1\r\n\"B\",2\r\n");
    cursor->Refresh();
    EXPECT_FALSE(cursor->GotoBookmark(markOfA));
    EXPECT_EQ(Column(*cursor, 0), (std::vector<std::string>{"Z", "A", "B"}));
}

TEST_F(AsciiDriver, RefusedValuesLeaveTheFileAsItWas)
{
    CreateEveryType("f.txt", "FIXED");
    auto cursor = Open("f.txt");
    TEngineRecord record = EveryTypeRecord(1);
    cursor->InsertRecord(record, true);
    std::string before = ReadBytes(FFolder.File("f.txt"));

    record[0] = TVariant(std::string(25, 'x'));
    try {
        cursor->ModifyRecord(record);
        FAIL() << "a value longer than its column was written";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDFIELDVALUE);
        EXPECT_NE(e.Message().find("Name"), std::string::npos) << e.Message();
    }
    record = EveryTypeRecord(1);
    record[0] = TVariant("\xE4\xB8\xAD");   // not in code page 1252
    EXPECT_THROW(cursor->InsertRecord(record, true), EDBEngineError);
    record[0] = TVariant("fine");
    record[2] = TVariant(int32_t(70000));
    EXPECT_THROW(cursor->InsertRecord(record, false), EDBEngineError);

    EXPECT_EQ(ReadBytes(FFolder.File("f.txt")), before);
    EXPECT_EQ(cursor->RecordCount(), 1);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FFolder.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2u) << "a temporary file was left behind";
}

TEST_F(AsciiDriver, CodePagesConvertAtTheFileBoundary)
{
    WriteTable("oem", "[OEM]\nCHARSET=ascii\nField1=Name,CHAR,10,0,0\n", "\"Caf\x82\"\r\n");
    auto cursor = Open("oem.txt");
    EXPECT_EQ(cursor->CodePage(), 437);
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record[0].AsString(), "Caf\xC3\xA9");
    TEngineRecord added{TVariant("\xC3\xBC" "ber")};
    cursor->InsertRecord(added, true);
    EXPECT_EQ(ReadBytes(FFolder.File("oem.txt")), "\"Caf\x82\"\r\n\"\x81" "ber\"\r\n");

    WriteTable("ansi", "[ANSI]\nCHARSET=ascii\nCODEPAGE=1252\nField1=Name,CHAR,10,0,0\n", "\"Caf\xE9\"\r\n");
    ASSERT_TRUE(Open("ansi.txt")->Next(record));
    EXPECT_EQ(record[0].AsString(), "Caf\xC3\xA9");
}

TEST_F(AsciiDriver, KeepsTheFileModeAndWritesThroughSymbolicLinks)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n");
    ::chmod(FFolder.File("parts.txt").c_str(), 0640);
    std::filesystem::create_directory(FFolder.File("data"));
    std::filesystem::rename(FFolder.File("parts.txt"), FFolder.File("data/real.txt"));
    std::filesystem::create_symlink(FFolder.File("data/real.txt"), FFolder.File("parts.txt"));
    auto cursor = Open("parts.txt");
    TEngineRecord record{TVariant("B"), TVariant(int32_t(2))};
    cursor->InsertRecord(record, true);
    EXPECT_TRUE(std::filesystem::is_symlink(FFolder.File("parts.txt")));
    EXPECT_EQ(ReadBytes(FFolder.File("data/real.txt")), "\"A\",1\r\n\"B\",2\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(FFolder.File("data/real.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(FFolder.File("data/real.txt").c_str(), 4321, 4321), 0);
        cursor->InsertRecord(record, true);
        ASSERT_EQ(::stat(FFolder.File("data/real.txt").c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4321u);
    }
}

// Locks hold between processes, not only between cursors of one process.
TEST_F(AsciiDriver, RecordLockHeldByAnotherProcess)
{
    WriteTable("parts", PartsSchema, "\"A\",1\r\n\"B\",2\r\n");
    int locked[2], done[2];
    ASSERT_EQ(::pipe(locked), 0);
    ASSERT_EQ(::pipe(done), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 1;
        std::unique_ptr<TEngineCursor> cursor;   // holds the lock until the parent is done
        try {
            cursor = Open("parts.txt");
            TEngineRecord record;
            cursor->SetRecNo(2);
            cursor->LockRecord(record);
            status = 0;
        } catch (...) {
        }
        char byte = static_cast<char>(status);
        [[maybe_unused]] ssize_t written = ::write(locked[1], &byte, 1);
        [[maybe_unused]] ssize_t got = ::read(done[0], &byte, 1);
        ::_exit(status);
    }
    char byte = 1;
    ASSERT_EQ(::read(locked[0], &byte, 1), 1);
    ASSERT_EQ(byte, 0) << "the other process could not lock";
    auto cursor = Open("parts.txt");
    TEngineRecord record;
    ASSERT_TRUE(cursor->SetRecNo(2));
    uint16_t status = DBIERR_NONE;
    try {
        cursor->LockRecord(record);
    } catch (const EDBEngineError& e) {
        status = e.ErrorCode();
    }
    EXPECT_EQ(status, DBIERR_LOCKED);
    ASSERT_TRUE(cursor->SetRecNo(1));
    cursor->LockRecord(record);
    cursor->UnlockRecord();

    ASSERT_EQ(::write(done[1], &byte, 1), 1);
    int exitStatus = 0;
    ::waitpid(child, &exitStatus, 0);
    EXPECT_TRUE(WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0);
    // The lock went with the process.
    ASSERT_TRUE(cursor->SetRecNo(2));
    cursor->LockRecord(record);
    EXPECT_EQ(record[0].AsString(), "B");
    for (int fd : {locked[0], locked[1], done[0], done[1]})
        ::close(fd);
}

// A write that fails half-way (the file size limit stands in for a full
// disk) leaves the table as it was and no temporary file behind.
TEST_F(AsciiDriver, FailedWriteLeavesTheOldFile)
{
    std::string data;
    for (int i = 0; i < 200; ++i)
        data += "\"Part " + std::to_string(i) + "\"," + std::to_string(i) + "\r\n";
    WriteTable("parts", PartsSchema, data);
    auto cursor = Open("parts.txt");
    ASSERT_TRUE(cursor->SetRecNo(150));
    TEngineRecord record;
    cursor->LockRecord(record);
    record[1] = TVariant(int32_t(-1));

    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = data.size() / 2;
    ::setrlimit(RLIMIT_FSIZE, &small);
    uint16_t status = DBIERR_NONE;
    try {
        cursor->ModifyRecord(record);
    } catch (const EDBEngineError& e) {
        status = e.ErrorCode();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(status, DBIERR_WRITEERR);
    EXPECT_EQ(ReadBytes(FFolder.File("parts.txt")), data);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FFolder.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 2u) << "a temporary file was left behind";

    // The record is still locked by this cursor and the write can be repeated.
    cursor->ModifyRecord(record);
    ASSERT_TRUE(cursor->ReadCurrent(record));
    EXPECT_EQ(record[1].AsInteger(), -1);
    EXPECT_EQ(cursor->RecNo(), 150);
}

TEST_F(AsciiDriver, CreatedFixedTablesLayColumnsSideBySide)
{
    TCreateTableParams params;
    params.Path = FFolder.File("STOCK.TXT");
    params.Level = "fixed";
    params.CodePage = 437;
    params.Fields = {Def("Code", ftString, 6), Def("Qty", ftSmallint), Def("Due", ftDate)};
    FDriver->CreateTable(params);
    std::string schema = ReadBytes(FFolder.File("STOCK.SCH"));
    EXPECT_EQ(schema, "[STOCK]\r\nFILETYPE = FIXED\r\nCHARSET = ascii\r\n"
                      "Field1 = Code,CHAR,6,00,00\r\nField2 = Qty,NUMBER,6,00,06\r\nField3 = Due,DATE,10,00,12\r\n");
    auto cursor = Open("STOCK.TXT");
    TEngineRecord record{TVariant("AB-1"), TVariant(int32_t(-12)), TVariant::FromDateTime(EncodeDate(2025, 12, 31))};
    cursor->InsertRecord(record, true);
    EXPECT_EQ(ReadBytes(FFolder.File("STOCK.TXT")), "AB-1     -1212/31/2025\r\n");
}
