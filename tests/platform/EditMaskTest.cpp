// The edit mask engine: parsing the three parts, literal, blank and
// required positions, case conversion, the saved-literals flag, leading
// blanks, and typing, erasing and validating edit texts.

#include "platform/EditMask.h"

#include <gtest/gtest.h>

namespace {

std::u32string U(const char* text) { return Utf8ToUtf32(text); }
std::string S(const std::u32string& text) { return Utf32ToUtf8(text); }

// Types the characters from the caret and returns the edit text.
std::string Typed(const TEditMask& mask, const char* characters, int caret = 0)
{
    std::u32string text = mask.BlankText();
    for (char32_t c : U(characters))
        mask.TypeChar(text, caret, c);
    return S(text);
}

TEST(EditMaskParse, ReadsSaveFlagAndBlankCharacter)
{
    const TEditMask phone("(000) 000-0000;0;*");
    EXPECT_FALSE(phone.SaveLiterals());
    EXPECT_EQ(phone.BlankChar(), U'*');
    EXPECT_EQ(phone.Length(), 14);
    EXPECT_EQ(S(phone.BlankText()), "(***) ***-****");

    const TEditMask plain("00-00");
    EXPECT_TRUE(plain.SaveLiterals());
    EXPECT_EQ(plain.BlankChar(), U'_');
    EXPECT_TRUE(TEditMask("").Empty());
}

TEST(EditMaskParse, EscapesUnderscoresAndCaseMarksAreNoPositions)
{
    const TEditMask mask(">L<l<>c\\0_\\;x");
    EXPECT_EQ(mask.Length(), 7);
    EXPECT_FALSE(mask.IsLiteral(0));
    EXPECT_TRUE(mask.IsRequired(0));
    EXPECT_FALSE(mask.IsRequired(1));
    EXPECT_TRUE(mask.IsLiteral(3));
    EXPECT_EQ(S(mask.BlankText()), "___0 ;x");
}

TEST(EditMaskTyping, TakesOnlyTheCharactersEachPositionAllows)
{
    const TEditMask mask("00-LL-aa-cc;1;_");
    EXPECT_EQ(Typed(mask, "12ab3z%!"), "12-ab-3z-%!");
    EXPECT_EQ(Typed(mask, "x"), "__-__-__-__");   // a letter where a digit goes
    const TEditMask sign("#99");
    EXPECT_EQ(Typed(sign, "-42"), "-42");
    EXPECT_EQ(Typed(sign, "+x"), "+__");
}

TEST(EditMaskTyping, ConvertsCaseAndStepsOverLiterals)
{
    const TEditMask mask(">LL<LL<>LL");
    EXPECT_EQ(Typed(mask, "abCDeF"), "ABcdeF");
    const TEditMask umlauts(">ll");
    EXPECT_EQ(Typed(umlauts, "äö"), "ÄÖ");

    const TEditMask date("00/00/0000");
    std::u32string text = date.BlankText();
    int caret = 0;
    for (char32_t c : U("12"))
        date.TypeChar(text, caret, c);
    EXPECT_EQ(caret, 3);   // before the next digit, past the separator
    EXPECT_TRUE(date.TypeChar(text, caret, U'0'));
    EXPECT_EQ(S(text), "12-0_-____");
    // Typing the literal itself where it stands steps over it.
    caret = 5;
    EXPECT_TRUE(date.TypeChar(text, caret, U'-'));
    EXPECT_EQ(caret, 6);
    EXPECT_FALSE(date.TypeChar(text, caret = 10, U'1'));
}

TEST(EditMaskTyping, BackspaceAndDeleteEmptyPositionsAndKeepLiterals)
{
    const TEditMask mask("00-00");
    std::u32string text = U("12-34");
    int caret = 3;
    EXPECT_TRUE(mask.EraseBefore(text, caret));
    EXPECT_EQ(S(text), "1_-34");
    EXPECT_EQ(caret, 1);
    mask.Erase(text, 0, 5);
    EXPECT_EQ(S(text), "__-__");
    caret = 0;
    EXPECT_FALSE(mask.EraseBefore(text, caret));
}

TEST(EditMaskValue, SavedLiteralsStayInTheValueAndUnsavedOnesAreDropped)
{
    const TEditMask saved("(000) 000-0000;1;_");
    EXPECT_EQ(S(saved.ValueOf(U("(555) 123-4567"))), "(555) 123-4567");
    EXPECT_EQ(S(saved.EditTextFor(U("(555) 123-4567"))), "(555) 123-4567");

    const TEditMask unsaved("(000) 000-0000;0;_");
    EXPECT_EQ(S(unsaved.ValueOf(U("(555) 123-4567"))), "5551234567");
    EXPECT_EQ(S(unsaved.EditTextFor(U("5551234567"))), "(555) 123-4567");
    EXPECT_EQ(S(unsaved.EditTextFor(U("555"))), "(555) ___-____");
}

TEST(EditMaskValue, BlanksBecomeSpacesAndTheEmptyEndIsTrimmed)
{
    const TEditMask trailing("ccccc;0;_");
    EXPECT_EQ(S(trailing.ValueOf(U("ab_c_"))), "ab c");
    const TEditMask leading("!ccccc;0;_");
    EXPECT_EQ(S(leading.ValueOf(U("__a_b"))), "a b");
    EXPECT_EQ(S(leading.EditTextFor(U("ab"))), "___ab");
    EXPECT_EQ(S(trailing.EditTextFor(U("ab"))), "ab___");
    EXPECT_EQ(S(trailing.ValueOf(U("_____"))), "");
}

TEST(EditMaskValue, ValuesThatDoNotFitLeaveTheirPositionsEmpty)
{
    const TEditMask mask("00-00;1;_");
    EXPECT_EQ(S(mask.EditTextFor(U("1x-4"))), "1_-4_");
    EXPECT_EQ(S(mask.EditTextFor(U(""))), "__-__");
}

TEST(EditMaskValidate, RequiredPositionsMustBeFilledUnlessTheWholeTextIsEmpty)
{
    const TEditMask mask("00-99;1;_");
    EXPECT_EQ(mask.FirstInvalidPosition(U("12-__")), -1);
    EXPECT_EQ(mask.FirstInvalidPosition(U("1_-34")), 1);
    EXPECT_EQ(mask.FirstInvalidPosition(U("__-__")), -1);   // clears the value
    EXPECT_EQ(mask.FirstInvalidPosition(U("1a-__")), 1);
    EXPECT_EQ(mask.FirstInvalidPosition(U("12-3")), -1);    // missing positions are empty
}

TEST(EditMaskUtf, ConvertsBothWaysAndReplacesBrokenBytes)
{
    EXPECT_EQ(S(U("Köln 東京 😀")), "Köln 東京 😀");
    EXPECT_EQ(Utf8ToUtf32("a\xFF" "b"), (std::u32string{U'a', U'\uFFFD', U'b'}));
    EXPECT_EQ(Utf8ToUtf32("\xE6\x9D"), (std::u32string{U'\uFFFD', U'\uFFFD'}));
}

} // namespace
