// The compound index of a dBASE/FoxPro table as TDbfCursor keeps it: found
// beside the table, read and checked on open (a table opens for writing
// only when every tag can be kept in step and the index matches the
// table), a post that a stopped process left half done put back first,
// and the index checked or rebuilt on request.

#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "data/engine/dbf/DbfCompanion.h"
#include "data/engine/dbf/DbfIndexedPost.h"
#include "data/engine/dbf/DbfJournal.h"

namespace {

// Tables up to this many records are checked against their index on every
// open; larger ones only on request (tablecat --check-index).
constexpr uint32_t CheckedOnOpenLimit = 50000;
constexpr uint64_t IndexLockOffset = 0x7FFFFFFEull;

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

} // namespace

void TDbfCursor::RecoverInterruptedPost()
{
    if (!TDbfFile::Exists(TDbfJournal::PathFor(FPath)))
        return;
    if (!FFile.Writable()) {
        if (TDbfJournal::Pending(FPath))
            FRecoveryNote = "A change to the table and its index was interrupted; opening the table for writing "
                            "puts it back as it stood before.";
        return;
    }
    // The journal is live while its writer holds the index's update lock.
    std::string indexPath = FindCompanionFile(FPath, ".cdx");
    std::unique_ptr<TDbfFile> index;
    if (!indexPath.empty()) {
        index = std::make_unique<TDbfFile>(indexPath, true);
        if (!index->LockWithRetry(IndexLockOffset, 1))
            return;
    }
    if (TDbfJournal::Recover(FPath))
        FRecoveryNote = "A change that was interrupted has been undone; the table and its index are as they were before it.";
    if (index)
        index->Unlock(IndexLockOffset, 1);
}

// The journal file goes when nobody is posting (the index's update lock is
// free) and no post waits to be undone.
void TDbfCursor::RemoveIdleJournal() noexcept
{
    if (!FIndex || !FFile.Writable())
        return;
    try {
        if (!FIndex->File().TryLock(IndexLockOffset, 1))
            return;
        if (!TDbfJournal::Pending(FPath))
            TDbfJournal::Remove(FPath);
        FIndex->File().Unlock(IndexLockOffset, 1);
    } catch (...) {
    }
}

void TDbfCursor::OpenIndex(bool writable)
{
    const std::string path = FindCompanionFile(FPath, ".cdx");
    if (path.empty()) {
        if (FHeader.ProductionIndexFlag)
            FIndexProblem = "The table has a production index, which this program does not maintain.";
        else if (!FindCompanionFile(FPath, ".mdx").empty())
            FIndexProblem = "The table has an index file, which this program does not maintain.";
        return;
    }
    try {
        try {
            FIndex = std::make_unique<cdx::TIndex>(path, FHeader, FCodePage->Number(), writable);
        } catch (const EDBEngineError& e) {
            if (!writable || e.ErrorCode() != DBIERR_TABLEREADONLY)
                throw;
            FIndex = std::make_unique<cdx::TIndex>(path, FHeader, FCodePage->Number(), false);
            FIndexProblem = "The table's index file cannot be written.";
            return;
        }
    } catch (const EDBEngineError& e) {
        FIndexProblem = "The table's index file is damaged: " + FirstLine(e.what());
        return;
    }
    std::string unsupported = FIndex->UnsupportedReason();
    if (!unsupported.empty())
        FIndexProblem = "The table's index cannot be kept up to date (" + unsupported + ").";
    else if (FCount <= CheckedOnOpenLimit)
        CheckIndexOnOpen();
}

void TDbfCursor::CheckIndexOnOpen()
{
    cdx::TCheckReport report;
    try {
        report = CheckIndex(true);
    } catch (const EDBEngineError& e) {
        FIndexProblem = "The table's index file is damaged: " + FirstLine(e.what());
        return;
    }
    if (!report.Damage.empty())
        FIndexProblem = "The table's index file is damaged: " + report.Damage.front();
    else if (!report.Stale.empty())
        FIndexProblem = "The table's index is out of date (" + report.Stale.front() +
                        " Rebuild it with \"tablecat --reindex\".)";
}

cdx::TRecordScan TDbfCursor::RecordScan()
{
    return [this](const cdx::TRecordVisitor& visit) {
        for (uint32_t i = 0; i < FCount; ++i) {
            const uint8_t* raw = CachedRecord(i, true);
            if (!raw)
                break;
            visit(i + 1, raw);
        }
    };
}

cdx::TCheckReport TDbfCursor::CheckIndex(bool full)
{
    if (!FIndex) {
        cdx::TCheckReport report;
        report.Damage.push_back(FIndexProblem.empty() ? "The table has no compound index." : FIndexProblem);
        return report;
    }
    return cdx::CheckIndex(*FIndex, FCount, RecordScan(), full);
}

void TDbfCursor::RebuildIndex()
{
    if (!FFile.Writable())
        RaiseEngineError(DBIERR_TABLEREADONLY, {"Table: " + FPath, "The table was opened read-only."});
    if (!FIndex)
        RaiseEngineError(DBIERR_INDEXCORRUPT, {"Table: " + FPath, FIndexProblem.empty() ? "The table has no compound index."
                                                                                          : FIndexProblem});
    std::string unsupported = FIndex->UnsupportedReason();
    if (!unsupported.empty())
        RaiseEngineError(DBIERR_NOTSUPPORTED, {"Index: " + FIndex->Path(), unsupported});
    // No appends and no index changes while the records are read.
    LockHeader();
    if (!FIndex->Lock()) {
        UnlockHeader();
        RaiseEngineError(DBIERR_FILELOCKED, {"File: " + FIndex->Path(), "Another user is updating the table's index."});
    }
    const std::string path = FIndex->Path();
    try {
        Refresh();
        cdx::RebuildIndexFile(*FIndex, RecordScan());
    } catch (...) {
        FIndex->Unlock();
        UnlockHeader();
        throw;
    }
    FIndex->Unlock();
    UnlockHeader();
    const bool blockedByIndex = !FIndexProblem.empty() && FReadOnlyReason == FIndexProblem;
    FIndex.reset();
    FIndexProblem.clear();
    OpenIndex(true);
    if (blockedByIndex)
        FReadOnlyReason = FIndexProblem;
}

std::unique_ptr<TDbfIndexedPost> TDbfCursor::BeginIndexedPost()
{
    if (!FIndex)
        return nullptr;
    if (!FJournalStore)
        FJournalStore = std::make_unique<TDbfJournalStore>(FPath);
    return std::make_unique<TDbfIndexedPost>(*FIndex, FFile, *FJournalStore);
}
