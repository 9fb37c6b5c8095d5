#include "data/engine/CodePage.h"

#include "data/engine/EngineStatus.h"
#include "platform/Utf8.h"

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// Runs iconv over the whole input.  With `replaceInvalid`, undecodable
// bytes become U+FFFD; otherwise the offset of the first unconvertible
// input byte is returned through `failedAt` and false comes back.
bool Convert(iconv_t cd, std::string_view input, std::string& output, bool replaceInvalid, size_t& failedAt)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    output.clear();
    std::vector<char> buffer(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (!replaceInvalid) {
            failedAt = input.size() - inLeft;
            return false;
        }
        output += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
    }
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    output.append(buffer.data(), buffer.size() - outLeft);
    return true;
}

} // namespace

std::string TCodePage::IconvName(int codePage)
{
    switch (codePage) {
    case 0: case 936: return "GBK";
    case 65001: return "UTF-8";
    case 950: return "BIG5";
    case 932: return "CP932";
    case 949: return "CP949";
    case 874: return "CP874";
    case 620: return "CP852";   // Mazovia has no iconv table; its closest DOS relative
    case 895: return "CP852";   // nor has Kamenicky
    case 10000: return "MACINTOSH";
    default: {
        char name[16];
        std::snprintf(name, sizeof name, "CP%d", codePage);
        return name;
    }
    }
}

TCodePage::TCodePage(int codePage) : FNumber(codePage == 0 ? 936 : codePage)
{
    Open(FNumber);
}

TCodePage::~TCodePage()
{
    Close();
}

void TCodePage::Open(int codePage)
{
    std::string name = IconvName(codePage);
    iconv_t toUtf8 = iconv_open("UTF-8", name.c_str());
    iconv_t fromUtf8 = iconv_open(name.c_str(), "UTF-8");
    if (toUtf8 == NoConverter || fromUtf8 == NoConverter) {
        if (toUtf8 != NoConverter) iconv_close(toUtf8);
        if (fromUtf8 != NoConverter) iconv_close(fromUtf8);
        RaiseEngineError(DBIERR_UNSUPPORTEDFORMAT, {"Code page " + std::to_string(codePage) + " is not supported."});
    }
    Close();
    FToUtf8 = toUtf8;
    FFromUtf8 = fromUtf8;
}

void TCodePage::Close()
{
    if (FToUtf8 != NoConverter) iconv_close(FToUtf8);
    if (FFromUtf8 != NoConverter) iconv_close(FFromUtf8);
    FToUtf8 = FFromUtf8 = NoConverter;
}

void TCodePage::Assign(int codePage)
{
    int number = codePage == 0 ? 936 : codePage;
    Open(number);
    FNumber = number;
}

std::string TCodePage::ToUtf8(std::string_view bytes) const
{
    bool ascii = true;
    for (unsigned char c : bytes)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii)
        return std::string(bytes);
    std::string out;
    size_t failedAt = 0;
    Convert(FToUtf8, bytes, out, true, failedAt);
    return out;
}

std::string TCodePage::FromUtf8(std::string_view text) const
{
    bool ascii = true;
    for (unsigned char c : text)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii && FNumber != 1200)
        return std::string(text);
    std::string out;
    size_t failedAt = 0;
    if (Convert(FFromUtf8, text, out, false, failedAt))
        return out;
    std::string character(text.substr(failedAt, Utf8CharLength(static_cast<unsigned char>(text[failedAt]))));
    RaiseEngineError(DBIERR_INVALIDCHAR,
                     {"The character \"" + character + "\" cannot be stored in code page " + std::to_string(FNumber) + "."});
}

bool TCodePage::CanEncode(std::string_view text) const
{
    std::string out;
    size_t failedAt = 0;
    return Convert(FFromUtf8, text, out, false, failedAt);
}
