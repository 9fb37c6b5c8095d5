// Which characters a search ignoring case confuses with others.

#include "data/engine/CaseVariants.h"

#include "data/engine/CaseFold.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(CaseVariants, LettersHaveVariantsDigitsAndIdeographsNone)
{
    for (char32_t c : {U'a', U'A', U'k', U'K', U's', U'\u212A', U'\u00E9', U'\u00C9', U'\u03C3', U'\u03C2', U'\u0436'})
        EXPECT_TRUE(HasCaseVariants(c)) << static_cast<uint32_t>(c);
    for (char32_t c : {U'0', U'9', U' ', U'-', U'\u4E2D', U'\u3042'})
        EXPECT_FALSE(HasCaseVariants(c)) << static_cast<uint32_t>(c);
}

TEST(CaseVariants, CaseBlindTextsHaveNoLetterWithACase)
{
    EXPECT_TRUE(IsCaseBlindText("2024-01 \xE4\xB8\xAD"));
    EXPECT_FALSE(IsCaseBlindText("12a"));
    EXPECT_FALSE(IsCaseBlindText("\xE2\x84\xAA"));   // the Kelvin sign, which folds to "k"
    EXPECT_FALSE(IsCaseBlindText("1\xFF"));          // not UTF-8
}

TEST(CaseVariants, TheCharactersFoldingIntoAsciiAreTheKelvinSignAndTheLongS)
{
    const std::vector<char32_t>& folding = NonAsciiFoldingToAscii();
    EXPECT_EQ(folding, (std::vector<char32_t>{U'\u017F', U'\u212A'}));
    for (char32_t c : folding)
        EXPECT_LT(FoldCase(c), 0x80u);
}
