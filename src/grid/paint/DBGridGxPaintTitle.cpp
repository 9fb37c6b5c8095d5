// Title cells: caption or title image, the press shift of a held title
// button, the sort-marker zone with its image and sort index number, and
// the dark look of selected columns.

#include "grid/paint/DBGridGxCellPainter.h"

#include "grid/input/DBGridGxMouse.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "ui/QtColor.h"
#include "ui/UnmirroredArea.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Width of the marker zone at a title's right edge.
constexpr int SortMarkerZone = 16;

}  // namespace

void TDBGridGxCellPainter::DrawTitle(TColumnGx& column)
{
    TColumnTitleGx& title = *column.Title();
    FPressed = FGrid.Mouse().PressedTitleCol() == FDataCol;

    // The caption, or the title image in its place.
    std::string caption = title.Caption();
    // Under multi-level titles the caption is the leaf's last part, in the
    // leaf's own height at the bottom of the cell.
    if (FGrid.UseMultiTitle()) {
        if (const THeadTreeNode* leaf = FGrid.TitleTree().Leaf(FDataCol)) {
            caption = leaf->Text;
            FRect.setTop(FGrid.TitleTree().LeafTop(FDataCol, FRect));
        }
    }
    TImageList* titleImages = FGrid.TitleImages();
    const bool titleImage = titleImages && title.ImageIndex() != -1;
    const int reservedImageWidth = titleImage ? titleImages->Width() : 0;
    if (titleImage)
        caption.clear();

    // The title button's colour and sort marker.
    TColor background = title.Color();
    TSortMarkerGx marker = title.SortMarker();
    TFontGx font = title.Font();
    if (column.Field() && FGrid.OnGetBtnParams) {
        TFontGx scratch = font;
        FGrid.OnGetBtnParams(FGrid, column, scratch, background, marker, FPressed);
    }
    SetBrush(background);

    const bool sized = FGrid.UseMultiTitle() || FGrid.TitleHeight() != 0 || FGrid.TitleLines() != 0;
    const int shift = FPressed ? (sized ? 2 : 1) : 0;
    QRect textRect = FRect.adjusted(shift, shift, 0, 0);
    const int cellRight = FRect.x() + FRect.width();

    // The sort-marker zone: 16 pixels for the image and the number; only
    // the number when the text is too narrow for the image; nothing when
    // even the number does not fit.
    const TImageList& markers = FGrid.PaintImages().SortMarkers();
    const QFont& indexFont = GridPaintResources().SortIndexFont();
    bool showImage = marker != smNoneGx;
    bool showNumber = marker != smNoneGx && FGrid.SortMarkedColumns().Count() > 1;
    const QString number = QString::number(title.SortIndex());
    const int numberWidth = showNumber ? QFontMetrics(indexFont).horizontalAdvance(number) : 0;
    if (marker != smNoneGx) {
        textRect.setRight(cellRight - 1 - SortMarkerZone);
        if (textRect.width() < reservedImageWidth || textRect.width() < 0) {
            showImage = false;
            textRect.setRight(cellRight - 1 - (numberWidth + 2));
            if (textRect.width() < reservedImageWidth || textRect.width() < 0) {
                showNumber = false;
                textRect.setRight(cellRight - 1);
            }
        }
    }

    // The font, which the button event may change once more.
    if (column.Field() && FGrid.OnGetBtnParams) {
        TColor scratchBackground = background;
        TSortMarkerGx scratchMarker = marker;
        FGrid.OnGetBtnParams(FGrid, column, font, scratchBackground, scratchMarker, FPressed);
    }
    SetFont(font);
    if (ColumnSelected(column)) {
        FDark = true;
        SetBrush(DarkCellColorGx);
        SetTextColor(clWhite);
    }

    const int zoneLeft = textRect.x() + std::max(0, textRect.width());
    if (zoneLeft < cellRight)
        FCanvas.fillRect(QRect(zoneLeft, FRect.y(), cellRight - zoneLeft, FRect.height()), ToQColor(FBrush));
    // The strip the press shift uncovers.
    if (shift > 0) {
        FCanvas.fillRect(QRect(FRect.x(), FRect.y(), FRect.width(), shift), ToQColor(FBrush));
        FCanvas.fillRect(QRect(FRect.x(), FRect.y(), shift, FRect.height()), ToQColor(FBrush));
    }

    TCellTextGx cell = TextCell(textRect, title.Alignment());
    cell.EndEllipsis = title.EndEllipsis();
    if (FGrid.UseMultiTitle()) {
        cell.WordWrap = true;
        cell.Placement = vpCenterGx;
        cell.Alignment = taCenter;
    } else if (FGrid.TitleHeight() != 0 || FGrid.TitleLines() != 0) {
        cell.WordWrap = true;
        cell.Placement = vpCenterGx;
    }
    if (textRect.width() > 0 && textRect.height() > 0) {
        const QString text = QString::fromStdString(caption);
        if (title.Orientation() == tohVertical) {
            cell.DY = FDY + 2;
            WriteVerticalText(FCanvas, cell, text);
        } else {
            WriteCellText(FCanvas, cell, text);
        }
    }

    if (titleImage)
        PlaceImage(FCanvas, *titleImages, FGrid.UseMultiTitle() ? taCenter : title.Alignment(), shift,
                   title.ImageIndex(), textRect);

    const int markerTop = FRect.y() + (FRect.height() - markers.Height()) / 2;
    if (showImage)
        markers.Draw(FCanvas, cellRight - markers.Width() - numberWidth - 2 + shift, markerTop + shift,
                     marker == smDownGx ? 0 : 1);
    if (showNumber) {
        FCanvas.save();
        FCanvas.setFont(indexFont);
        FCanvas.setPen(ToQColor(FDark ? clWhite : font.Color()));
        const QFontMetrics metrics(indexFont);
        const TUnmirroredArea place(FCanvas, QRect(cellRight - numberWidth - 2 + shift, markerTop + shift - 1,
                                                   numberWidth, metrics.height()));
        FCanvas.drawText(QPoint(place.Rect().x(), place.Rect().y() + metrics.ascent()), number);
        FCanvas.restore();
    }
}
