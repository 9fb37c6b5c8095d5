#pragma once
// What a pop-up menu knows beside its items: whether it pops up by itself
// at a right click on the control it belongs to (on unless a program turns
// it off, which leaves showing it to the program), and which control popped
// it up last, so that its actions can tell where they were asked for.

class QMenu;
class QWidget;

bool MenuAutoPopup(const QMenu& menu);
void SetMenuAutoPopup(QMenu& menu, bool value);

// Null until the menu was popped up by a control.
QWidget* MenuPopupComponent(const QMenu& menu);
void SetMenuPopupComponent(QMenu& menu, QWidget* component);
