#include "grid/input/DBGridGxEditActions.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxSelectColumn.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>

namespace {
struct TStandardAction {
    QKeySequence::StandardKey Key;
    TDBGridGxEditAction Action;
};
const TStandardAction StandardActions[] = {
    {QKeySequence::Copy, geaCopyGx},     {QKeySequence::Cut, geaCutGx},
    {QKeySequence::Paste, geaPasteGx},   {QKeySequence::SelectAll, geaSelectAllGx},
    {QKeySequence::Delete, geaDeleteGx},
};
}  // namespace

std::optional<TDBGridGxEditAction> StandardEditActionOf(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return std::nullopt;
    for (const TStandardAction& standard : StandardActions)
        if (QKeySequence::keyBindings(standard.Key).contains(sequence))
            return standard.Action;
    return std::nullopt;
}

std::optional<TDBGridGxEditAction> StandardEditActionOf(const QKeyEvent& event)
{
    for (const TStandardAction& standard : StandardActions)
        if (event.matches(standard.Key))
            return standard.Action;
    return std::nullopt;
}

bool ExecuteGridAction(TCustomDBGridGx& grid, QAction& action)
{
    const std::optional<TDBGridGxEditAction> kind = StandardEditActionOf(action.shortcut());
    return kind && grid.hasFocus() && grid.RunEditAction(*kind);
}

bool UpdateGridAction(TCustomDBGridGx& grid, QAction& action)
{
    const std::optional<TDBGridGxEditAction> kind = StandardEditActionOf(action.shortcut());
    if (!kind)
        return false;
    action.setEnabled(grid.EditActions().Contains(*kind) && grid.RunEditAction(*kind, true));
    return true;
}

// ---- the enabling tests -------------------------------------------------------

namespace {
TDataSet* ActiveDataSet(TCustomDBGridGx& grid)
{
    TGridDataLinkGx* link = grid.DataLink();
    return link->Active() ? link->DataSet() : nullptr;
}

// Active, not read-only, not empty and modifiable.
TDataSet* ChangeableDataSet(TCustomDBGridGx& grid)
{
    TDataSet* dataSet = ActiveDataSet(grid);
    if (!dataSet || grid.ReadOnly() || !dataSet->CanModify())
        return nullptr;
    return dataSet;
}
}  // namespace

bool TCustomDBGridGx::CopyAllowed()
{
    return D->FClipboardActions && ActiveDataSet(*this) && !Selection().Empty();
}

bool TCustomDBGridGx::DeleteAllowed()
{
    TDataSet* dataSet = ChangeableDataSet(*this);
    if (!D->FClipboardActions || !dataSet || dataSet->IsEmpty())
        return false;
    switch (Selection().SelectionType()) {
    case gstRecordBookmarks:
    case gstAll:
        return AllowedOperations().Contains(alopDeleteGx);
    case gstRectangle:
    case gstColumns:
        return AllowedOperations().Contains(alopUpdateGx);
    case gstNon:
        return false;
    }
    return false;
}

bool TCustomDBGridGx::CutAllowed() { return CopyAllowed() && DeleteAllowed(); }

bool TCustomDBGridGx::PasteAllowed()
{
    TDataSet* dataSet = ChangeableDataSet(*this);
    if (!D->FClipboardActions || !dataSet || !D->FClipboardActions->ClipboardHasPasteableData())
        return false;
    return dataSet->State() == dsInsert || AllowedOperations().Contains(alopUpdateGx);
}

bool TCustomDBGridGx::SelectAllAllowed()
{
    TDataSet* dataSet = ActiveDataSet(*this);
    return dataSet && !dataSet->IsEmpty() && AllowedSelections().Contains(gstAll);
}

bool TCustomDBGridGx::RunEditAction(TDBGridGxEditAction action, bool testOnly)
{
    if (!EditActions().Contains(action))
        return false;
    const bool allowed = action == geaCopyGx     ? CopyAllowed()
                         : action == geaCutGx    ? CutAllowed()
                         : action == geaPasteGx  ? PasteAllowed()
                         : action == geaDeleteGx ? DeleteAllowed()
                                                 : SelectAllAllowed();
    if (!allowed || testOnly)
        return allowed;
    // The tests of the clipboard actions hold only with an interface installed.
    TGridClipboardActionsGx* clipboard = D->FClipboardActions.get();
    switch (action) {
    case geaCopyGx: clipboard->CopySelectionToClipboard(*this); break;
    case geaCutGx: clipboard->CutSelectionToClipboard(*this); break;
    case geaPasteGx: clipboard->PasteIntoSelection(*this); break;
    case geaDeleteGx: clipboard->DeleteSelectedData(*this); break;
    case geaSelectAllGx: Selection().SelectAll(); break;
    }
    return true;
}

bool TCustomDBGridGx::CanEditColumn()
{
    TColumnGx* column = GridCurrentColumn(*this);
    return column && D->FOptions.Contains(dgEditing) && column->CanModify(false);
}
