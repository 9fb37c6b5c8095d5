#include "DbfreadReader.h"

#include "support/JsonValue.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr const char* Python = "/usr/bin/python3";

// Prints, for each table named on the command line, its records as
// [Id, Name, Notes] lists, or the reader's error as a string.  dbfread
// takes a dBASE IV memo's length for the data alone (it includes the
// block's 8-byte header), so it reads 8 bytes of the block's zero padding
// too; they are dropped.
constexpr const char* Script = R"(
import json, sys
from dbfread import DBF
out = []
for path in sys.argv[1:]:
    try:
        rows = []
        for record in DBF(path, encoding='latin-1'):
            values = list(record.values())
            rows.append([values[0], values[1] or '', (values[2] or '').rstrip('\x00')])
        out.append(rows)
    except Exception as error:
        out.append('%s: %s' % (type(error).__name__, error))
print(json.dumps(out))
)";

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FirstDifference(const TRows& read, const TRows& expected)
{
    for (const auto& [id, row] : expected) {
        auto found = read.find(id);
        if (found == read.end())
            return " (no record " + std::to_string(id) + ")";
        if (!(found->second == row))
            return " (record " + std::to_string(id) + " reads \"" + found->second.Name + "\", " +
                   std::to_string(found->second.Notes.size()) + " characters of notes; expected \"" + row.Name +
                   "\", " + std::to_string(row.Notes.size()) + ")";
    }
    return read.size() == expected.size() ? std::string() : " (extra records)";
}

} // namespace

TDbfreadReader::TDbfreadReader()
{
    if (::access(Python, X_OK) != 0)
        FWhyUnavailable = std::string(Python) + " is missing";
    else if (std::system((std::string(Python) + " -c 'import dbfread' 2>/dev/null").c_str()) != 0)
        FWhyUnavailable = "python3-dbfread is not installed (apt-get install python3-dbfread)";
}

void TDbfreadReader::Add(const std::string& path, const std::string& label, std::vector<TRows> allowed)
{
    FTables.push_back({path, label, std::move(allowed)});
}

std::vector<std::string> TDbfreadReader::Check() const
{
    std::vector<std::string> mismatches;
    if (FTables.empty())
        return mismatches;
    std::string command = std::string(Python) + " -c " + Quoted(Script);
    for (const TTable& table : FTables)
        command += " " + Quoted(table.Path);
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {"dbfread could not be run"};
    std::string output;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    if (::pclose(pipe) != 0)
        return {"dbfread failed: " + output};
    TJsonValue results = TJsonValue::Parse(output);
    if (!results.IsArray() || results.Size() != FTables.size())
        return {"dbfread gave an unexpected answer: " + output.substr(0, 400)};
    for (size_t i = 0; i < FTables.size(); ++i) {
        const TJsonValue& result = results[i];
        if (result.IsString()) {
            mismatches.push_back(FTables[i].Label + ": dbfread fails: " + result.AsString());
            continue;
        }
        TRows rows;
        for (const TJsonValue& record : result.Items())
            rows[record[0].AsNumber()] = TRow{record[1].AsString(), record[2].AsString()};
        bool matches = false;
        for (const TRows& allowed : FTables[i].Allowed)
            matches = matches || rows == allowed;
        if (!matches)
            mismatches.push_back(FTables[i].Label + ": dbfread reads " + std::to_string(rows.size()) +
                                 " records that differ from every state the table may be in" +
                                 FirstDifference(rows, FTables[i].Allowed.front()));
    }
    return mismatches;
}
