#pragma once
// What a search must find: the first record, walking the cursor's records
// in order, whose columns match every term (the dataset's own rule).

#include "data/engine/EngineCursor.h"

#include <cstdint>

// The record number of the first match; 0 when none matches.  Leaves the
// cursor after the match (or at the end).
inline int64_t WalkedRecNo(TEngineCursor& cursor, const TEngineSearch& search)
{
    cursor.SetToBegin();
    TEngineRecord record;
    while (cursor.Next(record)) {
        bool matches = true;
        for (const TEngineSearchTerm& term : search.Terms)
            matches = matches && SearchTermMatches(search, term, record[static_cast<size_t>(term.Column)]);
        if (matches)
            return cursor.RecNo();
    }
    return 0;
}

inline TEngineSearch OneTermSearch(int column, const TVariant& key, bool text, bool caseInsensitive, bool partial)
{
    TEngineSearch search;
    search.Terms.push_back({column, key, text});
    search.CaseInsensitive = caseInsensitive;
    search.Partial = partial;
    return search;
}
