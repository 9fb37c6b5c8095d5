#pragma once
// The value encodings of Paradox records: integers, doubles, dates and times
// stored big-endian with the sign bit inverted (so encoded bytes sort in
// numeric order and all-zero bytes mean blank) and packed BCD.  The
// little-endian words of headers and block controls are in ByteOrder.h.

#include "data/engine/ByteOrder.h"

#include <cstdint>
#include <string>

namespace px {

bool IsBlank(const uint8_t* p, int width);

// Signed integers of 1, 2 or 4 bytes.  Decode expects a non-blank value.
int32_t DecodeInt(const uint8_t* p, int width);
// False when the value is outside the storable range (the most negative
// value of the width encodes to blank and cannot be stored).
bool EncodeInt(int64_t value, uint8_t* p, int width);

double DecodeDouble(const uint8_t* p);
// False for NaN and infinities; -0.0 is stored as +0.0.
bool EncodeDouble(double value, uint8_t* p);

// BCD (#): 17 bytes, `decimals` digits after the point.  The value travels
// as decimal text ("-12.3400"); Decode gives the digits the field holds.
std::string DecodeBcd(const uint8_t* p, int decimals);
// False when the text is not a number or has more than 32 - decimals
// integer digits; extra decimals are rounded half away from zero.
bool EncodeBcd(const std::string& text, int decimals, uint8_t* p);

// Day numbers: day 1 = 0001-01-01; TDateTime day 0 = 1899-12-30.
constexpr int32_t DaysTo18991230 = 693594;
constexpr double MsPerDay = 86400000.0;

} // namespace px
