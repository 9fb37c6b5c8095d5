#include "data/MemColumnIndex.h"

#include "data/MemCursor.h"
#include "data/MemIndexSort.h"

#include <algorithm>

bool MemRowMatches(const TMemRow& row, const TEngineSearch& search, const TEngineSearchTerm* except)
{
    for (const TEngineSearchTerm& term : search.Terms)
        if (&term != except && !SearchTermMatches(search, term, row.Values[static_cast<size_t>(term.Column)]))
            return false;
    return true;
}

TMemColumnIndex::TMemColumnIndex(TMemStorage& storage, int column, TMemIndexOrder order)
    : FStorage(storage), FColumn(column), FOrder(order)
{
    FAdded.reserve(storage.Count());
    for (size_t i = 0; i < storage.Count(); ++i)
        AddInTableOrder(storage.At(i));
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

int TMemColumnIndex::Compare(const TMemIndexEntry& entry, uint64_t head, const TVariant& value) const
{
    return CompareIndexValues(FOrder, entry.Head, ValueOf(entry.Row), head, value);
}

bool TMemColumnIndex::Before(const TMemIndexEntry& a, const TMemIndexEntry& b) const
{
    const int c = Compare(a, b.Head, ValueOf(b.Row));
    if (c != 0)
        return c < 0;
    return FStorage.PositionOf(a.Row) < FStorage.PositionOf(b.Row);
}

TMemColumnIndex::TPlace TMemColumnIndex::Locate(const TMemIndexEntry& entry) const
{
    return FEntries.PartitionPoint([&](const TMemIndexEntry& e) { return Before(e, entry); });
}

// The place of the entry of a row, the end when it has none.
TMemColumnIndex::TPlace TMemColumnIndex::Find(const TMemIndexEntry& entry) const
{
    const TPlace place = Locate(entry);
    if (!FEntries.AtEnd(place) && FEntries.At(place).Row == entry.Row)
        return place;
    // Not where its value puts it (its value was changed behind the index's back).
    for (TPlace p = FEntries.Begin(); !FEntries.AtEnd(p); p = FEntries.Next(p))
        if (FEntries.At(p).Row == entry.Row)
            return p;
    return {FEntries.BlockCount(), 0};
}

std::vector<TMemRow*>::iterator TMemColumnIndex::LocateMissing(TMemRow* row)
{
    return std::lower_bound(FMissing.begin(), FMissing.end(), row, [this](TMemRow* a, TMemRow* b) {
        return FStorage.PositionOf(a) < FStorage.PositionOf(b);
    });
}

// ---- keeping in step

void TMemColumnIndex::Add(TMemRow* row)
{
    // A row appended at the table's end follows every row added before it.
    FAddedInTableOrder = FAddedInTableOrder && FStorage.At(FStorage.Count() - 1) == row;
    AddInTableOrder(row);
}

void TMemColumnIndex::AddInTableOrder(TMemRow* row)
{
    const TVariant& value = ValueOf(row);
    if (value.IsNullOrEmpty())
        FMissing.insert(LocateMissing(row), row);
    else
        FAdded.push_back({IndexHead(FOrder, value), row});
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
    Settle();
    const TPlace place = Find({IndexHead(FOrder, value), row});
    if (!FEntries.AtEnd(place))
        FEntries.Erase(place);
}

void TMemColumnIndex::Settle()
{
    if (FAdded.empty())
        return;
    // Rows inserted amid the table arrive out of its order: equal values
    // must follow it.
    if (!FAddedInTableOrder)
        std::sort(FAdded.begin(), FAdded.end(), [this](const TMemIndexEntry& a, const TMemIndexEntry& b) {
            return FStorage.PositionOf(a.Row) < FStorage.PositionOf(b.Row);
        });
    SortIndexEntries(FOrder, FColumn, FAdded.data(), FAdded.data() + FAdded.size());
    // A few rows go into their places one by one; many are merged in one pass.
    if (FAdded.size() * 256 < FEntries.Size()) {
        for (const TMemIndexEntry& entry : FAdded)
            FEntries.Insert(Locate(entry), entry);
    } else {
        FEntries.MergeSorted(FAdded.data(), FAdded.data() + FAdded.size(),
                             [this](const TMemIndexEntry& a, const TMemIndexEntry& b) { return Before(a, b); });
    }
    decltype(FAdded)().swap(FAdded);
    FAddedInTableOrder = true;
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
    Settle();
    const TVariant key = term.Text ? TVariant(term.Key.AsString()) : term.Key;
    const uint64_t keyHead = IndexHead(FOrder, key);
    const TPlace first = FEntries.PartitionPoint([&](const TMemIndexEntry& e) { return Compare(e, keyHead, key) < 0; });
    if (!(term.Text && search.Partial)) {
        // Equal values sit in table order: the first full match is the answer.
        for (TPlace p = first; !FEntries.AtEnd(p) && Compare(FEntries.At(p), keyHead, key) == 0; p = FEntries.Next(p))
            if (MemRowMatchesOtherTerms(*FEntries.At(p).Row, search, term))
                return FEntries.At(p).Row;
        return nullptr;
    }
    // The texts that start with the key follow it as one run, in text order:
    // the answer is the one placed first in the table.  Where many rows
    // share the prefix, one of them is likely near the table's start: the
    // table's leading rows, as many as the run holds, are tried first.
    std::string keyScratch, scratch;
    const std::string_view prefix = IndexTextKey(FOrder, key, keyScratch);
    const TPlace last = FEntries.PartitionPoint([&](const TMemIndexEntry& e) {
        return Compare(e, keyHead, key) < 0 || IndexTextKey(FOrder, ValueOf(e.Row), scratch).starts_with(prefix);
    });
    const size_t run = FEntries.Distance(first, last);
    if (run > LeadingRowsWorthTrying)
        if (TMemRow* row = FirstOfLeadingRows(search, run))
            return row;
    return FirstInTable(first, last, search, term);
}

TMemRow* TMemColumnIndex::FirstOfLeadingRows(const TEngineSearch& search, size_t count) const
{
    count = std::min(count, FStorage.Count());
    for (size_t pos = 0; pos < count; ++pos) {
        TMemRow* row = FStorage.At(pos);
        if (MemRowMatches(*row, search))
            return row;
    }
    return nullptr;
}

TMemRow* TMemColumnIndex::FirstInTable(TPlace first, TPlace last, const TEngineSearch& search,
                                       const TEngineSearchTerm& term) const
{
    TMemRow* best = nullptr;
    size_t bestPos = 0;
    for (TPlace p = first; p.Block != last.Block || p.Offset != last.Offset; p = FEntries.Next(p)) {
        TMemRow* row = FEntries.At(p).Row;
        const size_t pos = FStorage.PositionOf(row);
        if ((best == nullptr || pos < bestPos) && MemRowMatchesOtherTerms(*row, search, term))
            best = row, bestPos = pos;
    }
    return best;
}
