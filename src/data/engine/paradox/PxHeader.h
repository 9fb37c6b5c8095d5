#pragma once
// The header of a Paradox table file: kept as its raw bytes (a writer
// changes only the counters and carries every other byte over) with the
// parsed field descriptors and names beside it.

#include "data/engine/paradox/PxEncoding.h"

#include <cstdint>
#include <string>
#include <vector>

namespace px {

enum : uint8_t {
    ftAlpha = 0x01, ftDate = 0x02, ftShort = 0x03, ftLong = 0x04, ftMoney = 0x05, ftNumber = 0x06,
    ftLogical = 0x09, ftMemoBlob = 0x0C, ftBinaryBlob = 0x0D, ftFmtMemoBlob = 0x0E, ftOleBlob = 0x0F,
    ftGraphicBlob = 0x10, ftTime = 0x14, ftTimestamp = 0x15, ftAutoIncrement = 0x16, ftBcd = 0x17,
    ftBytes = 0x18
};

enum : uint8_t { FileKeyed = 0, FilePrimaryIndex = 1, FileNonKeyed = 2 };

// Header offsets used by the reader and the writer.
enum : int {
    hRecordSize = 0x00, hHeaderSize = 0x02, hFileType = 0x04, hBlockSizeCode = 0x05, hNumRecords = 0x06,
    hUsedBlocks = 0x0A, hFileBlocks = 0x0C, hFirstBlock = 0x0E, hLastBlock = 0x10, hModified1 = 0x14,
    hIndexRoot = 0x1E, hIndexLevels = 0x20, hNumFields = 0x21, hKeyFields = 0x23, hEncryption1 = 0x25,
    hSortOrder = 0x29, hModified2 = 0x2A, hIndexStamp = 0x2C, hChangeCount = 0x2D, hWriteProtected = 0x38,
    hVersion = 0x39, hMaxBlocks = 0x3A, hAutoInc = 0x49, hFirstFree = 0x4D, hIndexUpdate = 0x4F,
    hHeaderUsed = 0x51, hEncryption2 = 0x5C, hUpdateTime = 0x60, hCodePage = 0x6A, hSortNameOffset = 0x6E
};

// A memo or blob field ends in a 10-byte reference to the blob file; the
// bytes before it (the leader) hold the start of the value.
constexpr int BlobTail = 10;

struct TPxField {
    std::string Name;      // in the table's code page
    uint8_t Type = 0;
    int Size = 0;          // descriptor size byte (decimals for BCD)
    int Width = 0;         // bytes in the record
    int Offset = 0;        // offset in the record
    bool IsBlob() const { return Type >= ftMemoBlob && Type <= ftGraphicBlob; }
    bool IsKnownType() const;
};

class TPxHeader {
public:
    // Parses the header bytes of a table file; raises DBIERR_HEADERCORRUPT
    // (or DBIERR_UNSUPPORTEDFORMAT) naming what is wrong.
    static TPxHeader Parse(std::vector<uint8_t> raw, const std::string& fileName);
    // Bytes of the header at the start of a file of `fileSize` bytes that Parse needs.
    static int MinimumBytes() { return 0x78; }

    std::vector<uint8_t> Raw;
    std::vector<TPxField> Fields;
    std::string SortOrderName;

    int RecordSize() const { return Le16(&Raw[hRecordSize]); }
    int HeaderSize() const { return Le16(&Raw[hHeaderSize]); }
    int FileType() const { return Raw[hFileType]; }
    int BlockSize() const { return Raw[hBlockSizeCode] * 1024; }
    int Version() const { return Raw[hVersion]; }
    bool HasExtension() const { return Version() >= 5; }
    int KeyFields() const { return Le16(&Raw[hKeyFields]); }
    bool IsKeyed() const { return FileType() == FileKeyed && KeyFields() > 0; }
    uint32_t NumRecords() const { return Le32(&Raw[hNumRecords]); }
    int UsedBlocks() const { return Le16(&Raw[hUsedBlocks]); }
    int FileBlocks() const { return Le16(&Raw[hFileBlocks]); }
    int FirstBlock() const { return Le16(&Raw[hFirstBlock]); }
    int LastBlock() const { return Le16(&Raw[hLastBlock]); }
    int FirstFreeBlock() const { return Le16(&Raw[hFirstFree]); }
    uint32_t AutoIncValue() const { return Le32(&Raw[hAutoInc]); }
    uint8_t SortOrder() const { return Raw[hSortOrder]; }
    int CodePage() const { return HasExtension() ? Le16(&Raw[hCodePage]) : 0; }
    uint32_t EncryptionKey() const;
    bool NeedsRepair() const { return Raw[hModified1] != 0 || Raw[hModified2] != 0 || Raw[hIndexUpdate] != 0; }
    bool WriteProtected() const { return Raw[hWriteProtected] == 1; }
    // Key width in bytes (the leading KeyFields fields).
    int KeyWidth() const;
    // Alpha keys compare as plain bytes (the "ascii" family of sort orders).
    bool KeyOrderIsBinary() const;

    void SetNumRecords(uint32_t n) { PutLe32(&Raw[hNumRecords], n); }
    void SetBlocks(int used, int total, int first, int last, int firstFree);
    void SetAutoIncValue(uint32_t v) { if (Version() >= 5) PutLe32(&Raw[hAutoInc], v); }
    // Marks a change of the records: change counter and update time.
    void StampChange();
};

// Widths of the fixed-size types in a record; 0 for an unknown type code.
int PxFieldWidth(uint8_t type, int size);
// The type letter of a code ("A", "#", ...); "?" when unknown.
const char* PxTypeLetter(uint8_t type);
// Stamp of a change counter as the index files carry it.
uint8_t PxStamp(uint8_t counter, uint8_t sortOrder);

} // namespace px
