// Default and user columns: the columns the grid derives from the dataset's
// fields, and how user columns replace them.

#include "grid/GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;
const Names AllFields{"ID", "NAME", "ACTIVE", "CODE", "NOTES", "AMOUNT"};

TEST(DefaultColumns, AGridWithoutDataShowsOneEmptyDefaultColumn)
{
    TDBGridGx grid;
    ASSERT_EQ(grid.Columns().Count(), 1);
    TColumnGx* column = grid.Columns()[0];
    EXPECT_FALSE(column->IsUserColumn());
    EXPECT_EQ(column->Field(), nullptr);
    EXPECT_EQ(column->Width(), grid.DefaultColWidth());
    EXPECT_EQ(grid.Columns().State(), csDefault);
    EXPECT_EQ(grid.ColCount(), 2);   // the indicator and the column
    EXPECT_EQ(grid.ColWidths(0), 11);
}

TEST(DefaultColumns, OpeningTheDatasetMakesOneDefaultColumnPerVisibleField)
{
    auto table = SampleTable(false);
    TDataSource source(table.get());
    TDBGridGx grid;
    grid.SetDataSource(&source);
    EXPECT_EQ(grid.Columns().Count(), 1);

    table->Open();
    EXPECT_EQ(ColumnFieldNames(grid.Columns()), AllFields);
    for (const auto& column : grid.Columns()) {
        EXPECT_FALSE(column->IsUserColumn());
        EXPECT_EQ(column->Field(), table->FieldByName(column->FieldName()));
    }
    EXPECT_EQ(grid.Columns().State(), csDefault);
    EXPECT_EQ(grid.ColCount(), 7);
    EXPECT_EQ(grid.ColWidths(2), grid.Columns()[1]->Width());

    table->Close();
    EXPECT_EQ(grid.Columns().Count(), 1);
    EXPECT_EQ(grid.Columns()[0]->Field(), nullptr);
}

TEST(DefaultColumns, HidingAFieldDropsItsColumnAndShowingItBringsItBack)
{
    TBoundGrid bound;
    bound.Field("CODE")->SetVisible(false);
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), (Names{"ID", "NAME", "ACTIVE", "NOTES", "AMOUNT"}));

    bound.Field("CODE")->SetVisible(true);
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), AllFields);
}

TEST(DefaultColumns, MovingAFieldReordersTheColumns)
{
    TBoundGrid bound;
    TColumnGx* amount = bound.Column("AMOUNT");
    amount->SetWidth(77);
    bound.Field("AMOUNT")->SetIndex(0);
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), (Names{"AMOUNT", "ID", "NAME", "ACTIVE", "CODE", "NOTES"}));
    // The column that follows the field is the same one, settings and all.
    EXPECT_EQ(bound.Columns()[0], amount);
    EXPECT_EQ(amount->Width(), 77);
}

TEST(DefaultColumns, MovingADefaultColumnMovesItsField)
{
    TBoundGrid bound;
    bound.Column("NOTES")->SetIndex(1);
    EXPECT_EQ(bound.Field("NOTES")->Index(), 1);
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), (Names{"ID", "NOTES", "NAME", "ACTIVE", "CODE", "AMOUNT"}));
}

TEST(DefaultColumns, SettingsOfADefaultColumnThatBelongToTheFieldGoToTheField)
{
    TBoundGrid bound;
    TColumnGx* name = bound.Column("NAME");
    name->Title()->SetCaption("Customer");
    EXPECT_EQ(bound.Field("NAME")->DisplayLabel(), "Customer");
    EXPECT_FALSE(bound.Column("NAME")->AssignedValues().Contains(cvTitleCaption));
    EXPECT_EQ(bound.Column("NAME")->Title()->Caption(), "Customer");

    bound.Column("NAME")->SetAlignment(taCenter);
    EXPECT_EQ(bound.Field("NAME")->Alignment(), taCenter);
    EXPECT_FALSE(bound.Column("NAME")->AssignedValues().Contains(cvAlignment));

    bound.Column("NAME")->SetReadOnly(true);
    EXPECT_TRUE(bound.Field("NAME")->ReadOnly());
    EXPECT_TRUE(bound.Column("NAME")->ReadOnly());
}

TEST(DefaultColumns, AUserColumnFreesTheDefaultColumns)
{
    TBoundGrid bound;
    ASSERT_EQ(bound.Columns().Count(), 6);
    TColumnGx* user = bound.Columns().Add();
    user->SetFieldName("NAME");
    ASSERT_EQ(bound.Columns().Count(), 1);
    EXPECT_EQ(bound.Columns()[0], user);
    EXPECT_TRUE(user->IsUserColumn());
    EXPECT_EQ(bound.Columns().State(), csCustomized);
    EXPECT_EQ(user->Field(), bound.Field("NAME"));
    EXPECT_EQ(bound.Grid->ColCount(), 2);
}

TEST(DefaultColumns, UserColumnsStayWhenFieldsChange)
{
    TBoundGrid bound;
    TColumnGx* amount = bound.Columns().Add();
    amount->SetFieldName("AMOUNT");
    TColumnGx* missing = bound.Columns().Add();
    missing->SetFieldName("NO_SUCH_FIELD");
    bound.Field("AMOUNT")->SetVisible(false);
    ASSERT_EQ(bound.Columns().Count(), 2);
    EXPECT_EQ(amount->Field(), bound.Field("AMOUNT"));
    EXPECT_EQ(missing->Field(), nullptr);
    EXPECT_EQ(missing->DisplayText(), "");
    EXPECT_FALSE(missing->CanModify(false));

    // Reopening binds a user column to the new field of the same name.
    bound.Table->Close();
    EXPECT_EQ(bound.Columns().Count(), 2);
    bound.Table->Open();
    EXPECT_EQ(amount->Field(), bound.Field("AMOUNT"));
    EXPECT_EQ(amount->FieldName(), "AMOUNT");
}

TEST(DefaultColumns, AUserColumnBindsByNameWhateverTheCase)
{
    TBoundGrid bound;
    TColumnGx* user = bound.Columns().Add();
    user->SetFieldName("name");
    EXPECT_EQ(user->Field(), bound.Field("NAME"));
    EXPECT_EQ(user->FieldName(), "NAME");
}

TEST(DefaultColumns, DeletingTheUserColumnsGivesDefaultColumnsBack)
{
    TBoundGrid bound;
    bound.Columns().Add()->SetFieldName("ID");
    ASSERT_EQ(bound.Columns().State(), csCustomized);
    bound.Columns().Clear();
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), AllFields);
    EXPECT_EQ(bound.Columns().State(), csDefault);
}

TEST(DefaultColumns, ClosingTheDatasetOrDroppingTheSourceLeavesOneEmptyColumn)
{
    TBoundGrid bound;
    bound.Grid->SetDataSource(nullptr);
    ASSERT_EQ(bound.Columns().Count(), 1);
    EXPECT_EQ(bound.Columns()[0]->Field(), nullptr);

    bound.Grid->SetDataSource(bound.Source.get());
    EXPECT_EQ(bound.Columns().Count(), 6);
    bound.Source.reset();   // the source is freed while bound
    EXPECT_EQ(bound.Grid->DataSource(), nullptr);
    ASSERT_EQ(bound.Columns().Count(), 1);
    EXPECT_EQ(bound.Columns()[0]->Field(), nullptr);
}

TEST(DefaultColumns, ColumnsAddedInsideALayoutLockRunOneLayoutPass)
{
    TBoundGrid bound;
    int passes = bound.Grid->LayoutPassCount();
    {
        TLayoutLockGx lock(bound.Grid.get());
        for (const char* name : {"ID", "NAME", "CODE"})
            bound.Columns().Add()->SetFieldName(name);
        EXPECT_EQ(bound.Grid->LayoutPassCount(), passes);
    }
    EXPECT_EQ(bound.Grid->LayoutPassCount(), passes + 1);
    EXPECT_EQ(ColumnFieldNames(bound.Columns()), (Names{"ID", "NAME", "CODE"}));
}

TEST(DefaultColumns, CollectionAssignMakesUserCopies)
{
    TBoundGrid bound;
    bound.Column("NAME")->SetColor(clYellow);
    TDBGridColumnsGx copy(nullptr);
    copy.Assign(bound.Columns());
    ASSERT_EQ(copy.Count(), 6);
    EXPECT_TRUE(copy[1]->IsUserColumn());
    EXPECT_EQ(copy[1]->FieldName(), "NAME");
    EXPECT_EQ(copy[1]->Color(), clYellow);
    EXPECT_EQ(copy.State(), csCustomized);
}

}  // namespace
