#include "data/FilterExpression.h"
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// One record: field name -> value.  Unknown names give Empty, as a missing
// value would.
using TRecord = std::map<std::string, TVariant>;

bool Passes(const std::string& filter, const TRecord& record, TFilterOptions options = {})
{
    TFilterExpression expression(filter, options);
    return expression.Evaluate([&](const std::string& name) {
        auto it = record.find(name);
        return it == record.end() ? TVariant() : it->second;
    });
}

// The message of the EDatabaseError that parsing or evaluating raises.
std::string ErrorOf(const std::string& filter, const TRecord& record = {}, TFilterOptions options = {})
{
    try {
        Passes(filter, record, options);
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return "(no error)";
}

const TRecord Person = {
    {"Name", TVariant("Smith")},
    {"First name", TVariant("Anna")},
    {"Age", TVariant(int32_t(42))},
    {"Salary", TVariant(2500.5)},
    {"Active", TVariant(true)},
    {"City", TVariant::Null()},
};

// Dates are read in the locale's short format; fix it for these tests.
class FilterDates : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = FormatSettings();
        FormatSettings().ShortDateFormat = "dd.mm.yyyy";
        FormatSettings().DateSeparator = '.';
    }
    void TearDown() override { FormatSettings() = FSaved; }

    TFormatSettings FSaved;
};

} // namespace

TEST(FilterExpression, ComparisonsOnNumbersAndTexts)
{
    EXPECT_TRUE(Passes("Age = 42", Person));
    EXPECT_FALSE(Passes("Age <> 42", Person));
    EXPECT_TRUE(Passes("Age != 41", Person));
    EXPECT_TRUE(Passes("Age > 41.5", Person));
    EXPECT_TRUE(Passes("Age >= 42 and Age <= 42", Person));
    EXPECT_FALSE(Passes("Age < 42", Person));
    EXPECT_TRUE(Passes("Salary > 2500", Person));
    EXPECT_TRUE(Passes("Name = 'Smith'", Person));
    EXPECT_TRUE(Passes("Name > 'Jones'", Person));
    EXPECT_FALSE(Passes("Name < 'Jones'", Person));
    EXPECT_TRUE(Passes("'Smith' = Name", Person));
    EXPECT_TRUE(Passes("Age = Age", Person));
}

TEST(FilterExpression, PrecedenceOfNotAndOrAndArithmetic)
{
    // AND binds tighter than OR.
    EXPECT_TRUE(Passes("Age = 1 and Age = 2 or Name = 'Smith'", Person));
    EXPECT_FALSE(Passes("Age = 1 and (Age = 2 or Name = 'Smith')", Person));
    EXPECT_TRUE(Passes("Name = 'Smith' or Age = 1 and Age = 2", Person));
    // NOT applies to the comparison only, then AND.
    EXPECT_TRUE(Passes("not Age = 1 and Name = 'Smith'", Person));
    EXPECT_FALSE(Passes("not (Age = 42 and Name = 'Smith')", Person));
    EXPECT_TRUE(Passes("NOT NOT Age = 42", Person));
    // * and / before + and -, unary minus, left associativity.
    EXPECT_TRUE(Passes("Age = 2 + 4 * 10", Person));
    EXPECT_TRUE(Passes("Age = (2 + 40) * 1", Person));
    EXPECT_TRUE(Passes("Age - 40 - 2 = 0", Person));
    EXPECT_TRUE(Passes("Age / 2 / 3 = 7", Person));
    EXPECT_TRUE(Passes("-Age = -42", Person));
    EXPECT_TRUE(Passes("Age * -1 < 0", Person));
    EXPECT_TRUE(Passes("Salary * 2 = 5001", Person));
    EXPECT_TRUE(Passes("Name + ', ' + [First name] = 'Smith, Anna'", Person));
}

TEST(FilterExpression, KeywordsIgnoreCaseAndNamesMayBeQuoted)
{
    EXPECT_TRUE(Passes("Age = 42 AnD Name = 'Smith' oR Age = 0", Person));
    EXPECT_TRUE(Passes("[First name] = 'Anna'", Person));
    EXPECT_TRUE(Passes("\"First name\" = 'Anna'", Person));
    EXPECT_TRUE(Passes("Name = 'O''Brien' or Name = 'Smith'", Person));
    EXPECT_TRUE(Passes("Name = 'It''s'", {{"Name", TVariant("It's")}}));
    EXPECT_TRUE(Passes("Active", Person));
    EXPECT_FALSE(Passes("not Active", Person));
    EXPECT_TRUE(Passes("Active = TRUE", Person));
    EXPECT_TRUE(Passes("Active = 'T'", Person));
    EXPECT_TRUE(Passes("Active <> false", Person));
    EXPECT_TRUE(Passes("  ", Person));    // the empty filter passes everything
}

TEST(FilterExpression, FieldNamesListsEachFieldOnceInOrder)
{
    TFilterExpression e("Age > 1 and ([First name] = 'x' or Name like 'a%' or age < 3) and City is null");
    EXPECT_EQ(e.FieldNames(), (std::vector<std::string>{"Age", "First name", "Name", "City"}));
    EXPECT_TRUE(TFilterExpression("1 = 1").FieldNames().empty());
    EXPECT_TRUE(TFilterExpression("").IsEmpty());
}

TEST(FilterExpression, ComparisonWithANullFieldIsFalse)
{
    EXPECT_FALSE(Passes("City = 'Paris'", Person));
    EXPECT_FALSE(Passes("City <> 'Paris'", Person));
    EXPECT_FALSE(Passes("City < 'Paris'", Person));
    EXPECT_FALSE(Passes("City like '%'", Person));
    EXPECT_FALSE(Passes("City not like 'x%'", Person));
    EXPECT_FALSE(Passes("City in ('Paris', 'Rome')", Person));
    EXPECT_FALSE(Passes("City not in ('Paris', 'Rome')", Person));
    EXPECT_FALSE(Passes("City + 'x' = 'x'", Person));       // arithmetic with null is null
    EXPECT_FALSE(Passes("City", Person));                   // a null condition is false
    EXPECT_TRUE(Passes("not City = 'Paris'", Person));
    // A field the callback does not know (Empty) counts as null.
    EXPECT_FALSE(Passes("Missing = 1", Person));
    EXPECT_TRUE(Passes("Missing is null", Person));
}

TEST(FilterExpression, NullTests)
{
    EXPECT_TRUE(Passes("City is null", Person));
    EXPECT_TRUE(Passes("City IS NULL and Name is not null", Person));
    EXPECT_FALSE(Passes("City is not null", Person));
    EXPECT_TRUE(Passes("City = null", Person));
    EXPECT_TRUE(Passes("null = City", Person));
    EXPECT_FALSE(Passes("City <> NULL", Person));
    EXPECT_TRUE(Passes("Name <> NULL", Person));
    EXPECT_FALSE(Passes("Name = NULL", Person));
    EXPECT_TRUE(Passes("City + 1 is null", Person));
}

TEST(FilterExpression, TrailingStarMeansPartialCompare)
{
    TRecord r = {{"Name", TVariant("Smithson")}};
    EXPECT_TRUE(Passes("Name = 'Smith*'", r));
    EXPECT_TRUE(Passes("Name = '*'", r));
    EXPECT_FALSE(Passes("Name = 'Smyth*'", r));
    EXPECT_FALSE(Passes("Name <> 'Smith*'", r));
    EXPECT_TRUE(Passes("'Smith*' = Name", r));
    EXPECT_FALSE(Passes("Name = 'smith*'", r));
    EXPECT_TRUE(Passes("Name = 'smith*'", r, {foCaseInsensitive}));
    // Without partial compare the star is an ordinary character.
    EXPECT_FALSE(Passes("Name = 'Smith*'", r, {foNoPartialCompare}));
    EXPECT_TRUE(Passes("Name = 'A*B'", {{"Name", TVariant("A*B")}}, {foNoPartialCompare}));
    EXPECT_TRUE(Passes("Name = 'Smith*'", {{"Name", TVariant("Smith*")}}, {foNoPartialCompare}));
    // Only = and <> compare partially; other operators compare the whole text.
    EXPECT_TRUE(Passes("Name > 'Smith*'", r));
    // A star inside the text is not a wildcard.
    EXPECT_FALSE(Passes("Name = 'S*son'", r));
}

TEST(FilterExpression, CaseOption)
{
    EXPECT_FALSE(Passes("Name = 'SMITH'", Person));
    EXPECT_TRUE(Passes("Name = 'SMITH'", Person, {foCaseInsensitive}));
    EXPECT_TRUE(Passes("Name < 'b'", {{"Name", TVariant("a")}}));
    EXPECT_FALSE(Passes("Name < 'B'", {{"Name", TVariant("a")}}));          // 'a' sorts after 'B' by code
    EXPECT_TRUE(Passes("Name < 'B'", {{"Name", TVariant("a")}}, {foCaseInsensitive}));
    // Folding covers letters beyond ASCII.
    TRecord r = {{"Name", TVariant("ÄRGER Éclair")}};
    EXPECT_FALSE(Passes("Name = 'ärger éclair'", r));
    EXPECT_TRUE(Passes("Name = 'ärger éclair'", r, {foCaseInsensitive}));
    EXPECT_TRUE(Passes("Name like 'är%ÉCL_IR'", r, {foCaseInsensitive}));
    EXPECT_TRUE(Passes("Name in ('x', 'smith')", Person, {foCaseInsensitive}));
}

TEST(FilterExpression, LikePatterns)
{
    TRecord r = {{"Code", TVariant("AB-1234")}, {"Text", TVariant("中文字段")}, {"Num", TVariant(int32_t(1234))}};
    EXPECT_TRUE(Passes("Code like 'AB%'", r));
    EXPECT_TRUE(Passes("Code like '%34'", r));
    EXPECT_TRUE(Passes("Code like '%-%'", r));
    EXPECT_TRUE(Passes("Code like 'AB-____'", r));
    EXPECT_FALSE(Passes("Code like 'AB-___'", r));
    EXPECT_FALSE(Passes("Code like 'ab%'", r));
    EXPECT_TRUE(Passes("Code like 'ab%'", r, {foCaseInsensitive}));
    EXPECT_TRUE(Passes("Code not like 'X%'", r));
    EXPECT_TRUE(Passes("Code LIKE 'A%B%3_'", r));
    EXPECT_TRUE(Passes("Code like '%%%'", r));
    EXPECT_FALSE(Passes("Code like ''", r));
    // '_' is one character, not one byte.
    EXPECT_TRUE(Passes("Text like '中_字%'", r));
    EXPECT_TRUE(Passes("Text like '____'", r));
    // Backtracking over several candidates for '%'.
    EXPECT_TRUE(Passes("Code like '%-1%4'", r));
    EXPECT_TRUE(Passes("X like '%ab'", {{"X", TVariant("aaab")}}));
    EXPECT_TRUE(Passes("X like '%abd'", {{"X", TVariant("abcabd")}}));
    EXPECT_FALSE(Passes("X like '%abd'", {{"X", TVariant("abcabda")}}));
    EXPECT_TRUE(Passes("X like 'a%b%c'", {{"X", TVariant("abbbc")}}));
    // A number is matched by its text.
    EXPECT_TRUE(Passes("Num like '12%'", r));
}

TEST(FilterExpression, InLists)
{
    EXPECT_TRUE(Passes("Age in (1, 42, 3)", Person));
    EXPECT_FALSE(Passes("Age in (1, 2)", Person));
    EXPECT_TRUE(Passes("Age not in (1, 2)", Person));
    EXPECT_TRUE(Passes("Name in ('Jones', 'Smith')", Person));
    EXPECT_TRUE(Passes("Age in ('42')", Person));
}

TEST(FilterExpression, LiteralsConvertToTheKindOfTheField)
{
    TRecord r = {{"Qty", TVariant(int32_t(12))}, {"Code", TVariant("12")}, {"Price", TVariant(TCurrency::FromScaled(123450))}};
    EXPECT_TRUE(Passes("Qty = '12'", r));
    EXPECT_TRUE(Passes("Qty > ' 9 '", r));     // a number, not the text "9" (which sorts after "12")
    EXPECT_TRUE(Passes("Code = 12", r));       // a text field compares with the text of the number
    EXPECT_TRUE(Passes("Code = -5", {{"Code", TVariant("-5")}}));
    EXPECT_FALSE(Passes("Code = -5", {{"Code", TVariant("abc")}}));   // no conversion error for a text that is no number
    EXPECT_TRUE(Passes("Code < 9", r));        // ... as texts: "12" < "9"
    EXPECT_TRUE(Passes("Price = 12.345", r));
    EXPECT_TRUE(Passes("Price = '12.345'", r));
    EXPECT_FALSE(Passes("Price = 12.34501", r));     // not rounded to the currency's four places
    EXPECT_TRUE(Passes("Price < 12.34501", r));
    EXPECT_TRUE(Passes("Qty = Code", r));      // two fields: the text converts to a number
    EXPECT_EQ(ErrorOf("Qty = 'abc'", r), "Filter expression: 'abc' is not a valid number for field 'Qty'");
    EXPECT_EQ(ErrorOf("Qty = Name", {{"Qty", TVariant(1)}, {"Name", TVariant("x")}}),
              "Filter expression: 'x' is not a valid number for field 'Qty'");
    EXPECT_EQ(ErrorOf("Active = 'maybe'", Person), "Filter expression: 'maybe' is not a valid logical value for field 'Active'");
}

TEST_F(FilterDates, DateLiteralsUseTheLocaleShortFormat)
{
    TRecord r = {{"Born", TVariant::FromDateTime(EncodeDate(1990, 3, 15))}};
    EXPECT_TRUE(Passes("Born = '15.03.1990'", r));
    EXPECT_TRUE(Passes("Born > '14.03.1990' and Born < '16.3.1990'", r));
    EXPECT_TRUE(Passes("'01.01.2000' > Born", r));
    EXPECT_TRUE(Passes("Born + 1 = '16.03.1990'", r));
    EXPECT_TRUE(Passes("Born - '15.03.1989' = 365", r));
    EXPECT_TRUE(Passes("Born in ('01.01.1990', '15.03.1990')", r));
    EXPECT_EQ(ErrorOf("Born = '1990-03-15'", r), "Filter expression: '1990-03-15' is not a valid date for field 'Born'");
    EXPECT_EQ(ErrorOf("Born = '31.02.1990'", r), "Filter expression: '31.02.1990' is not a valid date for field 'Born'");
    EXPECT_FALSE(Passes("Born = '15.03.1990'", {{"Born", TVariant::Null()}}));
}

TEST_F(FilterDates, TimesAndDateTimes)
{
    TRecord r = {{"At", TVariant::FromDateTime(EncodeDate(2020, 1, 5) + EncodeTime(10, 30, 0, 0))},
                 {"Start", TVariant::FromDateTime(EncodeTime(8, 15, 0, 0))}};
    EXPECT_TRUE(Passes("At = '05.01.2020 10:30'", r));
    EXPECT_TRUE(Passes("At > '05.01.2020'", r));          // midnight of that day
    EXPECT_FALSE(Passes("At = '05.01.2020'", r));
    EXPECT_TRUE(Passes("Start < '09:00' and Start >= '8:15'", r));
    EXPECT_TRUE(Passes("At - 1 < '05.01.2020'", r));           // date minus days is a date
    EXPECT_EQ(ErrorOf("At - Start > '05.01.2020'", r),        // date minus date is a number of days
              "Filter expression: '05.01.2020' is not a valid number (position 14)");
}

TEST(FilterExpression, EvaluationErrorsAreClear)
{
    EXPECT_EQ(ErrorOf("Name", Person), "Filter expression: field 'Name' is not a logical field and cannot be used as a condition");
    EXPECT_EQ(ErrorOf("Age / 0 = 1", Person), "Filter expression: division by zero (position 5)");
    EXPECT_EQ(ErrorOf("-Name = 1", Person), "Filter expression: only numbers can be negated (position 1)");
    EXPECT_EQ(ErrorOf("Active * 2 = 1", Person), "Filter expression: arithmetic needs numbers or dates (position 8)");
    // A logical compares with a number as with its truth.
    EXPECT_TRUE(Passes("Active = Salary + Age", {{"Active", TVariant(true)}, {"Salary", TVariant(1.0)}, {"Age", TVariant(int64_t(1))}}));
    EXPECT_FALSE(Passes("Active = Age - 42", Person));
}

TEST(FilterExpression, SyntaxErrorsNameThePosition)
{
    EXPECT_EQ(ErrorOf("Age = "), "Filter expression error at position 7: the expression ends where a value is expected");
    EXPECT_EQ(ErrorOf("Age = 1 Name = 2"), "Filter expression error at position 9: unexpected field name Name where the expression should end");
    EXPECT_EQ(ErrorOf("(Age = 1"), "Filter expression error at position 9: expected ')' to close the parenthesis, found end of expression");
    EXPECT_EQ(ErrorOf("Name = 'abc"), "Filter expression error at position 8: unterminated string literal");
    EXPECT_EQ(ErrorOf("[First name = 1"), "Filter expression error at position 1: missing ']' after field name");
    EXPECT_EQ(ErrorOf("\"First name = 1"), "Filter expression error at position 1: unterminated field name");
    EXPECT_EQ(ErrorOf("Age # 1"), "Filter expression error at position 5: unexpected character '#'");
    EXPECT_EQ(ErrorOf("名前 = 1 ; x"), "Filter expression error at position 8: unexpected character ';'");   // characters, not bytes
    EXPECT_EQ(ErrorOf("Age = 1 and"), "Filter expression error at position 12: the expression ends where a value is expected");
    EXPECT_EQ(ErrorOf("Age = = 1"), "Filter expression error at position 7: unexpected '=' where a value is expected");
    EXPECT_EQ(ErrorOf("Age is 1"), "Filter expression error at position 8: expected NULL after IS, found '1'");
    EXPECT_EQ(ErrorOf("Age > null"), "Filter expression error at position 5: NULL can only be compared with = or <>");
    EXPECT_EQ(ErrorOf("Age + 1"), "Filter expression error at position 5: a condition is expected here");
    EXPECT_EQ(ErrorOf("'x' or Age = 1"), "Filter expression error at position 1: a condition is expected here");
    EXPECT_EQ(ErrorOf("Age in 1, 2"), "Filter expression error at position 8: expected '(' after IN, found '1'");
    EXPECT_EQ(ErrorOf("Age = 12abc"), "Filter expression error at position 7: invalid number '12a'");
    EXPECT_EQ(ErrorOf("Age = 1 = 2"), "Filter expression error at position 9: unexpected '=' where the expression should end");
    EXPECT_EQ(ErrorOf("and = 1"), "Filter expression error at position 1: unexpected 'AND' where a value is expected");
    EXPECT_EQ(ErrorOf("[] = 1"), "Filter expression error at position 1: empty field name");
}
