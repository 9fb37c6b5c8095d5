#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiRecordCodec.h"

#include <gtest/gtest.h>

namespace {

TAsciiSchema Varying(char separator = ',', char delimiter = '"', int codePage = 1252)
{
    TAsciiSchema schema;
    schema.FileType = TAsciiFileType::Varying;
    schema.Separator = separator;
    schema.Delimiter = delimiter;
    schema.CodePage = codePage;
    schema.Fields = {{"Name", TAsciiType::Char, 10, 0, 0},
                     {"Qty", TAsciiType::LongInt, 11, 0, 10},
                     {"Price", TAsciiType::Float, 20, 2, 21}};
    return schema;
}

TAsciiSchema Fixed()
{
    TAsciiSchema schema = Varying();
    schema.FileType = TAsciiFileType::Fixed;
    schema.Fields[1].Width = 5;
    schema.Fields[2] = {"Price", TAsciiType::Float, 8, 2, 16};   // one column of gap before it
    return schema;
}

std::vector<std::string> Texts(std::string_view line, size_t count, size_t* tail = nullptr)
{
    size_t end = 0;
    std::vector<std::string> texts;
    for (const TAsciiValueSpan& span : SplitDelimitedLine(line, ',', '"', count, end))
        texts.push_back(span.Text);
    if (tail)
        *tail = end;
    return texts;
}

} // namespace

TEST(AsciiDelimitedLine, SplitsQuotedAndPlainValues)
{
    EXPECT_EQ(Texts("\"a,b\",12,\"say \"\"hi\"\"\"", 3), (std::vector<std::string>{"a,b", "12", "say \"hi\""}));
    EXPECT_EQ(Texts(",,", 3), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Texts("x", 3), (std::vector<std::string>{"x"}));
    EXPECT_EQ(Texts("\"x\" , \"y\"", 2), (std::vector<std::string>{"x", "y"}));
    // Damaged quoting never fails: an open quote runs to the end of the line,
    // text after a closing quote stays with its value.
    EXPECT_EQ(Texts("\"open,1,2", 3), (std::vector<std::string>{"open,1,2"}));
    {
        TAsciiRecordCodec codec(Varying());
        std::string old = "\"open,1";
        std::string_view oldView(old);
        TEngineRecord record = codec.Decode(old);
        EXPECT_EQ(record[0].AsString(), "open,1");
        record[1] = TVariant(int32_t(5));
        std::string line = codec.Encode(record, &oldView);
        EXPECT_EQ(line, "\"open,1\",5,");
        EXPECT_EQ(codec.Decode(line)[1].AsInteger(), 5);
        // Its bytes stay as they were, a carriage return too.
        std::string withReturn = "\"a\rb\"\"c,1";
        std::string_view returnView(withReturn);
        record = codec.Decode(withReturn);
        record[1] = TVariant(int32_t(5));
        EXPECT_EQ(codec.Encode(record, &returnView), "\"a\rb\"\"c,1\",5,");
    }
    EXPECT_EQ(Texts("\"ab\"cd,1", 2), (std::vector<std::string>{"abcd", "1"}));
    EXPECT_EQ(Texts("a\"b,1", 2), (std::vector<std::string>{"a\"b", "1"}));
    size_t tail = 0;
    EXPECT_EQ(Texts("a,b,c,d", 2, &tail), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(tail, 3u);
}

TEST(AsciiDelimitedLine, DoubleByteCharactersAreNeverSplit)
{
    size_t tail = 0;
    std::vector<TAsciiValueSpan> spans = SplitDelimitedLine("\x81|a|b", '|', 0, 3, tail, 936);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Text, "\x81|a");
    EXPECT_EQ(spans[1].Text, "b");
    // Shift-JIS: 0x83 0x5C is one character, its second byte a backslash.
    spans = SplitDelimitedLine("\\\x83\\\\,x", ',', '\\', 2, tail, 932);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Text, "\x83\\");
    EXPECT_TRUE(spans[0].Closed);
    EXPECT_EQ(spans[1].Text, "x");
    // Single-byte code pages know no such characters.
    spans = SplitDelimitedLine("\x81|a", '|', 0, 2, tail, 1252);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Text, "\x81");
}

TEST(AsciiRecordCodec, DelimitedRoundTripQuotesTextAndDoublesQuotes)
{
    TAsciiRecordCodec codec(Varying());
    TEngineRecord record{TVariant("He said \"no\", twice"), TVariant(int32_t(-3)), TVariant(2.5)};
    std::string line = codec.Encode(record, nullptr);
    EXPECT_EQ(line, "\"He said \"\"no\"\", twice\",-3,2.50");
    TEngineRecord back = codec.Decode(line);
    EXPECT_EQ(back[0].AsString(), "He said \"no\", twice");
    EXPECT_EQ(back[1].AsInteger(), -3);
    EXPECT_EQ(back[2].AsDouble(), 2.5);

    TEngineRecord nulls{TVariant::Null(), TVariant::Null(), TVariant::Null()};
    EXPECT_EQ(codec.Encode(nulls, nullptr), ",,");
    TEngineRecord empty{TVariant(""), TVariant::Null(), TVariant::Null()};
    EXPECT_EQ(codec.Encode(empty, nullptr), "\"\",,");
    EXPECT_EQ(codec.Decode("\"\",,")[0].AsString(), "");
    EXPECT_TRUE(codec.Decode(",,")[0].IsNull());
}

TEST(AsciiRecordCodec, WithoutDelimiterRefusesTheSeparatorInAValue)
{
    TAsciiRecordCodec codec(Varying(';', 0));
    EXPECT_EQ(codec.Encode({TVariant("a,b"), TVariant(int32_t(1)), TVariant(1.0)}, nullptr), "a,b;1;1.00");
    try {
        codec.Encode({TVariant("a;b"), TVariant(int32_t(1)), TVariant(1.0)}, nullptr);
        FAIL() << "the separator was written unquoted";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDFIELDVALUE);
        EXPECT_NE(e.Message().find("Name"), std::string::npos) << e.Message();
    }
}

TEST(AsciiRecordCodec, UnchangedValuesKeepTheirTextAndExtraValuesStay)
{
    TAsciiRecordCodec codec(Varying());
    std::string old = "  \"Bolt\" ,0012,garbage,\"extra\",99";
    std::string_view oldView(old);
    TEngineRecord record = codec.Decode(old);
    EXPECT_EQ(record[1].AsInteger(), 12);
    EXPECT_TRUE(record[2].IsNull());   // unreadable, but kept when not edited
    record[0] = TVariant("Nut");
    EXPECT_EQ(codec.Encode(record, &oldView), "\"Nut\",0012,garbage,\"extra\",99");
    record[2] = TVariant(1.25);
    EXPECT_EQ(codec.Encode(record, &oldView), "\"Nut\",0012,1.25,\"extra\",99");

    // A byte the code page does not define survives in a value not edited.
    std::string odd = "\"x\x81y\",1,2";
    std::string_view oddView(odd);
    TEngineRecord oddRecord = codec.Decode(odd);
    EXPECT_EQ(oddRecord[0].AsString(), "x\xEF\xBF\xBDy");
    oddRecord[1] = TVariant(int32_t(2));
    EXPECT_EQ(codec.Encode(oddRecord, &oddView), "\"x\x81y\",2,2");
}

TEST(AsciiRecordCodec, FixedColumnsPadAlignAndRefuseWhatDoesNotFit)
{
    TAsciiRecordCodec codec(Fixed());
    std::string line = codec.Encode({TVariant("Washer"), TVariant(int32_t(42)), TVariant(3.5)}, nullptr);
    EXPECT_EQ(line, "Washer       42     3.50");
    TEngineRecord back = codec.Decode(line);
    EXPECT_EQ(back[0].AsString(), "Washer");
    EXPECT_EQ(back[1].AsInteger(), 42);
    EXPECT_EQ(back[2].AsDouble(), 3.5);

    try {
        codec.Encode({TVariant("Much too long"), TVariant(int32_t(1)), TVariant(1.0)}, nullptr);
        FAIL() << "an overlong value was written";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDFIELDVALUE);
        EXPECT_NE(e.Message().find("needs 13 characters; the column holds 10"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(codec.Encode({TVariant("x"), TVariant(int32_t(123456)), TVariant(1.0)}, nullptr), EDBEngineError);

    // Bytes between and after the columns survive an edit.
    std::string old = "Washer       42|    3.50 # note";
    std::string_view oldView(old);
    TEngineRecord record = codec.Decode(old);
    EXPECT_EQ(record[1].AsInteger(), 42);
    record[1] = TVariant(int32_t(7));
    EXPECT_EQ(codec.Encode(record, &oldView), "Washer        7|    3.50 # note");
}

TEST(AsciiRecordCodec, ShortAndEmptyLinesGiveNulls)
{
    TAsciiRecordCodec fixed(Fixed());
    TEngineRecord record = fixed.Decode("Wash");
    EXPECT_EQ(record[0].AsString(), "Wash");
    EXPECT_TRUE(record[1].IsNull());
    EXPECT_TRUE(record[2].IsNull());
    TAsciiRecordCodec varying(Varying());
    for (const TVariant& value : varying.Decode(""))
        EXPECT_TRUE(value.IsNull());
}

TEST(AsciiRecordCodec, CodePageConversionAtTheFileBoundary)
{
    TAsciiRecordCodec oem(Varying(',', '"', 437));
    std::string line = oem.Encode({TVariant("Caf\xC3\xA9"), TVariant::Null(), TVariant::Null()}, nullptr);
    EXPECT_EQ(line, "\"Caf\x82\",,");
    EXPECT_EQ(oem.Decode(line)[0].AsString(), "Caf\xC3\xA9");
    try {
        oem.Encode({TVariant("\xE4\xB8\xAD"), TVariant::Null(), TVariant::Null()}, nullptr);
        FAIL() << "a character outside the code page was written";
    } catch (const EDBEngineError& e) {
        EXPECT_EQ(e.ErrorCode(), DBIERR_INVALIDCHAR);
    }
    // A double-byte code page: a trail byte equal to the separator does not split the value.
    TAsciiRecordCodec gbk(Varying('|', 0, 936));
    std::string text = "\xE4\xBA\x85\xE4\xB8\xAD";   // U+4E85 is 0x81 0x7C in GBK
    std::string bytes = gbk.Encode({TVariant(text), TVariant(int32_t(1)), TVariant::Null()}, nullptr);
    EXPECT_EQ(bytes.substr(0, 2), "\x81|");
    TEngineRecord back = gbk.Decode(bytes);
    EXPECT_EQ(back[0].AsString(), text);
    EXPECT_EQ(back[1].AsInteger(), 1);
}
