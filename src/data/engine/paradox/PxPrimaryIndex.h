#pragma once
// Builds the primary index (.PX) of a keyed table from its data blocks:
// one level-1 entry per data block (first key, block number, record
// count), upper levels until a single root block remains.

#include "data/engine/paradox/PxHeader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace px {

struct TPxIndexEntry {
    std::string Key;      // encoded key bytes of the block's first record
    uint16_t Block = 0;
    int64_t Count = 0;
};

// The complete .PX file for `table` (its header after the change) and its
// data blocks in chain order.  `blockSizeCode` is the index's own block
// size; `key` encrypts its blocks (0: plain).
std::vector<uint8_t> BuildPrimaryIndex(const TPxHeader& table, const std::vector<TPxIndexEntry>& dataBlocks,
                                       int blockSizeCode, uint32_t key);

// Replaces `path` by `contents` through a temporary file and a rename.
void ReplaceFile(const std::string& path, const std::vector<uint8_t>& contents);

} // namespace px
