#pragma once
// The engine cursor over an open Paradox table.

#include "data/engine/Engine.h"
#include "data/engine/paradox/PxTable.h"

#include <memory>

class TParadoxCursor : public TEngineCursor {
public:
    explicit TParadoxCursor(const TOpenTableParams& params);
    ~TParadoxCursor() override;

    const std::vector<TEngineFieldDef>& FieldDefs() const override;
    bool CanModify() const override;
    bool IsSequenced() const override { return true; }
    int64_t RecordCount() override;
    int CodePage() const override;
    TCodePageChoice CodePageChoice() const override { return FTable->CodePageChoice(); }
    std::string ReadOnlyReason() const override;
    std::string FormatName() const override;
    std::string RecoveryNote() const override { return FTable->RecoveryNote(); }

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

    TEngineRecord BlankRecord() override;
    void LockRecord(TEngineRecord& fresh) override;
    void UnlockRecord() override;
    void ModifyRecord(const TEngineRecord& record) override;
    void InsertRecord(TEngineRecord& record, bool append) override;
    void DeleteRecord() override;
    void Refresh() override;
    // The header's counters, the file's size and its change times (ParadoxCursorSearch.cpp).
    uint64_t ChangeStamp() override;
    // A search of the first key field of a keyed table, by bisecting the
    // records, which the table keeps in key order (ParadoxCursorSearch.cpp).
    TIndexedFind FindThroughIndex(const TEngineSearch& search) override;

private:
    bool OnRecord() const { return FOnRecord && FIndex < FTable->RecordCount(); }
    void RequireRecord() const;
    // Picks up other processes' changes and finds the current record again
    // (raises DBIERR_RECNOTFOUND when it is gone; unless `mustFind`, a table
    // without keys keeps the record number instead).  With the table's write
    // lock held, a change another process left unfinished is put back first.
    void Resynchronise(bool mustFind, bool writeLockHeld);
    // The lock byte of record r (see PxLocks.h).
    int64_t LockOffset(int64_t record) const;
    // Holds the lock at `offset` (releasing another one held); false when
    // another cursor holds it.
    bool TakeRecordLock(int64_t offset);
    // Takes the current record's lock unless held; DBIERR_LOCKED when another holds it.
    void RequireRecordLock();
    void TakeOpenLock(bool exclusive);

    std::unique_ptr<px::TPxTable> FTable;
    bool FOnRecord = false;
    int64_t FIndex = 0;   // the record, or the crack before record FIndex
    int64_t FLockedAt = -1;
};
