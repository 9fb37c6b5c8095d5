// A writer stopped (SIGKILL) after every single write of a series of posts
// (an insert, an edit of a text and a memo, a delete, an append), once per
// write, on a dBASE table with a memo file, a keyed Paradox table with
// blobs in its .MB, and an ASCII table.  After each stop the table must
// open read-write again, hold every post that returned (and the one under
// way at most), and take a new post.  dBASE tables must read the same in
// another reader (dbfread) both before and after the engine opens them.
//
// TM_KILL_ROUNDS=n runs the series n times with different values (default 1).

#include "DbfreadReader.h"
#include "RecoveryTestSupport.h"

#include "data/engine/EngineLog.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

std::string Long(char c, size_t n) { return std::string(n, c); }

TRows StartRows(int round)
{
    TRows rows;
    for (int id = 10; id <= 120; id += 10)
        rows[id] = TRow{"row " + std::to_string(id) + "/" + std::to_string(round),
                        id % 20 == 0 ? Long(static_cast<char>('a' + id / 10 % 26), 300) : "short note"};
    return rows;
}

std::vector<TEdit> Edits(int round)
{
    const std::string r = std::to_string(round);
    return {
        {TEdit::Insert, 15, {"inserted " + r, Long('x', 700) + r}},
        {TEdit::Modify, 40, {"edited " + r, Long('y', 900) + r}},
        {TEdit::Delete, 70, {}},
        {TEdit::Insert, 1000, {"appended " + r, "tail " + r}},
        {TEdit::Modify, 10, {"edited again " + r, ""}},
    };
}

struct TFigures {
    int Kills = 0;
    int Stranded = 0;
    int PostsLost = 0;
    int PutBack = 0;   // opens that reported putting the table back
    size_t DbfreadCopies = 0;
    std::vector<std::string> Faults;
};

std::string Describe(const TRows& rows)
{
    std::ostringstream out;
    for (const auto& [id, row] : rows)
        out << id << ":" << row.Name << "/" << row.Notes.size() << " ";
    return out.str();
}

// The series of edits in a child that kills itself after `writes` writes;
// each post that returns is reported through `pipe`.
TChildResult RunStoppedWriter(TTableFormat format, const std::string& path, const std::vector<TEdit>& edits,
                              int64_t writes, int pipe)
{
    return RunInChild([&] {
        auto cursor = OpenTable(format, path);
        SetKillAfterWrites(writes);
        for (size_t i = 0; i < edits.size(); ++i) {
            Perform(*cursor, edits[i]);
            char done = static_cast<char>(i);
            if (::write(pipe, &done, 1) != 1)
                return 3;
        }
        SetKillAfterWrites(0);
        return 0;
    });
}

size_t ReturnedPosts(int pipe)
{
    size_t count = 0;
    char buffer[64];
    ssize_t n;
    while ((n = ::read(pipe, buffer, sizeof buffer)) > 0)
        count += static_cast<size_t>(n);
    return count;
}

bool Allowed(const TRows& rows, const TRows& start, const std::vector<TEdit>& edits, size_t returned)
{
    return rows == RowsAfter(start, edits, returned) || rows == RowsAfter(start, edits, returned + 1);
}

void RunKillSeries(TTableFormat format, int round, TFigures& figures, TDbfreadReader* dbfread)
{
    TScratchDir scratch;
    const std::string base = scratch.File("base");
    std::filesystem::create_directories(base);
    const TRows start = StartRows(round);
    const std::string basePath = CreateTable(format, base, "T", start);
    const std::string name = basePath.substr(base.size() + 1);
    const std::vector<TEdit> edits = Edits(round);

    for (int64_t writes = 1; writes < 10000; ++writes) {
        const std::string dir = scratch.File("k" + std::to_string(writes));
        CopyFolder(base, dir);
        const std::string path = dir + "/" + name;
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        TChildResult child = RunStoppedWriter(format, path, edits, writes, fds[1]);
        ::close(fds[1]);
        const size_t returned = ReturnedPosts(fds[0]);
        ::close(fds[0]);
        if (child.Exited) {
            ASSERT_EQ(child.Code, 0) << FormatName(format) << ": the writer failed after " << writes << " writes";
            auto cursor = OpenTable(format, path);
            EXPECT_EQ(ReadRows(*cursor), RowsAfter(start, edits, edits.size()));
            EXPECT_EQ(cursor->RecoveryNote(), "");
            break;
        }
        ASSERT_EQ(child.Signal, SIGKILL);
        ++figures.Kills;
        const std::string where = FormatName(format) + ", stopped after write " + std::to_string(writes) + " (" +
                                  std::to_string(returned) + " posts returned)";
        // What another program reads before this engine touches the table.
        std::string untouched;
        if (dbfread) {
            untouched = scratch.File("u" + std::to_string(writes));
            CopyFolder(dir, untouched);
            dbfread->Add(untouched + "/" + name, where + ", as left",
                         {RowsAfter(start, edits, returned), RowsAfter(start, edits, returned + 1)});
        }
        std::unique_ptr<TEngineCursor> cursor;
        try {
            cursor = OpenTable(format, path);
        } catch (const EDBEngineError& e) {
            ++figures.Stranded;
            figures.Faults.push_back(where + ": the table does not open for writing: " + e.Message());
            continue;
        }
        if (!cursor->CanModify()) {
            ++figures.Stranded;
            figures.Faults.push_back(where + ": the table opened read-only");
            continue;
        }
        if (!cursor->RecoveryNote().empty())
            ++figures.PutBack;
        TRows rows = ReadRows(*cursor);
        if (!Allowed(rows, start, edits, returned)) {
            ++figures.PostsLost;
            figures.Faults.push_back(where + ": reads " + Describe(rows) + "; expected " +
                                     Describe(RowsAfter(start, edits, returned)));
            continue;
        }
        if (dbfread)
            dbfread->Add(path, where + ", after the engine opened it", {rows});
        // The table takes a new post; the copy read by dbfread is the one before it.
        const std::string probeDir = scratch.File("p" + std::to_string(writes));
        CopyFolder(dir, probeDir);
        auto probe = OpenTable(format, probeDir + "/" + name);
        TEdit extra{TEdit::Insert, 2000, {"probe", Long('p', 400)}};
        Perform(*probe, extra);
        Apply(rows, extra);
        EXPECT_EQ(ReadRows(*probe), rows) << where;
    }
    // The copies are read while the scratch folder still holds them.
    if (dbfread && dbfread->Available()) {
        for (const std::string& mismatch : dbfread->Check())
            figures.Faults.push_back(mismatch);
        figures.DbfreadCopies += dbfread->Count();
        dbfread->Clear();
    }
}

class KillRecoveryTest : public ::testing::TestWithParam<TTableFormat> {};

TEST_P(KillRecoveryTest, EveryStopLeavesATableThatOpensForWritingWithEveryReturnedPost)
{
    std::vector<std::string> logLines;
    TEngineLogSink previous = SetEngineLogSink([&](const std::string& line) { logLines.push_back(line); });
    const int rounds = std::getenv("TM_KILL_ROUNDS") ? std::max(1, std::atoi(std::getenv("TM_KILL_ROUNDS"))) : 1;
    TFigures figures;
    std::unique_ptr<TDbfreadReader> dbfread;
    if (GetParam() == TTableFormat::DBase)
        dbfread = std::make_unique<TDbfreadReader>();
    for (int round = 0; round < rounds; ++round)
        RunKillSeries(GetParam(), round, figures, dbfread.get());
    SetEngineLogSink(previous);

    std::cout << "[ figures  ] " << FormatName(GetParam()) << ": kills run " << figures.Kills << ", tables stranded "
              << figures.Stranded << ", posts lost " << figures.PostsLost << ", tables put back at open "
              << figures.PutBack << "\n";
    for (const std::string& fault : figures.Faults)
        ADD_FAILURE() << fault;
    EXPECT_EQ(figures.Stranded, 0);
    EXPECT_EQ(figures.PostsLost, 0);
    // Every write of the series was a stopping point.
    EXPECT_GE(figures.Kills, 8 * rounds);
    // Each table put back said so in the log.
    EXPECT_GE(logLines.size(), static_cast<size_t>(figures.PutBack));
    if (GetParam() != TTableFormat::Ascii) {
        EXPECT_GT(figures.PutBack, 0) << "no stop fell between the writes of a post";
    }

    if (dbfread && !dbfread->Available())
        std::cout << "[ skipped  ] the dbfread check: " << dbfread->WhyUnavailable() << "\n";
    else if (dbfread)
        std::cout << "[ figures  ] dbfread read " << figures.DbfreadCopies << " copies\n";
}

INSTANTIATE_TEST_SUITE_P(Formats, KillRecoveryTest,
                         ::testing::Values(TTableFormat::DBase, TTableFormat::Paradox, TTableFormat::Ascii),
                         [](const auto& info) { return FormatName(info.param); });

} // namespace
