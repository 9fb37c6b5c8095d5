#include "data/engine/ascii/AsciiTextFile.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t ScanChunk = 1 << 20;
constexpr size_t WindowSize = 256 * 1024;
constexpr size_t JumpWindowSize = 8 * 1024;
constexpr uint64_t NearWindow = 4 * 1024;

[[noreturn]] void RaiseIoError(uint16_t status, const std::string& path, int error)
{
    if (error == ENOSPC || error == EDQUOT)
        status = DBIERR_NODISKSPACE;
    RaiseEngineError(status, {"File: " + path, std::strerror(error)});
}

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ResolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

void WriteAll(int handle, const char* data, size_t size, const std::string& path)
{
    while (size > 0) {
        ssize_t written = ::write(handle, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            RaiseIoError(DBIERR_WRITEERR, path, errno);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    CountEngineWrite();
}

// A new file beside `path`, removed again unless Commit renames it over `path`.
class TReplacementFile {
public:
    explicit TReplacementFile(const std::string& path) : FPath(path)
    {
        size_t slash = path.rfind('/');
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        FTempPath = DirectoryOf(path) + "/." + name + ".XXXXXX";
        FHandle = ::mkostemp(FTempPath.data(), O_CLOEXEC);
        if (FHandle < 0)
            RaiseIoError(DBIERR_WRITEERR, path, errno);
    }
    ~TReplacementFile()
    {
        if (FHandle >= 0)
            ::close(FHandle);
        if (!FCommitted)
            ::unlink(FTempPath.c_str());
    }
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;

    int Handle() const { return FHandle; }
    const std::string& TempPath() const { return FTempPath; }

    // Flushes the new file to disk and renames it over the old one; the
    // handle stays open on the new file and is handed to the caller.
    int Commit(const struct stat& original)
    {
        // Keep the owner where the process may (the superuser editing
        // another user's table); the permissions in any case.
        [[maybe_unused]] int ownerKept = ::fchown(FHandle, original.st_uid, original.st_gid);
        ::fchmod(FHandle, original.st_mode & 07777);
        if (::fsync(FHandle) != 0)
            RaiseIoError(DBIERR_WRITEERR, FPath, errno);
        if (::rename(FTempPath.c_str(), FPath.c_str()) != 0)
            RaiseIoError(DBIERR_WRITEERR, FPath, errno);
        FCommitted = true;
        CountEngineWrite();
        int directory = ::open(DirectoryOf(FPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            ::fsync(directory);
            ::close(directory);
        }
        int handle = FHandle;
        FHandle = -1;
        return handle;
    }

private:
    std::string FPath;
    std::string FTempPath;
    int FHandle = -1;
    bool FCommitted = false;
};

} // namespace

int RemoveUnfinishedReplacements(const std::string& path)
{
    size_t slash = path.rfind('/');
    const std::string prefix = "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
    const std::string directory = DirectoryOf(path);
    std::vector<std::string> leftovers;
    if (DIR* dir = ::opendir(directory.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
                leftovers.push_back(directory + "/" + name);
        }
        ::closedir(dir);
    }
    int removed = 0;
    for (const std::string& leftover : leftovers)
        if (::unlink(leftover.c_str()) == 0)
            ++removed;
    return removed;
}

void WriteFileReplacing(const std::string& path, const std::string& content, mode_t mode)
{
    TReplacementFile file(path);
    WriteAll(file.Handle(), content.data(), content.size(), path);
    struct stat original {};
    original.st_mode = mode;
    original.st_uid = ::geteuid();
    original.st_gid = ::getegid();
    ::close(file.Commit(original));
}

TAsciiTextFile::TAsciiTextFile(const std::string& path) : FPath(ResolvedPath(path))
{
    FHandle = ::open(FPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (FHandle < 0) {
        int error = errno;
        if (error == ENOENT)
            RaiseEngineError(DBIERR_NOSUCHTABLE, {"File: " + FPath});
        RaiseIoError(DBIERR_READERR, FPath, error);
    }
    try {
        BuildIndex();
    } catch (...) {
        ::close(FHandle);
        throw;
    }
}

TAsciiTextFile::~TAsciiTextFile()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

void TAsciiTextFile::ReadAt(uint64_t offset, char* buffer, size_t size, size_t& done) const
{
    done = 0;
    while (done < size) {
        ssize_t got = ::pread(FHandle, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseIoError(DBIERR_READERR, FPath, errno);
        }
        if (got == 0)
            break;   // the file became shorter than its index: read what is there
        done += static_cast<size_t>(got);
    }
}

void TAsciiTextFile::BuildIndex()
{
    if (::fstat(FHandle, &FIdentity) != 0)
        RaiseIoError(DBIERR_READERR, FPath, errno);
    if (!S_ISREG(FIdentity.st_mode))
        RaiseEngineError(DBIERR_UNKNOWNTBLTYPE, {"File: " + FPath, "This is not a regular file."});
    FFileSize = static_cast<uint64_t>(FIdentity.st_size);
    FDataEnd = FFileSize;
    FStarts.assign(1, DataStart());
    FLineEnd.clear();
    FWindow.clear();
    std::vector<char> chunk(ScanChunk);
    char previous = 0;
    for (uint64_t offset = 0; offset < FFileSize;) {
        size_t got = 0;
        ReadAt(offset, chunk.data(), std::min<uint64_t>(ScanChunk, FFileSize - offset), got);
        if (got == 0) {
            FFileSize = FDataEnd = offset;
            break;
        }
        const char* begin = chunk.data();
        const char* end = begin + got;
        for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p) {
            if (FLineEnd.empty())
                FLineEnd = (p > begin ? p[-1] : previous) == '\r' ? "\r\n" : "\n";
            FStarts.push_back(offset + static_cast<uint64_t>(p - begin) + 1);
        }
        previous = end[-1];
        offset += got;
        if (offset >= FFileSize && previous == '\x1A')
            FDataEnd = FFileSize - 1;
    }
    FLineEndFound = !FLineEnd.empty();
    if (!FLineEndFound)
        FLineEnd = "\r\n";
    // A line start at the ^Z or at the very end is no line of its own.
    while (FStarts.size() > 1 && FStarts.back() >= FDataEnd)
        FStarts.pop_back();
    if (FStarts.back() >= FDataEnd)
        FStarts.pop_back();   // an empty file: no lines at all
    FStarts.push_back(FDataEnd);
}

uint64_t TAsciiTextFile::DataStart() const
{
    char mark[3] = {};
    size_t got = 0;
    ReadAt(0, mark, sizeof mark, got);
    return got == 3 && std::memcmp(mark, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

std::string TAsciiTextFile::ReadLine(int64_t index)
{
    if (index < 0 || index >= LineCount())
        RaiseEngineError(DBIERR_RECNOTFOUND, {"File: " + FPath, "Line " + std::to_string(index + 1)});
    uint64_t begin = FStarts[index];
    uint64_t end = FStarts[index + 1];
    std::string line;
    if (begin >= FWindowStart && end <= FWindowStart + FWindow.size()) {
        line.assign(FWindow, begin - FWindowStart, end - begin);
    } else if (end - begin > WindowSize / 2) {
        line.resize(end - begin);
        size_t got = 0;
        ReadAt(begin, line.data(), line.size(), got);
        line.resize(got);
    } else {
        // Reading on from the window fills a large window ahead of the line
        // (forwards) or behind it (backwards); a jump reads little around it.
        uint64_t windowEnd = FWindowStart + FWindow.size();
        bool nearWindow = !FWindow.empty() && begin + NearWindow >= FWindowStart && begin <= windowEnd + NearWindow;
        uint64_t size = nearWindow ? WindowSize : JumpWindowSize;
        uint64_t start;
        if (!nearWindow)
            start = begin > size / 2 ? begin - size / 2 : 0;
        else if (begin >= FWindowStart)
            start = begin;
        else
            start = end > size ? end - size : 0;
        FWindow.resize(std::max<uint64_t>(std::min<uint64_t>(size, FDataEnd - start), end - start));
        size_t got = 0;
        ReadAt(start, FWindow.data(), FWindow.size(), got);
        FWindow.resize(got);
        FWindowStart = start;
        if (end > start + got)
            end = std::max(begin, start + got);
        line.assign(FWindow, std::min<uint64_t>(begin - start, got), end - begin);
    }
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    return line;
}

bool TAsciiTextFile::ChangedOnDisk() const
{
    struct stat now {};
    if (::stat(FPath.c_str(), &now) != 0)
        return true;
    return now.st_dev != FIdentity.st_dev || now.st_ino != FIdentity.st_ino || now.st_size != FIdentity.st_size ||
           now.st_mtim.tv_sec != FIdentity.st_mtim.tv_sec || now.st_mtim.tv_nsec != FIdentity.st_mtim.tv_nsec;
}

void TAsciiTextFile::KeepLineEndOf(const TAsciiTextFile& previous)
{
    if (!FLineEndFound)
        FLineEnd = previous.FLineEnd;
}

bool TAsciiTextFile::IsSameFileAs(const TAsciiTextFile& other) const
{
    return FIdentity.st_dev == other.FIdentity.st_dev && FIdentity.st_ino == other.FIdentity.st_ino;
}

void TAsciiTextFile::CopyRange(int target, uint64_t begin, uint64_t end, const std::string& tempPath) const
{
    std::vector<char> buffer(std::min<uint64_t>(ScanChunk, std::max<uint64_t>(end - begin, 1)));
    while (begin < end) {
        size_t got = 0;
        ReadAt(begin, buffer.data(), std::min<uint64_t>(buffer.size(), end - begin), got);
        if (got == 0)
            RaiseEngineError(DBIERR_READERR, {"File: " + FPath, "The file became shorter while it was copied."});
        WriteAll(target, buffer.data(), got, tempPath);
        begin += got;
    }
}

void TAsciiTextFile::ReplaceLines(int64_t first, int64_t removeCount, const std::vector<std::string>& lines)
{
    int64_t count = LineCount();
    if (first < 0 || removeCount < 0 || first + removeCount > count)
        RaiseEngineError(DBIERR_INVALIDPARAM, {"File: " + FPath, "Lines out of range."});
    uint64_t rangeBegin = FStarts[first];
    uint64_t rangeEnd = FStarts[first + removeCount];
    std::string bytes;
    // Appending after a last line without a line end gives it one first.
    bool endsOpen = FDataEnd > FStarts.front() && first == count && !lines.empty();
    if (endsOpen) {
        char last = 0;
        size_t got = 0;
        ReadAt(FDataEnd - 1, &last, 1, got);
        endsOpen = got == 1 && last != '\n';
        if (endsOpen)
            bytes += FLineEnd;
    }
    std::vector<uint64_t> newStarts;
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos)
            RaiseEngineError(DBIERR_INVALIDFIELDVALUE, {"File: " + FPath, "A record cannot hold a line break."});
        newStarts.push_back(rangeBegin + bytes.size());
        bytes += line;
        bytes += FLineEnd;
    }

    // Owner and permissions as they are now, not as they were at the last write.
    struct stat current {};
    if (::fstat(FHandle, &current) != 0)
        RaiseIoError(DBIERR_READERR, FPath, errno);
    TReplacementFile replacement(FPath);
    CopyRange(replacement.Handle(), 0, rangeBegin, replacement.TempPath());
    WriteAll(replacement.Handle(), bytes.data(), bytes.size(), replacement.TempPath());
    CopyRange(replacement.Handle(), rangeEnd, FFileSize, replacement.TempPath());
    int handle = replacement.Commit(current);

    ::close(FHandle);
    FHandle = handle;
    ::fstat(FHandle, &FIdentity);
    int64_t delta = static_cast<int64_t>(bytes.size()) - static_cast<int64_t>(rangeEnd - rangeBegin);
    std::vector<uint64_t> starts;
    starts.reserve(FStarts.size() + lines.size());
    starts.insert(starts.end(), FStarts.begin(), FStarts.begin() + first);
    starts.insert(starts.end(), newStarts.begin(), newStarts.end());
    for (size_t i = static_cast<size_t>(first + removeCount); i < FStarts.size(); ++i)
        starts.push_back(FStarts[i] + delta);
    FStarts = std::move(starts);
    FFileSize += delta;
    FDataEnd += delta;
    FWindow.clear();
}
