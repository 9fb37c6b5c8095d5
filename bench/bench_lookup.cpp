// The drop-down lookup list over a 1,000,000-record in-memory lookup table:
// opening it on a key (binding the list, finding the key's record, filling
// and painting its window of rows) for keys at several depths of the table,
// and the type-ahead search, per character, while a name is typed.  Runs
// headless.
//
// Names are six pseudo-random letters (BenchNames.h).  The in-memory table
// answers key searches on its rising codes through its own order, and
// prefix searches ignoring case from the index of its text column that it
// fills while loading and keeps up to date afterwards (other searches
// build their index on first use); BM_LookupFirstSearch is the first
// search on a freshly loaded table, BM_LookupTableLoad the load itself.

#include "BenchApplication.h"
#include "BenchNames.h"

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "editors/PopupDataListGx.h"
#include "editors/SearchClockGx.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRecords = 1000000;

std::string NameOf(int index) { return BenchNameOf(index); }

struct TLookupFixture {
    QApplication& Application = BenchApplication("bench_lookup");   // before any widget
    TMemTable Table;
    TDataSource Source{&Table};
    QWidget Owner;

    TLookupFixture() { Load(Table); }

    // The table filled while closed, then opened.
    static void Load(TMemTable& table)
    {
        table.FieldDefs().Add("CODE", ftInteger);
        table.FieldDefs().Add("NAME", ftString, 20);
        for (int i = 0; i < kRecords; ++i)
            table.AppendRecord({TVariant(i + 1), TVariant(NameOf(i))});
        table.Open();
    }
};

TLookupFixture& Fixture()
{
    BenchApplication("bench_lookup");
    static TLookupFixture fixture;
    return fixture;
}

// A popup over the table, as the editor binds it.
void BindList(TPopupDataListGx& list, TDataSource& source)
{
    list.SetListSource(&source);
    list.SetKeyField("CODE");
    list.SetListField("NAME");
}

// Opening: a new popup bound to the table, given the key, painted once.
void BM_LookupOpen(benchmark::State& state)
{
    TLookupFixture& f = Fixture();
    const int key = static_cast<int>(state.range(0));
    QImage canvas(200, 200, QImage::Format_RGB32);
    f.Table.Locate("CODE", TVariant(key));   // the first search of its kind (BM_LookupFirstSearch times that)
    for (auto _ : state) {
        state.PauseTiming();
        f.Table.First();
        auto list = std::make_unique<TPopupDataListGx>(&f.Owner);
        state.ResumeTiming();
        list->SetRowCount(7);
        BindList(*list, f.Source);
        list->SetKeyValue(TVariant(key));
        list->render(&canvas);
        benchmark::DoNotOptimize(list->DisplayText());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LookupOpen)->ArgName("key")->Arg(1)->Arg(1000)->Arg(100000)->Arg(500000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Type-ahead: the whole name of the record at the given position typed
// character by character; reported per character.
void BM_LookupTypeAhead(benchmark::State& state)
{
    TLookupFixture& f = Fixture();
    const std::string name = NameOf(static_cast<int>(state.range(0)));
    TPopupDataListGx list(&f.Owner);
    BindList(list, f.Source);
    int64_t now = 0;
    SearchClockGx() = [&now] { return now; };
    list.HandleSearchChar(U'#');   // the first search of its kind (BM_LookupFirstSearch times that)
    int64_t characters = 0;
    for (auto _ : state) {
        now += 10000;   // a new search each round
        for (char c : name)
            list.HandleSearchChar(static_cast<char32_t>(c));
        characters += static_cast<int64_t>(name.size());
    }
    // Seconds of CPU time per typed character.
    state.counters["per_char"] = benchmark::Counter(static_cast<double>(characters),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LookupTypeAhead)->ArgName("record")->Arg(10)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A typed character that matches no name: without an index the search
// would walk the whole table.
void BM_LookupTypeAheadMiss(benchmark::State& state)
{
    TLookupFixture& f = Fixture();
    TPopupDataListGx list(&f.Owner);
    BindList(list, f.Source);
    int64_t now = 0;
    SearchClockGx() = [&now] { return now; };
    list.HandleSearchChar(U'#');   // the first search of its kind (BM_LookupFirstSearch times that)
    for (auto _ : state) {
        now += 10000;
        list.HandleSearchChar(U'#');
    }
}
BENCHMARK(BM_LookupTypeAheadMiss)->Unit(benchmark::kMillisecond);

// The first search of its kind on a freshly loaded table: range 0 opens
// the list on the last key, range 1 types one character that matches
// nothing, range 2 one that about 38,000 names start with.
void BM_LookupFirstSearch(benchmark::State& state)
{
    const int64_t kind = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TLookupFixture>();
        auto list = std::make_unique<TPopupDataListGx>(&f->Owner);
        BindList(*list, f->Source);
        int64_t now = 0;
        SearchClockGx() = [&now] { return now += 10000; };
        state.ResumeTiming();
        if (kind == 0)
            list->SetKeyValue(TVariant(kRecords));
        else
            list->HandleSearchChar(kind == 1 ? U'#' : U'm');
        benchmark::DoNotOptimize(list->DisplayText());
        state.PauseTiming();
        list.reset();
        f.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LookupFirstSearch)->ArgName("typeahead")->Arg(0)->Arg(1)->Arg(2)->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Loading the table: a million records appended while it is closed, then
// opened.  What the table prepares for its searches while loading counts.
void BM_LookupTableLoad(benchmark::State& state)
{
    for (auto _ : state) {
        auto table = std::make_unique<TMemTable>();
        TLookupFixture::Load(*table);
        benchmark::DoNotOptimize(table->StoredRecordCount());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LookupTableLoad)->Iterations(2)->Unit(benchmark::kMillisecond);

// One post that changes the name of a record in the middle of the table
// (edit: 0) or adds one (edit: 1 appended at the end, edit: 2 inserted in
// the middle), with the name column's index in use.  The record added is
// deleted again between rounds, untimed.
void BM_LookupIndexedEdit(benchmark::State& state)
{
    TLookupFixture& f = Fixture();
    const int edit = static_cast<int>(state.range(0));
    TMemTable& table = f.Table;
    table.Locate("NAME", TVariant("a"), {loCaseInsensitive, loPartialKey});   // the index in use
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string name = NameOf(kRecords + ++round);
        table.Locate("CODE", TVariant(kRecords / 2));
        state.ResumeTiming();
        if (edit == 0) {
            table.Edit();
            table.FieldByName("NAME")->SetAsString(name);
        } else {
            edit == 1 ? table.Append() : table.Insert();
            table.FieldByName("CODE")->SetAsInteger(kRecords + round);
            table.FieldByName("NAME")->SetAsString(name);
        }
        table.Post();
        if (edit != 0) {
            state.PauseTiming();
            table.Delete();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_LookupIndexedEdit)->ArgName("edit")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
