// The grid's layout locks, its layout pass so far, and the change
// notification of its columns.

#include "grid/DBGridGx.h"

#include "grid/GridDataLinkGx.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>

namespace {
// The private event that runs a deferred layout pass.
const QEvent::Type DeferredLayoutEvent = static_cast<QEvent::Type>(QEvent::User + 100);

const int IndicatorWidth = 11;
}  // namespace

// ---- layout ---------------------------------------------------------------

void TCustomDBGridGx::LockLayout()
{
    LockUpdate();
    if (FLayoutLock == 0)
        FColumns->BeginUpdate();
    ++FLayoutLock;
}

void TCustomDBGridGx::UnlockLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1) {
        try {
            if (!FDestroying)
                RebuildLayout();
        } catch (...) {
            ReleaseLayout();
            throw;
        }
    }
    ReleaseLayout();
}

void TCustomDBGridGx::ReleaseLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1)
        FColumns->EndUpdate();
    --FLayoutLock;
    UnlockUpdate();
}

bool TCustomDBGridGx::TryLockLayout()
{
    if (FUpdateLock != 0 || FLayoutLock != 0)
        return false;
    LockLayout();
    return true;
}

void TCustomDBGridGx::UnlockUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
}

void TCustomDBGridGx::RequestLayout()
{
    ++FLayoutRequestCount;
    if (FDestroying)
        return;
    if (TryLockLayout())
        UnlockLayout();
}

void TCustomDBGridGx::PostDeferredLayout()
{
    if (FDeferredLayoutPosted)
        return;
    FDeferredLayoutPosted = true;
    QCoreApplication::postEvent(this, new QEvent(DeferredLayoutEvent));
}

bool TCustomDBGridGx::event(QEvent* e)
{
    if (e->type() == DeferredLayoutEvent) {
        FDeferredLayoutPosted = false;
        if (TryLockLayout())
            UnlockLayout();
        else
            PostDeferredLayout();
        return true;
    }
    return TCustomGrid::event(e);
}

void TCustomDBGridGx::RebuildLayout()
{
    ++FLayoutPassCount;
    if (FDeferredLayoutPosted) {
        QCoreApplication::removePostedEvents(this, DeferredLayoutEvent);
        FDeferredLayoutPosted = false;
    }
    FIndicatorCols = FOptions.Contains(dgIndicator) ? 1 : 0;
    FTitleRows = FOptions.Contains(dgTitles) ? 1 : 0;
    RebuildColumns();

    SetColCount(std::max(FColumns->Count(), 1) + FIndicatorCols);
    SetFixedCols(FIndicatorCols);
    if (RowCount() <= FTitleRows)
        SetRowCount(FTitleRows + 1);
    SetFixedRows(FTitleRows);
    if (FIndicatorCols > 0)
        SetColWidths(0, IndicatorWidth);
    for (const auto& column : *FColumns)
        ApplyColumnWidth(*column);
    if (FSelectionModel)
        FSelectionModel->LayoutRebuilt();
    InvalidateGrid();
}

void TCustomDBGridGx::RebuildColumns()
{
    TDBGridColumnsGx& columns = *FColumns;

    // A user column after a default one: the default columns go.
    bool defaultSeen = false;
    for (const auto& column : columns) {
        if (!column->IsUserColumn()) {
            defaultSeen = true;
        } else if (defaultSeen) {
            for (int i = columns.Count() - 1; i >= 0; --i)
                if (!columns[i]->IsUserColumn())
                    columns.Delete(i);
            break;
        }
    }

    if (columns.State() == csCustomized) {
        for (const auto& column : columns)
            column->FField.Reset();
        return;
    }

    std::vector<TField*> fields = FDataLink->VisibleFields();
    TDataSet* dataSet = FDataLink->DataSet();
    bool persistentFields = dataSet && !dataSet->DefaultFields() && dataSet->FieldCount() > 0;
    if (FDataLink->Active() || persistentFields) {
        for (int i = columns.Count() - 1; i >= 0; --i) {
            TField* field = columns[i]->Field();
            if (!field || std::find(fields.begin(), fields.end(), field) == fields.end())
                columns.Delete(i);
        }
    } else {
        columns.Clear();
    }

    int positions = static_cast<int>(fields.size());
    if (positions == 0 && columns.Count() == 0)
        positions = 1;
    for (int i = 0; i < positions; ++i) {
        TField* field = i < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(i)] : nullptr;
        int found = -1;
        for (int j = i; j < columns.Count() && found < 0; ++j)
            if (columns[j]->Field() == field)
                found = j;
        if (found < 0) {
            columns.AddDefaultColumn()->SetField(field);
            found = columns.Count() - 1;
        }
        columns.Move(found, i);
    }
}

void TCustomDBGridGx::ApplyColumnWidth(TColumnGx& column)
{
    int raw = DataToRawColumn(column.Index());
    if (raw < 0 || raw >= ColCount())
        return;
    int width = column.Visible() ? column.Width() : (FOptions.Contains(dgColLines) ? -1 : 0);
    SetColWidths(raw, width);
}

// ---- the column change notification ----------------------------------------

void TCustomDBGridGx::ColumnsChanged(TColumnGx* item)
{
    if (FDestroying)
        return;
    if (!item) {
        RequestLayout();
    } else {
        int raw = DataToRawColumn(item->Index());
        if (raw >= 0 && raw < ColCount()) {
            InvalidateCol(raw);
            if (!FAutoFitColWidths) {
                if (ColWidths(raw) == item->Width()) {
                    if (FUseMultiTitle)
                        RequestLayout();
                } else {
                    ApplyColumnWidth(*item);
                }
            } else if (ColWidths(raw) != -1) {
                // The column was sized by hand: its share of the auto-fit
                // width changes, the next column takes up the difference.
                int current = ColWidths(raw);
                int oldBase = item->BaseWidth();
                int newBase = current > 0
                                  ? static_cast<int>(static_cast<int64_t>(oldBase) * item->Width() / current)
                                  : oldBase;
                item->SetBaseWidth(newBase);
                int next = item->Index() + 1;
                if (next < FColumns->Count()) {
                    TColumnGx* nextColumn = (*FColumns)[next];
                    nextColumn->SetBaseWidth(std::max(0, nextColumn->BaseWidth() + oldBase - newBase));
                }
                RequestLayout();
            }
        }
    }
    MoveOffInvisibleColumn();
}

void TCustomDBGridGx::MoveOffInvisibleColumn()
{
    int current = RawToDataColumn(Col());
    if (current < 0 || current >= FColumns->Count() || (*FColumns)[current]->Visible())
        return;
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (!(*FColumns)[i]->Visible())
            continue;
        int raw = DataToRawColumn(i);
        if (raw >= FixedCols() && raw < ColCount())
            SetCol(raw);
        return;
    }
}
