#include "data/engine/paradox/PxEncoding.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace px {

bool IsBlank(const uint8_t* p, int width)
{
    for (int i = 0; i < width; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

int32_t DecodeInt(const uint8_t* p, int width)
{
    uint32_t v = p[0] ^ 0x80u;
    for (int i = 1; i < width; ++i)
        v = (v << 8) | p[i];
    int shift = 32 - 8 * width;
    return static_cast<int32_t>(v << shift) >> shift;   // sign-extend
}

bool EncodeInt(int64_t value, uint8_t* p, int width)
{
    int64_t limit = (int64_t{1} << (8 * width - 1)) - 1;
    if (value < -limit || value > limit)
        return false;
    uint64_t v = static_cast<uint64_t>(value);
    for (int i = width - 1; i >= 0; --i) {
        p[i] = static_cast<uint8_t>(v);
        v >>= 8;
    }
    p[0] ^= 0x80;
    return true;
}

double DecodeDouble(const uint8_t* p)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    if (v & 0x8000000000000000ull)
        v &= ~0x8000000000000000ull;
    else
        v = ~v;
    double d;
    std::memcpy(&d, &v, 8);
    return d;
}

bool EncodeDouble(double value, uint8_t* p)
{
    if (!std::isfinite(value))
        return false;
    if (value == 0)
        value = 0.0;   // no negative zero
    uint64_t v;
    std::memcpy(&v, &value, 8);
    if (v & 0x8000000000000000ull)
        v = ~v;
    else
        v |= 0x8000000000000000ull;
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<uint8_t>(v);
        v >>= 8;
    }
    return true;
}

std::string DecodeBcd(const uint8_t* p, int decimals)
{
    bool negative = (p[0] & 0x80) == 0;
    if (decimals > 32) decimals = 32;
    std::string digits;
    digits.reserve(32);
    bool junk = false;
    for (int i = 0; i < 32; ++i) {
        int nibble = (p[1 + i / 2] >> (i % 2 == 0 ? 4 : 0)) & 0x0F;
        if (negative) nibble ^= 0x0F;
        if (nibble > 9) junk = true;   // float-converted junk: the rest reads as 0
        digits += junk ? '0' : static_cast<char>('0' + nibble);
    }
    std::string whole = digits.substr(0, 32 - decimals);
    std::string fraction = digits.substr(32 - decimals);
    size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    std::string text = whole;
    if (decimals > 0)
        text += "." + fraction;
    bool zero = text.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + text : text;
}

bool EncodeBcd(const std::string& text, int decimals, uint8_t* p)
{
    if (decimals < 0 || decimals > 32)
        return false;
    size_t i = 0;
    bool negative = false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::string whole, fraction;
    bool point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') (point ? fraction : whole) += c;
        else if (c == '.' && !point) point = true;
        else if (c == ' ') break;
        else return false;
    }
    for (; i < text.size(); ++i)
        if (text[i] != ' ') return false;
    if (whole.empty() && fraction.empty())
        return false;
    size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "" : whole.substr(first);
    // Round the fraction to `decimals` places, half away from zero.
    bool roundUp = fraction.size() > static_cast<size_t>(decimals) && fraction[decimals] >= '5';
    fraction.resize(decimals, '0');
    std::string digits = whole + fraction;
    if (roundUp) {
        int k = static_cast<int>(digits.size()) - 1;
        while (k >= 0 && digits[k] == '9') digits[k--] = '0';
        if (k >= 0) ++digits[k]; else digits.insert(digits.begin(), '1');
    }
    if (digits.size() > 32)
        return false;
    digits.insert(0, 32 - digits.size(), '0');
    if (digits.find_first_not_of('0') == std::string::npos)
        negative = false;
    p[0] = static_cast<uint8_t>((negative ? 0x00 : 0x80) | 0x40 | decimals);
    for (int k = 0; k < 16; ++k) {
        int hi = digits[2 * k] - '0', lo = digits[2 * k + 1] - '0';
        if (negative) { hi ^= 0x0F; lo ^= 0x0F; }
        p[1 + k] = static_cast<uint8_t>((hi << 4) | lo);
    }
    return true;
}

} // namespace px
