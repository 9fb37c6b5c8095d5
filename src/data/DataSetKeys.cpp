// Key entry: SetKey/EditKey put the dataset into dsSetKey, where the fields
// read and write a separate key buffer; GotoKey searches for the values given.

#include "data/DataSet.h"

#include "platform/Exceptions.h"

void TDataSet::SetKey()
{
    CheckBrowseMode();
    FKeyBuffer = TRecordBuffer();
    FKeyBuffer.Values.assign(FCursor->FieldDefs().size(), TVariant::Null());
    SetState(dsSetKey);
    DataEvent(deDataSetChange);
}

void TDataSet::EditKey()
{
    CheckBrowseMode();
    if (FKeyBuffer.Values.size() != FCursor->FieldDefs().size())
        FKeyBuffer.Values.assign(FCursor->FieldDefs().size(), TVariant::Null());
    SetState(dsSetKey);
    DataEvent(deDataSetChange);
}

void TDataSet::CancelKey()
{
    if (FState != dsSetKey)
        return;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
}

bool TDataSet::GotoKey()
{
    if (FState != dsSetKey)
        throw EDatabaseError("Dataset not in key entry mode");
    std::string names;
    std::vector<TVariant> values;
    for (TField* field : FFields) {
        if (field->FieldKind() != fkData || field->FieldNo() < 0 ||
            field->FieldNo() >= static_cast<int>(FKeyBuffer.Values.size()))
            continue;
        const TVariant& value = FKeyBuffer.Values[static_cast<size_t>(field->FieldNo())];
        if (value.IsNullOrEmpty())
            continue;
        names += (names.empty() ? "" : ";") + field->FieldName();
        values.push_back(value);
    }
    CancelKey();
    if (values.empty())
        return false;
    return Locate(names, values.size() == 1 ? values.front() : TVariant(std::move(values)));
}
