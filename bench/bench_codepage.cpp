// Guessing the code page of a table whose header names none, on a
// 1,000,000-record dBASE table of Russian texts in Windows-1251: opening it
// unmarked (sampling its first records and guessing) against opening the
// same table marked, and the guess alone on the sample.
//
//   build/bench/bench_codepage --benchmark_counters_tabular=true

#include "data/engine/CodePage.h"
#include "data/engine/CodePageDetect.h"
#include "data/engine/Engine.h"
#include "data/engine/dbf/DbfDriver.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t TableRecords = 1'000'000;
const std::string BenchFolder = "/tmp/tm_bench_codepage";

TEngineDriver& Driver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

const char* const Names[] = {"Иванов Иван Петрович", "Петрова Анна Сергеевна", "Сидоров Алексей",
                             "Смирнова Ольга",       "Кузнецов Дмитрий",       "Попова Елена"};
const char* const Cities[] = {"Москва, ул. Ленина", "Санкт-Петербург", "Новосибирск", "Казань, ул. Баумана"};

std::string Padded(const std::string& bytes, size_t width)
{
    return bytes.substr(0, width) + std::string(width > bytes.size() ? width - bytes.size() : 0, ' ');
}

// Writes the table once: the header through the driver, the records as bytes.
std::string TablePath(uint8_t languageDriver)
{
    std::string path = BenchFolder + "/ld" + std::to_string(languageDriver) + ".dbf";
    if (std::filesystem::exists(path))
        return path;
    std::filesystem::create_directories(BenchFolder);
    TCreateTableParams create;
    create.Path = path;
    create.Level = "III";
    create.CodePage = 1251;
    for (const char* name : {"NAME", "CITY"}) {
        TEngineFieldDef def;
        def.Name = name;
        def.DataType = ftString;
        def.Size = 30;
        create.Fields.push_back(def);
    }
    Driver().CreateTable(create);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    std::vector<char> header(32);
    file.read(header.data(), 32);
    const uint16_t headerLength = static_cast<uint8_t>(header[8]) | static_cast<uint8_t>(header[9]) << 8;
    TCodePage cp1251(1251);
    std::string block;
    for (size_t i = 0; i < 64; ++i)
        block += " " + Padded(cp1251.FromUtf8(Names[i % 6]), 30) + Padded(cp1251.FromUtf8(Cities[i % 4]), 30);
    file.seekp(headerLength);
    for (uint32_t written = 0; written < TableRecords; written += 64)
        file.write(block.data(), static_cast<std::streamsize>(block.size()));
    file.put('\x1A');
    const uint32_t count = TableRecords;
    char counts[4] = {char(count), char(count >> 8), char(count >> 16), char(count >> 24)};
    file.seekp(4);
    file.write(counts, 4);
    file.seekp(29);
    file.put(static_cast<char>(languageDriver));
    return path;
}

void OpenTable(benchmark::State& state, uint8_t languageDriver)
{
    const std::string path = TablePath(languageDriver);
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = true;
    for (auto _ : state) {
        auto cursor = Driver().OpenTable(params);
        benchmark::DoNotOptimize(cursor->CodePage());
        if (cursor->CodePage() != 1251)
            state.SkipWithError("the table was not read as Windows-1251");
    }
}

void BM_OpenUnmarked(benchmark::State& state)
{
    OpenTable(state, 0x00);
}

void BM_OpenMarked(benchmark::State& state)
{
    OpenTable(state, 0xC9);
}

void BM_DetectSample(benchmark::State& state)
{
    TCodePage cp1251(1251);
    TCodePageSample sample;
    for (int i = 0; i < 300; ++i) {
        sample.Add(cp1251.FromUtf8(Names[i % 6]));
        sample.Add(cp1251.FromUtf8(Cities[i % 4]));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectCodePage(sample).CodePage);
    state.counters["sample_bytes"] = static_cast<double>(sample.Size());
}

} // namespace

BENCHMARK(BM_OpenUnmarked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMarked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectSample)->Unit(benchmark::kMillisecond);
