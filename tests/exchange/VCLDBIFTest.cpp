// The interchange format: the bytes the writer produces, what the reader
// stores from them, and the one format error for every damaged buffer.

#include "ImportTestSupport.h"

#include "data/DataSet.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"

#include <gtest/gtest.h>

namespace {

const std::string FormatError = "TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format";

std::string ExportedVCLDBIF(TCustomDBGridGx& grid, bool all)
{
    return Exported(ExportClass<TDBGridGxExportAsVCLDBIF>, grid, all);
}

// Fields ID (integer), C1..C3 (strings) and records 1..records.
class VCLDBIF : public ::testing::Test {
protected:
    void SetUp() override { MakeNumbered(Grid, 4); }
    void ExpectFormatError(const std::string& bytes)
    {
        try {
            ImportVCLDBIF(*Grid.Grid, bytes);
            ADD_FAILURE() << "no format error";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), FormatError);
        }
        EXPECT_EQ(Grid.Table->State(), dsBrowse);
    }
    void SelectColumn(const std::string& field) { Grid.Selection().Cols().Select(Grid.Column(field), false); }

    TExportGrid Grid;
};

TEST(VCLDBIFWriter, WorkedExampleIsTwentyOneBytes)
{
    TExportGrid grid;
    grid.AddField("A", ftInteger);
    grid.AddRecord({TVariant(5)});
    grid.AddRecord({TVariant::Null()});
    grid.Bind();
    const std::string expected("VCLDBIF\x01\x01\0\0\0\x01\0\x03\x05\0\0\0\x02\0", 21);
    EXPECT_EQ(ExportedVCLDBIF(*grid.Grid, true), expected);
}

TEST(VCLDBIFWriter, TagsFollowTheFieldTypes)
{
    TExportGrid grid;
    grid.AddField("I", ftSmallint);
    grid.AddField("F", ftFloat);
    grid.AddField("D", ftDate);
    grid.AddField("S", ftString, 10);
    grid.AddField("L", ftLargeint);
    grid.AddField("B", ftVarBytes, 4);
    grid.AddRecord({TVariant(-2), TVariant(1.5), TVariant::FromDateTime(2.0), TVariant("中"),
                    TVariant(int64_t{1} << 40), TVariant(TBytes{0, 0xFF})});
    grid.Bind();
    const std::string bytes = ExportedVCLDBIF(*grid.Grid, true);
    const std::string values = bytes.substr(12 + 6 * 2);
    std::string expected = TVCLDBIFBytes(0).Integer(-2).Float(1.5).Float(2.0).Text("中")
                               .Text("1099511627776").Text(std::string("\0\xFF", 2), 6).End().Bytes().substr(12);
    EXPECT_EQ(values, expected);
}

TEST(VCLDBIFWriter, ZeroRecordsAreHeaderDescriptorsAndEndByte)
{
    TExportGrid grid;
    grid.AddField("A", ftInteger);
    grid.AddField("B", ftString, 5);
    grid.Bind();
    grid.Column("B")->SetVisible(false);
    const std::string bytes = ExportedVCLDBIF(*grid.Grid, true);
    EXPECT_EQ(bytes, std::string("VCLDBIF\x01\x01\0\0\0\x01\0\0", 15));
}

TEST_F(VCLDBIF, WorkedExampleReadsIntoTwoRecords)
{
    SelectColumn("ID");
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1).Integer(5).Null().End());
    const auto records = RecordValues(*Grid.Table);
    EXPECT_EQ(records[0][0].AsInteger(), 5);
    EXPECT_TRUE(records[1][0].IsNull());
    EXPECT_EQ(records[2][0].AsInteger(), 3);
}

TEST_F(VCLDBIF, EmptyDataStoresNothing)
{
    SelectColumn("C1");
    const auto before = RecordValues(*Grid.Table);
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1).End());
    EXPECT_EQ(RecordValues(*Grid.Table), before);
}

TEST_F(VCLDBIF, ShortOrMisspelledHeaderIsAFormatError)
{
    ExpectFormatError("VCLDBIF\x01");
    ExpectFormatError("");
    std::string lowerCase = TVCLDBIFBytes(1).Integer(5).End();
    lowerCase[0] = 'v';
    ExpectFormatError(lowerCase);
}

TEST_F(VCLDBIF, OtherVersionIsAccepted)
{
    SelectColumn("ID");
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1, 7).Integer(42).End());
    EXPECT_EQ(TextOf(Grid, 42, "C1"), "a1");
}

TEST_F(VCLDBIF, DamagedValuesAreFormatErrors)
{
    SelectColumn("C1");
    // A name without its 0 byte.
    ExpectFormatError(std::string("VCLDBIF\x01\x01\0\0\0\x01name", 17));
    // A flag byte missing.
    ExpectFormatError(std::string("VCLDBIF\x01\x02\0\0\0\x01\0", 14));
    // Lengths past the input, negative, and cut-short payloads.
    ExpectFormatError(TVCLDBIFBytes(1).Tag(5).Int32(1000).Bytes() + "abc");
    ExpectFormatError(TVCLDBIFBytes(1).Tag(6).Int32(-1).Bytes());
    ExpectFormatError(TVCLDBIFBytes(1).Tag(3).Bytes() + "\x01\x02");
    ExpectFormatError(TVCLDBIFBytes(1).Tag(4).Bytes() + "1234567");
    // No end tag.
    ExpectFormatError(TVCLDBIFBytes(1).Text("x"));
    // Values without any column.
    ExpectFormatError(TVCLDBIFBytes(0).Integer(1).End());
}

TEST_F(VCLDBIF, FailureKeepsFinishedRecordsAndDropsTheHalfRow)
{
    Grid.Selection().Cols().Select(Grid.Column("C1"), false);
    Grid.Selection().Cols().Select(Grid.Column("C2"), true);
    ExpectFormatError(TVCLDBIFBytes(2).Text("p").Text("q").Text("r").Tag(5).Int32(50));
    EXPECT_EQ(TextOf(Grid, 1, "C1"), "p");
    EXPECT_EQ(TextOf(Grid, 1, "C2"), "q");
    EXPECT_EQ(TextOf(Grid, 2, "C1"), "a2");
}

TEST_F(VCLDBIF, EmptyTextNoValueAndUnknownTags)
{
    SelectColumn("C1");
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1).Text("").NoValue().Tag(77).Text("z").End());
    EXPECT_EQ(TextOf(Grid, 1, "C1"), "");
    EXPECT_EQ(TextOf(Grid, 2, "C1"), "a2");
    EXPECT_EQ(TextOf(Grid, 3, "C1"), "a3");
    EXPECT_EQ(TextOf(Grid, 4, "C1"), "z");
}

TEST_F(VCLDBIF, SurplusValuesDroppedAndMissingColumnsKept)
{
    Grid.Selection().Cols().Select(Grid.Column("C1"), false);
    Grid.Selection().Cols().Select(Grid.Column("C2"), true);
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(3).Text("x1").Text("y1").Text("z1").Text("x2").Text("y2").Text("z2").End());
    EXPECT_EQ(TextOf(Grid, 1, "C1"), "x1");
    EXPECT_EQ(TextOf(Grid, 1, "C2"), "y1");
    EXPECT_EQ(TextOf(Grid, 1, "C3"), "c1");
    EXPECT_EQ(TextOf(Grid, 2, "C2"), "y2");
    EXPECT_EQ(TextOf(Grid, 3, "C1"), "a3");

    Grid.Selection().Clear();
    SelectColumn("C3");
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1).Text("only").End());
    EXPECT_EQ(TextOf(Grid, 1, "C3"), "only");
    EXPECT_EQ(TextOf(Grid, 1, "C2"), "y1");
}

TEST_F(VCLDBIF, BytesAfterTheEndRecordAreNeverRead)
{
    SelectColumn("C1");
    const std::string data = TVCLDBIFBytes(1).Text("new").End().Bytes() + "\x05\xFF\xFF\xFF\x7Fgarbage";
    TMemoryStream stream;
    stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    stream.SetPosition(0);
    ImportGridFromStream(ImportClass<TDBGridGxImportAsVCLDBIF>, *Grid.Grid, stream, false);
    EXPECT_EQ(TextOf(Grid, 1, "C1"), "new");
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(TVCLDBIFBytes(1).Text("new").End().Bytes().size()));
}

TEST_F(VCLDBIF, NamedDescriptorsAreAcceptedAndMatchedByPosition)
{
    SelectColumn("C2");
    std::string bytes("VCLDBIF\x01\x01\0\0\0\x01" "C9\0", 16);
    bytes += TVCLDBIFBytes(0).Text("named").End().Bytes().substr(12);
    ImportVCLDBIF(*Grid.Grid, bytes);
    EXPECT_EQ(TextOf(Grid, 1, "C2"), "named");
}

TEST_F(VCLDBIF, ValueTheFieldRefusesGoesToThePrompt)
{
    SelectColumn("ID");
    TMessageAnswerer answerer(mrYes);
    ImportVCLDBIF(*Grid.Grid, TVCLDBIFBytes(1).Text("not a number").Integer(20).End());
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtError);
    EXPECT_EQ(answerer.Last().Text.rfind("Error during insert value:\n", 0), 0u);
    EXPECT_NE(answerer.Last().Text.find("\n\nIgnore error?"), std::string::npos);
    EXPECT_EQ(answerer.Last().Buttons, (TMsgDlgButtons{mbYes, mbNo, mbAll}));
    EXPECT_EQ(TextOf(Grid, 1, "C1"), "a1");
    EXPECT_EQ(TextOf(Grid, 20, "C1"), "a2");
}

}  // namespace
