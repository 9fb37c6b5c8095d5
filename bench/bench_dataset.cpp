// Dataset navigation: Next through 1,000,000 in-memory records with one
// data link of 50 buffers, and MoveBy jumps of +-40.  Reported per move.

#include "data/DataLink.h"
#include "data/DataSource.h"
#include "data/MemTable.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRecords = 1000000;
constexpr int kBuffers = 50;

// A link like a grid's: it counts what it is told and reads nothing.
class TCountingLink : public TDataLink {
public:
    long Scrolls = 0;

protected:
    void DataSetScrolled(int distance) override { Scrolls += distance + 1; }
};

struct TFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    TCountingLink Link;

    TFixture()
    {
        Table.FieldDefs().Add("ID", ftInteger);
        Table.FieldDefs().Add("NAME", ftString, 12);
        Table.FieldDefs().Add("AMOUNT", ftFloat);
        for (int i = 0; i < kRecords; ++i)
            Table.AppendRecord({TVariant(i + 1), TVariant("N" + std::to_string(i)), TVariant(i * 0.5)});
        Link.SetBufferCount(kBuffers);
        Link.SetDataSource(&Source);
        Table.Open();
    }
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

void BM_NextThroughMillion(benchmark::State& state)
{
    TFixture& f = Fixture();
    int64_t moves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Table.First();
        state.ResumeTiming();
        while (!f.Table.Eof()) {
            f.Table.Next();
            ++moves;
        }
    }
    benchmark::DoNotOptimize(f.Link.Scrolls);
    state.counters["ns_per_move"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_NextThroughMillion)->Unit(benchmark::kMillisecond);

void BM_MoveByJumps40(benchmark::State& state)
{
    TFixture& f = Fixture();
    f.Table.SetRecNo(kRecords / 2);
    int64_t moves = 0;
    int direction = 1;
    int steps = 0;
    for (auto _ : state) {
        f.Table.MoveBy(40 * direction);
        ++moves;
        // Walk a long way one direction, then back, so the window keeps shifting.
        if (++steps == 5000) {
            steps = 0;
            direction = -direction;
        }
    }
    state.counters["ns_per_move"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveByJumps40);

void BM_MoveByAlternating40(benchmark::State& state)
{
    TFixture& f = Fixture();
    f.Table.SetRecNo(kRecords / 2);
    int direction = 1;
    for (auto _ : state) {
        f.Table.MoveBy(40 * direction);
        direction = -direction;
    }
    state.counters["ns_per_move"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveByAlternating40);

} // namespace
