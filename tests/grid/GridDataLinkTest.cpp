// The grid's data link: the field map between grid columns and dataset
// fields, the pending-edit bookkeeping, and the grid's reactions to the
// link's notifications.

#include "GridTestSupport.h"
#include "RowWindowTestSupport.h"

#include "grid/base/InplaceEdit.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldMap, DefaultColumnsMapTheVisibleFieldsInOrder)
{
    TBoundGrid bound;
    TGridDataLinkGx& link = *bound.Grid->DataLink();
    ASSERT_EQ(link.FieldMapCount(), 6);
    EXPECT_FALSE(link.MapByColumns());
    EXPECT_EQ(link.MappedField(0), bound.Field("ID"));
    EXPECT_EQ(link.MappedField(5), bound.Field("AMOUNT"));
    EXPECT_EQ(link.MappedField(6), nullptr);
    EXPECT_EQ(link.MappedField(-1), nullptr);
    EXPECT_TRUE(link.UsesDefaultFields());

    bound.Field("NAME")->SetVisible(false);
    ASSERT_EQ(link.FieldMapCount(), 5);
    EXPECT_EQ(link.MappedField(1), bound.Field("ACTIVE"));
}

TEST(FieldMap, CustomizedColumnsMapByNameAndMissingFieldsGiveEmptyEntries)
{
    TBoundGrid bound;
    {
        TLayoutLockGx lock(bound.Grid.get());
        bound.Columns().Clear();
        bound.Columns().Add()->SetFieldName("AMOUNT");
        bound.Columns().Add()->SetFieldName("NO_SUCH_FIELD");
        bound.Columns().Add()->SetFieldName("ID");
    }
    TGridDataLinkGx& link = *bound.Grid->DataLink();
    ASSERT_EQ(link.FieldMapCount(), 3);
    EXPECT_TRUE(link.MapByColumns());
    EXPECT_EQ(link.MappedField(0), bound.Field("AMOUNT"));
    EXPECT_EQ(link.MappedField(1), nullptr);
    EXPECT_EQ(link.MappedField(2), bound.Field("ID"));
    EXPECT_FALSE(link.UsesDefaultFields());
}

TEST(FieldMap, CapacityStartsAtEightAndDoubles)
{
    TBoundGrid bound;
    TGridDataLinkGx& link = *bound.Grid->DataLink();
    EXPECT_EQ(link.FieldMapCapacity(), 8);
    link.ClearFieldMap();
    EXPECT_EQ(link.FieldMapCapacity(), 0);
    EXPECT_EQ(link.FieldMapCount(), 0);
    for (int i = 0; i < 9; ++i)
        link.AddFieldMapping("ID");
    EXPECT_EQ(link.FieldMapCapacity(), 16);
}

TEST(FieldMap, AFullMapRefusesAnotherColumn)
{
    TBoundGrid bound;
    TGridDataLinkGx& link = *bound.Grid->DataLink();
    link.SetFieldMapLimit(4);
    link.ClearFieldMap();
    for (int i = 0; i < 4; ++i)
        link.AddFieldMapping("ID");
    try {
        link.AddFieldMapping("ID");
        FAIL() << "a fifth entry was taken";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), "Grid requested to display more than 256 columns");
    }
    EXPECT_EQ(link.FieldMapCount(), 4);
    // The layout pass reports the same limit for a table with more fields.
    EXPECT_THROW(bound.Grid->RequestLayout(), EInvalidGridOperation);
    EXPECT_EQ(bound.Grid->LayoutLock(), 0);
    EXPECT_EQ(bound.Grid->UpdateLock(), 0);
}

TEST(DataLink, TheEditorsPendingTextIsWrittenWhenTheRecordIsPosted)
{
    TNumberedGrid grid(5);
    TDBGridGx& g = grid.G();
    g.SetCol(g.DataToRawColumn(1));
    g.ShowEditor();
    TInplaceEdit* editor = g.InplaceEditor();
    ASSERT_NE(editor, nullptr);
    grid.Table->Edit();
    editor->setText("Zed");
    grid.Link().SetModified(true);
    grid.Table->Post();
    EXPECT_FALSE(grid.Link().Modified());
    EXPECT_FALSE(grid.Link().InUpdateData());
    EXPECT_EQ(grid.Table->FieldByName("NAME")->AsString(), "Zed");
    // Without pending text nothing is written.
    editor->setText("Other");
    grid.Table->Edit();
    grid.Table->Post();
    EXPECT_EQ(grid.Table->FieldByName("NAME")->AsString(), "Zed");
}

TEST(DataLink, ResetEditCancelsTheDatasetWhenNothingIsPending)
{
    TNumberedGrid grid(5);
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("Changed");
    grid.Link().ResetEdit();
    EXPECT_EQ(grid.Table->State(), dsBrowse);
    EXPECT_EQ(grid.Table->FieldByName("NAME")->AsString(), "R1");
}

TEST(DataLink, BindingRunsOneLayoutPassAndAnotherOpenSourceReplacesTheColumns)
{
    auto numbered = NumberedTable(5);
    TDataSource numberedSource(numbered.get());
    auto sample = SampleTable();
    TDataSource sampleSource(sample.get());
    TDBGridGx grid;
    const int passes = grid.LayoutPassCount();
    grid.SetDataSource(&numberedSource);
    EXPECT_EQ(grid.LayoutPassCount(), passes + 1);
    EXPECT_EQ(grid.Columns().Count(), 2);

    // Both sources are open: the link stays active, the grid still follows.
    grid.SetDataSource(&sampleSource);
    EXPECT_EQ(grid.LayoutPassCount(), passes + 2);
    ASSERT_EQ(grid.Columns().Count(), 6);
    EXPECT_EQ(grid.Columns()[1]->Field(), sample->FieldByName("NAME"));
}

// A grid whose editor shows the current field's edit text.
class TFieldTextGrid : public TDBGridGx {
protected:
    QString GetEditText(int /*col*/, int /*row*/) override
    {
        TField* field = CurrentField();
        return field ? QString::fromStdString(field->EditText()) : QString();
    }
};

TEST(DataLink, TheEditorFollowsAChangeOfItsFieldButNotOfAnother)
{
    auto table = NumberedTable(5);
    TDataSource source(table.get());
    TFieldTextGrid grid;
    grid.SetDataSource(&source);
    ShowActiveGrid(grid, 300, 200);
    grid.SetCol(grid.DataToRawColumn(1));
    grid.ShowEditor();
    TInplaceEdit* editor = grid.InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "R1");

    table->Edit();
    table->FieldByName("NAME")->SetAsString("Renamed");
    EXPECT_EQ(editor->text(), "Renamed");
    // A change of another field leaves the editor's text alone, even when it
    // differs from the field.
    editor->setText("typed");
    table->FieldByName("ID")->SetAsInteger(42);
    EXPECT_EQ(editor->text(), "typed");
    table->Cancel();
    EXPECT_EQ(editor->text(), "R1");
}

TEST(DataLink, AFieldAskingForTheFocusGetsItsColumnAndTheEditor)
{
    TNumberedGrid grid(5);
    TDBGridGx& g = grid.G();
    ASSERT_EQ(g.Col(), g.DataToRawColumn(0));
    grid.Table->FieldByName("NAME")->FocusControl();
    EXPECT_EQ(g.Col(), g.DataToRawColumn(1));
    EXPECT_TRUE(g.EditorMode());
    ASSERT_NE(g.InplaceEditor(), nullptr);
    EXPECT_TRUE(g.InplaceEditor()->isVisible());
}

TEST(DataLink, StartingAnEditRepaintsTheIndicator)
{
    TNumberedGrid grid(5);
    TDBGridGx& g = grid.G();
    grid.Table->MoveBy(2);
    QApplication::processEvents();
    ASSERT_EQ(RowWindowOf(g).IndicatorRow(), g.TitleRows() + 2);
    const QRect indicator = g.CellRect(0, RowWindowOf(g).IndicatorRow());
    TPaintRecorder recorder(g.viewport());
    grid.Table->Edit();
    QApplication::processEvents();
    EXPECT_TRUE(recorder.Painted.contains(indicator.center()));
    EXPECT_EQ(RowWindowOf(g).IndicatorRow(), g.TitleRows() + 2);
}

}  // namespace
