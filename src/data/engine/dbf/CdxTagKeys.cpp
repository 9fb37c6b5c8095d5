#include "data/engine/dbf/CdxTagKeys.h"

#include "data/engine/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace cdx {

TTagKeys::TTagKeys(const TIndex& index, const TTag& tag, const TRecordScan& scan) : FLength(tag.Header.KeyLength)
{
    std::string key;
    scan([&](uint32_t recNo, const uint8_t* record) {
        if (index.KeyOf(tag, record, recNo, key))
            Add(key, recNo);
    });
    Sort();
    if (tag.Unique() && !tag.Candidate())
        KeepFirstOfEachKey();
}

void TTagKeys::Add(const std::string& key, uint32_t recNo)
{
    const size_t at = FKeys.size();
    FKeys.resize(at + FLength, '\0');
    std::memcpy(FKeys.data() + at, key.data(), std::min(key.size(), FLength));
    FItems.push_back({Chunk(at, 0), recNo, static_cast<uint32_t>(FItems.size())});
}

uint64_t TTagKeys::Chunk(size_t at, size_t from) const
{
    uint8_t bytes[8] = {};
    std::memcpy(bytes, FKeys.data() + at + from, std::min<size_t>(8, FLength - from));
    return Be64(bytes);
}

void TTagKeys::Sort()
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

void TTagKeys::KeepFirstOfEachKey()
{
    auto last = std::unique(FItems.begin(), FItems.end(), [this](const TItem& a, const TItem& b) {
        return a.Prefix == b.Prefix && std::memcmp(KeyAt(a), KeyAt(b), FLength) == 0;
    });
    FItems.erase(last, FItems.end());
}

void TTagKeys::Get(size_t i, TEntry& entry) const
{
    entry.Key.assign(KeyAt(FItems[i]), FLength);
    entry.RecNo = FItems[i].RecNo;
}

std::vector<TEntry> TTagKeys::Entries() const
{
    std::vector<TEntry> entries(FItems.size());
    for (size_t i = 0; i < FItems.size(); ++i)
        Get(i, entries[i]);
    return entries;
}

std::vector<TEntry> ExpectedEntries(const TIndex& index, const TTag& tag, const TRecordScan& scan)
{
    return TTagKeys(index, tag, scan).Entries();
}

} // namespace cdx
