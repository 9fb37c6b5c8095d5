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
// Getter and setter bodies of the Boolean settings that fall back to the
// grid's ColumnDefValues.
template <typename Getter>
bool DefValue(const TColumnsHostGx* host, Getter getter)
{
    return host && (host->ColumnDefValues().*getter)();
}
}  // namespace

#define TM_COLUMN_DEF_BOOL(Name, Bit)                                   \
    bool TColumnGx::Name() const                                        \
    {                                                                   \
        if (IsAssigned(Bit))                                            \
            return F##Name;                                             \
        return DefValue(Host(), &TColumnDefValuesGx::Name);             \
    }                                                                   \
    void TColumnGx::Set##Name(bool value)                               \
    {                                                                   \
        if (IsAssigned(Bit) && value == F##Name)                        \
            return;                                                     \
        F##Name = value;                                                \
        MarkAssigned(Bit);                                              \
        Changed(false);                                                 \
    }

TM_COLUMN_DEF_BOOL(AlwaysShowEditButton, cvAlwaysShowEditButton)
TM_COLUMN_DEF_BOOL(EndEllipsis, cvEndEllipsis)
#undef TM_COLUMN_DEF_BOOL

// These only store the value: they are read when an editor opens.
#define TM_COLUMN_DEF_BOOL_QUIET(Name, Bit)                             \
    bool TColumnGx::Name() const                                        \
    {                                                                   \
        if (IsAssigned(Bit))                                            \
            return F##Name;                                             \
        return DefValue(Host(), &TColumnDefValuesGx::Name);             \
    }                                                                   \
    void TColumnGx::Set##Name(bool value)                               \
    {                                                                   \
        F##Name = value;                                                \
        MarkAssigned(Bit);                                              \
    }

TM_COLUMN_DEF_BOOL_QUIET(AutoDropDown, cvAutoDropDown)
TM_COLUMN_DEF_BOOL_QUIET(DblClickNextVal, cvDblClickNextVal)
TM_COLUMN_DEF_BOOL_QUIET(DropDownShowTitles, cvDropDownShowTitles)
TM_COLUMN_DEF_BOOL_QUIET(DropDownSizing, cvDropDownSizing)
TM_COLUMN_DEF_BOOL_QUIET(ToolTips, cvToolTips)
#undef TM_COLUMN_DEF_BOOL_QUIET

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

TFontGx TColumnGx::Font() const { return IsAssigned(cvFont) ? FFont : DefaultFont(); }

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
