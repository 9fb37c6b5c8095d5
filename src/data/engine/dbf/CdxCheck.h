#pragma once
// Checking a compound index against its own rules and against the table:
// every tree walked level by level (root and leaf marks, one depth for all
// leaves, sibling chains, interior entries equal to their child's last
// pair, no page used twice, strict order, no repeated key in a unique
// tag), the free-page list (no cycle, no page both free and in use), and,
// for the content check, every tag holding exactly the keys the table's
// records produce.

#include "data/engine/dbf/CdxIndex.h"
#include "data/engine/dbf/CdxTagKeys.h"

#include <string>
#include <vector>

namespace cdx {

struct TCheckReport {
    std::vector<std::string> Damage;     // the index breaks its format's rules
    std::vector<std::string> Stale;      // the index does not match the table
    std::vector<std::string> Notes;      // the table breaks a candidate tag
    size_t Tags = 0;
    size_t Keys = 0;
    size_t UsedPages = 0;
    size_t FreePages = 0;
    size_t UnreferencedPages = 0;

    bool Good() const { return Damage.empty() && Stale.empty(); }
    // One line per finding.
    std::string Summary() const;
};

// Checks the structure, and with `content` every tag against the table
// (`recordCount` records, read through `scan`).
TCheckReport CheckIndex(TIndex& index, uint32_t recordCount, const TRecordScan& scan, bool content);

} // namespace cdx
