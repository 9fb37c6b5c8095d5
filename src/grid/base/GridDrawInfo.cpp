#include "grid/base/GridDrawInfo.h"

#include <algorithm>

namespace GridAxis {

void CalcFixed(TGridAxisDrawInfo& axis, int effectiveLineWidth, int fixedCount, int firstCell,
               int cellCount, std::function<int(int)> extent) {
    axis.EffectiveLineWidth = effectiveLineWidth;
    axis.GetExtent = std::move(extent);
    axis.FixedBoundary = 0;
    for (int i = 0; i < fixedCount; ++i) axis.FixedBoundary += axis.Pitch(i);
    axis.FixedCellCount = fixedCount;
    axis.FirstGridCell = firstCell;
    axis.GridCellCount = cellCount;
}

void CalcVisible(TGridAxisDrawInfo& axis, int gridExtent) {
    axis.GridExtent = gridExtent;
    axis.GridBoundary = axis.FixedBoundary;
    axis.FullVisBoundary = axis.FixedBoundary;
    axis.LastFullVisibleCell = axis.FirstGridCell;
    for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
        axis.GridBoundary += axis.Pitch(i);
        if (axis.GridBoundary > gridExtent + axis.EffectiveLineWidth) {
            axis.GridBoundary = gridExtent;
            break;
        }
        axis.LastFullVisibleCell = i;
        axis.FullVisBoundary = axis.GridBoundary;
    }
}

int CellStart(const TGridAxisDrawInfo& axis, int cell) {
    int pos = 0;
    int from = 0;
    if (cell >= axis.FixedCellCount) {
        if (cell < axis.FirstGridCell) return -1;
        pos = axis.FixedBoundary;
        from = axis.FirstGridCell;
    }
    for (int i = from; i < cell; ++i) {
        pos += axis.Pitch(i);
        if (pos >= axis.GridExtent) return -1;
    }
    return pos < axis.GridExtent ? pos : -1;
}

bool CellSpan(const TGridAxisDrawInfo& axis, int first, int last, bool includeLine, int& start,
              int& stop) {
    start = stop = 0;
    if (first > last) return false;
    // Cells scrolled out of view between the fixed and the first shown cell.
    if (first >= axis.FixedCellCount && first < axis.FirstGridCell) {
        if (last < axis.FirstGridCell) return false;
        first = axis.FirstGridCell;
    }
    if (last >= axis.FixedCellCount && last < axis.FirstGridCell) last = axis.FixedCellCount - 1;
    if (last > axis.LastFullVisibleCell) {
        last = axis.LastFullVisibleCell;
        if (last < axis.GridCellCount - 1) ++last;  // the partly shown cell
        if (CellStart(axis, last) < 0) --last;
    }
    if (first > last) return false;
    start = CellStart(axis, first);
    if (start < 0) return false;
    const int lastStart = CellStart(axis, last);
    stop = lastStart < 0 ? start + axis.GetExtent(first) : lastStart + axis.GetExtent(last);
    stop = std::min(stop, axis.GridExtent);
    if (includeLine) stop += axis.EffectiveLineWidth;
    if (stop <= start) {
        start = stop = 0;
        return false;
    }
    return true;
}

int CellAt(const TGridAxisDrawInfo& axis, int pos) {
    if (pos < 0) return -1;
    int line = 0;
    int from = 0;
    int to = axis.FixedCellCount;
    if (pos >= axis.FixedBoundary) {
        line = axis.FixedBoundary;
        from = axis.FirstGridCell;
        to = axis.GridCellCount;
    }
    for (int i = from; i < to; ++i) {
        line += axis.Pitch(i);
        if (pos < line) return i;
    }
    return -1;
}

int MaxFirstCell(const TGridAxisDrawInfo& axis, int lastCell) {
    int result = std::max(lastCell, axis.FixedCellCount);
    int line = axis.GridExtent + axis.EffectiveLineWidth;
    for (int i = lastCell; i >= axis.FixedCellCount; --i) {
        line -= axis.Pitch(i);
        if (line < axis.FixedBoundary) break;
        result = i;
    }
    return result;
}

}  // namespace GridAxis
