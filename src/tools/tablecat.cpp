// tablecat [--password P] [--codepage N] [--info] FILE
// tablecat --check FILE, tablecat --repair FILE
// tablecat --check-index FILE, tablecat --reindex FILE
// Prints a table through the engine as CSV in UTF-8: the field names, then
// one line per record (RFC 4180 quoting, nulls as empty cells), so what the
// engine reads can be checked and used from scripts.  --codepage reads the
// texts in code page N instead of the table's own; --info describes the
// table instead (format, code page, records, fields, whether it can be
// written and why not).  --check-index checks a dBASE/FoxPro table's
// compound index against its rules and its records; --reindex writes the
// index afresh from the records (a new file, renamed over the old one).

#include "data/engine/CodePageDetect.h"
#include "data/engine/Engine.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/DbfCompanion.h"
#include "data/engine/dbf/DbfCursor.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"
#include "platform/FormatSettings.h"
#include "tools/ToolMain.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <strings.h>
#include <vector>

namespace {

const char* Usage = "usage: tablecat [--password PASSWORD] [--codepage N]\n"
                    "                [--info | --check | --repair | --check-index | --reindex] FILE\n"
                    "Prints a .dbf, .db or .txt table as CSV (UTF-8).\n"
                    "  --codepage N  read the texts in code page N (936, 950, 1251, 866, ...)\n"
                    "  --info        describe the table instead of printing its records\n"
                    "  --check       report a change a stopped program left unfinished (exit status 2)\n"
                    "  --repair      put such a table back as it stood before that change\n"
                    "  --check-index check the table's compound index (.cdx) against its records\n"
                    "                (exit status 2 when it is damaged or out of date)\n"
                    "  --reindex     rebuild the table's compound index from its records\n";

std::string DriverForFile(const std::string& path)
{
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    std::string extension = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot);
    if (strcasecmp(extension.c_str(), ".dbf") == 0) {
        // As the table dataset chooses: FoxPro when its memo or index file is there.
        bool foxPro = !FindCompanionFile(path, ".fpt").empty() || !FindCompanionFile(path, ".cdx").empty();
        return foxPro ? "FOXPRO" : "DBASE";
    }
    if (strcasecmp(extension.c_str(), ".db") == 0)
        return "PARADOX";
    if (strcasecmp(extension.c_str(), ".txt") == 0)
        return "ASCIIDRV";
    throw Exception("Cannot tell the table type of \"" + path + "\": expected .dbf, .db or .txt.");
}

// A number in plain decimal as the grid shows it (400000, not 4e+05), with
// a point whatever the locale.
std::string NumberText(double value)
{
    if (!std::isfinite(value))
        return std::string();
    return FloatToStr(value, TFormatSettings());
}

std::string TwoDigits(int value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string DateText(TDateTime value)
{
    int year, month, day;
    DecodeDate(value, year, month, day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string TimeText(TDateTime value)
{
    int hour, minute, second, ms;
    DecodeTime(value, hour, minute, second, ms);
    std::string text = TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
    if (ms != 0) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, ".%03d", ms);
        text += buffer;
    }
    return text;
}

std::string HexText(const TBytes& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::string CurrencyText(TCurrency value)
{
    int64_t scaled = value.Scaled;
    bool negative = scaled < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string text = std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, ".%04u", static_cast<unsigned>(fraction));
        std::string f = buffer;
        while (f.back() == '0')
            f.pop_back();
        text += f;
    }
    return (negative ? "-" : "") + text;
}

// The cell text of a value, independent of the locale.
std::string CellText(const TEngineFieldDef& def, const TVariant& value)
{
    if (value.IsNullOrEmpty())
        return std::string();
    switch (value.VarType()) {
    case varBoolean: return value.AsBoolean() ? "true" : "false";
    case varInteger: case varInt64: return std::to_string(value.AsInt64());
    case varDouble: return NumberText(value.AsDouble());
    case varCurrency: return CurrencyText(value.AsCurrency());
    case varBytes: return HexText(value.AsBytes());
    case varDate: {
        TDateTime v = value.AsDateTime();
        if (def.DataType == ftDate)
            return DateText(v);
        if (def.DataType == ftTime)
            return TimeText(v);
        return DateText(v) + " " + TimeText(v);
    }
    default: return value.AsString();
    }
}

std::string Quoted(const std::string& cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string::npos)
        return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

void PrintLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += ',';
        line += Quoted(cells[i]);
    }
    line += "\r\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

enum class TConsistencyMode { None, Check, Repair };

// --check opens the table read-only and says what the engine found of an
// unfinished change; --repair opens it for writing, which puts it back.
int CheckConsistency(TEngineDriver& driver, TOpenTableParams params, TConsistencyMode mode)
{
    params.ReadOnly = mode == TConsistencyMode::Check;
    std::unique_ptr<TEngineCursor> cursor = driver.OpenTable(params);
    const std::string note = cursor->RecoveryNote();
    if (note.empty()) {
        std::printf("%s: in order.\n", params.Path.c_str());
        return 0;
    }
    std::printf("%s: %s\n", params.Path.c_str(), note.c_str());
    return mode == TConsistencyMode::Check || !cursor->CanModify() ? 2 : 0;
}

// ---- --check-index and --reindex

enum class TIndexMode { None, Check, Rebuild };

int IndexCommand(TEngineDriver& driver, TOpenTableParams params, TIndexMode mode)
{
    params.ReadOnly = mode == TIndexMode::Check;
    std::unique_ptr<TEngineCursor> cursor = driver.OpenTable(params);
    auto* table = dynamic_cast<TDbfCursor*>(cursor.get());
    if (!table || !table->HasIndex()) {
        std::printf("%s: the table has no compound index.\n", params.Path.c_str());
        return 2;
    }
    if (mode == TIndexMode::Rebuild) {
        table->RebuildIndex();
        std::printf("%s: index rebuilt.\n", params.Path.c_str());
    }
    const cdx::TCheckReport report = table->CheckIndex(true);
    std::printf("%s", report.Summary().c_str());
    if (table->Index())
        std::printf("%s: %zu tags, %zu keys; pages: %zu in use, %zu free, %zu unreferenced.\n",
                    table->Index()->Path().c_str(), report.Tags, report.Keys, report.UsedPages, report.FreePages,
                    report.UnreferencedPages);
    const char* verdict = !report.Damage.empty() ? "damaged" : !report.Stale.empty() ? "out of date" : "in order";
    std::printf("%s: index %s.\n", params.Path.c_str(), verdict);
    if (std::fflush(stdout) != 0)
        throw Exception("Cannot write the output.");
    return report.Good() ? 0 : 2;
}

// ---- --codepage and --info

int CodePageArgument(const std::string& text)
{
    int codePage = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), codePage);
    if (error != std::errc() || end != text.data() + text.size() || codePage <= 0)
        throw Exception("\"" + text + "\" is not a code page number.\n" + Usage);
    return codePage;
}

std::string FieldTypeText(const TEngineFieldDef& def)
{
    std::string text = def.NativeType.empty() ? std::string("?") : def.NativeType;
    if (def.Precision > 0)
        text += "(" + std::to_string(def.Precision) + (def.Scale ? "," + std::to_string(def.Scale) : "") + ")";
    else if (def.Size > 0)
        text += "(" + std::to_string(def.Size) + ")";
    return text + " " + FieldTypeName(def.DataType);
}

// Opens the table as the program would: for writing, and read-only when
// the file refuses that (nothing is written either way).
std::unique_ptr<TEngineCursor> OpenAsTheProgramWould(TEngineDriver& driver, TOpenTableParams params,
                                                     std::string& refusedBecause)
{
    params.ReadOnly = false;
    try {
        return driver.OpenTable(params);
    } catch (const EDBEngineError& e) {
        if (e.ErrorCode() != DBIERR_TABLEREADONLY)
            throw;
    }
    refusedBecause = FileNotWritableReason;
    params.ReadOnly = true;
    return driver.OpenTable(params);
}

int PrintInfo(TEngineDriver& driver, const TOpenTableParams& params)
{
    std::string refusedBecause;
    std::unique_ptr<TEngineCursor> cursor = OpenAsTheProgramWould(driver, params, refusedBecause);
    std::string format = cursor->FormatName();
    std::cout << "File: " << params.Path << "\n"
              << "Format: " << (format.empty() ? "unknown" : format) << "\n"
              << "Code page: " << DescribeCodePageChoice(cursor->CodePageChoice()) << "\n"
              << "Records: " << cursor->RecordCount() << "\n"
              << "Fields: " << cursor->FieldDefs().size() << "\n";
    for (const TEngineFieldDef& def : cursor->FieldDefs())
        std::cout << "  " << def.Name << "  " << FieldTypeText(def) << "\n";
    std::string reason = refusedBecause.empty() ? cursor->ReadOnlyReason() : refusedBecause;
    if (cursor->CanModify() && refusedBecause.empty())
        std::cout << "Read-only: no\n";
    else
        std::cout << "Read-only: yes. " << reason << "\n";
    std::cout.flush();
    if (!std::cout)
        throw Exception("Cannot write the output.");
    return 0;
}

// ---- printing the records

int Run(int argc, char** argv)
{
    std::string password, path;
    int codePage = 0;
    bool info = false;
    TConsistencyMode consistency = TConsistencyMode::None;
    TIndexMode indexMode = TIndexMode::None;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--check-index" || arg == "--reindex") {
            indexMode = arg == "--check-index" ? TIndexMode::Check : TIndexMode::Rebuild;
        } else if (arg == "--check" || arg == "--repair") {
            consistency = arg == "--check" ? TConsistencyMode::Check : TConsistencyMode::Repair;
        } else if (arg == "--password" && i + 1 < argc) {
            password = argv[++i];
        } else if (arg == "--codepage" && i + 1 < argc) {
            codePage = CodePageArgument(argv[++i]);
        } else if (arg == "--info") {
            info = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            throw Exception("Unknown option \"" + arg + "\".\n" + Usage);
        } else if (path.empty()) {
            path = arg;
        } else {
            throw Exception(std::string("Only one table can be printed.\n") + Usage);
        }
    }
    if (path.empty())
        throw Exception(std::string("No table given.\n") + Usage);

    TEngine engine;
    RegisterBuiltinDrivers(engine);
    TEngineDriver& driver = engine.Driver(DriverForFile(path));
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = true;
    params.CodePage = codePage;
    if (!password.empty())
        params.Passwords.push_back(password);
    if (consistency != TConsistencyMode::None)
        return CheckConsistency(driver, params, consistency);
    if (indexMode != TIndexMode::None)
        return IndexCommand(driver, params, indexMode);
    if (info)
        return PrintInfo(driver, params);
    std::unique_ptr<TEngineCursor> cursor = driver.OpenTable(params);

    const std::vector<TEngineFieldDef>& defs = cursor->FieldDefs();
    std::vector<std::string> cells;
    for (const TEngineFieldDef& def : defs)
        cells.push_back(def.Name);
    PrintLine(cells);
    cursor->SetToBegin();
    TEngineRecord record;
    while (cursor->Next(record)) {
        cells.clear();
        for (size_t i = 0; i < defs.size(); ++i)
            cells.push_back(CellText(defs[i], record[i]));
        PrintLine(cells);
    }
    if (std::fflush(stdout) != 0)
        throw Exception("Cannot write the output.");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool("tablecat", [&] { return Run(argc, argv); });
}
