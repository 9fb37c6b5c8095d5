#pragma once
// Results of a lookup field's searches in its lookup dataset, kept while
// that dataset's records stay as they were (its content version), so that
// reading many records does not search the lookup dataset for each.

#include "platform/Variant.h"

#include <cstdint>
#include <map>

class TDataSet;

class TLookupCache {
public:
    // The cached result for the key values, nullptr when not known for the
    // dataset's current content.
    const TVariant* Find(const TDataSet& source, uint64_t version, const TVariant& keys)
    {
        if (&source != FSource || version != FVersion) {
            FValues.clear();
            FSource = &source;
            FVersion = version;
            return nullptr;
        }
        auto it = FValues.find(keys);
        return it == FValues.end() ? nullptr : &it->second;
    }
    void Store(const TVariant& keys, const TVariant& result)
    {
        if (FValues.size() >= kMaxEntries)
            FValues.clear();
        FValues.emplace(keys, result);
    }

private:
    struct TKeyLess {
        bool operator()(const TVariant& a, const TVariant& b) const { return TVariant::Compare(a, b) < 0; }
    };
    static constexpr size_t kMaxEntries = 4096;

    const TDataSet* FSource = nullptr;
    uint64_t FVersion = 0;
    std::map<TVariant, TVariant, TKeyLess> FValues;
};
