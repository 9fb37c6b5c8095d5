#include "data/Field.h"

#include "data/DataSet.h"
#include "data/Fields.h"
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"

TField::TField(TFieldType dataType, int size) : FDataType(dataType), FSize(size) {}

TField::~TField() = default;

void TField::SetFieldName(const std::string& name)
{
    if (FDataSet)
        FDataSet->CheckInactive();
    FFieldName = name;
}

void TField::SetDisplayLabel(const std::string& label)
{
    std::string newLabel = label == FFieldName ? std::string() : label;
    if (newLabel == FDisplayLabel)
        return;
    FDisplayLabel = newLabel;
    PropertyChanged(true);
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (FDataSet)
        FDataSet->CheckInactive();
    FFieldKind = kind;
}

int TField::Index() const
{
    return FDataSet ? FDataSet->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (!FDataSet)
        return;
    TFields& fields = FDataSet->Fields();
    int current = fields.IndexOf(this);
    if (index < 0)
        index = 0;
    if (index >= fields.Count())
        index = fields.Count() - 1;
    if (index == current)
        return;
    fields.Move(current, index);
    PropertyChanged(true);
}

void TField::SetSize(int size)
{
    if (FDataSet)
        FDataSet->CheckInactive();
    FSize = size;
}

void TField::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    PropertyChanged(true);
}

void TField::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    PropertyChanged(true);
}

void TField::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    PropertyChanged(true);
}

void TField::SetDisplayWidth(int value)
{
    if (value == FDisplayWidth)
        return;
    FDisplayWidth = value;
    PropertyChanged(true);
}

void TField::SetDisplayFormat(const std::string& value)
{
    if (value == FDisplayFormat)
        return;
    FDisplayFormat = value;
    PropertyChanged(false);
}

void TField::SetEditFormat(const std::string& value)
{
    if (value == FEditFormat)
        return;
    FEditFormat = value;
    PropertyChanged(false);
}

void TField::SetEditMask(const std::string& value)
{
    if (value == FEditMask)
        return;
    FEditMask = value;
    PropertyChanged(false);
}

void TField::SetLookupDataSet(TDataSet* dataSet)
{
    if (FDataSet)
        FDataSet->CheckInactive();
    FLookupDataSet.Reset(dataSet);
}

bool TField::CanModify() const
{
    if (FReadOnly || !FDataSet)
        return false;
    if (FFieldKind != fkData && FFieldKind != fkLookup)
        return false;
    return FDataSet->CanModify();
}

void TField::PropertyChanged(bool layout)
{
    if (FDataSet && FDataSet->Active())
        FDataSet->FieldPropertyChanged(*this, layout);
}

void TField::FocusControl()
{
    if (FDataSet && FDataSet->Active())
        FDataSet->FocusFieldControl(*this);
}

// ---- values

TVariant TField::GetData() const
{
    if (!FDataSet)
        return TVariant::Null();
    TVariant value = FDataSet->GetFieldData(*this);
    return value.IsEmpty() ? TVariant::Null() : value;
}

void TField::SetData(const TVariant& value)
{
    if (!FDataSet)
        throw EDatabaseError("Field '" + DisplayName() + "' has no dataset");
    TDataSetState state = FDataSet->State();
    bool computing = state == dsCalcFields || state == dsSetKey;
    if (!computing) {
        if (FReadOnly)
            throw EDatabaseError("Field '" + DisplayName() + "' cannot be modified");
        if (Calculated())
            throw EDatabaseError("Field '" + DisplayName() + "' cannot be modified");
    }
    FDataSet->SetFieldData(*this, value);
    if (!computing) {
        if (OnValidate)
            OnValidate(*this);
        if (OnChange)
            OnChange(*this);
    }
}

TVariant TField::Value() const
{
    TVariant value = GetData();
    return value.IsNull() ? value : NumericValue(value);
}

void TField::SetValue(const TVariant& value)
{
    if (value.IsNullOrEmpty())
        SetData(TVariant::Null());
    else
        SetData(ConvertToStored(value));
}

TVariant TField::ConvertToStored(const TVariant& value) const
{
    return value;
}

std::string TField::AsString() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return std::string();
    return FormatValue(value, false);
}

void TField::SetAsString(const std::string& text)
{
    SetData(ParseText(text));
}

int32_t TField::AsInteger() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return 0;
    value = NumericValue(value);
    try {
        return value.AsInteger();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "an integer");
    }
}

void TField::SetAsInteger(int32_t value) { SetValue(TVariant(value)); }

int64_t TField::AsLargeInt() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return 0;
    value = NumericValue(value);
    try {
        return value.AsInt64();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "an integer");
    }
}

void TField::SetAsLargeInt(int64_t value) { SetValue(TVariant(value)); }

double TField::AsFloat() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return 0;
    value = NumericValue(value);
    try {
        return value.AsDouble();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "a number");
    }
}

void TField::SetAsFloat(double value) { SetValue(TVariant(value)); }

TCurrency TField::AsCurrency() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return TCurrency();
    value = NumericValue(value);
    try {
        return value.AsCurrency();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "a currency value");
    }
}

void TField::SetAsCurrency(TCurrency value) { SetValue(TVariant(value)); }

bool TField::AsBoolean() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return false;
    try {
        return value.AsBoolean();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "a boolean");
    }
}

void TField::SetAsBoolean(bool value) { SetValue(TVariant(value)); }

TDateTime TField::AsDateTime() const
{
    TVariant value = GetData();
    if (value.IsNull())
        return 0;
    try {
        return value.AsDateTime();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "a date");
    }
}

void TField::SetAsDateTime(TDateTime value) { SetValue(TVariant::FromDateTime(value)); }

std::string TField::DisplayText() const
{
    if (OnGetText) {
        std::string text;
        OnGetText(const_cast<TField&>(*this), text, true);
        return text;
    }
    TVariant value = GetData();
    return value.IsNull() ? std::string() : FormatValue(value, true);
}

std::string TField::EditText() const
{
    if (OnGetText) {
        std::string text;
        OnGetText(const_cast<TField&>(*this), text, false);
        return text;
    }
    TVariant value = GetData();
    return value.IsNull() ? std::string() : FormatValue(value, false);
}

void TField::SetEditText(const std::string& text)
{
    if (OnSetText)
        OnSetText(*this, text);
    else
        SetAsString(text);
}

std::string TField::FormatValue(const TVariant& value, bool) const
{
    return value.AsString();
}

TVariant TField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    return ConvertToStored(TVariant(text));
}

int TField::DefaultDisplayWidth() const
{
    return 10;
}

bool TField::IsValidChar(char32_t ch) const
{
    return ch >= 0x20 || ch == '\t';
}

void TField::CheckRequired() const
{
    if (FRequired && FFieldKind == fkData && IsNull())
        throw EDatabaseError("Field '" + DisplayName() + "' must have a value");
}

void TField::RaiseConvertError(const std::string& text, const char* what) const
{
    throw EConvertError("'" + text + "' is not " + what + " for field '" + DisplayName() + "'");
}

void TField::RaiseRangeError(double value, double minimum, double maximum) const
{
    throw EDatabaseError(FloatToStr(value) + " is not a valid value for field '" + DisplayName() +
                         "'. The allowed range is " + FloatToStr(minimum) + " to " + FloatToStr(maximum));
}
