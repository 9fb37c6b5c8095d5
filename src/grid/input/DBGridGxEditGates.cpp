// The gates of the in-place editor: whether it may show over the current
// cell, whether it may change the field (which puts the dataset into edit
// state), and which characters it takes.  A read-only state decided by the
// cell-parameter events overrides the column's own answer in both of the
// last two.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditReadOnly.h"
#include "grid/input/DBGridGxSelectColumn.h"

bool TCustomDBGridGx::CanEditShow() const
{
    TCustomDBGridGx& self = const_cast<TCustomDBGridGx&>(*this);
    const bool refused = D->FLayoutLock != 0 || !TCustomGrid::CanEditShow() ||
                         !GridCurrentColumn(self) || IsToggledColumn(GridCurrentColumn(self)) ||
                         (!D->FSelectionModel->Selection().Empty() && D->FOptionsGx.Contains(dghClearSelection)) ||
                         D->FKeyboard->IncSearchActive();
    if (refused && InplaceEditor() && InplaceEditor()->isVisible())
        InplaceEditor()->Hide();
    return !refused;
}

bool TCustomDBGridGx::CanEditModify()
{
    TColumnGx* column = GridCurrentColumn(*this);
    if (!column || column->ColumnKind() == ckCheckboxes || D->FKeyboard->IncSearchActive())
        return false;
    if (const std::optional<bool> readOnly = EditReadOnlyOverride(*this, *column))
        return !*readOnly && D->FDataLink->Edit();
    // The column's test covers the grid, the link, the field (all key
    // fields of a lookup field) and blobs, and puts the dataset into edit
    // state.
    return column->CanModify(true);
}

bool TCustomDBGridGx::CanEditAcceptKey(const QString& key) const
{
    TCustomDBGridGx& self = const_cast<TCustomDBGridGx&>(*this);
    TColumnGx* column = GridCurrentColumn(self);
    const std::optional<bool> readOnly = column ? EditReadOnlyOverride(self, *column) : std::nullopt;
    TField* field = column ? column->Field() : nullptr;
    if (!D->FDataLink->Active() || !field)
        return readOnly.has_value() && !*readOnly;
    if (readOnly && *readOnly)
        return false;
    if (column->HasKeyList() && !column->KeyList().empty())
        return true;
    for (char32_t ch : key.toUcs4())
        if (!field->IsValidChar(ch))
            return false;
    return true;
}
