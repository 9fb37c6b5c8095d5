#include "grid/input/DBGridGxToolTips.h"

#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/columns/ColCellParamsGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnTitleGx.h"
#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/paint/DBGridGxCellPainter.h"
#include "grid/paint/GridTextWriter.h"
#include "grid/titles/DBGridGxTitleTree.h"
#include "ui/ToolTipsWindow.h"
#include "ui/TextDraw.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QCursor>
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

unsigned LineAlignment(TAlignment alignment)
{
    return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}

bool MouseHeld() { return QApplication::mouseButtons() != Qt::NoButton; }
}  // namespace

TDBGridGxToolTips::TDBGridGxToolTips(TCustomDBGridGx& grid) : FGrid(grid)
{
    grid.viewport()->installEventFilter(this);
    grid.installEventFilter(this);
}

TDBGridGxToolTips::~TDBGridGxToolTips()
{
    if (FHintShown)
        QToolTip::hideText();
}

TToolTipsWindow& TDBGridGxToolTips::Window()
{
    if (!FWindow)
        FWindow = new TToolTipsWindow(&FGrid);
    return *FWindow;
}

TGridToolTipGx TDBGridGxToolTips::TipAt(int x, int y) const
{
    const TGridCoord cell = FGrid.MouseCoord(x, y);
    const int dataCol = FGrid.RawToDataColumn(cell.X);
    if (cell.X < FGrid.IndicatorCols() || dataCol < 0 || dataCol >= FGrid.Columns().Count() || cell.Y < 0)
        return {};
    const QRect rect = FGrid.CellRect(cell.X, cell.Y);
    TGridToolTipGx tip;
    if (cell.Y == FGrid.TitleRows() - 1)
        tip = TitleTip(cell.X, rect, y);
    else if (cell.Y >= FGrid.TitleRows() && RowWindowOf(FGrid).RecordIndexOfRow(cell.Y) >= 0)
        tip = DataTip(cell.X, cell.Y, rect);
    // Over the part of a cell its text leaves to a sort marker or to edit
    // buttons, or above a column's own caption, nothing shows.
    if (!tip.Area.contains(x, y))
        return {};
    tip.Cell = cell;
    return tip;
}

TGridToolTipGx TDBGridGxToolTips::TitleTip(int rawCol, const QRect& cell, int y) const
{
    const int dataCol = FGrid.RawToDataColumn(rawCol);
    TColumnGx& column = *FGrid.Columns()[dataCol];
    const TColumnTitleGx& title = *column.Title();
    if (!title.Hint().empty()) {
        TGridToolTipGx hint;
        hint.Text = ShortHint(title.Hint());
        hint.Area = cell;
        return hint;
    }
    if (!title.ToolTips())
        return {};
    TGridToolTipGx tip;
    tip.AtOnce = true;
    tip.Area = cell;
    tip.RightLimit = cell.left() + column.Width();
    tip.Text = QString::fromStdString(title.Caption());
    tip.Font = title.Font();
    tip.Alignment = title.Alignment();
    if (FGrid.UseMultiTitle()) {
        // Above the column's own caption the cell shows its groups' captions.
        const TDBGridGxTitleTree& tree = FGrid.TitleTree();
        tip.Area.setTop(tree.LeafTop(dataCol, cell));
        if (y < tip.Area.top())
            return {};
        if (const THeadTreeNode* leaf = tree.Leaf(dataCol))
            tip.Text = QString::fromStdString(leaf->Text);
    }
    if (title.SortMarker() != smNoneGx) {
        tip.Area.setRight(tip.Area.right() - (SortMarkerZone - 2));
        tip.RightLimit -= SortMarkerZone - 2;
    }
    const bool vertical = title.Orientation() == tohVertical;
    tip.WordWrap = !vertical && (FGrid.UseMultiTitle() || FGrid.TitleHeight() != 0 || FGrid.TitleLines() != 0);
    const int across = vertical ? tip.Area.height() : std::min(tip.Area.width(), tip.RightLimit - tip.Area.left());
    const int along = vertical ? tip.Area.width() : tip.Area.height();
    const int available = across - 2 - (tip.WordWrap ? 2 : 0);
    if (!TextCutOff(tip.Text, tip.Font, available, tip.WordWrap, along))
        return {};
    return tip;
}

TGridToolTipGx TDBGridGxToolTips::DataTip(int rawCol, int row, const QRect& cell) const
{
    TColumnGx& column = *FGrid.Columns()[FGrid.RawToDataColumn(rawCol)];
    TGridDataLinkGx* link = FGrid.DataLink();
    if (!column.ToolTips() || !link || !link->Active())
        return {};
    const TLinkRecordScope scope(*link, RowWindowOf(FGrid).RecordIndexOfRow(row));
    TGridToolTipGx tip;
    tip.AtOnce = true;
    tip.Area = cell;
    tip.RightLimit = cell.left() + column.Width();
    const TColumnKindGx kind = column.ColumnKind();

    // The cell's own parameters, which the grid's and the column's events may change.
    TColCellParamsGx params;
    params.Row = row;
    params.Col = rawCol;
    params.Font = column.Font();
    params.Background = column.Color();
    params.Alignment = kind == ckCheckboxes || kind == ckKeyImageList ? taLeftJustify : column.Alignment();
    params.Text = column.DisplayText();
    params.CheckboxState = column.CheckboxState();
    if (FGrid.OnGetCellParams)
        FGrid.OnGetCellParams(FGrid, column, params.Font, params.Background, params.State);
    column.GetColCellParams(false, params);
    tip.Font = params.Font;
    tip.Alignment = params.Alignment;

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
            tip.Text = QString::fromStdString(pick[static_cast<size_t>(index)]);
        return tip;
    }
    tip.Text = QString::fromStdString(params.Text);
    if (column.AlwaysShowEditButton()) {
        tip.Area.setRight(tip.Area.right() - FGrid.EditButtonWidth());
        tip.RightLimit -= FGrid.EditButtonWidth();
    }
    tip.WordWrap = column.WordWrap() && FGrid.MultiLine();
    const int available = std::min(tip.Area.width(), tip.RightLimit - tip.Area.left()) - 2 - (tip.WordWrap ? 2 : 0);
    const int textWidth = QFontMetrics(tip.Font).horizontalAdvance(tip.Text);
    const bool rightCut = tip.Alignment == taRightJustify && tip.Area.left() + tip.Area.width() < tip.RightLimit - 2 &&
                          textWidth > 0;
    if (tip.Text.isEmpty() ||
        (!rightCut && !TextCutOff(tip.Text, tip.Font, available, tip.WordWrap, tip.Area.height())))
        return {};
    return tip;
}

QRect TDBGridGxToolTips::WindowPlace(const TGridToolTipGx& tip)
{
    TToolTipsWindow& window = Window();
    window.SetHintFont(tip.Font);
    const int maxWidth = tip.WordWrap ? tip.Area.width() - 4 : 0;
    const QSize size = window.HintSize(tip.Text, maxWidth);

    // The cell as the painter writes its text: from the area's left edge to
    // the text's right limit, mirrored under right-to-left reading, where
    // left and right alignment swap.
    const TAlignment drawn = ReadingAlignment(tip.Alignment, FGrid.IsMirrored());
    TCellTextGx cell;
    cell.Rect = FGrid.ViewportRect(
        QRect(tip.Area.left(), tip.Area.top(), tip.RightLimit - tip.Area.left(), tip.Area.height()));
    cell.WordWrap = tip.WordWrap;
    cell.DX = 2;
    const bool fixed = tip.Cell.X < FGrid.FixedCols() || tip.Cell.Y < FGrid.FixedRows();
    if (TDBGridGxCellPainter::HasFrame3D(FGrid, tip.Cell.X, tip.Cell.Y, fixed ? TGridDrawState{gdFixed} : TGridDrawState{})) {
        cell.Rect.adjust(1, 1, -1, -1);   // a framed cell writes inside its frame,
        cell.DX = 1;                      // one pixel nearer the frame
    }
    const QFontMetrics metrics(tip.Font);
    const int textWidth = tip.WordWrap ? size.width() - 2 * TToolTipsWindow::TextOffset
                                       : CellTextWidth(metrics, tip.Text, drawn, tip.Font.bold() || tip.Font.italic());
    const int x = CellTextLeft(cell, drawn, textWidth) - TToolTipsWindow::TextOffset;
    const int y = tip.Area.top() - (FGrid.Flat() ? 2 : 1);
    window.SetLineAlignment(LineAlignment(drawn));
    return QRect(QPoint(x, y), size);
}

void TDBGridGxToolTips::MouseMoved(TShiftState shift, int x, int y)
{
    if (shift.Contains(ssCtrl) || shift.Contains(ssLeft) || shift.Contains(ssRight) || shift.Contains(ssMiddle)) {
        Hide();
        return;
    }
    const TGridToolTipGx tip = TipAt(x, y);
    if (tip.Text.isEmpty() || !tip.AtOnce) {
        if (tip.Text != FShownText || !FShownArea.contains(x, y))
            Hide();
        return;
    }
    ShowToolTip(tip);
}

void TDBGridGxToolTips::ShowToolTip(const TGridToolTipGx& tip)
{
    if (FWindow && FWindow->isVisible() && tip.Text == FShownText && tip.Area == FShownArea)
        return;
    Hide();
    const QRect place = WindowPlace(tip);
    const int maxWidth = tip.WordWrap ? tip.Area.width() - 4 : 0;
    Window().ActivateHint(FGrid.viewport()->mapToGlobal(place.topLeft()), tip.Text, maxWidth);
    FShownText = tip.Text;
    FShownArea = tip.Area;
}

void TDBGridGxToolTips::ShowTitleHint(const TGridToolTipGx& tip, const QPoint& globalPos)
{
    if (FWindow)
        FWindow->hide();
    QToolTip::showText(globalPos, tip.Text, FGrid.viewport(), FGrid.ViewportRect(tip.Area));
    FHintShown = true;
    FShownText = tip.Text;
    FShownArea = tip.Area;
}

void TDBGridGxToolTips::Hide()
{
    if (FWindow)
        FWindow->hide();
    if (FHintShown)
        QToolTip::hideText();
    FHintShown = false;
    FShownText.clear();
    FShownArea = QRect();
}

bool TDBGridGxToolTips::HelpEvent(const QPoint& viewportPos, const QPoint& globalPos)
{
    if (MouseHeld() || (QApplication::keyboardModifiers() & Qt::ControlModifier)) {
        Hide();
        return true;
    }
    const QPoint at = FGrid.LogicalPoint(viewportPos);
    const TGridToolTipGx tip = TipAt(at.x(), at.y());
    if (tip.Text.isEmpty())
        Hide();
    else if (tip.AtOnce)
        ShowToolTip(tip);
    else
        ShowTitleHint(tip, globalPos);
    return true;
}

bool TDBGridGxToolTips::eventFilter(QObject* watched, QEvent* e)
{
    return RunEventHandler([&] {
        switch (e->type()) {
        case QEvent::ToolTip:
            if (watched != FGrid.viewport())
                return false;
            {
                const auto* help = static_cast<QHelpEvent*>(e);
                return HelpEvent(help->pos(), help->globalPos());
            }
        case QEvent::Leave:
            // The window system reports the tip window appearing under the
            // pointer as the pointer leaving the grid: the pointer has not moved.
            if (FWindow && FWindow->isVisible() && FWindow->geometry().contains(QCursor::pos()))
                return false;
            [[fallthrough]];
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::WindowDeactivate:
        case QEvent::Hide:
            if (watched == FGrid.viewport() || watched == &FGrid)
                Hide();
            return false;
        default:
            return false;
        }
    });
}
