#include "data/engine/dbf/CdxPage.h"

#include "data/engine/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace cdx {

namespace {

int BitLength(uint64_t v)
{
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

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

size_t TrailingFill(const std::string& key, uint8_t fill)
{
    size_t n = 0;
    while (n < key.size() && static_cast<uint8_t>(key[key.size() - 1 - n]) == fill)
        ++n;
    return n;
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
    for (const TEntry& e : node.Entries)
        largest = std::max(largest, e.RecNo);
    return EntryBytesFor(node.EntryBytes, countBits, largest);
}

// Leading bytes a key shares with the one before it in the page, never
// reaching into the trailing fill of either.
size_t SharedPrefix(const std::string& previous, const std::string& key, size_t keyLength, size_t trail,
                    size_t previousTrail)
{
    size_t limit = keyLength - std::max(trail, previousTrail);
    size_t dup = 0;
    while (dup < limit && key[dup] == previous[dup])
        ++dup;
    return dup;
}

// The header every node starts with, on an otherwise zeroed page.
void StartPage(const TNode& node, uint8_t* page)
{
    std::memset(page, 0, PageSize);
    PutLe16(page, node.Attributes);
    PutLe16(page + 2, static_cast<uint16_t>(node.Entries.size()));
    PutLe32(page + 4, node.Left);
    PutLe32(page + 8, node.Right);
}

bool EncodeLeaf(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* page)
{
    const int countBits = BitLength(keyLength);
    const int n = LeafEntryBytes(node, countBits);
    const int recBits = 8 * n - 2 * countBits;
    if (n > 8)
        return false;
    // Sizes first: the page is written only when everything fits.
    std::vector<uint16_t> dups(node.Entries.size()), trails(node.Entries.size());
    size_t keyBytes = 0;
    size_t previousTrail = 0;
    for (size_t i = 0; i < node.Entries.size(); ++i) {
        const std::string& key = node.Entries[i].Key;
        size_t trail = TrailingFill(key, fill);
        size_t dup = i > 0 ? SharedPrefix(node.Entries[i - 1].Key, key, keyLength, trail, previousTrail) : 0;
        dups[i] = static_cast<uint16_t>(dup);
        trails[i] = static_cast<uint16_t>(trail);
        keyBytes += keyLength - dup - trail;
        previousTrail = trail;
    }
    size_t used = node.Entries.size() * static_cast<size_t>(n) + keyBytes;
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
    size_t keyEnd = PageSize;
    for (size_t i = 0; i < node.Entries.size(); ++i) {
        uint64_t v = node.Entries[i].RecNo | (static_cast<uint64_t>(dups[i]) << recBits) |
                     (static_cast<uint64_t>(trails[i]) << (recBits + countBits));
        for (int b = 0; b < n; ++b)
            page[24 + i * static_cast<size_t>(n) + static_cast<size_t>(b)] = static_cast<uint8_t>(v >> (8 * b));
        size_t fresh = keyLength - dups[i] - trails[i];
        keyEnd -= fresh;
        std::memcpy(page + keyEnd, node.Entries[i].Key.data() + dups[i], fresh);
    }
    return true;
}

bool EncodeInterior(const TNode& node, uint16_t keyLength, uint8_t* page)
{
    if (node.Entries.size() > InteriorCapacity(keyLength) || node.Children.size() != node.Entries.size())
        return false;
    StartPage(node, page);
    uint8_t* p = page + 12;
    for (size_t i = 0; i < node.Entries.size(); ++i) {
        std::memcpy(p, node.Entries[i].Key.data(), keyLength);
        PutBe32(p + keyLength, node.Entries[i].RecNo);
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
    node.Entries.resize(count);
    size_t keyStart = PageSize;
    const size_t entryEnd = 24 + static_cast<size_t>(count) * static_cast<size_t>(n);
    for (size_t i = 0; i < count; ++i) {
        uint64_t v = 0;
        for (int b = 0; b < n; ++b)
            v |= static_cast<uint64_t>(page[24 + i * static_cast<size_t>(n) + static_cast<size_t>(b)]) << (8 * b);
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
        TEntry& e = node.Entries[i];
        e.RecNo = static_cast<uint32_t>(v & recMask);
        e.Key.assign(keyLength, static_cast<char>(fill));
        if (dup)
            std::memcpy(e.Key.data(), node.Entries[i - 1].Key.data(), dup);
        std::memcpy(e.Key.data() + dup, page + keyStart, fresh);
    }
    if (static_cast<size_t>(free) != keyStart - entryEnd) {
        error = "a leaf's free-space count is wrong";
        return false;
    }
    return true;
}

bool DecodeInterior(const uint8_t* page, uint16_t keyLength, TNode& node, std::string& error)
{
    const uint16_t count = Le16(page + 2);
    if (count == 0 || count > InteriorCapacity(keyLength)) {
        error = "an interior node's key count is impossible";
        return false;
    }
    node.Entries.resize(count);
    node.Children.resize(count);
    const uint8_t* p = page + 12;
    for (size_t i = 0; i < count; ++i) {
        node.Entries[i].Key.assign(reinterpret_cast<const char*>(p), keyLength);
        node.Entries[i].RecNo = Be32(p + keyLength);
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

size_t InteriorCapacity(uint16_t keyLength) { return InteriorSpace / (static_cast<size_t>(keyLength) + 8); }

bool DecodeNode(const uint8_t* page, uint16_t keyLength, uint8_t fill, TNode& node, std::string& error)
{
    node.Attributes = Le16(page);
    node.Left = Le32(page + 4);
    node.Right = Le32(page + 8);
    // The entries are resized, not cleared: a node decoded into again
    // keeps the memory of its keys.
    node.Children.clear();
    node.EntryBytes = 0;
    if (node.Attributes > 7) {
        error = "a node's attributes are unknown";
        return false;
    }
    return node.IsLeaf() ? DecodeLeaf(page, keyLength, fill, node, error)
                         : DecodeInterior(page, keyLength, node, error);
}

bool EncodeNode(const TNode& node, uint16_t keyLength, uint8_t fill, uint8_t* page)
{
    return node.IsLeaf() ? EncodeLeaf(node, keyLength, fill, page) : EncodeInterior(node, keyLength, page);
}

} // namespace cdx
