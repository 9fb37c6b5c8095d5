// The command-line reader, run as a program: CSV quoting, nulls, UTF-8
// text, and a clear failure.

#include "DbfTestSupport.h"
#include "support/CommandRun.h"

#include <gtest/gtest.h>

TEST(Tablecat, PrintsTheTableAsCsvWithQuotingAndEmptyNulls)
{
    std::string tablecat = TablecatPath();
    if (tablecat.empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("cat.dbf");
    create.Level = "IV";
    TEngineFieldDef name, amount, born, notes;
    name.Name = "NAME";
    name.DataType = ftString;
    name.Size = 20;
    amount.Name = "AMOUNT";
    amount.DataType = ftFloat;
    amount.Precision = 8;
    amount.Scale = 2;
    born.Name = "BORN";
    born.DataType = ftDate;
    notes.Name = "NOTES";
    notes.DataType = ftMemo;
    create.Fields = {name, amount, born, notes};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        TEngineRecord a = {TVariant("Smith, \"Jo\""), TVariant(-1.5), TVariant::FromDateTime(MakeDate(2020, 2, 29)),
                           TVariant("line 1\r\nline 2")};
        cursor->InsertRecord(a, true);
        TEngineRecord b = {TVariant("张三"), TVariant::Null(), TVariant::Null(), TVariant::Null()};
        cursor->InsertRecord(b, true);
    }
    TRun run = RunCommand(tablecat + " " + create.Path + " 2>&1");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output, "NAME,AMOUNT,BORN,NOTES\r\n"
                          "\"Smith, \"\"Jo\"\"\",-1.5,2020-02-29,\"line 1\r\nline 2\"\r\n"
                          "张三,,,\r\n");
}

TEST(Tablecat, FailsWithAMessageAndExitCodeOne)
{
    std::string tablecat = TablecatPath();
    if (tablecat.empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir dir;
    TRun missing = RunCommand(tablecat + " " + dir.File("none.dbf") + " 2>&1");
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Output.find("File or directory does not exist."), std::string::npos) << missing.Output;
    WriteFileBytes(dir.File("junk.dbf"), "not a table at all, just text");
    TRun junk = RunCommand(tablecat + " " + dir.File("junk.dbf") + " 2>&1");
    EXPECT_EQ(junk.ExitCode, 1);
    EXPECT_NE(junk.Output.find("tablecat: "), std::string::npos);
    TRun usage = RunCommand(tablecat + " 2>&1");
    EXPECT_EQ(usage.ExitCode, 1);
    EXPECT_NE(usage.Output.find("usage: tablecat"), std::string::npos);
}

TEST(Tablecat, ReadsParadoxTablesToo)
{
    std::string tablecat = TablecatPath();
    if (tablecat.empty())
        GTEST_SKIP() << "tablecat is not built";
    TRun run = RunCommand(tablecat + " " + SharedDir() + "/testdata/paradox/leonhad_paradoxdriver/db/GENERAL.DB 2>&1");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(run.Output.substr(0, run.Output.find("\r\n")), "ID,NAME,MONEYS");
    EXPECT_NE(run.Output.find("\r\n1,Mari,100"), std::string::npos) << run.Output;
}
