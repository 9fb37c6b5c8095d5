// What an open index keeps between posts (pages read a block at a time,
// decoded nodes, the open journal file) never stands in for the files: two
// cursors posting in turn each see the other's changes, the nodes a cursor
// keeps from its own posts (refused ones among them) are those its file
// holds, and the journal file a cursor posts through stays until the last
// cursor closes.

#include "CdxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"
#include "data/engine/dbf/CdxIndex.h"
#include "data/engine/dbf/DbfJournal.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <numeric>

namespace {

using TPairs = std::vector<std::pair<std::string, uint32_t>>;

TPairs Walk(cdx::TTree tree)
{
    TPairs pairs;
    tree.ForEach([&](const cdx::TEntry& e) { pairs.emplace_back(e.Key, e.RecNo); });
    return pairs;
}

TPairs TreePairs(cdx::TIndex& index, const cdx::TTag& tag) { return Walk(index.TreeOf(tag)); }

// Every tag as `table`'s open index walks it equals the tag as a fresh
// reading of the file walks it.
void ExpectIndexMatchesFile(TDbfCursor& table, const std::string& when)
{
    cdx::TIndex* kept = table.Index();
    ASSERT_NE(kept, nullptr);
    // A post brings the kept pages up to date with other cursors' changes.
    kept->Begin();
    cdx::TIndex fresh(kept->Path(), table.Header(), table.CodePage(), false);
    ASSERT_EQ(kept->Tags().size(), fresh.Tags().size());
    for (size_t t = 0; t < fresh.Tags().size(); ++t)
        EXPECT_EQ(TreePairs(*kept, kept->Tags()[t]), TreePairs(fresh, fresh.Tags()[t]))
            << "tag " << fresh.Tags()[t].Name << " " << when;
}

void ModifyRandomRecord(TDbfCursor& table, std::mt19937& random)
{
    ASSERT_TRUE(table.SetRecNo(1 + static_cast<int64_t>(random() % static_cast<uint32_t>(table.RecordCount()))));
    TEngineRecord record;
    ASSERT_TRUE(table.ReadCurrent(record));
    TEngineRecord changed = RandomRecord(random, record[FieldId].AsInteger());
    table.ModifyRecord(changed);
}

// A new indexed table with two cursors open on it.
struct TTwoCursors {
    TTwoCursors(const std::string& stem, uint32_t records, uint32_t seed)
        : Path(MakeIndexedTable(Dir.Path(), stem, records, seed)), First(OpenIndexedTable(Path)),
          Second(OpenIndexedTable(Path))
    {
    }

    TScratchDir Dir;
    std::string Path;
    std::unique_ptr<TDbfCursor> First, Second;
};

} // namespace

TEST(CdxCache, TwoCursorsPostingInTurnEachSeeTheOthersChanges)
{
    TTwoCursors cursors("turns", 3000, 21);
    auto& first = cursors.First;
    auto& second = cursors.Second;
    std::mt19937 random(5);
    int32_t nextId = 10000;
    for (int round = 0; round < 40; ++round) {
        TDbfCursor& table = round % 2 ? *second : *first;
        table.Refresh();
        for (int i = 0; i < 15; ++i) {
            if (i % 5 == 4) {
                TEngineRecord record = RandomRecord(random, nextId++);
                table.InsertRecord(record, true);
            } else {
                ModifyRandomRecord(table, random);
            }
        }
        ExpectIndexMatchesFile(*first, "after round " + std::to_string(round));
        ExpectIndexMatchesFile(*second, "after round " + std::to_string(round));
    }
    first->Refresh();
    EXPECT_EQ(IndexFindings(*first), "");
}

TEST(CdxCache, TheNodesACursorKeepsFromItsOwnPostsAreThoseOfItsFile)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "refused", 2000, 22);
    auto table = OpenIndexedTable(path);
    std::mt19937 random(6);
    for (int i = 0; i < 200; ++i) {
        ModifyRandomRecord(*table, random);
        // A candidate violation, refused before anything is planned.
        ASSERT_TRUE(table->SetRecNo(1 + random() % 2000));
        TEngineRecord record;
        ASSERT_TRUE(table->ReadCurrent(record));
        const int32_t id = record[FieldId].AsInteger();
        record = RandomRecord(random, id == 1 ? 2 : 1);
        EXPECT_THROW(table->ModifyRecord(record), EDBEngineError);
        if (i % 40 == 39)
            ExpectIndexMatchesFile(*table, "after " + std::to_string(i + 1) + " refusals");
    }
    EXPECT_EQ(IndexFindings(*table), "");
}

TEST(CdxCache, AnotherCursorClosingLeavesTheJournalACursorPostsThrough)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "held", 500, 23);
    const auto before = Snapshot(dir.Path());
    TChildResult stopped = RunInChild([&] {
        auto table = OpenIndexedTable(path);
        std::mt19937 random(7);
        ModifyRandomRecord(*table, random);
        // Another cursor closing the table leaves the journal the first holds.
        OpenIndexedTable(path).reset();
        if (!TDbfFile::Exists(TDbfJournal::PathFor(path)))
            return 3;
        // Stopped after the journal and the record are written, before the index.
        SetKillAfterWrites(2);
        ModifyRandomRecord(*table, random);
        return 0;
    });
    ASSERT_FALSE(stopped.Exited) << "code " << stopped.Code;
    ASSERT_EQ(stopped.Signal, SIGKILL);
    ASSERT_TRUE(TDbfJournal::Pending(path));
    auto table = OpenIndexedTable(path);
    EXPECT_NE(table->RecoveryNote().find("undone"), std::string::npos) << table->RecoveryNote();
    EXPECT_TRUE(table->CanModify()) << table->ReadOnlyReason();
    EXPECT_EQ(IndexFindings(*table), "");
    EXPECT_NE(Snapshot(dir.Path()), before);   // the first post stays
}

TEST(CdxCache, TheLastCursorClosingRemovesTheJournal)
{
    TTwoCursors cursors("last", 300, 24);
    const std::string& path = cursors.Path;
    auto& first = cursors.First;
    auto& second = cursors.Second;
    std::mt19937 random(8);
    ModifyRandomRecord(*first, random);
    ModifyRandomRecord(*second, random);
    first.reset();
    EXPECT_TRUE(TDbfFile::Exists(TDbfJournal::PathFor(path)));
    ModifyRandomRecord(*second, random);
    second.reset();
    EXPECT_FALSE(TDbfFile::Exists(TDbfJournal::PathFor(path)));
    EXPECT_EQ(IndexFindings(*OpenIndexedTable(path)), "");
}

// A cache of three decoded nodes (each page decoded, dropped and decoded
// again many times over, its slots reused) plans the same trees as one
// that keeps every node: edits of every tag through both, never written,
// leave both holding exactly the pairs they should.
TEST(CdxCache, ACacheOfAFewNodesPlansTheTreesOneKeepingAllPlans)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "few", 3000, 25);
    auto table = OpenIndexedTable(path, true);
    cdx::TIndex& index = *table->Index();
    TDbfFile fewFile(index.Path(), false), allFile(index.Path(), false);
    cdx::TPages few(fewFile, 3), all(allFile);
    std::mt19937 random(9);
    size_t largest = 0;
    for (const cdx::TTag& tag : index.Tags()) {
        cdx::TTree fewTree(few, tag.HeaderOffset, tag.Header.KeyLength, tag.Fill);
        cdx::TTree allTree(all, tag.HeaderOffset, tag.Header.KeyLength, tag.Fill);
        TPairs expected = Walk(allTree);
        const size_t edits = std::min<size_t>(300, expected.size() / 2);
        largest = std::max(largest, expected.size());
        std::vector<size_t> order(expected.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::shuffle(order.begin(), order.end(), random);
        TPairs removed = expected, added;
        for (size_t i = 0; i < edits; ++i) {
            const auto [key, recNo] = expected[order[i]];
            fewTree.Remove(key, recNo);
            allTree.Remove(key, recNo);
            // Filed again under another pair's key and a new record number.
            const std::string& otherKey = expected[order[expected.size() - 1 - i]].first;
            fewTree.Insert(otherKey, 100000 + static_cast<uint32_t>(i));
            allTree.Insert(otherKey, 100000 + static_cast<uint32_t>(i));
            added.emplace_back(otherKey, 100000 + static_cast<uint32_t>(i));
        }
        for (size_t i = 0; i < edits; ++i)
            removed.erase(std::find(removed.begin(), removed.end(), expected[order[i]]));
        removed.insert(removed.end(), added.begin(), added.end());
        std::sort(removed.begin(), removed.end(), [](const auto& a, const auto& b) {
            return cdx::CompareEntries(a.first, a.second, b.first, b.second) < 0;
        });
        EXPECT_EQ(Walk(allTree), removed) << "tag " << tag.Name;
        EXPECT_EQ(Walk(fewTree), removed) << "tag " << tag.Name;
    }
    EXPECT_GE(largest, 3000u) << "a tag of many leaves";
}
