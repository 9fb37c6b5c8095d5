#include "data/engine/dbf/DbfCursor.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/FileStamp.h"
#include "data/engine/dbf/DbfCompanion.h"
#include "data/engine/dbf/DbfJournal.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t CacheBytes = 256 * 1024;
// Every cursor of this engine holds a read lock on this byte (past every
// lock position the xBase programs use); an exclusive open holds a write
// lock on it, so the two keep each other out.
constexpr uint64_t OpenMarkerOffset = 0xF0000000ull;

int64_t BookmarkNumber(const std::string& bookmark)
{
    if (bookmark.size() != 8)
        return 0;
    return static_cast<int64_t>(Be64(reinterpret_cast<const uint8_t*>(bookmark.data())));
}

} // namespace

TDbfCursor::TDbfCursor(const TOpenTableParams& params) : FPath(params.Path)
{
    if (FPath.empty())
        RaiseEngineError(DBIERR_NOTABLENAME);
    FFile = TDbfFile(FPath, !params.ReadOnly);
    RecoverInterruptedPost();
    uint64_t fileSize = FFile.Size();
    uint8_t prefix[DbfPrefixSize] = {};
    FFile.ReadAt(0, prefix, sizeof prefix);
    std::vector<uint8_t> level2;
    std::vector<uint8_t> header;
    if (prefix[0] == 0x02) {
        level2.resize(static_cast<size_t>(std::min<uint64_t>(fileSize, 65536)));
        FFile.ReadExactAt(0, level2.data(), level2.size());
    }
    if (DbfIsLevel2Header(level2, fileSize)) {
        level2.resize(DbfLevel2HeaderSize);
        FHeader = ParseDbfLevel2Header(level2, fileSize, FPath);
    } else {
        uint32_t headerLength = DbfHeaderLength(prefix, fileSize, FPath);
        header.resize(headerLength);
        FFile.ReadExactAt(0, header.data(), header.size());
        FHeader = ParseDbfHeader(header, fileSize, FPath);
    }
    bool admitted = params.Exclusive && !params.ReadOnly ? FFile.TryLock(OpenMarkerOffset, 1)
                                                         : FFile.TryLockShared(OpenMarkerOffset, 1);
    if (!admitted)
        RaiseEngineError(DBIERR_FILELOCKED, {"Table: " + FPath, params.Exclusive ? "Another user has the table open."
                                                                                  : "Another user has the table open exclusively."});

    if (params.ReadOnly)
        FReadOnlyReason = "The table was opened read-only.";
    else if (!FHeader.ReadOnlyReasons.empty())
        FReadOnlyReason = FHeader.ReadOnlyReasons.front();
    OpenMemoFile(!params.ReadOnly);
    CheckRecordCount();
    SettleCodePage(params.CodePage, header, fileSize);
    DescribeFields();
    // Writing without keeping the other programs' index in step would
    // leave it stale: only an index every tag of which is kept opens
    // the table for writing.
    OpenIndex(!params.ReadOnly);
    if (FReadOnlyReason.empty())
        FReadOnlyReason = FIndexProblem;
}

std::string TDbfCursor::FormatName() const
{
    if (FHeader.Level2)
        return "dBASE II";
    switch (FHeader.Dialect) {
    case TDbfDialect::DBase3: return "dBASE III";
    case TDbfDialect::DBase4: return "dBASE IV";
    case TDbfDialect::DBase7: return "dBASE 7";
    case TDbfDialect::FoxPro2: return "FoxPro 2";
    case TDbfDialect::VisualFoxPro: break;
    }
    return "Visual FoxPro";
}

TDbfCursor::~TDbfCursor()
{
    if (FLockedRecord >= 0)
        UnlockRecordBytes(static_cast<uint32_t>(FLockedRecord));
    // Its own hold on the journal goes first: the file goes when no other
    // cursor holds it.
    FJournalStore.reset();
    RemoveIdleJournal();
}

void TDbfCursor::OpenMemoFile(bool writable)
{
    if (!FHeader.HasMemoFields)
        return;
    TDbfMemoKind kind = FHeader.MemoKind;
    std::string path;
    if (kind == TDbfMemoKind::Fpt || kind == TDbfMemoKind::None)
        path = FindCompanionFile(FPath, ".fpt");
    if (!path.empty()) {
        kind = TDbfMemoKind::Fpt;
    } else if (kind != TDbfMemoKind::Fpt) {
        path = FindCompanionFile(FPath, ".dbt");
        if (kind == TDbfMemoKind::None)
            kind = TDbfMemoKind::Dbt3;
    }
    if (path.empty()) {
        if (FReadOnlyReason.empty())
            FReadOnlyReason = "The table's memo file is missing.";
        return;
    }
    try {
        FMemo = std::make_unique<TDbfMemoFile>(path, kind, writable);
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() == DBIERR_TABLEREADONLY)
            throw;
        if (FReadOnlyReason.empty())
            FReadOnlyReason = "The table's memo file is damaged.";
    }
}

void TDbfCursor::CheckRecordCount()
{
    uint64_t fileSize = FFile.Size();
    uint32_t avail = DbfAvailableRecords(FHeader, fileSize);
    FCount = std::min(FHeader.RecordCount, avail);
    if (FHeader.RecordCount > avail) {
        if (FReadOnlyReason.empty())
            FReadOnlyReason = "The table is shorter than its header says (" + std::to_string(avail) + " of " +
                              std::to_string(FHeader.RecordCount) + " records are there).";
    } else if (FHeader.RecordCount < avail) {
        // Whole records past the counted ones: an append that did not
        // finish, or data we do not understand, which is left alone.
        if (TrailingBytesAreRecords(fileSize)) {
            HandleUnfinishedAppend();
            FCount = std::min(FHeader.RecordCount, DbfAvailableRecords(FHeader, FFile.Size()));
        }
        else if (FReadOnlyReason.empty())
            FReadOnlyReason = "The table has data after its last record.";
    }
}

void TDbfCursor::DescribeFields()
{
    for (size_t i = 0; i < FHeader.Fields.size(); ++i) {
        const TDbfField& f = FHeader.Fields[i];
        if (f.Hidden)
            continue;
        TEngineFieldDef def;
        def.Name = f.Name;
        def.DataType = f.DataType;
        def.NativeType = std::string(1, f.Type);
        if (IsStringType(f.DataType) || f.DataType == ftBytes || f.DataType == ftVarBytes)
            def.Size = f.Length;
        if (f.Type == 'N' || f.Type == 'F') {
            def.Precision = f.Length;
            def.Scale = f.Decimals;
        } else if (f.Type == 'Y') {
            def.Scale = 4;
        }
        def.ReadOnly = f.DataType == ftAutoInc || !f.Known;
        FFieldDefs.push_back(std::move(def));
        FVisible.push_back(i);
    }
}

// ---------------------------------------------------------------- reading

const uint8_t* TDbfCursor::CachedRecord(uint32_t index, bool forward)
{
    if (index >= FCount)
        return nullptr;
    const uint32_t length = FHeader.RecordLength;
    if (FCacheCount > 0 && index >= FCacheFirst && index < FCacheFirst + FCacheCount)
        return FCache.data() + static_cast<size_t>(index - FCacheFirst) * length;
    uint32_t window = static_cast<uint32_t>(std::max<size_t>(1, CacheBytes / length));
    uint32_t first = forward ? index : (index + 1 >= window ? index + 1 - window : 0);
    uint32_t count = std::min(window, FCount - first);
    FCache.resize(static_cast<size_t>(count) * length);
    size_t got = FFile.ReadAt(FHeader.RecordOffset(first), FCache.data(), FCache.size());
    FCacheFirst = first;
    FCacheCount = static_cast<uint32_t>(got / length);
    if (index >= FCacheFirst + FCacheCount)
        return nullptr;   // the file shrank under us
    return FCache.data() + static_cast<size_t>(index - FCacheFirst) * length;
}

bool TDbfCursor::ReadRecordFromDisk(uint32_t index, std::vector<uint8_t>& raw) const
{
    raw.resize(FHeader.RecordLength);
    return index < FCount && FFile.ReadAt(FHeader.RecordOffset(index), raw.data(), raw.size()) == raw.size();
}

void TDbfCursor::UpdateCache(uint32_t index, const std::vector<uint8_t>& raw)
{
    if (FCacheCount > 0 && index >= FCacheFirst && index < FCacheFirst + FCacheCount)
        std::memcpy(FCache.data() + static_cast<size_t>(index - FCacheFirst) * FHeader.RecordLength, raw.data(),
                    FHeader.RecordLength);
}

TVariant TDbfCursor::DecodeMemo(const TDbfField& field, const uint8_t* raw) const
{
    if (FValues->IsNullFlagged(field, raw))
        return TVariant::Null();
    uint32_t block = FValues->MemoBlock(field, raw);
    if (block == 0 || !FMemo)
        return TVariant::Null();
    std::string bytes;
    if (!FMemo->Read(block, bytes))
        return TVariant::Null();
    return FValues->MemoValue(field, bytes);
}

void TDbfCursor::DecodeRecord(const uint8_t* raw, TEngineRecord& record) const
{
    record.resize(FVisible.size());
    for (size_t i = 0; i < FVisible.size(); ++i) {
        const TDbfField& field = FHeader.Fields[FVisible[i]];
        if (field.Memo)
            record[i] = DecodeMemo(field, raw);
        else
            FValues->Decode(field, raw, record[i]);
    }
}

int64_t TDbfCursor::RecordCount()
{
    if (FLiveCount >= 0)
        return FLiveCount;
    int64_t live = 0;
    for (uint32_t i = 0; i < FCount; ++i) {
        const uint8_t* raw = CachedRecord(i, true);
        if (!raw)
            break;
        if (raw[0] != '*')
            ++live;
    }
    FLiveCount = live;
    return live;
}

void TDbfCursor::SetToBegin()
{
    FPos = -1;
    FOnRecord = false;
}

void TDbfCursor::SetToEnd()
{
    FPos = FCount;
    FOnRecord = false;
}

bool TDbfCursor::Next(TEngineRecord& record)
{
    for (int64_t i = FPos + 1; i < static_cast<int64_t>(FCount); ++i) {
        const uint8_t* raw = CachedRecord(static_cast<uint32_t>(i), true);
        if (!raw)
            break;
        if (raw[0] == '*')
            continue;
        FPos = i;
        FOnRecord = true;
        DecodeRecord(raw, record);
        return true;
    }
    SetToEnd();
    return false;
}

bool TDbfCursor::Prior(TEngineRecord& record)
{
    for (int64_t i = std::min<int64_t>(FPos, FCount) - 1; i >= 0; --i) {
        const uint8_t* raw = CachedRecord(static_cast<uint32_t>(i), false);
        if (!raw)
            continue;
        if (raw[0] == '*')
            continue;
        FPos = i;
        FOnRecord = true;
        DecodeRecord(raw, record);
        return true;
    }
    SetToBegin();
    return false;
}

bool TDbfCursor::ReadCurrent(TEngineRecord& record)
{
    if (!FOnRecord)
        return false;
    std::vector<uint8_t> raw;
    if (!ReadRecordFromDisk(static_cast<uint32_t>(FPos), raw) || raw[0] == '*')
        return false;
    UpdateCache(static_cast<uint32_t>(FPos), raw);
    DecodeRecord(raw.data(), record);
    return true;
}

std::string TDbfCursor::Bookmark() const
{
    if (!FOnRecord)
        RaiseEngineError(DBIERR_NOCURRREC);
    std::string bookmark(8, '\0');
    PutBe64(reinterpret_cast<uint8_t*>(bookmark.data()), static_cast<uint64_t>(FPos + 1));
    return bookmark;
}

bool TDbfCursor::GotoBookmark(const std::string& bookmark)
{
    return SetRecNo(BookmarkNumber(bookmark));
}

int TDbfCursor::CompareBookmarks(const std::string& a, const std::string& b) const
{
    int64_t x = BookmarkNumber(a), y = BookmarkNumber(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

int64_t TDbfCursor::RecNo()
{
    return FOnRecord ? FPos + 1 : -1;
}

bool TDbfCursor::SetRecNo(int64_t recNo)
{
    if (recNo < 1 || recNo > static_cast<int64_t>(FCount))
        return false;
    const uint8_t* raw = CachedRecord(static_cast<uint32_t>(recNo - 1), true);
    if (!raw || raw[0] == '*')
        return false;
    FPos = recNo - 1;
    FOnRecord = true;
    return true;
}

uint64_t TDbfCursor::ChangeStamp()
{
    // What a write by another program changes: the header's date and record
    // count, the sizes of the table and its memo file, and (for an edit in
    // place the same day, which leaves the header as it was) the files'
    // change times.
    uint8_t prefix[8] = {};
    FFile.ReadAt(0, prefix, sizeof prefix);
    uint64_t stamp = 14695981039346656037ull;
    const auto mix = [&stamp](uint64_t value) { stamp = (stamp ^ value) * 1099511628211ull; };
    for (size_t i = 1; i < sizeof prefix; ++i)
        mix(prefix[i]);
    mix(FFile.Size());
    mix(FileStateStamp(FPath));
    if (FMemo) {
        mix(FMemo->File().Size());
        mix(FileStateStamp(FMemo->File().Path()));
    }
    return stamp;
}

void TDbfCursor::Refresh()
{
    uint8_t prefix[DbfPrefixSize] = {};
    if (FFile.ReadAt(0, prefix, sizeof prefix) == sizeof prefix)
        FHeader.RecordCount = FHeader.Level2 ? prefix[1] | (prefix[2] << 8)
                                             : prefix[4] | (prefix[5] << 8) | (prefix[6] << 16) |
                                                   (static_cast<uint32_t>(prefix[7]) << 24);
    FCount = std::min(FHeader.RecordCount, DbfAvailableRecords(FHeader, FFile.Size()));
    InvalidateCache();
    FLiveCount = -1;
    FHeaderDateSeen = 0;
    if (FMemo)
        FMemo->Reload();
    if (FPos >= static_cast<int64_t>(FCount)) {
        SetToEnd();
    } else if (FOnRecord) {
        const uint8_t* raw = CachedRecord(static_cast<uint32_t>(FPos), true);
        FOnRecord = raw && raw[0] != '*';
    }
}
