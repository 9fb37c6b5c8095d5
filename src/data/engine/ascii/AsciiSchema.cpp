#include "data/engine/ascii/AsciiSchema.h"

#include "data/engine/CodePage.h"
#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <strings.h>

namespace {

struct TTypeName {
    TAsciiType Type;
    const char* Name;
    TFieldType FieldType;
};

constexpr TTypeName TypeNames[] = {
    {TAsciiType::Char, "CHAR", ftString},
    {TAsciiType::Float, "FLOAT", ftFloat},
    {TAsciiType::Number, "NUMBER", ftSmallint},
    {TAsciiType::Bool, "BOOL", ftBoolean},
    {TAsciiType::LongInt, "LONGINT", ftInteger},
    {TAsciiType::Date, "DATE", ftDate},
    {TAsciiType::Time, "TIME", ftTime},
    {TAsciiType::Timestamp, "TIMESTAMP", ftDateTime},
    {TAsciiType::Currency, "CURRENCY", ftCurrency},
};

std::string Trim(const std::string& text, const char* blanks = " \t\r\n")
{
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool EqualNoCase(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

bool ParseNumber(const std::string& text, int& value)
{
    std::string t = Trim(text);
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size() && !t.empty();
}

[[noreturn]] void SchemaFault(const std::string& path, const std::string& fault)
{
    RaiseEngineError(DBIERR_HEADERCORRUPT, {"Schema file: " + path, fault});
}

// A separator or delimiter entry: one character, spaces around it ignored
// (a tab stays a tab).
char SingleCharacter(const std::string& raw, const char* key, const std::string& path)
{
    std::string value = Trim(raw, " \r\n");
    if (value.empty())
        return 0;
    if (value.size() != 1)
        SchemaFault(path, std::string(key) + " must be a single character, not \"" + value + "\".");
    return value[0];
}

struct TRawSchema {
    std::map<std::string, std::string> Entries;         // upper-case key -> raw value
    std::vector<std::pair<int, std::string>> FieldLines; // N -> raw value
    std::string Section;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Splits the text into the entries of the chosen section.
TRawSchema ReadSections(const std::string& text, const std::string& tableName, const std::string& path)
{
    std::vector<TRawSchema> sections(1);
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;   // a UTF-8 byte order mark
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        // A tab at the end of the line may be the separator's value.
        std::string line = Trim(text.substr(pos, end - pos), " \r\n\x1A");
        line.erase(0, line.find_first_not_of(" \t"));
        pos = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            if (close == std::string::npos)
                SchemaFault(path, "Section header without \"]\": " + line);
            TRawSchema section;
            section.Section = Trim(line.substr(1, close - 1));
            sections.push_back(std::move(section));
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            SchemaFault(path, "Line without \"=\": " + line);
        std::string key = Upper(Trim(line.substr(0, equals)));
        // Keep the value untrimmed apart from the line's own ends, so a
        // separator written as a tab survives.
        std::string value = line.substr(equals + 1);
        TRawSchema& current = sections.back();
        if (key.size() > 5 && key.compare(0, 5, "FIELD") == 0 &&
            std::all_of(key.begin() + 5, key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            int number = 0;
            if (!ParseNumber(key.substr(5), number) || number <= 0)
                SchemaFault(path, "Invalid field entry: " + line);
            current.FieldLines.emplace_back(number, value);
        } else {
            current.Entries[key] = value;
        }
    }
    // The section of the table's name, else the first one that has content.
    for (size_t i = 1; i < sections.size(); ++i)
        if (strcasecmp(sections[i].Section.c_str(), tableName.c_str()) == 0)
            return sections[i];
    for (const TRawSchema& section : sections)
        if (!section.FieldLines.empty() || !section.Entries.empty())
            return section;
    SchemaFault(path, "The schema is empty.");
}

TAsciiField ParseFieldLine(const std::string& value, int number, const TCodePage& codePage, const std::string& path)
{
    // name,type,width,decimals,offset; the name may itself hold commas, so
    // the four numbers are taken from the right.
    std::vector<std::string> parts;
    std::string rest = Trim(value);
    for (int i = 0; i < 4; ++i) {
        size_t comma = rest.rfind(',');
        if (comma == std::string::npos)
            SchemaFault(path, "Field" + std::to_string(number) + " needs name, type, width, decimals and offset: " + value);
        parts.insert(parts.begin(), Trim(rest.substr(comma + 1)));
        rest = rest.substr(0, comma);
    }
    TAsciiField field;
    field.Name = codePage.ToUtf8(Trim(rest));
    if (field.Name.empty())
        SchemaFault(path, "Field" + std::to_string(number) + " has no name.");
    if (!AsciiTypeFromName(parts[0], field.Type))
        SchemaFault(path, "Field" + std::to_string(number) + " (" + field.Name + ") has the unknown type \"" + parts[0] + "\".");
    if (!ParseNumber(parts[1], field.Width) || field.Width <= 0 || field.Width > 65535)
        SchemaFault(path, "Field" + std::to_string(number) + " (" + field.Name + ") has an invalid width \"" + parts[1] + "\".");
    if (!ParseNumber(parts[2], field.Decimals) || field.Decimals < 0 || field.Decimals > 30)
        SchemaFault(path, "Field" + std::to_string(number) + " (" + field.Name + ") has invalid decimals \"" + parts[2] + "\".");
    if (!ParseNumber(parts[3], field.Offset) || field.Offset < 0 || field.Offset > 1 << 24)
        SchemaFault(path, "Field" + std::to_string(number) + " (" + field.Name + ") has an invalid offset \"" + parts[3] + "\".");
    return field;
}

void CheckFixedLayout(const TAsciiSchema& schema, const std::string& path)
{
    std::vector<const TAsciiField*> byOffset;
    for (const TAsciiField& field : schema.Fields)
        byOffset.push_back(&field);
    std::sort(byOffset.begin(), byOffset.end(), [](auto* a, auto* b) { return a->Offset < b->Offset; });
    for (size_t i = 1; i < byOffset.size(); ++i)
        if (byOffset[i - 1]->Offset + byOffset[i - 1]->Width > byOffset[i]->Offset)
            SchemaFault(path, "The fixed-length columns " + byOffset[i - 1]->Name + " and " + byOffset[i]->Name + " overlap.");
}

} // namespace

int TAsciiSchema::FixedLineLength() const
{
    int length = 0;
    for (const TAsciiField& field : Fields)
        length = std::max(length, field.Offset + field.Width);
    return length;
}

const char* AsciiTypeName(TAsciiType type)
{
    for (const TTypeName& entry : TypeNames)
        if (entry.Type == type)
            return entry.Name;
    return "CHAR";
}

bool AsciiTypeFromName(const std::string& name, TAsciiType& type)
{
    for (const TTypeName& entry : TypeNames)
        if (EqualNoCase(name, entry.Name)) {
            type = entry.Type;
            return true;
        }
    return false;
}

TFieldType AsciiTypeToFieldType(TAsciiType type)
{
    for (const TTypeName& entry : TypeNames)
        if (entry.Type == type)
            return entry.FieldType;
    return ftString;
}

bool AsciiTypeFromFieldType(TFieldType fieldType, TAsciiType& type)
{
    if (fieldType == ftFixedChar || fieldType == ftWideString)
        fieldType = ftString;
    for (const TTypeName& entry : TypeNames)
        if (entry.FieldType == fieldType) {
            type = entry.Type;
            return true;
        }
    return false;
}

TEngineFieldDef AsciiFieldDef(const TAsciiField& field)
{
    TEngineFieldDef def;
    def.Name = field.Name;
    def.DataType = AsciiTypeToFieldType(field.Type);
    def.NativeType = AsciiTypeName(field.Type);
    if (field.Type == TAsciiType::Char)
        def.Size = field.Width;
    if (field.Type == TAsciiType::Float || field.Type == TAsciiType::Currency) {
        def.Precision = field.Width;
        def.Scale = field.Decimals;
    }
    return def;
}

int AsciiCharsetCodePage(const std::string& charset, int explicitCodePage)
{
    std::string name = Trim(charset);
    int number = 0;
    if (ParseNumber(name, number) && number > 0)
        return number;
    if (explicitCodePage > 0)
        return explicitCodePage;
    if (EqualNoCase(name, "ascii") || EqualNoCase(name, "intl"))
        return 437;
    if (EqualNoCase(name, "ansiintl") || EqualNoCase(name, "ansiascii") || EqualNoCase(name, "ansi") ||
        EqualNoCase(name, "DBWINUS0"))
        return 1252;
    if (EqualNoCase(name, "utf8") || EqualNoCase(name, "utf-8"))
        return 65001;
    return 0;
}

std::string AsciiCharsetName(int codePage)
{
    if (codePage == 437)
        return "ascii";
    if (codePage == 1252)
        return "ansiintl";
    return std::to_string(codePage == 0 ? 936 : codePage);
}

TAsciiSchema ParseAsciiSchema(const std::string& text, const std::string& tableName, const std::string& path)
{
    TRawSchema raw = ReadSections(text, tableName, path);
    TAsciiSchema schema;
    schema.TableName = raw.Section.empty() ? Upper(tableName) : raw.Section;

    auto entry = [&raw](const char* key) -> const std::string* {
        auto it = raw.Entries.find(key);
        return it == raw.Entries.end() ? nullptr : &it->second;
    };
    if (const std::string* fileType = entry("FILETYPE")) {
        std::string value = Trim(*fileType);
        if (EqualNoCase(value, "VARYING"))
            schema.FileType = TAsciiFileType::Varying;
        else if (EqualNoCase(value, "FIXED"))
            schema.FileType = TAsciiFileType::Fixed;
        else
            SchemaFault(path, "FILETYPE must be VARYING or FIXED, not \"" + value + "\".");
    }
    int explicitCodePage = 0;
    if (const std::string* codePage = entry("CODEPAGE"))
        if (!ParseNumber(*codePage, explicitCodePage) || explicitCodePage <= 0)
            SchemaFault(path, "CODEPAGE must be a code page number, not \"" + Trim(*codePage) + "\".");
    const std::string* charset = entry("CHARSET");
    schema.CodePage = AsciiCharsetCodePage(charset ? *charset : std::string(), explicitCodePage);
    if (const std::string* delimiter = entry("DELIMITER"))
        schema.Delimiter = SingleCharacter(*delimiter, "DELIMITER", path);
    if (const std::string* separator = entry("SEPARATOR")) {
        schema.Separator = SingleCharacter(*separator, "SEPARATOR", path);
        if (schema.Separator == 0)
            schema.Separator = ',';
    }
    if (schema.FileType == TAsciiFileType::Varying && schema.Separator == schema.Delimiter)
        SchemaFault(path, "SEPARATOR and DELIMITER must differ.");

    std::sort(raw.FieldLines.begin(), raw.FieldLines.end());
    if (raw.FieldLines.empty())
        SchemaFault(path, "The schema names no fields (Field1 = name,type,width,decimals,offset).");
    TCodePage codePage(schema.CodePage);
    for (size_t i = 0; i < raw.FieldLines.size(); ++i) {
        int number = raw.FieldLines[i].first;
        if (number != static_cast<int>(i) + 1)
            SchemaFault(path, "Field" + std::to_string(i + 1) + " is " +
                                  (number == static_cast<int>(i) ? "given twice." : "missing."));
        schema.Fields.push_back(ParseFieldLine(raw.FieldLines[i].second, number, codePage, path));
    }
    for (size_t i = 0; i < schema.Fields.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (strcasecmp(schema.Fields[i].Name.c_str(), schema.Fields[j].Name.c_str()) == 0)
                SchemaFault(path, "The field name " + schema.Fields[i].Name + " is used twice.");
    if (schema.FileType == TAsciiFileType::Fixed)
        CheckFixedLayout(schema, path);
    return schema;
}

std::string FormatAsciiSchema(const TAsciiSchema& schema, const std::string& lineEnd)
{
    TCodePage codePage(schema.CodePage);
    std::string text = "[" + codePage.FromUtf8(schema.TableName) + "]" + lineEnd;
    bool fixed = schema.FileType == TAsciiFileType::Fixed;
    text += std::string("FILETYPE = ") + (fixed ? "FIXED" : "VARYING") + lineEnd;
    text += "CHARSET = " + AsciiCharsetName(schema.CodePage) + lineEnd;
    if (!fixed) {
        if (schema.Delimiter)
            text += std::string("DELIMITER = ") + schema.Delimiter + lineEnd;
        text += std::string("SEPARATOR = ") + schema.Separator + lineEnd;
    }
    char number[16];
    for (size_t i = 0; i < schema.Fields.size(); ++i) {
        const TAsciiField& field = schema.Fields[i];
        text += "Field" + std::to_string(i + 1) + " = " + codePage.FromUtf8(field.Name) + "," +
                AsciiTypeName(field.Type) + "," + std::to_string(field.Width) + ",";
        std::snprintf(number, sizeof number, "%02d", field.Decimals);
        text += number;
        std::snprintf(number, sizeof number, ",%02d", field.Offset);
        text += number + lineEnd;
    }
    return text;
}
