#pragma once
// Helpers of the dataset tests: an in-memory table of numbered records and
// a data link that records every notification it gets.

#include "data/DataLink.h"
#include "data/DataSource.h"
#include "data/MemTable.h"

#include <memory>
#include <string>
#include <vector>

// ID (1..count) and NAME ("R1".."Rn").
inline void DefineNumbered(TMemTable& table)
{
    table.FieldDefs().Add("ID", ftInteger, 0, true);
    table.FieldDefs().Add("NAME", ftString, 20);
}

inline void FillNumbered(TMemTable& table, int count, int firstId = 1)
{
    for (int i = 0; i < count; ++i)
        table.AppendRecord({TVariant(firstId + i), TVariant("R" + std::to_string(firstId + i))});
}

inline std::unique_ptr<TMemTable> NumberedTable(int count, bool open = true)
{
    auto table = std::make_unique<TMemTable>();
    DefineNumbered(*table);
    FillNumbered(*table, count);
    if (open)
        table->Open();
    return table;
}

inline int CurrentId(const TDataSet& dataSet)
{
    return dataSet.FieldByName("ID")->AsInteger();
}

class TRecordingLink : public TDataLink {
public:
    explicit TRecordingLink(TDataSource* source = nullptr, int bufferCount = 1)
    {
        SetBufferCount(bufferCount);
        SetDataSource(source);
    }

    std::vector<std::string> Events;
    std::vector<int> Distances;
    // When set, UpdateData writes this text into the field (a control's pending edit).
    TField* PendingField = nullptr;
    std::string PendingText;
    bool TakeFocus = false;
    TField* FocusedField = nullptr;

    void Clear()
    {
        Events.clear();
        Distances.clear();
    }
    int Count(const std::string& event) const
    {
        int n = 0;
        for (const std::string& e : Events)
            n += e == event;
        return n;
    }
    // IDs of the rows of this link's window, top to bottom (0 for a record without one).
    std::vector<int> RowIds()
    {
        std::vector<int> ids;
        int saved = ActiveRecord();
        for (int row = 0; row < RecordCount(); ++row) {
            SetActiveRecord(row);
            TVariant id = DataSet()->FieldByName("ID")->Value();
            ids.push_back(id.IsNull() ? 0 : id.AsInteger());
        }
        SetActiveRecord(saved);
        return ids;
    }

protected:
    void ActiveChanged() override { Events.push_back("ActiveChanged"); }
    void DataSetChanged() override { Events.push_back("DataSetChanged"); }
    void DataSetScrolled(int distance) override
    {
        Events.push_back("DataSetScrolled");
        Distances.push_back(distance);
    }
    void RecordChanged(TField* field) override
    {
        Events.push_back(field ? "RecordChanged:" + field->FieldName() : "RecordChanged");
    }
    void EditingChanged() override { Events.push_back("EditingChanged"); }
    void LayoutChanged() override { Events.push_back("LayoutChanged"); }
    void FocusControl(TField** field) override
    {
        Events.push_back("FocusControl");
        if (TakeFocus) {
            FocusedField = *field;
            *field = nullptr;
        }
    }
    void UpdateData() override
    {
        Events.push_back("UpdateData");
        if (PendingField) {
            TField* field = PendingField;
            PendingField = nullptr;
            field->SetAsString(PendingText);
        }
    }
    void CheckBrowseMode() override { Events.push_back("CheckBrowseMode"); }
};
