#pragma once
// Locate and Lookup on a dBASE/FoxPro table answered through a tag of its
// compound index: a search of one column whose tag's key is the column
// itself, or UPPER() of it (for a search that ignores case where the
// tag's upper case agrees with case folding, CdxFoldAgreement.h), in a tag
// that lists every record (no FOR condition, not unique).
//
// The answer is the one a walk through the records gives: the first
// matching record in record order.  The tag lists the records whose keys
// could match in key order, so their lowest record number is wanted;
// while the pairs of that range are read, the records are also walked
// from the first, and whichever ends first gives the answer (a dense
// range meets a match early in the walk, a sparse one ends soon).  Every
// record taken from the tag is read and checked: one whose key is not the
// one the tag files it under shows the index out of date, and the search
// is left to the caller then, as it is when the first or last record of
// the table is missing from the tag (records appended by a program that
// does not keep the index).

#include "data/engine/EngineCursor.h"

#include <cstdint>
#include <string>
#include <vector>

class TDbfCursor;
struct TDbfField;
namespace cdx {
struct TTag;
}

class TDbfTagSearch {
public:
    TDbfTagSearch(TDbfCursor& table, const TEngineSearch& search);

    using TAnswer = TEngineCursor::TIndexedFind;
    // Found sets FoundRecNo (1-based).
    TAnswer Run();
    uint32_t FoundRecNo() const { return FFound; }

private:
    const cdx::TTag* ChooseTag() const;
    // The key bytes every key of a possibly matching record starts with;
    // false when no record can match.
    bool KeyPrefix(const cdx::TTag& tag, std::string& prefix) const;
    // Whether the table's first and last records are filed in the tag.
    bool TagCoversTable(const cdx::TTag& tag);
    // A live record whose column matches the search.
    bool Matches(const uint8_t* raw) const;
    TAnswer SearchRange(const cdx::TTag& tag, const std::string& prefix);
    // The first matching one of the tag's records above `walked`.
    TAnswer FirstCandidate(const cdx::TTag& tag, const std::string& prefix, std::vector<uint32_t>& candidates,
                           uint32_t walked);
    TAnswer Found(uint32_t recNo);

    TDbfCursor& FTable;
    const TEngineSearch& FSearch;
    const TDbfField* FField = nullptr;
    uint32_t FFound = 0;
};
