#include "data/FilterText.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <vector>

namespace {

// A UTF-8 character-type locale independent of the process locale, so that
// folding works the same under LANG=C.
locale_t FoldLocale()
{
    static locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return locale;
}

// Decodes UTF-8; a byte that does not start a valid sequence becomes its own
// code point in the private range 0xDC80..0xDCFF so nothing is lost.
std::u32string Decode(const std::string& text)
{
    std::u32string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        char32_t cp = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        bool valid = length > 0 && i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (cc & 0x3F);
        }
        if (!valid) {
            out.push_back(0xDC00 + c);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<size_t>(length);
    }
    return out;
}

void Encode(char32_t cp, std::string& out)
{
    if (cp >= 0xDC80 && cp <= 0xDCFF)
        out += static_cast<char>(cp - 0xDC00);
    else
        AppendUtf8(cp, out);
}

char32_t Fold(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
    if (cp >= 0xDC80 && cp <= 0xDCFF)
        return cp;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), FoldLocale()));
}

bool IsAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::u32string DecodeFolded(const std::string& text, bool caseInsensitive)
{
    std::u32string chars = Decode(text);
    if (caseInsensitive)
        for (char32_t& c : chars)
            c = Fold(c);
    return chars;
}

} // namespace

std::string FoldCase(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    if (IsAscii(text)) {
        for (char c : text)
            out += static_cast<char>(Fold(static_cast<unsigned char>(c)));
        return out;
    }
    for (char32_t c : Decode(text))
        Encode(Fold(c), out);
    return out;
}

namespace {

// Compares the first `length` bytes of two ASCII texts ignoring case.
int CompareAsciiFolded(const std::string& a, const std::string& b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        char32_t x = Fold(static_cast<unsigned char>(a[i])), y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace

int CompareText(const std::string& a, const std::string& b, bool caseInsensitive)
{
    int c;
    if (!caseInsensitive) {
        c = a.compare(b);
    } else if (IsAscii(a) && IsAscii(b)) {
        c = CompareAsciiFolded(a, b, std::min(a.size(), b.size()));
        if (c == 0)
            c = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    } else {
        // UTF-8 byte order is code point order, so folded bytes compare right.
        c = FoldCase(a).compare(FoldCase(b));
    }
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool StartsWithText(const std::string& text, const std::string& prefix, bool caseInsensitive)
{
    if (!caseInsensitive)
        return text.compare(0, prefix.size(), prefix) == 0;
    if (IsAscii(text) && IsAscii(prefix))
        return text.size() >= prefix.size() && CompareAsciiFolded(text, prefix, prefix.size()) == 0;
    std::string folded = FoldCase(text), foldedPrefix = FoldCase(prefix);
    return folded.compare(0, foldedPrefix.size(), foldedPrefix) == 0;
}

namespace {

// Greedy wildcard match with one backtrack point (the last '%' seen), over
// any sequence of characters.
template <typename TText, typename TEqual>
bool MatchWildcards(const TText& s, const TText& p, TEqual equal)
{
    size_t si = 0, pi = 0;
    size_t starPattern = TText::npos, starText = 0;
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == '_' || (p[pi] != '%' && equal(p[pi], s[si])))) {
            ++si;
            ++pi;
        } else if (pi < p.size() && p[pi] == '%') {
            starPattern = pi++;
            starText = si;
        } else if (starPattern != TText::npos) {
            pi = starPattern + 1;
            si = ++starText;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '%')
        ++pi;
    return pi == p.size();
}

} // namespace

bool MatchLikePattern(const std::string& text, const std::string& pattern, bool caseInsensitive)
{
    if (IsAscii(text) && IsAscii(pattern)) {
        if (!caseInsensitive)
            return MatchWildcards(text, pattern, [](char a, char b) { return a == b; });
        return MatchWildcards(text, pattern, [](char a, char b) {
            return Fold(static_cast<unsigned char>(a)) == Fold(static_cast<unsigned char>(b));
        });
    }
    // '_' stands for one character, so work on decoded characters.
    return MatchWildcards(DecodeFolded(text, caseInsensitive), DecodeFolded(pattern, caseInsensitive),
                          [](char32_t a, char32_t b) { return a == b; });
}
