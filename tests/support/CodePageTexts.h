#pragma once
// Records of everyday tables (names, addresses, jobs) in several languages,
// for the code-page detection tests: each code page and the records whose
// texts belong in it.

#include <string>
#include <vector>

struct TTextRecord {
    std::string Name, Address, Job;
    bool operator==(const TTextRecord&) const = default;
};

struct TCodePageTexts {
    int CodePage;
    std::vector<TTextRecord> Records;   // UTF-8
};

// One entry per code page the tests write: 936, 950, 866, 1251, 1250,
// 1252, 850, 437, 1253.
const std::vector<TCodePageTexts>& CodePageTexts();
