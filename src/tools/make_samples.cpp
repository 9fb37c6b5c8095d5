// Writes the demo tables a new user can open at once: samples/demo.dbf (a
// dBASE table with Chinese text, a memo, dates, logicals and numbers) and
// samples/demo.db (a keyed Paradox table with a blob file).  Both are made
// by the program's own engine, through CreateTable and cursor inserts.
//
//   make_samples [output-folder]      (default: ./samples)

#include "data/engine/Engine.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

TEngineFieldDef Column(std::string name, TFieldType type, int size = 0, int precision = 0, int scale = 0)
{
    TEngineFieldDef def;
    def.Name = std::move(name);
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    return def;
}

TVariant Date(int year, int month, int day)
{
    return TVariant::FromDateTime(EncodeDate(year, month, day));
}

// Removes a table and the files that belong to it, so a new run starts clean.
void RemoveTableFiles(const fs::path& table, std::initializer_list<const char*> extensions)
{
    for (const char* extension : extensions) {
        fs::path file = table;
        file.replace_extension(extension);
        fs::remove(file);
    }
}

int64_t WriteTable(TEngineDriver& driver, const TCreateTableParams& params, std::vector<TEngineRecord> rows)
{
    driver.CreateTable(params);
    TOpenTableParams open;
    open.Path = params.Path;
    auto cursor = driver.OpenTable(open);
    for (TEngineRecord& row : rows) {
        TEngineRecord record = cursor->BlankRecord();
        for (size_t i = 0; i < row.size() && i < record.size(); ++i)
            record[i] = row[i];
        cursor->InsertRecord(record, /*append=*/true);
    }
    return cursor->RecordCount();
}

int64_t WriteDbaseDemo(TEngine& engine, const fs::path& path)
{
    RemoveTableFiles(path, {".dbf", ".dbt", ".fpt", ".mdx", ".cdx"});
    TCreateTableParams params;
    params.Path = path.string();
    params.CodePage = 936;
    params.Fields = {
        Column("NAME", ftString, 20),       Column("CITY", ftString, 12),
        Column("QTY", ftFloat, 0, 6, 0),     Column("PRICE", ftFloat, 0, 10, 2),
        Column("ORDERED", ftDate),          Column("PAID", ftBoolean),
        Column("NOTES", ftMemo),
    };
    std::vector<TEngineRecord> rows = {
        {"宣纸", "泾县", 120, 38.50, Date(2024, 3, 1), true, "安徽泾县出产的生宣，适合写意画。"},
        {"毛笔", "湖州", 45, 26.00, Date(2024, 3, 5), true, "湖笔，兼毫，中楷。"},
        {"墨锭", "歙县", 30, 88.80, Date(2024, 4, 12), false, "徽墨，油烟墨。\n存放于干燥处。"},
        {"砚台", "肇庆", 8, 560.00, Date(2024, 5, 20), false, TVariant::Null()},
        {"Green tea", "杭州", 200, 15.75, Date(2024, 6, 18), true, "Spring harvest, 250 g tins."},
        {"印泥", "漳州", 60, 42.30, TVariant::Null(), true, "朱砂印泥，八宝。"},
        {"镇纸", "苏州", 25, 66.60, Date(2025, 1, 8), TVariant::Null(), "红木镇纸一对。"},
        {"Notebook", "上海", 500, 4.20, Date(2025, 2, 28), false, "A5, lined, 96 pages."},
    };
    return WriteTable(engine.Driver("DBASE"), params, std::move(rows));
}

int64_t WriteParadoxDemo(TEngine& engine, const fs::path& path)
{
    RemoveTableFiles(path, {".db", ".mb", ".px", ".val", ".tv", ".fam"});
    TCreateTableParams params;
    params.Path = path.string();
    params.CodePage = 936;
    params.KeyFieldCount = 1;
    params.Fields = {
        Column("ID", ftInteger),      Column("NAME", ftString, 24),   Column("CATEGORY", ftString, 10),
        Column("PRICE", ftCurrency),  Column("STOCK", ftSmallint),     Column("ADDED", ftDate),
        Column("ONSALE", ftBoolean),  Column("NOTES", ftMemo, 10),
    };
    params.Fields[0].Required = true;
    std::vector<TEngineRecord> rows = {
        {1001, "青花瓷茶杯", "茶具", 128.0, int32_t(36), Date(2024, 1, 15), true, "景德镇手绘青花，容量150毫升。"},
        {1002, "紫砂壶", "茶具", 880.0, int32_t(5), Date(2024, 2, 3), true, "宜兴原矿紫泥，西施壶型。"},
        {1003, "龙井茶", "茶叶", 268.0, int32_t(120), Date(2024, 4, 1), false, "明前西湖龙井，二百五十克。"},
        {1004, "普洱茶饼", "茶叶", 199.0, int32_t(48), Date(2023, 11, 20), true, TVariant::Null()},
        {1005, "Bamboo tray", "茶具", 156.5, int32_t(12), Date(2024, 6, 9), false, "Tea tray, 40 x 25 cm."},
        {1006, "铁观音", "茶叶", 158.0, int32_t(0), TVariant::Null(), false, "安溪清香型。"},
    };
    return WriteTable(engine.Driver("PARADOX"), params, std::move(rows));
}

} // namespace

int main(int argc, char** argv)
{
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path("samples");
    try {
        fs::create_directories(folder);
        TEngine engine;
        RegisterBuiltinDrivers(engine);
        const int64_t dbaseRecords = WriteDbaseDemo(engine, folder / "demo.dbf");
        std::printf("%s: %lld records\n", (folder / "demo.dbf").string().c_str(), static_cast<long long>(dbaseRecords));
        const int64_t paradoxRecords = WriteParadoxDemo(engine, folder / "demo.db");
        std::printf("%s: %lld records\n", (folder / "demo.db").string().c_str(), static_cast<long long>(paradoxRecords));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
