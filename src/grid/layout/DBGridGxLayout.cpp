// The grid's layout locks, its layout pass (columns, fixed columns, widths,
// tab stops and the row window; the heights are in DBGridGxLayoutHeights,
// the sharing of the width in DBGridGxAutoFit), and the change
// notification of its columns.

#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/input/DBGridGxEditActions.h"
#include "grid/layout/DBGridGxLayoutPass.h"
#include "platform/ScopeGuard.h"
#include "ui/ExceptionReport.h"

#include "grid/GridDataLinkGx.h"

#include "data/Fields.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QEvent>

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
    if (D->FLayoutLock == 0)
        D->FColumns->BeginUpdate();
    ++D->FLayoutLock;
}

void TCustomDBGridGx::UnlockLayout()
{
    if (D->FLayoutLock == 0)
        return;
    if (D->FLayoutLock == 1) {
        try {
            if (!D->FDestroying)
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
    if (D->FLayoutLock == 0)
        return;
    if (D->FLayoutLock == 1)
        D->FColumns->EndUpdate();
    --D->FLayoutLock;
    UnlockUpdate();
}

bool TCustomDBGridGx::TryLockLayout()
{
    if (D->FUpdateLock != 0 || D->FLayoutLock != 0)
        return false;
    LockLayout();
    return true;
}

void TCustomDBGridGx::UnlockUpdate()
{
    if (D->FUpdateLock > 0)
        --D->FUpdateLock;
}

void TCustomDBGridGx::RequestLayout()
{
    ++D->FLayoutRequestCount;
    if (D->FDestroying)
        return;
    if (TryLockLayout())
        UnlockLayout();
}

void TCustomDBGridGx::PostDeferredLayout()
{
    if (D->FDeferredLayoutPosted)
        return;
    D->FDeferredLayoutPosted = true;
    QCoreApplication::postEvent(this, new QEvent(DeferredLayoutEvent));
}

bool TCustomDBGridGx::event(QEvent* e)
{
    return RunEventHandler([&] {
        if (e->type() == DeferredLayoutEvent) {
            D->FDeferredLayoutPosted = false;
            if (TryLockLayout())
                UnlockLayout();
            else
                PostDeferredLayout();
            return true;
        }
        // The grid's edit keys win over window actions with the same shortcut.
        if (e->type() == QEvent::ShortcutOverride && StandardEditActionOf(*static_cast<QKeyEvent*>(e))) {
            e->accept();
            return true;
        }
        return TCustomGrid::event(e);
    });
}

// ---- the layout pass --------------------------------------------------------

void TCustomDBGridGx::RebuildLayout()
{
    TDBGridGxLayoutPass(*this, *D).Run();
}

void TDBGridGxLayoutPass::Run()
{
    ++D.FLayoutPassCount;
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
    if (D.FAutoFitColWidths)
        DistributeAutoFitWidths();
    LayoutTitleLines();
    ApplyColumnWidths();
    RebuildRowWindow();
}

void TDBGridGxLayoutPass::DropDeferredLayout()
{
    if (!D.FDeferredLayoutPosted)
        return;
    QCoreApplication::removePostedEvents(&FGrid, DeferredLayoutEvent);
    D.FDeferredLayoutPosted = false;
}

void TDBGridGxLayoutPass::RebuildColumns()
{
    D.FColumns->FreeDefaultColumnsBeforeUserColumns();
    D.FIndicatorCols = D.FOptions.Contains(dgIndicator) ? 1 : 0;
    D.FDataLink->ClearFieldMap();
    if (D.FDataLink->Active())
        D.FDataLink->BuildFieldMap();
    MatchColumnsToFieldMap();
}

void TDBGridGxLayoutPass::MatchColumnsToFieldMap()
{
    std::vector<TField*> fields;
    fields.reserve(static_cast<size_t>(D.FDataLink->FieldMapCount()));
    for (int i = 0; i < D.FDataLink->FieldMapCount(); ++i)
        fields.push_back(D.FDataLink->MappedField(i));
    TDataSet* dataSet = D.FDataLink->DataSet();
    bool persistentFields = dataSet && !dataSet->DefaultFields() && dataSet->FieldCount() > 0;
    D.FColumns->MatchToFields(fields, D.FDataLink->Active() || persistentFields);
}

void TDBGridGxLayoutPass::RebuildVisibleColumns()
{
    D.FVisibleColumns.Clear();
    for (const auto& column : *D.FColumns)
        if (column->Visible())
            D.FVisibleColumns.Add(column.get());
}

int TDBGridGxLayoutPass::FrozenInvisibleCount() const
{
    const TDBGridColumnsGx& columns = *D.FColumns;
    int invisible = 0;
    int visible = 0;
    int i = 0;
    // Every invisible column met widens the frozen range by one.
    for (; i < columns.Count() && visible < D.FFrozenCols; ++i) {
        if (columns[i]->Visible())
            ++visible;
        else
            ++invisible;
    }
    for (; i < columns.Count() && !columns[i]->Visible(); ++i)
        ++invisible;
    // With nothing visible one column has to stay scrollable.
    if (D.FVisibleColumns.Empty() && invisible > 0)
        --invisible;
    return invisible;
}

void TDBGridGxLayoutPass::ApplyGridDimensions(int frozenInvisible)
{
    FGrid.SetColCount(D.FColumns->Count() + D.FIndicatorCols);
    int fixed = D.FIndicatorCols + frozenInvisible;
    if (D.FDataLink->Active() || D.FColumns->State() == csCustomized)
        fixed += D.FFrozenCols;
    // More frozen columns than there are leave the last one scrolling.
    FGrid.SetFixedCols(std::min(fixed, FGrid.ColCount() - 1));
    D.FTitleRows = D.FOptions.Contains(dgTitles) ? 1 : 0;
}

void TDBGridGxLayoutPass::ApplyScrollBarStyle()
{
    // The vertical bar is set from the dataset (UpdateVertScrollBar); the
    // base grid keeps at most the horizontal one.
    bool horizontal = !D.FAutoFitColWidths && D.FHorzScrollBar.Visible();
    FGrid.SetScrollBars(horizontal ? ssHorizontal : ssNone);
}

void TDBGridGxLayoutPass::ApplyColumnWidths()
{
    if (D.FIndicatorCols > 0)
        FGrid.SetColWidths(0, IndicatorWidth);
    for (const auto& column : *D.FColumns)
        ApplyColumnWidth(*column);
}

void TDBGridGxLayoutPass::ApplyColumnWidth(TColumnGx& column)
{
    int raw = FGrid.DataToRawColumn(column.Index());
    if (raw < 0 || raw >= FGrid.ColCount())
        return;
    int width = column.Visible() ? column.Width() : (D.FOptions.Contains(dgColLines) ? -1 : 0);
    FGrid.SetColWidths(raw, width);
}

void TDBGridGxLayoutPass::ApplyTabStops()
{
    for (int i = 0; i < D.FColumns->Count(); ++i) {
        int raw = FGrid.DataToRawColumn(i);
        if (raw < FGrid.ColCount())
            FGrid.SetTabStops(raw, IsTabStopColumn(*(*D.FColumns)[i]));
    }
}

bool TDBGridGxLayoutPass::IsTabStopColumn(const TColumnGx& column) const
{
    if (!column.Visible() || column.ReadOnly() || !D.FDataLink->Active())
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

void TDBGridGxLayoutPass::RebuildRowWindow()
{
    if (!FGrid.HandleAllocated()) {
        // The rows follow the window's height, which a grid not yet shown
        // does not have: the row window is built when the window comes
        // (CreateWnd).  Until then the title rows are in place.
        if (FGrid.RowCount() <= D.FTitleRows)
            FGrid.SetRowCount(D.FTitleRows + 1);
        FGrid.SetFixedRows(D.FTitleRows);
    } else if (D.FOptions.Contains(dgRowSelect)) {
        // Rebuilding the rows of a row-select grid scrolls it back to its
        // first column: nothing is painted until the view is back.
        TValueRollback<bool> suppressed(D.FPaintSuppressed, true);
        const int leftCol = FGrid.LeftCol();
        RowWindowOf(FGrid).UpdateRowWindow();
        if (leftCol >= FGrid.FixedCols() && leftCol < FGrid.ColCount() && leftCol != FGrid.LeftCol())
            FGrid.SetLeftCol(leftCol);
    } else {
        RowWindowOf(FGrid).UpdateRowWindow();
    }
    RowWindowOf(FGrid).SyncCurrentRow();
    FGrid.InvalidateGrid();
    if (D.FSelectionModel)
        D.FSelectionModel->LayoutRebuilt();
}

// ---- the column change notification ----------------------------------------

void TCustomDBGridGx::ColumnsChanged(TColumnGx* item)
{
    if (D->FDestroying)
        return;
    if (!item) {
        RequestLayout();
    } else {
        int raw = DataToRawColumn(item->Index());
        if (raw >= 0 && raw < ColCount()) {
            InvalidateCol(raw);
            if (!D->FAutoFitColWidths) {
                if (ColWidths(raw) == item->Width()) {
                    if (D->FUseMultiTitle)
                        RequestLayout();
                } else {
                    TDBGridGxLayoutPass(*this, *D).ApplyColumnWidth(*item);
                    // The title tree follows the new width.
                    if (D->FUseMultiTitle)
                        RequestLayout();
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
                if (next < D->FColumns->Count()) {
                    TColumnGx* nextColumn = (*D->FColumns)[next];
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
    if (current < 0 || current >= D->FColumns->Count() || (*D->FColumns)[current]->Visible())
        return;
    for (int i = 0; i < D->FColumns->Count(); ++i) {
        if (!(*D->FColumns)[i]->Visible())
            continue;
        int raw = DataToRawColumn(i);
        if (raw >= FixedCols() && raw < ColCount())
            SetCol(raw);
        return;
    }
}
