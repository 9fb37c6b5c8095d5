#include "data/engine/paradox/PxTable.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxChange.h"
#include "data/engine/paradox/PxCompanions.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxLabels.h"
#include "data/engine/paradox/PxMapping.h"
#include "data/engine/paradox/PxPrimaryIndex.h"
#include "data/engine/paradox/PxValidity.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace px {

namespace {
constexpr int BlockHeader = 6;
constexpr int Piece = 256;
}

TPxTable::TPxTable(const TOpenTableParams& params) : FPath(params.Path)
{
    OpenFiles(params);
    LoadChain();
    CheckForInterruptedChange(params.ReadOnly);
    SettleCodePage(params.CodePage);
    DecideWritable(params.ReadOnly);
}

TPxTable::~TPxTable() = default;

void TPxTable::OpenFiles(const TOpenTableParams& params)
{
    if (FPath.empty())
        RaiseEngineError(DBIERR_NOTABLENAME);
    if (!FData.Open(FPath, !params.ReadOnly)) {
        int error = errno;
        if (error == ENOENT)
            RaiseEngineError(DBIERR_NOSUCHTABLE, {"File: " + FPath});
        if (!params.ReadOnly && (error == EACCES || error == EROFS || error == EPERM))
            RaiseEngineError(DBIERR_TABLEREADONLY, {"File: " + FPath, std::strerror(error)});
        RaiseEngineError(DBIERR_OSEACCES, {"File: " + FPath, std::strerror(error)});
    }
    FOpenedForWriting = !params.ReadOnly;
    FFileSize = FData.Size();
    std::vector<uint8_t> start(std::min<int64_t>(FFileSize, 0x78), 0);
    FData.ReadAt(0, start.data(), start.size());
    if (start.size() < 0x58)
        RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + FPath, "The file is shorter than a table header."});
    int headerSize = Le16(&start[hHeaderSize]);
    std::vector<uint8_t> raw(static_cast<size_t>(std::min<int64_t>(FFileSize, std::max(headerSize, 0x78))), 0);
    FData.ReadAt(0, raw.data(), raw.size());
    FHeader = TPxHeader::Parse(std::move(raw), FPath);
    FHeader.Raw.resize(FHeader.HeaderSize());

    try {
        FCodePage = std::make_unique<TCodePage>(params.CodePage ? params.CodePage : FHeader.CodePage());
    } catch (const EDBEngineError&) {
        if (params.CodePage)
            throw;
        FCodePage = std::make_unique<TCodePage>(936);
        FReadOnlyReason = "its code page " + std::to_string(FHeader.CodePage()) + " is not supported";
    }
    CheckPassword(params.Passwords);

    TPxCompanions companions = TPxCompanions::Find(FPath);
    if (!companions.Blob.empty() && !FBlobs.Open(companions.Blob, !params.ReadOnly, FKey) && !params.ReadOnly &&
        FBlobs.Open(companions.Blob, false, FKey))
        FReadOnlyReason = "its blob file (.MB) cannot be written";
    FPrimaryIndexPath = companions.PrimaryIndex.empty() ? TPxCompanions::NewPath(FPath, "PX") : companions.PrimaryIndex;
    FCodec = std::make_unique<TPxRecordCodec>(FHeader, *FCodePage, FBlobs);
    FKeyBookmarks = FHeader.IsKeyed() && FHeader.KeyOrderIsBinary();
}

void TPxTable::CheckPassword(const std::vector<std::string>& passwords)
{
    uint32_t checksum = FHeader.EncryptionKey();
    if (checksum == 0)
        return;
    for (const std::string& password : passwords) {
        std::string bytes;
        try {
            bytes = FCodePage->FromUtf8(password);
        } catch (const EDBEngineError&) {
            continue;
        }
        if (PasswordChecksum(bytes) == checksum) {
            FKey = checksum;
            return;
        }
    }
    RaiseEngineError(DBIERR_NOTSUFFTABLERIGHTS, {"File: " + FPath});
}

void TPxTable::LoadChain()
{
    const int blockSize = FHeader.BlockSize();
    const int recordSize = FHeader.RecordSize();
    const int capacity = (blockSize - BlockHeader) / recordSize;
    const int fileBlocks = FHeader.FileBlocks();
    std::vector<uint16_t> chain;
    std::vector<int> counts;
    std::vector<bool> visited(static_cast<size_t>(fileBlocks) + 1, false);
    FChainDamaged = false;
    int64_t total = 0;
    uint8_t head[Piece];
    // Only the block headers are read: through a mapping of the file when
    // possible, so that a table of many blocks opens without a read per block.
    TPxMapping mapping(FData.Handle(), FFileSize);
    for (int block = FHeader.FirstBlock(); block != 0;) {
        int64_t offset = FHeader.HeaderSize() + int64_t(block - 1) * blockSize;
        if (block > fileBlocks || visited[block] || offset + BlockHeader > FFileSize) {
            FChainDamaged = true;
            break;
        }
        visited[block] = true;
        size_t want = FKey ? Piece : BlockHeader;
        std::memset(head, 0, sizeof head);
        size_t available = static_cast<size_t>(std::min<int64_t>(want, FFileSize - offset));
        if (mapping.Data())
            std::memcpy(head, mapping.Data() + offset, available);
        else
            FData.ReadAt(offset, head, available);
        if (FKey)
            DecryptBlock(head, Piece, FKey, block);
        int16_t last = static_cast<int16_t>(Le16(head + 4));
        int count = last < 0 ? 0 : last / recordSize + 1;
        if (last >= 0 && last % recordSize != 0)
            FChainDamaged = true;
        if (count > capacity) {
            count = capacity;
            FChainDamaged = true;
        }
        int64_t complete = (FFileSize - offset - BlockHeader) / recordSize;
        if (count > complete) {
            count = static_cast<int>(std::max<int64_t>(complete, 0));
            FChainDamaged = true;
        }
        chain.push_back(static_cast<uint16_t>(block));
        counts.push_back(count);
        total += count;
        block = Le16(head);
    }
    if (total != FHeader.NumRecords())
        FChainDamaged = true;
    FMap.Assign(std::move(chain), std::move(counts));
    FCachedBlock = 0;
    FFirstKeysLoaded = false;
    FFirstKeys.clear();
    FMaxAutoInc = -1;
    FIndexLayout.Valid = false;
    if (!FKeyBookmarks) {
        FLabels.assign(static_cast<size_t>(fileBlocks) + 1, TPxBlockLabels{});
        uint64_t base = 1;
        for (int i = 0; i < FMap.BlockCount(); ++i) {
            FLabels[FMap.BlockAt(i)].Base = base;
            base += FMap.CountAt(i);
        }
        FNextLabel = base;
    }
}

void TPxTable::DecideWritable(bool readOnlyRequested)
{
    FWritable = false;
    if (readOnlyRequested)
        return;
    auto readOnly = [&](const std::string& why) {
        if (FReadOnlyReason.empty())
            FReadOnlyReason = why;
    };
    TPxCompanions companions = TPxCompanions::Find(FPath);
    if (FHeader.WriteProtected()) readOnly("it is write-protected");
    if (FHeader.NeedsRepair()) readOnly("its header marks it as needing repair");
    if (FChainDamaged) readOnly("its blocks do not agree with its header (the file is damaged)");
    size_t slash = FPath.rfind('/');
    std::string folder = slash == std::string::npos ? "." : FPath.substr(0, std::max<size_t>(slash, 1));
    if (::access(folder.c_str(), W_OK) != 0)
        readOnly("its folder cannot be written (each change keeps an undo journal there until it is complete)");
    if (!companions.SecondaryIndexes.empty()) readOnly("it has secondary indexes the program does not maintain");
    if (!companions.LockFiles.empty()) readOnly("lock files show that another program may be using it");
    for (const auto& f : FHeader.Fields)
        if (!f.IsKnownType()) readOnly("it has a field of an unknown type");
    bool hasBlobs = std::any_of(FHeader.Fields.begin(), FHeader.Fields.end(), [](const TPxField& f) { return f.IsBlob(); });
    if (hasBlobs && !FBlobs.IsOpen()) readOnly("its blob file (.MB) is missing");
    if (FHeader.IsKeyed() && !FHeader.KeyOrderIsBinary())
        readOnly("its sort order \"" + FHeader.SortOrderName + "\" cannot be kept for new keys");
    if (!companions.Validity.empty()) {
        TPxValidity validity = TPxValidity::Read(companions.Validity, FHeader);
        if (!validity.Understood)
            readOnly(validity.Reason);
        for (size_t i = 0; i < validity.Required.size(); ++i)
            FCodec->SetRequired(static_cast<int>(i), validity.Required[i]);
        if (validity.Understood)
            FDefaultRecord = validity.Defaults;
    }
    FWritable = FReadOnlyReason.empty();
}

bool TPxTable::Reload(bool writeLockHeld)
{
    if (writeLockHeld && RollBackInterruptedChange())
        return true;
    std::vector<uint8_t> raw(FHeader.Raw.size(), 0);
    if (!FData.ReadAt(0, raw.data(), raw.size()))
        RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + FPath, "The file has become shorter than its header."});
    FFileSize = FData.Size();
    if (raw == FHeader.Raw)
        return false;
    TPxHeader fresh = TPxHeader::Parse(raw, FPath);
    if (fresh.RecordSize() != FHeader.RecordSize() || fresh.Fields.size() != FHeader.Fields.size())
        RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + FPath, "The table's structure was changed by another program."});
    FHeader.Raw = std::move(fresh.Raw);
    LoadChain();
    if (FChainDamaged)
        FWritable = false;
    return true;
}

void TPxTable::ReadBlockImage(int block, std::vector<uint8_t>& image) const
{
    const int blockSize = FHeader.BlockSize();
    image.assign(blockSize, 0);
    int64_t offset = FHeader.HeaderSize() + int64_t(block - 1) * blockSize;
    if (offset < FFileSize)
        FData.ReadAt(offset, image.data(), static_cast<size_t>(std::min<int64_t>(blockSize, FFileSize - offset)));
    if (FKey)
        DecryptBlock(image.data(), image.size(), FKey, block);
}

void TPxTable::WriteBlockImage(int block, const std::vector<uint8_t>& image)
{
    const int blockSize = FHeader.BlockSize();
    int64_t offset = FHeader.HeaderSize() + int64_t(block - 1) * blockSize;
    if (FKey) {
        std::vector<uint8_t> encrypted(image);
        EncryptBlock(encrypted.data(), encrypted.size(), FKey, block);
        FData.WriteAt(offset, encrypted.data(), encrypted.size());
    } else {
        FData.WriteAt(offset, image.data(), image.size());
    }
}

void TPxTable::WriteHeader(const std::vector<uint8_t>& header)
{
    FData.WriteAt(0, header.data(), header.size());
}

const uint8_t* TPxTable::RecordInBlock(int block, int slot)
{
    if (FCachedBlock != block) {
        ReadBlockImage(block, FCache);
        FCachedBlock = block;
    }
    return FCache.data() + BlockHeader + slot * FHeader.RecordSize();
}

const uint8_t* TPxTable::RecordBytes(int64_t r)
{
    int position, slot;
    FMap.Locate(r, position, slot);
    return RecordInBlock(FMap.BlockAt(position), slot);
}

void TPxTable::ReadRecord(int64_t r, TEngineRecord& values)
{
    FCodec->Decode(RecordBytes(r), values);
}

TEngineRecord TPxTable::BlankRecord() const
{
    TEngineRecord values(FHeader.Fields.size(), TVariant::Null());
    if (!FDefaultRecord.empty())
        FCodec->Decode(FDefaultRecord.data(), values);
    return values;
}

void TPxTable::BlockAndSlotOf(int64_t r, int& block, int& slot) const
{
    int position;
    FMap.Locate(r, position, slot);
    block = FMap.BlockAt(position);
}

std::string TPxTable::KeyOf(const uint8_t* record) const
{
    return std::string(reinterpret_cast<const char*>(record), FHeader.KeyWidth());
}

std::string TPxTable::FirstKeyOf(int block)
{
    EnsureFirstKeys();
    return FFirstKeys[block];
}

void TPxTable::EnsureFirstKeys()
{
    if (FFirstKeysLoaded)
        return;
    FFirstKeys.assign(static_cast<size_t>(FHeader.FileBlocks()) + 1, std::string());
    const int keyWidth = FHeader.KeyWidth();
    size_t want = FKey ? (BlockHeader + keyWidth + Piece - 1) / Piece * Piece : BlockHeader + keyWidth;
    std::vector<uint8_t> head(want);
    for (int i = 0; i < FMap.BlockCount(); ++i) {
        if (FMap.CountAt(i) == 0)
            continue;
        int block = FMap.BlockAt(i);
        std::fill(head.begin(), head.end(), 0);
        int64_t offset = FHeader.HeaderSize() + int64_t(block - 1) * FHeader.BlockSize();
        FData.ReadAt(offset, head.data(), static_cast<size_t>(std::min<int64_t>(want, FFileSize - offset)));
        if (FKey)
            DecryptBlock(head.data(), head.size(), FKey, block);
        FFirstKeys[block].assign(reinterpret_cast<const char*>(head.data() + BlockHeader), keyWidth);
    }
    FFirstKeysLoaded = true;
}

std::string TPxTable::LabelAt(int block, int slot) const
{
    const TPxBlockLabels& labels = FLabels[block];
    if (labels.Explicit)
        return labels.Labels[slot];
    return EncodeLabel(labels.Base + static_cast<uint64_t>(slot));
}

void TPxTable::SearchKey(const std::string& key, int& position, int& slot, bool& found)
{
    found = false;
    position = 0;
    slot = 0;
    int n = FMap.BlockCount();
    if (RecordCount() == 0)
        return;
    int lo = 0, hi = n - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (FMap.CountAt(mid) > 0 && FirstKeyOf(FMap.BlockAt(mid)) <= key)
            lo = mid;
        else
            hi = mid - 1;
    }
    position = lo;
    int block = FMap.BlockAt(lo);
    int a = 0, b = FMap.CountAt(lo);
    const size_t width = key.size();
    while (a < b) {
        int mid = (a + b) / 2;
        if (std::memcmp(RecordInBlock(block, mid), key.data(), width) < 0)
            a = mid + 1;
        else
            b = mid;
    }
    slot = a;
    found = a < FMap.CountAt(lo) && std::memcmp(RecordInBlock(block, a), key.data(), width) == 0;
}

void TPxTable::SearchLabel(const std::string& label, int& position, int& slot, bool& found)
{
    found = false;
    position = 0;
    slot = 0;
    if (RecordCount() == 0)
        return;
    int lo = 0, hi = FMap.BlockCount() - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (FMap.CountAt(mid) > 0 && LabelAt(FMap.BlockAt(mid), 0) <= label)
            lo = mid;
        else
            hi = mid - 1;
    }
    position = lo;
    int block = FMap.BlockAt(lo);
    int a = 0, b = FMap.CountAt(lo);
    while (a < b) {
        int mid = (a + b) / 2;
        if (LabelAt(block, mid) < label)
            a = mid + 1;
        else
            b = mid;
    }
    slot = a;
    found = a < FMap.CountAt(lo) && LabelAt(block, a) == label;
}

std::string TPxTable::BookmarkOf(int64_t r)
{
    if (FKeyBookmarks)
        return KeyOf(RecordBytes(r));
    int block, slot;
    BlockAndSlotOf(r, block, slot);
    return LabelAt(block, slot);
}

int64_t TPxTable::FindBookmark(const std::string& bookmark)
{
    int position, slot;
    bool found;
    if (FKeyBookmarks) {
        if (bookmark.size() != static_cast<size_t>(FHeader.KeyWidth()))
            return -1;
        SearchKey(bookmark, position, slot, found);
    } else {
        SearchLabel(bookmark, position, slot, found);
    }
    return found ? FMap.FirstRecordAt(position) + slot : -1;
}

} // namespace px
