#include "DbfTestSupport.h"

#include "data/engine/dbf/DbfDates.h"
#include "data/engine/dbf/DbfDriver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TEngineDriver& DbfDriver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

std::unique_ptr<TEngineCursor> OpenDbf(const std::string& path, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    return DbfDriver().OpenTable(params);
}

void CreateNameAndMemoTable(const std::string& path, const std::string& level, int nameSize)
{
    TCreateTableParams create;
    create.Path = path;
    create.Level = level;
    TEngineFieldDef name, notes;
    name.Name = "NAME";
    name.DataType = ftString;
    name.Size = nameSize;
    notes.Name = "NOTES";
    notes.DataType = ftMemo;
    create.Fields = {name, notes};
    DbfDriver().CreateTable(create);
}

std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor)
{
    std::vector<TEngineRecord> records;
    cursor.SetToBegin();
    TEngineRecord record;
    while (cursor.Next(record))
        records.push_back(record);
    return records;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void CopyFile(const std::string& from, const std::string& to)
{
    WriteFileBytes(to, ReadFileBytes(from));
}

std::string SharedDir()
{
    return TM_SHARED_DIR;
}

TDateTime MakeDate(int year, int month, int day)
{
    return static_cast<double>(DbfDates::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               DbfDates::UnixToDateTimeDays);
}
