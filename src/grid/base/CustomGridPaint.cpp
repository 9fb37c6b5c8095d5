// Painting of the base grid: lines per region, the cell walk with draw
// states, the focus rectangle and the free area; the mouse's sizing line
// or move marker goes over everything.  All of it is drawn in logical
// coordinates, mirrored by the painter under right-to-left reading.

#include "grid/base/CustomGrid.h"

#include "grid/base/CustomGridMouse.h"
#include "grid/base/InplaceEdit.h"
#include "ui/Draw3D.h"
#include "ui/QtColor.h"

#include <QPaintEvent>
#include <QPainter>

#include <cassert>

namespace {
// A region given by its edges, the right and bottom edges exclusive.
QRect Region(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
}  // namespace

QPainter& TCustomGrid::Canvas() const {
    assert(FCanvas && "Canvas is only valid while painting");
    return *FCanvas;
}

void TCustomGrid::paintEvent(QPaintEvent* e) {
    QPainter painter(viewport());
    // Cells are painted in logical coordinates; under right-to-left reading
    // the painter mirrors them, and text and images lift the mirror where
    // they are drawn (TUnmirroredArea).
    painter.setWorldTransform(ViewportTransform());
    FCanvas = &painter;
    FPaintRect = ViewportRect(e->rect());
    painter.setFont(font());
    Paint();
    FCanvas = nullptr;
    FMouse->PaintOverlay(painter);
}

void TCustomGrid::Paint() {
    const TGridDrawInfo di = CalcDrawInfo();
    const TGridAxisDrawInfo& h = di.Horz;
    const TGridAxisDrawInfo& v = di.Vert;
    if (h.EffectiveLineWidth > 0 || v.EffectiveLineWidth > 0) {
        const bool fixedHorz = FOptions.Contains(goFixedHorzLine);
        const bool fixedVert = FOptions.Contains(goFixedVertLine);
        const TColor lineColor = ColorToRGB(FColor) == clSilver ? clGray : clSilver;
        const TColor fixedLine = clBlack;
        DrawLines(di, fixedHorz, fixedVert, 0, 0, Region(0, 0, h.FixedBoundary, v.FixedBoundary),
                  fixedLine, FFixedColor);
        DrawLines(di, fixedHorz, fixedVert, LeftCol(), 0,
                  Region(h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary), fixedLine,
                  FFixedColor);
        DrawLines(di, fixedHorz, fixedVert, 0, TopRow(),
                  Region(0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary), fixedLine,
                  FFixedColor);
        DrawLines(di, FOptions.Contains(goHorzLine), FOptions.Contains(goVertLine), LeftCol(),
                  TopRow(), Region(h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary),
                  lineColor, FColor);
    }
    DrawCells(di, 0, 0, Region(0, 0, h.FixedBoundary, v.FixedBoundary), FFixedColor, {gdFixed});
    DrawCells(di, LeftCol(), 0, Region(h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary),
              FFixedColor, {gdFixed});
    DrawCells(di, 0, TopRow(), Region(0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary),
              FFixedColor, {gdFixed});
    DrawCells(di, LeftCol(), TopRow(),
              Region(h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary), FColor,
              {});

    QPainter& canvas = Canvas();
    if (FOptions.Contains(goRowSelect) && FDefaultDrawing && IsActiveControl())
        DrawFocusRect(GridRectToScreenRect(Selection(), false));
    if (h.GridBoundary < h.GridExtent)
        canvas.fillRect(Region(h.GridBoundary, 0, h.GridExtent, v.GridBoundary), ToQColor(FColor));
    if (v.GridBoundary < v.GridExtent)
        canvas.fillRect(Region(0, v.GridBoundary, h.GridExtent, v.GridExtent), ToQColor(FColor));
}

void TCustomGrid::DrawLines(const TGridDrawInfo& drawInfo, bool doHorz, bool doVert,
                            int startCol, int startRow, const QRect& bounds,
                            TColor onColor, TColor offColor) {
    if (bounds.width() <= 0 || bounds.height() <= 0) return;
    QPainter& canvas = Canvas();
    // Vertical lines follow the columns, horizontal lines the rows.  The
    // lines in the "on" colour are drawn last so they win at crossings.
    auto drawVertical = [&](TColor lineColor) {
        const QColor color = ToQColor(lineColor);
        const TGridAxisDrawInfo& axis = drawInfo.Horz;
        const int lw = axis.EffectiveLineWidth;
        if (lw <= 0) return;
        int pos = bounds.x();
        for (int col = startCol; col < axis.GridCellCount; ++col) {
            pos += axis.GetExtent(col);
            if (pos >= bounds.x() + bounds.width()) break;
            canvas.fillRect(QRect(pos, bounds.y(), lw, bounds.height()), color);
            pos += lw;
        }
    };
    auto drawHorizontal = [&](TColor lineColor) {
        const QColor color = ToQColor(lineColor);
        const TGridAxisDrawInfo& axis = drawInfo.Vert;
        const int lw = axis.EffectiveLineWidth;
        if (lw <= 0) return;
        int pos = bounds.y();
        for (int row = startRow; row < axis.GridCellCount; ++row) {
            pos += axis.GetExtent(row);
            if (pos >= bounds.y() + bounds.height()) break;
            canvas.fillRect(QRect(bounds.x(), pos, bounds.width(), lw), color);
            pos += lw;
        }
    };
    if (!doHorz) {
        drawHorizontal(offColor);
        drawVertical(doVert ? onColor : offColor);
    } else {
        drawVertical(doVert ? onColor : offColor);
        drawHorizontal(onColor);
    }
}

void TCustomGrid::WalkCells(const TGridDrawInfo& drawInfo, int startCol, int startRow,
                            const QRect& bounds, TGridDrawState includeState,
                            const TCellVisitor& visit) {
    const bool focused = IsActiveControl();
    const TGridRect sel = Selection();
    const bool editorShowing = FOptions.Contains(goEditing) && FEditorMode && FInplaceEdit &&
                               FInplaceEdit->isVisible();
    const int stopX = bounds.x() + bounds.width();
    const int stopY = bounds.y() + bounds.height();
    int top = bounds.y();
    for (int row = startRow; top < stopY && row < FRowCount; ++row) {
        const int height = RowHeights(row);
        if (height > 0 && top < FPaintRect.y() + FPaintRect.height() &&
            top + height > FPaintRect.y()) {
            int left = bounds.x();
            for (int col = startCol; left < stopX && col < FColCount; ++col) {
                const int width = ColWidths(col);
                const QRect where(left, top, width, height);
                if (width > 0 && where.intersects(FPaintRect)) {
                    TGridDrawState state = includeState;
                    const bool isCurrent = row == FCurrent.Y && col == FCurrent.X;
                    if (focused && isCurrent) state += gdFocused;
                    if (sel.Contains(col, row)) state += gdSelected;
                    if (!(isCurrent && editorShowing)) visit(col, row, where, state);
                }
                left += width + drawInfo.Horz.EffectiveLineWidth;
            }
        }
        top += height + drawInfo.Vert.EffectiveLineWidth;
    }
}

void TCustomGrid::DrawCells(const TGridDrawInfo& drawInfo, int startCol, int startRow,
                            const QRect& bounds, TColor color,
                            TGridDrawState includeState) {
    QPainter& canvas = Canvas();
    WalkCells(drawInfo, startCol, startRow, bounds, includeState,
              [&](int col, int row, const QRect& where, TGridDrawState state) {
        if (FDefaultDrawing) {
            const bool highlight =
                state.Contains(gdSelected) &&
                (!state.Contains(gdFocused) ||
                 !(FOptions * TGridOptions{goDrawFocusSelected, goRowSelect}).Empty());
            const QColor background = ToQColor(highlight ? clHighlight : color);
            canvas.fillRect(where, background);
            canvas.setFont(font());
            canvas.setPen(ToQColor(highlight ? clHighlightText : clWindowText));
            canvas.setBrush(background);
        }
        DrawCell(col, row, where, state);
        if (FDefaultDrawing && state.Contains(gdFocused) &&
            !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) &&
            !FOptions.Contains(goRowSelect))
            DrawFocusRect(where);
    });
}

void TCustomGrid::DrawCell(int col, int row, const QRect& rect, TGridDrawState state) {
    if (OnDrawCell) OnDrawCell(col, row, rect, state);
}

void TCustomGrid::DrawFocusRect(const QRect& rect) {
    if (!rect.isEmpty()) ::DrawFocusRect(Canvas(), rect);
}
