// The in-place editor's row of edit buttons: their layout at the right
// edge, presses and clicks with the column's and the items' events, the
// items' drop-down menus, a drag from the default button into the open
// list, and stepping the value with the up-down button.

#include "grid/input/DBGridInplaceEdit.h"

#include "data/Field.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupOwnerGx.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridGxStepValue.h"
#include "grid/input/InplaceEditButtonsGx.h"
#include "grid/input/InplaceWordWrapGx.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

// Posted when an item's drop-down menu closes; the button index rides along.
constexpr QEvent::Type ButtonMenuEventType = static_cast<QEvent::Type>(QEvent::User + 1126);

class TButtonMenuEventGx : public QEvent {
public:
    explicit TButtonMenuEventGx(int index) : QEvent(ButtonMenuEventType), Index(index) {}
    const int Index;
};

TEditButtonStyleGx DefaultButtonStyle(TEditStyleGx style)
{
    switch (style) {
    case esEllipsisGx: return ebsEllipsisGx;
    case esUpDownGx: return ebsUpDownGx;
    default: return ebsDropDownGx;
    }
}

// Sends a mouse event to the part of the list under a screen point (a list
// box's items sit in its viewport).
void SendMouse(QWidget& list, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget* target = list.childAt(list.mapFromGlobal(global));
    if (target == nullptr)
        target = &list;
    QMouseEvent event(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

// ---- layout

void TDBGridInplaceEdit::BoundsChanged()
{
    LayoutButtons();
    FButtons->SetEnabled(true);
    // A menu that closed before the editor moved says nothing about the new place.
    QCoreApplication::removePostedEvents(this, ButtonMenuEventType);
    FMenuClosedBy = -1;
    if (FWordWrap != nullptr)
        FWordWrap->Place(FButtons->TotalWidth(), layoutDirection() == Qt::RightToLeft);
}

void TDBGridInplaceEdit::LayoutButtons()
{
    TColumnGx* column = Column();
    TInplaceEditButtonsGx::TLayoutGx layout;
    layout.EditorSize = size();
    layout.DefaultVisible = FEditStyle != esSimpleGx;
    layout.DefaultStyle = DefaultButtonStyle(FEditStyle);
    layout.DefaultWidth = FDBGrid.Flat() ? FDBGrid.EditButtonWidth() - 1 : FDBGrid.EditButtonWidth();
    layout.Flat = FDBGrid.Flat();
    layout.RightToLeft = layoutDirection() == Qt::RightToLeft;
    layout.Items = column != nullptr ? &column->EditButtons() : nullptr;
    const int strip = FButtons->Layout(layout);
    if (layout.RightToLeft)
        setTextMargins(strip, 0, 0, 0);
    else
        setTextMargins(0, 0, strip, 0);
}

bool TDBGridInplaceEdit::InButtonStrip(QPoint position) const
{
    const int strip = FButtons->TotalWidth();
    if (strip <= 0)
        return false;
    return layoutDirection() == Qt::RightToLeft ? position.x() < strip : position.x() >= width() - strip;
}

// The strip belongs to the buttons: the text under it takes no presses.
void TDBGridInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    if (InButtonStrip(event->position().toPoint()) && QWidget::mouseGrabber() != this) {
        event->accept();
        return;
    }
    TInplaceEdit::mousePressEvent(event);
}

void TDBGridInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(InButtonStrip(event->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor);
    TInplaceEdit::mouseMoveEvent(event);
}

void TDBGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (InButtonStrip(event->position().toPoint()) && QWidget::mouseGrabber() != this) {
        event->accept();
        return;
    }
    TInplaceEdit::mouseReleaseEvent(event);
}

// ---- presses and clicks

void TDBGridInplaceEdit::EditButtonDown(int index, bool topButton, bool& autoRepeat, bool& handled)
{
    SetFocus();
    if (WordWrap())
        FWordWrap->Box().setFocus(Qt::MouseFocusReason);
    if (FMenuClosedBy == index) {
        // This press closed the button's own menu.
        QCoreApplication::removePostedEvents(this, ButtonMenuEventType);
        FMenuClosedBy = -1;
        autoRepeat = false;
        return;
    }
    TColumnGx* column = Column();
    if (index == 0) {
        if (column != nullptr && column->OnEditButtonDown)
            column->OnEditButtonDown(*column, topButton, autoRepeat, handled);
        if (!handled)
            ButtonDown(topButton);
        if (FEditStyle != esUpDownGx)
            autoRepeat = false;
        return;
    }
    if (column == nullptr || index > column->EditButtons().Count())
        return;
    TEditButtonGx& item = *column->EditButtons()[index - 1];
    if (item.OnDown)
        item.OnDown(item, topButton, autoRepeat, handled);
    if (!handled && item.DropdownMenu() != nullptr) {
        autoRepeat = false;
        PopupButtonMenu(index, *item.DropdownMenu());
    }
}

void TDBGridInplaceEdit::PopupButtonMenu(int index, QMenu& menu)
{
    TEditButtonControlGx& button = FButtons->Button(index);
    QPoint at = button.mapToGlobal(QPoint(0, button.height()));
    if (menu.layoutDirection() == Qt::RightToLeft)
        at = button.mapToGlobal(QPoint(button.width(), button.height())) - QPoint(menu.sizeHint().width(), 0);
    // The menu holds the mouse: the button must not stay pressed behind it.
    button.CancelMode();
    QObject::disconnect(&menu, &QMenu::aboutToHide, this, nullptr);
    connect(&menu, &QMenu::aboutToHide, this, [this, index, &menu] {
        QObject::disconnect(&menu, &QMenu::aboutToHide, this, nullptr);
        FMenuClosedBy = index;
        QCoreApplication::postEvent(this, new TButtonMenuEventGx(index));
    });
    menu.popup(at);
}

bool TDBGridInplaceEdit::event(QEvent* event)
{
    return RunEventHandler([&] {
        if (event->type() == ButtonMenuEventType) {
            // No press of that button came with the menu's closing.
            if (FMenuClosedBy == static_cast<TButtonMenuEventGx*>(event)->Index)
                FMenuClosedBy = -1;
            return true;
        }
        return TInplaceEdit::event(event);
    });
}

void TDBGridInplaceEdit::ButtonDown(bool topButton)
{
    TColumnGx* column = Column();
    if (FEditStyle == esUpDownGx) {
        if (column != nullptr) {
            // The top half steps up; list-like columns go to the line above.
            const double step = (topButton ? 1.0 : -1.0) * column->Increment();
            StepValue(*column, column->ColumnKind() == ckCommon ? step : -step);
        }
        return;
    }
    if (!HasDropDown() || ListVisible())
        return;
    DropDown();
    FOpenedByButton = true;
}

void TDBGridInplaceEdit::EditButtonClick(int index)
{
    bool handled = false;
    TColumnGx* column = Column();
    if (index == 0) {
        if ((FEditStyle == esEllipsisGx || FEditStyle == esDropDownGx) && FDBGrid.OnEditButtonClick)
            FDBGrid.OnEditButtonClick();
        if (column != nullptr && column->OnEditButtonClick)
            column->OnEditButtonClick(*column, handled);
    } else if (column != nullptr && index <= column->EditButtons().Count()) {
        TEditButtonGx& item = *column->EditButtons()[index - 1];
        if (item.OnClick)
            item.OnClick(item, handled);
    }
    if (!handled && ListVisible() && !FOpenedByButton && index == 0)
        CloseUp(false);
    FOpenedByButton = false;
}

// A press on the default button that slides into the open list picks
// there: the list gets the press, the moves and the release.
void TDBGridInplaceEdit::EditButtonMouseMove(int index, QPoint position)
{
    TEditButtonControlGx& button = FButtons->Button(index);
    if (index != 0 || !ListVisible() || FActiveList == nullptr || !button.Dragging())
        return;
    const QPoint global = button.mapToGlobal(position);
    const bool overList = FActiveList->rect().contains(FActiveList->mapFromGlobal(global));
    if (FDraggingIntoList) {
        SendMouse(*FActiveList, QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton);
    } else if (overList) {
        FDraggingIntoList = true;
        button.CancelMode();
        SendMouse(*FActiveList, QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
    }
}

void TDBGridInplaceEdit::EditButtonMouseUp(int index, Qt::MouseButton which, QPoint position)
{
    TEditButtonControlGx& button = FButtons->Button(index);
    if (QWidget::mouseGrabber() == &button)
        button.releaseMouse();   // the grid passed its press on to the button
    const bool dragged = FDraggingIntoList;
    FDraggingIntoList = false;
    if (dragged && ListVisible() && FActiveList != nullptr)
        SendMouse(*FActiveList, QEvent::MouseButtonRelease, button.mapToGlobal(position), which, Qt::NoButton);
    if (!button.rect().contains(position))
        FOpenedByButton = false;
}

// ---- stepping

void TDBGridInplaceEdit::StepValue(TColumnGx& column, double step)
{
    TField* field = column.Field();
    if (field == nullptr || !column.CanModify(true))
        return;
    // A text typed before the step is written first, so the step counts from it.
    if (isModified() && ValueText().toStdString() != FDBGrid.EditorHost().EditorTextOf(*field)) {
        TGridDataLinkGx& link = *FDBGrid.DataLink();
        link.SetModified(true);
        link.UpdateData();
    }
    if (StepColumnValue(column, step)) {
        SetValueText(QString::fromStdString(FDBGrid.EditorHost().EditorTextOf(*field)));
        setModified(false);
        selectAll();
    }
}

void TDBGridInplaceEdit::DblClick()
{
    TColumnGx* column = Column();
    if (column == nullptr || !column->DblClickNextVal()) {
        TInplaceEdit::DblClick();
        return;
    }
    StepValue(*column, FDblClickShift ? -1 : 1);
}

void TDBGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    FDblClickShift = event->modifiers().testFlag(Qt::ShiftModifier);
    TInplaceEdit::mouseDoubleClickEvent(event);
}
