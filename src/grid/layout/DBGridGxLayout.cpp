// The grid's layout locks, its layout pass (columns, fixed columns, widths,
// tab stops and the row window; the heights are in DBGridGxLayoutHeights,
// the sharing of the width in DBGridGxAutoFit), and the change
// notification of its columns.

#include "grid/DBGridGx.h"

#include "grid/GridDataLinkGx.h"

#include "data/Fields.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <unordered_set>

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

// ---- the layout pass --------------------------------------------------------

void TCustomDBGridGx::RebuildLayout()
{
    ++FLayoutPassCount;
    DropDeferredLayout();
    RebuildColumns();
    RebuildVisibleColumns();
    ApplyGridDimensions(FrozenInvisibleCount());
    LayoutRowHeight();
    LayoutCellMetrics();
    LayoutTitleHeight();
    ApplyScrollBarStyle();
    ApplyColumnWidths();
    ApplyTabStops();
    if (FAutoFitColWidths)
        DistributeAutoFitWidths();
    LayoutTitleLines();
    ApplyColumnWidths();
    RebuildRowWindow();
}

void TCustomDBGridGx::DropDeferredLayout()
{
    if (!FDeferredLayoutPosted)
        return;
    QCoreApplication::removePostedEvents(this, DeferredLayoutEvent);
    FDeferredLayoutPosted = false;
}

void TCustomDBGridGx::RebuildColumns()
{
    FreeDefaultColumnsBeforeUserColumns();
    FIndicatorCols = FOptions.Contains(dgIndicator) ? 1 : 0;
    FDataLink->ClearFieldMap();
    if (FDataLink->Active())
        FDataLink->BuildFieldMap();
    MatchColumnsToFieldMap();
}

void TCustomDBGridGx::FreeDefaultColumnsBeforeUserColumns()
{
    TDBGridColumnsGx& columns = *FColumns;
    bool defaultSeen = false;
    for (const auto& column : columns) {
        if (!column->IsUserColumn()) {
            defaultSeen = true;
        } else if (defaultSeen) {
            for (int i = columns.Count() - 1; i >= 0; --i)
                if (!columns[i]->IsUserColumn())
                    columns.Delete(i);
            return;
        }
    }
}

void TCustomDBGridGx::MatchColumnsToFieldMap()
{
    TDBGridColumnsGx& columns = *FColumns;
    if (columns.State() == csCustomized) {
        // Each column looks its field up by name again.
        for (const auto& column : columns)
            column->FField.Reset();
        return;
    }

    std::vector<TField*> fields;
    fields.reserve(static_cast<size_t>(FDataLink->FieldMapCount()));
    for (int i = 0; i < FDataLink->FieldMapCount(); ++i)
        fields.push_back(FDataLink->MappedField(i));
    TDataSet* dataSet = FDataLink->DataSet();
    bool persistentFields = dataSet && !dataSet->DefaultFields() && dataSet->FieldCount() > 0;
    if (FDataLink->Active() || persistentFields) {
        std::unordered_set<TField*> mapped(fields.begin(), fields.end());
        for (int i = columns.Count() - 1; i >= 0; --i) {
            TField* field = columns[i]->Field();
            if (!field || mapped.count(field) == 0)
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

void TCustomDBGridGx::RebuildVisibleColumns()
{
    FVisibleColumns.Clear();
    for (const auto& column : *FColumns)
        if (column->Visible())
            FVisibleColumns.Add(column.get());
}

int TCustomDBGridGx::FrozenInvisibleCount() const
{
    const TDBGridColumnsGx& columns = *FColumns;
    int invisible = 0;
    int visible = 0;
    int i = 0;
    // Every invisible column met widens the frozen range by one.
    for (; i < columns.Count() && visible < FFrozenCols; ++i) {
        if (columns[i]->Visible())
            ++visible;
        else
            ++invisible;
    }
    for (; i < columns.Count() && !columns[i]->Visible(); ++i)
        ++invisible;
    // With nothing visible one column has to stay scrollable.
    if (FVisibleColumns.Empty() && invisible > 0)
        --invisible;
    return invisible;
}

void TCustomDBGridGx::ApplyGridDimensions(int frozenInvisible)
{
    SetColCount(FColumns->Count() + FIndicatorCols);
    int fixed = FIndicatorCols + frozenInvisible;
    if (FDataLink->Active() || FColumns->State() == csCustomized)
        fixed += FFrozenCols;
    // More frozen columns than there are leave the last one scrolling.
    SetFixedCols(std::min(fixed, ColCount() - 1));
    FTitleRows = FOptions.Contains(dgTitles) ? 1 : 0;
}

void TCustomDBGridGx::ApplyScrollBarStyle()
{
    // The vertical bar is set from the dataset (UpdateVertScrollBar); the
    // base grid keeps at most the horizontal one.
    bool horizontal = !FAutoFitColWidths && FHorzScrollBar.Visible();
    SetScrollBars(horizontal ? ssHorizontal : ssNone);
}

void TCustomDBGridGx::ApplyColumnWidths()
{
    if (FIndicatorCols > 0)
        SetColWidths(0, IndicatorWidth);
    for (const auto& column : *FColumns)
        ApplyColumnWidth(*column);
}

void TCustomDBGridGx::ApplyColumnWidth(TColumnGx& column)
{
    int raw = DataToRawColumn(column.Index());
    if (raw < 0 || raw >= ColCount())
        return;
    int width = column.Visible() ? column.Width() : (FOptions.Contains(dgColLines) ? -1 : 0);
    SetColWidths(raw, width);
}

void TCustomDBGridGx::ApplyTabStops()
{
    for (int i = 0; i < FColumns->Count(); ++i) {
        int raw = DataToRawColumn(i);
        if (raw < ColCount())
            SetTabStops(raw, IsTabStopColumn(*(*FColumns)[i]));
    }
}

bool TCustomDBGridGx::IsTabStopColumn(const TColumnGx& column) const
{
    if (!column.Visible() || column.ReadOnly() || !FDataLink->Active())
        return false;
    TField* field = column.Field();
    if (!field || field->Calculated())
        return false;
    if (field->Lookup() && !field->KeyFields.empty()) {
        // A lookup field is edited through its key fields.
        TDataSet* dataSet = field->DataSet();
        if (!dataSet)
            return false;
        for (const std::string& name : SplitFieldNames(field->KeyFields)) {
            TField* key = dataSet->FindField(name);
            if (key && !key->ReadOnly())
                return true;
        }
        return false;
    }
    return !field->ReadOnly();
}

void TCustomDBGridGx::RebuildRowWindow()
{
    if (!HandleAllocated()) {
        // The rows follow the window's height, which a grid not yet shown
        // does not have: the row window is built when the window comes
        // (CreateWnd).  Until then the title rows are in place.
        if (RowCount() <= FTitleRows)
            SetRowCount(FTitleRows + 1);
        SetFixedRows(FTitleRows);
    } else if (FOptions.Contains(dgRowSelect)) {
        // Rebuilding the rows of a row-select grid scrolls it back to its
        // first column: nothing is painted until the view is back.
        QScopedValueRollback<bool> suppressed(FPaintSuppressed, true);
        const int leftCol = LeftCol();
        UpdateRowWindow();
        if (leftCol >= FixedCols() && leftCol < ColCount() && leftCol != LeftCol())
            SetLeftCol(leftCol);
    } else {
        UpdateRowWindow();
    }
    SyncCurrentRow();
    InvalidateGrid();
    if (FSelectionModel)
        FSelectionModel->LayoutRebuilt();
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
