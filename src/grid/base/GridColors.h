#pragma once
// The colours the base grid paints with by default, in the classic
// system-colour values.

#include <QColor>

namespace GridColors {
inline QColor Window() { return QColor(255, 255, 255); }
inline QColor WindowText() { return QColor(0, 0, 0); }
inline QColor BtnFace() { return QColor(212, 208, 200); }
inline QColor Highlight() { return QColor(10, 36, 106); }
inline QColor HighlightText() { return QColor(255, 255, 255); }
inline QColor Black() { return QColor(0, 0, 0); }
inline QColor Silver() { return QColor(192, 192, 192); }
inline QColor Gray() { return QColor(128, 128, 128); }
}  // namespace GridColors
