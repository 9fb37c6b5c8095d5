#pragma once
// TCustomGrid: the base grid widget.  Over the cell model of
// TCustomGridCells (cells, sizes, view, current cell, selection, geometry)
// it paints lines and calls DrawCell for every visible cell; it moves the
// current cell by keyboard and mouse, sizes and moves columns and rows by
// mouse, hosts an in-place editor over the current cell and owns a
// horizontal and a vertical scroll bar.  Derived grids change behaviour
// through the protected virtual hooks below.

#include "grid/base/CustomGridCells.h"
#include "platform/Color.h"

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

class TCustomGrid : public TCustomGridCells {
    Q_OBJECT
    friend class TInplaceEdit;
    friend class TCustomGridMouse;
    friend class TCustomGridScrollBars;

public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

    // ---- Settings -------------------------------------------------------
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

    // ---- In-place editor ------------------------------------------------
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    void ShowEditor();
    void HideEditor() override;
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
    void TopLeftChanged() override;   // moves the editor with its cell
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
    void UpdateEdit() override;
    // Hides the editor, handing a changed text to SetEditText first.
    void HideEdit() override;
    void ShowEditorChar(const QString& ch);

    // ---- Scrolling ------------------------------------------------------
    // A scroll bar action; the defaults scroll TopRow and LeftCol.
    virtual void VScroll(TScrollCode code, int pos);
    virtual void HScroll(TScrollCode code, int pos);
    // Sets the bars named by ScrollBars from the view.
    void UpdateScrollBars() override;

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
    void UpdateEditor();
    void ProcessKeyEvent(QKeyEvent* e);
    void DefaultScroll(TScrollBarKind kind, TScrollCode code, int pos);
    void OnFocusChanged(QWidget* old, QWidget* now);

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

    bool FFocusInside = false;

    QPainter* FCanvas = nullptr;
    QRect FPaintRect;
};
