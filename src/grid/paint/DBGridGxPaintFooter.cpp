// Footer cells (the footer of the row with its text, the footer event and
// the selected look) and the cells of the filler row above them.

#include "grid/paint/DBGridGxCellPainter.h"

#include "ui/QtColor.h"

#include <QPainter>

void TDBGridGxCellPainter::DrawFooter(TColumnGx& column)
{
    TColumnFooterGx& footer = *column.UsedFooter(FFooterRow);
    SetBrush(footer.Color());
    TFontGx font = footer.Font();
    SetFont(font);

    if (FGrid.DefaultDrawing()) {
        TColor background = FBrush;
        TAlignment alignment = footer.Alignment();
        std::string text = FGrid.FooterText(FFooterRow, column);
        if (FGrid.OnGetFooterParams)
            FGrid.OnGetFooterParams(FGrid, FDataCol, FFooterRow, column, font, background, alignment, FState, text);
        SetBrush(background);
        SetFont(font);
        if (ColumnSelected(column)) {
            SetBrush(clHighlight);
            SetTextColor(clHighlightText);
        }
        TCellTextGx cell = TextCell(FRect, alignment);
        cell.EndEllipsis = footer.EndEllipsis();
        cell.WordWrap = footer.WordWrap() && FGrid.MultiLine();
        WriteCellText(FCanvas, cell, QString::fromStdString(text));
    }
    if (FGrid.OnDrawFooterCell)
        FGrid.OnDrawFooterCell(FGrid, FDataCol, FFooterRow, column, FRect, FState);
    DrawFocus(FRect);
}

void TDBGridGxCellPainter::DrawFiller(TColumnGx& column)
{
    SetBrush(ColumnSelected(column) ? clHighlight : column.Color());
    FCanvas.fillRect(FRect, ToQColor(FBrush));
    DrawFocus(FRect);
}
