#include "data/engine/dbf/DbfValues.h"

#include "data/engine/ByteOrder.h"
#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/DbfDates.h"
#include "platform/DateTimeParts.h"
#include "platform/DecimalNumber.h"
#include "platform/Exceptions.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

std::string_view Trimmed(const uint8_t* p, int n)
{
    int begin = 0, end = n;
    while (begin < end && (p[begin] == ' ' || p[begin] == 0)) ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == 0)) --end;
    return std::string_view(reinterpret_cast<const char*>(p + begin), static_cast<size_t>(end - begin));
}

bool AllBytes(const uint8_t* p, int n, uint8_t b)
{
    for (int i = 0; i < n; ++i)
        if (p[i] != b) return false;
    return true;
}

double BitsToDouble(uint64_t bits) { double d; std::memcpy(&d, &bits, 8); return d; }
uint64_t DoubleToBits(double d) { uint64_t bits; std::memcpy(&bits, &d, 8); return bits; }

bool ParseInteger(std::string_view s, int64_t& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return false;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c < '0' || c > '9')
            return false;
        if (v > (std::numeric_limits<uint64_t>::max() - 9) / 10)
            return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return false;
    value = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    return true;
}

bool ParseDouble(std::string_view s, double& value)
{
    char buffer[64];
    if (s.size() >= sizeof buffer)
        return false;
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '+' && n == 0)
            continue;
        buffer[n++] = c == ',' ? '.' : c;
    }
    auto result = std::from_chars(buffer, buffer + n, value);
    return result.ec == std::errc() && result.ptr == buffer + n && std::isfinite(value);
}

// The text of a number field: rounded half away from zero to `decimals`
// places, no exponent, a point before the decimals.
std::string FixedText(TDecimalNumber number, int decimals)
{
    number.RoundToDecimals(decimals);
    std::string text = number.ShowsMinus() ? "-" : "";
    for (int power = std::max(number.IntegerDigits(), 1) - 1; power >= 0; --power)
        text += number.DigitAt(power);
    if (decimals > 0)
        text += '.';
    for (int power = -1; power >= -decimals; --power)
        text += number.DigitAt(power);
    return text;
}

std::string FieldDescription(const TDbfField& f)
{
    std::string text = f.Name + " (" + std::string(1, f.Type) + " " + std::to_string(f.Length);
    if (f.Decimals > 0)
        text += "," + std::to_string(f.Decimals);
    return text + ")";
}

bool IsLeadByte(int codePage, uint8_t b)
{
    if (codePage == 932)
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return b >= 0x81 && b <= 0xFE;
}

} // namespace

void RaiseFieldError(uint16_t status, const TDbfField& field, const std::string& details)
{
    RaiseEngineError(status, {"Field: " + field.Name, details});
}

TDbfValues::TDbfValues(const TDbfHeader& header, const TCodePage& codePage) : FHeader(header), FCodePage(codePage)
{
    if (header.NullFlagsField >= 0) {
        FNullFlagsOffset = header.Fields[static_cast<size_t>(header.NullFlagsField)].Offset;
        FNullFlagsLength = header.Fields[static_cast<size_t>(header.NullFlagsField)].Length;
    }
    int cp = codePage.Number();
    FDoubleByte = cp == 936 || cp == 950 || cp == 949 || cp == 932;
}

bool TDbfValues::GetBit(int bit, const uint8_t* record) const
{
    if (FNullFlagsOffset < 0 || bit < 0 || bit / 8 >= FNullFlagsLength)
        return false;
    return (record[FNullFlagsOffset + bit / 8] >> (bit % 8)) & 1;
}

void TDbfValues::SetBit(int bit, bool on, uint8_t* record) const
{
    if (FNullFlagsOffset < 0 || bit < 0 || bit / 8 >= FNullFlagsLength)
        return;
    uint8_t& b = record[FNullFlagsOffset + bit / 8];
    b = static_cast<uint8_t>(on ? (b | (1u << (bit % 8))) : (b & ~(1u << (bit % 8))));
}

bool TDbfValues::IsNullFlagged(const TDbfField& field, const uint8_t* record) const
{
    return field.NullBit >= 0 && GetBit(field.NullBit, record);
}

void TDbfValues::SetNullFlag(const TDbfField& field, bool isNull, uint8_t* record) const
{
    SetBit(field.NullBit, isNull, record);
}

std::string TDbfValues::TextOf(std::string_view bytes) const
{
    size_t i = 0;
    while (i < bytes.size() && static_cast<uint8_t>(bytes[i]) < 0x80)
        ++i;
    if (i == bytes.size())
        return std::string(bytes);
    if (FDoubleByte) {
        int cp = FCodePage.Number();
        while (i < bytes.size()) {
            if (IsLeadByte(cp, static_cast<uint8_t>(bytes[i])))
                i += 2;
            else
                ++i;
        }
        if (i > bytes.size())
            bytes.remove_suffix(1);
    } else if (FCodePage.Number() == 65001) {
        // A UTF-8 character cut at the field's end.
        size_t start = bytes.size();
        while (start > 0 && (static_cast<uint8_t>(bytes[start - 1]) & 0xC0) == 0x80 && bytes.size() - start < 3)
            --start;
        if (start > 0) {
            uint8_t lead = static_cast<uint8_t>(bytes[start - 1]);
            size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (lead >= 0xC0 && bytes.size() - (start - 1) < need)
                bytes.remove_suffix(bytes.size() - (start - 1));
        }
    }
    return FCodePage.ToUtf8(bytes);
}

uint32_t TDbfValues::MemoBlock(const TDbfField& field, const uint8_t* record) const
{
    const uint8_t* p = record + field.Offset;
    if (field.Length == 4)
        return Le32(p);
    std::string_view digits = Trimmed(p, field.Length);
    int64_t block = 0;
    if (!ParseInteger(digits, block) || block <= 0 || block > UINT32_MAX)
        return 0;
    return static_cast<uint32_t>(block);
}

void TDbfValues::SetMemoBlock(const TDbfField& field, uint32_t block, uint8_t* record) const
{
    uint8_t* p = record + field.Offset;
    if (field.Length == 4) {
        PutLe32(p, block);
        return;
    }
    std::memset(p, ' ', static_cast<size_t>(field.Length));
    if (block == 0)
        return;
    std::string digits = std::to_string(block);
    std::memcpy(p + field.Length - digits.size(), digits.data(), digits.size());
}

TVariant TDbfValues::MemoValue(const TDbfField& field, std::string_view bytes) const
{
    if (field.DataType == ftMemo)
        return TVariant(TextOf(bytes));
    return TVariant(TBytes(bytes.begin(), bytes.end()));
}

std::string TDbfValues::MemoBytes(const TDbfField& field, const TVariant& value) const
{
    if (value.IsNullOrEmpty())
        return std::string();
    if (field.DataType == ftMemo)
        return EncodeText(field, value);
    try {
        TBytes bytes = value.AsBytes();
        return std::string(bytes.begin(), bytes.end());
    } catch (const EVariantError& e) {
        RaiseFieldError(DBIERR_INVALIDFIELDVALUE, field, e.Message());
    }
}

std::string TDbfValues::EncodeText(const TDbfField& field, const TVariant& value) const
{
    try {
        return FCodePage.FromUtf8(value.AsString());
    } catch (const EDBEngineError& e) {
        std::vector<std::string> details{"Field: " + field.Name};
        for (const TDBError& entry : e.Errors())
            if (entry.Message != EngineStatusText(e.ErrorCode()))
                details.push_back(entry.Message);
        RaiseEngineError(e.ErrorCode(), details);
    }
}

void TDbfValues::Decode(const TDbfField& f, const uint8_t* record, TVariant& value) const
{
    const uint8_t* p = record + f.Offset;
    const int n = f.Length;
    if (f.NullBit >= 0 && GetBit(f.NullBit, record)) {
        value = TVariant::Null();
        return;
    }
    switch (f.Type) {
    case 'C':
        if (f.Binary) {
            value = TVariant(TBytes(p, p + n));
        } else {
            int end = n;
            while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == 0)) --end;
            value = TVariant(TextOf(std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(end))));
        }
        return;
    case 'V': case 'Q': {
        int length = n;
        if (f.VarLengthBit >= 0 && GetBit(f.VarLengthBit, record) && n > 0)
            length = std::min<int>(p[n - 1], n - 1);
        if (f.Binary || f.Type == 'Q')
            value = TVariant(TBytes(p, p + length));
        else
            value = TVariant(TextOf(std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(length))));
        return;
    }
    case 'N': case 'F': {
        std::string_view text = Trimmed(p, n);
        if (text.empty() || text.find('*') != std::string_view::npos) {
            value = TVariant::Null();
            return;
        }
        if (f.DataType != ftFloat) {
            int64_t v;
            if (!ParseInteger(text, v)) {
                double d;
                if (!ParseDouble(text, d) || std::fabs(d) >= 9.2e18) {
                    value = TVariant::Null();
                    return;
                }
                v = std::llround(d);
            }
            if (f.DataType == ftLargeint)
                value = TVariant(v);
            else if (v >= INT32_MIN && v <= INT32_MAX)
                value = TVariant(static_cast<int32_t>(v));
            else
                value = TVariant::Null();
            return;
        }
        double d;
        value = ParseDouble(text, d) ? TVariant(d) : TVariant::Null();
        return;
    }
    case 'L':
        if (n < 1) {
            value = TVariant::Null();
            return;
        }
        switch (p[0]) {
        case 'T': case 't': case 'Y': case 'y': value = TVariant(true); return;
        case 'F': case 'f': case 'N': case 'n': value = TVariant(false); return;
        default: value = TVariant::Null(); return;
        }
    case 'D': {
        std::string_view text = Trimmed(p, n);
        char digits[8];
        size_t count = 0;
        for (char c : text) {
            if (c >= '0' && c <= '9') {
                if (count == 8) { count = 9; break; }
                digits[count++] = c;
            } else if (c != '-' && c != '/' && c != '.') {
                count = 0;
                break;
            }
        }
        if (count != 8) {
            value = TVariant::Null();
            return;
        }
        auto num = [&](int from, int len) {
            int v = 0;
            for (int i = from; i < from + len; ++i) v = v * 10 + (digits[i] - '0');
            return v;
        };
        int year = num(0, 4), month = num(4, 2), day = num(6, 2);
        if (!DbfDates::IsValidDate(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) {
            value = TVariant::Null();
            return;
        }
        int64_t days = DbfDates::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                       DbfDates::UnixToDateTimeDays;
        value = TVariant::FromDateTime(static_cast<double>(days));
        return;
    }
    case 'T': {
        if (n < 8 || AllBytes(p, 8, 0) || AllBytes(p, 8, ' ')) {
            value = TVariant::Null();
            return;
        }
        int32_t julian = static_cast<int32_t>(Le32(p));
        int32_t ms = static_cast<int32_t>(Le32(p + 4));
        if (julian <= 0 || ms < 0 || ms >= 86400000) {
            value = TVariant::Null();
            return;
        }
        value = TVariant::FromDateTime(DateTimeFromDayAndMilliseconds(julian - DbfDates::JulianDayOfDateTimeZero, ms));
        return;
    }
    case '@': {
        if (n < 8 || AllBytes(p, 8, 0)) {
            value = TVariant::Null();
            return;
        }
        double ms = BitsToDouble(Be64(p));
        if (!std::isfinite(ms) || ms < 86400000.0 || ms > 3.2e17) {
            value = TVariant::Null();
            return;
        }
        int64_t total = std::llround(ms);
        int64_t ordinal = total / 86400000;
        int64_t unixDays = ordinal - 719163;
        value = TVariant::FromDateTime(DateTimeFromDayAndMilliseconds(unixDays + DbfDates::UnixToDateTimeDays, total % 86400000));
        return;
    }
    case 'I': case '+':
        if (n < 4) {
            value = TVariant::Null();
            return;
        }
        if (FHeader.Dialect == TDbfDialect::DBase7) {
            if (AllBytes(p, 4, 0)) {
                value = TVariant::Null();
                return;
            }
            value = TVariant(static_cast<int32_t>(Be32(p) ^ 0x80000000u));
        } else {
            value = TVariant(static_cast<int32_t>(Le32(p)));
        }
        return;
    case 'Y':
        if (n < 8) {
            value = TVariant::Null();
            return;
        }
        value = TVariant(static_cast<double>(static_cast<int64_t>(Le64(p))) / 10000.0);
        return;
    case 'B':
        if (n < 8) {
            value = TVariant::Null();
            return;
        }
        value = TVariant(BitsToDouble(Le64(p)));
        return;
    case 'O': {
        if (n < 8 || AllBytes(p, 8, 0)) {
            value = TVariant::Null();
            return;
        }
        uint64_t bits = Be64(p);
        bits = (bits & 0x8000000000000000ull) ? (bits & 0x7FFFFFFFFFFFFFFFull) : ~bits;
        value = TVariant(BitsToDouble(bits));
        return;
    }
    default:
        value = TVariant(TBytes(p, p + n));
        return;
    }
}

std::string TDbfValues::FormatNumber(const TDbfField& f, const TVariant& value) const
{
    TDecimalNumber decimal;
    switch (value.VarType()) {
    case varBoolean: case varInteger: case varInt64:
        decimal = TDecimalNumber::FromScaled(value.AsInt64(), 0);
        break;
    case varCurrency:
        decimal = TDecimalNumber::FromScaled(value.AsCurrency().Scaled, 4);
        break;
    case varString: {
        double d;
        std::string text = value.AsString();
        size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
        if (b == std::string::npos || !ParseDouble(std::string_view(text).substr(b, e - b + 1), d))
            RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "\"" + text + "\" is not a number.");
        decimal = TDecimalNumber::FromDouble(d);
        break;
    }
    default: {
        double d = value.AsDouble();
        if (!std::isfinite(d))
            RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The value is not a finite number.");
        decimal = TDecimalNumber::FromDouble(d);
        break;
    }
    }
    std::string text = FixedText(decimal, f.Decimals);
    if (static_cast<int>(text.size()) > f.Length)
        RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f,
                        "The value " + text + " does not fit the field " + FieldDescription(f) + ".");
    return text;
}

void TDbfValues::Encode(const TDbfField& f, const TVariant& value, uint8_t* record) const
{
    const int n = f.Length;
    std::string out(static_cast<size_t>(n), ' ');
    auto* o = reinterpret_cast<uint8_t*>(out.data());
    bool isNull = value.IsNullOrEmpty();
    bool nullable = f.NullBit >= 0;
    bool varShort = false;
    try {
        switch (f.Type) {
        case 'C': {
            if (isNull)
                break;
            std::string bytes;
            if (f.Binary) {
                TBytes b = value.AsBytes();
                bytes.assign(b.begin(), b.end());
            } else {
                bytes = EncodeText(f, value);
            }
            if (static_cast<int>(bytes.size()) > n)
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f,
                                "The text is " + std::to_string(bytes.size()) + " bytes long; the field " +
                                    FieldDescription(f) + " holds " + std::to_string(n) + ".");
            std::memcpy(o, bytes.data(), bytes.size());
            break;
        }
        case 'V': case 'Q': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull) {
                if (!nullable) varShort = true;
                break;
            }
            std::string bytes;
            if (f.Binary || f.Type == 'Q') {
                TBytes b = value.AsBytes();
                bytes.assign(b.begin(), b.end());
            } else {
                bytes = EncodeText(f, value);
            }
            if (static_cast<int>(bytes.size()) > n)
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f,
                                "The value is " + std::to_string(bytes.size()) + " bytes long; the field " +
                                    FieldDescription(f) + " holds " + std::to_string(n) + ".");
            std::memcpy(o, bytes.data(), bytes.size());
            if (static_cast<int>(bytes.size()) < n) {
                varShort = true;
                o[n - 1] = static_cast<uint8_t>(bytes.size());
            }
            break;
        }
        case 'N': case 'F': {
            if (isNull)
                break;
            std::string text = FormatNumber(f, value);
            std::memcpy(o + n - text.size(), text.data(), text.size());
            break;
        }
        case 'L':
            if (!isNull)
                o[0] = value.AsBoolean() ? 'T' : 'F';
            break;
        case 'D': {
            if (isNull)
                break;
            int64_t days, ms;
            SplitDateTime(value.AsDateTime(), days, ms);
            int64_t year;
            unsigned month, day;
            DbfDates::CivilFromDays(days - DbfDates::UnixToDateTimeDays, year, month, day);
            if (year < 1 || year > 9999 || n < 8)
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The date is outside the years 1 to 9999.");
            char text[16];
            std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(year), month, day);
            std::memcpy(o, text, 8);
            break;
        }
        case 'T': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull)
                break;
            int64_t days, ms;
            SplitDateTime(value.AsDateTime(), days, ms);
            int64_t julian = days + DbfDates::JulianDayOfDateTimeZero;
            if (julian < 1721426 || julian > 5373484)
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The date is outside the years 1 to 9999.");
            PutLe32(o, static_cast<uint32_t>(julian));
            PutLe32(o + 4, static_cast<uint32_t>(ms));
            break;
        }
        case '@': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull)
                break;
            int64_t days, ms;
            SplitDateTime(value.AsDateTime(), days, ms);
            int64_t ordinal = days - DbfDates::UnixToDateTimeDays + 719163;
            if (ordinal < 1 || ordinal > 3652059)
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The date is outside the years 1 to 9999.");
            PutBe64(o, DoubleToBits(static_cast<double>(ordinal * 86400000 + ms)));
            break;
        }
        case 'I': case '+': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull)
                break;
            int32_t v = value.AsInteger();
            if (FHeader.Dialect == TDbfDialect::DBase7) {
                if (v == INT32_MIN)
                    RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The value -2147483648 cannot be stored.");
                PutBe32(o, static_cast<uint32_t>(v) ^ 0x80000000u);
            } else {
                PutLe32(o, static_cast<uint32_t>(v));
            }
            break;
        }
        case 'Y': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull)
                break;
            int64_t scaled;
            if (value.VarType() == varCurrency) {
                scaled = value.AsCurrency().Scaled;
            } else {
                double d = value.AsDouble() * 10000.0;
                if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
                    RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The amount is too large for a currency field.");
                scaled = std::llround(d);
            }
            PutLe64(o, static_cast<uint64_t>(scaled));
            break;
        }
        case 'B': case 'O': {
            std::fill(out.begin(), out.end(), '\0');
            if (isNull)
                break;
            double d = value.AsDouble();
            if (!std::isfinite(d))
                RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, "The value is not a finite number.");
            if (f.Type == 'B') {
                PutLe64(o, DoubleToBits(d));
            } else {
                uint64_t bits = DoubleToBits(d);
                bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
                PutBe64(o, bits);
            }
            break;
        }
        default:
            RaiseFieldError(DBIERR_NOTSUPPORTED, f, "The engine cannot write fields of this type.");
        }
    } catch (const EVariantError& e) {
        RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, e.Message());
    } catch (const EConvertError& e) {
        RaiseFieldError(DBIERR_INVALIDFIELDVALUE, f, e.Message());
    }
    std::memcpy(record + f.Offset, out.data(), static_cast<size_t>(n));
    if (f.VarLengthBit >= 0)
        SetBit(f.VarLengthBit, varShort, record);
    if (nullable)
        SetBit(f.NullBit, isNull, record);
}
