#pragma once
// TColumnTitleGx: the title settings of one column.  Its assigned-value
// bits live in the column's set; until assigned a setting follows the
// grid's ColumnDefValues.Title, the grid's TitleFont or the field.

#include "data/Field.h"
#include "grid/columns/ColumnTypesGx.h"
#include "ui/FontGx.h"
#include "platform/Color.h"

#include <string>

class TColumnGx;
class TDBGridColumnsGx;
class TColumnsHostGx;

class TColumnTitleGx {
public:
    explicit TColumnTitleGx(TColumnGx* column);
    virtual ~TColumnTitleGx() = default;
    TColumnTitleGx(const TColumnTitleGx&) = delete;
    TColumnTitleGx& operator=(const TColumnTitleGx&) = delete;

    TColumnGx* Column() const { return FColumn; }

    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    // Until set: the field's DisplayName, else the column's FieldName.
    std::string Caption() const;
    virtual void SetCaption(const std::string& value);
    TColor Color() const;
    void SetColor(TColor value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    // Until set: the grid's TitleFont (the column's font without a grid).
    TFontGx Font() const;
    void SetFont(const TFontGx& value);
    TFontGx DefaultFont() const;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);   // runs the layout pass
    TTextOrientationGx Orientation() const;
    void SetOrientation(TTextOrientationGx value);
    bool TitleButton() const;
    void SetTitleButton(bool value);
    bool ToolTips() const;
    void SetToolTips(bool value);

    // ---- sorting
    TSortMarkerGx SortMarker() const { return FSortMarker; }
    // Keeps the grid's sort-marked list and the sort indexes in step.
    void SetSortMarker(TSortMarkerGx value);
    int SortIndex() const { return FSortIndex; }
    // Swaps places with the column holding the index, if any.
    void SetSortIndex(int value);
    // Advances the marker as a title click does; without keepOthers every
    // other column loses its marker first.
    void SetNextSortMarkerValue(bool keepOthers);
    // The marker that follows the current one.
    TSortMarkerGx NextSortMarker(bool keepOthers) const;

    // Copies Alignment, Color, Caption and Font where assigned on the
    // source's column, and TitleButton, SortMarker, EndEllipsis, ToolTips
    // and Orientation always.
    void Assign(const TColumnTitleGx& source);
    // Clears the title's assigned-value bits and caption.
    virtual void RestoreDefaults();

private:
    friend class TDBGridColumnsGx;   // keeps sort indexes in step with its sorted list

    TColumnsHostGx* Host() const;
    // The column's collection while it has a host: the keeper of the
    // sort-marked list.
    TDBGridColumnsGx* HostedCollection() const;
    bool IsAssigned(TColumnValueGx value) const;
    void MarkAssigned(TColumnValueGx value);
    void Changed();

    TColumnGx* FColumn;
    TAlignment FAlignment = taLeftJustify;
    std::string FCaption;
    TColor FColor = clBtnFace;
    bool FEndEllipsis = false;
    TFontGx FFont;
    std::string FHint;
    int FImageIndex = -1;
    TTextOrientationGx FOrientation = tohHorizontal;
    bool FTitleButton = false;
    bool FToolTips = false;
    TSortMarkerGx FSortMarker = smNoneGx;
    int FSortIndex = 0;
};
