#pragma once
// Writing a cell's text, as the grid paints titles, data and footers.
//
// The writers draw with the painter's font, its pen colour as the text
// colour and its brush colour as the background, which fills the whole
// rectangle.  Rectangles are cell rectangles: x() + width() is the first
// pixel right of the cell.
//
// One-line text is drawn straight into the cell, dx pixels from the left
// edge and dy below the top (right-aligned text ends 3 pixels before the
// right edge); with end ellipsis it is first shortened to the width less
// dx, ending in "...".  Word-wrapped text is composed on the grids' shared
// off-screen bitmap in the rectangle less dx and dy on every side (one
// pixel lower when dx > 0), with the margins, and copied to the cell.
// Rectangles are in the painter's coordinates, which a grid under
// right-to-left reading mirrors: the text itself is drawn unmirrored on the
// mirrored rectangle, and with RightToLeft left and right alignment swap
// (text starts at the cell's right edge) and lines read right to left.

#include "data/Field.h"

#include <QRect>
#include <QString>

class QFont;
class QFontMetrics;
class QPainter;

enum TVertPlacementGx { vpTopGx, vpCenterGx, vpBottomGx };

struct TCellTextGx {
    QRect Rect;
    int LeftMargin = 0;
    int RightMargin = 0;
    bool EndEllipsis = false;
    bool WordWrap = false;
    TVertPlacementGx Placement = vpTopGx;
    TAlignment Alignment = taLeftJustify;
    int DX = 2;
    int DY = 2;
    bool RightToLeft = false;
};

void WriteCellText(QPainter& canvas, const TCellTextGx& cell, const QString& text);

// The paragraph direction the writers lay a cell's text in.
Qt::LayoutDirection TextDirection(const TCellTextGx& cell);

// A one-line text as the writer places it in a rectangle on the device:
// the text shown (shortened with "..." under end ellipsis), the top-left
// corner of its line and its width.
struct TOneLineTextGx {
    QString Shown;
    bool Ellipsized = false;
    QPoint Origin;
    int Width = 0;
};
// Word-wrapped text as the writer composes it on its bitmap, drawn with
// `composer` into `area` (the cell's rectangle moved to the bitmap).
void ComposeWrappedText(QPainter& composer, const QRect& area, TAlignment drawnAlignment, const TCellTextGx& cell,
                        const QString& text);

TOneLineTextGx LayOneLine(const QFont& font, const QRect& rect, TAlignment drawnAlignment, const TCellTextGx& cell,
                          const QString& text);

// The alignment as drawn in the reading order: left and right swap under
// right-to-left reading, centred stays.
TAlignment ReadingAlignment(TAlignment alignment, bool rightToLeft);

// Where the writer starts a text `textWidth` wide in cell.Rect with the
// alignment as drawn (after ReadingAlignment): a one-line text, or the
// widest line of a word-wrapped one.
int CellTextLeft(const TCellTextGx& cell, TAlignment drawnAlignment, int textWidth);

// Text turned 90 degrees, reading from bottom to top, starting `dy`
// pixels above the rectangle's bottom.  Across the cell it is placed by
// the alignment: dx from the left edge, against the right edge, or
// centred.  Returns the text's length along its line (its width plus the
// font's overhang); with measureOnly nothing is drawn.
int WriteVerticalText(QPainter& canvas, const TCellTextGx& cell, const QString& text, bool measureOnly = false);

// The width of a text as the one-line writer places it: the drawn extent
// for bold or italic text that is not left-aligned, else the advance.
int CellTextWidth(const QFontMetrics& metrics, const QString& text, TAlignment alignment, bool boldOrItalic);
