#include "grid/columns/CellEditButtonsGx.h"

#include "data/DataSet.h"
#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnsHostGx.h"

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

bool LinkWritable(const TColumnsHostGx& host)
{
    const TDataLink* link = host.ColumnsDataLink();
    return link && link->Active() && !link->ReadOnly();
}

}  // namespace

std::optional<TEditButtonStyleGx> DefaultEditButtonStyle(const TColumnsHostGx& host, const TColumnGx& column)
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
        if (LookupKeysModifiable(*field) && !readOnlyAssigned && !host.ReadOnly() && LinkWritable(host))
            return ebsDropDownGx;
        return std::nullopt;
    }
    if (column.HasPickList() && !column.PickList().empty() && !column.ReadOnly() && !column.ImageList())
        return ebsDropDownGx;
    if ((field->DataType() == ftDate || field->DataType() == ftDateTime) && !column.ReadOnly())
        return ebsDropDownGx;
    return std::nullopt;
}

TEditStyleGx EditStyleOf(const TColumnsHostGx& host, const TColumnGx& column)
{
    switch (column.ButtonStyle()) {
    case cbsEllipsis: return esEllipsisGx;
    case cbsUpDown: return esUpDownGx;
    case cbsDropDown: return esDropDownGx;
    case cbsNone: return esSimpleGx;
    case cbsAuto: break;
    }
    if (!DefaultEditButtonStyle(host, column))
        return esSimpleGx;
    if (column.Field()->Lookup())
        return esDataListGx;
    if (column.HasPickList() && !column.PickList().empty())
        return esPickListGx;
    return esDateCalendarGx;
}

int CellEditButtonWidth(const TColumnsHostGx& host, const TEditButtonGx& button)
{
    if (button.Width() < 1)
        return host.EditButtonWidth();
    return button.Width() + (host.Flat() ? 1 : 0);
}

int CellEditButtonsWidth(const TColumnsHostGx& host, const TColumnGx& column)
{
    int width = DefaultEditButtonStyle(host, column) ? host.EditButtonWidth() : 0;
    for (const auto& button : column.EditButtons())
        if (button->Visible())
            width += CellEditButtonWidth(host, *button);
    return width;
}
