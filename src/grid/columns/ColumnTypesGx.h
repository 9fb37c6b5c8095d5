#pragma once
// Value types of the grid's column model.

#include "grid/base/EnumSet.h"

#include <string>
#include <vector>

// Button a cell's editor carries.
enum TColumnButtonStyleGx { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown };

// Sort marker shown in a column's title.
enum TSortMarkerGx { smNoneGx, smDownGx, smUpGx };

// Direction of a title's text.
enum TTextOrientationGx { tohHorizontal, tohVertical };

// What a footer cell shows.
enum TFooterValueTypeGx { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

// Aggregate a footer's summary item computes.
enum TFooterSummaryOperationGx { fsoNone, fsoSum, fsoAvg, fsoCount };

// State of a check box cell.
enum TCheckBoxStateGx { cbsUnchecked, cbsChecked, cbsGrayed };

// How a column edits and shows its value, derived from its settings and
// field on each use.
enum TColumnKindGx {
    ckCheckboxes,    // Checkboxes is on
    ckLookupField,   // the field is a lookup field
    ckPickList,      // PickList has items, KeyList has none
    ckKeyImageList,  // KeyList has items and an image list is set
    ckKeyPickList,   // KeyList has items and a pick list exists
    ckCommon
};

// Input method mode of a cell editor.
enum TImeModeGx { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                  imChinese, imSHanguel, imHanguel };

// Settings of a column (and of its title) that have a value of their own
// only once assigned; until then their getters derive one.
enum TColumnValueGx {
    cvColor, cvWidth, cvFont, cvAlignment, cvReadOnly,
    cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont, cvTitleButton,
    cvTitleEndEllipsis, cvTitleToolTips, cvTitleOrientation,
    cvImeMode, cvImeName, cvWordWrap, cvLookupDisplayFields, cvCheckboxes,
    cvAlwaysShowEditButton, cvEndEllipsis, cvAutoDropDown, cvDblClickNextVal,
    cvToolTips, cvDropDownSizing, cvDropDownShowTitles
};
using TColumnValuesGx = TEnumSet<TColumnValueGx>;

// The title's share of the assigned-value bits.
inline constexpr TColumnValuesGx TitleValuesGx{
    cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont, cvTitleButton,
    cvTitleEndEllipsis, cvTitleToolTips, cvTitleOrientation};

enum TColumnFooterValueGx { cvFooterAlignment, cvFooterFont, cvFooterColor };
using TColumnFooterValuesGx = TEnumSet<TColumnFooterValueGx>;

// Whether a collection's columns are the ones the grid derived from the
// dataset's fields or ones the user made.
enum TDBGridColumnsStateGx { csDefault, csCustomized };

// Lines of text such as a pick list or a key list.
using TStringListGx = std::vector<std::string>;
// The first line equal to text without regard to case, or -1.
int IndexOfNoCase(const TStringListGx& list, const std::string& text);
