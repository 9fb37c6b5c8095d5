#pragma once
// A search for the first record, in a table's order, whose columns hold
// given values: the form in which a dataset hands Locate and Lookup to an
// engine cursor that can answer them from its own stored values.  The
// matching rules are the same wherever a search is answered:
//   - a Null key matches only a missing value, and a missing value only a
//     Null key;
//   - a text term compares the value's text with the key's, exactly or (a
//     partial search) by the value's leading part, with or without regard
//     to case (Unicode simple case folding, CaseFold.h);
//   - any other term compares by value (TVariant::Compare).

#include "platform/Variant.h"

#include <string>
#include <vector>

struct TEngineSearchTerm {
    int Column = 0;      // index into the cursor's columns
    TVariant Key;        // Null, a string for a text term, else the column's stored kind
    bool Text = false;   // compared as text
};

struct TEngineSearch {
    std::vector<TEngineSearchTerm> Terms;
    bool CaseInsensitive = false;   // text terms ignore case (CaseFold.h)
    bool Partial = false;           // text terms match a value that starts with the key
};

// Whether a value's text matches a key's text under the search's rules.
bool SearchTextMatches(const std::string& value, const std::string& key, bool caseInsensitive, bool partial);

// Whether a column's value satisfies one term of a search.
bool SearchTermMatches(const TEngineSearch& search, const TEngineSearchTerm& term, const TVariant& value);
