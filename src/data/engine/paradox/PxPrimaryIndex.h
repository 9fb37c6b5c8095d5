#pragma once
// Builds the primary index (.PX) of a keyed table from its data blocks:
// one level-1 entry per data block (first key, block number, record
// count), upper levels until a single root block remains.

#include "data/engine/paradox/PxHeader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace px {

struct TPxIndexEntry {
    std::string_view Key; // encoded key bytes of the block's first record (kept by the caller)
    uint16_t Block = 0;
    int64_t Count = 0;
};

// Where the entries of each level lie in a .PX this engine built, so that
// a change that keeps the data blocks (only counts and first keys change)
// can patch a few index blocks instead of rebuilding the file.
struct TPxIndexLayout {
    bool Valid = false;
    int BlockSize = 0;
    int PerBlock = 0;                  // entries per index block
    std::vector<int> LeafEntries;      // entries in each level-1 block
    std::vector<int> LevelFirstBlock;  // level 1 (entries per data block) first
    std::vector<int> LevelEntries;
};

// The complete .PX file for `table` (its header after the change) and its
// data blocks in chain order.  `blockSizeCode` is the index's own block
// size; `key` encrypts its blocks (0: plain).
std::vector<uint8_t> BuildPrimaryIndex(const TPxHeader& table, const std::vector<TPxIndexEntry>& dataBlocks,
                                       int blockSizeCode, uint32_t key, TPxIndexLayout* layout = nullptr);

// The data blocks an index describes: the chain, record counts as prefix
// sums (Prefix[p] = records before chain position p) and first keys.
struct TPxIndexSource {
    const std::vector<uint16_t>& Chain;
    const std::vector<int64_t>& Prefix;
    std::function<std::string(int)> FirstKey;
};

// Brings an index this engine built up to date in place: refills the
// level-1 blocks holding `changedPositions` (chain positions whose count or
// first key changed), adds the entry of a data block inserted at
// `insertedPosition` (-1: none) when its level-1 block has room, refills
// their ancestors and the header.  False when that is not possible (the
// caller rebuilds the index); on a failed write the index is put back and
// the error raised.
bool UpdatePrimaryIndex(const std::string& path, TPxIndexLayout& layout, const TPxHeader& table, uint32_t key,
                        const TPxIndexSource& source, const std::vector<int>& changedPositions, int insertedPosition);

// Replaces `path` by `contents` through a temporary file and a rename.
void ReplaceFile(const std::string& path, const std::vector<uint8_t>& contents);
// Writes only the index's stamp of the table's change counter.
void RestampPrimaryIndex(const std::string& path, const TPxHeader& table);

} // namespace px
