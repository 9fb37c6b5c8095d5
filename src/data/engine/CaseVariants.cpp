#include "data/engine/CaseVariants.h"

#include "data/engine/CaseFold.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace {

// Every character folding stops beyond.
constexpr char32_t LastFolded = 0x1FFFF;

// The characters that some other character folds to, sorted.
const std::vector<char32_t>& FoldTargets()
{
    static const std::vector<char32_t> targets = [] {
        std::vector<char32_t> all;
        for (char32_t c = 0; c <= LastFolded; ++c)
            if (FoldCase(c) != c)
                all.push_back(FoldCase(c));
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return targets;
}

} // namespace

bool HasCaseVariants(char32_t c)
{
    if (FoldCase(c) != c)
        return true;
    const std::vector<char32_t>& targets = FoldTargets();
    return std::binary_search(targets.begin(), targets.end(), c);
}

bool IsCaseBlindText(std::string_view text)
{
    const std::u32string characters = Utf8ToUtf32(text);
    return std::none_of(characters.begin(), characters.end(),
                        [](char32_t c) { return c == 0xFFFD || HasCaseVariants(c); });
}

const std::vector<char32_t>& NonAsciiFoldingToAscii()
{
    static const std::vector<char32_t> folding = [] {
        std::vector<char32_t> all;
        for (char32_t c = 0x80; c <= LastFolded; ++c)
            if (FoldCase(c) < 0x80)
                all.push_back(c);
        return all;
    }();
    return folding;
}
