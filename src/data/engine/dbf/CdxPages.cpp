#include "data/engine/dbf/CdxPages.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"

#include <cstring>

namespace cdx {

namespace {

// Pages kept between changes; past this the cache starts afresh.
constexpr size_t CachedPagesLimit = 65536;

} // namespace

TPages::TPages(TDbfFile& file) : FFile(file)
{
    FFileSize = FFile.Size();
    FSize = FFileSize;
}

const uint8_t* TPages::Read(uint32_t offset)
{
    auto dirty = FDirty.find(offset);
    if (dirty != FDirty.end())
        return dirty->second.data();
    auto cached = FCache.find(offset);
    if (cached != FCache.end())
        return cached->second.data();
    if (offset % PageSize != 0 || static_cast<uint64_t>(offset) + PageSize > FFileSize)
        RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + FFile.Path(), "A page offset lies outside the index file."});
    if (FCache.size() >= CachedPagesLimit)
        FCache.clear();
    TPage& page = FCache[offset];
    FFile.ReadExactAt(offset, page.data(), PageSize);
    return page.data();
}

const uint8_t* TPages::Original(uint32_t offset)
{
    auto cached = FCache.find(offset);
    if (cached != FCache.end())
        return cached->second.data();
    TPage& page = FCache[offset];
    FFile.ReadExactAt(offset, page.data(), PageSize);
    return page.data();
}

uint8_t* TPages::Write(uint32_t offset)
{
    auto dirty = FDirty.find(offset);
    if (dirty != FDirty.end())
        return dirty->second.data();
    TPage copy;
    std::memcpy(copy.data(), Read(offset), PageSize);
    return FDirty.emplace(offset, copy).first->second.data();
}

uint32_t TPages::Allocate()
{
    uint32_t head = Le32(Read(0) + 4);
    if (head != 0 && head != NoPage) {
        if (head % PageSize != 0 || head < HeaderSize || static_cast<uint64_t>(head) + PageSize > FSize)
            RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + FFile.Path(), "The index's free-page list is damaged."});
        uint32_t next = Le32(Read(head));
        PutLe32(Write(0) + 4, next);
        std::memset(Write(head), 0, PageSize);
        return head;
    }
    if (FSize + PageSize > 0xFFFFF000ull)
        RaiseEngineError(DBIERR_NODISKSPACE, {"File: " + FFile.Path(), "The index file cannot grow further."});
    uint32_t offset = static_cast<uint32_t>(FSize);
    FSize += PageSize;
    FDirty[offset].fill(0);
    return offset;
}

void TPages::Release(uint32_t offset)
{
    uint32_t head = Le32(Read(0) + 4);
    uint8_t* page = Write(offset);
    std::memset(page, 0, PageSize);
    PutLe32(page, head == NoPage ? 0 : head);
    PutLe32(Write(0) + 4, offset);
}

void TPages::Commit()
{
    // New pages first, then the pages pointing to them, the file header
    // (free list and change counter) last.
    auto writeWhere = [this](auto take) {
        for (auto& [offset, page] : FDirty) {
            if (!take(offset))
                continue;
            FFile.WriteAt(offset, page.data(), PageSize);
            FCache[offset] = page;
        }
    };
    writeWhere([this](uint32_t offset) { return offset >= FFileSize; });
    writeWhere([this](uint32_t offset) { return offset != 0 && offset < FFileSize; });
    writeWhere([](uint32_t offset) { return offset == 0; });
    FDirty.clear();
    FFileSize = FSize;
}

void TPages::Abandon()
{
    FDirty.clear();
    FSize = FFileSize;
}

void TPages::Reload()
{
    FDirty.clear();
    FCache.clear();
    FFileSize = FFile.Size();
    FSize = FFileSize;
}

} // namespace cdx
