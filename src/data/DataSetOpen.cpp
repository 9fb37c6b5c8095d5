// Opening and closing a dataset: the cursor, the fields bound to its
// columns, the first window of records.

#include "data/DataSet.h"

#include "data/DataSource.h"
#include "data/FieldTypes.h"

#include "data/LookupCache.h"

#include <strings.h>

void TDataSet::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    DoEvent(BeforeOpen);
    try {
        FCursor = CreateCursor();
        if (!FCursor)
            throw EDatabaseError("The dataset has no records to open");
        BindFields();
        PrepareCalcFields();
        UpdateFilter();
        FState = dsBrowse;
        FModified = false;
        ResetBuffers();
        FCursor->SetToBegin();
        FillAroundCursor(0, false);
        FBof = true;
        FEof = FRecordCount == 0;
    } catch (...) {
        FState = dsInactive;
        FCursor.reset();
        FFilterExpr.reset();
        DestroyDefaultFields();
        throw;
    }
    ++FContentVersion;
    DataEvent(deUpdateState);
    DoEvent(AfterOpen);
    DoEvent(AfterScroll);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    DoEvent(BeforeClose);
    CloseQuietly();
    DoEvent(AfterClose);
}

void TDataSet::CloseQuietly()
{
    if (!Active())
        return;
    // An unposted edit is discarded.
    if (FState == dsEdit || FState == dsInsert)
        CancelEditQuietly();
    FState = dsInactive;
    FModified = false;
    DataEvent(deUpdateState);
    FCursor.reset();
    FFilterExpr.reset();
    ClearBuffers();
    FBuffers.Reset(1);
    FBof = FEof = true;
    FCalcSlots.clear();
    FCalcFields.clear();
    FLookupFields.clear();
    FLookupCaches.clear();
    ++FContentVersion;
    DestroyDefaultFields();
}

void TDataSet::BindFields()
{
    const std::vector<TEngineFieldDef>& defs = FCursor->FieldDefs();
    if (FFields.Count() == 0) {
        CreateDefaultFields();
        return;
    }
    FDefaultFields = false;
    for (TField* field : FFields) {
        if (field->FieldKind() != fkData) {
            field->SetFieldNo(-1);
            continue;
        }
        int found = -1;
        for (size_t i = 0; i < defs.size() && found < 0; ++i)
            if (strcasecmp(defs[i].Name.c_str(), field->FieldName().c_str()) == 0)
                found = static_cast<int>(i);
        if (found < 0)
            throw EDatabaseError("Field '" + field->FieldName() + "' not found");
        field->SetFieldNo(found);
    }
}

void TDataSet::CreateDefaultFields()
{
    const std::vector<TEngineFieldDef>& defs = FCursor->FieldDefs();
    FDefaultFields = true;
    for (size_t i = 0; i < defs.size(); ++i) {
        const TEngineFieldDef& def = defs[i];
        std::unique_ptr<TField> field =
            CreateField(def.DataType, (def.DataType == ftBCD || def.DataType == ftFMTBcd) && def.Size == 0 ? def.Scale : def.Size);
        field->SetFieldName(def.Name);
        field->SetFieldNo(static_cast<int>(i));
        field->SetRequired(def.Required);
        if (def.ReadOnly || def.DataType == ftAutoInc)
            field->SetReadOnly(true);
        if (auto* decimalField = dynamic_cast<TFixedPointField*>(field.get()); decimalField && def.Precision > 0)
            decimalField->SetPrecision(def.Precision);
        FFields.Add(std::move(field));
    }
}

void TDataSet::DestroyDefaultFields()
{
    if (FDefaultFields)
        FFields.Clear();
    FDefaultFields = false;
}
