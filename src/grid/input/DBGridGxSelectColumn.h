#pragma once
// Making a column current, as keys, mouse and the auto-scroll timer do
// (TCustomDBGridGx::SelectColumn): the editor's text is written first,
// hidden columns are stepped over in the direction of the move, the
// column-exit and column-enter events fire around the change, a rectangle
// selection grows with Shift, and the incremental search ends.

class TColumnGx;
class TCustomDBGridGx;

// The column of the current grid column, or null (the indicator, no columns).
TColumnGx* GridCurrentColumn(TCustomDBGridGx& grid);

// A check box or key image list column: toggled in place, never edited.
bool IsToggledColumn(const TColumnGx* column);
