#pragma once
// Writing a compound index afresh: the tags of an open index (names,
// expressions, options, key lengths) filled from the table's records,
// leaves packed left to right and interior levels built from their last
// pairs.  The new file is written beside the old one and then renamed
// over it, so a failure leaves the old index in place.

#include "data/engine/dbf/CdxIndex.h"

#include <string>
#include <vector>

namespace cdx {

// A tag of a new index.
struct TTagDefinition {
    std::string Name;            // up to 10 characters
    std::string KeyExpression;
    std::string ForExpression;   // empty: every record
    uint16_t KeyLength = 10;     // with the NULL prefix of a nullable key
    uint8_t Options = 0;         // OptUnique, OptCandidate, OptNullable
    bool Descending = false;
};

// Writes a new index with the given tags, all empty, at `path` (which must
// not exist); RebuildIndexFile (or opening the table and rebuilding) fills it.
void CreateIndexFile(const std::string& path, const std::vector<TTagDefinition>& tags);

// Writes the rebuilt index to `newPath` (which must not exist).
void WriteRebuiltIndex(TIndex& index, const std::string& newPath, const TRecordScan& scan);

// Rebuilds `index` in place: a new file beside it, synced, renamed over it.
void RebuildIndexFile(TIndex& index, const TRecordScan& scan);

} // namespace cdx
