#include "data/engine/dbf/CdxTagKeys.h"

#include "data/engine/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace cdx {

namespace {

// Every key of a tag has the tag's key length, so the keys stand side by
// side in one buffer and are sorted through small items: eight key bytes
// at a time as one number decide the comparisons without touching the
// strings.
class TKeyTable {
public:
    explicit TKeyTable(size_t keyLength) : FLength(keyLength) {}

    void Add(const std::string& key, uint32_t recNo)
    {
        const size_t at = FKeys.size();
        FKeys.resize(at + FLength, '\0');
        std::memcpy(FKeys.data() + at, key.data(), std::min(key.size(), FLength));
        FItems.push_back({Chunk(at, 0), recNo, static_cast<uint32_t>(FItems.size())});
    }

    void Sort()
    {
        std::sort(FItems.begin(), FItems.end(), [this](const TItem& a, const TItem& b) {
            if (a.Prefix != b.Prefix)
                return a.Prefix < b.Prefix;
            for (size_t from = 8; from < FLength; from += 8) {
                const uint64_t x = Chunk(a.Index * FLength, from), y = Chunk(b.Index * FLength, from);
                if (x != y)
                    return x < y;
            }
            return a.RecNo < b.RecNo;
        });
    }

    // The pairs in order; with `firstOfKey` only the first pair of each key.
    std::vector<TEntry> Entries(bool firstOfKey) const
    {
        std::vector<TEntry> entries;
        entries.reserve(FItems.size());
        const char* previous = nullptr;
        for (const TItem& item : FItems) {
            const char* key = FKeys.data() + static_cast<size_t>(item.Index) * FLength;
            if (firstOfKey && previous && std::memcmp(previous, key, FLength) == 0)
                continue;
            entries.push_back({std::string(key, FLength), item.RecNo});
            previous = key;
        }
        return entries;
    }

private:
    struct TItem {
        uint64_t Prefix;
        uint32_t RecNo;
        uint32_t Index;
    };

    // Key bytes `from` to `from + 8` of the key at `at`, big-endian, zero past its end.
    uint64_t Chunk(size_t at, size_t from) const
    {
        uint8_t bytes[8] = {};
        std::memcpy(bytes, FKeys.data() + at + from, std::min<size_t>(8, FLength - from));
        return Be64(bytes);
    }

    size_t FLength;
    std::string FKeys;
    std::vector<TItem> FItems;
};

} // namespace

std::vector<TEntry> ExpectedEntries(const TIndex& index, const TTag& tag, const TRecordScan& scan)
{
    TKeyTable table(tag.Header.KeyLength);
    std::string key;
    scan([&](uint32_t recNo, const uint8_t* record) {
        if (index.KeyOf(tag, record, recNo, key))
            table.Add(key, recNo);
    });
    table.Sort();
    return table.Entries(tag.Unique() && !tag.Candidate());
}

} // namespace cdx
