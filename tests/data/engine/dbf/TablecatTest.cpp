// The command-line reader, run as a program: CSV quoting, nulls, UTF-8
// text, and a clear failure.

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// tablecat is built beside this test program (build/src beside build/tests).
std::string TablecatPath()
{
    char self[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return std::string();
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.find_last_of('/'));
    path = path.substr(0, path.find_last_of('/')) + "/src/tablecat";
    return access(path.c_str(), X_OK) == 0 ? path : std::string();
}

struct TRun {
    int ExitCode = -1;
    std::string Output;
};

TRun RunCommand(const std::string& command)
{
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.Output.append(buffer, n);
    int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

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
