// The case folding of every search that ignores case: letters of many
// scripts fold one to one, and bytes that are no valid UTF-8 stay as they are.

#include "data/engine/CaseFold.h"
#include "data/engine/EngineSearch.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseFold, FoldsLettersOfManyScriptsToOneForm)
{
    EXPECT_EQ(FoldCase(U'A'), U'a');
    EXPECT_EQ(FoldCase(U'z'), U'z');
    EXPECT_EQ(FoldCase(U'Ö'), U'ö');
    EXPECT_EQ(FoldCase(U'Ё'), U'ё');
    EXPECT_EQ(FoldCase(U'Я'), U'я');
    EXPECT_EQ(FoldCase(U'Σ'), U'σ');
    EXPECT_EQ(FoldCase(U'ς'), U'σ');          // final sigma
    EXPECT_EQ(FoldCase(U'\u212A'), U'k');     // Kelvin sign
    EXPECT_EQ(FoldCase(U'Ā'), U'ā');          // alternating pairs
    EXPECT_EQ(FoldCase(U'ā'), U'ā');
    EXPECT_EQ(FoldCase(U'\U00010400'), U'\U00010428');   // beyond the basic plane
    EXPECT_EQ(FoldCase(U'ß'), U'ß');          // simple folding keeps one character
    EXPECT_EQ(FoldCase(U'银'), U'银');
}

TEST(CaseFold, FoldsTextsAndKeepsInvalidBytes)
{
    EXPECT_EQ(FoldedText("Ёлка Ölbaum ΩΜΈΓΑ"), "ёлка ölbaum ωμέγα");
    EXPECT_EQ(FoldedText("\xD0"), "\xD0");                 // cut short
    EXPECT_EQ(FoldedText("A\xC0\x80Z"), "a\xC0\x80z");     // overlong form of 0
    EXPECT_EQ(FoldedText("\xFF" "B"), "\xFF" "b");
    EXPECT_TRUE(IsAsciiText("plain text"));
    EXPECT_FALSE(IsAsciiText("plain tëxt"));
}

TEST(CaseFold, SearchesIgnoringCaseFoldEveryLetter)
{
    EXPECT_TRUE(SearchTextMatches("Ёлка", "ёЛ", true, true));
    EXPECT_FALSE(SearchTextMatches("Ёлка", "ёЛ", false, true));
    EXPECT_TRUE(SearchTextMatches("ЁЛКА", "ёлка", true, false));
    EXPECT_FALSE(SearchTextMatches("ЁЛКА-2", "ёлка", true, false));
    EXPECT_TRUE(SearchTextMatches("\u212Aelvin", "KEL", true, true));
    EXPECT_FALSE(SearchTextMatches("Kelvin", "kel", false, true));
    EXPECT_TRUE(SearchTextMatches("MAPLE", "map", true, true));
    EXPECT_FALSE(SearchTextMatches("Ma", "map", true, true));
}

} // namespace
