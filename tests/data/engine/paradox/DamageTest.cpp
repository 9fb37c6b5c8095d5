// Damaged files: wrong counts, broken chains, truncated files and blob
// files open with what can be read (read-only) or fail with a clear
// message; randomly mutated real files never crash the engine.

#include "ParadoxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/FileBytes.h"
#include "data/engine/paradox/ParadoxCursor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

std::string ReasonOf(TEngineCursor& cursor)
{
    return static_cast<TParadoxCursor&>(cursor).ReadOnlyReason();
}

// Reads everything the cursor offers, the way a user browsing would.
void Exercise(TEngineCursor& cursor)
{
    TEngineRecord r;
    cursor.SetToBegin();
    int64_t n = 0;
    while (cursor.Next(r) && n < 100000)
        ++n;
    if (cursor.RecordCount() > 0) {
        cursor.SetRecNo(cursor.RecordCount());
        cursor.ReadCurrent(r);
        std::string mark = cursor.Bookmark();
        cursor.SetToBegin();
        cursor.GotoBookmark(mark);
        cursor.Prior(r);
    }
    if (cursor.CanModify() && cursor.RecordCount() > 0) {
        cursor.SetRecNo(1);
        cursor.ReadCurrent(r);
        cursor.ModifyRecord(r);
        cursor.DeleteRecord();
    }
}

} // namespace

TEST(ParadoxDamage, WrongRecordCountOpensReadOnlyWithTheRecordsPresent)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/areas/AREACODE.DB"));
    std::string bytes = ReadFileBytes(path);
    PutWordAt(bytes, 0x06, 500);
    WriteFileBytes(path, bytes);
    auto cursor = OpenParadox(path);
    EXPECT_EQ(cursor->RecordCount(), 239);
    EXPECT_FALSE(cursor->CanModify());
    EXPECT_NE(ReasonOf(*cursor).find("damaged"), std::string::npos);
    EXPECT_EQ(ReadAll(*cursor).size(), 239u);
}

TEST(ParadoxDamage, BrokenChainsStopWhereTheDamageIs)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/areas/AREACODE.DB"));
    std::string good = ReadFileBytes(path);
    const size_t headerSize = WordAt(good, 2), blockSize = static_cast<uint8_t>(good[5]) * 1024;
    const size_t first = headerSize + (WordAt(good, 0x0E) - 1) * blockSize;
    ASSERT_NE(WordAt(good, first), 0) << "the sample has more than one block";

    std::string dangling = good;
    PutWordAt(dangling, first, 0x7FFF);   // next block far beyond the file
    WriteFileBytes(path, dangling);
    auto cursor = OpenParadox(path);
    EXPECT_LT(cursor->RecordCount(), 239);
    EXPECT_GT(cursor->RecordCount(), 0);
    EXPECT_FALSE(cursor->CanModify());

    std::string cycle = good;
    PutWordAt(cycle, first, WordAt(good, 0x0E));   // the first block follows itself
    WriteFileBytes(path, cycle);
    auto cycled = OpenParadox(path);
    EXPECT_EQ(cycled->RecordCount(), ReadAll(*cycled).size());
    EXPECT_FALSE(cycled->CanModify());
}

TEST(ParadoxDamage, TruncatedFilesReadTheCompleteRecords)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/areas/ZIPCODES.DB"));
    std::string bytes = ReadFileBytes(path);
    WriteFileBytes(path, bytes.substr(0, bytes.size() - 1000));
    auto cursor = OpenParadox(path);
    EXPECT_FALSE(cursor->CanModify());
    int64_t count = cursor->RecordCount();
    EXPECT_LT(count, 43185);
    EXPECT_GT(count, 43000);
    auto all = ReadAll(*cursor);
    EXPECT_EQ(static_cast<int64_t>(all.size()), count);
    EXPECT_FALSE(all.back()[0].IsNull());

    WriteFileBytes(path, bytes.substr(0, 0x40));
    try {
        OpenParadox(path, true);
        ADD_FAILURE() << "a file shorter than its header opened";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_HEADERCORRUPT);
        EXPECT_NE(e.Message().find(path), std::string::npos) << "the message names the file";
    }
}

TEST(ParadoxDamage, ShortBlobFileLeavesTheOtherValuesReadable)
{
    TScratchDir dir;
    std::string path = dir.CopyTable(SharedPath("paradox/leonhad_paradoxdriver/db/CUSTOMER.DB"));
    std::string blobs = ReadFileBytes(dir.File("CUSTOMER.MB"));
    WriteFileBytes(dir.File("CUSTOMER.MB"), blobs.substr(0, 4096));
    auto cursor = OpenParadox(path, true);
    auto all = ReadAll(*cursor);
    ASSERT_EQ(all.size(), 20u);
    EXPECT_EQ(all[0][1].AsString(), "Luke");
    EXPECT_EQ(all[0][8].AsString(), "Small comment (less 100 symbols)");   // kept in the record itself
}

TEST(ParadoxDamage, RandomlyMutatedRealFilesOnlyRaiseEngineErrors)
{
    const char* samples[] = {"paradox/steinm_pxlib/TypSammlung.DB", "paradox/leonhad_paradoxdriver/db/CUSTOMER.DB",
                             "paradox/leonhad_paradoxdriver/fields/memo.db", "paradox/leonhad_paradoxdriver/encrypt/encryptedmemo.db",
                             "paradox/teverett_paradoxReader/PCLDATA/PCL.DB", "paradox/leonhad_paradoxdriver/fields/bcd.db",
                             "paradox/leonhad_paradoxdriver/geog/tblsttes.DB"};
    std::mt19937 random(11);
    int opened = 0, refused = 0;
    for (const char* sample : samples) {
        TScratchDir dir;
        std::string path = dir.CopyTable(SharedPath(sample));
        std::string blobPath;
        for (auto& entry : fs::directory_iterator(dir.Path()))
            if (entry.path().extension() == ".MB" || entry.path().extension() == ".mb")
                blobPath = entry.path().string();
        const std::string original = ReadFileBytes(path);
        const std::string originalBlobs = blobPath.empty() ? std::string() : ReadFileBytes(blobPath);
        const size_t headerSize = WordAt(original, 2);
        for (int round = 0; round < 100; ++round) {
            std::string bytes = original;
            std::string blobBytes = originalBlobs;
            int mutations = 1 + static_cast<int>(random() % 8);
            for (int m = 0; m < mutations; ++m) {
                int kind = static_cast<int>(random() % 5);
                if (bytes.empty())
                    break;
                if (kind == 0)        // header counters and offsets
                    bytes[random() % std::min<size_t>(0x80, bytes.size())] = static_cast<char>(random());
                else if (kind == 1)   // anywhere in the header
                    bytes[random() % std::min(headerSize, bytes.size())] = static_cast<char>(random());
                else if (kind == 2 && bytes.size() > headerSize)   // block controls and record bytes
                    bytes[headerSize + random() % (bytes.size() - headerSize)] = static_cast<char>(random());
                else if (kind == 3)
                    bytes.resize(random() % (bytes.size() + 1));
                else if (!blobBytes.empty())
                    blobBytes[random() % blobBytes.size()] = static_cast<char>(random());
            }
            WriteFileBytes(path, bytes);
            if (!blobPath.empty())
                WriteFileBytes(blobPath, blobBytes);
            try {
                auto cursor = OpenParadox(path, round % 2 == 0, {"123"});
                Exercise(*cursor);
                ++opened;
            } catch (const EDBEngineError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

TEST(ParadoxDamage, EditingARecordKeepsABlobThatCouldNotBeRead)
{
    TScratchDir dir;
    std::string path = dir.File("notes.db");
    TCreateTableParams p;
    p.Path = path;
    p.Fields.resize(2);
    p.Fields[0].Name = "Title";
    p.Fields[0].DataType = ftString;
    p.Fields[0].Size = 20;
    p.Fields[1].Name = "Text";
    p.Fields[1].DataType = ftMemo;
    p.Fields[1].Size = 10;
    CreateParadoxDriver()->CreateTable(p);
    const std::string memo(6000, 'm');
    {
        auto cursor = OpenParadox(path);
        TEngineRecord r{TVariant("first"), TVariant(memo)};
        cursor->InsertRecord(r, true);
    }
    const std::string blobs = ReadFileBytes(dir.File("notes.mb"));
    WriteFileBytes(dir.File("notes.mb"), blobs.substr(0, 4096));   // the memo's block is gone
    {
        auto cursor = OpenParadox(path);
        ASSERT_TRUE(cursor->CanModify()) << ReasonOf(*cursor);
        ASSERT_TRUE(cursor->SetRecNo(1));
        TEngineRecord r;
        ASSERT_TRUE(cursor->ReadCurrent(r));
        EXPECT_TRUE(r[1].IsNull()) << "unreadable";
        r[0] = TVariant("renamed");   // a change of another field
        cursor->ModifyRecord(r);
    }
    WriteFileBytes(dir.File("notes.mb"), blobs);   // the blob file comes back
    auto records = ReadAll(*OpenParadox(path, true));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][0].AsString(), "renamed");
    EXPECT_EQ(records[0][1].AsString(), memo) << "the record still points at its memo";
}
