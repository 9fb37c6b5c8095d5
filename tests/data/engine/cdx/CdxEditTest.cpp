// Posts to an indexed table one at a time: a candidate violation refused
// with every file unchanged, a unique tag keeping the lowest record of
// each key, trees that split, merge and reuse freed pages, two cursors
// sharing the index through its change counter, and the reasons a table
// with an index it cannot keep opens read-only.

#include "CdxTestSupport.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "support/FileBytes.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

void Goto(TDbfCursor& table, uint32_t recNo, TEngineRecord& record)
{
    ASSERT_TRUE(table.SetRecNo(recNo));
    ASSERT_TRUE(table.ReadCurrent(record));
}

uint32_t ChangeCounterOf(const std::string& indexPath)
{
    std::string bytes = ReadFileBytes(indexPath);
    return Be32(reinterpret_cast<const uint8_t*>(bytes.data()) + 8);
}

// A FoxPro 2 table with one long character key, so a few hundred records
// make a tree of several levels (three interior entries a page).
std::string MakeLongKeyTable(const TScratchDir& dir, int records, std::mt19937& random)
{
    TCreateTableParams create;
    create.Path = dir.File("long.dbf");
    create.Level = "FOXPRO2";
    TEngineFieldDef text;
    text.Name = "TEXT";
    text.DataType = ftString;
    text.Size = 120;
    create.Fields = {text};
    CdxDbfDriver().CreateTable(create);
    cdx::CreateIndexFile(dir.File("long.cdx"), {{"TEXT", "TEXT", "", 120, 0, false}});
    auto table = OpenIndexedTable(create.Path);
    table->RebuildIndex();
    for (int i = 0; i < records; ++i) {
        TEngineRecord record = {TVariant("text " + std::to_string(random() % 100000) + std::string(random() % 60, 'x'))};
        table->InsertRecord(record, true);
    }
    return create.Path;
}

void ExpectReadOnlyBecause(const std::string& path, const std::string& words)
{
    auto table = OpenIndexedTable(path);
    EXPECT_FALSE(table->CanModify());
    EXPECT_NE(table->ReadOnlyReason().find(words), std::string::npos) << table->ReadOnlyReason();
}

} // namespace

TEST(CdxEdit, ACandidateViolationIsRefusedAndEveryFileStaysAsItWas)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "cand", 50, 3);
    auto table = OpenIndexedTable(path);
    const auto before = Snapshot(dir.Path());

    TEngineRecord record;
    Goto(*table, 2, record);
    record[FieldId] = TVariant(int32_t(1));
    record[FieldName] = TVariant("changed as well");
    try {
        table->ModifyRecord(record);
        FAIL() << "the second ID 1 was taken";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_KEYVIOL);
        EXPECT_NE(std::string(e.what()).find("Uniqueness of index ID is violated."), std::string::npos) << e.what();
    }
    std::mt19937 random(5);
    TEngineRecord fresh = RandomRecord(random, 7);
    EXPECT_THROW(table->InsertRecord(fresh, true), EDBEngineError);
    EXPECT_EQ(Snapshot(dir.Path()), before);

    // The same record may keep its own key, and a free key is taken.
    Goto(*table, 2, record);
    record[FieldId] = TVariant(int32_t(2));
    record[FieldName] = TVariant("renamed");
    table->ModifyRecord(record);
    fresh[FieldId] = TVariant(int32_t(51));
    table->InsertRecord(fresh, true);
    EXPECT_EQ(IndexFindings(*table), "");
}

TEST(CdxEdit, AUniqueTagKeepsTheLowestRecordOfEachKey)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "uniq", 200, 4);
    auto table = OpenIndexedTable(path);
    // The record holding each city in the tag, then each holder moves away.
    for (int round = 0; round < 5; ++round) {
        std::vector<uint32_t> holders = EngineOrder(*table, "CITY");
        ASSERT_FALSE(holders.empty());
        TEngineRecord record;
        Goto(*table, holders.front(), record);
        record[FieldCity] = TVariant("Nowhere" + std::to_string(round));
        table->ModifyRecord(record);
        EXPECT_EQ(IndexFindings(*table), "") << "round " << round;
        std::vector<uint32_t> after = EngineOrder(*table, "CITY");
        EXPECT_EQ(after.size(), holders.size() + 1) << "the city keeps a holder and the new one is filed";
    }
    // A new record with a held key stays out of the tag; the delete of a
    // holder changes nothing (deleted records stay indexed).
    std::vector<uint32_t> holders = EngineOrder(*table, "CITY");
    std::mt19937 random(9);
    TEngineRecord fresh = RandomRecord(random, 1000);
    table->InsertRecord(fresh, true);
    EXPECT_EQ(EngineOrder(*table, "CITY"), holders);
    ASSERT_TRUE(table->SetRecNo(holders.back()));
    table->DeleteRecord();
    EXPECT_EQ(EngineOrder(*table, "CITY"), holders);
    EXPECT_EQ(IndexFindings(*table), "");
}

TEST(CdxEdit, TreesSplitMergeAndReuseFreedPages)
{
    TScratchDir dir;
    std::mt19937 random(21);
    const std::string path = MakeLongKeyTable(dir, 600, random);
    auto table = OpenIndexedTable(path);
    cdx::TCheckReport grown = table->CheckIndex(true);
    ASSERT_TRUE(grown.Good()) << grown.Summary();
    EXPECT_EQ(grown.FreePages, 0u);
    EXPECT_GT(grown.UsedPages, 100u);

    // Deleting keeps the keys; blanking the texts moves them all to one
    // key, so the old leaves empty out, merge and go to the free list.
    for (uint32_t recNo = 1; recNo <= 550; ++recNo) {
        TEngineRecord record;
        Goto(*table, recNo, record);
        record[0] = TVariant("");
        table->ModifyRecord(record);
    }
    cdx::TCheckReport shrunk = table->CheckIndex(true);
    ASSERT_TRUE(shrunk.Good()) << shrunk.Summary();
    EXPECT_GT(shrunk.FreePages, 20u);
    const uint64_t size = ReadFileBytes(table->Index()->Path()).size();

    for (int i = 0; i < 30; ++i) {
        TEngineRecord record = {TVariant("again " + std::to_string(random()) + std::string(40, 'y'))};
        table->InsertRecord(record, true);
    }
    cdx::TCheckReport regrown = table->CheckIndex(true);
    ASSERT_TRUE(regrown.Good()) << regrown.Summary();
    EXPECT_LT(regrown.FreePages, shrunk.FreePages) << "freed pages are taken first";
    ASSERT_GT(regrown.FreePages, 0u);
    EXPECT_EQ(ReadFileBytes(table->Index()->Path()).size(), size) << "the file grows only when the list is empty";
    ExpectPerlReadsTheSame(*table);
}

TEST(CdxEdit, TwoCursorsShareTheIndexThroughItsChangeCounter)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "two", 300, 6);
    auto first = OpenIndexedTable(path);
    auto second = OpenIndexedTable(path);
    const std::string indexPath = first->Index()->Path();
    uint32_t counter = ChangeCounterOf(indexPath);
    std::mt19937 random(8);
    for (int i = 0; i < 40; ++i) {
        TDbfCursor& table = i % 2 ? *second : *first;
        table.Refresh();
        if (i % 3 == 0) {
            TEngineRecord record = RandomRecord(random, 1000 + i);
            table.InsertRecord(record, true);
        } else {
            TEngineRecord record;
            Goto(table, static_cast<uint32_t>(1 + random() % 300), record);
            record[FieldAmount] = TVariant(static_cast<double>(random() % 1000));
            record[FieldName] = RandomRecord(random, 0)[FieldName];
            table.ModifyRecord(record);
        }
        const uint32_t now = ChangeCounterOf(indexPath);
        EXPECT_EQ(now, counter + 1) << "one change, one step of the counter";
        counter = now;
    }
    second.reset();
    first->Refresh();
    EXPECT_EQ(IndexFindings(*first), "");
}

TEST(CdxEdit, AnIndexTheEngineCannotKeepLeavesTheTableReadOnly)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "ro", 20, 2);
    const std::string indexPath = dir.File("ro.cdx");
    const std::string good = ReadFileBytes(indexPath);

    std::remove(indexPath.c_str());
    cdx::CreateIndexFile(indexPath, {{"SOUND", "SOUNDEX(NAME)", "", 4, 0, false}});
    ExpectReadOnlyBecause(path, "SOUNDEX");

    std::remove(indexPath.c_str());
    cdx::CreateIndexFile(indexPath, {{"NAME", "NAME", "", 20, 0, false}});
    std::string general = ReadFileBytes(indexPath);
    general.replace(1024 + 494, 7, "GENERAL");
    WriteFileBytes(indexPath, general);
    ExpectReadOnlyBecause(path, "collation GENERAL");

    std::string damaged = good;
    damaged.replace(0, 4, "\x07\x00\x00\x00", 4);
    WriteFileBytes(indexPath, damaged);
    ExpectReadOnlyBecause(path, "damaged");

    WriteFileBytes(indexPath, good);
    EXPECT_TRUE(OpenIndexedTable(path)->CanModify());
}
