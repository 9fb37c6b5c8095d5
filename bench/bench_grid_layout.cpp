// The grid's layout pass over 200 default columns bound to an open
// in-memory table of 200 fields: matching the columns to the field map,
// widths, tab stops, row and title heights and the row window.  Reported
// per pass (one iteration is one pass), with and without auto-fit sharing of the client width;
// and the pass over 100 columns under three-level titles, which rebuilds
// and measures the title tree.

#include "BenchApplication.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnTitleGx.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kFields = 200;

// A shown grid of 1200 x 600 pixels over the source.
std::unique_ptr<TDBGridGx> ShownGrid(TDataSource& source)
{
    auto grid = std::make_unique<TDBGridGx>();
    grid->resize(1200, 600);
    grid->show();
    QApplication::processEvents();
    grid->SetDataSource(&source);
    return grid;
}
constexpr int kRecords = 100;

struct TFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    std::unique_ptr<TDBGridGx> Grid;

    TFixture()
    {
        BenchApplication("bench_grid_layout");
        for (int i = 0; i < kFields; ++i) {
            std::string name = "F" + std::to_string(i);
            if (i % 2 == 0)
                Table.FieldDefs().Add(name, ftInteger);
            else
                Table.FieldDefs().Add(name, ftString, 10 + i % 20);
        }
        for (int r = 0; r < kRecords; ++r) {
            std::vector<TVariant> values;
            for (int i = 0; i < kFields; ++i)
                values.push_back(i % 2 == 0 ? TVariant(r * kFields + i) : TVariant("v" + std::to_string(r)));
            Table.AppendRecord(values);
        }
        Table.Open();
        Grid = ShownGrid(Source);
    }
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

void RunLayoutPasses(benchmark::State& state, bool autoFit)
{
    TFixture& f = Fixture();
    f.Grid->SetAutoFitColWidths(autoFit);
    const int before = f.Grid->LayoutPassCount();
    for (auto _ : state) {
        // An outermost lock and unlock runs exactly one pass.
        f.Grid->LockLayout();
        f.Grid->UnlockLayout();
    }
    if (f.Grid->Columns().Count() != kFields || f.Grid->LayoutPassCount() - before != state.iterations())
        state.SkipWithError("the grid did not lay out its 200 columns once per iteration");
}

// 100 columns whose captions group in three levels: ten groups of ten
// columns, each split in sub-groups of five.
struct TMultiTitleFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    std::unique_ptr<TDBGridGx> Grid;

    TMultiTitleFixture()
    {
        BenchApplication("bench_grid_layout");
        for (int i = 0; i < 100; ++i)
            Table.FieldDefs().Add("F" + std::to_string(i), ftInteger);
        Table.Open();
        Grid = ShownGrid(Source);
        Grid->LockLayout();
        for (int i = 0; i < 100; ++i)
            Grid->Columns()[i]->Title()->SetCaption("Group " + std::to_string(i / 10) + "|Part " +
                                                   std::to_string(i / 5) + "|Field " + std::to_string(i));
        Grid->SetUseMultiTitle(true);
        Grid->UnlockLayout();
    }
};

void BM_LayoutPass100ColumnsThreeLevelTitles(benchmark::State& state)
{
    static TMultiTitleFixture f;
    const int before = f.Grid->LayoutPassCount();
    for (auto _ : state) {
        f.Grid->LockLayout();
        f.Grid->UnlockLayout();
    }
    if (f.Grid->LayoutPassCount() - before != state.iterations() || f.Grid->TitleTree().Tree().Depth() != 3)
        state.SkipWithError("the grid did not lay out three title levels once per iteration");
}
BENCHMARK(BM_LayoutPass100ColumnsThreeLevelTitles)->Unit(benchmark::kMicrosecond);

void BM_LayoutPass200Columns(benchmark::State& state) { RunLayoutPasses(state, false); }
BENCHMARK(BM_LayoutPass200Columns)->Unit(benchmark::kMicrosecond);

void BM_LayoutPass200ColumnsAutoFit(benchmark::State& state) { RunLayoutPasses(state, true); }
BENCHMARK(BM_LayoutPass200ColumnsAutoFit)->Unit(benchmark::kMicrosecond);

}  // namespace
