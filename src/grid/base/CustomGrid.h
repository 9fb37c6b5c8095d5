#pragma once
// TCustomGrid: the base grid widget.  It keeps a table of cells with fixed
// rows and columns, column widths and row heights, the top-left scrollable
// cell, the current cell and a selection; it paints lines and calls DrawCell
// for every visible cell; it moves the current cell by keyboard and mouse,
// sizes and moves columns and rows by mouse, hosts an in-place editor over
// the current cell and owns a horizontal and a vertical scroll bar.
//
// The client area is the scroll area's viewport: every pixel position the
// grid reports or takes (CellRect, MouseCoord, mouse hooks) is in viewport
// coordinates.  Derived grids change behaviour through the protected
// virtual hooks below.

#include "grid/base/GridTypes.h"
#include "platform/Color.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QScrollBar;
class TCustomGridMouse;
class TCustomGridScrollBars;
class TInplaceEdit;

class TCustomGrid : public QAbstractScrollArea {
    Q_OBJECT
    friend class TInplaceEdit;
    friend class TCustomGridMouse;
    friend class TCustomGridScrollBars;

public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

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

    // ---- Settings -------------------------------------------------------
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TGridBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TGridBorderStyle value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; InvalidateGrid(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    // Colour of the marker that shows where a dragged column or row lands.
    TColor MoveMarkerColor() const { return FMoveMarkerColor; }
    void SetMoveMarkerColor(TColor value) { FMoveMarkerColor = value; }
    TGridState GridState() const;   // what the mouse is doing

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
    // The grid's window exists once the grid has been shown the first time.
    bool HandleAllocated() const { return FHandleAllocated; }

    // ---- Invalidation ---------------------------------------------------
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateRect(const TGridRect& rect);
    void InvalidateGrid();
    // Moves the pixels of rows firstRow..lastRow (lastRow -1: down to the
    // bottom of the client area) by dy and invalidates the uncovered strip.
    void ScrollRowBand(int firstRow, int lastRow, int dy);
    // Paints every pending invalid region now.
    void Update();

    // ---- In-place editor ------------------------------------------------
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    void ShowEditor();
    void HideEditor();
    // Re-reads the editor's contents for the current cell.
    void InvalidateEditor();
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // ---- Scroll bars ----------------------------------------------------
    TScrollInfo GetScrollInfo(TScrollBarKind kind) const;
    // Sets range, page and position; the bar shows when its range is
    // larger than its page, as a classic window scroll bar does.
    void SetScrollInfo(TScrollBarKind kind, TScrollInfo info);
    bool IsScrollBarShown(TScrollBarKind kind) const;
    QScrollBar* ScrollBarControl(TScrollBarKind kind) const;

    // ---- Events ---------------------------------------------------------
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnTopLeftChanged;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void(int& key, TShiftState shift)> OnKeyDown;
    std::function<void(int& key, TShiftState shift)> OnKeyUp;
    std::function<void(QString& key)> OnKeyPress;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(int col, int row, const QRect& rect, TGridDrawState state)> OnDrawCell;

    static TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});
    // The key of a key event in the classic terms: keypad Enter is Enter,
    // and Backtab is Tab with Shift held.
    static void NormalizeKey(int& key, TShiftState& shift);

protected:
    // ---- Painting -------------------------------------------------------
    // The painter of the paint in progress (valid inside Paint and DrawCell).
    QPainter& Canvas() const;
    // The region being painted.
    QRect PaintRect() const { return FPaintRect; }
    virtual void Paint();
    virtual void DrawCell(int col, int row, const QRect& rect, TGridDrawState state);
    // Lines of one region whose first cell is (startCol, startRow): bounds
    // gives the region's first pixel (x, y) and its exclusive end
    // (x + width, y + height).  doHorz / doVert choose onColor for the
    // horizontal / vertical lines, offColor otherwise.
    void DrawLines(const TGridDrawInfo& drawInfo, bool doHorz, bool doVert, int startCol,
                   int startRow, const QRect& bounds, TColor onColor, TColor offColor);
    // Visits the cells of one region (bounds as for DrawLines) row by row,
    // left to right, and calls visit for those inside the paint rectangle
    // with their draw state: includeState, gdFocused for the current cell
    // while the grid is active, gdSelected inside the selection.  The
    // current cell is skipped while the editor shows over it.
    using TCellVisitor = std::function<void(int col, int row, const QRect& rect, TGridDrawState state)>;
    void WalkCells(const TGridDrawInfo& drawInfo, int startCol, int startRow, const QRect& bounds,
                   TGridDrawState includeState, const TCellVisitor& visit);
    // WalkCells calling DrawCell; with DefaultDrawing each cell is first
    // filled with color (or the highlight) and the focused one framed.
    void DrawCells(const TGridDrawInfo& drawInfo, int startCol, int startRow, const QRect& bounds,
                   TColor color, TGridDrawState includeState);
    // The dotted focus frame (every other pixel of its ring inverted).
    void DrawFocusRect(const QRect& rect);

    // ---- Keyboard -------------------------------------------------------
    // Key down: fires OnKeyDown, then moves the current cell.
    virtual void KeyDown(int& key, TShiftState shift);
    // A typed character (Enter "\r", Esc "\x1b", Tab "\t", Backspace "\b"):
    // fires OnKeyPress, then Enter toggles the editor.
    virtual void KeyPress(QString& key);
    virtual void KeyUp(int& key, TShiftState shift);
    // The character handler: with goEditing a printable character or
    // Backspace opens the editor and goes to it; others go to KeyPress.
    virtual void HandleChar(QString& key);
    // Fires OnKeyDown only (what KeyDown does before moving).
    void DoKeyDownEvent(int& key, TShiftState shift);
    void DoKeyPressEvent(QString& key);
    virtual bool CanGridAcceptKey(int key, TShiftState shift) const;

    // ---- Mouse ----------------------------------------------------------
    virtual void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    // Wheel: delta in eighths of a degree; the default calls the down or up
    // hook once per notch.  True when handled.
    virtual bool DoMouseWheel(TShiftState shift, int delta, const QPoint& pos);
    virtual bool DoMouseWheelDown(TShiftState shift, const QPoint& pos);
    virtual bool DoMouseWheelUp(TShiftState shift, const QPoint& pos);
    virtual void Click();
    virtual void DblClick();
    // Sizing zone at a point: gsColSizing over a column border inside the
    // fixed rows, gsRowSizing over a row border inside the fixed columns,
    // else gsNormal.
    virtual TGridState CalcSizingState(int x, int y, int& index, int& sizingPos, int& sizingOfs,
                                       const TGridDrawInfo& drawInfo) const;
    virtual QCursor CursorAt(int x, int y) const;
    // Scrolls while a selecting drag is held outside the cells.
    virtual void TimedScroll(TGridScrollDirections direction);
    // Ends sizing, moving and selecting at once.
    virtual void CancelMode();
    // The mouse state, sizing and moving machinery.
    TCustomGridMouse& BaseMouse() const;

    // ---- Moving and sizing hooks ----------------------------------------
    virtual bool BeginColumnDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool CheckColumnDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool EndColumnDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool BeginRowDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool CheckRowDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual bool EndRowDrag(int& origin, int& destination, const QPoint& mousePt);
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void TopLeftChanged();
    virtual bool SelectCell(int col, int row);
    // The client area changed size.
    virtual void Resize();
    // Runs once, when the grid is first shown and its window comes to exist.
    virtual void CreateWnd();
    virtual void DoEnter();
    virtual void DoExit();

    // ---- Editor hooks ---------------------------------------------------
    virtual TInplaceEdit* CreateEditor();
    virtual bool CanEditShow() const;
    virtual bool CanEditModify();
    virtual bool CanEditAcceptKey(const QString& key) const;
    virtual QString GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const QString& value);
    virtual QString GetEditMask(int col, int row);
    virtual int GetEditLimit();
    // Places (and creates) the editor over the current cell while in
    // editor mode.
    void UpdateEdit();
    // Hides the editor, handing a changed text to SetEditText first.
    void HideEdit();
    void ShowEditorChar(const QString& ch);

    // ---- Scrolling ------------------------------------------------------
    // A scroll bar action; the defaults scroll TopRow and LeftCol.
    virtual void VScroll(TScrollCode code, int pos);
    virtual void HScroll(TScrollCode code, int pos);
    // Sets the bars named by ScrollBars from the view.
    virtual void UpdateScrollBars();

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

    // ---- Qt events ------------------------------------------------------
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    // Tab out of the grid skips the grid's own children (the editor).
    bool focusNextPrevChild(bool next) override;

private:
    void ChangeSize(int newColCount, int newRowCount);
    void SelectionMoved(const TGridRect& oldSel);
    void TopLeftMoved(TGridCoord oldTopLeft);
    void ScrollView(TGridCoord oldTopLeft);
    // Moves the pixels of a band, or repaints it when the move is as large.
    void ScrollBand(const QRect& band, int dx, int dy);
    void UpdateEditor();
    void ProcessKeyEvent(QKeyEvent* e);
    void DefaultScroll(TScrollBarKind kind, TScrollCode code, int pos);
    void OnFocusChanged(QWidget* old, QWidget* now);
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
    TScrollStyle FScrollBars = ssBoth;
    TGridBorderStyle FBorderStyle = bsSingle;
    bool FDefaultDrawing = true;
    TColor FColor = clWindow;
    TColor FFixedColor = clBtnFace;
    TColor FMoveMarkerColor = clBlack;

    std::unique_ptr<TCustomGridMouse> FMouse;
    std::unique_ptr<TCustomGridScrollBars> FScrollBarSet;

    TInplaceEdit* FInplaceEdit = nullptr;  // a child of the viewport
    bool FEditorMode = false;
    int FInplaceCol = -1;
    int FInplaceRow = -1;

    bool FFocusInside = false;
    bool FHandleAllocated = false;

    QPainter* FCanvas = nullptr;
    QRect FPaintRect;
};
