#include "data/engine/paradox/PxPrimaryIndex.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

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
        for (size_t start = 0; start < level.size(); start += perBlock) {
            size_t end = std::min(level.size(), start + perBlock);
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
            Put16(&block[4], static_cast<uint16_t>(static_cast<int16_t>((end - start - 1) * entrySize)));
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
        Put16(&blocks[i][0], static_cast<uint16_t>(i + 1 < blocks.size() ? i + 2 : 0));
        Put16(&blocks[i][2], static_cast<uint16_t>(i));
    }

    std::vector<uint8_t> file(IndexHeaderSize + blocks.size() * blockSize, 0);
    uint8_t* h = file.data();
    Put16(h + hRecordSize, static_cast<uint16_t>(entrySize));
    Put16(h + hHeaderSize, IndexHeaderSize);
    h[hFileType] = FilePrimaryIndex;
    h[hBlockSizeCode] = static_cast<uint8_t>(blockSizeCode);
    Put32(h + hNumRecords, static_cast<uint32_t>(totalEntries));
    uint16_t count = static_cast<uint16_t>(blocks.size());
    Put16(h + hUsedBlocks, count);
    Put16(h + hFileBlocks, count);
    Put16(h + hMaxBlocks, count);
    Put16(h + hFirstBlock, count ? 1 : 0);
    Put16(h + hLastBlock, count);
    Put16(h + hIndexRoot, count ? count : 1);
    h[hIndexLevels] = static_cast<uint8_t>(levels);
    Put16(h + hNumFields, static_cast<uint16_t>(table.KeyFields()));
    Put32(h + hEncryption1, key);
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
    Put16(h + hHeaderUsed, static_cast<uint16_t>(pos));
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (key != 0)
            EncryptBlock(blocks[i].data(), blockSize, key, static_cast<uint32_t>(i + 1));
        std::memcpy(&file[IndexHeaderSize + i * blockSize], blocks[i].data(), blockSize);
    }
    if (layout)
        layout->Valid = true;
    return file;
}

void PatchPrimaryIndex(const std::string& path, const TPxIndexLayout& layout, const TPxHeader& table, uint32_t key,
                       const std::vector<int>& positions, const std::function<std::string(int)>& firstKey,
                       const std::vector<int64_t>& prefix)
{
    const int keyWidth = table.KeyWidth();
    const int entrySize = keyWidth + 6;
    const int n = static_cast<int>(prefix.size()) - 1;
    // Index block -> (slot -> data range [first, end) of chain positions) to rewrite.
    std::map<int, std::map<int, std::pair<int, int>>> patches;
    for (int position : positions) {
        int64_t span = 1;
        for (size_t level = 0; level < layout.LevelFirstBlock.size(); ++level) {
            int index = static_cast<int>(position / span);
            int block = layout.LevelFirstBlock[level] + index / layout.PerBlock;
            int first = static_cast<int>(index * span);
            int end = static_cast<int>(std::min<int64_t>(n, (index + 1) * span));
            patches[block][index % layout.PerBlock] = {first, end};
            span *= layout.PerBlock;
        }
    }
    TPxFile file;
    if (!file.Open(path, true))
        RaiseEngineError(DBIERR_WRITEERR, {"File: " + path, std::strerror(errno)});
    std::vector<uint8_t> header(IndexHeaderSize);
    file.ReadAt(0, header.data(), header.size());
    std::vector<std::pair<int64_t, std::vector<uint8_t>>> old;
    try {
        for (auto& [block, slots] : patches) {
            int64_t offset = IndexHeaderSize + int64_t(block - 1) * layout.BlockSize;
            std::vector<uint8_t> image(layout.BlockSize);
            if (!file.ReadAt(offset, image.data(), image.size()))
                RaiseEngineError(DBIERR_INDEXCORRUPT, {"File: " + path});
            old.emplace_back(offset, image);
            if (key)
                DecryptBlock(image.data(), image.size(), key, static_cast<uint32_t>(block));
            for (auto& [slot, range] : slots) {
                uint8_t* e = &image[6 + slot * entrySize];
                std::string first = firstKey(range.first);
                std::memcpy(e, first.data(), keyWidth);
                PutShort(e + keyWidth + 2, prefix[range.second] - prefix[range.first]);
            }
            if (key)
                EncryptBlock(image.data(), image.size(), key, static_cast<uint32_t>(block));
            file.WriteAt(offset, image.data(), image.size());
        }
        uint8_t stamp = PxStamp(table.Raw[hChangeCount], table.SortOrder());
        file.WriteAt(hIndexStamp, &stamp, 1);
    } catch (...) {
        try {
            for (auto it = old.rbegin(); it != old.rend(); ++it)
                file.WriteAt(it->first, it->second.data(), it->second.size());
            file.WriteAt(0, header.data(), header.size());
        } catch (...) {
        }
        throw;
    }
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
}

} // namespace px
