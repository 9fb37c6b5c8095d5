#include "ParadoxTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string SharedPath(const std::string& relative)
{
    return std::string(TM_SHARED_DIR) + "/testdata/" + relative;
}

std::unique_ptr<TEngineCursor> OpenParadox(const std::string& path, bool readOnly, std::vector<std::string> passwords)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    params.Passwords = std::move(passwords);
    return CreateParadoxDriver()->OpenTable(params);
}

std::vector<TEngineRecord> ReadAll(TEngineCursor& cursor)
{
    std::vector<TEngineRecord> all;
    TEngineRecord record;
    cursor.SetToBegin();
    while (cursor.Next(record))
        all.push_back(record);
    return all;
}

namespace {

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t UnixDayOf18991230 = -25569;

} // namespace

double CivilToDateTime(int year, int month, int day)
{
    return static_cast<double>(DaysFromCivil(year, month, day) - UnixDayOf18991230);
}

std::string DateText(double dateTime)
{
    int y, m, d;
    CivilFromDays(static_cast<int64_t>(std::floor(dateTime + 1e-9)) + UnixDayOf18991230, y, m, d);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    return buffer;
}

std::string TimeText(double dateTime)
{
    int64_t ms = std::llround((dateTime - std::floor(dateTime)) * 86400000.0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
    return buffer;
}

std::string DateTimeText(double dateTime)
{
    int64_t totalMs = std::llround(dateTime * 86400000.0);
    int64_t days = totalMs >= 0 ? totalMs / 86400000 : -((-totalMs + 86399999) / 86400000);
    int64_t ms = totalMs - days * 86400000;
    std::string text = DateText(static_cast<double>(days)) + "T" + TimeText(ms / 86400000.0);
    if (text.size() >= 4 && text.compare(text.size() - 4, 4, ".000") == 0)
        text.resize(text.size() - 4);
    return text;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
