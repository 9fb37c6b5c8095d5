#pragma once
// TDBGridGxRowWindow: the data grid's rows as a window on the dataset: the
// grid's rows follow the data link's buffer of records, the footers are
// fitted below the data rows, the current row follows the current record,
// and the vertical scroll bar shows where the window stands.  The grid and
// its data link use one for each such step (RowWindowOf).

#include <cstdint>

class TCustomDBGridGx;
class TDataSet;
class TDBGridGxPrivate;
class TDBSumListProducer;

class TDBGridGxRowWindow {
public:
    TDBGridGxRowWindow(TCustomDBGridGx& grid, TDBGridGxPrivate& state) : FGrid(grid), D(state) {}

    // ---- which rows show records
    // The buffer record a grid row shows, or -1 (title, filler, footer rows).
    int RecordIndexOfRow(int row) const;
    // Fully visible data rows, the footer block and filler taken off.
    int VisibleDataRowCount() const;
    int RowPitch() const;   // from the top of one data row to the next
    // The grid row at which the current record's indicator was last painted.
    int IndicatorRow() const;
    void SetIndicatorRow(int row);
    // Whether the current row is being moved to follow the record (not by the user).
    bool SyncingRow() const;

    // ---- keeping the rows in step

    // Makes the grid's rows match the link's buffer window, fitting the
    // footers below the data rows.
    void UpdateRowWindow();
    // Puts the current grid row on the current record.
    void SyncCurrentRow();
    // The dataset's content or position changed.
    void RefreshFromData();
    // The link's window moved by `distance` rows (positive: to the end).
    void ScrollRows(int distance);
    // Range, page and position of the vertical scroll bar from the dataset.
    void UpdateVertScrollBar();
    void InvalidateFooters();
    // Invalidates the indicator cell at IndicatorRow (with dgIndicator).
    void InvalidateIndicator();
    // The thumb was let go at `pos`: the dataset moves there.
    void ThumbReleased(TDataSet& dataSet, int pos);
    void ShowThumbAtPosition();
    // Whether the bar can show record numbers: the dataset's own, or the
    // summary list's for a dataset without them.
    bool RecordsNumbered() const;
    int64_t RecordNumber() const;
    int64_t RecordTotal() const;
    void GoToRecordNumber(int64_t recNo);

private:
    TDBSumListProducer* NumberingList() const;
    void MoveToRow(int row);
    void SetRowCountKeepingRow(int count);
    void ResetRowHeights();
    void FitFooters();
    void MinimalFooterLayout(int fillerHeight);
    void UpdateVertScrollBarFittingColumns();

    TCustomDBGridGx& FGrid;
    TDBGridGxPrivate& D;
};

// The row window of a grid, for the grid's own files.
TDBGridGxRowWindow RowWindowOf(TCustomDBGridGx& grid);
