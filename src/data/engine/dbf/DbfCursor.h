#pragma once
// A cursor over one open .dbf table: records in physical order with the
// deleted ones hidden, bookmarks that are record numbers, record locks
// that cooperate with other processes, and writes that leave the files
// as they were when they fail.

#include "data/engine/CodePage.h"
#include "data/engine/Engine.h"
#include "data/engine/EngineCursor.h"
#include "data/engine/dbf/CdxCheck.h"
#include "data/engine/dbf/CdxIndex.h"
#include "data/engine/dbf/DbfFile.h"
#include "data/engine/dbf/DbfHeader.h"
#include "data/engine/dbf/DbfMemo.h"
#include "data/engine/dbf/DbfValues.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TDbfCursor : public TEngineCursor {
public:
    explicit TDbfCursor(const TOpenTableParams& params);
    ~TDbfCursor() override;

    const std::vector<TEngineFieldDef>& FieldDefs() const override { return FFieldDefs; }
    bool CanModify() const override { return FReadOnlyReason.empty(); }
    bool IsSequenced() const override { return false; }
    int64_t RecordCount() override;
    int CodePage() const override { return FCodePage->Number(); }
    std::string RecoveryNote() const override { return FRecoveryNote; }
    TCodePageChoice CodePageChoice() const override { return FCodePageChoice; }
    std::string ReadOnlyReason() const override { return FReadOnlyReason; }
    std::string FormatName() const override;

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
    // Appends the records as one operation: all of them or, on a failure
    // (a value refused, a candidate tag violated anywhere in the batch, a
    // full disk), none, with every file as before.
    void AppendRecords(std::vector<TEngineRecord>& records, size_t& appended) override;
    void DeleteRecord() override;
    void Refresh() override;
    uint64_t ChangeStamp() override;
    // A search of one column through a tag of the compound index (DbfTagSearch.cpp).
    TIndexedFind FindThroughIndex(const TEngineSearch& search) override;
    uint64_t IndexStamp() override;
    // Decodes only the wanted columns of the live records (DbfCursorColumns.cpp).
    void ReadColumns(const std::vector<bool>& columns, const TColumnVisitor& visit) override;

    const TDbfHeader& Header() const { return FHeader; }

    // ---- the table's compound index (DbfCursorIndex.cpp)
    bool HasIndex() const { return FIndex != nullptr || !FIndexProblem.empty(); }
    // The index as read on open (nullptr when there is none or it could not be read).
    cdx::TIndex* Index() { return FIndex.get(); }
    // Checks the index: its structure, and with `full` every tag against the
    // records.  An index whose header cannot be read reports just that.
    cdx::TCheckReport CheckIndex(bool full);
    // Writes the index afresh from the records (a new file, renamed over the
    // old one); the table must have been opened for writing.
    void RebuildIndex();

private:
    friend class TDbfTagSearch;

    // ---- opening (DbfCursor.cpp)
    void OpenMemoFile(bool writable);
    void DescribeFields();
    void CheckRecordCount();
    // ---- an append another process left unfinished (DbfRecovery.cpp)
    bool TrailingBytesAreRecords(uint64_t fileSize) const;
    void HandleUnfinishedAppend();
    bool RemoveUnfinishedAppend(uint32_t& removed);
    // ---- the code page (DbfCodePage.cpp): the one asked for, the header's
    // mark, or a guess from the first records' texts
    void SettleCodePage(int requested, const std::vector<uint8_t>& header, uint64_t fileSize);
    void SampleTexts(TCodePageSample& sample);

    // ---- the index (DbfCursorIndex.cpp)
    void RecoverInterruptedPost();
    void RemoveIdleJournal() noexcept;
    void OpenIndex(bool writable);
    void CheckIndexOnOpen();
    cdx::TRecordScan RecordScan();
    std::unique_ptr<class TDbfIndexedPost> BeginIndexedPost();

    // ---- reading
    const uint8_t* CachedRecord(uint32_t index, bool forward);
    bool ReadRecordFromDisk(uint32_t index, std::vector<uint8_t>& raw) const;
    void DecodeRecord(const uint8_t* raw, TEngineRecord& record) const;
    TVariant DecodeMemo(const TDbfField& field, const uint8_t* raw) const;
    void InvalidateCache() { FCacheCount = 0; }
    void UpdateCache(uint32_t index, const std::vector<uint8_t>& raw);
    bool OnRecord() const { return FOnRecord; }

    // ---- writing (DbfCursorEdit.cpp)
    void CheckWritable() const;
    void CheckOnRecord() const;
    bool LockRecordBytes(uint32_t index);
    // Takes the lock of record `index` (the one under the cursor) unless
    // already held; raises DBIERR_LOCKED when another holds it.
    void HoldRecordLock(uint32_t index);
    void UnlockRecordBytes(uint32_t index);
    void LockHeader();
    bool TryLockHeader();
    void UnlockHeader();
    void StampHeader(uint8_t* prefix) const;
    struct TPendingMemo {
        size_t Field;
        std::string Bytes;
    };
    void EncodeField(size_t fieldIndex, const TVariant& value, uint8_t* raw, std::vector<TPendingMemo>& memos) const;
    void WriteMemos(std::vector<TPendingMemo>& memos, uint8_t* raw);
    // Takes the memo file's allocation lock for a post that writes memos;
    // returns what the post may change in the file, saved in the journal too.
    TDbfMemoFile::TState LockMemoForPost(class TDbfIndexedPost* indexed);
    // ---- appending (DbfCursorAppend.cpp)
    class TCounters;
    struct TNewRecords;
    void EncodeNewRecords(const std::vector<TEngineRecord>& records, TNewRecords& encoded) const;
    void AssignAutoIncrements(TEngineRecord& record, uint8_t* raw, TCounters& counters);
    void WriteNewRecords(TNewRecords& encoded, std::vector<TEngineRecord>& records);
    // Whether a post is to stamp today's date into the header: not when
    // this cursor found or wrote it there today, nor when the header holds
    // it.  `stamped` (DbfDateEnd bytes) takes the date; `indexed` saves the
    // bytes it replaces.
    bool HeaderDateDue(uint8_t* stamped, class TDbfIndexedPost* indexed);
    void WriteHeaderDate(const uint8_t* stamped);
    int64_t LargestStoredValue(size_t fieldIndex);

    std::string FPath;
    TDbfFile FFile;
    std::unique_ptr<TDbfMemoFile> FMemo;
    TDbfHeader FHeader;
    std::unique_ptr<TCodePage> FCodePage;
    TCodePageChoice FCodePageChoice;
    std::unique_ptr<TDbfValues> FValues;
    std::vector<TEngineFieldDef> FFieldDefs;
    std::vector<size_t> FVisible;       // FHeader.Fields index of each column
    std::string FReadOnlyReason;
    std::unique_ptr<cdx::TIndex> FIndex;
    std::unique_ptr<class TDbfJournalStore> FJournalStore;   // opened by the first indexed post
    std::string FIndexProblem;          // why the index stands in the way of writing
    std::string FRecoveryNote;

    uint32_t FCount = 0;                // records the cursor walks
    int64_t FLiveCount = -1;            // counted on demand
    int64_t FPos = -1;                  // physical index; -1 before the first, FCount after the last
    bool FOnRecord = false;

    std::vector<uint8_t> FCache;        // a window of consecutive records
    uint32_t FCacheFirst = 0;
    uint32_t FCacheCount = 0;

    int64_t FLockedRecord = -1;
    uint32_t FHeaderDateSeen = 0;       // the header's date as last found or written (0: not yet)
    std::map<size_t, int64_t> FLargestAutoInc;   // dBASE 7 counters: the largest value in the table
};
