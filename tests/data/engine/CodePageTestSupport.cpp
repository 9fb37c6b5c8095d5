#include "CodePageTestSupport.h"

#include "data/engine/CodePage.h"
#include "data/engine/dbf/DbfDriver.h"
#include "data/engine/paradox/ParadoxDriver.h"

#include <stdexcept>
#include <strings.h>

TEngineDriver& DriverFor(TTableFormat format)
{
    static std::shared_ptr<TEngineDriver> dbf = CreateDbfDriver();
    static std::shared_ptr<TEngineDriver> paradox = CreateParadoxDriver();
    return format == TTableFormat::Dbf ? *dbf : *paradox;
}

TEngineDriver& DriverForPath(const std::string& path)
{
    bool paradox = path.size() > 3 && strcasecmp(path.c_str() + path.size() - 3, ".db") == 0;
    return DriverFor(paradox ? TTableFormat::Paradox : TTableFormat::Dbf);
}

std::vector<TTextRecord> WriteUnmarkedTable(const std::string& path, TTableFormat format, int codePage,
                                            const std::vector<TTextRecord>& records)
{
    TCreateTableParams create;
    create.Path = path;
    create.CodePage = codePage;
    if (format == TTableFormat::Dbf)
        create.Level = "III";
    for (const char* name : {"NAME", "ADDRESS", "JOB"}) {
        TEngineFieldDef def;
        def.Name = name;
        def.DataType = ftString;
        def.Size = 80;
        create.Fields.push_back(def);
    }
    DriverFor(format).CreateTable(create);
    TCodePage converter(codePage);
    std::vector<TTextRecord> written;
    {
        auto cursor = OpenTable(path);
        for (const TTextRecord& r : records) {
            if (!converter.CanEncode(r.Name) || !converter.CanEncode(r.Address) || !converter.CanEncode(r.Job))
                continue;
            TEngineRecord values = {TVariant(r.Name), TVariant(r.Address), TVariant(r.Job)};
            cursor->InsertRecord(values, true);
            written.push_back(r);
        }
    }
    std::string bytes = ReadFileBytes(path);
    if (format == TTableFormat::Dbf)
        bytes[DbfMarkOffset] = 0;
    else
        bytes[ParadoxMarkOffset] = bytes[ParadoxMarkOffset + 1] = 0;
    WriteFileBytes(path, bytes);
    return written;
}

std::unique_ptr<TEngineCursor> OpenTable(const std::string& path, int codePage, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.CodePage = codePage;
    params.ReadOnly = readOnly;
    return DriverForPath(path).OpenTable(params);
}

std::vector<TTextRecord> ReadTexts(TEngineCursor& cursor)
{
    std::vector<TTextRecord> texts;
    cursor.SetToBegin();
    TEngineRecord record;
    while (cursor.Next(record))
        texts.push_back({record.at(0).AsString(), record.at(1).AsString(), record.at(2).AsString()});
    return texts;
}

std::vector<std::string> ReadAllAsText(TEngineCursor& cursor)
{
    std::vector<std::string> values;
    cursor.SetToBegin();
    TEngineRecord record;
    while (cursor.Next(record))
        for (const TVariant& v : record)
            values.push_back(v.IsNull() ? std::string("<null>") : v.AsString());
    return values;
}
