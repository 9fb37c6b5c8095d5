// The row window: grid rows follow the data link's buffered records, with
// the footer rows and their filler fitted below the data rows.

#include "grid/DBGridGx.h"

#include "data/DataSet.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"

#include <QScopedValueRollback>

#include <algorithm>

int TCustomDBGridGx::RowPitch() const
{
    return DefaultRowHeight() + (FOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
}

int TCustomDBGridGx::RecordIndexOfRow(int row) const
{
    int record = row - FTitleRows;
    if (record < 0 || !FDataLink->Active() || record >= FDataLink->RecordCount())
        return -1;
    if (FFooterRowCount > 0 && row >= RowCount() - FFooterRowCount - 1)
        return -1;
    return record;
}

int TCustomDBGridGx::VisibleDataRowCount() const
{
    int rows = VisibleRowCount();
    if (FFooterRowCount == 0)
        return rows;
    return std::max(rows - FFooterRowCount - 1, 1);
}

void TCustomDBGridGx::SetRowCountKeepingRow(int count)
{
    if (Row() >= count && count > FixedRows())
        MoveToRow(count - 1);
    SetRowCount(count);
}

void TCustomDBGridGx::MoveToRow(int row)
{
    QScopedValueRollback<bool> syncing(FSyncingRow, true);
    MoveColRow(Col(), row, true, false);
}

void TCustomDBGridGx::ResetRowHeights()
{
    int titleHeight = RowHeights(0);
    SetDefaultRowHeight(DefaultRowHeight());
    SetRowHeights(0, titleHeight);
}

void TCustomDBGridGx::UpdateRowWindow()
{
    int oldRowCount = RowCount();
    if (FTitleRows >= RowCount())
        SetRowCount(FTitleRows + 1);
    SetFixedRows(FTitleRows);

    if (FDataLink->Active() && FDataLink->RecordCount() > 0) {
        SetRowCount(1000);
        ResetRowHeights();
        FDataLink->SetBufferCount(std::max(VisibleRowCount(), 1));
        SetRowCountKeepingRow(FDataLink->RecordCount() + FTitleRows);
        if (FOptions.Contains(dgRowSelect))
            SetTopRow(FTitleRows);
        if (FFooterRowCount > 0)
            FitFooters();
        SyncCurrentRow();
    } else {
        if (Row() != FTitleRows && RowCount() > FTitleRows)
            MoveToRow(FTitleRows);
        SetRowCount(FTitleRows + 1);
        if (HandleAllocated())
            ResetRowHeights();
        if (FFooterRowCount > 0) {
            int free = ClientHeight() - GridHeight();
            SetRowCount(RowCount() + 1 + FFooterRowCount);
            SetRowHeights(FTitleRows + 1, std::max(free - RowPitch() * FFooterRowCount - 1, 0));
        }
    }
    if (RowCount() != oldRowCount)
        InvalidateGrid();
}

void TCustomDBGridGx::FitFooters()
{
    const int footers = FFooterRowCount;
    const int pitch = RowPitch();
    const int block = pitch * footers;
    const int free = ClientHeight() - GridHeight();
    const int records = FDataLink->RecordCount();
    const int rowHeight = DefaultRowHeight();
    auto fillerRow = [&] { return RowCount() - footers - 1; };
    // Titles, the link's records, the filler and the footers.
    auto fitRowsToBuffers = [&](int buffers) {
        FDataLink->SetBufferCount(buffers);
        SetRowCountKeepingRow(FTitleRows + FDataLink->RecordCount() + 1 + footers);
    };

    if (block < free) {
        SetRowCount(RowCount() + footers + 1);
        SetRowHeights(fillerRow(), free - block - 1);
        return;
    }
    if (rowHeight < free && free <= block) {
        if (block - free < pitch * records) {
            int k = (block - free) / pitch;
            int buffers = records - (k + 1);
            if (buffers > 0) {
                fitRowsToBuffers(buffers);
                int t = (free + 1) % pitch;
                SetRowHeights(fillerRow(), t == 0 || t == 1 ? rowHeight + t - 1 : t - 2);
                return;
            }
        }
        MinimalFooterLayout(0);
        return;
    }
    if (free == 0 || free == -1) {
        int buffers = FDataLink->BufferCount() - footers - 1;
        if (buffers <= 0) {
            MinimalFooterLayout(0);
            return;
        }
        fitRowsToBuffers(buffers);
        SetRowHeights(fillerRow(), free == 0 ? rowHeight : rowHeight - 1);
        return;
    }
    int buffers = FDataLink->BufferCount() - footers - (free == rowHeight ? 1 : 0);
    if (buffers > 1) {
        fitRowsToBuffers(buffers);
        SetRowHeights(fillerRow(), free - 1);
        return;
    }
    int lines = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    int titleAndFirstRow = (FTitleRows > 0 ? RowHeights(0) + lines : 0) + rowHeight + lines;
    MinimalFooterLayout(std::max(ClientHeight() - block - titleAndFirstRow, 0));
}

void TCustomDBGridGx::MinimalFooterLayout(int fillerHeight)
{
    FDataLink->SetBufferCount(1);
    SetRowCountKeepingRow(FTitleRows + FFooterRowCount + 2);
    SetRowHeights(FTitleRows + 1, fillerHeight);
}

void TCustomDBGridGx::SyncCurrentRow()
{
    if (!FDataLink->Active() || !HandleAllocated())
        return;
    int target = FDataLink->ActiveRecord() + FTitleRows;
    if (target != Row() && target < RowCount()) {
        if (!FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        MoveToRow(target);
        RefreshEditor();
    }
    TInplaceEdit* editor = InplaceEditor();
    TField* field = CurrentField();
    if (editor && field && editor->text() != QString::fromStdString(EditorTextOf(*field)))
        RefreshEditor();
}

TField* TCustomDBGridGx::CurrentField() const
{
    int index = RawToDataColumn(Col());
    if (index < 0 || index >= FColumns->Count())
        return nullptr;
    return (*FColumns)[index]->Field();
}

void TCustomDBGridGx::RefreshEditor()
{
    if (EditorMode())
        InvalidateEditor();
}

void TCustomDBGridGx::InvalidateFooters()
{
    for (int i = 0; i < FFooterRowCount; ++i) {
        int row = RowCount() - 1 - i;
        if (row >= FTitleRows)
            InvalidateRow(row);
    }
}

void TCustomDBGridGx::InvalidateIndicator()
{
    if (FOptions.Contains(dgIndicator) && FIndicatorRow >= 0 && FIndicatorRow < RowCount())
        InvalidateCell(0, FIndicatorRow);
}

// ---- keeping the view around long walks over the dataset -------------------

void TCustomDBGridGx::SaveViewPosition()
{
    TDataSet* dataSet = FDataLink->DataSet();
    if (!FDataLink->Active() || !dataSet)
        return;
    int records = FDataLink->RecordCount();
    int offset = FDataLink->ActiveRecord() - records / 2 + (records + 1) % 2;
    dataSet->MoveBy(-offset);
    FSavedBookmark = dataSet->Bookmark();
    FSavedOffset = offset;
    dataSet->MoveBy(offset);
}

void TCustomDBGridGx::RestoreViewPosition()
{
    TDataSet* dataSet = FDataLink->DataSet();
    if (!FDataLink->Active() || !dataSet || FSavedBookmark.empty())
        return;
    dataSet->GotoBookmark(FSavedBookmark);
    dataSet->MoveBy(FSavedOffset);
}
