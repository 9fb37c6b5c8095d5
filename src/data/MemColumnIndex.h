#pragma once
// An order of a memory table's rows by the values of one column, built the
// first time a search needs it and kept in step with every insert, change
// and delete of a row.  Rows with equal values keep the table's order among
// themselves, so the first row of a run of equal values is the first such
// row of the table.  Finding a value, or the texts that start with a given
// text, is then a binary search instead of a walk through the table.

#include "data/engine/EngineSearch.h"

#include <cstdint>
#include <string>
#include <vector>

class TMemStorage;
struct TMemRow;

enum class TMemIndexOrder {
    Values,       // by TVariant::Compare
    Text,         // by the bytes of the values' texts
    FoldedText    // by those bytes with ASCII letters folded to lower case
};

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
        TMemRow* Row = nullptr;
        uint64_t Head = 0;      // orders entries wherever heads differ: for texts the
                                // first 8 bytes, big-endian, 0-padded; for numbers
                                // their order-keeping bits
        bool Missing = false;   // the value is Null
    };
    using TEntries = std::vector<TEntry>;

    bool IsText() const { return FOrder != TMemIndexOrder::Values; }
    bool Folded() const { return FOrder == TMemIndexOrder::FoldedText; }
    const TVariant& ValueOf(const TMemRow* row) const;
    TEntry EntryFor(TMemRow* row, const TVariant& value) const;
    // Two sides by value alone (<0, 0, >0), missing values first.  A side
    // is an entry of a row, or a probe entry with its key given.
    int Compare(const TEntry& a, const TVariant* aKey, const TEntry& b, const TVariant* bKey) const;
    int CompareEntries(const TEntry& a, const TEntry& b) const { return Compare(a, nullptr, b, nullptr); }
    // Entries by value, then by place in the table.
    bool Before(const TEntry& a, const TEntry& b) const;
    TEntries::iterator Locate(const TEntry& entry);
    bool RowMatchesOtherTerms(const TMemRow* row, const TEngineSearch& search, const TEngineSearchTerm& term) const;

    TMemStorage& FStorage;
    int FColumn;
    TMemIndexOrder FOrder;
    TEntries FEntries;
};
