// Stepping the value of a lookup column: the key of the lookup record after
// or before the current one, wrapping at either end; a missing key or one
// the lookup table does not hold starts from its first record.

#include "editors/LookupTestSupport.h"

#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxStepValue.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Plantings 1 (tree 1) and 2 (no tree) over the trees Oak 1, Ash 2, Elm 3.
class StepLookupValue : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tables.OpenPlantingsWithLookup();
        Grid.SetDataSource(&Tables.PlantingSource);
    }
    TColumnGx& Lookup()
    {
        for (const auto& column : Grid.Columns())
            if (column->FieldName() == "TREENAME")
                return *column;
        throw std::runtime_error("no lookup column");
    }
    void GoTo(int no) { ASSERT_TRUE(Tables.Plantings.Locate("NO", TVariant(no))); }
    TField& Tree() const { return *Tables.Plantings.FieldByName("TREE"); }

    TTreeTables Tables{{{1, "Oak"}, {2, "Ash"}, {3, "Elm"}}};
    TDBGridGx Grid;
};

TEST_F(StepLookupValue, WalksTheLookupRecordsBothWaysAndWraps)
{
    TColumnGx& column = Lookup();
    ASSERT_EQ(column.ColumnKind(), ckLookupField);
    GoTo(1);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(Tree().AsInteger(), 2);
    EXPECT_EQ(column.DisplayText(), "Ash") << "the result field of the new key";
    EXPECT_EQ(Tables.Plantings.State(), dsEdit);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(Tree().AsInteger(), 3);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(Tree().AsInteger(), 1) << "after the last record the first";
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(Tree().AsInteger(), 3) << "before the first record the last";
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(Tree().AsInteger(), 2);
    Tables.Plantings.Post();
    EXPECT_EQ(Tree().AsInteger(), 2);
}

TEST_F(StepLookupValue, AMissingOrUnknownKeyStartsFromTheFirstLookupRecord)
{
    TColumnGx& column = Lookup();
    GoTo(2);   // no tree
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(Tree().AsInteger(), 2);
    Tables.Plantings.Cancel();
    GoTo(2);
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(Tree().AsInteger(), 3);
    Tree().SetAsInteger(99);   // no such tree
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(Tree().AsInteger(), 2);
}

TEST_F(StepLookupValue, TheWriteGoesThroughTheColumnsUpdateDataWithTheShownText)
{
    TColumnGx& column = Lookup();
    std::string text;
    TVariant value;
    column.OnUpdateData = [&](TColumnGx&, std::string& t, TVariant& v, bool& useText, bool& handled) {
        text = t;
        value = v;
        EXPECT_FALSE(useText);
        handled = true;
    };
    GoTo(1);
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(text, "Elm");
    EXPECT_EQ(value.AsInteger(), 3);
    EXPECT_EQ(Tree().AsInteger(), 1) << "a handled write leaves the field";
}

TEST_F(StepLookupValue, NothingChangesWhenTheColumnOrTheLookupTableCannotServe)
{
    TColumnGx& column = Lookup();
    GoTo(1);
    column.SetReadOnly(true);
    EXPECT_FALSE(StepColumnValue(column, 1));
    EXPECT_EQ(Tables.Plantings.State(), dsBrowse);
    column.SetReadOnly(false);

    Tables.Trees.Close();
    EXPECT_FALSE(StepColumnValue(column, 1));
    EXPECT_EQ(Tables.Plantings.State(), dsBrowse) << "no edit started for nothing";
    Tables.Trees.Open();
    while (!Tables.Trees.IsEmpty())
        Tables.Trees.Delete();
    EXPECT_FALSE(StepColumnValue(column, 1)) << "an empty lookup table has no value to give";
    EXPECT_EQ(Tree().AsInteger(), 1);
}

}  // namespace
