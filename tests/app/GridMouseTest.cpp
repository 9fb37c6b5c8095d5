// The grid of the main window worked by mouse on copies of real tables: a
// click moves to the record, a check box click changes the dBASE file, and
// a key violation on a keyed Paradox table, met when a click leaves the row,
// is shown while the record stays in edit.

#include "AppTestSupport.h"

#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "ui/DialogService.h"

#include <QTest>

#include <gtest/gtest.h>



namespace {

QPoint CellCentre(TDBGridGx& grid, int col, int row) { return grid.CellRect(col, row).center(); }

TColumnGx* ColumnOf(TDBGridGx& grid, const std::string& fieldName)
{
    for (const auto& column : grid.Columns())
        if (column->FieldName() == fieldName)
            return column.get();
    return nullptr;
}

// The main window over a writable copy of a table of the shared test data.
class GridMouseOnTables : public ::testing::Test {
protected:
    // Copies the table with its companion files (same name, any extension)
    // and opens it; false when the test data lacks it.
    bool OpenCopy(const std::string& relative)
    {
        const std::string path = Scratch.CopyShared(relative);
        if (path.empty())
            return false;
        Window->OpenAtStart(QString::fromStdString(path));
        return true;
    }

    TScratchDir Scratch;
    TMainWindowHolder Window;
};

} // namespace

TEST_F(GridMouseOnTables, ACheckBoxClickChangesTheDBaseFile)
{
    if (!OpenCopy("dbf/infused_dbf/dbase_8b.dbf"))
        GTEST_SKIP() << "test table missing";
    TDBGridGx& grid = *Window->dgrdDBF();
    TTable& table = Window->tblDBF;
    ASSERT_TRUE(table.Active());

    TColumnGx* logical = ColumnOf(grid, "LOGICAL");
    ASSERT_NE(logical, nullptr);
    ASSERT_EQ(logical->ColumnKind(), ckCheckboxes);
    // The wide text column would push the check boxes out of view.
    ColumnOf(grid, "CHARACTER")->SetWidth(60);
    const int raw = grid.DataToRawColumn(logical->Index());
    const int row = grid.TitleRows() + 2;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, row));
    EXPECT_EQ(table.RecNo(), 3);
    const bool before = table.FieldByName("LOGICAL")->AsBoolean();

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, raw, row));
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(table.FieldByName("LOGICAL")->AsBoolean(), !before);
    // Leaving the row posts the record.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, grid.TitleRows()));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.RecNo(), 1);

    table.Close();
    table.Open();
    table.SetRecNo(3);
    EXPECT_EQ(table.FieldByName("LOGICAL")->AsBoolean(), !before) << "the file holds the new value";
}

TEST_F(GridMouseOnTables, AKeyViolationOnLeavingTheRowIsShownAndTheEditStays)
{
    if (!OpenCopy("paradox/leonhad_paradoxdriver/db/GENERAL.DB"))
        GTEST_SKIP() << "test table missing";
    TDBGridGx& grid = *Window->dgrdDBF();
    TTable& table = Window->tblDBF;
    ASSERT_TRUE(table.Active());
    ASSERT_GE(table.RecordCount(), 2);

    const int top = grid.TitleRows();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, top));
    const int firstId = table.FieldByName("ID")->AsInteger();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, top + 1));
    ASSERT_NE(table.FieldByName("ID")->AsInteger(), firstId);
    table.Edit();
    table.FieldByName("ID")->SetAsInteger(firstId);

    TMessageAnswerer answerer(mrOk);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, top));
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_FALSE(answerer.Last().Text.empty());
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(table.FieldByName("ID")->AsInteger(), firstId) << "the user's value stays";
    EXPECT_EQ(grid.UpdateLock(), 0);
    EXPECT_EQ(grid.LayoutLock(), 0);
    table.Cancel();
}
