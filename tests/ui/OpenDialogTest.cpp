#include "ui/OpenDialog.h"

#include <QFileDialog>
#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

TEST(OpenDialog, FilterBecomesQtNameFilters)
{
    EXPECT_EQ(QtNameFilters("dBASE|*.dbf|Paradox|*.db"), (std::vector<std::string>{"dBASE (*.dbf)", "Paradox (*.db)"}));
    EXPECT_EQ(QtNameFilters("Tables|*.dbf; *.db|All files|*.*"), (std::vector<std::string>{"Tables (*.dbf *.db)", "All files (*.*)"}));
    EXPECT_EQ(QtNameFilters("dBASE (*.dbf)|*.dbf"), (std::vector<std::string>{"dBASE (*.dbf)"}));
    EXPECT_EQ(QtNameFilters("Tables (dBASE)|*.dbf"), (std::vector<std::string>{"Tables (dBASE) (*.dbf)"}));
    EXPECT_EQ(QtNameFilters("Anything"), (std::vector<std::string>{"Anything (*)"}));
    EXPECT_EQ(QtNameFilters("|*.txt"), (std::vector<std::string>{"(*.txt)"}));
    EXPECT_TRUE(QtNameFilters("").empty());
}

TEST(OpenDialog, DefaultExtIsAppendedOnlyToANameWithoutExtension)
{
    EXPECT_EQ(WithDefaultExt("/data/people", "dbf"), "/data/people.dbf");
    EXPECT_EQ(WithDefaultExt("/data/people", ".dbf"), "/data/people.dbf");
    EXPECT_EQ(WithDefaultExt("/data/people.db", "dbf"), "/data/people.db");
    EXPECT_EQ(WithDefaultExt("/data/people.", "dbf"), "/data/people.dbf");
    EXPECT_EQ(WithDefaultExt("/data.old/people", "dbf"), "/data.old/people.dbf");
    EXPECT_EQ(WithDefaultExt("/data/people", ""), "/data/people");
}

TEST(OpenDialog, AnswererChoosesTheFileAndSeesTheSettings)
{
    TOpenDialogAnswerer answerer(std::optional<std::string>("/tmp/people"));
    TOpenDialog dialog;
    dialog.Filter = "dBASE|*.dbf|Paradox|*.db";
    dialog.FilterIndex = 2;
    dialog.DefaultExt = "dbf";
    dialog.Title = "Open table";
    dialog.InitialDir = "/tmp";
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/tmp/people.dbf");
    ASSERT_EQ(answerer.Count(), 1);
    const TOpenDialogRequest& request = answerer.Requests()[0];
    EXPECT_EQ(request.Filter, "dBASE|*.dbf|Paradox|*.db");
    EXPECT_EQ(request.FilterIndex, 2);
    EXPECT_EQ(request.DefaultExt, "dbf");
    EXPECT_EQ(request.Title, "Open table");
    EXPECT_EQ(request.InitialDir, "/tmp");
    EXPECT_EQ(request.FileName, "");
}

TEST(OpenDialog, CancelKeepsTheFileName)
{
    TOpenDialogAnswerer answerer(std::nullopt);
    TOpenDialog dialog;
    dialog.FileName = "/tmp/before.dbf";
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/tmp/before.dbf");
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Requests()[0].FileName, "/tmp/before.dbf");
}

TEST(OpenDialog, NoAnswererOnAHeadlessPlatformRaisesInsteadOfHanging)
{
    ASSERT_EQ(TOpenDialogAnswerer::Current(), nullptr);
    TOpenDialog dialog;
    EXPECT_THROW(dialog.Execute(), std::logic_error);
}

TEST(OpenDialog, BuiltDialogCarriesTheSettings)
{
    TOpenDialog dialog;
    dialog.Filter = "dBASE|*.dbf|Paradox|*.db";
    dialog.FilterIndex = 2;
    dialog.DefaultExt = ".dbf";
    dialog.Title = "Open table";
    dialog.InitialDir = QDir::tempPath().toStdString();
    std::unique_ptr<QFileDialog> qt(dialog.CreateDialog());
    EXPECT_EQ(qt->windowTitle(), "Open table");
    EXPECT_EQ(qt->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(qt->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(qt->nameFilters(), (QStringList{"dBASE (*.dbf)", "Paradox (*.db)"}));
    EXPECT_EQ(qt->selectedNameFilter(), "Paradox (*.db)");
    EXPECT_EQ(qt->defaultSuffix(), "dbf");
    EXPECT_EQ(QDir(qt->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());

    TOpenDialog plain;
    std::unique_ptr<QFileDialog> untitled(plain.CreateDialog());
    EXPECT_EQ(untitled->windowTitle(), "Open");
}
