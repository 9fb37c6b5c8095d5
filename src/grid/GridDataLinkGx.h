#pragma once
// TGridDataLinkGx: the grid's link to its data source.  It keeps the field
// map (which dataset field each column shows), forwards the dataset's
// notifications to the grid, and remembers whether the in-place editor
// holds text not yet written to its field.

#include "data/DataLink.h"

#include <cstdint>
#include <string>
#include <vector>

class TCustomDBGridGx;
class TField;

class TGridDataLinkGx : public TDataLink {
public:
    // The most entries the field map can hold.
    static constexpr int MaxMapSize = 0x0FFFFFFF;

    explicit TGridDataLinkGx(TCustomDBGridGx* grid) : FGrid(grid) {}
    ~TGridDataLinkGx() override;

    TCustomDBGridGx* Grid() const { return FGrid; }

    // ---- the field map: one entry per grid column, the index of a field
    // in the dataset's field list or -1.
    // Rebuilds the map: one entry per column of a customized collection,
    // or one per visible field of the dataset.
    void BuildFieldMap();
    // Appends the entry of the named field (-1 when there is none);
    // raises EInvalidGridOperation when the map is full.
    void AddFieldMapping(const std::string& fieldName);
    void ClearFieldMap();
    int FieldMapCount() const { return static_cast<int>(FFieldMap.size()); }
    int FieldMapCapacity() const { return FCapacity; }
    // The most entries the map takes (MaxMapSize unless lowered, as tests
    // of a full map do).
    int FieldMapLimit() const { return FMapLimit; }
    void SetFieldMapLimit(int value) { FMapLimit = value; }
    // The field of entry i; nullptr out of range or for an entry of -1.
    TField* MappedField(int i) const;
    bool MapByColumns() const { return FMapByColumns; }
    // No dataset, or its fields were made automatically (and, for a map
    // built by columns, every column found its field).
    bool UsesDefaultFields() const;

    // The in-place editor holds text not yet written to its field.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    bool InUpdateData() const { return FInUpdateData; }
    // Throws away the editor's pending text, or cancels the dataset's edit.
    void ResetEdit();
    // Writes the editor's pending text into its field (as the dataset asks
    // before a post).
    void UpdateData() override;

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void FocusControl(TField** field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;

private:
    TCustomDBGridGx* FGrid;
    std::vector<int32_t> FFieldMap;
    int FCapacity = 0;
    int FMapLimit = MaxMapSize;
    bool FMapByColumns = false;
    bool FModified = false;
    bool FInUpdateData = false;
};

// Points the link's active record at one buffered record for a scope and
// puts it back on every path: how a row's values are read without moving
// the dataset.
class TLinkRecordScope {
public:
    TLinkRecordScope(TDataLink& link, int record) : FLink(link), FSaved(link.ActiveRecord())
    {
        FLink.SetActiveRecord(record);
    }
    ~TLinkRecordScope() { FLink.SetActiveRecord(FSaved); }
    TLinkRecordScope(const TLinkRecordScope&) = delete;
    TLinkRecordScope& operator=(const TLinkRecordScope&) = delete;

private:
    TDataLink& FLink;
    int FSaved;
};
