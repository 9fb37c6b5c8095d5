#pragma once
// TDBGridGxMouse: the data grid's mouse.  The grid hands every press, move
// and release to it first; one it does not take goes on to the cell grid's
// own handling (sizing and moving columns and rows).  It moves the dataset
// to a clicked record, selects records, rectangles and columns by drags,
// presses title buttons and cycles sort markers, sizes frozen columns,
// keeps column widths and row heights in step with user sizing, scrolls
// while a drag is held outside the data area, toggles check boxes, drags
// the selection away under automatic drag mode, and chooses cursors and
// tool tips.

#include "grid/base/GridTypes.h"

#include <QCursor>
#include <QPoint>
#include <QRect>
#include <Qt>

#include <functional>
#include <memory>
#include <string>

class QDrag;
class TColumnGx;
class TCustomDBGridGx;
class TDBGridGxAutoScroll;
class TDBGridGxToolTips;

// What a mouse drag of the grid's own is doing.
enum class TGridInteractionGx { None, RowSelecting, ColumnSelecting, RectSelecting, FrozenSizing };

class TDBGridGxMouse {
public:
    explicit TDBGridGxMouse(TCustomDBGridGx& grid);
    virtual ~TDBGridGxMouse();
    TDBGridGxMouse(const TDBGridGxMouse&) = delete;
    TDBGridGxMouse& operator=(const TDBGridGxMouse&) = delete;

    // ---- hooks; true when the event was taken
    virtual bool MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual bool MouseMove(TShiftState shift, int x, int y);
    virtual bool MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);

    // ---- drag of the selection (DBGridGxMouseDrag.cpp)
    // Runs `process` on a left press or double click: under dmAutomatic on a
    // multi-select grid it runs under dmManual with dragging of the
    // selection allowed; both are restored after it, also when it throws.
    bool ProcessLeftPress(const std::function<bool()>& process);
    // Set while a press under automatic drag mode is processed.
    bool DragAllowed() const { return FDragAllowed; }
    // A press fell inside the selection; the first move beyond the drag
    // distance drags the selection, a release without one selects anew.
    bool DragPending() const { return FDragPending; }

    // ---- the cell grid's hooks the grid passes on
    // The cell grid's sizing zone, row sizing kept only over the indicator.
    TGridState RestrictSizing(TGridState state, int x) const;
    QCursor CursorAt(int x, int y, const QCursor& baseCursor) const;
    void ColumnMoved(int fromIndex, int toIndex);
    void ColWidthsChanged();
    void RowHeightsChanged();
    // Ends every drag of the grid's own (a cancel-mode message).
    void CancelMode();
    // Leaving the grid: drops an untouched inserted record or writes the editor.
    void Exit();

    // ---- state
    TGridInteractionGx Interaction() const { return FInteraction; }
    bool Tracking() const { return FTracking; }
    TDBGridGxAutoScroll& AutoScroll() const { return *FAutoScroll; }
    TDBGridGxToolTips& ToolTips() const { return *FToolTips; }
    // The data column whose title button the mouse holds down (-1: none).
    int PressedTitleCol() const { return FPressedTitleCol; }
    // Repaints the title cells that change.
    void SetPressedTitleCol(int dataCol);
    // The grid's frozen-column sizing zone at a point: the grid column whose
    // right border it is on, or -1.
    int FrozenSizingColAt(int x, int y, int& sizingPos, int& sizingOfs) const;

protected:
    TCustomDBGridGx& Grid() const { return FGrid; }
    // Runs the drag of the selection to its drop (the default: QDrag::exec,
    // copying).
    virtual void ExecDrag(QDrag& drag);

private:
    // ---- presses (DBGridGxMouse.cpp)
    bool TakeFocus();
    // False when the press pends a drag of the selection (no event).
    bool PressDataRow(Qt::MouseButton button, TShiftState shift, TGridCoord cell);
    void PressRectangle(Qt::MouseButton button, TShiftState shift, TGridCoord cell, int oldCol,
                        const std::string& oldBookmark);
    void PressRows(Qt::MouseButton button, TShiftState shift, TGridCoord cell, int oldRow);
    void DoubleClick(TShiftState shift, TGridCoord cell);
    void ReleaseClicks(Qt::MouseButton button, TShiftState shift, int x, int y);
    void PopupColumnMenu(TGridCoord cell, int x, int y);
    void MoveSelecting(TShiftState shift, int x, int y);
    void EndTracking();
    void FireMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);

    // ---- drag of the selection (DBGridGxMouseDrag.cpp)
    bool PendsDrag(Qt::MouseButton button, TShiftState shift, TGridCoord cell) const;
    // A move while the drag is pending; false when the drag no longer pends.
    bool MovePendingDrag(TShiftState shift, int x, int y);
    void StartSelectionDrag();
    void ReleasePendingDrag(TShiftState shift);

    // ---- the current cell's edit buttons (DBGridGxMouseEditButtons.cpp)
    bool InEditButtonArea(TGridCoord cell, QPoint at) const;
    // A press on the drop-down button a column always shows opens the editor.
    bool ShowsEditorForButtons(TGridCoord cell, QPoint at) const;
    // Hands a press in the button area on to the editor's button there.
    void PassPressToEditButton(TGridCoord cell, QPoint at);

    // ---- titles (DBGridGxMouseTitles.cpp)
    bool InColumnSelectZone(TGridCoord cell, int y) const;
    void PressColumnSelectZone(TShiftState shift, TGridCoord cell);
    // A title press is on the column's own title, not on a group caption
    // above it (multi-level titles).
    bool OnOwnTitle(TGridCoord cell, int y) const;
    bool PressTitleButton(Qt::MouseButton& button, TGridCoord cell, int y);
    bool OverPressedTitle(int x, int y) const;
    void TrackTitle(int x, int y);
    void ReleaseTitle(TShiftState shift, int x, int y);
    void PressTitleRows(TGridCoord cell);

    // ---- sizing (DBGridGxMouseSizing.cpp)
    // What a press did about sizing.
    enum class TSizingPress { None, Taken, ToCellGrid };
    TSizingPress PressSizing(Qt::MouseButton button, int x, int y);
    bool TraceSizing(int x);
    void ApplyTracedWidth(int rawCol, int width);

    // ---- auto-scroll (DBGridGxMouseAutoScroll.cpp)
    void AutoScrollStep();
    void ScrollColumnSelection(int direction, int distance);

    // ---- where things are
    QRect DataArea() const;
    TColumnGx* ColumnAtRaw(int rawCol) const;
    bool LinkActive() const;
    bool IsToggleColumn(const TColumnGx* column) const;

    TCustomDBGridGx& FGrid;
    std::unique_ptr<TDBGridGxAutoScroll> FAutoScroll;
    std::unique_ptr<TDBGridGxToolTips> FToolTips;
    TGridInteractionGx FInteraction = TGridInteractionGx::None;
    bool FTracking = false;
    bool FRectDrag = false;
    bool FRowDrag = false;
    int FPressedTitleCol = -1;   // data column
    int FTrackedTitleRaw = -1;   // grid column of the title press being tracked
    QPoint FDownPt;
    QPoint FLastPt;
    TShiftState FLastShift;
    bool FRightButtonColMove = false;
    TGridCoord FPressedToggleCell{-1, -1};
    bool FRowSizeEnded = false;
    int FTracedCol = -1;   // grid column sized at once as the mouse moves
    int FTracedOfs = 0;
    bool FDragAllowed = false;
    bool FDragPending = false;
};
