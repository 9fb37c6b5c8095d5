#pragma once
// TColumnsHostGx: what the column model (columns, titles, footers, the
// grid-wide defaults) asks of the control that shows it, the way an item
// model asks nothing of its views but through an interface.  The data
// grid implements it; a collection with no host holds columns that stand
// alone and fall back to fixed values.

#include "grid/DBGridOptionsGx.h"
#include "grid/columns/ColumnTypesGx.h"
#include "ui/FontGx.h"
#include "platform/Color.h"

#include <string>

class TColumnDefValuesGx;
class TColumnFooterGx;
class TColumnGx;
class TDataLink;
class TImageList;

class TColumnsHostGx {
public:
    // ---- what an unassigned setting falls back to
    virtual const TColumnDefValuesGx& ColumnDefValues() const = 0;
    virtual TColor Color() const = 0;
    virtual TColor FixedColor() const = 0;
    virtual TColor FooterColor() const = 0;
    virtual const TFontGx& Font() const = 0;
    virtual const TFontGx& TitleFont() const = 0;
    virtual const TFontGx& FooterFont() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual bool DrawMemoText() const = 0;
    virtual bool UseMultiTitle() const = 0;
    virtual bool Flat() const = 0;
    virtual TImeModeGx ImeMode() const = 0;
    virtual const std::string& ImeName() const = 0;
    virtual TDBGridGxAllowedOperations AllowedOperations() const = 0;
    // Several columns may carry a sort marker at once.
    virtual bool MultiSortMarking() const = 0;
    virtual int DefaultColWidth() const = 0;
    virtual int EditButtonWidth() const = 0;

    // ---- data and state
    // The link to the shown dataset (never null while the host lives).
    virtual TDataLink* ColumnsDataLink() const = 0;
    // The host is on screen (widths are measured only then).
    virtual bool HandleAllocated() const = 0;
    // The dataset announces a change of its fields' layout right now.
    virtual bool DataLayoutChanging() const = 0;

    // ---- notifications from the model
    // A column changed (item null: everything).
    virtual void ColumnsChanged(TColumnGx* item) = 0;
    virtual void ColumnFieldFreed(TColumnGx& column) = 0;
    virtual void ColumnDestroying(TColumnGx& column) = 0;
    // A footer's summary type or field changed, or it goes away.
    virtual void FooterSummaryChanged(TColumnFooterGx& footer) = 0;
    virtual void FooterDestroying(TColumnFooterGx& footer) = 0;
    // Repaint when the image list changes or goes away.
    virtual void WatchImageList(TImageList* list) = 0;
    // A change that needs the layout pass, or only a repaint.
    virtual void RequestLayout() = 0;
    virtual void InvalidateGrid() = 0;
    // The layout lock (see LayoutLockGx.h).
    virtual void LockLayout() = 0;
    virtual void UnlockLayout() = 0;
    virtual void ReleaseLayout() = 0;

protected:
    ~TColumnsHostGx() = default;
};
