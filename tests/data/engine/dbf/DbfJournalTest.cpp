// The undo journal of indexed posts: a journal left by a stopped post puts
// back the bytes it saved, one cut short or damaged anywhere is ignored
// (nothing had been written yet), and journals in the earlier byte-summed
// form are still honoured.

#include "data/engine/ByteOrder.h"
#include "data/engine/dbf/DbfJournal.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string Original = "original bytes of the table, long enough to span several words";

// A journal saving bytes 9 to 40 of the table and its length, written as a
// post writes it and never finished; the table then changed as the post did.
std::string StoppedPostJournal(const std::string& tablePath)
{
    WriteAll(tablePath, Original);
    TDbfJournalStore store(tablePath);
    {
        TDbfFile table(tablePath, true);
        TDbfJournal journal;
        const uint8_t id = journal.AddFile(table);
        journal.SaveSize(id, table.Size());
        journal.SaveBytes(id, 9, 32);
        journal.Write(store);
    }
    std::string changed = Original;
    changed.replace(9, 5, "CHANG");
    WriteAll(tablePath, changed + " and an appended tail");
    return ReadAll(TDbfJournal::PathFor(tablePath));
}

// The checksum journals had before: FNV-1a a byte at a time.
uint64_t ByteSum(const std::string& bytes)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace

TEST(DbfJournal, AStoppedPostsJournalPutsTheTableBack)
{
    TScratchDir dir;
    const std::string table = dir.File("t.dbf");
    StoppedPostJournal(table);
    ASSERT_TRUE(TDbfJournal::Pending(table));
    EXPECT_TRUE(TDbfJournal::Recover(table));
    EXPECT_EQ(ReadAll(table), Original);
    EXPECT_FALSE(TDbfJournal::Pending(table)) << "a journal rolled back is cleared";
}

TEST(DbfJournal, AJournalCutShortOrDamagedAnywhereIsIgnored)
{
    TScratchDir dir;
    const std::string table = dir.File("t.dbf");
    const std::string journal = StoppedPostJournal(table);
    const std::string changed = ReadAll(table);
    const std::string journalPath = TDbfJournal::PathFor(table);
    for (size_t length = 0; length < journal.size(); ++length) {
        WriteAll(journalPath, journal.substr(0, length));
        EXPECT_FALSE(TDbfJournal::Recover(table)) << "cut at " << length;
    }
    for (size_t at = 0; at < journal.size(); ++at) {
        std::string damaged = journal;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        WriteAll(journalPath, damaged);
        EXPECT_FALSE(TDbfJournal::Recover(table)) << "byte " << at << " changed";
    }
    EXPECT_EQ(ReadAll(table), changed);
}

TEST(DbfJournal, AJournalInTheEarlierByteSummedFormIsHonoured)
{
    TScratchDir dir;
    const std::string table = dir.File("t.dbf");
    std::string journal = StoppedPostJournal(table);
    const std::string journalPath = TDbfJournal::PathFor(table);
    ASSERT_EQ(journal.substr(0, 8), std::string("TMUNDO2\n", 8));
    // The same journal as earlier versions wrote it.
    journal[6] = '1';
    journal.resize(journal.size() - 8);
    uint8_t sum[8];
    PutLe64(sum, ByteSum(journal));
    journal.append(reinterpret_cast<const char*>(sum), 8);

    std::string damaged = journal;
    damaged[20] = static_cast<char>(damaged[20] ^ 1);
    WriteAll(journalPath, damaged);
    EXPECT_FALSE(TDbfJournal::Recover(table)) << "its own checksum still guards it";

    WriteAll(journalPath, journal);
    EXPECT_TRUE(TDbfJournal::Recover(table));
    EXPECT_EQ(ReadAll(table), Original);
}
