// Editing in place on a shown grid over a dBASE table of 1,000,000
// records, the current record in the middle of the file.  OpenEditor:
// the editor shown over the NAME cell (its text, mask and limit read from
// the field).  PostOneEdit: a character typed into the open editor and
// the record posted (the editor's text written to the field, the record
// written to the file; the engine does not sync the disk on a post).
//
//   build/bench/bench_grid_edit --benchmark_counters_tabular=true

#include "BenchApplication.h"
#include "BenchDbfTable.h"

#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "grid/DBGridGx.h"
#include "grid/base/InplaceEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

constexpr int64_t kRecords = 1'000'000;

// A dBASE IV table of `kRecords` records: NAME C(20) "Customer <i>", QTY N(9).
std::string MillionNames()
{
    static const std::string path = [] {
        const std::string p = "/tmp/tm_bench_grid_edit/names.dbf";
        CreateBenchDbf(p, {BenchField("NAME", ftString, 20), BenchField("QTY", ftInteger, 0, 9, 0)});
        FillBenchDbf(p, kRecords, [](char* record, size_t size, int64_t i) {
            return std::snprintf(record, size, " %-20.20s%9lld", ("Customer " + std::to_string(i)).c_str(),
                                 static_cast<long long>(i));
        });
        return p;
    }();
    return path;
}

// The table open for writing under a shown, editable grid, on the middle
// record with the NAME column current.
struct TEditableGrid {
    TTable Table;
    TDataSource Source{&Table};
    TDBGridGx Grid;

    TEditableGrid()
    {
        RegisterBuiltinDrivers(Session().Engine());
        Table.SetTableName(MillionNames());
        Table.Open();
        Table.MoveBy(static_cast<int>(kRecords / 2));
        Grid.resize(900, 600);
        Grid.SetDataSource(&Source);
        Grid.SetOptions(Grid.Options() + dgEditing);
        Grid.show();
        QApplication::processEvents();
        Grid.setFocus();
        Grid.SetCol(Grid.DataToRawColumn(0));
    }
};

void OpenEditor(benchmark::State& state)
{
    BenchApplication("bench_grid_edit");
    TEditableGrid editing;
    for (auto _ : state) {
        editing.Grid.HideEditor();
        editing.Grid.ShowEditor();
    }
    if (!editing.Grid.InplaceEditor() || editing.Grid.InplaceEditor()->text().isEmpty())
        state.SkipWithError("the editor shows no text");
}
BENCHMARK(OpenEditor)->Unit(benchmark::kMicrosecond);

void PostOneEdit(benchmark::State& state)
{
    BenchApplication("bench_grid_edit");
    TEditableGrid editing;
    editing.Grid.ShowEditor();
    TInplaceEdit& editor = *editing.Grid.InplaceEditor();
    editor.setFocus();
    int typed = 0;
    for (auto _ : state) {
        editor.selectAll();
        const QString letter(QChar('a' + typed++ % 26));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, letter);
        QApplication::sendEvent(&editor, &press);
        editing.Table.Post();
    }
    if (editing.Table.FieldByName("NAME")->AsString().empty())
        state.SkipWithError("nothing was written");
}
BENCHMARK(PostOneEdit)->Unit(benchmark::kMicrosecond);

}  // namespace
