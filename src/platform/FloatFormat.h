#pragma once
// Floating point and currency texts with the classic pictures and rules.
// Doubles are rounded from the decimal digits they show (their shortest
// exact text, taken to 15 significant digits unless a precision asks for
// more), half away from zero, so that 1.005 shows as 1.01 with two decimals; currency is rounded from its exact
// digits.  A value that rounds to zero never shows a minus sign.  Infinities
// and NaN show as "INF", "-INF" and "NAN".

#include "platform/Currency.h"
#include "platform/FormatSettings.h"

#include <string>

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);
std::string FormatFloat(const std::string& picture, double value);
std::string FormatFloat(const std::string& picture, double value, const TFormatSettings& settings);
std::string CurrToStr(TCurrency value);
std::string CurrToStrF(TCurrency value, TFloatFormat format, int digits);
std::string CurrToStrF(TCurrency value, TFloatFormat format, int digits, const TFormatSettings& settings);
std::string FormatCurr(const std::string& picture, TCurrency value);
std::string FormatCurr(const std::string& picture, TCurrency value, const TFormatSettings& settings);

// Parsing: raise EConvertError ("'x' is not a valid floating point value").
double StrToFloat(const std::string& text);
double StrToFloat(const std::string& text, const TFormatSettings& settings);
bool TryStrToFloat(const std::string& text, double& value);
bool TryStrToFloat(const std::string& text, double& value, const TFormatSettings& settings);
// Currency reads every digit exactly and rounds half to even to 4 decimals.
TCurrency StrToCurr(const std::string& text);
TCurrency StrToCurr(const std::string& text, const TFormatSettings& settings);
bool TryStrToCurr(const std::string& text, TCurrency& value);
bool TryStrToCurr(const std::string& text, TCurrency& value, const TFormatSettings& settings);
// Integers: raise EConvertError ("'x' is not a valid integer value").
int64_t StrToInt64(const std::string& text);
int32_t StrToInt(const std::string& text);
bool TryStrToInt64(const std::string& text, int64_t& value);
