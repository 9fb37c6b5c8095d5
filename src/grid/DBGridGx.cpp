#include "grid/DBGridGx.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"

#include <QEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
// Option changes that change the layout.
const TDBGridOptions LayoutOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator,
                                   dgColLines, dgRowLines, dgRowSelect, dgAlwaysShowSelection};
}  // namespace

TCustomDBGridGx::TCustomDBGridGx(QWidget* parent) : TCustomGrid(parent)
{
    FDataLink = std::make_unique<TGridDataLinkGx>(this);
    FSelectionModel = std::make_unique<TDBGridGxSelectionModel>(*this);
    FColumnDefValues = std::make_unique<TColumnDefValuesGx>(this);
    FColumns = std::make_unique<TDBGridColumnsGx>(this);
    FFont = TFontGx(QWidget::font());
    FTitleFont = FFont;
    FFooterFont = FFont;
    ApplyGridOptions();
    RequestLayout();
}

TCustomDBGridGx::~TCustomDBGridGx()
{
    FDestroying = true;
    FSelectionModel.reset();
    // Columns first: they report going to the grid, which must still be whole.
    FColumns.reset();
    FDataLink.reset();
}

// ---- settings -------------------------------------------------------------

void TCustomDBGridGx::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetFooterColor(TColor value)
{
    FParentColor = false;
    if (value == FFooterColor)
        return;
    FFooterColor = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetFont(const TFontGx& value)
{
    FParentFont = false;
    FFont = value;
    {
        QScopedValueRollback<bool> applying(FApplyingFont, true);
        QWidget::setFont(value);
    }
    // Columns without a font of their own follow the new one.
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::SetTitleFont(const TFontGx& value)
{
    FParentFont = false;
    if (value == FTitleFont)
        return;
    FTitleFont = value;
    if (FOptions.Contains(dgTitles))
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetFooterFont(const TFontGx& value)
{
    FParentFont = false;
    if (value == FFooterFont)
        return;
    FFooterFont = value;
    if (FFooterRowCount > 0)
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value)
        FollowParentFont();
}

void TCustomDBGridGx::FollowParentFont()
{
    if (testAttribute(Qt::WA_SetFont)) {
        // An empty font lets the widget inherit its parent's font again.
        QScopedValueRollback<bool> applying(FApplyingFont, true);
        QWidget::setFont(QFont());
    }
    FFont = TFontGx(QWidget::font(), FFont.Color());
    FTitleFont = FFont;
    FFooterFont = FFont;
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::changeEvent(QEvent* e)
{
    TCustomGrid::changeEvent(e);
    if (e->type() != QEvent::FontChange || FApplyingFont)
        return;
    if (testAttribute(Qt::WA_SetFont)) {
        // A font set on the widget directly is the grid's own font.
        FParentFont = false;
        FFont = TFontGx(QWidget::font(), FFont.Color());
        TLayoutLockGx lock(this);
    } else if (FParentFont) {
        FollowParentFont();
    }
}

void TCustomDBGridGx::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetDrawMemoText(bool value)
{
    if (value == FDrawMemoText)
        return;
    FDrawMemoText = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetUseMultiTitle(bool value)
{
    if (value == FUseMultiTitle)
        return;
    FUseMultiTitle = value;
    RequestLayout();
}

void TCustomDBGridGx::SetAutoFitColWidths(bool value)
{
    if (value == FAutoFitColWidths)
        return;
    FAutoFitColWidths = value;
    if (value)
        for (const auto& column : *FColumns)
            column->TakeBaseWidth();
    RequestLayout();
}

void TCustomDBGridGx::SetFooterRowCount(int value)
{
    if (value < 0 || value == FFooterRowCount)
        return;
    FFooterRowCount = value;
    RequestLayout();
}

void TCustomDBGridGx::SetTitleImages(TImageList* value)
{
    if (value == FTitleImages)
        return;
    FTitleImages = value;
    WatchImageList(value);
    RequestLayout();
}

void TCustomDBGridGx::SetOptions(TDBGridOptions value)
{
    if (value.Contains(dgRowSelect))
        value -= TDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (value == FOptions)
        return;
    FSelectionModel->OptionsChanging(value);
    TDBGridOptions changed = TDBGridOptions::FromBits(value.Bits() ^ FOptions.Bits());
    FOptions = value;
    ApplyGridOptions();
    if (!(changed * LayoutOptions).Empty())
        RequestLayout();
}

void TCustomDBGridGx::ApplyGridOptions()
{
    TGridOptions options;
    if (FOptions.Contains(dgColLines))
        options += TGridOptions{goFixedVertLine, goVertLine};
    if (FOptions.Contains(dgRowLines))
        options += TGridOptions{goFixedHorzLine, goHorzLine};
    if (FOptions.Contains(dgColumnResize))
        options += TGridOptions{goColSizing, goColMoving};
    if (FOptions.Contains(dgTabs))
        options += goTabs;
    if (FOptions.Contains(dgRowSelect))
        options += goRowSelect;
    if (FOptions.Contains(dgEditing))
        options += goEditing;
    if (FOptions.Contains(dgAlwaysShowEditor))
        options += goAlwaysShowEditor;
    if (FRowSizingAllowed)
        options += goRowSizing;
    TCustomGrid::SetOptions(options);
}

void TCustomDBGridGx::SetOptionsGx(TDBGridGxOptions value)
{
    if (value == FOptionsGx)
        return;
    if (FOptionsGx.Contains(dghMultiSortMarking) && !value.Contains(dghMultiSortMarking)) {
        // Only the first column in sort order keeps its marker.
        while (FSortMarkedColumns.Count() > 1)
            FSortMarkedColumns[FSortMarkedColumns.Count() - 1]->Title()->SetSortMarker(smNoneGx);
    }
    FOptionsGx = value;
    RequestLayout();
}

// ---- layout settings ------------------------------------------------------

void TCustomDBGridGx::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    // The flat look frames the window differently (its client area too).
    ApplyFlatBorder();
    RequestLayout();
}

void TCustomDBGridGx::SetFrozenCols(int value)
{
    if (value < 0 || value == FFrozenCols)
        return;
    FFrozenCols = value;
    RequestLayout();
}

void TCustomDBGridGx::SetRowHeight(int value)
{
    value = std::max(value, 0);
    if (value == FRowHeight)
        return;
    FRowHeight = value;
    RequestLayout();
}

void TCustomDBGridGx::SetRowLines(int value)
{
    value = std::max(value, 0);
    if (value == FRowLines)
        return;
    FRowLines = value;
    RequestLayout();
}

void TCustomDBGridGx::SetTitleHeight(int value)
{
    if (value == FTitleHeight)
        return;
    FTitleHeight = value;
    RequestLayout();
}

void TCustomDBGridGx::SetTitleLines(int value)
{
    if (value == FTitleLines)
        return;
    FTitleLines = value;
    RequestLayout();
}

void TCustomDBGridGx::SetMinAutoFitWidth(int value)
{
    if (value == FMinAutoFitWidth)
        return;
    FMinAutoFitWidth = value;
    RequestLayout();
}

void TCustomDBGridGx::SetRowSizingAllowed(bool value)
{
    if (value == FRowSizingAllowed)
        return;
    FRowSizingAllowed = value;
    ApplyGridOptions();
}

void TCustomDBGridGx::SetVTitleMargin(int value)
{
    if (value == FVTitleMargin)
        return;
    FVTitleMargin = value;
    RequestLayout();
}
