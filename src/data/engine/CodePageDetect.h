#pragma once
// Which code page a table's texts are in when its header does not say:
// plain ASCII needs no choice, valid UTF-8 is UTF-8, Chinese double-byte
// text is told apart by its characters, and single-byte text is judged by
// a general detector (libuchardet) together with how well each code page
// turns the bytes into words.  936 (GBK) when nothing fits.

#include "data/engine/CodePageSample.h"

#include <functional>
#include <string>

enum class TDetectCertainty {
    None,     // the text is plain ASCII: every code page reads it alike
    Low,
    Medium,
    High
};

struct TCodePageGuess {
    int CodePage = 936;
    TDetectCertainty Certainty = TDetectCertainty::None;
    std::string Basis;   // what the guess rests on, one sentence
};

TCodePageGuess DetectCodePage(const TCodePageSample& sample);

enum class TCodePageOrigin {
    Marked,     // the table's header names it
    Detected,   // the header names none; guessed from the texts
    Chosen      // chosen for this opening by the user
};

// The code page an open table reads and writes its texts in, and why.
struct TCodePageChoice {
    int CodePage = 936;
    int Marked = 0;   // the code page the header names; 0: none
    TCodePageOrigin Origin = TCodePageOrigin::Marked;
    TDetectCertainty Certainty = TDetectCertainty::High;
    std::string Basis;
};

// `requested` (not 0) wins, then the header's mark, then a guess from the
// sample that `fillSample` gathers (called only when a guess is needed).
TCodePageChoice ChooseCodePage(int requested, int marked, const std::function<void(TCodePageSample&)>& fillSample);

const char* CertaintyName(TDetectCertainty certainty);   // "none needed", "low", "medium", "high"
// One line for people: "GBK (936), detected (high certainty): ...".
std::string DescribeCodePageChoice(const TCodePageChoice& choice);
