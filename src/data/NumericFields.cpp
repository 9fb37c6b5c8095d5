#include "data/FieldTypes.h"

#include "platform/Exceptions.h"
#include "platform/FloatFormat.h"
#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

bool TNumericField::IsValidChar(char32_t ch) const
{
    return (ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == 'E' || ch == 'e' ||
           ch == static_cast<unsigned char>(FormatSettings().DecimalSeparator);
}

// ---- integers

TIntegerField::TIntegerField(TFieldType type) : TNumericField(type, 0)
{
    switch (type) {
    case ftSmallint: FTypeMin = -32768; FTypeMax = 32767; break;
    case ftWord: FTypeMin = 0; FTypeMax = 65535; break;
    case ftLargeint:
        FTypeMin = std::numeric_limits<int64_t>::min();
        FTypeMax = std::numeric_limits<int64_t>::max();
        break;
    default:
        FTypeMin = std::numeric_limits<int32_t>::min();
        FTypeMax = std::numeric_limits<int32_t>::max();
        break;
    }
    FMinValue = FMaxValue = 0;
}

bool TIntegerField::IsValidChar(char32_t ch) const
{
    return (ch >= '0' && ch <= '9') || ch == '+' || ch == '-';
}

int TIntegerField::DefaultDisplayWidth() const
{
    switch (FDataType) {
    case ftSmallint: return 6;
    case ftWord: return 5;
    case ftLargeint: return 15;
    default: return 11;
    }
}

TVariant TIntegerField::ConvertToStored(const TVariant& value) const
{
    int64_t number;
    if (value.VarType() == varString) {
        if (!TryStrToInt64(value.AsString(), number)) {
            double d;
            if (!TryStrToFloat(value.AsString(), d) || d != std::floor(d))
                throw EConvertError("'" + value.AsString() + "' is not a valid integer value for field '" +
                                    DisplayName() + "'");
            if (d < static_cast<double>(FTypeMin) || d > static_cast<double>(FTypeMax))
                RaiseRangeError(d, static_cast<double>(FTypeMin), static_cast<double>(FTypeMax));
            number = static_cast<int64_t>(d);
        }
    } else if (value.VarType() == varDouble || value.VarType() == varCurrency || value.VarType() == varDate) {
        double d = RoundHalfEven(value.AsDouble());
        if (!std::isfinite(d) || d < static_cast<double>(FTypeMin) || d > static_cast<double>(FTypeMax))
            RaiseRangeError(value.AsDouble(), static_cast<double>(FTypeMin), static_cast<double>(FTypeMax));
        number = static_cast<int64_t>(d);
    } else {
        try {
            number = value.AsInt64();
        } catch (const EVariantError&) {
            RaiseConvertError(value.AsString(), "a valid integer value");
        }
    }
    int64_t minimum = FTypeMin, maximum = FTypeMax;
    if (FMinValue != 0 || FMaxValue != 0) {
        minimum = std::max(minimum, FMinValue);
        maximum = std::min(maximum, FMaxValue);
    }
    if (number < minimum || number > maximum)
        RaiseRangeError(static_cast<double>(number), static_cast<double>(minimum), static_cast<double>(maximum));
    if (FDataType == ftLargeint)
        return TVariant(number);
    return TVariant(static_cast<int32_t>(number));
}

std::string TIntegerField::FormatValue(const TVariant& value, bool displayText) const
{
    const std::string& picture = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    int64_t number = value.AsInt64();
    if (picture.empty())
        return std::to_string(number);
    return FormatFloat(picture, static_cast<double>(number));
}

TVariant TIntegerField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    int64_t number;
    if (!TryStrToInt64(text, number))
        throw EConvertError("'" + text + "' is not a valid integer value for field '" + DisplayName() + "'");
    return ConvertToStored(TVariant(number));
}

// ---- floating point

TFloatField::TFloatField(TFieldType type) : TNumericField(type, 0), FCurrency(type == ftCurrency) {}

void TFloatField::SetCurrency(bool value)
{
    if (value == FCurrency)
        return;
    FCurrency = value;
    PropertyChanged(false);
}

void TFloatField::SetPrecision(int value)
{
    if (value < 2) value = 2;
    if (value > 15) value = 15;
    if (value == FPrecision)
        return;
    FPrecision = value;
    PropertyChanged(false);
}

TVariant TFloatField::ConvertToStored(const TVariant& value) const
{
    double number;
    if (value.VarType() == varString) {
        if (!TryStrToFloat(value.AsString(), number))
            throw EConvertError("'" + value.AsString() + "' is not a valid floating point value for field '" +
                                DisplayName() + "'");
    } else {
        try {
            number = value.AsDouble();
        } catch (const EVariantError&) {
            RaiseConvertError(value.AsString(), "a valid floating point value");
        }
    }
    if (!std::isfinite(number))
        throw EDatabaseError("Field '" + DisplayName() + "' cannot hold an infinite or undefined number");
    if ((FMinValue != 0 || FMaxValue != 0) && (number < FMinValue || number > FMaxValue))
        RaiseRangeError(number, FMinValue, FMaxValue);
    return TVariant(number);
}

std::string TFloatField::FormatValue(const TVariant& value, bool displayText) const
{
    double number = value.AsDouble();
    const std::string& picture = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    if (!picture.empty())
        return FormatFloat(picture, number);
    if (FCurrency)
        return FloatToStrF(number, displayText ? ffCurrency : ffFixed, FPrecision, FormatSettings().CurrencyDecimals);
    return FloatToStrF(number, ffGeneral, FPrecision, 0);
}

TVariant TFloatField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    return ConvertToStored(TVariant(text));
}

// ---- fixed point

void TFixedPointField::SetCurrency(bool value)
{
    if (value == FCurrency)
        return;
    FCurrency = value;
    PropertyChanged(false);
}

TVariant TFixedPointField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    return ConvertToStored(TVariant(text));
}

TVariant TBCDField::ConvertToStored(const TVariant& value) const
{
    TCurrency number;
    if (value.VarType() == varString) {
        if (!TryStrToCurr(value.AsString(), number))
            throw EConvertError("'" + value.AsString() + "' is not a valid BCD value for field '" + DisplayName() + "'");
    } else {
        try {
            number = value.AsCurrency();
        } catch (const EVariantError&) {
            RaiseConvertError(value.AsString(), "a valid BCD value");
        }
    }
    // Keep only the decimals the column stores, rounding half to even.
    if (Size() >= 0 && Size() < 4) {
        int64_t unit = 1;
        for (int i = Size(); i < 4; ++i)
            unit *= 10;
        int64_t quotient = number.Scaled / unit;
        int64_t remainder = number.Scaled % unit;
        int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
        if (twice > unit || (twice == unit && (quotient % 2) != 0))
            quotient += number.Scaled < 0 ? -1 : 1;
        number = TCurrency::FromScaled(quotient * unit);
    }
    if (FPrecision > 0 && FPrecision - Size() < 15) {
        int64_t limit = 1;
        for (int i = 0; i < FPrecision - Size() + 4; ++i)
            limit *= 10;
        if (number.Scaled >= limit || number.Scaled <= -limit)
            throw EDatabaseError(CurrToStr(number) + " is not a valid value for field '" + DisplayName() +
                                 "'. It has more than " + std::to_string(FPrecision - Size()) + " whole digits");
    }
    return TVariant(number);
}

std::string TBCDField::FormatValue(const TVariant& value, bool displayText) const
{
    TCurrency number = value.AsCurrency();
    const std::string& picture = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    if (!picture.empty())
        return FormatCurr(picture, number);
    if (FCurrency)
        return CurrToStrF(number, displayText ? ffCurrency : ffFixed, FormatSettings().CurrencyDecimals);
    return CurrToStrF(number, ffGeneral, 0);
}


// ---- exact decimals

TDecimalNumber TFMTBCDField::StoredNumber(const TVariant& stored) const
{
    TDecimalNumber number;
    if (!TDecimalNumber::Parse(stored.AsString(), '.', number))
        RaiseConvertError(stored.AsString(), "a decimal number");
    return number;
}

TVariant TFMTBCDField::FromNumber(TDecimalNumber number, const std::string& shown) const
{
    if (!number.IsFinite())
        throw EDatabaseError("Field '" + DisplayName() + "' cannot hold an infinite or undefined number");
    int decimals = Size() > 0 ? Size() : 0;
    number.RoundToDecimals(decimals);
    int wholeDigits = FPrecision - decimals;
    if (FPrecision > 0 && number.IntegerDigits() > wholeDigits)
        throw EDatabaseError(shown + " is not a valid value for field '" + DisplayName() + "'. It has more than " +
                             std::to_string(wholeDigits) + " whole digits");
    return TVariant(number.ToFixedText(decimals));
}

TVariant TFMTBCDField::ConvertToStored(const TVariant& value) const
{
    switch (value.VarType()) {
    case varString: {
        const std::string& text = value.AsString();
        TDecimalNumber number;
        if (!TDecimalNumber::Parse(text, FormatSettings().DecimalSeparator, number) &&
            !TDecimalNumber::Parse(text, '.', number))
            throw EConvertError("'" + text + "' is not a valid BCD value for field '" + DisplayName() + "'");
        return FromNumber(number, text);
    }
    case varCurrency:
        return FromNumber(TDecimalNumber::FromScaled(value.AsCurrency().Scaled, 4), CurrToStr(value.AsCurrency()));
    case varInteger: case varInt64:
        return FromNumber(TDecimalNumber::FromScaled(value.AsInt64(), 0), std::to_string(value.AsInt64()));
    default:
        try {
            double d = value.AsDouble();
            return FromNumber(TDecimalNumber::FromDouble(d), FloatToStr(d));
        } catch (const EVariantError&) {
            RaiseConvertError(value.AsString(), "a valid BCD value");
        }
    }
}

TVariant TFMTBCDField::NumericValue(const TVariant& stored) const
{
    if (stored.VarType() != varString)
        return stored;
    TDecimalNumber number = StoredNumber(stored);
    int64_t scaled;
    if (number.ToScaled(4, scaled))
        return TVariant(TCurrency::FromScaled(scaled));
    double d = 0;
    const std::string& text = stored.AsString();
    std::from_chars(text.data(), text.data() + text.size(), d);
    return TVariant(d);
}

std::string TFMTBCDField::FormatValue(const TVariant& value, bool displayText) const
{
    TDecimalNumber number = StoredNumber(value);
    const std::string& picture = displayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
    if (!picture.empty())
        return FormatDecimalPicture(picture, number, FormatSettings());
    if (FCurrency && displayText && number.Digits.size() <= 19)
        return FormatDecimalNumber(number, ffCurrency, 19, FormatSettings().CurrencyDecimals, FormatSettings());
    // Every stored digit, with the user's decimal separator; trailing zeros
    // of the fraction go as they do for the other number fields.
    std::string text = number.ToFixedText(Size() > 0 ? Size() : 0);
    size_t point = text.find('.');
    if (point != std::string::npos) {
        size_t last = text.find_last_not_of('0');
        text.erase(last == point ? point : last + 1);
        if (point < text.size())
            text[point] = FormatSettings().DecimalSeparator;
    }
    return text;
}

