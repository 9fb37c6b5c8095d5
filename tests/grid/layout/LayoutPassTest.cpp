// The layout pass: the grid's shape (indicator, titles, fixed columns with
// frozen and invisible columns, visible-columns list), tab stops, the
// option sets mapped onto the base grid, the scroll bar style, and layout
// requests collapsing into one pass.

#include "grid/GridTestSupport.h"

#include "data/FieldTypes.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TGridOptions BaseOptions(const TDBGridGx& grid) { return static_cast<const TCustomGrid&>(grid).Options(); }

Names VisibleNames(const TDBGridGx& grid)
{
    Names names;
    for (TColumnGx* column : grid.VisibleColumns())
        names.push_back(column->FieldName());
    return names;
}

// A table of four fields, one of them hidden before the grid sees it.
struct TFourFields {
    TMemTable Table;
    TDataSource Source{&Table};
    TRecordingGrid Grid;

    TFourFields()
    {
        Table.FieldDefs().Add("A", ftInteger);
        Table.FieldDefs().Add("B", ftString, 10);
        Table.FieldDefs().Add("C", ftString, 10);
        Table.FieldDefs().Add("D", ftFloat);
        Table.AppendRecord({TVariant(1), TVariant("x"), TVariant("y"), TVariant(1.5)});
        Table.Open();
        Table.FieldByName("C")->SetVisible(false);
        Grid.SetDataSource(&Source);
    }
};

TEST(LayoutPass, AGridWithoutDataSourceHasOneEmptyColumnAndTheDefaultShape)
{
    TDBGridGx grid;
    ASSERT_EQ(grid.Columns().Count(), 1);
    EXPECT_EQ(grid.Columns()[0]->Field(), nullptr);
    EXPECT_EQ(grid.VisibleColumns().Count(), 1);
    EXPECT_EQ(grid.VisibleColumns()[0], grid.Columns()[0]);
    EXPECT_EQ(grid.IndicatorCols(), 1);
    EXPECT_EQ(grid.TitleRows(), 1);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.ColWidths(0), 11);
    EXPECT_EQ(grid.RowHeights(0), grid.TitleRowHeight());
}

TEST(LayoutPass, VisibleFieldsGiveDefaultColumnsInFieldOrder)
{
    TFourFields f;
    EXPECT_EQ(ColumnFieldNames(f.Grid.Columns()), (Names{"A", "B", "D"}));
    EXPECT_EQ(VisibleNames(f.Grid), (Names{"A", "B", "D"}));
    EXPECT_EQ(f.Grid.ColCount(), 4);

    f.Table.FieldByName("B")->SetVisible(false);
    EXPECT_EQ(ColumnFieldNames(f.Grid.Columns()), (Names{"A", "D"}));
    EXPECT_EQ(f.Grid.ColCount(), 3);

    f.Table.FieldByName("C")->SetVisible(true);
    EXPECT_EQ(ColumnFieldNames(f.Grid.Columns()), (Names{"A", "C", "D"}));
}

TEST(LayoutPass, AUserColumnAfterDefaultColumnsLeavesOnlyUserColumns)
{
    TFourFields f;
    ASSERT_EQ(f.Grid.Columns().State(), csDefault);
    TColumnGx* user = f.Grid.Columns().Add();
    user->SetFieldName("C");
    ASSERT_EQ(f.Grid.Columns().Count(), 1);
    EXPECT_EQ(f.Grid.Columns()[0], user);
    EXPECT_TRUE(user->IsUserColumn());
    EXPECT_EQ(f.Grid.Columns().State(), csCustomized);
    // A customized collection shows hidden fields too: its columns name them.
    EXPECT_EQ(user->Field(), f.Table.FieldByName("C"));
    EXPECT_EQ(f.Grid.ColCount(), 2);
}

TEST(LayoutPass, TheVisibleColumnsListSkipsHiddenColumnsInOrder)
{
    TBoundGrid bound;
    bound.Column("NAME")->SetVisible(false);
    bound.Column("NOTES")->SetVisible(false);
    EXPECT_EQ(VisibleNames(*bound.Grid), (Names{"ID", "ACTIVE", "CODE", "AMOUNT"}));
    // Hidden columns keep their grid column, as a line only.
    EXPECT_EQ(bound.Grid->ColCount(), 7);
    EXPECT_EQ(bound.Grid->ColWidths(2), -1);
    bound.Grid->SetOptions(bound.Grid->Options() - dgColLines);
    EXPECT_EQ(bound.Grid->ColWidths(2), 0);
}

TEST(LayoutPass, FrozenColumnsBecomeFixedColumnsWidenedByInvisibleOnes)
{
    TBoundGrid bound;   // ID NAME ACTIVE CODE NOTES AMOUNT
    TDBGridGx& grid = *bound.Grid;
    grid.SetFrozenCols(2);
    EXPECT_EQ(grid.FixedCols(), 1 + 2);

    // An invisible column among the first two visible ones widens the range.
    bound.Column("NAME")->SetVisible(false);
    EXPECT_EQ(grid.FixedCols(), 1 + 2 + 1);
    // Invisible columns right after the frozen ones are taken in as well.
    bound.Column("CODE")->SetVisible(false);
    bound.Column("NOTES")->SetVisible(false);
    EXPECT_EQ(grid.FixedCols(), 1 + 2 + 3);
    // The same rule without an indicator.
    grid.SetOptions(grid.Options() - dgIndicator);
    EXPECT_EQ(grid.FixedCols(), 2 + 3);

    // A negative value is ignored.
    grid.SetFrozenCols(-1);
    EXPECT_EQ(grid.FrozenCols(), 2);
}

TEST(LayoutPass, LeadingInvisibleColumnsAreFixedEvenWithoutFrozenColumns)
{
    TBoundGrid bound;
    bound.Column("ID")->SetVisible(false);
    bound.Column("NAME")->SetVisible(false);
    EXPECT_EQ(bound.Grid->FixedCols(), 1 + 2);
}

TEST(LayoutPass, WithNoColumnVisibleOneColumnStaysScrollable)
{
    TBoundGrid bound;
    for (const auto& column : bound.Columns())
        column->SetVisible(false);
    EXPECT_TRUE(bound.Grid->VisibleColumns().Empty());
    EXPECT_EQ(bound.Grid->ColCount(), 7);
    EXPECT_EQ(bound.Grid->FixedCols(), 1 + 5);
}

TEST(LayoutPass, FrozenColumnsCountOnlyWithAnActiveLinkOrUserColumns)
{
    auto table = SampleTable(false);
    TDataSource source(table.get());
    TDBGridGx grid;
    grid.SetDataSource(&source);
    grid.SetFrozenCols(1);
    EXPECT_EQ(grid.FixedCols(), 1);   // closed: the one empty column scrolls

    grid.Columns().Add()->SetFieldName("ID");
    grid.Columns().Add()->SetFieldName("NAME");
    EXPECT_EQ(grid.FixedCols(), 1 + 1);   // user columns freeze without data

    grid.Columns().Clear();
    table->Open();
    EXPECT_EQ(grid.FixedCols(), 1 + 1);
}

TEST(LayoutPass, MoreFrozenColumnsThanColumnsLeaveTheLastOneScrolling)
{
    TBoundGrid bound;
    bound.Grid->SetFrozenCols(10);   // only six columns
    EXPECT_EQ(bound.Grid->FrozenCols(), 10);
    EXPECT_EQ(bound.Grid->FixedCols(), bound.Grid->ColCount() - 1);

    // A table with fewer fields shown under the same setting.
    bound.Grid->SetFrozenCols(5);
    TMemTable small;
    small.FieldDefs().Add("ONLY", ftInteger);
    small.Open();
    TDataSource smallSource(&small);
    bound.Grid->SetDataSource(&smallSource);
    EXPECT_EQ(bound.Grid->ColCount(), 2);
    EXPECT_EQ(bound.Grid->FixedCols(), 1);
    bound.Grid->SetDataSource(nullptr);
}

TEST(LayoutPass, OptionsMapOntoTheBaseGrid)
{
    TDBGridGx grid;
    EXPECT_EQ(grid.Options(), DefaultDBGridOptions);
    EXPECT_EQ(grid.OptionsGx(), DefaultDBGridGxOptions);
    EXPECT_EQ(BaseOptions(grid), (TGridOptions{goFixedVertLine, goVertLine, goFixedHorzLine, goHorzLine,
                                               goColSizing, goColMoving, goTabs, goEditing}));

    grid.SetOptions({dgColLines, dgAlwaysShowEditor, dgEditing});
    EXPECT_EQ(BaseOptions(grid), (TGridOptions{goFixedVertLine, goVertLine, goAlwaysShowEditor, goEditing}));
    grid.SetOptions({dgRowLines, dgTabs});
    EXPECT_EQ(BaseOptions(grid), (TGridOptions{goFixedHorzLine, goHorzLine, goTabs}));
    grid.SetRowSizingAllowed(true);
    EXPECT_EQ(BaseOptions(grid), (TGridOptions{goFixedHorzLine, goHorzLine, goTabs, goRowSizing}));
    // Options that map to nothing leave the base grid's options alone.
    grid.SetOptions({dgRowLines, dgTabs, dgConfirmDelete, dgCancelOnExit, dgMultiSelect, dgTitles});
    EXPECT_EQ(BaseOptions(grid), (TGridOptions{goFixedHorzLine, goHorzLine, goTabs, goRowSizing}));
    grid.SetRowSizingAllowed(false);
    EXPECT_FALSE(BaseOptions(grid).Contains(goRowSizing));
}

TEST(LayoutPass, RowSelectDropsEditingFromTheStoredOptions)
{
    TDBGridGx grid;
    grid.SetOptions(grid.Options() + dgAlwaysShowEditor + dgRowSelect);
    EXPECT_TRUE(grid.Options().Contains(dgRowSelect));
    EXPECT_FALSE(grid.Options().Contains(dgEditing));
    EXPECT_FALSE(grid.Options().Contains(dgAlwaysShowEditor));
    EXPECT_TRUE(BaseOptions(grid).Contains(goRowSelect));
    EXPECT_FALSE(BaseOptions(grid).Contains(goEditing));
    EXPECT_FALSE(BaseOptions(grid).Contains(goAlwaysShowEditor));
    // Editing cannot come back while rows are selected whole.
    grid.SetOptions(grid.Options() + dgEditing);
    EXPECT_FALSE(grid.Options().Contains(dgEditing));
}

TEST(LayoutPass, OnlyOptionsThatChangeTheShapeRunTheLayoutPass)
{
    TDBGridGx grid;
    int passes = grid.LayoutPassCount();
    grid.SetOptions(grid.Options() - dgConfirmDelete - dgCancelOnExit - dgTabs - dgColumnResize);
    EXPECT_EQ(grid.LayoutPassCount(), passes);
    grid.SetOptions(grid.Options() - dgIndicator);
    EXPECT_EQ(grid.LayoutPassCount(), passes + 1);
    EXPECT_EQ(grid.IndicatorCols(), 0);
    EXPECT_EQ(grid.FixedCols(), 0);
    grid.SetOptions(grid.Options() - dgTitles);
    EXPECT_EQ(grid.LayoutPassCount(), passes + 2);
    EXPECT_EQ(grid.TitleRows(), 0);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.TitleRowHeight(), 0);
    grid.SetOptionsGx(grid.OptionsGx() + dghRowHighlight);
    EXPECT_EQ(grid.LayoutPassCount(), passes + 3);
}

TEST(LayoutPass, RequestsInsideNestedLocksCollapseIntoOnePass)
{
    TBoundGrid bound;
    TDBGridGx& grid = *bound.Grid;
    int passes = grid.LayoutPassCount();
    int requests = grid.LayoutRequestCount();
    grid.LockLayout();
    {
        TLayoutLockGx inner(&grid);
        grid.SetFrozenCols(1);
        grid.SetRowLines(2);
        grid.SetFlat(true);
        bound.Field("CODE")->SetVisible(false);
        grid.RequestLayout();
    }
    EXPECT_EQ(grid.LayoutPassCount(), passes);
    EXPECT_GT(grid.LayoutRequestCount(), requests + 4);
    EXPECT_EQ(grid.Columns().Count(), 6);   // nothing rebuilt yet
    grid.UnlockLayout();
    EXPECT_EQ(grid.LayoutPassCount(), passes + 1);
    EXPECT_EQ(grid.LayoutLock(), 0);
    EXPECT_EQ(grid.UpdateLock(), 0);
    // The one pass saw every change.
    EXPECT_EQ(grid.Columns().Count(), 5);
    EXPECT_EQ(grid.FixedCols(), 2);
    EXPECT_TRUE(grid.MultiLine());
}

TEST(LayoutPass, ThePassDropsAQueuedDeferredLayout)
{
    TDBGridGx grid;
    grid.PostDeferredLayout();
    ASSERT_TRUE(grid.DeferredLayoutPosted());
    grid.RequestLayout();
    EXPECT_FALSE(grid.DeferredLayoutPosted());
    int passes = grid.LayoutPassCount();
    QCoreApplication::sendPostedEvents(&grid);
    EXPECT_EQ(grid.LayoutPassCount(), passes);   // nothing was left queued
}

TEST(LayoutPass, TheBaseGridKeepsAtMostAHorizontalScrollBar)
{
    TDBGridGx grid;
    EXPECT_EQ(grid.ScrollBars(), ssHorizontal);
    grid.HorzScrollBar().SetVisible(false);
    EXPECT_EQ(grid.ScrollBars(), ssNone);
    grid.HorzScrollBar().SetVisible(true);
    EXPECT_EQ(grid.ScrollBars(), ssHorizontal);
    grid.SetAutoFitColWidths(true);   // the columns always fit: nothing to scroll
    EXPECT_EQ(grid.ScrollBars(), ssNone);
}

// A grid that notes whether painting was suppressed while its rows changed.
class TRowCountWatchingGrid : public TDBGridGx {
public:
    using TDBGridGx::TDBGridGx;
    int RowChanges = 0;
    int RowChangesWhileSuppressed = 0;

protected:
    void SizeChanged(int oldColCount, int oldRowCount) override
    {
        TDBGridGx::SizeChanged(oldColCount, oldRowCount);
        if (oldRowCount == RowCount())
            return;
        ++RowChanges;
        if (PaintSuppressed())
            ++RowChangesWhileSuppressed;
    }
};

TEST(LayoutPass, ARowSelectGridKeepsItsLeftColumnAndPaintsNothingWhileItsRowsChange)
{
    auto table = SampleTable();
    TDataSource source(table.get());
    TRowCountWatchingGrid grid;
    grid.resize(160, 200);
    grid.show();
    grid.SetDataSource(&source);
    grid.SetOptions(grid.Options() + dgRowSelect);
    grid.SetLeftCol(4);
    ASSERT_EQ(grid.LeftCol(), 4);

    grid.RowChanges = grid.RowChangesWhileSuppressed = 0;
    grid.RequestLayout();
    EXPECT_EQ(grid.LeftCol(), 4);
    EXPECT_GT(grid.RowChanges, 0);
    EXPECT_EQ(grid.RowChangesWhileSuppressed, grid.RowChanges);
    EXPECT_FALSE(grid.PaintSuppressed());

    // Without row select the rows are rebuilt in plain view.
    grid.SetOptions(grid.Options() - dgRowSelect);
    grid.RowChanges = grid.RowChangesWhileSuppressed = 0;
    grid.RequestLayout();
    EXPECT_GT(grid.RowChanges, 0);
    EXPECT_EQ(grid.RowChangesWhileSuppressed, 0);
    grid.SetDataSource(nullptr);
}

TEST(LayoutPass, TheRowWindowWaitsForTheGridsWindow)
{
    TBoundGrid bound;
    TDBGridGx& grid = *bound.Grid;
    grid.resize(300, 200);
    grid.DataLink()->SetBufferCount(2);
    grid.RequestLayout();
    // Not shown yet: no height to fit rows to.
    EXPECT_EQ(grid.DataLink()->BufferCount(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);

    grid.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid.HandleAllocated());
    EXPECT_EQ(grid.RowCount(), grid.TitleRows() + 3);   // the three records
    EXPECT_GE(grid.DataLink()->BufferCount(), 3);
    grid.DataLink()->SetBufferCount(2);
    grid.RequestLayout();
    EXPECT_GE(grid.DataLink()->BufferCount(), 3);
}

// A table whose fields test every rule of tab stops: plain, read-only,
// calculated, and lookups over writable and read-only keys.
class TabStops : public ::testing::Test {
protected:
    void SetUp() override
    {
        Lookup.FieldDefs().Add("K", ftInteger);
        Lookup.FieldDefs().Add("V", ftString, 10);
        Lookup.Open();

        AddField("PLAIN", ftInteger, fkData);
        AddField("LOCKED", ftInteger, fkData)->SetReadOnly(true);
        AddField("CALC", ftInteger, fkCalculated);
        AddField("KEY", ftInteger, fkData);
        AddField("FIXEDKEY", ftInteger, fkData)->SetReadOnly(true);
        TField* viaKey = AddField("VIAKEY", ftString, fkLookup);
        viaKey->SetLookupDataSet(&Lookup);
        viaKey->KeyFields = "KEY";
        viaKey->LookupKeyFields = "K";
        viaKey->LookupResultField = "V";
        TField* viaFixed = AddField("VIAFIXED", ftString, fkLookup);
        viaFixed->SetLookupDataSet(&Lookup);
        viaFixed->KeyFields = "FIXEDKEY";
        viaFixed->LookupKeyFields = "K";
        viaFixed->LookupResultField = "V";
        Table.Open();
        Grid.SetDataSource(&Source);
    }
    TField* AddField(const std::string& name, TFieldType type, TFieldKind kind)
    {
        if (kind == fkData)
            Table.FieldDefs().Add(name, type, type == ftString ? 10 : 0);
        auto field = CreateField(type, type == ftString ? 10 : 0);
        field->SetFieldName(name);
        field->SetFieldKind(kind);
        TField* added = field.get();
        Table.Fields().Add(std::move(field));
        return added;
    }
    bool TabStopOf(const std::string& name)
    {
        for (int i = 0; i < Grid.Columns().Count(); ++i)
            if (Grid.Columns()[i]->FieldName() == name)
                return Grid.TabStops(Grid.DataToRawColumn(i));
        ADD_FAILURE() << "no column " << name;
        return false;
    }

    TMemTable Lookup;
    TMemTable Table;
    TDataSource Source{&Table};
    TDBGridGx Grid;
};

TEST_F(TabStops, OnlyWritableFieldsOfAnActiveLinkAreTabStops)
{
    EXPECT_TRUE(TabStopOf("PLAIN"));
    EXPECT_FALSE(TabStopOf("LOCKED"));
    EXPECT_FALSE(TabStopOf("CALC"));
    EXPECT_TRUE(TabStopOf("KEY"));
    EXPECT_FALSE(TabStopOf("FIXEDKEY"));
    EXPECT_TRUE(TabStopOf("VIAKEY"));
    EXPECT_FALSE(TabStopOf("VIAFIXED"));

    Table.Close();
    Grid.Columns().Add()->SetFieldName("PLAIN");
    EXPECT_FALSE(TabStopOf("PLAIN"));   // inactive link
    Table.Open();
    EXPECT_TRUE(TabStopOf("PLAIN"));
}

TEST_F(TabStops, ReadOnlyOrHiddenColumnsAreNoTabStops)
{
    TColumnGx* plain = Grid.Columns().Add();
    plain->SetFieldName("PLAIN");
    TColumnGx* key = Grid.Columns().Add();
    key->SetFieldName("KEY");
    TColumnGx* unbound = Grid.Columns().Add();
    unbound->SetFieldName("NOSUCHFIELD");
    EXPECT_TRUE(Grid.TabStops(1));
    EXPECT_TRUE(Grid.TabStops(2));
    EXPECT_FALSE(Grid.TabStops(3));

    plain->SetReadOnly(true);
    key->SetVisible(false);
    Grid.RequestLayout();
    EXPECT_FALSE(Grid.TabStops(1));
    EXPECT_FALSE(Grid.TabStops(2));

    // Every column without a ReadOnly of its own follows the grid's.
    key->SetVisible(true);
    Grid.SetReadOnly(true);
    Grid.RequestLayout();
    EXPECT_FALSE(Grid.TabStops(2));
    plain->SetReadOnly(false);
    Grid.RequestLayout();
    EXPECT_TRUE(Grid.TabStops(1));
}

}  // namespace
