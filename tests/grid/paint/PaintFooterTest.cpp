// Footer cells: the footer text of each value type, summary values
// formatted by the summed field's type, and the rendered footer and filler
// rows (text, colours, the footer event, selection, 3D frames and lines).

#include "grid/PaintTestSupport.h"

#include "data/FieldTypes.h"
#include "platform/FormatSettings.h"

#include <map>

#include <gtest/gtest.h>

namespace {

// A grid whose footers have summary values, as the footer summaries give
// them (value x 10000).
class TSummaryGrid : public TRecordingGrid {
public:
    std::map<const TColumnFooterGx*, int64_t> Values;
    bool FooterSummaryValue(const TColumnFooterGx& footer, int64_t& scaledValue) override
    {
        auto found = Values.find(&footer);
        if (found == Values.end())
            return false;
        scaledValue = found->second;
        return true;
    }
};

class PaintFooterText : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table->FieldDefs().Add("COUNT", ftInteger);
        Table->FieldDefs().Add("BIG", ftLargeint);
        Table->FieldDefs().Add("PRICE", ftFloat);
        Table->FieldDefs().Add("EXACT", ftBCD, 4);
        Table->FieldDefs().Add("NAME", ftString, 10);
        Table->AppendRecord({TVariant(1), TVariant(int64_t(5)), TVariant(1.5), TVariant(2.25), TVariant("Ann")});
        Table->Open();
        Grid.SetDataSource(&Source);
    }
    TColumnGx& Column(const std::string& name)
    {
        for (const auto& column : Grid.Columns())
            if (column->FieldName() == name)
                return *column;
        throw std::runtime_error("no column " + name);
    }
    // The footer text of a column whose Footer has this type and summary.
    std::string Text(const std::string& name, TFooterValueTypeGx type, std::optional<int64_t> scaled)
    {
        TColumnFooterGx& footer = *Column(name).Footer();
        footer.SetValueType(type);
        Grid.Values.erase(&footer);
        if (scaled)
            Grid.Values[&footer] = *scaled;
        return Grid.FooterText(0, Column(name));
    }

    std::unique_ptr<TMemTable> Table = std::make_unique<TMemTable>();
    TDataSource Source{Table.get()};
    TSummaryGrid Grid;
};

TEST_F(PaintFooterText, IntegerSummariesAreWholeNumbersUnlessAFormatIsSet)
{
    EXPECT_EQ(Text("COUNT", fvtSum, 150000), "15");
    EXPECT_EQ(Text("COUNT", fvtAvg, 25000), "2") << "rounded half to even";
    EXPECT_EQ(Text("BIG", fvtSum, int64_t(123456789012) * 10000), "123456789012");
    Table->FieldByName("COUNT")->SetDisplayFormat("0.00");
    EXPECT_EQ(Text("COUNT", fvtAvg, 25000), "2.50");
}

TEST_F(PaintFooterText, FloatAndBcdSummariesFollowTheField)
{
    EXPECT_EQ(Text("PRICE", fvtSum, 95000), "9.5");
    auto* price = static_cast<TFloatField*>(Table->FieldByName("PRICE"));
    price->SetCurrency(true);
    const std::string money = Text("PRICE", fvtSum, 95000);
    EXPECT_NE(money.find("9.50"), std::string::npos) << money;
    EXPECT_NE(money.find(FormatSettings().CurrencyString), std::string::npos) << money;
    price->SetCurrency(false);
    price->SetDisplayFormat("0.000");
    EXPECT_EQ(Text("PRICE", fvtAvg, 95000), "9.500");

    EXPECT_EQ(Text("EXACT", fvtSum, 22500), "2.25");
    Table->FieldByName("EXACT")->SetDisplayFormat("0.0");
    EXPECT_EQ(Text("EXACT", fvtSum, 22400), "2.2") << "the field's picture";
}

TEST_F(PaintFooterText, MissingSummariesFieldsAndOtherTypes)
{
    EXPECT_EQ(Text("NAME", fvtSum, 10000), "0") << "a string field";
    EXPECT_EQ(Text("PRICE", fvtSum, std::nullopt), "0") << "no summary";
    EXPECT_EQ(Text("PRICE", fvtCount, std::nullopt), "") << "no count summary";
    EXPECT_EQ(Text("PRICE", fvtCount, 30000), "3");
    Column("PRICE").Footer()->SetFieldName("NOSUCH");
    EXPECT_EQ(Text("PRICE", fvtSum, 10000), "0") << "no such field";
}

TEST_F(PaintFooterText, FieldValueStaticTextAndNone)
{
    TColumnFooterGx& footer = *Column("COUNT").Footer();
    footer.SetFieldName("NAME");
    EXPECT_EQ(Text("COUNT", fvtFieldValue, std::nullopt), "Ann");
    footer.SetFieldName("");
    EXPECT_EQ(Text("COUNT", fvtFieldValue, std::nullopt), "");
    footer.SetValue("Total");
    EXPECT_EQ(Text("COUNT", fvtStaticText, std::nullopt), "Total");
    EXPECT_EQ(Text("COUNT", fvtNon, std::nullopt), "");
    footer.SetFieldName("NAME");
    Table->Close();
    EXPECT_EQ(Grid.FooterText(0, *Grid.Columns()[0]), "") << "closed dataset";
}

// ---- rendered footers ---------------------------------------------------

class PaintFooter : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.G().SetFooterRowCount(1);
        TColumnFooterGx& footer = *grid.Column(1).Footer();
        footer.SetValueType(fvtStaticText);
        footer.SetValue("Sum");
    }
    int FooterRow() { return grid.G().RowCount() - 1; }
    int FillerRow() { return grid.G().RowCount() - 2; }
    TPaintGrid grid;
};

TEST_F(PaintFooter, FooterTextStartsAtDxAndDyInTheFooterColour)
{
    grid.G().SetFooterColor(clAqua);
    const QRect cell = grid.Cell(1, FooterRow());
    const QImage image = grid.Render();
    EXPECT_EQ(Pixel(image, cell.x() + cell.width() - 2, cell.center().y()), Qc(clAqua));
    const QPoint ink = FirstInk(image, cell, Qc(clAqua));
    const QPoint none = FirstInk(image, grid.Cell(2, FooterRow()), Qc(clAqua));
    EXPECT_EQ(none, QPoint(-1, -1)) << "fvtNon shows nothing";
    EXPECT_GE(ink.x(), cell.x() + 2);
    EXPECT_LE(ink.x(), cell.x() + 4);
    EXPECT_GE(ink.y(), cell.y() + 2);
}

TEST_F(PaintFooter, FooterEventChangesTextColourAndAlignment)
{
    std::vector<int> rows;
    int drawn = 0;
    grid.G().OnGetFooterParams = [&](TCustomDBGridGx&, int dataCol, int row, TColumnGx&, TFontGx&,
                                     TColor& background, TAlignment& alignment, TGridDrawState, std::string& text) {
        rows.push_back(row);
        if (dataCol == 1) {
            background = clYellow;
            alignment = taRightJustify;
            text = "X";
        }
    };
    grid.G().OnDrawFooterCell = [&](TCustomDBGridGx&, int, int, TColumnGx&, const QRect&, TGridDrawState) {
        ++drawn;
    };
    const QImage image = grid.Render();
    const QRect cell = grid.Cell(1, FooterRow());
    EXPECT_EQ(Pixel(image, cell.x() + 1, cell.center().y()), Qc(clYellow));
    const QPoint ink = FirstInk(image, cell, Qc(clYellow));
    EXPECT_GT(ink.x(), cell.x() + cell.width() / 2) << "right-aligned";
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), 0) << "the footer row, counted from 0";
    EXPECT_GT(drawn, 0);
}

TEST_F(PaintFooter, SelectedColumnFooterAndFillerAreHighlighted)
{
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().Selection().Cols().Select(&grid.Column(1), false);
    const QImage image = grid.Render();
    EXPECT_EQ(Pixel(image, grid.Cell(1, FooterRow()).center() + QPoint(20, 0)), Qc(clHighlight));
    const QRect filler = grid.Cell(1, FillerRow());
    if (filler.height() > 0) {
        EXPECT_EQ(Pixel(image, filler.center()), Qc(clHighlight));
    }
    EXPECT_EQ(Pixel(image, grid.Cell(2, FooterRow()).center()), Qc(clWindow));
}

TEST_F(PaintFooter, Footer3DFramesTheFootersAndDrawsFixedLines)
{
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghFooter3D);
    const QImage image = grid.Render();
    const QRect cell = grid.Cell(2, FooterRow());
    EXPECT_EQ(Pixel(image, cell.topLeft()), Qc(clBtnHighlight)) << "raised frame";
    EXPECT_EQ(Pixel(image, cell.bottomRight()), Qc(clBtnShadow));
    // The vertical line after the footer cell is a fixed (black) line; the
    // data rows keep silver lines.
    const int lineX = cell.x() + cell.width();
    EXPECT_EQ(Pixel(image, lineX, cell.center().y()), Qc(clBlack));
    EXPECT_EQ(Pixel(image, lineX, grid.Cell(2, 1).center().y()), Qc(clSilver));
    // One line across the top of the footers.
    EXPECT_EQ(Pixel(image, cell.center().x(), cell.y() - 1), Qc(clBlack));
}

}  // namespace
