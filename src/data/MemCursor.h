#pragma once
// An in-memory table and the engine cursor that walks it.  Records keep the
// order they were inserted in; a record's bookmark is its identity, so it
// stays valid (and keeps its place in the order) across inserts and deletes
// of other records.

#include "data/MemOrderedColumns.h"
#include "data/engine/EngineCursor.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class TMemColumnIndex;

struct TMemRow {
    uint64_t Id = 0;
    TEngineRecord Values;
    size_t Pos = 0;        // index in the order; trusted only below TMemStorage's valid mark
    bool Deleted = false;
};

class TMemStorage {
public:
    explicit TMemStorage(std::vector<TEngineFieldDef> defs);
    ~TMemStorage();

    const std::vector<TEngineFieldDef>& FieldDefs() const { return FDefs; }
    size_t Count() const { return FOrder.size(); }
    TMemRow* At(size_t pos) const { return FOrder[pos]; }
    // Index of a live row in the order.
    size_t PositionOf(TMemRow* row);
    // The row a bookmark names, nullptr when it was deleted or never existed.
    TMemRow* Find(const std::string& bookmark) const;
    static std::string BookmarkOf(const TMemRow& row);
    int CompareBookmarks(const std::string& a, const std::string& b);

    TEngineRecord BlankRecord() const;
    // Checks a record against the column definitions (raising
    // EDBEngineError) and fills the values the table assigns.
    void PrepareRecord(TEngineRecord& record, bool isNew);
    TMemRow* Insert(size_t pos, TEngineRecord values);
    void Modify(TMemRow* row, TEngineRecord values);
    void Erase(TMemRow* row);
    void Clear();

    // The first row, in the table's order, that matches a search whose
    // columns all exist: through the table's own order where the searched
    // column stands in the order the search needs, else through a column
    // index, built on first use.
    TMemRow* FindFirst(const TEngineSearch& search);

    // Keeps, from now on, an index of every text column in the order that
    // ignores case, filled as rows arrive: the first type-ahead search of
    // a lookup list over a large table then finds an index ready.  The
    // rows of a load are sorted into it by SettleIndexes.
    void IndexTextColumnsAsRowsArrive();
    // Sorts the rows added since into every column index (the end of a load).
    void SettleIndexes();

    // One writer lock per row, held by the cursor that locked it.
    const void* LockOwner(const TMemRow* row) const;
    void SetLock(const TMemRow* row, const void* owner);

private:
    void Renumber();
    // Runs a change of the indexed values on every column index; one that
    // fails part-way leaves no index behind (they are built again when needed).
    template <typename Change>
    void UpdateIndexes(Change change);
    TMemColumnIndex& IndexFor(int column, TMemIndexOrder order);
    void AddTextIndexes();

    std::vector<TEngineFieldDef> FDefs;
    std::deque<TMemRow> FRows;          // by id - FIdBase - 1; grows at the end only, so rows stay put
    uint64_t FIdBase = 0;               // ids of cleared records are never given again
    std::vector<TMemRow*> FOrder;       // live rows in table order
    size_t FValidPos = 0;               // Pos is exact for FOrder[0 .. FValidPos)
    int64_t FNextAutoInc = 1;
    const TMemRow* FLockedRow = nullptr;
    const void* FLockOwner = nullptr;
    std::vector<std::unique_ptr<TMemColumnIndex>> FIndexes;
    bool FIndexTextColumns = false;     // IndexTextColumnsAsRowsArrive
    TMemOrderedColumns FOrderedColumns{*this};
};

class TMemCursor : public TEngineCursor {
public:
    TMemCursor(std::shared_ptr<TMemStorage> storage, bool sequenced, bool readOnly);
    ~TMemCursor() override;

    const std::vector<TEngineFieldDef>& FieldDefs() const override { return FStorage->FieldDefs(); }
    bool CanModify() const override { return !FReadOnly; }
    bool IsSequenced() const override { return FSequenced; }
    int64_t RecordCount() override { return static_cast<int64_t>(FStorage->Count()); }
    int CodePage() const override { return 65001; }

    void SetToBegin() override;
    void SetToEnd() override;
    bool Next(TEngineRecord& record) override;
    bool Prior(TEngineRecord& record) override;
    bool ReadCurrent(TEngineRecord& record) override;

    std::string Bookmark() const override;
    bool GotoBookmark(const std::string& bookmark) override;
    int CompareBookmarks(const std::string& a, const std::string& b) const override;
    int64_t RecNo() override;
    bool SetRecNo(int64_t recNo) override;

    TEngineRecord BlankRecord() override { return FStorage->BlankRecord(); }
    void LockRecord(TEngineRecord& fresh) override;
    void UnlockRecord() override;
    void ModifyRecord(const TEngineRecord& record) override;
    void InsertRecord(TEngineRecord& record, bool append) override;
    void DeleteRecord() override;
    void Refresh() override {}

    bool CanFind(const TEngineSearch& search) const override;
    bool FindFirst(const TEngineSearch& search) override;
    // One by one, the indexes settled once at the end.
    void AppendRecords(std::vector<TEngineRecord>& records, size_t& appended) override;

private:
    void CheckWritable() const;
    TMemRow* CurrentRow() const;   // raises DBIERR_NOCURRREC on a crack

    std::shared_ptr<TMemStorage> FStorage;
    bool FSequenced;
    bool FReadOnly;
    // On a record: FRow is it.  On a crack: the crack lies just before FRow
    // (nullptr: after the last record).
    TMemRow* FRow = nullptr;
    bool FOnCrack = true;
};
