#pragma once
// What a driver gives for one open table: its columns, a cursor that walks
// the records in the table's order, bookmarks, record numbers where the
// format has them, record locks and writes.  Every failure is raised as
// EDBEngineError (see EngineStatus.h); a failed write leaves the files
// exactly as they were.

#include "data/engine/CodePageDetect.h"
#include "data/engine/EngineSearch.h"
#include "data/engine/FieldType.h"
#include "platform/Variant.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Why a table opens read-only when its file refused the read-write open.
inline constexpr const char* FileNotWritableReason = "The file may not be written (its permissions or its disk forbid it).";

// One record: a value per column in column order (see FieldType.h for the
// kind of value each type carries; varNull for a missing value).
using TEngineRecord = std::vector<TVariant>;

class TEngineCursor {
public:
    virtual ~TEngineCursor() = default;

    // ---- description
    virtual const std::vector<TEngineFieldDef>& FieldDefs() const = 0;
    virtual bool CanModify() const = 0;      // false when the table was opened read-only
    virtual bool IsSequenced() const = 0;    // RecNo is exact and SetRecNo does not walk the table
    virtual int64_t RecordCount() = 0;       // live records (deleted ones are not counted)
    virtual int CodePage() const = 0;        // the code page the table's texts are stored in
    // What the open found of a change that another process left unfinished
    // (killed in the middle of a post): how the table was put back as it
    // stood before that change, or, when it could not be written, why it
    // opened read-only.  Empty when the table was in order.
    virtual std::string RecoveryNote() const { return {}; }
    // How that code page was arrived at (the header's mark, a guess, the user's choice).
    virtual TCodePageChoice CodePageChoice() const
    {
        TCodePageChoice choice;
        choice.CodePage = CodePage();
        choice.Marked = CodePage();
        return choice;
    }
    // The file format and its level ("dBASE IV", "Paradox 7"); empty when unknown.
    virtual std::string FormatName() const { return std::string(); }
    // Why the table cannot be written, one sentence; empty when it can.
    virtual std::string ReadOnlyReason() const { return CanModify() ? std::string() : "The table was opened read-only."; }

    // ---- position: on a record, or on a crack (before the first record,
    // after the last, or where a deleted record stood)
    virtual void SetToBegin() = 0;
    virtual void SetToEnd() = 0;
    // Step to the next (previous) record and read it into `record`. False
    // when there is none; the cursor then sits after the last (before the
    // first) record.
    virtual bool Next(TEngineRecord& record) = 0;
    virtual bool Prior(TEngineRecord& record) = 0;
    // Re-read the record under the cursor; false when the cursor is on a
    // crack or the record has gone.
    virtual bool ReadCurrent(TEngineRecord& record) = 0;

    // Bookmark of the record under the cursor (raises DBIERR_NOCURRREC on a crack).
    virtual std::string Bookmark() const = 0;
    // Puts the cursor on the bookmarked record; false (cursor unchanged)
    // when that record no longer exists.
    virtual bool GotoBookmark(const std::string& bookmark) = 0;
    // Orders two bookmarks as the table orders their records (<0, 0, >0).
    virtual int CompareBookmarks(const std::string& a, const std::string& b) const = 0;
    // 1-based number of the record under the cursor in the table's order, -1 when unknown.
    virtual int64_t RecNo() = 0;
    // Puts the cursor on record number recNo (1..RecordCount); false when out of range.
    virtual bool SetRecNo(int64_t recNo) = 0;

    // ---- searching from the engine's own stored values (an index or a
    // scan of them) instead of the dataset reading record after record
    // Whether FindFirst answers searches over these columns (the keys do
    // not matter).  A cursor that cannot leaves its dataset to walk.
    virtual bool CanFind(const TEngineSearch& search) const { (void)search; return false; }
    // Puts the cursor on the first record in the table's order that matches
    // every term (see EngineSearch.h); false (cursor unchanged) when none
    // does.  Called only when CanFind is true.
    virtual bool FindFirst(const TEngineSearch& search) { (void)search; return false; }
    // Answers a search from an index the table's files already keep,
    // reading a few of its pages instead of the records: Found puts the
    // cursor on the first matching record in the table's order, as a walk
    // would; NotFound leaves the cursor where it was.  NoIndex (the cursor
    // unchanged) when no index answers this search, or the index cannot be
    // trusted to (damaged, out of date).
    enum class TIndexedFind { NoIndex, Found, NotFound };
    virtual TIndexedFind FindThroughIndex(const TEngineSearch& search) { (void)search; return TIndexedFind::NoIndex; }
    // Reads the values of the wanted columns (`columns[i]` true) of every
    // record in the table's order, with the record's bookmark; the other
    // columns stay Null.  What a search kept in memory needs, without
    // decoding the rest.  Here record by record through Next, the cursor
    // left at the end; a driver that decodes just those columns does better.
    using TColumnVisitor = std::function<void(TEngineRecord& values, const std::string& bookmark)>;
    virtual void ReadColumns(const std::vector<bool>& columns, const TColumnVisitor& visit)
    {
        SetToBegin();
        TEngineRecord record;
        while (Next(record)) {
            for (size_t i = 0; i < record.size(); ++i)
                if (i >= columns.size() || !columns[i])
                    record[i] = TVariant::Null();
            visit(record, Bookmark());
        }
    }
    // A value that changes whenever the files of the indexes FindThroughIndex
    // reads change; 0 when it reads none.  A table changed by another
    // program while its index stayed as it was may have been changed by one
    // that does not keep the index: its searches are then left to the records.
    virtual uint64_t IndexStamp() { return 0; }
    // A value that changes when another program changes the table's
    // records (its files' sizes, counters, dates), read from the files each
    // time; what a search kept over the records checks before it trusts
    // them.  0 when the cursor cannot tell.
    virtual uint64_t ChangeStamp() { return 0; }

    // ---- editing
    // Values of a new record: nulls, or the column defaults the format keeps.
    virtual TEngineRecord BlankRecord() = 0;
    // Locks the record under the cursor against other processes and re-reads
    // it into `fresh` (raises DBIERR_LOCKED when another holds the lock).
    virtual void LockRecord(TEngineRecord& fresh) = 0;
    virtual void UnlockRecord() = 0;
    // Writes the record under the cursor and releases its lock; the cursor
    // stays on it (in a keyed table, at the place its key now gives).
    virtual void ModifyRecord(const TEngineRecord& record) = 0;
    // Inserts a record before the record under the cursor (or where the
    // table's order puts it), or appends it; values the engine assigns
    // (auto-increment) are stored back into `record`.  The cursor is then
    // on the new record.
    virtual void InsertRecord(TEngineRecord& record, bool append) = 0;
    // Appends the records (a keyed table places them by their keys); values
    // the engine assigns are stored back into them, and the cursor is then
    // on the last one.  `appended` counts the records written: all of them,
    // or on a failure those before the refused one.  Here they go one by
    // one; a driver that writes a batch as one operation, all or nothing,
    // does better.
    virtual void AppendRecords(std::vector<TEngineRecord>& records, size_t& appended)
    {
        for (appended = 0; appended < records.size(); ++appended) {
            SetToEnd();
            InsertRecord(records[appended], true);
        }
    }
    // Deletes the record under the cursor; the cursor then sits on the crack
    // where it stood, so Next gives the record that followed it.
    virtual void DeleteRecord() = 0;
    // Picks up changes other processes made to the files.
    virtual void Refresh() = 0;
};
