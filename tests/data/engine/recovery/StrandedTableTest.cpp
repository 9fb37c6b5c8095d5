// Tables a stopped writer left between two states, opened read-only (they
// say what they found and stay as they are), opened for writing (put back
// as they stood before the unfinished change, with a log line), and
// checked and repaired with tablecat.

#include "RecoveryTestSupport.h"

#include "data/engine/EngineLog.h"
#include "data/engine/EngineWriteHook.h"
#include "support/CommandRun.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TRun Tablecat(const std::string& option, const std::string& table)
{
    return RunCommand(TablecatPath() + " " + option + " '" + table + "' 2>&1");
}

class TCapturedLog {
public:
    TCapturedLog() { FPrevious = SetEngineLogSink([this](const std::string& line) { Lines.push_back(line); }); }
    ~TCapturedLog() { SetEngineLogSink(FPrevious); }
    std::vector<std::string> Lines;

private:
    TEngineLogSink FPrevious;
};

TRows ThreeRows()
{
    return {{1, {"one", "first memo"}}, {2, {"two", ""}}, {3, {"three", std::string(600, 'm')}}};
}

// A dBASE table whose fourth record was written but not counted: the
// append stopped between the record and the header.
std::string DbfWithUncountedRecord(const TScratchDir& dir, std::string& countedBytes)
{
    const std::string path = CreateTable(TTableFormat::DBase, dir.Path(), "PEOPLE", ThreeRows());
    countedBytes = ReadBytes(path);
    {
        auto cursor = OpenTable(TTableFormat::DBase, path);
        Perform(*cursor, TEdit{TEdit::Insert, 4, {"four", "not counted"}});
    }
    std::string bytes = ReadBytes(path);
    bytes[4] = 3;   // the count before the append
    WriteBytes(path, bytes);
    return path;
}

TEST(StrandedDbf, AnUncountedAppendKeepsTheTableReadOnlyWhenItMayNotBeWritten)
{
    TScratchDir dir;
    std::string counted;
    const std::string path = DbfWithUncountedRecord(dir, counted);
    const std::string stranded = ReadBytes(path);
    auto cursor = OpenTable(TTableFormat::DBase, path, true);
    EXPECT_EQ(ReadRows(*cursor), ThreeRows());
    EXPECT_NE(cursor->RecoveryNote().find("1 record after the table's last record"), std::string::npos)
        << cursor->RecoveryNote();
    EXPECT_EQ(ReadBytes(path), stranded) << "a read-only open changed the file";
}

TEST(StrandedDbf, OpeningForWritingCutsTheUncountedRecordAndSaysSo)
{
    TScratchDir dir;
    std::string counted;
    const std::string path = DbfWithUncountedRecord(dir, counted);
    TCapturedLog log;
    {
        auto cursor = OpenTable(TTableFormat::DBase, path);
        EXPECT_TRUE(cursor->CanModify());
        EXPECT_NE(cursor->RecoveryNote().find("put back as it stood before"), std::string::npos);
        EXPECT_EQ(ReadRows(*cursor), ThreeRows());
    }
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_NE(log.Lines[0].find(path), std::string::npos);
    // Byte for byte the table before the append (its memo file keeps the unused blocks).
    std::string repaired = ReadBytes(path);
    EXPECT_EQ(repaired.substr(32), counted.substr(32));
    EXPECT_EQ(repaired.substr(4, 28), counted.substr(4, 28));
    EXPECT_EQ(OpenTable(TTableFormat::DBase, path)->RecoveryNote(), "");
}

TEST(StrandedDbf, AnAppendUnderWayInAnotherProcessIsNotCut)
{
    TScratchDir dir;
    std::string counted;
    const std::string path = DbfWithUncountedRecord(dir, counted);
    const std::string stranded = ReadBytes(path);
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        // The header lock of the dBASE programs, as a writer holds it during its append.
        int fd = ::open(path.c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0xEFFFFFFE;
        lock.l_len = 2;
        char c = fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 'y' : 'n';
        [[maybe_unused]] ssize_t w = ::write(ready[1], &c, 1);
        [[maybe_unused]] ssize_t r = ::read(release[0], &c, 1);
        ::_exit(0);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, 'y');
    {
        auto cursor = OpenTable(TTableFormat::DBase, path);
        EXPECT_EQ(cursor->RecoveryNote(), "");
        EXPECT_EQ(ReadBytes(path), stranded);
    }
    const char go = 'g';
    EXPECT_EQ(::write(release[1], &go, 1), 1);
    ::waitpid(holder, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);
}

TEST(StrandedDbf, TablecatChecksAndRepairs)
{
    if (TablecatPath().empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir dir;
    std::string counted;
    const std::string path = DbfWithUncountedRecord(dir, counted);
    TRun check = Tablecat("--check", path);
    EXPECT_EQ(check.ExitCode, 2);
    EXPECT_NE(check.Output.find("did not finish"), std::string::npos) << check.Output;
    TRun repair = Tablecat("--repair", path);
    EXPECT_EQ(repair.ExitCode, 0) << repair.Output;
    EXPECT_NE(repair.Output.find("put back"), std::string::npos) << repair.Output;
    TRun again = Tablecat("--check", path);
    EXPECT_EQ(again.ExitCode, 0);
    EXPECT_NE(again.Output.find("in order"), std::string::npos) << again.Output;
}

// A keyed Paradox table with blobs whose insert was stopped after `writes`
// writes; false when the insert completed before that.
bool StopParadoxInsertAfter(const std::string& path, int writes)
{
    TChildResult child = RunInChild([&] {
        auto cursor = OpenTable(TTableFormat::Paradox, path);
        SetKillAfterWrites(writes);
        Perform(*cursor, TEdit{TEdit::Insert, 2, {"between", std::string(800, 'b')}});
        return 0;
    });
    return !child.Exited;
}

TEST(StrandedParadox, AHalfWrittenChangeIsReportedReadOnlyAndPutBackByARepair)
{
    if (TablecatPath().empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir scratch;
    const TRows before{{1, {"one", std::string(300, 'o')}}, {3, {"three", "short"}}, {5, {"five", ""}}};
    const std::string base = scratch.File("base");
    fs::create_directories(base);
    const std::string basePath = CreateTable(TTableFormat::Paradox, base, "KEYED", before);
    int found = 0;
    int withoutJournal = 0;
    for (int writes = 1; writes < 40; ++writes) {
        const std::string dir = scratch.File("k" + std::to_string(writes));
        CopyFolder(base, dir);
        const std::string path = dir + "/KEYED.db";
        if (!StopParadoxInsertAfter(path, writes))
            break;
        auto readOnly = OpenTable(TTableFormat::Paradox, path, true);
        if (readOnly->RecoveryNote().empty())
            continue;   // stopped before the first write to the table, or after the change was complete
        ++found;
        EXPECT_FALSE(readOnly->CanModify());
        readOnly.reset();
        // Without its journal the same files only tell that blocks and header disagree.
        const std::string orphan = scratch.File("j" + std::to_string(writes));
        CopyFolder(dir, orphan);
        fs::remove(orphan + "/.KEYED.db.undo");
        auto unjournalled = OpenTable(TTableFormat::Paradox, orphan + "/KEYED.db");
        if (!unjournalled->CanModify()) {
            ++withoutJournal;
            EXPECT_NE(unjournalled->RecoveryNote().find("blocks hold"), std::string::npos);
            EXPECT_EQ(Tablecat("--repair", orphan + "/KEYED.db").ExitCode, 2);
        }
        EXPECT_EQ(Tablecat("--check", path).ExitCode, 2) << "stopped after write " << writes;
        TRun repair = Tablecat("--repair", path);
        EXPECT_EQ(repair.ExitCode, 0) << repair.Output;
        EXPECT_NE(repair.Output.find("put back"), std::string::npos) << repair.Output;
        EXPECT_EQ(Tablecat("--check", path).ExitCode, 0);
        auto reopened = OpenTable(TTableFormat::Paradox, path);
        EXPECT_TRUE(reopened->CanModify());
        EXPECT_EQ(ReadRows(*reopened), before) << "stopped after write " << writes;
        // The rebuilt primary index finds every key.
        Perform(*reopened, TEdit{TEdit::Insert, 4, {"four", std::string(500, 'f')}});
        EXPECT_TRUE(GotoId(*reopened, 4));
    }
    EXPECT_GT(found, 0) << "no stop left a change half written";
    EXPECT_GT(withoutJournal, 0) << "no stop left the blocks ahead of the header";
}

TEST(StrandedAscii, UnfinishedCopiesOfAStoppedWriteAreRemoved)
{
    TScratchDir dir;
    const std::string path = CreateTable(TTableFormat::Ascii, dir.Path(), "LIST", ThreeRows());
    const std::string leftover = dir.File(".LIST.txt.Ab12Cd");
    const std::string unrelated = dir.File(".LIST.txt.notes");
    WriteBytes(leftover, "1,\"half\n");
    WriteBytes(unrelated, "kept");
    TCapturedLog log;
    auto cursor = OpenTable(TTableFormat::Ascii, path);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(unrelated));
    EXPECT_NE(cursor->RecoveryNote().find("1 unfinished copy"), std::string::npos) << cursor->RecoveryNote();
    EXPECT_EQ(log.Lines.size(), 1u);
    EXPECT_EQ(ReadRows(*cursor), ThreeRows());
}

} // namespace
