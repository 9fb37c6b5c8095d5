// The data grid's mouse: presses on data rows (moving the dataset, the
// editor, rectangle and record selection, check boxes), selecting drags,
// releases with their clicks, and the end of drags.  The drag of the
// selection is in DBGridGxMouseDrag.cpp.

#include "grid/input/DBGridGxMouse.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/PendingEditorGx.h"
#include "grid/base/CustomGridMouse.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxAutoScroll.h"
#include "grid/input/DBGridGxStepValue.h"
#include "grid/input/DBGridGxToolTips.h"
#include "grid/input/PopupMenuFlagsGx.h"
#include "grid/base/InplaceEdit.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "platform/ScopeGuard.h"

#include <QMenu>

#include <algorithm>

TDBGridGxMouse::TDBGridGxMouse(TCustomDBGridGx& grid)
    : FGrid(grid),
      FAutoScroll(std::make_unique<TDBGridGxAutoScroll>([this] { AutoScrollStep(); })),
      FToolTips(std::make_unique<TDBGridGxToolTips>(grid))
{
}

TDBGridGxMouse::~TDBGridGxMouse() = default;

void TDBGridGxMouse::SetPressedTitleCol(int dataCol)
{
    if (dataCol == FPressedTitleCol)
        return;
    const int titleRow = FGrid.TitleRows() - 1;
    for (int old : {FPressedTitleCol, dataCol}) {
        const int raw = FGrid.DataToRawColumn(old);
        if (old >= 0 && raw < FGrid.ColCount() && titleRow >= 0)
            FGrid.InvalidateCell(raw, titleRow);
    }
    FPressedTitleCol = dataCol;
}

// ---- where things are ---------------------------------------------------------

bool TDBGridGxMouse::LinkActive() const
{
    return FGrid.DataLink() && FGrid.DataLink()->Active() && FGrid.DataLink()->DataSet();
}

TColumnGx* TDBGridGxMouse::ColumnAtRaw(int rawCol) const
{
    const int dataCol = FGrid.RawToDataColumn(rawCol);
    if (rawCol < FGrid.IndicatorCols() || dataCol < 0 || dataCol >= FGrid.Columns().Count())
        return nullptr;
    return FGrid.Columns()[dataCol];
}

bool TDBGridGxMouse::IsToggleColumn(const TColumnGx* column) const
{
    return column && (column->ColumnKind() == ckCheckboxes || column->ColumnKind() == ckKeyImageList);
}

QRect TDBGridGxMouse::DataArea() const
{
    const TGridDrawInfo di = FGrid.CalcDrawInfo();
    const int left = FGrid.IndicatorCols() > 0 ? FGrid.CellRect(0, 0).right() + 1 + di.Horz.EffectiveLineWidth : 0;
    const int top = di.Vert.FixedBoundary;
    const int rows = RowWindowOf(FGrid).VisibleDataRowCount();
    int bottom = top;
    if (rows > 0) {
        const QRect last = FGrid.CellRect(FGrid.IndicatorCols() > 0 ? 0 : FGrid.LeftCol(), FGrid.TitleRows() + rows - 1);
        bottom = last.bottom() + 1;
    }
    return QRect(QPoint(left, top), QPoint(std::max(left, di.Horz.GridBoundary) - 1, std::max(top, bottom) - 1));
}

void TDBGridGxMouse::FireMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (FGrid.OnMouseDown)
        FGrid.OnMouseDown(button, shift, x, y);
}

// ---- press ----------------------------------------------------------------------

bool TDBGridGxMouse::TakeFocus()
{
    if (!FGrid.IsActiveControl() && FGrid.focusPolicy() != Qt::NoFocus)
        FGrid.setFocus(Qt::MouseFocusReason);
    return FGrid.IsActiveControl();
}

bool TDBGridGxMouse::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    FPressedToggleCell = {-1, -1};
    FDragPending = false;
    FDownPt = FLastPt = QPoint(x, y);
    FToolTips->Hide();
    if (!TakeFocus())
        return true;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    if (button == Qt::LeftButton && shift.Contains(ssDouble)) {
        FGrid.DblClick();
        DoubleClick(shift, cell);
        FireMouseDown(button, shift, x, y);
        return true;
    }
    switch (PressSizing(button, x, y)) {
    case TSizingPress::Taken:
        FireMouseDown(button, shift, x, y);
        return true;
    case TSizingPress::ToCellGrid:
        return false;
    case TSizingPress::None:
        break;
    }
    if (InColumnSelectZone(cell, y)) {
        PressColumnSelectZone(shift, cell);
        return true;
    }
    const int titleRows = FGrid.TitleRows();
    if (cell.Y >= 0 && cell.Y < titleRows) {
        if (PressTitleButton(button, cell, y))
            return true;
        PressTitleRows(cell);
        if (FGrid.Options().Contains(dgColumnResize)) {
            // The cell grid moves or sizes the column (a right press as a left one).
            FGrid.BaseMouse().Press(button == Qt::RightButton && FRightButtonColMove ? Qt::LeftButton : button,
                                    shift, x, y);
        }
        FireMouseDown(button, shift, x, y);
        return true;
    }
    if (cell.Y >= titleRows && RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) >= 0 && LinkActive()) {
        if (!PressDataRow(button, shift, cell))
            return true;
    }
    FireMouseDown(button, shift, x, y);
    return true;
}

void TDBGridGxMouse::DoubleClick(TShiftState shift, TGridCoord cell)
{
    TColumnGx* column = ColumnAtRaw(cell.X);
    if (!IsToggleColumn(column) || !column->DblClickNextVal() || !LinkActive())
        return;
    if (cell.Y < FGrid.TitleRows() || RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) < 0)
        return;
    StepColumnValue(*column, shift.Contains(ssShift) ? -1 : 1);
}

bool TDBGridGxMouse::PressDataRow(Qt::MouseButton button, TShiftState shift, TGridCoord cell)
{
    TGridDataLinkGx& link = *FGrid.DataLink();
    TDataSet& dataSet = *link.DataSet();
    const TDBGridOptions options = FGrid.Options();
    FGrid.LockUpdate();
    const TScopeExit unlock([this] { FGrid.UnlockUpdate(); });

    WritePendingEditorGx(FGrid);
    FGrid.HideEditor();
    const int oldCol = FGrid.Col();
    const int oldRow = FGrid.Row();
    const std::string oldBookmark = dataSet.Bookmark();
    const bool inIndicator = cell.X < FGrid.IndicatorCols();
    const int distance = RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) - link.ActiveRecord();
    const bool shiftSelectsRows = shift.Contains(ssShift) && options.Contains(dgMultiSelect) &&
                                  (options.Contains(dgRowSelect) || inIndicator);
    if (distance != 0 && !shiftSelectsRows)
        dataSet.MoveBy(distance);
    if (!inIndicator)
        FGrid.SelectColumn(cell.X, 0, false);
    if (PendsDrag(button, shift, cell)) {
        FDragPending = true;
        return false;
    }

    PressRectangle(button, shift, cell, oldCol, oldBookmark);
    PressRows(button, shift, cell, oldRow);

    // Check boxes and key images change by clicks, never through the editor.
    const bool toggles = IsToggleColumn(ColumnAtRaw(cell.X));
    const bool onOldCell = !inIndicator && cell.X == oldCol && cell.Y == oldRow;
    const bool onButtons = !inIndicator && ShowsEditorForButtons({cell.X, FGrid.Row()}, FDownPt);
    if (button == Qt::LeftButton && !toggles && (onOldCell || onButtons || options.Contains(dgAlwaysShowEditor)))
        FGrid.ShowEditor();
    else if (button == Qt::RightButton || inIndicator)
        FGrid.RefreshEditor();
    if (button == Qt::LeftButton && !toggles && !inIndicator)
        PassPressToEditButton({cell.X, FGrid.Row()}, FDownPt);
    if (toggles && button == Qt::LeftButton)
        FPressedToggleCell = {cell.X, FGrid.Row()};
    return true;
}

void TDBGridGxMouse::PressRectangle(Qt::MouseButton button, TShiftState shift, TGridCoord cell, int oldCol,
                                    const std::string& oldBookmark)
{
    const TDBGridOptions options = FGrid.Options();
    if (cell.X < FGrid.IndicatorCols() || (options.Contains(dgMultiSelect) && options.Contains(dgRowSelect)))
        return;
    FTracking = true;
    FRectDrag = true;
    TDBGridGxSelection& selection = FGrid.Selection();
    TDBGridGxSelectionModel& model = FGrid.SelectionModel();
    const int dataCol = FGrid.RawToDataColumn(cell.X);
    if (!shift.Contains(ssCtrl) && !shift.Contains(ssShift) && FGrid.OptionsGx().Contains(dghClearSelection)) {
        const std::string bookmark = FGrid.DataLink()->DataSet()->Bookmark();
        if (button == Qt::LeftButton || !selection.DataCellSelected(dataCol, bookmark))
            model.ClearSelection();
    }
    if (button == Qt::LeftButton && model.CanSelectType(gstRectangle) && !FGrid.DataLink()->DataSet()->IsEmpty()) {
        const std::string bookmark = FGrid.DataLink()->DataSet()->Bookmark();
        if (shift.Contains(ssShift)) {
            if (selection.SelectionType() != gstRectangle)
                selection.Rect().Select(FGrid.RawToDataColumn(oldCol), oldBookmark, false);
            selection.Rect().Select(dataCol, bookmark, true);
        } else {
            selection.Rect().Select(dataCol, bookmark, false);
        }
        FInteraction = TGridInteractionGx::RectSelecting;
    }
}

void TDBGridGxMouse::PressRows(Qt::MouseButton button, TShiftState shift, TGridCoord cell, int oldRow)
{
    TDBGridGxSelectionModel& model = FGrid.SelectionModel();
    const bool inIndicator = cell.X < FGrid.IndicatorCols();
    if (!model.CanSelectType(gstRecordBookmarks) || !(FGrid.Options().Contains(dgRowSelect) || inIndicator)) {
        model.SetRowShiftActive(false);
        return;
    }
    TBookmarkListGx& records = FGrid.SelectedRecords();
    const bool clearSelection = FGrid.OptionsGx().Contains(dghClearSelection);
    const bool additive = shift.Contains(ssCtrl) || !clearSelection;
    if (shift.Contains(ssShift) && cell.Y != oldRow) {
        model.SetRowShiftActive(true);
        model.SetAdditiveSelect(true);
        const int distance = RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) - FGrid.DataLink()->ActiveRecord();
        model.MoveWithSelection(true, distance, true, false);
    } else if (button == Qt::LeftButton) {
        if (additive) {
            records.SetCurrentRowSelected(!records.CurrentRowSelected());
        } else {
            model.ClearSelection();
            records.SetCurrentRowSelected(true);
        }
    }
    FRowDrag = true;
    FTracking = true;
    model.SetRowShiftActive(true);
    model.SetRowAnchor(records.CurrentBookmark());
    model.SetRowAnchorState(!records.CurrentRowSelected());
    model.SetAdditiveSelect(additive);
    FInteraction = TGridInteractionGx::RowSelecting;
}

// ---- move -----------------------------------------------------------------------

bool TDBGridGxMouse::MouseMove(TShiftState shift, int x, int y)
{
    FLastPt = QPoint(x, y);
    FToolTips->MouseMoved(shift, x, y);
    if (FDragPending && MovePendingDrag(shift, x, y))
        return true;
    if (FTrackedTitleRaw >= 0) {
        TrackTitle(x, y);
        return FTrackedTitleRaw >= 0;
    }
    try {
        if (FRowDrag || FRectDrag || FInteraction == TGridInteractionGx::RectSelecting)
            MoveSelecting(shift, x, y);
        else if (FInteraction == TGridInteractionGx::ColumnSelecting) {
            const QRect area = DataArea();
            const TGridCoord cell = FGrid.MouseCoord(x, y);
            TColumnGx* column = ColumnAtRaw(cell.X);
            if (x >= area.left() && x <= area.right() && column)
                FGrid.Selection().Cols().SelectShift(column);
            else
                AutoScrollStep();
        }
    } catch (...) {
        CancelMode();
        throw;
    }
    FLastShift = shift;
    return TraceSizing(x);
}

void TDBGridGxMouse::MoveSelecting(TShiftState shift, int x, int y)
{
    const QRect area = DataArea();
    const int cx = std::clamp(x, 0, std::max(0, FGrid.ClientWidth() - 1));
    const int cy = std::clamp(y, 0, std::max(0, FGrid.ClientHeight() - 1));
    const TGridCoord cell = FGrid.MouseCoord(cx, cy);
    const bool rectSelecting = FInteraction == TGridInteractionGx::RectSelecting;
    const bool leftDown = shift.Contains(ssLeft);
    if (y >= area.top() && y <= area.bottom() && cell.Y >= FGrid.TitleRows()) {
        const int record = RowWindowOf(FGrid).RecordIndexOfRow(cell.Y);
        const int distance = record < 0 ? 0 : record - FGrid.DataLink()->ActiveRecord();
        if (distance != 0) {
            FGrid.SelectionModel().MoveWithSelection(leftDown, distance, !rectSelecting, false);
            if (rectSelecting)
                FGrid.Selection().Rect().Select(FGrid.RawToDataColumn(FGrid.Col()),
                                                FGrid.SelectedRecords().CurrentBookmark(), true);
        }
    }
    if (FRectDrag && x >= area.left() && x <= area.right() && cell.X >= FGrid.IndicatorCols() && cell.X != FGrid.Col()) {
        FGrid.SelectColumn(cell.X, cell.X > FGrid.Col() ? 1 : -1, false);
        if (rectSelecting && leftDown)
            FGrid.Selection().Rect().Select(FGrid.RawToDataColumn(FGrid.Col()),
                                            FGrid.SelectedRecords().CurrentBookmark(), true);
    }
    FLastShift = shift;
    AutoScrollStep();
}

// ---- release -------------------------------------------------------------------

bool TDBGridGxMouse::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    TCustomGridMouse& base = FGrid.BaseMouse();
    if (FDragPending) {
        ReleasePendingDrag(shift);
    } else if (FTracedCol >= 0) {
        FTracedCol = -1;
        base.SetState(gsNormal);
        FInteraction = TGridInteractionGx::None;
        if (FGrid.OnMouseUp)
            FGrid.OnMouseUp(button, shift, x, y);
        return true;
    }
    const TGridInteractionGx interaction = FInteraction;
    const TGridState baseState = base.State();
    FInteraction = TGridInteractionGx::None;
    FGrid.SelectionModel().SetRowShiftActive(false);
    FRowSizeEnded = baseState == gsRowSizing;

    Qt::MouseButton baseButton = button;
    if (FTrackedTitleRaw >= 0) {
        ReleaseTitle(shift, x, y);
    } else if (FRightButtonColMove && button == Qt::RightButton) {
        baseButton = Qt::LeftButton;
    }
    FRightButtonColMove = false;
    if (FRowDrag || FRectDrag)
        EndTracking();
    if (interaction != TGridInteractionGx::None)
        FAutoScroll->Stop();

    FGrid.TCustomGrid::MouseUp(baseButton, shift, x, y);
    const bool sized = baseState == gsColSizing || baseState == gsRowSizing;
    if (!sized && !(FGrid.InplaceEditor() && FGrid.InplaceEditor()->isVisible() &&
                    FGrid.InplaceEditor()->geometry().contains(FGrid.ViewportPoint({x, y}))))
        ReleaseClicks(button, shift, x, y);
    FRowSizeEnded = false;
    return true;
}

void TDBGridGxMouse::ReleaseClicks(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    const TGridCoord toggleCell = FPressedToggleCell;
    FPressedToggleCell = {-1, -1};
    if (button == Qt::RightButton) {
        PopupColumnMenu(cell, x, y);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (TColumnGx* column = ColumnAtRaw(cell.X)) {
        if (cell.Y >= 0 && cell.Y < FGrid.TitleRows()) {
            if (FGrid.OnTitleClick)
                FGrid.OnTitleClick(*column);
        } else if (cell.Y >= FGrid.TitleRows() && RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) >= 0 &&
                   cell.Y - FGrid.TitleRows() <= RowWindowOf(FGrid).VisibleDataRowCount()) {
            if (TColumnGx* current = ColumnAtRaw(FGrid.Col()); current && FGrid.OnCellClick)
                FGrid.OnCellClick(*current);
        }
    }
    if (toggleCell.X < 0 || !(cell == toggleCell) || shift.Contains(ssDouble) || !LinkActive())
        return;
    TColumnGx* column = ColumnAtRaw(cell.X);
    if (IsToggleColumn(column) && !column->DblClickNextVal())
        StepColumnValue(*column, shift.Contains(ssShift) ? -1 : 1);
}

void TDBGridGxMouse::PopupColumnMenu(TGridCoord cell, int x, int y)
{
    TColumnGx* column = ColumnAtRaw(cell.X);
    QMenu* menu = column ? column->PopupMenu() : nullptr;
    if (!menu || !MenuAutoPopup(*menu))
        return;
    FGrid.CancelMode();
    SetMenuPopupComponent(*menu, &FGrid);
    menu->popup(FGrid.viewport()->mapToGlobal(FGrid.ViewportPoint({x, y})));
}

void TDBGridGxMouse::EndTracking()
{
    FAutoScroll->Stop();
    FTracking = false;
    FRowDrag = false;
    FRectDrag = false;
    FTrackedTitleRaw = -1;
    SetPressedTitleCol(-1);
    FInteraction = TGridInteractionGx::None;
}

void TDBGridGxMouse::CancelMode()
{
    EndTracking();
    FTracedCol = -1;
    FDragPending = false;
    FRightButtonColMove = false;
    FPressedToggleCell = {-1, -1};
    FToolTips->Hide();
}

void TDBGridGxMouse::Exit()
{
    FToolTips->Hide();
    if (!LinkActive())
        return;
    TDataSet& dataSet = *FGrid.DataLink()->DataSet();
    try {
        if (FGrid.Options().Contains(dgCancelOnExit) && dataSet.State() == dsInsert && !dataSet.Modified() &&
            !FGrid.DataLink()->Modified())
            dataSet.Cancel();
        else
            WritePendingEditorGx(FGrid);
    } catch (...) {
        FGrid.setFocus(Qt::OtherFocusReason);
        throw;
    }
}
