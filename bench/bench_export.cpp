// Exporting 100,000 records x 10 columns (integers, floats and texts, some
// Chinese) of an in-memory table through a grid, in each format, into a
// memory stream.  Reported as cells a second; the RTF run also reports the
// memory its body cache held.  The "Fresh" runs write into a new memory
// stream each time, so they include the stream's growth; the "Reused" runs
// write into one stream emptied between runs, which keeps its memory, and
// so measure the exporters themselves.

#include "BenchApplication.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "grid/DBGridGx.h"
#include "platform/Streams.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kFields = 10;
constexpr int kRecords = 100000;

struct TFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    std::unique_ptr<TDBGridGx> Grid;

    TFixture()
    {
        BenchApplication("bench_export");
        for (int i = 0; i < kFields; ++i) {
            const std::string name = "F" + std::to_string(i);
            if (i % 3 == 0)
                Table.FieldDefs().Add(name, ftInteger);
            else if (i % 3 == 1)
                Table.FieldDefs().Add(name, ftFloat);
            else
                Table.FieldDefs().Add(name, ftString, 20);
        }
        for (int r = 0; r < kRecords; ++r) {
            std::vector<TVariant> values;
            for (int i = 0; i < kFields; ++i) {
                if (i % 3 == 0)
                    values.push_back(TVariant(r * kFields + i));
                else if (i % 3 == 1)
                    values.push_back(TVariant(r * 0.25 + i));
                else
                    values.push_back(TVariant((i % 2 ? "名称 " : "name ") + std::to_string(r)));
            }
            Table.AppendRecord(values);
        }
        Table.Open();
        Grid = std::make_unique<TDBGridGx>();
        Grid->SetDataSource(&Source);
    }
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

template <class TExporter, bool Reused>
void RunExport(benchmark::State& state)
{
    TFixture& f = Fixture();
    TMemoryStream reused;
    if (Reused) {
        // One export beforehand grows the stream to its full size.
        TExporter warmUp;
        warmUp.Grid = f.Grid.get();
        warmUp.ExportIntoStream(reused, true);
    }
    int64_t bytes = 0;
    int64_t bodyCache = 0;
    for (auto _ : state) {
        TMemoryStream fresh;
        TMemoryStream& stream = Reused ? reused : fresh;
        stream.SetSize(0);
        TExporter exporter;
        exporter.Grid = f.Grid.get();
        exporter.ExportIntoStream(stream, true);
        bytes = stream.Size();
        if constexpr (std::is_same_v<TExporter, TDBGridGxExportAsRTF>)
            bodyCache = exporter.LastBodyCacheCapacity();
    }
    if (f.Grid->VisibleColumns().Count() != kFields || bytes == 0)
        state.SkipWithError("the grid did not export its 10 columns");
    state.counters["cells/s"] = benchmark::Counter(static_cast<double>(kRecords) * kFields * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    state.counters["output_MB"] = static_cast<double>(bytes) / (1024 * 1024);
    if (bodyCache)
        state.counters["rtf_body_cache_MB"] = static_cast<double>(bodyCache) / (1024 * 1024);
}

#define EXPORT_BENCHMARK(name, exporter)                                                                      \
    BENCHMARK(RunExport<exporter, false>)->Name("BM_Export" name "Fresh")->Unit(benchmark::kMillisecond);     \
    BENCHMARK(RunExport<exporter, true>)->Name("BM_Export" name "Reused")->Unit(benchmark::kMillisecond)

EXPORT_BENCHMARK("Text", TDBGridGxExportAsText);
EXPORT_BENCHMARK("CSV", TDBGridGxExportAsCSV);
EXPORT_BENCHMARK("RTF", TDBGridGxExportAsRTF);
EXPORT_BENCHMARK("HTML", TDBGridGxExportAsHTML);

}  // namespace
