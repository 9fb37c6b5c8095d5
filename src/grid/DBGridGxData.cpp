// The grid's data side: its data source, the reactions to the link's
// notifications (activation, changed records, edits, focus requests), and
// the row window kept in step when the window is made or resized.

#include "grid/DBGridGx.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/InplaceEdit.h"

#include <QApplication>

// ---- data -----------------------------------------------------------------

TDataSource* TCustomDBGridGx::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBGridGx::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FSelectionModel->ClearSelection();
    const bool wasActive = FDataLink->Active();
    FDataLink->SetDataSource(value);
    // A change of the link's activity has already reached the grid through
    // ActiveChanged; otherwise the grid takes the new source here.
    if (FDataLink->Active() == wasActive)
        LinkActiveChanged(wasActive);
}

void TCustomDBGridGx::LinkActiveChanged(bool active)
{
    if (!active)
        HideEditor();
    if (FSelectionModel)
        FSelectionModel->LinkChanged(active);
    RequestLayout();
    if (active && FOptions.Contains(dgAlwaysShowEditor))
        ShowEditor();
    UpdateVertScrollBar();
}

void TCustomDBGridGx::CurrentRecordChanged(TField* field)
{
    if (!HandleAllocated())
        return;
    if (field) {
        for (const auto& column : *FColumns)
            if (column->Field() == field)
                InvalidateCell(DataToRawColumn(column->Index()), Row());
    } else {
        InvalidateGrid();
    }
    TField* current = CurrentField();
    TInplaceEdit* editor = InplaceEditor();
    if (!current || !editor || (field && field != current))
        return;
    if (editor->text() != QString::fromStdString(EditorTextOf(*current))) {
        RefreshEditor();
        editor->Deselect();
    }
}

std::string TCustomDBGridGx::EditorTextOf(TField& field) const
{
    if (FDrawMemoText && field.DataType() == ftMemo) {
        // The editor holds memo text with every line break as CR LF.
        std::string text = field.AsString();
        std::string normalised;
        normalised.reserve(text.size() + text.size() / 8);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                normalised += "\r\n";
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                normalised += text[i];
            }
        }
        return normalised;
    }
    return field.EditText();
}

void TCustomDBGridGx::WriteEditorToField()
{
    TInplaceEdit* editor = InplaceEditor();
    int index = RawToDataColumn(Col());
    if (!editor || index < 0 || index >= FColumns->Count())
        return;
    TColumnGx& column = *(*FColumns)[index];
    if (!column.Field() || !FDataLink->Edit())
        return;
    column.UpdateData(editor->text().toStdString(), TVariant(), true);
}

bool TCustomDBGridGx::FocusField(TField* field)
{
    for (const auto& column : *FColumns) {
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
    if (!FTakeFocusEnabled || !isEnabled() || !isVisible() || focusPolicy() == Qt::NoFocus)
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
    UpdateRowWindow();
    SyncCurrentRow();
    UpdateVertScrollBar();
}

void TCustomDBGridGx::Resize()
{
    TCustomGrid::Resize();
    if (FUpdateLock != 0)
        return;
    if (FAutoFitColWidths) {
        RequestLayout();
        RefreshEditor();
    } else {
        UpdateRowWindow();
        UpdateVertScrollBar();
    }
}

void TCustomDBGridGx::DataLayoutChanged()
{
    struct TFlagGuard {
        bool& Flag;
        bool Old;
        ~TFlagGuard() { Flag = Old; }
    } guard{FDataLayoutChanging, FDataLayoutChanging};
    FDataLayoutChanging = true;
    RequestLayout();
}

void TCustomDBGridGx::ColumnFieldFreed(TColumnGx& /*column*/)
{
    // The dataset may be tearing its fields down right now: the columns are
    // matched to its fields again once control returns to the event loop.
    if (!FDestroying)
        PostDeferredLayout();
}

void TCustomDBGridGx::ColumnDestroying(TColumnGx& column)
{
    if (FDestroying)
        return;
    FSelectionModel->ColumnDestroying(column);
    TColumnTitleGx& title = *column.Title();
    if (title.FSortIndex > 0)
        for (const auto& other : *FColumns)
            if (other.get() != &column && other->Title()->FSortIndex > title.FSortIndex)
                --other->Title()->FSortIndex;
    FSortMarkedColumns.Remove(&column);
}

void TCustomDBGridGx::FooterSummaryChanged(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::FooterDestroying(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::WatchImageList(TImageList* list)
{
    if (!list)
        return;
    connect(list, &TImageList::Changed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
    connect(list, &QObject::destroyed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
}

void TCustomDBGridGx::ImageListChanged() { InvalidateGrid(); }

