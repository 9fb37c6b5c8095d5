#include "data/engine/dbf/DbfMemo.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t MemoHeaderSize = 512;
constexpr uint64_t DbtLockOffset = 0xEFFFFFFEull;
constexpr uint64_t FptLockOffset = 0x40000000ull;

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

} // namespace

TDbfMemoFile::TDbfMemoFile(const std::string& path, TDbfMemoKind kind, bool writable)
    : FFile(path, writable), FKind(kind)
{
    ReadHeader();
}

void TDbfMemoFile::Reload() { ReadHeader(); }

void TDbfMemoFile::ReadHeader()
{
    uint8_t header[MemoHeaderSize] = {};
    size_t got = FFile.ReadAt(0, header, sizeof header);
    if (got < 8)
        RaiseEngineError(DBIERR_MEMOCORRUPT, {"File: " + FFile.Path(), "The memo file is too short."});
    if (FKind == TDbfMemoKind::Fpt) {
        FNextFree = Be32(header);
        FBlockSize = Be16(header + 6);
        if (FBlockSize == 0)
            FBlockSize = 64;
        return;
    }
    FNextFree = Le32(header);
    if (FKind == TDbfMemoKind::Dbt3) {
        // Writers mix the two .dbt layouts up; the file tells which it is.
        uint16_t size = Le16(header + 20);
        if (size > 1 && size != 512) {
            FKind = TDbfMemoKind::Dbt4;
        } else if (size == 512) {
            uint8_t mark[4] = {};
            if (FFile.ReadAt(512, mark, 4) == 4 && mark[0] == 0xFF && mark[1] == 0xFF && mark[2] == 0x08 && mark[3] == 0x00)
                FKind = TDbfMemoKind::Dbt4;
        }
    }
    if (FKind == TDbfMemoKind::Dbt4) {
        // Normally a multiple of 512; other writers use smaller blocks.
        FBlockSize = Le16(header + 20);
        if (FBlockSize < 8)
            FBlockSize = Le32(header + 4);
        if (FBlockSize < 8 || FBlockSize > 32 * 512)
            FBlockSize = 512;
    } else {
        FBlockSize = 512;
    }
}

void TDbfMemoFile::Create(const std::string& path, TDbfMemoKind kind, const std::string& tableBaseName)
{
    uint8_t header[MemoHeaderSize] = {};
    if (kind == TDbfMemoKind::Fpt) {
        PutBe32(header, MemoHeaderSize / 64);
        header[6] = 0;
        header[7] = 64;
    } else {
        PutLe32(header, 1);
        if (kind == TDbfMemoKind::Dbt3) {
            header[16] = 0x03;
        } else {
            std::string name = tableBaseName.substr(0, 8);
            std::memset(header + 8, ' ', 8);
            std::memcpy(header + 8, name.data(), name.size());
            header[20] = 0x00;
            header[21] = 0x02;   // 512-byte blocks
        }
    }
    TDbfFile file = TDbfFile::Create(path);
    file.WriteAt(0, header, sizeof header);
}

uint32_t TDbfMemoFile::EndBlock() const
{
    return static_cast<uint32_t>(std::min<uint64_t>(CeilDiv(FFile.Size(), FBlockSize), UINT32_MAX));
}

bool TDbfMemoFile::Read(uint32_t block, std::string& data) const
{
    data.clear();
    uint64_t size = FFile.Size();
    uint64_t firstDataBlock = FKind == TDbfMemoKind::Fpt ? CeilDiv(MemoHeaderSize, FBlockSize) : 1;
    if (block < firstDataBlock)
        return false;
    uint64_t start = static_cast<uint64_t>(block) * FBlockSize;
    if (start >= size)
        return false;
    if (FKind == TDbfMemoKind::Fpt) {
        uint8_t head[8];
        if (FFile.ReadAt(start, head, 8) != 8)
            return false;
        uint64_t length = Be32(head + 4);
        if (length > size - start - 8)
            return false;
        data.resize(length);
        FFile.ReadExactAt(start + 8, data.data(), length);
        return true;
    }
    if (FKind == TDbfMemoKind::Dbt4) {
        uint8_t head[8];
        if (FFile.ReadAt(start, head, 8) == 8 && head[0] == 0xFF && head[1] == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
            uint64_t length = Le32(head + 4);
            if (length < 8 || length - 8 > size - start - 8)
                return false;
            data.resize(length - 8);
            FFile.ReadExactAt(start + 8, data.data(), length - 8);
            return true;
        }
        // Some writers put dBASE III memos into dBASE IV files: read on.
    }
    char chunk[4096];
    uint64_t at = start;
    while (at < size) {
        size_t got = FFile.ReadAt(at, chunk, sizeof chunk);
        if (got == 0)
            break;
        const void* end = std::memchr(chunk, 0x1A, got);
        if (end) {
            data.append(chunk, static_cast<size_t>(static_cast<const char*>(end) - chunk));
            return true;
        }
        data.append(chunk, got);
        at += got;
    }
    return true;
}

TDbfMemoFile::TState TDbfMemoFile::SaveState() const
{
    TState state;
    state.Size = FFile.Size();
    state.Header.resize(MemoHeaderSize);
    state.Header.resize(FFile.ReadAt(0, state.Header.data(), MemoHeaderSize));
    return state;
}

void TDbfMemoFile::RestoreState(const TState& state)
{
    FFile.Truncate(state.Size);
    FFile.WriteAt(0, state.Header.data(), state.Header.size());
    ReadHeader();
}

void TDbfMemoFile::CheckStorable(std::string_view data, const std::string& fieldName) const
{
    if (FKind == TDbfMemoKind::Dbt3 && data.find('\x1A') != std::string_view::npos)
        RaiseEngineError(DBIERR_INVALIDFIELDVALUE,
                         {"Field: " + fieldName, "A dBASE III memo cannot hold the byte 0x1A."});
    if (data.size() > 0x7FFFFFF0u)
        RaiseEngineError(DBIERR_RECTOOBIG, {"Field: " + fieldName, "The memo is too large."});
}

uint32_t TDbfMemoFile::Append(std::string_view data, uint32_t fptType)
{
    ReadHeader();
    uint32_t end = EndBlock();
    std::vector<uint8_t> run;
    uint32_t block;
    if (FKind == TDbfMemoKind::Fpt) {
        block = std::max<uint32_t>({FNextFree, end, static_cast<uint32_t>(CeilDiv(MemoHeaderSize, FBlockSize))});
        run.resize(CeilDiv(8 + data.size(), FBlockSize) * FBlockSize);
        PutBe32(run.data(), fptType);
        PutBe32(run.data() + 4, static_cast<uint32_t>(data.size()));
        std::memcpy(run.data() + 8, data.data(), data.size());
    } else if (FKind == TDbfMemoKind::Dbt3) {
        block = std::max<uint32_t>({FNextFree, end, 1});
        run.resize(CeilDiv(data.size() + 2, FBlockSize) * FBlockSize);
        std::memcpy(run.data(), data.data(), data.size());
        run[data.size()] = 0x1A;
        run[data.size() + 1] = 0x1A;
    } else {
        block = std::max<uint32_t>(end, 1);
        run.resize(CeilDiv(data.size() + 8, FBlockSize) * FBlockSize);
        run[0] = 0xFF;
        run[1] = 0xFF;
        run[2] = 0x08;
        run[3] = 0x00;
        PutLe32(run.data() + 4, static_cast<uint32_t>(data.size() + 8));
        std::memcpy(run.data() + 8, data.data(), data.size());
    }
    uint64_t blocks = run.size() / FBlockSize;
    if (static_cast<uint64_t>(block) + blocks >= UINT32_MAX)
        RaiseEngineError(DBIERR_RECTOOBIG, {"File: " + FFile.Path(), "The memo file is full."});
    uint32_t next = static_cast<uint32_t>(block + blocks);
    FFile.WriteAt(static_cast<uint64_t>(block) * FBlockSize, run.data(), run.size());

    uint8_t pointer[4];
    if (FKind == TDbfMemoKind::Fpt) {
        PutBe32(pointer, next);
        FFile.WriteAt(0, pointer, 4);
    } else if (FKind == TDbfMemoKind::Dbt3) {
        PutLe32(pointer, next);
        FFile.WriteAt(0, pointer, 4);
    } else {
        // The free chain ends at the end-of-file block; move that end past
        // the new run so a program that reuses free runs does not overwrite it.
        PutLe32(pointer, next);
        uint64_t linkOffset = 0;
        uint32_t current = FNextFree;
        for (int steps = 0; current != 0 && current < block && steps < 100000; ++steps) {
            uint8_t link[4];
            uint64_t at = static_cast<uint64_t>(current) * FBlockSize;
            if (FFile.ReadAt(at, link, 4) != 4)
                break;
            uint32_t following = Le32(link);
            linkOffset = at;
            if (following <= current || following >= block)
                break;
            current = following;
        }
        FFile.WriteAt(linkOffset, pointer, 4);
    }
    FNextFree = next;
    return block;
}

bool TDbfMemoFile::LockAllocation()
{
    if (!FFile.Writable())
        return true;
    if (FKind == TDbfMemoKind::Fpt) {
        if (!FFile.LockWithRetry(FptLockOffset, 1))
            return false;
        if (!FFile.LockWithRetry(0, 1)) {
            FFile.Unlock(FptLockOffset, 1);
            return false;
        }
        return true;
    }
    return FFile.LockWithRetry(DbtLockOffset, 2);
}

void TDbfMemoFile::UnlockAllocation()
{
    if (!FFile.Writable())
        return;
    if (FKind == TDbfMemoKind::Fpt) {
        FFile.Unlock(0, 1);
        FFile.Unlock(FptLockOffset, 1);
    } else {
        FFile.Unlock(DbtLockOffset, 2);
    }
}
