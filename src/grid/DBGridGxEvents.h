#pragma once
// The data grid's events: the painting events change how cells, titles
// and footers look or draw over them; the input events follow columns
// and sort markers.

#include "data/Field.h"
#include "grid/base/GridTypes.h"
#include "grid/columns/ColumnTypesGx.h"
#include "platform/Color.h"
#include "ui/FontGx.h"

#include <QRect>

#include <functional>
#include <string>

class TColumnGx;
class TCustomDBGridGx;
class TField;

using TGetCellParamsEventGx = std::function<void(TCustomDBGridGx& sender, TColumnGx& column, TFontGx& font,
                                                 TColor& background, TGridDrawState state)>;
using TGetBtnParamsEventGx = std::function<void(TCustomDBGridGx& sender, TColumnGx& column, TFontGx& font,
                                                TColor& background, TSortMarkerGx& sortMarker, bool isDown)>;
using TGetFooterParamsEventGx =
    std::function<void(TCustomDBGridGx& sender, int dataCol, int row, TColumnGx& column, TFontGx& font,
                       TColor& background, TAlignment& alignment, TGridDrawState state, std::string& text)>;
using TDrawDataCellEventGx =
    std::function<void(TCustomDBGridGx& sender, const QRect& rect, TField* field, TGridDrawState state)>;
using TDrawColumnCellEventGx = std::function<void(TCustomDBGridGx& sender, const QRect& rect, int dataCol,
                                                  TColumnGx& column, TGridDrawState state)>;
using TDrawFooterCellEventGx = std::function<void(TCustomDBGridGx& sender, int dataCol, int row,
                                                  TColumnGx& column, const QRect& rect, TGridDrawState state)>;

// The painting events, set on the grid.
struct TDBGridGxPaintEvents {
    TGetCellParamsEventGx OnGetCellParams;   // then the column's own
    TGetBtnParamsEventGx OnGetBtnParams;     // titles of columns with a field
    TGetFooterParamsEventGx OnGetFooterParams;
    // After a data cell is drawn; OnDrawDataCell only with default columns.
    TDrawDataCellEventGx OnDrawDataCell;
    TDrawColumnCellEventGx OnDrawColumnCell;
    TDrawFooterCellEventGx OnDrawFooterCell;
};

// The keyboard's events, set on the grid.
struct TDBGridGxInputEvents {
    std::function<void()> OnColEnter;   // a column became current
    std::function<void()> OnColExit;    // before another column becomes current
    // Sort markers changed by title clicks (with Ctrl: when Ctrl is let go).
    std::function<void()> OnSortMarkingChanged;
    // A click on the editor's ellipsis or drop-down button, or Ctrl+Enter
    // in such a cell; before the column's own OnEditButtonClick.
    std::function<void()> OnEditButtonClick;
};
