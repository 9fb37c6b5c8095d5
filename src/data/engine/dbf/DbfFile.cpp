#include "data/engine/dbf/DbfFile.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

[[noreturn]] void RaiseIoError(uint16_t status, const std::string& path, int error)
{
    if (error == ENOSPC || error == EDQUOT)
        status = DBIERR_NODISKSPACE;
    RaiseEngineError(status, {"File: " + path, std::strerror(error)});
}

} // namespace

TDbfFile::TDbfFile(const std::string& path, bool writable) : FWritable(writable), FPath(path)
{
    // A file nobody may write stays unwritten, even for a user the
    // system would let through.
    struct stat info;
    if (writable && ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        RaiseEngineError(DBIERR_TABLEREADONLY, {"File: " + path});
    FHandle = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (FHandle >= 0)
        return;
    int error = errno;
    if (error == ENOENT)
        RaiseEngineError(DBIERR_OSENOENT, {"File: " + path});
    if (writable && (error == EACCES || error == EROFS || error == EPERM))
        RaiseEngineError(DBIERR_TABLEREADONLY, {"File: " + path});
    if (error == EACCES || error == EPERM)
        RaiseEngineError(DBIERR_OSEACCES, {"File: " + path});
    RaiseIoError(DBIERR_READERR, path, error);
}

bool TDbfFile::Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

TDbfFile TDbfFile::OpenOrCreate(const std::string& path)
{
    return Open(path, O_RDWR | O_CREAT | O_CLOEXEC);
}

TDbfFile TDbfFile::Create(const std::string& path)
{
    return Open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC);
}

TDbfFile TDbfFile::Open(const std::string& path, int flags)
{
    TDbfFile file;
    file.FPath = path;
    file.FWritable = true;
    file.FHandle = ::open(path.c_str(), flags, 0666);
    if (file.FHandle < 0) {
        int error = errno;
        if (error == EEXIST)
            RaiseEngineError(DBIERR_WRITEERR, {"File: " + path, "The file already exists."});
        if (error == EACCES || error == EPERM || error == EROFS)
            RaiseEngineError(DBIERR_OSEACCES, {"File: " + path});
        RaiseIoError(DBIERR_WRITEERR, path, error);
    }
    return file;
}

TDbfFile::~TDbfFile() { Close(); }

TDbfFile::TDbfFile(TDbfFile&& other) noexcept
    : FHandle(other.FHandle), FWritable(other.FWritable), FPath(std::move(other.FPath))
{
    other.FHandle = -1;
}

TDbfFile& TDbfFile::operator=(TDbfFile&& other) noexcept
{
    if (this != &other) {
        Close();
        FHandle = other.FHandle;
        FWritable = other.FWritable;
        FPath = std::move(other.FPath);
        other.FHandle = -1;
    }
    return *this;
}

void TDbfFile::Close() noexcept
{
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
}

uint64_t TDbfFile::Size() const
{
    // The end's offset rather than the file's status: asking for the status
    // also asks for its times, which makes the next write stamp new ones
    // in full (and the file system log the inode) instead of reusing the
    // coarse clock's.  Reads and writes name their offsets, so moving the
    // descriptor's position costs nothing.
    const off_t end = ::lseek(FHandle, 0, SEEK_END);
    if (end < 0)
        RaiseIoError(DBIERR_READERR, FPath, errno);
    return static_cast<uint64_t>(end);
}

size_t TDbfFile::ReadAt(uint64_t offset, void* buffer, size_t count) const
{
    size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::pread(FHandle, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseIoError(DBIERR_READERR, FPath, errno);
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void TDbfFile::ReadExactAt(uint64_t offset, void* buffer, size_t count) const
{
    if (ReadAt(offset, buffer, count) != count)
        RaiseEngineError(DBIERR_READERR, {"File: " + FPath, "The file ends before the data it describes."});
}

void TDbfFile::WriteAt(uint64_t offset, const void* buffer, size_t count)
{
    size_t done = 0;
    auto* in = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::pwrite(FHandle, in + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseIoError(DBIERR_WRITEERR, FPath, errno);
        }
        if (n == 0)
            RaiseIoError(DBIERR_WRITEERR, FPath, ENOSPC);
        done += static_cast<size_t>(n);
    }
    CountEngineWrite();
}

void TDbfFile::Truncate(uint64_t size)
{
    if (::ftruncate(FHandle, static_cast<off_t>(size)) != 0)
        RaiseIoError(DBIERR_WRITEERR, FPath, errno);
    CountEngineWrite();
}

void TDbfFile::Flush()
{
    if (::fdatasync(FHandle) != 0 && errno != EINVAL)
        RaiseIoError(DBIERR_WRITEERR, FPath, errno);
}

bool TDbfFile::TryLock(uint64_t offset, uint64_t length)
{
    return SetLock(FWritable ? F_WRLCK : F_RDLCK, offset, length);
}

bool TDbfFile::TryLockShared(uint64_t offset, uint64_t length)
{
    return SetLock(F_RDLCK, offset, length);
}

bool TDbfFile::SetLock(short type, uint64_t offset, uint64_t length)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    if (::fcntl(FHandle, F_OFD_SETLK, &lock) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    // File systems without byte-range locks: nothing to coordinate with.
    return errno == ENOLCK || errno == EINVAL;
}

bool TDbfFile::LockWithRetry(uint64_t offset, uint64_t length)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (TryLock(offset, length))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void TDbfFile::Unlock(uint64_t offset, uint64_t length)
{
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    ::fcntl(FHandle, F_OFD_SETLK, &lock);
}
