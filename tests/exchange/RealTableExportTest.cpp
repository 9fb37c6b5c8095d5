// Exports of a copy of a real dBASE table with Simplified Chinese field
// names and texts: every selection kind, checked against the values that
// independent readers decoded from the file.

#include "ExportTestSupport.h"

#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "support/JsonValue.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const char* const TablePath = "dbf/albfernandez_javadbf/gbk.dbf";

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

const TJsonValue& ManifestEntry()
{
    static const TJsonValue manifest = TJsonValue::ParseFile(std::string(TM_SHARED_DIR) + "/testdata/manifest.json");
    for (const TJsonValue& table : manifest["tables"].Items())
        if (table["path"].AsString() == TablePath)
            return table;
    throw std::runtime_error("table not in the manifest");
}

class RealTableExport : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool registered = false;
        if (!registered)
            RegisterBuiltinDrivers(Session().Engine());
        registered = true;
    }
    void SetUp() override
    {
        Path = Dir.CopyTable(std::string(TM_SHARED_DIR) + "/testdata/" + TablePath);
        Table.SetTableName(Path);
        Table.Open();
        Source = std::make_unique<TDataSource>(&Table);
        Grid = std::make_unique<TDBGridGx>();
        Grid->SetDataSource(Source.get());
        Grid->SetOptions(Grid->Options() + dgMultiSelect);
        Rows = Split(Export(ExportClass<TDBGridGxExportAsText>, true), "\r\n");
    }
    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Table.Close();
    }
    std::string Export(TDBGridGxExportClass exportClass, bool all = false)
    {
        return Exported(exportClass, *Grid, all);
    }
    std::string TextExport() { return Export(ExportClass<TDBGridGxExportAsText>); }
    void GoToRecord(int recNo) { Table.SetRecNo(recNo); }

    TScratchDir Dir;
    std::string Path;
    TTable Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;
    // The export of everything: titles, then one line per record.
    std::vector<std::string> Rows;
};

TEST_F(RealTableExport, ExportAllHoldsTheFieldNamesAndTheDecodedValues)
{
    const TJsonValue& entry = ManifestEntry();
    ASSERT_EQ(static_cast<int>(Rows.size()), 1 + static_cast<int>(entry["records"]["non_deleted"].AsNumber()));
    std::vector<std::string> names;
    for (const TJsonValue& field : entry["fields"].Items())
        names.push_back(field["name"].AsString());
    EXPECT_EQ(Split(Rows[0], "\t"), names);
    std::vector<std::string> first;
    for (const TJsonValue& value : entry["first_record"]["values"].Items())
        first.push_back(value.IsNull() ? std::string() : value.AsString());
    EXPECT_EQ(Split(Rows[1], "\t"), first);
}

TEST_F(RealTableExport, RecordSelectionGivesTheSelectedLines)
{
    for (int recNo : {5, 2}) {
        GoToRecord(recNo);
        Grid->SelectedRecords().SetCurrentRowSelected(true);
    }
    GoToRecord(10);
    EXPECT_EQ(TextExport(), Rows[0] + "\r\n" + Rows[2] + "\r\n" + Rows[5]);
    EXPECT_EQ(Table.RecNo(), 10);
}

TEST_F(RealTableExport, RectangleGivesItsColumnsOfItsRecords)
{
    GoToRecord(3);
    Grid->Selection().Rect().Select(0, Table.Bookmark(), false);
    GoToRecord(6);
    Grid->Selection().Rect().Select(1, Table.Bookmark(), true);
    std::string expected;
    for (int line : {0, 3, 4, 5, 6}) {
        const std::vector<std::string> cells = Split(Rows[static_cast<size_t>(line)], "\t");
        expected += (line ? "\r\n" : "") + cells[0] + "\t" + cells[1];
    }
    EXPECT_EQ(TextExport(), expected);
    EXPECT_EQ(Table.RecNo(), 6);
}

TEST_F(RealTableExport, ColumnSelectionAndSelectAll)
{
    Grid->Selection().Cols().Select(Grid->Columns()[1], false);
    std::string expected;
    for (size_t line = 0; line < Rows.size(); ++line)
        expected += (line ? "\r\n" : "") + Split(Rows[line], "\t")[1];
    EXPECT_EQ(TextExport(), expected);

    Grid->Selection().SelectAll();
    std::string all;
    for (size_t line = 0; line < Rows.size(); ++line)
        all += (line ? "\r\n" : "") + Rows[line];
    EXPECT_EQ(TextExport(), all);
}

TEST_F(RealTableExport, CsvQuotesTheChineseCells)
{
    const std::string csv = Export(ExportClass<TDBGridGxExportAsCSV>, true);
    const std::vector<std::string> lines = Split(csv, "\r\n");
    ASSERT_EQ(lines.size(), Rows.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string expected;
        for (const std::string& cell : Split(Rows[i], "\t"))
            expected += (expected.empty() ? "" : ";") + CSVQuoted(cell);
        EXPECT_EQ(lines[i], expected);
    }
}

TEST_F(RealTableExport, RtfIsSevenBitAndHtmlKeepsTheTexts)
{
    const std::string rtf = Export(ExportClass<TDBGridGxExportAsRTF>, true);
    for (unsigned char c : rtf)
        ASSERT_LT(c, 128);
    // 设计编号 as UTF-16 units: 0x8BBE 0x8BA1 0x7F16 0x53F7.
    EXPECT_NE(rtf.find("\\u-29762?\\u-29791?\\u32534?\\u21495?\\cell}"), std::string::npos);
    const std::string html = Export(ExportClass<TDBGridGxExportAsHTML>, true);
    const std::vector<std::string> first = Split(Rows[1], "\t");
    EXPECT_NE(html.find(">" + first[0] + "</font></td>"), std::string::npos);
    EXPECT_NE(html.find("&gt;" + first[1].substr(1) + "</font></td>"), std::string::npos);
}

}  // namespace
