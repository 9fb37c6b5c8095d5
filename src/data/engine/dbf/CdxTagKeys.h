#pragma once
// The keys a tag should hold for a table: every record's key computed,
// sorted in the tag's order and, for a unique tag, thinned to the lowest
// record of each key.  Checking an index compares them with what its tags
// hold; rebuilding it writes them.

#include "data/engine/dbf/CdxIndex.h"

#include <vector>

namespace cdx {

// The (key, record) pairs `tag` should hold, in order, for the table as
// `scan` reads it: FOR filters applied, the lowest record of each key in a
// unique tag.
std::vector<TEntry> ExpectedEntries(const TIndex& index, const TTag& tag, const TRecordScan& scan);

} // namespace cdx
