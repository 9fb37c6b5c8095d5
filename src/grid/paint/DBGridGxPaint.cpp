// Painting of the data grid as a whole: the lines of each region with
// their colours (frozen columns and footers included), the walk over the
// visible cells with their draw states, the areas right of and below the
// cells and the row-select focus rectangle; the per-cell draw hands each
// cell to TDBGridGxCellPainter.  Also the highlight test of data cells, the
// painting state other parts drive, and the flat border.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxMouse.h"

#include "grid/paint/DBGridGxCellPainter.h"
#include "grid/GridDataLinkGx.h"
#include "grid/base/GridDrawInfo.h"
#include "grid/base/InplaceEdit.h"
#include "ui/QtColor.h"

#include <QPainter>
#include <QPalette>

namespace {

// A region given by its edges, the right and bottom edges exclusive.
QRect Region(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

// First pixel after the leading `count` cells of an axis.
int BoundaryAfter(const TGridAxisDrawInfo& axis, int count)
{
    int pos = 0;
    for (int cell = 0; cell < count && cell < axis.GridCellCount; ++cell)
        pos += axis.Pitch(cell);
    return pos;
}

}  // namespace

void TCustomDBGridGx::Paint()
{
    if (D->FPaintSuppressed)
        return;

    // Multi-level titles: scrolling from the first scrollable column to
    // another one, or back, changes the band slices over the last frozen
    // column, which the scroll did not touch.
    // The repaint is asked for after this paint: a request made while
    // painting would be taken as painted.
    if (D->FUseMultiTitle && D->FTitleTree->ScrollStateChanged(LeftCol() > FixedCols()))
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (int row = 0; row < D->FTitleRows; ++row)
                    InvalidateRow(row);
            },
            Qt::QueuedConnection);

    const TGridDrawInfo di = CalcDrawInfo();
    const TGridAxisDrawInfo& h = di.Horz;
    const TGridAxisDrawInfo& v = di.Vert;
    QPainter& canvas = Canvas();

    // The frozen columns lie between the indicator and the fixed boundary;
    // the footer rows between footerTop and the grid boundary.
    const int frozenLeft = BoundaryAfter(h, D->FIndicatorCols);
    int footerTop = v.GridBoundary;
    if (D->FFooterRowCount > 0) {
        const int start = GridAxis::CellStart(v, RowCount() - D->FFooterRowCount);
        if (start >= 0 && start < v.GridBoundary)
            footerTop = start;
    }
    const bool footerLook = D->FOptionsGx.Contains(dghFooter3D) || ColorToRGB(FooterColor()) == ColorToRGB(clBtnFace);

    if (GridLineWidth() > 0) {
        const TGridOptions options = TCustomGrid::Options();
        const bool fixedHorz = options.Contains(goFixedHorzLine);
        const bool fixedVert = options.Contains(goFixedVertLine);
        const TColor fixedLine = D->FFlat ? clGray : clBlack;
        const TColor dataLine = ColorToRGB(Color()) == ColorToRGB(clSilver) ? clGray : clSilver;
        DrawLines(di, fixedHorz, fixedVert, 0, 0, Region(0, 0, h.FixedBoundary, v.FixedBoundary), fixedLine,
                  FixedColor());
        DrawLines(di, fixedHorz, fixedVert, LeftCol(), 0, Region(h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary),
                  fixedLine, FixedColor());
        DrawLines(di, fixedHorz, fixedVert, 0, TopRow(), Region(0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary),
                  fixedLine, FixedColor());
        if (D->FFrozenCols > 0 && !D->FOptionsGx.Contains(dghFrozen3D)) {
            const int bottom = footerLook ? footerTop : v.GridBoundary;
            DrawLines(di, fixedHorz, fixedVert, D->FIndicatorCols, TopRow(),
                      Region(frozenLeft, v.FixedBoundary, h.FixedBoundary, bottom), dataLine, Color());
        }
        DrawLines(di, options.Contains(goHorzLine), options.Contains(goVertLine), LeftCol(), TopRow(),
                  Region(h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary), dataLine, Color());
        if (footerLook && footerTop < v.GridBoundary) {
            const int firstFooter = RowCount() - D->FFooterRowCount;
            DrawLines(di, fixedHorz, fixedVert, D->FIndicatorCols, firstFooter,
                      Region(frozenLeft, footerTop, h.FixedBoundary, v.GridBoundary), fixedLine, FooterColor());
            DrawLines(di, fixedHorz, fixedVert, LeftCol(), firstFooter,
                      Region(h.FixedBoundary, footerTop, h.GridBoundary, v.GridBoundary), fixedLine, FooterColor());
            const int lineWidth = v.EffectiveLineWidth;
            if (options.Contains(goHorzLine) && lineWidth > 0 && footerTop - lineWidth >= v.FixedBoundary)
                canvas.fillRect(Region(frozenLeft, footerTop - lineWidth, h.GridBoundary, footerTop),
                                ToQColor(fixedLine));
        }
    }

    // The cells of the four regions, row by row, left to right.
    const bool focused = IsActiveControl();
    const TGridRect selection = TCustomGrid::Selection();
    const auto drawCell = [this](int col, int row, const QRect& rect, TGridDrawState state) {
        DrawCell(col, row, rect, state);
    };
    auto drawRegion = [&](int startCol, int startRow, const QRect& bounds, TGridDrawState include) {
        WalkCells(di, startCol, startRow, bounds, include, drawCell);
    };
    drawRegion(0, 0, Region(0, 0, h.FixedBoundary, v.FixedBoundary), {gdFixed});
    drawRegion(LeftCol(), 0, Region(h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary), {gdFixed});
    drawRegion(0, TopRow(), Region(0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary), {gdFixed});
    drawRegion(LeftCol(), TopRow(), Region(h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary), {});

    if (h.GridBoundary < h.GridExtent)
        canvas.fillRect(Region(h.GridBoundary, 0, h.GridExtent, v.GridBoundary), ToQColor(Color()));
    if (v.GridBoundary < v.GridExtent)
        canvas.fillRect(Region(0, v.GridBoundary, h.GridExtent, v.GridExtent), ToQColor(Color()));

    if (D->FOptions.Contains(dgRowSelect) && DefaultDrawing() && focused) {
        const QRect rowRect =
            GridRectToScreenRect({D->FIndicatorCols, selection.Top, selection.Right, selection.Bottom}, false);
        DrawFocusRect(rowRect);
    }
}

void TCustomDBGridGx::DrawCell(int col, int row, const QRect& rect, TGridDrawState state)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    TDBGridGxCellPainter(*this, Canvas(), col, row, rect, state).Draw();
}

bool TCustomDBGridGx::HighlightDataCell(int dataCol, int dataRow, TGridDrawState state, const std::string& /*text*/)
{
    if (D->FOptions.Contains(dgMultiSelect) && D->FDataLink->Active() && D->FSelectionModel->DrawnCellSelected(dataCol))
        return true;
    const int row = dataRow + D->FTitleRows;
    const int col = DataToRawColumn(dataCol);
    const bool inCurrentRow = row == Row();
    bool focusLook = IsActiveControl() && D->FOptionsGx.Contains(dghHighlightFocus);
    if (D->FOptionsGx.Contains(dghRowHighlight) && inCurrentRow && Selection().Empty() && col != Col()) {
        state += gdSelected;
        focusLook = true;
    }
    if (!state.Contains(gdSelected))
        return inCurrentRow && D->FOptions.Contains(dgRowSelect);
    return (D->FOptions.Contains(dgAlwaysShowSelection) || focusLook) &&
           (D->FUpdateLock == 0 || D->FOptions.Contains(dgRowSelect));
}

// ---- state other parts drive -----------------------------------------------

void TCustomDBGridGx::ApplyFlatBorder()
{
    if (!D->FFlat) {
        SetBorderStyle(BorderStyle());
        return;
    }
    if (BorderStyle() != bsSingle) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    // A sunken outer edge: shadow on the top and left, highlight on the
    // bottom and right.
    QPalette colors = palette();
    colors.setColor(QPalette::Dark, ToQColor(clBtnShadow));
    colors.setColor(QPalette::Light, ToQColor(clBtnHighlight));
    setPalette(colors);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}
