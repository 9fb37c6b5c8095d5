#pragma once
// TColCellParamsGx: what a cell is painted or edited with, filled from its
// column before use; a column's OnGetCellParams may change any member.

#include "data/Field.h"
#include "grid/columns/ColumnTypesGx.h"
#include "ui/FontGx.h"
#include "grid/base/GridTypes.h"
#include "platform/Color.h"

#include <string>

struct TColCellParamsGx {
    int Row = -1;
    int Col = -1;
    TGridDrawState State;
    TFontGx Font;
    TColor Background = clWindow;
    TAlignment Alignment = taLeftJustify;
    int ImageIndex = -1;
    std::string Text;
    TCheckBoxStateGx CheckboxState = cbsUnchecked;
    bool ReadOnly = false;
};
