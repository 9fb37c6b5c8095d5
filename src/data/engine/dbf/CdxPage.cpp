#include "data/engine/dbf/CdxPage.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/dbf/CdxPacking.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace cdx {

using namespace packing;

namespace {

std::string PoolString(const uint8_t* pool, uint16_t offset, uint16_t length)
{
    if (offset >= PageSize)
        return {};
    size_t end = length == 0 ? PageSize : std::min<size_t>(PageSize, static_cast<size_t>(offset) + length);
    std::string s(reinterpret_cast<const char*>(pool + offset), end - offset);
    size_t nul = s.find('\0');
    if (nul != std::string::npos)
        s.resize(nul);
    return s;
}

// Bytes per leaf entry: the width the page had, or the usual start for the
// key length, widened until the largest record number fits.
int EntryBytesFor(int found, int countBits, uint32_t largest)
{
    int n = found;
    if (n == 0)
        n = 2 * countBits <= 8 ? 3 : 2 * countBits <= 12 ? 4 : 5;
    while (8 * n - 2 * countBits < std::max(1, BitLength(largest)))
        ++n;
    return n;
}

int LeafEntryBytes(const TNode& node, int countBits)
{
    uint32_t largest = 0;
    for (uint32_t recNo : node.RecNos)
        largest = std::max(largest, recNo);
    return EntryBytesFor(node.EntryBytes, countBits, largest);
}

// The shared prefix and trailing fill of every key of a leaf, as the
// encoder counts them.
void MeasureKeys(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* dups, uint8_t* trails)
{
    size_t previousTrail = 0;
    for (size_t i = 0; i < node.Count(); ++i) {
        const std::string_view key = node.Key(i);
        const size_t trail = TrailingFill(key, fill);
        dups[i] = static_cast<uint8_t>(i > 0 ? SharedPrefix(node.Key(i - 1), key, keyLength, trail, previousTrail) : 0);
        trails[i] = static_cast<uint8_t>(trail);
        previousTrail = trail;
    }
}

// The header every node starts with, on an otherwise zeroed page.
void StartPage(const TNode& node, uint8_t* page)
{
    std::memset(page, 0, PageSize);
    PutLe16(page, node.Attributes);
    PutLe16(page + 2, static_cast<uint16_t>(node.Count()));
    PutLe32(page + 4, node.Left);
    PutLe32(page + 8, node.Right);
}

bool EncodeLeaf(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* page)
{
    const int countBits = BitLength(keyLength);
    const int n = LeafEntryBytes(node, countBits);
    const int recBits = 8 * n - 2 * countBits;
    const size_t count = node.Count();
    if (keyLength > MaxKeyLength || n > 8 || count * static_cast<size_t>(n) > LeafSpace)
        return false;
    // Sizes first: the page is written only when everything fits.
    std::array<uint8_t, LeafSpace> measuredDups, measuredTrails;
    const uint8_t* dups = node.Dups.data();
    const uint8_t* trails = node.Trails.data();
    if (!node.Measured || node.Fill != fill || node.Dups.size() != count || node.Trails.size() != count) {
        MeasureKeys(node, keyLength, fill, measuredDups.data(), measuredTrails.data());
        dups = measuredDups.data();
        trails = measuredTrails.data();
    }
    size_t keyBytes = count * keyLength;
    for (size_t i = 0; i < count; ++i)
        keyBytes -= static_cast<size_t>(dups[i]) + trails[i];
    size_t used = count * static_cast<size_t>(n) + keyBytes;
    if (used > LeafSpace)
        return false;

    StartPage(node, page);
    PutLe16(page + 12, static_cast<uint16_t>(LeafSpace - used));
    PutLe32(page + 14, recBits >= 32 ? 0xFFFFFFFFu : (1u << recBits) - 1);
    page[18] = static_cast<uint8_t>((1u << countBits) - 1);
    page[19] = page[18];
    page[20] = static_cast<uint8_t>(recBits);
    page[21] = static_cast<uint8_t>(countBits);
    page[22] = static_cast<uint8_t>(countBits);
    page[23] = static_cast<uint8_t>(n);
    // Entries are put together as whole words and copied in at once.
    uint8_t entries[LeafSpace + 8];
    const uint8_t* keys = Bytes(node.Keys);
    size_t keyEnd = PageSize;
    for (size_t i = 0; i < count; ++i) {
        PutEntryWord(entries + i * static_cast<size_t>(n),
                     node.RecNos[i] | (static_cast<uint64_t>(dups[i]) << recBits) |
                         (static_cast<uint64_t>(trails[i]) << (recBits + countBits)));
        const size_t fresh = keyLength - dups[i] - trails[i];
        keyEnd -= fresh;
        CopyShort(page + keyEnd, keys + i * keyLength + dups[i], fresh);
    }
    std::memcpy(page + 24, entries, count * static_cast<size_t>(n));
    return true;
}

bool EncodeInterior(const TNode& node, uint16_t keyLength, uint8_t* page)
{
    if (node.Count() > InteriorCapacity(keyLength) || node.Children.size() != node.Count())
        return false;
    StartPage(node, page);
    uint8_t* p = page + 12;
    for (size_t i = 0; i < node.Count(); ++i) {
        std::memcpy(p, node.Key(i).data(), keyLength);
        PutBe32(p + keyLength, node.RecNos[i]);
        PutBe32(p + keyLength + 4, node.Children[i]);
        p += keyLength + 8;
    }
    return true;
}

bool DecodeLeaf(const uint8_t* page, uint16_t keyLength, uint8_t fill, TNode& node, std::string& error)
{
    const uint16_t count = Le16(page + 2);
    const uint16_t free = Le16(page + 12);
    const uint32_t recMask = Le32(page + 14);
    const int recBits = page[20], dupBits = page[21], trailBits = page[22], n = page[23];
    if (n < 1 || n > 8 || recBits + dupBits + trailBits > 8 * n || recBits < 1 || recBits > 32 || dupBits > 16 ||
        trailBits > 16) {
        error = "a leaf's entry layout is impossible";
        return false;
    }
    const uint64_t dupMask = (1u << dupBits) - 1, trailMask = (1u << trailBits) - 1;
    const uint64_t expectRecMask = recBits == 32 ? 0xFFFFFFFFull : (1ull << recBits) - 1;
    if (recMask != expectRecMask || page[18] != dupMask || page[19] != trailMask) {
        error = "a leaf's masks do not match its bit counts";
        return false;
    }
    if (static_cast<size_t>(count) * static_cast<size_t>(n) > LeafSpace) {
        error = "a leaf holds more entries than fit";
        return false;
    }
    node.EntryBytes = static_cast<uint8_t>(n);
    node.Keys.resize(static_cast<size_t>(count) * keyLength);
    node.RecNos.resize(count);
    node.Dups.resize(count);
    node.Trails.resize(count);
    node.Fill = fill;
    uint8_t* keys = Bytes(node.Keys.data());
    size_t keyStart = PageSize;
    const size_t entryEnd = 24 + static_cast<size_t>(count) * static_cast<size_t>(n);
    // Whether every count is the one the encoder would give.
    bool asEncoded = keyLength <= MaxKeyLength;
    size_t previousTrail = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint64_t v = EntryOfPage(page, 24 + i * static_cast<size_t>(n), n);
        size_t dup = (v >> recBits) & dupMask;
        size_t trail = (v >> (recBits + dupBits)) & trailMask;
        if (dup + trail > keyLength || (i == 0 && dup != 0)) {
            error = "a leaf key's counts exceed the key length";
            return false;
        }
        size_t fresh = keyLength - dup - trail;
        if (keyStart < entryEnd + fresh) {
            error = "a leaf's keys overlap its entries";
            return false;
        }
        keyStart -= fresh;
        node.RecNos[i] = static_cast<uint32_t>(v & recMask);
        uint8_t* key = keys + i * keyLength;
        if (dup)
            CopyShort(key, key - keyLength, dup);
        CopyShort(key + dup, page + keyStart, fresh);
        FillShort(key + dup + fresh, fill, trail);
        const size_t limit = keyLength - std::max(trail, previousTrail);
        asEncoded = asEncoded && (trail == keyLength || key[keyLength - trail - 1] != fill) &&
                    (i == 0 || (dup <= limit && (dup == limit || key[dup] != key[dup - keyLength])));
        node.Dups[i] = static_cast<uint8_t>(dup);
        node.Trails[i] = static_cast<uint8_t>(trail);
        previousTrail = trail;
    }
    if (static_cast<size_t>(free) != keyStart - entryEnd) {
        error = "a leaf's free-space count is wrong";
        return false;
    }
    node.Measured = asEncoded;
    return true;
}

bool DecodeInterior(const uint8_t* page, uint16_t keyLength, TNode& node, std::string& error)
{
    const uint16_t count = Le16(page + 2);
    if (count == 0 || count > InteriorCapacity(keyLength)) {
        error = "an interior node's key count is impossible";
        return false;
    }
    node.Keys.resize(static_cast<size_t>(count) * keyLength);
    node.RecNos.resize(count);
    node.Children.resize(count);
    const uint8_t* p = page + 12;
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(node.Keys.data() + i * keyLength, p, keyLength);
        node.RecNos[i] = Be32(p + keyLength);
        node.Children[i] = Be32(p + keyLength + 4);
        p += keyLength + 8;
    }
    return true;
}

} // namespace

bool ParseHeader(const uint8_t* bytes, THeader& header, std::string& error)
{
    header.Root = Le32(bytes);
    header.FreeList = Le32(bytes + 4);
    if (header.FreeList == NoPage)
        header.FreeList = 0;
    header.KeyLength = Le16(bytes + 12);
    header.Options = bytes[14];
    header.Descending = Le16(bytes + 502) != 0;
    header.Collation.assign(reinterpret_cast<const char*>(bytes + 494), 8);
    header.Collation.resize(header.Collation.find('\0') == std::string::npos ? 8 : header.Collation.find('\0'));
    header.KeyExpression = PoolString(bytes + 512, Le16(bytes + 508), Le16(bytes + 510));
    header.ForExpression = (header.Options & OptFor) ? PoolString(bytes + 512, Le16(bytes + 504), Le16(bytes + 506))
                                                     : std::string();
    if (header.KeyLength < 1 || header.KeyLength > MaxKeyLength) {
        error = "a key length of " + std::to_string(header.KeyLength);
        return false;
    }
    if (header.Root % PageSize != 0 || header.Root < HeaderSize || header.FreeList % PageSize != 0) {
        error = "a root or free-list offset off the pages";
        return false;
    }
    return true;
}

void FormatTagHeader(const THeader& header, uint8_t* bytes)
{
    std::memset(bytes, 0, HeaderSize);
    PutLe32(bytes, header.Root);
    PutLe16(bytes + 12, header.KeyLength);
    bytes[14] = header.Options;
    bytes[15] = 1;
    PutLe16(bytes + 502, header.Descending ? 1 : 0);
    const size_t keyLength = header.KeyExpression.size() + 1;
    const size_t forLength = header.ForExpression.size() + 1;
    PutLe16(bytes + 504, static_cast<uint16_t>(keyLength));
    PutLe16(bytes + 506, static_cast<uint16_t>(forLength));
    PutLe16(bytes + 508, 0);
    PutLe16(bytes + 510, static_cast<uint16_t>(keyLength));
    std::memcpy(bytes + 512, header.KeyExpression.data(), std::min<size_t>(header.KeyExpression.size(), 500));
    if (keyLength + forLength <= PageSize)
        std::memcpy(bytes + 512 + keyLength, header.ForExpression.data(), header.ForExpression.size());
}

uint32_t ChangeCounter(const uint8_t* fileHeader) { return Be32(fileHeader + 8); }
void SetChangeCounter(uint8_t* fileHeader, uint32_t value) { PutBe32(fileHeader + 8, value); }

size_t TLeafSizer::FreshBytes(const TEntry& entry, size_t trail) const
{
    size_t dup = FCount ? SharedPrefix(FPrevious, entry.Key, FKeyLength, trail, FPreviousTrail) : 0;
    return FKeyLength - dup - trail;
}

bool TLeafSizer::Fits(const TEntry& entry, size_t& fresh) const
{
    fresh = FreshBytes(entry, TrailingFill(entry.Key, FFill));
    const int countBits = BitLength(FKeyLength);
    const size_t n = static_cast<size_t>(EntryBytesFor(0, countBits, std::max(FLargest, entry.RecNo)));
    return (FCount + 1) * n + FKeyBytes + fresh <= LeafSpace;
}

void TLeafSizer::Add(const TEntry& entry, size_t fresh)
{
    FKeyBytes += fresh;
    ++FCount;
    FLargest = std::max(FLargest, entry.RecNo);
    FPrevious = entry.Key;
    FPreviousTrail = TrailingFill(entry.Key, FFill);
}

void TLeafSizer::Clear()
{
    FCount = 0;
    FKeyBytes = 0;
    FLargest = 0;
    FPrevious.clear();
    FPreviousTrail = 0;
}

size_t TNode::LowerBound(std::string_view key, uint32_t recNo) const
{
    size_t low = 0, high = Count();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (Compare(middle, key, recNo) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void TNode::Remeasure(size_t i)
{
    const std::string_view key = Key(i);
    Trails[i] = static_cast<uint8_t>(TrailingFill(key, Fill));
    Dups[i] = static_cast<uint8_t>(i > 0 ? SharedPrefix(Key(i - 1), key, KeyLength, Trails[i], Trails[i - 1]) : 0);
}

void TNode::Insert(size_t at, std::string_view key, uint32_t recNo)
{
    const size_t place = at * KeyLength;
    Keys.insert(place, KeyLength, '\0');
    std::memcpy(Keys.data() + place, key.data(), std::min<size_t>(key.size(), KeyLength));
    RecNos.insert(RecNos.begin() + static_cast<std::ptrdiff_t>(at), recNo);
    if (Measured) {
        Dups.insert(Dups.begin() + static_cast<std::ptrdiff_t>(at), 0);
        Trails.insert(Trails.begin() + static_cast<std::ptrdiff_t>(at), 0);
        Remeasure(at);
        if (at + 1 < Count())
            Remeasure(at + 1);
    }
}

void TNode::Set(size_t at, std::string_view key, uint32_t recNo)
{
    char* place = Keys.data() + at * KeyLength;
    const size_t length = std::min<size_t>(key.size(), KeyLength);
    // memmove: `key` may be a key of this very node.
    std::memmove(place, key.data(), length);
    std::memset(place + length, 0, KeyLength - length);
    RecNos[at] = recNo;
    if (Measured) {
        Remeasure(at);
        if (at + 1 < Count())
            Remeasure(at + 1);
    }
}

void TNode::Erase(size_t at)
{
    Keys.erase(at * KeyLength, KeyLength);
    RecNos.erase(RecNos.begin() + static_cast<std::ptrdiff_t>(at));
    if (Measured) {
        Dups.erase(Dups.begin() + static_cast<std::ptrdiff_t>(at));
        Trails.erase(Trails.begin() + static_cast<std::ptrdiff_t>(at));
        if (at < Count())
            Remeasure(at);
    }
}

void TNode::Clear()
{
    Keys.clear();
    RecNos.clear();
    Children.clear();
    Dups.clear();
    Trails.clear();
}

void TNode::AssignRange(const TNode& from, size_t first, size_t last)
{
    KeyLength = from.KeyLength;
    Keys.assign(from.Keys, first * from.KeyLength, (last - first) * from.KeyLength);
    RecNos.assign(from.RecNos.begin() + static_cast<std::ptrdiff_t>(first),
                  from.RecNos.begin() + static_cast<std::ptrdiff_t>(last));
    if (from.Children.empty())
        Children.clear();
    else
        Children.assign(from.Children.begin() + static_cast<std::ptrdiff_t>(first),
                        from.Children.begin() + static_cast<std::ptrdiff_t>(last));
    Measured = from.Measured;
    Fill = from.Fill;
    if (Measured) {
        Dups.assign(from.Dups.begin() + static_cast<std::ptrdiff_t>(first),
                    from.Dups.begin() + static_cast<std::ptrdiff_t>(last));
        Trails.assign(from.Trails.begin() + static_cast<std::ptrdiff_t>(first),
                      from.Trails.begin() + static_cast<std::ptrdiff_t>(last));
        if (!Empty())
            Remeasure(0);
    } else {
        Dups.clear();
        Trails.clear();
    }
}

void TNode::AppendPairs(const TNode& from)
{
    const size_t joined = Count();
    Keys += from.Keys;
    RecNos.insert(RecNos.end(), from.RecNos.begin(), from.RecNos.end());
    Children.insert(Children.end(), from.Children.begin(), from.Children.end());
    if (Measured && from.Measured && from.Fill == Fill && from.KeyLength == KeyLength) {
        Dups.insert(Dups.end(), from.Dups.begin(), from.Dups.end());
        Trails.insert(Trails.end(), from.Trails.begin(), from.Trails.end());
        if (joined < Count())
            Remeasure(joined);
    } else {
        Measured = false;
        Dups.clear();
        Trails.clear();
    }
}

size_t InteriorCapacity(uint16_t keyLength) { return InteriorSpace / (static_cast<size_t>(keyLength) + 8); }

bool DecodeNode(const uint8_t* page, uint16_t keyLength, uint8_t fill, TNode& node, std::string& error)
{
    node.Attributes = Le16(page);
    node.Left = Le32(page + 4);
    node.Right = Le32(page + 8);
    node.KeyLength = keyLength;
    // The buffers are resized, not freed: a node decoded into again keeps
    // their memory.
    node.Children.clear();
    node.EntryBytes = 0;
    node.Measured = false;
    if (node.Attributes > 7) {
        error = "a node's attributes are unknown";
        return false;
    }
    return node.IsLeaf() ? DecodeLeaf(page, keyLength, fill, node, error)
                         : DecodeInterior(page, keyLength, node, error);
}

bool EncodeNode(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* page)
{
    if (node.KeyLength != keyLength || node.Keys.size() != node.Count() * keyLength)
        return false;
    return node.IsLeaf() ? EncodeLeaf(node, keyLength, fill, page) : EncodeInterior(node, keyLength, page);
}

} // namespace cdx
