#include "data/engine/paradox/PxPrimaryIndex.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/EngineWriteHook.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <map>
#include <set>

namespace px {

namespace {

constexpr int IndexHeaderSize = 0x800;

// An S value (block numbers and counts are never negative here).
void PutShort(uint8_t* p, int64_t value)
{
    uint16_t v = static_cast<uint16_t>(value > 32767 ? 32767 : value);
    p[0] = static_cast<uint8_t>((v >> 8) ^ 0x80);
    p[1] = static_cast<uint8_t>(v);
}

} // namespace

std::vector<uint8_t> BuildPrimaryIndex(const TPxHeader& table, const std::vector<TPxIndexEntry>& dataBlocks,
                                       int blockSizeCode, uint32_t key, TPxIndexLayout* layout)
{
    const int keyWidth = table.KeyWidth();
    const int entrySize = keyWidth + 6;
    const int blockSize = blockSizeCode * 1024;
    const int perBlock = (blockSize - 6) / entrySize;
    std::vector<std::vector<uint8_t>> blocks;
    int64_t totalEntries = 0;
    int levels = 0;
    std::vector<TPxIndexEntry> level = dataBlocks;
    if (layout) {
        *layout = TPxIndexLayout{};
        layout->BlockSize = blockSize;
        layout->PerBlock = perBlock;
    }
    while (!level.empty()) {
        ++levels;
        if (layout) {
            layout->LevelFirstBlock.push_back(static_cast<int>(blocks.size()) + 1);
            layout->LevelEntries.push_back(static_cast<int>(level.size()));
        }
        std::vector<TPxIndexEntry> upper;
        // Level-1 blocks keep a quarter free, so a new data block's entry
        // can usually be added in place.
        const size_t fill = levels == 1 ? std::max(1, perBlock * 3 / 4) : perBlock;
        for (size_t start = 0; start < level.size(); start += fill) {
            size_t end = std::min(level.size(), start + fill);
            if (layout && levels == 1)
                layout->LeafEntries.push_back(static_cast<int>(end - start));
            std::vector<uint8_t> block(blockSize, 0);
            TPxIndexEntry parent;
            parent.Key = level[start].Key;
            parent.Block = static_cast<uint16_t>(blocks.size() + 1);
            for (size_t i = start; i < end; ++i) {
                uint8_t* e = &block[6 + (i - start) * entrySize];
                std::memcpy(e, level[i].Key.data(), keyWidth);
                PutShort(e + keyWidth, level[i].Block);
                PutShort(e + keyWidth + 2, level[i].Count);
                PutShort(e + keyWidth + 4, 0);
                parent.Count += level[i].Count;
            }
            PutLe16(&block[4], static_cast<uint16_t>(static_cast<int16_t>((end - start - 1) * entrySize)));
            totalEntries += static_cast<int64_t>(end - start);
            blocks.push_back(std::move(block));
            upper.push_back(parent);
        }
        if (upper.size() == 1)
            break;
        level = std::move(upper);
    }
    if (blocks.size() > 0xFFFF)
        RaiseEngineError(DBIERR_INDEXCORRUPT, {"The primary index would need more than 65,535 blocks."});
    for (size_t i = 0; i < blocks.size(); ++i) {
        PutLe16(&blocks[i][0], static_cast<uint16_t>(i + 1 < blocks.size() ? i + 2 : 0));
        PutLe16(&blocks[i][2], static_cast<uint16_t>(i));
    }

    std::vector<uint8_t> file(IndexHeaderSize + blocks.size() * blockSize, 0);
    uint8_t* h = file.data();
    PutLe16(h + hRecordSize, static_cast<uint16_t>(entrySize));
    PutLe16(h + hHeaderSize, IndexHeaderSize);
    h[hFileType] = FilePrimaryIndex;
    h[hBlockSizeCode] = static_cast<uint8_t>(blockSizeCode);
    PutLe32(h + hNumRecords, static_cast<uint32_t>(totalEntries));
    uint16_t count = static_cast<uint16_t>(blocks.size());
    PutLe16(h + hUsedBlocks, count);
    PutLe16(h + hFileBlocks, count);
    PutLe16(h + hMaxBlocks, count);
    PutLe16(h + hFirstBlock, count ? 1 : 0);
    PutLe16(h + hLastBlock, count);
    PutLe16(h + hIndexRoot, count ? count : 1);
    h[hIndexLevels] = static_cast<uint8_t>(levels);
    PutLe16(h + hNumFields, static_cast<uint16_t>(table.KeyFields()));
    PutLe32(h + hEncryption1, key);
    h[hSortOrder] = table.SortOrder();
    h[hIndexStamp] = PxStamp(table.Raw[hChangeCount], table.SortOrder());
    h[hVersion] = static_cast<uint8_t>(table.Version());
    size_t pos = 0x58;
    for (int i = 0; i < table.KeyFields(); ++i) {
        h[pos++] = table.Fields[i].Type;
        h[pos++] = static_cast<uint8_t>(table.Fields[i].Size);
    }
    pos += 4;
    size_t nameLength = table.Version() >= 0x0C ? 261 : 79;
    pos += nameLength;   // table name left empty
    PutLe16(h + hHeaderUsed, static_cast<uint16_t>(pos));
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (key != 0)
            EncryptBlock(blocks[i].data(), blockSize, key, static_cast<uint32_t>(i + 1));
        std::memcpy(&file[IndexHeaderSize + i * blockSize], blocks[i].data(), blockSize);
    }
    if (layout)
        layout->Valid = true;
    return file;
}

namespace {

// The entries of an index this engine built, computed from the data blocks.
class TIndexContents {
public:
    TIndexContents(const TPxIndexLayout& layout, const TPxIndexSource& source)
        : FLayout(layout), FSource(source)
    {
        FLeafStart.assign(layout.LeafEntries.size() + 1, 0);
        for (size_t k = 0; k < layout.LeafEntries.size(); ++k)
            FLeafStart[k + 1] = FLeafStart[k] + layout.LeafEntries[k];
    }

    // Fills index block `block` (1-based) of level `level` (0 = level 1).
    void Fill(int level, int indexInLevel, int keyWidth, std::vector<uint8_t>& image) const
    {
        const int entrySize = keyWidth + 6;
        int first, end;
        if (level == 0) {
            first = FLeafStart[indexInLevel];
            end = FLeafStart[indexInLevel + 1];
        } else {
            first = indexInLevel * FLayout.PerBlock;
            end = std::min(first + FLayout.PerBlock, FLayout.LevelEntries[level]);
        }
        std::fill(image.begin() + 6, image.end(), 0);
        for (int i = first; i < end; ++i) {
            uint8_t* e = &image[6 + (i - first) * entrySize];
            int from, to, child;
            if (level == 0) {
                from = i;
                to = i + 1;
                child = FSource.Chain[i];
            } else {
                from = LeafRangeStart(level - 1, i);
                to = LeafRangeStart(level - 1, i + 1);
                child = FLayout.LevelFirstBlock[level - 1] + i;
            }
            std::string firstKey = FSource.FirstKey(from);
            std::memcpy(e, firstKey.data(), keyWidth);
            PutShort(e + keyWidth, child);
            PutShort(e + keyWidth + 2, FSource.Prefix[to] - FSource.Prefix[from]);
            PutShort(e + keyWidth + 4, 0);
        }
        PutLe16(&image[4], static_cast<uint16_t>(static_cast<int16_t>((end - first - 1) * entrySize)));
    }

private:
    // First chain position under block `index` of `level` (0 = level 1).
    int LeafRangeStart(int level, int index) const
    {
        int64_t leaf = index;
        for (int l = 0; l < level; ++l)
            leaf *= FLayout.PerBlock;
        if (leaf >= static_cast<int64_t>(FLayout.LeafEntries.size()))
            return FLeafStart.back();
        return FLeafStart[static_cast<size_t>(leaf)];
    }

    const TPxIndexLayout& FLayout;
    const TPxIndexSource& FSource;
    std::vector<int> FLeafStart;
};

} // namespace

bool UpdatePrimaryIndex(const std::string& path, TPxIndexLayout& layout, const TPxHeader& table, uint32_t key,
                        const TPxIndexSource& source, const std::vector<int>& changedPositions, int insertedPosition)
{
    if (!layout.Valid || layout.LeafEntries.empty())
        return false;
    TPxIndexLayout next = layout;
    std::vector<int> leafStart(next.LeafEntries.size() + 1, 0);
    for (size_t k = 0; k < next.LeafEntries.size(); ++k)
        leafStart[k + 1] = leafStart[k] + next.LeafEntries[k];
    auto leafOf = [&](int position) {
        size_t k = std::upper_bound(leafStart.begin(), leafStart.end(), position) - leafStart.begin();
        return static_cast<int>(std::min(k, leafStart.size() - 1)) - 1;
    };
    std::set<int> dirtyLeaves;
    if (insertedPosition >= 0) {
        // The new data block's entry joins the leaf of the entry before it.
        int leaf = insertedPosition == 0 ? 0 : leafOf(insertedPosition - 1);
        if (leaf < 0 || next.LeafEntries[leaf] >= next.PerBlock)
            return false;
        ++next.LeafEntries[leaf];
        ++next.LevelEntries[0];
        dirtyLeaves.insert(leaf);
        for (size_t k = leaf + 1; k < leafStart.size(); ++k)
            ++leafStart[k];
    }
    for (int position : changedPositions)
        dirtyLeaves.insert(std::max(0, leafOf(position)));

    // Every block on the path from a changed leaf to the root is refilled.
    std::map<int, std::pair<int, int>> blocks;   // index block -> (level, index in level)
    for (int leaf : dirtyLeaves) {
        int index = leaf;
        for (size_t level = 0; level < next.LevelFirstBlock.size(); ++level) {
            int blockIndex = level == 0 ? index : index / next.PerBlock;
            blocks[next.LevelFirstBlock[level] + blockIndex] = {static_cast<int>(level), blockIndex};
            index = blockIndex;
        }
    }
    const int keyWidth = table.KeyWidth();
    TIndexContents contents(next, source);
    TPxFile file;
    if (!file.Open(path, true))
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + path, std::strerror(errno)});
    std::vector<uint8_t> header(IndexHeaderSize);
    if (!file.ReadAt(0, header.data(), header.size()))
        return false;
    std::vector<std::pair<int64_t, std::vector<uint8_t>>> old;
    try {
        for (auto& [block, where] : blocks) {
            int64_t offset = IndexHeaderSize + int64_t(block - 1) * next.BlockSize;
            std::vector<uint8_t> image(next.BlockSize);
            if (!file.ReadAt(offset, image.data(), image.size()))
                RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + path});
            old.emplace_back(offset, image);
            if (key)
                DecryptBlock(image.data(), image.size(), key, static_cast<uint32_t>(block));
            contents.Fill(where.first, where.second, keyWidth, image);
            if (key)
                EncryptBlock(image.data(), image.size(), key, static_cast<uint32_t>(block));
            file.WriteAt(offset, image.data(), image.size());
        }
        std::vector<uint8_t> fresh(header);
        int64_t total = 0;
        for (int entries : next.LevelEntries)
            total += entries;
        PutLe32(&fresh[hNumRecords], static_cast<uint32_t>(total));
        fresh[hIndexStamp] = PxStamp(table.Raw[hChangeCount], table.SortOrder());
        file.WriteAt(0, fresh.data(), fresh.size());
    } catch (...) {
        try {
            for (auto it = old.rbegin(); it != old.rend(); ++it)
                file.WriteAt(it->first, it->second.data(), it->second.size());
            file.WriteAt(0, header.data(), header.size());
        } catch (...) {
        }
        throw;
    }
    layout = next;
    return true;
}

void RestampPrimaryIndex(const std::string& path, const TPxHeader& table)
{
    TPxFile file;
    if (!file.Open(path, true))
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + path, std::strerror(errno)});
    uint8_t stamp = PxStamp(table.Raw[hChangeCount], table.SortOrder());
    file.WriteAt(hIndexStamp, &stamp, 1);
}

void ReplaceFile(const std::string& path, const std::vector<uint8_t>& contents)
{
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + name + ".new";
    {
        TPxFile file;
        file.Create(temp);
        try {
            file.WriteAt(0, contents.data(), contents.size());
        } catch (...) {
            file.Close();
            std::remove(temp.c_str());
            throw;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        int error = errno;
        std::remove(temp.c_str());
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + path, std::strerror(error)});
    }
    CountEngineWrite();
}

} // namespace px
