#pragma once
// Typed characters as the grid and its editor see them: a character is a
// QString holding one character ("\r" Enter, "\x1b" Esc, "\t" Tab, "\b"
// Backspace, control characters for Ctrl+letter).

#include <QString>

// A character that types text: neither a control character nor Delete.
inline bool IsPrintableKey(const QString& ch) {
    return !ch.isEmpty() && ch.at(0).unicode() >= 32 && ch.at(0).unicode() != 127;
}
