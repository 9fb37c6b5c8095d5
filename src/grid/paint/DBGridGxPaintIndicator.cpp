// Indicator cells: the fixed colour, the dark look of selected rows and
// the glyph of the current (or a highlighted) row.

#include "grid/paint/DBGridGxCellPainter.h"

#include "data/DataSet.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "ui/QtColor.h"

#include <QPainter>

namespace {

// The glyph of a row, or -1 for none.
int IndicatorImage(TCustomDBGridGx& grid, bool current, bool highlighted)
{
    if (!current && !highlighted)
        return -1;
    const TDataSet* dataSet = grid.DataLink()->DataSet();
    if (!dataSet)
        return -1;
    switch (dataSet->State()) {
    case dsEdit:
        return iiEditGx;
    case dsInsert:
        return iiInsertGx;
    case dsBrowse:
        if (!current)
            return -1;
        if (highlighted)
            return iiSelectedArrowGx;
        return grid.Keyboard().IncSearchActive() ? iiSearchArrowGx : iiArrowGx;
    default:
        return iiArrowGx;
    }
}

}  // namespace

void TDBGridGxCellPainter::DrawIndicator()
{
    TColor brush = FGrid.FixedColor();
    if (FRowKind == rkFiller && !FGrid.OptionsGx().Contains(dghFrozen3D))
        brush = FGrid.Color();
    SetBrush(brush);

    TGridDataLinkGx& link = *FGrid.DataLink();
    if (!link.Active()) {
        FCanvas.fillRect(FRect, ToQColor(brush));
        return;
    }

    const int record = FRowKind == rkData ? RowWindowOf(FGrid).RecordIndexOfRow(FRow) : -1;
    bool highlighted = FGrid.Selection().SelectionType() == gstAll;
    const bool recordRow = FDataRow >= 0 && (FGrid.FooterRowCount() == 0 || FRowKind == rkData);
    if (recordRow) {
        highlighted = false;
        if (record >= 0 && FGrid.Options().Contains(dgMultiSelect)) {
            TLinkRecordScope scope(link, record);
            highlighted = FGrid.SelectedRecords().CurrentRowSelected();
        }
    }
    if (highlighted) {
        FDark = true;
        SetBrush(DarkCellColorGx);
    }
    FCanvas.fillRect(FRect, ToQColor(FBrush));

    const bool current = record >= 0 && record == link.ActiveRecord();
    const int image = IndicatorImage(FGrid, current, highlighted);
    if (image >= 0) {
        const TImageList& glyphs = FGrid.PaintImages().Indicators();
        const int right = FRect.x() + FRect.width();
        const int bottom = FRect.y() + FRect.height();
        // The arrows point at the row's cells in either reading order.
        glyphs.DrawOriented(FCanvas, right - glyphs.Width() - FDX, (FRect.y() + bottom - glyphs.Height()) / 2, image);
    }
    if (current)
        RowWindowOf(FGrid).SetIndicatorRow(FRow);
}
