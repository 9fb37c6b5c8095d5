#include "ui/PasswordDialog.h"

#include "data/Session.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include <functional>

namespace {

using TPasswords = std::vector<std::string>;

class PasswordDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Session().RemoveAllPasswords();
        FDialog = new TPasswordDialog(Session());
        FDialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FDialog.data()));
    }
    void TearDown() override
    {
        delete FDialog.data();
        Session().RemoveAllPasswords();
        Session().OnPassword = nullptr;
    }

    void Type(const QString& text) { QTest::keyClicks(FDialog->Edit(), text); }
    static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Lets a deferred delete of the closed dialog happen.
    static void ProcessDeferredDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    void ExpectEnabled(bool add, bool remove, bool ok) const
    {
        EXPECT_EQ(FDialog->AddButton()->isEnabled(), add);
        EXPECT_EQ(FDialog->RemoveButton()->isEnabled(), remove);
        EXPECT_EQ(FDialog->OKButton()->isEnabled(), ok);
        EXPECT_TRUE(FDialog->RemoveAllButton()->isEnabled());
        EXPECT_TRUE(FDialog->CancelButton()->isEnabled());
    }

    QPointer<TPasswordDialog> FDialog;
};

// Drives the next modal password dialog from the event loop.
// The dialog may become modal a few event-loop turns after it is opened, so
// look again every few milliseconds; give up after five seconds.
void WhenDialogShows(std::function<void(TPasswordDialog&)> act)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        auto* dialog = dynamic_cast<TPasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "the password dialog did not show";
            return;
        }
        act(*dialog);
    });
    timer->start(5);
}

} // namespace

TEST_F(PasswordDialogTest, LooksAsDescribed)
{
    EXPECT_EQ(FDialog->windowTitle(), "Enter password");
    EXPECT_TRUE(FDialog->isModal());
    EXPECT_TRUE(FDialog->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(FDialog->Group()->title(), "Password");
    EXPECT_EQ(FDialog->Edit()->parentWidget(), FDialog->Group());
    EXPECT_EQ(FDialog->Edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(FDialog->AddButton()->text(), "&Add");
    EXPECT_EQ(FDialog->RemoveButton()->text(), "&Remove");
    EXPECT_EQ(FDialog->RemoveAllButton()->text(), "Re&move all");
    EXPECT_EQ(FDialog->OKButton()->text(), "&OK");
    EXPECT_EQ(FDialog->CancelButton()->text(), "Cancel");
    EXPECT_TRUE(FDialog->OKButton()->isDefault());
    EXPECT_FALSE(FDialog->CancelButton()->isDefault());
    EXPECT_TRUE(FDialog->Edit()->hasFocus());
    Type("abc");
    EXPECT_EQ(FDialog->Edit()->displayText(), "***");
}

TEST_F(PasswordDialogTest, ButtonsFollowTheText)
{
    ExpectEnabled(false, false, false);
    Type("x");
    ExpectEnabled(true, true, true);
    QTest::keyClick(FDialog->Edit(), Qt::Key_Backspace);
    ExpectEnabled(false, false, false);
}

TEST_F(PasswordDialogTest, AddGivesThePasswordToTheSessionAndKeepsOkEnabled)
{
    Type("secret");
    Click(FDialog->AddButton());
    EXPECT_EQ(Session().Passwords(), TPasswords{"secret"});
    EXPECT_TRUE(FDialog->Edit()->text().isEmpty());
    EXPECT_TRUE(FDialog->PasswordAdded());
    ExpectEnabled(false, false, true);
    Type("y");
    QTest::keyClick(FDialog->Edit(), Qt::Key_Backspace);
    ExpectEnabled(false, false, true);   // a password was added in this dialog
    EXPECT_TRUE(FDialog->isVisible());

    // A second Add appends to the session's list.
    Type("other");
    Click(FDialog->AddButton());
    EXPECT_EQ(Session().Passwords(), (TPasswords{"secret", "other"}));

    // OK with an empty text adds nothing more and closes with OK.
    Click(FDialog->OKButton());
    EXPECT_EQ(FDialog->result(), QDialog::Accepted);
    EXPECT_EQ(Session().Passwords(), (TPasswords{"secret", "other"}));
}

TEST_F(PasswordDialogTest, RemoveAndRemoveAllWithdrawPasswords)
{
    Session().AddPassword("one");
    Session().AddPassword("two");
    Session().AddPassword("three");
    Type("two");
    Click(FDialog->RemoveButton());
    EXPECT_EQ(Session().Passwords(), (TPasswords{"one", "three"}));
    EXPECT_TRUE(FDialog->Edit()->text().isEmpty());
    ExpectEnabled(false, false, false);

    Type("zzz");
    Click(FDialog->RemoveAllButton());
    EXPECT_TRUE(Session().Passwords().empty());
    EXPECT_EQ(FDialog->Edit()->text(), "zzz");
    EXPECT_TRUE(FDialog->isVisible());
}

TEST_F(PasswordDialogTest, OkGivesTheTextAndClosesWithOkThenTheDialogIsFreed)
{
    Type("pw");
    Click(FDialog->OKButton());
    EXPECT_EQ(Session().Passwords(), TPasswords{"pw"});
    ProcessDeferredDeletes();
    EXPECT_TRUE(FDialog.isNull());
}

TEST_F(PasswordDialogTest, EnterInTheEditIsOk)
{
    Type("pw");
    QTest::keyClick(FDialog->Edit(), Qt::Key_Return);
    EXPECT_EQ(Session().Passwords(), TPasswords{"pw"});
    ProcessDeferredDeletes();
    EXPECT_TRUE(FDialog.isNull());
}

TEST_F(PasswordDialogTest, EnterDoesNothingWhileOkIsDisabled)
{
    QTest::keyClick(FDialog->Edit(), Qt::Key_Return);
    ProcessDeferredDeletes();
    ASSERT_FALSE(FDialog.isNull());
    EXPECT_TRUE(FDialog->isVisible());
}

TEST_F(PasswordDialogTest, CancelAndEscapeCloseWithoutAdding)
{
    Type("pw");
    Click(FDialog->CancelButton());
    EXPECT_TRUE(Session().Passwords().empty());
    ProcessDeferredDeletes();
    EXPECT_TRUE(FDialog.isNull());

    FDialog = new TPasswordDialog(Session());
    FDialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(FDialog.data()));
    Type("pw");
    QTest::keyClick(FDialog->Edit(), Qt::Key_Escape);
    EXPECT_TRUE(Session().Passwords().empty());
    ProcessDeferredDeletes();
    EXPECT_TRUE(FDialog.isNull());
}

TEST(PasswordDialog, ModalRunReportsOkOrCancel)
{
    Session().RemoveAllPasswords();
    WhenDialogShows([](TPasswordDialog& dialog) {
        QTest::keyClicks(dialog.Edit(), "first");
        QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(PasswordDialog(Session()));
    EXPECT_EQ(Session().Passwords(), TPasswords{"first"});

    WhenDialogShows([](TPasswordDialog& dialog) {
        QTest::keyClicks(dialog.Edit(), "second");
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(PasswordDialog(Session()));
    EXPECT_EQ(Session().Passwords(), TPasswords{"first"});

    // Add, then Cancel: the added password stays, the answer is Cancel.
    WhenDialogShows([](TPasswordDialog& dialog) {
        QTest::keyClicks(dialog.Edit(), "third");
        QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(PasswordDialog(Session()));
    EXPECT_EQ(Session().Passwords(), (TPasswords{"first", "third"}));
    Session().RemoveAllPasswords();
}

TEST(PasswordDialog, InstalledDialogAnswersTheSessionsPasswordRequest)
{
    Session().RemoveAllPasswords();
    InstallPasswordDialog(Session());
    ASSERT_TRUE(Session().OnPassword);
    WhenDialogShows([](TPasswordDialog& dialog) {
        QTest::keyClicks(dialog.Edit(), "tablepw");
        QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    });
    EXPECT_TRUE(Session().OnPassword(Session(), "/data/protected.db"));
    EXPECT_EQ(Session().Passwords(), TPasswords{"tablepw"});
    Session().OnPassword = nullptr;
    Session().RemoveAllPasswords();
}
