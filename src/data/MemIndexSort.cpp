#include "data/MemIndexSort.h"

#include "data/HeadRadixSort.h"
#include "data/MemCursor.h"

#include <algorithm>

namespace {

class TEntrySorter {
public:
    TEntrySorter(TMemIndexOrder order, int column) : FOrder(order), FColumn(static_cast<size_t>(column)) {}

    void Sort(TMemIndexEntry* first, TMemIndexEntry* last) const
    {
        // Radix sorting is stable: entries with equal heads keep their order.
        RadixSortByHead(first, last);
        for (TMemIndexEntry* run = first; run != last;) {
            TMemIndexEntry* const end = RunEnd(run, last);
            const bool tie = end - run > 1 && !std::all_of(run, end, [this](const TMemIndexEntry& e) {
                return IndexHeadIsWholeKey(FOrder, ValueOf(e));   // equal heads, equal values
            });
            if (tie)
                IsTextOrder(FOrder) ? SortTexts(run, end, 8) : OrderTies(run, end);
            run = end;
        }
    }

private:
    const TVariant& ValueOf(const TMemIndexEntry& entry) const { return entry.Row->Values[FColumn]; }

    // The end of the run of entries from `run` on that share its head.
    static TMemIndexEntry* RunEnd(TMemIndexEntry* run, TMemIndexEntry* last)
    {
        return std::find_if(run + 1, last, [run](const TMemIndexEntry& e) { return e.Head != run->Head; });
    }

    // Entries whose texts agree in their first `depth` bytes.
    void SortTexts(TMemIndexEntry* first, TMemIndexEntry* last, size_t depth) const
    {
        std::string scratch;
        const bool longer = std::any_of(first, last, [&](const TMemIndexEntry& e) {
            return IndexTextKey(FOrder, ValueOf(e), scratch).size() > depth;
        });
        if (!longer) {
            OrderTies(first, last);   // texts that differ, if at all, in trailing 0 bytes
            return;
        }
        const uint64_t head = first->Head;
        for (TMemIndexEntry* it = first; it != last; ++it)
            it->Head = IndexHead(FOrder, ValueOf(*it), depth);
        RadixSortByHead(first, last);
        for (TMemIndexEntry* run = first; run != last;) {
            TMemIndexEntry* const end = RunEnd(run, last);
            if (end - run > 1)
                SortTexts(run, end, depth + 8);
            run = end;
        }
        for (TMemIndexEntry* it = first; it != last; ++it)
            it->Head = head;
    }

    // A run of entries with equal heads, ordered by their full values.
    void OrderTies(TMemIndexEntry* first, TMemIndexEntry* last) const
    {
        const auto byValue = [this](const TMemIndexEntry& a, const TMemIndexEntry& b) {
            return CompareIndexValues(FOrder, a.Head, ValueOf(a), b.Head, ValueOf(b)) < 0;
        };
        if (!std::is_sorted(first, last, byValue))
            std::stable_sort(first, last, byValue);
    }

    TMemIndexOrder FOrder;
    size_t FColumn;
};

} // namespace

void SortIndexEntries(TMemIndexOrder order, int column, TMemIndexEntry* first, TMemIndexEntry* last)
{
    TEntrySorter(order, column).Sort(first, last);
}
