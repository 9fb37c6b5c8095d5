#pragma once
// How a sample reads in a double-byte Chinese code page (GBK or Big5):
// whether every pair is valid, whether the characters stand together as
// Chinese text does, and how many are among the most frequent characters
// of names, places and business records.

#include "data/engine/CodePageSample.h"

struct TCjkReading {
    int CodePage = 0;
    bool Clean = false;     // not one invalid byte or pair (a pair cut at a value's end is forgiven)
    int Characters = 0;     // non-ASCII characters
    int InRuns = 0;         // of them, those next to another non-ASCII character
    int Hanzi = 0;          // CJK ideographs
    int Frequent = 0;       // of them, among the most frequent characters

    double RunShare() const { return Characters ? double(InRuns) / Characters : 0; }
    double FrequentShare() const { return Hanzi ? double(Frequent) / Hanzi : 0; }
};

TCjkReading ReadAsCjk(const TCodePageSample& sample, int codePage);

// True when the character is among the most frequent Chinese characters
// (simplified and traditional forms alike).
bool IsFrequentHanzi(char32_t c);
