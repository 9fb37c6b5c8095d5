// The drop-down lookup list over a 1,000,000-record dBASE table: the first
// search after opening the table (which reads the records' values once
// into memory), then opening the list on a key and typing ahead through
// the values kept.  Runs headless; the table is generated once under /tmp.

#include "BenchApplication.h"
#include "BenchDbfTable.h"
#include "BenchNames.h"

#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "editors/PopupDataListGx.h"
#include "editors/SearchClockGx.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kRecords = 1000000;

// CODE N(7) 1..kRecords, NAME C(10).
std::string MillionCodes()
{
    static const std::string path = [] {
        const std::string p = "/tmp/tm_bench_lookup/codes.dbf";
        CreateBenchDbf(p, {BenchField("CODE", ftInteger, 0, 7, 0), BenchField("NAME", ftString, 10)});
        FillBenchDbf(p, kRecords, [](char* record, size_t size, int64_t i) {
            return std::snprintf(record, size, " %7lld%-10.10s", static_cast<long long>(i + 1),
                                 BenchNameOf(static_cast<int>(i)).c_str());
        });
        return p;
    }();
    return path;
}

struct TDbfLookup {
    QApplication& Application = BenchApplication("bench_lookup_dbf");   // before any widget
    TTable Table;
    TDataSource Source{&Table};
    QWidget Owner;
    TPopupDataListGx List{&Owner};
    int64_t Now = 0;

    TDbfLookup()
    {
        RegisterBuiltinDrivers(Session().Engine());
        Table.SetTableName(MillionCodes());
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

// The first search on the table just opened: range 0 shows the last key,
// range 1 types a character that matches nothing.
void BM_DbfLookupFirstSearch(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TDbfLookup>();
        state.ResumeTiming();
        if (state.range(0) == 1)
            f->TypeFresh(U'#');
        else
            f->List.SetKeyValue(TVariant(kRecords));
        benchmark::DoNotOptimize(f->List.DisplayText());
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DbfLookupFirstSearch)->ArgName("typeahead")->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

TDbfLookup& Searched()
{
    static TDbfLookup* lookup = [] {
        auto* l = new TDbfLookup;   // lives to the end, like the application
        l->TypeFresh(U'#');         // the first search (timed above)
        return l;
    }();
    return *lookup;
}

// Showing a key at several depths of the table.
void BM_DbfLookupShowKey(benchmark::State& state)
{
    TDbfLookup& f = Searched();
    const int key = static_cast<int>(state.range(0));
    for (auto _ : state) {
        f.List.SetKeyValue(TVariant(key));
        benchmark::DoNotOptimize(f.List.DisplayText());
        f.List.SetKeyValue(TVariant(1 + key % 7));
    }
}
BENCHMARK(BM_DbfLookupShowKey)->ArgName("key")->Arg(1000)->Arg(500000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The whole name of a record typed character by character; per character.
void BM_DbfLookupTypeAhead(benchmark::State& state)
{
    TDbfLookup& f = Searched();
    const std::string name = BenchNameOf(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_DbfLookupTypeAhead)->ArgName("record")->Arg(10)->Arg(50000)->Arg(900000)->Unit(benchmark::kMillisecond);

// A character that matches no name.
void BM_DbfLookupTypeAheadMiss(benchmark::State& state)
{
    TDbfLookup& f = Searched();
    for (auto _ : state)
        f.TypeFresh(U'#');
}
BENCHMARK(BM_DbfLookupTypeAheadMiss)->Unit(benchmark::kMillisecond);

} // namespace
