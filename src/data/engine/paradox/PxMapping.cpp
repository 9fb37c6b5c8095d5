#include "data/engine/paradox/PxMapping.h"

#include <sys/mman.h>

namespace px {

TPxMapping::TPxMapping(int fd, int64_t size) : FSize(size)
{
    if (size <= 0)
        return;
    void* p = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    if (p != MAP_FAILED) {
        FData = static_cast<const uint8_t*>(p);
    }
}

TPxMapping::~TPxMapping()
{
    if (FData)
        munmap(const_cast<uint8_t*>(FData), static_cast<size_t>(FSize));
}

} // namespace px
