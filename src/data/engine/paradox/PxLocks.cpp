#include "data/engine/paradox/PxLocks.h"

#include <cerrno>
#include <fcntl.h>

namespace px {

namespace {

constexpr int64_t RecordLockBase = int64_t{1} << 40;
constexpr int RecordLockBits = 36;

struct flock ByteLock(short type, int64_t offset)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    return lock;
}

} // namespace

int64_t RecordLockOffset(std::string_view identity)
{
    uint64_t hash = 0xCBF29CE484222325ull;   // FNV-1a, then mixed
    for (char c : identity) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001B3ull;
    }
    hash ^= hash >> 29;
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 32;
    return RecordLockBase + static_cast<int64_t>(hash & ((uint64_t{1} << RecordLockBits) - 1));
}

bool SetByteLock(int handle, short type, int64_t offset)
{
    struct flock lock = ByteLock(type, offset);
    return fcntl(handle, F_OFD_SETLK, &lock) == 0;
}

TPxWriteGuard::TPxWriteGuard(int handle) : FHandle(handle)
{
    struct flock lock = ByteLock(F_WRLCK, WriteLockOffset);
    int result;
    while ((result = fcntl(FHandle, F_OFD_SETLKW, &lock)) != 0 && errno == EINTR) {
    }
    FLocked = result == 0;
}

TPxWriteGuard::~TPxWriteGuard()
{
    if (FLocked)
        SetByteLock(FHandle, F_UNLCK, WriteLockOffset);
}

} // namespace px
