// The per-cell draw: which kind a cell is, its 3D frame and margins, the
// dispatch to the kind's painter, the frame and the focus rectangle.

#include "grid/paint/DBGridGxCellPainter.h"

#include "ui/Draw3D.h"
#include "ui/QtColor.h"

#include <QPainter>

namespace {

enum TCellRowKind { crTitle, crData, crFiller, crFooter };

TCellRowKind RowKindOf(const TCustomDBGridGx& grid, int row)
{
    if (row < grid.TitleRows())
        return crTitle;
    const int footers = grid.FooterRowCount();
    if (footers > 0 && row >= grid.RowCount() - footers)
        return crFooter;
    if (footers > 0 && row == grid.RowCount() - footers - 1)
        return crFiller;
    return crData;
}

}  // namespace

void PlaceImage(QPainter& canvas, const TImageList& images, TAlignment placement, int offset, int index,
                const QRect& rect)
{
    if (index < 0 || index >= images.Count() || rect.width() <= 0 || rect.height() <= 0)
        return;
    int x = rect.x() + offset;
    if (placement == taRightJustify)
        x = rect.x() + rect.width() - images.Width() + offset;
    else if (placement == taCenter)
        x = rect.x() + (rect.width() - images.Width()) / 2 + offset;
    const int y = rect.y() + (rect.height() - images.Height()) / 2;
    const bool fits = x >= rect.x() && y >= rect.y() && x + images.Width() <= rect.x() + rect.width() &&
                      y + images.Height() <= rect.y() + rect.height();
    if (fits) {
        images.Draw(canvas, x, y, index);
        return;
    }
    canvas.save();
    canvas.setClipRect(rect, Qt::IntersectClip);
    images.Draw(canvas, x, y, index);
    canvas.restore();
}

TDBGridGxCellPainter::TDBGridGxCellPainter(TCustomDBGridGx& grid, QPainter& canvas, int col, int row,
                                           const QRect& rect, TGridDrawState state)
    : FGrid(grid),
      FCanvas(canvas),
      FCol(col),
      FRow(row),
      FDataCol(grid.RawToDataColumn(col)),
      FDataRow(row - grid.TitleRows()),
      FCellRect(rect),
      FRect(rect),
      FState(state)
{
    switch (RowKindOf(grid, row)) {
    case crTitle:
        FRowKind = rkTitle;
        break;
    case crFiller:
        FRowKind = rkFiller;
        break;
    case crFooter:
        FRowKind = rkFooter;
        FFooterRow = grid.FooterRowCount() + row - grid.RowCount();
        break;
    default:
        FRowKind = rkData;
        break;
    }
    FFrame3D = HasFrame3D(grid, col, row, state);
    FDX = FFrame3D ? 1 : 2;
    FDY = FDX - (grid.Flat() ? 1 : 0);
    if (FFrame3D)
        FRect.adjust(1, 1, -1, -1);
}

bool TDBGridGxCellPainter::HasFrame3D(const TCustomDBGridGx& grid, int col, int row, TGridDrawState state)
{
    const TDBGridGxOptions options = grid.OptionsGx();
    const TCellRowKind kind = RowKindOf(grid, row);
    const bool fixed = state.Contains(gdFixed);
    const bool indicator = grid.RawToDataColumn(col) < 0;
    const bool title = kind == crTitle;
    if (fixed && options.Contains(dghFixed3D) && (title || indicator) && kind != crFiller)
        return true;
    if (options.Contains(dghFooter3D) && kind == crFooter)
        return true;
    if (options.Contains(dghData3D) && !fixed && !title && (kind == crData || kind == crFiller))
        return true;
    if (options.Contains(dghFixed3D) && (options.Contains(dghData3D) || options.Contains(dghFrozen3D)) &&
        indicator && kind == crFiller)
        return true;
    if (options.Contains(dghFrozen3D) && fixed && !title && !indicator)
        return true;
    return false;
}

void TDBGridGxCellPainter::Draw()
{
    if (FRect.width() > 0 && FRect.height() > 0) {
        TColumnGx* column = nullptr;
        if (FDataCol >= 0 && FDataCol < FGrid.Columns().Count())
            column = FGrid.Columns()[FDataCol];
        if (FDataCol < 0) {
            DrawIndicator();
        } else if (!column) {
            // A grid column without a column object (none yet): empty.
            SetBrush(FRowKind == rkTitle ? FGrid.FixedColor() : FGrid.Color());
            FCanvas.fillRect(FRect, FCanvas.brush().color());
        } else {
            switch (FRowKind) {
            case rkTitle:
                DrawTitle(*column);
                break;
            case rkData:
                DrawData(*column);
                break;
            case rkFiller:
                DrawFiller(*column);
                break;
            case rkFooter:
                DrawFooter(*column);
                break;
            }
        }
    }
    if (FFrame3D)
        DrawFrame3D();
    if (FRowKind == rkTitle && FGrid.UseMultiTitle() && FDataCol >= 0 && FDataCol < FGrid.Columns().Count())
        DrawTitleBands(*FGrid.Columns()[FDataCol]);
}

// ---- shared pieces ---------------------------------------------------------

bool TDBGridGxCellPainter::ColumnSelected(TColumnGx& column) const
{
    TDBGridGxSelection& selection = FGrid.Selection();
    if (selection.SelectionType() == gstAll)
        return true;
    return selection.SelectionType() == gstColumns && selection.Cols().Contains(&column);
}

TCellTextGx TDBGridGxCellPainter::TextCell(const QRect& rect, TAlignment alignment) const
{
    TCellTextGx cell;
    cell.Rect = rect;
    cell.Alignment = alignment;
    cell.DX = FDX;
    cell.DY = FDY;
    cell.RightToLeft = FGrid.IsMirrored();
    return cell;
}

void TDBGridGxCellPainter::SetBrush(TColor color)
{
    FBrush = color;
    FCanvas.setBrush(ToQColor(color));
}

void TDBGridGxCellPainter::SetFont(const TFontGx& font)
{
    FCanvas.setFont(font);
    SetTextColor(font.Color());
}

void TDBGridGxCellPainter::SetTextColor(TColor color) { FCanvas.setPen(ToQColor(color)); }

void TDBGridGxCellPainter::DrawFrame3D()
{
    const unsigned edge = (FDark || FPressed) ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if (!FGrid.Flat()) {
        DrawEdge(FCanvas, FCellRect, edge, BF_RECT);
        return;
    }
    // Flat: the bottom and right lines in the brush colour, the edge on the
    // top and left only.
    const QRect& r = FCellRect;
    const QColor brush = ToQColor(FBrush);
    FCanvas.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), brush);
    FCanvas.fillRect(QRect(r.right(), r.top(), 1, r.height()), brush);
    DrawEdge(FCanvas, r, edge, BF_TOPLEFT);
}

void TDBGridGxCellPainter::DrawFocus(const QRect& rect)
{
    const TDBGridOptions options = FGrid.Options();
    if (!FGrid.DefaultDrawing() || !FState.Contains(gdFocused) || options.Contains(dgRowSelect) ||
        FGrid.UpdateLock() != 0 || !FGrid.IsActiveControl())
        return;
    if (rect.width() > 0 && rect.height() > 0)
        DrawFocusRect(FCanvas, rect);
}
