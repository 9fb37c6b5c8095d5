#include "data/engine/paradox/PxBlobFile.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxEncoding.h"

#include <cstring>

namespace px {

namespace {
constexpr int Chunk = 4096;
constexpr int Piece = 256;
}

TPxBlobRef TPxBlobRef::Decode(const uint8_t* tail)
{
    TPxBlobRef r;
    r.Offset = Get32(tail);
    r.Length = Get32(tail + 4);
    r.ModNumber = Get16(tail + 8);
    return r;
}

void TPxBlobRef::Encode(uint8_t* tail) const
{
    Put32(tail, Offset);
    Put32(tail + 4, Length);
    Put16(tail + 8, ModNumber);
}

bool TPxBlobFile::Open(const std::string& path, bool writable, uint32_t key)
{
    FKey = key;
    if (!FFile.Open(path, writable))
        return false;
    uint8_t head[Piece];
    if (ReadRange(0, head, sizeof head) && head[0] == 0)
        FModCounter = Get16(head + 3);
    return true;
}

void TPxBlobFile::Create(const std::string& path, uint32_t key)
{
    FKey = key;
    FFile.Create(path);
    std::vector<uint8_t> header(Chunk, 0);
    header[0] = 0;
    Put16(&header[1], 1);
    Put16(&header[3], 1);
    const uint8_t constant[6] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00};
    std::memcpy(&header[5], constant, 6);
    Put16(&header[0x0B], 0x1000);
    Put16(&header[0x0D], 0x1000);
    header[0x10] = 0x10;
    Put16(&header[0x11], 0x0040);
    Put16(&header[0x13], 0x0800);
    Put16(&header[0x29], 0x02A1);
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

bool TPxBlobFile::Read(const TPxBlobRef& ref, std::vector<uint8_t>& data) const
{
    data.clear();
    int64_t base = ref.Offset & 0xFFFFFF00u;
    int index = ref.Offset & 0xFF;
    if (base <= 0 || base % Chunk != 0 || !FFile.IsOpen() || base + Chunk > FFile.Size())
        return false;
    uint8_t head[16];
    if (!ReadRange(base, head, sizeof head))
        return false;
    if (head[0] == 2) {
        if (index != 0xFF || Get32(head + 3) != ref.Length || base + 9 + int64_t(ref.Length) > FFile.Size())
            return false;
        data.resize(ref.Length);
        return ReadRange(base + 9, data.data(), data.size());
    }
    if (head[0] == 3) {
        if (index > 63)
            return false;
        uint8_t slot[5];
        if (!ReadRange(base + 0x0C + 5 * index, slot, 5) || slot[0] == 0 || slot[4] == 0)
            return false;
        uint32_t length = (slot[1] - 1u) * 16u + slot[4];
        if (slot[1] == 0 || length != ref.Length || slot[0] * 16 + length > Chunk)
            return false;
        data.resize(length);
        return ReadRange(base + slot[0] * 16, data.data(), length);
    }
    return false;
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
        size_t chunks = Get16(head + 1);
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
            Put16(&head[1], static_cast<uint16_t>(free.Chunks - chunks));
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
    FModCounter = static_cast<uint16_t>(Get16(head + 3) + 1);
    if (FModCounter == 0)
        FModCounter = 1;
    Put16(head + 3, FModCounter);
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
    Put16(&block[1], static_cast<uint16_t>(chunks));
    Put32(&block[3], static_cast<uint32_t>(data.size()));
    Put16(&block[7], FModCounter);
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
            FModCounter = Get16(head + 3);
    } catch (...) {
        // The table still points at the old data; a failed cut only leaves unused space.
    }
}

void TPxBlobFile::Free(const TPxBlobRef& ref)
{
    try {
        int64_t base = ref.Offset & 0xFFFFFF00u;
        int index = ref.Offset & 0xFF;
        if (base <= 0 || base % Chunk != 0 || base + Chunk > FFile.Size())
            return;
        uint8_t head[Piece];
        if (!ReadRange(base, head, Piece))
            return;
        if (head[0] == 2 && index == 0xFF) {
            head[0] = 4;
            WriteRange(base, head, Piece);
        } else if (head[0] == 3 && index < 64) {
            std::memset(head + 0x0C + 5 * index, 0, 5);
            bool used = false;
            for (int i = 0; i < 64; ++i)
                used = used || head[0x0C + 5 * i] != 0;
            if (!used)
                head[0] = 4;
            WriteRange(base, head, Piece);
        }
    } catch (...) {
        // Freeing only reclaims space; the record no longer points here.
    }
}

} // namespace px
