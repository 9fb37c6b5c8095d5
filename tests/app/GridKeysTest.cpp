// The main window's grid edits the open table through keys: copies of
// real tables (a dBASE table and a keyed Paradox table) opened as the
// program opens them, driven by key events.

#include "app/AppTestSupport.h"
#include "app/DBNavigator.h"
#include "app/MainForm.h"
#include "app/NavButton.h"
#include "grid/DBGridGx.h"
#include "support/FileBytes.h"
#include "ui/DialogService.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
class GridKeys : public ::testing::Test {
protected:
    TScratchDir scratch;
    TMainWindowHolder window;

    // Copies a shared test table (and the named companion files) and opens it.
    bool Open(const std::string& shared, std::initializer_list<const char*> companions = {})
    {
        const fs::path source = fs::path(TM_SHARED_DIR) / "testdata" / shared;
        if (!fs::exists(source))
            return false;
        const std::string path = scratch.Path(source.filename().string());
        fs::copy_file(source, path);
        for (const char* companion : companions)
            fs::copy_file(source.parent_path() / companion, scratch.Path(companion));
        // The shared tables are read-only; the copies are the user's own.
        for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
            fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write);
        FPath = path;
        window->OpenAtStart(QString::fromStdString(path));
        EXPECT_TRUE(window->tblDBF.CanModify()) << window->tblDBF.ReadOnlyReason();
        return window->tblDBF.Active();
    }
    TDBGridGx& Grid() { return *window->dgrdDBF(); }
    TTable& Table() { return window->tblDBF; }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&Grid(), key, modifiers);
    }
    bool Enabled(TNavigateBtn button) { return window->DBNavigator1()->Button(button)->isEnabled(); }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};
}  // namespace

TEST_F(GridKeys, DownPastTheLastDBaseRecordAppendsAndUpLeavesTheFileAlone)
{
    if (!Open("dbf/infused_dbf/dbase_03.dbf"))
        GTEST_SKIP() << "the shared test tables are not there";
    const std::string before = ReadFileBytes(Path());
    const int count = Table().RecordCount();
    Grid().setFocus();
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(Table().State(), dsInsert);
    EXPECT_TRUE(Enabled(nbPost));
    EXPECT_TRUE(Enabled(nbCancel));
    Key(Qt::Key_Down);
    EXPECT_EQ(Table().State(), dsInsert);
    Key(Qt::Key_Up);
    EXPECT_EQ(Table().State(), dsBrowse);
    EXPECT_FALSE(Enabled(nbPost));
    EXPECT_EQ(Table().RecordCount(), count);
    EXPECT_EQ(ReadFileBytes(Path()), before) << "nothing reaches the file";
}

TEST_F(GridKeys, CtrlDeleteOnADBaseTableAsksAndDeletesOnlyOnOk)
{
    if (!Open("dbf/infused_dbf/dbase_03.dbf"))
        GTEST_SKIP() << "the shared test tables are not there";
    const int count = Table().RecordCount();
    Grid().setFocus();
    Key(Qt::Key_Down);
    {
        TMessageAnswerer cancel(mrCancel);
        Key(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(cancel.Count(), 1);
        EXPECT_EQ(cancel.Last().Text, "Delete record?");
    }
    EXPECT_EQ(Table().RecordCount(), count);
    TMessageAnswerer ok(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Table().RecordCount(), count - 1);
    Key(Qt::Key_Insert);
    EXPECT_EQ(Table().State(), dsInsert);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Table().State(), dsBrowse);
    EXPECT_EQ(Table().RecordCount(), count - 1);
}

TEST_F(GridKeys, AKeyViolationOnAKeyedParadoxTableIsShownAndTheInsertKept)
{
    if (!Open("paradox/leonhad_paradoxdriver/areas/STATES.DB"))
        GTEST_SKIP() << "the shared test tables are not there";
    TField* key = Table().Fields()[0];
    const std::string existing = key->AsString();
    Grid().setFocus();
    Key(Qt::Key_Insert);
    ASSERT_EQ(Table().State(), dsInsert);
    key->SetAsString(existing);
    TMessageAnswerer answer(mrOk);
    Key(Qt::Key_Down);
    ASSERT_EQ(answer.Count(), 1) << "the failure is shown";
    EXPECT_EQ(Table().State(), dsInsert);
    EXPECT_EQ(key->AsString(), existing) << "the typed value stays";
    EXPECT_EQ(Grid().UpdateLock(), 0);
    EXPECT_EQ(Grid().LayoutLock(), 0);
    EXPECT_FALSE(Table().ControlsDisabled());
    Key(Qt::Key_Escape);
    EXPECT_EQ(Table().State(), dsBrowse);
}
