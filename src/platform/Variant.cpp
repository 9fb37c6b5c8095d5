#include "platform/Variant.h"

#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"

#include <cmath>
#include <limits>
#include <strings.h>

TVariant::TVariant(std::vector<TVariant> items) : FType(varArray), FValue(std::move(items)) {}

const char* TVariant::TypeName(TVarType type)
{
    switch (type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varBoolean: return "Boolean";
    case varInteger: return "Integer";
    case varInt64: return "Int64";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varString: return "String";
    case varBytes: return "Bytes";
    case varDate: return "Date";
    case varArray: return "Array";
    }
    return "Unknown";
}

void TVariant::CastError(TVarType target) const
{
    throw EVariantError(std::string("Could not convert variant of type (") + TypeName(FType) +
                        ") into type (" + TypeName(target) + ")");
}

bool TVariant::IsNumeric() const noexcept
{
    switch (FType) {
    case varBoolean: case varInteger: case varInt64: case varDouble: case varCurrency: case varDate:
        return true;
    default:
        return false;
    }
}

bool TVariant::AsBoolean() const
{
    switch (FType) {
    case varBoolean: return std::get<bool>(FValue);
    case varInteger: case varInt64: return std::get<int64_t>(FValue) != 0;
    case varDouble: case varDate: return std::get<double>(FValue) != 0;
    case varCurrency: return std::get<TCurrency>(FValue).Scaled != 0;
    case varString: {
        const std::string& s = std::get<std::string>(FValue);
        if (strcasecmp(s.c_str(), "true") == 0) return true;
        if (strcasecmp(s.c_str(), "false") == 0) return false;
        double d;
        if (TryStrToFloat(s, d)) return d != 0;
        CastError(varBoolean);
    }
    default:
        CastError(varBoolean);
    }
}

int64_t TVariant::AsInt64() const
{
    switch (FType) {
    case varBoolean: return std::get<bool>(FValue) ? -1 : 0;
    case varInteger: case varInt64: return std::get<int64_t>(FValue);
    case varDouble: case varDate: {
        double d = RoundHalfEven(std::get<double>(FValue));
        if (!std::isfinite(d) || d >= 9.2233720368547758e18 || d < -9.2233720368547758e18)
            CastError(varInt64);
        return static_cast<int64_t>(d);
    }
    case varCurrency:
        return std::get<TCurrency>(FValue).RoundToInt64();
    case varString: {
        int64_t v;
        if (TryStrToInt64(std::get<std::string>(FValue), v)) return v;
        double d;
        if (TryStrToFloat(std::get<std::string>(FValue), d))
            return TVariant(d).AsInt64();
        CastError(varInt64);
    }
    default:
        CastError(varInt64);
    }
}

int32_t TVariant::AsInteger() const
{
    int64_t v;
    try {
        v = AsInt64();
    } catch (const EVariantError&) {
        CastError(varInteger);
    }
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw EVariantError("Variant value " + std::to_string(v) + " is out of the range of an Integer");
    return static_cast<int32_t>(v);
}

double TVariant::AsDouble() const
{
    switch (FType) {
    case varBoolean: return std::get<bool>(FValue) ? -1.0 : 0.0;
    case varInteger: case varInt64: return static_cast<double>(std::get<int64_t>(FValue));
    case varDouble: case varDate: return std::get<double>(FValue);
    case varCurrency: return std::get<TCurrency>(FValue).ToDouble();
    case varString: {
        double d;
        if (TryStrToFloat(std::get<std::string>(FValue), d)) return d;
        CastError(varDouble);
    }
    default:
        CastError(varDouble);
    }
}

TCurrency TVariant::AsCurrency() const
{
    switch (FType) {
    case varCurrency: return std::get<TCurrency>(FValue);
    case varInteger: case varInt64: {
        int64_t v = std::get<int64_t>(FValue);
        int64_t scaled;
        if (__builtin_mul_overflow(v, TCurrency::Scale, &scaled)) CastError(varCurrency);
        return TCurrency::FromScaled(scaled);
    }
    case varString: {
        TCurrency c;
        if (TryStrToCurr(std::get<std::string>(FValue), c)) return c;
        CastError(varCurrency);
    }
    case varBoolean: case varDouble: case varDate:
        try {
            return TCurrency::FromDouble(AsDouble());
        } catch (const EConvertError&) {
            CastError(varCurrency);
        }
    default:
        CastError(varCurrency);
    }
}

std::string TVariant::AsString() const
{
    switch (FType) {
    case varEmpty: case varNull: return std::string();
    case varBoolean: return std::get<bool>(FValue) ? "True" : "False";
    case varInteger: case varInt64: return std::to_string(std::get<int64_t>(FValue));
    case varDouble: return FloatToStr(std::get<double>(FValue));
    case varDate: return DateTimeToStr(std::get<double>(FValue));
    case varCurrency: return CurrToStr(std::get<TCurrency>(FValue));
    case varString: return std::get<std::string>(FValue);
    case varBytes: {
        const TBytes& b = std::get<TBytes>(FValue);
        return std::string(b.begin(), b.end());
    }
    case varArray:
        CastError(varString);
    }
    CastError(varString);
}

TBytes TVariant::AsBytes() const
{
    switch (FType) {
    case varBytes: return std::get<TBytes>(FValue);
    case varString: {
        const std::string& s = std::get<std::string>(FValue);
        return TBytes(s.begin(), s.end());
    }
    default:
        CastError(varBytes);
    }
}

TDateTime TVariant::AsDateTime() const
{
    switch (FType) {
    case varDate: case varDouble: return std::get<double>(FValue);
    case varInteger: case varInt64: return static_cast<double>(std::get<int64_t>(FValue));
    case varCurrency: return std::get<TCurrency>(FValue).ToDouble();
    case varString: {
        TDateTime d;
        if (TryStrToDateTime(std::get<std::string>(FValue), d)) return d;
        CastError(varDate);
    }
    default:
        CastError(varDate);
    }
}

const std::vector<TVariant>& TVariant::AsArray() const
{
    if (FType != varArray)
        CastError(varArray);
    return std::get<std::vector<TVariant>>(FValue);
}

const TVariant& TVariant::operator[](int index) const
{
    const std::vector<TVariant>& items = AsArray();
    if (index < 0 || index >= static_cast<int>(items.size()))
        throw EVariantError("Variant array index out of bounds");
    return items[static_cast<size_t>(index)];
}

namespace {

int Rank(TVarType type)
{
    switch (type) {
    case varEmpty: return 0;
    case varNull: return 1;
    case varBoolean: case varInteger: case varInt64: case varDouble: case varCurrency: case varDate: return 2;
    case varString: return 3;
    case varBytes: return 4;
    case varArray: return 5;
    }
    return 6;
}

template <typename T>
int Sign(const T& a, const T& b) { return a < b ? -1 : (b < a ? 1 : 0); }

// A double against an integer without rounding the integer to a double.
int CompareDoubleInt(double d, int64_t i)
{
    if (d >= 0x1p63)
        return 1;
    if (d < -0x1p63)
        return -1;
    double whole = std::floor(d);
    int c = Sign(static_cast<int64_t>(whole), i);
    if (c != 0)
        return c;
    return d > whole ? 1 : 0;
}

enum class TNumberKind { Exact, Currency, Float };

TNumberKind KindOf(TVarType type)
{
    switch (type) {
    case varBoolean: case varInteger: case varInt64: return TNumberKind::Exact;
    case varCurrency: return TNumberKind::Currency;
    default: return TNumberKind::Float;
    }
}

} // namespace

// Numbers of any kinds by their exact values; a NaN sorts before every
// other number and equals another NaN.
int TVariant::CompareNumbers(const TVariant& a, const TVariant& b)
{
    const TNumberKind ka = KindOf(a.FType), kb = KindOf(b.FType);
    if (ka == TNumberKind::Exact && kb == TNumberKind::Exact)
        return Sign(a.AsInt64(), b.AsInt64());
    auto scaled = [](const TVariant& v, TNumberKind kind) -> __int128 {
        return kind == TNumberKind::Currency ? std::get<TCurrency>(v.FValue).Scaled
                                             : static_cast<__int128>(v.AsInt64()) * TCurrency::Scale;
    };
    if (ka != TNumberKind::Float && kb != TNumberKind::Float)
        return Sign(scaled(a, ka), scaled(b, kb));
    if (ka == TNumberKind::Float && kb == TNumberKind::Float) {
        double x = a.AsDouble(), y = b.AsDouble();
        if (std::isnan(x) || std::isnan(y))
            return Sign(!std::isnan(x), !std::isnan(y));
        return Sign(x, y);
    }
    // One double, one exact number or currency.
    const bool floatFirst = ka == TNumberKind::Float;
    const TVariant& f = floatFirst ? a : b;
    const TVariant& other = floatFirst ? b : a;
    const TNumberKind otherKind = floatFirst ? kb : ka;
    double d = f.AsDouble();
    int c;
    if (std::isnan(d))
        c = -1;
    else if (otherKind == TNumberKind::Exact)
        c = CompareDoubleInt(d, other.AsInt64());
    else
        c = Sign(static_cast<long double>(d) * TCurrency::Scale,
                 static_cast<long double>(std::get<TCurrency>(other.FValue).Scaled));
    return floatFirst ? c : -c;
}

int TVariant::Compare(const TVariant& a, const TVariant& b, bool caseInsensitive)
{
    int ra = Rank(a.FType), rb = Rank(b.FType);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (ra) {
    case 2:
        return CompareNumbers(a, b);
    case 3: {
        const std::string& x = std::get<std::string>(a.FValue);
        const std::string& y = std::get<std::string>(b.FValue);
        int c = caseInsensitive ? strcasecmp(x.c_str(), y.c_str()) : x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case 4:
        return Sign(std::get<TBytes>(a.FValue), std::get<TBytes>(b.FValue));
    case 5: {
        const auto& x = std::get<std::vector<TVariant>>(a.FValue);
        const auto& y = std::get<std::vector<TVariant>>(b.FValue);
        for (size_t i = 0; i < x.size() && i < y.size(); ++i)
            if (int c = Compare(x[i], y[i], caseInsensitive)) return c;
        return Sign(x.size(), y.size());
    }
    default:
        return 0;
    }
}
