// Damaged blob files and blob fields: every index and size taken from the
// .MB or from a blob field's descriptor is checked before use.

#include "ParadoxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/FileBytes.h"
#include "data/engine/paradox/ParadoxCursor.h"

#include <gtest/gtest.h>

namespace {

const char* MemoTable = "paradox/leonhad_paradoxdriver/fields/memo.db";
constexpr size_t SmallBlobBlock = 4096;   // memo.mb: its one block of small blobs
constexpr size_t SlotTableEnd = 0x0C + 64 * 5;

std::string CopyMemoTable(const TScratchDir& dir)
{
    return dir.CopyTable(SharedPath(MemoTable));
}

// Finds the memo whose value lives in a slot of the block of small blobs.
int64_t RecordWithSmallMemo(TEngineCursor& cursor, TEngineRecord& found)
{
    TEngineRecord r;
    cursor.SetToBegin();
    for (int64_t n = 1; cursor.Next(r); ++n)
        if (!r[1].IsNull() && r[1].AsString().size() > 240) {
            found = r;
            return n;
        }
    return 0;
}

} // namespace

// Found by the random damage test under AddressSanitizer: freeing a small
// blob scanned the 64 slots of its block in a 256-byte copy of the block's
// 332-byte header and read past it.  These are the mutated bytes of that run.
TEST(ParadoxBlobDamage, FreeingASmallBlobReadsAndWritesTheWholeSlotTable)
{
    TScratchDir dir;
    const std::string path = CopyMemoTable(dir);
    const std::string blobPath = dir.File("memo.mb");
    std::string table = ReadFileBytes(path);
    std::string blobs = ReadFileBytes(blobPath);
    ASSERT_EQ(table.size(), 4096u);
    ASSERT_EQ(blobs.size(), 8192u);
    table[0x0B] = 47;       // high byte of the used-block count
    table.resize(3324);     // cut inside the data block
    blobs[0x1D98] = static_cast<char>(194);   // a byte of a small blob's text
    WriteFileBytes(path, table);
    WriteFileBytes(blobPath, blobs);

    auto cursor = OpenParadox(path);
    ASSERT_TRUE(cursor->CanModify()) << static_cast<TParadoxCursor&>(*cursor).ReadOnlyReason();
    const int64_t before = cursor->RecordCount();
    TEngineRecord record;
    const int64_t recNo = RecordWithSmallMemo(*cursor, record);
    ASSERT_GT(recNo, 0) << "the sample keeps a memo in a block of small blobs";
    ASSERT_TRUE(cursor->SetRecNo(recNo));
    ASSERT_TRUE(cursor->ReadCurrent(record));
    cursor->ModifyRecord(record);   // unchanged values: the blob stays where it is
    ASSERT_TRUE(cursor->SetRecNo(recNo));
    cursor->DeleteRecord();
    EXPECT_EQ(cursor->RecordCount(), before - 1);

    const std::string after = ReadFileBytes(blobPath);
    ASSERT_EQ(after.size(), blobs.size());
    EXPECT_EQ(after[SmallBlobBlock], 4) << "the block's only small blob was freed: the block is free";
    for (size_t i = SmallBlobBlock + 0x0C; i < SmallBlobBlock + SlotTableEnd; ++i)
        EXPECT_EQ(after[i], 0) << "slot byte at " << i;
    EXPECT_EQ(after.substr(SmallBlobBlock + SlotTableEnd), blobs.substr(SmallBlobBlock + SlotTableEnd))
        << "the blob data and the rest of the file keep their bytes";
    EXPECT_EQ(after.substr(0, SmallBlobBlock), blobs.substr(0, SmallBlobBlock));
}

TEST(ParadoxBlobDamage, ASlotThatContradictsTheRecordIsACorruptBlobFile)
{
    struct TCase {
        const char* What;
        size_t At;       // offset in slot 63 of the small-blob block
        uint8_t Value;
    };
    const TCase cases[] = {
        {"data offset inside the slot table", 0, 0x02},
        {"data past the end of the block", 0, 0xFF},
        {"length other than the record's", 1, 0x01},
        {"last unit longer than 16 bytes", 4, 0x40},
        {"empty slot", 0, 0x00},
    };
    const size_t slot63 = SmallBlobBlock + 0x0C + 5 * 63;
    for (const TCase& c : cases) {
        TScratchDir dir;
        const std::string path = CopyMemoTable(dir);
        std::string blobs = ReadFileBytes(dir.File("memo.mb"));
        blobs[slot63 + c.At] = static_cast<char>(c.Value);
        WriteFileBytes(dir.File("memo.mb"), blobs);
        auto cursor = OpenParadox(path);
        try {
            TEngineRecord r;
            RecordWithSmallMemo(*cursor, r);
            ADD_FAILURE() << c.What << ": read without an error";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_MEMOCORRUPT) << c.What;
            EXPECT_NE(e.Message().find("memo.mb"), std::string::npos) << c.What << ": " << e.Message();
        }
    }
}

TEST(ParadoxBlobDamage, ABlockOfAnotherTypeOrASlotInASingleBlobIsACorruptBlobFile)
{
    TScratchDir dir;
    const std::string path = CopyMemoTable(dir);
    std::string blobs = ReadFileBytes(dir.File("memo.mb"));
    blobs[SmallBlobBlock] = 7;
    WriteFileBytes(dir.File("memo.mb"), blobs);
    auto cursor = OpenParadox(path, true);
    TEngineRecord r;
    EXPECT_THROW(RecordWithSmallMemo(*cursor, r), EDBEngineError);
}

TEST(ParadoxBlobDamage, ABlobFieldNarrowerThanItsReferenceIsRefused)
{
    // A memo field declared with fewer than the 10 bytes of its reference
    // would leave a negative leader; the record size is adjusted so that
    // only the field's size is wrong.
    for (int width : {0x01, 0x05, 0x09}) {
        TScratchDir dir;
        const std::string path = CopyMemoTable(dir);
        std::string table = ReadFileBytes(path);
        const size_t memoDescriptor = 0x78 + 2;
        ASSERT_EQ(static_cast<uint8_t>(table[memoDescriptor]), 0x0C) << "memo.db's second field is a memo";
        const int oldWidth = static_cast<uint8_t>(table[memoDescriptor + 1]);
        PutWordAt(table, 0, static_cast<uint16_t>(WordAt(table, 0) - oldWidth + width));
        table[memoDescriptor + 1] = static_cast<char>(width);
        WriteFileBytes(path, table);
        try {
            OpenParadox(path, true);
            ADD_FAILURE() << "a memo field of " << width << " bytes opened";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_HEADERCORRUPT);
            EXPECT_NE(e.Message().find("at least 10"), std::string::npos) << e.Message();
        }
    }
}
