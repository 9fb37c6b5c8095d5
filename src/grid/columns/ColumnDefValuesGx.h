#pragma once
// Grid-wide defaults that every column, title and footer falls back to
// while its own setting is not assigned.

#include "data/Field.h"
#include "grid/columns/ColumnTypesGx.h"
#include "platform/Color.h"

class TColumnsHostGx;

class TColumnTitleDefValuesGx {
public:
    explicit TColumnTitleDefValuesGx(TColumnsHostGx* host) : FHost(host) {}

    // Until set: taCenter under multi-level titles, else taLeftJustify.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);   // runs the layout pass
    bool AlignmentAssigned() const { return FAlignmentAssigned; }
    // Until set: the grid's FixedColor.
    TColor Color() const;
    void SetColor(TColor value);           // repaints
    bool ColorAssigned() const { return FColorAssigned; }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);       // repaints
    TTextOrientationGx Orientation() const { return FOrientation; }
    void SetOrientation(TTextOrientationGx value);   // runs the layout pass
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool value) { FTitleButton = value; }
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }

    // Copies Alignment and Color where assigned on the source, and the
    // four plain values always.
    void Assign(const TColumnTitleDefValuesGx& source);

private:
    TColumnsHostGx* FHost;
    TAlignment FAlignment = taLeftJustify;
    bool FAlignmentAssigned = false;
    TColor FColor = clBtnFace;
    bool FColorAssigned = false;
    bool FEndEllipsis = false;
    TTextOrientationGx FOrientation = tohHorizontal;
    bool FTitleButton = false;
    bool FToolTips = false;
};

class TColumnDefValuesGx {
public:
    explicit TColumnDefValuesGx(TColumnsHostGx* host) : FHost(host), FTitle(host) {}

    bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
    void SetAlwaysShowEditButton(bool value);   // repaints
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool value) { FAutoDropDown = value; }
    bool DblClickNextVal() const { return FDblClickNextVal; }
    void SetDblClickNextVal(bool value) { FDblClickNextVal = value; }
    bool DropDownShowTitles() const { return FDropDownShowTitles; }
    void SetDropDownShowTitles(bool value) { FDropDownShowTitles = value; }
    bool DropDownSizing() const { return FDropDownSizing; }
    void SetDropDownSizing(bool value) { FDropDownSizing = value; }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);            // repaints
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }

    TColumnTitleDefValuesGx& Title() { return FTitle; }
    const TColumnTitleDefValuesGx& Title() const { return FTitle; }

    void Assign(const TColumnDefValuesGx& source);

private:
    TColumnsHostGx* FHost;
    TColumnTitleDefValuesGx FTitle;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FDblClickNextVal = false;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    bool FEndEllipsis = false;
    bool FToolTips = false;
};
