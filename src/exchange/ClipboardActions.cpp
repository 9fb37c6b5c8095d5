// Copy, cut and paste through the clipboard, and the grid's installed
// actions object.

#include "exchange/ClipboardActions.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "exchange/ClipboardFormats.h"
#include "exchange/DBGridGxImportAsText.h"
#include "exchange/DBGridGxImportAsVCLDBIF.h"
#include "exchange/ExportGuards.h"
#include "platform/Streams.h"
#include "ui/DialogService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace {

TDataSet* GridDataSet(TCustomDBGridGx& grid)
{
    TDataSource* source = grid.DataSource();
    return source ? source->DataSet() : nullptr;
}

// The records a copy of the kind walks, or -1 when that is not known
// without walking them.
int RecordsOfSelection(TCustomDBGridGx& grid, bool wholeGrid)
{
    const TDBGridGxSelectionType kind = wholeGrid ? gstAll : grid.Selection().SelectionType();
    TDataSet* dataSet = GridDataSet(grid);
    switch (kind) {
    case gstRecordBookmarks:
        return grid.SelectedRecords().Count();
    case gstColumns:
    case gstAll:
        return dataSet && dataSet->Active() ? static_cast<int>(dataSet->RecordCount()) : -1;
    default:
        return -1;
    }
}

// The number of formats each exporting the records once.
constexpr int ExportsPerCopy = 5;

}  // namespace

namespace {

// Exports the selection into `mime` in every format, with the copy's progress.
void ExportWithProgress(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs, QMimeData& mime)
{
    const int records = RecordsOfSelection(grid, wholeGrid);
    TLongWorkProgress progress(QStringLiteral("Copying records..."), records > 0 ? records * ExportsPerCopy : -1,
                               false, progressDelayMs);
    int done = 0;
    TControlsDisabledGuard controls(GridDataSet(grid));
    ExportSelectionToMimeData(grid, wholeGrid, mime, [&] { progress.Step(++done); });
}

}  // namespace

std::unique_ptr<QMimeData> SelectionMimeData(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs)
{
    auto mime = std::make_unique<QMimeData>();
    ExportWithProgress(grid, wholeGrid, progressDelayMs, *mime);
    return mime;
}

void CopySelectionToClipboard(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs)
{
    auto mime = std::make_unique<QMimeData>();
    try {
        ExportWithProgress(grid, wholeGrid, progressDelayMs, *mime);
    } catch (...) {
        // The formats exported before the failure are still offered.
        if (!mime->formats().isEmpty())
            QGuiApplication::clipboard()->setMimeData(mime.release());
        throw;
    }
    QGuiApplication::clipboard()->setMimeData(mime.release());
}

void CutSelectionToClipboard(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs)
{
    CopySelectionToClipboard(grid, wholeGrid, progressDelayMs);
    DeleteSelectedData(grid, wholeGrid, progressDelayMs);
}

void PasteIntoSelection(TCustomDBGridGx& grid, bool wholeGrid, int progressDelayMs)
{
    const TPasteData data = PasteDataOf(QGuiApplication::clipboard()->mimeData());
    if (data.Format == TPasteFormat::None)
        return;
    TMemoryStream stream;
    stream.WriteBuffer(data.Bytes.constData(), data.Bytes.size());
    stream.SetPosition(0);
    const TDBGridGxImportClass importClass = data.Format == TPasteFormat::VCLDBIF
                                                 ? &ImportClass<TDBGridGxImportAsVCLDBIF>
                                                 : &ImportClass<TDBGridGxImportAsText>;
    const int selected = grid.Selection().SelectionType() == gstRecordBookmarks && !wholeGrid
                             ? grid.SelectedRecords().Count()
                             : -1;
    TLongWorkProgress progress(QStringLiteral("Pasting records..."), selected, true, progressDelayMs);
    int changed = 0;
    try {
        ImportGridFromStream(importClass, grid, stream, wholeGrid, [&](TDBGridGxImport& importer) {
            importer.OnRecordDone = [&](int done, int changedSoFar) {
                changed = changedSoFar;
                return progress.Step(done);
            };
        });
    } catch (const EImportStopped&) {
        MessageDlg("Paste stopped. " + RecordsChangedText(changed).toStdString(), mtInformation, {mbOK});
    }
}

void TDBGridGxClipboardActions::CopySelectionToClipboard(TCustomDBGridGx& grid)
{
    ::CopySelectionToClipboard(grid, false, ProgressDelayMs);
}

void TDBGridGxClipboardActions::CutSelectionToClipboard(TCustomDBGridGx& grid)
{
    ::CutSelectionToClipboard(grid, false, ProgressDelayMs);
}

void TDBGridGxClipboardActions::PasteIntoSelection(TCustomDBGridGx& grid)
{
    ::PasteIntoSelection(grid, false, ProgressDelayMs);
}

std::unique_ptr<QMimeData> TDBGridGxClipboardActions::SelectionDragData(TCustomDBGridGx& grid)
{
    return ::SelectionMimeData(grid, false, ProgressDelayMs);
}

void TDBGridGxClipboardActions::DeleteSelectedData(TCustomDBGridGx& grid)
{
    ::DeleteSelectedData(grid, false, ProgressDelayMs);
}

bool TDBGridGxClipboardActions::ClipboardHasPasteableData() const
{
    return HasPasteableData(QGuiApplication::clipboard()->mimeData());
}
