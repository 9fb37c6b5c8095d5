#include "platform/Color.h"

#include "platform/Exceptions.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {

// The "Windows Classic" scheme, indexed by system colour index.
constexpr std::array<TColor, SystemColorCount> ClassicScheme = {
    RGB(212, 208, 200),   // COLOR_SCROLLBAR
    RGB(58, 110, 165),    // COLOR_BACKGROUND
    RGB(10, 36, 106),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),   // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),   // COLOR_MENU
    RGB(255, 255, 255),   // COLOR_WINDOW
    RGB(0, 0, 0),         // COLOR_WINDOWFRAME
    RGB(0, 0, 0),         // COLOR_MENUTEXT
    RGB(0, 0, 0),         // COLOR_WINDOWTEXT
    RGB(255, 255, 255),   // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),   // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),   // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),   // COLOR_APPWORKSPACE
    RGB(10, 36, 106),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255),   // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),   // COLOR_BTNFACE
    RGB(128, 128, 128),   // COLOR_BTNSHADOW
    RGB(128, 128, 128),   // COLOR_GRAYTEXT
    RGB(0, 0, 0),         // COLOR_BTNTEXT
    RGB(212, 208, 200),   // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),   // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),      // COLOR_3DDKSHADOW
    RGB(212, 208, 200),   // COLOR_3DLIGHT
    RGB(0, 0, 0),         // COLOR_INFOTEXT
    RGB(255, 255, 225),   // COLOR_INFOBK
    RGB(181, 181, 181),   // COLOR_ALTERNATEBTNFACE
    RGB(0, 0, 128),       // COLOR_HOTLIGHT
    RGB(166, 202, 240),   // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),   // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),     // COLOR_MENUHILIGHT
    RGB(212, 208, 200),   // COLOR_MENUBAR
};

struct TColorName {
    TColor Color;
    const char* Name;
};

// Where two names share a value the first one is the one ColorToString gives.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
    {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
};

bool ParseUnsigned(const std::string& digits, int base, TColor& value)
{
    if (digits.empty() || digits.size() > 10)
        return false;
    for (char c : digits)
        if (base == 16 ? !std::isxdigit(static_cast<unsigned char>(c)) : !std::isdigit(static_cast<unsigned char>(c)))
            return false;
    errno = 0;
    unsigned long long v = std::strtoull(digits.c_str(), nullptr, base);
    if (errno != 0 || v > 0xFFFFFFFFull)
        return false;
    value = static_cast<TColor>(v);
    return true;
}

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= SystemColorCount)
        return clBlack;
    return ClassicScheme[static_cast<size_t>(index)];
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(static_cast<int>(color & 0xFF));
    if (color == clNone || color == clDefault)
        return color;
    return color & 0x00FFFFFF;
}

std::string ColorToString(TColor color)
{
    for (const TColorName& entry : ColorNames)
        if (entry.Color == color)
            return entry.Name;
    char text[16];
    std::snprintf(text, sizeof text, "$%.8X", color);
    return text;
}

bool TryStringToColor(const std::string& text, TColor& color)
{
    for (const TColorName& entry : ColorNames)
        if (strcasecmp(entry.Name, text.c_str()) == 0) {
            color = entry.Color;
            return true;
        }
    if (text.size() > 1 && text[0] == '$')
        return ParseUnsigned(text.substr(1), 16, color);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseUnsigned(text.substr(2), 16, color);
    if (!text.empty() && text[0] == '-') {
        // Negative decimals are how system colours are often written.
        TColor magnitude;
        if (!ParseUnsigned(text.substr(1), 10, magnitude) || magnitude > 0x80000000u)
            return false;
        color = static_cast<TColor>(0u - magnitude);
        return true;
    }
    return ParseUnsigned(text, 10, color);
}

TColor StringToColor(const std::string& text)
{
    TColor color;
    if (!TryStringToColor(text, color))
        throw EConvertError("'" + text + "' is not a valid color value");
    return color;
}
