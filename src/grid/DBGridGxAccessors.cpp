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

bool TCustomDBGridGx::TakeFocusEnabled() const { return D->FTakeFocusEnabled; }

void TCustomDBGridGx::SetTakeFocusEnabled(bool value) { D->FTakeFocusEnabled = value; }

TDBGridGxScrollBar& TCustomDBGridGx::VertScrollBar() { return D->FVertScrollBar; }

TDBGridGxScrollBar& TCustomDBGridGx::HorzScrollBar() { return D->FHorzScrollBar; }

const TDBGridGxScrollBar& TCustomDBGridGx::VertScrollBar() const { return D->FVertScrollBar; }

const TDBGridGxScrollBar& TCustomDBGridGx::HorzScrollBar() const { return D->FHorzScrollBar; }

const TFontGx& TCustomDBGridGx::Font() const { return D->FFont; }

const TFontGx& TCustomDBGridGx::TitleFont() const { return D->FTitleFont; }

const TFontGx& TCustomDBGridGx::FooterFont() const { return D->FFooterFont; }

bool TCustomDBGridGx::ParentFont() const { return D->FParentFont; }

bool TCustomDBGridGx::Flat() const { return D->FFlat; }

bool TCustomDBGridGx::RowSizingAllowed() const { return D->FRowSizingAllowed; }

const TColumnsGxList& TCustomDBGridGx::VisibleColumns() const { return D->FVisibleColumns; }

TDBGridOptions TCustomDBGridGx::Options() const { return D->FOptions; }

TDBGridGxOptions TCustomDBGridGx::OptionsGx() const { return D->FOptionsGx; }

TDBGridGxSelectionModel& TCustomDBGridGx::SelectionModel() { return *D->FSelectionModel; }

TDBGridGxSelection& TCustomDBGridGx::Selection() { return D->FSelectionModel->Selection(); }

TBookmarkListGx& TCustomDBGridGx::SelectedRecords() { return D->FSelectionModel->SelectedRecords(); }

TDBGridGxAllowedSelections TCustomDBGridGx::AllowedSelections() const { return D->FSelectionModel->AllowedSelections(); }

void TCustomDBGridGx::SetAllowedSelections(TDBGridGxAllowedSelections value) { D->FSelectionModel->SetAllowedSelections(value); }

void TCustomDBGridGx::LockUpdate() { ++D->FUpdateLock; }

TDBGridGxKeyboard& TCustomDBGridGx::Keyboard() { return *D->FKeyboard; }

TDBGridGxMouse& TCustomDBGridGx::Mouse() { return *D->FMouse; }

TDBGridGxEditorHost& TCustomDBGridGx::EditorHost() { return *D->FEditorHost; }

TDBGridGxTitleTree& TCustomDBGridGx::TitleTree() { return *D->FTitleTree; }

TDBGridGxFooterSummaries& TCustomDBGridGx::FooterSummaries() { return *D->FFooterSummaries; }

const TGridImagesGx& TCustomDBGridGx::PaintImages() const { return D->FPaintImages; }

