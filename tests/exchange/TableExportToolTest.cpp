// The tableexport command: the whole table in each format, to standard
// output or a file, and clear errors for wrong arguments and tables.

#include "ExportTestSupport.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>

#ifdef TM_TABLEEXPORT

namespace {

struct TToolRun {
    int ExitCode = -1;
    std::string Output;
};

TToolRun RunTool(const std::string& arguments, const std::string& errorFile)
{
    TToolRun run;
    FILE* pipe = popen((std::string(TM_TABLEEXPORT) + " " + arguments + " 2>" + errorFile).c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class TableExportTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table = Dir.CopyTable(std::string(TM_SHARED_DIR) + "/testdata/dbf/tmontaigu_dbase-rs/cp936.dbf");
    }
    TToolRun Run(const std::string& arguments) { return RunTool(arguments, Dir.File("errors.txt")); }
    std::string Errors() { return FileText(Dir.File("errors.txt")); }

    TScratchDir Dir;
    std::string Table;
};

TEST_F(TableExportTool, TextAndCsvToStandardOutput)
{
    TToolRun text = Run("--format text " + Table);
    EXPECT_EQ(text.ExitCode, 0) << Errors();
    EXPECT_EQ(text.Output, "TEST\r\n测试中文");
    TToolRun csv = Run("--format csv " + Table);
    EXPECT_EQ(csv.Output, "\"TEST\"\r\n\"测试中文\"");
}

TEST_F(TableExportTool, RtfAndHtmlToAFile)
{
    const std::string rtfPath = Dir.File("out.rtf");
    EXPECT_EQ(Run("--format rtf --output " + rtfPath + " " + Table).ExitCode, 0) << Errors();
    const std::string rtf = FileText(rtfPath);
    EXPECT_EQ(rtf.rfind("{\\rtf0\\ansi\r\n", 0), 0u);
    EXPECT_NE(rtf.find("\\u27979?\\u-29739?\\u20013?\\u25991?\\cell}"), std::string::npos);
    const std::string htmlPath = Dir.File("out.html");
    EXPECT_EQ(Run("--output " + htmlPath + " --format html " + Table).ExitCode, 0) << Errors();
    EXPECT_NE(FileText(htmlPath).find(">测试中文</font></td>"), std::string::npos);
}

TEST_F(TableExportTool, WrongArgumentsAndTablesAreReported)
{
    EXPECT_NE(Run("--format xml " + Table).ExitCode, 0);
    EXPECT_NE(Errors().find("Unknown format \"xml\""), std::string::npos);
    EXPECT_NE(Run(Table).ExitCode, 0);
    EXPECT_NE(Errors().find("No format given"), std::string::npos);
    const std::string output = Dir.File("never.csv");
    EXPECT_NE(Run("--format csv --output " + output + " " + Dir.File("missing.dbf")).ExitCode, 0);
    EXPECT_NE(Errors().find("tableexport: "), std::string::npos);
    struct stat info;
    EXPECT_NE(stat(output.c_str(), &info), 0) << "no output file for a table that did not open";
}

}  // namespace

#endif
