#pragma once
// The byte layout of the interchange format: a 12-byte header ("VCLDBIF",
// version 1, column count as signed 32-bit little-endian), one descriptor
// per column (visible flag, name ending in a 0 byte), then per record one
// tagged value per column and a single end tag after the last record.

#include <cstdint>
#include <string_view>

inline constexpr std::string_view VCLDBIFSignature = "VCLDBIF";
inline constexpr uint8_t VCLDBIFVersion = 1;
inline constexpr int VCLDBIFHeaderSize = 12;

enum TVCLDBIFTag : uint8_t {
    vtEnd = 0,       // no payload: the data ends
    vtNoValue = 1,   // no payload: the target keeps its value
    vtNull = 2,      // no payload: the target is cleared
    vtInteger = 3,   // 4 bytes, signed
    vtFloat = 4,     // 8 bytes, IEEE 754 double
    vtText = 5,      // signed 32-bit length, then the bytes
    vtBytes = 6      // signed 32-bit length, then the bytes
};

// The message of every format error of the reader.
inline constexpr const char* InvalidVCLDBIFFormat = "TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format";
