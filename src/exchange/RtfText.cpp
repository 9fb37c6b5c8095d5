// RTF text escapes and the colour and font tables.

#include "exchange/RtfText.h"

#include "exchange/ExportLook.h"

namespace {

void AppendUnit(std::string& out, uint16_t unit)
{
    out += "\\u";
    out += std::to_string(static_cast<int16_t>(unit));
    out += '?';
}

void AppendCodePoint(std::string& out, char32_t code)
{
    if (code >= 0x10000) {
        code -= 0x10000;
        AppendUnit(out, static_cast<uint16_t>(0xD800 + (code >> 10)));
        AppendUnit(out, static_cast<uint16_t>(0xDC00 + (code & 0x3FF)));
    } else {
        AppendUnit(out, static_cast<uint16_t>(code));
    }
}

// Decodes the character at text[i] (not ASCII); advances i past it.  An
// invalid or cut-off sequence gives U+FFFD for its first byte.
char32_t DecodeUtf8(std::string_view text, size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(length);
    return code;
}

}  // namespace

void AppendRtfText(std::string& out, std::string_view utf8)
{
    size_t run = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        const char c = utf8[i];
        const bool ascii = static_cast<unsigned char>(c) < 0x80;
        if (ascii && c != '\\' && c != '{' && c != '}') {
            ++i;
            continue;
        }
        // Bytes written unchanged go in as one run.
        out.append(utf8.data() + run, i - run);
        if (ascii) {
            out += '\\';
            out += c;
            ++i;
        } else {
            AppendCodePoint(out, DecodeUtf8(utf8, i));
        }
        run = i;
    }
    out.append(utf8.data() + run, utf8.size() - run);
}

int TRtfColorTableGx::Number(TColor color)
{
    const TColor rgb = RGBOf(color);
    auto [it, added] = FNumbers.try_emplace(rgb, static_cast<int>(FColors.size()));
    if (added)
        FColors.push_back(rgb);
    return it->second;
}

std::string TRtfColorTableGx::Text() const
{
    std::string text = "{\\colortbl";
    for (TColor color : FColors) {
        text += "\\red" + std::to_string(GetRValue(color));
        text += "\\green" + std::to_string(GetGValue(color));
        text += "\\blue" + std::to_string(GetBValue(color));
        text += ';';
    }
    text += '}';
    return text;
}

int TRtfFontTableGx::Number(const QFont& font)
{
    return Number(font.family());
}

int TRtfFontTableGx::Number(const QString& family)
{
    if (FLastNumber >= 0 && family == FLastFamily)
        return FLastNumber;
    int number = -1;
    for (size_t i = 0; i < FNames.size() && number < 0; ++i)
        if (FNames[i].compare(family, Qt::CaseInsensitive) == 0)
            number = static_cast<int>(i);
    if (number < 0) {
        number = static_cast<int>(FNames.size());
        FNames.push_back(family);
    }
    FLastFamily = family;
    FLastNumber = number;
    return number;
}

std::string TRtfFontTableGx::Text() const
{
    std::string text = "{\\fonttbl";
    for (size_t i = 0; i < FNames.size(); ++i) {
        text += "\\f" + std::to_string(i) + "\\fnil ";
        AppendRtfText(text, FNames[i].toStdString());
        text += ';';
    }
    text += '}';
    return text;
}
