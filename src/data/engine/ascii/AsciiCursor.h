#pragma once
// The cursor over one open ASCII table.  Records are the lines of the text
// file in file order; the line index makes record numbers exact, so the
// cursor is sequenced.  A bookmark names a record by an id given to it when
// it was first seen, which stays valid while records are inserted and
// deleted through this cursor, and across changes other programs make to
// records other than it; bookmarks compare by the records' places.

#include "data/engine/EngineCursor.h"
#include "data/engine/ascii/AsciiLocks.h"
#include "data/engine/ascii/AsciiRecordCodec.h"
#include "data/engine/ascii/AsciiSchema.h"
#include "data/engine/ascii/AsciiTextFile.h"

#include <memory>
#include <string>
#include <vector>

class TAsciiCursor : public TEngineCursor {
public:
    TAsciiCursor(const std::string& textPath, const std::string& schemaPath, const TAsciiSchema& schema,
                 bool writable, bool exclusive);

    const std::vector<TEngineFieldDef>& FieldDefs() const override { return FFieldDefs; }
    bool CanModify() const override { return FWritable; }
    std::string RecoveryNote() const override { return FRecoveryNote; }
    bool IsSequenced() const override { return true; }
    int64_t RecordCount() override { return FFile->LineCount(); }
    int CodePage() const override { return FCodec.CodePage(); }

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

private:
    void RemoveLeftoversOfStoppedWrites();
    // The lock a write of the record under the cursor needs: the one this
    // cursor holds, or one taken for the write alone.
    class TRecordWriteLock;

    void AssignFreshIds();
    // Takes in the file as another program left it; see Resync in the source.
    void Resync();
    // Resyncs when the file changed on disk; raises DBIERR_RECNOTFOUND when
    // the record under the cursor was changed or deleted there.
    void SyncWithDisk();
    void RenumberFrom(int64_t position);
    void RequireWritable() const;
    void RequireRecord() const;
    void MoveTo(int64_t position, TEngineRecord& record);
    int64_t PositionOf(const std::string& bookmark) const;
    void ReleaseLock();

    std::unique_ptr<TAsciiTextFile> FFile;
    TAsciiRecordCodec FCodec;
    std::vector<TEngineFieldDef> FFieldDefs;
    bool FWritable;
    std::string FRecoveryNote;
    std::unique_ptr<TAsciiLocks> FLocks;

    std::vector<uint64_t> FIds;        // id of the record at each place
    std::vector<int64_t> FPositions;   // place of each id; -1 once deleted
    int64_t FPosition = 0;             // the record, or the crack before it
    bool FOnRecord = false;

    bool FLocked = false;
    uint64_t FLockedId = 0;
    uint64_t FLockedKey = 0;
};
