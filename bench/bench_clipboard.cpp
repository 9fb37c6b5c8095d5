// Clipboard work on large selections: a copy of 100,000 records x 10
// columns in all five formats, a paste of 10,000 rows x 10 columns into a
// dBASE table and into a keyed Paradox table, and a delete of 10,000
// selected records.
//
//   build/bench/bench_clipboard --benchmark_filter=.

#include "BenchApplication.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/Engine.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "exchange/ClipboardActions.h"
#include "exchange/ClipboardFormats.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"
#include "platform/Streams.h"
#include "grid/DBGridGx.h"

#include <QClipboard>
#include <QMimeData>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

TEngineFieldDef Field(const char* name, TFieldType type, int size = 0)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    return def;
}

// Ten columns of the common kinds, the first an integer key.
std::vector<TEngineFieldDef> TenFields()
{
    return {Field("ID", ftInteger),       Field("NAME", ftString, 20), Field("CITY", ftString, 16),
            Field("AMOUNT", ftFloat),     Field("PRICE", ftFloat),     Field("BORN", ftDate),
            Field("ACTIVE", ftBoolean),   Field("COUNT", ftInteger),   Field("CODE", ftString, 8),
            Field("NOTE", ftString, 30)};
}

std::vector<TVariant> RecordOf(int id)
{
    const std::string n = std::to_string(id);
    return {TVariant(id), TVariant("名字" + n), TVariant("City " + n), TVariant(id * 1.25), TVariant(id / 7.0),
            TVariant::FromDateTime(30000 + id % 20000), TVariant(id % 2 == 0), TVariant(id % 1000),
            TVariant("C" + n), TVariant("a note on record " + n)};
}

struct TMemGrid {
    TMemTable Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;

    explicit TMemGrid(int records)
    {
        for (const TEngineFieldDef& def : TenFields())
            Table.FieldDefs().Add(def);
        for (int id = 1; id <= records; ++id)
            Table.AppendRecord(RecordOf(id));
        Table.Open();
        Source = std::make_unique<TDataSource>(&Table);
        Grid = std::make_unique<TDBGridGx>();
        Grid->resize(800, 400);
        Grid->SetDataSource(Source.get());
        Grid->SetOptions(Grid->Options() + dgMultiSelect - dgConfirmDelete);
    }
    ~TMemGrid() { Grid.reset(); }
};

void BM_CopyAllFormats100000x10(benchmark::State& state)
{
    BenchApplication("bench_clipboard");
    TMemGrid grid(100000);
    grid.Grid->Selection().SelectAll();
    for (auto _ : state) {
        CopySelectionToClipboard(*grid.Grid, false);
        benchmark::DoNotOptimize(QApplication::clipboard()->mimeData());
    }
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    state.counters["text_MB"] = mime->data(MimeTypeText).size() / 1e6;
    state.counters["rtf_MB"] = mime->data(MimeTypeRTF).size() / 1e6;
    state.counters["html_MB"] = mime->data(MimeTypeHTML).size() / 1e6;
}
BENCHMARK(BM_CopyAllFormats100000x10)->Unit(benchmark::kMillisecond)->Iterations(3);

// One format of the copy at a time: text, CSV, RTF, interchange, HTML.
template <class TExporter>
void BM_Copy100000x10As(benchmark::State& state)
{
    BenchApplication("bench_clipboard");
    TMemGrid grid(100000);
    grid.Grid->Selection().SelectAll();
    for (auto _ : state) {
        TMemoryStream stream;
        ExportGridToStream(ExportClass<TExporter>, *grid.Grid, stream, false);
        benchmark::DoNotOptimize(stream.Memory());
    }
}
BENCHMARK_TEMPLATE(BM_Copy100000x10As, TDBGridGxExportAsText)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_TEMPLATE(BM_Copy100000x10As, TDBGridGxExportAsCSV)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_TEMPLATE(BM_Copy100000x10As, TDBGridGxExportAsRTF)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_TEMPLATE(BM_Copy100000x10As, TDBGridGxExportAsVCLDBIF)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_TEMPLATE(BM_Copy100000x10As, TDBGridGxExportAsHTML)->Unit(benchmark::kMillisecond)->Iterations(2);

// Puts 10,000 rows x 10 columns in the interchange format on the clipboard.
void CopyTenThousandRows()
{
    static bool copied = false;
    if (copied)
        return;
    TMemGrid source(10000);
    source.Grid->Selection().SelectAll();
    CopySelectionToClipboard(*source.Grid, false);
    copied = true;
}

// Pastes the clipboard's 10,000 rows into an empty new table of the
// driver, keyed on its first keyFields fields.
void PasteIntoNewTable(benchmark::State& state, const char* driver, const char* extension, int keyFields)
{
    BenchApplication("bench_clipboard");
    static bool registered = false;
    if (!registered)
        RegisterBuiltinDrivers(Session().Engine());
    registered = true;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tm-bench-clipboard";
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CopyTenThousandRows();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        TCreateTableParams params;
        params.Path = (dir / ("paste" + std::to_string(run++) + extension)).string();
        params.Fields = TenFields();
        params.KeyFieldCount = keyFields;
        Session().Engine().Driver(driver).CreateTable(params);
        TTable table;
        table.SetTableName(params.Path);
        table.Open();
        TDataSource source(&table);
        TDBGridGx grid;
        grid.SetDataSource(&source);
        state.ResumeTiming();

        PasteIntoSelection(grid, false);

        state.PauseTiming();
        if (table.RecordCount() != 10000)
            state.SkipWithError("not every row was pasted");
        grid.SetDataSource(nullptr);
        table.Close();
        state.ResumeTiming();
    }
    std::filesystem::remove_all(dir);
}

void BM_Paste10000x10IntoDBase(benchmark::State& state)
{
    PasteIntoNewTable(state, "DBASE", ".dbf", 0);
}
BENCHMARK(BM_Paste10000x10IntoDBase)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Paste10000x10IntoKeyedParadox(benchmark::State& state)
{
    PasteIntoNewTable(state, "PARADOX", ".db", 1);
}
BENCHMARK(BM_Paste10000x10IntoKeyedParadox)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Delete10000SelectedRecords(benchmark::State& state)
{
    BenchApplication("bench_clipboard");
    for (auto _ : state) {
        state.PauseTiming();
        TMemGrid grid(20000);
        // Every other record selected.
        grid.Table.First();
        while (!grid.Table.Eof()) {
            grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
            grid.Table.MoveBy(2);
        }
        state.ResumeTiming();

        DeleteSelectedData(*grid.Grid, false);

        state.PauseTiming();
        if (grid.Table.RecordCount() != 10000)
            state.SkipWithError("not every selected record was deleted");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete10000SelectedRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
