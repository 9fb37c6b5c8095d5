// The program's grid on a real display, for the clipboard test: over a
// small in-memory table, either copies every record to the clipboard and
// serves it until its input closes ("copy"), or pastes the clipboard into
// the grid from the second column of the first record and prints the
// records, one tab-separated line each ("paste").
//
//   clipboard_grid_host copy|paste

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "exchange/ClipboardActions.h"
#include "grid/DBGridGx.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "copy") != 0 && std::strcmp(argv[1], "paste") != 0)) {
        std::fprintf(stderr, "usage: clipboard_grid_host copy|paste\n");
        return 2;
    }
    const bool copy = std::strcmp(argv[1], "copy") == 0;
    QApplication application(argc, argv);
    TMemTable table;
    table.FieldDefs().Add("ID", ftInteger);
    table.FieldDefs().Add("NAME", ftString, 20);
    table.FieldDefs().Add("PRICE", ftFloat);
    table.AppendRecord({TVariant(1), TVariant("苹果"), TVariant(1.5)});
    table.AppendRecord({TVariant(2), TVariant("pear"), TVariant(2.25)});
    table.AppendRecord({TVariant(3), TVariant("三"), TVariant::Null()});
    table.Open();
    TDataSource source(&table);
    TDBGridGx grid;
    grid.resize(400, 200);
    grid.SetDataSource(&source);
    grid.SetOptions(grid.Options() + dgMultiSelect);
    grid.show();

    if (copy) {
        grid.Selection().SelectAll();
        CopySelectionToClipboard(grid, false);
        std::printf("ready\n");
        std::fflush(stdout);
        // Serves the clipboard until the test closes the input.
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&] {
            char buffer[64];
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                application.quit();
        });
        QTimer::singleShot(60000, &application, &QApplication::quit);
        return application.exec();
    }
    table.First();
    grid.SetCol(grid.DataToRawColumn(1));
    grid.SetAllowedOperations(AllAllowedOperationsGx - alopAppendGx);
    PasteIntoSelection(grid, false);
    table.First();
    while (!table.Eof()) {
        std::printf("%s\t%s\t%s\n", table.FieldByName("ID")->AsString().c_str(),
                    table.FieldByName("NAME")->AsString().c_str(), table.FieldByName("PRICE")->AsString().c_str());
        table.Next();
    }
    return 0;
}
