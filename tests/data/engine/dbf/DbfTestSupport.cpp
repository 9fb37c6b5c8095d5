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
