#pragma once
// What the formatted exports (RTF, HTML) make of a cell's look: a font's
// size in points and a colour's red, green and blue.

#include "ui/FontGx.h"
#include "platform/Color.h"

// The font's size in whole points; a font sized in pixels is converted at
// the given pixels per inch (rounded, at least 1).
int FontPointSize(const QFont& font, int pixelsPerInch);

// The colour as RGB (system colours resolved), the marker bits dropped.
inline TColor RGBOf(TColor color)
{
    return ColorToRGB(color) & 0xFFFFFFu;
}
