// Data cells: the record's display text through the highlight test and
// the cell parameters, written, or shown as an image of the key image list
// or as a check box; the always-shown edit buttons, the drawing events and
// the incremental search text over the current cell.

#include "grid/paint/DBGridGxCellPainter.h"

#include "editors/ButtonPainter.h"
#include "grid/columns/CellEditButtonsGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/paint/KeyListImageGx.h"
#include "grid/paint/SearchHighlight.h"
#include "grid/paint/TextLineRecorder.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "ui/QtColor.h"
#include "ui/TextDraw.h"
#include "ui/UnmirroredArea.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

int KeyListImageIndex(const TColumnGx& column)
{
    if (const TField* field = column.Field()) {
        const std::string key = field->EditText();
        const TStringListGx& keys = column.KeyList();
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return static_cast<int>(i);
    }
    return column.NotInKeyListIndex();
}

namespace {

// The check box rectangle: the check size centred in the cell, as wide or
// as high as the cell where the cell is smaller.
QRect CheckBoxRect(const QRect& cell, QSize checkSize)
{
    const int width = std::min(cell.width(), checkSize.width());
    const int height = std::min(cell.height(), checkSize.height());
    return QRect(cell.x() + (cell.width() - width) / 2, cell.y() + (cell.height() - height) / 2, width, height);
}

}  // namespace

void TDBGridGxCellPainter::DrawData(TColumnGx& column)
{
    TFontGx font = column.Font();
    SetBrush(column.Color());
    SetFont(font);
    const int record = RowWindowOf(FGrid).RecordIndexOfRow(FRow);
    if (record < 0) {
        DrawEmptyData(column);
        return;
    }
    TLinkRecordScope scope(*FGrid.DataLink(), record);

    QRect textRect = FRect;
    const bool showButtons = column.AlwaysShowEditButton();
    if (showButtons)
        textRect.setWidth(std::max(0, textRect.width() - CellEditButtonsWidth(FGrid, column)));

    const std::string text = column.DisplayText();
    if (FGrid.HighlightDataCell(FDataCol, FDataRow, FState, text)) {
        SetBrush(clHighlight);
        font.SetColor(clHighlightText);
        FState += gdSelected;
    }

    const bool defaultDrawing = FGrid.DefaultDrawing();
    const TColumnKindGx kind = column.ColumnKind();
    TColCellParamsGx& params = FGrid.ColCellParams();
    params.Row = FRow;
    params.Col = FCol;
    params.State = FState;
    params.Font = font;
    params.Alignment = column.Alignment();
    params.Background = FBrush;
    params.Text = text;
    params.ReadOnly = column.ReadOnly();
    params.ImageIndex = defaultDrawing && kind == ckKeyImageList ? KeyListImageIndex(column) : -1;
    params.CheckboxState = defaultDrawing && kind == ckCheckboxes ? column.CheckboxState() : cbsUnchecked;
    if (FGrid.OnGetCellParams)
        FGrid.OnGetCellParams(FGrid, column, params.Font, params.Background, params.State);
    column.GetColCellParams(false, params);
    SetBrush(params.Background);
    SetFont(params.Font);

    if (defaultDrawing && textRect.width() > 0 && textRect.height() > 0) {
        if (kind == ckKeyImageList) {
            FCanvas.fillRect(textRect, ToQColor(FBrush));
            if (const TImageList* images = column.ImageList())
                PlaceImage(FCanvas, *images, taCenter, 0, params.ImageIndex, textRect);
        } else if (kind == ckCheckboxes) {
            FCanvas.fillRect(textRect, ToQColor(FBrush));
            const TUnmirroredArea box(FCanvas, CheckBoxRect(textRect, GridPaintResources().CheckSize()));
            PaintCheckBoxFace(FCanvas, box.Rect(), FBrush, static_cast<TCheckPaintStateGx>(params.CheckboxState),
                              FGrid.Flat(), true);
        } else {
            WriteCellText(FCanvas, DataTextCell(column, textRect, params.Alignment), QString::fromStdString(params.Text));
        }
    }

    if (showButtons)
        DrawEditButtons(column, textRect);

    if (FGrid.OnDrawDataCell && FGrid.Columns().State() == csDefault)
        FGrid.OnDrawDataCell(FGrid, textRect, column.Field(), FState);
    if (FGrid.OnDrawColumnCell)
        FGrid.OnDrawColumnCell(FGrid, textRect, FDataCol, column, FState);

    DrawSearchText(DataTextCell(column, textRect, params.Alignment), QString::fromStdString(params.Text));

    const bool flatDefaultButton = showButtons && FGrid.Flat() && DefaultEditButtonStyle(FGrid, column);
    DrawFocus(flatDefaultButton ? FRect : textRect);
}

void TDBGridGxCellPainter::DrawEmptyData(TColumnGx& /*column*/)
{
    FCanvas.fillRect(FRect, ToQColor(FBrush));
    DrawFocus(FRect);
}

void TDBGridGxCellPainter::DrawEditButtons(TColumnGx& column, const QRect& textRect)
{
    const bool enabled = FGrid.DataLink()->Active();
    const bool flat = FGrid.Flat();
    const int top = FRect.y();
    const int height = FGrid.EditButtonHeight();
    const QColor brush = ToQColor(FBrush);
    int x = textRect.x() + textRect.width();
    const int left = x;

    auto paint = [&](QRect rect, TEditButtonStyleGx style, const QPixmap& glyph, int numGlyphs) {
        if (flat && FFrame3D) {
            FCanvas.fillRect(QRect(rect.x() - 1, rect.y(), 1, rect.height()), brush);
        }
        // The faces look as the editor's own buttons do in either reading order.
        const TUnmirroredArea face(FCanvas, rect);
        PaintEditButton(FCanvas, face.Rect(), FBrush, style, glyph, numGlyphs, enabled, false, flat, ebpNoneGx);
    };
    if (const std::optional<TEditButtonStyleGx> style = DefaultEditButtonStyle(FGrid, column)) {
        QRect rect(x, top, FGrid.EditButtonWidth(), height);
        if (FFrame3D)
            rect.translate(1, -1);
        paint(rect, *style, QPixmap(), 1);
        x += FGrid.EditButtonWidth();
    }
    for (const auto& button : column.EditButtons()) {
        if (!button->Visible())
            continue;
        const int width = CellEditButtonWidth(FGrid, *button);
        paint(QRect(x, top, width, height), button->Style(), button->Glyph(), button->NumGlyphs());
        x += width;
    }
    const int bottom = FRect.y() + FRect.height();
    if (height < FGrid.DefaultRowHeight() && top + height < bottom && x > left)
        FCanvas.fillRect(QRect(left, top + height, x - left, bottom - top - height), brush);
}

TCellTextGx TDBGridGxCellPainter::DataTextCell(const TColumnGx& column, const QRect& textRect,
                                               TAlignment alignment) const
{
    TCellTextGx cell = TextCell(textRect, alignment);
    cell.EndEllipsis = column.EndEllipsis();
    cell.WordWrap = FGrid.MultiLine() && column.WordWrap();
    return cell;
}

bool TDBGridGxCellPainter::SearchTextShown() const
{
    return FGrid.Keyboard().IncSearchActive() && FCol == FGrid.Col() && FRow == FGrid.Row() &&
           FState.Contains(gdSelected) && FGrid.IsActiveControl() && FGrid.UpdateLock() == 0;
}

void TDBGridGxCellPainter::DrawSearchText(const TCellTextGx& cell, const QString& displayText)
{
    if (!SearchTextShown())
        return;
    const QString search = QString::fromStdString(FGrid.Keyboard().IncSearchText());
    // The search text is the record's own start of the text: the highlight
    // marks those characters where the cell's text has them.
    const int length = static_cast<int>(std::min(search.size(), displayText.size()));
    if (length == 0)
        return;

    const TGridPaintResources& resources = GridPaintResources();
    const QColor background = ToQColor(resources.SearchBackground());
    const QColor text = ToQColor(resources.SearchText());
    const TUnmirroredArea device(FCanvas, cell.Rect);
    QRect inner = device.Rect().adjusted(cell.DX, cell.DY, -cell.DX, -cell.DY);
    if (cell.DX > 0)
        inner.setHeight(inner.height() + 1);
    const TAlignment drawn = ReadingAlignment(cell.Alignment, cell.RightToLeft);
    if (cell.WordWrap) {
        DrawWrappedSearchText(cell, device.Rect(), inner, displayText, length, background, text);
        return;
    }
    const TOneLineTextGx line = LayOneLine(FCanvas.font(), device.Rect(), drawn, cell, displayText);
    // A match reaching into the shortened part marks the "..." too.
    const int shownLength = line.Ellipsized && length > line.Shown.size() - 3 ? static_cast<int>(line.Shown.size())
                                                                               : length;
    const QPoint baseline(line.Origin.x(), line.Origin.y() + QFontMetrics(FCanvas.font()).ascent());
    PaintTextStart(FCanvas, line.Shown, shownLength, baseline, TextDirection(cell), inner, background, text);
}

namespace {

// Where the writer's next line starts at or after `position`: past the
// spaces at which it broke the text (not before a paragraph's first line,
// whose leading spaces it draws) and the line breaks that end paragraphs.
qsizetype NextLineStart(const QString& text, qsizetype position)
{
    if (position > 0)
        while (position < text.size() && text[position] == QLatin1Char(' '))
            ++position;
    while (position < text.size() && (text[position] == QLatin1Char('\r') || text[position] == QLatin1Char('\n')))
        ++position;
    return position;
}

}  // namespace

void TDBGridGxCellPainter::DrawWrappedSearchText(const TCellTextGx& cell, const QRect& rect, const QRect& inner,
                                                 const QString& displayText, int length, const QColor& background,
                                                 const QColor& text)
{
    // Tabs widen into spaces on the lines: their characters no longer
    // count as the text's.
    if (displayText.left(length).contains(QLatin1Char('\t')))
        return;
    // The lines as the writer composes them, recorded instead of drawn.
    TTextLineRecorder recorder(*FCanvas.device());
    {
        QPainter composer(&recorder);
        composer.setFont(FCanvas.font());
        ComposeWrappedText(composer, QRect(QPoint(0, 0), rect.size()), ReadingAlignment(cell.Alignment, cell.RightToLeft),
                           cell, displayText);
    }
    qsizetype position = 0;
    for (const TRecordedLineGx& line : recorder.Lines()) {
        position = NextLineStart(displayText, position);
        if (position >= length || position + line.Length > displayText.size())
            return;
        const QString shown = displayText.mid(position, line.Length);
        PaintTextStart(FCanvas, shown, static_cast<int>(length - position), rect.topLeft() + line.Origin,
                       TextDirection(cell), inner, background, text);
        position += line.Length;
    }
}
