// Choosing and opening a table through the main window's menu, with the
// open dialog and the message boxes answered by the test.

#include "AppTestSupport.h"

#include "app/DBNavigator.h"
#include "app/NavButton.h"
#include "grid/DBGridGx.h"
#include "ui/DialogService.h"
#include "ui/OpenDialog.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

QString U(const std::string& text)
{
    return QString::fromStdString(text);
}

struct TableSelection : testing::Test {
    // Runs itmDBF from the menu with the dialog choosing `file` (nothing: cancel).
    TOpenDialogRequest Choose(std::optional<std::string> file)
    {
        TOpenDialogAnswerer chooser(std::move(file));
        window->itmDBF()->trigger();
        EXPECT_EQ(chooser.Count(), 1);
        return chooser.Count() ? chooser.Requests().back() : TOpenDialogRequest{};
    }
    bool AnyNavigatorButtonEnabled() const
    {
        for (int i = 0; i < NavigateBtnCount; ++i)
            if (window->DBNavigator1()->Button(static_cast<TNavigateBtn>(i))->isEnabled())
                return true;
        return false;
    }

    TScratchDir scratch;
    TMainWindowHolder window;
};

TEST_F(TableSelection, DialogIsAskedWithTheFilterExtensionTitleAndRoot)
{
    const TOpenDialogRequest request = Choose(std::nullopt);
    EXPECT_EQ(request.Filter, "DBase文件(*.dbf)|*.dbf|Paradox文件(*.db)|*.db");
    EXPECT_EQ(request.FilterIndex, 1);
    EXPECT_EQ(request.DefaultExt, "dbf");
    EXPECT_EQ(request.Title, "数据文件");
    EXPECT_EQ(request.InitialDir, "/");
    EXPECT_EQ(request.FileName, "");
}

TEST_F(TableSelection, CancelWithNoTableChangesNothing)
{
    Choose(std::nullopt);
    EXPECT_FALSE(window->tblDBF.Active());
    EXPECT_EQ(window->StatusPanelText(), QString::fromUtf8("请选择需要编辑的表..."));
    EXPECT_FALSE(AnyNavigatorButtonEnabled());
}

TEST_F(TableSelection, OpeningADbaseTableShowsItsPathAndEnablesTheNavigator)
{
    const std::string path = scratch.CopySample("demo.dbf");
    Choose(path);
    ASSERT_TRUE(window->tblDBF.Active());
    EXPECT_EQ(window->StatusPanelText(), U(path));
    EXPECT_EQ(window->TableFileName(), U(path));
    EXPECT_EQ(window->tblDBF.TableName(), path);
    EXPECT_EQ(window->tblDBF.DatabaseName(), "");
    EXPECT_EQ(window->tblDBF.TableType(), ttDefault);
    EXPECT_EQ(window->tblDBF.ResolvedTableType(), ttDBase);
    EXPECT_EQ(window->tblDBF.RecordCount(), 8);
    EXPECT_EQ(window->tblDBF.FieldByName("NAME")->AsString(), "宣纸");
    EXPECT_TRUE(window->DBNavigator1()->Button(nbNext)->isEnabled());
    EXPECT_TRUE(window->DBNavigator1()->Button(nbEdit)->isEnabled());
}

TEST_F(TableSelection, ATablePutBackAfterAnUnfinishedAppendSaysSoInTheStatusBar)
{
    const std::string path = scratch.CopySample("demo.dbf");
    {
        // The last record stays in the file but leaves the count, as an
        // append stopped before it wrote the count leaves a table.
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4);
        file.put(7);
    }
    Choose(path);
    ASSERT_TRUE(window->tblDBF.Active());
    EXPECT_TRUE(window->tblDBF.CanModify());
    EXPECT_EQ(window->tblDBF.RecordCount(), 7);
    EXPECT_TRUE(window->StatusPanelText().startsWith(U(path) + "  "));
    EXPECT_TRUE(window->StatusPanelText().contains("put back as it stood before")) << window->StatusPanelText().toStdString();
}

TEST_F(TableSelection, CancelWhileATableIsOpenKeepsIt)
{
    const std::string path = scratch.CopySample("demo.dbf");
    Choose(path);
    window->tblDBF.Next();
    const TOpenDialogRequest again = Choose(std::nullopt);
    EXPECT_EQ(again.InitialDir, "/") << "the dialog starts at the root every time";
    EXPECT_TRUE(window->tblDBF.Active());
    EXPECT_EQ(window->tblDBF.FieldByName("NAME")->AsString(), "毛笔");
    EXPECT_EQ(window->StatusPanelText(), U(path));
}

TEST_F(TableSelection, SecondChoiceClosesTheFirstTableAndOpensTheParadoxOne)
{
    const std::string dbase = scratch.CopySample("demo.dbf");
    const std::string paradox = scratch.CopySample("demo.db");
    Choose(dbase);
    window->tblDBF.Edit();
    window->tblDBF.FieldByName("NAME")->SetAsString("never posted");

    Choose(paradox);
    ASSERT_TRUE(window->tblDBF.Active());
    EXPECT_EQ(window->tblDBF.TableName(), paradox);
    EXPECT_EQ(window->tblDBF.ResolvedTableType(), ttParadox);
    EXPECT_EQ(window->tblDBF.RecordCount(), 6);
    EXPECT_EQ(window->tblDBF.FieldByName("NAME")->AsString(), "青花瓷茶杯");
    EXPECT_EQ(window->StatusPanelText(), U(paradox));

    // The edit of the first table was discarded, not posted.
    TTable first;
    first.SetTableName(dbase);
    first.Open();
    EXPECT_EQ(first.FieldByName("NAME")->AsString(), "宣纸");
}

TEST_F(TableSelection, TheGridShowsTheOpenedTableWithItsDefaultColumns)
{
    TDBGridGx* grid = window->dgrdDBF();
    EXPECT_EQ(grid->DataSource(), &window->dsrcDBF);
    EXPECT_EQ(grid->FooterColor(), clWindow);
    EXPECT_EQ(grid->TitleFont().pixelSize(), 14);
    EXPECT_EQ(grid->FooterFont().family(), QString::fromUtf8("宋体"));
    EXPECT_EQ(grid->Columns().Count(), 1) << "one empty column before a table is open";

    Choose(scratch.CopySample("demo.dbf"));
    std::vector<std::string> fieldNames;
    for (TField* field : window->tblDBF.Fields())
        fieldNames.push_back(field->FieldName());
    std::vector<std::string> columnNames;
    for (const auto& column : grid->Columns())
        columnNames.push_back(column->FieldName());
    EXPECT_EQ(columnNames, fieldNames);
    EXPECT_EQ(grid->ColCount(), static_cast<int>(fieldNames.size()) + grid->IndicatorCols());
    // All eight records fit the window.
    EXPECT_EQ(grid->RowCount(), grid->TitleRows() + 8);
    EXPECT_EQ(grid->Row(), grid->TitleRows());

    // The next table replaces the columns.
    Choose(scratch.CopySample("demo.db"));
    ASSERT_GE(grid->Columns().Count(), 1);
    EXPECT_EQ(grid->Columns()[0]->Field(), window->tblDBF.Fields()[0]);
    EXPECT_EQ(grid->Columns().Count(), window->tblDBF.FieldCount());
    EXPECT_EQ(grid->RowCount(), grid->TitleRows() + 6);
}

TEST_F(TableSelection, UpperCaseExtensionsOpenToo)
{
    const std::string path = scratch.CopySample("demo.dbf", "DEMO.DBF");
    Choose(path);
    ASSERT_TRUE(window->tblDBF.Active());
    EXPECT_EQ(window->tblDBF.RecordCount(), 8);
}

TEST_F(TableSelection, TheFileDialogListsTableFilesInAnyLetterCase)
{
    for (const char* name : {"lower.dbf", "UPPER.DBF", "Mixed.Dbf", "other.txt"})
        std::ofstream(scratch.Path(name)) << "x";
    TOpenDialog dialog;
    dialog.Filter = "DBase文件(*.dbf)|*.dbf|Paradox文件(*.db)|*.db";
    dialog.InitialDir = scratch.Path("");
    std::unique_ptr<QFileDialog> shown(dialog.CreateDialog());
    shown->setOption(QFileDialog::DontUseNativeDialog);
    shown->show();
    auto* model = shown->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex folder = model->index(U(scratch.Path("")).chopped(1));
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(folder), 3, 5000);
    QStringList listed;
    for (int row = 0; row < model->rowCount(folder); ++row)
        listed << model->fileName(model->index(row, 0, folder));
    listed.sort();
    EXPECT_EQ(listed, QStringList({"Mixed.Dbf", "UPPER.DBF", "lower.dbf"}));
}

TEST_F(TableSelection, AFailedOpenShowsTheEngineMessageAndKeepsTheNewPath)
{
    const std::string good = scratch.CopySample("demo.dbf");
    Choose(good);
    ASSERT_TRUE(window->tblDBF.Active());

    const std::string missing = scratch.Path("missing.dbf");
    TMessageAnswerer answerer(mrOk);
    Choose(missing);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtError);
    EXPECT_FALSE(answerer.Last().Text.empty());
    EXPECT_NE(answerer.Last().Text.find("missing.dbf"), std::string::npos) << answerer.Last().Text;
    EXPECT_FALSE(window->tblDBF.Active()) << "the previous table was closed";
    EXPECT_EQ(window->StatusPanelText(), U(missing));
    EXPECT_FALSE(AnyNavigatorButtonEnabled());
}

TEST_F(TableSelection, ADamagedFileIsRefusedWithAMessageAndLeftAsItWas)
{
    const std::string damaged = scratch.Path("damaged.dbf");
    const std::string garbage = "this is not a table at all, just text in a file";
    std::ofstream(damaged, std::ios::binary) << garbage;
    TMessageAnswerer answerer(mrOk);
    Choose(damaged);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtError);
    EXPECT_FALSE(window->tblDBF.Active());
    std::ifstream in(damaged, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, garbage);

    // The window goes on working: the next choice opens.
    Choose(scratch.CopySample("demo.db"));
    EXPECT_TRUE(window->tblDBF.Active());
}

TEST_F(TableSelection, AccessKeysReachTheTableChoice)
{
    TOpenDialogAnswerer chooser{std::optional<std::string>()};
    QTest::keyClick(window.Get(), Qt::Key_S, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_D);
    QCoreApplication::processEvents();
    EXPECT_EQ(chooser.Count(), 1);
}

} // namespace
