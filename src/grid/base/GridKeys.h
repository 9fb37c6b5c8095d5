#pragma once
// Typed characters as the grid and its editor see them: a character is a
// QString holding one character ("\r" Enter, "\x1b" Esc, "\t" Tab, "\b"
// Backspace, control characters for Ctrl+letter).

#include "grid/base/GridTypes.h"

#include <QString>
#include <Qt>

// A character that types text: neither a control character nor Delete.
inline bool IsPrintableKey(const QString& ch) {
    return !ch.isEmpty() && ch.at(0).unicode() >= 32 && ch.at(0).unicode() != 127;
}

// The shift state of modifier keys and held mouse buttons.
TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = {});
// The key of a key event in the classic terms: keypad Enter is Enter, and
// Backtab is Tab with Shift held.
void NormalizeKey(int& key, TShiftState& shift);
