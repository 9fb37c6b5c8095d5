// Moving through 1,000,000 in-memory records with a bound grid: each
// MoveBy shifts the link's window, scrolls the grid's rows and repaints
// what the scroll uncovered (argument 1), or, with the grid hidden
// (argument 0), only keeps the row window and scroll bar in step.  One
// iteration is one MoveBy; the walk turns at either end of the table.

#include "BenchApplication.h"

#include "data/DataSetTestSupport.h"
#include "data/DataSource.h"
#include "grid/DBGridGx.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRecords = 1'000'000;

struct TScrollFixture {
    std::unique_ptr<TMemTable> Table = NumberedTable(kRecords);
    TDataSource Source{Table.get()};
    TDBGridGx Grid;

    TScrollFixture()
    {
        Grid.resize(1000, 700);
        Grid.show();
        QApplication::processEvents();
        Grid.SetDataSource(&Source);
        Table->MoveBy(kRecords / 2);
        QApplication::processEvents();
    }
};

TScrollFixture& Fixture()
{
    BenchApplication("bench_grid_scroll");
    static TScrollFixture fixture;
    return fixture;
}

// Moves by `step` records per iteration, turning round at either end.
void Walk(benchmark::State& state, int step)
{
    TScrollFixture& fixture = Fixture();
    fixture.Grid.setVisible(state.range(0) != 0);
    QApplication::processEvents();
    int direction = 1;
    for (auto _ : state) {
        if (fixture.Table->MoveBy(direction * step) != direction * step)
            direction = -direction;
    }
    QApplication::processEvents();
    state.counters["rows"] = RowWindowOf(fixture.Grid).VisibleDataRowCount();
}

void BM_GridMoveByOne(benchmark::State& state) { Walk(state, 1); }

void BM_GridMoveByPage(benchmark::State& state) { Walk(state, RowWindowOf(Fixture().Grid).VisibleDataRowCount()); }

}  // namespace

BENCHMARK(BM_GridMoveByOne)->ArgName("painted")->Arg(0)->Arg(1)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridMoveByPage)->ArgName("painted")->Arg(0)->Arg(1)->Iterations(10000)->Unit(benchmark::kMicrosecond);
