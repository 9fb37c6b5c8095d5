#pragma once
// TDBGridGxScrollBar: the settings of one of the grid's scroll bars.  The
// bar itself belongs to the base grid; these say whether it may show and
// whether dragging its thumb moves the view at once.

#include "grid/base/GridTypes.h"

class TCustomDBGridGx;

class TDBGridGxScrollBar {
public:
    TDBGridGxScrollBar(TCustomDBGridGx& grid, TScrollBarKind kind) : FGrid(grid), FKind(kind) {}

    TScrollBarKind Kind() const { return FKind; }
    TCustomDBGridGx& Grid() const { return FGrid; }

    bool Visible() const { return FVisible; }
    // Hiding or showing the bar asks the grid for a new layout; the
    // vertical bar is updated at once.
    void SetVisible(bool value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    // Visible, and the grid shows the bar right now.
    bool IsScrollBarShowing() const;

    // Copies Visible and Tracking.
    void Assign(const TDBGridGxScrollBar& source);

private:
    TCustomDBGridGx& FGrid;
    TScrollBarKind FKind;
    bool FVisible = true;
    bool FTracking = false;
};
