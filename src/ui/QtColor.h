#pragma once
// Colour values on the Qt side.

#include "platform/Color.h"

#include <QColor>

// System colours resolve through the classic scheme; clNone is transparent;
// clDefault has no colour of its own and gives an invalid QColor, which the
// caller replaces by its own default.
inline QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QColor();
    TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// The RGB value of a QColor (alpha is dropped).
inline TColor FromQColor(const QColor& color)
{
    return RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()), static_cast<uint8_t>(color.blue()));
}
