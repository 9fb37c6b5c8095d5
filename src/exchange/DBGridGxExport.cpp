// The export driver: which records and columns a selection kind covers,
// the order of the write operations, and what is restored on the way out.

#include "exchange/DBGridGxExport.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "exchange/ByteArrayStream.h"
#include "exchange/ExportGuards.h"
#include "exchange/SelectionWalk.h"
#include "grid/DBGridGx.h"
#include "platform/Streams.h"

namespace {

// Frees what one run of the driver builds, on every way out of it.
class TExportRunScope {
public:
    TExportRunScope(std::vector<int64_t>& totals, TColumnsGxList& ownedColumns)
        : FTotals(totals), FOwnedColumns(ownedColumns)
    {
    }
    ~TExportRunScope()
    {
        FTotals.clear();
        FTotals.shrink_to_fit();
        FOwnedColumns.Clear();
    }
    TExportRunScope(const TExportRunScope&) = delete;
    TExportRunScope& operator=(const TExportRunScope&) = delete;

private:
    std::vector<int64_t>& FTotals;
    TColumnsGxList& FOwnedColumns;
};

}  // namespace

TDataSet* TDBGridGxExport::DataSet() const
{
    TDataSource* source = Grid ? Grid->DataSource() : nullptr;
    return source ? source->DataSet() : nullptr;
}

int TDBGridGxExport::PixelsPerInch() const
{
    const int ppi = Grid ? Grid->logicalDpiX() : 0;
    return ppi > 0 ? ppi : 96;
}

void TDBGridGxExport::Write(std::string_view bytes) const
{
    FStream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TDBGridGxExport::ExportIntoStream(TStream& stream, bool exportAll)
{
    FStream = &stream;
    const TDBGridGxSelectionType kind = exportAll ? gstAll : Grid->Selection().SelectionType();
    if (kind == gstNon)
        return;
    TDataSet* dataSet = DataSet();
    TExportRunScope run(FFooterTotals, FOwnedColumns);
    {
        TControlsDisabledGuard controls(dataSet);
        TViewPositionGuard view(*Grid);
        SelectExportColumns(kind);
        FFooterTotals.assign(static_cast<size_t>(Grid->FooterRowCount()) * ExportColumns().Count(), 0);
        BeginOutput();
        if (Grid->Options().Contains(dgTitles))
            PutTitleRow(ExportColumns());
        if (dataSet && dataSet->Active())
            ExportRecords(kind, *dataSet);
        // Footers that show the current record's value (and the grid's own
        // footer texts) are read with the user's record current again, as
        // the grid shows them.
        view.Restore();
        for (int row = 0; row < Grid->FooterRowCount(); ++row)
            PutFooterRow(ExportColumns(), row);
    }
    EndOutput();
}

void TDBGridGxExport::ExportIntoFile(const std::string& fileName, bool exportAll)
{
    TFileStream file(fileName, fmCreate);
    ExportIntoStream(file, exportAll);
}

QByteArray TDBGridGxExport::ExportIntoBytes(bool exportAll)
{
    TByteArrayStream stream;
    ExportIntoStream(stream, exportAll);
    return stream.Take();
}

void TDBGridGxExport::SelectExportColumns(TDBGridGxSelectionType kind)
{
    switch (kind) {
    case gstRectangle: {
        TDBGridGxSelectionRect& rect = Grid->Selection().Rect();
        CollectVisibleColumns(*Grid, rect.LeftCol(), rect.RightCol(), FOwnedColumns);
        FExportColumns = &FOwnedColumns;
        break;
    }
    case gstColumns:
        FExportColumns = &Grid->Selection().Cols().Items();
        break;
    default:
        FExportColumns = &Grid->VisibleColumns();
        break;
    }
}

void TDBGridGxExport::ExportRecords(TDBGridGxSelectionType kind, TDataSet& dataSet)
{
    FSizedOutput = dynamic_cast<TByteArrayStream*>(FStream);
    // A filtered dataset counts its records by walking them: not worth it.
    FExpectedRows = !FSizedOutput || kind == gstRectangle ? -1
                    : kind == gstRecordBookmarks          ? Grid->SelectedRecords().Count()
                    : dataSet.Filtered()                  ? -1
                                                          : dataSet.RecordCount();
    FRowsWritten = 0;
    FSizeBeforeRows = FStream->Size();
    switch (kind) {
    case gstRecordBookmarks:
        ExportBookmarkedRecords(dataSet);
        break;
    case gstRectangle:
        ExportRectangle(dataSet);
        break;
    default:
        ExportEveryRecord(dataSet);
        break;
    }
}

void TDBGridGxExport::ExportBookmarkedRecords(TDataSet& dataSet)
{
    const TBookmarkListGx& records = Grid->SelectedRecords();
    for (int i = 0; i < records.Count(); ++i) {
        // A selected record deleted since it was selected is left out
        // rather than ending the export.
        if (!dataSet.BookmarkValid(records[i]))
            continue;
        dataSet.GotoBookmark(records[i]);
        AccumulateFooters();
        PutDataRow(ExportColumns());
        RowWritten();
    }
}

void TDBGridGxExport::ExportRectangle(TDataSet& dataSet)
{
    WalkRectangleRecords(*Grid, dataSet, [this] { ExportCurrentRecord(); });
}

void TDBGridGxExport::ExportEveryRecord(TDataSet& dataSet)
{
    dataSet.First();
    while (!dataSet.Eof()) {
        ExportCurrentRecord();
        dataSet.Next();
    }
}

void TDBGridGxExport::ExportCurrentRecord()
{
    PutDataRow(ExportColumns());
    AccumulateFooters();
    RowWritten();
}

void TDBGridGxExport::RowWritten()
{
    // Enough rows to tell the bytes a row takes, few enough to come before
    // the output has grown far.
    constexpr int64_t SampleRows = 64;
    if (++FRowsWritten != SampleRows || !FSizedOutput || FExpectedRows <= FRowsWritten)
        return;
    const int64_t written = FSizedOutput->Size();
    const int64_t perRow = (written - FSizeBeforeRows + SampleRows - 1) / SampleRows;
    // A little over the estimate, for rows longer than the first ones and
    // for the footers.
    const int64_t rest = perRow * (FExpectedRows - FRowsWritten);
    FSizedOutput->Reserve(written + rest + rest / 16 + 4096);
}

void ExportGridToStream(TDBGridGxExportClass exportClass, TCustomDBGridGx& grid, TStream& stream, bool exportAll)
{
    std::unique_ptr<TDBGridGxExport> exporter = exportClass();
    exporter->Grid = &grid;
    exporter->ExportIntoStream(stream, exportAll);
}
