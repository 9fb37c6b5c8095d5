// The data grid's mouse over titles: the column-select zone, title buttons
// pressed, tracked and clicked, sort marking by title clicks, a drag that
// turns a title press into a column move, and select-all on the top-left cell.

#include "grid/input/DBGridGxMouse.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/PendingEditorGx.h"
#include "grid/base/CustomGridMouse.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/columns/ColumnTitleGx.h"
#include "grid/input/DBGridGxAutoScroll.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <cstdlib>

namespace {
constexpr int ColumnSelectZoneHeight = 7;   // pixels at the bottom of a title
constexpr int TitleDragThreshold = 3;       // pixels before a title press moves the column
constexpr int ColumnSelectInterval = 60;    // ms of the auto-scroll timer of a column drag
const TColor MoveMarkerSilver = 0xC0C0C0;
}  // namespace

bool TDBGridGxMouse::InColumnSelectZone(TGridCoord cell, int y) const
{
    if (cell.Y != FGrid.TitleRows() - 1 || !ColumnAtRaw(cell.X) || !LinkActive())
        return false;
    if (!FGrid.SelectionModel().CanSelectType(gstColumns))
        return false;
    const QRect rect = FGrid.CellRect(cell.X, cell.Y);
    return y > rect.bottom() - ColumnSelectZoneHeight;
}

bool TDBGridGxMouse::OnOwnTitle(TGridCoord cell, int y) const
{
    if (cell.Y < 0 || cell.Y >= FGrid.TitleRows() || !ColumnAtRaw(cell.X))
        return false;
    if (!FGrid.UseMultiTitle() || !FGrid.Options().Contains(dgTitles))
        return true;
    // Above the column's leaf the cell shows the captions of its groups.
    return y >= FGrid.TitleTree().LeafTop(FGrid.RawToDataColumn(cell.X), FGrid.CellRect(cell.X, cell.Y));
}

void TDBGridGxMouse::PressColumnSelectZone(TShiftState shift, TGridCoord cell)
{
    TColumnGx* column = ColumnAtRaw(cell.X);
    FGrid.InvalidateCol(cell.X);
    FInteraction = TGridInteractionGx::ColumnSelecting;
    FAutoScroll->Run(ColumnSelectInterval);
    TDBGridGxSelectionCols& cols = FGrid.Selection().Cols();
    if (shift.Contains(ssShift)) {
        cols.SelectShift(column);
    } else if (shift.Contains(ssCtrl)) {
        cols.InvertSelect(column);
    } else {
        FGrid.InvalidateGrid();
        cols.Select(column, false);
    }
}

bool TDBGridGxMouse::PressTitleButton(Qt::MouseButton& button, TGridCoord cell, int y)
{
    TColumnGx* column = ColumnAtRaw(cell.X);
    if (!column || !OnOwnTitle(cell, y))
        return false;
    if (button == Qt::RightButton && FGrid.Options().Contains(dgColumnResize)) {
        button = Qt::LeftButton;
        FRightButtonColMove = true;
    }
    if (button != Qt::LeftButton)
        return false;
    const int dataCol = FGrid.RawToDataColumn(cell.X);
    bool enabled = column->Title()->TitleButton();
    if (FGrid.OnCheckButton)
        FGrid.OnCheckButton(FGrid, dataCol, column, enabled);
    if (!enabled)
        return false;
    FTracking = true;
    FTrackedTitleRaw = cell.X;
    SetPressedTitleCol(dataCol);
    return true;
}

void TDBGridGxMouse::PressTitleRows(TGridCoord cell)
{
    if (cell.X >= 0 && cell.X < FGrid.IndicatorCols() && FGrid.Options().Contains(dgMultiSelect) && LinkActive() &&
        FGrid.AllowedSelections().Contains(gstAll)) {
        TDBGridGxSelection& selection = FGrid.Selection();
        if (selection.SelectionType() != gstNon)
            selection.Clear();
        else
            selection.SelectAll();
        FGrid.RefreshEditor();
    }
    if (!FGrid.Options().Contains(dgColumnResize))
        return;
    if (LinkActive())
        WritePendingEditorGx(FGrid);
    FGrid.SetMoveMarkerColor(MoveMarkerSilver);
}

bool TDBGridGxMouse::OverPressedTitle(int x, int y) const
{
    if (!FGrid.ClientRect().contains(x, y))
        return false;
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    return cell.Y == 0 && cell.X == FTrackedTitleRaw && OnOwnTitle(cell, y);
}

void TDBGridGxMouse::TrackTitle(int x, int y)
{
    SetPressedTitleCol(OverPressedTitle(x, y) ? FGrid.RawToDataColumn(FTrackedTitleRaw) : -1);
    if (std::abs(x - FDownPt.x()) <= TitleDragThreshold || !FGrid.Options().Contains(dgColumnResize))
        return;
    // The press becomes a column move of the cell grid.
    FTracking = false;
    FTrackedTitleRaw = -1;
    SetPressedTitleCol(-1);
    FGrid.SetMoveMarkerColor(MoveMarkerSilver);
    FGrid.BaseMouse().Press(Qt::LeftButton, {}, FDownPt.x(), FDownPt.y());
}

void TDBGridGxMouse::ReleaseTitle(TShiftState shift, int x, int y)
{
    const bool counts = OverPressedTitle(x, y);
    const int raw = FTrackedTitleRaw;
    EndTracking();
    if (!counts)
        return;
    TColumnGx* column = ColumnAtRaw(raw);
    if (!column)
        return;
    if (FGrid.OnTitleBtnClick)
        FGrid.OnTitleBtnClick(FGrid, FGrid.RawToDataColumn(raw), *column);
    const bool ctrl = shift.Contains(ssCtrl);
    const bool autoSort = FGrid.OptionsGx().Contains(dghAutoSortMarking);
    FGrid.Keyboard().SetSortMarkingPending(ctrl);
    if (autoSort)
        column->Title()->SetNextSortMarkerValue(ctrl);
    if (!ctrl && autoSort && FGrid.OnSortMarkingChanged)
        FGrid.OnSortMarkingChanged();
}
