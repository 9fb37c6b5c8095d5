#pragma once
// TPopupMonthCalendarGx: the drop-down month calendar of date cells.  A
// borderless tool window over Qt's month calendar that reports to its owner
// (the widget it is created for, through TPopupOwnerGx): picking a day,
// a grayed day of the previous or next month included, or pressing Enter
// closes up accepting; Esc, a press outside the calendar or the focus
// leaving it closes up without accepting.  The navigation bar only pages.
// A wheel notch moves the date one day (down: forward) unless a handler
// takes it first.

#include "platform/Color.h"

#include <QCalendarWidget>

#include <functional>

class QKeyEvent;
class QTableView;

class TPopupMonthCalendarGx : public QCalendarWidget {
public:
    using TWheelEvent = std::function<void(TPopupMonthCalendarGx& sender, bool& handled)>;

    explicit TPopupMonthCalendarGx(QWidget* owner);
    ~TPopupMonthCalendarGx() override;

    QDate Date() const { return selectedDate(); }
    void SetDate(const QDate& date);
    void SetColor(TColor color);
    // The smallest size that shows the whole month.
    QSize RequiredSize() const;
    // A key the owner passes on while the calendar is open (arrows, pages).
    void ForwardKey(QKeyEvent& event);

    TWheelEvent OnMouseWheelDown;
    TWheelEvent OnMouseWheelUp;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CloseUp(bool accept);
    // Enter and Esc close up; true when the key was one of them.
    bool HandleCloseKey(const QKeyEvent& event);
    bool HandleWheel(const QWheelEvent& event);
    // A release over the week numbers accepts (days accept through clicked).
    void HandleViewRelease(const QMouseEvent& event);
    void FocusChanged(QWidget* old, QWidget* now);
    bool OwnsWidget(const QWidget* widget) const;

    QTableView* FView = nullptr;
};
