#pragma once
// The packing of leaf pages shared by the encoder and the in-place edits:
// leaf entries read and written as words, keys' trailing fill and shared
// prefixes counted a word at a time, and short runs of key bytes moved
// in a few word moves.

#include "data/engine/ByteOrder.h"
#include "data/engine/dbf/CdxPage.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace cdx::packing {

inline int BitLength(uint64_t v)
{
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

inline const uint8_t* Bytes(std::string_view s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// Unaligned word moves in the machine's own order, for copying bytes.
inline uint64_t Load64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void Store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }
inline uint32_t Load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// Copies `n` bytes between buffers that do not overlap, touching no byte
// outside either: keys are short, so a few word moves (the last ones
// overlapping the ones before) beat a call to memcpy.
inline void CopyShort(uint8_t* to, const uint8_t* from, size_t n)
{
    if (n >= 8) {
        for (size_t i = 0; i + 8 < n; i += 8)
            Store64(to + i, Load64(from + i));
        Store64(to + n - 8, Load64(from + n - 8));
    } else if (n >= 4) {
        Store32(to, Load32(from));
        Store32(to + n - 4, Load32(from + n - 4));
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

// Sets `n` bytes to `fill` in the same way.
inline void FillShort(uint8_t* to, uint8_t fill, size_t n)
{
    const uint64_t pattern = 0x0101010101010101ull * fill;
    if (n >= 8) {
        for (size_t i = 0; i + 8 < n; i += 8)
            Store64(to + i, pattern);
        Store64(to + n - 8, pattern);
    } else if (n >= 4) {
        Store32(to, static_cast<uint32_t>(pattern));
        Store32(to + n - 4, static_cast<uint32_t>(pattern));
    } else if (n > 0) {
        to[0] = fill;
        to[n / 2] = fill;
        to[n - 1] = fill;
    }
}

// A node's key buffer as bytes to write.
inline uint8_t* Bytes(char* s) { return reinterpret_cast<uint8_t*>(s); }

// The key's trailing fill bytes, counted eight at a time.
inline size_t TrailingFill(std::string_view key, uint8_t fill)
{
    const uint64_t pattern = 0x0101010101010101ull * fill;
    size_t n = 0;
    for (; n + 8 <= key.size(); n += 8) {
        // The word's most significant byte is the last one.
        const uint64_t differs = Le64(Bytes(key) + key.size() - n - 8) ^ pattern;
        if (differs)
            return n + static_cast<size_t>(std::countl_zero(differs)) / 8;
    }
    while (n < key.size() && static_cast<uint8_t>(key[key.size() - 1 - n]) == fill)
        ++n;
    return n;
}

// Leading bytes a key shares with the one before it in the page, never
// reaching into the trailing fill of either.
inline size_t SharedPrefix(std::string_view previous, std::string_view key, size_t keyLength, size_t trail,
                           size_t previousTrail)
{
    const size_t limit = keyLength - std::max(trail, previousTrail);
    size_t dup = 0;
    // Eight bytes at a time: the first that differs is the lowest of the word.
    for (; dup + 8 <= limit; dup += 8) {
        const uint64_t differs = Le64(Bytes(key) + dup) ^ Le64(Bytes(previous) + dup);
        if (differs)
            return dup + static_cast<size_t>(std::countr_zero(differs)) / 8;
    }
    while (dup < limit && key[dup] == previous[dup])
        ++dup;
    return dup;
}

// The leaf entry of `n` (1 to 8) bytes at `at`, least significant first.
inline uint64_t EntryAt(const uint8_t* at, int n)
{
    uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, at, static_cast<size_t>(n));
    } else {
        for (int b = 0; b < n; ++b)
            v |= static_cast<uint64_t>(at[b]) << (8 * b);
    }
    return v;
}

// The leaf entry of `n` bytes at `at` of a page: eight bytes read at once
// where the page has them.
inline uint64_t EntryOfPage(const uint8_t* page, size_t at, int n)
{
    if constexpr (std::endian::native == std::endian::little) {
        if (at + 8 <= PageSize) {
            const uint64_t v = Load64(page + at);
            return n == 8 ? v : v & ((uint64_t{1} << (8 * n)) - 1);
        }
    }
    return EntryAt(page + at, n);
}

// Writes a leaf entry as eight bytes, least significant first (the bytes
// past the entry's own are the next entry's, written after it).
inline void PutEntryWord(uint8_t* at, uint64_t v)
{
    if constexpr (std::endian::native == std::endian::little)
        Store64(at, v);
    else
        PutLe64(at, v);
}

} // namespace cdx::packing
