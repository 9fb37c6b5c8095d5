#pragma once
// TCustomGridScrollBars: the base grid's two scroll bars in the classic
// window terms.  It keeps each bar's scroll information, shows a bar only
// while its range is larger than its page, and turns the bars' actions into
// the grid's scroll codes (VScroll, HScroll).

#include "grid/base/GridTypes.h"

class QScrollBar;
class TCustomGrid;

class TCustomGridScrollBars {
public:
    // Connects the grid's two bars.
    explicit TCustomGridScrollBars(TCustomGrid& grid);
    TCustomGridScrollBars(const TCustomGridScrollBars&) = delete;
    TCustomGridScrollBars& operator=(const TCustomGridScrollBars&) = delete;

    QScrollBar* Control(TScrollBarKind kind) const;
    TScrollInfo Info(TScrollBarKind kind) const { return FInfo[kind]; }
    // Sets range, page and position, clamped as a window scroll bar does.
    void SetInfo(TScrollBarKind kind, TScrollInfo info);
    bool IsShown(TScrollBarKind kind) const;
    // Guards the grid's update of both bars against re-entry: false while
    // one runs already.
    bool BeginUpdate();
    void EndUpdate() { FUpdating = false; }

private:
    void ApplyPolicy(TScrollBarKind kind, bool needed);
    void Action(TScrollBarKind kind, int action);
    void Dispatch(TScrollBarKind kind, TScrollCode code, int pos);

    TCustomGrid& FGrid;
    TScrollInfo FInfo[2];
    bool FSettingInfo = false;
    bool FUpdating = false;
};
