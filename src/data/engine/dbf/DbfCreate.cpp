#include "data/engine/dbf/DbfCreate.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/CodePage.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/DbfCompanion.h"
#include "data/engine/dbf/DbfFile.h"
#include "data/engine/dbf/DbfMemo.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <unistd.h>

namespace {

struct TDialectLimits {
    size_t MaxFields;
    uint32_t MaxRecordLength;
    int MaxNumericWidth;
    int MaxDecimals;
    size_t MaxNameBytes;
    const char* Types;
};

TDialectLimits LimitsOf(TDbfDialect d)
{
    switch (d) {
    case TDbfDialect::DBase3: return {128, 4000, 19, 15, 10, "CNLDM"};
    case TDbfDialect::DBase4: return {255, 4000, 20, 18, 10, "CNFLDMBG"};
    case TDbfDialect::DBase7: return {1024, 32767, 20, 18, 31, "CNFLDMBGOI+@"};
    case TDbfDialect::FoxPro2: return {255, 65500, 20, 18, 10, "CNFLDMGP"};
    case TDbfDialect::VisualFoxPro: return {255, 65500, 20, 18, 10, "CNFLDMGPIYBTVQW"};
    }
    return {255, 4000, 20, 18, 10, "CNLDM"};
}

const char* DialectName(TDbfDialect d)
{
    switch (d) {
    case TDbfDialect::DBase3: return "dBASE III";
    case TDbfDialect::DBase4: return "dBASE IV";
    case TDbfDialect::DBase7: return "dBASE 7";
    case TDbfDialect::FoxPro2: return "FoxPro 2";
    case TDbfDialect::VisualFoxPro: return "Visual FoxPro";
    }
    return "dBASE";
}

struct TNewField {
    std::string Name;        // in the table's code page
    char Type = 'C';
    int Length = 0;
    int Decimals = 0;
    uint8_t Flags = 0;
    bool AutoInc = false;
};

[[noreturn]] void RaiseDefinition(const TEngineFieldDef& def, const std::string& why)
{
    RaiseEngineError(DBIERR_INVALIDPARAM, {"Field: " + def.Name, why});
}

bool IsMemoType(char type, TDbfDialect d)
{
    if (type == 'B')
        return d != TDbfDialect::VisualFoxPro;
    return std::strchr("MGPW", type) != nullptr;
}

// The stored type for a field type in a dialect.
char NativeTypeFor(const TEngineFieldDef& def, TDbfDialect d, uint8_t& flags)
{
    bool vfp = d == TDbfDialect::VisualFoxPro;
    bool level7 = d == TDbfDialect::DBase7;
    switch (def.DataType) {
    case ftString: case ftFixedChar: case ftWideString: return 'C';
    case ftSmallint: case ftWord: case ftLargeint: case ftBCD: case ftFMTBcd: return 'N';
    case ftInteger: return vfp || level7 ? 'I' : 'N';
    case ftAutoInc:
        if (vfp) { flags |= 0x0C; return 'I'; }
        if (level7) return '+';
        break;
    case ftFloat: return vfp ? 'B' : (level7 ? 'O' : 'N');
    case ftCurrency: return vfp ? 'Y' : 'N';
    case ftBoolean: return 'L';
    case ftDate: return 'D';
    case ftDateTime: case ftTime:
        if (vfp) return 'T';
        if (level7) return '@';
        break;
    case ftMemo: case ftFmtMemo: return 'M';
    case ftBlob:
        if (vfp) { flags |= 0x04; return 'M'; }
        if (d == TDbfDialect::FoxPro2) return 'G';
        if (d != TDbfDialect::DBase3) return 'B';
        break;
    case ftGraphic:
        if (vfp || d == TDbfDialect::FoxPro2) return 'P';
        if (d != TDbfDialect::DBase3) return 'B';
        break;
    case ftDBaseOle: case ftParadoxOle: case ftTypedBinary:
        if (d != TDbfDialect::DBase3) return 'G';
        break;
    case ftBytes:
        if (vfp) { flags |= 0x04; return 'C'; }
        break;
    case ftVarBytes:
        if (vfp) return 'Q';
        break;
    default:
        break;
    }
    RaiseDefinition(def, std::string("A ") + DialectName(d) + " table cannot store " + FieldTypeName(def.DataType) + " values.");
}

TNewField MapField(const TEngineFieldDef& def, TDbfDialect d, const TCodePage& codePage)
{
    TDialectLimits limits = LimitsOf(d);
    TNewField f;
    f.Name = codePage.FromUtf8(def.Name);
    if (f.Name.empty() || f.Name.size() > limits.MaxNameBytes || f.Name.find('\0') != std::string::npos)
        RaiseDefinition(def, "A field name has 1 to " + std::to_string(limits.MaxNameBytes) + " bytes.");
    if (!def.NativeType.empty()) {
        f.Type = static_cast<char>(std::toupper(static_cast<unsigned char>(def.NativeType[0])));
        if (f.Type == 'I' && def.DataType == ftAutoInc && d == TDbfDialect::VisualFoxPro)
            f.Flags |= 0x0C;
        if (def.DataType == ftBytes || def.DataType == ftBlob)
            f.Flags |= d == TDbfDialect::VisualFoxPro ? 0x04 : 0;
    } else {
        f.Type = NativeTypeFor(def, d, f.Flags);
    }
    if (!std::strchr(limits.Types, f.Type))
        RaiseDefinition(def, std::string("A ") + DialectName(d) + " table has no type " + f.Type + ".");
    f.AutoInc = f.Type == '+' || (f.Flags & 0x0C) == 0x0C;
    bool vfp = d == TDbfDialect::VisualFoxPro;
    switch (f.Type) {
    case 'C': case 'V': case 'Q':
        f.Length = def.Size;
        if (f.Length < 1 || f.Length > 254)
            RaiseDefinition(def, "A character field is 1 to 254 bytes wide.");
        break;
    case 'N': case 'F': {
        int defaultWidth = 20, defaultScale = 0;
        switch (def.DataType) {
        case ftSmallint: defaultWidth = 6; break;
        case ftWord: defaultWidth = 5; break;
        case ftInteger: defaultWidth = 11; break;
        case ftFloat: defaultScale = 6; break;
        case ftCurrency: case ftBCD: defaultScale = 4; break;
        default: break;
        }
        f.Length = def.Precision > 0 ? def.Precision : std::min(defaultWidth, limits.MaxNumericWidth);
        f.Decimals = def.Precision > 0 || def.Scale > 0 ? def.Scale : defaultScale;
        if (f.Length < 1 || f.Length > limits.MaxNumericWidth)
            RaiseDefinition(def, "A numeric field is 1 to " + std::to_string(limits.MaxNumericWidth) + " digits wide.");
        if (f.Decimals < 0 || f.Decimals > limits.MaxDecimals || (f.Decimals > 0 && f.Decimals > f.Length - 2))
            RaiseDefinition(def, "The field has more decimals than its width allows.");
        break;
    }
    case 'L': f.Length = 1; break;
    case 'D': f.Length = 8; break;
    case 'T': case '@': case 'O': case 'Y': f.Length = 8; break;
    case 'B':
        if (vfp) {
            f.Length = 8;
            f.Decimals = std::clamp(def.Scale, 0, 18);
        } else {
            f.Length = 10;
        }
        break;
    case 'I': case '+': f.Length = 4; break;
    case 'M': case 'G': case 'P': case 'W': f.Length = vfp ? 4 : 10; break;
    default: RaiseDefinition(def, "Unknown field type.");
    }
    if (f.Type == 'Y')
        f.Decimals = 4;
    if (vfp && !def.Required && !f.AutoInc)
        f.Flags |= 0x02;
    if (f.Type == 'Q')
        f.Flags |= 0x04;
    return f;
}

std::string Level7DriverName(int codePage)
{
    if (codePage == 1252)
        return "DBWINUS0";
    if (codePage == 936)
        return "DB936CN0";
    if (codePage >= 100 && codePage <= 999)
        return "DB" + std::to_string(codePage) + "US0";
    return "DBWINUS0";
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` only when everything was written.
class TAtomicFile {
public:
    explicit TAtomicFile(const std::string& path) : FPath(path), FTemp(path + ".tmp" + std::to_string(::getpid())) {}
    ~TAtomicFile() { if (!FCommitted) ::unlink(FTemp.c_str()); }
    const std::string& TempPath() const { return FTemp; }
    void Commit()
    {
        if (::rename(FTemp.c_str(), FPath.c_str()) != 0)
            RaiseEngineError(DBIERR_WRITEERR, {"File: " + FPath, std::strerror(errno)});
        FCommitted = true;
    }

private:
    std::string FPath;
    std::string FTemp;
    bool FCommitted = false;
};

} // namespace

TDbfDialect DbfDialectFromLevel(const std::string& level)
{
    std::string l;
    for (char c : level)
        if (c != ' ' && c != '_' && c != '.')
            l += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (l.empty() || l == "IV" || l == "4" || l == "DBASE4" || l == "DBASEIV" || l == "DBASE")
        return TDbfDialect::DBase4;
    if (l == "III" || l == "3" || l == "DBASE3" || l == "DBASEIII")
        return TDbfDialect::DBase3;
    if (l == "7" || l == "DBASE7" || l == "LEVEL7")
        return TDbfDialect::DBase7;
    if (l == "FOXPRO2" || l == "FOX2" || l == "2" || l == "FOXPRO2X" || l == "FOXBASE")
        return TDbfDialect::FoxPro2;
    if (l == "VFP" || l == "FOXPRO" || l == "VISUALFOXPRO")
        return TDbfDialect::VisualFoxPro;
    RaiseEngineError(DBIERR_INVALIDPARAM, {"Unknown dBASE table level \"" + level + "\"."});
}

void DbfCreateTable(const TCreateTableParams& params)
{
    if (params.Path.empty())
        RaiseEngineError(DBIERR_NOTABLENAME);
    if (!params.Password.empty())
        RaiseEngineError(DBIERR_NOTSUPPORTED, {"dBASE tables cannot be encrypted."});
    const TDbfDialect d = DbfDialectFromLevel(params.Level);
    const TDialectLimits limits = LimitsOf(d);
    const bool vfp = d == TDbfDialect::VisualFoxPro;
    const bool level7 = d == TDbfDialect::DBase7;
    const int codePage = params.CodePage == 0 ? 936 : params.CodePage;
    TCodePage converter(codePage);

    if (params.Fields.empty())
        RaiseEngineError(DBIERR_INVALIDPARAM, {"A table needs at least one field."});
    std::vector<TNewField> fields;
    std::set<std::string> names;
    for (const TEngineFieldDef& def : params.Fields) {
        TNewField f = MapField(def, d, converter);
        std::string upper = f.Name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!names.insert(upper).second)
            RaiseDefinition(def, "Two fields have this name.");
        fields.push_back(std::move(f));
    }
    int nullBits = 0;
    bool hasMemo = false, hasVarTypes = false, hasAutoInc = false;
    for (const TNewField& f : fields) {
        if (f.Type == 'V' || f.Type == 'Q') ++nullBits;
        if (f.Flags & 0x02) ++nullBits;
        hasMemo = hasMemo || IsMemoType(f.Type, d);
        hasVarTypes = hasVarTypes || f.Type == 'V' || f.Type == 'Q' || f.Type == 'W';
        hasAutoInc = hasAutoInc || f.AutoInc;
    }
    if (vfp && nullBits > 0) {
        TNewField flags;
        flags.Name = "_NullFlags";
        flags.Type = '0';
        flags.Length = (nullBits + 7) / 8;
        flags.Flags = 0x05;
        fields.push_back(flags);
    }
    if (fields.size() > limits.MaxFields)
        RaiseEngineError(DBIERR_INVALIDPARAM, {std::string("A ") + DialectName(d) + " table has at most " +
                                               std::to_string(limits.MaxFields) + " fields."});
    uint32_t recordLength = 1;
    for (const TNewField& f : fields)
        recordLength += static_cast<uint32_t>(f.Length);
    if (recordLength > limits.MaxRecordLength)
        RaiseEngineError(DBIERR_RECTOOBIG, {std::string("A ") + DialectName(d) + " record has at most " +
                                            std::to_string(limits.MaxRecordLength) + " bytes."});

    uint8_t version = 0x03;
    TDbfMemoKind memoKind = TDbfMemoKind::None;
    switch (d) {
    case TDbfDialect::DBase3: version = hasMemo ? 0x83 : 0x03; memoKind = TDbfMemoKind::Dbt3; break;
    case TDbfDialect::DBase4: version = hasMemo ? 0x8B : 0x03; memoKind = TDbfMemoKind::Dbt4; break;
    case TDbfDialect::DBase7: version = hasMemo ? 0x8C : 0x04; memoKind = TDbfMemoKind::Dbt4; break;
    case TDbfDialect::FoxPro2: version = hasMemo ? 0xF5 : 0x03; memoKind = TDbfMemoKind::Fpt; break;
    case TDbfDialect::VisualFoxPro:
        version = hasVarTypes ? 0x32 : (hasAutoInc ? 0x31 : 0x30);
        memoKind = TDbfMemoKind::Fpt;
        break;
    }

    const size_t descriptorSize = level7 ? 48 : 32;
    const size_t first = level7 ? 68 : 32;
    size_t headerLength = first + descriptorSize * fields.size() + 1 + (vfp ? 263 : 0);
    if (headerLength > 0xFFFF)
        RaiseEngineError(DBIERR_RECTOOBIG, {"The table's header would be too long."});
    std::vector<uint8_t> header(headerLength, 0);
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    header[0] = version;
    header[1] = static_cast<uint8_t>(d == TDbfDialect::FoxPro2 || vfp ? (local.tm_year + 1900) % 100 : local.tm_year);
    header[2] = static_cast<uint8_t>(local.tm_mon + 1);
    header[3] = static_cast<uint8_t>(local.tm_mday);
    PutLe16(header.data() + 8, static_cast<uint16_t>(headerLength));
    PutLe16(header.data() + 10, static_cast<uint16_t>(recordLength));
    if (vfp && hasMemo)
        header[28] = 0x02;
    header[29] = DbfLanguageDriverForCodePage(codePage, d == TDbfDialect::FoxPro2 || vfp);
    if (level7) {
        std::string name = Level7DriverName(codePage);
        std::memcpy(header.data() + 32, name.data(), name.size());
    }
    uint32_t offset = 1;
    for (size_t i = 0; i < fields.size(); ++i) {
        const TNewField& f = fields[i];
        uint8_t* p = header.data() + first + i * descriptorSize;
        std::memcpy(p, f.Name.data(), f.Name.size());
        if (level7) {
            p[32] = static_cast<uint8_t>(f.Type);
            p[33] = static_cast<uint8_t>(f.Length);
            p[34] = static_cast<uint8_t>(f.Decimals);
            if (f.AutoInc)
                PutLe32(p + 42, 1);
        } else {
            p[11] = static_cast<uint8_t>(f.Type);
            if (d == TDbfDialect::FoxPro2 || vfp)
                PutLe32(p + 12, offset);
            p[16] = static_cast<uint8_t>(f.Length);
            p[17] = static_cast<uint8_t>(f.Decimals);
            if (vfp) {
                p[18] = f.Flags;
                if (f.AutoInc) {
                    PutLe32(p + 19, 1);
                    p[23] = 1;
                }
            }
        }
        offset += static_cast<uint32_t>(f.Length);
    }
    header[first + descriptorSize * fields.size()] = 0x0D;
    header.push_back(0x1A);

    TAtomicFile table(params.Path);
    {
        TDbfFile file = TDbfFile::Create(table.TempPath());
        file.WriteAt(0, header.data(), header.size());
    }
    if (hasMemo) {
        std::string memoPath = NewCompanionPath(params.Path, memoKind == TDbfMemoKind::Fpt ? ".fpt" : ".dbt");
        TAtomicFile memo(memoPath);
        TDbfMemoFile::Create(memo.TempPath(), memoKind, BaseName(params.Path));
        memo.Commit();
    }
    table.Commit();
}
