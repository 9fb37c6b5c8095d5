#pragma once
// A stable sort of items by a 64-bit Head member: a least-significant-digit
// radix sort over its four 16-bit digits, which skips the digits all items
// share and returns at once when the items are in order already.  Meant
// for many items (a million in a few milliseconds); a short run is sorted
// by comparing.

#include "platform/HugePageAllocator.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace radix_detail {

// Uninitialised room for `count` items, freed on leaving.
template <typename T>
struct TScratch {
    explicit TScratch(size_t count) : Count(count), Items(THugePageAllocator<T>().allocate(count)) {}
    ~TScratch() { THugePageAllocator<T>().deallocate(Items, Count); }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    size_t Count;
    T* Items;
};

} // namespace radix_detail

// T is trivially copyable.
template <typename T>
void RadixSortByHead(T* first, T* last)
{
    static_assert(std::is_trivially_copyable_v<T>);
    const size_t count = static_cast<size_t>(last - first);
    if (count < 2048) {
        std::stable_sort(first, last, [](const T& a, const T& b) { return a.Head < b.Head; });
        return;
    }
    constexpr size_t Buckets = 1 << 16;
    std::vector<uint32_t> counts(4 * Buckets, 0);
    bool ordered = true;
    for (size_t i = 0; i < count; ++i) {
        const uint64_t head = first[i].Head;
        ordered = ordered && (i == 0 || first[i - 1].Head <= head);
        for (unsigned d = 0; d < 4; ++d)
            ++counts[d * Buckets + ((head >> (16 * d)) & 0xFFFF)];
    }
    if (ordered)
        return;
    const radix_detail::TScratch<T> buffer(count);
    T* from = first;
    T* to = buffer.Items;
    for (unsigned d = 0; d < 4; ++d) {
        uint32_t* digitCounts = &counts[d * Buckets];
        if (digitCounts[(first->Head >> (16 * d)) & 0xFFFF] == count)
            continue;   // every item has this digit
        uint32_t offset = 0;
        for (size_t b = 0; b < Buckets; ++b) {
            const uint32_t n = digitCounts[b];
            digitCounts[b] = offset;
            offset += n;
        }
        for (size_t i = 0; i < count; ++i)
            to[digitCounts[(from[i].Head >> (16 * d)) & 0xFFFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + count, first);
}
