#pragma once
// An engine cursor that answers Locate and Lookup for a table whose engine
// cursor cannot search its own stored values: through an index the table's
// files keep, where one answers the search (FindThroughIndex), else from
// the values of its records held in memory.  The first such search reads
// the searched columns of every record once into a memory table of their
// values and bookmarks, in the cursor's order; its column indexes then
// answer that search and every later one (a search of another column
// reads the copy afresh with that column added).  The copy follows this
// cursor's own posts and is dropped when the engine reports a change made
// by another program (ChangeStamp) or on Refresh; a record found through
// it that no longer matches also has the copy read afresh.  Memo and
// binary columns are not copied: a search over them is left to the walk.

#include "data/engine/EngineCursor.h"

#include <memory>
#include <string>

class TMemStorage;
struct TMemRow;

class TSearchedCursor : public TEngineCursor {
public:
    explicit TSearchedCursor(std::unique_ptr<TEngineCursor> inner);
    ~TSearchedCursor() override;

    const std::vector<TEngineFieldDef>& FieldDefs() const override { return FInner->FieldDefs(); }
    bool CanModify() const override { return FInner->CanModify(); }
    bool IsSequenced() const override { return FInner->IsSequenced(); }
    int64_t RecordCount() override { return FInner->RecordCount(); }
    int CodePage() const override { return FInner->CodePage(); }
    std::string RecoveryNote() const override { return FInner->RecoveryNote(); }
    TCodePageChoice CodePageChoice() const override { return FInner->CodePageChoice(); }
    std::string FormatName() const override { return FInner->FormatName(); }
    std::string ReadOnlyReason() const override { return FInner->ReadOnlyReason(); }

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

    bool CanFind(const TEngineSearch& search) const override;
    bool FindFirst(const TEngineSearch& search) override;
    uint64_t ChangeStamp() override { return FInner->ChangeStamp(); }

    TEngineRecord BlankRecord() override { return FInner->BlankRecord(); }
    void LockRecord(TEngineRecord& fresh) override { FInner->LockRecord(fresh); }
    void UnlockRecord() override { FInner->UnlockRecord(); }
    void ModifyRecord(const TEngineRecord& record) override;
    void InsertRecord(TEngineRecord& record, bool append) override;
    void AppendRecords(std::vector<TEngineRecord>& records, size_t& appended) override;
    void DeleteRecord() override;
    void Refresh() override;

private:
    // Refreshes the inner cursor when another program changed the files since the last search.
    void CatchUpWithOtherPrograms();
    // Takes the files' stamps after this cursor's own write, which keeps the index in step.
    void NoteOwnChange();
    // The inner cursor's answer through its index; false when it has none to trust.
    bool FindThroughIndex(const TEngineSearch& search, bool& found);
    // Whether a column's values can be kept in memory (memo and binary columns cannot).
    bool Copyable(int column) const;
    // Whether the copy holds every column the search reads.
    bool CopyHolds(const TEngineSearch& search) const;
    std::string CurrentBookmark() const;   // empty on a crack
    const std::string& BookmarkOf(const TMemRow& row) const;
    // Whether the record under the cursor matches the search as its file holds it now.
    bool FoundStillMatches(const TEngineSearch& search);
    // Reads the copy afresh: the columns it held and those `search` reads.
    void CopyRecords(const TEngineSearch& search);
    // The copy of the record under the cursor, at its place in the order.
    void CopyCurrent();
    // Where a record of this bookmark stands, or would stand, in the copy.
    size_t PlaceOf(const std::string& bookmark) const;
    void ForgetRow(const std::string& bookmark);
    // Runs a change of the copy; one that fails drops the copy.
    template <typename Change>
    void FollowPost(Change change);

    std::unique_ptr<TEngineCursor> FInner;
    size_t FBookmarkColumn;
    std::shared_ptr<TMemStorage> FCopy;    // values and bookmark of every record, in order
    std::vector<bool> FCopiedColumns;      // the columns whose values the copy holds
    uint64_t FStamp = 0;                   // the files' change stamp the copy was read at
    uint64_t FSeenStamp = 0;               // the one the last search saw
    uint64_t FSeenIndexStamp = 0;          // the index files' stamp then
    bool FIndexDistrusted = false;         // another program changed the table without its index
};

// Wraps a cursor that cannot search its stored values; returns one that can as it is.
std::unique_ptr<TEngineCursor> WithColumnSearch(std::unique_ptr<TEngineCursor> cursor);
