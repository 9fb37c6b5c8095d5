// The upper bands of multi-level titles: above a column's leaf, the slice
// of every node the leaf lies under, each node's text centred over the
// node's whole span so that each column shows its own part of it.

#include "grid/paint/DBGridGxCellPainter.h"

#include "grid/titles/DBGridGxTitleTree.h"
#include "ui/Draw3D.h"
#include "ui/QtColor.h"

#include <QPainter>

namespace {

// The left edge of a node's span: its child's left edge less the widths of
// the children before it, with the lines between them.
int SpanLeftOf(const THeadTreeNode& host, const THeadTreeNode& child, int childLeft, int lineWidth)
{
    int left = childLeft;
    for (const auto& sibling : host.Children()) {
        if (sibling.get() == &child)
            break;
        left -= sibling->Width + lineWidth;
    }
    return left;
}

}  // namespace

void TDBGridGxCellPainter::DrawTitleBands(TColumnGx& column)
{
    const THeadTreeNode* node = FGrid.TitleTree().Leaf(FDataCol);
    if (!node)
        return;
    const TDBGridOptions options = FGrid.Options();
    const int lineWidth = options.Contains(dgColLines) ? 1 : 0;
    const bool rowLines = options.Contains(dgRowLines);
    const int cellLeft = FCellRect.x();
    const int cellRight = FCellRect.x() + FCellRect.width();
    // Over the last frozen column of a scrolled grid the next column shown
    // is not the band's continuation: the line between them stays.
    const bool cutAfter = FCol == FGrid.FixedCols() - 1 && FGrid.LeftCol() > FGrid.FixedCols();
    const bool dark = ColumnSelected(column);
    const TColor background = dark ? DarkCellColorGx : FGrid.FixedColor();

    FCanvas.save();
    SetFont(FGrid.TitleFont());
    if (dark)
        SetTextColor(clWhite);
    SetBrush(background);

    int nodeTop = FRect.y() + FRect.height() - node->Height + 3;
    int nodeLeft = cellLeft;
    // The root's band lies wholly above the title row: it is never seen.
    for (const THeadTreeNode* host = node->Host(); host && host->Host(); node = host, host = host->Host()) {
        const int spanLeft = SpanLeftOf(*host, *node, nodeLeft, lineWidth);
        const int spanRight = spanLeft + host->Width;
        const int sliceRight = cellRight + (spanRight > cellRight && !cutAfter ? 1 : 0);
        const int bandTop = nodeTop - host->Height;
        const int bandBottom = nodeTop - (rowLines ? 1 : 0);
        const QRect band(cellLeft, bandTop, sliceRight - cellLeft, bandBottom - bandTop);
        DrawTitleBand(column, *host, band, spanLeft, spanRight, dark);
        if (rowLines)
            FCanvas.fillRect(QRect(cellLeft, bandBottom, sliceRight - cellLeft, 1),
                             ToQColor(FGrid.Flat() ? clGray : clBlack));
        nodeTop = bandTop;
        nodeLeft = spanLeft;
    }
    FCanvas.restore();
}

void TDBGridGxCellPainter::DrawTitleBand(const TColumnGx& column, const THeadTreeNode& host, const QRect& band,
                                         int spanLeft, int spanRight, bool dark)
{
    if (band.width() <= 0 || band.height() <= 0)
        return;
    const int cellRight = FCellRect.x() + FCellRect.width();
    const bool startsHere = spanLeft >= FCellRect.x();
    const bool endsHere = spanRight <= cellRight;
    FCanvas.fillRect(band, ToQColor(FBrush));

    // The text area: the band less its frame, and 2 pixels in from the
    // span's ends; the margins reach out to the whole span.
    QRect content = band;
    int textLeft = spanLeft;
    int textRight = spanRight;
    if (FFrame3D) {
        content.adjust(0, 1, 0, -1);
        textLeft += 2;
        textRight -= 2;
    }
    const int left = std::max(content.x(), textLeft);
    const int right = std::min(content.x() + content.width(), textRight);
    if (right > left && content.height() > 0) {
        TCellTextGx cell = TextCell(QRect(left, content.y(), right - left, content.height()), taCenter);
        cell.WordWrap = true;
        cell.Placement = vpCenterGx;
        cell.EndEllipsis = column.Title()->EndEllipsis();
        cell.LeftMargin = textLeft - left;
        cell.RightMargin = right - textRight;
        WriteCellText(FCanvas, cell, QString::fromStdString(host.Text));
    }

    if (FFrame3D) {
        // Flat titles keep the edge on the top and left only, as their
        // single-level cells do; the band's fill stands for the other two.
        unsigned flags = BF_TOP | (startsHere ? BF_LEFT : 0u);
        if (!FGrid.Flat())
            flags |= BF_BOTTOM | (endsHere ? BF_RIGHT : 0u);
        DrawEdge(FCanvas, band, dark ? BDR_SUNKENINNER : BDR_RAISEDINNER, flags);
    }
}
