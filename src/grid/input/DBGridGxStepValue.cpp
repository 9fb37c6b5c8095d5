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

// The key of the lookup record after (step > 0) or before the one the
// field's key finds, wrapping; from the first lookup record when the key is
// null or not there.
bool StepLookupKey(TColumnGx& column, TField& field, double step)
{
    TDataSet* lookup = field.LookupDataSet();
    TDataSet* dataSet = field.DataSet();
    if (lookup == nullptr || dataSet == nullptr || !lookup->Active() || lookup->IsEmpty())
        return false;
    const TVariant key = dataSet->FieldValues(field.KeyFields);
    if (key.IsNull() || !lookup->Locate(field.LookupKeyFields, key)) {
        lookup->First();
    } else if (step > 0) {
        lookup->Next();
        if (lookup->Eof())
            lookup->First();
    } else {
        lookup->Prior();
        if (lookup->Bof())
            lookup->Last();
    }
    column.UpdateData(std::string(), lookup->FieldValues(field.LookupKeyFields), false);
    return true;
}

bool IsWhole(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftLargeint;
}
}  // namespace

bool StepColumnValue(TColumnGx& column, double step)
{
    TField* field = column.Field();
    if (!field || step == 0 || !column.CanModify(true))
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
        return StepLookupKey(column, *field, step);
    }
    return false;
}
