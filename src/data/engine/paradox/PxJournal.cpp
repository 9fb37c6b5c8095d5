#include "data/engine/paradox/PxJournal.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace px {

namespace {

constexpr char Magic[8] = {'P', 'X', 'U', 'N', 'D', 'O', '0', '1'};
constexpr uint8_t SizeEntry = 1;    // file id, the file's length before the change
constexpr uint8_t BytesEntry = 2;   // file id, offset, the bytes that stood there

void PutU64(std::vector<uint8_t>& out, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t GetU64(const uint8_t* p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

uint64_t Checksum(const uint8_t* data, size_t size)
{
    uint64_t hash = 0xCBF29CE484222325ull;   // FNV-1a
    for (size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 0x100000001B3ull;
    }
    return hash;
}

[[noreturn]] void RaiseIo(const std::string& path, int error)
{
    RaiseEngineError(error == ENOSPC || error == EDQUOT ? DBIERR_NODISKSPACE : DBIERR_WRITEERR,
                     {"File: " + path, std::strerror(error)});
}

void WriteAll(int handle, const uint8_t* data, size_t size, int64_t offset, const std::string& path)
{
    while (size > 0) {
        ssize_t n = offset < 0 ? ::write(handle, data, size) : ::pwrite(handle, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            RaiseIo(path, n < 0 ? errno : ENOSPC);
        data += n;
        size -= static_cast<size_t>(n);
        if (offset >= 0)
            offset += n;
    }
    CountEngineWrite();
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out)
{
    int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    uint8_t buffer[65536];
    for (;;) {
        ssize_t n = ::read(handle, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.insert(out.end(), buffer, buffer + n);
    }
    ::close(handle);
    return true;
}

} // namespace

TPxJournal::~TPxJournal()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

std::string TPxJournal::PathFor(const std::string& tablePath)
{
    size_t slash = tablePath.rfind('/');
    std::string dir = slash == std::string::npos ? "" : tablePath.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? tablePath : tablePath.substr(slash + 1);
    return dir + "." + name + ".undo";
}

void TPxJournal::Begin(const std::string& tablePath)
{
    FPath = PathFor(tablePath);
    FHandle = ::open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (FHandle < 0)
        RaiseIo(FPath, errno);
    FOriginalSize[0] = FOriginalSize[1] = -1;
    try {
        WriteAll(FHandle, reinterpret_cast<const uint8_t*>(Magic), sizeof Magic, -1, FPath);
    } catch (...) {
        ::close(FHandle);
        FHandle = -1;
        ::unlink(FPath.c_str());
        throw;
    }
}

void TPxJournal::Append(uint8_t type, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> entry;
    entry.reserve(payload.size() + 21);
    PutU64(entry, payload.size());
    entry.push_back(type);
    entry.insert(entry.end(), payload.begin(), payload.end());
    PutU64(entry, Checksum(entry.data(), entry.size()));
    WriteAll(FHandle, entry.data(), entry.size(), -1, FPath);
}

void TPxJournal::Save(TFileId file, int handle, int64_t offset, int64_t size)
{
    if (FHandle < 0)
        return;
    if (FOriginalSize[file] < 0) {
        struct stat st {};
        if (::fstat(handle, &st) != 0)
            RaiseIo(FPath, errno);
        std::vector<uint8_t> payload{file};
        PutU64(payload, static_cast<uint64_t>(st.st_size));
        Append(SizeEntry, payload);
        FOriginalSize[file] = st.st_size;
    }
    // Bytes past the old end need no copy: the cut to the old length removes them.
    int64_t end = size < 0 ? FOriginalSize[file] : std::min(offset + size, FOriginalSize[file]);
    if (end <= offset)
        return;
    std::vector<uint8_t> payload{file};
    PutU64(payload, static_cast<uint64_t>(offset));
    size_t head = payload.size();
    payload.resize(head + static_cast<size_t>(end - offset));
    ssize_t n = ::pread(handle, payload.data() + head, static_cast<size_t>(end - offset), offset);
    if (n < 0)
        RaiseEngineError(DBIERR_READERR, {"File: " + FPath, std::strerror(errno)});
    payload.resize(head + static_cast<size_t>(n));
    Append(BytesEntry, payload);
}

void TPxJournal::Finish()
{
    if (FHandle < 0)
        return;
    ::close(FHandle);
    FHandle = -1;
    ::unlink(FPath.c_str());
    CountEngineWrite();
}

TPxJournal::TRollBack TPxJournal::RollBack(const std::string& tablePath, int dataHandle, int blobHandle)
{
    TRollBack result;
    const std::string path = PathFor(tablePath);
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes))
        return result;
    result.Found = true;
    struct TEntry {
        uint8_t File;
        int64_t Offset;
        size_t Start, Size;
    };
    std::vector<TEntry> images;
    int64_t originalSize[2] = {-1, -1};
    bool valid = bytes.size() >= sizeof Magic && std::memcmp(bytes.data(), Magic, sizeof Magic) == 0;
    size_t at = sizeof Magic;
    // Entries after the first damaged one were never followed by their write.
    while (valid && bytes.size() - at >= 17) {
        uint64_t length = GetU64(&bytes[at]);
        if (length > bytes.size() - at - 17)
            break;
        const uint8_t* entry = &bytes[at];
        if (GetU64(entry + 9 + length) != Checksum(entry, 9 + length) || length < 9)
            break;
        uint8_t type = entry[8];
        uint8_t file = entry[9];
        if (file > 1)
            break;
        if (type == SizeEntry && originalSize[file] < 0)
            originalSize[file] = static_cast<int64_t>(GetU64(entry + 10));
        else if (type == BytesEntry)
            images.push_back({file, static_cast<int64_t>(GetU64(entry + 10)), at + 18, length - 9});
        at += 17 + length;
    }
    const int handles[2] = {dataHandle, blobHandle};
    for (int file = 0; file < 2; ++file)
        if (originalSize[file] >= 0 && handles[file] >= 0 && ::ftruncate(handles[file], originalSize[file]) != 0)
            RaiseIo(tablePath, errno);
    // Latest first, so the bytes that stood before the change win.
    for (auto it = images.rbegin(); it != images.rend(); ++it) {
        int handle = handles[it->File];
        if (handle < 0)
            continue;
        WriteAll(handle, &bytes[it->Start], it->Size, it->Offset, tablePath);
        ++result.Entries;
    }
    return result;
}

void TPxJournal::Discard(const std::string& tablePath)
{
    ::unlink(PathFor(tablePath).c_str());
    CountEngineWrite();
}

bool TPxJournal::Exists(const std::string& tablePath)
{
    return ::access(PathFor(tablePath).c_str(), F_OK) == 0;
}

} // namespace px
