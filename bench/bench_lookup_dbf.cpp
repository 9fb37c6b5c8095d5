// The drop-down lookup list over a 1,000,000-record dBASE table, without
// an index and with a compound index of a CODE tag and an UPPER(NAME) tag:
// the first search after opening the table (without an index it reads the
// records' values once into memory; with one it seeks in the tags), then
// opening the list on a key and typing ahead.  Runs headless; the tables
// are generated once under /tmp.
//
//   build/bench/bench_lookup_dbf --benchmark_counters_tabular=true

#include "BenchApplication.h"
#include "BenchDbfTable.h"
#include "BenchNames.h"

#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "data/engine/dbf/DbfCursor.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "editors/PopupDataListGx.h"
#include "editors/SearchClockGx.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kRecords = 1000000;

// CODE N(7) 1..kRecords, NAME C(10).
void CreateMillionCodes(const std::string& path)
{
    CreateBenchDbf(path, {BenchField("CODE", ftInteger, 0, 7, 0), BenchField("NAME", ftString, 10)});
    FillBenchDbf(path, kRecords, [](char* record, size_t size, int64_t i) {
        return std::snprintf(record, size, " %7lld%-10.10s", static_cast<long long>(i + 1),
                             BenchNameOf(static_cast<int>(i)).c_str());
    });
}

std::string MillionCodes()
{
    static const std::string path = [] {
        const std::string p = "/tmp/tm_bench_lookup/codes.dbf";
        CreateMillionCodes(p);
        return p;
    }();
    return path;
}

// The same records with a compound index: CODE and UPPER(NAME).
std::string IndexedMillionCodes()
{
    static const std::string path = [] {
        const std::string p = "/tmp/tm_bench_lookup/indexed.dbf";
        const std::string index = "/tmp/tm_bench_lookup/indexed.cdx";
        CreateMillionCodes(p);
        std::filesystem::remove(index);
        cdx::CreateIndexFile(index, {{"CODE", "CODE", "", 8, 0, false}, {"NAME", "UPPER(NAME)", "", 10, 0, false}});
        TOpenTableParams params;
        params.Path = p;
        std::unique_ptr<TEngineCursor> cursor = CreateDbfDriver()->OpenTable(params);
        dynamic_cast<TDbfCursor&>(*cursor).RebuildIndex();
        return p;
    }();
    return path;
}

std::string TableOf(int64_t indexed) { return indexed ? IndexedMillionCodes() : MillionCodes(); }

struct TDbfLookup {
    QApplication& Application = BenchApplication("bench_lookup_dbf");   // before any widget
    TTable Table;
    TDataSource Source{&Table};
    QWidget Owner;
    TPopupDataListGx List{&Owner};
    int64_t Now = 0;

    explicit TDbfLookup(const std::string& path)
    {
        RegisterBuiltinDrivers(Session().Engine());
        Table.SetTableName(path);
        Table.SetReadOnly(true);
        Table.Open();
        List.SetListSource(&Source);
        List.SetKeyField("CODE");
        List.SetListField("NAME");
        SearchClockGx() = [this] { return Now; };
    }

    // A character typed after the two-second pause: a new search.
    void TypeFresh(char32_t c)
    {
        Now += 10000;
        List.HandleSearchChar(c);
    }
};

// The first search on the table just opened: typeahead 0 shows the last
// key, 1 types a character that matches nothing, 2 one that matches.
void BM_DbfLookupFirstSearch(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TDbfLookup>(TableOf(state.range(0)));
        state.ResumeTiming();
        if (state.range(1) == 1)
            f->TypeFresh(U'#');
        else if (state.range(1) == 2)
            f->TypeFresh(U'q');
        else
            f->List.SetKeyValue(TVariant(kRecords));
        benchmark::DoNotOptimize(f->List.DisplayText());
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DbfLookupFirstSearch)
    ->ArgNames({"indexed", "typeahead"})
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

TDbfLookup& Searched(int64_t indexed)
{
    static TDbfLookup* lookups[2] = {};
    TDbfLookup*& lookup = lookups[indexed ? 1 : 0];
    if (!lookup) {
        lookup = new TDbfLookup(TableOf(indexed));   // lives to the end, like the application
        lookup->TypeFresh(U'#');                      // the first search (timed above)
    }
    return *lookup;
}

// Showing a key at several depths of the table.
void BM_DbfLookupShowKey(benchmark::State& state)
{
    TDbfLookup& f = Searched(state.range(0));
    const int key = static_cast<int>(state.range(1));
    for (auto _ : state) {
        f.List.SetKeyValue(TVariant(key));
        benchmark::DoNotOptimize(f.List.DisplayText());
        f.List.SetKeyValue(TVariant(1 + key % 7));
    }
}
BENCHMARK(BM_DbfLookupShowKey)
    ->ArgNames({"indexed", "key"})
    ->ArgsProduct({{0, 1}, {1000, 500000, 1000000}})
    ->Unit(benchmark::kMillisecond);

// The whole name of a record typed character by character; per character.
void BM_DbfLookupTypeAhead(benchmark::State& state)
{
    TDbfLookup& f = Searched(state.range(0));
    const std::string name = BenchNameOf(static_cast<int>(state.range(1)));
    int64_t characters = 0;
    for (auto _ : state) {
        f.Now += 10000;
        for (char c : name)
            f.List.HandleSearchChar(static_cast<char32_t>(c));
        characters += static_cast<int64_t>(name.size());
    }
    state.counters["per_char"] = benchmark::Counter(static_cast<double>(characters),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DbfLookupTypeAhead)
    ->ArgNames({"indexed", "record"})
    ->ArgsProduct({{0, 1}, {10, 50000, 900000}})
    ->Unit(benchmark::kMillisecond);

// A character that matches no name.
void BM_DbfLookupTypeAheadMiss(benchmark::State& state)
{
    TDbfLookup& f = Searched(state.range(0));
    for (auto _ : state)
        f.TypeFresh(U'#');
}
BENCHMARK(BM_DbfLookupTypeAheadMiss)->ArgName("indexed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
