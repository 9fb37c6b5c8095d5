// Every size, count and offset a dBASE/FoxPro table keeps in its header,
// its field descriptors, its records and its memo file, set to a negative,
// oversized or overlapping value: the table is refused with the
// damaged-file error, or opens read-only with the reason the damage gives
// and shows what can be read; never a crash, an allocation or a loop
// driven by the value.

#include "DbfTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/FileBytes.h"
#include "data/engine/dbf/DbfCursor.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// people.dbf: dBASE III, header 97 bytes (NAME C 16, BIRTHDATE D 8),
// record length 25, three records (the third deleted), 173 bytes.
const std::string People = "/testdata/dbf/olemb_dbfread/people.dbf";

std::string ReasonOf(TEngineCursor& cursor)
{
    return static_cast<TDbfCursor&>(cursor).ReadOnlyReason();
}

struct THeaderCase {
    const char* Field;
    std::function<void(std::string&)> Damage;
    const char* Refusal;   // a text of the damaged-file error, or of the read-only reason
    bool Opens;            // opens read-only (the records say how much is there)
};

} // namespace

TEST(DbfSizeFields, HeaderSizesAndCountsOutOfRangeAreRefusedOrReadOnly)
{
    const THeaderCase cases[] = {
        {"header length past the file", [](std::string& b) { PutWordAt(b, 8, 0xFFFF); }, "longer than the file", false},
        {"header length inside the prefix", [](std::string& b) { PutWordAt(b, 8, 10); }, "lengths are impossible", false},
        {"header length cutting the descriptors", [](std::string& b) { PutWordAt(b, 8, 64); },
         "ends inside the field descriptors", false},
        {"header length overlapping the records", [](std::string& b) { PutWordAt(b, 8, 97 + 7); },
         "shorter than its header says", true},
        {"record length 0", [](std::string& b) { PutWordAt(b, 10, 0); }, "lengths are impossible", false},
        {"record length past the file", [](std::string& b) { PutWordAt(b, 10, 0xFFFF); },
         "shorter than its header says", true},
        {"record length below the fields, too long for the file",
         [](std::string& b) {
             PutWordAt(b, 10, 5);
             PutLongAt(b, 4, 1000);
         },
         "do not fit in the record length", false},
        {"field length past the record", [](std::string& b) { b[32 + 16] = static_cast<char>(255); },
         "do not fit in the record length", false},
        {"record count past the data", [](std::string& b) { PutLongAt(b, 4, 0xFFFFFFFF); },
         "shorter than its header says", true},
        {"record count 0 before whole records", [](std::string& b) { PutLongAt(b, 4, 0); },
         "data after its last record", true},
    };
    TScratchDir dir;
    const std::string original = ReadFileBytes(SharedDir() + People);
    ASSERT_EQ(original.size(), 173u);
    for (const THeaderCase& c : cases) {
        std::string bytes = original;
        c.Damage(bytes);
        WriteFileBytes(dir.File("t.dbf"), bytes);
        try {
            auto cursor = OpenDbf(dir.File("t.dbf"));
            EXPECT_TRUE(c.Opens) << c.Field << ": opened";
            EXPECT_FALSE(cursor->CanModify()) << c.Field;
            EXPECT_NE(ReasonOf(*cursor).find(c.Refusal), std::string::npos) << c.Field << ": " << ReasonOf(*cursor);
            EXPECT_LE(ReadAll(*cursor).size(), 2u) << c.Field;
        } catch (const EDBEngineError& e) {
            EXPECT_FALSE(c.Opens) << c.Field << ": " << e.Message();
            EXPECT_EQ(e.ErrorCode(), DBIERR_HEADERCORRUPT) << c.Field;
            EXPECT_NE(e.Message().find(c.Refusal), std::string::npos) << c.Field << ": " << e.Message();
            EXPECT_NE(e.Message().find("t.dbf"), std::string::npos) << c.Field << ": the message names the file";
        }
    }
}

TEST(DbfSizeFields, AFieldTooNarrowForItsTypeIsNeverReadPastItsWidth)
{
    // A logical field of width 0 at the end of the record: reading its one
    // byte would read past the last record (the sanitizer build sees it).
    TScratchDir dir;
    std::string bytes = ReadFileBytes(SharedDir() + People);
    bytes[32 + 16] = 24;   // NAME takes the date's bytes ...
    bytes[64 + 11] = 'L';
    bytes[64 + 16] = 0;    // ... and BIRTHDATE becomes a logical of width 0
    PutLongAt(bytes, 4, 2);   // the deleted third record is left out
    WriteFileBytes(dir.File("t.dbf"), bytes.substr(0, 97 + 2 * 25));
    auto records = ReadAll(*OpenDbf(dir.File("t.dbf"), true));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1][0].AsString().substr(0, 3), "Bob");
    EXPECT_TRUE(records[1][1].IsNull());
}

class DbfMemoSizeFields : public ::testing::TestWithParam<const char*> {
protected:
    bool FoxPro() const { return std::string(GetParam()) == "FOXPRO2"; }
    std::string TablePath(const TScratchDir& dir) const { return dir.File("m.dbf"); }
    std::string MemoPath(const TScratchDir& dir) const { return dir.File(FoxPro() ? "m.fpt" : "m.dbt"); }

    // A table of the dialect with one memo record; returns the memo file's bytes.
    std::string MakeTable(const TScratchDir& dir, const std::string& memoText) const
    {
        CreateNameAndMemoTable(TablePath(dir), GetParam(), 10);
        auto cursor = OpenDbf(TablePath(dir));
        TEngineRecord record = {TVariant("first"), TVariant(memoText)};
        cursor->InsertRecord(record, true);
        return ReadFileBytes(MemoPath(dir));
    }
};

// The memo of the first record starts at the memo file's first data block:
// offset 512 in every dialect (512-byte blocks after the header, or FoxPro's
// 64-byte blocks after its 512-byte header).
constexpr size_t FirstMemo = 512;

TEST_P(DbfMemoSizeFields, AMemoPointerPastTheEndReadsAsACutMemo)
{
    TScratchDir dir;
    MakeTable(dir, std::string(700, 'x'));
    std::string table = ReadFileBytes(TablePath(dir));
    const size_t header = WordAt(table, 8);
    table.replace(header + 1 + 10, 10, "9999999999");   // the NOTES field of the first record
    WriteFileBytes(TablePath(dir), table);
    auto records = ReadAll(*OpenDbf(TablePath(dir), true));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][0].AsString(), "first");
    EXPECT_TRUE(records[0][1].IsNull()) << "no data there: nothing is read";
}

// The dialects whose memo blocks store their length (dBASE III memos end at a marker).
class DbfMemoLengthFields : public DbfMemoSizeFields {};

TEST_P(DbfMemoLengthFields, AMemoLengthPastTheFileReadsAsACutMemoWithoutAnAllocation)
{
    TScratchDir dir;
    std::string memo = MakeTable(dir, std::string(700, 'x'));
    if (FoxPro())
        PutBigLongAt(memo, FirstMemo + 4, 0xFFFFFFF0u);
    else
        PutLongAt(memo, FirstMemo + 4, 0xFFFFFFF0u);
    WriteFileBytes(MemoPath(dir), memo);
    auto records = ReadAll(*OpenDbf(TablePath(dir), true));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0][1].IsNull());
}

TEST_P(DbfMemoSizeFields, AMemoFileShorterThanItsHeaderIsDamaged)
{
    TScratchDir dir;
    std::string memo = MakeTable(dir, "short");
    WriteFileBytes(MemoPath(dir), memo.substr(0, 4));
    auto cursor = OpenDbf(TablePath(dir));
    EXPECT_FALSE(cursor->CanModify());
    EXPECT_NE(ReasonOf(*cursor).find("memo file is damaged"), std::string::npos) << ReasonOf(*cursor);
    auto records = ReadAll(*cursor);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][0].AsString(), "first");
}

TEST_P(DbfMemoSizeFields, AMemoBlockSizeOfZeroOrOversizedNeverDrivesAnAllocation)
{
    for (uint16_t size : {uint16_t(0), uint16_t(1), uint16_t(0xFFFF)}) {
        TScratchDir dir;
        std::string memo = MakeTable(dir, std::string(700, 'y'));
        if (FoxPro()) {
            memo[6] = static_cast<char>(size >> 8);
            memo[7] = static_cast<char>(size & 0xFF);
        } else {
            PutWordAt(memo, 20, size);
        }
        WriteFileBytes(MemoPath(dir), memo);
        auto records = ReadAll(*OpenDbf(TablePath(dir), true));
        ASSERT_EQ(records.size(), 1u) << size;
        // Read from wherever the block size leads, or not at all: never more than the file.
        EXPECT_TRUE(records[0][1].IsNull() || records[0][1].AsString().size() <= memo.size()) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(Dialects, DbfMemoSizeFields, ::testing::Values("III", "IV", "FOXPRO2"));
INSTANTIATE_TEST_SUITE_P(Dialects, DbfMemoLengthFields, ::testing::Values("IV", "FOXPRO2"));
