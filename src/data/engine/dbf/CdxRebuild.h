#pragma once
// Writing a compound index afresh: the tags of an open index (names,
// expressions, options, key lengths) filled from the table's records,
// leaves packed left to right and interior levels built from their last
// pairs.  The new file is written beside the old one and then renamed
// over it, so a failure leaves the old index in place.

#include "data/engine/dbf/CdxIndex.h"

#include <string>

namespace cdx {

// Writes the rebuilt index to `newPath` (which must not exist).
void WriteRebuiltIndex(TIndex& index, const std::string& newPath, const TRecordScan& scan);

// Rebuilds `index` in place: a new file beside it, synced, renamed over it.
void RebuildIndexFile(TIndex& index, const TRecordScan& scan);

} // namespace cdx
