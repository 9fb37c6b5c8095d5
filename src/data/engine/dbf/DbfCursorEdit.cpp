// Locks and writes of TDbfCursor.  Every write first encodes and checks the
// whole record, then writes memo blocks, the record and the header, in
// that order, and puts back what it wrote when a later step fails.

#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/DbfIndexedPost.h"
#include "data/engine/dbf/DbfUndo.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <optional>

namespace {

struct TLockSpot {
    uint64_t Offset;
    uint64_t Length;
};

// dBASE programs lock bytes counted down from 0xEFFFFFFE; FoxPro ones from
// 0x7FFFFFFE with a structural CDX, or at 0x40000000 plus the record's
// offset without one.  Programs disagree on which a FoxPro table without a
// CDX takes, so such a table takes both; with a CDX they agree.
bool FoxProTakesBothLocks(const TDbfHeader& header) { return !header.ProductionIndexFlag; }

std::vector<TLockSpot> RecordLockSpots(const TDbfHeader& header, uint32_t index)
{
    uint64_t n = static_cast<uint64_t>(index) + 1;
    if (!header.IsFoxPro())
        return {{0xEFFFFFFEull - n, 1}};
    if (!FoxProTakesBothLocks(header))
        return {{0x7FFFFFFEull - n, 1}};
    return {{0x7FFFFFFEull - n, 1}, {0x40000000ull + header.RecordOffset(index), 1}};
}

std::vector<TLockSpot> HeaderLockSpots(const TDbfHeader& header)
{
    if (!header.IsFoxPro())
        return {{0xEFFFFFFEull, 2}};
    if (!FoxProTakesBothLocks(header))
        return {{0x7FFFFFFEull, 1}};
    return {{0x7FFFFFFEull, 1}, {0x40000000ull, 1}};
}

// The date bytes of a header as one number (0 never stands for a date).
uint32_t PackedHeaderDate(const uint8_t* prefix)
{
    return 0x1000000u | static_cast<uint32_t>(prefix[1]) << 16 | static_cast<uint32_t>(prefix[2]) << 8 | prefix[3];
}

bool SameValue(const TVariant& a, const TVariant& b)
{
    if (a.IsNullOrEmpty() || b.IsNullOrEmpty())
        return a.IsNullOrEmpty() && b.IsNullOrEmpty();
    if (a.VarType() == b.VarType() || (a.IsNumeric() && b.IsNumeric()))
        return TVariant::Compare(a, b) == 0;
    return false;
}

uint32_t FptBlockType(char type)
{
    switch (type) {
    case 'P': return 0;
    case 'M': return 1;
    default: return 2;
    }
}

} // namespace

void TDbfCursor::CheckWritable() const
{
    if (!FReadOnlyReason.empty())
        RaiseEngineError(DBIERR_TABLEREADONLY, {"Table: " + FPath, FReadOnlyReason});
}

void TDbfCursor::CheckOnRecord() const
{
    if (!FOnRecord)
        RaiseEngineError(DBIERR_NOCURRREC);
}

bool TDbfCursor::LockRecordBytes(uint32_t index)
{
    std::vector<TLockSpot> spots = RecordLockSpots(FHeader, index);
    for (size_t i = 0; i < spots.size(); ++i) {
        if (!FFile.TryLock(spots[i].Offset, spots[i].Length)) {
            for (size_t j = 0; j < i; ++j)
                FFile.Unlock(spots[j].Offset, spots[j].Length);
            return false;
        }
    }
    return true;
}

void TDbfCursor::UnlockRecordBytes(uint32_t index)
{
    for (const TLockSpot& spot : RecordLockSpots(FHeader, index))
        FFile.Unlock(spot.Offset, spot.Length);
}

bool TDbfCursor::TryLockHeader()
{
    std::vector<TLockSpot> spots = HeaderLockSpots(FHeader);
    for (size_t i = 0; i < spots.size(); ++i) {
        if (!FFile.LockWithRetry(spots[i].Offset, spots[i].Length)) {
            for (size_t j = 0; j < i; ++j)
                FFile.Unlock(spots[j].Offset, spots[j].Length);
            return false;
        }
    }
    return true;
}

void TDbfCursor::LockHeader()
{
    if (!TryLockHeader())
        RaiseEngineError(DBIERR_FILELOCKED, {"Table: " + FPath, "Another user is adding records to the table."});
}

void TDbfCursor::UnlockHeader()
{
    for (const TLockSpot& spot : HeaderLockSpots(FHeader))
        FFile.Unlock(spot.Offset, spot.Length);
}

void TDbfCursor::StampHeader(uint8_t* prefix) const
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    int year = local.tm_year + 1900;
    prefix[1] = static_cast<uint8_t>(FHeader.IsFoxPro() ? year % 100 : year - 1900);
    prefix[2] = static_cast<uint8_t>(local.tm_mon + 1);
    prefix[3] = static_cast<uint8_t>(local.tm_mday);
}

bool TDbfCursor::HeaderDateDue(uint8_t* stamped, TDbfIndexedPost* indexed)
{
    std::memset(stamped, 0, DbfDateEnd);
    StampHeader(stamped);
    if (PackedHeaderDate(stamped) == FHeaderDateSeen)
        return false;
    uint8_t stored[DbfDateEnd];
    FFile.ReadExactAt(0, stored, sizeof stored);
    if (PackedHeaderDate(stored) == PackedHeaderDate(stamped)) {
        FHeaderDateSeen = PackedHeaderDate(stamped);
        return false;
    }
    if (indexed)
        indexed->SaveTable(DbfDateStart, stored + DbfDateStart, DbfDateEnd - DbfDateStart);
    return true;
}

void TDbfCursor::WriteHeaderDate(const uint8_t* stamped)
{
    FFile.WriteAt(DbfDateStart, stamped + DbfDateStart, DbfDateEnd - DbfDateStart);
    FHeaderDateSeen = PackedHeaderDate(stamped);
}

void TDbfCursor::HoldRecordLock(uint32_t index)
{
    if (FLockedRecord == FPos)
        return;
    UnlockRecord();
    if (!LockRecordBytes(index))
        RaiseEngineError(DBIERR_LOCKED, {"Table: " + FPath, "Record " + std::to_string(index + 1)});
    FLockedRecord = FPos;
}

void TDbfCursor::LockRecord(TEngineRecord& fresh)
{
    CheckWritable();
    CheckOnRecord();
    uint32_t index = static_cast<uint32_t>(FPos);
    HoldRecordLock(index);
    std::vector<uint8_t> raw;
    if (!ReadRecordFromDisk(index, raw) || raw[0] == '*') {
        UnlockRecord();
        RaiseEngineError(DBIERR_RECNOTFOUND, {"The record was deleted by another user."});
    }
    UpdateCache(index, raw);
    DecodeRecord(raw.data(), fresh);
}

void TDbfCursor::UnlockRecord()
{
    if (FLockedRecord < 0)
        return;
    UnlockRecordBytes(static_cast<uint32_t>(FLockedRecord));
    FLockedRecord = -1;
}

void TDbfCursor::EncodeField(size_t fieldIndex, const TVariant& value, uint8_t* raw,
                             std::vector<TPendingMemo>& memos) const
{
    const TDbfField& f = FHeader.Fields[fieldIndex];
    if (!f.Memo) {
        FValues->Encode(f, value, raw);
        return;
    }
    if (!FMemo)
        RaiseFieldError(DBIERR_TABLEREADONLY, f, "The table's memo file is missing.");
    std::string bytes = FValues->MemoBytes(f, value);
    FMemo->CheckStorable(bytes, f.Name);
    FValues->SetMemoBlock(f, 0, raw);
    FValues->SetNullFlag(f, value.IsNullOrEmpty(), raw);
    if (!bytes.empty())
        memos.push_back({fieldIndex, std::move(bytes)});
}

void TDbfCursor::WriteMemos(std::vector<TPendingMemo>& memos, uint8_t* raw)
{
    for (TPendingMemo& memo : memos) {
        const TDbfField& f = FHeader.Fields[memo.Field];
        uint32_t block = FMemo->Append(memo.Bytes, FptBlockType(f.Type));
        FValues->SetMemoBlock(f, block, raw);
    }
}

TDbfMemoFile::TState TDbfCursor::LockMemoForPost(TDbfIndexedPost* indexed)
{
    if (!FMemo->LockAllocation())
        RaiseEngineError(DBIERR_FILELOCKED, {"File: " + FMemo->Path(), "Another user is writing memos."});
    try {
        TDbfMemoFile::TState state = FMemo->SaveState();
        if (indexed)
            indexed->SaveMemo(*FMemo);
        return state;
    } catch (...) {
        FMemo->UnlockAllocation();
        throw;
    }
}

void TDbfCursor::ModifyRecord(const TEngineRecord& record)
{
    CheckWritable();
    CheckOnRecord();
    if (record.size() != FVisible.size())
        RaiseEngineError(DBIERR_INVALIDPARAM, {"The record has the wrong number of values."});
    uint32_t index = static_cast<uint32_t>(FPos);
    HoldRecordLock(index);
    TScopeExit release([this] { UnlockRecord(); });

    std::vector<uint8_t> before;
    if (!ReadRecordFromDisk(index, before) || before[0] == '*')
        RaiseEngineError(DBIERR_RECNOTFOUND, {"The record was deleted by another user."});
    TEngineRecord stored;
    DecodeRecord(before.data(), stored);

    // Only the values that changed are encoded: every other byte of the
    // record stays as the file has it.
    std::vector<uint8_t> after = before;
    std::vector<TPendingMemo> memos;
    for (size_t i = 0; i < FVisible.size(); ++i) {
        const TDbfField& f = FHeader.Fields[FVisible[i]];
        if (f.DataType == ftAutoInc || !f.Known || SameValue(stored[i], record[i]))
            continue;
        EncodeField(FVisible[i], record[i], after.data(), memos);
    }
    if (after == before && memos.empty())
        return;

    const uint64_t offset = FHeader.RecordOffset(index);
    std::unique_ptr<TDbfIndexedPost> indexed = BeginIndexedPost();
    if (indexed) {
        indexed->File(index + 1, before.data(), after.data(), RecordScan());
        indexed->SaveTable(offset, before.data(), before.size());
    }
    uint8_t date[DbfDateEnd];
    const bool dateDue = HeaderDateDue(date, indexed.get());
    std::optional<TDbfMemoFile::TState> memoState;
    TScopeExit unlockMemo([&] { if (memoState) FMemo->UnlockAllocation(); });
    if (!memos.empty())
        memoState = LockMemoForPost(indexed.get());
    if (indexed)
        indexed->Start();
    bool recordWritten = false;
    try {
        WriteMemos(memos, after.data());
        recordWritten = true;
        FFile.WriteAt(offset, after.data(), after.size());
        if (dateDue)
            WriteHeaderDate(date);
        if (indexed)
            indexed->Commit();
    } catch (...) {
        // The journal may put the old date back.
        FHeaderDateSeen = 0;
        if (recordWritten)
            Undo([&] { FFile.WriteAt(offset, before.data(), before.size()); });
        if (memoState)
            Undo([&] { FMemo->RestoreState(*memoState); });
        throw;
    }
    UpdateCache(index, after);
}

void TDbfCursor::DeleteRecord()
{
    CheckWritable();
    CheckOnRecord();
    uint32_t index = static_cast<uint32_t>(FPos);
    HoldRecordLock(index);
    TScopeExit release([this] { UnlockRecord(); });

    std::vector<uint8_t> raw;
    if (!ReadRecordFromDisk(index, raw))
        RaiseEngineError(DBIERR_RECNOTFOUND, {"The record was deleted by another user."});
    if (raw[0] != '*') {
        const uint64_t offset = FHeader.RecordOffset(index);
        const uint8_t flag = raw[0];
        const uint8_t deleted = '*';
        std::unique_ptr<TDbfIndexedPost> indexed = BeginIndexedPost();
        if (indexed) {
            std::vector<uint8_t> after = raw;
            after[0] = deleted;
            indexed->File(index + 1, raw.data(), after.data(), RecordScan());
            indexed->SaveTable(offset, &flag, 1);
        }
        uint8_t date[DbfDateEnd];
        const bool dateDue = HeaderDateDue(date, indexed.get());
        if (indexed)
            indexed->Start();
        FFile.WriteAt(offset, &deleted, 1);
        try {
            if (dateDue)
                WriteHeaderDate(date);
            if (indexed)
                indexed->Commit();
        } catch (...) {
            FHeaderDateSeen = 0;
            Undo([&] { FFile.WriteAt(offset, &flag, 1); });
            throw;
        }
        raw[0] = '*';
        UpdateCache(index, raw);
        if (FLiveCount >= 0)
            --FLiveCount;
    }
    FOnRecord = false;
}

TEngineRecord TDbfCursor::BlankRecord()
{
    TEngineRecord record(FVisible.size(), TVariant::Null());
    for (size_t i = 0; i < FVisible.size(); ++i) {
        const TDbfField& f = FHeader.Fields[FVisible[i]];
        // Visual FoxPro binary numbers without NULL support hold zero.
        if (FHeader.Dialect == TDbfDialect::VisualFoxPro && f.NullBit < 0 && f.DataType != ftAutoInc) {
            if (f.Type == 'I')
                record[i] = TVariant(int32_t(0));
            else if (f.Type == 'Y' || f.Type == 'B')
                record[i] = TVariant(0.0);
        }
    }
    return record;
}
