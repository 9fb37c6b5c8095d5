// UPPER() and LOWER() of index keys map one byte of the table's code page
// to one byte: a character whose partner is not a single character of the
// code page stays as it is (so "ß" stays "ß").

#include "data/engine/dbf/CdxExpression.h"

#include "data/engine/CodePageLetters.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace cdx {

namespace {

bool IsDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

locale_t UnicodeLocale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

void MapHighBytes(const TSingleByteTable& table, TCaseTables& cases)
{
    locale_t locale = UnicodeLocale();
    if (!locale)
        return;
    for (int i = 0; i < 128; ++i) {
        char32_t c = table.Upper[static_cast<size_t>(i)];
        if (c == 0)
            continue;
        char32_t upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
        char32_t lower = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
        for (int j = 0; j < 128; ++j) {
            char32_t other = table.Upper[static_cast<size_t>(j)];
            if (other == 0 || j == i)
                continue;
            if (other == upper && upper != c)
                cases.Upper[static_cast<size_t>(0x80 + i)] = static_cast<uint8_t>(0x80 + j);
            if (other == lower && lower != c)
                cases.Lower[static_cast<size_t>(0x80 + i)] = static_cast<uint8_t>(0x80 + j);
        }
    }
}

} // namespace

TCaseTables BuildCaseTables(int codePage)
{
    TCaseTables cases;
    for (int b = 0; b < 256; ++b) {
        cases.Upper[static_cast<size_t>(b)] = static_cast<uint8_t>(b >= 'a' && b <= 'z' ? b - 32 : b);
        cases.Lower[static_cast<size_t>(b)] = static_cast<uint8_t>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    }
    cases.DoubleByte = IsDoubleByteCodePage(codePage);
    if (const TSingleByteTable* table = SingleByteTable(codePage))
        MapHighBytes(*table, cases);
    return cases;
}

} // namespace cdx
