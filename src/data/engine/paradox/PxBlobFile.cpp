#include "data/engine/paradox/PxBlobFile.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxEncoding.h"

#include <cstring>

namespace px {

namespace {
constexpr int Chunk = 4096;
constexpr int Piece = 256;
// Block types, the first byte of a block.
constexpr uint8_t SingleBlob = 2, SmallBlobs = 3, FreeBlock = 4;
// A single blob's block: type, chunk count, length, modification number, data.
constexpr int SingleHead = 9;
// A block of small blobs: 12 bytes, then 64 slots of 5 bytes (data offset
// and length in 16-byte units, modification number, bytes used of the last
// unit); the data follows the slot table.  The header is read and written
// as whole 256-byte pieces (the unit of a blob file's encryption).
constexpr int SlotTable = 0x0C;
constexpr int Slots = 64;
constexpr int SlotSize = 5;
constexpr int SmallHead = SlotTable + Slots * SlotSize;
constexpr int SmallHeadPieces = (SmallHead + Piece - 1) / Piece * Piece;
constexpr int Unit = 16;
}

TPxBlobRef TPxBlobRef::Decode(const uint8_t* tail)
{
    TPxBlobRef r;
    r.Offset = Le32(tail);
    r.Length = Le32(tail + 4);
    r.ModNumber = Le16(tail + 8);
    return r;
}

void TPxBlobRef::Encode(uint8_t* tail) const
{
    PutLe32(tail, Offset);
    PutLe32(tail + 4, Length);
    PutLe16(tail + 8, ModNumber);
}

bool TPxBlobFile::Open(const std::string& path, bool writable, uint32_t key)
{
    FKey = key;
    if (!FFile.Open(path, writable))
        return false;
    uint8_t head[Piece];
    if (ReadRange(0, head, sizeof head) && head[0] == 0)
        FModCounter = Le16(head + 3);
    return true;
}

void TPxBlobFile::Create(const std::string& path, uint32_t key)
{
    FKey = key;
    FFile.Create(path);
    std::vector<uint8_t> header(Chunk, 0);
    header[0] = 0;
    PutLe16(&header[1], 1);
    PutLe16(&header[3], 1);
    const uint8_t constant[6] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00};
    std::memcpy(&header[5], constant, 6);
    PutLe16(&header[0x0B], 0x1000);
    PutLe16(&header[0x0D], 0x1000);
    header[0x10] = 0x10;
    PutLe16(&header[0x11], 0x0040);
    PutLe16(&header[0x13], 0x0800);
    PutLe16(&header[0x29], 0x02A1);
    FModCounter = 1;
    WriteRange(0, header.data(), header.size());
}

bool TPxBlobFile::ReadRange(int64_t offset, uint8_t* buffer, size_t size) const
{
    if (FKey == 0)
        return FFile.ReadAt(offset, buffer, size);
    int64_t first = offset / Piece * Piece;
    int64_t end = (offset + static_cast<int64_t>(size) + Piece - 1) / Piece * Piece;
    std::vector<uint8_t> pieces(static_cast<size_t>(end - first));
    if (!FFile.ReadAt(first, pieces.data(), pieces.size()))
        return false;
    for (size_t p = 0; p < pieces.size(); p += Piece)
        DecryptBlobPiece(&pieces[p], FKey);
    std::memcpy(buffer, &pieces[static_cast<size_t>(offset - first)], size);
    return true;
}

void TPxBlobFile::WriteRange(int64_t offset, const uint8_t* data, size_t size)
{
    // Callers write whole 4 KB blocks, so pieces never straddle other data.
    if (FKey == 0) {
        FFile.WriteAt(offset, data, size);
        return;
    }
    std::vector<uint8_t> pieces(data, data + size);
    for (size_t p = 0; p + Piece <= pieces.size(); p += Piece)
        EncryptBlobPiece(&pieces[p], FKey);
    FFile.WriteAt(offset, pieces.data(), pieces.size());
}

void TPxBlobFile::Damaged(const TPxBlobRef& ref, const std::string& why) const
{
    RaiseEngineError(DBIERR_MEMOCORRUPT, {"File: " + FFile.Path(),
                                          "The blob at offset " + std::to_string(ref.Offset) + ": " + why});
}

TPxBlobFile::TPlace TPxBlobFile::Locate(const TPxBlobRef& ref, std::vector<uint8_t>& head) const
{
    TPlace place;
    place.Base = ref.Offset & 0xFFFFFF00u;
    place.Slot = ref.Offset & 0xFF;
    const int64_t size = FFile.IsOpen() ? FFile.Size() : 0;
    if (place.Base == 0 || place.Base + Chunk > size)
        return place;   // no blob file, or its data is not there (a cut file)
    if (place.Base % Chunk != 0)
        Damaged(ref, "not the start of a block.");
    head.assign(SmallHeadPieces, 0);
    if (!ReadRange(place.Base, head.data(), head.size()))
        return place;
    if (head[0] == SingleBlob) {
        const int64_t chunks = Le16(&head[1]);
        const int64_t length = Le32(&head[3]);
        if (place.Slot != 0xFF)
            Damaged(ref, "a slot in a block of one blob.");
        if (length != ref.Length)
            Damaged(ref, "the block holds " + std::to_string(length) + " bytes, the record says " +
                             std::to_string(ref.Length) + ".");
        if (chunks == 0 || SingleHead + length > chunks * Chunk)
            Damaged(ref, "the blob is longer than its block.");
        place.Kind = SingleBlob;
        place.Offset = place.Base + SingleHead;
        place.Length = static_cast<size_t>(length);
        if (place.Offset + length > size)
            place.Kind = 0;   // cut off
        return place;
    }
    if (head[0] == SmallBlobs) {
        if (place.Slot >= Slots)
            Damaged(ref, "slot " + std::to_string(place.Slot) + " does not exist.");
        const uint8_t* slot = &head[SlotTable + SlotSize * place.Slot];
        const int start = slot[0] * Unit;
        const int units = slot[1];
        const int lastUsed = slot[4];
        if (slot[0] == 0 || units == 0 || lastUsed == 0 || lastUsed > Unit)
            Damaged(ref, "slot " + std::to_string(place.Slot) + " is empty or not valid.");
        const size_t length = static_cast<size_t>((units - 1) * Unit + lastUsed);
        if (length != ref.Length)
            Damaged(ref, "the slot holds " + std::to_string(length) + " bytes, the record says " +
                             std::to_string(ref.Length) + ".");
        if (start < SmallHead || start + units * Unit > Chunk)
            Damaged(ref, "the slot's data lies outside its block.");
        place.Kind = SmallBlobs;
        place.Offset = place.Base + start;
        place.Length = length;
        return place;
    }
    Damaged(ref, "the block is of type " + std::to_string(head[0]) + ", not a blob.");
}

bool TPxBlobFile::Read(const TPxBlobRef& ref, std::vector<uint8_t>& data) const
{
    data.clear();
    std::vector<uint8_t> head;
    const TPlace place = Locate(ref, head);
    if (place.Kind == 0)
        return false;
    data.resize(place.Length);
    return ReadRange(place.Offset, data.data(), data.size());
}

void TPxBlobFile::BeginChange()
{
    FSizeAtBegin = FFile.Size();
    FHeaderAtBegin.assign(Piece, 0);
    FFile.ReadAt(0, FHeaderAtBegin.data(), Piece);
    FReusedHeaders.clear();
    FFree.clear();
    TakeInventory();
}

void TPxBlobFile::TakeInventory()
{
    // Another process may have used or freed space since the last change:
    // the file itself is the only truth.
    const int64_t size = FFile.Size();
    int64_t offset = Chunk;
    uint8_t head[Piece];
    while (offset + Chunk <= size) {
        if (!ReadRange(offset, head, Piece))
            return;
        size_t chunks = Le16(head + 1);
        if (chunks == 0 || head[0] < 2 || head[0] > 4)
            return;   // not a block header: stop rather than guess
        if (head[0] == 4 && offset + int64_t(chunks) * Chunk <= size)
            FFree.push_back({offset, chunks});
        offset += int64_t(chunks) * Chunk;
    }
}

int64_t TPxBlobFile::TakeFreeSpace(size_t chunks)
{
    for (size_t i = 0; i < FFree.size(); ++i) {
        TFreeBlock& free = FFree[i];
        if (free.Chunks < chunks)
            continue;
        int64_t offset = free.Offset;
        std::vector<uint8_t> old(Piece);
        FFile.ReadAt(offset, old.data(), Piece);
        FReusedHeaders.emplace_back(offset, std::move(old));
        if (free.Chunks > chunks) {
            // The rest stays a free block of its own.
            int64_t rest = offset + int64_t(chunks) * Chunk;
            std::vector<uint8_t> restHead(Piece);
            FFile.ReadAt(rest, restHead.data(), Piece);
            FReusedHeaders.emplace_back(rest, restHead);
            std::vector<uint8_t> head(Piece, 0);
            head[0] = 4;
            PutLe16(&head[1], static_cast<uint16_t>(free.Chunks - chunks));
            WriteRange(rest, head.data(), Piece);
            free.Offset = rest;
            free.Chunks -= chunks;
        } else {
            FFree.erase(FFree.begin() + static_cast<long>(i));
        }
        return offset;
    }
    return 0;
}

void TPxBlobFile::BumpModificationCounter()
{
    uint8_t head[Piece];
    if (!ReadRange(0, head, Piece))
        return;
    FModCounter = static_cast<uint16_t>(Le16(head + 3) + 1);
    if (FModCounter == 0)
        FModCounter = 1;
    PutLe16(head + 3, FModCounter);
    WriteRange(0, head, Piece);
}

TPxBlobRef TPxBlobFile::Write(const std::vector<uint8_t>& data)
{
    BumpModificationCounter();
    size_t chunks = (data.size() + 9 + Chunk - 1) / Chunk;
    int64_t offset = chunks <= 0xFFFF ? TakeFreeSpace(chunks) : 0;
    if (offset == 0)
        offset = (FFile.Size() + Chunk - 1) / Chunk * Chunk;
    if (chunks > 0xFFFF || offset + static_cast<int64_t>(chunks) * Chunk > 0xFFFFFF00LL)
        RaiseEngineError(DBIERR_RECTOOBIG, {"File: " + FFile.Path(), "The blob file cannot hold more data."});
    std::vector<uint8_t> block(chunks * Chunk, 0);
    block[0] = 2;
    PutLe16(&block[1], static_cast<uint16_t>(chunks));
    PutLe32(&block[3], static_cast<uint32_t>(data.size()));
    PutLe16(&block[7], FModCounter);
    std::memcpy(&block[9], data.data(), data.size());
    WriteRange(offset, block.data(), block.size());
    TPxBlobRef ref;
    ref.Offset = static_cast<uint32_t>(offset) | 0xFF;
    ref.Length = static_cast<uint32_t>(data.size());
    ref.ModNumber = FModCounter;
    return ref;
}

void TPxBlobFile::Rollback()
{
    try {
        for (auto it = FReusedHeaders.rbegin(); it != FReusedHeaders.rend(); ++it)
            if (it->first < FSizeAtBegin)
                FFile.WriteAt(it->first, it->second.data(), it->second.size());
        FFile.Truncate(FSizeAtBegin);
        FFile.WriteAt(0, FHeaderAtBegin.data(), FHeaderAtBegin.size());
        uint8_t head[Piece];
        if (ReadRange(0, head, Piece))
            FModCounter = Le16(head + 3);
    } catch (...) {
        // The table still points at the old data; a failed cut only leaves unused space.
    }
}

void TPxBlobFile::Free(const TPxBlobRef& ref)
{
    try {
        std::vector<uint8_t> head;
        const TPlace place = Locate(ref, head);
        if (place.Kind == SingleBlob) {
            head[0] = FreeBlock;
            WriteRange(place.Base, head.data(), Piece);
        } else if (place.Kind == SmallBlobs) {
            std::memset(&head[SlotTable + SlotSize * place.Slot], 0, SlotSize);
            bool used = false;
            for (int i = 0; i < Slots && !used; ++i)
                used = head[SlotTable + SlotSize * i] != 0;
            if (!used)
                head[0] = FreeBlock;
            WriteRange(place.Base, head.data(), head.size());
        }
    } catch (...) {
        // Freeing only reclaims space, and nothing is written into a block
        // that does not match the reference; the record no longer points here.
    }
}

} // namespace px
