#include "grid/columns/ColumnDefValuesGx.h"

#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"

TAlignment TColumnTitleDefValuesGx::Alignment() const
{
    if (FAlignmentAssigned)
        return FAlignment;
    return FHost && FHost->UseMultiTitle() ? taCenter : taLeftJustify;
}

void TColumnTitleDefValuesGx::SetAlignment(TAlignment value)
{
    if (FAlignmentAssigned && value == FAlignment)
        return;
    FAlignment = value;
    FAlignmentAssigned = true;
    if (FHost)
        FHost->RequestLayout();
}

TColor TColumnTitleDefValuesGx::Color() const
{
    if (FColorAssigned)
        return FColor;
    return FHost ? FHost->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesGx::SetColor(TColor value)
{
    if (FColorAssigned && value == FColor)
        return;
    FColor = value;
    FColorAssigned = true;
    if (FHost)
        FHost->InvalidateGrid();
}

void TColumnTitleDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    if (FHost)
        FHost->InvalidateGrid();
}

void TColumnTitleDefValuesGx::SetOrientation(TTextOrientationGx value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    if (FHost)
        FHost->RequestLayout();
}

void TColumnTitleDefValuesGx::Assign(const TColumnTitleDefValuesGx& source)
{
    if (&source == this)
        return;
    if (source.FAlignmentAssigned)
        SetAlignment(source.FAlignment);
    if (source.FColorAssigned)
        SetColor(source.FColor);
    SetEndEllipsis(source.FEndEllipsis);
    SetTitleButton(source.FTitleButton);
    SetToolTips(source.FToolTips);
    SetOrientation(source.FOrientation);
}

void TColumnDefValuesGx::SetAlwaysShowEditButton(bool value)
{
    if (value == FAlwaysShowEditButton)
        return;
    FAlwaysShowEditButton = value;
    if (FHost)
        FHost->InvalidateGrid();
}

void TColumnDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    if (FHost)
        FHost->InvalidateGrid();
}

void TColumnDefValuesGx::Assign(const TColumnDefValuesGx& source)
{
    if (&source == this)
        return;
    FTitle.Assign(source.FTitle);
    SetAlwaysShowEditButton(source.FAlwaysShowEditButton);
    SetAutoDropDown(source.FAutoDropDown);
    SetDblClickNextVal(source.FDblClickNextVal);
    SetDropDownShowTitles(source.FDropDownShowTitles);
    SetDropDownSizing(source.FDropDownSizing);
    SetEndEllipsis(source.FEndEllipsis);
    SetToolTips(source.FToolTips);
}
