#pragma once
// The walks over a grid's dataset that export, import and delete share:
// the visible columns of a rectangle, and the records from a rectangle's
// top row to its bottom row (or to the end of the data).

#include "grid/columns/ColumnsGxList.h"

#include <functional>

class TCustomDBGridGx;
class TDataSet;

// The visible columns of the grid's collection from index first to last.
void CollectVisibleColumns(TCustomDBGridGx& grid, int first, int last, TColumnsGxList& columns);

// Goes to the selection rectangle's top row and calls perRecord on each
// record down to its bottom row, stopping early at the end of the data.
void WalkRectangleRecords(TCustomDBGridGx& grid, TDataSet& dataSet, const std::function<void()>& perRecord);
