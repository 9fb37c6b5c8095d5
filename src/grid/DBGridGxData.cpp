// The grid's data side: its data source, the reactions to the link's
// notifications (activation, changed records, edits, focus requests), and
// the row window kept in step when the window is made or resized.

#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/DBGridGxPrivate.h"
#include "platform/ScopeGuard.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/base/InplaceEdit.h"

#include <QApplication>

// ---- data -----------------------------------------------------------------

TDataSource* TCustomDBGridGx::DataSource() const { return D->FDataLink->DataSource(); }

void TCustomDBGridGx::SetDataSource(TDataSource* value)
{
    if (value == D->FDataLink->DataSource())
        return;
    D->FSelectionModel->ClearSelection();
    const bool wasActive = D->FDataLink->Active();
    D->FDataLink->SetDataSource(value);
    // A change of the link's activity has already reached the grid through
    // ActiveChanged; otherwise the grid takes the new source here.
    if (D->FDataLink->Active() == wasActive)
        LinkActiveChanged(wasActive);
}

void TCustomDBGridGx::LinkActiveChanged(bool active)
{
    if (!active)
        HideEditor();
    if (D->FSelectionModel)
        D->FSelectionModel->LinkChanged(active);
    if (D->FFooterSummaries)
        D->FFooterSummaries->DataChanged();
    RequestLayout();
    if (active && D->FOptions.Contains(dgAlwaysShowEditor))
        ShowEditor();
    RowWindowOf(*this).UpdateVertScrollBar();
}

void TCustomDBGridGx::CurrentRecordChanged(TField* field)
{
    if (!HandleAllocated())
        return;
    if (field) {
        for (const auto& column : *D->FColumns)
            if (column->Field() == field)
                InvalidateCell(DataToRawColumn(column->Index()), Row());
    } else {
        InvalidateGrid();
    }
    TField* current = CurrentField();
    TInplaceEdit* editor = InplaceEditor();
    if (!current || !editor || (field && field != current))
        return;
    // The editor's own text going into its field: the editor keeps it as
    // typed (should the post then be refused, the user sees what they typed).
    if (D->FDataLink->InUpdateData())
        return;
    // Compared with the cell's edit text, which for a key pick list or a
    // lookup cell is what the editor shows, not the field's own text.
    if (editor->text() != GetEditText(Col(), Row())) {
        RefreshEditor();
        editor->Deselect();
    }
}

void TCustomDBGridGx::WriteEditorToField()
{
    D->FEditorHost->WriteToField();
}

bool TCustomDBGridGx::FocusField(TField* field)
{
    for (const auto& column : *D->FColumns) {
        if (column->Field() != field || !column->Visible())
            continue;
        int raw = DataToRawColumn(column->Index());
        if (raw >= FixedCols() && raw < ColCount() && raw != Col())
            SetCol(raw);
        break;
    }
    if (CurrentField() != field || !TakeFocus())
        return false;
    ShowEditor();
    return true;
}

bool TCustomDBGridGx::TakeFocus()
{
    if (!D->FTakeFocusEnabled || !isEnabled() || !isVisible() || focusPolicy() == Qt::NoFocus)
        return true;
    setFocus(Qt::OtherFocusReason);
    const QWidget* focus = window()->focusWidget();
    return focus == this || (InplaceEditor() && focus == InplaceEditor());
}

void TCustomDBGridGx::DeferLayout()
{
    if (HandleAllocated())
        PostDeferredLayout();
    ReleaseLayout();
}

void TCustomDBGridGx::CreateWnd()
{
    LockUpdate();
    TCustomGrid::CreateWnd();
    UnlockUpdate();
    RowWindowOf(*this).UpdateRowWindow();
    RowWindowOf(*this).SyncCurrentRow();
    RowWindowOf(*this).UpdateVertScrollBar();
}

void TCustomDBGridGx::Resize()
{
    TCustomGrid::Resize();
    if (D->FUpdateLock != 0)
        return;
    if (D->FAutoFitColWidths) {
        RequestLayout();
        RefreshEditor();
    } else {
        RowWindowOf(*this).UpdateRowWindow();
        RowWindowOf(*this).UpdateVertScrollBar();
    }
}

void TCustomDBGridGx::DataLayoutChanged()
{
    TValueRollback<bool> changing(D->FDataLayoutChanging, true);
    RequestLayout();
}

void TCustomDBGridGx::ColumnFieldFreed(TColumnGx& /*column*/)
{
    // The dataset may be tearing its fields down right now: the columns are
    // matched to its fields again once control returns to the event loop.
    if (!D->FDestroying)
        PostDeferredLayout();
}

void TCustomDBGridGx::ColumnDestroying(TColumnGx& column)
{
    if (D->FDestroying)
        return;
    D->FSelectionModel->ColumnDestroying(column);
    D->FColumns->ForgetSortMarks(column);
}

void TCustomDBGridGx::FooterSummaryChanged(TColumnFooterGx& footer)
{
    D->FFooterSummaries->FooterChanged(footer);
}

void TCustomDBGridGx::FooterDestroying(TColumnFooterGx& footer)
{
    if (D->FFooterSummaries)
        D->FFooterSummaries->FooterDestroying(footer);
}

void TCustomDBGridGx::WatchImageList(TImageList* list)
{
    if (!list)
        return;
    connect(list, &TImageList::Changed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
    connect(list, &QObject::destroyed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
}

void TCustomDBGridGx::ImageListChanged() { InvalidateGrid(); }

