// The dBASE driver on a generated table of 1,000,000 records with ten
// fields of mixed types: opening, going to the last record, a full scan
// reading every field as text, and appending 100,000 records.
//
//   build-dbf/bench/bench_dbf --benchmark_counters_tabular=true

#include "BenchDbfTable.h"

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

std::vector<TEngineFieldDef> BenchFields()
{
    return {BenchField("NAME", ftString, 20),          BenchField("CODE", ftString, 8),
            BenchField("QTY", ftInteger, 0, 9, 0),     BenchField("AMOUNT", ftFloat, 0, 12, 2),
            BenchField("SMALL", ftSmallint, 0, 4, 0),  BenchField("BORN", ftDate, 0),
            BenchField("OK", ftBoolean, 0),            BenchField("RATE", ftFloat, 0, 15, 4),
            BenchField("CITY", ftString, 24),          BenchField("BIG", ftLargeint, 0, 14, 0)};
}

TEngineDriver& Driver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

std::string CreateEmpty(const std::string& name)
{
    std::string path = BenchFolder + "/" + name;
    CreateBenchDbf(path, BenchFields());
    return path;
}

// The records are written as the format stores them (the writer's own
// speed is what the append benchmark measures).
const std::string& BigTable()
{
    static const std::string path = [] {
        std::string p = CreateEmpty("million.dbf");
        static const char* cities[] = {"Beijing", "Shanghai", "Guangzhou", "Shenzhen", "Chengdu", "Hangzhou"};
        FillBenchDbf(p, TableRecords, [](char* record, size_t size, int64_t i) {
            return std::snprintf(record, size, " %-20.20s%-8.8s%9lld%12.2f%4d%04d%02d%02d%c%15.4f%-24.24s%14lld",
                                 ("Customer " + std::to_string(i)).c_str(), ("C" + std::to_string(i % 100000)).c_str(),
                                 static_cast<long long>(i * 7 % 1000000000), (i % 100000) * 1.25 - 5000.0,
                                 static_cast<int>(i % 9999), 1950 + static_cast<int>(i % 70), 1 + static_cast<int>(i % 12),
                                 1 + static_cast<int>(i % 28), i % 3 ? 'T' : 'F', (i % 1000) / 7.0, cities[i % 6],
                                 static_cast<long long>(i * 1000003));
        });
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
