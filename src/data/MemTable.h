#pragma once
// TMemTable: a dataset whose records live in memory, with its columns
// defined in code.  It keeps the whole dataset contract: bookmarks that stay
// valid and ordered across inserts and deletes, locks, required columns,
// auto-increment values.  Sequenced chooses whether record numbers are
// exact (a proportional scroll bar) or unknown (the three-position one).
//
// The table indexes its text columns in the order that ignores case while
// records arrive, and sorts the records loaded while closed into those
// indexes when it opens: the type-ahead of a lookup list over it finds
// its first character at once, at some cost to the load.

#include "data/DataSet.h"
#include "data/MemCursor.h"

#include <memory>
#include <string>
#include <vector>

// The column definitions of an in-memory table.
class TMemFieldDefs {
public:
    void Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
    void Add(const TEngineFieldDef& def);
    int Count() const { return static_cast<int>(FDefs.size()); }
    const TEngineFieldDef& operator[](int index) const { return FDefs.at(static_cast<size_t>(index)); }
    const std::vector<TEngineFieldDef>& Items() const { return FDefs; }
    void Clear() { FDefs.clear(); }

private:
    std::vector<TEngineFieldDef> FDefs;
};

class TMemTable : public TDataSet {
public:
    TMemTable();
    ~TMemTable() override;

    // The column definitions, changed only while closed; records stored
    // under other definitions are discarded at the next open or append.
    TMemFieldDefs& FieldDefs();
    const TMemFieldDefs& FieldDefs() const { return FFieldDefs; }

    bool Sequenced() const { return FSequenced; }
    void SetSequenced(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    // Adds a record at the end.  While closed the values go straight into
    // the table (converted to the columns' types), which is how tests and
    // benchmarks load many records quickly; while open it is Append, the
    // values, Post.
    void AppendRecord(const std::vector<TVariant>& values);
    // Removes every record.
    void EmptyTable();
    // Records stored, whatever the dataset's state and filter.
    int64_t StoredRecordCount() const { return FStorage ? static_cast<int64_t>(FStorage->Count()) : 0; }

protected:
    std::unique_ptr<TEngineCursor> CreateCursor() override;
    // Cursor over the table's records; a subclass may wrap it.
    std::unique_ptr<TEngineCursor> CreateMemCursor();

private:
    TMemStorage& Storage();
    TVariant ConvertForColumn(int column, const TVariant& value);

    TMemFieldDefs FFieldDefs;
    std::shared_ptr<TMemStorage> FStorage;
    std::vector<std::unique_ptr<TField>> FConverters;
    bool FSequenced = true;
    bool FReadOnly = false;
};
