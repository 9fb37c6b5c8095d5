// The Paradox driver on a generated keyed table of 1,000,000 records:
// opening, going to the last record, setting RecNo to random positions,
// a full scan reading every field, inserting 10,000 random keys, and the
// first search of the key field on a table just opened.
//
// The table is generated once per run in a scratch folder: an empty table
// from CreateTable, data blocks filled in key order (keys 2, 4, 6, ...),
// then one insert and delete through the engine, which writes the .PX.

#include "data/SearchedCursor.h"
#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/paradox/ParadoxDriver.h"
#include "data/engine/paradox/PxEncoding.h"
#include "data/engine/paradox/PxFile.h"
#include "data/engine/paradox/PxHeader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

constexpr int RecordTotal = 1000000;

struct TBenchTable {
    std::string Dir;
    std::string Path;

    TBenchTable()
    {
        char pattern[] = "/tmp/tm-bench-paradox-XXXXXX";
        Dir = mkdtemp(pattern);
        Path = Dir + "/million.db";
        Generate();
    }
    ~TBenchTable() { std::filesystem::remove_all(Dir); }

    static TEngineFieldDef Field(const char* name, TFieldType type, int size = 0)
    {
        TEngineFieldDef d;
        d.Name = name;
        d.DataType = type;
        d.Size = size;
        return d;
    }

    void Generate()
    {
        TCreateTableParams p;
        p.Path = Path;
        p.KeyFieldCount = 1;
        p.CodePage = 1252;
        p.Fields = {Field("Id", ftInteger), Field("Name", ftString, 20), Field("Amount", ftFloat),
                    Field("Born", ftDate), Field("Count", ftSmallint), Field("Active", ftBoolean)};
        CreateParadoxDriver()->CreateTable(p);

        px::TPxFile file;
        file.Open(Path, true);
        std::vector<uint8_t> raw(2048);
        file.ReadAt(0, raw.data(), raw.size());
        px::TPxHeader header = px::TPxHeader::Parse(raw, Path);
        const int recordSize = header.RecordSize(), blockSize = header.BlockSize();
        const int perBlock = (blockSize - 6) / recordSize;
        const int blocks = (RecordTotal + perBlock - 1) / perBlock;
        std::vector<uint8_t> block(blockSize);
        int written = 0;
        for (int b = 1; b <= blocks; ++b) {
            std::fill(block.begin(), block.end(), 0);
            int count = std::min(perBlock, RecordTotal - written);
            PutLe16(&block[0], static_cast<uint16_t>(b < blocks ? b + 1 : 0));
            PutLe16(&block[2], static_cast<uint16_t>(b - 1));
            PutLe16(&block[4], static_cast<uint16_t>((count - 1) * recordSize));
            for (int i = 0; i < count; ++i, ++written) {
                uint8_t* r = &block[6 + i * recordSize];
                px::EncodeInt(2LL * (written + 1), r, 4);
                std::string name = "Name " + std::to_string(written);
                std::memcpy(r + 4, name.data(), name.size());
                px::EncodeDouble(written * 0.25, r + 24);
                px::EncodeInt(700000 + written % 30000, r + 32, 4);
                px::EncodeInt(written % 30000, r + 36, 2);
                r[38] = written % 2 ? 0x81 : 0x80;
            }
            file.WriteAt(header.HeaderSize() + int64_t(b - 1) * blockSize, block.data(), block.size());
        }
        header.SetNumRecords(RecordTotal);
        header.SetBlocks(blocks, blocks, 1, blocks, 0);
        file.WriteAt(0, header.Raw.data(), header.Raw.size());
        file.Close();

        // One insert and delete through the engine writes a matching .PX.
        TOpenTableParams open;
        open.Path = Path;
        auto cursor = CreateParadoxDriver()->OpenTable(open);
        TEngineRecord record(6, TVariant::Null());
        record[0] = TVariant(int32_t(1));
        cursor->InsertRecord(record, false);
        cursor->DeleteRecord();
    }
};

TBenchTable& Table()
{
    static TBenchTable table;
    return table;
}

std::unique_ptr<TEngineCursor> Open(bool readOnly = true)
{
    TOpenTableParams p;
    p.Path = Table().Path;
    p.ReadOnly = readOnly;
    return CreateParadoxDriver()->OpenTable(p);
}

void BM_Open(benchmark::State& state)
{
    for (auto _ : state) {
        auto cursor = Open(false);
        benchmark::DoNotOptimize(cursor->RecordCount());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_Last(benchmark::State& state)
{
    auto cursor = Open();
    TEngineRecord record;
    for (auto _ : state) {
        cursor->SetToEnd();
        cursor->Prior(record);
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_Last)->Unit(benchmark::kMicrosecond);

void BM_SetRecNoRandom(benchmark::State& state)
{
    auto cursor = Open();
    TEngineRecord record;
    std::mt19937 random(1);
    for (auto _ : state) {
        cursor->SetRecNo(1 + random() % RecordTotal);
        cursor->ReadCurrent(record);
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_SetRecNoRandom)->Unit(benchmark::kMicrosecond);

// Locate on the key field right after the open, as a lookup list opening
// on its key does: range 0 the last key, 1 a key that is missing.
void BM_FirstKeySearch(benchmark::State& state)
{
    TEngineSearch search;
    const int32_t key = 2 * RecordTotal - static_cast<int32_t>(state.range(0));
    search.Terms.push_back({0, TVariant(key), false});
    for (auto _ : state) {
        state.PauseTiming();
        auto cursor = WithColumnSearch(Open());
        state.ResumeTiming();
        benchmark::DoNotOptimize(cursor->FindFirst(search));
    }
}
BENCHMARK(BM_FirstKeySearch)->ArgName("missing")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FullScan(benchmark::State& state)
{
    auto cursor = Open();
    TEngineRecord record;
    int64_t records = 0;
    for (auto _ : state) {
        cursor->SetToBegin();
        while (cursor->Next(record))
            ++records;
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond);

void BM_Insert10000RandomKeys(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = Table().Dir + "/copy.db";
        std::filesystem::copy_file(Table().Path, copy, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(Table().Dir + "/million.px", Table().Dir + "/copy.px",
                                   std::filesystem::copy_options::overwrite_existing);
        TOpenTableParams p;
        p.Path = copy;
        auto cursor = CreateParadoxDriver()->OpenTable(p);
        std::mt19937 random(2);
        TEngineRecord record(6, TVariant::Null());
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            record[0] = TVariant(int32_t(2 * (random() % RecordTotal) + 1));   // odd: between existing keys
            record[1] = TVariant("Inserted");
            try {
                cursor->InsertRecord(record, false);
            } catch (const EDBEngineError&) {
                // the same random key twice: a key violation, as it must be
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Insert10000RandomKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
