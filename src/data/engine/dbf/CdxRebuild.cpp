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
#include <functional>
#include <memory>
#include <unistd.h>

namespace cdx {

namespace {

constexpr size_t WriteChunk = 4096;

// The i-th pair of a tree in order.
using TPairAt = std::function<void(size_t, TEntry&)>;

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

// One level of a tree laid out: each node's last pair and its page.
struct TLevel {
    std::vector<TEntry> Last;
    std::vector<uint32_t> Pages;
};

void WriteNode(TImage& image, uint32_t page, const TNode& node, uint16_t keyLength, uint8_t fill)
{
    if (!EncodeNode(node, keyLength, fill, image.At(page)))
        RaiseEngineError(DBIERR_INDEXCORRUPT, {"A rebuilt index page does not fit."});
}

// Packs the pairs into leaves written one after another, each as soon as
// the next pair no longer fits in it.
TLevel WriteLeaves(TImage& image, size_t count, const TPairAt& pairAt, uint16_t keyLength, uint8_t fill)
{
    TLevel level;
    TNode leaf(keyLength);
    TLeafSizer sizer(keyLength, fill);
    uint32_t page = image.Append(1);
    auto write = [&](bool last) {
        leaf.Left = level.Pages.empty() ? NoPage : page - PageSize;
        leaf.Right = last ? NoPage : page + PageSize;
        if (last && level.Pages.empty())
            leaf.Attributes = static_cast<uint16_t>(leaf.Attributes | AttrRoot);
        WriteNode(image, page, leaf, keyLength, fill);
        level.Last.push_back(leaf.Empty() ? TEntry{} : leaf.Entry(leaf.Count() - 1));
        level.Pages.push_back(page);
    };
    TEntry entry;
    size_t fresh = 0;
    for (size_t i = 0; i < count; ++i) {
        pairAt(i, entry);
        if (!sizer.Fits(entry, fresh)) {
            write(false);
            page = image.Append(1);
            leaf.Clear();
            sizer.Clear();
            sizer.Fits(entry, fresh);
        }
        leaf.Append(entry.Key, entry.RecNo);
        sizer.Add(entry, fresh);
    }
    write(true);
    return level;
}

// Lays out one tree bottom-up from its pairs in order; returns its root.
uint32_t BuildTree(TImage& image, size_t count, const TPairAt& pairAt, uint16_t keyLength, uint8_t fill)
{
    TLevel below = WriteLeaves(image, count, pairAt, keyLength, fill);
    const size_t capacity = InteriorCapacity(keyLength);
    while (below.Pages.size() > 1) {
        std::vector<TNode> level;
        for (size_t i = 0; i < below.Pages.size(); ++i) {
            if (i % capacity == 0) {
                level.emplace_back(keyLength);
                level.back().Attributes = 0;
            }
            level.back().Append(below.Last[i].Key, below.Last[i].RecNo);
            level.back().Children.push_back(below.Pages[i]);
        }
        if (level.size() == 1)
            level.front().Attributes = AttrRoot;
        const uint32_t first = image.Append(level.size());
        TLevel above;
        for (size_t i = 0; i < level.size(); ++i) {
            const uint32_t page = first + static_cast<uint32_t>(i * PageSize);
            level[i].Left = i == 0 ? NoPage : page - PageSize;
            level[i].Right = i + 1 == level.size() ? NoPage : page + PageSize;
            WriteNode(image, page, level[i], keyLength, fill);
            above.Last.push_back(level[i].Entry(level[i].Count() - 1));
            above.Pages.push_back(page);
        }
        below = std::move(above);
    }
    return below.Pages.front();
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
    std::unique_ptr<TTagKeys> Keys;   // none: an empty tag
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
        const TTagKeys* keys = tags[i].Keys.get();
        const uint32_t root = BuildTree(image, keys ? keys->Count() : 0,
                                        [keys](size_t at, TEntry& entry) { keys->Get(at, entry); },
                                        tags[i].KeyLength, tags[i].Fill);
        PutLe32(image.At(directory[i].RecNo), root);
    }
    THeader fileHeader;
    fileHeader.KeyLength = 10;
    fileHeader.Options = OptCompact | OptCompound | OptStructural;
    fileHeader.Root = BuildTree(image, directory.size(),
                                [&directory](size_t at, TEntry& entry) { entry = directory[at]; }, 10, ' ');
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
        tag.Keys = std::make_unique<TTagKeys>(index, source, scan);
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
