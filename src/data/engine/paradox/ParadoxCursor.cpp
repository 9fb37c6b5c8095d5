#include "data/engine/paradox/ParadoxCursor.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxLocks.h"

#include <cerrno>
#include <fcntl.h>

using px::SetByteLock;
using px::TPxWriteGuard;

TParadoxCursor::TParadoxCursor(const TOpenTableParams& params) : FTable(std::make_unique<px::TPxTable>(params))
{
    TakeOpenLock(params.Exclusive);
}

TParadoxCursor::~TParadoxCursor()
{
    UnlockRecord();
}

void TParadoxCursor::TakeOpenLock(bool exclusive)
{
    if (!SetByteLock(FTable->DataFile().Handle(), exclusive ? F_WRLCK : F_RDLCK, px::OpenLockOffset))
        RaiseEngineError(DBIERR_FILELOCKED, {"File: " + FTable->Path(),
                                             exclusive ? "Another user has the table open." : "Another user has the table open exclusively."});
}

const std::vector<TEngineFieldDef>& TParadoxCursor::FieldDefs() const { return FTable->Codec().FieldDefs(); }
bool TParadoxCursor::CanModify() const { return FTable->CanModify(); }
int64_t TParadoxCursor::RecordCount() { return FTable->RecordCount(); }
int TParadoxCursor::CodePage() const { return FTable->CodePage().Number(); }

std::string TParadoxCursor::FormatName() const
{
    int version = FTable->Header().Version();
    const char* level = version <= 3 ? "3" : version == 4 ? "3.5" : version <= 9 ? "4" : version <= 11 ? "5" : "7";
    return std::string("Paradox ") + level;
}

std::string TParadoxCursor::ReadOnlyReason() const
{
    if (!FTable->ReadOnlyReason().empty())
        return "The table is open read-only because " + FTable->ReadOnlyReason() + ".";
    return TEngineCursor::ReadOnlyReason();
}

void TParadoxCursor::SetToBegin()
{
    FOnRecord = false;
    FIndex = 0;
}

void TParadoxCursor::SetToEnd()
{
    FOnRecord = false;
    FIndex = FTable->RecordCount();
}

bool TParadoxCursor::Next(TEngineRecord& record)
{
    int64_t target = FOnRecord ? FIndex + 1 : FIndex;
    if (target < 0)
        target = 0;
    if (target >= FTable->RecordCount()) {
        SetToEnd();
        return false;
    }
    FTable->ReadRecord(target, record);
    FOnRecord = true;
    FIndex = target;
    return true;
}

bool TParadoxCursor::Prior(TEngineRecord& record)
{
    int64_t target = std::min(FIndex, FTable->RecordCount()) - 1;
    if (target < 0) {
        SetToBegin();
        return false;
    }
    FTable->ReadRecord(target, record);
    FOnRecord = true;
    FIndex = target;
    return true;
}

bool TParadoxCursor::ReadCurrent(TEngineRecord& record)
{
    if (!OnRecord())
        return false;
    FTable->ReadRecord(FIndex, record);
    return true;
}

void TParadoxCursor::RequireRecord() const
{
    if (!OnRecord())
        RaiseEngineError(DBIERR_NOCURRREC);
}

std::string TParadoxCursor::Bookmark() const
{
    RequireRecord();
    return FTable->BookmarkOf(FIndex);
}

bool TParadoxCursor::GotoBookmark(const std::string& bookmark)
{
    int64_t r = FTable->FindBookmark(bookmark);
    if (r < 0)
        return false;
    FOnRecord = true;
    FIndex = r;
    return true;
}

int TParadoxCursor::CompareBookmarks(const std::string& a, const std::string& b) const
{
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int64_t TParadoxCursor::RecNo()
{
    return OnRecord() ? FIndex + 1 : -1;
}

bool TParadoxCursor::SetRecNo(int64_t recNo)
{
    if (recNo < 1 || recNo > FTable->RecordCount())
        return false;
    FOnRecord = true;
    FIndex = recNo - 1;
    return true;
}

TEngineRecord TParadoxCursor::BlankRecord()
{
    return FTable->BlankRecord();
}

int64_t TParadoxCursor::LockOffset(int64_t record) const
{
    return px::RecordLockOffset(FTable->LockIdentityOf(record));
}

void TParadoxCursor::Resynchronise(bool mustFind, bool writeLockHeld)
{
    // Keys find the record again; in other tables position labels are given
    // anew, so the record is found again by its bytes, nearest to where it
    // stood (records move when others insert or delete before them).
    std::string bookmark;
    std::string bytes;
    if (OnRecord()) {
        if (FTable->KeyBookmarks())
            bookmark = FTable->BookmarkOf(FIndex);
        else if (!FTable->Header().IsKeyed())
            bytes = FTable->LockIdentityOf(FIndex);
    }
    if (!FTable->Reload(writeLockHeld))
        return;
    int64_t r = -1;
    if (!bookmark.empty())
        r = FTable->FindBookmark(bookmark);
    else if (!bytes.empty())
        r = FTable->FindRecordBytes(bytes, FIndex);
    else
        return;
    if (r >= 0) {
        FIndex = r;
        return;
    }
    if (!mustFind && bookmark.empty())
        return;   // browsing: the cursor keeps its record number
    FOnRecord = false;   // another program deleted it or changed it
    RaiseEngineError(DBIERR_RECNOTFOUND, {"File: " + FTable->Path(), "The record was changed or deleted by another user."});
}

bool TParadoxCursor::TakeRecordLock(int64_t offset)
{
    if (FLockedAt == offset)
        return true;
    if (!SetByteLock(FTable->DataFile().Handle(), F_WRLCK, offset)) {
        if (errno == EAGAIN || errno == EACCES)
            return false;
        return true;   // locks unsupported by the file system: editing goes on without one
    }
    UnlockRecord();
    FLockedAt = offset;
    return true;
}

void TParadoxCursor::LockRecord(TEngineRecord& fresh)
{
    RequireRecord();
    Resynchronise(true, false);
    RequireRecord();
    // The lock is taken on what identifies the record, then the record is
    // read again under it; should another writer have changed it in
    // between (a table without keys identifies a record by its bytes), the
    // lock follows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        int64_t offset = LockOffset(FIndex);
        if (!TakeRecordLock(offset))
            RaiseEngineError(DBIERR_LOCKED, {"File: " + FTable->Path()});
        try {
            Resynchronise(true, false);
            RequireRecord();
        } catch (...) {
            UnlockRecord();
            throw;
        }
        if (LockOffset(FIndex) == offset)
            break;
    }
    FTable->ReadRecord(FIndex, fresh);
}

void TParadoxCursor::UnlockRecord()
{
    if (FLockedAt >= 0)
        SetByteLock(FTable->DataFile().Handle(), F_UNLCK, FLockedAt);
    FLockedAt = -1;
}

void TParadoxCursor::RequireRecordLock()
{
    if (!TakeRecordLock(LockOffset(FIndex)))
        RaiseEngineError(DBIERR_LOCKED, {"File: " + FTable->Path()});
}

void TParadoxCursor::ModifyRecord(const TEngineRecord& record)
{
    RequireRecord();
    TPxWriteGuard guard(FTable->DataFile().Handle());
    Resynchronise(true, true);
    RequireRecord();
    // A record another cursor holds cannot be changed, wherever it moved.
    RequireRecordLock();
    FIndex = FTable->Modify(FIndex, record);
    UnlockRecord();
}

void TParadoxCursor::InsertRecord(TEngineRecord& record, bool append)
{
    TPxWriteGuard guard(FTable->DataFile().Handle());
    try {
        Resynchronise(true, true);
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() != DBIERR_RECNOTFOUND)
            throw;   // the current record being gone does not stop an insert
    }
    int64_t before = -1;
    if (!append && FIndex < FTable->RecordCount())
        before = FIndex;
    FIndex = FTable->Insert(record, before);
    FOnRecord = true;
}

void TParadoxCursor::DeleteRecord()
{
    RequireRecord();
    TPxWriteGuard guard(FTable->DataFile().Handle());
    Resynchronise(true, true);
    RequireRecord();
    RequireRecordLock();
    FTable->Delete(FIndex);
    UnlockRecord();
    FOnRecord = false;
}

void TParadoxCursor::Refresh()
{
    try {
        Resynchronise(false, false);
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() != DBIERR_RECNOTFOUND)
            throw;
    }
    if (FIndex > FTable->RecordCount())
        FIndex = FTable->RecordCount();
}
