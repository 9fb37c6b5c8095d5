#include "data/MemOrderedColumns.h"

#include "data/MemColumnIndex.h"
#include "data/MemCursor.h"

namespace {

constexpr TMemIndexOrder AllOrders[] = {TMemIndexOrder::Values, TMemIndexOrder::Text, TMemIndexOrder::FoldedText};

bool IsTextColumn(TFieldType type)
{
    return IsStringType(type) || type == ftMemo || type == ftFmtMemo;
}

// The first of the rows [0, count) for which `below` is false, `below`
// being true for a leading run of them.
template <typename Below>
size_t FirstNotBelow(size_t count, Below below)
{
    size_t lo = 0, hi = count;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (below(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

TMemOrderedColumns::TMemOrderedColumns(const TMemStorage& storage)
{
    for (const TEngineFieldDef& def : storage.FieldDefs())
        FTextColumn.push_back(IsTextColumn(def.DataType));
    Reset();
}

void TMemOrderedColumns::Reset()
{
    FOrdered.assign(FTextColumn.size(), {});
    for (size_t c = 0; c < FTextColumn.size(); ++c)
        for (TMemIndexOrder order : AllOrders)
            FOrdered[c][static_cast<size_t>(order)] = IsTextOrder(order) == FTextColumn[c];
    FAnyOrdered = !FTextColumn.empty();
}

void TMemOrderedColumns::Check(TMemStorage& storage, size_t pos)
{
    if (!FAnyOrdered)
        return;
    const TMemRow* row = storage.At(pos);
    const TMemRow* before = pos > 0 ? storage.At(pos - 1) : nullptr;
    const TMemRow* after = pos + 1 < storage.Count() ? storage.At(pos + 1) : nullptr;
    for (size_t c = 0; c < FOrdered.size(); ++c)
        for (TMemIndexOrder order : AllOrders) {
            bool& ordered = FOrdered[c][static_cast<size_t>(order)];
            if (!ordered)
                continue;
            const TVariant& value = row->Values[c];
            ordered = (before == nullptr || CompareIndexValues(order, before->Values[c], value) <= 0) &&
                      (after == nullptr || CompareIndexValues(order, value, after->Values[c]) <= 0);
        }
    FAnyOrdered = false;
    for (const auto& orders : FOrdered)
        for (bool ordered : orders)
            FAnyOrdered = FAnyOrdered || ordered;
}

bool TMemOrderedColumns::IsOrdered(int column, TMemIndexOrder order) const
{
    return column >= 0 && static_cast<size_t>(column) < FOrdered.size() &&
           FOrdered[static_cast<size_t>(column)][static_cast<size_t>(order)];
}

TMemRow* TMemOrderedColumns::FindFirst(TMemStorage& storage, TMemIndexOrder order, const TEngineSearch& search,
                                       const TEngineSearchTerm& term)
{
    const auto column = static_cast<size_t>(term.Column);
    const auto valueAt = [&](size_t pos) -> const TVariant& { return storage.At(pos)->Values[column]; };
    const size_t count = storage.Count();
    // Missing values come first; equal values, and the texts that start
    // with a prefix, follow one another, the first in the table first.
    const auto firstMatch = [&](size_t from, auto matches) -> TMemRow* {
        for (size_t pos = from; pos < count && matches(valueAt(pos)); ++pos)
            if (MemRowMatchesOtherTerms(*storage.At(pos), search, term))
                return storage.At(pos);
        return nullptr;
    };
    if (term.Key.IsNullOrEmpty())
        return firstMatch(0, [](const TVariant& v) { return v.IsNullOrEmpty(); });
    const TVariant key = term.Text ? TVariant(term.Key.AsString()) : term.Key;
    const uint64_t keyHead = IndexHead(order, key);
    const auto compare = [&](const TVariant& v) { return CompareIndexValues(order, IndexHead(order, v), v, keyHead, key); };
    const size_t first = FirstNotBelow(count, [&](size_t pos) {
        const TVariant& v = valueAt(pos);
        return v.IsNullOrEmpty() || compare(v) < 0;
    });
    if (!(term.Text && search.Partial))
        return firstMatch(first, [&](const TVariant& v) { return compare(v) == 0; });
    std::string keyScratch, scratch;
    const std::string_view prefix = IndexTextKey(order, key, keyScratch);
    return firstMatch(first, [&](const TVariant& v) { return IndexTextKey(order, v, scratch).starts_with(prefix); });
}
