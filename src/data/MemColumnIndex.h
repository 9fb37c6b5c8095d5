#pragma once
// An order of a memory table's rows by the values of one column, kept in
// step with every insert, change and delete of a row.  Rows with equal
// values keep the table's order among themselves, so the first row of a
// run of equal values is the first such row of the table.  Finding a
// value, or the texts that start with a given text, is then a binary
// search instead of a walk through the table.
//
// Rows added are held aside, unsorted, until a search or a change of a
// row needs the order, or the table settles its indexes at the end of a
// load: a million rows appended cost a million heads and one sort
// (MemIndexSort.h), not a million sorted inserts.  The sorted entries sit
// in blocks (MemIndexBlocks.h), so that one row changed later moves a
// block's entries, not the whole order's.

#include "data/MemIndexBlocks.h"
#include "data/MemIndexKeys.h"
#include "data/engine/EngineSearch.h"
#include "platform/HugePageAllocator.h"

#include <cstdint>
#include <vector>

class TMemStorage;
struct TMemRow;

// Whether a row satisfies every term of a search but `except`.
bool MemRowMatches(const TMemRow& row, const TEngineSearch& search, const TEngineSearchTerm* except = nullptr);
// Whether a row satisfies every term of a search but `term`.
inline bool MemRowMatchesOtherTerms(const TMemRow& row, const TEngineSearch& search, const TEngineSearchTerm& term)
{
    return MemRowMatches(row, search, &term);
}

class TMemColumnIndex {
public:
    // Takes in every row the storage holds now.
    TMemColumnIndex(TMemStorage& storage, int column, TMemIndexOrder order);

    int Column() const { return FColumn; }
    TMemIndexOrder Order() const { return FOrder; }
    // The order that answers a term of a search.
    static TMemIndexOrder OrderFor(const TEngineSearch& search, const TEngineSearchTerm& term);

    // A row that has just taken its place in the table's order.
    void Add(TMemRow* row);
    // A row that still holds its values and its place in the table's order.
    void Remove(TMemRow* row);
    // Sorts the rows added since the last search into the order.
    void Settle();

    // The first row, in the table's order, that matches every term of the
    // search; `term` is the one on this index's column.  nullptr when none.
    TMemRow* FindFirst(const TEngineSearch& search, const TEngineSearchTerm& term);

private:
    using TPlace = TMemIndexBlocks::TPlace;
    // A run of prefix matches longer than this has the table's leading rows
    // tried first.
    static constexpr size_t LeadingRowsWorthTrying = 64;

    const TVariant& ValueOf(const TMemRow* row) const;
    int Compare(const TMemIndexEntry& entry, uint64_t head, const TVariant& value) const;
    // Entries by value, then by place in the table.
    bool Before(const TMemIndexEntry& a, const TMemIndexEntry& b) const;
    TPlace Locate(const TMemIndexEntry& entry) const;
    TPlace Find(const TMemIndexEntry& entry) const;
    std::vector<TMemRow*>::iterator LocateMissing(TMemRow* row);
    // Adds a row known to follow every row added before it in the table.
    void AddInTableOrder(TMemRow* row);

    TMemRow* FirstMissing(const TEngineSearch& search, const TEngineSearchTerm& term) const;
    // The first of the table's leading `count` rows that matches the search.
    TMemRow* FirstOfLeadingRows(const TEngineSearch& search, size_t count) const;
    // The first row in the table of the entries [first, last) that matches
    // every other term.
    TMemRow* FirstInTable(TPlace first, TPlace last, const TEngineSearch& search, const TEngineSearchTerm& term) const;

    TMemStorage& FStorage;
    int FColumn;
    TMemIndexOrder FOrder;
    TMemIndexBlocks FEntries;          // rows with a value: by value, then table order
    std::vector<TMemIndexEntry, THugePageAllocator<TMemIndexEntry>> FAdded;   // rows with a value, not yet sorted in
    bool FAddedInTableOrder = true;    // each of FAdded was appended behind the ones before it
    std::vector<TMemRow*> FMissing;    // rows without one, in table order
};
