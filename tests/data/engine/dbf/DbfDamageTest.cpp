// Damaged and foreign files: every complete record stays readable, a file
// that is no table fails with EDBEngineError, and nothing crashes.

#include "DbfTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

const std::string People = "/testdata/dbf/olemb_dbfread/people.dbf";   // Alice, Bob, a deleted third

size_t LiveRecords(const std::string& path)
{
    auto cursor = OpenDbf(path, true);
    return ReadAll(*cursor).size();
}

} // namespace

TEST(DbfDamage, ATruncatedLastRecordLeavesTheCompleteOnesReadableAndTheTableReadOnly)
{
    TScratchDir dir;
    std::string bytes = ReadFileBytes(SharedDir() + People);
    WriteFileBytes(dir.File("cut.dbf"), bytes.substr(0, bytes.size() - 10));
    auto cursor = OpenDbf(dir.File("cut.dbf"));
    EXPECT_FALSE(cursor->CanModify());
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 2u);   // the third (a deleted one) is cut
    EXPECT_EQ(records[0][0].AsString(), "Alice");
    EXPECT_EQ(records[1][0].AsString(), "Bob");
    WriteFileBytes(dir.File("cut2.dbf"), bytes.substr(0, bytes.size() - 40));
    EXPECT_EQ(LiveRecords(dir.File("cut2.dbf")), 1u) << "Bob's record is cut";
}

TEST(DbfDamage, AMissingEndMarkerOrACountBeyondTheDataIsTolerated)
{
    TScratchDir dir;
    std::string bytes = ReadFileBytes(SharedDir() + People);
    ASSERT_EQ(bytes.back(), '\x1A');
    WriteFileBytes(dir.File("noeof.dbf"), bytes.substr(0, bytes.size() - 1));
    auto cursor = OpenDbf(dir.File("noeof.dbf"));
    EXPECT_TRUE(cursor->CanModify());
    EXPECT_EQ(ReadAll(*cursor).size(), 2u);
    // An append puts the marker back.
    TEngineRecord record = cursor->BlankRecord();
    record[0] = TVariant("Dora");
    cursor->InsertRecord(record, true);
    EXPECT_EQ(ReadFileBytes(dir.File("noeof.dbf")).back(), '\x1A');

    std::string inflated = bytes;
    inflated[4] = 40;   // header claims 40 records
    WriteFileBytes(dir.File("count.dbf"), inflated);
    EXPECT_EQ(LiveRecords(dir.File("count.dbf")), 2u);
    EXPECT_FALSE(OpenDbf(dir.File("count.dbf"))->CanModify());
}

TEST(DbfDamage, TrailingGarbageIsNeitherShownNorOverwritten)
{
    TScratchDir dir;
    std::string bytes = ReadFileBytes(SharedDir() + People) + std::string(200, 'x');
    WriteFileBytes(dir.File("tail.dbf"), bytes);
    auto cursor = OpenDbf(dir.File("tail.dbf"));
    EXPECT_EQ(ReadAll(*cursor).size(), 2u);
    EXPECT_FALSE(cursor->CanModify()) << "whole records past the count may be someone's unfinished append";
}

TEST(DbfDamage, FilesThatAreNoTablesFailWithAClearEngineError)
{
    TScratchDir dir;
    const std::vector<std::string> notTables = {
        "",
        "hello, this is a text file and not a table at all, honestly",
        std::string(64, '\0'),
        std::string("\x03\x7E\x0C\x08\x01\x00\x00\x00\xFF\xFF\x20\x00", 12) + std::string(40, '\0'),
    };
    int n = 0;
    for (const std::string& content : notTables) {
        std::string path = dir.File("bad" + std::to_string(n++) + ".dbf");
        WriteFileBytes(path, content);
        try {
            OpenDbf(path, true);
            ADD_FAILURE() << "opened a file that is no table: " << n;
        } catch (const EDBEngineError& e) {
            EXPECT_FALSE(e.Message().empty());
        }
    }
    try {
        OpenDbf(dir.File("missing.dbf"), true);
        FAIL();
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_OSENOENT);
    }
}

TEST(DbfDamage, AMissingMemoFileShowsEmptyMemosReadOnly)
{
    // The shared copy of this table comes without its memo file.
    auto cursor = OpenDbf(SharedDir() + "/testdata/dbf/infused_dbf/dbase_8b_incorrect_record_count.dbf", true);
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 10u);
    EXPECT_TRUE(records[0][5].IsNull());
}

TEST(DbfDamage, MemosInSmallDBase4BlocksAreReadFromTheirOwnBlockSize)
{
    auto cursor = OpenDbf(SharedDir() + "/testdata/dbf/emelhu_NDbfReaderEx/BDE_TEST_4_64.dbf", true);
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    EXPECT_EQ(record.back().AsString(), ">aAaA aAaA aAaA aAaA aAaA aAaA aAaA aAaA>");
}

// Random damage to the headers and records of real files: opening and
// reading either works or raises EDBEngineError, never anything else.
TEST(DbfDamage, RandomlyDamagedRealFilesNeverCrashTheReader)
{
    struct TSample {
        const char* Table;
        const char* Memo;
    };
    const TSample samples[] = {
        {"olemb_dbfread/people.dbf", nullptr},
        {"infused_dbf/dbase_83.dbf", "infused_dbf/dbase_83.dbt"},
        {"infused_dbf/dbase_31.dbf", nullptr},
        {"infused_dbf/dbase_8b.dbf", "infused_dbf/dbase_8b.dbt"},
        {"Valentin-Kaiser_go-dbase/table/TEST.DBF", "Valentin-Kaiser_go-dbase/table/TEST.FPT"},
        {"albfernandez_javadbf/inventory.dbf", "albfernandez_javadbf/inventory.dbt"},
    };
    TScratchDir dir;
    std::mt19937 random(20261208);
    int opened = 0, refused = 0;
    for (const TSample& sample : samples) {
        const std::string table = ReadFileBytes(SharedDir() + "/testdata/dbf/" + sample.Table);
        const std::string memo = sample.Memo ? ReadFileBytes(SharedDir() + "/testdata/dbf/" + sample.Memo) : "";
        const std::string memoName = sample.Memo ? std::string("t") + std::string(sample.Memo).substr(std::string(sample.Memo).size() - 4) : "";
        for (int round = 0; round < 150; ++round) {
            std::string damagedTable = table, damagedMemo = memo;
            int mutations = 1 + static_cast<int>(random() % 6);
            for (int m = 0; m < mutations; ++m) {
                bool inMemo = !damagedMemo.empty() && random() % 4 == 0;
                std::string& target = inMemo ? damagedMemo : damagedTable;
                size_t limit = random() % 2 ? std::min<size_t>(target.size(), 600) : target.size();
                size_t at = random() % limit;
                switch (random() % 3) {
                case 0: target[at] = static_cast<char>(random()); break;
                case 1: target[at] = static_cast<char>(random() % 2 ? 0xFF : 0x00); break;
                default: target.resize(at); break;
                }
                if (target.empty())
                    break;
            }
            WriteFileBytes(dir.File("t.dbf"), damagedTable);
            if (sample.Memo)
                WriteFileBytes(dir.File(memoName), damagedMemo);
            try {
                auto cursor = OpenDbf(dir.File("t.dbf"), true);
                TEngineRecord record;
                cursor->SetToEnd();
                while (cursor->Prior(record)) {
                }
                ReadAll(*cursor);
                cursor->RecordCount();
                ++opened;
            } catch (const EDBEngineError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

TEST(DbfLevel2, ADBaseIITableReadsReadOnly)
{
    // 0x02, 2 records, date, record length 1 + 10 + 5 + 1, then 16-byte
    // descriptors (name 11, type, length, address 2, decimals), 0x0D.
    std::string header(521, '\0');
    header[0] = 0x02;
    header[1] = 2;
    header[3] = 12;
    header[4] = 31;
    header[5] = 85;
    header[6] = 17;
    auto descriptor = [&](size_t slot, const char* name, char type, int length, int decimals) {
        std::memcpy(&header[8 + 16 * slot], name, std::strlen(name));
        header[8 + 16 * slot + 11] = type;
        header[8 + 16 * slot + 12] = static_cast<char>(length);
        header[8 + 16 * slot + 15] = static_cast<char>(decimals);
    };
    descriptor(0, "NAME", 'C', 10, 0);
    descriptor(1, "PRICE", 'N', 5, 2);
    descriptor(2, "OK", 'L', 1, 0);
    header[8 + 16 * 3] = 0x0D;
    std::string file = header + " Apple     12.50T" + "*Pear       1.25F" + "\x1A";
    TScratchDir dir;
    WriteFileBytes(dir.File("old.dbf"), file);
    auto cursor = OpenDbf(dir.File("old.dbf"));
    EXPECT_FALSE(cursor->CanModify());
    ASSERT_EQ(cursor->FieldDefs().size(), 3u);
    std::vector<TEngineRecord> records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][0].AsString(), "Apple");
    EXPECT_DOUBLE_EQ(records[0][1].AsDouble(), 12.5);
    EXPECT_TRUE(records[0][2].AsBoolean());
}
