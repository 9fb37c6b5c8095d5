#pragma once
// TCustomGridCells: the cell model under the base grid.  It keeps a table
// of cells with fixed rows and columns, column widths and row heights, the
// top-left scrollable cell, the current cell and a selection, and answers
// where each cell lies in the client area.  The grid above it (TCustomGrid)
// adds painting, keyboard, mouse, the in-place editor and the scroll bars,
// and keeps them in step through the hooks at the end of this class.
//
// The client area is the scroll area's viewport: every pixel position the
// grid reports or takes is in its coordinates, mirrored under right-to-left
// reading (see "Reading order" below).

#include "grid/base/CustomGridEvents.h"
#include "grid/base/GridTypes.h"
#include "platform/Color.h"

#include <QAbstractScrollArea>
#include <QRect>
#include <QTransform>

#include <vector>

class TCustomGridCells : public QAbstractScrollArea, public TCustomGridEvents {
    Q_OBJECT
    // The grid above reads and moves the model's state directly.
    friend class TCustomGrid;

public:
    using QAbstractScrollArea::QAbstractScrollArea;

    // ---- Cells and their sizes -------------------------------------------
    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);  // raises EInvalidGridOperation when >= ColCount
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);  // raises EInvalidGridOperation when >= RowCount

    // Width of a column; -1 hides the column together with its line, 0
    // leaves only the line.  Setting the default resets every column.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int value);
    // Height of a row, like a column width.  Setting the default resets
    // every row.
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    // Whether Tab stops at a column (all columns are tab stops by default).
    bool TabStops(int col) const;
    void SetTabStops(int col, bool value);

    int ClientWidth() const;
    int ClientHeight() const;
    QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }
    // Pixels used by the cells shown (the grid boundaries).
    int GridWidth() const;
    int GridHeight() const;

    // ---- View, current cell and selection -----------------------------
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int value);
    // Rows and columns shown completely (their trailing line may be cut).
    int VisibleRowCount() const;
    int VisibleColCount() const;

    int Col() const { return FCurrent.X; }
    void SetCol(int value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& value);
    TGridOptions Options() const { return FOptions; }

    // ---- Geometry -------------------------------------------------------
    TGridDrawInfo CalcDrawInfo() const;
    // The drawing information with the client extents left at 0 and the
    // visible part not computed.
    TGridDrawInfo CalcFixedInfo() const;
    QRect CellRect(int col, int row) const;
    QRect BoxRect(int left, int top, int right, int bottom) const;
    QRect GridRectToScreenRect(const TGridRect& rect, bool includeLine) const;
    TGridCoord MouseCoord(int x, int y) const;
    TGridCoord CalcCoordFromPoint(int x, int y, const TGridDrawInfo& drawInfo) const;
    bool IsActiveControl() const;

    // ---- Reading order --------------------------------------------------
    // Under right-to-left reading the cells lie mirrored in the viewport
    // (the first columns at the right).  The model and every position the
    // grid takes or reports stay logical, laid out left to right; these
    // map them to the viewport's own coordinates where painting, mouse
    // input and the placement of child widgets and tips meet the viewport.
    bool IsMirrored() const { return layoutDirection() == Qt::RightToLeft; }
    // A logical area in viewport coordinates (the mirror is its own inverse).
    QRect ViewportRect(const QRect& area) const;
    QPoint ViewportPoint(const QPoint& logical) const;
    QPoint LogicalPoint(const QPoint& viewportPoint) const;
    // The painter transform that draws logical coordinates in the viewport.
    QTransform ViewportTransform() const;
    // The grid's window exists once the grid has been shown the first time.
    bool HandleAllocated() const { return FHandleAllocated; }

    // ---- Invalidation ---------------------------------------------------
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateRect(const TGridRect& rect);
    void InvalidateGrid();
    // Repaints an area given in logical coordinates.
    void InvalidateArea(const QRect& area);
    // Moves the pixels of rows firstRow..lastRow (lastRow -1: down to the
    // bottom of the client area) by dy and invalidates the uncovered strip.
    void ScrollRowBand(int firstRow, int lastRow, int dy);
    // Paints every pending invalid region now.
    void Update();

    // Hides the in-place editor (the grid above has one).
    virtual void HideEditor() = 0;

protected:
    // ---- Moving the current cell and the view ---------------------------
    // Makes a cell current once SelectCell agrees: hides the editor unless
    // goAlwaysShowEditor, collapses the selection onto the cell when
    // moveAnchor (or without goRangeSelect), and scrolls it into view when
    // show.  Raises EInvalidGridOperation for a cell outside the grid.
    void MoveColRow(int col, int row, bool moveAnchor, bool show);
    // MoveColRow with scrolling, then places the editor and fires Click.
    void FocusCell(int col, int row, bool moveAnchor);
    // Moves the far corner of the selection (goRangeSelect), else the
    // current cell.
    void MoveAnchor(TGridCoord newAnchor);
    void MoveTopLeft(int left, int top);
    // Scrolls the least needed to show a cell completely.
    void ClampInView(TGridCoord coord);
    // The top-left cell that shows coord as the last fully visible cell.
    TGridCoord CalcMaxTopLeft(TGridCoord coord, const TGridDrawInfo& drawInfo) const;
    // Moves a column (its width and tab stop with it) and calls ColumnMoved.
    void MoveColumn(int fromIndex, int toIndex);
    void MoveRow(int fromIndex, int toIndex);
    TGridCoord Anchor() const { return FAnchor; }
    // The cell the in-place editor was last placed over (-1, -1: none).
    TGridCoord InplaceCell() const { return {FInplaceCol, FInplaceRow}; }

    // ---- Hooks ----------------------------------------------------------
    virtual bool SelectCell(int col, int row);   // fires OnSelectCell
    virtual void Click();                        // fires OnClick
    virtual void TopLeftChanged();               // fires OnTopLeftChanged
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void ColWidthsChanged();   // scroll bars and editor follow
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    // What the grid above keeps in step with the cells: its scroll bars and
    // its editor over the current cell (placed, or hidden with its text
    // handed on first).
    virtual void UpdateScrollBars() = 0;
    virtual void UpdateEdit() = 0;
    virtual void HideEdit() = 0;

private:
    void ChangeSize(int newColCount, int newRowCount);
    void SelectionMoved(const TGridRect& oldSel);
    void TopLeftMoved(TGridCoord oldTopLeft);
    void ScrollView(TGridCoord oldTopLeft);
    // Moves the pixels of a band, or repaints it when the move is as large.
    void ScrollBand(const QRect& band, int dx, int dy);
    static void MoveAdjust(int& cellPos, int fromIndex, int toIndex);
    int NextVisibleCol(int from, int direction) const;
    void CheckColIndex(int col) const;
    void CheckRowIndex(int row) const;
    void ClampCells();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    std::vector<int> FColWidths;   // empty: every column has the default width
    std::vector<int> FRowHeights;  // empty: every row has the default height
    std::vector<bool> FTabStops;   // empty: every column is a tab stop
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    bool FHandleAllocated = false;
};
