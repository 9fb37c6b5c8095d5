#pragma once
// TCustomDBGridGx: the data grid.  It shows a DataSource's records in its
// Columns, under titles and over footers, and holds the grid-wide settings
// the columns fall back to until they set their own (it is their
// TColumnsHostGx).  This header lists what a program using the grid calls;
// the state lives in TDBGridGxPrivate (DBGridGxPrivate.h), and each
// behaviour is one member object with a file pair of its own: keyboard,
// mouse and in-place editor host (input/), title tree (titles/), footer
// summaries (footers/), selection (selection/).  docs/grid-map.md maps them.
//
// The grid's rows show the data link's window of buffered records: grid
// row r >= TitleRows shows buffer r - TitleRows.  With footers, one filler
// row and FooterRowCount footer rows follow the data rows.

#include "grid/DBGridGxEvents.h"
#include "grid/DBGridGxSettings.h"
#include "grid/base/CustomGrid.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/DBGridColumnsGx.h"
#include "grid/input/DBGridGxMouseEvents.h"
#include "grid/layout/DBGridGxScrollBar.h"
#include "grid/layout/LayoutLockGx.h"
#include "grid/selection/DBGridGxSelectionModel.h"

#include <cstdint>
#include <memory>
#include <string>

class TDataSet;
class TDataSource;
class TDBGridGxEditorHost;
class TDBGridGxFooterSummaries;
class TDBGridGxKeyboard;
class TDBGridGxMouse;
class TDBGridGxPrivate;
class TDBGridGxTitleTree;
class TField;
class QInputMethodEvent;
class TGridClipboardActionsGx;
class TGridDataLinkGx;
class TGridImagesGx;

class TCustomDBGridGx : public TCustomGrid, public TDBGridGxSettings,
                        public TDBGridGxPaintEvents, public TDBGridGxInputEvents, public TDBGridGxMouseEvents {
    Q_OBJECT

public:
    explicit TCustomDBGridGx(QWidget* parent = nullptr);
    ~TCustomDBGridGx() override;

    // ---- columns
    TDBGridColumnsGx& Columns();
    const TDBGridColumnsGx& Columns() const;
    TColumnDefValuesGx& ColumnDefValues();
    const TColumnDefValuesGx& ColumnDefValues() const override;
    const TColumnsGxList& SortMarkedColumns() const;   // in sort order
    const TColumnsGxList& VisibleColumns() const;      // in collection order
    // The one cell-parameter object, handed to the cell-parameter events.
    TColCellParamsGx& ColCellParams();
    // Leading grid columns that are not data columns (the indicator).
    int IndicatorCols() const;
    int TitleRows() const;
    int DataToRawColumn(int dataCol) const;
    int RawToDataColumn(int rawCol) const;

    // ---- data
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* value);
    TGridDataLinkGx* DataLink() const;
    TField* CurrentField() const;   // of the current column, or nullptr

    // ---- rows on screen (which record a row shows: layout/DBGridGxRowWindow.h)
    // The current record and its window row, kept across a walk over the data.
    void SaveViewPosition();
    void RestoreViewPosition();
    TDBGridGxScrollBar& VertScrollBar();
    TDBGridGxScrollBar& HorzScrollBar();
    const TDBGridGxScrollBar& VertScrollBar() const;
    const TDBGridGxScrollBar& HorzScrollBar() const;
    // Whether the data link may move the keyboard focus into the grid.
    bool TakeFocusEnabled() const;
    void SetTakeFocusEnabled(bool value);

    // ---- settings the columns fall back to (the others: DBGridGxSettings.h)
    TColor Color() const override { return TCustomGrid::Color(); }
    TColor FixedColor() const override { return TCustomGrid::FixedColor(); }
    int DefaultColWidth() const override { return TCustomGrid::DefaultColWidth(); }
    const TFontGx& Font() const override;   // setting it turns ParentFont off
    void SetFont(const TFontGx& value);
    const TFontGx& TitleFont() const override;
    void SetTitleFont(const TFontGx& value);
    const TFontGx& FooterFont() const override;
    void SetFooterFont(const TFontGx& value);
    // On: the font follows the parent's, title and footer fonts the grid's.
    bool ParentFont() const;
    void SetParentFont(bool value);
    bool Flat() const override;   // thinner margins, flat buttons and frames
    void SetFlat(bool value);
    bool RowSizingAllowed() const;
    void SetRowSizingAllowed(bool value);
    TDBGridOptions Options() const;
    void SetOptions(TDBGridOptions value);
    TDBGridGxOptions OptionsGx() const;
    void SetOptionsGx(TDBGridGxOptions value);

    // ---- selection
    TDBGridGxSelectionModel& SelectionModel();
    TDBGridGxSelection& Selection();
    TBookmarkListGx& SelectedRecords();
    TDBGridGxAllowedSelections AllowedSelections() const;
    void SetAllowedSelections(TDBGridGxAllowedSelections value);

    // ---- layout and update locks (the counters: DBGridGxSettings.h)
    // Runs the layout pass now, or when the outermost layout lock goes.
    void RequestLayout() override;
    void LockLayout() override;
    void UnlockLayout() override;
    void ReleaseLayout() override;   // ends a lock without a layout pass
    bool TryLockLayout();            // only when no lock is held
    void LockUpdate();
    void UnlockUpdate();
    void PostDeferredLayout();   // a layout pass from the event loop
    // Scales fonts and widths by m/d (widths as running sums: exact in total).
    void ChangeScale(int m, int d);

    // ---- painting (the painting events: DBGridGxEvents.h)
    using TCustomGrid::Canvas;   // the painter of the paint in progress
    virtual bool HighlightDataCell(int dataCol, int dataRow, TGridDrawState state, const std::string& text);
    virtual std::string FooterText(int footerRow, TColumnGx& column);
    // A sum, average or count footer's value x 10000, from the summaries.
    virtual bool FooterSummaryValue(const TColumnFooterGx& footer, int64_t& scaledValue);

    // ---- the behaviours, one member object each
    TDBGridGxKeyboard& Keyboard();
    TDBGridGxMouse& Mouse();
    TDBGridGxEditorHost& EditorHost();
    TDBGridGxTitleTree& TitleTree();
    TDBGridGxFooterSummaries& FooterSummaries();
    // Copy, cut, paste and delete of the selection (null: none installed);
    // their enabling tests are in input/DBGridGxEditActions.h.
    TGridClipboardActionsGx* ClipboardActions() const;
    void SetClipboardActions(std::unique_ptr<TGridClipboardActionsGx> value);
    void SelectColumn(int gridCol, int direction, bool extend);   // input/DBGridGxSelectColumn.h

    // ---- the column model's notifications (TColumnsHostGx)
    void ColumnsChanged(TColumnGx* item) override;
    void ColumnFieldFreed(TColumnGx& column) override;
    void ColumnDestroying(TColumnGx& column) override;
    void FooterSummaryChanged(TColumnFooterGx& footer) override;   // to the summaries
    void FooterDestroying(TColumnFooterGx& footer) override;
    void WatchImageList(TImageList* list) override;
    void InvalidateGrid() override { TCustomGrid::InvalidateGrid(); }
    bool HandleAllocated() const override { return TCustomGrid::HandleAllocated(); }

protected:
    // Handed to the behaviours first; what they leave goes to the cell grid.
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(QString& key) override;
    void KeyUp(int& key, TShiftState shift) override;
    void HandleChar(QString& key) override;
    void inputMethodEvent(QInputMethodEvent* e) override;   // committed text as typed
    bool CanEditShow() const override;
    bool CanEditModify() override;
    bool CanEditAcceptKey(const QString& key) const override;
    void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) override;
    TInplaceEdit* CreateEditor() override;
    QString GetEditText(int col, int row) override;   // these four: the editor host's
    void SetEditText(int col, int row, const QString& value) override;
    QString GetEditMask(int col, int row) override;
    int GetEditLimit() override;
    // The cell grid's mouse hooks, passed on to the mouse (input/DBGridGxMouseHooks.cpp).
    TGridState CalcSizingState(int x, int y, int& index, int& sizingPos, int& sizingOfs,
                               const TGridDrawInfo& drawInfo) const override;
    QCursor CursorAt(int x, int y) const override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void CancelMode() override;
    void DoExit() override;
    // A descendant puts its own behaviour classes in.
    void SetKeyboard(std::unique_ptr<TDBGridGxKeyboard> value);
    void SetMouse(std::unique_ptr<TDBGridGxMouse> value);
    void SetEditorHost(std::unique_ptr<TDBGridGxEditorHost> value);
    void SetTitleTree(std::unique_ptr<TDBGridGxTitleTree> value);
    void SetFooterSummaries(std::unique_ptr<TDBGridGxFooterSummaries> value);

    void VScroll(TScrollCode code, int pos) override;
    void HScroll(TScrollCode code, int pos) override;
    void TopLeftChanged() override;   // also takes a tip away
    bool DoMouseWheelDown(TShiftState shift, const QPoint& pos) override;
    bool DoMouseWheelUp(TShiftState shift, const QPoint& pos) override;
    void TimedScroll(TGridScrollDirections direction) override;
    void CreateWnd() override;
    void Resize() override;
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;   // a left press under automatic drag mode
    void changeEvent(QEvent* e) override;
    void Paint() override;
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
    virtual void LinkActiveChanged(bool active);
    virtual void RebuildLayout();   // the layout pass (layout/)

private:
    // The grid's own parts: its state, data link, painter, layout pass, rows.
    friend class TDBGridGxPrivate;
    friend class TGridDataLinkGx;
    friend class TDBGridGxCellPainter;
    friend class TDBGridGxLayoutPass;
    friend class TDBGridGxRowWindow;
    friend class TDBGridGxKeyboard;
    friend class TDBGridGxMouse;

    // ---- for the data link
    void CurrentRecordChanged(TField* field);   // nullptr: the whole record
    void DataLayoutChanged();
    void WriteEditorToField();
    bool FocusField(TField* field);   // true when the grid took the request
    bool TakeFocus();                 // true when the grid or its editor has it
    // ---- for the painter, the layout pass and the row window
    const TGridImagesGx& PaintImages() const;
    void ApplyFlatBorder();   // the frame Flat and BorderStyle ask for
    void RefreshEditor();     // re-reads the editor's text from its cell
    void DeferLayout();       // posts the deferred layout, ends a lock without a pass
    void MoveOffInvisibleColumn();
    void ApplyGridOptions();
    void FollowParentFont();
    void ImageListChanged();

    TDBGridGxPrivate& State() const override { return *D; }

    std::unique_ptr<TDBGridGxPrivate> D;
};

// TDBGridGx: the grid as the program places it.
class TDBGridGx : public TCustomDBGridGx {
    Q_OBJECT

public:
    using TCustomDBGridGx::TCustomDBGridGx;
};
