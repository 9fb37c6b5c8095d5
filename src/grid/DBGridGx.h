#pragma once
// TCustomDBGridGx: the data grid.  It holds the column model (Columns,
// ColumnDefValues, the sort-marked columns, the cell-parameter object), the
// grid-wide settings the columns fall back to (Color and FixedColor of the
// base grid, Font, TitleFont, FooterFont, FooterColor, ParentFont,
// ParentColor, ReadOnly, DrawMemoText, UseMultiTitle, AutoFitColWidths,
// FooterRowCount, the option sets), a DataSource through its data link, and
// the update and layout locks with RequestLayout and the deferred layout.
// The layout pass (DBGridGxLayout*.cpp, DBGridGxAutoFit.cpp) derives the
// columns, widths, heights and row window from all of these; painting is in
// DBGridGxPaint*.cpp, the row window and scrolling in DBGridGxRowWindow.cpp
// and DBGridGxScroll.cpp.
//
// The grid's rows show the data link's window of buffered records: grid
// row r >= TitleRows shows buffer r - TitleRows.  With footers, one filler
// row and FooterRowCount footer rows follow the data rows.
//
// Keyboard, mouse, the in-place editor's behaviour, the title tree and the
// footer summaries are built on top of this class (FooterSummaryChanged
// and FooterDestroying are the summaries' hooks).

#include "grid/columns/ColCellParamsGx.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsGxList.h"
#include "grid/columns/DBGridColumnsGx.h"
#include "grid/DBGridOptionsGx.h"
#include "grid/layout/DBGridGxScrollBar.h"
#include "grid/selection/DBGridGxSelectionModel.h"
#include "ui/FontGx.h"
#include "grid/paint/GridPaintResources.h"
#include "grid/paint/ImageList.h"
#include "grid/base/CustomGrid.h"
#include "platform/Color.h"

#include <QPointer>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class TDataSet;
class TDataSource;
class TField;
class TGridDataLinkGx;

class TCustomDBGridGx : public TCustomGrid {
    Q_OBJECT

public:
    explicit TCustomDBGridGx(QWidget* parent = nullptr);
    ~TCustomDBGridGx() override;

    // ---- columns
    TDBGridColumnsGx& Columns() { return *FColumns; }
    const TDBGridColumnsGx& Columns() const { return *FColumns; }
    TColumnDefValuesGx& ColumnDefValues() { return *FColumnDefValues; }
    const TColumnDefValuesGx& ColumnDefValues() const { return *FColumnDefValues; }
    // The sort-marked columns in sort order.
    const TColumnsGxList& SortMarkedColumns() const { return FSortMarkedColumns; }
    // The grid's one cell-parameter object.
    TColCellParamsGx& ColCellParams() { return FColCellParams; }
    // Leading grid columns that are not data columns; grid column = data
    // column + IndicatorCols.
    int IndicatorCols() const { return FIndicatorCols; }
    int TitleRows() const { return FTitleRows; }
    int DataToRawColumn(int dataCol) const { return dataCol + FIndicatorCols; }
    int RawToDataColumn(int rawCol) const { return rawCol - FIndicatorCols; }

    // ---- data
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    TGridDataLinkGx* DataLink() const { return FDataLink.get(); }

    // ---- row window and scrolling
    // The grid row at which the current record's indicator was last painted.
    int IndicatorRow() const { return FIndicatorRow; }
    void SetIndicatorRow(int row) { FIndicatorRow = row; }
    // Invalidates the indicator cell at IndicatorRow (with dgIndicator).
    void InvalidateIndicator();
    // The buffer record a grid row shows, or -1 for title, filler and
    // footer rows and rows beyond the link's records.
    int RecordIndexOfRow(int row) const;
    // Fully visible data rows, the footer block and filler taken off (at
    // least 1 with footers).
    int VisibleDataRowCount() const;
    // Makes the grid's rows match the link's buffer window, fitting the
    // footers below the data rows.
    void UpdateRowWindow();
    // Range, page and position of the vertical scroll bar from the dataset.
    void UpdateVertScrollBar();
    // Puts the current grid row on the current record.
    void SyncCurrentRow();
    // Re-reads the in-place editor's text from its cell.
    void RefreshEditor();
    void InvalidateFooters();
    // The dataset's content or position changed.
    void RefreshFromData();
    // The link's window moved by `distance` rows (positive: towards the end).
    void ScrollRows(int distance);
    // A field of the current record (or, with nullptr, all of it) changed.
    void CurrentRecordChanged(TField* field);
    // Writes the in-place editor's pending text into the current field.
    void WriteEditorToField();
    // Makes the column of `field` current and shows the editor; true when
    // the grid took the request.
    bool FocusField(TField* field);
    // Focuses the grid; true when it or its editor has the focus.
    bool TakeFocus();
    // The field of the current column, or nullptr.
    TField* CurrentField() const;
    // Pixels from the top of one data row to the next.
    int RowPitch() const;
    bool TakeFocusEnabled() const { return FTakeFocusEnabled; }
    void SetTakeFocusEnabled(bool value) { FTakeFocusEnabled = value; }
    // Remember the current record and where the window shows it, and
    // bring both back after a walk over the dataset.
    void SaveViewPosition();
    void RestoreViewPosition();
    TDBGridGxScrollBar& VertScrollBar() { return FVertScrollBar; }
    TDBGridGxScrollBar& HorzScrollBar() { return FHorzScrollBar; }
    const TDBGridGxScrollBar& VertScrollBar() const { return FVertScrollBar; }
    const TDBGridGxScrollBar& HorzScrollBar() const { return FHorzScrollBar; }

    // ---- settings the columns fall back to
    // Color and FixedColor are the base grid's.
    bool ParentColor() const { return FParentColor; }
    // While on, the footer colour follows Color.
    void SetParentColor(bool value);
    TColor FooterColor() const { return FParentColor ? Color() : FFooterColor; }
    void SetFooterColor(TColor value);

    // The data font.  Setting it turns ParentFont off.
    const TFontGx& Font() const { return FFont; }
    void SetFont(const TFontGx& value);
    const TFontGx& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFontGx& value);
    const TFontGx& FooterFont() const { return FFooterFont; }
    void SetFooterFont(const TFontGx& value);
    // While on, the grid's font follows its parent widget's, and the title
    // and footer fonts follow the grid's.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool DrawMemoText() const { return FDrawMemoText; }
    void SetDrawMemoText(bool value);
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool value);
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool value);
    int FooterRowCount() const { return FFooterRowCount; }
    void SetFooterRowCount(int value);
    TDBGridGxAllowedOperations AllowedOperations() const { return FAllowedOperations; }
    void SetAllowedOperations(TDBGridGxAllowedOperations value) { FAllowedOperations = value; }
    TImeModeGx ImeMode() const { return FImeMode; }
    void SetImeMode(TImeModeGx value) { FImeMode = value; }
    const std::string& ImeName() const { return FImeName; }
    void SetImeName(const std::string& value) { FImeName = value; }
    TImageList* TitleImages() const { return FTitleImages; }
    void SetTitleImages(TImageList* value);
    // The flat look: thinner margins, flat buttons and frames.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Leading data columns that do not scroll horizontally.
    int FrozenCols() const { return FFrozenCols; }
    void SetFrozenCols(int value);
    // Extra pixels and text lines of a data row.
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int value);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int value);
    // Extra pixels and text lines of the title row.
    int TitleHeight() const { return FTitleHeight; }
    void SetTitleHeight(int value);
    int TitleLines() const { return FTitleLines; }
    void SetTitleLines(int value);
    int MinAutoFitWidth() const { return FMinAutoFitWidth; }
    void SetMinAutoFitWidth(int value);
    bool RowSizingAllowed() const { return FRowSizingAllowed; }
    void SetRowSizingAllowed(bool value);
    // Vertical margin of multi-level title cells.
    int VTitleMargin() const { return FVTitleMargin; }
    void SetVTitleMargin(int value);
    TDBGridGxEditActions EditActions() const { return FEditActions; }
    void SetEditActions(TDBGridGxEditActions value) { FEditActions = value; }

    // ---- layout state derived by the layout pass
    // The columns whose Visible is true, in collection order.
    const TColumnsGxList& VisibleColumns() const { return FVisibleColumns; }
    // Pixels between a text line and its cell's edges: 4, or 2 when Flat.
    int LineMargin() const { return FFlat ? 2 : 4; }
    // Data rows are high enough for more than one text line (word wrap
    // takes effect only then).
    bool MultiLine() const { return FMultiLine; }
    // Size of one edit button in a data cell.
    int EditButtonWidth() const { return FEditButtonWidth; }
    int EditButtonHeight() const { return FEditButtonHeight; }
    // Height of the title row (0 without titles).
    int TitleRowHeight() const { return FTitleRowHeight; }

    TDBGridOptions Options() const { return FOptions; }
    void SetOptions(TDBGridOptions value);
    TDBGridGxOptions OptionsGx() const { return FOptionsGx; }
    void SetOptionsGx(TDBGridGxOptions value);

    // ---- selection
    // The multi-cell selection with the selected records, the allowed kinds
    // and the operations keyboard, mouse and painting use on them.
    TDBGridGxSelectionModel& SelectionModel() { return *FSelectionModel; }
    TDBGridGxSelection& Selection() { return FSelectionModel->Selection(); }
    TBookmarkListGx& SelectedRecords() { return FSelectionModel->SelectedRecords(); }
    TDBGridGxAllowedSelections AllowedSelections() const { return FSelectionModel->AllowedSelections(); }
    void SetAllowedSelections(TDBGridGxAllowedSelections value) { FSelectionModel->SetAllowedSelections(value); }

    // ---- layout
    // Runs the layout pass now, or when the outermost layout lock goes.
    virtual void RequestLayout();
    void LockLayout();
    void UnlockLayout();
    // Ends a layout lock without running the layout pass.
    void ReleaseLayout();
    // Locks only when no update or layout lock is held.
    bool TryLockLayout();
    void LockUpdate() { ++FUpdateLock; }
    void UnlockUpdate();
    int LayoutLock() const { return FLayoutLock; }
    int UpdateLock() const { return FUpdateLock; }
    // Asks for a layout pass from the event loop (at most one queued).
    void PostDeferredLayout();
    // Posts the deferred layout, then ends a layout lock without a pass.
    void DeferLayout();
    bool DeferredLayoutPosted() const { return FDeferredLayoutPosted; }
    // Layout requests made and layout passes run since construction.
    int LayoutRequestCount() const { return FLayoutRequestCount; }
    int LayoutPassCount() const { return FLayoutPassCount; }
    // Scales the fonts and the column widths by m/d (the program's scaling
    // changed); the widths are scaled as running sums, so the columns
    // together grow exactly by m/d.
    void ChangeScale(int m, int d);

    // True while the dataset announces a change of its fields' layout.
    bool DataLayoutChanging() const { return FDataLayoutChanging; }
    // True while the layout pass rebuilds the row window of a row-select
    // grid: nothing is painted meanwhile.
    bool PaintSuppressed() const { return FPaintSuppressed; }

    // ---- notifications from the column model and the data link
    // The collection's change notification (item null: everything).
    virtual void ColumnsChanged(TColumnGx* item);
    virtual void LinkActiveChanged(bool active);
    // The dataset changed the layout of its fields.
    void DataLayoutChanged();
    // A column's field was destroyed.
    virtual void ColumnFieldFreed(TColumnGx& column);
    virtual void ColumnDestroying(TColumnGx& column);
    // A footer's summary type or field changed, or it goes away; the footer
    // summaries hang on these.
    virtual void FooterSummaryChanged(TColumnFooterGx& footer);
    virtual void FooterDestroying(TColumnFooterGx& footer);
    // Repaints the grid when the image list changes or goes away.
    void WatchImageList(TImageList* list);

    // ---- sort markers (used by the columns' titles)
    void SortMarkerChanging(TColumnGx& column, TSortMarkerGx value);
    void ExchangeSortIndex(TColumnGx& column, int sortIndex);
    // Takes the marker off every column but `except`.
    void ClearSortMarkers(TColumnGx* except);

    // ---- painting
    using TGetCellParamsEventGx = std::function<void(TCustomDBGridGx& sender, TColumnGx& column, TFontGx& font,
                                                     TColor& background, TGridDrawState state)>;
    using TGetBtnParamsEventGx = std::function<void(TCustomDBGridGx& sender, TColumnGx& column, TFontGx& font,
                                                    TColor& background, TSortMarkerGx& sortMarker, bool isDown)>;
    using TGetFooterParamsEventGx =
        std::function<void(TCustomDBGridGx& sender, int dataCol, int row, TColumnGx& column, TFontGx& font,
                           TColor& background, TAlignment& alignment, TGridDrawState state, std::string& text)>;
    using TDrawDataCellEventGx =
        std::function<void(TCustomDBGridGx& sender, const QRect& rect, TField* field, TGridDrawState state)>;
    using TDrawColumnCellEventGx = std::function<void(TCustomDBGridGx& sender, const QRect& rect, int dataCol,
                                                      TColumnGx& column, TGridDrawState state)>;
    using TDrawFooterCellEventGx = std::function<void(TCustomDBGridGx& sender, int dataCol, int row,
                                                      TColumnGx& column, const QRect& rect, TGridDrawState state)>;
    // Data cells: the grid's event, then the column's OnGetCellParams.
    TGetCellParamsEventGx OnGetCellParams;
    // Titles of columns with a field (background and sort marker, then font).
    TGetBtnParamsEventGx OnGetBtnParams;
    // Footer cells while DefaultDrawing; row is the footer row.
    TGetFooterParamsEventGx OnGetFooterParams;
    // After a data cell is drawn: OnDrawDataCell only while the columns are
    // the default ones.
    TDrawDataCellEventGx OnDrawDataCell;
    TDrawColumnCellEventGx OnDrawColumnCell;
    TDrawFooterCellEventGx OnDrawFooterCell;
    // The painter of the paint in progress, for the drawing events.
    using TCustomGrid::Canvas;
    // Whether a data cell is painted highlighted (the cell's text given).
    virtual bool HighlightDataCell(int dataCol, int dataRow, TGridDrawState state, const std::string& text);
    // The text of footer row `footerRow` of a column.
    virtual std::string FooterText(int footerRow, TColumnGx& column);
    // The summary of a sum, average or count footer, as value x 10000;
    // false while the footer has none (the footer summaries supply it).
    virtual bool FooterSummaryValue(const TColumnFooterGx& footer, int64_t& scaledValue);
    // The incremental search the keyboard runs: while active its text is
    // written over the current cell and the indicator shows the search
    // arrow.
    bool IncSearchActive() const { return FIncSearchActive; }
    const std::string& IncSearchText() const { return FIncSearchText; }
    void SetIncSearchState(bool active, const std::string& text);
    // The data column whose title button the mouse holds down (-1: none).
    int PressedTitleCol() const { return FPressedTitleCol; }
    void SetPressedTitleCol(int dataCol);
    // The grid's indicator glyphs and sort markers.
    const TGridImagesGx& PaintImages() const { return FPaintImages; }
    // Frames the client area as the Flat and BorderStyle settings ask: a
    // one-pixel sunken edge for a flat single border.
    void ApplyFlatBorder();

protected:
    // ---- row window and scrolling
    void VScroll(TScrollCode code, int pos) override;
    void HScroll(TScrollCode code, int pos) override;
    bool DoMouseWheelDown(TShiftState shift, const QPoint& pos) override;
    bool DoMouseWheelUp(TShiftState shift, const QPoint& pos) override;
    void TimedScroll(TGridScrollDirections direction) override;
    void CreateWnd() override;
    void Resize() override;
    // True while the grid moves its current row onto the current record
    // (not a user's move, so no dataset move follows).
    bool SyncingRow() const { return FSyncingRow; }

    // The layout pass; runs when the outermost layout lock goes.
    virtual void RebuildLayout();
    // The column step of the layout pass: frees default columns a user
    // column follows, and matches default columns to the dataset's fields.
    void RebuildColumns();
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    // ---- painting
    void Paint() override;
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;

private:
    // ---- row window and scrolling
    void SetRowCountKeepingRow(int count);
    void MoveToRow(int row);
    void ResetRowHeights();
    void FitFooters();
    void MinimalFooterLayout(int fillerHeight);
    bool RecordsNumbered() const;
    void UpdateVertScrollBarFittingColumns();
    void ThumbReleased(TDataSet& dataSet, int pos);
    void ShowThumbAtPosition();
    std::string EditorTextOf(TField& field) const;

    // Gives each data column's grid column its width, as the change
    // notification does.
    void ApplyColumnWidth(TColumnGx& column);
    void MoveOffInvisibleColumn();
    void ApplyGridOptions();
    void FollowParentFont();
    void ImageListChanged();

    // ---- steps of the layout pass
    void DropDeferredLayout();
    void FreeDefaultColumnsBeforeUserColumns();
    void MatchColumnsToFieldMap();
    void RebuildVisibleColumns();
    // Invisible columns inside (and right after) the frozen columns.
    int FrozenInvisibleCount() const;
    void ApplyGridDimensions(int frozenInvisible);
    void LayoutRowHeight();
    // The multi-line flag and the edit-button size, from the row height.
    void LayoutCellMetrics();
    void LayoutTitleHeight();
    // TitleLines and TitleHeight, or the title tree, over the title height.
    void LayoutTitleLines();
    void ApplyScrollBarStyle();
    void ApplyColumnWidths();
    void ApplyTabStops();
    bool IsTabStopColumn(const TColumnGx& column) const;
    // Shares the client width among the auto-fit columns.
    void DistributeAutoFitWidths();
    // The width the auto-fit columns share when the others take othersWidth.
    int AutoFitAvailableWidth(int64_t othersWidth) const;
    void RebuildRowWindow();

    std::unique_ptr<TGridDataLinkGx> FDataLink;
    std::unique_ptr<TDBGridGxSelectionModel> FSelectionModel;
    std::unique_ptr<TColumnDefValuesGx> FColumnDefValues;
    std::unique_ptr<TDBGridColumnsGx> FColumns;
    TColumnsGxList FSortMarkedColumns;
    TColCellParamsGx FColCellParams;

    bool FParentColor = false;
    TColor FFooterColor = clWindow;
    TFontGx FFont;
    TFontGx FTitleFont;
    TFontGx FFooterFont;
    bool FParentFont = true;
    bool FApplyingFont = false;
    bool FReadOnly = false;
    bool FDrawMemoText = false;
    bool FUseMultiTitle = false;
    bool FAutoFitColWidths = false;
    int FFooterRowCount = 0;
    TDBGridGxAllowedOperations FAllowedOperations = AllAllowedOperationsGx;
    TImeModeGx FImeMode = imDontCare;
    std::string FImeName;
    QPointer<TImageList> FTitleImages;
    TDBGridOptions FOptions = DefaultDBGridOptions;
    TDBGridGxOptions FOptionsGx = DefaultDBGridGxOptions;

    bool FFlat = false;
    int FFrozenCols = 0;
    int FRowHeight = 0;
    int FRowLines = 0;
    int FTitleHeight = 0;
    int FTitleLines = 0;
    int FMinAutoFitWidth = 0;
    bool FRowSizingAllowed = false;
    int FVTitleMargin = 10;
    TDBGridGxEditActions FEditActions;

    int FIndicatorCols = 1;
    int FTitleRows = 1;
    TColumnsGxList FVisibleColumns;
    bool FMultiLine = false;
    int FEditButtonWidth = 16;
    int FEditButtonHeight = 16;
    int FTitleRowHeight = 0;

    int FIndicatorRow = -1;
    bool FThumbTracked = false;
    bool FSyncingRow = false;
    TScrollInfo FVertScrollWanted;
    bool FTakeFocusEnabled = true;
    std::string FSavedBookmark;
    int FSavedOffset = 0;
    TDBGridGxScrollBar FVertScrollBar{*this, sbVertical};
    TDBGridGxScrollBar FHorzScrollBar{*this, sbHorizontal};
    uint8_t FUpdateLock = 0;
    uint8_t FLayoutLock = 0;
    bool FDataLayoutChanging = false;
    bool FPaintSuppressed = false;
    bool FDeferredLayoutPosted = false;
    bool FDestroying = false;
    int FLayoutRequestCount = 0;
    int FLayoutPassCount = 0;

    // ---- painting
    TGridImagesGx FPaintImages;
    TTextBitmapUserGx FTextBitmapUser;
    bool FIncSearchActive = false;
    std::string FIncSearchText;
    int FPressedTitleCol = -1;
};

// TDBGridGx: the grid as the program places it.
class TDBGridGx : public TCustomDBGridGx {
    Q_OBJECT

public:
    using TCustomDBGridGx::TCustomDBGridGx;
};

// Holds the grid's layout lock for a scope; the layout pass runs when the
// outermost lock goes.  A null grid holds nothing.
class TLayoutLockGx {
public:
    explicit TLayoutLockGx(TCustomDBGridGx* grid) : FGrid(grid)
    {
        if (FGrid)
            FGrid->LockLayout();
    }
    // Unwinding from a failure only releases the lock; the layout pass
    // runs when the scope ends normally.
    ~TLayoutLockGx() noexcept(false)
    {
        if (!FGrid)
            return;
        if (std::uncaught_exceptions() > FUncaught)
            FGrid->ReleaseLayout();
        else
            FGrid->UnlockLayout();
    }
    TLayoutLockGx(const TLayoutLockGx&) = delete;
    TLayoutLockGx& operator=(const TLayoutLockGx&) = delete;

private:
    TCustomDBGridGx* FGrid;
    int FUncaught = std::uncaught_exceptions();
};
