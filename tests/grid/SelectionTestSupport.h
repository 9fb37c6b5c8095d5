#pragma once
// Shared pieces of the selection tests: a grid over an in-memory table of
// numbered records (ID 1..n and five text columns), with multi-select on and
// a window of rows, and helpers that move by record ID and read the
// selection back as IDs.

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "grid/DBGridGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"
#include "grid/GridDataLinkGx.h"

#include <memory>
#include <string>
#include <vector>

struct TSelectionGrid {
    static constexpr int WindowRows = 10;

    std::unique_ptr<TMemTable> Table = std::make_unique<TMemTable>();
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridGx> Grid;
    TDBGridGxSelectionModel* Model = nullptr;

    explicit TSelectionGrid(int records = 30, bool sequenced = true)
    {
        Table->FieldDefs().Add("ID", ftInteger, 0, true);
        for (const char* name : {"C1", "C2", "C3", "C4", "C5"})
            Table->FieldDefs().Add(name, ftString, 10);
        for (int id = 1; id <= records; ++id) {
            std::string text = std::to_string(id);
            Table->AppendRecord({TVariant(id), TVariant("a" + text), TVariant("b" + text), TVariant("c" + text),
                                 TVariant("d" + text), TVariant("e" + text)});
        }
        Table->SetSequenced(sequenced);
        Table->Open();
        Source = std::make_unique<TDataSource>(Table.get());
        Grid = std::make_unique<TDBGridGx>();
        Grid->resize(500, 300);
        Grid->SetDataSource(Source.get());
        Grid->SetOptions(Grid->Options() + dgMultiSelect);
        Model = &Grid->SelectionModel();
        // A window of rows as the grid's row window gives it.
        if (Link().BufferCount() < WindowRows)
            Link().SetBufferCount(WindowRows);
    }
    ~TSelectionGrid() { Grid.reset(); }

    TGridDataLinkGx& Link() { return *Grid->DataLink(); }
    TDBGridGxSelection& Selection() { return Model->Selection(); }
    TBookmarkListGx& Records() { return Model->SelectedRecords(); }
    TDBGridGxSelectionType Kind() { return Model->Selection().SelectionType(); }
    TColumnGx* Column(int index) { return Grid->Columns()[index]; }

    int CurrentId() { return Table->FieldByName("ID")->AsInteger(); }
    void GoTo(int id) { Table->Locate("ID", TVariant(id)); }
    std::string BookmarkOf(int id)
    {
        GoTo(id);
        return Table->Bookmark();
    }
    void Select(std::initializer_list<int> ids)
    {
        for (int id : ids) {
            GoTo(id);
            Records().SetCurrentRowSelected(true);
        }
    }
    // The IDs of the selected records in list order.
    std::vector<int> SelectedIds()
    {
        std::vector<int> ids;
        std::string current = Table->Bookmark();
        for (int i = 0; i < Records().Count(); ++i) {
            if (!Table->BookmarkValid(Records()[i])) {
                ids.push_back(0);
                continue;
            }
            Table->GotoBookmark(Records()[i]);
            ids.push_back(CurrentId());
        }
        if (!current.empty())
            Table->GotoBookmark(current);
        return ids;
    }
    // The indexes of the selected columns in list order.
    std::vector<int> SelectedColumns()
    {
        std::vector<int> indexes;
        for (TColumnGx* column : Selection().Cols())
            indexes.push_back(Grid->Columns().IndexOf(column));
        return indexes;
    }
};
