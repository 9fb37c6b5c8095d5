// A change another process left unfinished (stopped between its writes to
// the data file, the blob file and the primary index): its journal lies
// beside the table.  The change never returned, so the table is put back as
// it stood before it: the saved bytes are written back, the files cut to
// their old lengths, and the primary index rebuilt from the blocks.  Only a
// writer may do this; a read-only open says what it found and stays
// read-only.

#include "data/engine/EngineLog.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxJournal.h"
#include "data/engine/paradox/PxLocks.h"
#include "data/engine/paradox/PxPrimaryIndex.h"
#include "data/engine/paradox/PxTable.h"

#include <cstdlib>

namespace px {

void TPxTable::CheckForInterruptedChange(bool readOnlyRequested)
{
    if (!TPxJournal::Exists(FPath)) {
        // Without a journal nothing says what the table held before: a
        // writer that kept none (or damage) left blocks and header at odds.
        if (FChainDamaged)
            FRecoveryNote = "The table's blocks hold " + std::to_string(RecordCount()) + " records and its header counts " +
                            std::to_string(FHeader.NumRecords()) +
                            ": a change that did not finish, or damage. The table opens read-only.";
        return;
    }
    if (readOnlyRequested) {
        FRecoveryNote = "A change that did not finish left the table half written; opened for writing, the table is "
                        "put back as it stood before that change.";
        return;
    }
    // A live writer holds the write lock while its journal exists: wait for
    // it, then only a journal left behind remains.
    TPxWriteGuard guard(FData.Handle());
    RollBackInterruptedChange();
}

bool TPxTable::RollBackInterruptedChange()
{
    if (!FOpenedForWriting)
        return false;
    TPxJournal::TRollBack result =
        TPxJournal::RollBack(FPath, FData.Handle(), FBlobs.IsOpen() ? FBlobs.Handle() : -1);
    if (!result.Found)
        return false;
    std::vector<uint8_t> raw(FHeader.Raw.size(), 0);
    if (!FData.ReadAt(0, raw.data(), raw.size()))
        RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + FPath, "The file is shorter than its header."});
    FHeader.Raw = std::move(raw);
    FFileSize = FData.Size();
    LoadChain();
    if (FChainDamaged)
        FWritable = false;
    if (FHeader.IsKeyed() && !FChainDamaged)
        RebuildPrimaryIndexFromChain();
    TPxJournal::Discard(FPath);
    FRecoveryNote = "A change that did not finish had left the table half written; it was put back as it stood "
                    "before that change.";
    EngineLog(FPath + ": " + FRecoveryNote + " (" + std::to_string(result.Entries) + " ranges restored)");
    return true;
}

void TPxTable::RebuildPrimaryIndexFromChain()
{
    EnsureFirstKeys();
    std::vector<TPxIndexEntry> entries;
    for (int i = 0; i < FMap.BlockCount(); ++i) {
        if (FMap.CountAt(i) == 0)
            continue;
        uint16_t block = FMap.BlockAt(i);
        entries.push_back(TPxIndexEntry{FFirstKeys[block], block, FMap.CountAt(i)});
    }
    WritePrimaryIndex(FHeader, entries);
}

std::string TPxTable::LockIdentityOf(int64_t r)
{
    const uint8_t* bytes = RecordBytes(r);
    const int width = FHeader.IsKeyed() ? FHeader.KeyWidth() : FHeader.RecordSize();
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(width));
}

int64_t TPxTable::FindRecordBytes(const std::string& bytes, int64_t near)
{
    const int64_t count = RecordCount();
    if (bytes.size() != static_cast<size_t>(FHeader.RecordSize()))
        return -1;
    auto matches = [&](int64_t r) {
        return r >= 0 && r < count && bytes.compare(0, bytes.size(), reinterpret_cast<const char*>(RecordBytes(r)),
                                                    bytes.size()) == 0;
    };
    for (int64_t distance = 0; distance <= std::max(near, count - near); ++distance) {
        if (matches(near + distance))
            return near + distance;
        if (distance > 0 && matches(near - distance))
            return near - distance;
    }
    return -1;
}

} // namespace px
