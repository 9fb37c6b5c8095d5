// The base grid's scrolling: its scroll bars (kept by
// TCustomGridScrollBars) set from the view, and the default scrolling of
// TopRow and LeftCol.

#include "grid/base/CustomGrid.h"
#include "platform/ScopeGuard.h"

#include "grid/base/CustomGridScrollBars.h"
#include "grid/base/GridDrawInfo.h"

#include <QScrollBar>

#include <algorithm>

QScrollBar* TCustomGrid::ScrollBarControl(TScrollBarKind kind) const { return FScrollBarSet->Control(kind); }

bool TCustomGrid::IsScrollBarShown(TScrollBarKind kind) const { return FScrollBarSet->IsShown(kind); }

TScrollInfo TCustomGrid::GetScrollInfo(TScrollBarKind kind) const { return FScrollBarSet->Info(kind); }

void TCustomGrid::SetScrollInfo(TScrollBarKind kind, TScrollInfo info) { FScrollBarSet->SetInfo(kind, info); }

void TCustomGrid::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    const bool hadHorz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    const bool hadVert = FScrollBars == ssVertical || FScrollBars == ssBoth;
    FScrollBars = value;
    if (hadHorz && value != ssHorizontal && value != ssBoth) SetScrollInfo(sbHorizontal, {});
    if (hadVert && value != ssVertical && value != ssBoth) SetScrollInfo(sbVertical, {});
    UpdateScrollBars();
}

void TCustomGrid::UpdateScrollBars() {
    if (!FScrollBarSet->BeginUpdate()) return;
    const TScopeExit endUpdate([this] { FScrollBarSet->EndUpdate(); });
    // Showing or hiding one bar changes the client area and so the other
    // bar's page: repeat until the client size settles.
    for (int pass = 0; pass < 3; ++pass) {
        const QSize clientBefore = viewport()->size();
        const TGridDrawInfo di = CalcDrawInfo();
        if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
            const int maxTop = GridAxis::MaxFirstCell(di.Vert, FRowCount - 1);
            SetScrollInfo(sbVertical, {0, FRowCount - FFixedRows - 1, FRowCount - maxTop,
                                       FTopLeft.Y - FFixedRows});
        }
        if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
            const int maxLeft = GridAxis::MaxFirstCell(di.Horz, FColCount - 1);
            SetScrollInfo(sbHorizontal, {0, FColCount - FFixedCols - 1, FColCount - maxLeft,
                                         FTopLeft.X - FFixedCols});
        }
        if (viewport()->size() == clientBefore) break;
    }
}

void TCustomGrid::VScroll(TScrollCode code, int pos) { DefaultScroll(sbVertical, code, pos); }

void TCustomGrid::HScroll(TScrollCode code, int pos) { DefaultScroll(sbHorizontal, code, pos); }

void TCustomGrid::DefaultScroll(TScrollBarKind kind, TScrollCode code, int pos) {
    const TGridDrawInfo di = CalcDrawInfo();
    const TGridAxisDrawInfo& axis = kind == sbVertical ? di.Vert : di.Horz;
    const int first = axis.FirstGridCell;
    const int fixed = axis.FixedCellCount;
    const int maxFirst = std::max(GridAxis::MaxFirstCell(axis, axis.GridCellCount - 1), fixed);
    const int page = std::max(axis.LastFullVisibleCell - first + 1, 1);
    const int origin = FScrollBarSet->Info(kind).Min;
    int target = first;
    switch (code) {
    case scLineUp: target = first - 1; break;
    case scLineDown: target = first + 1; break;
    case scPageUp: target = first - page; break;
    case scPageDown: target = first + page; break;
    case scTrack:
        if (!FOptions.Contains(goThumbTracking)) return;
        target = fixed + pos - origin;
        break;
    case scPosition: target = fixed + pos - origin; break;
    case scTop: target = fixed; break;
    case scBottom: target = maxFirst; break;
    }
    target = std::clamp(target, fixed, maxFirst);
    if (kind == sbVertical) MoveTopLeft(FTopLeft.X, target);
    else MoveTopLeft(target, FTopLeft.Y);
    // A refused move leaves the thumb where the view is.
    UpdateScrollBars();
}

void TCustomGrid::scrollContentsBy(int, int) {
    // The grid repaints itself when its top-left cell moves.
}
