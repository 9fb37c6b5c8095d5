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
