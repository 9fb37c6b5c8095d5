#include "data/engine/FileStamp.h"

#include <sys/stat.h>

uint64_t FileStateStamp(const std::string& path)
{
    struct stat state {};
    if (::stat(path.c_str(), &state) != 0)
        return 0;
    uint64_t stamp = 14695981039346656037ull;
    const auto mix = [&stamp](uint64_t value) { stamp = (stamp ^ value) * 1099511628211ull; };
    for (uint64_t value : {static_cast<uint64_t>(state.st_size), static_cast<uint64_t>(state.st_mtim.tv_sec),
                           static_cast<uint64_t>(state.st_mtim.tv_nsec), static_cast<uint64_t>(state.st_ctim.tv_sec),
                           static_cast<uint64_t>(state.st_ctim.tv_nsec), static_cast<uint64_t>(state.st_ino),
                           static_cast<uint64_t>(state.st_dev)})
        mix(value);
    return stamp;
}
