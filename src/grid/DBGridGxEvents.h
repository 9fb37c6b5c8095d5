#pragma once
// The data grid's painting events: a program sets them on the grid to
// change how cells, titles and footers look, or to draw over them.

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
