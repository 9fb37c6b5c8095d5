// "tablemaint FILE": the file named on the command line opens exactly as a
// choice in the file dialog does, failures and password questions included.

#include "AppTestSupport.h"

#include "app/Application.h"
#include "app/ReadOnlyPanel.h"
#include "data/Session.h"
#include "ui/DialogService.h"
#include "ui/OpenDialog.h"
#include "ui/PasswordDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

enum class TPasswordAnswer { NotAsked, Right, Cancel };

// What the user sees after an opening.
struct TOutcome {
    std::vector<std::string> Messages;
    int PasswordQuestions = 0;
    QString Status;
    bool Active = false;
    bool CanModify = false;
    int RecordCount = -1;
    QString ReadOnlyText;

    bool operator==(const TOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOutcome& o)
{
    out << "{status " << o.Status.toStdString() << ", active " << o.Active << ", records " << o.RecordCount
        << ", password questions " << o.PasswordQuestions << ", read-only \"" << o.ReadOnlyText.toStdString()
        << "\", messages:";
    for (const std::string& m : o.Messages)
        out << " [" << m << "]";
    return out << "}";
}

class OpenAtStart : public testing::Test {
protected:
    void SetUp() override { InstallPasswordDialog(Session()); }
    void TearDown() override
    {
        Session().OnPassword = nullptr;
        Session().RemoveAllPasswords();
    }

    // Opens `path` in a new main window, from the command line or through
    // the file dialog, answering a password question as told.
    static TOutcome Open(const std::string& path, bool atStart, TPasswordAnswer password)
    {
        Session().RemoveAllPasswords();
        TMainWindowHolder window;
        TMessageAnswerer answerer(mrOk);
        TOutcome outcome;
        if (password != TPasswordAnswer::NotAsked)
            WhenModalShows([&](QWidget& modal) {
                auto* dialog = dynamic_cast<TPasswordDialog*>(&modal);
                if (!dialog) {
                    ADD_FAILURE() << "another window is modal";
                    modal.close();
                    return;
                }
                ++outcome.PasswordQuestions;
                if (password == TPasswordAnswer::Right) {
                    QTest::keyClicks(dialog->Edit(), "123");
                    QTest::mouseClick(dialog->OKButton(), Qt::LeftButton);
                } else {
                    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
                }
            });
        if (atStart) {
            window->OpenAtStart(QString::fromStdString(path));
        } else {
            TOpenDialogAnswerer chooser{std::optional<std::string>(path)};
            window->itmDBF()->trigger();
        }
        for (const TMessageRequest& request : answerer.Requests())
            outcome.Messages.push_back(std::to_string(request.Type) + ": " + request.Text);
        outcome.Status = window->StatusPanelText();
        outcome.Active = window->tblDBF.Active();
        outcome.CanModify = outcome.Active && window->tblDBF.CanModify();
        outcome.RecordCount = outcome.Active ? window->tblDBF.RecordCount() : -1;
        outcome.ReadOnlyText = window->ReadOnlyPanel()->isVisibleTo(window.Get()) ? window->ReadOnlyPanel()->text()
                                                                                   : QString();
        return outcome;
    }

    static TOutcome ExpectSameBothWays(const std::string& path, TPasswordAnswer password = TPasswordAnswer::NotAsked)
    {
        TOutcome chosen = Open(path, false, password);
        TOutcome started = Open(path, true, password);
        EXPECT_EQ(started, chosen);
        return started;
    }

    TScratchDir scratch;
};

} // namespace

TEST_F(OpenAtStart, AMissingFileShowsTheEngineMessageAndItsPathAsTheDialogPathDoes)
{
    const std::string missing = scratch.Path("missing.dbf");
    TOutcome outcome = ExpectSameBothWays(missing);
    EXPECT_FALSE(outcome.Active);
    EXPECT_EQ(outcome.Status, QString::fromStdString(missing));
    ASSERT_EQ(outcome.Messages.size(), 1u);
    EXPECT_NE(outcome.Messages[0].find("missing.dbf"), std::string::npos) << outcome.Messages[0];
}

TEST_F(OpenAtStart, AFileThatCannotBeReadFailsAsTheDialogPathDoes)
{
    // A folder with a table's name cannot be read by anyone.
    const std::string folder = scratch.Path("folder.dbf");
    fs::create_directory(folder);
    TOutcome outcome = ExpectSameBothWays(folder);
    EXPECT_FALSE(outcome.Active);
    EXPECT_EQ(outcome.Messages.size(), 1u);

    // A file without read permission (the superuser reads it anyway, and
    // then both ways open it alike).
    const std::string locked = scratch.CopySample("demo.dbf", "locked.dbf");
    chmod(locked.c_str(), 0);
    ExpectSameBothWays(locked);
    chmod(locked.c_str(), 0644);
}

TEST_F(OpenAtStart, AProtectedParadoxTableAsksForItsPasswordAsTheDialogPathDoes)
{
    const std::string source = std::string(TM_SHARED_DIR) + "/testdata/paradox/leonhad_paradoxdriver/encrypt/encrypted.db";
    if (!fs::exists(source))
        GTEST_SKIP() << "the shared test tables are not there";
    const std::string path = scratch.Path("encrypted.db");
    fs::copy_file(source, path);
    chmod(path.c_str(), 0644);

    TOutcome given = ExpectSameBothWays(path, TPasswordAnswer::Right);
    EXPECT_EQ(given.PasswordQuestions, 1);
    EXPECT_TRUE(given.Active);
    EXPECT_TRUE(given.Messages.empty());

    TOutcome refused = ExpectSameBothWays(path, TPasswordAnswer::Cancel);
    EXPECT_EQ(refused.PasswordQuestions, 1);
    EXPECT_FALSE(refused.Active);
    EXPECT_EQ(refused.Messages.size(), 1u);
    EXPECT_EQ(refused.Status, QString::fromStdString(path));
}

TEST_F(OpenAtStart, AReadOnlyTableSaysWhyAsTheDialogPathDoes)
{
    const std::string path = scratch.CopySample("demo.dbf", "ro.dbf");
    chmod(path.c_str(), 0444);
    TOutcome outcome = ExpectSameBothWays(path);
    EXPECT_TRUE(outcome.Active);
    EXPECT_FALSE(outcome.CanModify);
    EXPECT_TRUE(outcome.ReadOnlyText.startsWith(QString::fromUtf8("只读：文件不允许写入"))) << outcome;
}

TEST(CommandLine, TheFileArgumentIsMadeAFullPathAndOptionsAreSkipped)
{
    EXPECT_EQ(TApplication::FileArgument({"tablemaint"}), QString());
    EXPECT_EQ(TApplication::FileArgument({"tablemaint", "data/t.dbf"}), QDir::current().absoluteFilePath("data/t.dbf"));
    EXPECT_EQ(TApplication::FileArgument({"tablemaint", "/x/t.db"}), QStringLiteral("/x/t.db"));
    EXPECT_EQ(TApplication::FileArgument({"tablemaint", "--verbose", "/x/t.db"}), QStringLiteral("/x/t.db"));
    EXPECT_EQ(TApplication::FileArgument({"tablemaint", "--", "-odd.dbf"}), QDir::current().absoluteFilePath("-odd.dbf"));
}
