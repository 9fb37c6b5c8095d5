// Filing records appended to the table in every tag at once: the keys of
// each tag computed and sorted, candidate tags checked for every key before
// any tag changes, then each tree takes its keys in order, so neighbouring
// keys land in pages already at hand.

#include "data/engine/dbf/CdxIndex.h"

#include "data/engine/EngineStatus.h"

#include <algorithm>

namespace cdx {

namespace {

std::string NewRecordName(uint32_t recNo, uint32_t firstRecNo, size_t count)
{
    if (count == 1)
        return "The new record";
    return "Record " + std::to_string(recNo - firstRecNo + 1) + " of the " + std::to_string(count) + " being added";
}

std::string NewRecordsName(uint32_t recNo, uint32_t otherRecNo, uint32_t firstRecNo, size_t count)
{
    return "Records " + std::to_string(otherRecNo - firstRecNo + 1) + " and " + std::to_string(recNo - firstRecNo + 1) +
           " of the " + std::to_string(count) + " being added";
}

[[noreturn]] void RaiseViolation(const TTag& tag, const std::string& clash)
{
    RaiseEngineError(DBIERR_KEYVIOL, {"Uniqueness of index " + tag.Name + " is violated.",
                                      "Key: " + tag.Header.KeyExpression, clash});
}

} // namespace

void TIndex::RecordsAdded(uint32_t firstRecNo, size_t count, const uint8_t* records, size_t length)
{
    struct TTagKeys {
        const TTag* Tag;
        std::vector<TEntry> Entries;
    };
    std::vector<TTagKeys> tags;
    std::string key;
    for (const TTag& tag : FTags) {
        TTagKeys keys{&tag, {}};
        keys.Entries.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const uint32_t recNo = firstRecNo + static_cast<uint32_t>(i);
            if (KeyOf(tag, records + i * length, recNo, key))
                keys.Entries.push_back({key, recNo});
        }
        std::sort(keys.Entries.begin(), keys.Entries.end(), [](const TEntry& a, const TEntry& b) {
            return CompareEntries(a.Key, a.RecNo, b.Key, b.RecNo) < 0;
        });
        tags.push_back(std::move(keys));
    }

    // Refuse first, so a violation leaves every tag as it was.
    for (TTagKeys& keys : tags) {
        const TTag& tag = *keys.Tag;
        if (!tag.Candidate() && !tag.Unique())
            continue;
        TTree tree = TreeOf(tag);
        std::vector<TEntry> kept;
        kept.reserve(keys.Entries.size());
        for (TEntry& entry : keys.Entries) {
            const bool repeated = !kept.empty() && kept.back().Key == entry.Key;
            if (tag.Candidate()) {
                if (repeated)
                    RaiseViolation(tag, NewRecordsName(entry.RecNo, kept.back().RecNo, firstRecNo, count) +
                                            " have the same key.");
                if (uint32_t other = tree.RecordWithKey(entry.Key))
                    RaiseViolation(tag, NewRecordName(entry.RecNo, firstRecNo, count) + " has the key of record " +
                                            std::to_string(other) + ".");
            } else if (repeated || tree.RecordWithKey(entry.Key)) {
                // A unique tag holds the lowest record of a key: one the
                // table holds, or the first of the new ones.
                continue;
            }
            kept.push_back(std::move(entry));
        }
        keys.Entries = std::move(kept);
    }

    for (const TTagKeys& keys : tags) {
        TTree tree = TreeOf(*keys.Tag);
        tree.InsertSorted(keys.Entries);
    }
}

} // namespace cdx
