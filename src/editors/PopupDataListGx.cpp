#include "editors/PopupDataListGx.h"

#include "editors/PopupListWindowGx.h"
#include "platform/ScopeGuard.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QMouseEvent>

TPopupDataListGx::TPopupDataListGx(QWidget* owner) : TDBLookupListBoxGx(owner)
{
    SetPopup(true);
    FSizeGrip = MakePopupListWindowGx(*this);
    SetRowCount(RowCount());
    FResizedByUser = false;
}

void TPopupDataListGx::ForwardKey(QKeyEvent& event) { QApplication::sendEvent(this, &event); }

bool TPopupDataListGx::event(QEvent* event)
{
    return RunEventHandler([&] {
        return HandlePopupPlacementGx(*event, FSizeGrip) || TDBLookupListBoxGx::event(event);
    });
}

void TPopupDataListGx::KeyValueUpdated()
{
    TDBLookupListBoxGx::KeyValueUpdated();
    if (FUserActions > 0 && OnUserPick)
        OnUserPick(*this);
}

void TPopupDataListGx::keyPressEvent(QKeyEvent* event)
{
    ++FUserActions;
    TScopeExit done([this] { --FUserActions; });
    TDBLookupListBoxGx::keyPressEvent(event);
}

void TPopupDataListGx::mousePressEvent(QMouseEvent* event)
{
    ++FUserActions;
    TScopeExit done([this] { --FUserActions; });
    TDBLookupListBoxGx::mousePressEvent(event);
}

void TPopupDataListGx::mouseMoveEvent(QMouseEvent* event)
{
    ++FUserActions;
    TScopeExit done([this] { --FUserActions; });
    if (!Tracking() && event->buttons() == Qt::NoButton && !ReadOnly() && CanChangeKey()) {
        // The highlight follows the pointer.
        const int y = event->position().toPoint().y() - ClientRect().top();
        if (y >= TitleHeight() && y < ClientRect().height())
            SelectAt(y);
        return;
    }
    TDBLookupListBoxGx::mouseMoveEvent(event);
}

void TPopupDataListGx::mouseReleaseEvent(QMouseEvent* event)
{
    TDBLookupListBoxGx::mouseReleaseEvent(event);
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->position().toPoint());
}

void TPopupDataListGx::resizeEvent(QResizeEvent* event)
{
    TDBLookupListBoxGx::resizeEvent(event);
    if (FSizeGrip != nullptr)
        FSizeGrip->Reposition();
    FResizedByUser = true;
}
