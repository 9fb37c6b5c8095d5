// Posts to an indexed table that do not finish: a process killed after any
// single write of a post (an edit, an append, a batch of appends, a
// delete) leaves files that reopen for writing and pass the
// index check, each as it was before the post or as the post left it; the
// undo of a stopped edit puts back only what the edit wrote, so a record
// count another program changed meanwhile stays; a post that runs out of
// room leaves table and index as they were.

#include "CdxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"
#include "data/engine/dbf/DbfJournal.h"
#include "support/ChildProcess.h"
#include "support/FileBytes.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

namespace {

using TFiles = std::map<std::string, std::string>;

void Restore(const TScratchDir& dir, const TFiles& files)
{
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        std::filesystem::remove(entry.path());
    for (const auto& [name, bytes] : files)
        WriteFileBytes(dir.File(name), bytes);
}

using TPost = std::function<void(TDbfCursor&)>;

void ModifyIndexedFields(TDbfCursor& table)
{
    ASSERT_TRUE(table.SetRecNo(17));
    TEngineRecord record;
    ASSERT_TRUE(table.ReadCurrent(record));
    record[FieldName] = TVariant("Killed mid-post");
    record[FieldAmount] = TVariant(-12.5);
    record[FieldCity] = TVariant("Nowhere");
    table.ModifyRecord(record);
}

void Append(TDbfCursor& table)
{
    std::mt19937 random(77);
    TEngineRecord record = RandomRecord(random, 5000);
    table.InsertRecord(record, true);
}

void AppendBatch(TDbfCursor& table)
{
    std::mt19937 random(78);
    std::vector<TEngineRecord> records;
    for (int32_t id = 5000; id < 5200; ++id)
        records.push_back(RandomRecord(random, id));
    size_t appended = 0;
    table.AppendRecords(records, appended);
}

void Delete(TDbfCursor& table)
{
    ASSERT_TRUE(table.SetRecNo(3));
    table.DeleteRecord();
}

// Stops the post after 1, 2, 3 ... writes until it completes.
void KillAtEveryWrite(const TPost& post, const std::string& what)
{
    SCOPED_TRACE(what);
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "kill", 300, 12);
    const TFiles before = Snapshot(dir.Path());
    TChildResult whole = RunInChild([&] {
        auto table = OpenIndexedTable(path);
        post(*table);
        return 0;
    });
    ASSERT_TRUE(whole.Exited && whole.Code == 0);
    const TFiles after = Snapshot(dir.Path());
    ASSERT_NE(after, before);

    int kills = 0;
    int pending = 0;   // stops that left a post to undo
    for (int64_t writes = 1; writes < 64; ++writes) {
        Restore(dir, before);
        TChildResult stopped = RunInChild([&] {
            auto table = OpenIndexedTable(path);
            SetKillAfterWrites(writes);
            post(*table);
            SetKillAfterWrites(0);
            return 0;
        });
        if (stopped.Exited) {
            ASSERT_EQ(stopped.Code, 0);
            break;
        }
        ASSERT_EQ(stopped.Signal, SIGKILL);
        ++kills;
        if (TDbfJournal::Pending(path)) {
            ++pending;
            auto reader = OpenIndexedTable(path, true);
            EXPECT_NE(reader->RecoveryNote().find("interrupted"), std::string::npos) << "after " << writes << " writes: " << reader->RecoveryNote();
        }
        auto table = OpenIndexedTable(path);
        EXPECT_TRUE(table->CanModify()) << "after " << writes << " writes: " << table->ReadOnlyReason();
        EXPECT_EQ(IndexFindings(*table), "") << "after " << writes << " writes";
        table.reset();
        const TFiles reopened = Snapshot(dir.Path());
        EXPECT_TRUE(reopened == before || reopened == after) << "after " << writes << " writes the files are half changed";
    }
    EXPECT_GT(kills, 3);
    EXPECT_GT(pending, 1);
}

} // namespace

TEST(CdxCrash, AKilledPostLeavesFilesThatReopenAndPassTheIndexCheck)
{
    KillAtEveryWrite(ModifyIndexedFields, "modify");
    KillAtEveryWrite(Append, "append");
    KillAtEveryWrite(AppendBatch, "batch append");
    KillAtEveryWrite(Delete, "delete");
}

TEST(CdxCrash, APostThatRunsOutOfRoomLeavesTableAndIndexAsTheyWere)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "full", 150, 13);
    const uint64_t limit = ReadFileBytes(dir.File("full.cdx")).size() + 512;
    TChildResult result = RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit size {limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            return 10;
        auto table = OpenIndexedTable(path);
        std::mt19937 random(3);
        for (int i = 0; i < 5000; ++i) {
            const TFiles before = Snapshot(dir.Path());
            TEngineRecord record = RandomRecord(random, 1000 + i);
            record[FieldName] = TVariant(std::to_string(random()) + std::to_string(random()));
            try {
                table->InsertRecord(record, true);
            } catch (const EDBEngineError& e) {
                if (Snapshot(dir.Path()) != before)
                    return 1;
                if (std::string(e.what()).find("full.cdx") == std::string::npos)
                    return 4;   // the table, not the index, ran out of room first
                return IndexFindings(*table).empty() ? 0 : 2;
            }
        }
        return 3;
    });
    ASSERT_TRUE(result.Exited);
    EXPECT_EQ(result.Code, 0) << "1: files changed by the failed post, 2: index check failed, 3: never ran out of room, "
                                  "4: the table ran out of room first";
    auto table = OpenIndexedTable(path);
    EXPECT_TRUE(table->CanModify()) << table->ReadOnlyReason();
    EXPECT_EQ(IndexFindings(*table), "");
}

TEST(CdxCrash, UndoingAStoppedEditKeepsTheRecordCountAnotherProgramWrote)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "count", 200, 14);
    // An old date, so the edit stamps today's and saves the date it replaces.
    std::string table = ReadFileBytes(path);
    table[1] = 99;
    table[2] = 1;
    table[3] = 2;
    WriteFileBytes(path, table);
    TChildResult stopped = RunInChild([&] {
        auto cursor = OpenIndexedTable(path);
        // Stopped after the journal and the record are written.
        SetKillAfterWrites(2);
        ModifyIndexedFields(*cursor);
        return 0;
    });
    ASSERT_FALSE(stopped.Exited) << "code " << stopped.Code;
    ASSERT_EQ(stopped.Signal, SIGKILL);
    ASSERT_TRUE(TDbfJournal::Pending(path));
    // Another program appends a record (a copy of the last) before the
    // table is next opened for writing.
    std::string stranded = ReadFileBytes(path);
    const size_t recordLength = static_cast<uint8_t>(stranded[10]) | static_cast<uint8_t>(stranded[11]) << 8;
    ASSERT_EQ(stranded.back(), '\x1A');
    const size_t end = stranded.size() - 1;
    stranded.insert(end, stranded.substr(end - recordLength, recordLength));
    stranded[4] = static_cast<char>(static_cast<uint8_t>(stranded[4]) + 1);
    WriteFileBytes(path, stranded);

    OpenIndexedTable(path).reset();
    const std::string recovered = ReadFileBytes(path);
    EXPECT_EQ(recovered.substr(4, 4), stranded.substr(4, 4)) << "the record count was put back";
    EXPECT_EQ(recovered.substr(1, 3), table.substr(1, 3));
    EXPECT_EQ(recovered.substr(8, end - 8), table.substr(8, end - 8)) << "the edited record was not put back";
    EXPECT_EQ(recovered.substr(end), stranded.substr(end)) << "the appended record was lost";
}
