#include "data/MemIndexKeys.h"

#include "data/engine/CaseFold.h"

#include <bit>
#include <cmath>

namespace {

// A head that orders numbers as TVariant::Compare does wherever two heads
// differ: the number as a double (rounding never reverses an order), its
// bits turned so that unsigned order is numeric order, a NaN lowest.  Other
// values sort after every number and are told apart by their full values.
uint64_t NumericHead(const TVariant& value)
{
    double d;
    switch (value.VarType()) {
    case varBoolean: case varInteger: case varInt64: d = static_cast<double>(value.AsInt64()); break;
    case varDouble: case varCurrency: case varDate: d = value.AsDouble(); break;
    default: return UINT64_MAX;
    }
    if (std::isnan(d))
        return 0;
    if (d == 0)
        d = 0;   // -0 equals 0
    const uint64_t bits = std::bit_cast<uint64_t>(d);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

int Sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

const std::string& TextOf(const TVariant& value, std::string& scratch)
{
    if (const std::string* text = value.StringIf())
        return *text;
    scratch = value.AsString();
    return scratch;
}

} // namespace

std::string_view IndexTextKey(TMemIndexOrder order, const TVariant& value, std::string& scratch)
{
    const std::string& text = TextOf(value, scratch);
    if (order != TMemIndexOrder::FoldedText)
        return text;
    scratch = FoldedText(text);
    return scratch;
}

uint64_t IndexHead(TMemIndexOrder order, const TVariant& value, size_t depth)
{
    if (!IsTextOrder(order))
        return NumericHead(value);
    std::string scratch;
    std::string_view bytes = TextOf(value, scratch);
    bool foldAscii = false;
    if (order == TMemIndexOrder::FoldedText) {
        // Up to the head's last byte the text is often ASCII: fold that on the fly.
        foldAscii = IsAsciiText(bytes.substr(0, depth + 8));
        if (!foldAscii) {
            scratch = FoldedText(bytes);
            bytes = scratch;
        }
    }
    uint64_t head = 0;
    for (size_t i = depth; i < depth + 8; ++i) {
        auto c = static_cast<unsigned char>(i < bytes.size() ? bytes[i] : 0);
        if (foldAscii && c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c - 'A' + 'a');
        head = head << 8 | c;
    }
    return head;
}

bool IndexHeadIsWholeKey(TMemIndexOrder order, const TVariant& value)
{
    const std::string* text = value.StringIf();
    return IsTextOrder(order) && text != nullptr && text->size() <= 8 &&
           text->find('\0') == std::string::npos && (order == TMemIndexOrder::Text || IsAsciiText(*text));
}

int CompareIndexValues(TMemIndexOrder order, uint64_t aHead, const TVariant& a, uint64_t bHead, const TVariant& b)
{
    if (aHead != bHead)
        return aHead < bHead ? -1 : 1;
    if (!IsTextOrder(order))
        return TVariant::Compare(a, b);
    std::string x, y;
    return Sign(IndexTextKey(order, a, x).compare(IndexTextKey(order, b, y)));
}

int CompareIndexValues(TMemIndexOrder order, const TVariant& a, const TVariant& b)
{
    const bool aMissing = a.IsNullOrEmpty(), bMissing = b.IsNullOrEmpty();
    if (aMissing || bMissing)
        return aMissing == bMissing ? 0 : (aMissing ? -1 : 1);
    return CompareIndexValues(order, IndexHead(order, a), a, IndexHead(order, b), b);
}
