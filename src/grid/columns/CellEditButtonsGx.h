#pragma once
// The edit buttons a data cell shows at its right edge: the column's
// default button (when its kind has one) and every visible item of its
// EditButtons, in that order from left to right.

#include "editors/EditButtonGx.h"

#include <optional>

class TColumnGx;
class TColumnsHostGx;

// The style of the column's default button: ellipsis, up-down or drop-down
// by ButtonStyle; under cbsAuto a drop-down for an editable lookup field,
// for a pick list of a writable column without an image list, and for a
// writable date or date-time field; none otherwise.
std::optional<TEditButtonStyleGx> DefaultEditButtonStyle(const TColumnsHostGx& host, const TColumnGx& column);

// How the in-place editor edits a column's cells.
enum TEditStyleGx {
    esSimpleGx, esEllipsisGx, esUpDownGx, esDropDownGx,   // ButtonStyle
    esPickListGx, esDataListGx, esDateCalendarGx          // the drop-downs of cbsAuto
};

// The edit style of a column: ButtonStyle's; under cbsAuto the data list
// for an editable lookup field, the pick list for a pick list column, the
// calendar for a date or date-time field (each where DefaultEditButtonStyle
// gives the column a drop-down button), else simple.
TEditStyleGx EditStyleOf(const TColumnsHostGx& host, const TColumnGx& column);

// The width one EditButtons item takes in a cell.
int CellEditButtonWidth(const TColumnsHostGx& host, const TEditButtonGx& button);

// The width all of a column's buttons take in a cell.
int CellEditButtonsWidth(const TColumnsHostGx& host, const TColumnGx& column);
