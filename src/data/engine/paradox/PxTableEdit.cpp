// The edits of TPxTable: each prepares a TPxChange in memory, stores new
// blobs, writes the data file, rebuilds the primary index, and only then
// updates what the table keeps in memory.

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxChange.h"
#include "data/engine/paradox/PxCompanions.h"
#include "data/engine/paradox/PxLabels.h"
#include "data/engine/paradox/PxPrimaryIndex.h"
#include "data/engine/paradox/PxTable.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace px {

namespace {

[[noreturn]] void RefuseReadOnly(const TPxTable& table)
{
    std::vector<std::string> details{"File: " + table.Path()};
    if (!table.ReadOnlyReason().empty())
        details.push_back("The table is open read-only because " + table.ReadOnlyReason() + ".");
    RaiseEngineError(DBIERR_TABLEREADONLY, details);
}

// A record whose key another record has: the message names the key's
// fields, so the user knows which values to change.
[[noreturn]] void RaiseKeyViolation(const TPxTable& table, const TPxHeader& header)
{
    std::string names;
    for (int i = 0; i < header.KeyFields() && i < static_cast<int>(header.Fields.size()); ++i)
        names += (i > 0 ? ", " : "") + table.CodePage().ToUtf8(header.Fields[static_cast<size_t>(i)].Name);
    RaiseEngineError(DBIERR_KEYVIOL, {"A record with the same value of " + names + " exists already.",
                                      "File: " + table.Path()});
}

} // namespace

uint32_t TPxTable::NextAutoIncValue()
{
    if (FMaxAutoInc < 0) {
        FMaxAutoInc = 0;
        for (size_t i = 0; i < FHeader.Fields.size(); ++i) {
            const TPxField& f = FHeader.Fields[i];
            if (f.Type != ftAutoIncrement)
                continue;
            for (int64_t r = 0; r < RecordCount(); ++r) {
                const uint8_t* p = RecordBytes(r) + f.Offset;
                if (!IsBlank(p, 4))
                    FMaxAutoInc = std::max<int64_t>(FMaxAutoInc, DecodeInt(p, 4));
            }
        }
    }
    int64_t next = std::max<int64_t>(FHeader.AutoIncValue(), FMaxAutoInc) + 1;
    if (next > 0x7FFFFFFF)
        RaiseEngineError(DBIERR_MAXVALERR, {"File: " + FPath, "The auto-increment values are used up."});
    return static_cast<uint32_t>(next);
}

void TPxTable::ApplyAutoInc(TEngineRecord& values, std::vector<uint8_t>& record, TPxHeader& header)
{
    bool any = false;
    uint32_t next = 0;
    for (size_t i = 0; i < FHeader.Fields.size(); ++i) {
        const TPxField& f = FHeader.Fields[i];
        if (f.Type != ftAutoIncrement)
            continue;
        if (!any)
            next = NextAutoIncValue();
        any = true;
        EncodeInt(next, record.data() + f.Offset, 4);
    }
    if (!any)
        return;
    header.SetAutoIncValue(next);
    for (size_t i = 0; i < FHeader.Fields.size(); ++i)
        if (FHeader.Fields[i].Type == ftAutoIncrement)
            values[i] = TVariant(static_cast<int32_t>(next));
}

void TPxTable::RebuildPrimaryIndex(TPxChange& change)
{
    if (!FHeader.IsKeyed())
        return;
    EnsureFirstKeys();
    const int keyWidth = FHeader.KeyWidth();
    auto isDirty = [&](uint16_t block) { return change.IsDirtyBlock(block); };
    auto firstKeyOf = [&](uint16_t block) {
        if (isDirty(block))
            return std::string_view(reinterpret_cast<const char*>(change.ImageOf(block).data() + 6), keyWidth);
        return std::string_view(FFirstKeys[block]);
    };
    std::vector<int> counts = change.ChainCounts();
    if (IndexEntriesUnchanged(change, counts, firstKeyOf)) {
        // A change inside the records that keeps every block's first key and
        // count: the index holds the same entries, only its stamp follows
        // the table's change counter.  Its other bytes stay as they are.
        RestampPrimaryIndex(FPrimaryIndexPath, change.Header);
        return;
    }
    bool noEmptyBlock = std::find(counts.begin(), counts.end(), 0) == counts.end();
    if (FIndexLayout.Valid && noEmptyBlock && TryUpdateIndexInPlace(change, counts, firstKeyOf))
        return;
    std::vector<TPxIndexEntry> entries;
    entries.reserve(change.Chain.size());
    for (size_t i = 0; i < change.Chain.size(); ++i) {
        if (counts[i] == 0)
            continue;
        entries.push_back(TPxIndexEntry{firstKeyOf(change.Chain[i]), change.Chain[i], counts[i]});
    }
    WritePrimaryIndex(change.Header, entries);
}

void TPxTable::WritePrimaryIndex(const TPxHeader& header, const std::vector<TPxIndexEntry>& entries)
{
    const int keyWidth = FHeader.KeyWidth();
    int blockSizeCode = 2;
    try {
        // The old index's block size is kept; a missing or unreadable index gets the default.
        TPxFile old;
        uint8_t code = 0;
        if (old.Open(FPrimaryIndexPath, false) && old.ReadAt(hBlockSizeCode, &code, 1) && code >= 1 && code <= 32)
            blockSizeCode = code;
    } catch (const EDBEngineError&) {
    }
    if ((blockSizeCode * 1024 - 6) / (keyWidth + 6) < 2)
        blockSizeCode = std::max(blockSizeCode, FHeader.BlockSize() / 1024);
    TPxIndexLayout layout;
    ReplaceFile(FPrimaryIndexPath, BuildPrimaryIndex(header, entries, blockSizeCode, FKey, &layout));
    FIndexLayout = layout;
}

bool TPxTable::IndexEntriesUnchanged(TPxChange& change, const std::vector<int>& counts,
                                     const std::function<std::string_view(uint16_t)>& firstKeyOf)
{
    if (change.Chain != FMap.Chain() || counts != FMap.Counts())
        return false;
    for (uint16_t block : change.DirtyBlocks())
        if (block >= FFirstKeys.size() || firstKeyOf(block) != std::string_view(FFirstKeys[block]))
            return false;
    return true;
}

bool TPxTable::TryUpdateIndexInPlace(TPxChange& change, const std::vector<int>& counts,
                                     const std::function<std::string_view(uint16_t)>& firstKeyOf)
{
    const std::vector<uint16_t>& before = FMap.Chain();
    const std::vector<uint16_t>& after = change.Chain;
    // The chain kept its blocks, or gained one (a split) and kept the rest in order.
    int inserted = -1;
    if (after.size() == before.size() + 1) {
        size_t q = 0;
        while (q < before.size() && before[q] == after[q])
            ++q;
        if (!std::equal(before.begin() + static_cast<long>(q), before.end(), after.begin() + static_cast<long>(q) + 1))
            return false;
        inserted = static_cast<int>(q);
    } else if (after != before) {
        return false;
    }
    std::vector<int> changed;
    for (uint16_t block : change.DirtyBlocks()) {
        int position = FMap.PositionOf(block);
        if (position >= 0)
            changed.push_back(inserted >= 0 && position >= inserted ? position + 1 : position);
    }
    std::vector<int64_t> prefix(counts.size() + 1, 0);
    for (size_t i = 0; i < counts.size(); ++i)
        prefix[i + 1] = prefix[i] + counts[i];
    TPxIndexSource source{after, prefix, [&](int position) { return std::string(firstKeyOf(after[position])); }};
    return UpdatePrimaryIndex(FPrimaryIndexPath, FIndexLayout, change.Header, FKey, source, changed, inserted);
}

void TPxTable::AfterCommit(TPxChange& change)
{
    FHeader.Raw = change.Header.Raw;
    FFileSize = FData.Size();
    if (FLabels.size() < static_cast<size_t>(FHeader.FileBlocks()) + 1)
        FLabels.resize(static_cast<size_t>(FHeader.FileBlocks()) + 1);
    if (!FKeyBookmarks) {
        for (const auto& [block, labels] : change.ChangedLabels()) {
            FLabels[block].Explicit = true;
            FLabels[block].Labels = labels;
        }
        for (uint16_t block : change.FreedBlocks())
            FLabels[block] = TPxBlockLabels{};
    }
    if (FFirstKeysLoaded) {
        FFirstKeys.resize(static_cast<size_t>(FHeader.FileBlocks()) + 1);
        const int keyWidth = FHeader.KeyWidth();
        for (uint16_t block : change.DirtyBlocks()) {
            const auto& image = change.ImageOf(block);
            FFirstKeys[block].assign(reinterpret_cast<const char*>(image.data() + 6), keyWidth);
        }
    }
    if (change.Chain == FMap.Chain()) {
        for (uint16_t block : change.DirtyBlocks()) {
            int position = FMap.PositionOf(block);
            if (position >= 0)
                FMap.SetCount(position, change.CountOf(block));
        }
    } else {
        FMap.Assign(change.Chain, change.ChainCounts());
    }
    FCachedBlock = 0;
}

// The journal of one change, attached to the data and blob files while it
// is written.  Finish ends it when the data file and the primary index are
// complete; a failure puts back what the journal saved (the steps' own undo
// has normally done so already) and removes it, and a stopped process
// leaves it for the next writer.
class TJournalScope {
public:
    TJournalScope(const std::string& tablePath, TPxFile& data, TPxBlobFile& blobs)
        : FTablePath(tablePath), FData(data), FBlobs(blobs)
    {
        FJournal.Begin(tablePath);
        FData.AttachJournal(&FJournal, TPxJournal::DataFile);
        if (FBlobs.IsOpen())
            FBlobs.AttachJournal(&FJournal);
    }
    ~TJournalScope()
    {
        Detach();
        if (FDone)
            return;
        try {
            TPxJournal::RollBack(FTablePath, FData.Handle(), FBlobs.IsOpen() ? FBlobs.Handle() : -1);
            TPxJournal::Discard(FTablePath);
        } catch (...) {
            // The journal stays: the next writer puts the files back.
        }
    }
    TJournalScope(const TJournalScope&) = delete;
    TJournalScope& operator=(const TJournalScope&) = delete;

    void Finish()
    {
        Detach();
        FJournal.Finish();
        FDone = true;
    }

private:
    void Detach()
    {
        FData.AttachJournal(nullptr, TPxJournal::DataFile);
        FBlobs.AttachJournal(nullptr);
    }

    std::string FTablePath;
    TPxFile& FData;
    TPxBlobFile& FBlobs;
    TPxJournal FJournal;
    bool FDone = false;
};

// Runs the writing steps of an edit: `prepare` (which stores new blobs in
// `blobs` when that is not null, and shapes the change), the data file,
// the primary index; on a failure everything already written is put back.
namespace {

template <typename Prepare>
void RunChange(TPxBlobFile* blobs, TPxChange& change, Prepare&& prepare, const std::function<void()>& writeIndex)
{
    if (blobs)
        blobs->BeginChange();
    try {
        prepare();
        change.Commit();
        try {
            writeIndex();
        } catch (...) {
            change.Undo();
            throw;
        }
    } catch (...) {
        if (blobs)
            blobs->Rollback();
        throw;
    }
}

} // namespace

int64_t TPxTable::Insert(TEngineRecord& values, int64_t before)
{
    if (!FWritable)
        RefuseReadOnly(*this);
    std::vector<TPxPendingBlob> pending;
    std::vector<uint8_t> record = FCodec->Encode(values, nullptr, pending);
    if (!pending.empty() && !FBlobs.IsOpen())
        FBlobs.Create(TPxCompanions::NewPath(FPath, "MB"), FKey);
    TPxChange change(*this);
    TEngineRecord assigned = values;
    ApplyAutoInc(assigned, record, change.Header);

    int position = 0, slot = 0;
    std::string label;
    bool appended = false;
    if (FHeader.IsKeyed()) {
        bool found;
        change.FindKey(KeyOf(record.data()), position, slot, found);
        if (found)
            RaiseKeyViolation(*this, FHeader);
    } else if (before < 0 || before >= RecordCount()) {
        appended = true;
        position = std::max(0, FMap.BlockCount() - 1);
        slot = FMap.BlockCount() ? FMap.CountAt(position) : 0;
        label = EncodeLabel(FNextLabel);
    } else {
        FMap.Locate(before, position, slot);
        std::string high = BookmarkOf(before);
        std::string low = before > 0 ? BookmarkOf(before - 1) : std::string();
        label = LabelBetween(low, high);
    }
    if (FKeyBookmarks)
        label.clear();

    int finalPosition = 0, finalSlot = 0;
    TJournalScope journal(FPath, FData, FBlobs);
    RunChange(pending.empty() ? nullptr : &FBlobs, change,
              [&] {
                  FCodec->StorePending(pending, FBlobs, record.data());
                  change.Insert(position, slot, record, label, finalPosition, finalSlot);
              },
              [&] { RebuildPrimaryIndex(change); });
    journal.Finish();
    AfterCommit(change);
    if (appended)
        ++FNextLabel;
    for (size_t i = 0; i < FHeader.Fields.size(); ++i)
        if (FHeader.Fields[i].Type == ftAutoIncrement) {
            values[i] = assigned[i];
            FMaxAutoInc = std::max<int64_t>(FMaxAutoInc, assigned[i].AsInteger());
        }
    return FMap.FirstRecordAt(finalPosition) + finalSlot;
}

int64_t TPxTable::Modify(int64_t r, const TEngineRecord& values)
{
    if (!FWritable)
        RefuseReadOnly(*this);
    std::vector<uint8_t> old(RecordBytes(r), RecordBytes(r) + FHeader.RecordSize());
    std::vector<TPxPendingBlob> pending;
    std::vector<uint8_t> record = FCodec->Encode(values, old.data(), pending);
    if (record == old && pending.empty())
        return r;
    if (!pending.empty() && !FBlobs.IsOpen())
        FBlobs.Create(TPxCompanions::NewPath(FPath, "MB"), FKey);

    TPxChange change(*this);
    int position, slot;
    FMap.Locate(r, position, slot);
    const bool keyChanged = FHeader.IsKeyed() && std::memcmp(old.data(), record.data(), FHeader.KeyWidth()) != 0;
    if (keyChanged) {
        int p, s;
        bool found;
        change.FindKey(KeyOf(record.data()), p, s, found);
        if (found)
            RaiseKeyViolation(*this, FHeader);
    }
    int finalPosition = position, finalSlot = slot;
    TJournalScope journal(FPath, FData, FBlobs);
    RunChange(pending.empty() ? nullptr : &FBlobs, change,
              [&] {
                  FCodec->StorePending(pending, FBlobs, record.data());
                  if (!keyChanged) {
                      change.Overwrite(FMap.BlockAt(position), slot, record);
                      return;
                  }
                  // A new key moves the record to its key's place.
                  change.Remove(position, slot);
                  int p, s;
                  bool found;
                  change.FindKey(KeyOf(record.data()), p, s, found);
                  change.Insert(p, s, record, std::string(), finalPosition, finalSlot);
              },
              [&] { RebuildPrimaryIndex(change); });
    journal.Finish();
    AfterCommit(change);
    if (FBlobs.IsOpen()) {
        std::vector<TPxBlobRef> kept = FCodec->BlobRefs(record.data());
        for (const TPxBlobRef& ref : FCodec->BlobRefs(old.data()))
            if (std::none_of(kept.begin(), kept.end(), [&](const TPxBlobRef& k) { return k.Offset == ref.Offset; }))
                FBlobs.Free(ref);
    }
    return FMap.FirstRecordAt(finalPosition) + finalSlot;
}

void TPxTable::Delete(int64_t r)
{
    if (!FWritable)
        RefuseReadOnly(*this);
    std::vector<uint8_t> old(RecordBytes(r), RecordBytes(r) + FHeader.RecordSize());
    TPxChange change(*this);
    int position, slot;
    FMap.Locate(r, position, slot);
    TJournalScope journal(FPath, FData, FBlobs);
    RunChange(nullptr, change, [&] { change.Remove(position, slot); }, [&] { RebuildPrimaryIndex(change); });
    journal.Finish();
    AfterCommit(change);
    if (FBlobs.IsOpen())
        for (const TPxBlobRef& ref : FCodec->BlobRefs(old.data()))
            FBlobs.Free(ref);
}

} // namespace px
