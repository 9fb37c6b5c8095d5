#include "grid/columns/ColumnGx.h"

#include "grid/columns/DBGridColumnsGx.h"
#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

#include <QFontMetrics>

#include <algorithm>

TColumnGx::TColumnGx(TDBGridColumnsGx* collection) : FCollection(collection) {}

void TColumnGx::Init()
{
    FTitle = CreateTitle();
    FFooter = CreateFooter(nullptr);
    FFooters = CreateFooters();
    FDropDownSpecRow = std::make_unique<TSpecRowGx>();
    FDropDownSpecRow->OnChanged = [this] { SpecRowChanged(); };
    FEditButtons = std::make_unique<TEditButtonsGx>(this);
    FEditButtons->SetUpdateHandler([this](TEditButtonGx*) { Changed(false); });
    FBaseWidth = Width();
}

TColumnGx::~TColumnGx()
{
    if (TColumnsHostGx* host = Host())
        host->ColumnDestroying(*this);
    // The parts go first, while the column still knows its grid.
    FFooters.reset();
    FFooter.reset();
    FTitle.reset();
    FDropDownSpecRow.reset();
}

std::unique_ptr<TColumnTitleGx> TColumnGx::CreateTitle() { return std::make_unique<TColumnTitleGx>(this); }

std::unique_ptr<TColumnFooterGx> TColumnGx::CreateFooter(TColumnFootersGx* footers)
{
    return std::make_unique<TColumnFooterGx>(this, footers);
}

std::unique_ptr<TColumnFootersGx> TColumnGx::CreateFooters() { return std::make_unique<TColumnFootersGx>(this); }

void TColumnGx::SpecRowChanged() { Changed(false); }

TColumnsHostGx* TColumnGx::Host() const { return FCollection ? FCollection->Host() : nullptr; }

int TColumnGx::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TColumnGx::SetIndex(int value)
{
    if (!FCollection)
        return;
    value = std::clamp(value, 0, FCollection->Count() - 1);
    int index = Index();
    if (value == index)
        return;
    if (TField* field = DefaultColumnFieldForWrite()) {
        // A default column follows its field: the field moves, and the
        // grid rebuilds its columns in the new field order.
        if (TField* target = (*FCollection)[value]->Field()) {
            field->SetIndex(target->Index());
            return;
        }
    }
    FCollection->Move(index, value);
}

void TColumnGx::Changed(bool all)
{
    if (FCollection)
        FCollection->Update(all ? nullptr : this);
}

void TColumnGx::Repaint() const
{
    if (TColumnsHostGx* host = Host())
        host->InvalidateGrid();
}

TField* TColumnGx::DefaultColumnFieldForWrite() const
{
    if (FUserColumn)
        return nullptr;
    TColumnsHostGx* host = Host();
    if (!host || !host->ColumnsDataLink()->Active())
        return nullptr;
    return Field();
}

// ---- field --------------------------------------------------------------

void TColumnGx::BindField(TField* field) const
{
    auto* self = const_cast<TColumnGx*>(this);
    FField.Reset(field, [self] { self->FieldFreed(); });
}

void TColumnGx::FieldFreed()
{
    if (TColumnsHostGx* host = Host())
        host->ColumnFieldFreed(*this);
}

TField* TColumnGx::Field() const
{
    if (!FField && !FFieldName.empty()) {
        TColumnsHostGx* host = Host();
        TDataSet* dataSet = host ? host->ColumnsDataLink()->DataSet() : nullptr;
        bool persistentFields = dataSet && !dataSet->DefaultFields() && dataSet->FieldCount() > 0;
        if (dataSet && (dataSet->Active() || persistentFields)) {
            if (TField* field = dataSet->FindField(FFieldName)) {
                auto* self = const_cast<TColumnGx*>(this);
                BindField(field);
                self->FFieldName = field->FieldName();
                host->FooterSummaryChanged(*FFooter);
                for (int i = 0; i < FFooters->Count(); ++i)
                    host->FooterSummaryChanged(*(*FFooters)[i]);
            }
        }
    }
    return FField.Get();
}

void TColumnGx::SetField(TField* value)
{
    if (FField.Get() == value)
        return;
    BindField(value);
    if (value)
        FFieldName = value->FieldName();
    if (!FUserColumn) {
        if (!value)
            FFieldName.clear();
        RestoreDefaults();
    }
    TakeBaseWidth();
}

void TColumnGx::SetFieldName(const std::string& value)
{
    TField* field = nullptr;
    TColumnsHostGx* host = Host();
    TDataSet* dataSet = host ? host->ColumnsDataLink()->DataSet() : nullptr;
    if (dataSet && !value.empty())
        field = dataSet->FindField(value);
    FFieldName = value;
    SetField(field);
    TakeBaseWidth();
    Changed(false);
}

// ---- width --------------------------------------------------------------

int TColumnGx::DefaultWidth() const
{
    TColumnsHostGx* host = Host();
    if (!host)
        return 64;
    TField* field = Field();
    if (!field)
        return host->DefaultColWidth();
    // Qt fonts have no overhang; the formula keeps its place at 0.
    const int overhang = 0;
    QFontMetrics metrics(Font());
    return (metrics.horizontalAdvance(QLatin1Char('0')) - overhang) * field->DisplayWidth() + overhang + 4;
}

int TColumnGx::Width() const { return IsAssigned(cvWidth) ? FWidth : DefaultWidth(); }

void TColumnGx::SetWidth(int value)
{
    TColumnsHostGx* host = Host();
    if (FUserColumn || !host) {
        KeepWidth(value);
        return;
    }
    TField* field = Field();
    // A width of -1 or 0 hides the column; it says nothing of the field.
    if (field && host->HandleAllocated() && value > 0) {
        const int overhang = 0;
        QFontMetrics metrics(Font());
        int digit = metrics.horizontalAdvance(QLatin1Char('0'));
        if (digit > 0) {
            // At least one character: a display width of 0 would give the
            // field its type's default width back.
            int displayWidth = (value + metrics.averageCharWidth() / 2 - overhang - 3) / digit;
            field->SetDisplayWidth(std::max(1, displayWidth));
        }
    }
    if (!host->DataLayoutChanging() || IsAssigned(cvWidth))
        KeepWidth(value);
}

void TColumnGx::KeepWidth(int value)
{
    if ((IsAssigned(cvWidth) || value != DefaultWidth()) && value != -1) {
        FWidth = value;
        MarkAssigned(cvWidth);
        if (FMaxWidth > 0 && FWidth > FMaxWidth)
            FWidth = FMaxWidth;
        if (FWidth < FMinWidth)
            FWidth = FMinWidth;
    }
    Changed(false);
}

void TColumnGx::SetMinWidth(int value)
{
    value = std::max(0, value);
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    if (value > 0 && Width() < value)
        SetWidth(value);
}

void TColumnGx::SetMaxWidth(int value)
{
    value = std::max(0, value);
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    if (value > 0 && Width() > value)
        SetWidth(value);
}

void TColumnGx::SetAutoFitColWidth(bool value)
{
    if (value == FAutoFitColWidth)
        return;
    FAutoFitColWidth = value;
    Changed(false);
}

// ---- plain settings -----------------------------------------------------

void TColumnGx::SetButtonStyle(TColumnButtonStyleGx value)
{
    if (value == FButtonStyle)
        return;
    FButtonStyle = value;
    Changed(false);
}

void TColumnGx::SetDropDownWidth(int value)
{
    if (value == FDropDownWidth)
        return;
    FDropDownWidth = value;
    Changed(false);
}

void TColumnGx::SetNotInKeyListIndex(int value)
{
    if (value == FNotInKeyListIndex)
        return;
    FNotInKeyListIndex = value;
    Repaint();
}

void TColumnGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed(true);
}

namespace {
const TStringListGx& EmptyList()
{
    static const TStringListGx empty;
    return empty;
}
}  // namespace

const TStringListGx& TColumnGx::PickList() const { return FPickList ? *FPickList : EmptyList(); }

void TColumnGx::SetPickList(const TStringListGx& value)
{
    if (FPickList && *FPickList == value)
        return;
    FPickList = std::make_unique<TStringListGx>(value);
    Repaint();
}

const TStringListGx& TColumnGx::KeyList() const { return FKeyList ? *FKeyList : EmptyList(); }

void TColumnGx::SetKeyList(const TStringListGx& value)
{
    if (FKeyList && *FKeyList == value)
        return;
    FKeyList = std::make_unique<TStringListGx>(value);
    Repaint();
}

void TColumnGx::SetPopupMenu(QMenu* value) { FPopupMenu = value; }

void TColumnGx::SetImageList(TImageList* value)
{
    if (value == FImageList)
        return;
    FImageList = value;
    if (TColumnsHostGx* host = Host())
        host->WatchImageList(value);
    Repaint();
}

void TColumnGx::SetOnGetCellParams(TGetCellParamsEvent value)
{
    FOnGetCellParams = std::move(value);
    Repaint();
}

TColumnFooterGx* TColumnGx::UsedFooter(int row) const
{
    if (row >= 0 && row < FFooters->Count())
        return (*FFooters)[row];
    return FFooter.get();
}

// ---- defaults and copying -----------------------------------------------

void TColumnGx::RestoreDefaults()
{
    bool fontAssigned = IsAssigned(cvFont);
    FTitle->RestoreDefaults();
    FAssignedValues = {};
    FFont = TFontGx();
    FPickList.reset();
    FKeyList.reset();
    FButtonStyle = cbsAuto;
    Changed(fontAssigned);
}

void TColumnGx::Assign(const TColumnGx& source)
{
    if (&source == this)
        return;
    TColumnsUpdateGuardGx update(FCollection);
    RestoreDefaults();
    SetFieldName(source.FFieldName);
    if (source.IsAssigned(cvColor))
        SetColor(source.FColor);
    if (source.IsAssigned(cvWidth))
        SetWidth(source.FWidth);
    if (source.IsAssigned(cvFont))
        SetFont(source.FFont);
    if (source.IsAssigned(cvImeMode))
        SetImeMode(source.FImeMode);
    if (source.IsAssigned(cvImeName))
        SetImeName(source.FImeName);
    if (source.IsAssigned(cvAlignment))
        SetAlignment(source.FAlignment);
    if (source.IsAssigned(cvReadOnly))
        SetReadOnly(source.FReadOnly);
    if (source.IsAssigned(cvWordWrap))
        SetWordWrap(source.FWordWrap);
    if (source.IsAssigned(cvLookupDisplayFields))
        SetLookupDisplayFields(source.FLookupDisplayFields);
    if (source.IsAssigned(cvCheckboxes))
        SetCheckboxes(source.FCheckboxes);

    FTitle->Assign(*source.FTitle);
    SetDropDownRows(source.FDropDownRows);
    SetButtonStyle(source.FButtonStyle);
    if (source.FPickList)
        SetPickList(*source.FPickList);
    SetPopupMenu(source.FPopupMenu);
    FBaseWidth = source.FBaseWidth;
    SetAutoFitColWidth(source.FAutoFitColWidth);
    SetEndEllipsis(source.EndEllipsis());
    SetDropDownWidth(source.FDropDownWidth);
    SetAutoDropDown(source.AutoDropDown());
    SetAlwaysShowEditButton(source.AlwaysShowEditButton());
    SetWordWrap(source.WordWrap());
    FFooter->Assign(*source.FFooter);
    if (source.FKeyList)
        SetKeyList(*source.FKeyList);
    SetIncrement(source.FIncrement);
    SetToolTips(source.ToolTips());
    FFooters->Assign(*source.FFooters);
    SetTag(source.FTag);
    SetVisible(source.FVisible);
    SetImageList(source.FImageList);
    SetNotInKeyListIndex(source.FNotInKeyListIndex);
    SetMinWidth(source.FMinWidth);
    SetMaxWidth(source.FMaxWidth);
    SetDblClickNextVal(source.DblClickNextVal());
    SetDropDownSizing(source.DropDownSizing());
    SetDropDownShowTitles(source.DropDownShowTitles());
    SetOnGetCellParams(source.FOnGetCellParams);
    OnUpdateData = source.OnUpdateData;
    OnNotInList = source.OnNotInList;
    OnEditButtonClick = source.OnEditButtonClick;
    OnEditButtonDown = source.OnEditButtonDown;
    FEditButtons->Assign(*source.FEditButtons);
}
