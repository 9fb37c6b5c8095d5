// The grid's plain settings and lock counters over its state.

#include "grid/DBGridGxSettings.h"
#include "grid/DBGridGxPrivate.h"

#include <algorithm>

void TDBGridGxSettings::SetParentColor(bool value)
{
    if (value == State().FParentColor)
        return;
    State().FParentColor = value;
    InvalidateGrid();
}

void TDBGridGxSettings::SetFooterColor(TColor value)
{
    State().FParentColor = false;
    if (value == State().FFooterColor)
        return;
    State().FFooterColor = value;
    InvalidateGrid();
}

void TDBGridGxSettings::SetReadOnly(bool value)
{
    if (value == State().FReadOnly)
        return;
    State().FReadOnly = value;
    InvalidateGrid();
}

void TDBGridGxSettings::SetDrawMemoText(bool value)
{
    if (value == State().FDrawMemoText)
        return;
    State().FDrawMemoText = value;
    InvalidateGrid();
}

void TDBGridGxSettings::SetUseMultiTitle(bool value)
{
    if (value == State().FUseMultiTitle)
        return;
    State().FUseMultiTitle = value;
    RequestLayout();
}

void TDBGridGxSettings::SetAutoFitColWidths(bool value)
{
    if (value == State().FAutoFitColWidths)
        return;
    State().FAutoFitColWidths = value;
    if (value)
        for (const auto& column : *State().FColumns)
            column->TakeBaseWidth();
    RequestLayout();
}

void TDBGridGxSettings::SetFooterRowCount(int value)
{
    if (value < 0 || value == State().FFooterRowCount)
        return;
    State().FFooterRowCount = value;
    RequestLayout();
}

void TDBGridGxSettings::SetTitleImages(TImageList* value)
{
    if (value == State().FTitleImages)
        return;
    State().FTitleImages = value;
    WatchImageList(value);
    RequestLayout();
}

void TDBGridGxSettings::SetFrozenCols(int value)
{
    if (value < 0 || value == State().FFrozenCols)
        return;
    State().FFrozenCols = value;
    RequestLayout();
}

void TDBGridGxSettings::SetRowHeight(int value)
{
    value = std::max(value, 0);
    if (value == State().FRowHeight)
        return;
    State().FRowHeight = value;
    RequestLayout();
}

void TDBGridGxSettings::SetRowLines(int value)
{
    value = std::max(value, 0);
    if (value == State().FRowLines)
        return;
    State().FRowLines = value;
    RequestLayout();
}

void TDBGridGxSettings::SetTitleHeight(int value)
{
    if (value == State().FTitleHeight)
        return;
    State().FTitleHeight = value;
    RequestLayout();
}

void TDBGridGxSettings::SetTitleLines(int value)
{
    if (value == State().FTitleLines)
        return;
    State().FTitleLines = value;
    RequestLayout();
}

void TDBGridGxSettings::SetMinAutoFitWidth(int value)
{
    if (value == State().FMinAutoFitWidth)
        return;
    State().FMinAutoFitWidth = value;
    RequestLayout();
}

void TDBGridGxSettings::SetVTitleMargin(int value)
{
    if (value == State().FVTitleMargin)
        return;
    State().FVTitleMargin = value;
    RequestLayout();
}

bool TDBGridGxSettings::ParentColor() const { return State().FParentColor; }

TColor TDBGridGxSettings::FooterColor() const { return State().FParentColor ? Color() : State().FFooterColor; }

bool TDBGridGxSettings::ReadOnly() const { return State().FReadOnly; }

bool TDBGridGxSettings::DrawMemoText() const { return State().FDrawMemoText; }

bool TDBGridGxSettings::UseMultiTitle() const { return State().FUseMultiTitle; }

bool TDBGridGxSettings::AutoFitColWidths() const { return State().FAutoFitColWidths; }

int TDBGridGxSettings::FooterRowCount() const { return State().FFooterRowCount; }

TDBGridGxAllowedOperations TDBGridGxSettings::AllowedOperations() const { return State().FAllowedOperations; }

void TDBGridGxSettings::SetAllowedOperations(TDBGridGxAllowedOperations value) { State().FAllowedOperations = value; }

TImeModeGx TDBGridGxSettings::ImeMode() const { return State().FImeMode; }

void TDBGridGxSettings::SetImeMode(TImeModeGx value) { State().FImeMode = value; }

const std::string& TDBGridGxSettings::ImeName() const { return State().FImeName; }

void TDBGridGxSettings::SetImeName(const std::string& value) { State().FImeName = value; }

TImageList* TDBGridGxSettings::TitleImages() const { return State().FTitleImages; }

int TDBGridGxSettings::FrozenCols() const { return State().FFrozenCols; }

int TDBGridGxSettings::RowHeight() const { return State().FRowHeight; }

int TDBGridGxSettings::RowLines() const { return State().FRowLines; }

int TDBGridGxSettings::TitleHeight() const { return State().FTitleHeight; }

int TDBGridGxSettings::TitleLines() const { return State().FTitleLines; }

int TDBGridGxSettings::MinAutoFitWidth() const { return State().FMinAutoFitWidth; }

int TDBGridGxSettings::VTitleMargin() const { return State().FVTitleMargin; }

TDBGridGxEditActions TDBGridGxSettings::EditActions() const { return State().FEditActions; }

void TDBGridGxSettings::SetEditActions(TDBGridGxEditActions value) { State().FEditActions = value; }

TDragMode TDBGridGxSettings::DragMode() const { return State().FDragMode; }

void TDBGridGxSettings::SetDragMode(TDragMode value) { State().FDragMode = value; }

int TDBGridGxSettings::LayoutLock() const { return State().FLayoutLock; }

int TDBGridGxSettings::UpdateLock() const { return State().FUpdateLock; }

bool TDBGridGxSettings::DeferredLayoutPosted() const { return State().FDeferredLayoutPosted; }

int TDBGridGxSettings::LayoutRequestCount() const { return State().FLayoutRequestCount; }

int TDBGridGxSettings::LayoutPassCount() const { return State().FLayoutPassCount; }

bool TDBGridGxSettings::DataLayoutChanging() const { return State().FDataLayoutChanging; }

bool TDBGridGxSettings::PaintSuppressed() const { return State().FPaintSuppressed; }

int TDBGridGxSettings::LineMargin() const { return State().FFlat ? 2 : 4; }

bool TDBGridGxSettings::MultiLine() const { return State().FMultiLine; }

int TDBGridGxSettings::EditButtonWidth() const { return State().FEditButtonWidth; }

int TDBGridGxSettings::EditButtonHeight() const { return State().FEditButtonHeight; }

int TDBGridGxSettings::TitleRowHeight() const { return State().FTitleRowHeight; }


bool TDBGridGxSettings::MultiSortMarking() const { return State().FOptionsGx.Contains(dghMultiSortMarking); }

TDataLink* TDBGridGxSettings::ColumnsDataLink() const { return State().FDataLink.get(); }
