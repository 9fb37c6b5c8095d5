// The collection's side of sort marking: sort indexes and the sort-marked
// list, kept in step as the titles' markers change.

#include "grid/columns/ColumnsHostGx.h"
#include "grid/columns/DBGridColumnsGx.h"

void TDBGridColumnsGx::SortMarkerChanging(TColumnGx& column, TSortMarkerGx value)
{
    TColumnTitleGx& title = *column.Title();
    if (FHost && FHost->MultiSortMarking()) {
        if (value != smNoneGx && title.FSortIndex == 0) {
            int marked = 0;
            for (const auto& other : FItems)
                if (other->Title()->FSortIndex > 0)
                    ++marked;
            title.FSortIndex = marked + 1;
            FSortMarkedColumns.Add(&column);
        } else if (value == smNoneGx && title.FSortIndex > 0) {
            ForgetSortMarks(column);
            title.FSortIndex = 0;
        }
        return;
    }
    if (value != smNoneGx) {
        for (const auto& other : FItems) {
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

void TDBGridColumnsGx::ExchangeSortIndex(TColumnGx& column, int sortIndex)
{
    TColumnGx* holder = nullptr;
    for (const auto& other : FItems)
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

void TDBGridColumnsGx::ClearSortMarkers(TColumnGx* except)
{
    for (int i = 0; i < Count(); ++i) {
        TColumnGx* column = (*this)[i];
        if (column != except && column->Title()->SortMarker() != smNoneGx)
            column->Title()->SetSortMarker(smNoneGx);
    }
}

void TDBGridColumnsGx::KeepOneSortMarker()
{
    while (FSortMarkedColumns.Count() > 1)
        FSortMarkedColumns[FSortMarkedColumns.Count() - 1]->Title()->SetSortMarker(smNoneGx);
}

void TDBGridColumnsGx::ForgetSortMarks(TColumnGx& column)
{
    const int sortIndex = column.Title()->FSortIndex;
    if (sortIndex > 0)
        for (const auto& other : FItems)
            if (other.get() != &column && other->Title()->FSortIndex > sortIndex)
                --other->Title()->FSortIndex;
    FSortMarkedColumns.Remove(&column);
}
