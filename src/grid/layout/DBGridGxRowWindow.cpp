// The row window: grid rows follow the data link's buffered records, with
// the footer rows and their filler fitted below the data rows.

#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "platform/ScopeGuard.h"

#include "data/DataSet.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"


#include <algorithm>

int TDBGridGxRowWindow::RowPitch() const
{
    return FGrid.DefaultRowHeight() + (D.FOptions.Contains(dgRowLines) ? FGrid.GridLineWidth() : 0);
}

int TDBGridGxRowWindow::RecordIndexOfRow(int row) const
{
    int record = row - D.FTitleRows;
    if (record < 0 || !D.FDataLink->Active() || record >= D.FDataLink->RecordCount())
        return -1;
    if (D.FFooterRowCount > 0 && row >= FGrid.RowCount() - D.FFooterRowCount - 1)
        return -1;
    return record;
}

int TDBGridGxRowWindow::VisibleDataRowCount() const
{
    int rows = FGrid.VisibleRowCount();
    if (D.FFooterRowCount == 0)
        return rows;
    return std::max(rows - D.FFooterRowCount - 1, 1);
}

int TDBGridGxRowWindow::IndicatorRow() const { return D.FIndicatorRow; }

void TDBGridGxRowWindow::SetIndicatorRow(int row) { D.FIndicatorRow = row; }

bool TDBGridGxRowWindow::SyncingRow() const { return D.FSyncingRow; }

void TDBGridGxRowWindow::SetRowCountKeepingRow(int count)
{
    if (FGrid.Row() >= count && count > FGrid.FixedRows())
        MoveToRow(count - 1);
    FGrid.SetRowCount(count);
}

void TDBGridGxRowWindow::MoveToRow(int row)
{
    TValueRollback<bool> syncing(D.FSyncingRow, true);
    FGrid.MoveColRow(FGrid.Col(), row, true, false);
}

void TDBGridGxRowWindow::ResetRowHeights()
{
    int titleHeight = FGrid.RowHeights(0);
    FGrid.SetDefaultRowHeight(FGrid.DefaultRowHeight());
    FGrid.SetRowHeights(0, titleHeight);
}

void TDBGridGxRowWindow::UpdateRowWindow()
{
    int oldRowCount = FGrid.RowCount();
    if (D.FTitleRows >= FGrid.RowCount())
        FGrid.SetRowCount(D.FTitleRows + 1);
    FGrid.SetFixedRows(D.FTitleRows);

    if (D.FDataLink->Active() && D.FDataLink->RecordCount() > 0) {
        FGrid.SetRowCount(1000);
        ResetRowHeights();
        D.FDataLink->SetBufferCount(std::max(FGrid.VisibleRowCount(), 1));
        SetRowCountKeepingRow(D.FDataLink->RecordCount() + D.FTitleRows);
        if (D.FOptions.Contains(dgRowSelect))
            FGrid.SetTopRow(D.FTitleRows);
        if (D.FFooterRowCount > 0)
            FitFooters();
        SyncCurrentRow();
    } else {
        if (FGrid.Row() != D.FTitleRows && FGrid.RowCount() > D.FTitleRows)
            MoveToRow(D.FTitleRows);
        FGrid.SetRowCount(D.FTitleRows + 1);
        if (FGrid.HandleAllocated())
            ResetRowHeights();
        if (D.FFooterRowCount > 0) {
            int free = FGrid.ClientHeight() - FGrid.GridHeight();
            FGrid.SetRowCount(FGrid.RowCount() + 1 + D.FFooterRowCount);
            FGrid.SetRowHeights(D.FTitleRows + 1, std::max(free - RowPitch() * D.FFooterRowCount - 1, 0));
        }
    }
    if (FGrid.RowCount() != oldRowCount)
        FGrid.InvalidateGrid();
}

void TDBGridGxRowWindow::FitFooters()
{
    const int footers = D.FFooterRowCount;
    const int pitch = RowPitch();
    const int block = pitch * footers;
    const int free = FGrid.ClientHeight() - FGrid.GridHeight();
    const int records = D.FDataLink->RecordCount();
    const int rowHeight = FGrid.DefaultRowHeight();
    auto fillerRow = [&] { return FGrid.RowCount() - footers - 1; };
    // Titles, the link's records, the filler and the footers.
    auto fitRowsToBuffers = [&](int buffers) {
        D.FDataLink->SetBufferCount(buffers);
        SetRowCountKeepingRow(D.FTitleRows + D.FDataLink->RecordCount() + 1 + footers);
    };

    if (block < free) {
        FGrid.SetRowCount(FGrid.RowCount() + footers + 1);
        FGrid.SetRowHeights(fillerRow(), free - block - 1);
        return;
    }
    if (rowHeight < free && free <= block) {
        if (block - free < pitch * records) {
            int k = (block - free) / pitch;
            int buffers = records - (k + 1);
            if (buffers > 0) {
                fitRowsToBuffers(buffers);
                int t = (free + 1) % pitch;
                FGrid.SetRowHeights(fillerRow(), t == 0 || t == 1 ? rowHeight + t - 1 : t - 2);
                return;
            }
        }
        MinimalFooterLayout(0);
        return;
    }
    if (free == 0 || free == -1) {
        int buffers = D.FDataLink->BufferCount() - footers - 1;
        if (buffers <= 0) {
            MinimalFooterLayout(0);
            return;
        }
        fitRowsToBuffers(buffers);
        FGrid.SetRowHeights(fillerRow(), free == 0 ? rowHeight : rowHeight - 1);
        return;
    }
    int buffers = D.FDataLink->BufferCount() - footers - (free == rowHeight ? 1 : 0);
    if (buffers > 1) {
        fitRowsToBuffers(buffers);
        FGrid.SetRowHeights(fillerRow(), free - 1);
        return;
    }
    int lines = D.FOptions.Contains(dgRowLines) ? FGrid.GridLineWidth() : 0;
    int titleAndFirstRow = (D.FTitleRows > 0 ? FGrid.RowHeights(0) + lines : 0) + rowHeight + lines;
    MinimalFooterLayout(std::max(FGrid.ClientHeight() - block - titleAndFirstRow, 0));
}

void TDBGridGxRowWindow::MinimalFooterLayout(int fillerHeight)
{
    D.FDataLink->SetBufferCount(1);
    SetRowCountKeepingRow(D.FTitleRows + D.FFooterRowCount + 2);
    FGrid.SetRowHeights(D.FTitleRows + 1, fillerHeight);
}

void TDBGridGxRowWindow::SyncCurrentRow()
{
    if (!D.FDataLink->Active() || !FGrid.HandleAllocated())
        return;
    int target = D.FDataLink->ActiveRecord() + D.FTitleRows;
    if (target != FGrid.Row() && target < FGrid.RowCount()) {
        if (!D.FOptions.Contains(dgAlwaysShowEditor))
            FGrid.HideEditor();
        MoveToRow(target);
        FGrid.RefreshEditor();
    }
    TInplaceEdit* editor = FGrid.InplaceEditor();
    TField* field = FGrid.CurrentField();
    if (editor && field && editor->text() != QString::fromStdString(D.FEditorHost->EditorTextOf(*field)))
        FGrid.RefreshEditor();
}

TField* TCustomDBGridGx::CurrentField() const
{
    int index = RawToDataColumn(Col());
    if (index < 0 || index >= D->FColumns->Count())
        return nullptr;
    return (*D->FColumns)[index]->Field();
}

void TCustomDBGridGx::RefreshEditor()
{
    if (EditorMode())
        InvalidateEditor();
}

void TDBGridGxRowWindow::InvalidateFooters()
{
    for (int i = 0; i < D.FFooterRowCount; ++i) {
        int row = FGrid.RowCount() - 1 - i;
        if (row >= D.FTitleRows)
            FGrid.InvalidateRow(row);
    }
}

void TDBGridGxRowWindow::InvalidateIndicator()
{
    if (D.FOptions.Contains(dgIndicator) && D.FIndicatorRow >= 0 && D.FIndicatorRow < FGrid.RowCount())
        FGrid.InvalidateCell(0, D.FIndicatorRow);
}

// ---- keeping the view around long walks over the dataset -------------------

void TCustomDBGridGx::SaveViewPosition()
{
    TDataSet* dataSet = D->FDataLink->DataSet();
    if (!D->FDataLink->Active() || !dataSet)
        return;
    int records = D->FDataLink->RecordCount();
    int offset = D->FDataLink->ActiveRecord() - records / 2 + (records + 1) % 2;
    dataSet->MoveBy(-offset);
    D->FSavedBookmark = dataSet->Bookmark();
    D->FSavedOffset = offset;
    dataSet->MoveBy(offset);
}

void TCustomDBGridGx::RestoreViewPosition()
{
    TDataSet* dataSet = D->FDataLink->DataSet();
    if (!D->FDataLink->Active() || !dataSet || D->FSavedBookmark.empty())
        return;
    dataSet->GotoBookmark(D->FSavedBookmark);
    dataSet->MoveBy(D->FSavedOffset);
}

TDBGridGxRowWindow RowWindowOf(TCustomDBGridGx& grid)
{
    return TDBGridGxRowWindow(grid, TDBGridGxPrivate::Of(grid));
}
