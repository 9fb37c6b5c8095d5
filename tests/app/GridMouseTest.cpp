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

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Copies a table of the shared test data with its companion files (same
// name, any extension) into the scratch folder; the copies are writable.
std::string CopyTestTable(const TScratchDir& scratch, const std::string& relative)
{
    const fs::path source = fs::path(TM_SHARED_DIR) / "testdata" / relative;
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (entry.path().stem() != source.stem())
            continue;
        const fs::path copy = scratch.Path(entry.path().filename().string());
        fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
    }
    return scratch.Path(source.filename().string());
}

QPoint CellCentre(TDBGridGx& grid, int col, int row) { return grid.CellRect(col, row).center(); }

TColumnGx* ColumnOf(TDBGridGx& grid, const std::string& fieldName)
{
    for (const auto& column : grid.Columns())
        if (column->FieldName() == fieldName)
            return column.get();
    return nullptr;
}

} // namespace

TEST(GridMouseOnTables, ACheckBoxClickChangesTheDBaseFile)
{
    TScratchDir scratch;
    const std::string path = CopyTestTable(scratch, "dbf/infused_dbf/dbase_8b.dbf");
    if (!fs::exists(path))
        GTEST_SKIP() << "test table missing";
    TMainWindowHolder window;
    window->OpenAtStart(QString::fromStdString(path));
    TDBGridGx& grid = *window->dgrdDBF();
    TTable& table = window->tblDBF;
    ASSERT_TRUE(table.Active());

    TColumnGx* logical = ColumnOf(grid, "LOGICAL");
    ASSERT_NE(logical, nullptr);
    ASSERT_EQ(logical->ColumnKind(), ckCheckboxes);
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

TEST(GridMouseOnTables, AKeyViolationOnLeavingTheRowIsShownAndTheEditStays)
{
    TScratchDir scratch;
    const std::string path = CopyTestTable(scratch, "paradox/leonhad_paradoxdriver/db/GENERAL.DB");
    if (!fs::exists(path))
        GTEST_SKIP() << "test table missing";
    TMainWindowHolder window;
    window->OpenAtStart(QString::fromStdString(path));
    TDBGridGx& grid = *window->dgrdDBF();
    TTable& table = window->tblDBF;
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
