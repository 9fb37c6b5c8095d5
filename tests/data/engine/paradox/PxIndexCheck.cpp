#include "PxIndexCheck.h"

#include "ParadoxTestSupport.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

uint16_t W(const std::string& b, size_t at) { return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8); }
uint32_t D(const std::string& b, size_t at) { return W(b, at) | (uint32_t(W(b, at + 2)) << 16); }
int S(const std::string& b, size_t at) { return ((static_cast<uint8_t>(b[at]) ^ 0x80) << 8 | static_cast<uint8_t>(b[at + 1])) - ((b[at] & 0x80) ? 0 : 65536) ; }

struct TBlockInfo {
    int Block;
    int Count;
    std::string FirstKey;
};

bool Fail(std::string* why, const std::string& text)
{
    if (why) *why = text;
    return false;
}

bool WalkTable(const std::string& path, std::vector<TBlockInfo>& blocks, int& keyWidth, std::string* why)
{
    std::string db = ReadFileBytes(path);
    if (db.size() < 0x58) return Fail(why, "short file");
    int recordSize = W(db, 0), headerSize = W(db, 2), blockSize = static_cast<uint8_t>(db[5]) * 1024;
    int fileBlocks = W(db, 0x0C), keyFields = W(db, 0x23), numFields = W(db, 0x21);
    size_t descriptors = static_cast<uint8_t>(db[0x39]) >= 5 ? 0x78 : 0x58;
    keyWidth = 0;
    for (int i = 0; i < keyFields; ++i) {
        uint8_t type = db[descriptors + 2 * i], size = db[descriptors + 2 * i + 1];
        keyWidth += type == 0x17 ? 17 : size;
    }
    (void)numFields;
    if (db.size() != size_t(headerSize) + size_t(fileBlocks) * blockSize)
        return Fail(why, "file size does not match fileBlocks");
    std::set<int> seen;
    int prev = 0, last = 0;
    uint32_t total = 0;
    std::string previousKey;
    for (int b = W(db, 0x0E); b != 0;) {
        if (b > fileBlocks || !seen.insert(b).second) return Fail(why, "bad chain at block " + std::to_string(b));
        size_t at = headerSize + size_t(b - 1) * blockSize;
        if (W(db, at + 2) != prev) return Fail(why, "wrong prev in block " + std::to_string(b));
        int16_t lastOffset = static_cast<int16_t>(W(db, at + 4));
        int count = lastOffset < 0 ? 0 : lastOffset / recordSize + 1;
        if (lastOffset >= 0 && lastOffset % recordSize) return Fail(why, "odd lastRecOffset");
        if (count == 0 && W(db, 0x0A) > 1) return Fail(why, "empty block inside the chain");
        for (int i = 0; i < count && keyFields > 0; ++i) {
            std::string key = db.substr(at + 6 + size_t(i) * recordSize, keyWidth);
            if (!previousKey.empty() && !(previousKey < key)) return Fail(why, "keys out of order in block " + std::to_string(b));
            previousKey = key;
        }
        blocks.push_back({b, count, count ? db.substr(at + 6, keyWidth) : std::string()});
        total += count;
        prev = last = b;
        b = W(db, at);
    }
    if (total != D(db, 6)) return Fail(why, "header record count " + std::to_string(D(db, 6)) + " but " + std::to_string(total) + " in blocks");
    if (W(db, 0x0A) != seen.size()) return Fail(why, "usedBlocks wrong");
    if (W(db, 0x10) != last) return Fail(why, "lastBlock wrong");
    int freeBlocks = 0;
    for (int b = W(db, 0x4D); b != 0; b = W(db, headerSize + size_t(b - 1) * blockSize)) {
        if (b > fileBlocks || seen.count(b) || ++freeBlocks > fileBlocks) return Fail(why, "bad free list");
        seen.insert(b);
    }
    if (int(seen.size()) != fileBlocks) return Fail(why, "blocks neither in the chain nor free");
    if (seen.size() && !seen.count(1)) return Fail(why, "block 1 lost");
    return true;
}

// Collects the level-1 entries under `block` in key order.
bool Descend(const std::string& px, int headerSize, int blockSize, int entrySize, int keyWidth, int block, int level,
             std::vector<TBlockInfo>& out, int64_t& count, std::string* why)
{
    size_t at = headerSize + size_t(block - 1) * blockSize;
    if (at + blockSize > px.size()) return Fail(why, "index block beyond the file");
    int16_t lastOffset = static_cast<int16_t>(W(px, at + 4));
    int entries = lastOffset < 0 ? 0 : lastOffset / entrySize + 1;
    count = 0;
    for (int i = 0; i < entries; ++i) {
        size_t e = at + 6 + size_t(i) * entrySize;
        std::string key = px.substr(e, keyWidth);
        int child = S(px, e + keyWidth), stat = S(px, e + keyWidth + 2);
        if (level == 1) {
            out.push_back({child, stat, key});
            count += stat;
        } else {
            size_t before = out.size();
            int64_t sub = 0;
            if (!Descend(px, headerSize, blockSize, entrySize, keyWidth, child, level - 1, out, sub, why)) return false;
            if (out.size() == before || out[before].FirstKey != key) return Fail(why, "upper entry key is not its child's first key");
            if (std::min<int64_t>(sub, 32767) != stat) return Fail(why, "upper entry count wrong");
            count += sub;
        }
    }
    return true;
}

} // namespace

bool PxTableIsConsistent(const std::string& dbPath, std::string* why)
{
    std::vector<TBlockInfo> blocks;
    int keyWidth = 0;
    return WalkTable(dbPath, blocks, keyWidth, why);
}

bool PxIndexIsValid(const std::string& dbPath, std::string* why)
{
    std::vector<TBlockInfo> blocks;
    int keyWidth = 0;
    if (!WalkTable(dbPath, blocks, keyWidth, why)) return false;
    std::string pxPath = dbPath.substr(0, dbPath.size() - 2) + (dbPath.back() == 'b' ? "px" : "PX");
    std::string px = ReadFileBytes(pxPath);
    std::string db = ReadFileBytes(dbPath);
    if (px.size() < 0x58) return Fail(why, "no index");
    int headerSize = W(px, 2), blockSize = static_cast<uint8_t>(px[5]) * 1024, entrySize = W(px, 0);
    if (px[4] != 1 || entrySize != keyWidth + 6) return Fail(why, "index header wrong");
    if (static_cast<uint8_t>(px[0x2C]) != [&] {
            unsigned s = static_cast<uint8_t>(db[0x29]), c = static_cast<uint8_t>(db[0x2D]);
            unsigned t = c + (s ? s + 2 : 0);
            return (t & 0xFF) + (t >> 8);
        }())
        return Fail(why, "index stamp does not match the table's change counter");
    std::vector<TBlockInfo> entries;
    int levels = static_cast<uint8_t>(px[0x20]);
    int64_t count = 0;
    if (levels > 0 && !Descend(px, headerSize, blockSize, entrySize, keyWidth, W(px, 0x1E), levels, entries, count, why))
        return false;
    std::vector<TBlockInfo> live;
    for (const auto& b : blocks)
        if (b.Count > 0) live.push_back(b);
    if (entries.size() != live.size()) return Fail(why, "index has " + std::to_string(entries.size()) + " entries for " + std::to_string(live.size()) + " blocks");
    for (size_t i = 0; i < live.size(); ++i)
        if (entries[i].Block != live[i].Block || entries[i].Count != live[i].Count || entries[i].FirstKey != live[i].FirstKey)
            return Fail(why, "entry " + std::to_string(i) + " does not describe data block " + std::to_string(live[i].Block));
    return true;
}
