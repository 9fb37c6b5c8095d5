#include "data/engine/CodePageLetters.h"

#include "data/engine/CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>

namespace {

enum class TScript { None, Ascii, Latin, Cyrillic, Greek, Hebrew, Arabic, Thai };

struct TCharInfo {
    bool Defined = true;
    bool Letter = false;
    bool Common = false;   // a letter of everyday text in its script
    bool Upper = false;
    bool Lower = false;
    bool Box = false;      // box drawing and block elements
    TScript Script = TScript::None;
};

bool LatinExtUpper(char32_t c)
{
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return c % 2 == 1;
    if (c == 0x178)
        return true;
    return c % 2 == 0;
}

TCharInfo Classify(char32_t c)
{
    TCharInfo info;
    if (c == 0) {
        info.Defined = false;
        return info;
    }
    if (c < 0x80) {
        bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
        info.Letter = upper || lower;
        info.Common = info.Letter;
        info.Upper = upper;
        info.Lower = lower;
        info.Script = info.Letter ? TScript::Ascii : TScript::None;
        return info;
    }
    if (c >= 0x80 && c < 0xA0) {   // C1 controls: what a code page maps its holes to
        info.Defined = false;
        return info;
    }
    if ((c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) || (c >= 0x100 && c <= 0x17F)) {
        info.Letter = true;
        info.Script = TScript::Latin;
        info.Common = c != 0xD0 && c != 0xF0 && c != 0xDE && c != 0xFE && c != 0xFF && c != 0x178 &&
                      c != 0x138 && c != 0x149;
        if (c < 0x100) {
            info.Upper = c < 0xDF;
            info.Lower = c >= 0xDF;
        } else {
            info.Upper = LatinExtUpper(c);
            info.Lower = !info.Upper;
        }
        return info;
    }
    if (c >= 0x400 && c <= 0x4FF) {
        info.Letter = true;
        info.Script = TScript::Cyrillic;
        info.Common = (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451 || c == 0x404 || c == 0x454 ||
                      c == 0x406 || c == 0x456 || c == 0x407 || c == 0x457 || c == 0x490 || c == 0x491 ||
                      c == 0x40E || c == 0x45E;
        info.Upper = c < 0x430 || (c >= 0x460 && c % 2 == 0);
        info.Lower = !info.Upper;
        return info;
    }
    if (c >= 0x386 && c <= 0x3CE && c != 0x387) {
        info.Letter = info.Common = true;
        info.Script = TScript::Greek;
        info.Upper = c <= 0x3AB;
        info.Lower = !info.Upper;
        return info;
    }
    if (c >= 0x5D0 && c <= 0x5EA) {
        info.Letter = info.Common = true;
        info.Script = TScript::Hebrew;
        return info;
    }
    if ((c >= 0x621 && c <= 0x64A) || c == 0x67E || c == 0x686 || c == 0x698 || c == 0x6AF) {
        info.Letter = info.Common = true;
        info.Script = TScript::Arabic;
        return info;
    }
    if (c >= 0xE01 && c <= 0xE4E) {
        info.Letter = info.Common = true;
        info.Script = TScript::Thai;
        return info;
    }
    info.Box = c >= 0x2500 && c <= 0x259F;
    return info;
}

// Characters that stand inside words without harm: apostrophes, the
// Catalan middle dot, the soft hyphen.
bool JoinsWords(char32_t c)
{
    return c == 0x2019 || c == 0x2018 || c == 0xB7 || c == 0xAD;
}

// What every byte value stands for in one code page.
struct TByteClasses {
    std::array<TCharInfo, 256> Info;
    std::array<bool, 256> Joins{};
    std::array<bool, 256> LatinHigh{};
};

TByteClasses ClassesOf(const TSingleByteTable& table)
{
    TByteClasses classes;
    for (int b = 0; b < 256; ++b) {
        char32_t c = b < 0x80 ? char32_t(b) : table.Upper[b - 0x80];
        classes.Info[b] = Classify(c);
        classes.Joins[b] = JoinsWords(c);
        classes.LatinHigh[b] = b >= 0x80 && classes.Info[b].Script == TScript::Latin;
    }
    return classes;
}

// The plausibility of the character of byte i of `p` where it stands;
// `latinRun` is the length of the run of accented Latin letters it is in.
double ScoreAt(const TByteClasses& classes, const unsigned char* p, size_t n, size_t i, int latinRun)
{
    const TCharInfo& c = classes.Info[p[i]];
    static const TCharInfo none;
    const TCharInfo& prev = i > 0 ? classes.Info[p[i - 1]] : none;
    const TCharInfo& next = i + 1 < n ? classes.Info[p[i + 1]] : none;
    if (!c.Defined)
        return -4;
    // The same character three times running is a rule or a frame, not a word.
    bool repeated = i > 0 && i + 1 < n && p[i - 1] == p[i] && p[i + 1] == p[i];
    if (!c.Letter) {
        int letters = prev.Letter + next.Letter;
        if (c.Box)   // a frame stands apart from words: a DOS table's box drawing
            return letters == 0 ? 0.5 : letters == 1 ? -0.5 : -1.5;
        return letters < 2 || classes.Joins[p[i]] ? -0.1 : -1;
    }
    if (repeated)
        return -1;
    double s = c.Common ? 1 : 0.3;
    if (c.Script == TScript::Latin) {
        if (prev.Script == TScript::Ascii || next.Script == TScript::Ascii)
            s += 1;
        else if (!prev.Letter && !next.Letter)
            s -= 0.2;
        if (latinRun >= 3)
            s -= 1.2;
        if ((prev.Letter && prev.Script != TScript::Ascii && prev.Script != TScript::Latin) ||
            (next.Letter && next.Script != TScript::Ascii && next.Script != TScript::Latin))
            s -= 1.5;
    } else {
        for (const TCharInfo* neighbour : {&prev, &next}) {
            if (!neighbour->Letter)
                continue;
            s += neighbour->Script == c.Script ? 0.5 : -1.5;
        }
    }
    if (c.Upper && prev.Lower)
        s -= 1;
    return s;
}

std::unique_ptr<TSingleByteTable> BuildTable(int codePage)
{
    iconv_t cd = iconv_open("UTF-32LE", TCodePage::IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    auto table = std::make_unique<TSingleByteTable>();
    table->CodePage = codePage;
    bool singleByte = true;
    for (int b = 0x80; b <= 0xFF && singleByte; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inp = &in;
        char* outp = reinterpret_cast<char*>(out);
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        if (rc == static_cast<size_t>(-1)) {
            singleByte = errno != EINVAL;   // a lead byte waiting for more: not single-byte
            continue;
        }
        if (sizeof out - outLeft == 4)
            table->Upper[b - 0x80] = out[0] | (out[1] << 8) | (out[2] << 16) | (char32_t(out[3]) << 24);
    }
    iconv_close(cd);
    return singleByte ? std::move(table) : nullptr;
}

} // namespace

const TSingleByteTable* SingleByteTable(int codePage)
{
    static std::mutex guard;
    static std::map<int, std::unique_ptr<TSingleByteTable>> tables;
    std::lock_guard<std::mutex> lock(guard);
    auto found = tables.find(codePage);
    if (found == tables.end())
        found = tables.emplace(codePage, BuildTable(codePage)).first;
    return found->second.get();
}

double SingleBytePlausibility(const TCodePageSample& sample, const TSingleByteTable& table)
{
    const TByteClasses classes = ClassesOf(table);
    double total = 0;
    std::vector<int> runs;
    for (const std::string& text : sample.Texts()) {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const size_t n = text.size();
        // Lengths of the runs of accented Latin letters, for each byte in one.
        runs.assign(n, 0);
        for (size_t i = 0; i < n;) {
            size_t end = i;
            while (end < n && classes.LatinHigh[p[end]])
                ++end;
            for (size_t k = i; k < end; ++k)
                runs[k] = static_cast<int>(end - i);
            i = end == i ? i + 1 : end;
        }
        for (size_t i = 0; i < n; ++i)
            if (p[i] >= 0x80)
                total += ScoreAt(classes, p, n, i, runs[i]);
    }
    return total;
}

bool SameReading(const TCodePageSample& sample, const TSingleByteTable& a, const TSingleByteTable& b)
{
    bool seen[128] = {};
    for (const std::string& text : sample.Texts())
        for (unsigned char c : text)
            if (c >= 0x80)
                seen[c - 0x80] = true;
    for (int i = 0; i < 128; ++i)
        if (seen[i] && a.Upper[i] != b.Upper[i])
            return false;
    return true;
}
