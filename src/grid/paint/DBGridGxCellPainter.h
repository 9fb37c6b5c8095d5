#pragma once
// TDBGridGxCellPainter: the per-cell draw of the data grid.  One painter
// serves one cell: it sorts the cell into its kind (indicator, title,
// data, filler or footer), decides whether it gets a 3D frame, paints its
// content with the text margins DX and DY, the frame, and the focus
// rectangle of data, footer and filler cells.  Its pieces live in one
// file per cell kind (DBGridGxPaintIndicator.cpp, ...Title, ...Data,
// ...Footer).

#include "grid/DBGridGx.h"
#include "grid/paint/GridTextWriter.h"
#include "grid/paint/GridPaintResources.h"

#include <QRect>

class QPainter;
class TColumnGx;
class THeadTreeNode;

// Draws image `index` of a list into rect, placed left, right or centred
// (shifted by offset) and centred vertically; clipped only when it does
// not fit.
void PlaceImage(QPainter& canvas, const TImageList& images, TAlignment placement, int offset, int index,
                const QRect& rect);

// The dark look of selected title and indicator cells.
inline constexpr TColor DarkCellColorGx = RGB(64, 64, 64);

class TDBGridGxCellPainter {
public:
    TDBGridGxCellPainter(TCustomDBGridGx& grid, QPainter& canvas, int col, int row, const QRect& rect,
                         TGridDrawState state);
    void Draw();

    // Whether a cell of these coordinates gets a 3D frame.
    static bool HasFrame3D(const TCustomDBGridGx& grid, int col, int row, TGridDrawState state);

private:
    enum TRowKind { rkTitle, rkData, rkFiller, rkFooter };

    void DrawIndicator();
    void DrawTitle(TColumnGx& column);
    // The upper levels of multi-level titles above the column's leaf.
    void DrawTitleBands(TColumnGx& column);
    // One node's slice over this column; spanLeft and spanRight are the
    // node's whole span, over which its text is centred.
    void DrawTitleBand(const TColumnGx& column, const THeadTreeNode& host, const QRect& band, int spanLeft,
                       int spanRight, bool dark);
    void DrawData(TColumnGx& column);
    void DrawEmptyData(TColumnGx& column);
    void DrawEditButtons(TColumnGx& column, const QRect& textRect);
    // The cell text of a data column: its end ellipsis, and word wrap
    // while the grid shows several lines.
    TCellTextGx DataTextCell(const TColumnGx& column, const QRect& textRect, TAlignment alignment) const;
    // The incremental search's highlight over the current cell's text.
    bool SearchTextShown() const;
    void DrawSearchText(const TCellTextGx& cell, const QString& displayText);
    void DrawWrappedSearchText(const TCellTextGx& cell, const QRect& rect, const QRect& inner,
                               const QString& displayText, int length, const QColor& background, const QColor& text);
    void DrawFooter(TColumnGx& column);
    void DrawFiller(TColumnGx& column);
    void DrawFrame3D();
    void DrawFocus(const QRect& rect);

    // The column's selected look: a column selection holding it, or all.
    bool ColumnSelected(TColumnGx& column) const;
    // A text cell of the painter's rectangle and margins.
    TCellTextGx TextCell(const QRect& rect, TAlignment alignment) const;
    void SetBrush(TColor color);
    void SetFont(const TFontGx& font);
    void SetTextColor(TColor color);

    TCustomDBGridGx& FGrid;
    QPainter& FCanvas;
    int FCol;
    int FRow;
    int FDataCol;
    int FDataRow;
    TRowKind FRowKind;
    int FFooterRow = -1;
    QRect FCellRect;   // the whole cell
    QRect FRect;       // its content: one pixel less on every side with a 3D frame
    TGridDrawState FState;
    bool FFrame3D;
    bool FDark = false;
    bool FPressed = false;
    int FDX;
    int FDY;
    TColor FBrush = clWindow;
};
