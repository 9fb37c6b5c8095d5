// Footer summaries over a dBASE table of 1,000,000 records opened through
// the dataset: the first walk with three items (a sum, an average and a
// record count), and one post that updates the three items by difference
// without a walk.
//
//   build/bench/bench_sum_list --benchmark_counters_tabular=true

#include "BenchDbfTable.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "grid/footers/DBSumList.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int64_t TableRecords = 1'000'000;
const std::string BenchFolder = "/tmp/tm_bench_sum_list";

// NAME C(20), QTY N(9), AMOUNT N(12,2), RATE N(15,4).
const std::string& MillionRecordTable()
{
    static const std::string path = [] {
        const std::string p = BenchFolder + "/million.dbf";
        CreateBenchDbf(p, {BenchField("NAME", ftString, 20), BenchField("QTY", ftInteger, 0, 9, 0),
                           BenchField("AMOUNT", ftFloat, 0, 12, 2), BenchField("RATE", ftFloat, 0, 15, 4)});
        FillBenchDbf(p, TableRecords, [](char* record, size_t size, int64_t i) {
            return std::snprintf(record, size, " %-20.20s%9lld%12.2f%15.4f", ("Customer " + std::to_string(i)).c_str(),
                                 static_cast<long long>(i % 100000), (i % 100000) * 1.25 - 5000.0, (i % 1000) / 7.0);
        });
        return p;
    }();
    return path;
}

// A summary list with a sum, an average and a record count over an open
// table (the list inactive until a benchmark switches it on).
struct TSummedTable {
    TTable Table;
    TDBSumListProducer List;
    TDBSum* Sum;
    TDBSum* Count;

    TSummedTable()
    {
        static bool registered = false;
        if (!registered)
            RegisterBuiltinDrivers(Session().Engine());
        registered = true;
        Table.SetTableName(MillionRecordTable());
        Sum = &List.SumCollection().Add();
        Sum->SetFieldName("AMOUNT");
        TDBSum& average = List.SumCollection().Add();
        average.SetFieldName("QTY");
        average.SetGroupOperation(goAvg);
        Count = &List.SumCollection().Add();
        Count->SetGroupOperation(goCount);
        Table.Open();
        List.SetDataSet(&Table);
    }
};

void BM_FirstWalkThreeItems(benchmark::State& state)
{
    TSummedTable summed;
    for (auto _ : state) {
        summed.List.SetActive(true);   // hooks and walks every record
        state.PauseTiming();
        if (summed.Count->SumValue() != TableRecords * 10000)
            state.SkipWithError("the walk did not count every record");
        summed.List.SetActive(false);
        state.ResumeTiming();
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(TableRecords) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FirstWalkThreeItems)->Unit(benchmark::kMillisecond)->Iterations(3);

// The post itself writes the record to the file; the summary work is the
// difference between this and the same post with the list inactive.
void RunPosts(benchmark::State& state, bool active)
{
    TSummedTable summed;
    summed.List.SetActive(active);
    summed.Table.MoveBy(500'000);
    TField& amount = *summed.Table.FieldByName("AMOUNT");
    double value = 1.0;
    int walks = 0;
    summed.List.OnRecalcAll = [&walks] { ++walks; };
    for (auto _ : state) {
        summed.Table.Edit();
        amount.SetAsFloat(value);
        value = value > 1000 ? 1.0 : value + 0.25;
        summed.Table.Post();
    }
    if (walks != 0)
        state.SkipWithError("a post walked the table");
}

void BM_PostUpdatingThreeItems(benchmark::State& state) { RunPosts(state, true); }
BENCHMARK(BM_PostUpdatingThreeItems)->Unit(benchmark::kMicrosecond);

void BM_PostWithoutSummaries(benchmark::State& state) { RunPosts(state, false); }
BENCHMARK(BM_PostWithoutSummaries)->Unit(benchmark::kMicrosecond);

}  // namespace
