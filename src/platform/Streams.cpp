#include "platform/Streams.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemReason(int error)
{
    return std::strerror(error);
}

constexpr int64_t CopyChunk = 64 * 1024;

} // namespace

// TStream

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        int64_t done = Read(bytes, count);
        if (done <= 0)
            throw EReadError("Stream read error");
        bytes += done;
        count -= done;
    }
    if (count < 0)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        int64_t done = Write(bytes, count);
        if (done <= 0)
            throw EWriteError("Stream write error");
        bytes += done;
        count -= done;
    }
    if (count < 0)
        throw EWriteError("Stream write error");
}

int64_t TStream::Position()
{
    return Seek(0, soFromCurrent);
}

int64_t TStream::Size()
{
    int64_t position = Seek(0, soFromCurrent);
    int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count < 0)
        throw EReadError("Stream read error");
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, CopyChunk)));
    int64_t remaining = count;
    while (remaining > 0) {
        int64_t chunk = std::min(remaining, CopyChunk);
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        remaining -= chunk;
    }
    return count;
}

// TMemoryStream

void TMemoryStream::Reserve(int64_t size)
{
    if (size <= FCapacity)
        return;
    int64_t capacity = std::max(size, FCapacity * 2);
    std::unique_ptr<uint8_t[]> grown(new uint8_t[static_cast<size_t>(capacity)]);
    if (FSize > 0)
        std::memcpy(grown.get(), FData.get(), static_cast<size_t>(FSize));
    FData = std::move(grown);
    FCapacity = capacity;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FPosition >= FSize)
        return 0;
    int64_t done = std::min(count, FSize - FPosition);
    std::memcpy(buffer, FData.get() + FPosition, static_cast<size_t>(done));
    FPosition += done;
    return done;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    int64_t end = FPosition + count;
    if (end > FSize) {
        Reserve(end);
        // Bytes skipped by a seek beyond the end read as zeros.
        if (FPosition > FSize)
            std::fill(FData.get() + FSize, FData.get() + FPosition, uint8_t(0));
        FSize = end;
    }
    std::memcpy(FData.get() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == soFromCurrent ? FPosition : origin == soFromEnd ? FSize : 0;
    int64_t position = base + offset;
    if (position < 0)
        throw EStreamError("Invalid stream position");
    FPosition = position;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize)
{
    if (newSize < 0)
        throw EStreamError("Invalid stream size");
    if (newSize > FSize) {
        Reserve(newSize);
        std::fill(FData.get() + FSize, FData.get() + newSize, uint8_t(0));
    }
    FSize = newSize;
    FPosition = std::min(FPosition, FSize);
}

void TMemoryStream::Clear()
{
    FData.reset();
    FCapacity = 0;
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    int64_t size = source.Size();
    SetSize(size);
    FPosition = 0;
    source.ReadBuffer(FData.get(), size);
}

void TMemoryStream::SaveToStream(TStream& target)
{
    target.WriteBuffer(FData.get(), FSize);
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// TFileStream

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : FFileName(fileName)
{
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
        case fmOpenWrite: flags |= O_WRONLY; break;
        case fmOpenReadWrite: flags |= O_RDWR; break;
        default: flags |= O_RDONLY; break;
        }
    }
    do
        FHandle = ::open(fileName.c_str(), flags, 0666);
    while (FHandle < 0 && errno == EINTR);
    int error = FHandle < 0 ? errno : 0;
    struct stat info {};
    if (FHandle >= 0 && fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        error = EISDIR;
    }
    if (FHandle < 0) {
        std::string text = "\"" + fileName + "\". " + SystemReason(error);
        if (create)
            throw EFCreateError("Cannot create file " + text);
        throw EFOpenError("Cannot open file " + text);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::read(FHandle, bytes + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;   // end of file, or an error the caller sees as a short read
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;   // a full disk or another error: the caller sees a short write
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    off_t position = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    if (position < 0)
        throw EStreamError("Cannot seek in file \"" + FFileName + "\". " + SystemReason(errno));
    return position;
}

void TFileStream::SetSize(int64_t newSize)
{
    int64_t position = Position();
    int result;
    do
        result = ::ftruncate(FHandle, static_cast<off_t>(newSize));
    while (result < 0 && errno == EINTR);
    if (result < 0)
        throw EStreamError("Cannot change the size of file \"" + FFileName + "\". " + SystemReason(errno));
    if (position > newSize)
        Seek(newSize, soFromBeginning);
}
