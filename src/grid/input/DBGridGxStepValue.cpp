// Step the value of a column: the next or prior value of a check box, pick
// list, key list or number column, written through the column.

#include "grid/input/DBGridGxStepValue.h"

#include "data/Field.h"
#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"

#include <cctype>

namespace {

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The key of a key list line ("key=caption" or just "key").
std::string KeyOfLine(const std::string& line)
{
    const size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(0, eq);
}

// The line after (+1) or before (-1) the one holding text, wrapping; the
// first or last line when the text is in none.
size_t NextLine(const TStringListGx& lines, const std::string& text, int step, bool keys)
{
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i)
        if (SameNoCase(keys ? KeyOfLine(lines[i]) : lines[i], text))
            return step > 0 ? (i + 1) % count : (i + count - 1) % count;
    return step > 0 ? 0 : count - 1;
}

bool IsNumberField(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return true;
    default:
        return false;
    }
}

} // namespace

void TDBGridGxStepValue::StepColumnValue(TColumnGx& column, int step)
{
    if (step == 0 || !column.CanModify(true))
        return;
    TField* field = column.Field();
    if (!field)
        return;
    switch (column.ColumnKind()) {
    case ckCheckboxes:
        column.SetCheckboxState(column.CheckboxState() == cbsChecked ? cbsUnchecked : cbsChecked);
        return;
    case ckPickList:
        if (!column.PickList().empty())
            column.UpdateData(column.PickList()[NextLine(column.PickList(), field->EditText(), step, false)],
                              TVariant::Null(), true);
        return;
    case ckKeyPickList:
    case ckKeyImageList:
        if (!column.KeyList().empty())
            column.UpdateData(KeyOfLine(column.KeyList()[NextLine(column.KeyList(), field->EditText(), step, true)]),
                              TVariant::Null(), true);
        return;
    default:
        break;
    }
    if (!IsNumberField(field->DataType()))
        return;
    const double value = field->IsNull() ? 0.0 : field->AsFloat();
    column.UpdateData(std::string(), TVariant(value + step), false);
}
