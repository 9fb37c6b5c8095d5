// The gates of the in-place editor: whether it may show over the current
// cell, whether it may change the field (which puts the dataset into edit
// state), and which characters it takes.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/ColumnGx.h"
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
    // The column's test covers the grid, the link, the field (all key
    // fields of a lookup field) and blobs, and puts the dataset into edit
    // state.
    return column->CanModify(true);
}

bool TCustomDBGridGx::CanEditAcceptKey(const QString& key) const
{
    TColumnGx* column = GridCurrentColumn(const_cast<TCustomDBGridGx&>(*this));
    TField* field = column ? column->Field() : nullptr;
    if (!D->FDataLink->Active() || !field)
        return false;
    if (column->HasKeyList() && !column->KeyList().empty())
        return true;
    for (char32_t ch : key.toUcs4())
        if (!field->IsValidChar(ch))
            return false;
    return true;
}
