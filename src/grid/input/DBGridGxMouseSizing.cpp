// The data grid's mouse sizing: frozen columns sized by their title borders,
// sizing traced at once under dghTraceColSizing, row sizing only over the
// indicator, and the columns, auto-fit base widths and row height following
// what the user sized; moved columns reorder the collection.

#include "grid/input/DBGridGxMouse.h"

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/PendingEditorGx.h"
#include "grid/base/CustomGridMouse.h"
#include "grid/base/GridDrawInfo.h"
#include "grid/columns/ColumnGx.h"
#include "grid/layout/LayoutLockGx.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
constexpr int SizingZoneWidth = 7;   // pixels around a thin line where sizing starts

int ScaleBase(int base, int64_t numerator, int64_t denominator)
{
    if (denominator <= 0)
        return base;
    return static_cast<int>(static_cast<int64_t>(base) * numerator / denominator);
}
}  // namespace

int TDBGridGxMouse::FrozenSizingColAt(int x, int y, int& sizingPos, int& sizingOfs) const
{
    if (!FGrid.TCustomGrid::Options().Contains(goColSizing) || FGrid.FrozenCols() <= 0)
        return -1;
    const TGridDrawInfo di = FGrid.CalcDrawInfo();
    if (y < 0 || y >= di.Vert.FixedBoundary)
        return -1;
    const int w = di.Horz.EffectiveLineWidth;
    auto inZone = [&](int border) {
        const int g = (SizingZoneWidth - w) / 2;
        return w <= 6 ? x >= border - g && x <= border - g + SizingZoneWidth : x >= border && x <= border + w;
    };
    int border = FGrid.IndicatorCols() > 0 ? FGrid.ColWidths(0) + w : 0;
    for (int col = FGrid.IndicatorCols(); col < FGrid.FixedCols(); ++col) {
        const int width = FGrid.ColWidths(col);
        if (width < 0)
            continue;
        border += width;
        if (border > di.Horz.GridBoundary) {
            // The frozen columns overflow the grid: the client's right edge
            // sizes the column it cuts.
            border = FGrid.ClientWidth();
            if (di.Horz.GridBoundary != border || !inZone(border))
                return -1;
        }
        if (inZone(border)) {
            sizingPos = border;
            sizingOfs = border - x;
            return col;
        }
        border += w;
    }
    return -1;
}

TDBGridGxMouse::TSizingPress TDBGridGxMouse::PressSizing(Qt::MouseButton button, int x, int y)
{
    const bool trace = FGrid.OptionsGx().Contains(dghTraceColSizing);
    int pos = 0;
    int ofs = 0;
    if (button == Qt::LeftButton) {
        const int frozen = FrozenSizingColAt(x, y, pos, ofs);
        if (frozen >= 0) {
            FInteraction = TGridInteractionGx::FrozenSizing;
            if (trace) {
                FTracedCol = frozen;
                FTracedOfs = ofs;
            } else {
                FGrid.BaseMouse().StartSizing(gsColSizing, frozen, pos, ofs);
            }
            return TSizingPress::Taken;
        }
    }
    int index = -1;
    const TGridState state = FGrid.CalcSizingState(x, y, index, pos, ofs, FGrid.CalcDrawInfo());
    if (state == gsNormal)
        return TSizingPress::None;
    if (LinkActive())
        WritePendingEditorGx(FGrid);
    if (trace && button == Qt::LeftButton && state == gsColSizing) {
        FTracedCol = index;
        FTracedOfs = ofs;
        return TSizingPress::Taken;
    }
    return TSizingPress::ToCellGrid;
}

bool TDBGridGxMouse::TraceSizing(int x)
{
    if (FTracedCol < 0)
        return false;
    const TGridDrawInfo di = FGrid.CalcDrawInfo();
    const int pos = x + FTracedOfs;
    const int left = GridAxis::CellStart(di.Horz, FTracedCol);
    if (left < 0)
        return true;
    if (FGrid.AutoFitColWidths()) {
        // Every column right of the sized one keeps a pixel and its line.
        const int rightColumns = FGrid.ColCount() - 1 - FTracedCol;
        if (pos >= di.Horz.GridBoundary - rightColumns * (1 + di.Horz.EffectiveLineWidth))
            return true;
    }
    ApplyTracedWidth(FTracedCol, std::max(1, pos - left));
    return true;
}

void TDBGridGxMouse::ApplyTracedWidth(int rawCol, int width)
{
    if (FGrid.ColWidths(rawCol) != width)
        FGrid.SetColWidths(rawCol, width);
}

TGridState TDBGridGxMouse::RestrictSizing(TGridState state, int x) const
{
    if (state != gsRowSizing)
        return state;
    if (FGrid.IndicatorCols() == 0)
        return gsNormal;
    const int indicatorRight = FGrid.ColWidths(0) + FGrid.CalcDrawInfo().Horz.EffectiveLineWidth;
    return x < indicatorRight ? state : gsNormal;
}

// ---- what user sizing and moving change ----------------------------------------

void TDBGridGxMouse::ColumnMoved(int fromIndex, int toIndex)
{
    const int from = FGrid.RawToDataColumn(fromIndex);
    const int to = FGrid.RawToDataColumn(toIndex);
    TDBGridColumnsGx& columns = FGrid.Columns();
    if (from < 0 || to < 0 || from >= columns.Count() || to >= columns.Count())
        return;
    columns[from]->SetIndex(to);
    if (FGrid.OnColumnMoved)
        FGrid.OnColumnMoved(FGrid, from, to);
}

void TDBGridGxMouse::ColWidthsChanged()
{
    const bool customized = FGrid.Columns().State() == csCustomized;
    if (!(LinkActive() || customized) || !FGrid.TryLockLayout())
        return;
    try {
        TDBGridColumnsGx& columns = FGrid.Columns();
        for (const auto& column : columns) {
            const int raw = FGrid.DataToRawColumn(column->Index());
            if (raw >= FGrid.ColCount() || !column->Visible())
                continue;
            int width = FGrid.ColWidths(raw);
            if (column->MaxWidth() > 0)
                width = std::min(width, column->MaxWidth());
            if (column->MinWidth() > 0)
                width = std::max(width, column->MinWidth());
            if (width != FGrid.ColWidths(raw))
                FGrid.SetColWidths(raw, width);
        }
        const TColumnsGxList& visible = FGrid.VisibleColumns();
        const bool autoFit = FGrid.AutoFitColWidths();
        const bool wholeRight = FGrid.OptionsGx().Contains(dghResizeWholeRightPart);
        for (int i = 0; i < visible.Count(); ++i) {
            TColumnGx* column = visible[i];
            const int gridWidth = FGrid.ColWidths(FGrid.DataToRawColumn(column->Index()));
            const int oldWidth = column->Width();
            if (gridWidth == oldWidth)
                continue;
            if (!autoFit) {
                column->SetWidth(gridWidth);
                continue;
            }
            // Auto-fit: the columns to the right (all auto-fit ones, or only the
            // next one) give up what the sized one takes, each keeping a pixel.
            std::vector<TColumnGx*> right;
            int64_t rightSum = 0;
            for (int j = i + 1; j < visible.Count() && (wholeRight || right.empty()); ++j)
                if (!wholeRight || visible[j]->AutoFitColWidth()) {
                    right.push_back(visible[j]);
                    rightSum += visible[j]->Width();
                }
            // They shrink in proportion: the narrowest keeps a pixel when what is
            // left is at least rightSum / narrowest (one more pixel each for rounding).
            int64_t narrowest = rightSum;
            for (TColumnGx* other : right)
                narrowest = std::min<int64_t>(narrowest, std::max(1, other->Width()));
            const int64_t keep = narrowest > 0 ? (rightSum + narrowest - 1) / narrowest + static_cast<int64_t>(right.size()) : 0;
            int change = gridWidth - oldWidth;
            change = static_cast<int>(std::min<int64_t>(change, std::max<int64_t>(0, rightSum - keep)));
            const int newWidth = oldWidth + change;
            if (column->AutoFitColWidth())
                column->SetBaseWidth(std::max(1, ScaleBase(column->BaseWidth(), newWidth, oldWidth)));
            if (!column->AutoFitColWidth() || wholeRight)
                column->SetWidth(newWidth);
            for (TColumnGx* other : right)
                other->SetBaseWidth(std::max(1, ScaleBase(other->BaseWidth(), rightSum - change, rightSum)));
            break;
        }
    } catch (...) {
        FGrid.ReleaseLayout();
        throw;
    }
    FGrid.UnlockLayout();
    FGrid.RefreshEditor();
    if (FGrid.OnColWidthsChanged)
        FGrid.OnColWidthsChanged(FGrid);
}

void TDBGridGxMouse::RowHeightsChanged()
{
    if (!FRowSizeEnded)
        return;
    FRowSizeEnded = false;
    for (int row = FGrid.TitleRows(); row < FGrid.RowCount(); ++row) {
        if (RowWindowOf(FGrid).RecordIndexOfRow(row) < 0)
            break;
        const int height = FGrid.RowHeights(row);
        if (height == FGrid.DefaultRowHeight())
            continue;
        const TLayoutLockGx lock(&FGrid);
        FGrid.SetRowLines(0);
        FGrid.SetRowHeight(height);
        return;
    }
}
