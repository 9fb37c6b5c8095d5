#include "data/MemColumnIndex.h"

#include "data/HeadRadixSort.h"
#include "data/MemCursor.h"

#include <algorithm>

bool MemRowMatchesOtherTerms(const TMemRow& row, const TEngineSearch& search, const TEngineSearchTerm& term)
{
    for (const TEngineSearchTerm& other : search.Terms)
        if (&other != &term && !SearchTermMatches(search, other, row.Values[static_cast<size_t>(other.Column)]))
            return false;
    return true;
}

TMemColumnIndex::TMemColumnIndex(TMemStorage& storage, int column, TMemIndexOrder order)
    : FStorage(storage), FColumn(column), FOrder(order)
{
    FEntries.reserve(storage.Count());
    for (size_t i = 0; i < storage.Count(); ++i) {
        TMemRow* row = storage.At(i);
        const TVariant& value = ValueOf(row);
        if (value.IsNullOrEmpty())
            FMissing.push_back(row);
        else
            FEntries.push_back({IndexHead(FOrder, value), row});
    }
    SortEntries();
}

TMemIndexOrder TMemColumnIndex::OrderFor(const TEngineSearch& search, const TEngineSearchTerm& term)
{
    if (!term.Text)
        return TMemIndexOrder::Values;
    return search.CaseInsensitive ? TMemIndexOrder::FoldedText : TMemIndexOrder::Text;
}

const TVariant& TMemColumnIndex::ValueOf(const TMemRow* row) const
{
    return row->Values[static_cast<size_t>(FColumn)];
}

int TMemColumnIndex::Compare(const TEntry& entry, uint64_t head, const TVariant& value) const
{
    return CompareIndexValues(FOrder, entry.Head, ValueOf(entry.Row), head, value);
}

bool TMemColumnIndex::Before(const TEntry& a, const TEntry& b) const
{
    const int c = Compare(a, b.Head, ValueOf(b.Row));
    if (c != 0)
        return c < 0;
    return FStorage.PositionOf(a.Row) < FStorage.PositionOf(b.Row);
}

TMemColumnIndex::TIter TMemColumnIndex::Locate(const TEntry& entry)
{
    return std::lower_bound(FEntries.begin(), FEntries.end(), entry,
                            [this](const TEntry& a, const TEntry& b) { return Before(a, b); });
}

std::vector<TMemRow*>::iterator TMemColumnIndex::LocateMissing(TMemRow* row)
{
    return std::lower_bound(FMissing.begin(), FMissing.end(), row, [this](TMemRow* a, TMemRow* b) {
        return FStorage.PositionOf(a) < FStorage.PositionOf(b);
    });
}

// ---- building

void TMemColumnIndex::SortEntries()
{
    // Radix sorting is stable: entries with equal heads stay in table order.
    RadixSortByHead(FEntries.data(), FEntries.data() + FEntries.size());
    for (auto first = FEntries.begin(); first != FEntries.end();) {
        const auto last = std::find_if(first + 1, FEntries.end(), [&](const TEntry& e) { return e.Head != first->Head; });
        const bool tie = last - first > 1 && !std::all_of(first, last, [this](const TEntry& e) {
            return IndexHeadIsWholeKey(FOrder, ValueOf(e.Row));   // equal heads, equal values
        });
        if (tie)
            IsTextOrder(FOrder) ? SortTexts(first, last, 8) : OrderTies(first, last);
        first = last;
    }
}

void TMemColumnIndex::SortTexts(TIter first, TIter last, size_t depth)
{
    std::string scratch;
    const bool longer = std::any_of(first, last, [&](const TEntry& e) {
        return IndexTextKey(FOrder, ValueOf(e.Row), scratch).size() > depth;
    });
    if (!longer) {
        OrderTies(first, last);   // texts that differ, if at all, in trailing 0 bytes
        return;
    }
    const uint64_t head = first->Head;
    for (auto it = first; it != last; ++it)
        it->Head = IndexHead(FOrder, ValueOf(it->Row), depth);
    RadixSortByHead(&*first, &*first + (last - first));
    for (auto run = first; run != last;) {
        const auto end = std::find_if(run + 1, last, [&](const TEntry& e) { return e.Head != run->Head; });
        if (end - run > 1)
            SortTexts(run, end, depth + 8);
        run = end;
    }
    for (auto it = first; it != last; ++it)
        it->Head = head;
}

void TMemColumnIndex::OrderTies(TIter first, TIter last)
{
    const auto byValue = [this](const TEntry& a, const TEntry& b) { return Compare(a, b.Head, ValueOf(b.Row)) < 0; };
    if (!std::is_sorted(first, last, byValue))
        std::stable_sort(first, last, byValue);
}

// ---- keeping in step

void TMemColumnIndex::Add(TMemRow* row)
{
    const TVariant& value = ValueOf(row);
    if (value.IsNullOrEmpty()) {
        FMissing.insert(LocateMissing(row), row);
        return;
    }
    const TEntry entry{IndexHead(FOrder, value), row};
    FEntries.insert(Locate(entry), entry);
}

void TMemColumnIndex::Remove(TMemRow* row)
{
    const TVariant& value = ValueOf(row);
    if (value.IsNullOrEmpty()) {
        auto it = LocateMissing(row);
        if (it == FMissing.end() || *it != row)
            it = std::find(FMissing.begin(), FMissing.end(), row);
        if (it != FMissing.end())
            FMissing.erase(it);
        return;
    }
    auto it = Locate({IndexHead(FOrder, value), row});
    if (it == FEntries.end() || it->Row != row)
        it = std::find_if(FEntries.begin(), FEntries.end(), [row](const TEntry& e) { return e.Row == row; });
    if (it != FEntries.end())
        FEntries.erase(it);
}

// ---- searching

TMemRow* TMemColumnIndex::FirstMissing(const TEngineSearch& search, const TEngineSearchTerm& term) const
{
    for (TMemRow* row : FMissing)
        if (MemRowMatchesOtherTerms(*row, search, term))
            return row;
    return nullptr;
}

TMemRow* TMemColumnIndex::FindFirst(const TEngineSearch& search, const TEngineSearchTerm& term)
{
    if (term.Key.IsNullOrEmpty())
        return FirstMissing(search, term);
    const TVariant key = term.Text ? TVariant(term.Key.AsString()) : term.Key;
    const uint64_t keyHead = IndexHead(FOrder, key);
    const auto first = std::partition_point(FEntries.begin(), FEntries.end(), [&](const TEntry& e) {
        return Compare(e, keyHead, key) < 0;
    });
    if (!(term.Text && search.Partial)) {
        // Equal values sit in table order: the first full match is the answer.
        for (auto it = first; it != FEntries.end() && Compare(*it, keyHead, key) == 0; ++it)
            if (MemRowMatchesOtherTerms(*it->Row, search, term))
                return it->Row;
        return nullptr;
    }
    // The texts that start with the key follow it as one run, in text order:
    // the answer is the one placed first in the table.
    std::string keyScratch, scratch;
    const std::string_view prefix = IndexTextKey(FOrder, key, keyScratch);
    const auto last = std::partition_point(first, FEntries.end(), [&](const TEntry& e) {
        return IndexTextKey(FOrder, ValueOf(e.Row), scratch).starts_with(prefix);
    });
    TMemRow* best = nullptr;
    size_t bestPos = 0;
    for (auto it = first; it != last; ++it) {
        const size_t pos = FStorage.PositionOf(it->Row);
        if ((best == nullptr || pos < bestPos) && MemRowMatchesOtherTerms(*it->Row, search, term))
            best = it->Row, bestPos = pos;
    }
    return best;
}
