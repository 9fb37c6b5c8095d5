// Scrolling the grid through its dataset: the link's window moving, the
// vertical scroll bar in its two modes, the horizontal tracking rule, the
// mouse wheel and the timed scroll of a drag held beyond the grid.

#include "grid/DBGridGx.h"

#include "data/DataSet.h"
#include "grid/GridDataLinkGx.h"

#include <cstdlib>

namespace {
// Positions of the three-position scroll bar.
enum { ThumbAtFirst = 0, ThumbPageUp = 1, ThumbInside = 2, ThumbPageDown = 3, ThumbAtLast = 4 };
}  // namespace

bool TCustomDBGridGx::RecordsNumbered() const
{
    TDataSet* dataSet = FDataLink->DataSet();
    return dataSet && dataSet->IsSequenced();
}

void TCustomDBGridGx::ScrollRows(int distance)
{
    if (!HandleAllocated())
        return;
    const int oldRow = Row();
    InvalidateRow(oldRow);
    if (FDataLink->ActiveRecord() >= RowCount() - FTitleRows)
        UpdateRowWindow();
    UpdateVertScrollBarFittingColumns();
    SyncCurrentRow();
    InvalidateRow(Row());

    if (distance != 0) {
        HideEditor();
        if (std::abs(distance) > VisibleDataRowCount()) {
            InvalidateGrid();
            if (FOptions.Contains(dgAlwaysShowEditor))
                ShowEditor();
            return;
        }
        InvalidateIndicator();
        const int lastDataRow = FFooterRowCount > 0 ? RowCount() - FFooterRowCount - 2 : -1;
        ScrollRowBand(FTitleRows, lastDataRow, -RowPitch() * distance);
        // The pixels of the former current row moved with the band.
        const int movedOldRow = oldRow - distance;
        if (movedOldRow >= FTitleRows && movedOldRow < RowCount())
            InvalidateRow(movedOldRow);
        if (FOptions.Contains(dgIndicator))
            InvalidateRow(Row());
        if (FOptions.Contains(dgAlwaysShowEditor))
            ShowEditor();
    }
    InvalidateFooters();
    if (FUpdateLock == 0)
        Update();
}

void TCustomDBGridGx::RefreshFromData()
{
    if (!HandleAllocated())
        return;
    UpdateRowWindow();
    UpdateVertScrollBarFittingColumns();
    SyncCurrentRow();
    RefreshEditor();
    InvalidateGrid();
}

void TCustomDBGridGx::UpdateVertScrollBarFittingColumns()
{
    const bool wasShown = IsScrollBarShown(sbVertical);
    UpdateVertScrollBar();
    if (FAutoFitColWidths && IsScrollBarShown(sbVertical) != wasShown)
        DeferLayout();
}

void TCustomDBGridGx::UpdateVertScrollBar()
{
    TDataSet* dataSet = FDataLink->DataSet();
    if (!FDataLink->Active() || !dataSet || !HandleAllocated())
        return;
    TScrollInfo info = FVertScrollWanted;
    if (RecordsNumbered()) {
        info.Min = 1;
        info.Page = VisibleDataRowCount();
        info.Max = static_cast<int>(std::min<int64_t>(dataSet->RecordCount() + info.Page - 1, INT32_MAX));
        TDataSetState state = dataSet->State();
        if (state == dsInactive || state == dsBrowse || state == dsEdit)
            info.Pos = static_cast<int>(dataSet->RecNo());
    } else {
        info.Min = ThumbAtFirst;
        info.Max = ThumbAtLast;
        info.Page = 0;
        info.Pos = dataSet->Bof() ? ThumbAtFirst : dataSet->Eof() ? ThumbAtLast : ThumbInside;
    }
    if (!FVertScrollBar.Visible())
        info.Max = info.Min;
    // Written only when it changed; the bar's own range is looked at too,
    // since changing the base grid's scroll-bar style clears it.
    if (info == FVertScrollWanted && info.Max == GetScrollInfo(sbVertical).Max)
        return;
    FVertScrollWanted = info;
    SetScrollInfo(sbVertical, info);
}

void TCustomDBGridGx::VScroll(TScrollCode code, int pos)
{
    TDataSet* dataSet = FDataLink->DataSet();
    if (!FDataLink->Active() || !dataSet || !TakeFocus())
        return;
    try {
        switch (code) {
        case scLineUp:
            dataSet->MoveBy(-(FDataLink->ActiveRecord() + 1));
            break;
        case scLineDown:
            dataSet->MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
            break;
        case scPageUp:
            dataSet->MoveBy(-VisibleDataRowCount());
            break;
        case scPageDown:
            dataSet->MoveBy(VisibleDataRowCount());
            break;
        case scTrack:
            // Only a numbered bar can follow its thumb record by record.
            if (FVertScrollBar.Tracking() && RecordsNumbered()) {
                dataSet->MoveBy(static_cast<int>(pos - dataSet->RecNo()));
                FThumbTracked = true;
            }
            break;
        case scPosition:
            ThumbReleased(*dataSet, pos);
            break;
        case scTop:
            dataSet->First();
            break;
        case scBottom:
            dataSet->Last();
            break;
        }
    } catch (...) {
        ShowThumbAtPosition();
        throw;
    }
    ShowThumbAtPosition();
}

void TCustomDBGridGx::ThumbReleased(TDataSet& dataSet, int pos)
{
    if (FThumbTracked) {
        FThumbTracked = false;
        return;
    }
    if (RecordsNumbered()) {
        if (pos <= 1)
            dataSet.First();
        else if (pos >= dataSet.RecordCount())
            dataSet.Last();
        else
            dataSet.SetRecNo(pos);
        return;
    }
    switch (pos) {
    case ThumbAtFirst:
        dataSet.First();
        break;
    case ThumbPageUp:
        dataSet.MoveBy(-VisibleDataRowCount());
        break;
    case ThumbPageDown:
        dataSet.MoveBy(VisibleDataRowCount());
        break;
    case ThumbAtLast:
        dataSet.Last();
        break;
    default:
        break;
    }
}

void TCustomDBGridGx::ShowThumbAtPosition()
{
    // The thumb goes back to where the data put it, also when the action
    // moved nothing.
    if (HandleAllocated())
        SetScrollInfo(sbVertical, GetScrollInfo(sbVertical));
}

void TCustomDBGridGx::HScroll(TScrollCode code, int pos)
{
    if (code == scTrack && FHorzScrollBar.Tracking())
        code = scPosition;
    TCustomGrid::HScroll(code, pos);
}

bool TCustomDBGridGx::DoMouseWheelDown(TShiftState /*shift*/, const QPoint& /*pos*/)
{
    if (TDataSet* dataSet = FDataLink->DataSet(); dataSet && FDataLink->Active())
        dataSet->MoveBy(1);
    return true;
}

bool TCustomDBGridGx::DoMouseWheelUp(TShiftState /*shift*/, const QPoint& /*pos*/)
{
    if (TDataSet* dataSet = FDataLink->DataSet(); dataSet && FDataLink->Active())
        dataSet->MoveBy(-1);
    return true;
}

void TCustomDBGridGx::TimedScroll(TGridScrollDirections direction)
{
    TDataSet* dataSet = FDataLink->DataSet();
    if (dataSet && FDataLink->Active()) {
        if (direction.Contains(sdUp))
            dataSet->MoveBy(-(FDataLink->ActiveRecord() + 1));
        if (direction.Contains(sdDown))
            dataSet->MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
    }
    TGridScrollDirections sideways = direction * TGridScrollDirections{sdLeft, sdRight};
    if (!sideways.Empty())
        TCustomGrid::TimedScroll(sideways);
}
