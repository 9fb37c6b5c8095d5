#pragma once
// TCustomDBGridGx: the data grid.  It holds the column model (Columns,
// ColumnDefValues, the sort-marked columns, the cell-parameter object), the
// grid-wide settings the columns fall back to (Color and FixedColor of the
// base grid, Font, TitleFont, FooterFont, FooterColor, ParentFont,
// ParentColor, ReadOnly, DrawMemoText, UseMultiTitle, AutoFitColWidths,
// FooterRowCount, the option sets), a DataSource through its data link, and
// the update and layout locks with RequestLayout and the deferred layout.
//
// The layout pass (RebuildLayout) so far: IndicatorCols and TitleRows from
// the options, the column step (RebuildColumns: default columns freed when a
// user column follows them, default columns matched to the dataset's visible
// fields, cached fields of user columns dropped), the grid's column count,
// fixed columns and rows, and the column widths.  Deliberately left to the
// work built on this class: the field map and the row window with its
// scrolling and footer fitting, the visible-columns list, frozen columns and
// tab stops, row and title heights, the edit-button size and multi-line
// flag, auto-fit distribution, scaling, painting, keyboard and mouse, the
// in-place editor, the selection, the title tree and the footer summaries
// (FooterSummaryChanged and FooterDestroying are their hooks).

#include "grid/ColCellParamsGx.h"
#include "grid/ColumnDefValuesGx.h"
#include "grid/ColumnsGxList.h"
#include "grid/DBGridColumnsGx.h"
#include "grid/DBGridOptionsGx.h"
#include "grid/DBGridGxSelectionModel.h"
#include "grid/FontGx.h"
#include "grid/ImageList.h"
#include "grid/base/CustomGrid.h"
#include "platform/Color.h"

#include <QPointer>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

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
    bool DeferredLayoutPosted() const { return FDeferredLayoutPosted; }
    // Layout requests made and layout passes run since construction.
    int LayoutRequestCount() const { return FLayoutRequestCount; }
    int LayoutPassCount() const { return FLayoutPassCount; }

    // True while the dataset announces a change of its fields' layout.
    bool DataLayoutChanging() const { return FDataLayoutChanging; }

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

protected:
    // The layout pass; runs when the outermost layout lock goes.
    virtual void RebuildLayout();
    // The column step of the layout pass: frees default columns a user
    // column follows, and matches default columns to the dataset's fields.
    void RebuildColumns();
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // Gives each data column's grid column its width, as the change
    // notification does.
    void ApplyColumnWidth(TColumnGx& column);
    void MoveOffInvisibleColumn();
    void ApplyGridOptions();
    void FollowParentFont();
    void ImageListChanged();

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

    int FIndicatorCols = 1;
    int FTitleRows = 1;
    uint8_t FUpdateLock = 0;
    uint8_t FLayoutLock = 0;
    bool FDataLayoutChanging = false;
    bool FDeferredLayoutPosted = false;
    bool FDestroying = false;
    int FLayoutRequestCount = 0;
    int FLayoutPassCount = 0;
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
