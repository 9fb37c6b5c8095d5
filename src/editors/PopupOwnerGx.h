#pragma once
// The interface a drop-down's owner (the in-place editor) offers its popups:
// one operation, close up, accepting the popup's value or not.  A popup
// looks for it on its owner each time it needs it and does nothing when the
// owner does not offer it.  Also the private events between the editor and
// its popups.

#include <QEvent>
#include <QObject>

class TPopupOwnerGx {
public:
    virtual ~TPopupOwnerGx() = default;
    virtual void CloseUp(bool accept) = 0;
};

// The owner interface of a popup's owner object, nullptr without one.
inline TPopupOwnerGx* PopupOwnerOf(QObject* owner) { return dynamic_cast<TPopupOwnerGx*>(owner); }

// Sent by the editor to a popup list after placing it; the event carries
// the placement code the list hands to its size grip.
constexpr QEvent::Type PopupPlacementEventType = static_cast<QEvent::Type>(QEvent::User + 1124);
// Posted by the calendar to itself when it lost the focus.
constexpr QEvent::Type CalendarFocusLostEventType = static_cast<QEvent::Type>(QEvent::User + 1125);

class TPopupPlacementEventGx : public QEvent {
public:
    explicit TPopupPlacementEventGx(int code) : QEvent(PopupPlacementEventType), FCode(code) {}
    int Code() const { return FCode; }

private:
    int FCode;
};
