#include "data/MemColumnIndex.h"

#include "data/MemCursor.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

unsigned char ByteOf(char c, bool folded)
{
    return static_cast<unsigned char>(folded ? FoldSearchChar(c) : c);
}

uint64_t HeadOf(const std::string& text, bool folded)
{
    uint64_t head = 0;
    for (size_t i = 0; i < sizeof head; ++i)
        head = head << 8 | (i < text.size() ? ByteOf(text[i], folded) : 0u);
    return head;
}

// A head that orders numbers as TVariant::Compare does wherever two heads
// differ: the number as a double (rounding never reverses an order), its
// bits turned so that unsigned order is numeric order, a NaN lowest.  Other
// values sort after every number and are told apart by their full values.
uint64_t NumericHeadOf(const TVariant& value)
{
    double d;
    switch (value.VarType()) {
    case varBoolean: case varInteger: case varInt64: d = static_cast<double>(value.AsInt64()); break;
    case varDouble: case varCurrency: case varDate: d = value.AsDouble(); break;
    default: return UINT64_MAX;
    }
    if (std::isnan(d))
        return 0;
    if (d == 0)
        d = 0;   // -0 equals 0
    const uint64_t bits = std::bit_cast<uint64_t>(d);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

int CompareTexts(const std::string& a, const std::string& b, bool folded)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = ByteOf(a[i], folded), y = ByteOf(b[i], folded);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

TMemColumnIndex::TMemColumnIndex(TMemStorage& storage, int column, TMemIndexOrder order)
    : FStorage(storage), FColumn(column), FOrder(order)
{
    FEntries.reserve(storage.Count());
    for (size_t i = 0; i < storage.Count(); ++i) {
        TMemRow* row = storage.At(i);
        FEntries.push_back(EntryFor(row, ValueOf(row)));
    }
    // The entries start in table order; a stable sort keeps it among equal values.
    std::stable_sort(FEntries.begin(), FEntries.end(),
                     [this](const TEntry& a, const TEntry& b) { return CompareEntries(a, b) < 0; });
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

TMemColumnIndex::TEntry TMemColumnIndex::EntryFor(TMemRow* row, const TVariant& value) const
{
    TEntry entry;
    entry.Row = row;
    entry.Missing = value.IsNullOrEmpty();
    if (!entry.Missing)
        entry.Head = IsText() ? HeadOf(value.AsString(), Folded()) : NumericHeadOf(value);
    return entry;
}

int TMemColumnIndex::Compare(const TEntry& a, const TVariant* aKey, const TEntry& b, const TVariant* bKey) const
{
    if (a.Missing || b.Missing)
        return a.Missing == b.Missing ? 0 : (a.Missing ? -1 : 1);
    if (a.Head != b.Head)
        return a.Head < b.Head ? -1 : 1;
    const TVariant& x = aKey ? *aKey : ValueOf(a.Row);
    const TVariant& y = bKey ? *bKey : ValueOf(b.Row);
    if (!IsText())
        return TVariant::Compare(x, y);
    return CompareTexts(x.AsString(), y.AsString(), Folded());
}

bool TMemColumnIndex::Before(const TEntry& a, const TEntry& b) const
{
    const int c = CompareEntries(a, b);
    if (c != 0)
        return c < 0;
    return FStorage.PositionOf(a.Row) < FStorage.PositionOf(b.Row);
}

TMemColumnIndex::TEntries::iterator TMemColumnIndex::Locate(const TEntry& entry)
{
    return std::lower_bound(FEntries.begin(), FEntries.end(), entry,
                            [this](const TEntry& a, const TEntry& b) { return Before(a, b); });
}

void TMemColumnIndex::Add(TMemRow* row)
{
    const TEntry entry = EntryFor(row, ValueOf(row));
    FEntries.insert(Locate(entry), entry);
}

void TMemColumnIndex::Remove(TMemRow* row)
{
    auto it = Locate(EntryFor(row, ValueOf(row)));
    if (it == FEntries.end() || it->Row != row)
        it = std::find_if(FEntries.begin(), FEntries.end(), [row](const TEntry& e) { return e.Row == row; });
    if (it != FEntries.end())
        FEntries.erase(it);
}

bool TMemColumnIndex::RowMatchesOtherTerms(const TMemRow* row, const TEngineSearch& search,
                                           const TEngineSearchTerm& term) const
{
    for (const TEngineSearchTerm& other : search.Terms)
        if (&other != &term && !SearchTermMatches(search, other, row->Values[static_cast<size_t>(other.Column)]))
            return false;
    return true;
}

TMemRow* TMemColumnIndex::FindFirst(const TEngineSearch& search, const TEngineSearchTerm& term)
{
    const TVariant key = term.Key.IsNullOrEmpty() ? TVariant::Null() : term.Text ? TVariant(term.Key.AsString()) : term.Key;
    const TEntry probe = EntryFor(nullptr, key);
    auto below = [&](const TEntry& e) { return Compare(e, nullptr, probe, &key) < 0; };
    const auto first = std::partition_point(FEntries.begin(), FEntries.end(), below);
    const bool prefix = term.Text && search.Partial && !probe.Missing;
    if (!prefix) {
        // Equal values sit in table order: the first full match is the answer.
        for (auto it = first; it != FEntries.end() && Compare(*it, nullptr, probe, &key) == 0; ++it)
            if (RowMatchesOtherTerms(it->Row, search, term))
                return it->Row;
        return nullptr;
    }
    // The texts that start with the key follow it as one run, in text order:
    // the answer is the one placed first in the table.
    const std::string keyText = key.AsString();
    const auto last = std::partition_point(first, FEntries.end(), [&](const TEntry& e) {
        return !e.Missing && SearchTextMatches(ValueOf(e.Row).AsString(), keyText, search.CaseInsensitive, true);
    });
    TMemRow* best = nullptr;
    size_t bestPos = 0;
    for (auto it = first; it != last; ++it) {
        if (!RowMatchesOtherTerms(it->Row, search, term))
            continue;
        const size_t pos = FStorage.PositionOf(it->Row);
        if (best == nullptr || pos < bestPos)
            best = it->Row, bestPos = pos;
    }
    return best;
}
