// Other programs read the exports back: Python's csv module parses the CSV
// into the same cells, and LibreOffice converts the RTF (Writer) and the
// HTML (Calc) of a table with three title levels, Chinese texts, colours
// and footers into documents holding the same cells and merged cells.  The
// LibreOffice checks are skipped when soffice is not installed.

#include "ExportTestSupport.h"

#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "support/JsonValue.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

// Runs a shell command; its standard output, or nullopt when it failed.
std::optional<std::string> RunCommand(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    return pclose(pipe) == 0 ? std::optional<std::string>(output) : std::nullopt;
}

bool HasProgram(const std::string& name)
{
    return RunCommand("command -v " + name + " >/dev/null 2>&1").has_value();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Reads a CSV file with Python's csv module (delimiter ";"); the rows as JSON.
const char* const CsvReader = R"(import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    print(json.dumps(list(csv.reader(f, delimiter=';'))))
)";

// The first table of an HTML file: rows of [text, colspan, rowspan].
const char* const HtmlTableReader = R"(import json, sys
from html.parser import HTMLParser
class Reader(HTMLParser):
    def __init__(self):
        super().__init__(); self.rows = []; self.cell = None; self.depth = 0; self.done = False
    def handle_starttag(self, tag, attrs):
        if self.done: return
        if tag == 'table': self.depth += 1
        a = dict(attrs)
        if tag == 'tr' and self.depth == 1: self.rows.append([])
        if tag in ('td', 'th') and self.depth == 1:
            self.cell = ['', int(a.get('colspan') or 1), int(a.get('rowspan') or 1)]
        if tag == 'br' and self.cell is not None: self.cell[0] += '\n'
    def handle_endtag(self, tag):
        if self.done: return
        if tag in ('td', 'th') and self.cell is not None:
            self.cell[0] = self.cell[0].strip(); self.rows[-1].append(self.cell); self.cell = None
        if tag == 'table':
            self.depth -= 1
            if self.depth == 0: self.done = True
    def handle_data(self, data):
        if self.cell is not None: self.cell[0] += ' '.join(data.split()) if data.strip() else ''
r = Reader(); r.feed(open(sys.argv[1], encoding='utf-8', errors='replace').read())
print(json.dumps(r.rows))
)";

TJsonValue RunReader(const TScratchDir& dir, const char* script, const std::string& file)
{
    WriteFile(dir.File("reader.py"), script);
    const std::optional<std::string> output = RunCommand("python3 " + dir.File("reader.py") + " " + file);
    if (!output)
        throw std::runtime_error("the reader failed on " + file);
    return TJsonValue::Parse(*output);
}

// Rows of cells as "text" or "text/colspan x rowspan" when spanned.
std::vector<std::string> TableRows(const TJsonValue& rows)
{
    std::vector<std::string> lines;
    for (const TJsonValue& row : rows.Items()) {
        std::string line;
        for (const TJsonValue& cell : row.Items()) {
            line += (line.empty() ? "" : " | ") + cell[size_t(0)].AsString();
            const int colSpan = static_cast<int>(cell[size_t(1)].AsNumber());
            const int rowSpan = static_cast<int>(cell[size_t(2)].AsNumber());
            if (colSpan > 1 || rowSpan > 1)
                line += "/" + std::to_string(colSpan) + "x" + std::to_string(rowSpan);
        }
        lines.push_back(line);
    }
    return lines;
}

// Three title levels over Chinese texts, coloured cells and a footer row.
struct TThreeLevelTable {
    TExportGrid Grid;

    TThreeLevelTable()
    {
        Grid.AddField("NAME", ftString, 20);
        Grid.AddField("CITY", ftString, 20);
        Grid.AddField("QTY", ftInteger);
        Grid.AddField("NOTE", ftString, 30);
        Grid.AddRecord({TVariant("张三"), TVariant("北京"), TVariant(3), TVariant("a \"q\"; b")});
        Grid.AddRecord({TVariant("李四"), TVariant("上海"), TVariant(4), TVariant("{x} & <y>")});
        Grid.Bind();
        TDBGridGx& grid = *Grid.Grid;
        Grid.Column("NAME")->Title()->SetCaption("资料|基本|名称");
        Grid.Column("CITY")->Title()->SetCaption("资料|基本|城市");
        Grid.Column("QTY")->Title()->SetCaption("资料|数量");
        Grid.Column("NOTE")->Title()->SetCaption("备注");
        Grid.Column("NAME")->SetColor(clYellow);
        Grid.Column("QTY")->SetColor(RGB(200, 230, 255));
        TFontGx red = Grid.Column("CITY")->Font();
        red.SetColor(clRed);
        red.setBold(true);
        Grid.Column("CITY")->SetFont(red);
        grid.SetUseMultiTitle(true);
        grid.SetFooterRowCount(1);
        Grid.Column("NAME")->Footer()->SetValueType(fvtStaticText);
        Grid.Column("NAME")->Footer()->SetValue("合计");
        Grid.Column("QTY")->Footer()->SetValueType(fvtSum);
        Grid.Column("NOTE")->Footer()->SetValueType(fvtCount);
    }
};

const std::vector<std::string> ExpectedRows = {
    "资料/3x1 | 备注/1x3",
    "基本/2x1 | 数量/1x2",
    "名称 | 城市",
    "张三 | 北京 | 3 | a \"q\"; b",
    "李四 | 上海 | 4 | {x} & <y>",
    "合计 |  | 7 | 2",
};

TEST(ExternalReaders, PythonCsvReadsTheSameCells)
{
    if (!HasProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    TThreeLevelTable table;
    table.Grid.Grid->SetUseMultiTitle(false);
    TScratchDir dir;
    WriteFile(dir.File("t.csv"), Exported(ExportClass<TDBGridGxExportAsCSV>, *table.Grid.Grid, true));
    const TJsonValue rows = RunReader(dir, CsvReader, dir.File("t.csv"));
    const std::vector<std::vector<std::string>> expected = {
        {"资料|基本|名称", "资料|基本|城市", "资料|数量", "备注"},
        {"张三", "北京", "3", "a \"q\"; b"},
        {"李四", "上海", "4", "{x} & <y>"},
        {"合计", "", "7", "2"},
    };
    ASSERT_EQ(rows.Size(), expected.size());
    for (size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(rows[r].Size(), expected[r].size());
        for (size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(rows[r][c].AsString(), expected[r][c]) << "row " << r << " cell " << c;
    }
}

class LibreOfficeReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasProgram("soffice"))
            GTEST_SKIP() << "soffice (LibreOffice) is not installed: install libreoffice-writer-nogui and "
                            "libreoffice-calc-nogui to run this check";
        if (!HasProgram("python3"))
            GTEST_SKIP() << "python3 is not installed";
    }
    // Converts the file with LibreOffice into HTML in the folder "out".
    std::string Convert(const std::string& file, const std::string& filters)
    {
        const std::string command = "cd " + Dir.Path() + " && soffice -env:UserInstallation=file://" + Dir.Path() +
                                    "/profile --headless " + filters + " --outdir out " + file +
                                    " >/dev/null 2>&1";
        EXPECT_TRUE(RunCommand(command).has_value()) << command;
        return Dir.File("out/" + file.substr(0, file.find('.')) + ".html");
    }

    TScratchDir Dir;
    TThreeLevelTable Table;
};

TEST_F(LibreOfficeReader, WriterReadsTheRtfTable)
{
    WriteFile(Dir.File("t.rtf"), Exported(ExportClass<TDBGridGxExportAsRTF>, *Table.Grid.Grid, true));
    const std::string converted = Convert("t.rtf", "--convert-to html");
    EXPECT_EQ(TableRows(RunReader(Dir, HtmlTableReader, converted)), ExpectedRows);
}

TEST_F(LibreOfficeReader, CalcReadsTheHtmlTable)
{
    WriteFile(Dir.File("t.html"), Exported(ExportClass<TDBGridGxExportAsHTML>, *Table.Grid.Grid, true));
    const std::string converted =
        Convert("t.html", "--infilter=\"HTML (StarCalc)\" --convert-to \"html:HTML (StarCalc)\"");
    EXPECT_EQ(TableRows(RunReader(Dir, HtmlTableReader, converted)), ExpectedRows);
}

}  // namespace
