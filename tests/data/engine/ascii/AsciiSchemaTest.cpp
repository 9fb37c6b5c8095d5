#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiSchema.h"

#include <gtest/gtest.h>

namespace {

const char* const CustomerSchema =
    "[CUSTOMER]\r\n"
    "FILETYPE = VARYING\r\n"
    "CHARSET = ascii\r\n"
    "DELIMITER = \"\r\n"
    "SEPARATOR = ,\r\n"
    "Field1 = CustNo,FLOAT,20,00,00\r\n"
    "Field2 = Name,CHAR,30,00,20\r\n"
    "Field3 = Since,DATE,10,00,50\r\n";

uint16_t ParseError(const std::string& text, std::string* message = nullptr)
{
    try {
        ParseAsciiSchema(text, "T", "t.sch");
    } catch (const EDBEngineError& e) {
        if (message)
            *message = e.Message();
        return e.ErrorCode();
    }
    return DBIERR_NONE;
}

} // namespace

TEST(AsciiSchema, ReadsTheDocumentedExample)
{
    TAsciiSchema schema = ParseAsciiSchema(CustomerSchema, "customer", "customer.sch");
    EXPECT_EQ(schema.TableName, "CUSTOMER");
    EXPECT_EQ(schema.FileType, TAsciiFileType::Varying);
    EXPECT_EQ(schema.CodePage, 437);
    EXPECT_EQ(schema.Delimiter, '"');
    EXPECT_EQ(schema.Separator, ',');
    ASSERT_EQ(schema.Fields.size(), 3u);
    EXPECT_EQ(schema.Fields[0].Name, "CustNo");
    EXPECT_EQ(schema.Fields[0].Type, TAsciiType::Float);
    EXPECT_EQ(schema.Fields[0].Width, 20);
    EXPECT_EQ(schema.Fields[1].Name, "Name");
    EXPECT_EQ(schema.Fields[1].Offset, 20);
    EXPECT_EQ(AsciiFieldDef(schema.Fields[1]).DataType, ftString);
    EXPECT_EQ(AsciiFieldDef(schema.Fields[1]).Size, 30);
    EXPECT_EQ(AsciiFieldDef(schema.Fields[2]).DataType, ftDate);
}

TEST(AsciiSchema, KeysTypesAndValuesIgnoreCaseAndFieldOrderFollowsNumbers)
{
    TAsciiSchema schema = ParseAsciiSchema("[t]\nfiletype=fixed\ncharset=ANSIINTL\n"
                                           "field2=B,longint,11,0,5\nFIELD1=A,Bool,1,0,0\n; a comment\n",
                                           "t", "t.sch");
    EXPECT_EQ(schema.FileType, TAsciiFileType::Fixed);
    EXPECT_EQ(schema.CodePage, 1252);
    ASSERT_EQ(schema.Fields.size(), 2u);
    EXPECT_EQ(schema.Fields[0].Name, "A");
    EXPECT_EQ(schema.Fields[0].Type, TAsciiType::Bool);
    EXPECT_EQ(schema.Fields[1].Type, TAsciiType::LongInt);
    EXPECT_EQ(schema.FixedLineLength(), 16);
}

TEST(AsciiSchema, CodePages)
{
    EXPECT_EQ(ParseAsciiSchema("CHARSET = ascii\nCODEPAGE = 850\nField1=A,CHAR,1,0,0", "t", "t.sch").CodePage, 850);
    EXPECT_EQ(ParseAsciiSchema("CHARSET = 866\nField1=A,CHAR,1,0,0", "t", "t.sch").CodePage, 866);
    EXPECT_EQ(ParseAsciiSchema("CHARSET = ansiintl\nField1=A,CHAR,1,0,0", "t", "t.sch").CodePage, 1252);
    // Nothing recorded: the engine's default code page.
    EXPECT_EQ(ParseAsciiSchema("Field1=A,CHAR,1,0,0", "t", "t.sch").CodePage, 0);
    EXPECT_EQ(AsciiCharsetName(437), "ascii");
    EXPECT_EQ(AsciiCharsetName(1252), "ansiintl");
    EXPECT_EQ(AsciiCharsetName(936), "936");
}

TEST(AsciiSchema, FieldNamesMayHoldCommasAndAreConvertedFromTheCodePage)
{
    TAsciiSchema schema = ParseAsciiSchema("CHARSET=ascii\nField1=Last, first,CHAR,10,0,0\nField2=Caf\x82,CHAR,4,0,10",
                                           "t", "t.sch");
    EXPECT_EQ(schema.Fields[0].Name, "Last, first");
    EXPECT_EQ(schema.Fields[1].Name, "Caf\xC3\xA9");
}

TEST(AsciiSchema, SeparatorMayBeATab)
{
    TAsciiSchema schema = ParseAsciiSchema("SEPARATOR = \t\nDELIMITER = '\nField1=A,CHAR,1,0,0", "t", "t.sch");
    EXPECT_EQ(schema.Separator, '\t');
    EXPECT_EQ(schema.Delimiter, '\'');
}

TEST(AsciiSchema, SkipsAByteOrderMark)
{
    TAsciiSchema schema = ParseAsciiSchema("\xEF\xBB\xBF[T]\r\nField1=A,CHAR,1,0,0\r\n", "t", "t.sch");
    EXPECT_EQ(schema.TableName, "T");
    EXPECT_EQ(schema.Fields.size(), 1u);
}

TEST(AsciiSchema, PicksTheSectionOfTheTable)
{
    TAsciiSchema schema =
        ParseAsciiSchema("[OTHER]\nField1=X,CHAR,1,0,0\n[ORDERS]\nField1=Y,CHAR,1,0,0\n", "orders", "orders.sch");
    EXPECT_EQ(schema.Fields[0].Name, "Y");
}

TEST(AsciiSchema, MalformedSchemasFailWithTheirFault)
{
    std::string message;
    EXPECT_EQ(ParseError("[T]\nFILETYPE = VARYING\n", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("names no fields"), std::string::npos) << message;
    EXPECT_NE(message.find("t.sch"), std::string::npos) << message;

    EXPECT_EQ(ParseError("Field1=A,MONEY,10,0,0", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("unknown type \"MONEY\""), std::string::npos) << message;
    EXPECT_EQ(ParseError("Field1=A,CHAR,ten,0,0", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("invalid width"), std::string::npos) << message;
    EXPECT_EQ(ParseError("Field1=A,CHAR,0,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("Field1=A,CHAR,10"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("Field1=,CHAR,10,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("Field1=A,CHAR,10,0,-3"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("Field1=A,CHAR,1,0,0\nField3=B,CHAR,1,0,1", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("Field2 is missing"), std::string::npos) << message;
    EXPECT_EQ(ParseError("Field1=A,CHAR,1,0,0\nField1=B,CHAR,1,0,1", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("given twice"), std::string::npos) << message;
    EXPECT_EQ(ParseError("Field1=A,CHAR,1,0,0\nField2=a,CHAR,1,0,1"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("FILETYPE=CSV\nField1=A,CHAR,1,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("SEPARATOR=;;\nField1=A,CHAR,1,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("SEPARATOR=\"\nField1=A,CHAR,1,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("CODEPAGE=latin\nField1=A,CHAR,1,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("[T\nField1=A,CHAR,1,0,0"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("Field1 A CHAR"), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError(""), DBIERR_HEADERCORRUPT);
    EXPECT_EQ(ParseError("FILETYPE=FIXED\nField1=A,CHAR,5,0,0\nField2=B,CHAR,5,0,4", &message), DBIERR_HEADERCORRUPT);
    EXPECT_NE(message.find("overlap"), std::string::npos) << message;
}

TEST(AsciiSchema, FormattedSchemaReadsBackTheSame)
{
    TAsciiSchema schema;
    schema.TableName = "PARTS";
    schema.FileType = TAsciiFileType::Fixed;
    schema.CodePage = 1252;
    schema.Fields = {{"Part", TAsciiType::Char, 12, 0, 0},
                     {"Price", TAsciiType::Currency, 20, 2, 12},
                     {"Stamp", TAsciiType::Timestamp, 23, 0, 32}};
    std::string text = FormatAsciiSchema(schema, "\r\n");
    EXPECT_NE(text.find("Field2 = Price,CURRENCY,20,02,12\r\n"), std::string::npos) << text;
    TAsciiSchema back = ParseAsciiSchema(text, "parts", "parts.sch");
    EXPECT_EQ(back.TableName, "PARTS");
    EXPECT_EQ(back.FileType, TAsciiFileType::Fixed);
    EXPECT_EQ(back.CodePage, 1252);
    ASSERT_EQ(back.Fields.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.Fields[i].Name, schema.Fields[i].Name);
        EXPECT_EQ(back.Fields[i].Type, schema.Fields[i].Type);
        EXPECT_EQ(back.Fields[i].Width, schema.Fields[i].Width);
        EXPECT_EQ(back.Fields[i].Decimals, schema.Fields[i].Decimals);
        EXPECT_EQ(back.Fields[i].Offset, schema.Fields[i].Offset);
    }
}

TEST(AsciiSchema, TypeMapping)
{
    const std::pair<const char*, TFieldType> expected[] = {
        {"CHAR", ftString}, {"FLOAT", ftFloat}, {"NUMBER", ftSmallint}, {"BOOL", ftBoolean},
        {"LONGINT", ftInteger}, {"DATE", ftDate}, {"TIME", ftTime}, {"TIMESTAMP", ftDateTime},
        {"CURRENCY", ftCurrency}};
    for (const auto& [name, fieldType] : expected) {
        TAsciiType type;
        ASSERT_TRUE(AsciiTypeFromName(name, type)) << name;
        EXPECT_EQ(AsciiTypeToFieldType(type), fieldType) << name;
        TAsciiType back;
        ASSERT_TRUE(AsciiTypeFromFieldType(fieldType, back)) << name;
        EXPECT_EQ(back, type) << name;
    }
    TAsciiType type;
    EXPECT_FALSE(AsciiTypeFromFieldType(ftBlob, type));
    EXPECT_FALSE(AsciiTypeFromFieldType(ftAutoInc, type));
}

TEST(AsciiSchema, DelimiterDefaultsToTheDoubleQuoteAndCanBeSwitchedOff)
{
    EXPECT_EQ(ParseAsciiSchema("Field1=A,CHAR,1,0,0", "t", "t.sch").Delimiter, '"');
    EXPECT_EQ(ParseAsciiSchema("DELIMITER =\nField1=A,CHAR,1,0,0", "t", "t.sch").Delimiter, 0);
    EXPECT_EQ(ParseAsciiSchema("SEPARATOR =\nField1=A,CHAR,1,0,0", "t", "t.sch").Separator, ',');
    EXPECT_EQ(ParseAsciiSchema("Field1=A,CHAR,1,0,0", "t", "t.sch").FileType, TAsciiFileType::Varying);
}

TEST(AsciiSchema, EverySizeAndOffsetOutOfRangeIsRefusedWithTheSchemaError)
{
    struct TCase {
        const char* Line;
        const char* Fault;
    };
    const TCase cases[] = {
        {"Field1=A,CHAR,0,0,0", "invalid width"},
        {"Field1=A,CHAR,-5,0,0", "invalid width"},
        {"Field1=A,CHAR,65536,0,0", "invalid width"},
        {"Field1=A,CHAR,99999999999999999999,0,0", "invalid width"},
        {"Field1=A,FLOAT,10,-1,0", "invalid decimals"},
        {"Field1=A,FLOAT,10,31,0", "invalid decimals"},
        {"Field1=A,CHAR,10,0,-1", "invalid offset"},
        {"Field1=A,CHAR,10,0,16777217", "invalid offset"},
        {"Field0=A,CHAR,10,0,0", "Invalid field entry"},
        {"Field99999999999=A,CHAR,10,0,0", "Invalid field entry"},
        {"Field2=A,CHAR,10,0,0", "Field1 is missing"},
        {"FILETYPE=FIXED\nField1=A,CHAR,10,0,5\nField2=B,CHAR,10,0,0", "overlap"},
    };
    for (const TCase& c : cases) {
        std::string message;
        EXPECT_EQ(ParseError(c.Line, &message), DBIERR_HEADERCORRUPT) << c.Line;
        EXPECT_NE(message.find(c.Fault), std::string::npos) << c.Line << ": " << message;
        EXPECT_NE(message.find("t.sch"), std::string::npos) << c.Line << ": the message names the file";
    }
}
