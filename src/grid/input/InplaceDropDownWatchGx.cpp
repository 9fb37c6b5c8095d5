#include "grid/input/InplaceDropDownWatchGx.h"
#include "ui/ExceptionReport.h"

#include <QApplication>

TInplaceDropDownWatchGx::TInplaceDropDownWatchGx(QWidget& editor, std::function<void()> cancel)
    : FEditor(editor), FCancel(std::move(cancel))
{
}

TInplaceDropDownWatchGx::~TInplaceDropDownWatchGx() { Stop(); }

void TInplaceDropDownWatchGx::Start(QWidget& dropDown)
{
    if (FDropDown == nullptr)
        qApp->installEventFilter(this);
    FDropDown = &dropDown;
}

void TInplaceDropDownWatchGx::Stop()
{
    if (FDropDown == nullptr)
        return;
    FDropDown = nullptr;
    qApp->removeEventFilter(this);
}

bool TInplaceDropDownWatchGx::Owns(const QWidget* widget) const
{
    if (widget == nullptr)
        return false;
    if (widget == &FEditor || FEditor.isAncestorOf(widget))
        return true;
    return FDropDown != nullptr && (widget == FDropDown || FDropDown->isAncestorOf(widget));
}

void TInplaceDropDownWatchGx::Cancel()
{
    if (!Watching())
        return;
    Stop();
    FCancel();
}

bool TInplaceDropDownWatchGx::eventFilter(QObject* watched, QEvent* event)
{
    return RunEventHandler([&] {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TabletPress:
            // Another widget takes the mouse (windows get the press first: the
            // widget it is meant for decides).
            if (watched->isWidgetType() && !Owns(static_cast<QWidget*>(watched)))
                Cancel();
            break;
        case QEvent::ApplicationDeactivate: Cancel(); break;
        case QEvent::ApplicationStateChange:
            if (QGuiApplication::applicationState() != Qt::ApplicationActive)
                Cancel();
            break;
        case QEvent::WindowDeactivate:
            if (watched == FEditor.window())
                CheckFocusLater();
            break;
        case QEvent::Move:
            if (watched == &FEditor || watched == FEditor.window())
                Cancel();
            break;
        case QEvent::Hide:
            // Decided once the hiding is over: the grid may be tearing itself
            // down around the editor, or show it again on the same cell.
            if (watched == &FEditor)
                QMetaObject::invokeMethod(
                    this, [this] { if (!FEditor.isVisible()) Cancel(); }, Qt::QueuedConnection);
            break;
        default: break;
        }
        return false;
    });
}

void TInplaceDropDownWatchGx::CheckFocusLater()
{
    if (Watching())
        QMetaObject::invokeMethod(this, &TInplaceDropDownWatchGx::CheckFocus, Qt::QueuedConnection);
}

void TInplaceDropDownWatchGx::CheckFocus()
{
    if (!Watching())
        return;
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active == FDropDown->window()) {
        // Shown as the active window although it never takes the focus:
        // the editor's window gets the activation back.
        if (FDropDown->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
            FEditor.window()->activateWindow();
            FEditor.setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    if (!Owns(QApplication::focusWidget()))
        Cancel();
}
