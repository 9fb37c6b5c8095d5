#include "grid/columns/ColumnDefValuesGx.h"

#include "grid/DBGridGx.h"

TAlignment TColumnTitleDefValuesGx::Alignment() const
{
    if (FAlignmentAssigned)
        return FAlignment;
    return FGrid && FGrid->UseMultiTitle() ? taCenter : taLeftJustify;
}

void TColumnTitleDefValuesGx::SetAlignment(TAlignment value)
{
    if (FAlignmentAssigned && value == FAlignment)
        return;
    FAlignment = value;
    FAlignmentAssigned = true;
    if (FGrid)
        FGrid->RequestLayout();
}

TColor TColumnTitleDefValuesGx::Color() const
{
    if (FColorAssigned)
        return FColor;
    return FGrid ? FGrid->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesGx::SetColor(TColor value)
{
    if (FColorAssigned && value == FColor)
        return;
    FColor = value;
    FColorAssigned = true;
    if (FGrid)
        FGrid->InvalidateGrid();
}

void TColumnTitleDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    if (FGrid)
        FGrid->InvalidateGrid();
}

void TColumnTitleDefValuesGx::SetOrientation(TTextOrientationGx value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    if (FGrid)
        FGrid->RequestLayout();
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
    if (FGrid)
        FGrid->InvalidateGrid();
}

void TColumnDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    if (FGrid)
        FGrid->InvalidateGrid();
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
