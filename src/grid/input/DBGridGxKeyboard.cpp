// The grid's key down, key press and key up: the key tables with and
// without Ctrl and the steps around them.

#include "grid/input/DBGridGxKeyboard.h"

#include "grid/input/DBGridGxEditActions.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/GridKeys.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxSelectColumn.h"
#include "grid/input/DBGridGxStepValue.h"
#include "grid/layout/UpdateLockGx.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include <QApplication>
#include <QClipboard>

namespace {
bool Plain(TShiftState shift) { return !shift.Contains(ssShift) && !shift.Contains(ssAlt) && !shift.Contains(ssCtrl); }
}  // namespace

// ---- key down ---------------------------------------------------------------

bool TDBGridGxKeyboard::KeyDown(int& key, TShiftState shift)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    FShift = shift;
    D.FSelectionModel->SetAdditiveSelect(shift.Contains(ssCtrl) || !FGrid.OptionsGx().Contains(dghClearSelection));
    FGrid.DoKeyDownEvent(key, shift);
    if (key == 0)
        return true;
    if (FGrid.layoutDirection() == Qt::RightToLeft) {
        if (key == Qt::Key_Left)
            key = Qt::Key_Right;
        else if (key == Qt::Key_Right)
            key = Qt::Key_Left;
    }
    if (!D.FDataLink->Active() || !D.FDataLink->DataSet() || !FGrid.CanGridAcceptKey(key, shift))
        return true;
    SearchKeys(key, shift);
    if (shift.Contains(ssCtrl))
        CtrlKey(key, shift);
    else
        PlainKey(key, shift);
    ClearCheckOnDelete(key, shift);
    return true;
}

void TDBGridGxKeyboard::SearchKeys(int key, TShiftState shift)
{
    const bool ctrlOnly = shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    if (ctrlOnly && !shift.Contains(ssShift) && key == Qt::Key_F && FGrid.OptionsGx().Contains(dghIncSearch)) {
        FIncSearch.Start();
        return;
    }
    if (!FIncSearch.Active())
        return;
    if (Plain(shift) && (key == Qt::Key_Return || key == Qt::Key_Escape || key == Qt::Key_F2))
        FIncSearch.End();
    else if (Plain(shift) && key == Qt::Key_Backspace)
        FIncSearch.RemoveLastCharacter();
    else if (ctrlOnly && key == Qt::Key_Return)
        FIncSearch.Step(std::string(), FIncSearch.Timeout(),
                        shift.Contains(ssShift) ? TDBGridGxIncSearch::isdPrevious : TDBGridGxIncSearch::isdNext);
}

void TDBGridGxKeyboard::MoveRows(int distance, bool select, bool toEnd)
{
    TDBGridGxPrivate::Of(FGrid).FSelectionModel->MoveWithSelection(select, distance, false, toEnd);
}

void TDBGridGxKeyboard::CtrlKey(int key, TShiftState shift)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    TGridDataLinkGx& link = *D.FDataLink;
    const bool selecting = shift.Contains(ssShift) && FGrid.Options().Contains(dgMultiSelect);
    switch (key) {
    case Qt::Key_PageUp: case Qt::Key_Up: case Qt::Key_PageDown: case Qt::Key_Down:
    case Qt::Key_End: case Qt::Key_Home:
        if (!shift.Contains(ssShift))
            D.FSelectionModel->ClearSelection();
        break;
    default:
        break;
    }
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_Up:
        MoveRows(-link.ActiveRecord(), selecting, false);
        break;
    case Qt::Key_PageDown:
    case Qt::Key_Down:
        MoveRows(link.BufferCount() - link.ActiveRecord() - 1, selecting, false);
        break;
    case Qt::Key_End:
        MoveRows(1, selecting, true);
        break;
    case Qt::Key_Home:
        MoveRows(0, selecting, true);
        break;
    case Qt::Key_Left:
        FGrid.SelectColumn(FGrid.IndicatorCols(), +1, false);
        break;
    case Qt::Key_Right:
        FGrid.SelectColumn(FGrid.ColCount() - 1, -1, false);
        break;
    case Qt::Key_Insert:
    case Qt::Key_C:
        RunEditAction(FGrid, geaCopyGx);
        break;
    case Qt::Key_Delete:
        if (FGrid.EditActions().Contains(geaDeleteGx) && !FGrid.Selection().Empty())
            RunEditAction(FGrid, geaDeleteGx);
        else
            DeleteRecords();
        break;
    case Qt::Key_A:
        RunEditAction(FGrid, geaSelectAllGx);
        break;
    case Qt::Key_V:
        if (FIncSearch.Active())
            FIncSearch.Step(QApplication::clipboard()->text().toStdString(), FIncSearch.Timeout(),
                            TDBGridGxIncSearch::isdNone);
        else
            RunEditAction(FGrid, geaPasteGx);
        break;
    case Qt::Key_X:
        RunEditAction(FGrid, geaCutGx);
        break;
    default:
        break;
    }
}

void TDBGridGxKeyboard::PlainKey(int key, TShiftState shift)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    const TDBGridOptions options = FGrid.Options();
    const bool selecting = shift.Contains(ssShift) && options.Contains(dgMultiSelect);
    const bool rowSelect = options.Contains(dgRowSelect);
    const int visibleRows = RowWindowOf(FGrid).VisibleDataRowCount();
    switch (key) {
    case Qt::Key_Tab:
        if (!shift.Contains(ssAlt))
            TabMove(shift.Contains(ssShift));
        break;
    case Qt::Key_Return:
        if (FGrid.OptionsGx().Contains(dghEnterAsTab))
            TabMove(shift.Contains(ssShift));
        break;
    case Qt::Key_Escape:
        Escape();
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!selecting)
            D.FSelectionModel->ClearSelection();
        MoveRows(key == Qt::Key_PageUp ? -visibleRows : visibleRows, selecting, false);
        break;
    case Qt::Key_End:
    case Qt::Key_Home: {
        const bool toLast = key == Qt::Key_End;
        if (FGrid.VisibleColumns().Count() == 1 || rowSelect) {
            if (!selecting)
                D.FSelectionModel->ClearSelection();
            MoveRows(toLast ? 1 : 0, selecting, true);
        } else if (toLast) {
            FGrid.SelectColumn(FGrid.ColCount() - 1, -1, selecting);
        } else {
            FGrid.SelectColumn(FGrid.IndicatorCols(), +1, selecting);
        }
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = key == Qt::Key_Left ? -1 : 1;
        if (rowSelect) {
            if (step < 0 && FGrid.LeftCol() > FGrid.FixedCols())
                FGrid.SetLeftCol(FGrid.LeftCol() - 1);
            else if (step > 0 && FGrid.LeftCol() + FGrid.VisibleColCount() < FGrid.ColCount())
                FGrid.SetLeftCol(FGrid.LeftCol() + 1);
            break;
        }
        if (!selecting)
            D.FSelectionModel->ClearSelection();
        FGrid.SelectColumn(FGrid.Col() + step, step, selecting);
        break;
    }
    case Qt::Key_Up:
        PriorRecord(true, shift.Contains(ssShift));
        break;
    case Qt::Key_Down:
        NextRecord(true, shift.Contains(ssShift));
        break;
    case Qt::Key_Insert:
        if (shift.Contains(ssShift))
            RunEditAction(FGrid, geaPasteGx);
        else
            InsertRecord();
        break;
    case Qt::Key_Delete:
        if (shift.Contains(ssShift))
            RunEditAction(FGrid, geaCutGx);
        break;
    case Qt::Key_F2:
        FGrid.SetEditorMode(true);
        break;
    default:
        break;
    }
}

void TDBGridGxKeyboard::ClearCheckOnDelete(int key, TShiftState shift)
{
    if (key != Qt::Key_Delete || shift.Contains(ssCtrl) || shift.Contains(ssShift) ||
        FGrid.Options().Contains(dgRowSelect))
        return;
    TColumnGx* column = GridCurrentColumn(FGrid);
    if (!IsToggledColumn(column) || !column->Field() || column->Field()->Required() || !column->CanModify(true))
        return;
    column->UpdateData(std::string(), TVariant::Null(), false);
}

// ---- record steps and tab moves ---------------------------------------------

bool TDBGridGxKeyboard::AtBlankAppendedRecord(bool requireEof) const
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    TDataSet& dataSet = *D.FDataLink->DataSet();
    return dataSet.State() == dsInsert && !dataSet.Modified() && !D.FDataLink->Modified() &&
           (!requireEof || dataSet.Eof());
}

void TDBGridGxKeyboard::PriorRecord(bool select, bool extend)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    if (AtBlankAppendedRecord(true)) {
        D.FDataLink->DataSet()->Cancel();
        return;
    }
    if (select && !extend)
        D.FSelectionModel->ClearSelection();
    MoveRows(-1, select && extend, false);
}

void TDBGridGxKeyboard::NextRecord(bool select, bool extend)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    TDataSet& dataSet = *D.FDataLink->DataSet();
    if (AtBlankAppendedRecord(false)) {
        if (!dataSet.Eof())
            dataSet.Cancel();
        return;
    }
    if (select && !extend)
        D.FSelectionModel->ClearSelection();
    MoveRows(1, select && extend, false);
    if (dataSet.Eof() && dataSet.CanModify() && !FGrid.ReadOnly() && FGrid.Options().Contains(dgEditing) &&
        FGrid.AllowedOperations().Contains(alopAppendGx))
        dataSet.Append();
}

void TDBGridGxKeyboard::TabMove(bool backward)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    D.FSelectionModel->ClearSelection();
    const int first = FGrid.IndicatorCols();
    const int last = FGrid.ColCount() - 1;
    if (last < first)
        return;
    bool anyStop = false;
    for (int c = first; c <= last && !anyStop; ++c)
        anyStop = FGrid.TabStops(c) && FGrid.ColWidths(c) > 0;
    if (!anyStop)
        return;
    const int start = FGrid.Col();
    int col = start;
    {
        TUpdateLockGx lock(FGrid);
        do {
            col += backward ? -1 : 1;
            if (col > last) {
                NextRecord(false, false);
                col = first;
            } else if (col < first) {
                PriorRecord(false, false);
                col = last;
            }
            if (col == start)
                break;
        } while (!(FGrid.TabStops(col) && FGrid.ColWidths(col) > 0));
    }
    FGrid.Update();
    FGrid.SelectColumn(col, 0, false);
}

// ---- records ------------------------------------------------------------------

void TDBGridGxKeyboard::DeleteRecords()
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    TDataSet& dataSet = *D.FDataLink->DataSet();
    if (FGrid.ReadOnly() || dataSet.IsEmpty() || !dataSet.CanModify() ||
        !FGrid.AllowedOperations().Contains(alopDeleteGx))
        return;
    D.FSelectionModel->DeleteRecords();
}

void TDBGridGxKeyboard::InsertRecord()
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    TDataSet& dataSet = *D.FDataLink->DataSet();
    if (!dataSet.CanModify() || FGrid.ReadOnly() || !FGrid.Options().Contains(dgEditing))
        return;
    const TDBGridGxAllowedOperations allowed = FGrid.AllowedOperations();
    if (!allowed.Contains(alopInsertGx) && !allowed.Contains(alopAppendGx))
        return;
    D.FSelectionModel->ClearSelection();
    if (allowed.Contains(alopInsertGx))
        dataSet.Insert();
    else
        dataSet.Append();
}

void TDBGridGxKeyboard::Escape()
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    D.FDataLink->ResetEdit();
    D.FSelectionModel->ClearSelection();
    if (!FGrid.Options().Contains(dgAlwaysShowEditor))
        FGrid.HideEditor();
    const TGridState state = FGrid.GridState();
    if (state == gsRowSizing || state == gsColSizing || state == gsColMoving)
        FGrid.CancelMode();
}

// ---- key press and characters --------------------------------------------------

bool TDBGridGxKeyboard::RoutesToSearch() const
{
    if (FIncSearch.Active())
        return true;
    const TDBGridGxOptions optionsGx = FGrid.OptionsGx();
    if (optionsGx.Contains(dghIncSearch) && !CanEditColumn(FGrid))
        return true;
    return optionsGx.Contains(dghPreferIncSearch) && !FGrid.Options().Contains(dgAlwaysShowEditor) &&
           !(FGrid.InplaceEditor() && FGrid.InplaceEditor()->isVisible());
}

bool TDBGridGxKeyboard::KeyPress(QString& key)
{
    TDBGridGxPrivate& D = TDBGridGxPrivate::Of(FGrid);
    if (key == QStringLiteral("\r")) {
        if (FGrid.OptionsGx().Contains(dghEnterAsTab))
            key = QStringLiteral("\t");
        if (!FGrid.Options().Contains(dgAlwaysShowEditor))
            D.FDataLink->UpdateData();
    }
    FGrid.TCustomGrid::KeyPress(key);
    if (IsPrintableKey(key) && D.FDataLink->Active() && RoutesToSearch()) {
        const int timeout = FIncSearch.Active() ? FIncSearch.Timeout() : TDBGridGxIncSearch::TypingTimeout();
        FIncSearch.Step(key.toStdString(), timeout, TDBGridGxIncSearch::isdNone);
        key.clear();
    }
    return true;
}

bool TDBGridGxKeyboard::HandleChar(QString& key)
{
    TColumnGx* column = GridCurrentColumn(FGrid);
    if (key == QStringLiteral(" ") && IsToggledColumn(column) && !FGrid.Options().Contains(dgRowSelect)) {
        FGrid.DoKeyPressEvent(key);
        StepColumnValue(*column, FShift.Contains(ssShift) ? -1 : 1);
        return true;
    }
    if (TDBGridGxPrivate::Of(FGrid).FDataLink->Active() && RoutesToSearch() && IsPrintableKey(key)) {
        FGrid.KeyPress(key);
        return true;
    }
    return false;
}

// ---- key up -------------------------------------------------------------------

bool TDBGridGxKeyboard::KeyUp(int& key, TShiftState /*shift*/)
{
    if (key == Qt::Key_Control && FSortMarkingPending) {
        FSortMarkingPending = false;
        if (FGrid.OnSortMarkingChanged)
            FGrid.OnSortMarkingChanged();
    }
    return false;
}
