#include "data/engine/dbf/CdxLeafEdit.h"

#include "data/engine/dbf/CdxPacking.h"

#include <initializer_list>

namespace cdx {

using namespace packing;

namespace {

// The entries of a leaf page laid out as EncodeNode lays it out, read one
// after another without rebuilding their keys: a key sought is compared
// with an entry's own bytes only where the entry parts from the key before
// it, and the entries after the place of an edit are only counted, to
// find where the keys begin and to check that the page holds them.
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

    // Reads the next entry's counts; false at the end or when they are damaged.
    bool Next()
    {
        if (FNext == FCount)
            return false;
        const uint64_t v = EntryOfPage(FPage, 24 + FNext * Width(), FWidth);
        const size_t dup = (v >> FRecBits) & FCountMask;
        const size_t trail = (v >> (FRecBits + FCountBits)) & FCountMask;
        if (dup + trail > FKeyLength || (FNext == 0 && dup != 0) || FKeyStart < FEntryEnd + FKeyLength - dup - trail)
            return false;
        FFresh = FKeyLength - dup - trail;
        FKeyStart -= FFresh;
        FDup = dup;
        FPreviousTrail = FTrail;
        FTrail = trail;
        FRecNo = static_cast<uint32_t>(v & FRecMask);
        ++FNext;
        return true;
    }

    // The leading bytes the entry read last shares with `key`, which shares
    // the entry's first Dup() bytes (those it takes from the key before).
    size_t SharedWith(std::string_view key) const
    {
        const size_t stored = FDup + SharedPrefix({reinterpret_cast<const char*>(FPage) + FKeyStart, FFresh},
                                                  key.substr(FDup, FFresh), FFresh, 0, 0);
        if (stored < FDup + FFresh)
            return stored;
        size_t shared = stored;
        while (shared < FKeyLength && static_cast<uint8_t>(key[shared]) == FFill)
            ++shared;
        return shared;
    }
    // The key of the entry read last, when it shares its first Dup() bytes with `key`.
    void RebuildFrom(std::string_view key, uint8_t* out) const
    {
        std::memcpy(out, key.data(), FDup);
        std::memcpy(out + FDup, FPage + FKeyStart, FFresh);
        std::memset(out + FDup + FFresh, FFill, FTrail);
    }

    // Reads up to the first pair not before (key, recNo), the place; false
    // when there is none or the page is damaged.  Keeps the bytes of keys
    // before the place, and how many leading bytes the key before it and
    // its own key share with `key`.
    bool FindPlace(std::string_view key, uint32_t recNo)
    {
        // The key before, smaller than `key`, shares `shared` bytes with it:
        // a key sharing more with the key before is smaller too, and one
        // sharing less parts from `key` where it parts from the key before.
        size_t shared = 0;
        for (;;) {
            if (!Next())
                return false;
            FSharedBefore = shared;
            if (FNext == 1 || FDup <= shared) {
                shared = SharedWith(key);
                FPlaceOrder = shared < FKeyLength ? (KeyByte(shared) < static_cast<uint8_t>(key[shared]) ? -1 : 1)
                                                  : (FRecNo < recNo ? -1 : FRecNo > recNo ? 1 : 0);
                if (FPlaceOrder >= 0) {
                    FSharedPlace = shared;
                    return true;
                }
            }
            FKeptBytes += FFresh;
        }
    }

    // Reads the counts of the entries left, to find where the keys begin;
    // false when the page cannot hold them or its free count disagrees.
    bool SkipToEnd()
    {
        const unsigned shift = static_cast<unsigned>(FRecBits), countBits = static_cast<unsigned>(FCountBits);
        size_t keyBytes = 0;
        bool fits = true;
        for (; FNext < FCount; ++FNext) {
            const uint64_t v = EntryOfPage(FPage, 24 + FNext * Width(), FWidth) >> shift;
            const size_t taken = (v & FCountMask) + ((v >> countBits) & FCountMask);
            fits &= taken <= FKeyLength;
            keyBytes += FKeyLength - taken;
        }
        if (!fits || FKeyStart < FEntryEnd + keyBytes)
            return false;
        FKeyStart -= keyBytes;
        return Le16(FPage + 12) == FKeyStart - FEntryEnd;
    }

    // The entry read last.
    size_t Index() const { return FNext - 1; }
    uint32_t RecNo() const { return FRecNo; }
    size_t Fresh() const { return FFresh; }
    size_t Trail() const { return FTrail; }
    // Of the entry before it.
    size_t PreviousTrail() const { return FPreviousTrail; }
    // Of the place FindPlace found: how it orders against the key sought,
    // the bytes it and the key before it share with that key, and the key
    // bytes of the entries before it.
    int PlaceOrder() const { return FPlaceOrder; }
    size_t SharedPlace() const { return FSharedPlace; }
    size_t SharedBefore() const { return FSharedBefore; }
    size_t KeptBytes() const { return FKeptBytes; }
    // Where the keys begin, once read to the end.
    size_t KeyStart() const { return FKeyStart; }

private:
    // Byte `i` (at or past Dup()) of the entry read last.
    uint8_t KeyByte(size_t i) const { return i < FDup + FFresh ? FPage[FKeyStart + i - FDup] : FFill; }

    const uint8_t* FPage;
    uint16_t FKeyLength;
    uint8_t FFill;
    size_t FCount;
    int FWidth, FCountBits, FRecBits;
    uint32_t FRecMask = 0, FCountMask = 0;
    bool FOurs = false;
    size_t FEntryEnd = 0;
    size_t FNext = 0, FKeyStart = PageSize, FDup = 0, FFresh = 0, FTrail = 0, FPreviousTrail = 0;
    uint32_t FRecNo = 0;
    int FPlaceOrder = 1;
    size_t FSharedPlace = 0, FSharedBefore = 0, FKeptBytes = 0;
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


} // namespace

bool RemoveFromLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited)
{
    TLeafWalk walk(page, keyLength, fill);
    if (!walk.Ours() || walk.Count() < 2 || key.size() != keyLength || !walk.FindPlace(key, recNo) ||
        walk.PlaceOrder() != 0)
        return false;
    // The pair goes; the key after it now follows the one before it and
    // shares with it what both share with the pair's key.
    const size_t found = walk.Index(), freshFound = walk.Fresh(), keptBytes = walk.KeptBytes();
    const size_t sharedBefore = walk.SharedBefore(), trailBefore = walk.PreviousTrail();
    if (!walk.Next())
        return false;
    uint8_t after[MaxKeyLength];
    walk.RebuildFrom(key, after);
    const size_t freshAfter = walk.Fresh(), trailAfter = walk.Trail(), sharedAfter = walk.SharedWith(key);
    const uint32_t recAfter = walk.RecNo();
    if (!walk.SkipToEnd())
        return false;
    const size_t dupAfter =
        found > 0 ? std::min(std::min(sharedBefore, sharedAfter), keyLength - std::max(trailAfter, trailBefore)) : 0;
    const long free = Splice(walk, found, keptBytes, 2, freshFound + freshAfter,
                             {{recAfter, dupAfter, trailAfter, after}}, edited);
    return free >= 0 && free < static_cast<long>(2 * LeafSpace / 3);
}

bool InsertIntoLeafPage(const uint8_t* page, uint16_t keyLength, uint8_t fill, std::string_view key, uint32_t recNo,
                        uint8_t* edited)
{
    TLeafWalk walk(page, keyLength, fill);
    if (!walk.Ours() || walk.Count() < 1 || key.size() != keyLength || recNo > walk.RecMask() ||
        !walk.FindPlace(key, recNo) || walk.PlaceOrder() == 0)
        return false;
    // The new pair goes before the place, sharing with the key before it
    // and with the key at the place what they share with it.
    const size_t at = walk.Index(), keptBytes = walk.KeptBytes(), freshNext = walk.Fresh();
    const size_t trailBefore = walk.PreviousTrail(), trailNext = walk.Trail();
    const size_t sharedBefore = walk.SharedBefore(), sharedNext = walk.SharedPlace();
    const uint32_t recNext = walk.RecNo();
    uint8_t next[MaxKeyLength];
    walk.RebuildFrom(key, next);
    if (!walk.SkipToEnd())
        return false;
    const size_t trailAdded = TrailingFill(key, fill);
    const size_t dupAdded = at > 0 ? std::min(sharedBefore, keyLength - std::max(trailAdded, trailBefore)) : 0;
    const size_t dupNext = std::min(sharedNext, keyLength - std::max(trailNext, trailAdded));
    const uint8_t* added = reinterpret_cast<const uint8_t*>(key.data());
    return Splice(walk, at, keptBytes, 1, freshNext,
                  {{recNo, dupAdded, trailAdded, added}, {recNext, dupNext, trailNext, next}}, edited) >= 0;
}

} // namespace cdx
