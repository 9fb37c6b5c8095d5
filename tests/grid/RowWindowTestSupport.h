#pragma once
// A shown grid over a table of numbered records (ID 1..n, NAME "Rn"), with
// a known client size, for the row window and scrolling tests.

#include "GridTestSupport.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include "data/DataSetTestSupport.h"

#include <memory>

class TNumberedGrid {
public:
    std::unique_ptr<TMemTable> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;

    // A grid of the given outer size over `records` numbered records (a
    // plain TDBGridGx unless one is given).
    explicit TNumberedGrid(int records, bool sequenced = true, int width = 320, int height = 240,
                           std::unique_ptr<TDBGridGx> grid = nullptr)
    {
        Table = std::make_unique<TMemTable>();
        DefineNumbered(*Table);
        FillNumbered(*Table, records);
        Table->SetSequenced(sequenced);
        Table->Open();
        Source = std::make_unique<TDataSource>(Table.get());
        Grid = grid ? std::move(grid) : std::make_unique<TDBGridGx>();
        Grid->SetBorderStyle(bsNone);
        Grid->SetDataSource(Source.get());
        ShowActiveGrid(*Grid, width, height);
    }

    TDBGridGx& G() { return *Grid; }
    TGridDataLinkGx& Link() { return *Grid->DataLink(); }
    int Id() const { return CurrentId(*Table); }
    // The ID of the record a grid row shows, or -1.
    int IdAtRow(int row)
    {
        int record = RowWindowOf(*Grid).RecordIndexOfRow(row);
        if (record < 0)
            return -1;
        TLinkRecordScope scope(Link(), record);
        return Table->FieldByName("ID")->AsInteger();
    }
    int FirstVisibleId() { return IdAtRow(Grid->TitleRows()); }
    int DataRows() const { return Grid->DataLink()->RecordCount(); }
    // One pixel below the last line of a row.
    int RowEnd(int row) const
    {
        int lines = Grid->Options().Contains(dgRowLines) ? Grid->GridLineWidth() : 0;
        return Grid->CellRect(0, row).bottom() + 1 + lines;
    }
};
