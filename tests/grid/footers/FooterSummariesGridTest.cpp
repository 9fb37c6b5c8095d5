// The grid's footers show the summary list's values: sums, averages and
// counts over the grid's dataset, kept current through edits, and no number
// at all where none can be computed.

#include "grid/GridTestSupport.h"
#include "grid/footers/DBGridGxFooterSummaries.h"

#include <gtest/gtest.h>

namespace {

struct TSummedGrid {
    std::unique_ptr<TMemTable> Table = SampleTable();
    std::unique_ptr<TDataSource> Source = std::make_unique<TDataSource>(Table.get());
    std::unique_ptr<TDBGridGx> Grid = std::make_unique<TDBGridGx>();

    TSummedGrid()
    {
        Grid->SetDataSource(Source.get());
        Grid->SetFooterRowCount(1);
    }
    TColumnGx& Column(const std::string& fieldName)
    {
        for (const auto& column : Grid->Columns())
            if (column->FieldName() == fieldName)
                return *column;
        throw std::runtime_error("no column " + fieldName);
    }
    std::string Footer(const std::string& fieldName) { return Grid->FooterText(0, Column(fieldName)); }
};

} // namespace

TEST(FooterSummariesGrid, FootersShowTheListsValuesOnceItIsActive)
{
    TSummedGrid g;
    g.Column("AMOUNT").Footer()->SetValueType(fvtSum);
    g.Column("ID").Footer()->SetValueType(fvtCount);
    // Created inactive: a sum shows 0 and a count nothing until switched on.
    EXPECT_EQ(g.Footer("AMOUNT"), "0");
    int recalcs = 0;
    g.Grid->FooterSummaries().OnSumListRecalcAll = [&](TCustomDBGridGx& sender) {
        EXPECT_EQ(&sender, g.Grid.get());
        ++recalcs;
    };
    g.Grid->FooterSummaries().SumList().SetActive(true);
    EXPECT_EQ(recalcs, 1);
    EXPECT_EQ(g.Footer("AMOUNT"), "9.5");
    EXPECT_EQ(g.Footer("ID"), "3");

    g.Table->First();
    g.Table->Edit();
    g.Table->FieldByName("AMOUNT")->SetAsFloat(22.5);
    g.Table->Post();
    EXPECT_EQ(g.Footer("AMOUNT"), "19.5");
    g.Table->Delete();
    EXPECT_EQ(g.Footer("AMOUNT"), "-3");
    EXPECT_EQ(g.Footer("ID"), "2");
    EXPECT_EQ(recalcs, 1);

    // An average footer re-points its item.
    g.Column("AMOUNT").Footer()->SetValueType(fvtAvg);
    EXPECT_EQ(g.Footer("AMOUNT"), "-3");
    g.Column("AMOUNT").Footer()->SetValueType(fvtNon);
    EXPECT_EQ(g.Grid->FooterSummaries().SumList().SumCollection().Count(), 1);
}

TEST(FooterSummariesGrid, ASumThatCannotBeComputedShowsNothing)
{
    TSummedGrid g;
    g.Column("NAME").Footer()->SetValueType(fvtSum);
    g.Grid->FooterSummaries().SumList().SetActive(true);
    EXPECT_EQ(g.Footer("NAME"), "");
}

TEST(FooterSummariesGrid, TheListFollowsTheGridsDataSet)
{
    TSummedGrid g;
    g.Column("AMOUNT").Footer()->SetValueType(fvtSum);
    g.Grid->FooterSummaries().SumList().SetActive(true);
    EXPECT_EQ(g.Grid->FooterSummaries().SumList().DataSet(), g.Table.get());
    g.Grid->SetDataSource(nullptr);
    EXPECT_EQ(g.Grid->FooterSummaries().SumList().DataSet(), nullptr);
    // The table's own handlers are back: nothing of the list runs on a post.
    EXPECT_FALSE(g.Table->AfterPost);
}
