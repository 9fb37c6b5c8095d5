#include "data/engine/paradox/PxFile.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

namespace {

[[noreturn]] void RaiseIo(uint16_t status, const std::string& path, int error)
{
    if (error == ENOSPC || error == EDQUOT)
        status = DBIERR_NODISKSPACE;
    RaiseEngineError(status, {"File: " + path, std::strerror(error)});
}

} // namespace

TPxFile::~TPxFile() { Close(); }

bool TPxFile::Open(const std::string& path, bool writable)
{
    Close();
    FFd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    FPath = path;
    return FFd >= 0;
}

void TPxFile::Create(const std::string& path)
{
    Close();
    FFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FPath = path;
    if (FFd < 0)
        RaiseIo(DBIERR_WRITEERR, path, errno);
}

void TPxFile::Close()
{
    if (FFd >= 0)
        ::close(FFd);
    FFd = -1;
}

int64_t TPxFile::Size() const
{
    struct stat st {};
    if (::fstat(FFd, &st) != 0)
        RaiseIo(DBIERR_READERR, FPath, errno);
    return st.st_size;
}

bool TPxFile::ReadAt(int64_t offset, void* buffer, size_t size) const
{
    auto* p = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = ::pread(FFd, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            RaiseIo(DBIERR_READERR, FPath, errno);
        if (n == 0)
            return false;
        p += n;
        offset += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void TPxFile::WriteAt(int64_t offset, const void* buffer, size_t size)
{
    if (FJournal)
        FJournal->Save(FJournalId, FFd, offset, static_cast<int64_t>(size));
    const auto* p = static_cast<const char*>(buffer);
    while (size > 0) {
        ssize_t n = ::pwrite(FFd, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            RaiseIo(DBIERR_WRITEERR, FPath, n < 0 ? errno : ENOSPC);
        p += n;
        offset += n;
        size -= static_cast<size_t>(n);
    }
    CountEngineWrite();
}

void TPxFile::Truncate(int64_t size)
{
    if (FJournal)
        FJournal->Save(FJournalId, FFd, size, -1);
    if (::ftruncate(FFd, size) != 0)
        RaiseIo(DBIERR_WRITEERR, FPath, errno);
    CountEngineWrite();
}

void TPxFile::Sync()
{
    ::fdatasync(FFd);
}

} // namespace px
