// The dBASE driver keeping a compound index on a Visual FoxPro table of
// 1,000,000 records with three tags (character UPPER(NAME), numeric
// AMOUNT, integer ID as a candidate): rebuilding the three tags, one post
// changing indexed fields of a random record (no disk sync), and appending
// 100,000 records one post at a time and in one batch.
//
//   build/bench/bench_cdx --benchmark_counters_tabular=true

#include "data/engine/ByteOrder.h"
#include "data/engine/Engine.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "data/engine/dbf/DbfCursor.h"
#include "data/engine/dbf/DbfDriver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t TableRecords = 1'000'000;
const std::string BenchFolder = "/tmp/tm_bench_cdx";

TEngineDriver& Driver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

TEngineFieldDef Field(const std::string& name, TFieldType type, int size, const char* native = "")
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Required = true;
    def.NativeType = native;
    if (std::string(native) == "N") {
        def.Precision = 10;
        def.Scale = 2;
    }
    return def;
}

std::unique_ptr<TDbfCursor> Open(const std::string& path)
{
    TOpenTableParams params;
    params.Path = path;
    std::unique_ptr<TEngineCursor> cursor = Driver().OpenTable(params);
    return std::unique_ptr<TDbfCursor>(dynamic_cast<TDbfCursor*>(cursor.release()));
}

// The table's records written straight into the file (the engine's own
// appends are measured on their own), then an empty index of three tags.
std::string CreateTable(const std::string& name)
{
    std::filesystem::create_directories(BenchFolder);
    const std::string path = BenchFolder + "/" + name + ".dbf";
    const std::string indexPath = BenchFolder + "/" + name + ".cdx";
    std::filesystem::remove(path);
    std::filesystem::remove(indexPath);
    TCreateTableParams params;
    params.Path = path;
    params.Level = "VFP";
    params.Fields = {Field("ID", ftInteger, 0), Field("NAME", ftString, 20), Field("AMOUNT", ftFloat, 0, "N")};
    Driver().CreateTable(params);

    std::FILE* file = std::fopen(path.c_str(), "r+b");
    uint8_t header[32];
    if (!file || std::fread(header, 1, 32, file) != 32)
        throw std::runtime_error("cannot read the new table");
    const uint32_t headerLength = Le16(header + 8), recordLength = Le16(header + 10);
    std::mt19937 random(1);
    std::vector<uint8_t> records(static_cast<size_t>(recordLength) * TableRecords);
    for (uint32_t i = 0; i < TableRecords; ++i) {
        uint8_t* r = records.data() + static_cast<size_t>(i) * recordLength;
        r[0] = ' ';
        PutLe32(r + 1, i + 1);
        std::snprintf(reinterpret_cast<char*>(r + 5), 21, "%-20s", ("name " + std::to_string(random() % 500000)).c_str());
        std::snprintf(reinterpret_cast<char*>(r + 25), 11, "%10.2f", static_cast<double>(random() % 10000000) / 100.0);
    }
    // In 64 KiB writes, as a program writing through a buffer does: one
    // write of the whole table would leave it cached in pages so large that
    // every later record write pays for walking one.
    std::fseek(file, headerLength, SEEK_SET);
    for (size_t at = 0; at < records.size(); at += 65536)
        std::fwrite(records.data() + at, 1, std::min<size_t>(65536, records.size() - at), file);
    std::fputc(0x1A, file);
    PutLe32(header + 4, TableRecords);
    header[28] |= 0x01;
    std::fseek(file, 0, SEEK_SET);
    std::fwrite(header, 1, 32, file);
    std::fclose(file);
    cdx::CreateIndexFile(indexPath, {{"NAME", "UPPER(NAME)", "", 20, 0, false},
                                     {"AMOUNT", "AMOUNT", "", 8, 0, false},
                                     {"ID", "ID", "", 4, cdx::OptCandidate, false}});
    return path;
}

const std::string& IndexedTable()
{
    static std::string path = [] {
        std::string p = CreateTable("million");
        Open(p)->RebuildIndex();
        return p;
    }();
    return path;
}

void BM_RebuildThreeTagsOfAMillionRecords(benchmark::State& state)
{
    const std::string path = CreateTable("rebuild");
    for (auto _ : state) {
        auto table = Open(path);
        auto start = std::chrono::steady_clock::now();
        table->RebuildIndex();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["records"] = TableRecords;
}
BENCHMARK(BM_RebuildThreeTagsOfAMillionRecords)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_PostChangingIndexedFields(benchmark::State& state)
{
    auto table = Open(IndexedTable());
    std::mt19937 random(2);
    TEngineRecord record;
    for (auto _ : state) {
        state.PauseTiming();
        table->SetRecNo(1 + random() % TableRecords);
        table->ReadCurrent(record);
        record[1] = TVariant("changed " + std::to_string(random() % 1000000));
        record[2] = TVariant(static_cast<double>(random() % 100000) / 100.0);
        state.ResumeTiming();
        table->ModifyRecord(record);
    }
}
BENCHMARK(BM_PostChangingIndexedFields)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// Records with increasing IDs, names and amounts from a fixed sequence.
std::vector<TEngineRecord> NewRecords(TDbfCursor& table, int64_t count)
{
    std::mt19937 random(3);
    int32_t id = static_cast<int32_t>(table.RecordCount()) + 10;
    std::vector<TEngineRecord> records;
    records.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        records.push_back({TVariant(id++), TVariant("appended " + std::to_string(random() % 1000000)),
                           TVariant(static_cast<double>(random() % 100000) / 100.0)});
    return records;
}

// Wall time as the benchmark's time; CPU seconds and records a second as counters.
void ReportAppend(benchmark::State& state, int64_t count, std::chrono::steady_clock::time_point start,
                  std::clock_t cpuStart)
{
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.SetIterationTime(seconds);
    state.counters["records_per_s"] = count / seconds;
    state.counters["cpu_s"] = cpu;
}

constexpr int64_t AppendedRecords = 100'000;

void BM_AppendHundredThousand(benchmark::State& state)
{
    for (auto _ : state) {
        auto table = Open(IndexedTable());
        std::vector<TEngineRecord> records = NewRecords(*table, AppendedRecords);
        auto start = std::chrono::steady_clock::now();
        std::clock_t cpuStart = std::clock();
        for (TEngineRecord& record : records)
            table->InsertRecord(record, true);
        ReportAppend(state, AppendedRecords, start, cpuStart);
    }
}
BENCHMARK(BM_AppendHundredThousand)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AppendHundredThousandInOneBatch(benchmark::State& state)
{
    for (auto _ : state) {
        auto table = Open(IndexedTable());
        std::vector<TEngineRecord> records = NewRecords(*table, AppendedRecords);
        auto start = std::chrono::steady_clock::now();
        std::clock_t cpuStart = std::clock();
        size_t appended = 0;
        table->AppendRecords(records, appended);
        ReportAppend(state, AppendedRecords, start, cpuStart);
        if (appended != records.size())
            state.SkipWithError("the batch was not appended");
    }
}
BENCHMARK(BM_AppendHundredThousandInOneBatch)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
