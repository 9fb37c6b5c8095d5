// The command-line reader, run as a program: CSV quoting, nulls, UTF-8
// text, and a clear failure.

#include "DbfTestSupport.h"
#include "support/CommandRun.h"

#include "data/engine/CodePage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(Tablecat, InfoDescribesTheTableAndCodepageReadsItInAnotherCodePage)
{
    std::string tablecat = TablecatPath();
    if (tablecat.empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("ru.dbf");
    create.Level = "III";
    create.CodePage = 1251;
    TEngineFieldDef name, amount;
    name.Name = "NAME";
    name.DataType = ftString;
    name.Size = 20;
    amount.Name = "AMOUNT";
    amount.DataType = ftFloat;
    amount.Precision = 8;
    amount.Scale = 2;
    create.Fields = {name, amount};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        for (const char* text : {"Иванов Иван", "Петрова Анна", "бухгалтерия"}) {
            TEngineRecord r = {TVariant(text), TVariant(1.5)};
            cursor->InsertRecord(r, true);
        }
    }
    std::string bytes = ReadFileBytes(create.Path);
    bytes[29] = 0;   // no code-page mark
    WriteFileBytes(create.Path, bytes);

    TRun info = RunCommand(tablecat + " --info " + create.Path + " 2>&1");
    EXPECT_EQ(info.ExitCode, 0) << info.Output;
    for (const char* line : {"Format: dBASE III\n", "Code page: Windows-1251 (1251), detected", "Records: 3\n",
                             "  NAME  C(20) ftString\n", "  AMOUNT  N(8,2) ftFloat\n", "Read-only: no\n"})
        EXPECT_NE(info.Output.find(line), std::string::npos) << line << " missing from:\n" << info.Output;

    TRun dos = RunCommand(tablecat + " --codepage 866 " + create.Path + " 2>&1");
    EXPECT_EQ(dos.ExitCode, 0) << dos.Output;
    std::string asDos = TCodePage(866).ToUtf8(TCodePage(1251).FromUtf8("Иванов Иван"));
    EXPECT_NE(dos.Output.find(asDos), std::string::npos) << dos.Output;
    TRun bad = RunCommand(tablecat + " --codepage 12x " + create.Path + " 2>&1");
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Output.find("not a code page number"), std::string::npos) << bad.Output;

    chmod(create.Path.c_str(), 0444);
    TRun locked = RunCommand(tablecat + " --info " + create.Path + " 2>&1");
    EXPECT_NE(locked.Output.find(std::string("Read-only: yes. ") + FileNotWritableReason), std::string::npos)
        << locked.Output;
    EXPECT_EQ(ReadFileBytes(create.Path), bytes) << "--info wrote to the table";
}

TEST(Tablecat, PrintsNumbersInPlainDecimalAsTheGridShowsThem)
{
    std::string tablecat = TablecatPath();
    if (tablecat.empty())
        GTEST_SKIP() << "tablecat is not built";
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("numbers.dbf");
    TEngineFieldDef amount;
    amount.Name = "AMOUNT";
    amount.DataType = ftFloat;
    amount.Precision = 18;
    amount.Scale = 6;
    create.Fields = {amount};
    DbfDriver().CreateTable(create);
    {
        auto cursor = OpenDbf(create.Path);
        for (double value : {400000.0, -1234567.5, 0.000125, 100.0}) {
            TEngineRecord record = {TVariant(value)};
            cursor->InsertRecord(record, true);
        }
    }
    TRun run = RunCommand(tablecat + " " + create.Path + " 2>&1");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output, "AMOUNT\r\n400000\r\n-1234567.5\r\n0.000125\r\n100\r\n");
}
