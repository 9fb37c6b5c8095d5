#include "grid/columns/CellEditButtonsGx.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"

#include <sstream>
#include <string>

namespace {

// A lookup field can be written through its key fields: each is named,
// exists and can be modified.
bool LookupKeysModifiable(const TField& field)
{
    TDataSet* dataSet = field.DataSet();
    if (!dataSet || field.KeyFields.empty())
        return false;
    std::istringstream names(field.KeyFields);
    std::string name;
    int count = 0;
    while (std::getline(names, name, ';')) {
        TField* key = dataSet->FindField(name);
        if (!key || !key->CanModify())
            return false;
        ++count;
    }
    return count > 0;
}

bool LinkWritable(const TCustomDBGridGx& grid)
{
    const TGridDataLinkGx* link = grid.DataLink();
    return link && link->Active() && !link->ReadOnly();
}

}  // namespace

std::optional<TEditButtonStyleGx> DefaultEditButtonStyle(const TCustomDBGridGx& grid, const TColumnGx& column)
{
    switch (column.ButtonStyle()) {
    case cbsEllipsis:
        return ebsEllipsisGx;
    case cbsUpDown:
        return ebsUpDownGx;
    case cbsDropDown:
        return ebsDropDownGx;
    case cbsNone:
        return std::nullopt;
    case cbsAuto:
        break;
    }
    const TField* field = column.Field();
    if (!field)
        return std::nullopt;
    if (field->Lookup()) {
        const bool readOnlyAssigned = column.AssignedValues().Contains(cvReadOnly) && column.ReadOnly();
        if (LookupKeysModifiable(*field) && !readOnlyAssigned && !grid.ReadOnly() && LinkWritable(grid))
            return ebsDropDownGx;
        return std::nullopt;
    }
    if (column.HasPickList() && !column.PickList().empty() && !column.ReadOnly() && !column.ImageList())
        return ebsDropDownGx;
    if ((field->DataType() == ftDate || field->DataType() == ftDateTime) && !column.ReadOnly())
        return ebsDropDownGx;
    return std::nullopt;
}

int CellEditButtonWidth(const TCustomDBGridGx& grid, const TEditButtonGx& button)
{
    if (button.Width() < 1)
        return grid.EditButtonWidth();
    return button.Width() + (grid.Flat() ? 1 : 0);
}

int CellEditButtonsWidth(const TCustomDBGridGx& grid, const TColumnGx& column)
{
    int width = DefaultEditButtonStyle(grid, column) ? grid.EditButtonWidth() : 0;
    for (const auto& button : column.EditButtons())
        if (button->Visible())
            width += CellEditButtonWidth(grid, *button);
    return width;
}
