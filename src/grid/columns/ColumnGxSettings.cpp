// A column's settings that follow its field, its grid or the grid's
// ColumnDefValues until they are assigned.

#include "grid/columns/ColumnGx.h"

#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

// ---- inherited settings -------------------------------------------------

TAlignment TColumnGx::Alignment() const
{
    if (IsAssigned(cvAlignment))
        return FAlignment;
    TField* field = Field();
    return field ? field->Alignment() : taLeftJustify;
}

void TColumnGx::SetAlignment(TAlignment value)
{
    if (TField* field = DefaultColumnFieldForWrite()) {
        field->SetAlignment(value);
        return;
    }
    StoreAssigned(FAlignment, value, cvAlignment, false);
}

namespace {
// A Boolean setting's value: the column's own once assigned, else the
// host's ColumnDefValues (false without a host).
bool InheritedBool(const TColumnGx& column, TColumnValueGx bit, bool own, bool (TColumnDefValuesGx::*getter)() const)
{
    if (column.AssignedValues().Contains(bit))
        return own;
    const TColumnsHostGx* host = column.Host();
    return host && (host->ColumnDefValues().*getter)();
}
}  // namespace

// These repaint when set.
bool TColumnGx::AlwaysShowEditButton() const
{
    return InheritedBool(*this, cvAlwaysShowEditButton, FAlwaysShowEditButton, &TColumnDefValuesGx::AlwaysShowEditButton);
}
void TColumnGx::SetAlwaysShowEditButton(bool value) { StoreAssigned(FAlwaysShowEditButton, value, cvAlwaysShowEditButton, false); }
bool TColumnGx::EndEllipsis() const
{
    return InheritedBool(*this, cvEndEllipsis, FEndEllipsis, &TColumnDefValuesGx::EndEllipsis);
}
void TColumnGx::SetEndEllipsis(bool value) { StoreAssigned(FEndEllipsis, value, cvEndEllipsis, false); }

// These only store the value: they are read when an editor opens.
bool TColumnGx::AutoDropDown() const { return InheritedBool(*this, cvAutoDropDown, FAutoDropDown, &TColumnDefValuesGx::AutoDropDown); }
void TColumnGx::SetAutoDropDown(bool value) { ::StoreAssigned(FAssignedValues, cvAutoDropDown, FAutoDropDown, value); }
bool TColumnGx::DblClickNextVal() const { return InheritedBool(*this, cvDblClickNextVal, FDblClickNextVal, &TColumnDefValuesGx::DblClickNextVal); }
void TColumnGx::SetDblClickNextVal(bool value) { ::StoreAssigned(FAssignedValues, cvDblClickNextVal, FDblClickNextVal, value); }
bool TColumnGx::DropDownShowTitles() const { return InheritedBool(*this, cvDropDownShowTitles, FDropDownShowTitles, &TColumnDefValuesGx::DropDownShowTitles); }
void TColumnGx::SetDropDownShowTitles(bool value) { ::StoreAssigned(FAssignedValues, cvDropDownShowTitles, FDropDownShowTitles, value); }
bool TColumnGx::DropDownSizing() const { return InheritedBool(*this, cvDropDownSizing, FDropDownSizing, &TColumnDefValuesGx::DropDownSizing); }
void TColumnGx::SetDropDownSizing(bool value) { ::StoreAssigned(FAssignedValues, cvDropDownSizing, FDropDownSizing, value); }
bool TColumnGx::ToolTips() const { return InheritedBool(*this, cvToolTips, FToolTips, &TColumnDefValuesGx::ToolTips); }
void TColumnGx::SetToolTips(bool value) { ::StoreAssigned(FAssignedValues, cvToolTips, FToolTips, value); }

bool TColumnGx::Checkboxes() const
{
    if (IsAssigned(cvCheckboxes))
        return FCheckboxes;
    TField* field = Field();
    return field && field->DataType() == ftBoolean;
}

void TColumnGx::SetCheckboxes(bool value)
{
    StoreAssigned(FCheckboxes, value, cvCheckboxes, false);
}

TColor TColumnGx::Color() const
{
    if (IsAssigned(cvColor))
        return FColor;
    TColumnsHostGx* host = Host();
    return host ? host->Color() : clWindow;
}

void TColumnGx::SetColor(TColor value)
{
    StoreAssigned(FColor, value, cvColor, false);
}

TFontGx TColumnGx::DefaultFont() const
{
    TColumnsHostGx* host = Host();
    return host ? host->Font() : TFontGx();
}

TFontGx TColumnGx::Font() const
{
    if (IsAssigned(cvFont))
        return FFont;
    return DefaultFont();
}

void TColumnGx::SetFont(const TFontGx& value)
{
    FFont = value;
    MarkAssigned(cvFont);
    Changed(false);
}

TImeModeGx TColumnGx::ImeMode() const
{
    if (IsAssigned(cvImeMode))
        return FImeMode;
    TColumnsHostGx* host = Host();
    return host ? host->ImeMode() : imDontCare;
}

void TColumnGx::SetImeMode(TImeModeGx value)
{
    StoreAssigned(FImeMode, value, cvImeMode, false);
}

std::string TColumnGx::ImeName() const
{
    if (IsAssigned(cvImeName))
        return FImeName;
    TColumnsHostGx* host = Host();
    return host ? host->ImeName() : std::string();
}

void TColumnGx::SetImeName(const std::string& value)
{
    StoreAssigned(FImeName, value, cvImeName, false);
}

std::string TColumnGx::LookupDisplayFields() const
{
    if (IsAssigned(cvLookupDisplayFields))
        return FLookupDisplayFields;
    TField* field = Field();
    return field && field->Lookup() ? field->LookupResultField : std::string();
}

void TColumnGx::SetLookupDisplayFields(const std::string& value)
{
    StoreAssigned(FLookupDisplayFields, value, cvLookupDisplayFields, false);
}

bool TColumnGx::ReadOnly() const
{
    if (IsAssigned(cvReadOnly))
        return FReadOnly;
    TColumnsHostGx* host = Host();
    if (host && host->ReadOnly())
        return true;
    TField* field = Field();
    return field && field->ReadOnly();
}

void TColumnGx::SetReadOnly(bool value)
{
    if (TField* field = DefaultColumnFieldForWrite()) {
        field->SetReadOnly(value);
        return;
    }
    StoreAssigned(FReadOnly, value, cvReadOnly, false);
}

bool TColumnGx::WordWrap() const
{
    if (IsAssigned(cvWordWrap))
        return FWordWrap;
    TField* field = Field();
    if (!field)
        return false;
    TFieldType type = field->DataType();
    return IsStringType(type) || type == ftMemo || type == ftFmtMemo;
}

void TColumnGx::SetWordWrap(bool value)
{
    StoreAssigned(FWordWrap, value, cvWordWrap, false);
}
