#include "data/engine/paradox/PxPrimaryIndex.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace px {

namespace {

constexpr int IndexHeaderSize = 0x800;

void PutShort(uint8_t* p, int64_t value)
{
    EncodeInt(value > 32767 ? 32767 : value, p, 2);
}

} // namespace

std::vector<uint8_t> BuildPrimaryIndex(const TPxHeader& table, const std::vector<TPxIndexEntry>& dataBlocks,
                                       int blockSizeCode, uint32_t key)
{
    const int keyWidth = table.KeyWidth();
    const int entrySize = keyWidth + 6;
    const int blockSize = blockSizeCode * 1024;
    const int perBlock = (blockSize - 6) / entrySize;
    std::vector<std::vector<uint8_t>> blocks;
    int64_t totalEntries = 0;
    int levels = 0;
    std::vector<TPxIndexEntry> level = dataBlocks;
    while (!level.empty()) {
        ++levels;
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
    return file;
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
