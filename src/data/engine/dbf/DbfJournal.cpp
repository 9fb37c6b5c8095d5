#include "data/engine/dbf/DbfJournal.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Magic[8] = {'T', 'M', 'U', 'N', 'D', 'O', '2', '\n'};
// Journals of earlier versions: the same layout under a checksum taken a
// byte at a time.
constexpr char ByteSummedMagic[8] = {'T', 'M', 'U', 'N', 'D', 'O', '1', '\n'};
constexpr uint8_t EndMark = 0xFF;
constexpr size_t KeptBufferLimit = 1 << 20;
// The byte journal stores lock shared while they hold the file open.
constexpr uint64_t HolderLockOffset = 0;

constexpr uint64_t ChecksumStart = 1469598103934665603ull;
constexpr uint64_t ChecksumFactor = 1099511628211ull;

uint64_t ByteChecksum(const uint8_t* p, size_t n, uint64_t h = ChecksumStart)
{
    for (size_t i = 0; i < n; ++i) {
        h ^= p[i];
        h *= ChecksumFactor;
    }
    return h;
}

// The same mixing eight bytes at a time (the bytes left over one at a time).
// Each step is one-to-one in the word it takes, so any one word changed
// changes the sum.
uint64_t Checksum(const uint8_t* p, size_t n)
{
    uint64_t h = ChecksumStart;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        h ^= Le64(p + i);
        h *= ChecksumFactor;
    }
    return ByteChecksum(p + i, n - i, h);
}

// Writes the journal's fields one after another into memory sized for them.
class TJournalWriter {
public:
    explicit TJournalWriter(uint8_t* at) : FAt(at) {}
    void Bytes(const void* p, size_t n)
    {
        if (n)
            std::memcpy(FAt, p, n);
        FAt += n;
    }
    void Byte(uint8_t v) { *FAt++ = v; }
    void U32(uint32_t v)
    {
        PutLe32(FAt, v);
        FAt += 4;
    }
    void U64(uint64_t v)
    {
        PutLe64(FAt, v);
        FAt += 8;
    }

private:
    uint8_t* FAt;
};

std::string_view FileName(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Reads the journal file; false when it is cut short or damaged.
class TJournalReader {
public:
    explicit TJournalReader(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}

    bool Read(std::vector<std::string>& paths, std::vector<uint8_t>& kinds, std::vector<uint8_t>& files,
              std::vector<uint64_t>& offsets, std::vector<std::vector<uint8_t>>& contents)
    {
        if (FBytes.size() < sizeof Magic + 17)
            return false;
        const bool byteSummed = std::memcmp(FBytes.data(), ByteSummedMagic, sizeof Magic) == 0;
        if (!byteSummed && std::memcmp(FBytes.data(), Magic, sizeof Magic) != 0)
            return false;
        const uint64_t length = Le64(FBytes.data() + sizeof Magic);
        if (length < sizeof Magic + 17 || length > FBytes.size())
            return false;
        FBytes.resize(static_cast<size_t>(length));
        const size_t body = FBytes.size() - 8;
        const uint64_t sum = byteSummed ? ByteChecksum(FBytes.data(), body) : Checksum(FBytes.data(), body);
        if (sum != Le64(FBytes.data() + body))
            return false;
        FPos = sizeof Magic + 8;
        uint8_t fileCount;
        if (!Take(&fileCount, 1))
            return false;
        for (uint8_t i = 0; i < fileCount; ++i) {
            uint8_t len[4];
            if (!Take(len, 4) || Le32(len) > 4096 || FPos + Le32(len) > body)
                return false;
            paths.emplace_back(reinterpret_cast<const char*>(FBytes.data() + FPos), Le32(len));
            FPos += Le32(len);
        }
        for (;;) {
            uint8_t head[14];
            if (!Take(head, 1))
                return false;
            if (head[0] == EndMark)
                return FPos == body;
            if (!Take(head + 1, 13) || head[0] >= paths.size())
                return false;
            uint32_t length = Le32(head + 10);
            if (FPos + length > body)
                return false;
            files.push_back(head[0]);
            kinds.push_back(head[1]);
            offsets.push_back(Le64(head + 2));
            contents.emplace_back(FBytes.begin() + static_cast<std::ptrdiff_t>(FPos),
                                  FBytes.begin() + static_cast<std::ptrdiff_t>(FPos + length));
            FPos += length;
        }
    }

private:
    bool Take(uint8_t* out, size_t n)
    {
        if (FPos + n > FBytes.size() - 8)
            return false;
        std::memcpy(out, FBytes.data() + FPos, n);
        FPos += n;
        return true;
    }

    std::vector<uint8_t> FBytes;
    size_t FPos = 0;
};

} // namespace

TDbfFile& TDbfJournalStore::File()
{
    if (FFile)
        return *FFile;
    const std::string path = TDbfJournal::PathFor(FTablePath);
    auto file = std::make_unique<TDbfFile>(TDbfFile::OpenOrCreate(path));
    // Removers lock the file alone under the index's update lock, which the
    // caller holds: none can be between its check and its removal now.
    if (!file->TryLockShared(HolderLockOffset, 1))
        RaiseEngineError(DBIERR_FILELOCKED, {"File: " + path, "The table's journal is being removed."});
    FFile = std::move(file);
    return *FFile;
}

// A journal left behind (its roll-back failed) is for the next open.
TDbfJournal::~TDbfJournal() = default;

std::string TDbfJournal::PathFor(const std::string& tablePath)
{
    const std::string name(FileName(tablePath));
    return tablePath.substr(0, tablePath.size() - name.size()) + "." + name + ".undo";
}

uint8_t TDbfJournal::AddFile(TDbfFile& file)
{
    FFiles.push_back(&file);
    return static_cast<uint8_t>(FFiles.size() - 1);
}

void TDbfJournal::SaveBytes(uint8_t id, uint64_t offset, size_t length)
{
    TSaved saved;
    saved.File = id;
    saved.Offset = offset;
    saved.Bytes.resize(length);
    saved.Bytes.resize(FFiles[id]->ReadAt(offset, saved.Bytes.data(), length));
    FSaved.push_back(std::move(saved));
}

void TDbfJournal::SaveBytes(uint8_t id, uint64_t offset, const uint8_t* bytes, size_t length)
{
    TSaved saved;
    saved.File = id;
    saved.Offset = offset;
    saved.Bytes.assign(bytes, bytes + length);
    FSaved.push_back(std::move(saved));
}

void TDbfJournal::SaveSize(uint8_t id, uint64_t size)
{
    TSaved saved;
    saved.File = id;
    saved.IsSize = true;
    saved.Offset = size;
    FSaved.push_back(std::move(saved));
}

void TDbfJournal::Write(TDbfJournalStore& store)
{
    // Magic, length, file count, ..., end mark, checksum.
    size_t size = sizeof Magic + 8 + 1 + 1 + 8;
    for (TDbfFile* file : FFiles)
        size += 4 + FileName(file->Path()).size();
    for (const TSaved& saved : FSaved)
        size += 14 + saved.Bytes.size();
    std::vector<uint8_t>& out = store.Buffer();
    out.resize(size);
    TJournalWriter writer(out.data());
    writer.Bytes(Magic, sizeof Magic);
    writer.U64(size);
    writer.Byte(static_cast<uint8_t>(FFiles.size()));
    // The files stand beside the table: their names are enough.
    for (TDbfFile* file : FFiles) {
        const std::string_view name = FileName(file->Path());
        writer.U32(static_cast<uint32_t>(name.size()));
        writer.Bytes(name.data(), name.size());
    }
    for (const TSaved& saved : FSaved) {
        writer.Byte(saved.File);
        writer.Byte(saved.IsSize ? 1 : 0);
        writer.U64(saved.Offset);
        writer.U32(static_cast<uint32_t>(saved.Bytes.size()));
        writer.Bytes(saved.Bytes.data(), saved.Bytes.size());
    }
    writer.Byte(EndMark);
    writer.U64(Checksum(out.data(), size - 8));

    TDbfFile& file = store.File();
    file.WriteAt(0, out.data(), out.size());
    FStore = &file;
    // The journal of a big batch is not worth keeping the memory for.
    if (out.capacity() > KeptBufferLimit)
        std::vector<uint8_t>().swap(out);
}

void TDbfJournal::Apply(const std::vector<TSaved>& saved, const std::vector<TDbfFile*>& files)
{
    for (size_t i = saved.size(); i-- > 0;) {
        TDbfFile& file = *files[saved[i].File];
        if (saved[i].IsSize) {
            if (file.Size() != saved[i].Offset)
                file.Truncate(saved[i].Offset);
        } else if (!saved[i].Bytes.empty()) {
            file.WriteAt(saved[i].Offset, saved[i].Bytes.data(), saved[i].Bytes.size());
        }
    }
}

void TDbfJournal::RollBack()
{
    if (Written())
        Apply(FSaved, FFiles);
}

void TDbfJournal::Finish()
{
    if (!Written())
        return;
    const uint8_t cleared[sizeof Magic] = {};
    FStore->WriteAt(0, cleared, sizeof cleared);
    FStore = nullptr;
}

void TDbfJournal::Remove(const std::string& tablePath)
{
    const std::string path = PathFor(tablePath);
    if (!TDbfFile::Exists(path))
        return;
    TDbfFile journal(path, true);
    if (journal.TryLock(HolderLockOffset, 1))
        ::unlink(path.c_str());
}

bool TDbfJournal::ReadJournal(const std::string& tablePath, std::vector<std::string>& names, std::vector<TSaved>& saved)
{
    const std::string path = PathFor(tablePath);
    if (!TDbfFile::Exists(path))
        return false;
    std::vector<uint8_t> bytes;
    {
        TDbfFile journal(path, false);
        bytes.resize(static_cast<size_t>(journal.Size()));
        bytes.resize(journal.ReadAt(0, bytes.data(), bytes.size()));
    }
    std::vector<uint8_t> kinds, fileIds;
    std::vector<uint64_t> offsets;
    std::vector<std::vector<uint8_t>> contents;
    // Cleared, or cut short while being written: no file had been touched.
    if (!TJournalReader(std::move(bytes)).Read(names, kinds, fileIds, offsets, contents))
        return false;
    saved.resize(kinds.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        saved[i].File = fileIds[i];
        saved[i].IsSize = kinds[i] == 1;
        saved[i].Offset = offsets[i];
        saved[i].Bytes = std::move(contents[i]);
    }
    return true;
}

bool TDbfJournal::Pending(const std::string& tablePath)
{
    std::vector<std::string> names;
    std::vector<TSaved> saved;
    return ReadJournal(tablePath, names, saved);
}

bool TDbfJournal::Recover(const std::string& tablePath)
{
    std::vector<std::string> names;
    std::vector<TSaved> saved;
    if (!ReadJournal(tablePath, names, saved))
        return false;
    const std::string dir = tablePath.substr(0, tablePath.size() - FileName(tablePath).size());
    std::vector<std::unique_ptr<TDbfFile>> owned;
    std::vector<TDbfFile*> files;
    for (const std::string& name : names) {
        if (name.find('/') != std::string::npos)
            return false;
        owned.push_back(std::make_unique<TDbfFile>(dir + name, true));
        files.push_back(owned.back().get());
    }
    Apply(saved, files);
    const uint8_t cleared[sizeof Magic] = {};
    TDbfFile(PathFor(tablePath), true).WriteAt(0, cleared, sizeof cleared);
    return true;
}
