#include "editors/PopupMonthCalendarGx.h"

#include "editors/PopupOwnerGx.h"
#include "ui/ExceptionReport.h"
#include "ui/QtColor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QWheelEvent>

TPopupMonthCalendarGx::TPopupMonthCalendarGx(QWidget* owner)
    : QCalendarWidget(owner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setContentsMargins(1, 1, 1, 1);   // room for the thin border
    FView = findChild<QTableView*>();
    if (FView != nullptr) {
        FView->installEventFilter(this);
        FView->viewport()->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::clicked, this, [this](QDate) { RunHandler([this] { CloseUp(true); }); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        RunHandler([&] { FocusChanged(old, now); });
    });
}

TPopupMonthCalendarGx::~TPopupMonthCalendarGx()
{
    // The widget's own destructor moves the focus away and so announces a
    // focus change: it must not reach this calendar's handler any more.
    disconnect(qApp, nullptr, this, nullptr);
}

void TPopupMonthCalendarGx::SetDate(const QDate& date)
{
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void TPopupMonthCalendarGx::SetColor(TColor color)
{
    QPalette colors = palette();
    const QColor background = ToQColor(color);
    if (background.isValid()) {
        colors.setColor(QPalette::Base, background);
        colors.setColor(QPalette::AlternateBase, background);
    }
    setPalette(colors);
}

QSize TPopupMonthCalendarGx::RequiredSize() const { return minimumSizeHint().expandedTo(sizeHint()); }

void TPopupMonthCalendarGx::ForwardKey(QKeyEvent& event)
{
    if (HandleCloseKey(event))
        return;
    QApplication::sendEvent(FView != nullptr ? static_cast<QWidget*>(FView) : this, &event);
}

void TPopupMonthCalendarGx::CloseUp(bool accept)
{
    if (TPopupOwnerGx* owner = PopupOwnerOf(parent()))
        owner->CloseUp(accept);
}

bool TPopupMonthCalendarGx::HandleCloseKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: CloseUp(true); return true;
    case Qt::Key_Escape: CloseUp(false); return true;
    default: return false;
    }
}

bool TPopupMonthCalendarGx::HandleWheel(const QWheelEvent& event)
{
    const int delta = event.angleDelta().y();
    if (delta == 0)
        return false;
    bool handled = false;
    const TWheelEvent& handler = delta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
    if (handler)
        handler(*this, handled);
    if (!handled)
        SetDate(selectedDate().addDays(delta < 0 ? 1 : -1));
    return true;
}

void TPopupMonthCalendarGx::HandleViewRelease(const QMouseEvent& event)
{
    if (FView == nullptr || event.button() != Qt::LeftButton || verticalHeaderFormat() == NoVerticalHeader)
        return;
    const QModelIndex cell = FView->indexAt(event.position().toPoint());
    const bool dayNames = horizontalHeaderFormat() != NoHorizontalHeader && cell.row() == 0;
    if (cell.isValid() && cell.column() == 0 && !dayNames)
        CloseUp(true);
}

bool TPopupMonthCalendarGx::eventFilter(QObject* watched, QEvent* event)
{
    return RunEventHandler([&] {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (HandleCloseKey(static_cast<QKeyEvent&>(*event)))
                return true;
            break;
        case QEvent::ShortcutOverride: {
            // The dialog-level query: Enter and Esc are the calendar's.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::Wheel:
            if (HandleWheel(static_cast<QWheelEvent&>(*event)))
                return true;
            break;
        case QEvent::MouseButtonRelease:
            if (FView != nullptr && watched == FView->viewport())
                HandleViewRelease(static_cast<QMouseEvent&>(*event));
            break;
        default: break;
        }
        return QCalendarWidget::eventFilter(watched, event);
    });
}

void TPopupMonthCalendarGx::keyPressEvent(QKeyEvent* event)
{
    if (!HandleCloseKey(*event))
        QCalendarWidget::keyPressEvent(event);
}

void TPopupMonthCalendarGx::mousePressEvent(QMouseEvent* event)
{
    if (!rect().contains(event->position().toPoint())) {
        CloseUp(false);
        return;
    }
    QCalendarWidget::mousePressEvent(event);
}

bool TPopupMonthCalendarGx::event(QEvent* event)
{
    return RunEventHandler([&] {
        if (event->type() == CalendarFocusLostEventType) {
            if (isVisible() && !OwnsWidget(QApplication::focusWidget()))
                CloseUp(false);
            return true;
        }
        if (event->type() == QEvent::Wheel && HandleWheel(static_cast<QWheelEvent&>(*event)))
            return true;
        return QCalendarWidget::event(event);
    });
}

void TPopupMonthCalendarGx::paintEvent(QPaintEvent* event)
{
    QCalendarWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(ToQColor(clWindowFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TPopupMonthCalendarGx::OwnsWidget(const QWidget* widget) const
{
    return widget != nullptr && (widget == this || isAncestorOf(widget));
}

void TPopupMonthCalendarGx::FocusChanged(QWidget* old, QWidget* now)
{
    if (isVisible() && OwnsWidget(old) && !OwnsWidget(now))
        QCoreApplication::postEvent(this, new QEvent(CalendarFocusLostEventType));
}
