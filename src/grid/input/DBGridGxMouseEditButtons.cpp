// A press on the edit buttons of the current cell: the area they take at
// the cell's logical right edge (drawn at the left under right-to-left),
// and handing the press on to the editor's button under the pointer.

#include "grid/input/DBGridGxMouse.h"

#include "grid/DBGridGx.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/CellEditButtonsGx.h"
#include "grid/columns/ColumnGx.h"

#include <QApplication>
#include <QMouseEvent>

bool TDBGridGxMouse::InEditButtonArea(TGridCoord cell, QPoint at) const
{
    const TColumnGx* column = ColumnAtRaw(cell.X);
    if (column == nullptr || cell.X < FGrid.IndicatorCols())
        return false;
    const int width = CellEditButtonsWidth(FGrid, *column);
    if (width <= 0)
        return false;
    const QRect rect = FGrid.CellRect(cell.X, cell.Y);
    return at.x() > rect.right() - width && at.x() <= rect.right();
}

bool TDBGridGxMouse::ShowsEditorForButtons(TGridCoord cell, QPoint at) const
{
    const TColumnGx* column = ColumnAtRaw(cell.X);
    if (column == nullptr || !column->AlwaysShowEditButton() || !InEditButtonArea(cell, at))
        return false;
    const std::optional<TEditButtonStyleGx> style = DefaultEditButtonStyle(FGrid, *column);
    return style.has_value() && *style == ebsDropDownGx;
}

void TDBGridGxMouse::PassPressToEditButton(TGridCoord cell, QPoint at)
{
    TInplaceEdit* editor = FGrid.InplaceEditor();
    if (editor == nullptr || !editor->isVisible() || !InEditButtonArea(cell, at))
        return;
    const QPoint onViewport = FGrid.ViewportPoint(at);
    QWidget* target = FGrid.viewport()->childAt(onViewport);
    if (target == nullptr || target == FGrid.viewport() || !editor->isAncestorOf(target))
        return;
    EndTracking();
    // Once the grid's own handling of the press is over, the button takes
    // it, with its moves and its release.
    const QPoint global = FGrid.viewport()->mapToGlobal(onViewport);
    QMetaObject::invokeMethod(
        target,
        [target, global] {
            if (!target->isVisible())
                return;
            const QPoint local = target->mapFromGlobal(global);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(global), Qt::LeftButton,
                              Qt::LeftButton, QApplication::keyboardModifiers());
            target->grabMouse();
            QApplication::sendEvent(target, &press);
        },
        Qt::QueuedConnection);
}
