// Every size, count and offset a Paradox table keeps in its header, its
// field descriptors, its block controls and its blob file, set to a
// negative, oversized or overlapping value: the table is refused with the
// damaged-file error, or (for counts the blocks themselves can correct)
// opens read-only as damaged with what can be read; never a crash, an
// allocation or a loop driven by the value.

#include "ParadoxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/FileBytes.h"
#include "data/engine/paradox/ParadoxCursor.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// CUSTOMER.DB: keyed, version 12, 2 KB blocks, 10 fields (+, 7 x A, M 110, D),
// record size 394, header 2048 bytes, 20 records in 4 blocks, a .MB beside it.
const char* Customer = "paradox/leonhad_paradoxdriver/db/CUSTOMER.DB";
constexpr size_t Descriptors = 0x78;
constexpr size_t HeaderSize = 2048;
constexpr size_t BlockSize = 2048;

// Changes a field's size byte and the record size with it, so that only
// the field's own size is wrong.
void SetFieldSize(std::string& bytes, int field, int size)
{
    const size_t at = Descriptors + 2 * static_cast<size_t>(field) + 1;
    const int old = static_cast<uint8_t>(bytes[at]);
    const int record = WordAt(bytes, 0);
    bytes[at] = static_cast<char>(size);
    PutWordAt(bytes, 0, static_cast<uint16_t>(record - old + size));
}

struct TCase {
    const char* Field;
    std::function<void(std::string& table, std::string& blobs)> Damage;
    uint16_t Refused;   // the status of the refusal; 0: opens read-only as damaged
};

void ExpectRefusedOrDamaged(const TCase& c)
{
    TScratchDir dir;
    const std::string path = dir.CopyTable(SharedPath(Customer));
    std::string table = ReadFileBytes(path);
    std::string blobs = ReadFileBytes(dir.File("CUSTOMER.MB"));
    c.Damage(table, blobs);
    WriteFileBytes(path, table);
    WriteFileBytes(dir.File("CUSTOMER.MB"), blobs);
    try {
        auto cursor = OpenParadox(path);
        std::vector<TEngineRecord> records = ReadAll(*cursor);
        if (c.Refused != 0) {
            ADD_FAILURE() << c.Field << ": opened and read " << records.size() << " records";
            return;
        }
        EXPECT_FALSE(cursor->CanModify()) << c.Field;
        EXPECT_NE(static_cast<TParadoxCursor&>(*cursor).ReadOnlyReason().find("damaged"), std::string::npos)
            << c.Field << ": " << static_cast<TParadoxCursor&>(*cursor).ReadOnlyReason();
        EXPECT_LE(records.size(), 20u) << c.Field;
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), c.Refused) << c.Field << ": " << e.Message();
        EXPECT_NE(e.Message().find("CUSTOMER."), std::string::npos) << c.Field << ": the message names the file";
    }
}

} // namespace

TEST(ParadoxSizeFields, HeaderSizesAndCountsOutOfRangeAreRefused)
{
    const TCase cases[] = {
        {"record size 0", [](std::string& t, std::string&) { PutWordAt(t, 0x00, 0); }, DBIERR_HEADERCORRUPT},
        {"record size other than the fields'", [](std::string& t, std::string&) { PutWordAt(t, 0x00, 393); },
         DBIERR_HEADERCORRUPT},
        {"record size past the block",
         [](std::string& t, std::string&) {
             for (int field = 1; field <= 4; ++field)
                 SetFieldSize(t, field, 250);   // 1163 bytes
             t[0x05] = 1;                       // in 1 KB blocks
         },
         DBIERR_HEADERCORRUPT},
        {"header size below the fixed header", [](std::string& t, std::string&) { PutWordAt(t, 0x02, 0x20); },
         DBIERR_HEADERCORRUPT},
        {"header size past the file", [](std::string& t, std::string&) { PutWordAt(t, 0x02, 0xFFFF); },
         DBIERR_HEADERCORRUPT},
        {"header size cutting the descriptors", [](std::string& t, std::string&) { PutWordAt(t, 0x02, 0x7A); },
         DBIERR_HEADERCORRUPT},
        {"block size code 0", [](std::string& t, std::string&) { t[0x05] = 0; }, DBIERR_HEADERCORRUPT},
        {"block size code past 32 KB", [](std::string& t, std::string&) { t[0x05] = 33; }, DBIERR_HEADERCORRUPT},
        {"field count 0", [](std::string& t, std::string&) { PutWordAt(t, 0x21, 0); }, DBIERR_HEADERCORRUPT},
        {"field count past the header", [](std::string& t, std::string&) { PutWordAt(t, 0x21, 255); },
         DBIERR_HEADERCORRUPT},
        {"key fields past the fields", [](std::string& t, std::string&) { PutWordAt(t, 0x23, 11); },
         DBIERR_HEADERCORRUPT},
        {"field width 0", [](std::string& t, std::string&) { SetFieldSize(t, 1, 0); }, DBIERR_HEADERCORRUPT},
        {"date field of 2 bytes", [](std::string& t, std::string&) { SetFieldSize(t, 9, 2); }, DBIERR_HEADERCORRUPT},
        {"auto-increment field of 8 bytes", [](std::string& t, std::string&) { SetFieldSize(t, 0, 8); },
         DBIERR_HEADERCORRUPT},
        {"memo field of 9 bytes", [](std::string& t, std::string&) { SetFieldSize(t, 8, 9); }, DBIERR_HEADERCORRUPT},
        {"BCD field with 40 decimals",
         [](std::string& t, std::string&) {
             SetFieldSize(t, 7, 17);   // an A10 becomes a 17-byte BCD field
             t[Descriptors + 2 * 7] = 0x17;
             t[Descriptors + 2 * 7 + 1] = 40;
         },
         DBIERR_HEADERCORRUPT},
    };
    for (const TCase& c : cases)
        ExpectRefusedOrDamaged(c);
}

TEST(ParadoxSizeFields, BlockCountsAndLinksOutOfRangeOpenReadOnlyAsDamaged)
{
    const size_t firstBlock = HeaderSize;
    const TCase cases[] = {
        {"record count past the blocks", [](std::string& t, std::string&) { PutLongAt(t, 0x06, 0xFFFFFFFF); }, 0},
        {"file blocks 0", [](std::string& t, std::string&) { PutWordAt(t, 0x0C, 0); }, 0},
        {"first block past the file", [](std::string& t, std::string&) { PutWordAt(t, 0x0E, 0x7FFF); }, 0},
        {"next block past the file", [&](std::string& t, std::string&) { PutWordAt(t, firstBlock, 0xFFFF); }, 0},
        {"next block pointing back", [&](std::string& t, std::string&) { PutWordAt(t, firstBlock, 1); }, 0},
        {"last record offset past the block",
         [&](std::string& t, std::string&) { PutWordAt(t, firstBlock + 4, 0x7FFF); }, 0},
        {"last record offset between records",
         [&](std::string& t, std::string&) { PutWordAt(t, firstBlock + 4, 395); }, 0},
        {"table cut inside a block", [&](std::string& t, std::string&) { t.resize(HeaderSize + BlockSize + 100); }, 0},
    };
    for (const TCase& c : cases)
        ExpectRefusedOrDamaged(c);
}

TEST(ParadoxSizeFields, BlobFileSizesOutOfRangeAreACorruptBlobFile)
{
    // CUSTOMER.MB: a block of small blobs at 4096, then a single blob of
    // 56864 bytes in 14 chunks at 8192.
    const size_t block = 8192;
    ASSERT_EQ(ReadFileBytes(SharedPath("paradox/leonhad_paradoxdriver/db/CUSTOMER.MB"))[block], 2)
        << "the sample's second blob block holds one blob";
    const TCase cases[] = {
        {"chunk count 0", [&](std::string&, std::string& b) { PutWordAt(b, block + 1, 0); }, DBIERR_MEMOCORRUPT},
        {"blob length past its block", [&](std::string&, std::string& b) { PutLongAt(b, block + 3, 0x7FFFFFF0); },
         DBIERR_MEMOCORRUPT},
        {"block type unknown", [&](std::string&, std::string& b) { b[block] = 9; }, DBIERR_MEMOCORRUPT},
    };
    for (const TCase& c : cases)
        ExpectRefusedOrDamaged(c);
}
