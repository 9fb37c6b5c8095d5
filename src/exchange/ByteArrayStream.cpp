#include "exchange/ByteArrayStream.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cstdint>

#include <sys/mman.h>

namespace {

constexpr qsizetype HugePage = 2 * 1024 * 1024;

// Advises huge pages for the whole huge pages inside the block: the first
// touch of fresh memory then costs one fault per 2 MiB instead of one per
// 4 KiB, which is most of the cost of writing a large export.  Only a
// hint: without huge pages the memory works the same.
void AdviseHugePages(char* data, qsizetype size)
{
#ifdef MADV_HUGEPAGE
    const auto start = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (start + HugePage - 1) & ~static_cast<uintptr_t>(HugePage - 1);
    const uintptr_t last = (start + static_cast<uintptr_t>(size)) & ~static_cast<uintptr_t>(HugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// The capacity to grow to for needed bytes: doubling while small, four
// times beyond a few huge pages, so that a large export is copied to a new
// block seldom (fresh memory is what writing it costs; capacity never
// written is never backed by memory).
qsizetype GrownCapacity(qsizetype capacity, qsizetype needed)
{
    return std::max(needed, capacity < 2 * HugePage ? 2 * capacity : 4 * capacity);
}

// A byte array holding the bytes with room for capacity bytes in all.
QByteArray Regrown(const QByteArray& bytes, qsizetype capacity)
{
    QByteArray grown;
    grown.reserve(capacity);
    // The advice comes before the first touch of the block.  The block is
    // never resized in place: parts of it are advised differently, so it
    // could not be remapped.
    if (capacity >= 2 * HugePage)
        AdviseHugePages(grown.data(), capacity);
    grown.append(bytes);
    return grown;
}

}  // namespace

int64_t TByteArrayStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const qsizetype needed = FBytes.size() + static_cast<qsizetype>(count);
    if (needed > FBytes.capacity())
        FBytes = Regrown(FBytes, GrownCapacity(FBytes.capacity(), needed));
    FBytes.append(static_cast<const char*>(buffer), static_cast<qsizetype>(count));
    return count;
}

void TByteArrayStream::Reserve(int64_t capacity)
{
    if (capacity > FBytes.capacity())
        FBytes = Regrown(FBytes, static_cast<qsizetype>(capacity));
}

int64_t TByteArrayStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t size = FBytes.size();
    const int64_t target = origin == soFromBeginning ? offset : size + offset;
    if (target != size)
        throw EStreamError("A byte array stream is written from start to end only");
    return size;
}

void TByteArrayStream::SetSize(int64_t newSize)
{
    if (newSize != FBytes.size())
        throw EStreamError("A byte array stream cannot change its size");
}
