#include "CdxTestSupport.h"

#include "data/engine/dbf/CdxRebuild.h"
#include "data/engine/dbf/DbfDriver.h"
#include "support/CommandRun.h"
#include "support/FileBytes.h"
#include "support/ScratchDir.h"

#include "platform/DateTimeFormat.h"

#include <gtest/gtest.h>
#include "platform/Variant.h"

#include <cctype>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

const char* const Names[] = {"smith", "Jones", "Miller", "o'Brien", "Zhang", "adams", "Baker", "Clark", "Young",
                             "Walker", "hall", "Allen", "King", "Wright", "Lopez", "Hill"};
const char* const Cities[] = {"Berlin", "Paris", "Rome", "Madrid", "Oslo", "Vienna", "Prague", "Lisbon",
                              "Dublin", "Athens", "Sofia", "Riga", "Bern", "Warsaw"};

const char* const PerlScript =
    "use strict; use XBase::Index;\n"
    "my ($file, @tags) = @ARGV;\n"
    "for my $tag (@tags) {\n"
    "  my $index = XBase::Index->new($file, 'tag' => $tag, 'type' => 'C') or die XBase::Index->errstr;\n"
    "  print \"tag $tag\\n\";\n"
    "  $index->prepare_select;\n"
    "  while (my ($key, $rec) = $index->fetch) { print \"$rec\\n\"; }\n"
    "}\n";

std::string PerlScriptPath()
{
    static std::string path = [] {
        std::string p = "/tmp/tm_cdx_order_" + std::to_string(::getpid()) + ".pl";
        WriteFileBytes(p, PerlScript);
        return p;
    }();
    return path;
}

TEngineFieldDef Field(const std::string& name, TFieldType type, int size, bool required)
{
    TEngineFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    def.Required = required;
    return def;
}

} // namespace

TEngineDriver& CdxDbfDriver()
{
    static std::shared_ptr<TEngineDriver> driver = CreateDbfDriver();
    return *driver;
}

std::unique_ptr<TDbfCursor> OpenIndexedTable(const std::string& path, bool readOnly)
{
    TOpenTableParams params;
    params.Path = path;
    params.ReadOnly = readOnly;
    std::unique_ptr<TEngineCursor> cursor = CdxDbfDriver().OpenTable(params);
    auto* table = dynamic_cast<TDbfCursor*>(cursor.get());
    if (!table)
        throw std::runtime_error("not a dBASE cursor");
    cursor.release();
    return std::unique_ptr<TDbfCursor>(table);
}

TEngineRecord RandomRecord(std::mt19937& random, int32_t id)
{
    std::uniform_int_distribution<int> name(0, std::size(Names) - 1), city(0, std::size(Cities) - 1);
    std::uniform_int_distribution<int> cents(-100000, 100000), day(0, 20000), nullChance(0, 9);
    TEngineRecord record(5);
    record[FieldId] = TVariant(id);
    record[FieldName] = TVariant(std::string(Names[name(random)]) + " " + std::to_string(random() % 50));
    record[FieldCity] = TVariant(std::string(Cities[city(random)]));
    record[FieldAmount] = TVariant(cents(random) / 100.0);
    if (nullChance(random) == 0) {
        record[FieldBorn] = TVariant::Null();
    } else {
        TDateTime date = EncodeDate(1950, 1, 1) + day(random);
        record[FieldBorn] = TVariant::FromDateTime(date);
    }
    return record;
}

std::string MakeIndexedTable(const std::string& dir, const std::string& stem, uint32_t records, uint32_t seed)
{
    TCreateTableParams create;
    create.Path = dir + "/" + stem + ".dbf";
    create.Level = "VFP";
    TEngineFieldDef amount = Field("AMOUNT", ftFloat, 0, true);
    amount.NativeType = "N";
    amount.Precision = 10;
    amount.Scale = 2;
    create.Fields = {Field("ID", ftInteger, 0, true), Field("NAME", ftString, 20, true),
                     Field("CITY", ftString, 12, true), amount, Field("BORN", ftDate, 0, false)};
    CdxDbfDriver().CreateTable(create);
    {
        auto table = OpenIndexedTable(create.Path);
        std::mt19937 random(seed);
        for (uint32_t i = 1; i <= records; ++i) {
            TEngineRecord record = RandomRecord(random, static_cast<int32_t>(i));
            table->InsertRecord(record, true);
        }
    }
    using cdx::TTagDefinition;
    std::vector<TTagDefinition> tags = {
        {"ID", "ID", "", 4, cdx::OptCandidate, false},
        {"NAME", "UPPER(NAME)", "!DELETED()", 20, 0, false},
        {"AMOUNT", "AMOUNT", "", 8, 0, false},
        {"AMOUNTD", "AMOUNT", "", 8, 0, true},
        {"BORN", "BORN", "", 9, cdx::OptNullable, false},
        {"CITYID", "CITY+STR(ID,8)", "", 20, 0, false},
        {"CITY", "CITY", "", 12, cdx::OptUnique, false},
    };
    cdx::CreateIndexFile(dir + "/" + stem + ".cdx", tags);
    // The header's flag of a structural index.
    std::string bytes = ReadFileBytes(create.Path);
    bytes[28] = static_cast<char>(bytes[28] | 0x01);
    WriteFileBytes(create.Path, bytes);
    auto table = OpenIndexedTable(create.Path);
    table->RebuildIndex();
    return create.Path;
}

std::vector<uint32_t> EngineOrder(TDbfCursor& table, const std::string& tagName)
{
    std::vector<uint32_t> order;
    for (const cdx::TTag& tag : table.Index()->Tags())
        if (tag.Name == tagName)
            table.Index()->TreeOf(tag).ForEach([&](const cdx::TEntry& e) { order.push_back(e.RecNo); });
    return order;
}

bool PerlReaderAvailable()
{
    return RunCommand("/usr/bin/perl -MXBase::Index -e 1 2>/dev/null").ExitCode == 0;
}

std::map<std::string, std::vector<uint32_t>> PerlOrders(const std::string& indexPath,
                                                        const std::vector<std::string>& tagNames, std::string& error)
{
    std::string command = "/usr/bin/perl " + PerlScriptPath() + " '" + indexPath + "'";
    for (const std::string& name : tagNames)
        command += " " + name;
    TRun run = RunCommand(command + " 2>&1");
    std::map<std::string, std::vector<uint32_t>> orders;
    if (run.ExitCode != 0) {
        error = run.Output;
        return orders;
    }
    std::istringstream in(run.Output);
    std::string word;
    std::vector<uint32_t>* current = nullptr;
    while (in >> word) {
        if (word == "tag" && in >> word)
            current = &orders[word];
        else if (current)
            current->push_back(static_cast<uint32_t>(std::stoul(word)));
    }
    return orders;
}

void ExpectPerlReadsTheSame(TDbfCursor& table)
{
    if (!PerlReaderAvailable())
        return;
    std::vector<std::string> names;
    for (const cdx::TTag& tag : table.Index()->Tags())
        names.push_back(tag.Name);
    std::string error;
    auto orders = PerlOrders(table.Index()->Path(), names, error);
    ASSERT_TRUE(error.empty()) << error;
    for (const std::string& name : names)
        EXPECT_EQ(orders[name], EngineOrder(table, name)) << "tag " << name;
}

std::string IndexFindings(TDbfCursor& table)
{
    cdx::TCheckReport report = table.CheckIndex(true);
    return report.Good() ? std::string() : report.Summary();
}

std::map<std::string, std::string> Snapshot(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
    return files;
}

std::string CopyWritableTable(const TScratchDir& dir, const std::string& sourcePath)
{
    // Companion files may differ from the table in the case of their names.
    namespace fs = std::filesystem;
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const fs::path source(sourcePath);
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (!entry.is_regular_file() || lower(entry.path().stem().string()) != lower(source.stem().string()))
            continue;
        const std::string copy = dir.File(entry.path().filename().string());
        WriteFileBytes(copy, ReadFileBytes(entry.path().string()));
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    }
    return dir.File(source.filename().string());
}
