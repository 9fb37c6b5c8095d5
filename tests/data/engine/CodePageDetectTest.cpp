// Guessing the code page of a sample of texts: the cases where a general
// detector goes wrong, and what needs no guess at all.

#include "data/engine/CodePage.h"
#include "data/engine/CodePageDetect.h"
#include "data/engine/CodePageNames.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TCodePageSample SampleOf(int codePage, std::initializer_list<const char*> texts)
{
    TCodePage converter(codePage);
    TCodePageSample sample;
    for (const char* text : texts)
        sample.Add(converter.FromUtf8(text) + "      ");
    return sample;
}

} // namespace

TEST(CodePageDetect, PlainAsciiNeedsNoChoiceAndValidUtf8IsUtf8)
{
    TCodePageGuess ascii = DetectCodePage(SampleOf(1252, {"Smith John", "12 Main Street"}));
    EXPECT_EQ(ascii.Certainty, TDetectCertainty::None);
    EXPECT_EQ(ascii.CodePage, 936);

    TCodePageSample utf8;
    utf8.Add("Москва");
    utf8.Add(std::string("北京") + "\xE5\x8C");   // a character cut at the value's end
    TCodePageGuess guess = DetectCodePage(utf8);
    EXPECT_EQ(guess.CodePage, 65001);
    EXPECT_EQ(guess.Certainty, TDetectCertainty::High);

    TCodePageSample broken;
    broken.Add("caf\xC3\xA9 \xC3");
    broken.Add("\xE9t\xE9");   // a lone Latin-1 byte: not UTF-8
    EXPECT_NE(DetectCodePage(broken).CodePage, 65001);
}

TEST(CodePageDetect, WesternTextThatPairsAsValidGbkIsNotTakenForChinese)
{
    // Every accented letter here is followed by a plain letter, so each
    // byte pair is a valid GBK character.
    TCodePageGuess guess = DetectCodePage(SampleOf(1252, {"Müller", "Straße", "Bäcker", "Señor", "Jörg"}));
    EXPECT_NE(guess.CodePage, 936) << guess.Basis;
    EXPECT_NE(guess.CodePage, 950) << guess.Basis;
}

TEST(CodePageDetect, RussianWordsOfEvenLengthAreNotTakenForChinese)
{
    TCodePageGuess guess = DetectCodePage(SampleOf(1251, {"Иван", "Москва", "Анна", "склад", "Петров"}));
    EXPECT_EQ(guess.CodePage, 1251) << guess.Basis;
}

TEST(CodePageDetect, GbkAndBig5AreToldApartByTheirCharacters)
{
    TCodePageGuess gbk = DetectCodePage(SampleOf(936, {"王小明", "北京市海淀区", "会计"}));
    EXPECT_EQ(gbk.CodePage, 936) << gbk.Basis;
    TCodePageGuess big5 = DetectCodePage(SampleOf(950, {"王小明", "臺北市大安區", "會計"}));
    EXPECT_EQ(big5.CodePage, 950) << big5.Basis;
}

TEST(CodePageDetect, BoxDrawingAndAccentsBelowA6PointToDos)
{
    TCodePageGuess guess = DetectCodePage(SampleOf(850, {"┌────────┐", "│ Größe  │", "└────────┘", "Café crème"}));
    EXPECT_TRUE(guess.CodePage == 850 || guess.CodePage == 437) << guess.Basis;
}

TEST(CodePageDetect, TextNoCodePageReadsFallsBackTo936WithLowCertainty)
{
    TCodePageSample noise;
    noise.Add("x\xB0 y\xB1 z\xB2");
    TCodePageGuess guess = DetectCodePage(noise);
    EXPECT_EQ(guess.CodePage, 936);
    EXPECT_EQ(guess.Certainty, TDetectCertainty::Low);
}

TEST(CodePageDetect, TheSampleTrimsItsValuesAndKeepsToItsBudget)
{
    TCodePageSample sample;
    sample.Add("   ");
    sample.Add(std::string("abc  \0\0", 7));
    ASSERT_EQ(sample.Texts().size(), 1u);
    EXPECT_EQ(sample.Texts()[0], "abc");
    std::string big(TCodePageSample::ValueLimit * 2, 'x');
    while (!sample.Full())
        sample.Add(big);
    EXPECT_EQ(sample.Size(), TCodePageSample::Budget);
    sample.Add("more");
    EXPECT_EQ(sample.Size(), TCodePageSample::Budget);
}

TEST(CodePageDetect, ChoiceOrderIsRequestThenMarkThenGuess)
{
    bool sampled = false;
    auto fill = [&](TCodePageSample& s) {
        sampled = true;
        s.Add(TCodePage(866).FromUtf8("Иванов Иван, Москва"));
    };
    TCodePageChoice chosen = ChooseCodePage(1251, 1252, fill);
    EXPECT_EQ(chosen.CodePage, 1251);
    EXPECT_EQ(chosen.Origin, TCodePageOrigin::Chosen);
    EXPECT_EQ(chosen.Marked, 1252);
    TCodePageChoice marked = ChooseCodePage(0, 1252, fill);
    EXPECT_EQ(marked.CodePage, 1252);
    EXPECT_EQ(marked.Origin, TCodePageOrigin::Marked);
    EXPECT_FALSE(sampled) << "a marked table is not sampled";
    TCodePageChoice detected = ChooseCodePage(0, 0, fill);
    EXPECT_TRUE(sampled);
    EXPECT_EQ(detected.Origin, TCodePageOrigin::Detected);
    EXPECT_EQ(detected.CodePage, 866);
    EXPECT_NE(DescribeCodePageChoice(detected).find("DOS 866 (866), detected"), std::string::npos)
        << DescribeCodePageChoice(detected);
}

TEST(CodePageDetect, EveryOfferedCodePageHasAConverterAndAName)
{
    for (int page : SelectableCodePages()) {
        EXPECT_NO_THROW(TCodePage converter(page)) << page;
        EXPECT_EQ(CodePageName(page).find("Code page"), std::string::npos) << page;
    }
    EXPECT_EQ(CodePageLabel(936), "GBK (936)");
}

TEST(CodePageDetect, AssignRetargetsAConverterAndKeepsItOnFailure)
{
    TCodePage converter(1252);
    converter.Assign(1251);
    EXPECT_EQ(converter.ToUtf8("\xC8\xE2\xE0\xED"), "Иван");
    EXPECT_THROW(converter.Assign(12345), EDBEngineError);
    EXPECT_EQ(converter.Number(), 1251);
    EXPECT_EQ(converter.ToUtf8("\xC8"), "И");
}
