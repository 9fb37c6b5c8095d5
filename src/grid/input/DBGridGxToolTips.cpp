#include "grid/input/DBGridGxToolTips.h"

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnTitleGx.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "grid/layout/DBGridGxRowWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>

namespace {
constexpr int SortMarkerZone = 16;   // the title text loses this much to a sort marker

// The short part of a hint: what comes before '|'.
QString ShortHint(const std::string& hint)
{
    const QString text = QString::fromStdString(hint);
    return text.section(QLatin1Char('|'), 0, 0);
}

bool TextCutOff(const QString& text, const QFont& font, int availableWidth, bool wrap, int lineHeight)
{
    const QFontMetrics metrics(font);
    if (!wrap)
        return metrics.horizontalAdvance(text) > availableWidth;
    const QRect bounds = metrics.boundingRect(QRect(0, 0, std::max(availableWidth, 1), 1 << 20),
                                              Qt::TextWordWrap, text);
    return bounds.width() > availableWidth || bounds.height() > lineHeight;
}
}  // namespace

TDBGridGxToolTips::TDBGridGxToolTips(TCustomDBGridGx& grid) : FGrid(grid)
{
    grid.viewport()->installEventFilter(this);
}

TGridToolTipGx TDBGridGxToolTips::TipAt(int x, int y) const
{
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    const int dataCol = FGrid.RawToDataColumn(cell.X);
    if (cell.X < FGrid.IndicatorCols() || dataCol < 0 || dataCol >= FGrid.Columns().Count() || cell.Y < 0)
        return {};
    const QRect rect = FGrid.CellRect(cell.X, cell.Y);
    if (cell.Y == FGrid.TitleRows() - 1)
        return TitleTip(cell.X, rect, y);
    if (cell.Y >= FGrid.TitleRows() && RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) >= 0)
        return DataTip(cell.X, cell.Y, rect);
    return {};
}

TGridToolTipGx TDBGridGxToolTips::TitleTip(int rawCol, const QRect& cell, int y) const
{
    const int dataCol = FGrid.RawToDataColumn(rawCol);
    TColumnGx& column = *FGrid.Columns()[dataCol];
    const TColumnTitleGx& title = *column.Title();
    if (!title.Hint().empty())
        return {ShortHint(title.Hint()), cell, false};
    if (!title.ToolTips())
        return {};
    int right = cell.left() + column.Width();
    QRect area = cell;
    QString text = QString::fromStdString(title.Caption());
    if (FGrid.UseMultiTitle()) {
        // Above the column's own caption the cell shows its groups' captions.
        const TDBGridGxTitleTree& tree = FGrid.TitleTree();
        area.setTop(tree.LeafTop(dataCol, cell));
        if (y < area.top())
            return {};
        if (const THeadTreeNode* leaf = tree.Leaf(dataCol))
            text = QString::fromStdString(leaf->Text);
    }
    if (title.SortMarker() != smNoneGx) {
        area.setRight(area.right() - (SortMarkerZone - 2));
        right -= SortMarkerZone - 2;
    }
    const bool wrap = FGrid.UseMultiTitle() || FGrid.TitleHeight() != 0 || FGrid.TitleLines() != 0;
    const int available = std::min(area.width(), right - area.left()) - 2 - (wrap ? 2 : 0);
    if (!TextCutOff(text, title.Font(), available, wrap, area.height()))
        return {};
    return {text, area, true};
}

TGridToolTipGx TDBGridGxToolTips::DataTip(int rawCol, int row, const QRect& cell) const
{
    TColumnGx& column = *FGrid.Columns()[FGrid.RawToDataColumn(rawCol)];
    TGridDataLinkGx* link = FGrid.DataLink();
    if (!column.ToolTips() || !link || !link->Active())
        return {};
    const TLinkRecordScope scope(*link, RowWindowOf(FGrid).RecordIndexOfRow(row));
    const TColumnKindGx kind = column.ColumnKind();
    QString text;
    if (kind == ckCheckboxes || kind == ckKeyImageList) {
        // The pick list line of the value's place in the key list, or of the state.
        int index = -1;
        if (kind == ckCheckboxes) {
            index = column.CheckboxState() == cbsChecked ? 0 : column.CheckboxState() == cbsUnchecked ? 1 : 2;
        } else if (TField* field = column.Field()) {
            const TStringListGx& keys = column.KeyList();
            for (size_t i = 0; i < keys.size(); ++i)
                if (keys[i] == field->EditText())
                    index = static_cast<int>(i);
        }
        const TStringListGx& pick = column.PickList();
        if (index >= 0 && index < static_cast<int>(pick.size()))
            text = QString::fromStdString(pick[static_cast<size_t>(index)]);
        return {text, cell, true};
    }
    text = QString::fromStdString(column.DisplayText());
    int right = cell.left() + column.Width();
    QRect area = cell;
    if (column.AlwaysShowEditButton()) {
        area.setRight(area.right() - FGrid.EditButtonWidth());
        right -= FGrid.EditButtonWidth();
    }
    const bool wrap = column.WordWrap() && FGrid.MultiLine();
    const int available = std::min(area.width(), right - area.left()) - 2 - (wrap ? 2 : 0);
    if (text.isEmpty() || !TextCutOff(text, column.Font(), available, wrap, area.height()))
        return {};
    return {text, area, true};
}

void TDBGridGxToolTips::MouseMoved(TShiftState shift, int x, int y)
{
    if (shift.Contains(ssCtrl) || shift.Contains(ssLeft) || shift.Contains(ssRight) || shift.Contains(ssMiddle)) {
        Hide();
        return;
    }
    const TGridToolTipGx tip = TipAt(x, y);
    if (tip.Text.isEmpty() || !tip.AtOnce) {
        if (tip.Text != FShownText)
            Hide();
        return;
    }
    Show(tip, QPoint(x, y));
}

void TDBGridGxToolTips::Show(const TGridToolTipGx& tip, const QPoint& at)
{
    if (tip.Text == FShownText)
        return;
    FShownText = tip.Text;
    const QRect area = FGrid.ViewportRect(tip.Area);
    int x = area.left() - 1;
    if (FGrid.IsMirrored())   // mirrored: the tip ends where the cell's text starts
        x = area.right() + 1 - QFontMetrics(QToolTip::font()).boundingRect(tip.Text).width();
    const QPoint place = FGrid.viewport()->mapToGlobal(QPoint(x, area.top() - (FGrid.Flat() ? 2 : 1)));
    QToolTip::showText(place, tip.Text, FGrid.viewport(), area);
    (void)at;
}

void TDBGridGxToolTips::Hide()
{
    if (FShownText.isEmpty())
        return;
    FShownText.clear();
    QToolTip::hideText();
}

bool TDBGridGxToolTips::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != FGrid.viewport())
        return false;
    if (e->type() == QEvent::Leave) {
        Hide();
        return false;
    }
    if (e->type() != QEvent::ToolTip)
        return false;
    auto* help = static_cast<QHelpEvent*>(e);
    if (QApplication::mouseButtons() != Qt::NoButton || (QApplication::keyboardModifiers() & Qt::ControlModifier)) {
        Hide();
        return true;
    }
    const QPoint at = FGrid.LogicalPoint(help->pos());
    const TGridToolTipGx tip = TipAt(at.x(), at.y());
    if (tip.Text.isEmpty())
        Hide();
    else
        Show(tip, at);
    return true;
}
