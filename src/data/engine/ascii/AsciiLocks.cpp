#include "data/engine/ascii/AsciiLocks.h"

#include "data/engine/EngineStatus.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int64_t LockBase = int64_t(1) << 62;
constexpr int64_t OpenByte = LockBase;
constexpr int64_t WriteByte = LockBase + 1;
constexpr int64_t RecordBase = LockBase + 2;
constexpr uint64_t RecordKeyMask = (uint64_t(1) << 60) - 1;

} // namespace

TAsciiLocks::TAsciiLocks(const std::string& schemaPath, bool writable, bool exclusive) : FPath(schemaPath)
{
    FHandle = ::open(schemaPath.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (FHandle < 0) {
        int error = errno;
        if (writable && (error == EACCES || error == EPERM || error == EROFS))
            RaiseEngineError(DBIERR_TABLEREADONLY, {"Schema file: " + schemaPath});
        RaiseEngineError(DBIERR_OSEACCES, {"Schema file: " + schemaPath, std::strerror(error)});
    }
    bool exclusiveLock = exclusive && writable;
    if (!SetLock(exclusiveLock ? F_WRLCK : F_RDLCK, OpenByte, false)) {
        ::close(FHandle);
        FHandle = -1;
        RaiseEngineError(DBIERR_FILELOCKED, {"Schema file: " + schemaPath,
                                             exclusiveLock ? "Another program has the table open."
                                                           : "Another program has the table open exclusively."});
    }
}

TAsciiLocks::~TAsciiLocks()
{
    if (FHandle >= 0)
        ::close(FHandle);   // releases every lock of this open file description
}

bool TAsciiLocks::SetLock(short type, int64_t offset, bool wait)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    lock.l_pid = 0;
    while (::fcntl(FHandle, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EACCES || errno == EAGAIN)
            return false;
        RaiseEngineError(DBIERR_FILELOCKED, {"Schema file: " + FPath, std::strerror(errno)});
    }
    return true;
}

uint64_t TAsciiLocks::RecordKey(std::string_view line)
{
    uint64_t hash = 14695981039346656037ull;   // FNV-1a
    for (unsigned char c : line) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash & RecordKeyMask;
}

bool TAsciiLocks::TryLockRecord(uint64_t key)
{
    return SetLock(F_WRLCK, RecordBase + static_cast<int64_t>(key), false);
}

void TAsciiLocks::UnlockRecord(uint64_t key)
{
    SetLock(F_UNLCK, RecordBase + static_cast<int64_t>(key), false);
}

void TAsciiLocks::LockForWrite()
{
    using namespace std::chrono;
    auto deadline = steady_clock::now() + seconds(3);
    while (!SetLock(F_WRLCK, WriteByte, false)) {
        if (steady_clock::now() > deadline)
            RaiseEngineError(DBIERR_FILELOCKED, {"Schema file: " + FPath, "Another program is writing the table."});
        std::this_thread::sleep_for(milliseconds(10));
    }
}

void TAsciiLocks::UnlockForWrite()
{
    SetLock(F_UNLCK, WriteByte, false);
}
