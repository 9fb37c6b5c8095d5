#include "grid/columns/ColumnTitleGx.h"

#include "grid/columns/ColumnGx.h"
#include "grid/columns/DBGridColumnsGx.h"
#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/AssignedValueGx.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

TColumnTitleGx::TColumnTitleGx(TColumnGx* column) : FColumn(column) {}

TColumnsHostGx* TColumnTitleGx::Host() const { return FColumn->Host(); }

TDBGridColumnsGx* TColumnTitleGx::HostedCollection() const
{
    return FColumn->Host() ? FColumn->Collection() : nullptr;
}
bool TColumnTitleGx::IsAssigned(TColumnValueGx value) const { return FColumn->AssignedValues().Contains(value); }
void TColumnTitleGx::MarkAssigned(TColumnValueGx value) { FColumn->FAssignedValues.Include(value); }
void TColumnTitleGx::Changed() { FColumn->Changed(false); }

TAlignment TColumnTitleGx::Alignment() const
{
    if (IsAssigned(cvTitleAlignment))
        return FAlignment;
    TColumnsHostGx* host = Host();
    return host ? host->ColumnDefValues().Title().Alignment() : taLeftJustify;
}

void TColumnTitleGx::SetAlignment(TAlignment value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleAlignment, FAlignment, value))
        Changed();
}

std::string TColumnTitleGx::Caption() const
{
    if (IsAssigned(cvTitleCaption))
        return FCaption;
    if (TField* field = FColumn->Field())
        return field->DisplayName();
    return FColumn->FieldName();
}

void TColumnTitleGx::SetCaption(const std::string& value)
{
    if (TField* field = FColumn->DefaultColumnFieldForWrite()) {
        field->SetDisplayLabel(value);
        return;
    }
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleCaption, FCaption, value))
        Changed();
}

TColor TColumnTitleGx::Color() const
{
    if (IsAssigned(cvTitleColor))
        return FColor;
    TColumnsHostGx* host = Host();
    return host ? host->ColumnDefValues().Title().Color() : clBtnFace;
}

void TColumnTitleGx::SetColor(TColor value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleColor, FColor, value))
        Changed();
}

bool TColumnTitleGx::EndEllipsis() const
{
    if (IsAssigned(cvTitleEndEllipsis))
        return FEndEllipsis;
    TColumnsHostGx* host = Host();
    return host && host->ColumnDefValues().Title().EndEllipsis();
}

void TColumnTitleGx::SetEndEllipsis(bool value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleEndEllipsis, FEndEllipsis, value))
        Changed();
}

TFontGx TColumnTitleGx::DefaultFont() const
{
    TColumnsHostGx* host = Host();
    return host ? host->TitleFont() : FColumn->Font();
}

TFontGx TColumnTitleGx::Font() const
{
    return IsAssigned(cvTitleFont) ? FFont : DefaultFont();
}

void TColumnTitleGx::SetFont(const TFontGx& value)
{
    bool layoutChanges = !IsAssigned(cvTitleFont) ? value != DefaultFont() : value != FFont;
    FFont = value;
    MarkAssigned(cvTitleFont);
    // A new font may change the title row's height.
    FColumn->Changed(layoutChanges);
}

void TColumnTitleGx::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    if (TColumnsHostGx* host = Host())
        host->RequestLayout();
}

TTextOrientationGx TColumnTitleGx::Orientation() const
{
    if (IsAssigned(cvTitleOrientation))
        return FOrientation;
    TColumnsHostGx* host = Host();
    return host ? host->ColumnDefValues().Title().Orientation() : tohHorizontal;
}

void TColumnTitleGx::SetOrientation(TTextOrientationGx value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleOrientation, FOrientation, value))
        Changed();
}

bool TColumnTitleGx::TitleButton() const
{
    if (IsAssigned(cvTitleButton))
        return FTitleButton;
    TColumnsHostGx* host = Host();
    return host && host->ColumnDefValues().Title().TitleButton();
}

void TColumnTitleGx::SetTitleButton(bool value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleButton, FTitleButton, value))
        Changed();
}

bool TColumnTitleGx::ToolTips() const
{
    if (IsAssigned(cvTitleToolTips))
        return FToolTips;
    TColumnsHostGx* host = Host();
    return host && host->ColumnDefValues().Title().ToolTips();
}

void TColumnTitleGx::SetToolTips(bool value)
{
    if (StoreAssigned(FColumn->FAssignedValues, cvTitleToolTips, FToolTips, value))
        Changed();
}

// ---- sorting ------------------------------------------------------------

void TColumnTitleGx::SetSortMarker(TSortMarkerGx value)
{
    if (value == FSortMarker)
        return;
    if (TDBGridColumnsGx* columns = HostedCollection())
        columns->SortMarkerChanging(*FColumn, value);
    FSortMarker = value;
    Changed();
}

void TColumnTitleGx::SetSortIndex(int value)
{
    if (value < 0)
        value = 0;
    TDBGridColumnsGx* columns = HostedCollection();
    if (!columns) {
        FSortIndex = value;
        return;
    }
    if (FSortMarker == smNoneGx || value == FSortIndex)
        return;
    columns->ExchangeSortIndex(*FColumn, value);
}

TSortMarkerGx TColumnTitleGx::NextSortMarker(bool keepOthers) const
{
    switch (FSortMarker) {
    case smNoneGx:
        return smDownGx;
    case smDownGx:
        return smUpGx;
    case smUpGx:
        break;
    }
    return keepOthers ? smNoneGx : smDownGx;
}

void TColumnTitleGx::SetNextSortMarkerValue(bool keepOthers)
{
    if (!keepOthers) {
        if (TDBGridColumnsGx* columns = HostedCollection())
            columns->ClearSortMarkers(FColumn);
    }
    SetSortMarker(NextSortMarker(keepOthers));
}

// ---- copying and defaults -----------------------------------------------

void TColumnTitleGx::Assign(const TColumnTitleGx& source)
{
    if (&source == this)
        return;
    if (source.IsAssigned(cvTitleAlignment))
        SetAlignment(source.FAlignment);
    if (source.IsAssigned(cvTitleColor))
        SetColor(source.FColor);
    if (source.IsAssigned(cvTitleCaption)) {
        // The copy is the column's own caption, never a field's label.
        FCaption = source.FCaption;
        MarkAssigned(cvTitleCaption);
        Changed();
    }
    if (source.IsAssigned(cvTitleFont))
        SetFont(source.FFont);
    SetTitleButton(source.TitleButton());
    SetSortMarker(source.FSortMarker);
    SetEndEllipsis(source.EndEllipsis());
    SetToolTips(source.ToolTips());
    SetOrientation(source.Orientation());
}

void TColumnTitleGx::RestoreDefaults()
{
    bool fontAssigned = IsAssigned(cvTitleFont);
    FColumn->FAssignedValues -= TitleValuesGx;
    FCaption.clear();
    FFont = TFontGx();
    FColumn->Changed(fontAssigned);
}
