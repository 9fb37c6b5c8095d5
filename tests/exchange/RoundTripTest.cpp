// Copy then paste through the clipboard reproduces the stored values of
// every field type: within one grid and between two grids, on in-memory
// tables and on copies of a real dBASE table and a keyed Paradox table,
// which are reopened and compared afterwards.  A paste that collides with
// a key of the Paradox table brings up the error prompt.

#include "ImportTestSupport.h"

#include "data/DataSet.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "exchange/ClipboardActions.h"
#include "support/FileBytes.h"
#include "support/ScratchDir.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Every field type the engines produce, and three records: ordinary
// values, nulls, and values at the edges.
void MakeEveryType(TExportGrid& grid)
{
    grid.AddField("SMALL", ftSmallint);
    grid.AddField("INT", ftInteger);
    grid.AddField("WORD", ftWord);
    grid.AddField("LARGE", ftLargeint);
    grid.AddField("FLOAT", ftFloat);
    grid.AddField("MONEY", ftCurrency);
    grid.AddField("BCD", ftBCD, 4);
    grid.AddField("FMTBCD", ftFMTBcd, 6);
    grid.AddField("DATE", ftDate);
    grid.AddField("TIME", ftTime);
    grid.AddField("STAMP", ftDateTime);
    grid.AddField("BOOL", ftBoolean);
    grid.AddField("TEXT", ftString, 20);
    grid.AddField("MEMO", ftMemo);
    grid.AddField("BYTES", ftBytes, 4);
    grid.AddField("VARBYTES", ftVarBytes, 8);
    grid.AddField("BLOB", ftBlob);
}

std::vector<TVariant> OrdinaryRecord()
{
    return {TVariant(-12), TVariant(123456), TVariant(65535), TVariant(int64_t{-9007199254740993}),
            TVariant(3.141592653589793), TVariant(TCurrency::FromScaled(-12345678)),
            TVariant(TCurrency::FromScaled(99990001)), TVariant("12345678901234567890.123456"),
            TVariant::FromDateTime(45000), TVariant::FromDateTime(0.75), TVariant::FromDateTime(-700.25),
            TVariant(true), TVariant("中文 text"), TVariant("line1\r\nline2\t中"), TVariant(TBytes{0, 1, 2, 0xFF}),
            TVariant(TBytes{0x7F, 0}), TVariant(TBytes{0, 0, 0x80, 0xFE, 0x1A})};
}

std::vector<TVariant> NullRecord()
{
    return std::vector<TVariant>(17, TVariant::Null());
}

std::vector<TVariant> EdgeRecord()
{
    return {TVariant(-32768), TVariant(INT32_MIN), TVariant(0), TVariant(INT64_MAX), TVariant(-1e308),
            TVariant(TCurrency::FromScaled(1)), TVariant(TCurrency::FromScaled(-1)), TVariant("-0.000001"),
            TVariant::FromDateTime(-693593), TVariant::FromDateTime(0.999988425925926), TVariant::FromDateTime(2958465.5),
            TVariant(false), TVariant(""), TVariant(std::string(5000, 'm')), TVariant(TBytes{0, 0, 0, 0}),
            TVariant(TBytes{}), TVariant(TBytes(70000, 0xAB))};
}

void FillEveryType(TExportGrid& grid)
{
    MakeEveryType(grid);
    for (const auto& record : {OrdinaryRecord(), NullRecord(), EdgeRecord()})
        grid.Table->AppendRecord(record);
    grid.Bind();
}

TEST(RoundTrip, EveryFieldTypeBetweenTwoGrids)
{
    TExportGrid source;
    FillEveryType(source);
    TExportGrid target;
    MakeEveryType(target);
    target.Bind();

    source.Selection().SelectAll();
    CopySelectionToClipboard(*source.Grid, false);
    PasteIntoSelection(*target.Grid, false);
    EXPECT_EQ(target.Table->State(), dsBrowse);
    const auto expected = RecordValues(*source.Table);
    const auto actual = RecordValues(*target.Table);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t record = 0; record < expected.size(); ++record)
        for (size_t field = 0; field < expected[record].size(); ++field)
            EXPECT_EQ(actual[record][field], expected[record][field])
                << source.Table->Fields()[static_cast<int>(field)]->FieldName() << " of record " << record << ": "
                << actual[record][field].AsString() << " for " << expected[record][field].AsString();
}

TEST(RoundTrip, EveryFieldTypeWithinOneGrid)
{
    TExportGrid grid;
    FillEveryType(grid);
    // The ordinary record's cells over the null record, and the null
    // record's over the edge record.
    grid.Table->First();
    const std::string first = grid.Table->Bookmark();
    grid.Table->Next();
    const std::string second = grid.Table->Bookmark();
    grid.Selection().Rect().Select(0, first, false);
    grid.Selection().Rect().Select(grid.Grid->Columns().Count() - 1, second, true);
    CopySelectionToClipboard(*grid.Grid, false);
    grid.Selection().Clear();
    grid.Table->GotoBookmark(second);
    grid.Grid->SetCol(grid.Grid->DataToRawColumn(0));
    PasteIntoSelection(*grid.Grid, false);
    const auto records = RecordValues(*grid.Table);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], records[0]);
    for (const TVariant& value : records[2])
        EXPECT_TRUE(value.IsNull());
}

// Copies of a real table and the grids over them.
class RealTableRoundTrip : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite()
    {
        static bool registered = false;
        if (!registered)
            RegisterBuiltinDrivers(Session().Engine());
        registered = true;
    }
    // A writable copy of the table and the files beside it.
    std::string Copy()
    {
        namespace fs = std::filesystem;
        const std::string path = Dir.CopyTable(std::string(TM_SHARED_DIR) + "/testdata/" + GetParam());
        for (const auto& file : fs::directory_iterator(Dir.Path()))
            fs::permissions(file.path(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
        return path;
    }
    struct TOpenTable {
        TTable Table;
        TDataSource Source{&Table};
        TDBGridGx Grid;
        explicit TOpenTable(const std::string& path)
        {
            Table.SetTableName(path);
            Table.Open();
            EXPECT_TRUE(Table.CanModify()) << path << ": " << Table.ReadOnlyReason();
            Grid.resize(600, 300);
            Grid.SetDataSource(&Source);
            Grid.SetOptions(Grid.Options() + dgMultiSelect - dgConfirmDelete);
        }
        ~TOpenTable() { Grid.SetDataSource(nullptr); }
    };
    // Another copy of the table at `sourcePath` and its companion files, named `stem`.
    std::string CopyAs(const std::string& sourcePath, const std::string& name)
    {
        namespace fs = std::filesystem;
        const std::string stem = sourcePath.substr(0, sourcePath.rfind('.'));
        for (const auto& file : fs::directory_iterator(Dir.Path())) {
            const std::string path = file.path().string();
            if (path.rfind(stem + ".", 0) != 0)
                continue;
            const std::string copy = Dir.Path() + "/" + name + file.path().extension().string();
            fs::copy_file(path, copy);
            fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
        }
        return Dir.Path() + "/" + name + sourcePath.substr(sourcePath.rfind('.'));
    }
    // The values of a table file, opened afresh.
    std::vector<std::vector<TVariant>> ValuesOfFile(const std::string& path)
    {
        TOpenTable reopened(path);
        return RecordValues(reopened.Table);
    }
    // Auto-increment fields get new values in new records.
    static std::vector<std::vector<TVariant>> WithoutAutoInc(std::vector<std::vector<TVariant>> records,
                                                             const TDataSet& dataSet)
    {
        for (auto& record : records)
            for (int field = 0; field < dataSet.FieldCount(); ++field)
                if (dataSet.Fields()[field]->DataType() == ftAutoInc)
                    record[static_cast<size_t>(field)] = TVariant::Null();
        return records;
    }

    TScratchDir Dir;
};

TEST_P(RealTableRoundTrip, EveryRecordIntoAnEmptiedCopyOfTheTable)
{
    const std::string sourcePath = Copy();
    const std::string targetPath = CopyAs(sourcePath, "target");
    std::vector<std::vector<TVariant>> expected;
    {
        TOpenTable source(sourcePath);
        TOpenTable target(targetPath);
        DeleteSelectedData(target.Grid, true);
        ASSERT_TRUE(target.Table.IsEmpty());
        source.Grid.Selection().SelectAll();
        CopySelectionToClipboard(source.Grid, false);
        PasteIntoSelection(target.Grid, false);
        EXPECT_EQ(target.Table.State(), dsBrowse);
        expected = WithoutAutoInc(RecordValues(source.Table), source.Table);
        ASSERT_FALSE(expected.empty());
    }
    TOpenTable reopened(targetPath);
    const auto actual = WithoutAutoInc(RecordValues(reopened.Table), reopened.Table);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t record = 0; record < expected.size(); ++record)
        for (size_t field = 0; field < expected[record].size(); ++field)
            EXPECT_EQ(actual[record][field], expected[record][field])
                << reopened.Table.Fields()[static_cast<int>(field)]->FieldName() << " of record " << record << ": "
                << actual[record][field].AsString() << " for " << expected[record][field].AsString();
}

// Pasted rows appended at the end go to the engine a batch at a time: the
// table and memo files come out byte for byte as appending the same
// records one by one leaves them.  (Paradox tables take batches record by
// record.)
class DBaseBatchPaste : public RealTableRoundTrip {};

TEST_P(DBaseBatchPaste, PastedNewRecordsGiveTheFilesThatAppendsOneByOneGive)
{
    const std::string sourcePath = Copy();
    const std::string pastedPath = CopyAs(sourcePath, "pasted");
    const std::string appendedPath = CopyAs(sourcePath, "appended");
    {
        TOpenTable source(sourcePath);
        const auto records = WithoutAutoInc(RecordValues(source.Table), source.Table);
        TOpenTable appended(appendedPath);
        for (const auto& record : records)
            appended.Table.AppendRecord(record);
        TOpenTable pasted(pastedPath);
        source.Grid.Selection().SelectAll();
        CopySelectionToClipboard(source.Grid, false);
        // Pasted while a new record is being appended: every row becomes a new record.
        pasted.Grid.SetCol(pasted.Grid.DataToRawColumn(0));
        pasted.Table.Append();
        PasteIntoSelection(pasted.Grid, false);
        EXPECT_EQ(pasted.Table.State(), dsBrowse);
        EXPECT_EQ(pasted.Table.RecordCount(), appended.Table.RecordCount());
    }
    namespace fs = std::filesystem;
    size_t compared = 0;
    for (const auto& file : fs::directory_iterator(Dir.Path())) {
        const std::string name = file.path().filename().string();
        const std::string extension = file.path().extension().string();
        if (name.rfind("pasted.", 0) != 0)
            continue;
        EXPECT_EQ(ReadFileBytes(file.path().string()), ReadFileBytes(Dir.Path() + "/appended" + extension))
            << extension << " files differ";
        ++compared;
    }
    EXPECT_GT(compared, 0u);
}

INSTANTIATE_TEST_SUITE_P(Tables, DBaseBatchPaste,
                         ::testing::Values("dbf/infused_dbf/dbase_8b.dbf", "dbf/infused_dbf/dbase_83.dbf",
                                           "dbf/infused_dbf/dbase_f5.dbf"));

INSTANTIATE_TEST_SUITE_P(Tables, RealTableRoundTrip,
                         ::testing::Values("dbf/infused_dbf/dbase_8b.dbf", "dbf/infused_dbf/dbase_83.dbf",
                                           "dbf/infused_dbf/dbase_f5.dbf", "paradox/leonhad_paradoxdriver/db/ORDERS.DB",
                                           "paradox/leonhad_paradoxdriver/fields/memo.db",
                                           "paradox/leonhad_paradoxdriver/fields/bcd.db",
                                           "paradox/leonhad_paradoxdriver/fields/timestamp.db",
                                           "paradox/leonhad_paradoxdriver/fields/time.db",
                                           "paradox/leonhad_paradoxdriver/fields/logical.db",
                                           "paradox/leonhad_paradoxdriver/fields/bytes.db",
                                           "paradox/leonhad_paradoxdriver/fields/long.db"));

// One table copy in one grid: the first records' cells pasted over the
// records after them, without appending.
class RealTableWithinOneGrid : public RealTableRoundTrip {
protected:
    // Copies the records 1..count (all columns) and pastes them from
    // record 2 on; returns the values before.
    std::vector<std::vector<TVariant>> CopyDownward(const std::string& path, int count)
    {
        TOpenTable table(path);
        const auto before = RecordValues(table.Table);
        table.Table.First();
        const std::string top = table.Table.Bookmark();
        table.Table.MoveBy(count - 1);
        const std::string bottom = table.Table.Bookmark();
        table.Grid.Selection().Rect().Select(0, top, false);
        table.Grid.Selection().Rect().Select(table.Grid.Columns().Count() - 1, bottom, true);
        CopySelectionToClipboard(table.Grid, false);
        table.Grid.Selection().Clear();
        table.Table.First();
        table.Table.Next();
        table.Grid.SetCol(table.Grid.DataToRawColumn(0));
        table.Grid.SetAllowedOperations(AllAllowedOperationsGx - alopAppendGx);
        try {
            PasteIntoSelection(table.Grid, false);
        } catch (const EAbort&) {
            Aborted = true;
        }
        EXPECT_EQ(table.Table.State(), dsBrowse);
        return before;
    }

    bool Aborted = false;
};

class DBaseWithinOneGrid : public RealTableWithinOneGrid {};

TEST_P(DBaseWithinOneGrid, RecordCopiedOverTheNextOne)
{
    const std::string path = Copy();
    const auto before = CopyDownward(path, 1);
    const auto after = ValuesOfFile(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[0]);
    for (size_t record = 2; record < before.size(); ++record)
        EXPECT_EQ(after[record], before[record]);
}

INSTANTIATE_TEST_SUITE_P(Tables, DBaseWithinOneGrid,
                         ::testing::Values("dbf/infused_dbf/dbase_8b.dbf", "dbf/infused_dbf/dbase_83.dbf"));

// Pasting the first two records over the second and third of a keyed
// table collides with the keys of the first two.
class KeyedParadoxCollision : public RealTableWithinOneGrid {
protected:
    void ExpectFileUnchanged(const std::string& path, const std::vector<std::vector<TVariant>>& before)
    {
        EXPECT_EQ(ValuesOfFile(path), before);
    }
};

TEST_P(KeyedParadoxCollision, YesSkipsEachCollidingRecord)
{
    const std::string path = Copy();
    TMessageAnswerer answerer(mrYes);
    const auto before = CopyDownward(path, 2);
    ASSERT_EQ(answerer.Count(), 2);
    EXPECT_EQ(answerer.Last().Type, mtError);
    EXPECT_EQ(answerer.Last().Text.rfind("Error during insert value:\n", 0), 0u);
    EXPECT_NE(answerer.Last().Text.find("Key violation"), std::string::npos) << answerer.Last().Text;
    EXPECT_FALSE(Aborted);
    ExpectFileUnchanged(path, before);
}

TEST_P(KeyedParadoxCollision, AllSkipsEveryCollisionAfterOneQuestion)
{
    const std::string path = Copy();
    TMessageAnswerer answerer(mrAll);
    const auto before = CopyDownward(path, 2);
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_FALSE(Aborted);
    ExpectFileUnchanged(path, before);
}

TEST_P(KeyedParadoxCollision, NoEndsThePaste)
{
    const std::string path = Copy();
    TMessageAnswerer answerer(mrNo);
    const auto before = CopyDownward(path, 2);
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_TRUE(Aborted);
    ExpectFileUnchanged(path, before);
}

INSTANTIATE_TEST_SUITE_P(Tables, KeyedParadoxCollision,
                         ::testing::Values("paradox/leonhad_paradoxdriver/db/ORDERS.DB"));

}  // namespace
