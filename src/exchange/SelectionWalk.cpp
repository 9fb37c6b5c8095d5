// Walks over the columns and records a selection rectangle covers.

#include "exchange/SelectionWalk.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"

#include <algorithm>
#include <string>

void CollectVisibleColumns(TCustomDBGridGx& grid, int first, int last, TColumnsGxList& columns)
{
    columns.Clear();
    for (int index = std::max(first, 0); index <= last && index < grid.Columns().Count(); ++index) {
        TColumnGx* column = grid.Columns()[index];
        if (column->Visible())
            columns.Add(column);
    }
}

void WalkRectangleRecords(TCustomDBGridGx& grid, TDataSet& dataSet, const std::function<void()>& perRecord)
{
    TDBGridGxSelectionRect& rect = grid.Selection().Rect();
    const std::string bottom = rect.BottomRow();
    dataSet.GotoBookmark(rect.TopRow());
    while (true) {
        perRecord();
        if (dataSet.CompareBookmarks(dataSet.Bookmark(), bottom) == 0)
            break;
        dataSet.Next();
        if (dataSet.Eof())
            break;
    }
}
