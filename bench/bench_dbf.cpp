// The dBASE driver on a generated table of 1,000,000 records with ten
// fields of mixed types: opening, going to the last record, a full scan
// reading every field as text, and appending 100,000 records.
//
//   build-dbf/bench/bench_dbf --benchmark_counters_tabular=true

#include "data/engine/Engine.h"
#include "data/engine/dbf/DbfDriver.h"
#include "platform/Exceptions.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int64_t TableRecords = 1'000'000;
const std::string BenchFolder = "/tmp/tm_bench_dbf";

TEngineFieldDef Field(const std::string& name, TFieldType type, int size, int precision = 0, int scale = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Precision = precision;
    def.Scale = scale;
    return def;
}

std::vector<TEngineFieldDef> BenchFields()
{
    return {Field("NAME", ftString, 20),          Field("CODE", ftString, 8),
            Field("QTY", ftInteger, 0, 9, 0),     Field("AMOUNT", ftFloat, 0, 12, 2),
            Field("SMALL", ftSmallint, 0, 4, 0),  Field("BORN", ftDate, 0),
            Field("OK", ftBoolean, 0),            Field("RATE", ftFloat, 0, 15, 4),
            Field("CITY", ftString, 24),          Field("BIG", ftLargeint, 0, 14, 0)};
}

TEngineDriver& Driver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

std::string CreateEmpty(const std::string& name)
{
    std::filesystem::create_directories(BenchFolder);
    std::string path = BenchFolder + "/" + name;
    std::filesystem::remove(path);
    TCreateTableParams params;
    params.Path = path;
    params.Level = "IV";
    params.Fields = BenchFields();
    Driver().CreateTable(params);
    return path;
}

// The records are written as the format stores them (the writer's own
// speed is what the append benchmark measures).
const std::string& BigTable()
{
    static const std::string path = [] {
        std::string p = CreateEmpty("million.dbf");
        std::fstream file(p, std::ios::in | std::ios::out | std::ios::binary);
        char header[32];
        file.read(header, sizeof header);
        uint32_t headerLength = static_cast<uint8_t>(header[8]) | (static_cast<uint8_t>(header[9]) << 8);
        uint32_t recordLength = static_cast<uint8_t>(header[10]) | (static_cast<uint8_t>(header[11]) << 8);
        static const char* cities[] = {"Beijing", "Shanghai", "Guangzhou", "Shenzhen", "Chengdu", "Hangzhou"};
        std::string chunk;
        char record[512];
        file.seekp(headerLength);
        for (int64_t i = 0; i < TableRecords; ++i) {
            int n = std::snprintf(record, sizeof record, " %-20.20s%-8.8s%9lld%12.2f%4d%04d%02d%02d%c%15.4f%-24.24s%14lld",
                                  ("Customer " + std::to_string(i)).c_str(), ("C" + std::to_string(i % 100000)).c_str(),
                                  static_cast<long long>(i * 7 % 1000000000), (i % 100000) * 1.25 - 5000.0,
                                  static_cast<int>(i % 9999), 1950 + static_cast<int>(i % 70), 1 + static_cast<int>(i % 12),
                                  1 + static_cast<int>(i % 28), i % 3 ? 'T' : 'F', (i % 1000) / 7.0, cities[i % 6],
                                  static_cast<long long>(i * 1000003));
            if (n != static_cast<int>(recordLength))
                throw std::runtime_error("generated record has the wrong length");
            chunk.append(record, static_cast<size_t>(n));
            if (chunk.size() > (1 << 20)) {
                file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                chunk.clear();
            }
        }
        chunk += '\x1A';
        file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        uint32_t count = static_cast<uint32_t>(TableRecords);
        char countBytes[4] = {static_cast<char>(count), static_cast<char>(count >> 8), static_cast<char>(count >> 16),
                              static_cast<char>(count >> 24)};
        file.seekp(4);
        file.write(countBytes, 4);
        return p;
    }();
    return path;
}

std::unique_ptr<TEngineCursor> Open(const std::string& path, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    return Driver().OpenTable(params);
}

void BM_Open(benchmark::State& state)
{
    const std::string& path = BigTable();
    for (auto _ : state) {
        auto cursor = Open(path, false);
        benchmark::DoNotOptimize(cursor->FieldDefs().size());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_Last(benchmark::State& state)
{
    auto cursor = Open(BigTable(), true);
    TEngineRecord record;
    for (auto _ : state) {
        cursor->SetToEnd();
        if (!cursor->Prior(record))
            state.SkipWithError("no last record");
        cursor->SetToBegin();
    }
}
BENCHMARK(BM_Last)->Unit(benchmark::kMicrosecond);

void BM_FullScanAsString(benchmark::State& state)
{
    auto cursor = Open(BigTable(), true);
    TEngineRecord record;
    int64_t records = 0;
    for (auto _ : state) {
        size_t characters = 0;
        cursor->SetToBegin();
        while (cursor->Next(record)) {
            for (const TVariant& value : record)
                characters += value.AsString().size();
            ++records;
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_FullScanAsString)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same scan without the text conversions: what reading and decoding
// the records costs by itself.
void BM_FullScanDecodeOnly(benchmark::State& state)
{
    auto cursor = Open(BigTable(), true);
    TEngineRecord record;
    int64_t records = 0;
    for (auto _ : state) {
        cursor->SetToBegin();
        while (cursor->Next(record))
            ++records;
        benchmark::DoNotOptimize(record.data());
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_FullScanDecodeOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Append100k(benchmark::State& state)
{
    constexpr int Appends = 100'000;
    for (auto _ : state) {
        state.PauseTiming();
        std::string path = CreateEmpty("append.dbf");
        auto cursor = Open(path, false);
        TEngineRecord record = {TVariant("New customer"), TVariant("N1"),     TVariant(int32_t(12345)),
                                TVariant(99.5),           TVariant(int32_t(7)), TVariant::FromDateTime(40000.0),
                                TVariant(true),           TVariant(0.125),      TVariant("Xi'an"),
                                TVariant(int64_t(1234567890123))};
        state.ResumeTiming();
        for (int i = 0; i < Appends; ++i) {
            TEngineRecord values = record;
            cursor->InsertRecord(values, true);
        }
    }
    state.SetItemsProcessed(state.iterations() * Appends);
}
BENCHMARK(BM_Append100k)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
