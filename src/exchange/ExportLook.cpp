#include "exchange/ExportLook.h"

#include <algorithm>
#include <cmath>

int FontPointSize(const QFont& font, int pixelsPerInch)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    const int pixels = font.pixelSize();
    if (pixels <= 0 || pixelsPerInch <= 0)
        return 1;
    return std::max(1, static_cast<int>(std::lround(pixels * 72.0 / pixelsPerInch)));
}
