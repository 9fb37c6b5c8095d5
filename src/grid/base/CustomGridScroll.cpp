// The base grid's scroll bars: scroll information in the classic window
// terms, the mapping of scroll bar actions to scroll codes, and the default
// scrolling of TopRow and LeftCol.

#include "grid/base/CustomGrid.h"
#include "platform/ScopeGuard.h"

#include "grid/base/GridDrawInfo.h"

#include <QScrollBar>

#include <algorithm>

QScrollBar* TCustomGrid::ScrollBarControl(TScrollBarKind kind) const {
    return kind == sbVertical ? verticalScrollBar() : horizontalScrollBar();
}

bool TCustomGrid::IsScrollBarShown(TScrollBarKind kind) const {
    const Qt::ScrollBarPolicy policy =
        kind == sbVertical ? verticalScrollBarPolicy() : horizontalScrollBarPolicy();
    return policy == Qt::ScrollBarAlwaysOn;
}

void TCustomGrid::SetScrollInfo(TScrollBarKind kind, TScrollInfo info) {
    info.Max = std::max(info.Max, info.Min);
    info.Page = std::clamp(info.Page, 0, info.Max - info.Min + 1);
    const int maxPos = info.Max - std::max(info.Page - 1, 0);
    info.Pos = std::clamp(info.Pos, info.Min, maxPos);
    FScrollInfo[kind] = info;

    QScrollBar* bar = ScrollBarControl(kind);
    {
        TValueRollback<bool> settingScrollInfo(FSettingScrollInfo, true);
        QSignalBlocker blocker(bar);
        const bool dragging = bar->isSliderDown();
        const int dragPos = bar->sliderPosition();
        bar->setRange(info.Min, maxPos);
        bar->setPageStep(info.Page);
        bar->setSingleStep(1);
        bar->setValue(info.Pos);
        // The thumb stays under the mouse while it is dragged.
        if (dragging) bar->setSliderPosition(dragPos);
    }
    ApplyScrollBarPolicy(kind, info.Max > info.Min && info.Page <= info.Max - info.Min);
}

void TCustomGrid::ApplyScrollBarPolicy(TScrollBarKind kind, bool needed) {
    const Qt::ScrollBarPolicy policy = needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (kind == sbVertical) {
        if (verticalScrollBarPolicy() != policy) setVerticalScrollBarPolicy(policy);
    } else if (horizontalScrollBarPolicy() != policy) {
        setHorizontalScrollBarPolicy(policy);
    }
}

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
    if (FUpdatingScrollBars) return;
    TValueRollback<bool> updatingScrollBars(FUpdatingScrollBars, true);
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

void TCustomGrid::OnScrollBarAction(TScrollBarKind kind, int action) {
    if (FSettingScrollInfo) return;
    QScrollBar* bar = ScrollBarControl(kind);
    const int wanted = bar->sliderPosition();
    TScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
    case QAbstractSlider::SliderToMinimum: code = scTop; break;
    case QAbstractSlider::SliderToMaximum: code = scBottom; break;
    default:
        // A thumb released away from the position: the position stays where
        // the grid put it (the release itself was reported as scPosition).
        bar->setSliderPosition(bar->value());
        return;
    }
    // The grid alone decides the new position, through SetScrollInfo.
    bar->setSliderPosition(bar->value());
    DispatchScroll(kind, code, wanted);
}

void TCustomGrid::OnScrollBarSliderMoved(TScrollBarKind kind, int pos) {
    if (FSettingScrollInfo) return;
    DispatchScroll(kind, scTrack, pos);
}

void TCustomGrid::OnScrollBarReleased(TScrollBarKind kind) {
    if (FSettingScrollInfo) return;
    DispatchScroll(kind, scPosition, ScrollBarControl(kind)->sliderPosition());
}

void TCustomGrid::DispatchScroll(TScrollBarKind kind, TScrollCode code, int pos) {
    if (kind == sbVertical) VScroll(code, pos);
    else HScroll(code, pos);
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
    const int origin = FScrollInfo[kind].Min;
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
