#include "data/SearchedCursor.h"

#include "data/MemCursor.h"
#include "data/engine/EngineStatus.h"

namespace {

bool IsCopiedType(TFieldType type)
{
    switch (type) {
    case ftMemo: case ftFmtMemo: case ftBlob: case ftGraphic: case ftBytes: case ftVarBytes: case ftTypedBinary:
    case ftParadoxOle: case ftDBaseOle: case ftUnknown:
        return false;
    default:
        return true;
    }
}

// The copy's columns: the table's, without the limits a post checks, those
// not copied as columns of no type, and the bookmark last.
std::vector<TEngineFieldDef> CopyDefs(const std::vector<TEngineFieldDef>& table, const std::vector<bool>& copied)
{
    std::vector<TEngineFieldDef> defs;
    for (size_t column = 0; column < table.size(); ++column) {
        const TEngineFieldDef& field = table[column];
        TEngineFieldDef def;
        def.Name = field.Name;
        def.DataType = copied[column] ? (field.DataType == ftAutoInc ? ftInteger : field.DataType) : ftUnknown;
        defs.push_back(def);
    }
    TEngineFieldDef bookmark;
    bookmark.Name = "\x01bookmark";
    bookmark.DataType = ftString;
    defs.push_back(bookmark);
    return defs;
}

} // namespace

TSearchedCursor::TSearchedCursor(std::unique_ptr<TEngineCursor> inner)
    : FInner(std::move(inner)), FBookmarkColumn(FInner->FieldDefs().size())
{
}

TSearchedCursor::~TSearchedCursor() = default;

std::unique_ptr<TEngineCursor> WithColumnSearch(std::unique_ptr<TEngineCursor> cursor)
{
    TEngineSearch probe;
    for (int column = 0; column < static_cast<int>(cursor->FieldDefs().size()); ++column)
        probe.Terms.push_back({column, TVariant::Null(), false});
    if (cursor->CanFind(probe))
        return cursor;
    return std::make_unique<TSearchedCursor>(std::move(cursor));
}

bool TSearchedCursor::Copyable(int column) const
{
    const auto& defs = FInner->FieldDefs();
    return column >= 0 && static_cast<size_t>(column) < defs.size() &&
           IsCopiedType(defs[static_cast<size_t>(column)].DataType);
}

bool TSearchedCursor::CanFind(const TEngineSearch& search) const
{
    if (FInner->CanFind(search))
        return true;
    for (const TEngineSearchTerm& term : search.Terms)
        if (!Copyable(term.Column))
            return false;
    return true;
}

bool TSearchedCursor::CopyHolds(const TEngineSearch& search) const
{
    for (const TEngineSearchTerm& term : search.Terms)
        if (!FCopiedColumns[static_cast<size_t>(term.Column)])
            return false;
    return true;
}

std::string TSearchedCursor::CurrentBookmark() const
{
    try {
        return FInner->Bookmark();
    } catch (const EDBEngineError&) {
        return std::string();
    }
}

void TSearchedCursor::CopyRecords(const TEngineSearch& search)
{
    // The columns searched before stay, and this search's join them.
    std::vector<bool> copied = FCopy ? FCopiedColumns : std::vector<bool>(FBookmarkColumn, false);
    for (const TEngineSearchTerm& term : search.Terms)
        copied[static_cast<size_t>(term.Column)] = true;
    FCopy.reset();
    const std::string here = CurrentBookmark();
    FStamp = FInner->ChangeStamp();
    auto copy = std::make_shared<TMemStorage>(CopyDefs(FInner->FieldDefs(), copied));
    FInner->ReadColumns(copied, [&](TEngineRecord& values, const std::string& bookmark) {
        TEngineRecord row(values);
        row.push_back(TVariant(bookmark));
        copy->Insert(copy->Count(), std::move(row));
    });
    if (here.empty() || !FInner->GotoBookmark(here))
        FInner->SetToBegin();
    FCopy = std::move(copy);
    FCopiedColumns = std::move(copied);
}

const std::string& TSearchedCursor::BookmarkOf(const TMemRow& row) const
{
    return *row.Values[FBookmarkColumn].StringIf();
}

bool TSearchedCursor::FoundStillMatches(const TEngineSearch& search)
{
    TEngineRecord record;
    if (!FInner->ReadCurrent(record))
        return false;
    for (const TEngineSearchTerm& term : search.Terms)
        if (!SearchTermMatches(search, term, record[static_cast<size_t>(term.Column)]))
            return false;
    return true;
}

void TSearchedCursor::CatchUpWithOtherPrograms()
{
    const uint64_t stamp = FInner->ChangeStamp();
    if (stamp == FSeenStamp)
        return;
    FInner->Refresh();
    const uint64_t indexStamp = FInner->IndexStamp();
    // Another program changed the table but not its index: one that does
    // not keep the index may have changed a key.
    if (FSeenStamp != 0 && indexStamp != 0 && indexStamp == FSeenIndexStamp)
        FIndexDistrusted = true;
    FSeenStamp = stamp;
    FSeenIndexStamp = indexStamp;
}

void TSearchedCursor::NoteOwnChange()
{
    if (FSeenStamp == 0)
        return;   // nothing seen yet: the next search takes the files as they are
    FSeenStamp = FInner->ChangeStamp();
    FSeenIndexStamp = FInner->IndexStamp();
}

bool TSearchedCursor::FindThroughIndex(const TEngineSearch& search, bool& found)
{
    if (FIndexDistrusted)
        return false;
    switch (FInner->FindThroughIndex(search)) {
    case TIndexedFind::Found: found = true; return true;
    case TIndexedFind::NotFound: found = false; return true;
    case TIndexedFind::NoIndex: break;
    }
    return false;
}

bool TSearchedCursor::FindFirst(const TEngineSearch& search)
{
    if (FInner->CanFind(search))
        return FInner->FindFirst(search);
    CatchUpWithOtherPrograms();
    bool found = false;
    if (FindThroughIndex(search, found))
        return found;
    const std::string here = CurrentBookmark();
    // A copy that the record found contradicts is out of date (another
    // program changed the record unnoticed): it is read afresh, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool changed = FCopy && FStamp != FInner->ChangeStamp();
        if (changed || attempt > 0)
            FInner->Refresh();   // what the cursor holds of the files is out of date too
        if (!FCopy || changed || attempt > 0 || !CopyHolds(search))
            CopyRecords(search);
        const TMemRow* row = FCopy->FindFirst(search);
        if (row == nullptr)
            return false;
        if (FInner->GotoBookmark(BookmarkOf(*row)) && FoundStillMatches(search))
            return true;
    }
    if (here.empty() || !FInner->GotoBookmark(here))
        FInner->SetToBegin();
    return false;
}

// ---- following this cursor's posts

template <typename Change>
void TSearchedCursor::FollowPost(Change change)
{
    NoteOwnChange();
    if (!FCopy)
        return;
    try {
        change();
        FStamp = FInner->ChangeStamp();
    } catch (...) {
        FCopy.reset();
    }
}

size_t TSearchedCursor::PlaceOf(const std::string& bookmark) const
{
    size_t lo = 0, hi = FCopy->Count();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (FInner->CompareBookmarks(BookmarkOf(*FCopy->At(mid)), bookmark) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void TSearchedCursor::ForgetRow(const std::string& bookmark)
{
    const size_t place = PlaceOf(bookmark);
    if (place < FCopy->Count() && BookmarkOf(*FCopy->At(place)) == bookmark)
        FCopy->Erase(FCopy->At(place));
}

void TSearchedCursor::CopyCurrent()
{
    TEngineRecord record;
    if (!FInner->ReadCurrent(record))
        throw EDatabaseError("The posted record cannot be read back");
    std::string bookmark = FInner->Bookmark();
    ForgetRow(bookmark);
    for (size_t column = 0; column < FBookmarkColumn; ++column)
        if (!FCopiedColumns[column])
            record[column] = TVariant::Null();
    const size_t place = PlaceOf(bookmark);
    record.push_back(TVariant(std::move(bookmark)));
    FCopy->Insert(place, std::move(record));
}

void TSearchedCursor::ModifyRecord(const TEngineRecord& record)
{
    const std::string before = CurrentBookmark();
    FInner->ModifyRecord(record);
    FollowPost([&] {
        ForgetRow(before);
        CopyCurrent();
    });
}

void TSearchedCursor::InsertRecord(TEngineRecord& record, bool append)
{
    FInner->InsertRecord(record, append);
    FollowPost([&] { CopyCurrent(); });
}

void TSearchedCursor::AppendRecords(std::vector<TEngineRecord>& records, size_t& appended)
{
    // The driver writes the batch as one operation: the copy is read
    // afresh by the next search rather than followed record by record.
    FCopy.reset();
    try {
        FInner->AppendRecords(records, appended);
    } catch (...) {
        NoteOwnChange();
        throw;
    }
    NoteOwnChange();
}

void TSearchedCursor::DeleteRecord()
{
    const std::string before = CurrentBookmark();
    FInner->DeleteRecord();
    FollowPost([&] { ForgetRow(before); });
}

void TSearchedCursor::Refresh()
{
    FInner->Refresh();
    FCopy.reset();
}
