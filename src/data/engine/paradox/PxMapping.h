#pragma once
// A read-only mapping of a whole file for the duration of a scan; Data()
// is null when the file cannot be mapped (callers then read normally).

#include <cstdint>

namespace px {

class TPxMapping {
public:
    TPxMapping(int fd, int64_t size);
    ~TPxMapping();
    TPxMapping(const TPxMapping&) = delete;
    TPxMapping& operator=(const TPxMapping&) = delete;
    const uint8_t* Data() const { return FData; }

private:
    const uint8_t* FData = nullptr;
    int64_t FSize = 0;
};

} // namespace px
