#pragma once
// Value types of the base grid: cell coordinates, cell rectangles, options,
// states, draw states, scroll codes and the per-axis drawing information.
//
// Pixel rectangles are QRect in client (viewport) coordinates.  A cell's
// rectangle covers exactly the cell's pixels: its exclusive right edge is
// x() + width() and its exclusive bottom edge y() + height(); the grid line
// after a cell is not part of it.

#include "grid/base/EnumSet.h"

#include <algorithm>
#include <functional>

// A cell of the grid: X is the column, Y the row; -1 means "none".
struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// A block of cells, both corners included.  Left <= Right and Top <= Bottom
// for a normalised rectangle.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    bool operator==(const TGridRect&) const = default;

    // The normalised rectangle spanned by two cells.
    static TGridRect Span(TGridCoord a, TGridCoord b) {
        return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
    }
};

enum TGridOption {
    goFixedVertLine,      // vertical lines between fixed cells
    goFixedHorzLine,      // horizontal lines between fixed cells
    goVertLine,           // vertical lines between scrollable cells
    goHorzLine,           // horizontal lines between scrollable cells
    goRangeSelect,        // Shift and drags select a block of cells
    goDrawFocusSelected,  // the focused cell is painted selected too
    goRowSizing,          // row heights can be dragged in the fixed columns
    goColSizing,          // column widths can be dragged in the fixed rows
    goRowMoving,          // rows can be dragged by their fixed cell
    goColMoving,          // columns can be dragged by their fixed cell
    goEditing,            // the in-place editor may be shown
    goTabs,               // Tab and Shift+Tab move between cells
    goRowSelect,          // whole rows are selected
    goAlwaysShowEditor,   // the editor shows without F2 or Enter
    goThumbTracking       // the view follows the scroll bar thumb while dragged
};
using TGridOptions = TEnumSet<TGridOption>;

// What the grid is doing with the mouse.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TEnumSet<TGridDrawStateItem>;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TScrollBarKind { sbHorizontal, sbVertical };

// The action a scroll bar asks for.  For the vertical bar "Up" is towards
// the top; for the horizontal bar "Up" is towards the left.
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,  // the thumb was released at a position
    scTrack,     // the thumb is being dragged
    scTop,
    scBottom
};

// Scroll information of one scroll bar, in the classic window terms: the
// range Min..Max holds Max - Min + 1 units, Page of them are visible at a
// time, and Pos runs from Min to Max - max(Page - 1, 0).
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    bool operator==(const TScrollInfo&) const = default;
};

enum TGridScrollDirection { sdLeft, sdRight, sdUp, sdDown };
using TGridScrollDirections = TEnumSet<TGridScrollDirection>;

enum TGridBorderStyle { bsNone, bsSingle };

// Keys and buttons held during a key or mouse event; ssDouble marks the
// press of a double click.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TEnumSet<TShiftStateItem>;

// Drawing information of one axis (columns for Horz, rows for Vert).
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;  // the grid line width when this axis has lines, else 0
    int FixedBoundary = 0;       // first pixel after the fixed cells and their lines
    int GridBoundary = 0;        // first pixel after the last cell shown (or GridExtent)
    int GridExtent = 0;          // client width or height
    int LastFullVisibleCell = 0; // last cell that fits (its line may be clipped)
    int FullVisBoundary = 0;     // first pixel after that cell's line
    int FixedCellCount = 0;      // fixed columns or rows
    int FirstGridCell = 0;       // left column or top row
    int GridCellCount = 0;       // column or row count
    std::function<int(int)> GetExtent;  // width or height of a cell

    // Pixels a cell takes together with its line (0 for a hidden cell).
    int Pitch(int cell) const { return GetExtent(cell) + EffectiveLineWidth; }
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};
