#pragma once
// Geometry of one grid axis, computed from its drawing information: where
// the cells lie on screen, which cell a pixel falls in, and how far the
// view may scroll.  The same rules serve columns (x) and rows (y).

#include "grid/base/GridTypes.h"

namespace GridAxis {

// Fills the fixed part of an axis: line width, fixed cells and their
// boundary, the first scrollable cell shown and the cell count.
void CalcFixed(TGridAxisDrawInfo& axis, int effectiveLineWidth, int fixedCount, int firstCell,
               int cellCount, std::function<int(int)> extent);

// Completes an axis for a client extent: grid boundary, last fully visible
// cell (its trailing line may be clipped) and the boundary after it.
void CalcVisible(TGridAxisDrawInfo& axis, int gridExtent);

// First pixel of a cell, or -1 when the cell is scrolled out of view or
// starts at or beyond the client extent.
int CellStart(const TGridAxisDrawInfo& axis, int cell);

// Pixel span [start, stop) covered by the cells first..last as far as they
// are shown, with the trailing line when includeLine.  False when nothing
// of them is shown.
bool CellSpan(const TGridAxisDrawInfo& axis, int first, int last, bool includeLine, int& start,
              int& stop);

// The cell a pixel falls in (a line belongs to the cell before it); -1
// before the first pixel or after the last cell.
int CellAt(const TGridAxisDrawInfo& axis, int pos);

// The smallest first scrollable cell that still shows lastCell completely.
int MaxFirstCell(const TGridAxisDrawInfo& axis, int lastCell);

}  // namespace GridAxis
