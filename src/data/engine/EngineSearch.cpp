#include "data/engine/EngineSearch.h"

#include <algorithm>

bool SearchTextMatches(const std::string& value, const std::string& key, bool caseInsensitive, bool partial)
{
    if (partial ? value.size() < key.size() : value.size() != key.size())
        return false;
    if (!caseInsensitive)
        return value.compare(0, key.size(), key) == 0;
    return std::equal(key.begin(), key.end(), value.begin(),
                      [](char a, char b) { return FoldSearchChar(a) == FoldSearchChar(b); });
}

bool SearchTermMatches(const TEngineSearch& search, const TEngineSearchTerm& term, const TVariant& value)
{
    const bool valueMissing = value.IsNullOrEmpty();
    if (term.Key.IsNull() || valueMissing)
        return term.Key.IsNull() && valueMissing;
    if (term.Text)
        return SearchTextMatches(value.AsString(), term.Key.AsString(), search.CaseInsensitive, search.Partial);
    return TVariant::Compare(value, term.Key) == 0;
}
