// Grid painting: a full repaint of a 1600 x 1000 grid with 20 columns over
// 100,000 in-memory records, and a one-row scroll (MoveBy one beyond the
// window: the pixels move and only the uncovered strip, the old and new
// current rows, the indicator and the footers repaint).  Runs headless.

#include "BenchApplication.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRecords = 100000;
constexpr int kColumns = 20;

// 20 columns of the usual kinds: numbers, texts, a logical, amounts.
struct TPaintFixture {
    TMemTable Table;
    TDataSource Source{&Table};
    std::unique_ptr<TDBGridGx> Grid;

    explicit TPaintFixture(int footers)
    {
        BenchApplication("bench_grid_paint");
        Table.FieldDefs().Add("ID", ftInteger);
        for (int c = 1; c < kColumns; ++c) {
            const std::string name = "F" + std::to_string(c);
            switch (c % 4) {
            case 0:
                Table.FieldDefs().Add(name, ftInteger);
                break;
            case 1:
                Table.FieldDefs().Add(name, ftString, 12);
                break;
            case 2:
                Table.FieldDefs().Add(name, ftFloat);
                break;
            default:
                Table.FieldDefs().Add(name, c == 3 ? ftBoolean : ftString, 8);
                break;
            }
        }
        for (int i = 0; i < kRecords; ++i) {
            std::vector<TVariant> values{TVariant(i + 1)};
            for (int c = 1; c < kColumns; ++c) {
                switch (c % 4) {
                case 0:
                    values.emplace_back(i * c);
                    break;
                case 1:
                    values.emplace_back("Name " + std::to_string(i % 977));
                    break;
                case 2:
                    values.emplace_back(i * 0.25 + c);
                    break;
                default:
                    values.push_back(c == 3 ? TVariant(i % 2 == 0) : TVariant("T" + std::to_string(i % 31)));
                    break;
                }
            }
            Table.AppendRecord(values);
        }
        Table.Open();

        Grid = std::make_unique<TDBGridGx>();
        QFont font("DejaVu Sans");
        font.setPixelSize(13);
        Grid->SetFont(TFontGx(font));
        Grid->SetTitleFont(TFontGx(font));
        Grid->SetFooterFont(TFontGx(font));
        Grid->SetFooterRowCount(footers);
        Grid->SetDataSource(&Source);
        for (const auto& column : Grid->Columns()) {
            column->SetWidth(76);
            column->Footer()->SetValueType(fvtStaticText);
            column->Footer()->SetValue("Total");
        }
        Grid->resize(1600, 1000);
        Grid->show();
        QApplication::processEvents();
    }
};

void BM_FullRepaint(benchmark::State& state)
{
    TPaintFixture fixture(1);
    TDBGridGx& grid = *fixture.Grid;
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["rows"] = grid.DataLink()->RecordCount();
    state.counters["cols"] = grid.ColCount();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_OneRowScroll(benchmark::State& state)
{
    TPaintFixture fixture(1);
    TDBGridGx& grid = *fixture.Grid;
    TMemTable& table = fixture.Table;
    // The current record on the last row of the window: each MoveBy(1)
    // scrolls the window by one row and paints what that uncovers.
    auto toLastRow = [&] {
        table.First();
        table.MoveBy(grid.DataLink()->RecordCount() - 1);
        QApplication::processEvents();
    };
    toLastRow();
    // Data cells painted per scroll: one row's worth (the uncovered strip
    // and the current rows), not the window's.
    long cells = 0;
    grid.OnDrawColumnCell = [&](TCustomDBGridGx&, const QRect&, int, TColumnGx&, TGridDrawState) { ++cells; };
    for (auto _ : state) {
        if (table.Eof()) {
            state.PauseTiming();
            toLastRow();
            state.ResumeTiming();
        }
        table.MoveBy(1);
        QApplication::processEvents();
    }
    state.counters["cells"] = benchmark::Counter(static_cast<double>(cells), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OneRowScroll)->Unit(benchmark::kMicrosecond);

}  // namespace
