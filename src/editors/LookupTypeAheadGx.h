#pragma once
// The type-ahead search of the lookup lists: the first record of a dataset,
// in its order, whose text field starts with a typed prefix, without regard
// to case.  The dataset is left on the record found, or where it was when
// none is.
//
// Case is ignored as every text search ignores it (Unicode simple case
// folding, CaseFold.h).  A prefix on a dataset that can answer Locate from
// an index is located through it.  Otherwise the dataset is walked record by record
// with its controls disabled; a search for a prefix that extends the
// previous one on the same dataset, whose records have not changed since,
// starts at the previous hit: no record before it can start with the longer
// prefix.  Typing a word thus walks the table once, not once per character.

#include <cstdint>
#include <string>

class TDataSet;
class TField;

class TLookupTypeAheadGx {
public:
    // Moves the field's dataset to the first record whose text starts with
    // prefix; false (and no move) when none does.
    bool Find(TField& field, const std::string& prefix);
    // Forgets the previous hit (a search then starts at the first record).
    void Reset() { FDataSet = nullptr; }

    // Whether text starts with prefix, ignoring case (every letter, CaseFold.h).
    static bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

private:
    bool Walk(TField& field, const std::string& prefix);
    bool CanContinueFrom(const TDataSet& dataSet, const std::string& prefix) const;

    const TDataSet* FDataSet = nullptr;
    uint64_t FVersion = 0;
    std::string FPrefix;
    std::string FBookmark;
};
