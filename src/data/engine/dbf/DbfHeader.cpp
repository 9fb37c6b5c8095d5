#include "data/engine/dbf/DbfHeader.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/CodePage.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <strings.h>

namespace {

[[noreturn]] void NotATable(const std::string& path, const std::string& why)
{
    RaiseEngineError(DBIERR_HEADERCORRUPT, {"File: " + path, why});
}

struct TVersionInfo {
    bool Known = true;
    TDbfDialect Dialect = TDbfDialect::DBase3;
    TDbfMemoKind Memo = TDbfMemoKind::None;
};

TVersionInfo ClassifyVersion(uint8_t v)
{
    TVersionInfo info;
    if ((v & 0x07) == 4) {
        info.Dialect = TDbfDialect::DBase7;
        info.Memo = (v & 0x80) ? TDbfMemoKind::Dbt4 : TDbfMemoKind::None;
        return info;
    }
    switch (v) {
    case 0x30: case 0x31: case 0x32:
        info.Dialect = TDbfDialect::VisualFoxPro;
        info.Memo = TDbfMemoKind::Fpt;
        return info;
    case 0xF5: case 0xFB:
        info.Dialect = TDbfDialect::FoxPro2;
        info.Memo = TDbfMemoKind::Fpt;
        return info;
    case 0x8B: case 0xCB: case 0x8E: case 0x7B:
        info.Dialect = TDbfDialect::DBase4;
        info.Memo = TDbfMemoKind::Dbt4;
        return info;
    case 0x83: case 0x87: case 0xB3:
        info.Memo = TDbfMemoKind::Dbt3;
        return info;
    case 0x02: case 0x03: case 0x05: case 0x07: case 0x43: case 0x63:
        return info;
    default:
        info.Known = false;
        return info;
    }
}

struct TLanguageDriver {
    uint8_t Id;
    int CodePage;
};

// Byte 29 of the header; 0x00 and 0x57 ("the writer's ANSI page") are not
// listed and read as the product's default.
constexpr TLanguageDriver LanguageDrivers[] = {
    {0x01, 437}, {0x02, 850}, {0x03, 1252}, {0x04, 10000}, {0x08, 865}, {0x09, 437}, {0x0A, 850},
    {0x0B, 437}, {0x0D, 437}, {0x0E, 850}, {0x0F, 437}, {0x10, 850}, {0x11, 437}, {0x12, 850},
    {0x13, 932}, {0x14, 850}, {0x15, 437}, {0x16, 850}, {0x17, 865}, {0x18, 437}, {0x19, 437},
    {0x1A, 850}, {0x1B, 437}, {0x1C, 863}, {0x1D, 850}, {0x1F, 852}, {0x20, 867}, {0x22, 852},
    {0x23, 852}, {0x24, 860}, {0x25, 850}, {0x26, 866}, {0x37, 850}, {0x40, 852}, {0x4D, 936},
    {0x4E, 949}, {0x4F, 950}, {0x50, 874}, {0x56, 932}, {0x58, 1252}, {0x59, 1252}, {0x5E, 437},
    {0x5F, 437}, {0x60, 850}, {0x61, 1252}, {0x62, 1252}, {0x64, 852}, {0x65, 866}, {0x66, 865},
    {0x67, 861}, {0x68, 895}, {0x69, 620}, {0x6A, 737}, {0x6B, 857}, {0x6C, 863}, {0x78, 950},
    {0x79, 949}, {0x7A, 936}, {0x7B, 932}, {0x7C, 874}, {0x7D, 1255}, {0x7E, 1256}, {0x85, 862},
    {0x86, 737}, {0x87, 852}, {0x88, 857}, {0x8E, 868}, {0x96, 10007}, {0x97, 10029}, {0x98, 10006},
    {0x9B, 1250}, {0x9C, 850}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254}, {0xCB, 1253}, {0xCC, 1257},
    {0xF0, 65001}};

constexpr int DefaultCodePage = 936;

bool IsVfpType(char type) { return std::strchr("VQ", type) != nullptr; }

TFieldType TypeOf(const TDbfField& f, TDbfDialect dialect, bool& memo, bool& known)
{
    memo = false;
    known = true;
    bool fox = dialect == TDbfDialect::FoxPro2 || dialect == TDbfDialect::VisualFoxPro;
    switch (f.Type) {
    case 'C': return f.Binary ? ftBytes : ftString;
    case 'V': return f.Binary ? ftVarBytes : ftString;
    case 'Q': return ftVarBytes;
    case 'N': case 'F':
        if (f.Decimals > 0) return ftFloat;
        if (f.Length <= 4) return ftSmallint;
        if (f.Length <= 9) return ftInteger;
        if (f.Length <= 18) return ftLargeint;
        return ftFloat;
    case 'L': return ftBoolean;
    case 'D': return ftDate;
    case 'T': case '@': return ftDateTime;
    case 'I': return (f.Flags & 0x0C) == 0x0C ? ftAutoInc : ftInteger;
    case '+': return ftAutoInc;
    case 'Y': return ftCurrency;
    case 'O': return ftFloat;
    case 'B':
        if (fox || f.Length == 8) return ftFloat;
        memo = true;
        return ftBlob;
    case 'M': memo = true; return f.Binary ? ftBlob : ftMemo;
    case 'G': memo = true; return fox ? ftBlob : ftDBaseOle;
    case 'P': memo = true; return ftGraphic;
    case 'W': memo = true; return ftBlob;
    default:
        known = false;
        return ftBytes;
    }
}

std::string FieldNameFrom(const uint8_t* bytes, size_t max, const TCodePage& codePage)
{
    size_t n = 0;
    while (n < max && bytes[n] != 0)
        ++n;
    while (n > 0 && bytes[n - 1] == ' ')
        --n;
    return codePage.ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes), n));
}

void MakeNamesUnique(std::vector<TDbfField>& fields)
{
    std::set<std::string> seen;
    auto upper = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    for (TDbfField& f : fields) {
        if (f.Name.empty())
            f.Name = "FIELD";
        std::string name = f.Name;
        for (int n = 2; seen.count(upper(name)); ++n)
            name = f.Name + "_" + std::to_string(n);
        f.Name = name;
        seen.insert(upper(name));
    }
}

} // namespace

int DbfCodePageFromLanguageDriver(uint8_t languageDriver)
{
    for (const TLanguageDriver& ld : LanguageDrivers)
        if (ld.Id == languageDriver)
            return ld.CodePage;
    return DefaultCodePage;
}

namespace {

int CodePageInDriverName(const std::string& name)
{
    // "DB" or "FOX" + code page ("WIN" = the ANSI page) + locale letters.
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    size_t at = std::string::npos;
    if (upper.rfind("DB", 0) == 0)
        at = 2;
    else if (upper.rfind("FOX", 0) == 0)
        at = upper.size() >= 3 ? upper.size() - 3 : std::string::npos;
    if (at == std::string::npos || at + 3 > upper.size())
        return 0;
    std::string code = upper.substr(at, 3);
    if (std::all_of(code.begin(), code.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::stoi(code);
    return 0;
}

} // namespace

bool DbfLanguageDriverKnown(uint8_t languageDriver)
{
    for (const TLanguageDriver& ld : LanguageDrivers)
        if (ld.Id == languageDriver)
            return true;
    return false;
}

bool DbfDriverNameKnown(const std::string& name)
{
    return CodePageInDriverName(name) != 0;
}

int DbfCodePageFromDriverName(const std::string& name)
{
    int codePage = CodePageInDriverName(name);
    return codePage ? codePage : DefaultCodePage;
}

uint8_t DbfLanguageDriverForCodePage(int codePage, bool foxPro)
{
    if (codePage == 0 || codePage == 936)
        return foxPro ? 0x7A : 0x4D;
    static constexpr TLanguageDriver preferred[] = {
        {0x01, 437}, {0x02, 850}, {0x03, 1252}, {0x64, 852}, {0x65, 866}, {0xC8, 1250}, {0xC9, 1251},
        {0x78, 950}, {0x79, 949}, {0x7B, 932}, {0x7C, 874}, {0xCA, 1254}, {0xCB, 1253}, {0xCC, 1257},
        {0x7D, 1255}, {0x7E, 1256}, {0xF0, 65001}};
    for (const TLanguageDriver& ld : preferred)
        if (ld.CodePage == codePage)
            return ld.Id;
    for (const TLanguageDriver& ld : LanguageDrivers)
        if (ld.CodePage == codePage)
            return ld.Id;
    RaiseEngineError(DBIERR_INVALIDPARAM, {"Code page " + std::to_string(codePage) + " has no dBASE language driver."});
}

uint32_t DbfHeaderLength(const uint8_t* prefix, uint64_t fileSize, const std::string& path)
{
    if (fileSize < DbfPrefixSize + 1)
        NotATable(path, "The file is too short to be a dBASE table.");
    uint8_t version = prefix[0];
    if (version == 0x06 || version == 0x86 || version == 0xE6 || version == 0xF6)
        RaiseEngineError(DBIERR_UNSUPPORTEDFORMAT, {"File: " + path, "The table is encrypted."});
    uint32_t headerLength = Le16(prefix + 8);
    uint32_t recordLength = Le16(prefix + 10);
    if (headerLength < DbfPrefixSize + 1 || recordLength < 1)
        NotATable(path, "The file is not a dBASE table (its header lengths are impossible).");
    if (headerLength > fileSize)
        NotATable(path, "The header is longer than the file.");
    // The last-update date is informational: careless writers leave any
    // bytes there, so it decides nothing.
    return headerLength;
}

uint32_t DbfAvailableRecords(const TDbfHeader& header, uint64_t fileSize)
{
    if (fileSize <= header.HeaderLength || header.RecordLength == 0)
        return 0;
    uint64_t avail = (fileSize - header.HeaderLength) / header.RecordLength;
    return static_cast<uint32_t>(std::min<uint64_t>(avail, UINT32_MAX));
}

TDbfHeader ParseDbfHeader(const std::vector<uint8_t>& bytes, uint64_t fileSize, const std::string& path, int codePage)
{
    const uint8_t* p = bytes.data();
    TDbfHeader h;
    h.Version = p[0];
    h.RecordCount = Le32(p + 4);
    h.HeaderLength = static_cast<uint32_t>(bytes.size());
    h.RecordLength = Le16(p + 10);
    h.TableFlags = p[28];
    h.LanguageDriver = p[29];
    h.Encrypted = p[15] != 0;
    TVersionInfo version = ClassifyVersion(h.Version);
    h.Dialect = version.Dialect;
    h.MemoKind = version.Memo;
    if (!version.Known)
        h.ReadOnlyReasons.push_back("The table's version byte is not one the engine knows.");
    if (h.Encrypted)
        RaiseEngineError(DBIERR_UNSUPPORTEDFORMAT, {"File: " + path, "The table is encrypted."});
    if (p[14] != 0)
        h.Notes.push_back("A transaction on this table was interrupted.");

    bool level7 = h.Dialect == TDbfDialect::DBase7;
    size_t first = level7 ? 68 : 32;
    size_t size = level7 ? 48 : 32;
    if (level7) {
        if (bytes.size() < 68)
            NotATable(path, "The dBASE 7 header is too short.");
        h.LanguageDriverName = std::string(reinterpret_cast<const char*>(p + 32), strnlen(reinterpret_cast<const char*>(p + 32), 32));
        h.CodePage = h.LanguageDriver ? DbfCodePageFromLanguageDriver(h.LanguageDriver)
                                      : DbfCodePageFromDriverName(h.LanguageDriverName);
        h.CodePageMarked = h.LanguageDriver ? DbfLanguageDriverKnown(h.LanguageDriver)
                                            : DbfDriverNameKnown(h.LanguageDriverName);
    } else {
        h.CodePage = DbfCodePageFromLanguageDriver(h.LanguageDriver);
        h.CodePageMarked = DbfLanguageDriverKnown(h.LanguageDriver);
    }
    if (codePage != 0)
        h.CodePage = codePage;
    // dBASE: a production .mdx; FoxPro: a structural .cdx.
    h.ProductionIndexFlag = (h.TableFlags & 0x01) != 0;

    TCodePage names(h.CodePage);
    bool vfp = h.Dialect == TDbfDialect::VisualFoxPro;
    size_t pos = first;
    bool terminated = false;
    while (pos < bytes.size()) {
        if (p[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + size > bytes.size())
            break;
        const uint8_t* d = p + pos;
        TDbfField f;
        f.DescriptorPos = static_cast<uint32_t>(pos);
        if (level7) {
            f.Name = FieldNameFrom(d, 32, names);
            f.Type = static_cast<char>(d[32]);
            f.Length = d[33];
            f.Decimals = d[34];
        } else {
            f.Name = FieldNameFrom(d, 11, names);
            f.Type = static_cast<char>(d[11]);
            f.Length = d[16];
            f.Decimals = d[17];
            if (vfp)
                f.Flags = d[18];
        }
        if (static_cast<uint8_t>(f.Type) == 0x91)
            f.Type = 'C';
        f.Type = static_cast<char>(std::toupper(static_cast<unsigned char>(f.Type)));
        h.Fields.push_back(std::move(f));
        pos += size;
        if (h.Fields.size() > 2048)
            NotATable(path, "The header lists more fields than any dBASE table has.");
    }
    if (!terminated)
        h.ReadOnlyReasons.push_back("The field list is not terminated.");
    if (h.Fields.empty())
        h.ReadOnlyReasons.push_back("The table has no fields.");

    // Field widths: the plain reading, or the long-character reading
    // (decimals as the high byte of a C width) when only that fits.
    auto widthSum = [&](bool longChar) {
        uint64_t sum = 1;
        for (const TDbfField& f : h.Fields)
            sum += (longChar && f.Type == 'C') ? f.Length + 256 * f.Decimals : f.Length;
        return sum;
    };
    uint64_t sum = widthSum(false);
    if (!terminated && sum != h.RecordLength && widthSum(true) != h.RecordLength)
        NotATable(path, "The header ends inside the field descriptors.");
    if (sum != h.RecordLength && widthSum(true) == h.RecordLength) {
        for (TDbfField& f : h.Fields)
            if (f.Type == 'C') {
                f.Length += 256 * f.Decimals;
                f.Decimals = 0;
            }
        sum = h.RecordLength;
    }
    if (sum > h.RecordLength) {
        // Some writers under-state the record length; the data then sits in
        // records as wide as the fields.  Accept that only when the file agrees.
        uint64_t needed = static_cast<uint64_t>(h.HeaderLength) + h.RecordCount * sum;
        if (sum > 0xFFFF || needed > fileSize)
            NotATable(path, "The fields do not fit in the record length the header gives.");
        h.RecordLength = static_cast<uint32_t>(sum);
        h.ReadOnlyReasons.push_back("The header's record length is smaller than its fields.");
    } else if (sum < h.RecordLength) {
        h.Notes.push_back("The record has bytes no field describes.");
    }

    // A Visual FoxPro header whose length leaves out the backlink area.
    if (vfp && !h.Fields.empty()) {
        uint64_t descriptorsEnd = 32 + 32 * h.Fields.size() + 1;
        uint64_t withBacklink = descriptorsEnd + 263;
        auto fits = [&](uint64_t headerLength) {
            uint64_t data = headerLength + static_cast<uint64_t>(h.RecordCount) * h.RecordLength;
            return data == fileSize || data + 1 == fileSize;
        };
        if (h.HeaderLength == descriptorsEnd && !fits(h.HeaderLength) && fits(withBacklink)) {
            h.HeaderLength = static_cast<uint32_t>(withBacklink);
            h.ReadOnlyReasons.push_back("The header length leaves out the Visual FoxPro backlink.");
        }
    }

    int offset = 1;
    int nullBit = 0;
    for (size_t i = 0; i < h.Fields.size(); ++i) {
        TDbfField& f = h.Fields[i];
        f.Offset = offset;
        offset += f.Length;
        if (vfp) {
            f.Binary = (f.Flags & 0x04) != 0 || f.Type == 'Q';
            if (f.Type == '0') {
                f.Hidden = true;
                if (h.NullFlagsField < 0)
                    h.NullFlagsField = static_cast<int>(i);
                continue;
            }
            if (IsVfpType(f.Type))
                f.VarLengthBit = nullBit++;
            if (f.Flags & 0x02)
                f.NullBit = nullBit++;
        }
        if (f.Type == '0' || strcasecmp(f.Name.c_str(), "_NullFlags") == 0 ||
            (f.Type == 'C' && strcasecmp(f.Name.c_str(), "_DBASELOCK") == 0))
            f.Hidden = true;
        bool memo = false, known = true;
        f.DataType = TypeOf(f, h.Dialect, memo, known);
        f.Memo = memo;
        f.Known = known;
        if (f.Memo) {
            h.HasMemoFields = true;
            if (f.Length != 4 && f.Length != 10)
                f.Known = false;
        }
        if (!f.Known)
            h.ReadOnlyReasons.push_back("Field " + f.Name + " has a type the engine does not know.");
    }
    if (vfp && h.NullFlagsField >= 0 && nullBit > h.Fields[h.NullFlagsField].Length * 8)
        NotATable(path, "The null-flags field is too short for the nullable fields.");
    if (vfp && h.NullFlagsField < 0 && nullBit > 0) {
        h.ReadOnlyReasons.push_back("Nullable fields without a null-flags field.");
        for (TDbfField& f : h.Fields)
            f.NullBit = f.VarLengthBit = -1;
    }
    if (!version.Known) {
        // An unknown version byte is accepted only when the rest of the
        // header reads as a clean dBASE header.
        bool clean = terminated && !h.Fields.empty() && widthSum(false) == h.RecordLength;
        for (const TDbfField& f : h.Fields)
            clean = clean && f.Known;
        if (!clean)
            NotATable(path, "The file is not a dBASE table.");
    }
    MakeNamesUnique(h.Fields);
    return h;
}

bool DbfIsLevel2Header(const std::vector<uint8_t>& start, uint64_t fileSize)
{
    if (start.empty() || start[0] != 0x02 || fileSize < DbfLevel2HeaderSize || start.size() < DbfLevel2HeaderSize)
        return false;
    // Read as a dBASE III header first: a terminator where its descriptors
    // end (or just before the data) makes it one.
    size_t headerLength = Le16(start.data() + 8);
    if (headerLength >= DbfPrefixSize + 1 && headerLength <= start.size()) {
        for (size_t pos = DbfPrefixSize; pos < headerLength; pos += 32)
            if (start[pos] == 0x0D)
                return false;
        if (start[headerLength - 1] == 0x0D)
            return false;
    }
    return true;
}

TDbfHeader ParseDbfLevel2Header(const std::vector<uint8_t>& bytes, uint64_t fileSize, const std::string& path)
{
    if (bytes.size() < DbfLevel2HeaderSize)
        NotATable(path, "The dBASE II header is too short.");
    const uint8_t* p = bytes.data();
    TDbfHeader h;
    h.Version = p[0];
    h.Level2 = true;
    h.RecordCount = Le16(p + 1);
    h.RecordLength = Le16(p + 6);
    h.HeaderLength = DbfLevel2HeaderSize;
    h.CodePage = DefaultCodePage;
    h.ReadOnlyReasons.push_back("dBASE II tables are opened read-only.");
    TCodePage codePage(h.CodePage);
    int offset = 1;
    for (size_t i = 0; i < 32; ++i) {
        const uint8_t* d = p + 8 + 16 * i;
        if (d[0] == 0x0D || d[0] == 0x00)
            break;
        TDbfField f;
        f.DescriptorPos = static_cast<uint32_t>(8 + 16 * i);
        f.Name = FieldNameFrom(d, 11, codePage);
        f.Type = static_cast<char>(std::toupper(d[11]));
        f.Length = d[12];
        f.Decimals = d[15];
        f.Offset = offset;
        offset += f.Length;
        bool memo = false, known = true;
        f.DataType = TypeOf(f, h.Dialect, memo, known);
        f.Known = known && !memo;
        h.Fields.push_back(std::move(f));
    }
    if (h.Fields.empty() || h.RecordLength < 1 || static_cast<uint32_t>(offset) > h.RecordLength)
        NotATable(path, "The file is not a dBASE table.");
    (void)fileSize;
    MakeNamesUnique(h.Fields);
    return h;
}
