#include "data/engine/EngineSearch.h"

#include "data/engine/CaseFold.h"

#include <algorithm>

namespace {

bool TextsMatch(std::string_view value, std::string_view key, bool partial)
{
    if (partial ? value.size() < key.size() : value.size() != key.size())
        return false;
    return value.compare(0, key.size(), key) == 0;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SearchTextMatches(const std::string& value, const std::string& key, bool caseInsensitive, bool partial)
{
    if (!caseInsensitive)
        return TextsMatch(value, key, partial);
    if (!IsAsciiText(value) || !IsAsciiText(key))
        return TextsMatch(FoldedText(value), FoldedText(key), partial);
    if (partial ? value.size() < key.size() : value.size() != key.size())
        return false;
    return std::equal(key.begin(), key.end(), value.begin(),
                      [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
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
