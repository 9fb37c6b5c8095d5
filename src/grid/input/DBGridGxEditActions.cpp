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
    return kind && grid.hasFocus() && RunEditAction(grid, *kind);
}

bool UpdateGridAction(TCustomDBGridGx& grid, QAction& action)
{
    const std::optional<TDBGridGxEditAction> kind = StandardEditActionOf(action.shortcut());
    if (!kind)
        return false;
    action.setEnabled(grid.EditActions().Contains(*kind) && RunEditAction(grid, *kind, true));
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

bool CopyAllowed(TCustomDBGridGx& grid)
{
    return grid.ClipboardActions() && ActiveDataSet(grid) && !grid.Selection().Empty();
}

bool DeleteAllowed(TCustomDBGridGx& grid)
{
    TDataSet* dataSet = ChangeableDataSet(grid);
    if (!grid.ClipboardActions() || !dataSet || dataSet->IsEmpty())
        return false;
    switch (grid.Selection().SelectionType()) {
    case gstRecordBookmarks:
    case gstAll:
        return grid.AllowedOperations().Contains(alopDeleteGx);
    case gstRectangle:
    case gstColumns:
        return grid.AllowedOperations().Contains(alopUpdateGx);
    case gstNon:
        return false;
    }
    return false;
}

bool CutAllowed(TCustomDBGridGx& grid) { return CopyAllowed(grid) && DeleteAllowed(grid); }

bool PasteAllowed(TCustomDBGridGx& grid)
{
    TDataSet* dataSet = ChangeableDataSet(grid);
    if (!grid.ClipboardActions() || !dataSet || !grid.ClipboardActions()->ClipboardHasPasteableData())
        return false;
    return dataSet->State() == dsInsert || grid.AllowedOperations().Contains(alopUpdateGx);
}

bool SelectAllAllowed(TCustomDBGridGx& grid)
{
    TDataSet* dataSet = ActiveDataSet(grid);
    return dataSet && !dataSet->IsEmpty() && grid.AllowedSelections().Contains(gstAll);
}

bool RunEditAction(TCustomDBGridGx& grid, TDBGridGxEditAction action, bool testOnly)
{
    if (!grid.EditActions().Contains(action))
        return false;
    const bool allowed = action == geaCopyGx     ? CopyAllowed(grid)
                         : action == geaCutGx    ? CutAllowed(grid)
                         : action == geaPasteGx  ? PasteAllowed(grid)
                         : action == geaDeleteGx ? DeleteAllowed(grid)
                                                 : SelectAllAllowed(grid);
    if (!allowed || testOnly)
        return allowed;
    // The tests of the clipboard actions hold only with an interface installed.
    TGridClipboardActionsGx* clipboard = grid.ClipboardActions();
    switch (action) {
    case geaCopyGx: clipboard->CopySelectionToClipboard(grid); break;
    case geaCutGx: clipboard->CutSelectionToClipboard(grid); break;
    case geaPasteGx: clipboard->PasteIntoSelection(grid); break;
    case geaDeleteGx: clipboard->DeleteSelectedData(grid); break;
    case geaSelectAllGx: grid.Selection().SelectAll(); break;
    }
    return true;
}

bool CanEditColumn(TCustomDBGridGx& grid)
{
    TColumnGx* column = GridCurrentColumn(grid);
    return column && grid.Options().Contains(dgEditing) && column->CanModify(false);
}
