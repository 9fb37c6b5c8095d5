#include "data/engine/paradox/PxHeader.h"

#include "data/engine/EngineStatus.h"

#include <ctime>

namespace px {

namespace {

[[noreturn]] void Corrupt(const std::string& fileName, const std::string& what)
{
    RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + fileName, what});
}

std::string ReadCString(const std::vector<uint8_t>& raw, size_t& pos, size_t end)
{
    std::string s;
    while (pos < end && raw[pos] != 0)
        s += static_cast<char>(raw[pos++]);
    if (pos < end)
        ++pos;
    return s;
}

} // namespace

bool TPxField::IsKnownType() const { return PxFieldWidth(Type, Size) > 0 || (IsBlob() && Width >= BlobTail); }

int PxFieldWidth(uint8_t type, int size)
{
    switch (type) {
    case ftAlpha: case ftBytes: return size;
    case ftDate: case ftLong: case ftTime: case ftAutoIncrement: return 4;
    case ftShort: return 2;
    case ftMoney: case ftNumber: case ftTimestamp: return 8;
    case ftLogical: return 1;
    case ftBcd: return 17;
    case ftMemoBlob: case ftBinaryBlob: case ftFmtMemoBlob: case ftOleBlob: case ftGraphicBlob: return size;
    default: return 0;
    }
}

const char* PxTypeLetter(uint8_t type)
{
    switch (type) {
    case ftAlpha: return "A"; case ftDate: return "D"; case ftShort: return "S"; case ftLong: return "I";
    case ftMoney: return "$"; case ftNumber: return "N"; case ftLogical: return "L"; case ftMemoBlob: return "M";
    case ftBinaryBlob: return "B"; case ftFmtMemoBlob: return "F"; case ftOleBlob: return "O";
    case ftGraphicBlob: return "G"; case ftTime: return "T"; case ftTimestamp: return "@";
    case ftAutoIncrement: return "+"; case ftBcd: return "#"; case ftBytes: return "Y";
    default: return "?";
    }
}

uint8_t PxStamp(uint8_t counter, uint8_t sortOrder)
{
    unsigned k = sortOrder == 0 ? 0 : sortOrder + 2u;
    unsigned t = counter + k;
    return static_cast<uint8_t>((t & 0xFF) + (t >> 8));
}

TPxHeader TPxHeader::Parse(std::vector<uint8_t> raw, const std::string& fileName)
{
    TPxHeader h;
    h.Raw = std::move(raw);
    const auto& r = h.Raw;
    if (r.size() < 0x58)
        Corrupt(fileName, "The file is shorter than a table header.");
    if (h.FileType() != FileKeyed && h.FileType() != FileNonKeyed)
        RaiseEngineError(DBIERR_UNKNOWNTBLTYPE, {"File: " + fileName, "The file is not a Paradox table (file type " +
                                                 std::to_string(h.FileType()) + ")."});
    if (r[hBlockSizeCode] < 1 || r[hBlockSizeCode] > 32)
        Corrupt(fileName, "Block size code " + std::to_string(r[hBlockSizeCode]) + " is not valid.");
    if (h.Version() < 3)
        RaiseEngineError(DBIERR_UNSUPPORTEDFORMAT, {"File: " + fileName, "Version " + std::to_string(h.Version()) + " is not supported."});
    int numFields = Le16(&r[hNumFields]);
    if (h.RecordSize() <= 0 || numFields < 1 || numFields > 255)
        Corrupt(fileName, "Record size or field count is not valid.");
    size_t headerSize = h.HeaderSize();
    if (headerSize < 0x58 || headerSize > r.size())
        Corrupt(fileName, "Header size " + std::to_string(headerSize) + " is not valid.");
    size_t pos = h.HasExtension() ? 0x78 : 0x58;
    if (pos + 2 * numFields > headerSize)
        Corrupt(fileName, "The field descriptors do not fit in the header.");
    int offset = 0;
    for (int i = 0; i < numFields; ++i) {
        TPxField f;
        f.Type = r[pos + 2 * i];
        f.Size = r[pos + 2 * i + 1];
        f.Width = f.Type == ftBcd ? 17 : f.Size;
        if (f.Width <= 0)
            Corrupt(fileName, "Field " + std::to_string(i + 1) + " has width 0.");
        const int typeWidth = PxFieldWidth(f.Type, f.Size);
        if (typeWidth > 0 && typeWidth != f.Width)
            Corrupt(fileName, "Field " + std::to_string(i + 1) + " of type " + PxTypeLetter(f.Type) + " is " +
                                  std::to_string(f.Width) + " bytes wide; the type takes " + std::to_string(typeWidth) + ".");
        if (f.Type == ftBcd && f.Size > 32)
            Corrupt(fileName, "Field " + std::to_string(i + 1) + " is a BCD field with " + std::to_string(f.Size) +
                                  " decimals; it holds at most 32 digits.");
        if (f.IsBlob() && f.Width < BlobTail)
            Corrupt(fileName, "Field " + std::to_string(i + 1) + " is a memo or blob field of " +
                                  std::to_string(f.Width) + " bytes; such a field takes at least " +
                                  std::to_string(BlobTail) + ".");
        f.Offset = offset;
        offset += f.Width;
        h.Fields.push_back(f);
    }
    if (offset != h.RecordSize())
        Corrupt(fileName, "The fields take " + std::to_string(offset) + " bytes but the record size is " +
                              std::to_string(h.RecordSize()) + ".");
    if (h.KeyFields() > numFields)
        Corrupt(fileName, "More key fields than fields.");
    pos += 2 * numFields + 4 + 4 * numFields;
    pos += h.Version() >= 0x0C ? 261 : 79;
    for (auto& f : h.Fields)
        f.Name = ReadCString(r, pos, headerSize);
    if (h.HasExtension()) {
        size_t sortName = 0x58 + Le16(&r[hSortNameOffset]);
        if (Le16(&r[hSortNameOffset]) != 0 && sortName < headerSize)
            h.SortOrderName = ReadCString(r, sortName, headerSize);
    }
    if (h.BlockSize() < 6 + h.RecordSize())
        Corrupt(fileName, "A record does not fit in a block.");
    return h;
}

uint32_t TPxHeader::EncryptionKey() const
{
    if (HasExtension() && Le32(&Raw[hEncryption1]) == 0xFF00FF00u)
        return Le32(&Raw[hEncryption2]);
    if (HasExtension())
        return Le32(&Raw[hEncryption2]) ? Le32(&Raw[hEncryption2]) : Le32(&Raw[hEncryption1]);
    return Le32(&Raw[hEncryption1]);
}

int TPxHeader::KeyWidth() const
{
    int w = 0;
    for (int i = 0; i < KeyFields() && i < static_cast<int>(Fields.size()); ++i)
        w += Fields[i].Width;
    return w;
}

bool TPxHeader::KeyOrderIsBinary() const
{
    bool alphaKey = false;
    for (int i = 0; i < KeyFields(); ++i)
        alphaKey = alphaKey || Fields[i].Type == ftAlpha;
    if (!alphaKey)
        return true;
    if (!HasExtension() || SortOrderName.empty())
        return SortOrder() == 0;
    return SortOrderName == "ascii" || SortOrderName == "DBWINUS0";
}

void TPxHeader::SetBlocks(int used, int total, int first, int last, int firstFree)
{
    PutLe16(&Raw[hUsedBlocks], static_cast<uint16_t>(used));
    PutLe16(&Raw[hFileBlocks], static_cast<uint16_t>(total));
    PutLe16(&Raw[hMaxBlocks], static_cast<uint16_t>(total));
    PutLe16(&Raw[hFirstBlock], static_cast<uint16_t>(first));
    PutLe16(&Raw[hLastBlock], static_cast<uint16_t>(last));
    PutLe16(&Raw[hFirstFree], static_cast<uint16_t>(firstFree));
}

void TPxHeader::StampChange()
{
    Raw[hChangeCount] = static_cast<uint8_t>(Raw[hChangeCount] + 1);
    if (!HasExtension())
        return;
    std::time_t now = std::time(nullptr);
    if (Version() >= 0x0A) {
        PutLe32(&Raw[hUpdateTime], static_cast<uint32_t>(now));
    } else {
        std::tm t{};
        localtime_r(&now, &t);
        uint32_t date = ((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday;
        uint32_t time = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2);
        PutLe32(&Raw[hUpdateTime], (date << 16) | time);
    }
}

} // namespace px
