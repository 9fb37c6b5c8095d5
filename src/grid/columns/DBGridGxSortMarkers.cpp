// The grid's side of sort marking: sort indexes and the sort-marked list.

#include "grid/DBGridGx.h"

// ---- sort markers ---------------------------------------------------------

void TCustomDBGridGx::SortMarkerChanging(TColumnGx& column, TSortMarkerGx value)
{
    TColumnTitleGx& title = *column.Title();
    if (FOptionsGx.Contains(dghMultiSortMarking)) {
        if (value != smNoneGx && title.FSortIndex == 0) {
            int marked = 0;
            for (const auto& other : *FColumns)
                if (other->Title()->FSortIndex > 0)
                    ++marked;
            title.FSortIndex = marked + 1;
            FSortMarkedColumns.Add(&column);
        } else if (value == smNoneGx && title.FSortIndex > 0) {
            for (const auto& other : *FColumns)
                if (other->Title()->FSortIndex > title.FSortIndex)
                    --other->Title()->FSortIndex;
            FSortMarkedColumns.Remove(&column);
            title.FSortIndex = 0;
        }
        return;
    }
    if (value != smNoneGx) {
        for (const auto& other : *FColumns) {
            TColumnTitleGx& otherTitle = *other->Title();
            if (other.get() == &column || (otherTitle.FSortMarker == smNoneGx && otherTitle.FSortIndex == 0))
                continue;
            otherTitle.FSortMarker = smNoneGx;
            otherTitle.FSortIndex = 0;
            other->Changed(false);
        }
        title.FSortIndex = 1;
        FSortMarkedColumns.Clear();
        FSortMarkedColumns.Add(&column);
    } else {
        title.FSortIndex = 0;
        FSortMarkedColumns.Clear();
    }
}

void TCustomDBGridGx::ExchangeSortIndex(TColumnGx& column, int sortIndex)
{
    TColumnGx* holder = nullptr;
    for (const auto& other : *FColumns)
        if (other.get() != &column && other->Title()->FSortMarker != smNoneGx &&
            other->Title()->FSortIndex == sortIndex)
            holder = other.get();
    if (!holder)
        return;
    std::swap(column.Title()->FSortIndex, holder->Title()->FSortIndex);
    int a = FSortMarkedColumns.IndexOf(&column);
    int b = FSortMarkedColumns.IndexOf(holder);
    if (a >= 0 && b >= 0)
        FSortMarkedColumns.Exchange(a, b);
    holder->Changed(false);
    column.Changed(false);
}

void TCustomDBGridGx::ClearSortMarkers(TColumnGx* except)
{
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* column = (*FColumns)[i];
        if (column != except && column->Title()->SortMarker() != smNoneGx)
            column->Title()->SetSortMarker(smNoneGx);
    }
}
