// The grid's plain getters and setters over its private state.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"

TDBGridColumnsGx& TCustomDBGridGx::Columns() { return *D->FColumns; }

const TDBGridColumnsGx& TCustomDBGridGx::Columns() const { return *D->FColumns; }

TColumnDefValuesGx& TCustomDBGridGx::ColumnDefValues() { return *D->FColumnDefValues; }

const TColumnDefValuesGx& TCustomDBGridGx::ColumnDefValues() const { return *D->FColumnDefValues; }

const TColumnsGxList& TCustomDBGridGx::SortMarkedColumns() const { return D->FColumns->SortMarkedColumns(); }

TColCellParamsGx& TCustomDBGridGx::ColCellParams() { return D->FColCellParams; }

int TCustomDBGridGx::IndicatorCols() const { return D->FIndicatorCols; }

int TCustomDBGridGx::TitleRows() const { return D->FTitleRows; }

int TCustomDBGridGx::DataToRawColumn(int dataCol) const { return dataCol + D->FIndicatorCols; }

int TCustomDBGridGx::RawToDataColumn(int rawCol) const { return rawCol - D->FIndicatorCols; }

TGridDataLinkGx* TCustomDBGridGx::DataLink() const { return D->FDataLink.get(); }

int TCustomDBGridGx::IndicatorRow() const { return D->FIndicatorRow; }

bool TCustomDBGridGx::TakeFocusEnabled() const { return D->FTakeFocusEnabled; }

void TCustomDBGridGx::SetTakeFocusEnabled(bool value) { D->FTakeFocusEnabled = value; }

TDBGridGxScrollBar& TCustomDBGridGx::VertScrollBar() { return D->FVertScrollBar; }

TDBGridGxScrollBar& TCustomDBGridGx::HorzScrollBar() { return D->FHorzScrollBar; }

const TDBGridGxScrollBar& TCustomDBGridGx::VertScrollBar() const { return D->FVertScrollBar; }

const TDBGridGxScrollBar& TCustomDBGridGx::HorzScrollBar() const { return D->FHorzScrollBar; }

bool TCustomDBGridGx::ParentColor() const { return D->FParentColor; }

TColor TCustomDBGridGx::FooterColor() const { return D->FParentColor ? Color() : D->FFooterColor; }

const TFontGx& TCustomDBGridGx::Font() const { return D->FFont; }

const TFontGx& TCustomDBGridGx::TitleFont() const { return D->FTitleFont; }

const TFontGx& TCustomDBGridGx::FooterFont() const { return D->FFooterFont; }

bool TCustomDBGridGx::ParentFont() const { return D->FParentFont; }

bool TCustomDBGridGx::ReadOnly() const { return D->FReadOnly; }

bool TCustomDBGridGx::DrawMemoText() const { return D->FDrawMemoText; }

bool TCustomDBGridGx::UseMultiTitle() const { return D->FUseMultiTitle; }

bool TCustomDBGridGx::AutoFitColWidths() const { return D->FAutoFitColWidths; }

int TCustomDBGridGx::FooterRowCount() const { return D->FFooterRowCount; }

TDBGridGxAllowedOperations TCustomDBGridGx::AllowedOperations() const { return D->FAllowedOperations; }

void TCustomDBGridGx::SetAllowedOperations(TDBGridGxAllowedOperations value) { D->FAllowedOperations = value; }

TImeModeGx TCustomDBGridGx::ImeMode() const { return D->FImeMode; }

void TCustomDBGridGx::SetImeMode(TImeModeGx value) { D->FImeMode = value; }

const std::string& TCustomDBGridGx::ImeName() const { return D->FImeName; }

void TCustomDBGridGx::SetImeName(const std::string& value) { D->FImeName = value; }

TImageList* TCustomDBGridGx::TitleImages() const { return D->FTitleImages; }

bool TCustomDBGridGx::Flat() const { return D->FFlat; }

int TCustomDBGridGx::FrozenCols() const { return D->FFrozenCols; }

int TCustomDBGridGx::RowHeight() const { return D->FRowHeight; }

int TCustomDBGridGx::RowLines() const { return D->FRowLines; }

int TCustomDBGridGx::TitleHeight() const { return D->FTitleHeight; }

int TCustomDBGridGx::TitleLines() const { return D->FTitleLines; }

int TCustomDBGridGx::MinAutoFitWidth() const { return D->FMinAutoFitWidth; }

bool TCustomDBGridGx::RowSizingAllowed() const { return D->FRowSizingAllowed; }

int TCustomDBGridGx::VTitleMargin() const { return D->FVTitleMargin; }

TDBGridGxEditActions TCustomDBGridGx::EditActions() const { return D->FEditActions; }

void TCustomDBGridGx::SetEditActions(TDBGridGxEditActions value) { D->FEditActions = value; }

const TColumnsGxList& TCustomDBGridGx::VisibleColumns() const { return D->FVisibleColumns; }

int TCustomDBGridGx::LineMargin() const { return D->FFlat ? 2 : 4; }

bool TCustomDBGridGx::MultiLine() const { return D->FMultiLine; }

int TCustomDBGridGx::EditButtonWidth() const { return D->FEditButtonWidth; }

int TCustomDBGridGx::EditButtonHeight() const { return D->FEditButtonHeight; }

int TCustomDBGridGx::TitleRowHeight() const { return D->FTitleRowHeight; }

TDBGridOptions TCustomDBGridGx::Options() const { return D->FOptions; }

TDBGridGxOptions TCustomDBGridGx::OptionsGx() const { return D->FOptionsGx; }

TDBGridGxSelectionModel& TCustomDBGridGx::SelectionModel() { return *D->FSelectionModel; }

TDBGridGxSelection& TCustomDBGridGx::Selection() { return D->FSelectionModel->Selection(); }

TBookmarkListGx& TCustomDBGridGx::SelectedRecords() { return D->FSelectionModel->SelectedRecords(); }

TDBGridGxAllowedSelections TCustomDBGridGx::AllowedSelections() const { return D->FSelectionModel->AllowedSelections(); }

void TCustomDBGridGx::SetAllowedSelections(TDBGridGxAllowedSelections value) { D->FSelectionModel->SetAllowedSelections(value); }

void TCustomDBGridGx::LockUpdate() { ++D->FUpdateLock; }

int TCustomDBGridGx::LayoutLock() const { return D->FLayoutLock; }

int TCustomDBGridGx::UpdateLock() const { return D->FUpdateLock; }

bool TCustomDBGridGx::DeferredLayoutPosted() const { return D->FDeferredLayoutPosted; }

int TCustomDBGridGx::LayoutRequestCount() const { return D->FLayoutRequestCount; }

int TCustomDBGridGx::LayoutPassCount() const { return D->FLayoutPassCount; }

bool TCustomDBGridGx::DataLayoutChanging() const { return D->FDataLayoutChanging; }

bool TCustomDBGridGx::PaintSuppressed() const { return D->FPaintSuppressed; }

TDBGridGxKeyboard& TCustomDBGridGx::Keyboard() { return *D->FKeyboard; }

TDBGridGxMouse& TCustomDBGridGx::Mouse() { return *D->FMouse; }

TDBGridGxEditorHost& TCustomDBGridGx::EditorHost() { return *D->FEditorHost; }

TDBGridGxTitleTree& TCustomDBGridGx::TitleTree() { return *D->FTitleTree; }

TDBGridGxFooterSummaries& TCustomDBGridGx::FooterSummaries() { return *D->FFooterSummaries; }

const TGridImagesGx& TCustomDBGridGx::PaintImages() const { return D->FPaintImages; }

bool TCustomDBGridGx::MultiSortMarking() const { return D->FOptionsGx.Contains(dghMultiSortMarking); }

bool TCustomDBGridGx::SyncingRow() const { return D->FSyncingRow; }

void TCustomDBGridGx::SetIndicatorRow(int row) { D->FIndicatorRow = row; }
