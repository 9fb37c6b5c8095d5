#include "data/MemTable.h"

#include "data/FieldTypes.h"

#include <strings.h>

void TMemFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Required = required;
    def.ReadOnly = type == ftAutoInc;
    Add(def);
}

void TMemFieldDefs::Add(const TEngineFieldDef& def)
{
    if (def.Name.empty())
        throw EDatabaseError("A field definition needs a name");
    if (def.DataType == ftUnknown)
        throw EDatabaseError("Field definition '" + def.Name + "' has no data type");
    for (const TEngineFieldDef& existing : FDefs)
        if (strcasecmp(existing.Name.c_str(), def.Name.c_str()) == 0)
            throw EDatabaseError("Duplicate field name '" + def.Name + "'");
    FDefs.push_back(def);
}

TMemTable::TMemTable() = default;

TMemTable::~TMemTable()
{
    CloseQuietly();
}

TMemFieldDefs& TMemTable::FieldDefs()
{
    CheckInactive();
    return FFieldDefs;
}

void TMemTable::SetSequenced(bool value)
{
    CheckInactive();
    FSequenced = value;
}

void TMemTable::SetReadOnly(bool value)
{
    CheckInactive();
    FReadOnly = value;
}

namespace {

bool SameDefinitions(const std::vector<TEngineFieldDef>& a, const std::vector<TEngineFieldDef>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || a[i].DataType != b[i].DataType || a[i].Size != b[i].Size ||
            a[i].Required != b[i].Required || a[i].Precision != b[i].Precision || a[i].Scale != b[i].Scale)
            return false;
    return true;
}

} // namespace

TMemStorage& TMemTable::Storage()
{
    // Records stored under other definitions cannot be read by these.
    if (FStorage && !SameDefinitions(FStorage->FieldDefs(), FFieldDefs.Items())) {
        FStorage.reset();
        FConverters.clear();
    }
    if (!FStorage) {
        FStorage = std::make_shared<TMemStorage>(FFieldDefs.Items());
        FStorage->IndexTextColumnsAsRowsArrive();
    }
    return *FStorage;
}

std::unique_ptr<TEngineCursor> TMemTable::CreateMemCursor()
{
    if (FFieldDefs.Count() == 0)
        throw EDatabaseError("The table has no field definitions");
    Storage().SettleIndexes();   // the records appended while closed
    return std::make_unique<TMemCursor>(FStorage, FSequenced, FReadOnly);
}

std::unique_ptr<TEngineCursor> TMemTable::CreateCursor()
{
    return CreateMemCursor();
}

TVariant TMemTable::ConvertForColumn(int column, const TVariant& value)
{
    if (value.IsNullOrEmpty())
        return TVariant::Null();
    if (FConverters.empty())
        for (const TEngineFieldDef& def : FFieldDefs.Items()) {
            auto field = CreateField(def.DataType, def.Size);
            field->SetFieldName(def.Name);
            FConverters.push_back(std::move(field));
        }
    return FConverters[static_cast<size_t>(column)]->ConvertToStored(value);
}

void TMemTable::AppendRecord(const std::vector<TVariant>& values)
{
    if (Active()) {
        TDataSet::AppendRecord(values);
        return;
    }
    if (FFieldDefs.Count() == 0)
        throw EDatabaseError("The table has no field definitions");
    if (values.size() > static_cast<size_t>(FFieldDefs.Count()))
        throw EDatabaseError("AppendRecord: " + std::to_string(values.size()) + " values for " +
                             std::to_string(FFieldDefs.Count()) + " fields");
    TMemStorage& storage = Storage();
    TEngineRecord record = storage.BlankRecord();
    for (size_t i = 0; i < values.size(); ++i)
        record[i] = ConvertForColumn(static_cast<int>(i), values[i]);
    storage.PrepareRecord(record, true);
    storage.Insert(storage.Count(), std::move(record));
}

void TMemTable::EmptyTable()
{
    if (Active()) {
        CheckBrowseMode();
        if (!CanModify())
            throw EDatabaseError("Cannot modify a read-only dataset");
    }
    Storage().Clear();
    ContentChanged();
    if (Active())
        First();
}
