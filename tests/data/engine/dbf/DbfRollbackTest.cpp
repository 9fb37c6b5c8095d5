// A post that fails half-way (here: the disk refuses to grow a file) leaves
// the table and its memo file byte for byte as they were.

#include "DbfTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Limits the size any file of this process may grow to, as a full disk
// would, for the lifetime of the object.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        FSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FSaved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FSignal);
    }

private:
    rlimit FSaved {};
    void (*FSignal)(int) = nullptr;
};

class DbfRollback : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        CreateNameAndMemoTable(FDir.File("roll.dbf"), GetParam(), 200);
        FCursor = OpenDbf(FDir.File("roll.dbf"));
        for (int i = 0; i < 30; ++i) {
            TEngineRecord record = {TVariant("record " + std::to_string(i)), TVariant::Null()};
            FCursor->InsertRecord(record, true);
        }
        TEngineRecord withMemo = {TVariant("memo holder"), TVariant("a short memo")};
        FCursor->InsertRecord(withMemo, true);
        FMemoPath = FDir.File(std::string(GetParam()) == "VFP" ? "roll.fpt" : "roll.dbt");
        Snapshot();
    }

    void Snapshot()
    {
        FTable = ReadFileBytes(FDir.File("roll.dbf"));
        FMemo = ReadFileBytes(FMemoPath);
    }

    void ExpectUnchanged()
    {
        EXPECT_EQ(ReadFileBytes(FDir.File("roll.dbf")), FTable);
        EXPECT_EQ(ReadFileBytes(FMemoPath), FMemo);
    }

    TScratchDir FDir;
    std::unique_ptr<TEngineCursor> FCursor;
    std::string FMemoPath, FTable, FMemo;
};

} // namespace

TEST_P(DbfRollback, AnAppendWhoseMemoCannotBeWrittenChangesNothing)
{
    ASSERT_LT(FMemo.size(), FTable.size());
    TEngineRecord record = {TVariant("new"), TVariant(std::string(4000, 'm'))};
    {
        TFileSizeLimit full(FTable.size() + 10);
        EXPECT_THROW(FCursor->InsertRecord(record, true), EDBEngineError);
    }
    ExpectUnchanged();
}

TEST_P(DbfRollback, AnAppendWhoseRecordCannotBeWrittenTakesItsMemoBack)
{
    TEngineRecord record = {TVariant("new"), TVariant(std::string(300, 'm'))};
    {
        TFileSizeLimit full(FTable.size() + 20);   // room for the memo, not for the record
        try {
            FCursor->InsertRecord(record, true);
            FAIL() << "the record does not fit";
        } catch (const EDBEngineError& e) {
            EXPECT_TRUE(e.ErrorCode() == DBIERR_WRITEERR || e.ErrorCode() == DBIERR_NODISKSPACE) << e.Message();
        }
    }
    ExpectUnchanged();
    // The table still takes records once there is room.
    FCursor->InsertRecord(record, true);
    EXPECT_EQ(FCursor->RecordCount(), 32);
}

TEST_P(DbfRollback, AnEditWhoseMemoCannotBeWrittenKeepsTheRecord)
{
    FCursor->SetToEnd();
    TEngineRecord record;
    ASSERT_TRUE(FCursor->Prior(record));
    FCursor->LockRecord(record);
    record[0] = TVariant("renamed");
    record[1] = TVariant(std::string(5000, 'x'));
    {
        TFileSizeLimit full(FMemo.size() + 100);   // an edit does not grow the table
        EXPECT_THROW(FCursor->ModifyRecord(record), EDBEngineError);
    }
    ExpectUnchanged();
    TEngineRecord stored;
    ASSERT_TRUE(FCursor->ReadCurrent(stored));
    EXPECT_EQ(stored[0].AsString(), "memo holder");
    EXPECT_EQ(stored[1].AsString(), "a short memo");
}

INSTANTIATE_TEST_SUITE_P(Levels, DbfRollback, ::testing::Values("III", "IV", "VFP"));
