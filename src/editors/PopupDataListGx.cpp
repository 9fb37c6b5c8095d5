#include "editors/PopupDataListGx.h"

#include "editors/PopupOwnerGx.h"
#include "platform/ScopeGuard.h"
#include "ui/SystemMetrics.h"

#include <QApplication>
#include <QMouseEvent>

TPopupDataListGx::TPopupDataListGx(QWidget* owner) : TDBLookupListBoxGx(owner)
{
    SetPopup(true);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setMouseTracking(true);
    const int minimum = VerticalScrollBarWidth();
    setMinimumSize(minimum, minimum);
    FSizeGrip = new TSizeGripGx(this);
    FSizeGrip->SetTriangular(true);
    FSizeGrip->raise();
    SetRowCount(RowCount());
    FResizedByUser = false;
}

void TPopupDataListGx::ForwardKey(QKeyEvent& event) { QApplication::sendEvent(this, &event); }

bool TPopupDataListGx::event(QEvent* event)
{
    if (event->type() == PopupPlacementEventType) {
        FSizeGrip->ApplyPlacement(static_cast<TPopupPlacementEventGx*>(event)->Code());
        return true;
    }
    return TDBLookupListBoxGx::event(event);
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
