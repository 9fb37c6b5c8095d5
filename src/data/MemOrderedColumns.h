#pragma once
// Which columns of a memory table hold their rows in an order that a search
// can use as it stands, such as codes appended in rising order.  Each
// inserted or changed row is checked against its neighbours, which costs a
// comparison or two; a column once out of order stays so until the table
// is emptied.  A search on an ordered column is a binary search through
// the table's own order: there is no index to build or to keep.

#include "data/MemIndexKeys.h"
#include "data/engine/EngineSearch.h"

#include <array>
#include <vector>

class TMemStorage;
struct TMemRow;

class TMemOrderedColumns {
public:
    // Every column counts as ordered (an empty table).
    explicit TMemOrderedColumns(const TMemStorage& storage);

    void Reset();
    // Checks the row at a position after it was inserted or changed.
    void Check(TMemStorage& storage, size_t pos);
    bool IsOrdered(int column, TMemIndexOrder order) const;
    // Whether any column is still in some order (else nothing needs checking).
    bool AnyOrdered() const { return FAnyOrdered; }

    // The first row, in the table's order, that matches every term of the
    // search, `term` being on a column ordered by `order`; nullptr when none.
    static TMemRow* FindFirst(TMemStorage& storage, TMemIndexOrder order, const TEngineSearch& search,
                              const TEngineSearchTerm& term);

private:
    static constexpr size_t Orders = 3;
    std::vector<bool> FTextColumn;                       // searched in the text orders
    std::vector<std::array<bool, Orders>> FOrdered;      // by column, by TMemIndexOrder
    bool FAnyOrdered = true;
};
