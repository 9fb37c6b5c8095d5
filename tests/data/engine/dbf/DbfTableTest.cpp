// The driver under the table dataset: the read-only retry, edits, appends
// and deletes through TTable, and a record another cursor holds.

#include "DbfTestSupport.h"

#include "data/Field.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/dbf/DbfDriver.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DbfTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDriver = CreateDbfDriver();
        FSession.Engine().RegisterDriver(FDriver);
        CopyFile(SharedDir() + "/testdata/dbf/olemb_dbfread/people.dbf", FDir.File("people.dbf"));
        FTable.SetSession(FSession);
        FTable.SetTableName(FDir.File("people.dbf"));
    }

    TScratchDir FDir;
    TSession FSession;
    std::shared_ptr<TEngineDriver> FDriver;
    TTable FTable;
};

} // namespace

TEST_F(DbfTable, AFileNobodyMayWriteOpensReadOnly)
{
    ASSERT_EQ(chmod(FDir.File("people.dbf").c_str(), 0444), 0);
    FTable.Open();
    EXPECT_FALSE(FTable.CanModify());
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Alice");
}

TEST_F(DbfTable, EditsAppendsAndDeletesReachTheFile)
{
    FTable.Open();
    ASSERT_TRUE(FTable.CanModify());
    FTable.First();
    FTable.Edit();
    FTable.FieldByName("NAME")->SetAsString("Alicia");
    FTable.Post();
    FTable.Append();
    FTable.FieldByName("NAME")->SetAsString("张三");
    FTable.Post();
    FTable.First();
    FTable.Next();
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Bob");
    FTable.Delete();
    FTable.Close();

    auto cursor = OpenDbf(FDir.File("people.dbf"), true);
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][0].AsString(), "Alicia");
    EXPECT_EQ(records[1][0].AsString(), "张三");
}

TEST_F(DbfTable, EditingARecordAnotherCursorLockedFailsWithTheEngineMessage)
{
    auto other = OpenDbf(FDir.File("people.dbf"));
    TEngineRecord record;
    ASSERT_TRUE(other->Next(record));
    other->LockRecord(record);
    FTable.Open();
    FTable.First();
    try {
        FTable.Edit();
        FAIL() << "the record is locked";
    } catch (const EDBEngineError& e) {
        EXPECT_NE(e.Message().find("Record locked by another user."), std::string::npos) << e.Message();
    }
    other->UnlockRecord();
    FTable.Edit();
    FTable.FieldByName("NAME")->SetAsString("Alice B");
    FTable.Post();
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Alice B");
}

TEST_F(DbfTable, RecordNumbersReadAndSetInTheSameNumberingPastDeletedRecords)
{
    FTable.Open();
    FTable.Append();
    FTable.FieldByName("NAME")->SetAsString("Carol");
    FTable.Post();
    FTable.First();
    FTable.Delete();
    std::vector<std::pair<int64_t, std::string>> seen;
    for (FTable.First(); !FTable.Eof(); FTable.Next())
        seen.emplace_back(FTable.RecNo(), FTable.FieldByName("NAME")->AsString());
    ASSERT_EQ(seen.size(), 2u);
    ASSERT_EQ(seen[0].first, 2) << "record 1 is deleted, so physical and counted numbers differ";
    for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
        FTable.SetRecNo(it->first);
        EXPECT_EQ(FTable.RecNo(), it->first);
        EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), it->second);
    }
}
