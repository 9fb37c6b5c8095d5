#include "data/engine/paradox/PxCreate.h"

#include "data/engine/CodePage.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/PxBlobFile.h"
#include "data/engine/paradox/PxCompanions.h"
#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxFile.h"
#include "data/engine/paradox/PxPrimaryIndex.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <strings.h>

namespace px {

namespace {

struct TLevel {
    uint8_t VersionId;
    int Rank;   // 3, 4, 5 or 7
};

TLevel ParseLevel(const std::string& level)
{
    if (level.empty() || level == "7" || level == "7.0") return {0x0C, 7};
    if (level == "5" || level == "5.0") return {0x0B, 5};
    if (level == "4" || level == "4.0") return {0x09, 4};
    if (level == "3.5") return {0x04, 3};
    if (level == "3" || level == "3.0") return {0x03, 3};
    RaiseEngineError(DBIERR_INVALIDPARAM, {"Table level \"" + level + "\" is not one of 3, 3.5, 4, 5, 7."});
}

int MinimumLevel(uint8_t type)
{
    switch (type) {
    case ftAlpha: case ftDate: case ftShort: case ftMoney: case ftNumber: return 3;
    case ftMemoBlob: case ftBinaryBlob: case ftFmtMemoBlob: case ftOleBlob: case ftGraphicBlob: return 4;
    default: return 5;
    }
}

[[noreturn]] void RefuseField(const TEngineFieldDef& field, const std::string& why)
{
    RaiseEngineError(DBIERR_INVALIDPARAM, {"Field: " + field.Name, why});
}

int DescriptorSize(const TEngineFieldDef& field, uint8_t type)
{
    switch (type) {
    case ftAlpha: case ftBytes:
        if (field.Size < 1 || field.Size > 255)
            RefuseField(field, "The size must be 1 to 255.");
        return field.Size;
    case ftBcd:
        if (field.Scale < 0 || field.Scale > 32)
            RefuseField(field, "The number of decimals must be 0 to 32.");
        return field.Scale;
    case ftMemoBlob: case ftBinaryBlob: case ftFmtMemoBlob: case ftOleBlob: case ftGraphicBlob: {
        int leader = field.Size > 0 ? field.Size : (type == ftMemoBlob || type == ftFmtMemoBlob ? 10 : 0);
        if (leader > 240 || (type == ftMemoBlob && leader < 1))
            RefuseField(field, "The blob leader must be 1 to 240 bytes (0 to 240 for binary types).");
        return leader + 10;
    }
    default: return PxFieldWidth(type, 0);
    }
}

void RemoveStaleCompanions(const std::string& path)
{
    TPxCompanions old = TPxCompanions::Find(path);
    for (const std::string& file : {old.Blob, old.PrimaryIndex, old.Validity})
        if (!file.empty())
            std::remove(file.c_str());
    for (const std::string& file : old.SecondaryIndexes)
        std::remove(file.c_str());
}

} // namespace

uint8_t PxTypeForField(const TEngineFieldDef& field)
{
    static const char* letters = "ADSI$NLMBFOGT@+#Y";
    static const uint8_t codes[] = {ftAlpha, ftDate, ftShort, ftLong, ftMoney, ftNumber, ftLogical, ftMemoBlob,
                                    ftBinaryBlob, ftFmtMemoBlob, ftOleBlob, ftGraphicBlob, ftTime, ftTimestamp,
                                    ftAutoIncrement, ftBcd, ftBytes};
    if (field.NativeType.size() == 1) {
        const char* at = std::strchr(letters, field.NativeType[0]);
        if (at && *at)
            return codes[at - letters];
    }
    switch (field.DataType) {
    case ftString: case ftFixedChar: case ftWideString: return ftAlpha;
    case ::ftDate: return px::ftDate;
    case ftSmallint: case ftWord: return ftShort;
    case ftInteger: return ftLong;
    case ftAutoInc: return ftAutoIncrement;
    case ftCurrency: return ftMoney;
    case ftFloat: return ftNumber;
    case ftBCD: case ftFMTBcd: return ftBcd;
    case ftBoolean: return ftLogical;
    case ::ftTime: return px::ftTime;
    case ftDateTime: return ftTimestamp;
    case ::ftBytes: case ftVarBytes: return px::ftBytes;
    case ftMemo: return ftMemoBlob;
    case ftFmtMemo: return ftFmtMemoBlob;
    case ftBlob: case ftTypedBinary: return ftBinaryBlob;
    case ftGraphic: return ftGraphicBlob;
    case ftParadoxOle: case ftDBaseOle: return ftOleBlob;
    default: RefuseField(field, std::string("Type ") + FieldTypeName(field.DataType) + " cannot be stored in a Paradox table.");
    }
}

void CreateParadoxTable(const TCreateTableParams& params)
{
    if (params.Path.empty())
        RaiseEngineError(DBIERR_NOTABLENAME);
    const TLevel level = ParseLevel(params.Level);
    const size_t n = params.Fields.size();
    if (n < 1 || n > 255)
        RaiseEngineError(DBIERR_INVALIDPARAM, {"A table has 1 to 255 fields."});
    if (params.KeyFieldCount < 0 || params.KeyFieldCount > 16 || params.KeyFieldCount > static_cast<int>(n))
        RaiseEngineError(DBIERR_INVALIDPARAM, {"A primary key has 0 to 16 of the leading fields."});
    TCodePage codePage(params.CodePage == 0 ? 936 : params.CodePage);

    std::vector<uint8_t> types, sizes;
    std::vector<std::string> names;
    std::set<std::string> seen;
    int recordSize = 0;
    bool hasBlobs = false;
    for (size_t i = 0; i < n; ++i) {
        const TEngineFieldDef& field = params.Fields[i];
        uint8_t type = PxTypeForField(field);
        if (MinimumLevel(type) > level.Rank)
            RefuseField(field, std::string("Type ") + PxTypeLetter(type) + " needs table level " +
                                   std::to_string(MinimumLevel(type)) + ".");
        std::string name = codePage.FromUtf8(field.Name);
        if (name.empty() || name.size() > 25)
            RefuseField(field, "A field name has 1 to 25 characters.");
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!seen.insert(upper).second)
            RefuseField(field, "The field name is used twice.");
        int size = DescriptorSize(field, type);
        TPxField f;
        f.Type = type;
        f.Size = size;
        if (static_cast<int>(i) < params.KeyFieldCount && f.Type >= ftMemoBlob && f.Type <= ftGraphicBlob)
            RefuseField(field, "A blob field cannot be part of the primary key.");
        hasBlobs = hasBlobs || (type >= ftMemoBlob && type <= ftGraphicBlob);
        recordSize += type == ftBcd ? 17 : PxFieldWidth(type, size);
        types.push_back(type);
        sizes.push_back(static_cast<uint8_t>(size));
        names.push_back(name);
    }
    const bool keyed = params.KeyFieldCount > 0;
    int blockCode = 2;
    int maxCode = level.Rank >= 5 ? 32 : 4;
    int minRecords = keyed ? 3 : 1;
    while (blockCode < maxCode && (blockCode * 1024 - 6) / recordSize < minRecords)
        blockCode = blockCode < 4 ? blockCode + 1 : blockCode * 2;
    if ((blockCode * 1024 - 6) / recordSize < minRecords)
        RaiseEngineError(DBIERR_RECTOOBIG, {"The record of " + std::to_string(recordSize) + " bytes is too big for a table of level " +
                                            std::to_string(level.Rank) + "."});

    uint32_t checksum = params.Password.empty() ? 0 : PasswordChecksum(codePage.FromUtf8(params.Password));
    const bool extension = level.VersionId >= 5;
    const uint8_t sortOrder = codePage.Number() == 1252 && extension ? 0x4C : 0x00;
    const std::string sortName = sortOrder == 0x4C ? "DBWINUS0" : "ascii";

    std::vector<uint8_t> h(0x800, 0);
    size_t pos = extension ? 0x78 : 0x58;
    for (size_t i = 0; i < n; ++i) {
        h[pos++] = types[i];
        h[pos++] = sizes[i];
    }
    pos += 4 + 4 * n;
    std::string fileName = params.Path.substr(params.Path.rfind('/') + 1);
    size_t nameField = level.VersionId >= 0x0C ? 261 : 79;
    std::memcpy(&h[pos], fileName.data(), std::min(fileName.size(), nameField - 1));
    pos += nameField;
    auto grow = [&](size_t need) { while (need > h.size()) h.resize(h.size() + 0x800, 0); };
    for (const std::string& name : names) {
        grow(pos + name.size() + 1);
        std::memcpy(&h[pos], name.data(), name.size());
        pos += name.size() + 1;
    }
    size_t fieldIds = pos, sortNameAt = pos;
    if (extension) {
        grow(pos + 2 * n + sortName.size() + 1);
        for (size_t i = 0; i < n; ++i)
            PutLe16(&h[pos + 2 * i], static_cast<uint16_t>(i + 1));
        pos += 2 * n;
        sortNameAt = pos;
        std::memcpy(&h[pos], sortName.data(), sortName.size());
        pos += sortName.size() + 1;
    } else if (level.VersionId == 0x04) {
        grow(pos + 2 * n);
        pos += 2 * n;   // level 3.5: zero field ids
    }
    PutLe16(&h[hRecordSize], static_cast<uint16_t>(recordSize));
    PutLe16(&h[hHeaderSize], static_cast<uint16_t>(h.size()));
    h[hFileType] = keyed ? FileKeyed : FileNonKeyed;
    h[hBlockSizeCode] = static_cast<uint8_t>(blockCode);
    PutLe16(&h[hNumFields], static_cast<uint16_t>(n));
    PutLe16(&h[hKeyFields], static_cast<uint16_t>(params.KeyFieldCount));
    PutLe32(&h[hEncryption1], extension ? (checksum ? 0xFF00FF00u : 0) : checksum);
    h[hSortOrder] = sortOrder;
    h[hVersion] = level.VersionId;
    PutLe16(&h[0x3E], checksum ? 0 : 0x0F1F);
    if (level.VersionId >= 0x04)
        PutLe16(&h[hHeaderUsed], static_cast<uint16_t>(pos));
    if (extension) {
        h[0x56] = 0x20;
        PutLe16(&h[0x58], static_cast<uint16_t>(0x100 + level.VersionId));
        PutLe16(&h[0x5A], static_cast<uint16_t>(0x100 + level.VersionId));
        PutLe32(&h[hEncryption2], checksum);
        PutLe16(&h[0x64], static_cast<uint16_t>(n + 1));
        PutLe16(&h[0x66], static_cast<uint16_t>(fieldIds - 0x58));
        PutLe16(&h[hCodePage], static_cast<uint16_t>(codePage.Number()));
        PutLe16(&h[0x6C], 0x0101);
        PutLe16(&h[hSortNameOffset], static_cast<uint16_t>(sortNameAt - 0x58));
    }
    TPxHeader header = TPxHeader::Parse(h, params.Path);
    header.StampChange();

    RemoveStaleCompanions(params.Path);
    {
        TPxFile file;
        file.Create(params.Path);
        file.WriteAt(0, header.Raw.data(), header.Raw.size());
    }
    if (keyed)
        ReplaceFile(TPxCompanions::NewPath(params.Path, "PX"), BuildPrimaryIndex(header, {}, 2, checksum));
    if (hasBlobs) {
        TPxBlobFile blobs;
        blobs.Create(TPxCompanions::NewPath(params.Path, "MB"), checksum);
    }
}

} // namespace px
