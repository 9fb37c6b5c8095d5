#pragma once
// TVariant: a value of one of the kinds the data layer moves around.
// Conversions raise EVariantError with a message naming both kinds when a
// value cannot be converted; they never return a made-up value.

#include "platform/Currency.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;
using TBytes = std::vector<uint8_t>;

enum TVarType {
    varEmpty,      // unassigned
    varNull,
    varBoolean,
    varInteger,    // 32-bit
    varInt64,
    varDouble,
    varCurrency,
    varString,     // UTF-8
    varBytes,
    varDate,
    varArray
};

class TVariant {
public:
    TVariant() = default;
    TVariant(bool v) : FType(varBoolean), FValue(v) {}
    TVariant(int32_t v) : FType(varInteger), FValue(static_cast<int64_t>(v)) {}
    TVariant(int64_t v) : FType(varInt64), FValue(v) {}
    TVariant(double v) : FType(varDouble), FValue(v) {}
    TVariant(TCurrency v) : FType(varCurrency), FValue(v) {}
    TVariant(std::string v) : FType(varString), FValue(std::move(v)) {}
    TVariant(const char* v) : FType(varString), FValue(std::string(v)) {}
    TVariant(TBytes v) : FType(varBytes), FValue(std::move(v)) {}
    TVariant(std::vector<TVariant> items);

    static TVariant Null() { TVariant v; v.FType = varNull; return v; }
    static TVariant FromDateTime(TDateTime v) { TVariant r(v); r.FType = varDate; return r; }

    TVarType VarType() const noexcept { return FType; }
    bool IsEmpty() const noexcept { return FType == varEmpty; }
    bool IsNull() const noexcept { return FType == varNull; }
    bool IsNullOrEmpty() const noexcept { return FType == varNull || FType == varEmpty; }
    bool IsNumeric() const noexcept;
    bool IsArray() const noexcept { return FType == varArray; }

    bool AsBoolean() const;
    int32_t AsInteger() const;
    int64_t AsInt64() const;
    double AsDouble() const;
    TCurrency AsCurrency() const;
    std::string AsString() const;        // Null and Empty give ""
    TBytes AsBytes() const;
    TDateTime AsDateTime() const;
    const std::vector<TVariant>& AsArray() const;
    // The text of a string value, without a copy; nullptr for other kinds.
    const std::string* StringIf() const noexcept { return std::get_if<std::string>(&FValue); }

    // Elements of an array variant.
    int ArrayLength() const { return static_cast<int>(AsArray().size()); }
    const TVariant& operator[](int index) const;

    // Total order used by sorting and lookups: Empty < Null < booleans and
    // numbers (compared as numbers) < strings < bytes < arrays.
    static int Compare(const TVariant& a, const TVariant& b, bool caseInsensitive = false);
    // Equality as a user expects it: numbers compare by value across kinds.
    bool operator==(const TVariant& other) const { return FType == other.FType || (IsNumeric() && other.IsNumeric()) ? Compare(*this, other) == 0 : false; }
    bool operator!=(const TVariant& other) const { return !(*this == other); }

    static const char* TypeName(TVarType type);

private:
    [[noreturn]] void CastError(TVarType target) const;
    static int CompareNumbers(const TVariant& a, const TVariant& b);

    TVarType FType = varEmpty;
    std::variant<std::monostate, bool, int64_t, double, TCurrency, std::string, TBytes, std::vector<TVariant>> FValue;
};
