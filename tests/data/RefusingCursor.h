#pragma once
// A cursor that passes everything to another one but refuses writes while
// told to, the way an engine refuses a key violation; and an in-memory
// table that opens such a cursor.

#include "data/MemTable.h"
#include "data/engine/EngineStatus.h"

class TRefusingCursor : public TEngineCursor {
public:
    TRefusingCursor(std::unique_ptr<TEngineCursor> inner, const bool& refuse, const bool& lockedElsewhere)
        : FInner(std::move(inner)), FRefuse(refuse), FLockedElsewhere(lockedElsewhere) {}

    const std::vector<TEngineFieldDef>& FieldDefs() const override { return FInner->FieldDefs(); }
    bool CanModify() const override { return FInner->CanModify(); }
    bool IsSequenced() const override { return FInner->IsSequenced(); }
    int64_t RecordCount() override { return FInner->RecordCount(); }
    int CodePage() const override { return FInner->CodePage(); }
    void SetToBegin() override { FInner->SetToBegin(); }
    void SetToEnd() override { FInner->SetToEnd(); }
    bool Next(TEngineRecord& record) override { return FInner->Next(record); }
    bool Prior(TEngineRecord& record) override { return FInner->Prior(record); }
    bool ReadCurrent(TEngineRecord& record) override { return FInner->ReadCurrent(record); }
    std::string Bookmark() const override { return FInner->Bookmark(); }
    bool GotoBookmark(const std::string& bookmark) override { return FInner->GotoBookmark(bookmark); }
    int CompareBookmarks(const std::string& a, const std::string& b) const override
    {
        return FInner->CompareBookmarks(a, b);
    }
    int64_t RecNo() override { return FInner->RecNo(); }
    bool SetRecNo(int64_t recNo) override { return FInner->SetRecNo(recNo); }
    TEngineRecord BlankRecord() override { return FInner->BlankRecord(); }
    void LockRecord(TEngineRecord& fresh) override
    {
        if (FLockedElsewhere)
            RaiseEngineError(DBIERR_LOCKED);
        FInner->LockRecord(fresh);
        ++Locks;
    }
    void UnlockRecord() override
    {
        FInner->UnlockRecord();
        ++Unlocks;
    }
    void ModifyRecord(const TEngineRecord& record) override
    {
        Refuse();
        FInner->ModifyRecord(record);
    }
    void InsertRecord(TEngineRecord& record, bool append) override
    {
        Refuse();
        FInner->InsertRecord(record, append);
    }
    void DeleteRecord() override
    {
        Refuse();
        FInner->DeleteRecord();
    }
    void Refresh() override { FInner->Refresh(); }

    int Locks = 0;
    int Unlocks = 0;

private:
    void Refuse() const
    {
        if (FRefuse)
            RaiseEngineError(DBIERR_KEYVIOL, {"Field: ID"});
    }

    std::unique_ptr<TEngineCursor> FInner;
    const bool& FRefuse;
    const bool& FLockedElsewhere;
};

class TRefusingTable : public TMemTable {
public:
    bool RefuseWrites = false;
    bool LockedElsewhere = false;   // another user holds every record's lock
    TRefusingCursor* LastCursor = nullptr;

protected:
    std::unique_ptr<TEngineCursor> CreateCursor() override
    {
        auto cursor = std::make_unique<TRefusingCursor>(CreateMemCursor(), RefuseWrites, LockedElsewhere);
        LastCursor = cursor.get();
        return cursor;
    }
};
