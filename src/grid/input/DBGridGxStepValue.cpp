#include "grid/input/DBGridGxStepValue.h"

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
        return false;
    }
    return false;
}
