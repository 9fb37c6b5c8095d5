#pragma once
// The .MB file of a table: reads the blobs records point at, stores new
// ones and frees replaced ones.  New data is always written to space no
// record points at (a free block, or new blocks at the end of the file), so
// a record keeps pointing at valid data until it is rewritten; freeing
// happens only after that.

#include "data/engine/paradox/PxFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace px {

// The 10-byte tail of a blob field in the record.
struct TPxBlobRef {
    uint32_t Offset = 0;   // block offset | slot index (0xFF = single blob)
    uint32_t Length = 0;
    uint16_t ModNumber = 0;
    static TPxBlobRef Decode(const uint8_t* tail);
    void Encode(uint8_t* tail) const;
};

class TPxBlobFile {
public:
    bool Open(const std::string& path, bool writable, uint32_t key);
    void Create(const std::string& path, uint32_t key);
    bool IsOpen() const { return FFile.IsOpen(); }
    int Handle() const { return FFile.Handle(); }
    void AttachJournal(TPxJournal* journal) { FFile.AttachJournal(journal, TPxJournal::BlobFile); }

    // The blob's bytes; false when there is no blob file or the blob's data
    // lies past its end.  A block that contradicts the reference raises
    // DBIERR_MEMOCORRUPT.
    bool Read(const TPxBlobRef& ref, std::vector<uint8_t>& data) const;

    // Pending writes of one change; Rollback cuts the file back to where it
    // was and puts back the headers of the free blocks it used.
    void BeginChange();
    TPxBlobRef Write(const std::vector<uint8_t>& data);
    void Rollback();
    // Marks the space of a replaced blob free (best effort, after a commit).
    void Free(const TPxBlobRef& ref);

private:
    // Where a reference's bytes are, checked against the block that holds
    // them (its header is left in `head`).  Kind 0: no blob file or a file
    // cut before the data; a contradiction raises DBIERR_MEMOCORRUPT.
    struct TPlace {
        uint8_t Kind = 0;    // the block type: single blob or small blobs
        int64_t Base = 0;    // the block
        int Slot = 0;        // slot of a small blob
        int64_t Offset = 0;  // the bytes
        size_t Length = 0;
    };
    TPlace Locate(const TPxBlobRef& ref, std::vector<uint8_t>& head) const;
    [[noreturn]] void Damaged(const TPxBlobRef& ref, const std::string& why) const;
    bool ReadRange(int64_t offset, uint8_t* buffer, size_t size) const;
    void WriteRange(int64_t offset, const uint8_t* data, size_t size);
    void BumpModificationCounter();
    // Free blocks found by walking the file by its blocks' chunk counts.
    void TakeInventory();
    // Offset of free space for `chunks` 4 KB chunks, 0 when none fits.
    int64_t TakeFreeSpace(size_t chunks);

    struct TFreeBlock {
        int64_t Offset;
        size_t Chunks;
    };
    std::vector<TFreeBlock> FFree;
    std::vector<std::pair<int64_t, std::vector<uint8_t>>> FReusedHeaders;   // raw bytes, for Rollback

    TPxFile FFile;
    uint32_t FKey = 0;
    int64_t FSizeAtBegin = 0;
    std::vector<uint8_t> FHeaderAtBegin;
    uint16_t FModCounter = 0;
};

} // namespace px
