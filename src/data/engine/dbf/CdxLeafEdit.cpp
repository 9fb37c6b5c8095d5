#include "data/engine/dbf/CdxLeafEdit.h"

#include "data/engine/dbf/CdxPacking.h"

#include <initializer_list>

namespace cdx {

using namespace packing;

namespace {

// The entries of a leaf page laid out as EncodeNode lays it out, read one
// after another.  While keys are rebuilt (in two buffers, the entry's and
// the one before) each is checked to be counted as the encoder counts;
// after that only the counts are read, to find where the keys begin and to
// check that the page holds them.
class TLeafWalk {
public:
    TLeafWalk(const uint8_t* page, uint16_t keyLength, uint8_t fill)
        : FPage(page), FKeyLength(keyLength), FFill(fill), FCount(Le16(page + 2)), FWidth(page[23]),
          FCountBits(BitLength(keyLength)), FRecBits(8 * FWidth - 2 * FCountBits)
    {
        const uint16_t attributes = Le16(page);
        if ((attributes & AttrLeaf) == 0 || attributes > 7 || keyLength > MaxKeyLength || FWidth < 1 || FWidth > 8 ||
            FCount * static_cast<size_t>(FWidth) > LeafSpace || FRecBits < 1 || FRecBits > 32)
            return;
        FRecMask = FRecBits == 32 ? 0xFFFFFFFFu : (1u << FRecBits) - 1;
        FCountMask = (1u << FCountBits) - 1;
        FOurs = page[20] == FRecBits && page[21] == FCountBits && page[22] == FCountBits &&
                Le32(page + 14) == FRecMask && page[18] == FCountMask && page[19] == FCountMask;
        FEntryEnd = 24 + FCount * static_cast<size_t>(FWidth);
    }

    bool Ours() const { return FOurs; }
    size_t Count() const { return FCount; }
    size_t Width() const { return static_cast<size_t>(FWidth); }
    uint32_t RecMask() const { return FRecMask; }
    const uint8_t* Page() const { return FPage; }
    uint16_t KeyLength() const { return FKeyLength; }

    bool AtEnd() const { return FNext == FCount; }
    // Reads the next entry, rebuilding its key when `rebuild` (only while
    // every entry before it was rebuilt); false when it is damaged or,
    // rebuilt, counted otherwise than the encoder counts.
    bool Next(bool rebuild)
    {
        const uint64_t v = EntryOfPage(FPage, 24 + FNext * Width(), FWidth);
        const size_t dup = (v >> FRecBits) & FCountMask;
        const size_t trail = (v >> (FRecBits + FCountBits)) & FCountMask;
        if (dup + trail > FKeyLength || (FNext == 0 && dup != 0))
            return false;
        const size_t fresh = FKeyLength - dup - trail;
        if (FKeyStart < FEntryEnd + fresh)
            return false;
        FKeyStart -= fresh;
        FFresh = fresh;
        FRecNo = static_cast<uint32_t>(v & FRecMask);
        ++FNext;
        if (!rebuild)
            return true;
        std::swap(FPrevious, FCurrent);
        FPreviousTrail = FTrail;
        FTrail = trail;
        CopyShort(FCurrent, FPrevious, dup);
        CopyShort(FCurrent + dup, FPage + FKeyStart, fresh);
        FillShort(FCurrent + dup + fresh, FFill, trail);
        const size_t limit = FKeyLength - std::max(trail, FPreviousTrail);
        return (trail == FKeyLength || FCurrent[FKeyLength - trail - 1] != FFill) &&
               (FNext == 1 || (dup <= limit && (dup == limit || FCurrent[dup] != FPrevious[dup])));
    }

    // The entry read last; its key and the one before it as far as rebuilt.
    uint32_t RecNo() const { return FRecNo; }
    size_t Fresh() const { return FFresh; }
    size_t Trail() const { return FTrail; }
    size_t PreviousTrail() const { return FPreviousTrail; }
    const uint8_t* Key() const { return FCurrent; }
    const uint8_t* PreviousKey() const { return FPrevious; }
    int CompareWith(std::string_view key, uint32_t recNo) const
    {
        return CompareEntries({reinterpret_cast<const char*>(FCurrent), FKeyLength}, FRecNo, key, recNo);
    }

    // After the last entry: where the keys begin, as the free count says too.
    bool KeysEndWell() const { return AtEnd() && Le16(FPage + 12) == FKeyStart - FEntryEnd; }
    size_t KeyStart() const { return FKeyStart; }

private:
    const uint8_t* FPage;
    uint16_t FKeyLength;
    uint8_t FFill;
    size_t FCount;
    int FWidth, FCountBits, FRecBits;
    uint32_t FRecMask = 0, FCountMask = 0;
    bool FOurs = false;
    size_t FEntryEnd = 0;
    size_t FNext = 0, FKeyStart = PageSize, FFresh = 0, FTrail = 0, FPreviousTrail = 0;
    uint32_t FRecNo = 0;
    uint8_t FBuffers[2][MaxKeyLength] = {};
    uint8_t* FCurrent = FBuffers[0];
    uint8_t* FPrevious = FBuffers[1];
};

// A key to rebuild the page with, counted against the key before it.
struct TPut {
    uint32_t RecNo;
    size_t Dup, Trail;
    const uint8_t* Key;
};

// Writes into `edited` the walked page with its entries [keep, keep + skip)
// (`skippedBytes` of keys) in place of `puts`; the `keptBytes` of keys of
// the entries before them stay where they are.  The free bytes left, or -1
// when the entries do not fit.
long Splice(const TLeafWalk& walk, size_t keep, size_t keptBytes, size_t skip, size_t skippedBytes,
            std::initializer_list<TPut> puts, uint8_t* edited)
{
    const uint8_t* page = walk.Page();
    const size_t keyLength = walk.KeyLength(), width = walk.Width(), count = walk.Count();
    const size_t newCount = count - skip + puts.size();
    size_t putBytes = 0;
    for (const TPut& put : puts)
        putBytes += keyLength - put.Dup - put.Trail;
    const size_t restBytes = PageSize - keptBytes - skippedBytes - walk.KeyStart();
    const size_t newEntryEnd = 24 + newCount * width;
    if (newEntryEnd + keptBytes + putBytes + restBytes > PageSize)
        return -1;
    const size_t newKeyStart = PageSize - keptBytes - putBytes - restBytes;
    const size_t free = newKeyStart - newEntryEnd;

    std::memcpy(edited, page, 24);
    PutLe16(edited + 2, static_cast<uint16_t>(newCount));
    PutLe16(edited + 12, static_cast<uint16_t>(free));
    std::memcpy(edited + 24, page + 24, keep * width);
    size_t entry = 24 + keep * width, keyEnd = PageSize - keptBytes;
    for (const TPut& put : puts) {
        const int recBits = edited[20], countBits = edited[21];
        uint8_t bytes[8];
        PutLe64(bytes, put.RecNo | (static_cast<uint64_t>(put.Dup) << recBits) |
                           (static_cast<uint64_t>(put.Trail) << (recBits + countBits)));
        std::memcpy(edited + entry, bytes, width);
        entry += width;
        const size_t fresh = keyLength - put.Dup - put.Trail;
        keyEnd -= fresh;
        std::memcpy(edited + keyEnd, put.Key + put.Dup, fresh);
    }
    std::memcpy(edited + entry, page + 24 + (keep + skip) * width, (count - keep - skip) * width);
    std::memset(edited + newEntryEnd, 0, free);
    std::memcpy(edited + newKeyStart, page + walk.KeyStart(), restBytes);
    std::memcpy(edited + PageSize - keptBytes, page + PageSize - keptBytes, keptBytes);
    return static_cast<long>(free);
}

std::string_view View(const uint8_t* key, size_t length) { return {reinterpret_cast<const char*>(key), length}; }

} // namespace

bool RemoveFromLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited)
{
    TLeafWalk walk(page, keyLength, fill);
    if (!walk.Ours() || walk.Count() < 2 || key.size() != keyLength)
        return false;
    // The pair, with the key before it; then the key after it.
    const size_t none = walk.Count();
    size_t found = none, keptBytes = 0, freshFound = 0, trailBefore = 0, freshAfter = 0, trailAfter = 0;
    uint32_t recAfter = 0;
    uint8_t before[MaxKeyLength], after[MaxKeyLength];
    for (size_t i = 0; !walk.AtEnd(); ++i) {
        const bool rebuild = found == none || i == found + 1;
        if (!walk.Next(rebuild))
            return false;
        if (!rebuild)
            continue;
        if (found != none) {
            std::memcpy(after, walk.Key(), keyLength);
            freshAfter = walk.Fresh();
            trailAfter = walk.Trail();
            recAfter = walk.RecNo();
            continue;
        }
        const int c = walk.CompareWith(key, recNo);
        if (c > 0)
            return false;
        if (c < 0) {
            keptBytes += walk.Fresh();
            continue;
        }
        found = i;
        freshFound = walk.Fresh();
        std::memcpy(before, walk.PreviousKey(), keyLength);
        trailBefore = walk.PreviousTrail();
    }
    if (!walk.KeysEndWell() || found + 1 >= none)
        return false;
    const size_t dupAfter =
        found > 0 ? SharedPrefix(View(before, keyLength), View(after, keyLength), keyLength, trailAfter, trailBefore) : 0;
    const long free = Splice(walk, found, keptBytes, 2, freshFound + freshAfter,
                             {{recAfter, dupAfter, trailAfter, after}}, edited);
    return free >= 0 && free < static_cast<long>(2 * LeafSpace / 3);
}

bool InsertIntoLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited)
{
    TLeafWalk walk(page, keyLength, fill);
    if (!walk.Ours() || walk.Count() < 1 || key.size() != keyLength || recNo > walk.RecMask())
        return false;
    // The first pair after the new one, with the key before it.
    const size_t none = walk.Count();
    size_t at = none, keptBytes = 0, trailBefore = 0, freshNext = 0, trailNext = 0;
    uint32_t recNext = 0;
    uint8_t before[MaxKeyLength], next[MaxKeyLength];
    for (size_t i = 0; !walk.AtEnd(); ++i) {
        const bool rebuild = at == none;
        if (!walk.Next(rebuild))
            return false;
        if (!rebuild)
            continue;
        const int c = walk.CompareWith(key, recNo);
        if (c == 0)
            return false;
        if (c < 0) {
            keptBytes += walk.Fresh();
            continue;
        }
        at = i;
        std::memcpy(before, walk.PreviousKey(), keyLength);
        trailBefore = walk.PreviousTrail();
        std::memcpy(next, walk.Key(), keyLength);
        freshNext = walk.Fresh();
        trailNext = walk.Trail();
        recNext = walk.RecNo();
    }
    if (!walk.KeysEndWell() || at == none)
        return false;
    const uint8_t* added = reinterpret_cast<const uint8_t*>(key.data());
    const size_t trailAdded = TrailingFill(key, fill);
    const size_t dupAdded =
        at > 0 ? SharedPrefix(View(before, keyLength), key, keyLength, trailAdded, trailBefore) : 0;
    const size_t dupNext = SharedPrefix(key, View(next, keyLength), keyLength, trailNext, trailAdded);
    return Splice(walk, at, keptBytes, 1, freshNext,
                  {{recNo, dupAdded, trailAdded, added}, {recNext, dupNext, trailNext, next}}, edited) >= 0;
}

} // namespace cdx
