// Appends of TDbfCursor.  New records (one, or a batch taken as one
// operation) are encoded and checked first, then, under the header lock,
// placed after the count the header holds on disk, filed in every tag of
// the index (a candidate violation anywhere refuses them all), saved in the
// undo journal, and written: memo blocks, the records with the end marker
// in one write, the auto-increment counters, the header's date and count
// last.  A failed step puts back what the earlier ones wrote.

#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/DbfIndexedPost.h"
#include "data/engine/dbf/DbfUndo.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

// The auto-increment counters of the field descriptors as the new records
// advance them: read from the file once, written back once.
class TDbfCursor::TCounters {
public:
    explicit TCounters(const TDbfFile& file) : FFile(file) {}

    void Read(uint64_t offset, uint8_t* bytes, size_t count)
    {
        bool known = true;
        for (size_t i = 0; i < count && known; ++i)
            known = FBytes.count(offset + i) != 0;
        if (!known) {
            FFile.ReadExactAt(offset, bytes, count);
            for (size_t i = 0; i < count; ++i)
                FBytes.emplace(offset + i, bytes[i]);
        }
        for (size_t i = 0; i < count; ++i)
            bytes[i] = FBytes[offset + i];
    }
    void Write(uint64_t offset, const uint8_t* bytes, size_t count)
    {
        uint8_t stored[8];
        Read(offset, stored, count);
        FOriginals.emplace(offset, std::vector<uint8_t>(stored, stored + count));
        for (size_t i = 0; i < count; ++i)
            FBytes[offset + i] = bytes[i];
    }
    // Each range written, with the bytes the file held there.
    const std::map<uint64_t, std::vector<uint8_t>>& Originals() const { return FOriginals; }
    std::vector<uint8_t> Current(uint64_t offset, size_t count)
    {
        std::vector<uint8_t> bytes(count);
        Read(offset, bytes.data(), count);
        return bytes;
    }

private:
    const TDbfFile& FFile;
    std::map<uint64_t, uint8_t> FBytes;
    std::map<uint64_t, std::vector<uint8_t>> FOriginals;
};

struct TDbfCursor::TNewRecords {
    size_t Count = 0;
    std::vector<uint8_t> Raw;                      // the records one after the other, then the end marker
    std::vector<std::vector<TPendingMemo>> Memos;  // per record
    bool HasMemos = false;

    uint8_t* Record(size_t i, size_t length) { return Raw.data() + i * length; }
};

namespace {

// A failure of one of several records being added names the record.
[[noreturn]] void RaiseForRecord(const EDBEngineError& error, size_t row, size_t count)
{
    std::vector<std::string> details;
    for (const TDBError& entry : error.Errors())
        details.push_back(entry.Message);
    details.push_back("Record " + std::to_string(row + 1) + " of the " + std::to_string(count) +
                      " being added; none of them was added.");
    RaiseEngineError(error.ErrorCode(), std::move(details));
}

} // namespace

void TDbfCursor::EncodeNewRecords(const std::vector<TEngineRecord>& records, TNewRecords& encoded) const
{
    const size_t length = FHeader.RecordLength;
    encoded.Count = records.size();
    encoded.Raw.assign(records.size() * length + 1, ' ');
    encoded.Raw.back() = 0x1A;
    encoded.Memos.resize(records.size());
    std::vector<const TDbfField*> nullFlags;
    for (const TDbfField& f : FHeader.Fields)
        if (f.Hidden && f.Type == '0')
            nullFlags.push_back(&f);
    for (size_t r = 0; r < records.size(); ++r) {
        if (records[r].size() != FVisible.size())
            RaiseEngineError(DBIERR_INVALIDPARAM, {"The record has the wrong number of values."});
        uint8_t* raw = encoded.Record(r, length);
        for (const TDbfField* f : nullFlags)
            std::memset(raw + f->Offset, 0, static_cast<size_t>(f->Length));
        try {
            for (size_t i = 0; i < FVisible.size(); ++i) {
                const TDbfField& f = FHeader.Fields[FVisible[i]];
                EncodeField(FVisible[i], f.DataType == ftAutoInc ? TVariant::Null() : records[r][i], raw,
                            encoded.Memos[r]);
            }
        } catch (const EDBEngineError& e) {
            if (records.size() == 1)
                throw;
            RaiseForRecord(e, r, records.size());
        }
        encoded.HasMemos = encoded.HasMemos || !encoded.Memos[r].empty();
    }
}

void TDbfCursor::AssignAutoIncrements(TEngineRecord& record, uint8_t* raw, TCounters& counters)
{
    for (size_t i = 0; i < FVisible.size(); ++i) {
        const TDbfField& f = FHeader.Fields[FVisible[i]];
        if (f.DataType != ftAutoInc)
            continue;
        int64_t value;
        uint8_t bytes[8] = {};
        if (FHeader.Dialect == TDbfDialect::DBase7) {
            // Writers disagree on where the counter lives (bytes 42-45 or
            // 40-43) and some do not advance it: never hand out a number
            // the table already holds.
            counters.Read(f.DescriptorPos + 40, bytes, 8);
            uint32_t next = Le32(bytes + 2);
            if (next == 0)
                next = Le32(bytes);
            value = std::max<int64_t>({static_cast<int64_t>(next), 1, LargestStoredValue(FVisible[i]) + 1});
            FLargestAutoInc[FVisible[i]] = value;
            uint8_t stored[4];
            PutLe32(stored, static_cast<uint32_t>(value + 1));
            counters.Write(f.DescriptorPos + 42, stored, 4);
        } else {
            counters.Read(f.DescriptorPos + 19, bytes, 5);
            uint32_t next = Le32(bytes);
            uint8_t step = bytes[4] ? bytes[4] : 1;
            value = static_cast<int32_t>(next);
            uint8_t stored[4];
            PutLe32(stored, next + step);
            counters.Write(f.DescriptorPos + 19, stored, 4);
        }
        if (value > INT32_MAX)
            RaiseFieldError(DBIERR_MAXVALERR, f, "The auto-increment counter has run out.");
        record[i] = TVariant(static_cast<int32_t>(value));
        FValues->Encode(f, record[i], raw);
    }
}

int64_t TDbfCursor::LargestStoredValue(size_t fieldIndex)
{
    auto known = FLargestAutoInc.find(fieldIndex);
    if (known != FLargestAutoInc.end())
        return known->second;
    const TDbfField& f = FHeader.Fields[fieldIndex];
    int64_t largest = 0;
    TVariant value;
    for (uint32_t i = 0; i < FCount; ++i) {
        const uint8_t* raw = CachedRecord(i, true);
        if (!raw)
            break;
        FValues->Decode(f, raw, value);
        if (!value.IsNull())
            largest = std::max<int64_t>(largest, value.AsInt64());
    }
    FLargestAutoInc[fieldIndex] = largest;
    return largest;
}

void TDbfCursor::InsertRecord(TEngineRecord& record, bool append)
{
    // A dBASE table has no order but its physical one: new records go at the end.
    (void)append;
    std::vector<TEngineRecord> records{record};
    size_t appended = 0;
    AppendRecords(records, appended);
    record = std::move(records.front());
}

void TDbfCursor::AppendRecords(std::vector<TEngineRecord>& records, size_t& appended)
{
    appended = 0;
    CheckWritable();
    if (records.empty())
        return;
    TNewRecords encoded;
    EncodeNewRecords(records, encoded);
    WriteNewRecords(encoded, records);
    appended = records.size();
}

void TDbfCursor::WriteNewRecords(TNewRecords& encoded, std::vector<TEngineRecord>& records)
{
    const size_t length = FHeader.RecordLength;
    const size_t count = encoded.Count;
    // The auto-increment values the records get are theirs only once written.
    std::vector<TEngineRecord> values = records;

    LockHeader();
    TScopeExit unlockHeader([this] { UnlockHeader(); });
    uint8_t prefix[DbfPrefixSize];
    FFile.ReadExactAt(0, prefix, sizeof prefix);
    const uint32_t diskCount = Le32(prefix + 4);
    const uint64_t sizeBefore = FFile.Size();
    if (diskCount > DbfAvailableRecords(FHeader, sizeBefore))
        RaiseEngineError(DBIERR_FILECORRUPT, {"Table: " + FPath, "The table is shorter than its header says."});
    const uint32_t first = diskCount;
    if (count >= UINT32_MAX - static_cast<uint64_t>(first))
        RaiseEngineError(DBIERR_RECTOOBIG, {"Table: " + FPath, "The table cannot hold more records."});

    TCounters counters(FFile);
    for (size_t r = 0; r < count; ++r)
        AssignAutoIncrements(values[r], encoded.Record(r, length), counters);

    // What the records overwrite: the end marker, and whatever else stands
    // after the counted records.
    const uint64_t offset = FHeader.RecordOffset(first);
    std::vector<uint8_t> overwritten(encoded.Raw.size());
    overwritten.resize(FFile.ReadAt(offset, overwritten.data(), overwritten.size()));
    std::unique_ptr<TDbfIndexedPost> indexed = BeginIndexedPost();
    if (indexed) {
        indexed->FileNew(first + 1, count, encoded.Raw.data(), length);
        indexed->SaveTableSize(sizeBefore);
        indexed->SaveTable(0, prefix, sizeof prefix);
        for (const auto& [at, original] : counters.Originals())
            indexed->SaveTable(at, original.data(), original.size());
        indexed->SaveTable(offset, overwritten.data(), overwritten.size());
    }
    std::optional<TDbfMemoFile::TState> memoState;
    TScopeExit unlockMemo([&] { if (memoState) FMemo->UnlockAllocation(); });
    if (encoded.HasMemos)
        memoState = LockMemoForPost(indexed.get());
    if (indexed)
        indexed->Start();

    try {
        for (size_t r = 0; r < count; ++r)
            WriteMemos(encoded.Memos[r], encoded.Record(r, length));
        FFile.WriteAt(offset, encoded.Raw.data(), encoded.Raw.size());
        for (const auto& [at, original] : counters.Originals()) {
            std::vector<uint8_t> advanced = counters.Current(at, original.size());
            FFile.WriteAt(at, advanced.data(), advanced.size());
        }
        uint8_t stamped[DbfPrefixSize];
        std::memcpy(stamped, prefix, sizeof prefix);
        StampHeader(stamped);
        PutLe32(stamped + 4, first + static_cast<uint32_t>(count));
        FFile.WriteAt(1, stamped + 1, 7);
        if (indexed)
            indexed->Commit();
    } catch (...) {
        Undo([&] { FFile.WriteAt(0, prefix, sizeof prefix); });
        for (const auto& [at, original] : counters.Originals())
            Undo([&] { FFile.WriteAt(at, original.data(), original.size()); });
        if (!overwritten.empty())
            Undo([&] { FFile.WriteAt(offset, overwritten.data(), overwritten.size()); });
        Undo([&] { FFile.Truncate(sizeBefore); });
        if (memoState)
            Undo([&] { FMemo->RestoreState(*memoState); });
        throw;
    }

    if (diskCount != FCount)
        FLiveCount = -1;
    else if (FLiveCount >= 0)
        FLiveCount += static_cast<int64_t>(count);
    const uint32_t total = first + static_cast<uint32_t>(count);
    FHeader.RecordCount = total;
    FCount = total;
    InvalidateCache();
    FPos = total - 1;
    FOnRecord = true;
    records = std::move(values);
}
