// A post rewrites only the bytes of the value the user changed.  For every
// table of the shared corpus that opens for writing: change one field of
// one record through the dataset, post, and compare every byte of the table
// and its companion files with the copy taken before.  What may differ: the
// changed value's bytes inside one record, the header bytes each format
// stamps on every change, and a compound index (.cdx), which files the new
// value and must then match the table again.  A refused post must leave
// every byte as it was.

#include "data/Session.h"
#include "data/Table.h"
#include "data/FieldTypes.h"
#include "data/engine/Engine.h"
#include "data/engine/dbf/DbfCursor.h"
#include "data/engine/dbf/DbfDriver.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "platform/Exceptions.h"
#include "support/JsonValue.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool IsCompoundIndex(const std::string& name)
{
    std::string extension = fs::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    return extension == ".cdx";
}

// The full check of the table's compound index against its records.
std::string IndexFindings(const std::string& tablePath)
{
    TOpenTableParams params;
    params.Path = tablePath;
    params.ReadOnly = true;
    std::unique_ptr<TEngineCursor> cursor = CreateDbfDriver()->OpenTable(params);
    auto* table = dynamic_cast<TDbfCursor*>(cursor.get());
    if (!table)
        return "not a dBASE table";
    return table->CheckIndex(true).Summary();
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> Snapshot(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

bool EndsWithNoCase(const std::string& name, const std::string& suffix)
{
    if (name.size() < suffix.size())
        return false;
    return std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

unsigned Word(const std::string& bytes, size_t offset)
{
    return static_cast<uint8_t>(bytes[offset]) | static_cast<unsigned>(static_cast<uint8_t>(bytes[offset + 1])) << 8;
}

// A value of the field's kind that differs from `old`, small enough for
// any width the corpus uses; a null gets a plain value of the kind.
TVariant ChangedValue(const TField& field, const TVariant& old)
{
    switch (field.DataType()) {
    case ftString: case ftFixedChar: case ftWideString:
        return TVariant(std::string(old.IsNull() || old.AsString() != "Zq" ? "Zq" : "Qz"));
    case ftSmallint: case ftInteger: case ftWord: case ftLargeint:
        return TVariant(int32_t(old.IsNull() || old.AsInt64() != 1 ? 1 : 2));
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return TVariant(old.IsNull() || old.AsDouble() != 1.5 ? 1.5 : 2.5);
    case ftBoolean:
        return TVariant(old.IsNull() ? true : !old.AsBoolean());
    case ftDate: case ftDateTime:
        return TVariant::FromDateTime(old.IsNull() || old.AsDateTime() != 40000 ? 40000.0 : 40001.0);
    case ftTime:
        return TVariant::FromDateTime(old.IsNull() || old.AsDateTime() != 0.5 ? 0.5 : 0.25);
    default:
        return TVariant();
    }
}

struct TTableCase {
    std::string Path;
    std::string Format;
};

std::vector<TTableCase> CorpusTables()
{
    TJsonValue manifest = TJsonValue::ParseFile(std::string(TM_SHARED_DIR) + "/testdata/manifest.json");
    std::vector<TTableCase> tables;
    for (const TJsonValue& t : manifest["tables"].Items())
        tables.push_back({std::string(TM_SHARED_DIR) + "/testdata/" + t["path"].AsString(), t["format"].AsString()});
    return tables;
}

// Offsets of the table file's header that a change stamps.
std::set<size_t> StampedHeaderBytes(const std::string& name, const std::string& format)
{
    if (format == "dbf")
        return {1, 2, 3};   // date of last update
    if (EndsWithNoCase(name, ".db"))
        return {0x2D, 0x60, 0x61, 0x62, 0x63};   // change counter, update time
    if (EndsWithNoCase(name, ".px"))
        return {0x2C};   // the stamp of the table's change counter
    return {};
}

class UntouchedBytes : public ::testing::TestWithParam<TTableCase> {};

} // namespace

TEST(UntouchedBytesCorpus, TheCorpusHasTablesOfBothFormatsThatOpenForWriting)
{
    // Guards the parameterised test below against silently running on nothing.
    std::set<std::string> formats;
    for (const TTableCase& t : CorpusTables())
        formats.insert(t.Format);
    EXPECT_TRUE(formats.count("dbf"));
    EXPECT_TRUE(formats.count("paradox"));
}

TEST_P(UntouchedBytes, OnePostChangesOnlyTheValueItChanged)
{
    const TTableCase& c = GetParam();
    if (!fs::exists(c.Path))
        GTEST_SKIP() << c.Path << " is missing";
    TScratchDir dir;
    std::string path = dir.CopyTable(c.Path);
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    const auto before = Snapshot(dir.Path());

    TSession session;
    RegisterBuiltinDrivers(session.Engine());
    TTable table;
    table.SetSession(session);
    table.SetTableName(path);
    try {
        table.Open();
    } catch (const Exception& e) {
        GTEST_SKIP() << "does not open: " << e.what();
    }
    if (!table.CanModify() || table.Eof())
        GTEST_SKIP() << "opens read-only or empty";

    int keyFields = c.Format == "paradox" ? static_cast<int>(Word(before.at(fs::path(path).filename().string()), 0x23)) : 0;
    TField* changed = nullptr;
    std::string changedName, changedText;
    bool refused = false;
    for (int i = table.FieldCount() - 1; i >= keyFields && !changed; --i) {
        TField* field = table.Fields()[i];
        TVariant value = ChangedValue(*field, field->Value());
        if (field->ReadOnly() || value.IsEmpty())
            continue;
        try {
            table.Edit();
            field->SetValue(value);
            table.Post();
            changed = field;
            changedName = field->FieldName();
            changedText = field->AsString();
        } catch (const Exception&) {
            // A value this column cannot hold: nothing may have been written.
            table.Cancel();
            refused = true;
        }
    }
    table.Close();
    if (!changed && !refused)
        GTEST_SKIP() << "no field that can be changed in place";

    if (changed) {
        // The new value is what the file now holds.
        table.Open();
        EXPECT_EQ(table.FieldByName(changedName)->AsString(), changedText);
        table.Close();
    }
    const auto after = Snapshot(dir.Path());
    std::string tableName = fs::path(path).filename().string();
    for (const auto& [name, old] : before) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(after.count(name)) << "a file disappeared";
        const std::string& now = after.at(name);
        if (!changed) {
            EXPECT_EQ(now, old) << "a refused post changed the file";
            continue;
        }
        if (IsCompoundIndex(name)) {
            EXPECT_EQ(IndexFindings(path), "");
            continue;
        }
        ASSERT_EQ(now.size(), old.size()) << "a change in place resized the file";
        std::set<size_t> stamped = StampedHeaderBytes(name, c.Format);
        std::vector<size_t> diffs;
        for (size_t i = 0; i < old.size(); ++i)
            if (old[i] != now[i] && !stamped.count(i))
                diffs.push_back(i);
        if (name != tableName) {
            EXPECT_TRUE(diffs.empty()) << "companion byte " << diffs.front() << " changed";
            continue;
        }
        if (diffs.empty())
            continue;   // the new value happened to store as the old bytes
        // Every changed byte lies inside one stretch no wider than the
        // widest field the table may have (a record holds it).
        size_t span = diffs.back() - diffs.front() + 1;
        size_t limit = c.Format == "dbf" ? 255 : 256;
        EXPECT_LE(span, limit) << "bytes " << diffs.front() << " to " << diffs.back() << " changed for field "
                               << changedName;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, UntouchedBytes, ::testing::ValuesIn(CorpusTables()),
                         [](const ::testing::TestParamInfo<TTableCase>& info) {
                             std::string name = std::to_string(info.index) + "_" + fs::path(info.param.Path).stem().string();
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });
