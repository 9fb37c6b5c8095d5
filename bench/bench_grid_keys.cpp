// The grid's keyboard over many records.  IncSearchMiss: an incremental
// search step that matches no record walks the whole table and goes back
// to where it stood (one iteration: one search over 1,000,000 records, in
// memory or in a dBASE file); the counters give records per second and the
// paint events seen during the walk.  HoldPageDown: one PgDn key event on
// a shown grid over 100,000 records, painted before the next.

#include "BenchApplication.h"

#include "data/DataSetTestSupport.h"
#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "grid/DBGridGx.h"
#include "grid/input/DBGridGxIncSearch.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kSearchRecords = 1'000'000;
constexpr int kPageRecords = 100'000;

// Counts the paint events a widget gets.
class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

// A shown grid on a dataset, the NAME column current.
struct TGridOver {
    TDataSource Source;
    TDBGridGx Grid;
    TPaintCounter Counter;

    explicit TGridOver(TDataSet* dataSet) : Source(dataSet)
    {
        Grid.resize(1000, 700);
        Grid.SetDataSource(&Source);
        Grid.show();
        QApplication::processEvents();
        Grid.SetCol(Grid.DataToRawColumn(1));
        Grid.viewport()->installEventFilter(&Counter);
    }
};

// A dBASE file of `count` records: ID N(9), NAME C(20) "R<i>".
std::string DbfOfNames(int count)
{
    const std::string path = "/tmp/tm_bench_keys/names.dbf";
    std::filesystem::create_directories("/tmp/tm_bench_keys");
    if (std::filesystem::exists(path))
        return path;
    std::ofstream file(path, std::ios::binary);
    const int headerLength = 32 + 2 * 32 + 1;
    const int recordLength = 1 + 9 + 20;
    unsigned char header[32] = {0x03, 126, 12, 9};
    header[4] = static_cast<unsigned char>(count);
    header[5] = static_cast<unsigned char>(count >> 8);
    header[6] = static_cast<unsigned char>(count >> 16);
    header[7] = static_cast<unsigned char>(count >> 24);
    header[8] = static_cast<unsigned char>(headerLength);
    header[9] = static_cast<unsigned char>(headerLength >> 8);
    header[10] = static_cast<unsigned char>(recordLength);
    file.write(reinterpret_cast<const char*>(header), 32);
    auto descriptor = [&](const char* name, char type, int length) {
        unsigned char field[32] = {};
        std::snprintf(reinterpret_cast<char*>(field), 11, "%s", name);
        field[11] = static_cast<unsigned char>(type);
        field[16] = static_cast<unsigned char>(length);
        file.write(reinterpret_cast<const char*>(field), 32);
    };
    descriptor("ID", 'N', 9);
    descriptor("NAME", 'C', 20);
    file.put('\x0D');
    std::string chunk;
    char record[64];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(record, sizeof record, " %9d%-20.20s", i, ("R" + std::to_string(i)).c_str());
        chunk.append(record, recordLength);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    chunk += '\x1A';
    file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    return path;
}

void SearchMiss(benchmark::State& state, TDataSet& dataSet)
{
    TGridOver over(&dataSet);
    TDBGridGxIncSearch& search = over.Grid.Keyboard().IncSearch();
    over.Counter.Paints = 0;
    for (auto _ : state) {
        search.End();
        search.Step("no such name", TDBGridGxIncSearch::NoTimeout, TDBGridGxIncSearch::isdNone);
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSearchRecords, benchmark::Counter::kIsRate);
    // Paint events handled while searching (the event loop does not run
    // during the walk: any repaint would have to be a forced one).
    state.counters["paints"] = over.Counter.Paints;
}

void IncSearchMissMemory(benchmark::State& state)
{
    BenchApplication("bench_grid_keys");
    static std::unique_ptr<TMemTable> table = NumberedTable(kSearchRecords);
    table->First();
    SearchMiss(state, *table);
}
BENCHMARK(IncSearchMissMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void IncSearchMissDBase(benchmark::State& state)
{
    BenchApplication("bench_grid_keys");
    RegisterBuiltinDrivers(Session().Engine());
    TTable table;
    table.SetTableName(DbfOfNames(kSearchRecords));
    table.SetReadOnly(true);
    table.Open();
    SearchMiss(state, table);
}
BENCHMARK(IncSearchMissDBase)->Unit(benchmark::kMillisecond)->Iterations(3);

void HoldPageDown(benchmark::State& state)
{
    BenchApplication("bench_grid_keys");
    std::unique_ptr<TMemTable> table = NumberedTable(kPageRecords);
    TGridOver over(table.get());
    over.Grid.setFocus();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, table->Eof() ? Qt::Key_Home : Qt::Key_PageDown,
                        table->Eof() ? Qt::ControlModifier : Qt::NoModifier);
        QApplication::sendEvent(&over.Grid, &press);
        over.Grid.viewport()->repaint();
    }
    state.counters["rows/page"] = RowWindowOf(over.Grid).VisibleDataRowCount();
}
BENCHMARK(HoldPageDown)->Unit(benchmark::kMicrosecond);

}  // namespace
