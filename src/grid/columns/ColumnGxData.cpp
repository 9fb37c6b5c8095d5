// A column's behaviour over its field's value: the column kind, the text a
// cell shows, check box states, writing values and the can-modify test.

#include "grid/columns/ColumnGx.h"

#include "data/DataSet.h"
#include "data/Fields.h"
#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

#include <QString>

namespace {

bool SameTextNoCase(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// The ";"-separated names of one line.
std::vector<std::string> SplitNames(const std::string& line)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (true) {
        size_t end = line.find(';', start);
        names.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return names;
}

bool LineHasName(const std::string& line, const std::string& text)
{
    for (const std::string& name : SplitNames(line))
        if (SameTextNoCase(name, text))
            return true;
    return false;
}

bool IsMemoType(TFieldType type) { return type == ftMemo || type == ftFmtMemo; }

}  // namespace

int IndexOfNoCase(const TStringListGx& list, const std::string& text)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (SameTextNoCase(list[i], text))
            return static_cast<int>(i);
    return -1;
}

TColumnKindGx TColumnGx::ColumnKind() const
{
    if (Checkboxes())
        return ckCheckboxes;
    TField* field = Field();
    if (field && field->FieldKind() == fkLookup)
        return ckLookupField;
    bool pickItems = FPickList && !FPickList->empty();
    bool keyItems = FKeyList && !FKeyList->empty();
    if (pickItems && !keyItems)
        return ckPickList;
    if (keyItems && FImageList)
        return ckKeyImageList;
    if (keyItems && FPickList)
        return ckKeyPickList;
    return ckCommon;
}

int TColumnGx::KeyListIndexOfFieldText() const
{
    TField* field = Field();
    if (!field || !FKeyList)
        return -1;
    return IndexOfNoCase(*FKeyList, field->EditText());
}

std::string TColumnGx::DisplayText() const
{
    TField* field = Field();
    if (!field)
        return std::string();
    TColumnKindGx kind = ColumnKind();
    if (kind == ckKeyImageList)
        return std::string();
    if (FKeyList && !FKeyList->empty()) {
        const TStringListGx& pickList = PickList();
        int index = KeyListIndexOfFieldText();
        if (index >= 0 && index < static_cast<int>(pickList.size()))
            return pickList[static_cast<size_t>(index)];
        if (FNotInKeyListIndex >= 0 && FNotInKeyListIndex < static_cast<int>(pickList.size()))
            return pickList[static_cast<size_t>(FNotInKeyListIndex)];
        return std::string();
    }
    TColumnsHostGx* host = Host();
    if (host && host->DrawMemoText() && IsMemoType(field->DataType()))
        return field->AsString();
    if (kind == ckLookupField && FDropDownSpecRow->Visible()) {
        const TSpecRowGx& specRow = *FDropDownSpecRow;
        TDataSet* dataSet = field->DataSet();
        if (dataSet && !field->KeyFields.empty() && dataSet->FieldValues(field->KeyFields) == specRow.Value())
            return specRow.CellText(0);
        TDataSet* lookupDataSet = field->LookupDataSet();
        bool noValue = !lookupDataSet || !lookupDataSet->Active() || field->IsNull();
        if (specRow.ShowIfNotInKeyList() && noValue)
            return specRow.CellText(0);
    }
    return field->DisplayText();
}

TCheckBoxStateGx TColumnGx::CheckboxState() const
{
    TField* field = Field();
    if (!field)
        return cbsUnchecked;
    if (field->IsNull())
        return cbsGrayed;
    if (field->DataType() == ftBoolean)
        return field->AsBoolean() ? cbsChecked : cbsUnchecked;
    std::string text = field->EditText();
    const TStringListGx& keyList = KeyList();
    if (!keyList.empty() && LineHasName(keyList[0], text))
        return cbsChecked;
    if (keyList.size() >= 2 && LineHasName(keyList[1], text))
        return cbsUnchecked;
    return cbsGrayed;
}

void TColumnGx::SetCheckboxState(TCheckBoxStateGx value)
{
    TField* field = Field();
    if (!field)
        return;
    if (value == cbsGrayed) {
        UpdateData(std::string(), TVariant::Null(), false);
        return;
    }
    if (field->DataType() == ftBoolean) {
        UpdateData(std::string(), TVariant(value == cbsChecked), false);
        return;
    }
    const TStringListGx& keyList = KeyList();
    size_t line = value == cbsChecked ? 0 : 1;
    std::string text = line < keyList.size() ? SplitNames(keyList[line]).front() : std::string();
    UpdateData(text, TVariant::Null(), true);
}

void TColumnGx::UpdateData(std::string text, TVariant value, bool useText)
{
    bool handled = false;
    if (OnUpdateData)
        OnUpdateData(*this, text, value, useText, handled);
    if (handled)
        return;
    TField* field = Field();
    if (!field)
        return;
    if (useText) {
        TColumnsHostGx* host = Host();
        if (host && host->DrawMemoText() && IsMemoType(field->DataType()))
            field->SetAsString(text);
        else
            field->SetEditText(text);
    } else if (field->FieldKind() == fkLookup && !field->KeyFields.empty()) {
        field->DataSet()->SetFieldValues(field->KeyFields, value);
    } else {
        field->SetValue(value);
    }
}

bool TColumnGx::CanModify(bool tryEdit) const
{
    TColumnsHostGx* host = Host();
    if (!host || host->ReadOnly())
        return false;
    TDataLink* link = host->ColumnsDataLink();
    if (!link->Active() || link->ReadOnly() || ReadOnly())
        return false;
    TField* field = Field();
    TDataSet* dataSet = link->DataSet();
    if (!field || !dataSet)
        return false;
    if (field->FieldKind() == fkLookup) {
        std::vector<std::string> keyNames = SplitFieldNames(field->KeyFields);
        if (keyNames.empty())
            return false;
        for (const std::string& name : keyNames) {
            TField* keyField = dataSet->FindField(name);
            if (!keyField || !keyField->CanModify())
                return false;
        }
    } else if (!field->CanModify()) {
        return false;
    }
    if (IsBlobType(field->DataType())) {
        bool memoAsText = IsMemoType(field->DataType()) && host->DrawMemoText();
        if (!field->OnSetText && !memoAsText)
            return false;
    }
    if (!host->AllowedOperations().Contains(alopUpdateGx) && dataSet->State() != dsInsert)
        return false;
    if (!tryEdit)
        return true;
    link->Edit();
    return link->Editing();
}

void TColumnGx::FillColCellParams(TColCellParamsGx& params, bool editMode) const
{
    params.Font = Font();
    params.Background = Color();
    params.Alignment = Alignment();
    if (ColumnKind() == ckKeyImageList) {
        int index = KeyListIndexOfFieldText();
        params.ImageIndex = index >= 0 ? index : FNotInKeyListIndex;
    } else {
        params.ImageIndex = -1;
    }
    params.Text = DisplayText();
    params.CheckboxState = CheckboxState();
    params.ReadOnly = ReadOnly();
    GetColCellParams(editMode, params);
}

void TColumnGx::GetColCellParams(bool editMode, TColCellParamsGx& params) const
{
    if (FOnGetCellParams)
        FOnGetCellParams(const_cast<TColumnGx&>(*this), editMode, params);
}
