#include "grid/base/GridKeys.h"

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    if (modifiers & Qt::ShiftModifier) s += ssShift;
    if (modifiers & Qt::AltModifier) s += ssAlt;
    if (modifiers & Qt::ControlModifier) s += ssCtrl;
    if (buttons & Qt::LeftButton) s += ssLeft;
    if (buttons & Qt::RightButton) s += ssRight;
    if (buttons & Qt::MiddleButton) s += ssMiddle;
    return s;
}

void NormalizeKey(int& key, TShiftState& shift) {
    if (key == Qt::Key_Enter) key = Qt::Key_Return;
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        shift += ssShift;
    }
}
