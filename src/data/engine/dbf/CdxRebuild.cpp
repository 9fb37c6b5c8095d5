#include "data/engine/dbf/CdxRebuild.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"
#include "data/engine/dbf/CdxCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cdx {

namespace {

constexpr size_t WriteChunk = 4096;

// The new file, page by page.
class TImage {
public:
    uint32_t Append(size_t pages)
    {
        uint32_t offset = static_cast<uint32_t>(FBytes.size());
        if (FBytes.size() + pages * PageSize > 0xFFFFF000ull)
            RaiseEngineError(DBIERR_NODISKSPACE, {"The rebuilt index would be larger than an index file can be."});
        FBytes.resize(FBytes.size() + pages * PageSize, 0);
        return offset;
    }
    uint8_t* At(uint32_t offset) { return FBytes.data() + offset; }
    const std::vector<uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<uint8_t> FBytes;
};

std::vector<TNode> PackLeaves(std::vector<TEntry>&& entries, uint16_t keyLength, uint8_t fill)
{
    std::vector<TNode> leaves(1);
    TLeafSizer sizer(keyLength, fill);
    size_t fresh = 0;
    for (TEntry& e : entries) {
        if (!sizer.Fits(e, fresh)) {
            leaves.emplace_back();
            sizer.Clear();
            sizer.Fits(e, fresh);
        }
        leaves.back().Entries.push_back(std::move(e));
        sizer.Add(leaves.back().Entries.back(), fresh);
    }
    return leaves;
}

// Lays out one tree bottom-up; returns its root.
uint32_t BuildTree(TImage& image, std::vector<TEntry>&& entries, uint16_t keyLength, uint8_t fill)
{
    std::vector<TNode> level = PackLeaves(std::move(entries), keyLength, fill);
    for (;;) {
        if (level.size() == 1)
            level.front().Attributes = static_cast<uint16_t>(level.front().Attributes | AttrRoot);
        const uint32_t first = image.Append(level.size());
        for (size_t i = 0; i < level.size(); ++i) {
            level[i].Left = i == 0 ? NoPage : first + static_cast<uint32_t>((i - 1) * PageSize);
            level[i].Right = i + 1 == level.size() ? NoPage : first + static_cast<uint32_t>((i + 1) * PageSize);
            if (!EncodeNode(level[i], keyLength, fill, image.At(first + static_cast<uint32_t>(i * PageSize))))
                RaiseEngineError(DBIERR_INDEXCORRUPT, {"A rebuilt index page does not fit."});
        }
        if (level.size() == 1)
            return first;
        std::vector<TNode> parents;
        const size_t capacity = InteriorCapacity(keyLength);
        for (size_t i = 0; i < level.size(); ++i) {
            if (i % capacity == 0) {
                parents.emplace_back();
                parents.back().Attributes = 0;
            }
            parents.back().Entries.push_back(level[i].Entries.back());
            parents.back().Children.push_back(first + static_cast<uint32_t>(i * PageSize));
        }
        level = std::move(parents);
    }
}

std::string BesidePath(const std::string& path, const char* suffix)
{
    size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return dir + "." + name + suffix;
}

// The tags of a file to write: names, headers, and their keys in order.
struct TTagImage {
    std::string Name;
    std::array<uint8_t, HeaderSize> Header{};
    uint16_t KeyLength = 0;
    uint8_t Fill = ' ';
    std::vector<TEntry> Entries;
};

void WriteIndexImage(const std::string& newPath, std::vector<TTagImage>& tags, uint32_t counter)
{
    std::sort(tags.begin(), tags.end(), [](const TTagImage& a, const TTagImage& b) { return a.Name < b.Name; });
    TImage image;
    image.Append(2);
    std::vector<TEntry> directory;
    for (TTagImage& tag : tags) {
        const uint32_t header = image.Append(2);
        std::memcpy(image.At(header), tag.Header.data(), HeaderSize);
        std::string name = tag.Name.substr(0, 10);
        name.resize(10, ' ');
        directory.push_back({name, header});
    }
    for (size_t i = 0; i < tags.size(); ++i) {
        const uint32_t root = BuildTree(image, std::move(tags[i].Entries), tags[i].KeyLength, tags[i].Fill);
        PutLe32(image.At(directory[i].RecNo), root);
    }
    THeader fileHeader;
    fileHeader.KeyLength = 10;
    fileHeader.Options = OptCompact | OptCompound | OptStructural;
    fileHeader.Root = BuildTree(image, std::move(directory), 10, ' ');
    FormatTagHeader(fileHeader, image.At(0));
    SetChangeCounter(image.At(0), counter);

    TDbfFile file = TDbfFile::Create(newPath);
    try {
        // Written a memory page at a time: the system then keeps the file's
        // cached pages small, and the single-page writes of later posts do
        // not each walk one huge cached page.
        const std::vector<uint8_t>& bytes = image.Bytes();
        for (size_t at = 0; at < bytes.size(); at += WriteChunk)
            file.WriteAt(at, bytes.data() + at, std::min(WriteChunk, bytes.size() - at));
        file.Flush();
    } catch (...) {
        ::unlink(newPath.c_str());
        throw;
    }
}

} // namespace

void CreateIndexFile(const std::string& path, const std::vector<TTagDefinition>& definitions)
{
    std::vector<TTagImage> tags;
    for (const TTagDefinition& d : definitions) {
        if (d.Name.empty() || d.Name.size() > 10 || d.KeyLength < 1 || d.KeyLength > MaxKeyLength)
            RaiseEngineError(DBIERR_INVALIDPARAM, {"Tag " + d.Name + ": a name of 1 to 10 characters and a key "
                                                   "length of 1 to 240 bytes are needed."});
        TTagImage tag;
        tag.Name = d.Name;
        for (char& c : tag.Name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        tag.KeyLength = d.KeyLength;
        THeader header;
        header.KeyLength = d.KeyLength;
        header.Options = static_cast<uint8_t>(OptCompact | OptCompound | (d.Options & (OptUnique | OptCandidate | OptNullable)) |
                                              (d.ForExpression.empty() ? 0 : OptFor));
        header.Descending = d.Descending;
        header.KeyExpression = d.KeyExpression;
        header.ForExpression = d.ForExpression;
        FormatTagHeader(header, tag.Header.data());
        tags.push_back(std::move(tag));
    }
    WriteIndexImage(path, tags, 0);
}

void WriteRebuiltIndex(TIndex& index, const std::string& newPath, const TRecordScan& scan)
{
    std::vector<TTagImage> tags;
    for (const TTag& source : index.Tags()) {
        TTagImage tag;
        tag.Name = source.Name;
        std::memcpy(tag.Header.data(), index.Pages().Read(source.HeaderOffset), PageSize);
        std::memcpy(tag.Header.data() + PageSize, index.Pages().Read(source.HeaderOffset + PageSize), PageSize);
        // Statistics some writers keep there would no longer be true.
        std::memset(tag.Header.data() + 16, 0, 20);
        tag.KeyLength = source.Header.KeyLength;
        tag.Fill = source.Fill;
        tag.Entries = ExpectedEntries(index, source, scan);
        tags.push_back(std::move(tag));
    }
    WriteIndexImage(newPath, tags, ChangeCounter(index.Pages().Read(0)) + 1);
}

void RebuildIndexFile(TIndex& index, const TRecordScan& scan)
{
    const std::string newPath = BesidePath(index.Path(), ".new");
    ::unlink(newPath.c_str());
    WriteRebuiltIndex(index, newPath, scan);
    if (std::rename(newPath.c_str(), index.Path().c_str()) != 0) {
        int error = errno;
        ::unlink(newPath.c_str());
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + index.Path(), std::strerror(error)});
    }
    CountEngineWrite();
}

} // namespace cdx
