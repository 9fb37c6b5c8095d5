// The import driver: which records and columns a selection kind fills,
// overwrite versus insert, and what is restored on the way out.

#include "exchange/DBGridGxImport.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "exchange/ExportGuards.h"
#include "exchange/SelectionWalk.h"
#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "platform/Streams.h"
#include "ui/DialogService.h"

#include <optional>

namespace {

// Frees the columns one run of the driver collected, on every way out.
class TImportRunScope {
public:
    TImportRunScope(TColumnsGxList& owned, const TColumnsGxList*& current) : FOwned(owned), FCurrent(current) {}
    ~TImportRunScope()
    {
        FOwned.Clear();
        FCurrent = nullptr;
    }
    TImportRunScope(const TImportRunScope&) = delete;
    TImportRunScope& operator=(const TImportRunScope&) = delete;

private:
    TColumnsGxList& FOwned;
    const TColumnsGxList*& FCurrent;
};

bool Editing(const TDataSet& dataSet)
{
    return dataSet.State() == dsEdit || dataSet.State() == dsInsert;
}

// Appended records written in one call of the engine.
constexpr size_t AppendBatchSize = 10000;

}  // namespace

TDataSet* TDBGridGxImport::DataSet() const
{
    TDataSource* source = Grid ? Grid->DataSource() : nullptr;
    return source ? source->DataSet() : nullptr;
}

void TDBGridGxImport::ImportOutOfFile(const std::string& fileName, bool importAll)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    ImportOutOfStream(file, importAll);
}

void TDBGridGxImport::ImportOutOfStream(TStream& stream, bool importAll)
{
    Stream = &stream;
    EndOfInput = false;
    IgnoreAllErrors = false;
    FRecordsDone = 0;
    FRecordsChanged = 0;
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active())
        return;
    if (importAll) {
        Grid->Selection().Clear();
        dataSet->First();
        if (!Grid->VisibleColumns().Empty())
            Grid->SetCol(Grid->DataToRawColumn(Grid->VisibleColumns()[0]->Index()));
    }
    FAppendMode = dataSet->Eof();
    FInsertMode = dataSet->State() == dsInsert;
    TImportRunScope run(FOwnedColumns, ImportColumns);
    {
        TControlsDisabledGuard controls(dataSet);
        // A record the user is inserting stays where it is: the rows go in
        // around it and the view follows them.
        std::optional<TViewPositionGuard> view;
        if (!FInsertMode)
            view.emplace(*Grid);
        ImportRecords(*dataSet);
    }
    FinishInput();
}

void TDBGridGxImport::ImportRecords(TDataSet& dataSet)
{
    switch (Grid->Selection().SelectionType()) {
    case gstNon:
        ImportFromCurrentCell(dataSet);
        break;
    case gstRecordBookmarks:
        ImportColumns = &Grid->VisibleColumns();
        ReadPrefix();
        if (FInsertMode)
            InsertRows(dataSet);
        else
            ImportBookmarkedRecords(dataSet);
        break;
    case gstRectangle: {
        TDBGridGxSelectionRect& rect = Grid->Selection().Rect();
        UseVisibleColumns(rect.LeftCol(), rect.RightCol());
        ReadPrefix();
        if (FInsertMode)
            InsertRows(dataSet);
        else
            ImportRectangle(dataSet);
        break;
    }
    case gstColumns:
    case gstAll:
        ImportColumns = Grid->Selection().SelectionType() == gstColumns ? &Grid->Selection().Cols().Items()
                                                                        : &Grid->VisibleColumns();
        ReadPrefix();
        if (FInsertMode)
            InsertRows(dataSet);
        else
            ImportEveryRecord(dataSet);
        break;
    }
}

void TDBGridGxImport::UseVisibleColumns(int first, int last)
{
    ::CollectVisibleColumns(*Grid, first, last, FOwnedColumns);
    ImportColumns = &FOwnedColumns;
}

void TDBGridGxImport::ImportFromCurrentCell(TDataSet& dataSet)
{
    UseVisibleColumns(Grid->RawToDataColumn(Grid->Col()), Grid->Columns().Count() - 1);
    ReadPrefix();
    if (FInsertMode) {
        InsertRows(dataSet);
        return;
    }
    Grid->RestoreViewPosition();
    while (!dataSet.Eof() && !EndOfInput) {
        ImportRecord(dataSet);
        dataSet.Next();
    }
    // New records only where the grid and the dataset may take them.
    if (Grid->AllowedOperations().Contains(alopAppendGx) && !Grid->ReadOnly() && dataSet.CanModify()) {
        FInsertMode = true;
        FAppendMode = true;
        InsertRows(dataSet);
    }
}

void TDBGridGxImport::ImportBookmarkedRecords(TDataSet& dataSet)
{
    const TBookmarkListGx& records = Grid->SelectedRecords();
    for (int i = 0; i < records.Count(); ++i) {
        // A selected record deleted since it was selected takes no row.
        if (!dataSet.BookmarkValid(records[i]))
            continue;
        dataSet.GotoBookmark(records[i]);
        ImportRecord(dataSet);
    }
}

void TDBGridGxImport::ImportRectangle(TDataSet& dataSet)
{
    WalkRectangleRecords(*Grid, dataSet, [&] { ImportRecord(dataSet); });
}

void TDBGridGxImport::ImportEveryRecord(TDataSet& dataSet)
{
    dataSet.First();
    while (!dataSet.Eof()) {
        ImportRecord(dataSet);
        dataSet.Next();
    }
}

void TDBGridGxImport::InsertRows(TDataSet& dataSet)
{
    if (FAppendMode) {
        AppendRows(dataSet);
        return;
    }
    while (!EndOfInput) {
        if (FAppendMode)
            dataSet.Append();
        else
            dataSet.Insert();
        ReadRowOrDrop(dataSet);
        FRowChanged = true;   // a new record, even an empty one
        const bool posted = PostRecord(dataSet);
        RecordDone();
        // The next row goes after this one; a dropped record leaves the
        // cursor on the record it was to be inserted before.
        if (posted && !FAppendMode)
            dataSet.Next();
    }
}

void TDBGridGxImport::AppendRows(TDataSet& dataSet)
{
    std::vector<TEngineRecord> batch;
    try {
        while (!EndOfInput) {
            dataSet.Append();
            ReadRowOrDrop(dataSet);
            FRowChanged = true;   // a new record, even an empty one
            FinishRecord(dataSet, [&] { batch.push_back(dataSet.TakeAppendedRecord()); });
            if (batch.size() >= AppendBatchSize)
                WriteBatch(dataSet, batch);
            RecordDone();
        }
        WriteBatch(dataSet, batch);
    } catch (...) {
        // The rows finished before the failure keep their values.
        try {
            WriteBatch(dataSet, batch);
        } catch (...) {
        }
        throw;
    }
}

void TDBGridGxImport::WriteBatch(TDataSet& dataSet, std::vector<TEngineRecord>& batch)
{
    std::vector<TEngineRecord> records = std::move(batch);
    batch.clear();
    size_t appended = 0;
    try {
        dataSet.AppendRecords(records, appended);
        return;
    } catch (const EAbort&) {
        throw;
    } catch (const Exception&) {
        // Record by record from the first one not stored, so the prompt
        // names the one at fault and can skip it.
    }
    for (size_t i = appended; i < records.size(); ++i) {
        std::vector<TEngineRecord> one{std::move(records[i])};
        size_t stored = 0;
        try {
            dataSet.AppendRecords(one, stored);
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& error) {
            --FRecordsChanged;
            if (!IgnoreAllErrors)
                PromptError(error);
        }
    }
}

void TDBGridGxImport::ImportRecord(TDataSet& dataSet)
{
    ReadRowOrDrop(dataSet);
    PostRecord(dataSet);
    RecordDone();
}

void TDBGridGxImport::ReadRowOrDrop(TDataSet& dataSet)
{
    FRowChanged = false;
    try {
        ReadRow(*ImportColumns);
    } catch (...) {
        if (Editing(dataSet))
            dataSet.Cancel();
        throw;
    }
}

bool TDBGridGxImport::PostRecord(TDataSet& dataSet)
{
    return FinishRecord(dataSet, [&] { dataSet.Post(); });
}

bool TDBGridGxImport::FinishRecord(TDataSet& dataSet, const std::function<void()>& finish)
{
    if (!Editing(dataSet))
        return true;
    try {
        finish();
        return true;
    } catch (const EAbort&) {
        dataSet.Cancel();
        throw;
    } catch (const Exception& error) {
        try {
            if (!IgnoreAllErrors)
                PromptError(error);
        } catch (...) {
            dataSet.Cancel();
            throw;
        }
        dataSet.Cancel();
        FRowChanged = false;
        return false;
    }
}

void TDBGridGxImport::RecordDone()
{
    ++FRecordsDone;
    if (FRowChanged)
        ++FRecordsChanged;
    if (OnRecordDone && !OnRecordDone(FRecordsDone, FRecordsChanged))
        throw EImportStopped();
}

void TDBGridGxImport::ReadRow(const TColumnsGxList& columns)
{
    for (TColumnGx* column : columns)
        StoreCell(column);
}

bool TDBGridGxImport::StoreGuarded(const std::function<void()>& assign)
{
    try {
        assign();
        FRowChanged = true;
        return true;
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& error) {
        if (!IgnoreAllErrors)
            PromptError(error);
        return false;
    }
}

void TDBGridGxImport::PromptError(const Exception& error)
{
    const std::string text = "Error during insert value:\n" + error.Message() + "\n\nIgnore error?";
    switch (MessageDlg(text, mtError, TMsgDlgButtons{mbYes, mbNo, mbAll})) {
    case mrYes:
        break;
    case mrAll:
        IgnoreAllErrors = true;
        break;
    default:
        throw EAbort();
    }
}

int ImportGridFromStream(TDBGridGxImportClass importClass, TCustomDBGridGx& grid, TStream& stream, bool importAll,
                         const std::function<void(TDBGridGxImport&)>& prepare)
{
    std::unique_ptr<TDBGridGxImport> importer = importClass();
    importer->Grid = &grid;
    if (prepare)
        prepare(*importer);
    importer->ImportOutOfStream(stream, importAll);
    return importer->RecordsChanged();
}
