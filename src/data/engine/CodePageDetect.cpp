#include "data/engine/CodePageDetect.h"

#include "data/engine/CodePageCjk.h"
#include "data/engine/CodePageLetters.h"
#include "data/engine/CodePageNames.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// What the general detector's answer points to: one code page, or a family
// of code pages for one script.
struct THint {
    std::string Charset;
    int Exact = 0;
    std::vector<int> Family;
};

const std::vector<int> West = {1252, 850, 437, 865};
const std::vector<int> Central = {1250, 852};
const std::vector<int> Cyrillic = {1251, 866};
const std::vector<int> Greek = {1253, 737};
const std::vector<int> Turkish = {1254, 857};
const std::vector<int> Baltic = {1257};
const std::vector<int> Hebrew = {1255, 862};
const std::vector<int> Arabic = {1256};
const std::vector<int> Thai = {874};

// Always weighed, whatever the detector says.
const std::vector<int> SingleByteCandidates = {1252, 850, 437, 1250, 852, 1251, 866, 1253, 737, 1254, 857, 1257};

THint HintFor(const std::string& charset)
{
    struct TRule {
        const char* Charset;
        int Exact;
        const std::vector<int>* Family;
    };
    static const TRule rules[] = {
        {"WINDOWS-1252", 1252, &West},    {"ISO-8859-1", 0, &West},         {"ISO-8859-15", 0, &West},
        {"IBM865", 865, &West},           {"WINDOWS-1250", 1250, &Central}, {"ISO-8859-2", 0, &Central},
        {"ISO-8859-16", 0, &Central},     {"IBM852", 852, &Central},        {"WINDOWS-1251", 1251, &Cyrillic},
        {"IBM866", 866, &Cyrillic},       {"ISO-8859-5", 0, &Cyrillic},     {"KOI8-R", 0, &Cyrillic},
        {"MAC-CYRILLIC", 0, &Cyrillic},   {"IBM855", 0, &Cyrillic},         {"WINDOWS-1253", 1253, &Greek},
        {"ISO-8859-7", 0, &Greek},        {"WINDOWS-1254", 1254, &Turkish}, {"ISO-8859-9", 0, &Turkish},
        {"WINDOWS-1257", 1257, &Baltic},  {"ISO-8859-13", 0, &Baltic},      {"ISO-8859-4", 0, &Baltic},
        {"WINDOWS-1255", 1255, &Hebrew},  {"ISO-8859-8", 0, &Hebrew},       {"IBM862", 862, &Hebrew},
        {"WINDOWS-1256", 1256, &Arabic},  {"ISO-8859-6", 0, &Arabic},       {"TIS-620", 874, &Thai},
        {"ISO-8859-11", 874, &Thai},      {"WINDOWS-874", 874, &Thai},
    };
    THint hint;
    hint.Charset = charset;
    for (const TRule& r : rules)
        if (charset == r.Charset) {
            hint.Exact = r.Exact;
            hint.Family = *r.Family;
        }
    if (charset == "GB18030" || charset == "GB2312")
        hint.Exact = 936;
    else if (charset == "BIG5" || charset == "EUC-TW")
        hint.Exact = 950;
    else if (charset == "SHIFT_JIS")
        hint.Exact = 932;
    else if (charset == "EUC-KR" || charset == "UHC")
        hint.Exact = 949;
    return hint;
}

std::string GeneralDetector(const TCodePageSample& sample)
{
    uchardet_t detector = uchardet_new();
    if (!detector)
        return std::string();
    // It costs about a millisecond per 4 KB, and a few KB of the texts that
    // hold more than ASCII are enough for its vote.
    constexpr size_t Enough = 4096;
    size_t fed = 0;
    for (const std::string& text : sample.Texts()) {
        if (fed >= Enough)
            break;
        bool plain = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (plain)
            continue;
        uchardet_handle_data(detector, text.data(), text.size());
        uchardet_handle_data(detector, "\n", 1);
        fed += text.size() + 1;
    }
    uchardet_data_end(detector);
    const char* name = uchardet_get_charset(detector);
    std::string charset = name ? name : "";
    uchardet_delete(detector);
    return charset;
}

size_t HighBytes(const TCodePageSample& sample)
{
    size_t count = 0;
    for (const std::string& text : sample.Texts())
        for (unsigned char c : text)
            count += c >= 0x80;
    return count;
}

// Valid UTF-8 throughout (a character cut at a value's end is forgiven).
bool IsUtf8(const TCodePageSample& sample)
{
    for (const std::string& text : sample.Texts()) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        size_t n = text.size();
        for (size_t i = 0; i < n;) {
            unsigned char c = p[i];
            size_t need = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
            if (need == 9 || c == 0xC0 || c == 0xC1 || c > 0xF4)
                return false;
            size_t available = std::min(need, n - 1 - i);
            for (size_t k = 1; k <= available; ++k)
                if ((p[i + k] & 0xC0) != 0x80)
                    return false;
            if (available < need)
                break;   // cut at the end
            if (need == 2 && ((c == 0xE0 && p[i + 1] < 0xA0) || (c == 0xED && p[i + 1] >= 0xA0)))
                return false;
            if (need == 3 && ((c == 0xF0 && p[i + 1] < 0x90) || (c == 0xF4 && p[i + 1] >= 0x90)))
                return false;
            i += need + 1;
        }
    }
    return true;
}

bool LooksChinese(const TCjkReading& r, bool named)
{
    return r.Clean && r.Characters > 0 && r.Hanzi * 10 >= r.Characters * 8 && r.RunShare() >= 0.5 &&
           (r.FrequentShare() >= 0.3 || named);
}

bool DetectChinese(const TCodePageSample& sample, const THint& hint, TCodePageGuess& guess)
{
    TCjkReading gbk = ReadAsCjk(sample, 936);
    TCjkReading big5 = ReadAsCjk(sample, 950);
    bool gbkFits = LooksChinese(gbk, hint.Exact == 936);
    bool big5Fits = LooksChinese(big5, hint.Exact == 950);
    if (!gbkFits && !big5Fits) {
        for (int page : {932, 949}) {
            if (hint.Exact != page || !ReadAsCjk(sample, page).Clean)
                continue;
            guess = {page, TDetectCertainty::Medium, "The text reads as " + CodePageName(page) + " throughout."};
            return true;
        }
        return false;
    }
    bool pickBig5 = big5Fits && (!gbkFits || big5.FrequentShare() > gbk.FrequentShare() + 0.05 ||
                                 (big5.FrequentShare() >= gbk.FrequentShare() - 0.05 && hint.Exact == 950));
    const TCjkReading& chosen = pickBig5 ? big5 : gbk;
    const TCjkReading& other = pickBig5 ? gbk : big5;
    bool otherFits = pickBig5 ? gbkFits : big5Fits;
    bool clear = !otherFits || other.FrequentShare() < 0.6 * chosen.FrequentShare();
    guess.CodePage = chosen.CodePage;
    guess.Certainty = chosen.Hanzi >= 6 && chosen.FrequentShare() >= 0.5 && clear ? TDetectCertainty::High
                                                                                  : TDetectCertainty::Medium;
    guess.Basis = "The text reads as Chinese in " + CodePageName(chosen.CodePage) + " without an invalid character (" +
                  std::to_string(chosen.Frequent) + " of " + std::to_string(chosen.Hanzi) +
                  " characters are common ones).";
    return true;
}

struct TScored {
    const TSingleByteTable* Table;
    double Reading;   // plausibility per non-ASCII byte
    double Total;     // with the general detector's vote
};

TCodePageGuess DetectSingleByte(const TCodePageSample& sample, const THint& hint)
{
    std::vector<int> candidates = SingleByteCandidates;
    for (int page : hint.Family)
        if (std::find(candidates.begin(), candidates.end(), page) == candidates.end())
            candidates.push_back(page);
    if (hint.Exact && std::find(candidates.begin(), candidates.end(), hint.Exact) == candidates.end())
        candidates.push_back(hint.Exact);

    const double high = static_cast<double>(HighBytes(sample));
    std::vector<TScored> scored;
    for (int page : candidates) {
        const TSingleByteTable* table = SingleByteTable(page);
        if (!table)
            continue;
        double reading = SingleBytePlausibility(sample, *table) / high;
        double vote = page == hint.Exact ? 1.0
                      : std::find(hint.Family.begin(), hint.Family.end(), page) != hint.Family.end() ? 0.5
                                                                                                   : 0.0;
        scored.push_back({table, reading, reading + vote});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const TScored& a, const TScored& b) { return a.Total > b.Total; });
    TCodePageGuess guess;
    if (scored.empty() || scored.front().Reading < 0.4) {
        guess.CodePage = 936;
        guess.Certainty = TDetectCertainty::Low;
        guess.Basis = "No code page reads the text well; the default is used.";
        return guess;
    }
    const TScored& best = scored.front();
    const TScored* rival = nullptr;
    for (size_t i = 1; i < scored.size() && !rival; ++i)
        if (!SameReading(sample, *best.Table, *scored[i].Table))
            rival = &scored[i];
    double margin = rival ? best.Total - rival->Total : 2.0;
    // How much better the text reads, the detector's vote left out.
    double readingMargin = rival ? best.Reading - rival->Reading : 2.0;
    bool voted = best.Total > best.Reading;
    guess.CodePage = best.Table->CodePage;
    if (high >= 8 && readingMargin >= 0.5 && voted && best.Reading >= 1.0)
        guess.Certainty = TDetectCertainty::High;
    else if (margin >= 0.25 || (high >= 8 && voted))
        guess.Certainty = TDetectCertainty::Medium;
    else
        guess.Certainty = TDetectCertainty::Low;
    guess.Basis = "The text reads best as " + CodePageName(guess.CodePage) +
                  (rival ? " (next: " + CodePageName(rival->Table->CodePage) + ")" : std::string()) +
                  (hint.Charset.empty() ? std::string() : "; the general detector says " + hint.Charset) + ".";
    return guess;
}

} // namespace

TCodePageGuess DetectCodePage(const TCodePageSample& sample)
{
    if (HighBytes(sample) == 0)
        return {936, TDetectCertainty::None, "The text is plain ASCII, which every code page reads alike."};
    if (IsUtf8(sample))
        return {65001, TDetectCertainty::High, "The text is valid UTF-8."};
    THint hint = HintFor(GeneralDetector(sample));
    TCodePageGuess guess;
    if (DetectChinese(sample, hint, guess))
        return guess;
    return DetectSingleByte(sample, hint);
}

TCodePageChoice ChooseCodePage(int requested, int marked, const std::function<void(TCodePageSample&)>& fillSample)
{
    TCodePageChoice choice;
    choice.Marked = marked;
    if (requested != 0) {
        choice.CodePage = requested;
        choice.Origin = TCodePageOrigin::Chosen;
        choice.Basis = "Chosen for this opening.";
    } else if (marked != 0) {
        choice.CodePage = marked;
        choice.Origin = TCodePageOrigin::Marked;
        choice.Basis = "The table's header names it.";
    } else {
        TCodePageSample sample;
        if (fillSample)
            fillSample(sample);
        TCodePageGuess guess = DetectCodePage(sample);
        choice.CodePage = guess.CodePage;
        choice.Origin = TCodePageOrigin::Detected;
        choice.Certainty = guess.Certainty;
        choice.Basis = guess.Basis;
    }
    return choice;
}

const char* CertaintyName(TDetectCertainty certainty)
{
    switch (certainty) {
    case TDetectCertainty::None: return "none needed";
    case TDetectCertainty::Low: return "low";
    case TDetectCertainty::Medium: return "medium";
    case TDetectCertainty::High: break;
    }
    return "high";
}

std::string DescribeCodePageChoice(const TCodePageChoice& choice)
{
    std::string text = CodePageLabel(choice.CodePage);
    switch (choice.Origin) {
    case TCodePageOrigin::Marked: text += ", marked in the header"; break;
    case TCodePageOrigin::Detected:
        text += std::string(", detected (certainty: ") + CertaintyName(choice.Certainty) + ")";
        break;
    case TCodePageOrigin::Chosen:
        text += ", chosen";
        text += choice.Marked ? " (the header says " + CodePageLabel(choice.Marked) + ")" : " (the header names none)";
        break;
    }
    return text + ". " + choice.Basis;
}
