#pragma once
// TDBGridGxSettings: the data grid's plain settings, those whose change
// needs only a repaint or a layout pass (among them the grid-wide values
// the columns fall back to), the values its layout pass derived, and the
// counters of its layout and update locks.  The values live in the
// grid's state (DBGridGxPrivate.h), which the grid hands over (State()).

#include "grid/DBGridOptionsGx.h"
#include "grid/columns/ColumnsHostGx.h"

#include <string>

class TDBGridGxPrivate;
class TImageList;

class TDBGridGxSettings : public TColumnsHostGx {
public:
    // ---- settings the columns fall back to (fonts, Color, Flat: the grid's)
    bool ParentColor() const;   // while on, the footer colour follows Color
    void SetParentColor(bool value);
    TColor FooterColor() const override;
    void SetFooterColor(TColor value);
    bool ReadOnly() const override;
    void SetReadOnly(bool value);
    bool DrawMemoText() const override;
    void SetDrawMemoText(bool value);
    bool UseMultiTitle() const override;
    void SetUseMultiTitle(bool value);
    TDBGridGxAllowedOperations AllowedOperations() const override;
    void SetAllowedOperations(TDBGridGxAllowedOperations value);
    TImeModeGx ImeMode() const override;
    void SetImeMode(TImeModeGx value);
    const std::string& ImeName() const override;
    void SetImeName(const std::string& value);

    // ---- layout settings
    bool AutoFitColWidths() const;
    void SetAutoFitColWidths(bool value);
    int MinAutoFitWidth() const;
    void SetMinAutoFitWidth(int value);
    int FooterRowCount() const;
    void SetFooterRowCount(int value);
    TImageList* TitleImages() const;
    void SetTitleImages(TImageList* value);
    int FrozenCols() const;   // leading data columns that do not scroll
    void SetFrozenCols(int value);
    // Extra pixels and text lines of a data row, and of the title row.
    int RowHeight() const;
    void SetRowHeight(int value);
    int RowLines() const;
    void SetRowLines(int value);
    int TitleHeight() const;
    void SetTitleHeight(int value);
    int TitleLines() const;
    void SetTitleLines(int value);
    int VTitleMargin() const;   // vertical margin of multi-level title cells
    void SetVTitleMargin(int value);
    // Which clipboard keys and standard edit actions the grid handles.
    TDBGridGxEditActions EditActions() const;
    void SetEditActions(TDBGridGxEditActions value);
    // dmAutomatic on a multi-select grid: a press inside the selection and a
    // move beyond the drag distance drag the selection away.
    TDragMode DragMode() const;
    void SetDragMode(TDragMode value);

    // ---- what the layout pass derived
    bool MultiLine() const;   // data rows hold more than one text line
    int EditButtonWidth() const override;
    int EditButtonHeight() const;
    int TitleRowHeight() const;   // 0 without titles
    int LineMargin() const;       // text to cell edge: 4, or 2 when Flat

    // ---- lock counters (TLayoutLockGx holds the layout lock for a scope)
    int LayoutLock() const;
    int UpdateLock() const;
    bool DeferredLayoutPosted() const;
    int LayoutRequestCount() const;   // since construction
    int LayoutPassCount() const;
    bool DataLayoutChanging() const override;
    // The layout pass rebuilds a row-select grid's rows: nothing is painted.
    bool PaintSuppressed() const;

protected:
    ~TDBGridGxSettings() = default;
    bool MultiSortMarking() const override;
    TDataLink* ColumnsDataLink() const override;

private:
    virtual TDBGridGxPrivate& State() const = 0;
};
