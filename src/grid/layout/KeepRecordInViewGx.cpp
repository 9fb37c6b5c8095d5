#include "grid/layout/KeepRecordInViewGx.h"

#include "data/DataLink.h"

TKeepRecordInViewGx::TKeepRecordInViewGx(TDataLink& link) : FLink(link)
{
    TDataSet* dataSet = link.DataSet();
    if (!link.Active() || !dataSet)
        return;
    FBookmark = dataSet->Bookmark();
    FRow = link.ActiveRecord();
}

bool TKeepRecordInViewGx::Restore()
{
    TDataSet* dataSet = FLink.DataSet();
    if (FBookmark.empty() || !FLink.Active() || !dataSet || !dataSet->BookmarkValid(FBookmark))
        return false;
    dataSet->GotoBookmark(FBookmark);
    PlaceInRow(FRow);
    return true;
}

void TKeepRecordInViewGx::PlaceInRow(int row)
{
    TDataSet& dataSet = *FLink.DataSet();
    int shown = FLink.ActiveRecord();
    if (shown == row)
        return;
    // Moving inside the window moves nothing but the current record; moving
    // past its edge scrolls the window by the excess.
    int inside, beyond;
    if (shown > row) {
        inside = dataSet.MoveBy(FLink.RecordCount() - 1 - shown);
        beyond = dataSet.MoveBy(shown - row);
    } else {
        inside = dataSet.MoveBy(-shown);
        beyond = dataSet.MoveBy(shown - row);
    }
    dataSet.MoveBy(-(inside + beyond));
}
