#pragma once
// An allocator for the large arrays of the column indexes.  A block of a
// few megabytes or more is aligned to the 2 MB huge page and the kernel is
// asked to back it with huge pages: touching a fresh 16 MB block then costs
// a handful of page faults instead of four thousand, which on some machines
// takes longer than the sort the block serves.  Such a block is also
// faulted in at once rather than page by page.  Smaller blocks, and
// systems that decline the advice, get ordinary memory.

#include <cstddef>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

template <typename T>
struct THugePageAllocator {
    using value_type = T;
    static constexpr size_t HugePage = size_t{2} << 20;

    THugePageAllocator() = default;
    template <typename U>
    THugePageAllocator(const THugePageAllocator<U>&) noexcept {}

    T* allocate(size_t count)
    {
        if (count > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = count * sizeof(T);
        void* block = nullptr;
        if (bytes >= HugePage) {
            const size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
            block = std::aligned_alloc(HugePage, rounded);
            if (block != nullptr) {
                madvise(block, rounded, MADV_HUGEPAGE);   // advice only: ordinary pages serve as well
                PopulateWritable(block, rounded);
            }
        } else {
            block = std::malloc(bytes == 0 ? 1 : bytes);
        }
        if (block == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, size_t) noexcept { std::free(block); }

    // Faults the whole block in with one call, where the system can: when
    // no huge page is free, touching its 4 KiB pages one by one costs a
    // fault each, and on a virtual machine a fault can cost ten times what
    // a bulk fill costs per page.
    static void PopulateWritable(void* block, size_t bytes)
    {
#ifdef MADV_POPULATE_WRITE
        madvise(block, bytes, MADV_POPULATE_WRITE);   // older kernels refuse it: pages then fault as touched
#else
        (void)block;
        (void)bytes;
#endif
    }

    template <typename U>
    bool operator==(const THugePageAllocator<U>&) const noexcept { return true; }
};
