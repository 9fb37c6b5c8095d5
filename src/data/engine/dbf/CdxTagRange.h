#pragma once
// Reading one tag of a compound index in key order without changing it:
// the pairs whose keys start with given bytes, from the first of them on,
// and whether a given pair is filed.  Pages come through the index's page
// cache; a damaged page raises DBIERR_INDEXCORRUPT.

#include "data/engine/dbf/CdxPages.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cdx {

class TTagRange {
public:
    TTagRange(TPages& pages, uint32_t headerOffset, uint16_t keyLength, uint8_t fill);

    // Starts the range of keys that begin with `prefix` (a whole key: that key alone).
    void Seek(const std::string& prefix);
    // The next pair of the range; false once it is over.
    bool Next(TEntry& entry);
    // Whether the tag files exactly this pair.
    bool Holds(const std::string& key, uint32_t recNo);

private:
    // The leaf holding the first pair at or after (key, recNo), and its place there.
    void Descend(const std::string& key, uint32_t recNo);
    std::shared_ptr<const TNode> Load(uint32_t page);
    [[noreturn]] void Damaged(const std::string& what) const;

    TPages& FPages;
    uint32_t FHeaderOffset;
    uint16_t FKeyLength;
    uint8_t FFill;
    std::string FPrefix;
    std::shared_ptr<const TNode> FLeaf;
    size_t FAt = 0;
    uint64_t FLeavesVisited = 0;
};

} // namespace cdx
