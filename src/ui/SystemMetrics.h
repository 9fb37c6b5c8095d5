#pragma once
// Sizes the controls share with the desktop they run on.

#include <QSize>

// The width of a vertical scroll bar in the application's style.
int VerticalScrollBarWidth();
// The size of one check box of the classic check-boxes bitmap (13 x 13).
QSize SystemCheckSize();
