#pragma once
// TDBGridGxPrivate: the data grid's state and its behaviour objects.  Only
// the grid's own files (and tests of its parts) include this header; a
// program using the grid sees DBGridGx.h alone.

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/footers/DBGridGxFooterSummaries.h"
#include "grid/input/GridClipboardActionsGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxMouse.h"
#include "grid/paint/GridPaintResources.h"
#include "grid/paint/ImageList.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <QPointer>

#include <cstdint>
#include <memory>
#include <string>

class TDBGridGxPrivate {
public:
    explicit TDBGridGxPrivate(TCustomDBGridGx& grid)
        : FVertScrollBar(grid, sbVertical), FHorzScrollBar(grid, sbHorizontal)
    {
    }
    TDBGridGxPrivate(const TDBGridGxPrivate&) = delete;
    TDBGridGxPrivate& operator=(const TDBGridGxPrivate&) = delete;

    // The state of a grid, for the grid's parts.
    static TDBGridGxPrivate& Of(TCustomDBGridGx& grid) { return *grid.D; }

    std::unique_ptr<TDBGridGxKeyboard> FKeyboard;
    std::unique_ptr<TDBGridGxMouse> FMouse;
    std::unique_ptr<TDBGridGxEditorHost> FEditorHost;
    std::unique_ptr<TDBGridGxTitleTree> FTitleTree;
    std::unique_ptr<TDBGridGxFooterSummaries> FFooterSummaries;
    std::unique_ptr<TGridClipboardActionsGx> FClipboardActions;   // none until installed
    std::unique_ptr<TGridDataLinkGx> FDataLink;
    std::unique_ptr<TDBGridGxSelectionModel> FSelectionModel;
    std::unique_ptr<TColumnDefValuesGx> FColumnDefValues;
    std::unique_ptr<TDBGridColumnsGx> FColumns;
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
    TDragMode FDragMode = dmManual;

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
    TDBGridGxScrollBar FVertScrollBar;
    TDBGridGxScrollBar FHorzScrollBar;
    uint8_t FUpdateLock = 0;
    uint8_t FLayoutLock = 0;
    bool FDataLayoutChanging = false;
    bool FPaintSuppressed = false;
    bool FDeferredLayoutPosted = false;
    bool FDestroying = false;
    bool FInColExit = false;   // OnColExit is running
    int FLayoutRequestCount = 0;
    int FLayoutPassCount = 0;

    // ---- painting
    TGridImagesGx FPaintImages;
    TTextBitmapUserGx FTextBitmapUser;
};
