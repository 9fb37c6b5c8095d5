// Fields: conversions of texts and values per type, the refusals and their
// messages, display and edit texts, and the notifications of property changes.

#include "DataSetTestSupport.h"
#include "data/FieldTypes.h"
#include "platform/DateTimeFormat.h"
#include "platform/FloatFormat.h"

#include <gtest/gtest.h>

namespace {

class Fields : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table.FieldDefs().Add("I", ftInteger);
        Table.FieldDefs().Add("S", ftSmallint);
        Table.FieldDefs().Add("W", ftWord);
        Table.FieldDefs().Add("L", ftLargeint);
        Table.FieldDefs().Add("F", ftFloat);
        Table.FieldDefs().Add("C", ftCurrency);
        TEngineFieldDef bcd;
        bcd.Name = "B";
        bcd.DataType = ftBCD;
        bcd.Size = 2;
        bcd.Precision = 10;
        bcd.Scale = 2;
        Table.FieldDefs().Add(bcd);
        Table.FieldDefs().Add("BOOL", ftBoolean);
        Table.FieldDefs().Add("D", ftDate);
        Table.FieldDefs().Add("T", ftTime);
        Table.FieldDefs().Add("DT", ftDateTime);
        Table.FieldDefs().Add("NAME", ftString, 5);
        Table.FieldDefs().Add("M", ftMemo);
        Table.FieldDefs().Add("G", ftGraphic);
        Table.FieldDefs().Add("BY", ftBytes, 4);
        Table.AppendRecord({TVariant(1)});
        Table.Open();
        Table.Edit();
    }

    TField& F(const char* name) { return *Table.FieldByName(name); }

    TMemTable Table;
    TDataSource Source{&Table};
    TRecordingLink Link{&Source, 3};
};

TEST_F(Fields, DefaultFieldsHaveTheClassOfTheirType)
{
    EXPECT_NE(dynamic_cast<TSmallintField*>(&F("S")), nullptr);
    EXPECT_NE(dynamic_cast<TCurrencyField*>(&F("C")), nullptr);
    EXPECT_NE(dynamic_cast<TBCDField*>(&F("B")), nullptr);
    EXPECT_NE(dynamic_cast<TDateField*>(&F("D")), nullptr);
    EXPECT_NE(dynamic_cast<TMemoField*>(&F("M")), nullptr);
    EXPECT_NE(dynamic_cast<TGraphicField*>(&F("G")), nullptr);
    EXPECT_EQ(F("I").Alignment(), taRightJustify);
    EXPECT_EQ(F("NAME").Alignment(), taLeftJustify);
}

TEST_F(Fields, IntegerTextsConvertOrAreRefusedByName)
{
    F("I").SetAsString(" 42 ");
    EXPECT_EQ(F("I").AsInteger(), 42);
    EXPECT_EQ(F("I").Value().VarType(), varInteger);
    try {
        F("I").SetAsString("4x2");
        FAIL() << "a non-number was stored";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'4x2' is not a valid integer value for field 'I'");
    }
    EXPECT_EQ(F("I").AsInteger(), 42) << "a refused text must leave the value";
}

TEST_F(Fields, IntegerRangesFollowTheType)
{
    F("S").SetAsInteger(-32768);
    EXPECT_EQ(F("S").AsInteger(), -32768);
    try {
        F("S").SetAsInteger(32768);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "32768 is not a valid value for field 'S'. The allowed range is -32768 to 32767");
    }
    EXPECT_THROW(F("W").SetAsInteger(-1), EDatabaseError);
    EXPECT_THROW(F("I").SetAsLargeInt(int64_t(1) << 31), EDatabaseError);
    F("L").SetAsLargeInt(int64_t(1) << 40);
    EXPECT_EQ(F("L").AsLargeInt(), int64_t(1) << 40);
    // A float goes to the nearest integer, ties to even.
    F("I").SetAsFloat(2.5);
    EXPECT_EQ(F("I").AsInteger(), 2);
    EXPECT_THROW(F("S").SetAsFloat(1e9), EDatabaseError);
}

TEST_F(Fields, IntegerDisplayAndEditFormats)
{
    F("I").SetAsInteger(1234567);
    EXPECT_EQ(F("I").DisplayText(), "1234567");
    F("I").SetDisplayFormat("#,##0");
    EXPECT_EQ(F("I").DisplayText(), "1,234,567");
    EXPECT_EQ(F("I").EditText(), "1,234,567") << "without EditFormat the edit text uses DisplayFormat";
    F("I").SetEditFormat("0");
    EXPECT_EQ(F("I").EditText(), "1234567");
}

TEST_F(Fields, FloatTextsAndCurrencyDisplay)
{
    F("F").SetAsString("1.5E3");
    EXPECT_DOUBLE_EQ(F("F").AsFloat(), 1500);
    EXPECT_EQ(F("F").DisplayText(), "1500");
    EXPECT_THROW(F("F").SetAsString("1.5.3"), EConvertError);
    F("C").SetAsFloat(-1234.5);
    EXPECT_EQ(F("C").EditText(), "-1234.50");
    EXPECT_EQ(F("C").DisplayText(), FloatToStrF(-1234.5, ffCurrency, 15, FormatSettings().CurrencyDecimals));
    F("F").SetDisplayFormat("0.00;(0.00)");
    F("F").SetAsFloat(-2.345);
    EXPECT_EQ(F("F").DisplayText(), "(2.35)");
}

TEST_F(Fields, BcdKeepsItsDecimalsRoundingHalfToEven)
{
    F("B").SetAsString("1.005");
    EXPECT_EQ(F("B").AsCurrency(), TCurrency::FromScaled(10000));
    F("B").SetAsString("1.015");
    EXPECT_EQ(F("B").AsCurrency(), TCurrency::FromScaled(10200));
    F("B").SetAsString("-0.125");
    EXPECT_EQ(F("B").AsCurrency(), TCurrency::FromScaled(-1200));
    // Precision 10 with 2 decimals leaves 8 whole digits.
    F("B").SetAsString("99999999.99");
    EXPECT_THROW(F("B").SetAsString("100000000"), EDatabaseError);
    EXPECT_EQ(F("B").AsString(), "99999999.99");
}

TEST_F(Fields, BooleanTextsMatchAnyLeadingPartOfDisplayValues)
{
    auto& flag = static_cast<TBooleanField&>(F("BOOL"));
    flag.SetAsString("t");
    EXPECT_TRUE(flag.AsBoolean());
    flag.SetDisplayValues("Yes;No");
    flag.SetAsString("n");
    EXPECT_FALSE(flag.AsBoolean());
    EXPECT_EQ(flag.DisplayText(), "No");
    flag.SetAsString("YE");
    EXPECT_EQ(flag.DisplayText(), "Yes");
    try {
        flag.SetAsString("maybe");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "'maybe' is not a valid boolean value for field 'BOOL'");
    }
    flag.SetAsString("");
    EXPECT_TRUE(flag.IsNull());
    EXPECT_EQ(flag.DisplayText(), "");
}

TEST_F(Fields, DatesAndTimesKeepOnlyTheirPart)
{
    TDateTime moment = EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 0, 0);
    F("D").SetAsDateTime(moment);
    EXPECT_DOUBLE_EQ(F("D").AsDateTime(), EncodeDate(2024, 2, 29));
    F("T").SetAsDateTime(moment);
    EXPECT_NEAR(F("T").AsDateTime(), EncodeTime(13, 45, 0, 0), 1e-9);
    F("DT").SetAsDateTime(moment);
    EXPECT_EQ(F("DT").DisplayText(), DateTimeToStr(moment));
    // Texts round-trip through the locale's short formats.
    std::string text = F("D").AsString();
    F("D").Clear();
    F("D").SetAsString(text);
    EXPECT_DOUBLE_EQ(F("D").AsDateTime(), EncodeDate(2024, 2, 29));
    EXPECT_THROW(F("D").SetAsString("2024-02-30"), EConvertError);
    F("D").SetDisplayFormat("yyyymmdd");
    EXPECT_EQ(F("D").DisplayText(), "20240229");
}

TEST_F(Fields, StringLengthIsCountedInCharacters)
{
    F("NAME").SetAsString("数据表记录");
    EXPECT_EQ(F("NAME").AsString(), "数据表记录");
    try {
        F("NAME").SetAsString("abcdef");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Value too long for field 'NAME': at most 5 characters");
    }
    EXPECT_EQ(F("NAME").AsString(), "数据表记录");
}

TEST_F(Fields, BlobsShowTheirKindUpperCasedWhenTheyHoldData)
{
    EXPECT_EQ(F("M").DisplayText(), "");
    F("M").SetAsString("some text");
    EXPECT_EQ(F("M").DisplayText(), "(MEMO)");
    EXPECT_EQ(F("M").AsString(), "some text");
    F("G").SetValue(TVariant(TBytes{1, 2, 3}));
    EXPECT_EQ(F("G").DisplayText(), "(GRAPHIC)");
    F("G").SetValue(TVariant(TBytes{}));
    EXPECT_EQ(F("G").DisplayText(), "(Graphic)");
}

TEST_F(Fields, BytesTravelAsHexadecimalText)
{
    F("BY").SetAsString("0a ff 10");
    EXPECT_EQ(F("BY").Value().AsBytes(), (TBytes{0x0A, 0xFF, 0x10}));
    EXPECT_EQ(F("BY").DisplayText(), "0A FF 10");
    EXPECT_THROW(F("BY").SetAsString("0g"), EConvertError);
    EXPECT_THROW(F("BY").SetAsString("abc"), EConvertError);
    EXPECT_THROW(F("BY").SetAsString("01 02 03 04 05"), EDatabaseError);
}

TEST_F(Fields, TextEventsReplaceTheConversions)
{
    F("I").OnGetText = [](TField& field, std::string& text, bool display) {
        text = (display ? "#" : "") + std::to_string(field.AsInteger());
    };
    F("I").OnSetText = [](TField& field, const std::string& text) { field.SetAsInteger(static_cast<int32_t>(text.size())); };
    F("I").SetEditText("abcd");
    EXPECT_EQ(F("I").AsInteger(), 4);
    EXPECT_EQ(F("I").DisplayText(), "#4");
    EXPECT_EQ(F("I").EditText(), "4");
}

TEST_F(Fields, ValidCharactersDependOnTheType)
{
    EXPECT_TRUE(F("I").IsValidChar(U'7'));
    EXPECT_TRUE(F("I").IsValidChar(U'-'));
    EXPECT_FALSE(F("I").IsValidChar(U'.'));
    EXPECT_FALSE(F("I").IsValidChar(U'a'));
    EXPECT_TRUE(F("F").IsValidChar(U'.'));
    EXPECT_TRUE(F("F").IsValidChar(U'E'));
    EXPECT_FALSE(F("F").IsValidChar(U'x'));
    EXPECT_TRUE(F("NAME").IsValidChar(U'数'));
    EXPECT_FALSE(F("NAME").IsValidChar(U'\x01'));
}

TEST_F(Fields, ReadOnlyFieldsAndBrowseStateRefuseValues)
{
    F("I").SetReadOnly(true);
    try {
        F("I").SetAsInteger(5);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'I' cannot be modified");
    }
    EXPECT_FALSE(F("I").CanModify());
    EXPECT_TRUE(F("S").CanModify());
    Table.Cancel();
    try {
        F("S").SetAsInteger(5);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Dataset not in edit or insert mode");
    }
}

TEST_F(Fields, ConversionsOfStoredValuesNameTheField)
{
    F("NAME").SetAsString("abc");
    try {
        (void)F("NAME").AsInteger();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not an integer for field 'NAME'");
    }
    F("NAME").Clear();
    EXPECT_EQ(F("NAME").AsInteger(), 0) << "an empty field reads as zero";
    EXPECT_TRUE(F("NAME").IsNull());
}

TEST_F(Fields, PropertyChangesReachTheLinks)
{
    Link.Clear();
    F("NAME").SetDisplayLabel("Name");
    EXPECT_EQ(Link.Count("LayoutChanged"), 1);
    EXPECT_EQ(F("NAME").DisplayName(), "Name");
    F("NAME").SetDisplayLabel("Name");
    EXPECT_EQ(Link.Count("LayoutChanged"), 1) << "an unchanged setting notifies nobody";
    F("F").SetDisplayFormat("0.0");
    EXPECT_EQ(Link.Count("DataSetChanged"), 1);
    F("F").SetVisible(false);
    F("F").SetDisplayWidth(30);
    EXPECT_EQ(Link.Count("LayoutChanged"), 3);
    EXPECT_EQ(F("F").DisplayWidth(), 30);
}

TEST_F(Fields, IndexMovesTheFieldInItsList)
{
    TField* memo = &F("M");
    memo->SetIndex(0);
    EXPECT_EQ(Table.Fields()[0], memo);
    EXPECT_EQ(memo->Index(), 0);
    memo->SetIndex(1000);
    EXPECT_EQ(memo->Index(), Table.FieldCount() - 1);
    EXPECT_EQ(Table.FieldByName("I")->Index(), 0);
}

TEST(FieldNames, SplitOnSemicolonsTrimmingBlanks)
{
    EXPECT_EQ(SplitFieldNames(" A ;B;; C"), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_TRUE(SplitFieldNames("").empty());
}

} // namespace
