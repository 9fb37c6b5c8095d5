#pragma once
// The keys a tag should hold for a table: every record's key computed,
// sorted in the tag's order and, for a unique tag, thinned to the lowest
// record of each key.  Checking an index compares them with what its tags
// hold; rebuilding it writes them.

#include "data/engine/dbf/CdxIndex.h"

#include <string>
#include <vector>

namespace cdx {

class TTagKeys {
public:
    // Reads every record through `scan`: FOR filters applied, the lowest
    // record of each key in a unique tag.
    TTagKeys(const TIndex& index, const TTag& tag, const TRecordScan& scan);

    size_t Count() const { return FItems.size(); }
    // The i-th (key, record) pair in order (the entry's key is reused).
    void Get(size_t i, TEntry& entry) const;
    std::vector<TEntry> Entries() const;

private:
    // Every key has the tag's key length, so the keys stand side by side in
    // one buffer and are sorted through small items: eight key bytes at a
    // time as one number decide the comparisons without touching the strings.
    struct TItem {
        uint64_t Prefix;
        uint32_t RecNo;
        uint32_t Index;
    };

    void Add(const std::string& key, uint32_t recNo);
    void Sort();
    void KeepFirstOfEachKey();
    const char* KeyAt(const TItem& item) const { return FKeys.data() + static_cast<size_t>(item.Index) * FLength; }
    // Key bytes `from` to `from + 8` of the key at `at`, big-endian, zero past its end.
    uint64_t Chunk(size_t at, size_t from) const;

    size_t FLength;
    std::string FKeys;
    std::vector<TItem> FItems;
};

// The pairs `tag` should hold, in order (TTagKeys's pairs as entries).
std::vector<TEntry> ExpectedEntries(const TIndex& index, const TTag& tag, const TRecordScan& scan);

} // namespace cdx
