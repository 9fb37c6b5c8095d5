// The status bar's panels beyond the path: the code page the open table is
// read in, with its menu to read it in another, and why a table is
// read-only.  Qt's own texts in Chinese.

#include "AppTestSupport.h"

#include "app/CodePagePanel.h"
#include "app/QtTranslations.h"
#include "app/ReadOnlyPanel.h"
#include "data/engine/CodePage.h"
#include "data/engine/EngineCursor.h"
#include "data/engine/dbf/DbfDriver.h"
#include "ui/DialogService.h"
#include "ui/OpenDialog.h"

#include <QApplication>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// A dBASE table of Russian names in Windows-1251 whose header names no code page.
std::string WriteRussianTable(const std::string& path)
{
    TCreateTableParams create;
    create.Path = path;
    create.Level = "III";
    create.CodePage = 1251;
    TEngineFieldDef name;
    name.Name = "NAME";
    name.DataType = ftString;
    name.Size = 30;
    create.Fields = {name};
    auto driver = CreateDbfDriver();
    driver->CreateTable(create);
    {
        TOpenTableParams params;
        params.Path = path;
        auto cursor = driver->OpenTable(params);
        for (const char* text : {"Иванов Иван Петрович", "Петрова Анна Сергеевна", "Сидоров Алексей"}) {
            TEngineRecord record = {TVariant(text)};
            cursor->InsertRecord(record, true);
        }
    }
    std::string bytes = FileBytes(path);
    bytes[29] = 0;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string AsReadIn(int codePage, const char* text)
{
    return TCodePage(codePage).ToUtf8(TCodePage(1251).FromUtf8(text));
}

struct TablePanels : testing::Test {
    void Open(const std::string& path)
    {
        TOpenDialogAnswerer chooser{std::optional<std::string>(path)};
        window->itmDBF()->trigger();
    }
    QAction* MenuAction(int codePage)
    {
        for (QAction* action : window->CodePagePanel()->Menu()->actions())
            if (action->isCheckable() && action->data().toInt() == codePage)
                return action;
        return nullptr;
    }
    // Right-clicks the panel and chooses `codePage` in the menu that opens.
    void ChooseInMenu(int codePage)
    {
        TCodePagePanel* panel = window->CodePagePanel();
        QTest::mouseClick(panel, Qt::RightButton);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), panel->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(panel, &event);
        QMenu* menu = panel->Menu();
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); })) << "the menu did not open";
        QAction* action = MenuAction(codePage);
        ASSERT_NE(action, nullptr);
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    std::string CurrentName() { return window->tblDBF.FieldByName("NAME")->AsString(); }

    TScratchDir scratch;
    TMainWindowHolder window;
};

} // namespace

TEST_F(TablePanels, WithNoTableOpenOnlyThePathPanelShows)
{
    EXPECT_FALSE(window->CodePagePanel()->isVisible());
    EXPECT_FALSE(window->ReadOnlyPanel()->isVisible());
    EXPECT_EQ(window->StatusPanelText(), QString::fromUtf8("请选择需要编辑的表..."));
}

TEST_F(TablePanels, TheDetectedCodePageShowsAndAnotherChosenInTheMenuRereadsTheTable)
{
    const std::string path = WriteRussianTable(scratch.Path("ru.dbf"));
    Open(path);
    ASSERT_TRUE(window->tblDBF.Active());
    TCodePagePanel* panel = window->CodePagePanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->text(), QStringLiteral("Windows-1251 (1251)"));
    EXPECT_TRUE(panel->toolTip().contains(QString::fromUtf8("检测"))) << panel->toolTip().toStdString();
    EXPECT_FALSE(window->ReadOnlyPanel()->isVisible());
    EXPECT_EQ(CurrentName(), "Иванов Иван Петрович");

    // The current record stays current through the re-reading.
    window->tblDBF.Last();
    ChooseInMenu(866);
    ASSERT_TRUE(window->tblDBF.Active());
    EXPECT_EQ(panel->text(), QStringLiteral("DOS 866 (866)"));
    EXPECT_EQ(CurrentName(), AsReadIn(866, "Сидоров Алексей"));
    EXPECT_TRUE(MenuAction(866)->isChecked());
    EXPECT_EQ(window->StatusPanelText(), QString::fromStdString(path)) << "the path panel is the design's";

    // Back to the table's own: the guess again.
    ChooseInMenu(0);
    EXPECT_EQ(panel->text(), QStringLiteral("Windows-1251 (1251)"));
    EXPECT_EQ(CurrentName(), "Сидоров Алексей");
}

TEST_F(TablePanels, AnEditInTheChosenCodePageIsWrittenInItAndTheHeaderKeepsItsMark)
{
    const std::string path = WriteRussianTable(scratch.Path("edit.dbf"));
    Open(path);
    ChooseInMenu(1251);
    ASSERT_EQ(window->tblDBF.CodePage(), 1251);
    window->tblDBF.Edit();
    window->tblDBF.FieldByName("NAME")->SetAsString("Кузнецов Дмитрий");
    // Choosing a code page with an edit in progress posts it first.
    ChooseInMenu(866);
    window->tblDBF.Close();
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes[29], '\0') << "the header's mark was changed";
    EXPECT_NE(bytes.find(TCodePage(1251).FromUtf8("Кузнецов Дмитрий")), std::string::npos);
}

TEST_F(TablePanels, AReadOnlyTableSaysWhyInChineseWithTheEnginesWordsInTheToolTip)
{
    const std::string path = scratch.CopySample("demo.dbf", "locked.dbf");
    chmod(path.c_str(), 0444);
    Open(path);
    ASSERT_TRUE(window->tblDBF.Active());
    TReadOnlyPanel* panel = window->ReadOnlyPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->text(), QString::fromUtf8("只读：文件不允许写入（文件权限或磁盘禁止写入）"));
    EXPECT_TRUE(panel->toolTip().contains(QString::fromUtf8(FileNotWritableReason)));

    // The rendered bar shows it: ink inside the panel.
    const QImage bar = window->StatusBar1()->grab().toImage();
    const QRect inside = panel->geometry().adjusted(4, 4, -4, -4);
    const QRgb background = bar.pixel(inside.right(), inside.center().y());
    int ink = 0;
    for (int x = inside.left(); x <= inside.right(); ++x)
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            ink += bar.pixel(x, y) != background;
    EXPECT_GT(ink, 50) << "no text painted in the read-only panel";

    // A writable table hides the panel again.
    Open(scratch.CopySample("demo.dbf", "open.dbf"));
    EXPECT_FALSE(panel->isVisible());
}

TEST(ReadOnlyReasons, EveryReasonTheDriversGiveHasItsOwnChinese)
{
    const QString general = ReadOnlyReasonText("something new");
    for (const char* reason :
         {"The table has a production index, which this program does not maintain.",
          "The table has an index file, which this program does not maintain.", "The table's memo file is missing.",
          "The table is open read-only because it has secondary indexes the program does not maintain.",
          "The table is open read-only because lock files show that another program may be using it.",
          "The table is open read-only because it has validity checks (minimum, maximum, picture or lookup) the "
          "program does not enforce.",
          "The table is open read-only because its blocks do not agree with its header (the file is damaged).",
          FileNotWritableReason, "The table was opened read-only."}) {
        EXPECT_NE(ReadOnlyReasonText(reason), general) << reason;
    }
    EXPECT_EQ(ReadOnlyReasonText("The table has a production index, which this program does not maintain."),
              QString::fromUtf8("表带有生产索引，本程序不维护它"));
}

TEST(ReadOnlyReasons, AnIndexThatCannotBeKeptGetsItsOwnReasonNotTheUnmaintainedIndexOne)
{
    const QString unmaintained =
        ReadOnlyReasonText("The table has an index file, which this program does not maintain.");
    std::set<QString> texts;
    for (const char* reason :
         {"The table's index file cannot be written.", "The table's index file is damaged: bad page at 512",
          "The table's index cannot be kept up to date (tag NAME: SOUNDEX is not supported).",
          "The table's index is out of date (Tag ID: record 4 is missing. Rebuild it with \"tablecat --reindex\".)"}) {
        const QString text = ReadOnlyReasonText(reason);
        EXPECT_NE(text, unmaintained) << reason;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 4u) << "each index reason reads differently";
}

TEST(QtTranslations, QtsOwnTextsTurnChineseWhenTheCatalogueIsThereAndStayEnglishWhenNot)
{
    QCoreApplication& application = *QCoreApplication::instance();
    EXPECT_FALSE(InstallQtTranslations(application, QStringLiteral("/nonexistent")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    if (!InstallQtTranslations(application))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    for (QTranslator* translator : application.findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}
