// Exports into memory, the form a copy hands to the clipboard: the bytes
// are those the same export writes into a stream, however far the memory
// grows past what the first rows foretold, however long the RTF head, and
// however the looks of the cells change from row to row.

#include "ExportTestSupport.h"

#include "exchange/ByteArrayStream.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

std::string Text(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string BytesOf(TDBGridGxExportClass exportClass, TCustomDBGridGx& grid, bool exportAll)
{
    std::unique_ptr<TDBGridGxExport> exporter = exportClass();
    exporter->Grid = &grid;
    return Text(exporter->ExportIntoBytes(exportAll));
}

// The rows of an export, split at a marker that opens each row.
std::vector<std::string> RowsOf(const std::string& text, const std::string& marker)
{
    std::vector<std::string> rows;
    for (size_t at = text.find(marker); at != std::string::npos;) {
        const size_t next = text.find(marker, at + marker.size());
        rows.push_back(text.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return rows;
}

TEST(ByteArrayStream, KeepsEveryByteWhileGrowingAndWhenReserved)
{
    TByteArrayStream stream;
    std::string expected;
    for (int i = 0; expected.size() < 20u * 1024 * 1024; ++i) {
        const std::string part(static_cast<size_t>(1 + i % 5000), static_cast<char>('a' + i % 26));
        stream.WriteBuffer(part.data(), static_cast<int64_t>(part.size()));
        expected += part;
        if (i == 100)
            stream.Reserve(stream.Size() + 3 * 1024 * 1024);
    }
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(expected.size()));
    EXPECT_GE(stream.Capacity(), stream.Size());
    const QByteArray bytes = stream.Take();
    EXPECT_TRUE(Text(bytes) == expected);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(ByteArrayStream, IsWrittenFromStartToEndOnly)
{
    TByteArrayStream stream;
    stream.WriteBuffer("abc", 3);
    EXPECT_EQ(stream.Seek(0, soFromEnd), 3);
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_THROW(stream.Seek(0, soFromBeginning), EStreamError);
    EXPECT_THROW(stream.SetSize(1), EStreamError);
    char buffer[3];
    EXPECT_EQ(stream.Read(buffer, 3), 0);
}

class ExportIntoBytes : public ::testing::TestWithParam<TDBGridGxExportClass> {
protected:
    // 300 records whose texts grow long after the first hundred, past the
    // size the first rows foretell.
    void SetUp() override
    {
        Grid.AddField("ID", ftInteger);
        Grid.AddField("T", ftString, 250);
        for (int id = 1; id <= 300; ++id)
            Grid.AddRecord({TVariant(id), TVariant(std::string(id > 100 ? 200 : 3, static_cast<char>('a' + id % 26)))});
        Grid.Bind();
    }

    TExportGrid Grid;
};

TEST_P(ExportIntoBytes, HoldsWhatAStreamExportWrites)
{
    const std::string bytes = BytesOf(GetParam(), *Grid.Grid, true);
    EXPECT_GT(bytes.size(), 300u * 100);
    EXPECT_TRUE(bytes == Exported(GetParam(), *Grid.Grid, true));
}

TEST_P(ExportIntoBytes, HoldsWhatAStreamExportWritesOfSelectedRecords)
{
    for (int id = 1; id <= 300; id += 2) {
        Grid.GoTo("ID", TVariant(id));
        Grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
    }
    const std::string bytes = BytesOf(GetParam(), *Grid.Grid, false);
    EXPECT_NE(bytes.find(std::string(200, 'a' + 299 % 26)), std::string::npos);
    EXPECT_TRUE(bytes == Exported(GetParam(), *Grid.Grid, false));
}

TEST_P(ExportIntoBytes, NoSelectionGivesNothing)
{
    EXPECT_EQ(BytesOf(GetParam(), *Grid.Grid, false), "");
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, ExportIntoBytes,
                         ::testing::Values(ExportClass<TDBGridGxExportAsText>, ExportClass<TDBGridGxExportAsCSV>,
                                           ExportClass<TDBGridGxExportAsRTF>, ExportClass<TDBGridGxExportAsVCLDBIF>,
                                           ExportClass<TDBGridGxExportAsHTML>));

TEST(RtfIntoBytes, HeadLongerThanTheRoomKeptForItStillLeadsTheDocument)
{
    TExportGrid grid;
    MakeNumbered(grid, 400);
    // A colour of its own for every record: a colour table of some 10 KB.
    grid.Grid->OnGetCellParams = [](TCustomDBGridGx& sender, TColumnGx&, TFontGx&, TColor& background,
                                    TGridDrawState) {
        const int id = static_cast<int>(sender.DataSource()->DataSet()->FieldByName("ID")->AsInteger());
        background = RGB(static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8), 77);
    };
    const std::string bytes = BytesOf(ExportClass<TDBGridGxExportAsRTF>, *grid.Grid, true);
    EXPECT_GT(bytes.find("\\trowd"), 4096u);
    EXPECT_EQ(bytes.rfind("{\\rtf0\\ansi\r\n{\\colortbl\\red0\\green0\\blue0;", 0), 0u);
    EXPECT_NE(bytes.find("\\red143\\green1\\blue77;"), std::string::npos);
    EXPECT_TRUE(bytes == Exported(ExportClass<TDBGridGxExportAsRTF>, *grid.Grid, true));
}

// Odd records red and bold, even ones as the column says.
class ChangingLooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeNumbered(Grid, 9);
        Grid.Grid->OnGetCellParams = [](TCustomDBGridGx& sender, TColumnGx&, TFontGx& font, TColor& background,
                                        TGridDrawState) {
            if (sender.DataSource()->DataSet()->FieldByName("ID")->AsInteger() % 2 == 1) {
                background = clRed;
                font.setBold(true);
            }
        };
    }

    TExportGrid Grid;
};

TEST_F(ChangingLooks, HtmlCellsFollowTheLookOfTheirRecord)
{
    const std::vector<std::string> rows = RowsOf(BytesOf(ExportClass<TDBGridGxExportAsHTML>, *Grid.Grid, true), "<tr>");
    ASSERT_EQ(rows.size(), 10u);
    for (int id = 1; id <= 9; ++id) {
        const std::string& row = rows[static_cast<size_t>(id)];
        const bool odd = id % 2 == 1;
        EXPECT_EQ(row.find("<b>" + std::to_string(id) + "</b>") != std::string::npos, odd) << row;
        EXPECT_EQ(row.find("<b>") != std::string::npos, odd) << row;
        EXPECT_EQ(row.find("bgcolor=\"#ff0000\"") != std::string::npos, odd) << row;
        EXPECT_NE(row.find("c" + std::to_string(id)), std::string::npos) << row;
    }
}

TEST_F(ChangingLooks, RtfRowsAndCellsFollowTheLookOfTheirRecord)
{
    const std::string text = BytesOf(ExportClass<TDBGridGxExportAsRTF>, *Grid.Grid, true);
    // Red joins the three colours every table starts with (the cells'
    // default background is white, one of them).
    const size_t tableEnd = text.find("}\r\n");
    const std::vector<std::string> colours = RowsOf(text.substr(0, tableEnd), "\\red");
    ASSERT_EQ(colours.size(), 4u);
    int red = -1;
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == "\\red255\\green0\\blue0;")
            red = static_cast<int>(i);
    ASSERT_GE(red, 3);
    const std::string redShading = "\\clcfpat" + std::to_string(red) + "\\cellx";
    const std::string redCell = "\\b\\f0\\cf0\\cb" + std::to_string(red) + " ";
    const std::vector<std::string> rows = RowsOf(text, "\\trowd");
    ASSERT_EQ(rows.size(), 10u);
    for (int id = 1; id <= 9; ++id) {
        const std::string& row = rows[static_cast<size_t>(id)];
        const bool odd = id % 2 == 1;
        EXPECT_EQ(RowsOf(row, redShading).size(), odd ? 4u : 0u) << row;
        EXPECT_EQ(RowsOf(row, redCell).size(), odd ? 4u : 0u) << row;
        EXPECT_EQ(RowsOf(row, "\\cell}").size(), 4u) << row;
        EXPECT_NE(row.find(" c" + std::to_string(id) + "\\cell}"), std::string::npos) << row;
    }
}

}  // namespace
