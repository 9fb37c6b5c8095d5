#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "platform/ScopeGuard.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <QEvent>

#include <algorithm>

namespace {
// Option changes that change the layout.
const TDBGridOptions LayoutOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator,
                                   dgColLines, dgRowLines, dgRowSelect, dgAlwaysShowSelection};
}  // namespace

TCustomDBGridGx::TCustomDBGridGx(QWidget* parent)
    : TCustomGrid(parent), D(std::make_unique<TDBGridGxPrivate>(*this))
{
    D->FKeyboard = std::make_unique<TDBGridGxKeyboard>(*this);
    D->FMouse = std::make_unique<TDBGridGxMouse>(*this);
    D->FEditorHost = std::make_unique<TDBGridGxEditorHost>(*this);
    D->FTitleTree = std::make_unique<TDBGridGxTitleTree>(*this);
    D->FFooterSummaries = std::make_unique<TDBGridGxFooterSummaries>(*this);
    D->FDataLink = std::make_unique<TGridDataLinkGx>(this);
    D->FSelectionModel = std::make_unique<TDBGridGxSelectionModel>(*this);
    D->FColumnDefValues = std::make_unique<TColumnDefValuesGx>(this);
    D->FColumns = std::make_unique<TDBGridColumnsGx>(this);
    D->FFont = TFontGx(QWidget::font());
    D->FTitleFont = D->FFont;
    D->FFooterFont = D->FFont;
    // Text typed through an input method reaches the grid as characters.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    ApplyGridOptions();
    RequestLayout();
}

TCustomDBGridGx::~TCustomDBGridGx()
{
    D->FDestroying = true;
    D->FSelectionModel.reset();
    // Columns first: they report going to the grid, which must still be whole.
    D->FColumns.reset();
    D->FDataLink.reset();
}

// ---- settings -------------------------------------------------------------

void TCustomDBGridGx::SetFont(const TFontGx& value)
{
    D->FParentFont = false;
    D->FFont = value;
    {
        TValueRollback<bool> applying(D->FApplyingFont, true);
        QWidget::setFont(value);
    }
    // Columns without a font of their own follow the new one.
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::SetTitleFont(const TFontGx& value)
{
    D->FParentFont = false;
    if (value == D->FTitleFont)
        return;
    D->FTitleFont = value;
    if (D->FOptions.Contains(dgTitles))
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetFooterFont(const TFontGx& value)
{
    D->FParentFont = false;
    if (value == D->FFooterFont)
        return;
    D->FFooterFont = value;
    if (D->FFooterRowCount > 0)
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetParentFont(bool value)
{
    if (value == D->FParentFont)
        return;
    D->FParentFont = value;
    if (value)
        FollowParentFont();
}

void TCustomDBGridGx::FollowParentFont()
{
    if (testAttribute(Qt::WA_SetFont)) {
        // An empty font lets the widget inherit its parent's font again.
        TValueRollback<bool> applying(D->FApplyingFont, true);
        QWidget::setFont(QFont());
    }
    D->FFont = TFontGx(QWidget::font(), D->FFont.Color());
    D->FTitleFont = D->FFont;
    D->FFooterFont = D->FFont;
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::changeEvent(QEvent* e)
{
    TCustomGrid::changeEvent(e);
    if (e->type() != QEvent::FontChange || D->FApplyingFont)
        return;
    if (testAttribute(Qt::WA_SetFont)) {
        // A font set on the widget directly is the grid's own font.
        D->FParentFont = false;
        D->FFont = TFontGx(QWidget::font(), D->FFont.Color());
        TLayoutLockGx lock(this);
    } else if (D->FParentFont) {
        FollowParentFont();
    }
}

void TCustomDBGridGx::SetOptions(TDBGridOptions value)
{
    if (value.Contains(dgRowSelect))
        value -= TDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (value == D->FOptions)
        return;
    D->FSelectionModel->OptionsChanging(value);
    TDBGridOptions changed = TDBGridOptions::FromBits(value.Bits() ^ D->FOptions.Bits());
    D->FOptions = value;
    ApplyGridOptions();
    if (!(changed * LayoutOptions).Empty())
        RequestLayout();
}

void TCustomDBGridGx::ApplyGridOptions()
{
    TGridOptions options;
    if (D->FOptions.Contains(dgColLines))
        options += TGridOptions{goFixedVertLine, goVertLine};
    if (D->FOptions.Contains(dgRowLines))
        options += TGridOptions{goFixedHorzLine, goHorzLine};
    if (D->FOptions.Contains(dgColumnResize))
        options += TGridOptions{goColSizing, goColMoving};
    if (D->FOptions.Contains(dgTabs))
        options += goTabs;
    if (D->FOptions.Contains(dgRowSelect))
        options += goRowSelect;
    if (D->FOptions.Contains(dgEditing))
        options += goEditing;
    if (D->FOptions.Contains(dgAlwaysShowEditor))
        options += goAlwaysShowEditor;
    if (D->FRowSizingAllowed)
        options += goRowSizing;
    TCustomGrid::SetOptions(options);
}

void TCustomDBGridGx::SetOptionsGx(TDBGridGxOptions value)
{
    if (value == D->FOptionsGx)
        return;
    if (D->FOptionsGx.Contains(dghMultiSortMarking) && !value.Contains(dghMultiSortMarking)) {
        // Only the first column in sort order keeps its marker.
        D->FColumns->KeepOneSortMarker();
    }
    D->FOptionsGx = value;
    RequestLayout();
}

// ---- layout settings ------------------------------------------------------

void TCustomDBGridGx::SetFlat(bool value)
{
    if (value == D->FFlat)
        return;
    D->FFlat = value;
    // The flat look frames the window differently (its client area too).
    ApplyFlatBorder();
    RequestLayout();
}

void TCustomDBGridGx::SetRowSizingAllowed(bool value)
{
    if (value == D->FRowSizingAllowed)
        return;
    D->FRowSizingAllowed = value;
    ApplyGridOptions();
}
