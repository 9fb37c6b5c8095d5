#include "data/engine/dbf/CdxFoldAgreement.h"

#include "data/engine/CaseFold.h"
#include "data/engine/CaseVariants.h"
#include "data/engine/CodePageLetters.h"
#include "data/engine/EngineStatus.h"
#include "platform/Utf8.h"

#include <map>
#include <mutex>
#include <set>

namespace cdx {

namespace {

char32_t CharacterOf(const TSingleByteTable& table, int byte)
{
    return byte < 0x80 ? static_cast<char32_t>(byte) : table.Upper[static_cast<size_t>(byte - 0x80)];
}

// Two bytes that fold alike map to one upper-case byte.
bool SingleByteAgrees(const TSingleByteTable& table, const TCaseTables& cases)
{
    for (int a = 1; a < 256; ++a) {
        const char32_t x = CharacterOf(table, a);
        if (x == 0)
            continue;
        for (int b = a + 1; b < 256; ++b) {
            const char32_t y = CharacterOf(table, b);
            if (y != 0 && FoldCase(x) == FoldCase(y) && cases.Upper[static_cast<size_t>(a)] != cases.Upper[static_cast<size_t>(b)])
                return false;
        }
    }
    return true;
}

bool Encodable(const TCodePage& codePage, char32_t c)
{
    std::string text;
    AppendUtf8(c, text);
    try {
        codePage.FromUtf8(text);
        return true;
    } catch (const EDBEngineError&) {
        return false;
    }
}

// ASCII characters that a character of the code page beyond ASCII folds
// alike with.
std::set<char32_t> ShadowedAscii(const TCodePage& codePage)
{
    std::set<char32_t> shadowed;
    for (char32_t c : NonAsciiFoldingToAscii())
        if (Encodable(codePage, c))
            shadowed.insert(FoldCase(c));
    return shadowed;
}

struct TAgreement {
    bool SingleByte = false;
    bool SingleByteAgrees = false;
    std::set<char32_t> Shadowed;
};

const TAgreement& AgreementOf(const TCaseTables& cases, const TCodePage& codePage)
{
    static std::mutex guard;
    static std::map<std::pair<int, bool>, TAgreement> known;
    std::lock_guard<std::mutex> lock(guard);
    const auto id = std::make_pair(codePage.Number(), cases.DoubleByte);
    auto found = known.find(id);
    if (found != known.end())
        return found->second;
    TAgreement agreement;
    if (const TSingleByteTable* table = cases.DoubleByte ? nullptr : SingleByteTable(codePage.Number())) {
        agreement.SingleByte = true;
        agreement.SingleByteAgrees = SingleByteAgrees(*table, cases);
    } else {
        agreement.Shadowed = ShadowedAscii(codePage);
    }
    return known.emplace(id, std::move(agreement)).first->second;
}

} // namespace

bool UpperKeysFindFoldedText(const TCaseTables& cases, const TCodePage& codePage, std::string_view key)
{
    const TAgreement& agreement = AgreementOf(cases, codePage);
    if (agreement.SingleByte)
        return agreement.SingleByteAgrees;
    if (!IsAsciiText(key))
        return false;
    for (char c : key)
        if (agreement.Shadowed.count(FoldCase(static_cast<char32_t>(c))))
            return false;
    return true;
}

} // namespace cdx
