#include "data/engine/ascii/AsciiDriver.h"

#include "data/engine/CodePage.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiCursor.h"
#include "data/engine/ascii/AsciiSchema.h"
#include "data/engine/ascii/AsciiTextFile.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr off_t LargestSchema = 1 << 20;

struct TPathParts {
    std::string Directory;   // without the final '/'; "." for a bare name
    std::string Stem;        // file name without its extension
    std::string Extension;   // with its dot; empty when there is none
};

TPathParts SplitPath(const std::string& path)
{
    TPathParts parts;
    size_t slash = path.rfind('/');
    parts.Directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        parts.Stem = name;
    } else {
        parts.Stem = name.substr(0, dot);
        parts.Extension = name.substr(dot);
    }
    return parts;
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    return directory == "/" ? "/" + name : directory + "/" + name;
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// A file that its owner marked read-only counts as read-only even for the
// superuser, who could write it anyway.
bool IsWritableFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || ::access(path.c_str(), W_OK) != 0)
        return false;
    return (info.st_mode & 0222) != 0;
}

bool IsWritableDirectory(const std::string& path)
{
    return ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string ReadSchemaText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        RaiseEngineError(DBIERR_OSEACCES, {"Schema file: " + path, std::strerror(errno)});
    file.seekg(0, std::ios::end);
    if (file.tellg() > LargestSchema)
        RaiseEngineError(DBIERR_HEADERCORRUPT, {"Schema file: " + path, "The schema file is too large to be a schema."});
    file.seekg(0);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TAsciiField SchemaField(const TEngineFieldDef& def, int offset)
{
    TAsciiField field;
    field.Name = def.Name;
    if (field.Name.empty() || field.Name.find_first_of("\r\n[]=") != std::string::npos)
        RaiseEngineError(DBIERR_INVALIDPARAM, {"Field name: \"" + def.Name + "\"",
                                               "A field name must not be empty or hold line breaks, brackets or \"=\"."});
    if (!AsciiTypeFromFieldType(def.DataType, field.Type))
        RaiseEngineError(DBIERR_NOTSUPPORTED, {"Field: " + def.Name, std::string("The type ") +
                                                                         FieldTypeName(def.DataType) +
                                                                         " cannot be stored in an ASCII table."});
    switch (field.Type) {
    case TAsciiType::Char:
        if (def.Size <= 0)
            RaiseEngineError(DBIERR_INVALIDPARAM, {"Field: " + def.Name, "A text field needs a size."});
        field.Width = def.Size;
        break;
    case TAsciiType::Float:
        field.Width = def.Precision > 0 ? def.Precision : 20;
        field.Decimals = def.Scale;
        break;
    case TAsciiType::Currency:
        // CURRENCY is read, but it is not among the classic schema types and
        // other readers of the table would refuse it: a money column is
        // written as FLOAT with its decimals (two unless given).
        field.Type = TAsciiType::Float;
        field.Width = def.Precision > 0 ? def.Precision : 20;
        field.Decimals = def.Scale > 0 ? def.Scale : 2;
        break;
    case TAsciiType::Number: field.Width = 6; break;
    case TAsciiType::LongInt: field.Width = 11; break;
    case TAsciiType::Bool: field.Width = 1; break;
    case TAsciiType::Date: field.Width = 10; break;
    case TAsciiType::Time: field.Width = 12; break;
    case TAsciiType::Timestamp: field.Width = 23; break;
    }
    field.Offset = offset;
    return field;
}

TAsciiSchema SchemaForNewTable(const TCreateTableParams& params, const std::string& stem)
{
    if (!params.Password.empty())
        RaiseEngineError(DBIERR_NOTSUPPORTED, {"File: " + params.Path, "ASCII tables cannot be encrypted."});
    if (params.KeyFieldCount > 0)
        RaiseEngineError(DBIERR_NOTSUPPORTED, {"File: " + params.Path, "ASCII tables have no key."});
    if (params.Fields.empty())
        RaiseEngineError(DBIERR_INVALIDPARAM, {"File: " + params.Path, "A table needs at least one field."});
    TAsciiSchema schema;
    schema.TableName = UpperAscii(stem);
    if (params.Level.empty() || strcasecmp(params.Level.c_str(), "VARYING") == 0)
        schema.FileType = TAsciiFileType::Varying;
    else if (strcasecmp(params.Level.c_str(), "FIXED") == 0)
        schema.FileType = TAsciiFileType::Fixed;
    else
        RaiseEngineError(DBIERR_INVALIDPARAM, {"Level: " + params.Level, "The level is VARYING or FIXED."});
    schema.CodePage = params.CodePage == 0 ? 936 : params.CodePage;
    TCodePage check(schema.CodePage);   // raises for a code page without a converter
    int offset = 0;
    for (const TEngineFieldDef& def : params.Fields) {
        for (const TAsciiField& earlier : schema.Fields)
            if (strcasecmp(earlier.Name.c_str(), def.Name.c_str()) == 0)
                RaiseEngineError(DBIERR_INVALIDPARAM, {"Field: " + def.Name, "The field name is used twice."});
        schema.Fields.push_back(SchemaField(def, offset));
        offset += schema.Fields.back().Width;
    }
    return schema;
}

class TAsciiDriver : public TEngineDriver {
public:
    std::vector<std::string> Names() const override { return {"ASCIIDRV"}; }

    std::unique_ptr<TEngineCursor> OpenTable(const TOpenTableParams& params) override
    {
        if (params.Path.empty())
            RaiseEngineError(DBIERR_NOTABLENAME);
        struct stat info {};
        if (::stat(params.Path.c_str(), &info) != 0)
            RaiseEngineError(DBIERR_NOSUCHTABLE, {"File: " + params.Path});
        std::string schemaPath = FindAsciiSchemaFile(params.Path);
        if (schemaPath.empty())
            RaiseEngineError(DBIERR_NOSUCHTABLE, {"File: " + params.Path,
                                                  "The schema file (" + SplitPath(params.Path).Stem +
                                                      ".sch) describing the table is missing."});
        TAsciiSchema schema = ParseAsciiSchema(ReadSchemaText(schemaPath), SplitPath(params.Path).Stem, schemaPath);
        bool writable = !params.ReadOnly;
        if (writable) {
            if (!IsWritableFile(params.Path) || !IsWritableFile(schemaPath))
                RaiseEngineError(DBIERR_TABLEREADONLY, {"File: " + params.Path});
            if (!IsWritableDirectory(SplitPath(params.Path).Directory))
                RaiseEngineError(DBIERR_TABLEREADONLY,
                                 {"File: " + params.Path, "The folder of the table cannot be written."});
        }
        return std::make_unique<TAsciiCursor>(params.Path, schemaPath, schema, writable, params.Exclusive);
    }

    void CreateTable(const TCreateTableParams& params) override
    {
        if (params.Path.empty())
            RaiseEngineError(DBIERR_NOTABLENAME);
        TPathParts parts = SplitPath(params.Path);
        TAsciiSchema schema = SchemaForNewTable(params, parts.Stem);
        if (!FindAsciiSchemaFile(params.Path).empty())
            RaiseEngineError(DBIERR_WRITEERR, {"File: " + params.Path, "A schema file for this table already exists."});
        bool upperExtension = !parts.Extension.empty() && parts.Extension == UpperAscii(parts.Extension);
        std::string schemaPath = JoinPath(parts.Directory, parts.Stem + (upperExtension ? ".SCH" : ".sch"));

        int handle = ::open(params.Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle < 0) {
            int error = errno;
            RaiseEngineError(error == EEXIST ? DBIERR_WRITEERR : error == ENOSPC ? DBIERR_NODISKSPACE : DBIERR_OSEACCES,
                             {"File: " + params.Path, error == EEXIST ? "The file already exists." : std::strerror(error)});
        }
        struct stat info {};
        ::fstat(handle, &info);
        ::close(handle);
        try {
            WriteFileReplacing(schemaPath, FormatAsciiSchema(schema, "\r\n"), info.st_mode);
        } catch (...) {
            ::unlink(params.Path.c_str());
            throw;
        }
    }
};

} // namespace

std::string FindAsciiSchemaFile(const std::string& textPath)
{
    TPathParts parts = SplitPath(textPath);
    for (const char* extension : {".sch", ".SCH"}) {
        std::string candidate = JoinPath(parts.Directory, parts.Stem + extension);
        if (::access(candidate.c_str(), F_OK) == 0)
            return candidate;
    }
    std::string wanted = parts.Stem + ".sch";
    std::string found;
    if (DIR* directory = ::opendir(parts.Directory.c_str())) {
        while (dirent* entry = ::readdir(directory))
            if (strcasecmp(entry->d_name, wanted.c_str()) == 0 && std::strcmp(entry->d_name, wanted.c_str()) != 0) {
                found = JoinPath(parts.Directory, entry->d_name);
                break;
            }
        ::closedir(directory);
    }
    return found;
}

std::shared_ptr<TEngineDriver> CreateAsciiDriver()
{
    return std::make_shared<TAsciiDriver>();
}
