#pragma once
// An order of a memory table's rows by the values of one column, built the
// first time a search needs it and kept in step with every insert, change
// and delete of a row.  Rows with equal values keep the table's order among
// themselves, so the first row of a run of equal values is the first such
// row of the table.  Finding a value, or the texts that start with a given
// text, is then a binary search instead of a walk through the table.
//
// Building sorts the rows' heads (MemIndexKeys.h) by radix; only rows whose
// heads tie are ordered further, texts by their following bytes.

#include "data/HugePageAllocator.h"
#include "data/MemIndexKeys.h"
#include "data/engine/EngineSearch.h"

#include <cstdint>
#include <vector>

class TMemStorage;
struct TMemRow;

// Whether a row satisfies every term of a search but `term`.
bool MemRowMatchesOtherTerms(const TMemRow& row, const TEngineSearch& search, const TEngineSearchTerm& term);

class TMemColumnIndex {
public:
    // Orders every row the storage holds now.
    TMemColumnIndex(TMemStorage& storage, int column, TMemIndexOrder order);

    int Column() const { return FColumn; }
    TMemIndexOrder Order() const { return FOrder; }
    // The order that answers a term of a search.
    static TMemIndexOrder OrderFor(const TEngineSearch& search, const TEngineSearchTerm& term);

    // A row that has just taken its place in the table's order.
    void Add(TMemRow* row);
    // A row that still holds its values and its place in the table's order.
    void Remove(TMemRow* row);

    // The first row, in the table's order, that matches every term of the
    // search; `term` is the one on this index's column.  nullptr when none.
    TMemRow* FindFirst(const TEngineSearch& search, const TEngineSearchTerm& term);

private:
    struct TEntry {
        uint64_t Head;   // of the row's value, IndexHead
        TMemRow* Row;
    };
    using TEntries = std::vector<TEntry, THugePageAllocator<TEntry>>;
    using TIter = TEntries::iterator;

    const TVariant& ValueOf(const TMemRow* row) const;
    int Compare(const TEntry& entry, uint64_t head, const TVariant& value) const;
    // Entries by value, then by place in the table.
    bool Before(const TEntry& a, const TEntry& b) const;
    TIter Locate(const TEntry& entry);
    std::vector<TMemRow*>::iterator LocateMissing(TMemRow* row);

    // Ordering the entries at build time, which start in table order.
    void SortEntries();
    // Entries whose texts agree in their first `depth` bytes.
    void SortTexts(TIter first, TIter last, size_t depth);
    // A run of entries with equal heads, ordered by their full values.
    void OrderTies(TIter first, TIter last);

    TMemRow* FirstMissing(const TEngineSearch& search, const TEngineSearchTerm& term) const;

    TMemStorage& FStorage;
    int FColumn;
    TMemIndexOrder FOrder;
    TEntries FEntries;                 // rows with a value: by value, then table order
    std::vector<TMemRow*> FMissing;    // rows without one, in table order
};
