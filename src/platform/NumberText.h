#pragma once
// The formatting engine behind FloatFormat.h, working on decimal digits so
// that doubles and currency share one set of rules.

#include "platform/DecimalNumber.h"
#include "platform/FloatFormat.h"

#include <string>

// FloatToStrF's forms; precision counts significant digits, digits is the
// minimum exponent length (general, exponent) or the count of decimals.
std::string FormatDecimalNumber(TDecimalNumber number, TFloatFormat format, int precision, int digits,
                                const TFormatSettings& settings);
// FormatFloat's picture language.
std::string FormatDecimalPicture(const std::string& picture, const TDecimalNumber& number,
                                 const TFormatSettings& settings);
// FloatToStrF's general form, quickly, for the common finite doubles that
// show without an exponent; false (text untouched) for every other value,
// which FormatDecimalNumber handles.
bool TryGeneralWithoutExponent(double value, int precision, const TFormatSettings& settings, std::string& text);
