#pragma once
// TColumnStoredValuesGx: a column's own values of its settings, as they
// stand whether or not the column's assigned-value bit for them is set.
// TColumnGx keeps them as a private base so that its getters read them by
// their member names; the getters decide between these and the values the
// field, the grid or its defaults supply.

#include "data/Field.h"
#include "grid/columns/ColumnTypesGx.h"
#include "platform/Color.h"
#include "ui/FontGx.h"

#include <string>

struct TColumnStoredValuesGx {
    TAlignment FAlignment = taLeftJustify;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FAutoFitColWidth = true;
    TColumnButtonStyleGx FButtonStyle = cbsAuto;
    bool FCheckboxes = false;
    TColor FColor = clWindow;
    bool FDblClickNextVal = false;
    int FDropDownRows = 7;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    int FDropDownWidth = 0;
    bool FEndEllipsis = false;
    TFontGx FFont;
    TImeModeGx FImeMode = imDontCare;
    std::string FImeName;
    double FIncrement = 1;
    std::string FLookupDisplayFields;
    int FMaxWidth = 0;
    int FMinWidth = 0;
    int FNotInKeyListIndex = -1;
    bool FReadOnly = false;
    int FTag = 0;
    bool FToolTips = false;
    bool FVisible = true;
    int FWidth = 0;
    int FBaseWidth = 0;
    bool FWordWrap = false;
};
