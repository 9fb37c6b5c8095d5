#include "data/DataSet.h"

#include "data/DataLink.h"
#include "data/DataSource.h"
#include "data/LookupCache.h"

#include <algorithm>

TDataSet::TDataSet() : FFields(this) {}

TDataSet::~TDataSet()
{
    CloseQuietly();
    // Sources keep no pointer to a freed dataset.
    while (!FDataSources.empty())
        FDataSources.back()->SetDataSet(nullptr);
    FFields.Clear();
}

void TDataSet::CheckActive() const
{
    if (FState == dsInactive)
        throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const
{
    if (FState != dsInactive)
        throw EDatabaseError("Cannot perform this operation on an open dataset");
}

bool TDataSet::CanModify() const
{
    return FCursor && FCursor->CanModify();
}

// ---- fields

void TDataSet::GetFieldList(std::vector<TField*>& list, const std::string& names) const
{
    list.clear();
    for (const std::string& name : SplitFieldNames(names))
        list.push_back(FieldByName(name));
}

TVariant TDataSet::FieldValues(const std::string& names) const
{
    std::vector<TField*> fields;
    GetFieldList(fields, names);
    if (fields.size() == 1)
        return fields.front()->Value();
    std::vector<TVariant> values;
    values.reserve(fields.size());
    for (TField* field : fields)
        values.push_back(field->Value());
    return TVariant(std::move(values));
}

void TDataSet::SetFieldValues(const std::string& names, const TVariant& value)
{
    std::vector<TField*> fields;
    GetFieldList(fields, names);
    if (fields.size() == 1 && !value.IsArray()) {
        fields.front()->SetValue(value);
        return;
    }
    if (!value.IsArray() || value.ArrayLength() != static_cast<int>(fields.size()))
        throw EDatabaseError("Field values: " + std::to_string(fields.size()) +
                             " fields need an array of as many values");
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i]->SetValue(value[static_cast<int>(i)]);
}

const TRecordBuffer* TDataSet::ReadBuffer() const
{
    if (FTempBuffer)
        return FTempBuffer;
    if (FState == dsSetKey)
        return &FKeyBuffer;
    if (FState == dsInactive || FRecordCount == 0)
        return nullptr;
    int index = FDisplayRecord >= 0 && FDisplayRecord < FRecordCount ? FDisplayRecord : FActiveRecord;
    return &FBuffers[index];
}

TVariant TDataSet::GetFieldData(const TField& field) const
{
    const TRecordBuffer* buffer = ReadBuffer();
    if (!buffer)
        return TVariant::Null();
    int fieldNo = field.FieldNo();
    if (field.FieldKind() == fkData) {
        if (fieldNo < 0 || fieldNo >= static_cast<int>(buffer->Values.size()))
            return TVariant::Null();
        const TVariant& value = buffer->Values[static_cast<size_t>(fieldNo)];
        return value.IsEmpty() ? TVariant::Null() : value;
    }
    int slot = CalcSlot(field);
    if (slot < 0 || slot >= static_cast<int>(buffer->Calc.size()))
        return TVariant::Null();
    const TVariant& value = buffer->Calc[static_cast<size_t>(slot)];
    return value.IsEmpty() ? TVariant::Null() : value;
}

void TDataSet::SetFieldData(TField& field, const TVariant& value)
{
    bool calculating = FState == dsCalcFields && FTempBuffer;
    bool writable = FState == dsEdit || FState == dsInsert || FState == dsSetKey ||
                    (calculating && field.FieldKind() != fkData);
    if (!writable)
        throw EDatabaseError("Dataset not in edit or insert mode");
    TRecordBuffer& buffer = calculating ? *FTempBuffer : CurrentBuffer();
    if (field.FieldKind() == fkData) {
        int fieldNo = field.FieldNo();
        if (fieldNo < 0 || fieldNo >= static_cast<int>(buffer.Values.size()))
            throw EDatabaseError("Field '" + field.DisplayName() + "' has no column in the record");
        buffer.Values[static_cast<size_t>(fieldNo)] = value;
    } else {
        int slot = CalcSlot(field);
        if (slot < 0)
            throw EDatabaseError("Field '" + field.DisplayName() + "' is not part of the record");
        if (static_cast<int>(buffer.Calc.size()) <= slot)
            buffer.Calc.resize(static_cast<size_t>(slot) + 1);
        buffer.Calc[static_cast<size_t>(slot)] = value;
    }
    if (calculating || FState == dsSetKey)
        return;
    if (field.FieldKind() == fkData || field.FieldKind() == fkInternalCalc)
        FModified = true;
    DataEvent(deFieldChange, &field);
    RecalculateCurrent();
}

void TDataSet::ClearFields()
{
    CheckEditing();
    TRecordBuffer& buffer = CurrentBuffer();
    for (TField* field : FFields)
        if (field->FieldKind() == fkData && !field->ReadOnly() && field->FieldNo() >= 0 &&
            field->FieldNo() < static_cast<int>(buffer.Values.size()))
            buffer.Values[static_cast<size_t>(field->FieldNo())] = TVariant::Null();
    FModified = true;
    CalculateFields(buffer);
    DataEvent(deRecordChange);
}

void TDataSet::FieldPropertyChanged(TField& field, bool layout)
{
    (void)field;
    if (Active())
        DataEvent(layout ? deLayoutChange : deDataSetChange);
}

void TDataSet::FocusFieldControl(TField& field)
{
    if (!Active() || FDisableCount > 0)
        return;
    TField* request = &field;
    for (size_t i = 0; i < FDataSources.size() && request; ++i)
        FDataSources[i]->DataEvent(deFocusControl, nullptr, 0, &request);
}

// ---- state and notifications

void TDataSet::SetState(TDataSetState state)
{
    if (state == FState)
        return;
    FState = state;
    FModified = false;
    DataEvent(deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int distance)
{
    if (FDisableCount > 0) {
        // Links are not told, but their windows keep following the buffers.
        if (event == deDataSetScroll || event == deDataSetChange || event == deLayoutChange)
            for (TDataSource* source : FDataSources)
                for (TDataLink* link : source->Links())
                    link->UpdateWindow(event == deDataSetScroll ? distance : 0);
        if (event == deUpdateState)
            FDisabledStateChanged = true;
        if (event == deLayoutChange)
            FDisabledLayoutChanged = true;
        // Pending edits of the controls are still written: a batch must not
        // lose what the user typed.
        if (event != deUpdateRecord)
            return;
    }
    for (size_t i = 0; i < FDataSources.size(); ++i)
        FDataSources[i]->DataEvent(event, field, distance, nullptr);
}

void TDataSet::DisableControls()
{
    if (FDisableCount == 0) {
        FDisabledStateChanged = false;
        FDisabledLayoutChanged = false;
    }
    ++FDisableCount;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount > 0)
        return;
    if (FDisabledStateChanged)
        DataEvent(deUpdateState);
    if (Active()) {
        if (FDisabledLayoutChanged)
            DataEvent(deLayoutChange);
        DataEvent(deDataSetChange);
    }
    FDisabledStateChanged = false;
    FDisabledLayoutChanged = false;
}

// ---- data sources

void TDataSet::AddDataSource(TDataSource* source)
{
    if (std::find(FDataSources.begin(), FDataSources.end(), source) == FDataSources.end())
        FDataSources.push_back(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* source)
{
    std::erase(FDataSources, source);
    UpdateBufferCount();
}

int TDataSet::WantedBufferCount() const
{
    int count = 1;
    for (TDataSource* source : FDataSources)
        for (TDataLink* link : source->Links())
            count = std::max(count, link->BufferCount());
    return count;
}

void TDataSet::UpdateBufferCount(TDataLink* requester)
{
    if (!Active())
        return;
    int wanted = WantedBufferCount();
    if (wanted == FBufferCount) {
        if (requester)
            requester->UpdateWindow(0);
        return;
    }
    int shift = ResizeBuffers(wanted);
    for (TDataSource* source : FDataSources)
        for (TDataLink* link : source->Links())
            link->UpdateWindow(shift);
    // The link that asked reads the new window itself; the others are told.
    for (size_t s = 0; s < FDataSources.size(); ++s) {
        TDataSource* source = FDataSources[s];
        if (FDisableCount > 0 || !source->Enabled())
            continue;
        for (size_t i = 0; i < source->Links().size(); ++i)
            if (source->Links()[i] != requester)
                source->Links()[i]->DataEvent(deDataSetChange, nullptr, 0, nullptr);
    }
}

void TDataSet::SetDisplayRecord(int index)
{
    FDisplayRecord = index >= 0 && index < FRecordCount && index != FActiveRecord ? index : -1;
}
