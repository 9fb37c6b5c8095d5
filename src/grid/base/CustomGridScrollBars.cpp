// The base grid's scroll bars: scroll information, visibility, and the
// mapping of scroll bar actions to scroll codes.

#include "grid/base/CustomGridScrollBars.h"

#include "grid/base/CustomGrid.h"
#include "platform/ScopeGuard.h"
#include "ui/ExceptionReport.h"

#include <QScrollBar>

#include <algorithm>

TCustomGridScrollBars::TCustomGridScrollBars(TCustomGrid& grid) : FGrid(grid) {
    for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        QScrollBar* bar = Control(kind);
        bar->setTracking(false);
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        bar->installEventFilter(&grid);
        // Scrolling may move the record and post an edit, which can be refused.
        QObject::connect(bar, &QAbstractSlider::actionTriggered, &grid, [this, kind](int action) {
            RunHandler([&] { Action(kind, action); });
        });
        QObject::connect(bar, &QAbstractSlider::sliderMoved, &grid, [this, kind](int pos) {
            if (!FSettingInfo) RunHandler([&] { Dispatch(kind, scTrack, pos); });
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, &grid, [this, kind]() {
            if (!FSettingInfo)
                RunHandler([&] { Dispatch(kind, scPosition, Control(kind)->sliderPosition()); });
        });
    }
}

QScrollBar* TCustomGridScrollBars::Control(TScrollBarKind kind) const {
    return kind == sbVertical ? FGrid.verticalScrollBar() : FGrid.horizontalScrollBar();
}

bool TCustomGridScrollBars::IsShown(TScrollBarKind kind) const {
    const Qt::ScrollBarPolicy policy =
        kind == sbVertical ? FGrid.verticalScrollBarPolicy() : FGrid.horizontalScrollBarPolicy();
    return policy == Qt::ScrollBarAlwaysOn;
}

bool TCustomGridScrollBars::BeginUpdate() {
    if (FUpdating) return false;
    FUpdating = true;
    return true;
}

void TCustomGridScrollBars::SetInfo(TScrollBarKind kind, TScrollInfo info) {
    info.Max = std::max(info.Max, info.Min);
    info.Page = std::clamp(info.Page, 0, info.Max - info.Min + 1);
    const int maxPos = info.Max - std::max(info.Page - 1, 0);
    info.Pos = std::clamp(info.Pos, info.Min, maxPos);
    FInfo[kind] = info;

    QScrollBar* bar = Control(kind);
    {
        TValueRollback<bool> settingInfo(FSettingInfo, true);
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
    ApplyPolicy(kind, info.Max > info.Min && info.Page <= info.Max - info.Min);
}

void TCustomGridScrollBars::ApplyPolicy(TScrollBarKind kind, bool needed) {
    const Qt::ScrollBarPolicy policy = needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (kind == sbVertical) {
        if (FGrid.verticalScrollBarPolicy() != policy) FGrid.setVerticalScrollBarPolicy(policy);
    } else if (FGrid.horizontalScrollBarPolicy() != policy) {
        FGrid.setHorizontalScrollBarPolicy(policy);
    }
}

void TCustomGridScrollBars::Action(TScrollBarKind kind, int action) {
    if (FSettingInfo) return;
    QScrollBar* bar = Control(kind);
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
    Dispatch(kind, code, wanted);
}

void TCustomGridScrollBars::Dispatch(TScrollBarKind kind, TScrollCode code, int pos) {
    if (kind == sbVertical) FGrid.VScroll(code, pos);
    else FGrid.HScroll(code, pos);
}
