// The main window as the program creates it: frame, caption, font, menu,
// client area, status bar, exit; and the About box.

#include "AppTestSupport.h"

#include "app/AboutForm.h"
#include "app/DBNavigator.h"
#include "app/FormStyle.h"
#include "grid/DBGridGx.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "ui/DialogService.h"
#include "ui/OpenDialog.h"

#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(MainWindow, FrameCaptionAndBorderIcons)
{
    TMainWindowHolder window;
    EXPECT_EQ(window->windowTitle(), U("数据表记录维护（.DBF .DB）"));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Still sizeable: no fixed size.
    EXPECT_NE(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->pos(), QPoint(192, 133));
    EXPECT_EQ(window->width(), 677 - 2 * FrameBorderWidth);
    EXPECT_EQ(window->palette().color(QPalette::Window), ToQColor(clBtnFace));
}

TEST(MainWindow, SongFontAtFourteenPixelsResolvesToAnInstalledCjkFont)
{
    TMainWindowHolder window;
    const QFont font = window->font();
    EXPECT_EQ(font.family(), U("宋体"));
    EXPECT_EQ(font.pixelSize(), 14);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
    // The family is substituted by a Song-style font that has the glyphs.
    const QFontInfo info(font);
    EXPECT_TRUE(info.family().contains(QStringLiteral("UMing"))) << info.family().toStdString();
    EXPECT_EQ(info.pixelSize(), 14);
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U("数").toUcs4().first()));
}

TEST(MainWindow, ClientAreaHoldsNavigatorGridAndStatusBar)
{
    TMainWindowHolder window;
    TDBNavigator* navigator = window->DBNavigator1();
    QWidget* grid = window->dgrdDBF();
    QStatusBar* status = window->StatusBar1();
    ASSERT_TRUE(navigator && grid && status);

    EXPECT_EQ(navigator->height(), 25);
    EXPECT_EQ(navigator->width(), window->width());
    EXPECT_EQ(grid->width(), window->width());
    EXPECT_EQ(grid->height(), 399);
    EXPECT_EQ(status->height(), 24);
    // Top to bottom: navigator, grid, status bar.
    const QPoint navigatorTop = navigator->mapTo(window.Get(), QPoint(0, 0));
    const QPoint gridTop = grid->mapTo(window.Get(), QPoint(0, 0));
    EXPECT_EQ(gridTop.y(), navigatorTop.y() + 25);
    EXPECT_EQ(status->mapTo(window.Get(), QPoint(0, 0)).y(), gridTop.y() + 399);
    EXPECT_EQ(window->menuBar()->mapTo(window.Get(), QPoint(0, 0)).y() + window->menuBar()->height(),
              navigatorTop.y());
}

TEST(MainWindow, GridFootersAndSummariesAreOffByDefault)
{
    TMainWindowHolder window;
    TDBGridGx* grid = window->dgrdDBF();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->FooterRowCount(), 0);
    EXPECT_FALSE(grid->FooterSummaries().SumList().Active());
    EXPECT_FALSE(grid->UseMultiTitle());
}

TEST(MainWindow, StatusPanelPromptsAndStretchesWithTheWindow)
{
    TMainWindowHolder window;
    EXPECT_EQ(window->StatusPanelText(), U("请选择需要编辑的表..."));
    auto* panel = window->StatusBar1()->findChild<QLabel*>(QStringLiteral("StatusPanel0"));
    ASSERT_NE(panel, nullptr);
    const int narrow = panel->width();
    EXPECT_GT(narrow, window->width() / 2);
    window->resize(window->width() + 200, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->width(), narrow + 200);
}

TEST(MainWindow, MenuCaptionsAccessLettersAndNoShortcuts)
{
    TMainWindowHolder window;
    const QList<QAction*> pads = window->menuBar()->actions();
    ASSERT_EQ(pads.size(), 2);
    EXPECT_EQ(pads[0]->text(), U("选择(&S)"));
    EXPECT_EQ(pads[1]->text(), U("帮助(&H)"));

    const QList<QAction*> fileItems = window->padFile()->actions();
    ASSERT_EQ(fileItems.size(), 3);
    EXPECT_EQ(fileItems[0], window->itmDBF());
    EXPECT_EQ(fileItems[0]->text(), U("选择要操作数据表(&D)..."));
    EXPECT_TRUE(fileItems[1]->isSeparator());
    EXPECT_EQ(fileItems[1], window->N1());
    EXPECT_EQ(fileItems[2], window->itmExit());
    EXPECT_EQ(fileItems[2]->text(), U("退出(&X)"));

    const QList<QAction*> helpItems = window->padHelp()->actions();
    ASSERT_EQ(helpItems.size(), 1);
    EXPECT_EQ(helpItems[0]->text(), U("关于(&A)..."));

    for (QAction* action : fileItems + helpItems + pads)
        EXPECT_TRUE(action->shortcuts().isEmpty()) << action->text().toStdString();
}

TEST(MainWindow, TheGridHasTheFocusAndIsTheOnlyTabStop)
{
    TMainWindowHolder window;
    EXPECT_EQ(QApplication::focusWidget(), window->dgrdDBF());
    EXPECT_EQ(window->DBNavigator1()->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(window.Get(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->dgrdDBF());
}

TEST(MainWindow, ExitClosesTheTableDiscardingAnUnpostedEditAndFreesTheWindow)
{
    TScratchDir scratch;
    const std::string path = scratch.CopySample("demo.dbf");
    std::string before;
    {
        TMainWindowHolder window;
        QPointer<TfrmMain> watch = window.Get();
        {
            TOpenDialogAnswerer chooser{std::optional<std::string>(path)};
            window->itmDBF()->trigger();
        }
        ASSERT_TRUE(window->tblDBF.Active());
        before = window->tblDBF.FieldByName("NAME")->AsString();
        window->tblDBF.Edit();
        window->tblDBF.FieldByName("NAME")->SetAsString("changed");

        window->itmExit()->trigger();
        FlushDeferredDeletes();
        EXPECT_TRUE(watch.isNull());
        EXPECT_EQ(frmMain, nullptr);
    }
    TTable check;
    check.SetTableName(path);
    check.Open();
    EXPECT_EQ(check.FieldByName("NAME")->AsString(), before);
}

TEST(MainWindow, CloseBoxTakesTheSamePathAsExit)
{
    TMainWindowHolder window;
    QPointer<TfrmMain> watch = window.Get();
    auto table = MakeOpenMemTable(3);
    window->dsrcDBF.SetDataSet(table.get());
    table->Insert();
    window->close();
    FlushDeferredDeletes();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(frmMain, nullptr);
}

// ---- the About box

// Clicks the About box's close button once it is shown modally; keeps a
// guarded pointer to it, which turns null when the box is freed.
void CloseAboutBoxWhenShown(std::vector<QPointer<TfrmAbout>>& seen)
{
    WhenModalShows([&seen](QWidget& modal) {
        auto* box = qobject_cast<TfrmAbout*>(&modal);
        if (!box) {
            ADD_FAILURE() << "another window is modal";
            modal.close();
            return;
        }
        seen.emplace_back(box);
        EXPECT_EQ(frmAbout, box);
        QTest::mouseClick(box->btnExit(), Qt::LeftButton);
    });
}

TEST(AboutBox, CreatedAnewEachTimeAndFreedWhenClosed)
{
    TMainWindowHolder window;
    std::vector<QPointer<TfrmAbout>> seen;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(frmAbout, nullptr);
        CloseAboutBoxWhenShown(seen);
        window->itmAbout()->trigger();
        ASSERT_EQ(seen.size(), size_t(i + 1)) << "the box did not show modally";
        FlushDeferredDeletes();
        EXPECT_TRUE(seen.back().isNull()) << "the box was not freed";
        EXPECT_EQ(frmAbout, nullptr);
    }
    // Back to the main window: nothing modal remains.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window->isVisible());
}

TEST(AboutBox, LayoutCaptionAndCentring)
{
    TMainWindowHolder window;
    QRect frame, image, button;
    QString caption, buttonText;
    bool modal = false;
    WhenModalShows([&](QWidget& shown) {
        auto* box = qobject_cast<TfrmAbout*>(&shown);
        if (!box) {
            ADD_FAILURE() << "another window is modal";
            shown.close();
            return;
        }
        caption = box->windowTitle();
        modal = box->isModal();
        frame = box->geometry();
        image = box->Image1()->geometry();
        button = box->btnExit()->geometry();
        buttonText = box->btnExit()->text();
        box->btnExitClick();
    });
    window->itmAboutClick();

    EXPECT_EQ(caption, U("关于"));
    EXPECT_TRUE(modal);
    EXPECT_EQ(frame.size(), ClientSizeOfFrame(341, 116));
    EXPECT_EQ(image, QRect(24, 8, 185, 73));
    EXPECT_EQ(button, QRect(248, 40, 75, 25));
    EXPECT_EQ(buttonText, U("关闭(&X)"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(frame.center().x(), screen.center().x(), 8);
    EXPECT_NEAR(frame.center().y(), screen.center().y(), 20);
}

} // namespace
