#include "data/engine/ascii/AsciiCursor.h"

#include "data/engine/EngineLog.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr size_t BookmarkSize = 8;

std::string EncodeBookmark(uint64_t id)
{
    std::string bookmark(BookmarkSize, '\0');
    for (size_t i = 0; i < BookmarkSize; ++i)
        bookmark[i] = static_cast<char>(id >> (8 * (BookmarkSize - 1 - i)));
    return bookmark;
}

bool DecodeBookmark(const std::string& bookmark, uint64_t& id)
{
    if (bookmark.size() != BookmarkSize)
        return false;
    id = 0;
    for (unsigned char c : bookmark)
        id = id << 8 | c;
    return true;
}

} // namespace

class TAsciiCursor::TRecordWriteLock {
public:
    // Takes the record lock unless the cursor holds it already; raises
    // DBIERR_LOCKED when another holder has it.
    TRecordWriteLock(TAsciiCursor& cursor, const std::string& line) : FCursor(cursor)
    {
        uint64_t id = cursor.FIds[cursor.FPosition];
        FKey = TAsciiLocks::RecordKey(line);
        if (cursor.FLocked && cursor.FLockedId == id && cursor.FLockedKey == FKey)
            return;
        if (!cursor.FLocks->TryLockRecord(FKey))
            RaiseEngineError(DBIERR_LOCKED, {"File: " + cursor.FFile->Path(),
                                             "Record " + std::to_string(cursor.FPosition + 1)});
        FTemporary = true;
    }
    ~TRecordWriteLock()
    {
        if (FTemporary && !FReleased)
            FCursor.FLocks->UnlockRecord(FKey);
    }
    TRecordWriteLock(const TRecordWriteLock&) = delete;
    TRecordWriteLock& operator=(const TRecordWriteLock&) = delete;

    // After a successful write, the record's lock is given up in any case.
    void ReleaseAfterWrite()
    {
        if (FTemporary)
            FCursor.FLocks->UnlockRecord(FKey);
        else
            FCursor.ReleaseLock();
        FReleased = true;
    }

private:
    TAsciiCursor& FCursor;
    uint64_t FKey = 0;
    bool FTemporary = false;
    bool FReleased = false;
};

TAsciiCursor::TAsciiCursor(const std::string& textPath, const std::string& schemaPath, const TAsciiSchema& schema,
                           bool writable, bool exclusive)
    : FFile(std::make_unique<TAsciiTextFile>(textPath)), FCodec(schema), FWritable(writable),
      FLocks(std::make_unique<TAsciiLocks>(schemaPath, writable, exclusive))
{
    for (const TAsciiField& field : schema.Fields)
        FFieldDefs.push_back(AsciiFieldDef(field));
    AssignFreshIds();
    if (writable)
        RemoveLeftoversOfStoppedWrites();
}

// Every write replaces the file by a rename, so a write that was stopped
// leaves the table as it stood and only its unfinished copy beside it.
void TAsciiCursor::RemoveLeftoversOfStoppedWrites()
{
    try {
        TAsciiWriteGuard guard(*FLocks);
        int removed = RemoveUnfinishedReplacements(FFile->Path());
        if (removed == 0)
            return;
        FRecoveryNote = "A write that did not finish left " + std::to_string(removed) +
                        (removed == 1 ? " unfinished copy" : " unfinished copies") +
                        " of the table beside it; removed (the table is as it stood before that write).";
        EngineLog(FFile->Path() + ": " + FRecoveryNote);
    } catch (const EDBEngineError&) {
        // Another process is writing: its new file is no leftover.
    }
}

void TAsciiCursor::AssignFreshIds()
{
    int64_t count = FFile->LineCount();
    FIds.resize(static_cast<size_t>(count));
    std::iota(FIds.begin(), FIds.end(), uint64_t(0));
    FPositions.resize(static_cast<size_t>(count));
    std::iota(FPositions.begin(), FPositions.end(), int64_t(0));
}

void TAsciiCursor::Resync()
{
    auto fresh = std::make_unique<TAsciiTextFile>(FFile->Path());
    fresh->KeepLineEndOf(*FFile);
    int64_t oldCount = FFile->LineCount();
    int64_t newCount = fresh->LineCount();
    // When the file was replaced, its old version is still read through
    // the old handle: lines equal at the start and at the end keep their
    // ids, and the lines between are new records with new ids.  A file
    // changed in place has no old version left to compare with, so all its
    // records are new.  Either way no bookmark names another record.
    int64_t common = fresh->IsSameFileAs(*FFile) ? 0 : std::min(oldCount, newCount);
    int64_t head = 0;
    while (head < common && FFile->ReadLine(head) == fresh->ReadLine(head))
        ++head;
    int64_t tail = 0;
    while (tail < common - head &&
           FFile->ReadLine(oldCount - 1 - tail) == fresh->ReadLine(newCount - 1 - tail))
        ++tail;

    uint64_t currentId = FOnRecord ? FIds[FPosition] : 0;
    std::vector<uint64_t> ids(FIds.begin(), FIds.begin() + head);
    for (int64_t i = head; i < oldCount - tail; ++i)
        FPositions[FIds[i]] = -1;
    for (int64_t i = head; i < newCount - tail; ++i) {
        ids.push_back(FPositions.size());
        FPositions.push_back(-1);
    }
    ids.insert(ids.end(), FIds.end() - tail, FIds.end());
    FIds = std::move(ids);
    RenumberFrom(head);
    FFile = std::move(fresh);

    if (FOnRecord && FPositions[currentId] >= 0) {
        FPosition = FPositions[currentId];
    } else {
        // A crack, or a record that was changed: the crack where it stood.
        if (FPosition >= oldCount - tail)
            FPosition += newCount - oldCount;
        else if (FPosition > head)
            FPosition = head;
        FPosition = std::clamp<int64_t>(FPosition, 0, newCount);
        FOnRecord = false;
    }
    if (FLocked && FPositions[FLockedId] < 0)
        ReleaseLock();
}

void TAsciiCursor::SyncWithDisk()
{
    if (!FFile->ChangedOnDisk())
        return;
    bool wasOnRecord = FOnRecord;
    Resync();
    if (wasOnRecord && !FOnRecord)
        RaiseEngineError(DBIERR_RECNOTFOUND, {"File: " + FFile->Path(),
                                              "Another program changed or deleted this record."});
}

void TAsciiCursor::RenumberFrom(int64_t position)
{
    for (size_t i = static_cast<size_t>(position); i < FIds.size(); ++i)
        FPositions[FIds[i]] = static_cast<int64_t>(i);
}

void TAsciiCursor::RequireWritable() const
{
    if (!FWritable)
        RaiseEngineError(DBIERR_TABLEREADONLY, {"File: " + FFile->Path()});
}

void TAsciiCursor::RequireRecord() const
{
    if (!FOnRecord)
        RaiseEngineError(DBIERR_NOCURRREC);
}

void TAsciiCursor::SetToBegin()
{
    FPosition = 0;
    FOnRecord = false;
}

void TAsciiCursor::SetToEnd()
{
    FPosition = FFile->LineCount();
    FOnRecord = false;
}

void TAsciiCursor::MoveTo(int64_t position, TEngineRecord& record)
{
    record = FCodec.Decode(FFile->ReadLine(position));
    FPosition = position;
    FOnRecord = true;
}

bool TAsciiCursor::Next(TEngineRecord& record)
{
    int64_t target = FOnRecord ? FPosition + 1 : FPosition;
    if (target < 0)
        target = 0;
    if (target >= FFile->LineCount()) {
        SetToEnd();
        return false;
    }
    MoveTo(target, record);
    return true;
}

bool TAsciiCursor::Prior(TEngineRecord& record)
{
    int64_t target = std::min(FPosition, FFile->LineCount()) - 1;
    if (target < 0) {
        SetToBegin();
        return false;
    }
    MoveTo(target, record);
    return true;
}

bool TAsciiCursor::ReadCurrent(TEngineRecord& record)
{
    if (!FOnRecord || FPosition >= FFile->LineCount())
        return false;
    record = FCodec.Decode(FFile->ReadLine(FPosition));
    return true;
}

std::string TAsciiCursor::Bookmark() const
{
    RequireRecord();
    return EncodeBookmark(FIds[FPosition]);
}

int64_t TAsciiCursor::PositionOf(const std::string& bookmark) const
{
    uint64_t id = 0;
    if (!DecodeBookmark(bookmark, id) || id >= FPositions.size())
        return -1;
    return FPositions[id];
}

bool TAsciiCursor::GotoBookmark(const std::string& bookmark)
{
    int64_t position = PositionOf(bookmark);
    if (position < 0)
        return false;
    FPosition = position;
    FOnRecord = true;
    return true;
}

int TAsciiCursor::CompareBookmarks(const std::string& a, const std::string& b) const
{
    int64_t first = PositionOf(a);
    int64_t second = PositionOf(b);
    if (first >= 0 && second >= 0)
        return first < second ? -1 : first > second ? 1 : 0;
    // A bookmark of a record that is gone orders before every live one.
    if (first >= 0 || second >= 0)
        return first >= 0 ? 1 : -1;
    return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
}

int64_t TAsciiCursor::RecNo()
{
    return FOnRecord ? FPosition + 1 : -1;
}

bool TAsciiCursor::SetRecNo(int64_t recNo)
{
    if (recNo < 1 || recNo > FFile->LineCount())
        return false;
    FPosition = recNo - 1;
    FOnRecord = true;
    return true;
}

TEngineRecord TAsciiCursor::BlankRecord()
{
    return TEngineRecord(FFieldDefs.size(), TVariant::Null());
}

void TAsciiCursor::ReleaseLock()
{
    if (FLocked)
        FLocks->UnlockRecord(FLockedKey);
    FLocked = false;
}

void TAsciiCursor::LockRecord(TEngineRecord& fresh)
{
    RequireWritable();
    RequireRecord();
    SyncWithDisk();
    std::string line = FFile->ReadLine(FPosition);
    uint64_t id = FIds[FPosition];
    uint64_t key = TAsciiLocks::RecordKey(line);
    if (!(FLocked && FLockedId == id && FLockedKey == key)) {
        ReleaseLock();
        if (!FLocks->TryLockRecord(key))
            RaiseEngineError(DBIERR_LOCKED, {"File: " + FFile->Path(), "Record " + std::to_string(FPosition + 1)});
        FLocked = true;
        FLockedId = id;
        FLockedKey = key;
    }
    fresh = FCodec.Decode(line);
}

void TAsciiCursor::UnlockRecord()
{
    ReleaseLock();
}

void TAsciiCursor::ModifyRecord(const TEngineRecord& record)
{
    RequireWritable();
    RequireRecord();
    TAsciiWriteGuard writing(*FLocks);
    SyncWithDisk();
    std::string oldLine = FFile->ReadLine(FPosition);
    TRecordWriteLock lock(*this, oldLine);
    std::string_view old(oldLine);
    std::string newLine = FCodec.Encode(record, &old);
    if (newLine != oldLine)
        FFile->ReplaceLines(FPosition, 1, {newLine});
    lock.ReleaseAfterWrite();
}

void TAsciiCursor::InsertRecord(TEngineRecord& record, bool append)
{
    RequireWritable();
    TAsciiWriteGuard writing(*FLocks);
    if (FFile->ChangedOnDisk())
        Resync();
    std::string line = FCodec.Encode(record, nullptr);
    int64_t count = FFile->LineCount();
    int64_t position = append ? count : std::clamp<int64_t>(FPosition, 0, count);
    FFile->ReplaceLines(position, 0, {line});
    uint64_t id = FPositions.size();
    FPositions.push_back(position);
    FIds.insert(FIds.begin() + position, id);
    RenumberFrom(position + 1);
    FPosition = position;
    FOnRecord = true;
}

void TAsciiCursor::DeleteRecord()
{
    RequireWritable();
    RequireRecord();
    TAsciiWriteGuard writing(*FLocks);
    SyncWithDisk();
    TRecordWriteLock lock(*this, FFile->ReadLine(FPosition));
    FFile->ReplaceLines(FPosition, 1, {});
    lock.ReleaseAfterWrite();
    FPositions[FIds[FPosition]] = -1;
    FIds.erase(FIds.begin() + FPosition);
    RenumberFrom(FPosition);
    FOnRecord = false;
}

void TAsciiCursor::Refresh()
{
    if (FFile->ChangedOnDisk())
        Resync();
}
