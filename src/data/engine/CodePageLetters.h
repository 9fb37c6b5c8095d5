#pragma once
// How well a sample reads as words in a single-byte code page: every byte
// above 127 is decoded and judged by what stands around it (an accented
// Latin letter beside plain letters, a Cyrillic or Greek letter among its
// own kind, no symbols or box-drawing characters inside a word, no
// undefined bytes, no capital after a small letter).

#include "data/engine/CodePageSample.h"

#include <array>

struct TSingleByteTable {
    int CodePage = 0;
    std::array<char32_t, 128> Upper{};   // the character of byte 0x80 + i; 0: undefined
};

// The table of a single-byte code page (nullptr when the code page is not
// single-byte or not supported); built once per code page.
const TSingleByteTable* SingleByteTable(int codePage);

// The sum over the sample's non-ASCII bytes of how plausible each one's
// character is where it stands: about 2 for a letter inside a word of its
// script, 0 or less for what reads as noise, -4 for an undefined byte.
double SingleBytePlausibility(const TCodePageSample& sample, const TSingleByteTable& table);

// True when both code pages decode every non-ASCII byte of the sample to
// the same character (so either choice reads the table alike).
bool SameReading(const TCodePageSample& sample, const TSingleByteTable& a, const TSingleByteTable& b);
