// tableexport --format text|csv|rtf|html [--password P] [--output PATH] FILE
//
// Writes a whole .dbf, .db or .txt table through the grid's exporters: a
// grid with the table's default columns, never shown, exports every record
// in the chosen format to standard output or to PATH (created, or
// truncated when it exists).  Text and CSV are UTF-8 with CR LF between
// rows; RTF is 7-bit; HTML is one UTF-8 table.

#include "data/DataSource.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"
#include "grid/DBGridGx.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "tools/ToolMain.h"

#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

const char* Usage = "usage: tableexport --format text|csv|rtf|html [--password PASSWORD] [--output PATH] FILE\n"
                    "Writes every record of a .dbf, .db or .txt table as tab-separated text, CSV,\n"
                    "RTF or HTML, to standard output or to PATH.\n";

// Standard output as a stream that can only be written.
class TStdoutStream : public TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void* buffer, int64_t count) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        int64_t written = 0;
        while (written < count) {
            const ssize_t n = ::write(STDOUT_FILENO, bytes + written, static_cast<size_t>(count - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
        FPosition += written;
        return written;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        if (origin == soFromBeginning ? offset != FPosition : offset != 0)
            throw EStreamError("Standard output cannot seek");
        return FPosition;
    }
    void SetSize(int64_t) override { throw EStreamError("Standard output cannot change its size"); }

private:
    int64_t FPosition = 0;
};

TDBGridGxExportClass ExportClassForFormat(const std::string& format)
{
    if (format == "text")
        return ExportClass<TDBGridGxExportAsText>;
    if (format == "csv")
        return ExportClass<TDBGridGxExportAsCSV>;
    if (format == "rtf")
        return ExportClass<TDBGridGxExportAsRTF>;
    if (format == "html")
        return ExportClass<TDBGridGxExportAsHTML>;
    throw Exception("Unknown format \"" + format + "\": expected text, csv, rtf or html.\n" + Usage);
}

struct TOptions {
    std::string Format;
    std::string Password;
    std::string Output;
    std::string Path;
    bool Help = false;
};

TOptions ParseOptions(int argc, char** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw Exception("Option \"" + arg + "\" needs a value.\n" + Usage);
            return argv[++i];
        };
        if (arg == "--format")
            options.Format = value();
        else if (arg == "--password")
            options.Password = value();
        else if (arg == "--output")
            options.Output = value();
        else if (arg == "--help" || arg == "-h")
            options.Help = true;
        else if (!arg.empty() && arg[0] == '-')
            throw Exception("Unknown option \"" + arg + "\".\n" + Usage);
        else if (options.Path.empty())
            options.Path = arg;
        else
            throw Exception(std::string("Only one table can be exported.\n") + Usage);
    }
    if (!options.Help && options.Path.empty())
        throw Exception(std::string("No table given.\n") + Usage);
    if (!options.Help && options.Format.empty())
        throw Exception(std::string("No format given.\n") + Usage);
    return options;
}

int Run(int argc, char** argv)
{
    const TOptions options = ParseOptions(argc, argv);
    if (options.Help) {
        std::cout << Usage;
        return 0;
    }
    const TDBGridGxExportClass exportClass = ExportClassForFormat(options.Format);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RegisterBuiltinDrivers(Session().Engine());
    if (!options.Password.empty())
        Session().AddPassword(options.Password);

    TTable table;
    table.SetTableName(options.Path);
    table.SetReadOnly(true);
    table.Open();
    TDataSource source(&table);
    TDBGridGx grid;
    grid.SetDataSource(&source);
    QApplication::processEvents();

    if (options.Output.empty()) {
        TStdoutStream output;
        ExportGridToStream(exportClass, grid, output, true);
    } else {
        // The file is created only once the table has opened.
        TFileStream output(options.Output, fmCreate);
        ExportGridToStream(exportClass, grid, output, true);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return RunTool("tableexport", [&] { return Run(argc, argv); });
}
