#pragma once
// One open Paradox table: its files (.DB, .MB, .PX), the chain of data
// blocks with per-block record counts, record reading through a block
// cache, bookmarks, and the edits (insert, modify, delete) that keep the
// files valid after every change.
//
// Records are addressed by their 0-based number in the table's order
// (chain order, which is key order in a keyed table).

#include "data/engine/CodePage.h"
#include "data/engine/Engine.h"
#include "data/engine/paradox/PxBlobFile.h"
#include "data/engine/paradox/PxBlockMap.h"
#include "data/engine/paradox/PxFile.h"
#include "data/engine/paradox/PxHeader.h"
#include "data/engine/paradox/PxPrimaryIndex.h"
#include "data/engine/paradox/PxRecordCodec.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace px {

class TPxChange;

// Position labels of a block's records for tables whose bookmarks are not
// keys: labels compare (as byte strings) in the order of the records.
struct TPxBlockLabels {
    uint64_t Base = 0;                // implicit labels Base, Base + 1, ... (8 bytes big-endian)
    std::vector<std::string> Labels;  // explicit labels once the block was edited
    bool Explicit = false;
};

class TPxTable {
public:
    explicit TPxTable(const TOpenTableParams& params);
    ~TPxTable();

    const TPxHeader& Header() const { return FHeader; }
    const TPxRecordCodec& Codec() const { return *FCodec; }
    const TCodePage& CodePage() const { return *FCodePage; }
    const TCodePageChoice& CodePageChoice() const { return FCodePageChoice; }
    bool CanModify() const { return FWritable; }
    const std::string& ReadOnlyReason() const { return FReadOnlyReason; }
    const std::string& Path() const { return FPath; }
    int64_t RecordCount() const { return FMap.RecordCount(); }
    const TPxFile& DataFile() const { return FData; }

    // Bytes of record r (valid until the next call).
    const uint8_t* RecordBytes(int64_t r);
    void ReadRecord(int64_t r, TEngineRecord& values);
    // A new record's values: the defaults of the .VAL file, null elsewhere.
    TEngineRecord BlankRecord() const;
    // Block number and slot of record r, for record locks.
    void BlockAndSlotOf(int64_t r, int& block, int& slot) const;

    // Bookmarks: the encoded primary key when keys order the table as bytes
    // do, otherwise the record's position label.
    std::string BookmarkOf(int64_t r);
    int64_t FindBookmark(const std::string& bookmark);

    // Edits; each raises EDBEngineError and leaves the files unchanged on failure.
    int64_t Insert(TEngineRecord& values, int64_t before);   // before = -1: append (non-keyed)
    int64_t Modify(int64_t r, const TEngineRecord& values);  // returns the record's new number
    void Delete(int64_t r);

    // Re-reads the header and block chain when another program changed the
    // file; true when it had changed.  A writer (holding the table's write
    // lock) first puts back a change another process left unfinished.
    bool Reload(bool writeLockHeld = false);
    // Puts back a change another process left unfinished, when its journal
    // is there; the caller holds the table's write lock.  True when it did.
    bool RollBackInterruptedChange();
    // What the open found of an unfinished change (see TEngineCursor).
    const std::string& RecoveryNote() const { return FRecoveryNote; }

    // What identifies record r for a record lock while other writers move
    // it: its key in a keyed table, its bytes otherwise.
    std::string LockIdentityOf(int64_t r);
    // The record with exactly these bytes nearest to record `near`; -1 when none.
    int64_t FindRecordBytes(const std::string& bytes, int64_t near);

    // Raw block access for the change machinery (decrypted images).
    void ReadBlockImage(int block, std::vector<uint8_t>& image) const;
    void WriteBlockImage(int block, const std::vector<uint8_t>& image);
    void WriteHeader(const std::vector<uint8_t>& header);
    bool KeyBookmarks() const { return FKeyBookmarks; }

private:
    friend class TPxChange;

    void OpenFiles(const TOpenTableParams& params);
    void LoadChain();
    void CheckPassword(const std::vector<std::string>& passwords);
    void DecideWritable(bool readOnlyRequested);
    // The code page asked for, the header's, or a guess from the first
    // records' Alpha fields and memo beginnings (PxCodePage.cpp).
    void SettleCodePage(int requested);
    void SampleTexts(TCodePageSample& sample);
    void LoadRequiredFlags();

    const uint8_t* RecordInBlock(int block, int slot);
    std::string KeyOf(const uint8_t* record) const;
    void EnsureFirstKeys();
    std::string FirstKeyOf(int block);
    std::string LabelAt(int block, int slot) const;
    // Chain position and slot where `key` is or would go; `found` when it is there.
    void SearchKey(const std::string& key, int& position, int& slot, bool& found);
    void SearchLabel(const std::string& label, int& position, int& slot, bool& found);
    uint32_t NextAutoIncValue();
    void ApplyAutoInc(TEngineRecord& values, std::vector<uint8_t>& record, TPxHeader& header);
    void RebuildPrimaryIndex(TPxChange& change);
    void WritePrimaryIndex(const TPxHeader& header, const std::vector<TPxIndexEntry>& entries);
    // ---- a change another process left unfinished (PxRecovery.cpp)
    void CheckForInterruptedChange(bool readOnlyRequested);
    void RebuildPrimaryIndexFromChain();
    bool IndexEntriesUnchanged(TPxChange& change, const std::vector<int>& counts,
                               const std::function<std::string_view(uint16_t)>& firstKeyOf);
    bool TryUpdateIndexInPlace(TPxChange& change, const std::vector<int>& counts,
                               const std::function<std::string_view(uint16_t)>& firstKeyOf);
    void AfterCommit(TPxChange& change);

    std::string FPath;
    TPxFile FData;
    TPxBlobFile FBlobs;
    TPxHeader FHeader;
    std::unique_ptr<TCodePage> FCodePage;
    TCodePageChoice FCodePageChoice;
    std::unique_ptr<TPxRecordCodec> FCodec;
    TPxBlockMap FMap;
    uint32_t FKey = 0;
    bool FWritable = false;
    bool FOpenedForWriting = false;   // the data file is open for writing
    bool FChainDamaged = false;
    bool FKeyBookmarks = false;
    std::string FReadOnlyReason;
    std::string FRecoveryNote;
    int64_t FFileSize = 0;

    int FCachedBlock = 0;
    std::vector<uint8_t> FCache;

    std::vector<std::string> FFirstKeys;   // by block number, keyed tables
    bool FFirstKeysLoaded = false;
    std::vector<TPxBlockLabels> FLabels;   // by block number, tables with label bookmarks
    uint64_t FNextLabel = 0;
    int64_t FMaxAutoInc = -1;              // highest + value present, -1 until scanned
    std::string FPrimaryIndexPath;
    std::vector<uint8_t> FDefaultRecord;
    TPxIndexLayout FIndexLayout;           // of the .PX when this engine wrote it
};

} // namespace px
