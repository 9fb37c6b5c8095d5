// Calculated and lookup fields: their values live in the calc part of each
// record buffer and are computed whenever a record is read or edited.

#include "data/DataSet.h"
#include "platform/ScopeGuard.h"

#include "data/LookupCache.h"

void TDataSet::PrepareCalcFields()
{
    FCalcSlots.clear();
    FCalcFields.clear();
    FLookupFields.clear();
    FLookupCaches.clear();
    for (TField* field : FFields) {
        if (field->FieldKind() == fkData)
            continue;
        FCalcSlots.emplace(field, static_cast<int>(FCalcSlots.size()));
        if (field->FieldKind() == fkLookup) {
            FLookupFields.push_back(field);
            FLookupCaches.emplace(field, std::make_unique<TLookupCache>());
        }
        else
            FCalcFields.push_back(field);
    }
    CheckLookupDefinitions();
}

void TDataSet::CheckLookupDefinitions() const
{
    for (TField* field : FLookupFields) {
        if (!field->LookupDataSet())
            throw EDatabaseError("Lookup field '" + field->DisplayName() + "' has no LookupDataSet");
        if (field->LookupDataSet() == this)
            throw EDatabaseError("Lookup field '" + field->DisplayName() + "' cannot look up its own dataset");
        if (field->KeyFields.empty() || field->LookupKeyFields.empty() || field->LookupResultField.empty())
            throw EDatabaseError("Lookup field '" + field->DisplayName() +
                                 "' needs KeyFields, LookupKeyFields and LookupResultField");
        std::vector<TField*> keys;
        GetFieldList(keys, field->KeyFields);
        if (keys.size() != SplitFieldNames(field->LookupKeyFields).size())
            throw EDatabaseError("Lookup field '" + field->DisplayName() +
                                 "': KeyFields and LookupKeyFields differ in number");
    }
}

void TDataSet::CheckNotCalculating(const char* operation) const
{
    if (FCalcDepth > 0)
        throw EDatabaseError(std::string("Cannot ") + operation +
                             " while its calculated fields or filter are being computed");
}

int TDataSet::CalcSlot(const TField& field) const
{
    auto it = FCalcSlots.find(&field);
    return it == FCalcSlots.end() ? -1 : it->second;
}

void TDataSet::CalculateFields(TRecordBuffer& buffer)
{
    if (FCalcSlots.empty())
        return;
    buffer.Calc.assign(FCalcSlots.size(), TVariant::Null());
    TValueRollback<int> depth(FCalcDepth, FCalcDepth + 1);
    TDataSetStateGuard guard(*this, dsCalcFields, &buffer);
    for (TField* field : FLookupFields) {
        TDataSet* lookupSet = field->LookupDataSet();
        if (!lookupSet || !lookupSet->Active())
            continue;
        TVariant keys = FieldValues(field->KeyFields);
        bool missingKey = keys.IsArray() ? false : keys.IsNull();
        if (keys.IsArray())
            for (const TVariant& key : keys.AsArray())
                missingKey = missingKey || key.IsNull();
        if (missingKey)
            continue;
        TLookupCache& cache = *FLookupCaches.at(field);
        TVariant& value = buffer.Calc[static_cast<size_t>(CalcSlot(*field))];
        if (const TVariant* known = cache.Find(*lookupSet, lookupSet->ContentVersion(), keys)) {
            value = *known;
        } else {
            value = lookupSet->Lookup(field->LookupKeyFields, keys, field->LookupResultField);
            cache.Store(keys, value);
        }
    }
    if (OnCalcFields)
        OnCalcFields(*this);
}

void TDataSet::RecalculateCurrent()
{
    if (FCalcSlots.empty() || FRecordCount == 0)
        return;
    TRecordBuffer& buffer = CurrentBuffer();
    std::vector<TVariant> before = buffer.Calc;
    CalculateFields(buffer);
    for (const auto& [field, slot] : FCalcSlots) {
        size_t index = static_cast<size_t>(slot);
        bool changed = index >= before.size() || before[index].VarType() != buffer.Calc[index].VarType() ||
                       before[index] != buffer.Calc[index];
        if (changed)
            DataEvent(deFieldChange, const_cast<TField*>(field));
    }
}
