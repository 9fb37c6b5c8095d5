#pragma once
// TDBGridGxExport: writes the part of a grid its selection covers (or the
// whole grid) through a fixed sequence of virtual write operations, which
// each format overrides.  The driver, ExportIntoStream, walks the records
// and columns:
//
//   BeginOutput
//   PutTitleRow                 with dgTitles
//   PutDataRow  (per record)    -> PutDataCell per column
//   PutFooterRow (per footer)   -> PutFooterCell per column
//   EndOutput                   only when nothing failed
//
// While it walks, the dataset's controls are disabled and the grid's view
// position is saved; both come back on every way out, failures included.
// An exporter serves one export: create it, set Grid, run it once, free it.

#include "grid/columns/ColCellParamsGx.h"
#include "grid/columns/ColumnsGxList.h"
#include "ui/FontGx.h"
#include "grid/selection/SelectionTypesGx.h"
#include "platform/Color.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TByteArrayStream;
class TColumnGx;
class TCustomDBGridGx;
class TDataSet;
class TField;
class TStream;

class TDBGridGxExport {
public:
    TDBGridGxExport() = default;
    virtual ~TDBGridGxExport() = default;
    TDBGridGxExport(const TDBGridGxExport&) = delete;
    TDBGridGxExport& operator=(const TDBGridGxExport&) = delete;

    // The grid whose contents are exported; not owned.
    TCustomDBGridGx* Grid = nullptr;

    // Writes the grid's selection (or with exportAll every record and
    // visible column) to the stream.  No selection writes nothing.
    virtual void ExportIntoStream(TStream& stream, bool exportAll);
    // Creates the file (truncating an existing one), exports into it and
    // closes it, also on failure (the partial content stays).
    virtual void ExportIntoFile(const std::string& fileName, bool exportAll);
    // Exports into memory and hands the bytes over in one block, the form
    // the clipboard takes them in.
    virtual QByteArray ExportIntoBytes(bool exportAll);

protected:
    virtual void BeginOutput() {}
    virtual void EndOutput() {}
    virtual void PutTitleRow(const TColumnsGxList& columns) {}
    // Fills the cell parameters of each column and calls PutDataCell.
    virtual void PutDataRow(const TColumnsGxList& columns);
    virtual void PutDataCell(TColumnGx& column, TColCellParamsGx& params) {}
    // Works out each column's footer text, font, colour and alignment and
    // calls PutFooterCell.
    virtual void PutFooterRow(const TColumnsGxList& columns, int footerRow);
    virtual void PutFooterCell(int position, int footerRow, TColumnGx& column, const TFontGx& font,
                               TColor background, TAlignment alignment, const std::string& text)
    {
    }

    // The output of the export in progress; valid inside the driver.
    TStream& Stream() const { return *FStream; }
    void Write(std::string_view bytes) const;
    // The columns being exported, in output order.
    const TColumnsGxList& ExportColumns() const { return *FExportColumns; }
    // The dataset of the grid, or null.
    TDataSet* DataSet() const;
    // The horizontal pixels per inch of the grid's screen.
    int PixelsPerInch() const;

    // The look and text of the footer of row footerRow of the export column
    // at this position, after the grid's OnGetFooterParams.
    struct TFooterCell {
        TFontGx Font;
        TColor Background = clWindow;
        TAlignment Alignment = taLeftJustify;
        std::string Text;
    };
    TFooterCell FooterCell(TColumnGx& column, int position, int footerRow) const;
    // The text of a sum or count footer over the exported records.
    std::string ExportFooterText(int footerRow, int position) const;
    int64_t FooterTotal(int footerRow, int position) const;

    TColCellParamsGx CellParams;

private:
    // Walks the records of one selection kind.
    void ExportRecords(TDBGridGxSelectionType kind, TDataSet& dataSet);
    void ExportBookmarkedRecords(TDataSet& dataSet);
    void ExportRectangle(TDataSet& dataSet);
    void ExportEveryRecord(TDataSet& dataSet);
    void ExportCurrentRecord();
    // Counts a data row written; after the first few, sizes an output in
    // memory for the rows still to come.
    void RowWritten();
    // Chooses ExportColumns for the kind.
    void SelectExportColumns(TDBGridGxSelectionType kind);
    // Adds the current record's values to the sum and count totals.
    void AccumulateFooters();
    // The field a footer of a column sums or counts, or null.
    TField* FooterField(const TColumnGx& column, int footerRow) const;

    TStream* FStream = nullptr;
    // The output when it is memory that can be sized ahead, the rows the
    // export will write (-1 when not known), the rows written and the
    // output's size before the first of them.
    TByteArrayStream* FSizedOutput = nullptr;
    int64_t FExpectedRows = -1;
    int64_t FRowsWritten = 0;
    int64_t FSizeBeforeRows = 0;
    const TColumnsGxList* FExportColumns = nullptr;
    TColumnsGxList FOwnedColumns;
    std::vector<int64_t> FFooterTotals;
};

// Makes one exporter of a format.
using TDBGridGxExportClass = std::unique_ptr<TDBGridGxExport> (*)();

template <class TExporter>
std::unique_ptr<TDBGridGxExport> ExportClass()
{
    return std::make_unique<TExporter>();
}

// Creates an exporter of the class, runs it over the grid into the stream
// and frees it, also when the export fails.
void ExportGridToStream(TDBGridGxExportClass exportClass, TCustomDBGridGx& grid, TStream& stream,
                        bool exportAll);
