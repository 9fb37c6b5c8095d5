// Deleting the selected records and clearing the selected cells.

#include "exchange/ClipboardActions.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Field.h"
#include "exchange/ColumnValueTarget.h"
#include "exchange/ExportGuards.h"
#include "exchange/SelectionWalk.h"
#include "grid/columns/ColumnGx.h"
#include "ui/DialogService.h"

#include <optional>

namespace {

// Raised when the user cancels the progress dialog of a delete.
class EDeleteStopped : public EAbort {
public:
    EDeleteStopped() : EAbort("Delete stopped") {}
};

// One delete of a selection: the records it walks and what it counts.
class TSelectionDelete {
public:
    TSelectionDelete(TCustomDBGridGx& grid, TDataSet& dataSet, TLongWorkProgress& progress)
        : FGrid(grid), FDataSet(dataSet), FProgress(progress)
    {
    }

    int Changed() const { return FChanged; }

    void DeleteBookmarkedRecords()
    {
        const TBookmarkListGx& records = FGrid.SelectedRecords();
        const int count = records.Count();
        for (int i = 0; i < count; ++i) {
            // A selected record deleted meanwhile is gone already.
            if (!FDataSet.BookmarkValid(records[i]))
                continue;
            FDataSet.GotoBookmark(records[i]);
            FDataSet.Delete();
            RecordDone();
        }
        FGrid.Selection().Clear();
    }

    void DeleteEveryRecord()
    {
        FDataSet.First();
        while (!FDataSet.IsEmpty()) {
            FDataSet.Delete();
            RecordDone();
        }
    }

    void ClearRectangle()
    {
        TDBGridGxSelectionRect& rect = FGrid.Selection().Rect();
        TColumnsGxList columns;
        CollectVisibleColumns(FGrid, rect.LeftCol(), rect.RightCol(), columns);
        WalkRectangleRecords(FGrid, FDataSet, [&] { ClearRecordCells(columns); });
    }

    void ClearColumns()
    {
        const TColumnsGxList& columns = FGrid.Selection().Cols().Items();
        FDataSet.First();
        while (!FDataSet.Eof()) {
            ClearRecordCells(columns);
            FDataSet.Next();
        }
    }

private:
    // Clears the current record's cells of the columns and posts the
    // record; a record the engine refuses keeps its values.
    void ClearRecordCells(const TColumnsGxList& columns)
    {
        bool cleared = false;
        try {
            for (TColumnGx* column : columns) {
                if (TField* target = BeginColumnStore(column)) {
                    target->Clear();
                    cleared = true;
                }
            }
            if (FDataSet.State() == dsEdit || FDataSet.State() == dsInsert)
                FDataSet.Post();
        } catch (...) {
            if (FDataSet.State() == dsEdit || FDataSet.State() == dsInsert)
                FDataSet.Cancel();
            throw;
        }
        if (cleared)
            RecordDone();
    }

    void RecordDone()
    {
        ++FChanged;
        if (!FProgress.Step(FChanged))
            throw EDeleteStopped();
    }

    TCustomDBGridGx& FGrid;
    TDataSet& FDataSet;
    TLongWorkProgress& FProgress;
    int FChanged = 0;
};

// The question dgConfirmDelete asks before deleting, or "" for none.
std::string DeleteQuestion(TCustomDBGridGx& grid, TDBGridGxSelectionType kind)
{
    if (!grid.Options().Contains(dgConfirmDelete))
        return {};
    switch (kind) {
    case gstRecordBookmarks:
        return grid.SelectedRecords().Count() < 2 ? "Delete record?" : "Delete all selected records?";
    case gstRectangle:
        return "Clear selected cells?";
    default:
        return {};
    }
}

}  // namespace

void DeleteSelectedData(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs)
{
    const TDBGridGxSelectionType kind = wholeGrid ? gstAll : grid.Selection().SelectionType();
    TDataSource* source = grid.DataSource();
    TDataSet* dataSet = source ? source->DataSet() : nullptr;
    if (kind == gstNon || !dataSet || !dataSet->Active())
        return;
    const std::string question = DeleteQuestion(grid, kind);
    if (!question.empty() && MessageDlg(question, mtConfirmation, mbOKCancel) != mrOk)
        return;
    const int total = kind == gstRecordBookmarks ? grid.SelectedRecords().Count()
                      : kind == gstRectangle    ? -1
                                                : static_cast<int>(dataSet->RecordCount());
    TLongWorkProgress progress(
        kind == gstRecordBookmarks || kind == gstAll ? QStringLiteral("Deleting records...")
                                                     : QStringLiteral("Clearing cells..."),
        total, true, progressDelayMs);
    TSelectionDelete work(grid, *dataSet, progress);
    try {
        // Clearing cells brings the view back to where it was; deleted
        // records leave nothing to come back to.
        std::optional<TViewPositionGuard> view;
        if (kind == gstRectangle || kind == gstColumns)
            view.emplace(grid);
        TControlsDisabledGuard controls(dataSet);
        switch (kind) {
        case gstRecordBookmarks:
            work.DeleteBookmarkedRecords();
            break;
        case gstRectangle:
            work.ClearRectangle();
            break;
        case gstColumns:
            work.ClearColumns();
            break;
        default:
            work.DeleteEveryRecord();
            break;
        }
    } catch (const EDeleteStopped&) {
        MessageDlg("Delete stopped. " + RecordsChangedText(work.Changed()).toStdString(), mtInformation, {mbOK});
    }
}
