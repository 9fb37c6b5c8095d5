#pragma once
// Writes the in-place editor's text into its field when the user changed it
// (the data link's Modified flag), as the dataset's own update of a record
// does; an unchanged editor writes nothing and starts no edit.

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"

inline void WritePendingEditorGx(TCustomDBGridGx& grid)
{
    TGridDataLinkGx* link = grid.DataLink();
    if (!link || !link->Active() || !link->Modified() || !link->DataSet())
        return;
    TDataSet& dataSet = *link->DataSet();
    if (dataSet.State() == dsEdit || dataSet.State() == dsInsert)
        dataSet.UpdateRecord();
}
