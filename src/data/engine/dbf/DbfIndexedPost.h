#pragma once
// The index side of one post to a table with a compound index: under the
// index's update lock the record's change is filed in every tag (a
// candidate violation is refused before anything is written), then what
// the post will overwrite in the table, memo and index is saved in the
// undo journal, and after the table's writes the index pages follow.  A
// post that does not reach Commit is put back: table, memo and index each
// as they were before it.

#include "data/engine/dbf/CdxIndex.h"
#include "data/engine/dbf/DbfJournal.h"
#include "data/engine/dbf/DbfMemo.h"

class TDbfIndexedPost {
public:
    // Takes the index's update lock; raises DBIERR_FILELOCKED when another
    // program holds it.
    TDbfIndexedPost(cdx::TIndex& index, TDbfFile& table, TDbfJournalStore& journal);
    ~TDbfIndexedPost();
    TDbfIndexedPost(const TDbfIndexedPost&) = delete;
    TDbfIndexedPost& operator=(const TDbfIndexedPost&) = delete;

    // Files record `recNo` (1-based) going from `before` (nullptr: new) to `after`.
    void File(uint32_t recNo, const uint8_t* before, const uint8_t* after, const cdx::TRecordScan& scan);
    // Files `count` new records (`records`, each `length` bytes) numbered from `firstRecNo`.
    void FileNew(uint32_t firstRecNo, size_t count, const uint8_t* records, size_t length)
    {
        FIndex.RecordsAdded(firstRecNo, count, records, length);
    }
    // Bytes of the table the post will replace, and its length before.
    void SaveTable(uint64_t offset, size_t length) { FJournal.SaveBytes(FTableId, offset, length); }
    // The same when the caller has just read them.
    void SaveTable(uint64_t offset, const uint8_t* bytes, size_t length)
    {
        FJournal.SaveBytes(FTableId, offset, bytes, length);
    }
    void SaveTableSize(uint64_t size) { FJournal.SaveSize(FTableId, size); }
    void SaveMemo(TDbfMemoFile& memo);
    // Writes the journal; from here on a stop is undone by the next open.
    void Start();
    // The table's writes are done: the index pages are written and the
    // journal goes.
    void Commit();

private:
    cdx::TIndex& FIndex;
    TDbfJournalStore& FJournalStore;
    TDbfJournal FJournal;
    uint8_t FTableId;
    bool FCommitted = false;
};
