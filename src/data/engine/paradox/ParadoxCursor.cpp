#include "data/engine/paradox/ParadoxCursor.h"

#include "data/engine/EngineStatus.h"

#include <cerrno>
#include <fcntl.h>

namespace {

// Advisory locks live far beyond any table's data, so they never touch bytes
// other programs lock for their own protocols.
constexpr int64_t OpenLockOffset = int64_t{1} << 42;
constexpr int64_t WriteLockOffset = (int64_t{1} << 42) + 1;
constexpr int64_t RecordLockBase = int64_t{1} << 40;

bool SetLock(int fd, short type, int64_t offset)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Holds the table's write lock for one edit, so that two processes never
// interleave their writes; the edit starts from the file as it is then.
class TWriteGuard {
public:
    explicit TWriteGuard(int fd) : FFd(fd)
    {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = WriteLockOffset;
        lock.l_len = 1;
        FLocked = fcntl(FFd, F_OFD_SETLKW, &lock) == 0;
    }
    ~TWriteGuard()
    {
        if (FLocked)
            SetLock(FFd, F_UNLCK, WriteLockOffset);
    }
    TWriteGuard(const TWriteGuard&) = delete;
    TWriteGuard& operator=(const TWriteGuard&) = delete;

private:
    int FFd;
    bool FLocked = false;
};

} // namespace

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
    if (!SetLock(FTable->DataFile().Handle(), exclusive ? F_WRLCK : F_RDLCK, OpenLockOffset))
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
    int block, slot;
    FTable->BlockAndSlotOf(record, block, slot);
    return RecordLockBase + int64_t(block) * 65536 + slot;
}

void TParadoxCursor::Resynchronise()
{
    // Keys find the record again; position labels are given anew, so a
    // non-keyed table keeps the record number.
    std::string bookmark = OnRecord() && FTable->KeyBookmarks() ? FTable->BookmarkOf(FIndex) : std::string();
    if (!FTable->Reload())
        return;
    if (bookmark.empty())
        return;
    int64_t r = FTable->FindBookmark(bookmark);
    if (r >= 0) {
        FIndex = r;
        return;
    }
    FOnRecord = false;   // another program deleted it or changed its key
    RaiseEngineError(DBIERR_RECNOTFOUND, {"File: " + FTable->Path(), "The record was changed or deleted by another user."});
}

void TParadoxCursor::LockRecord(TEngineRecord& fresh)
{
    RequireRecord();
    Resynchronise();
    RequireRecord();
    int64_t offset = LockOffset(FIndex);
    if (FLockedAt != offset) {
        UnlockRecord();
        if (!SetLock(FTable->DataFile().Handle(), F_WRLCK, offset)) {
            if (errno == EAGAIN || errno == EACCES)
                RaiseEngineError(DBIERR_LOCKED, {"File: " + FTable->Path()});
            // Locks unsupported by the file system: editing goes on without one.
        } else {
            FLockedAt = offset;
        }
    }
    FTable->ReadRecord(FIndex, fresh);
}

void TParadoxCursor::UnlockRecord()
{
    if (FLockedAt >= 0)
        SetLock(FTable->DataFile().Handle(), F_UNLCK, FLockedAt);
    FLockedAt = -1;
}

void TParadoxCursor::ModifyRecord(const TEngineRecord& record)
{
    RequireRecord();
    TWriteGuard guard(FTable->DataFile().Handle());
    Resynchronise();
    RequireRecord();
    FIndex = FTable->Modify(FIndex, record);
    UnlockRecord();
}

void TParadoxCursor::InsertRecord(TEngineRecord& record, bool append)
{
    TWriteGuard guard(FTable->DataFile().Handle());
    try {
        Resynchronise();
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
    TWriteGuard guard(FTable->DataFile().Handle());
    Resynchronise();
    RequireRecord();
    FTable->Delete(FIndex);
    UnlockRecord();
    FOnRecord = false;
}

void TParadoxCursor::Refresh()
{
    try {
        Resynchronise();
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() != DBIERR_RECNOTFOUND)
            throw;
    }
    if (FIndex > FTable->RecordCount())
        FIndex = FTable->RecordCount();
}
