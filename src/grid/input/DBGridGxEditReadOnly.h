#pragma once
// The read-only state the cell-parameter events give the in-place editor.
// The cell parameters of the current cell are filled as for editing (the
// column's colour and font, the focused state, the editor's text and the
// column's own read-only answer), then the grid's and the column's
// OnGetCellParams may change them.  When a handler turned the read-only
// answer over, that decision overrides the column's: the editor shows it,
// and the editor's gates follow it.

#include <optional>

class TColumnGx;
class TCustomDBGridGx;
struct TColCellParamsGx;

// Fills `params` for editing the current cell of `column`; returns the
// read-only state when the events changed it, nothing when they kept the
// column's own answer.
std::optional<bool> DecideEditReadOnly(TCustomDBGridGx& grid, TColumnGx& column, TColCellParamsGx& params);

// The same decision without keeping the parameters.
std::optional<bool> EditReadOnlyOverride(TCustomDBGridGx& grid, TColumnGx& column);
