// Scrolling the grid through its dataset: the link's window moving, the
// vertical scroll bar in its two modes, the horizontal tracking rule, the
// mouse wheel and the timed scroll of a drag held beyond the grid.

#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/input/DBGridGxToolTips.h"

#include "data/DataSet.h"
#include "grid/GridDataLinkGx.h"

#include <cstdlib>

namespace {
// Positions of the three-position scroll bar.
enum { ThumbAtFirst = 0, ThumbPageUp = 1, ThumbInside = 2, ThumbPageDown = 3, ThumbAtLast = 4 };
}  // namespace

// The summary list numbers the records of a dataset that cannot number
// them itself, while it keeps its record list (VirtualRecords); otherwise
// the dataset's own numbers count.
TDBSumListProducer* TDBGridGxRowWindow::NumberingList() const
{
    TDataSet* dataSet = D.FDataLink->DataSet();
    TDBGridGxSumList& list = D.FFooterSummaries->SumList();
    return dataSet && list.DataSet() == dataSet && list.ServesRecordNumbers() ? &list : nullptr;
}

bool TDBGridGxRowWindow::RecordsNumbered() const
{
    TDataSet* dataSet = D.FDataLink->DataSet();
    if (!dataSet)
        return false;
    if (const TDBGridGxSumList* list = NumberingList())
        return list->HasRecordNumbers();
    return dataSet->IsSequenced();
}

int64_t TDBGridGxRowWindow::RecordNumber() const
{
    if (TDBGridGxSumList* list = NumberingList())
        return list->RecNo();
    return D.FDataLink->DataSet()->RecNo();
}

int64_t TDBGridGxRowWindow::RecordTotal() const
{
    if (const TDBGridGxSumList* list = NumberingList())
        return list->RecordCount();
    return D.FDataLink->DataSet()->RecordCount();
}

void TDBGridGxRowWindow::GoToRecordNumber(int64_t recNo)
{
    if (TDBGridGxSumList* list = NumberingList())
        list->SetRecNo(recNo);
    else
        D.FDataLink->DataSet()->SetRecNo(recNo);
}

void TDBGridGxRowWindow::ScrollRows(int distance)
{
    if (!FGrid.HandleAllocated())
        return;
    const int oldRow = FGrid.Row();
    FGrid.InvalidateRow(oldRow);
    if (D.FDataLink->ActiveRecord() >= FGrid.RowCount() - D.FTitleRows)
        UpdateRowWindow();
    UpdateVertScrollBarFittingColumns();
    SyncCurrentRow();
    FGrid.InvalidateRow(FGrid.Row());

    if (distance != 0) {
        FGrid.HideEditor();
        if (std::abs(distance) > VisibleDataRowCount()) {
            FGrid.InvalidateGrid();
            if (D.FOptions.Contains(dgAlwaysShowEditor))
                FGrid.ShowEditor();
            return;
        }
        InvalidateIndicator();
        const int lastDataRow = D.FFooterRowCount > 0 ? FGrid.RowCount() - D.FFooterRowCount - 2 : -1;
        FGrid.ScrollRowBand(D.FTitleRows, lastDataRow, -RowPitch() * distance);
        // The pixels of the former current row moved with the band.
        const int movedOldRow = oldRow - distance;
        if (movedOldRow >= D.FTitleRows && movedOldRow < FGrid.RowCount())
            FGrid.InvalidateRow(movedOldRow);
        if (D.FOptions.Contains(dgIndicator))
            FGrid.InvalidateRow(FGrid.Row());
        if (D.FOptions.Contains(dgAlwaysShowEditor))
            FGrid.ShowEditor();
    }
    InvalidateFooters();
    if (D.FUpdateLock == 0)
        FGrid.Update();
}

void TDBGridGxRowWindow::RefreshFromData()
{
    if (!FGrid.HandleAllocated())
        return;
    UpdateRowWindow();
    UpdateVertScrollBarFittingColumns();
    SyncCurrentRow();
    FGrid.RefreshEditor();
    D.FFooterSummaries->DataChanged();
    FGrid.InvalidateGrid();
}

void TDBGridGxRowWindow::UpdateVertScrollBarFittingColumns()
{
    const bool wasShown = FGrid.IsScrollBarShown(sbVertical);
    UpdateVertScrollBar();
    if (D.FAutoFitColWidths && FGrid.IsScrollBarShown(sbVertical) != wasShown)
        FGrid.DeferLayout();
}

void TDBGridGxRowWindow::UpdateVertScrollBar()
{
    TDataSet* dataSet = D.FDataLink->DataSet();
    if (!D.FDataLink->Active() || !dataSet || !FGrid.HandleAllocated())
        return;
    TScrollInfo info = D.FVertScrollWanted;
    if (RecordsNumbered()) {
        info.Min = 1;
        info.Page = VisibleDataRowCount();
        info.Max = static_cast<int>(std::min<int64_t>(RecordTotal() + info.Page - 1, INT32_MAX));
        TDataSetState state = dataSet->State();
        if (state == dsInactive || state == dsBrowse || state == dsEdit)
            info.Pos = static_cast<int>(RecordNumber());
    } else {
        info.Min = ThumbAtFirst;
        info.Max = ThumbAtLast;
        info.Page = 0;
        info.Pos = dataSet->Bof() ? ThumbAtFirst : dataSet->Eof() ? ThumbAtLast : ThumbInside;
    }
    if (!D.FVertScrollBar.Visible())
        info.Max = info.Min;
    // Written only when it changed; the bar's own range is looked at too,
    // since changing the base grid's scroll-bar style clears it.
    if (info == D.FVertScrollWanted && info.Max == FGrid.GetScrollInfo(sbVertical).Max)
        return;
    D.FVertScrollWanted = info;
    FGrid.SetScrollInfo(sbVertical, info);
}

void TCustomDBGridGx::VScroll(TScrollCode code, int pos)
{
    TDataSet* dataSet = D->FDataLink->DataSet();
    if (!D->FDataLink->Active() || !dataSet || !TakeFocus())
        return;
    try {
        switch (code) {
        case scLineUp:
            dataSet->MoveBy(-(D->FDataLink->ActiveRecord() + 1));
            break;
        case scLineDown:
            dataSet->MoveBy(D->FDataLink->RecordCount() - D->FDataLink->ActiveRecord());
            break;
        case scPageUp:
            dataSet->MoveBy(-RowWindowOf(*this).VisibleDataRowCount());
            break;
        case scPageDown:
            dataSet->MoveBy(RowWindowOf(*this).VisibleDataRowCount());
            break;
        case scTrack:
            // Only a numbered bar can follow its thumb record by record.
            if (D->FVertScrollBar.Tracking() && RowWindowOf(*this).RecordsNumbered()) {
                dataSet->MoveBy(static_cast<int>(pos - RowWindowOf(*this).RecordNumber()));
                D->FThumbTracked = true;
            }
            break;
        case scPosition:
            RowWindowOf(*this).ThumbReleased(*dataSet, pos);
            break;
        case scTop:
            dataSet->First();
            break;
        case scBottom:
            dataSet->Last();
            break;
        }
    } catch (...) {
        RowWindowOf(*this).ShowThumbAtPosition();
        throw;
    }
    RowWindowOf(*this).ShowThumbAtPosition();
}

void TDBGridGxRowWindow::ThumbReleased(TDataSet& dataSet, int pos)
{
    if (D.FThumbTracked) {
        D.FThumbTracked = false;
        return;
    }
    if (RecordsNumbered()) {
        if (pos <= 1)
            dataSet.First();
        else if (pos >= RecordTotal())
            dataSet.Last();
        else
            GoToRecordNumber(pos);
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

void TDBGridGxRowWindow::ShowThumbAtPosition()
{
    // The thumb goes back to where the data put it, also when the action
    // moved nothing.
    if (FGrid.HandleAllocated())
        FGrid.SetScrollInfo(sbVertical, FGrid.GetScrollInfo(sbVertical));
}

void TCustomDBGridGx::HScroll(TScrollCode code, int pos)
{
    if (code == scTrack && D->FHorzScrollBar.Tracking())
        code = scPosition;
    TCustomGrid::HScroll(code, pos);
}

void TCustomDBGridGx::TopLeftChanged()
{
    if (D && D->FMouse)
        D->FMouse->ToolTips().Hide();
    TCustomGrid::TopLeftChanged();
}

bool TCustomDBGridGx::DoMouseWheelDown(TShiftState /*shift*/, const QPoint& /*pos*/)
{
    if (D->FEditorHost->WheelToDropDown(true))
        return true;
    if (TDataSet* dataSet = D->FDataLink->DataSet(); dataSet && D->FDataLink->Active())
        dataSet->MoveBy(1);
    return true;
}

bool TCustomDBGridGx::DoMouseWheelUp(TShiftState /*shift*/, const QPoint& /*pos*/)
{
    if (D->FEditorHost->WheelToDropDown(false))
        return true;
    if (TDataSet* dataSet = D->FDataLink->DataSet(); dataSet && D->FDataLink->Active())
        dataSet->MoveBy(-1);
    return true;
}

void TCustomDBGridGx::TimedScroll(TGridScrollDirections direction)
{
    TDataSet* dataSet = D->FDataLink->DataSet();
    if (dataSet && D->FDataLink->Active()) {
        if (direction.Contains(sdUp))
            dataSet->MoveBy(-(D->FDataLink->ActiveRecord() + 1));
        if (direction.Contains(sdDown))
            dataSet->MoveBy(D->FDataLink->RecordCount() - D->FDataLink->ActiveRecord());
    }
    TGridScrollDirections sideways = direction * TGridScrollDirections{sdLeft, sdRight};
    if (!sideways.Empty())
        TCustomGrid::TimedScroll(sideways);
}
