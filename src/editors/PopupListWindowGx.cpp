#include "editors/PopupListWindowGx.h"

#include "editors/PopupOwnerGx.h"
#include "editors/SizeGripGx.h"
#include "ui/SystemMetrics.h"

#include <QFrame>

TSizeGripGx* MakePopupListWindowGx(QFrame& list)
{
    list.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus);
    list.setAttribute(Qt::WA_ShowWithoutActivating);
    list.setFocusPolicy(Qt::NoFocus);
    list.setFrameStyle(QFrame::Box | QFrame::Plain);
    list.setLineWidth(1);
    list.setMouseTracking(true);
    const int minimum = VerticalScrollBarWidth();
    list.setMinimumSize(minimum, minimum);
    auto* grip = new TSizeGripGx(&list);
    grip->SetTriangular(true);
    grip->raise();
    return grip;
}

bool HandlePopupPlacementGx(const QEvent& event, TSizeGripGx* grip)
{
    if (grip == nullptr || event.type() != PopupPlacementEventType)
        return false;
    grip->ApplyPlacement(static_cast<const TPopupPlacementEventGx&>(event).Code());
    return true;
}
