// Key and FOR expressions evaluated on record bytes as the xBase programs
// evaluate them, and the key bytes each type of tag stores.

#include "data/engine/dbf/CdxExpression.h"
#include "data/engine/dbf/CdxIndex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

using namespace cdx;

TDbfField MakeField(const char* name, char type, int offset, int length, int decimals = 0)
{
    TDbfField f;
    f.Name = name;
    f.Type = type;
    f.Offset = offset;
    f.Length = length;
    f.Decimals = decimals;
    return f;
}

// NAME C(10) at 1, AMOUNT N(8,2) at 11, BORN D at 19, COUNT I at 27.
struct TFixture {
    TDbfHeader Header;
    TCaseTables Cases = BuildCaseTables(1252);
    std::string Record;

    TFixture()
    {
        Header.Dialect = TDbfDialect::VisualFoxPro;
        Header.Fields = {MakeField("NAME", 'C', 1, 10), MakeField("AMOUNT", 'N', 11, 8, 2),
                         MakeField("BORN", 'D', 19, 8), MakeField("COUNT", 'I', 27, 4)};
        Record = std::string(" ") + "m\xe9ller    " + "  -12.50" + "19991231" + std::string("\x05\x00\x00\x00", 4);
    }

    TValue Eval(const std::string& text, uint32_t recNo = 1)
    {
        TExpression expression(text, Header, Cases);
        TValue value;
        expression.Evaluate({reinterpret_cast<const uint8_t*>(Record.data()), recNo}, value);
        return value;
    }
};

} // namespace

TEST(CdxExpression, CharacterFunctionsWorkOnRecordBytes)
{
    TFixture f;
    EXPECT_EQ(f.Eval("NAME").Text, "m\xe9ller    ");
    EXPECT_EQ(f.Eval("upper(name)").Text, "M\xc9LLER    ") << "é has its capital in code page 1252";
    EXPECT_EQ(f.Eval("LOWER(\"ABC\xdf\")").Text, "abc\xdf");
    EXPECT_EQ(f.Eval("UPPER(\"stra\xdf" "e\")").Text, "STRA\xdf" "E") << "ß has no one-character capital";
    EXPECT_EQ(f.Eval("TRIM(NAME)+'|'").Text, "m\xe9ller|");
    EXPECT_EQ(f.Eval("ALLTRIM('  a  ')+LTRIM('  b')").Text, "ab");
    EXPECT_EQ(f.Eval("NAME-'|'").Text, "m\xe9ller|    ") << "'-' moves the blanks to the end";
    EXPECT_EQ(f.Eval("LEFT(NAME,3)+RIGHT(NAME,2)+SUBSTR(NAME,2,3)+SUBS(NAME,9)").Text, "m\xe9l  \xe9ll  ");
    EXPECT_EQ(f.Eval("PADL('7',3)+PADR('ab',1)").Text, "  7a");
    EXPECT_EQ(f.Eval("IIF(COUNT > 3, 'big', 'small')").Text, "big");
}

TEST(CdxExpression, NumbersAndDatesBecomeTextAsTheXbaseFunctionsWriteThem)
{
    TFixture f;
    EXPECT_EQ(f.Eval("STR(AMOUNT)").Text, "       -13") << "-12.50 rounds away from zero";
    EXPECT_EQ(f.Eval("STR(AMOUNT,8,1)").Text, "   -12.5");
    EXPECT_EQ(f.Eval("STR(2.5,3)+STR(-2.5,3)+STR(0.125,6,2)").Text, "  3 -3  0.13") << "half away from zero";
    EXPECT_EQ(f.Eval("STR(123456,4)").Text, "****");
    EXPECT_EQ(f.Eval("STR(COUNT,4)+STR(RECNO(),3)").Text, "   5  1");
    EXPECT_EQ(f.Eval("STR(RECNO(),3)", 42).Text, " 42");
    EXPECT_EQ(f.Eval("DTOS(BORN)").Text, "19991231");
    EXPECT_EQ(f.Eval("DTOS(BORN+1)").Text, "20000101");
    EXPECT_DOUBLE_EQ(f.Eval("BORN").Number, 2451544.0) << "the Julian day of 1999-12-31";
    EXPECT_DOUBLE_EQ(f.Eval("AMOUNT*2+VAL('1.5')").Number, -23.5);
    f.Record.replace(19, 8, "        ");
    EXPECT_EQ(f.Eval("DTOS(BORN)").Text, "        ") << "an empty date";
}

TEST(CdxExpression, ConditionsOfForFilters)
{
    TFixture f;
    EXPECT_TRUE(f.Eval(".NOT.DELETED()").Logical);
    EXPECT_TRUE(f.Eval("!DELETED() .AND. AMOUNT < 0").Logical);
    f.Record[0] = '*';
    EXPECT_TRUE(f.Eval("DELETED()").Logical);
    EXPECT_FALSE(f.Eval("!DELETED() .OR. COUNT = 6").Logical);
    EXPECT_TRUE(f.Eval("NAME = 'm\xe9l' .AND. !(NAME == 'm\xe9l') .AND. 'll' $ NAME").Logical)
        << "'=' compares as far as the right side goes, '==' all of it";
    TExpression expression("!DELETED()", f.Header, f.Cases);
    EXPECT_TRUE(expression.ReadsDeletedFlag());
}

TEST(CdxExpression, WhatCannotBeEvaluatedIsRefusedByName)
{
    TFixture f;
    auto refused = [&](const std::string& text, const std::string& words) {
        try {
            TExpression expression(text, f.Header, f.Cases);
            ADD_FAILURE() << text << " was accepted";
        } catch (const EUnsupportedExpression& e) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
    };
    refused("SOUNDEX(NAME)", "SOUNDEX");
    refused("DTOC(BORN)", "DTOC");
    refused("MISSING", "no field MISSING");
    refused("other->NAME", "work area");
    refused("NAME + AMOUNT", "do not go together");
    refused("UPPER(NAME", "expected");
    refused("NAME)", "unexpected");
}

TEST(CdxExpression, KeysSortBytewiseInTheOrderOfTheirValues)
{
    TTag numeric;
    numeric.Header.KeyLength = 8;
    numeric.Kind = TKeyKind::Numeric;
    numeric.ValueLength = 8;
    auto key = [&](double v) {
        TValue value;
        value.Type = 'N';
        value.Number = v;
        return EncodeKey(numeric, value);
    };
    const double values[] = {-1e300, -2.5, -1, -0.0, 0.0, 1e-300, 1, 2.5, 1e300};
    for (size_t i = 1; i < std::size(values); ++i)
        EXPECT_LE(key(values[i - 1]), key(values[i])) << values[i - 1] << " before " << values[i];
    EXPECT_EQ(key(-0.0), key(0.0));
    EXPECT_EQ(key(0.0), std::string("\x80\0\0\0\0\0\0\0", 8));

    TTag integer;
    integer.Header.KeyLength = 5;
    integer.Kind = TKeyKind::Integer;
    integer.Nullable = true;
    integer.ValueLength = 4;
    TValue value;
    value.Type = 'N';
    value.Number = -2;
    EXPECT_EQ(EncodeKey(integer, value), std::string("\x80\x7f\xff\xff\xfe", 5)) << "non-NULL prefix, offset binary";
    value.Null = true;
    EXPECT_EQ(EncodeKey(integer, value), std::string(5, '\0')) << "NULL sorts first";

    TTag text;
    text.Header.KeyLength = 6;
    text.Kind = TKeyKind::Character;
    text.ValueLength = 6;
    value = TValue();
    value.Text = "abcdefgh";
    EXPECT_EQ(EncodeKey(text, value), "abcdef");
    value.Text = "ab";
    EXPECT_EQ(EncodeKey(text, value), "ab    ");
}

// A numeric field reads as the C library reads its text, to the last bit:
// the common digits-and-point form without it, anything else with it.
TEST(CdxExpression, NumericFieldsReadToTheBitAsTheLibraryReadsThem)
{
    TDbfHeader header;
    header.Dialect = TDbfDialect::VisualFoxPro;
    header.Fields = {MakeField("WIDE", 'N', 1, 20, 4)};
    TCaseTables cases = BuildCaseTables(1252);
    TExpression expression("WIDE", header, cases);
    std::mt19937 random(5);
    const std::string alphabet = "0123456789000000000.-+ ,e";
    for (int round = 0; round < 20000; ++round) {
        std::string text(20, ' ');
        const size_t length = 1 + random() % 20;
        for (size_t i = 20 - length; i < 20; ++i)
            text[i] = alphabet[random() % (round % 4 == 0 ? alphabet.size() : 19)];
        if (round % 7 == 0)
            text[19 - random() % length] = '-';
        std::string cleaned;
        for (char c : text)
            if (c != ' ')
                cleaned += c == ',' ? '.' : c;
        char* end = nullptr;
        double expected = cleaned.empty() ? 0 : std::strtod(cleaned.c_str(), &end);
        if (!cleaned.empty() && end == cleaned.c_str())
            expected = 0;
        const std::string record = " " + text;
        TValue value;
        expression.Evaluate({reinterpret_cast<const uint8_t*>(record.data()), 1}, value);
        EXPECT_EQ(std::memcmp(&value.Number, &expected, sizeof(double)), 0)
            << "'" << text << "' read as " << value.Number << ", the library reads " << expected;
    }
}
