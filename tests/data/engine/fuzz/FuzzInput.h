#pragma once
// One fuzz input: a table file and its companion files in one buffer, so
// that a mutation can reach any of them and a saved input replays alone.
//
// Layout: parts one after the other, each a kind byte (an index into the
// driver's list of extensions, taken modulo its length), a 32-bit
// little-endian length and the bytes.  The first part is the table file;
// a length past the buffer's end takes what is left.

#include <cstdint>
#include <string>
#include <vector>

struct TFuzzPart {
    uint8_t Kind = 0;
    std::string Bytes;
};

std::string PackFuzzInput(const std::vector<TFuzzPart>& parts);
std::vector<TFuzzPart> UnpackFuzzInput(const uint8_t* data, size_t size);

// Writes the parts as files "t.<extension>" into `folder` (emptied first);
// returns the table file's path, empty when the input has no parts.
std::string WriteFuzzFiles(const std::vector<TFuzzPart>& parts, const std::vector<std::string>& extensions,
                           const std::string& folder);
