#include "grid/columns/ColumnFooterGx.h"

#include "grid/columns/ColumnGx.h"
#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/AssignedValueGx.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

TColumnFooterGx::TColumnFooterGx(TColumnGx* column, TColumnFootersGx* footers)
    : FColumn(column), FFooters(footers)
{
}

TColumnFooterGx::~TColumnFooterGx()
{
    if (TColumnsHostGx* host = Host())
        host->FooterDestroying(*this);
}

TColumnsHostGx* TColumnFooterGx::Host() const { return FColumn ? FColumn->Host() : nullptr; }

void TColumnFooterGx::Changed()
{
    if (FColumn)
        FColumn->Changed(false);
}

void TColumnFooterGx::SummaryChanged()
{
    if (TColumnsHostGx* host = Host())
        host->FooterSummaryChanged(*this);
}

TAlignment TColumnFooterGx::Alignment() const
{
    if (FAssignedValues.Contains(cvFooterAlignment))
        return FAlignment;
    TField* field = FColumn ? FColumn->Field() : nullptr;
    return field ? field->Alignment() : taLeftJustify;
}

void TColumnFooterGx::SetAlignment(TAlignment value)
{
    if (StoreAssigned(FAssignedValues, cvFooterAlignment, FAlignment, value))
        Changed();
}

TColor TColumnFooterGx::Color() const
{
    if (FAssignedValues.Contains(cvFooterColor))
        return FColor;
    TColumnsHostGx* host = Host();
    return host ? host->FooterColor() : clWindow;
}

void TColumnFooterGx::SetColor(TColor value)
{
    if (StoreAssigned(FAssignedValues, cvFooterColor, FColor, value))
        Changed();
}

void TColumnFooterGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    Changed();
}

void TColumnFooterGx::SetFieldName(const std::string& value)
{
    if (value == FFieldName)
        return;
    FFieldName = value;
    SummaryChanged();
    Changed();
}

TFontGx TColumnFooterGx::DefaultFont() const
{
    if (TColumnsHostGx* host = Host())
        return host->FooterFont();
    return FColumn ? FColumn->Font() : TFontGx();
}

TFontGx TColumnFooterGx::Font() const
{
    if (FAssignedValues.Contains(cvFooterFont))
        return FFont;
    return DefaultFont();
}

void TColumnFooterGx::SetFont(const TFontGx& value)
{
    FFont = value;
    FAssignedValues += cvFooterFont;
    Changed();
}

void TColumnFooterGx::SetValue(const std::string& value)
{
    if (value == FValue)
        return;
    FValue = value;
    Changed();
}

void TColumnFooterGx::SetValueType(TFooterValueTypeGx value)
{
    if (value == FValueType)
        return;
    FValueType = value;
    SummaryChanged();
    Changed();
}

void TColumnFooterGx::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    Changed();
}

TFooterSummaryOperationGx TColumnFooterGx::SummaryOperation() const
{
    switch (FValueType) {
    case fvtSum:
        return fsoSum;
    case fvtAvg:
        return fsoAvg;
    case fvtCount:
        return fsoCount;
    default:
        return fsoNone;
    }
}

std::string TColumnFooterGx::SummaryFieldName() const
{
    switch (SummaryOperation()) {
    case fsoNone:
    case fsoCount:
        return std::string();
    default:
        break;
    }
    if (!FFieldName.empty() || !FColumn)
        return FFieldName;
    return FColumn->FieldName();
}

void TColumnFooterGx::Assign(const TColumnFooterGx& source)
{
    if (&source == this)
        return;
    if (source.FAssignedValues.Contains(cvFooterAlignment))
        SetAlignment(source.FAlignment);
    if (source.FAssignedValues.Contains(cvFooterColor))
        SetColor(source.FColor);
    if (source.FAssignedValues.Contains(cvFooterFont))
        SetFont(source.FFont);
    SetEndEllipsis(source.FEndEllipsis);
    SetValueType(source.FValueType);
    SetFieldName(source.FFieldName);
    SetValue(source.FValue);
    SetWordWrap(source.FWordWrap);
}

void TColumnFooterGx::RestoreDefaults()
{
    bool fontAssigned = FAssignedValues.Contains(cvFooterFont);
    FAssignedValues = {};
    FFont = TFontGx();
    if (FColumn)
        FColumn->Changed(fontAssigned);
}

// ---- TColumnFootersGx ---------------------------------------------------

std::unique_ptr<TColumnFooterGx> TColumnFootersGx::MakeFooter()
{
    return FColumn ? FColumn->CreateFooter(this) : std::make_unique<TColumnFooterGx>(FColumn, this);
}

TColumnFooterGx* TColumnFootersGx::Add()
{
    FItems.push_back(MakeFooter());
    Changed();
    return FItems.back().get();
}

void TColumnFootersGx::Delete(int index)
{
    // Taken out of the list first, so the grid never sees a half-removed footer.
    std::unique_ptr<TColumnFooterGx> footer = std::move(FItems.at(static_cast<size_t>(index)));
    FItems.erase(FItems.begin() + index);
    footer.reset();
    Changed();
}

void TColumnFootersGx::Clear()
{
    if (FItems.empty())
        return;
    std::vector<std::unique_ptr<TColumnFooterGx>> items = std::move(FItems);
    FItems.clear();
    items.clear();
    Changed();
}

void TColumnFootersGx::Assign(const TColumnFootersGx& source)
{
    if (&source == this)
        return;
    std::vector<std::unique_ptr<TColumnFooterGx>> old = std::move(FItems);
    FItems.clear();
    old.clear();
    AddCopiesOf(source, [this] {
        FItems.push_back(MakeFooter());
        return FItems.back().get();
    });
    Changed();
}

void TColumnFootersGx::Changed()
{
    if (FColumn)
        FColumn->Changed(true);
}
