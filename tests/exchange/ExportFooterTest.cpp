// Footer rows of an export: sum and count over the exported records only,
// the grid's own text for the other kinds, and the footer event.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsText.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxExportClass Text = ExportClass<TDBGridGxExportAsText>;

class ExportFooters : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.AddField("N", ftInteger);
        Grid.AddField("F", ftFloat);
        Grid.AddField("S", ftString, 10);
        Grid.AddRecord({TVariant(1), TVariant(1.25), TVariant("a")});
        Grid.AddRecord({TVariant(2), TVariant::Null(), TVariant("b")});
        Grid.AddRecord({TVariant(4), TVariant(2.5), TVariant::Null()});
        Grid.Bind();
        Grid.Grid->SetOptions(Grid.Grid->Options() - dgTitles);
        Grid.Grid->SetFooterRowCount(1);
    }
    TColumnFooterGx& Footer(const std::string& field) { return *Grid.Column(field)->Footer(); }
    // The last line of the export: the footer row.
    std::string FooterLine(bool all)
    {
        const std::string text = Exported(Text, *Grid.Grid, all);
        return text.substr(text.rfind("\r\n") + 2);
    }

    TExportGrid Grid;
};

TEST_F(ExportFooters, SumCoversTheExportedRecordsOnly)
{
    Footer("N").SetValueType(fvtSum);
    Footer("F").SetValueType(fvtSum);
    EXPECT_EQ(FooterLine(true), "7\t3.75\t");
    for (int id : {1, 4}) {
        Grid.GoTo("N", TVariant(id));
        Grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
    }
    EXPECT_EQ(FooterLine(false), "5\t3.75\t");
}

TEST_F(ExportFooters, CountCountsNullsAndIsZeroWithoutItsField)
{
    Footer("F").SetValueType(fvtCount);
    Footer("S").SetValueType(fvtCount);
    Footer("S").SetFieldName("MISSING");
    EXPECT_EQ(FooterLine(true), "\t3\t0");
}

TEST_F(ExportFooters, SumWithoutItsFieldIsEmpty)
{
    Footer("N").SetValueType(fvtSum);
    Footer("N").SetFieldName("MISSING");
    Footer("F").SetValueType(fvtSum);
    Footer("F").SetFieldName("N");
    EXPECT_EQ(FooterLine(true), "\t7\t");
}

TEST_F(ExportFooters, SumOfATextFieldIsEmpty)
{
    Footer("S").SetValueType(fvtSum);
    EXPECT_EQ(FooterLine(true), "\t\t");
}

TEST_F(ExportFooters, SumFollowsTheFieldsDisplayFormat)
{
    Grid.Table->FieldByName("F")->SetDisplayFormat("0.000");
    Footer("F").SetValueType(fvtSum);
    EXPECT_EQ(FooterLine(true), "\t3.750\t");
}

TEST_F(ExportFooters, OtherKindsRepeatTheGridsFooterText)
{
    Footer("N").SetValueType(fvtAvg);
    Footer("F").SetValueType(fvtStaticText);
    Footer("F").SetValue("Total");
    Footer("S").SetValueType(fvtFieldValue);
    Footer("S").SetFieldName("S");
    Grid.GoTo("N", TVariant(2));
    const std::string gridText = Grid.Grid->FooterText(0, *Grid.Column("N"));
    EXPECT_EQ(FooterLine(true), gridText + "\tTotal\tb");
}

TEST_F(ExportFooters, FooterRowsFollowFootersAndTheEventMayChangeThem)
{
    Grid.Grid->SetFooterRowCount(2);
    Footer("N").SetValueType(fvtSum);
    TColumnFooterGx* first = Grid.Column("N")->Footers()->Add();
    first->SetValueType(fvtCount);
    std::vector<int> rows;
    Grid.Grid->OnGetFooterParams = [&](TCustomDBGridGx&, int dataCol, int row, TColumnGx& column, TFontGx&,
                                       TColor&, TAlignment&, TGridDrawState, std::string& text) {
        EXPECT_EQ(dataCol, column.Index());
        rows.push_back(row);
        if (column.FieldName() == "S")
            text = "r" + std::to_string(row);
    };
    const std::string text = Exported(Text, *Grid.Grid, true);
    EXPECT_EQ(text.substr(text.size() - 12), "3\t\tr0\r\n7\t\tr1");
    EXPECT_EQ(rows, (std::vector<int>{0, 0, 0, 1, 1, 1}));
}

}  // namespace
