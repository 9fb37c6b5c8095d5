#pragma once
// Small helpers for UTF-8 text, which every string of the data layer is.

#include <cstddef>
#include <string>
#include <string_view>

// Number of characters (code points) in a UTF-8 text.
inline size_t Utf8Length(std::string_view text)
{
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

// Bytes of the character whose first byte is `lead` (1 for a stray byte).
inline size_t Utf8CharLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

// UTF-8 to UTF-32 and back (a byte that starts no valid character becomes
// U+FFFD).
std::u32string Utf8ToUtf32(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view text);
// Appends one character's UTF-8 bytes.
void AppendUtf8(char32_t c, std::string& out);
