#include "RecoveryTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiDriver.h"
#include "data/engine/dbf/DbfDriver.h"
#include "data/engine/paradox/ParadoxDriver.h"

#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEngineDriver& DriverOf(TTableFormat format)
{
    static std::shared_ptr<TEngineDriver> dbf = CreateDbfDriver();
    static std::shared_ptr<TEngineDriver> paradox = CreateParadoxDriver();
    static std::shared_ptr<TEngineDriver> ascii = CreateAsciiDriver();
    switch (format) {
    case TTableFormat::DBase: return *dbf;
    case TTableFormat::Paradox: return *paradox;
    default: return *ascii;
    }
}

TEngineFieldDef Field(const std::string& name, TFieldType type, int size = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    return def;
}

std::string Text(const TVariant& value)
{
    return value.IsNullOrEmpty() ? std::string() : value.AsString();
}

TVariant TextValue(const std::string& text)
{
    return text.empty() ? TVariant::Null() : TVariant(text);
}

TVariant IdValue(bool integerId, double id)
{
    return integerId ? TVariant(static_cast<int32_t>(id)) : TVariant(id);
}

} // namespace

std::string FormatName(TTableFormat format)
{
    switch (format) {
    case TTableFormat::DBase: return "dBASE";
    case TTableFormat::Paradox: return "Paradox";
    default: return "ASCII";
    }
}

std::string CreateTable(TTableFormat format, const std::string& dir, const std::string& stem, const TRows& rows,
                        bool keyIsFloat, int nameWidth, bool keyed)
{
    TCreateTableParams params;
    switch (format) {
    case TTableFormat::DBase:
        params.Path = dir + "/" + stem + ".dbf";
        params.Fields = {Field("ID", ftInteger), Field("NAME", ftString, nameWidth), Field("NOTES", ftMemo)};
        break;
    case TTableFormat::Paradox:
        params.Path = dir + "/" + stem + ".db";
        params.Fields = {Field("Id", keyIsFloat ? ftFloat : ftInteger), Field("Name", ftString, nameWidth),
                         Field("Notes", ftMemo, 10)};
        params.KeyFieldCount = keyed ? 1 : 0;
        break;
    case TTableFormat::Ascii:
        params.Path = dir + "/" + stem + ".txt";
        params.Fields = {Field("Id", ftFloat), Field("Name", ftString, nameWidth), Field("Notes", ftString, 1000)};
        break;
    }
    DriverOf(format).CreateTable(params);
    auto cursor = OpenTable(format, params.Path);
    for (const auto& [id, row] : rows)
        Perform(*cursor, TEdit{TEdit::Insert, id, row});
    return params.Path;
}

std::unique_ptr<TEngineCursor> OpenTable(TTableFormat format, const std::string& path, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    return DriverOf(format).OpenTable(params);
}

TRows ReadRows(TEngineCursor& cursor)
{
    TRows rows;
    TEngineRecord record;
    cursor.SetToBegin();
    while (cursor.Next(record))
        rows[record[0].AsDouble()] = TRow{Text(record[1]), Text(record[2])};
    return rows;
}

bool GotoId(TEngineCursor& cursor, double id)
{
    TEngineRecord record;
    cursor.SetToBegin();
    while (cursor.Next(record))
        if (!record[0].IsNull() && record[0].AsDouble() == id)
            return true;
    return false;
}

void Apply(TRows& rows, const TEdit& edit)
{
    if (edit.Kind == TEdit::Delete)
        rows.erase(edit.Id);
    else
        rows[edit.Id] = edit.Row;
}

void Perform(TEngineCursor& cursor, const TEdit& edit)
{
    const bool integerId = cursor.FieldDefs()[0].DataType != ftFloat;
    if (edit.Kind == TEdit::Insert) {
        TEngineRecord record = cursor.BlankRecord();
        record[0] = IdValue(integerId, edit.Id);
        record[1] = TextValue(edit.Row.Name);
        record[2] = TextValue(edit.Row.Notes);
        cursor.InsertRecord(record, true);
        return;
    }
    if (!GotoId(cursor, edit.Id))
        throw std::runtime_error("No record " + std::to_string(edit.Id));
    if (edit.Kind == TEdit::Delete) {
        cursor.DeleteRecord();
        return;
    }
    TEngineRecord fresh;
    cursor.LockRecord(fresh);
    fresh[1] = TextValue(edit.Row.Name);
    fresh[2] = TextValue(edit.Row.Notes);
    cursor.ModifyRecord(fresh);
}

TRows RowsAfter(const TRows& start, const std::vector<TEdit>& edits, size_t count)
{
    TRows rows = start;
    for (size_t i = 0; i < count && i < edits.size(); ++i)
        Apply(rows, edits[i]);
    return rows;
}

void CopyFolder(const std::string& from, const std::string& to)
{
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from))
        if (entry.is_regular_file())
            fs::copy_file(entry.path(), fs::path(to) / entry.path().filename(), fs::copy_options::overwrite_existing);
}
