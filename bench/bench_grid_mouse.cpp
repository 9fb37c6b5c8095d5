// One column resize drag by mouse over a grid of 50 columns bound to an
// open in-memory table: a press on a title border, 200 mouse moves and the
// release, with the widths following the user's sizing.  Reported per
// mouse move, with the width applied on release and traced on every move.

#include "BenchApplication.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "grid/DBGridGx.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kColumns = 50;
constexpr int kRecords = 200;
constexpr int kMoves = 200;

struct TFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    std::unique_ptr<TDBGridGx> Grid;

    TFixture()
    {
        BenchApplication("bench_grid_mouse");
        for (int i = 0; i < kColumns; ++i)
            Table.FieldDefs().Add("F" + std::to_string(i), ftString, 12);
        for (int r = 0; r < kRecords; ++r) {
            std::vector<TVariant> values;
            for (int i = 0; i < kColumns; ++i)
                values.push_back(TVariant("r" + std::to_string(r) + "c" + std::to_string(i)));
            Table.AppendRecord(values);
        }
        Table.Open();
        Grid = std::make_unique<TDBGridGx>();
        Grid->SetBorderStyle(bsNone);
        Grid->resize(1200, 600);
        Grid->show();
        QApplication::setActiveWindow(Grid.get());
        QApplication::processEvents();
        Grid->SetDataSource(&Source);
        QApplication::processEvents();
    }
};

void ResizeDrag(benchmark::State& state, bool traced)
{
    TFixture f;
    TDBGridGx& grid = *f.Grid;
    if (traced)
        grid.SetOptionsGx(grid.OptionsGx() + dghTraceColSizing);
    QWidget* client = grid.viewport();
    const int col = grid.DataToRawColumn(2);
    for (auto _ : state) {
        const QRect title = grid.CellRect(col, 0);
        const QPoint border(title.right() + 1, title.top() + 2);
        QTest::mousePress(client, Qt::LeftButton, {}, border);
        for (int i = 1; i <= kMoves; ++i)
            QTest::mouseMove(client, border + QPoint(i % 2 == 0 ? i / 4 : -(i / 4), 0));
        QTest::mouseRelease(client, Qt::LeftButton, {}, border + QPoint(20, 0));
        QApplication::processEvents();
        benchmark::DoNotOptimize(grid.ColWidths(col));
    }
    state.SetItemsProcessed(state.iterations() * kMoves);
    state.counters["us_per_move"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kMoves),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ColumnResizeDrag(benchmark::State& state) { ResizeDrag(state, false); }
void BM_ColumnResizeDragTraced(benchmark::State& state) { ResizeDrag(state, true); }

}  // namespace

BENCHMARK(BM_ColumnResizeDrag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnResizeDragTraced)->Unit(benchmark::kMillisecond);
