#include "grid/input/DBGridGxStepValue.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "grid/columns/ColumnGx.h"

#include <cmath>
#include <string>

namespace {
// A key list line's key: its first ";"-separated name.
std::string KeyOf(const std::string& line) { return line.substr(0, line.find(';')); }

// The line after (step > 0) or before the one equal to `text`, wrapping;
// from the first or last line when `text` is in none.
size_t SteppedLine(const TStringListGx& lines, const std::string& text, double step, bool keys)
{
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string line = keys ? KeyOf(lines[i]) : lines[i];
        if (line == text)
            return step > 0 ? (i + 1) % count : (i + count - 1) % count;
    }
    return step > 0 ? 0 : count - 1;
}

bool IsNumeric(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftLargeint:
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool IsWhole(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftLargeint;
}

// A key of several fields is missing when any part of it is.
bool IsMissingKey(const TVariant& key)
{
    if (!key.IsArray())
        return key.IsNullOrEmpty();
    for (const TVariant& part : key.AsArray())
        if (part.IsNullOrEmpty())
            return true;
    return false;
}

// A lookup column walks its lookup dataset: from the record of the current
// key (the first record when the key is missing or not there) to the next
// or prior one, wrapping at either end; that record's key becomes the
// value, its result field the text shown.
bool LookupCanStep(const TField& field)
{
    const TDataSet* lookup = field.LookupDataSet();
    return lookup && lookup->Active() && !lookup->IsEmpty() && field.DataSet() && !field.KeyFields.empty() &&
           !field.LookupKeyFields.empty();
}

bool StepLookupValue(TColumnGx& column, TField& field, double step)
{
    TDataSet* lookup = field.LookupDataSet();
    TDataSet* dataSet = field.DataSet();
    const TVariant key = dataSet->FieldValues(field.KeyFields);
    if (IsMissingKey(key) || !lookup->Locate(field.LookupKeyFields, key))
        lookup->First();
    if (step > 0) {
        lookup->Next();
        if (lookup->Eof())
            lookup->First();
    } else {
        lookup->Prior();
        if (lookup->Bof())
            lookup->Last();
    }
    TField* result = field.LookupResultField.empty() ? nullptr : lookup->FindField(field.LookupResultField);
    column.UpdateData(result ? result->DisplayText() : std::string(), lookup->FieldValues(field.LookupKeyFields),
                      false);
    return true;
}
}  // namespace

bool StepColumnValue(TColumnGx& column, double step)
{
    TField* field = column.Field();
    if (!field || step == 0)
        return false;
    if (column.ColumnKind() == ckLookupField && !LookupCanStep(*field))
        return false;
    if (!column.CanModify(true))
        return false;
    switch (column.ColumnKind()) {
    case ckCheckboxes:
        column.SetCheckboxState(column.CheckboxState() != cbsChecked ? cbsChecked : cbsUnchecked);
        return true;
    case ckPickList: {
        const TStringListGx& lines = column.PickList();
        column.UpdateData(lines[SteppedLine(lines, field->EditText(), step, false)], TVariant::Null(), true);
        return true;
    }
    case ckKeyPickList:
    case ckKeyImageList: {
        const TStringListGx& lines = column.KeyList();
        const std::string key = KeyOf(lines[SteppedLine(lines, field->EditText(), step, true)]);
        column.UpdateData(key, TVariant::Null(), true);
        return true;
    }
    case ckCommon:
        if (!IsNumeric(field->DataType()))
            return false;
        if (IsWhole(field->DataType())) {
            const double value = (field->IsNull() ? 0.0 : field->AsFloat()) + step;
            column.UpdateData(std::string(), TVariant(static_cast<int64_t>(std::llround(value))), false);
        } else {
            column.UpdateData(std::string(), TVariant((field->IsNull() ? 0.0 : field->AsFloat()) + step), false);
        }
        return true;
    case ckLookupField:
        return StepLookupValue(column, *field, step);
    }
    return false;
}
