#include "data/engine/dbf/DbfIndexedPost.h"

#include "data/engine/EngineStatus.h"

TDbfIndexedPost::TDbfIndexedPost(cdx::TIndex& index, TDbfFile& table, TDbfJournalStore& journal)
    : FIndex(index), FJournalStore(journal)
{
    if (!FIndex.Lock())
        RaiseEngineError(DBIERR_FILELOCKED, {"File: " + FIndex.Path(), "Another user is updating the table's index."});
    try {
        FIndex.Begin();
    } catch (...) {
        FIndex.Unlock();
        throw;
    }
    FTableId = FJournal.AddFile(table);
}

TDbfIndexedPost::~TDbfIndexedPost()
{
    if (!FCommitted) {
        try {
            FJournal.RollBack();
            FJournal.Finish();
        } catch (...) {
            // The journal stays: the next open puts the files back.
        }
        FIndex.Abandon();
        FIndex.Pages().Reload();
    }
    FIndex.Unlock();
}

void TDbfIndexedPost::File(uint32_t recNo, const uint8_t* before, const uint8_t* after, const cdx::TRecordScan& scan)
{
    FIndex.RecordChanged(recNo, before, after, scan);
}

void TDbfIndexedPost::SaveMemo(TDbfMemoFile& memo)
{
    TDbfMemoFile::TState state = memo.SaveState();
    uint8_t id = FJournal.AddFile(memo.File());
    FJournal.SaveSize(id, state.Size);
    FJournal.SaveBytes(id, 0, state.Header.data(), state.Header.size());
}

void TDbfIndexedPost::Start()
{
    FIndex.Prepare();
    cdx::TPages& pages = FIndex.Pages();
    if (pages.Changed()) {
        uint8_t id = FJournal.AddFile(FIndex.File());
        FJournal.SaveSize(id, pages.SizeBefore());
        for (const auto& written : pages.Written())
            if (written.first < pages.SizeBefore())
                FJournal.SaveBytes(id, written.first, pages.Original(written.first), cdx::PageSize);
    }
    FJournal.Write(FJournalStore);
}

void TDbfIndexedPost::Commit()
{
    FIndex.Commit();
    FJournal.Finish();
    FCommitted = true;
}
