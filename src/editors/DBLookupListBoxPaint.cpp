// Painting of the lookup list box: the title row, the special row and the
// record rows, one column per list field.

#include "editors/DBLookupListBoxGx.h"

#include "ui/Draw3D.h"
#include "ui/QtColor.h"
#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr TColor TitleLineColor = 0x808080;

unsigned AlignmentFormat(TAlignment alignment, bool rightToLeft)
{
    if (alignment == taCenter)
        return DT_CENTER;
    const bool right = (alignment == taRightJustify) != rightToLeft;
    return right ? DT_RIGHT : DT_LEFT;
}

// Draws a cell's text with the list's margins: 2 pixels on the left of
// left-justified text, 3 on the right of right-justified text.
void DrawCellText(QPainter& painter, const QString& text, QRect cell, unsigned alignment)
{
    TDrawTextMargins margins;
    if (alignment == DT_LEFT)
        margins.Left = 2;
    else if (alignment == DT_RIGHT)
        margins.Right = 3;
    DrawFormattedText(painter, text, cell, alignment | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER, margins);
}

} // namespace

std::vector<int> TDBLookupListBoxGx::ColumnRights() const
{
    std::vector<int> rights;
    const QRect client = ClientRect();
    const int zeroWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
    int left = client.left();
    const TFieldsArrGx& fields = ListFields();
    for (size_t i = 0; i < fields.size() && left <= client.right(); ++i) {
        const bool last = i + 1 == fields.size();
        int right = last ? client.right() + 1 : left + fields[i]->DisplayWidth() * zeroWidth + 4;
        right = std::min(right, client.right() + 1);
        rights.push_back(right);
        left = right + 1;   // the line between columns, then the next column
    }
    return rights;
}

void TDBLookupListBoxGx::paintEvent(QPaintEvent* event)
{
    TDBLookupControlGx::paintEvent(event);   // the frame
    QPainter painter(this);
    const QRect client = ClientRect();
    painter.setClipRect(client);
    FillRect(painter, client, Color());
    const std::vector<int> columns = ColumnRights();
    if (FTitleRowVisible)
        PaintTitles(painter, columns);
    if (SpecRow().Visible())
        PaintSpecRow(painter, columns);
    PaintRecords(painter, columns);
}

void TDBLookupListBoxGx::PaintTitles(QPainter& painter, const std::vector<int>& columns)
{
    const QRect client = ClientRect();
    const QRect band(client.left(), client.top(), client.width(), FTitleHeight);
    FillRect(painter, band, clBtnFace);
    painter.setFont(font());
    painter.setPen(ToQColor(clBtnText));
    int left = client.left();
    for (size_t i = 0; i < columns.size(); ++i) {
        const QRect cell(left, band.top(), columns[i] - left, FTitleHeight - 1);
        DrawCellText(painter, QString::fromStdString(ListFields()[i]->DisplayLabel()), cell, DT_CENTER);
        painter.setPen(ToQColor(TitleLineColor));
        painter.drawLine(columns[i], band.top(), columns[i], band.bottom());
        painter.setPen(ToQColor(clBtnText));
        left = columns[i] + 1;
    }
    painter.setPen(ToQColor(TitleLineColor));
    painter.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
}

void TDBLookupListBoxGx::PaintSpecRow(QPainter& painter, const std::vector<int>& columns)
{
    const QRect client = ClientRect();
    const QRect band(client.left(), client.top() + FTitleHeight, client.width(), FSpecRowHeight);
    const bool selected = SpecRow().Selected();
    const TFontGx font = SpecRow().Font();
    FillRect(painter, band, selected ? clHighlight : SpecRow().Color());
    painter.setFont(font);
    const QColor textColor = ToQColor(selected ? clHighlightText : font.Color());
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    int left = client.left();
    for (size_t i = 0; i < columns.size(); ++i) {
        painter.setPen(textColor);
        const QRect cell(left, band.top(), columns[i] - left, band.height());
        DrawCellText(painter, QString::fromStdString(SpecRow().CellText(static_cast<int>(i))), cell,
                     AlignmentFormat(ListFields()[i]->Alignment(), rightToLeft));
        painter.setPen(ToQColor(TitleLineColor));
        painter.drawLine(columns[i], band.top(), columns[i], band.bottom());
        left = columns[i] + 1;
    }
    if (selected && (Focused() || IsPopup()))
        DrawFocusRect(painter, band);
}

void TDBLookupListBoxGx::PaintRecords(QPainter& painter, const std::vector<int>& columns)
{
    const QRect client = ClientRect();
    const int top = client.top() + FTitleHeight + FSpecRowHeight;
    const int rowHeight = RowHeight();
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const TColor lineColor = Color() == clBtnFace ? clBtnShadow : clBtnFace;
    const QColor textColor = ToQColor(isEnabled() ? TFontGx(font()).Color() : clGrayText);
    painter.setFont(font());
    int focusRow = -1;
    int selectedRow = -1;
    const int saved = ListLink().ActiveRecord();
    for (int row = 0; row < FRowCount; ++row) {
        const QRect band(client.left(), top + row * rowHeight, client.width(), rowHeight);
        if (!ListActive() || row >= FRecordCount) {
            FillRect(painter, band, Color());
            continue;
        }
        ListLink().SetActiveRecord(row);
        const bool selected = !CurrentKey().IsNull() && ListKeyValue() == CurrentKey();
        if (selected)
            selectedRow = row;
        FillRect(painter, band, selected ? clHighlight : Color());
        int left = client.left();
        for (size_t i = 0; i < columns.size(); ++i) {
            painter.setPen(selected ? ToQColor(clHighlightText) : textColor);
            const QRect cell(left, band.top(), columns[i] - left, band.height());
            DrawCellText(painter, QString::fromStdString(ListFields()[i]->DisplayText()), cell,
                         AlignmentFormat(ListFields()[i]->Alignment(), rightToLeft));
            painter.setPen(ToQColor(lineColor));
            painter.drawLine(columns[i], band.top(), columns[i], band.bottom());
            left = columns[i] + 1;
        }
    }
    ListLink().SetActiveRecord(saved);
    focusRow = selectedRow;
    if (focusRow < 0 && !FHasCurrent && !SpecRow().Selected() && FRecordCount > 0)
        focusRow = 0;
    if (focusRow >= 0 && (Focused() || IsPopup()))
        DrawFocusRect(painter, QRect(client.left(), top + focusRow * rowHeight, client.width(), rowHeight));
}
