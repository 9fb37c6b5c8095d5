#include "data/Table.h"

#include "data/SearchedCursor.h"
#include "data/Session.h"
#include "data/engine/EngineStatus.h"

#include <filesystem>
#include <optional>
#include <strings.h>

namespace fs = std::filesystem;

namespace {

bool HasExtension(const fs::path& path)
{
    std::string name = path.filename().string();
    return name.find('.') != std::string::npos;
}

// The file of that name in that directory, its letters in any case.
std::optional<fs::path> FindIgnoringCase(const fs::path& directory, const std::string& fileName)
{
    std::error_code error;
    fs::path exact = directory / fileName;
    if (fs::exists(exact, error))
        return exact;
    fs::path searched = directory.empty() ? fs::path(".") : directory;
    for (fs::directory_iterator it(searched, error), end; !error && it != end; it.increment(error))
        if (strcasecmp(it->path().filename().string().c_str(), fileName.c_str()) == 0)
            return directory / it->path().filename();
    return std::nullopt;
}

} // namespace

TTable::TTable() : FSession(&::Session()) {}

TTable::~TTable()
{
    CloseQuietly();
}

void TTable::SetTableName(const std::string& name)
{
    CheckInactive();
    FTableName = name;
}

void TTable::SetDatabaseName(const std::string& name)
{
    CheckInactive();
    FDatabaseName = name;
}

void TTable::SetTableType(TTableType type)
{
    CheckInactive();
    FTableType = type;
}

void TTable::SetReadOnly(bool value)
{
    CheckInactive();
    FReadOnly = value;
}

void TTable::SetCodePage(int codePage)
{
    CheckInactive();
    FCodePage = codePage;
}

TCodePageChoice TTable::CodePageChoice() const
{
    return Cursor() ? Cursor()->CodePageChoice() : TCodePageChoice{};
}

std::string TTable::ReadOnlyReason() const
{
    if (!Cursor() || Cursor()->CanModify())
        return std::string();
    if (!FOpenedReadOnlyBecause.empty())
        return FOpenedReadOnlyBecause;
    return Cursor()->ReadOnlyReason();
}

void TTable::SetExclusive(bool value)
{
    CheckInactive();
    FExclusive = value;
}

void TTable::SetSession(TSession& session)
{
    CheckInactive();
    FSession = &session;
}

const char* TTable::DriverName(TTableType type)
{
    switch (type) {
    case ttDBase: return "DBASE";
    case ttFoxPro: return "FOXPRO";
    case ttASCII: return "ASCIIDRV";
    case ttDefault:
    case ttParadox: break;
    }
    return "PARADOX";
}

const char* TTable::DefaultExtension(TTableType type)
{
    switch (type) {
    case ttDBase:
    case ttFoxPro: return ".DBF";
    case ttASCII: return ".TXT";
    case ttDefault:
    case ttParadox: break;
    }
    return ".DB";
}

std::string TTable::TablePath() const
{
    if (FTableName.empty())
        return std::string();
    fs::path path(FTableName);
    if (!FDatabaseName.empty() && path.is_relative())
        path = fs::path(FDatabaseName) / path;
    if (!HasExtension(path)) {
        std::string name = path.filename().string() + DefaultExtension(FTableType);
        // File names are case-sensitive here: "orders" finds "orders.db" too.
        path = FindIgnoringCase(path.parent_path(), name).value_or(path.parent_path() / name);
    }
    return path.string();
}

TTableType TTable::ResolvedTableType() const
{
    if (FTableType != ttDefault)
        return FTableType;
    fs::path path(TablePath());
    std::string extension = path.extension().string();
    if (strcasecmp(extension.c_str(), ".DB") == 0)
        return ttParadox;
    if (strcasecmp(extension.c_str(), ".DBF") == 0) {
        std::string stem = path.stem().string();
        for (const char* companion : {".FPT", ".CDX"})
            if (FindIgnoringCase(path.parent_path(), stem + companion))
                return ttFoxPro;
        return ttDBase;
    }
    if (strcasecmp(extension.c_str(), ".TXT") == 0)
        return ttASCII;
    return ttDefault;
}

std::string TTable::RecoveryNote() const
{
    return Cursor() ? Cursor()->RecoveryNote() : std::string();
}

std::unique_ptr<TEngineCursor> TTable::CreateCursor()
{
    if (FTableName.empty())
        throw EDatabaseError("Missing TableName property");
    TOpenTableParams params;
    params.Path = TablePath();
    params.ReadOnly = FReadOnly;
    params.Exclusive = FExclusive;
    params.Passwords = FSession->Passwords();
    params.CodePage = FCodePage;
    FOpenedReadOnlyBecause.clear();
    TEngineDriver& driver = FSession->Engine().Driver(DriverName(ResolvedTableType()));
    for (;;) {
        try {
            return WithColumnSearch(driver.OpenTable(params));
        } catch (const EDBEngineError& error) {
            if (error.ErrorCode() == DBIERR_TABLEREADONLY && !params.ReadOnly) {
                params.ReadOnly = true;   // the dataset then reports CanModify false
                FOpenedReadOnlyBecause = FileNotWritableReason;
                continue;
            }
            if (error.ErrorCode() == DBIERR_NOTSUFFTABLERIGHTS && FSession->OnPassword &&
                FSession->OnPassword(*FSession, params.Path)) {
                params.Passwords = FSession->Passwords();
                continue;
            }
            throw;
        }
    }
}
