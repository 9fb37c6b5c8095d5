// Every Paradox table of the shared test data, read through the driver and
// compared with what an independent reader decoded (manifest.json).

#include "support/JsonValue.h"
#include "ParadoxTestSupport.h"
#include "Sha256.h"

#include "data/engine/EngineStatus.h"

#include "platform/DateTimeParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const TJsonValue& Manifest()
{
    static const TJsonValue manifest = TJsonValue::Parse(ReadFileBytes(SharedPath("manifest.json")));
    return manifest;
}

std::vector<const TJsonValue*> ParadoxTables()
{
    std::vector<const TJsonValue*> tables;
    for (const TJsonValue& t : Manifest()["tables"].Items())
        if (t["format"].AsString() == "paradox")
            tables.push_back(&t);
    return tables;
}

// Whether the manifest decoded text with another code page than the header's.
bool TextDecodedDifferently(const TJsonValue& table)
{
    const TJsonValue& cp = table["code_page"];
    return !cp["note"].IsNull() && cp["used_for_decoding"].AsString() != "ascii";
}

void ExpectValue(const TEngineFieldDef& def, const TVariant& actual, const TJsonValue& expected, bool compareText,
                 const std::string& where)
{
    SCOPED_TRACE(where + " field " + def.Name + " (" + def.NativeType + ")");
    if (expected.IsNull()) {
        EXPECT_TRUE(actual.IsNull()) << "expected no value";
        return;
    }
    if (expected.IsObject()) {
        if (expected["unverified"].AsBool())
            return;
        ASSERT_FALSE(actual.IsNull());
        if (expected["kind"].AsString() == "binary") {
            TBytes bytes = actual.AsBytes();
            std::string data(bytes.begin(), bytes.end());
            EXPECT_EQ(data.size(), static_cast<size_t>(expected["bytes"].AsNumber()));
            EXPECT_EQ(Sha256Hex(data), expected["sha256"].AsString());
        } else if (compareText) {
            std::string text = actual.AsString();
            EXPECT_EQ(Sha256Hex(text), expected["sha256_utf8"].AsString());
        }
        return;
    }
    ASSERT_FALSE(actual.IsNull()) << "expected " << expected.AsString();
    const std::string& text = expected.AsString();
    const std::string& type = def.NativeType;
    if (type == "A" || type == "M") {
        if (compareText) {
            EXPECT_EQ(actual.AsString(), text);
        }
    } else if (type == "L") {
        EXPECT_EQ(actual.AsBoolean(), text == "true");
    } else if (type == "D") {
        EXPECT_EQ(DateText(actual.AsDateTime()), text);
    } else if (type == "T") {
        EXPECT_EQ(TimeText(actual.AsDateTime()), text);
    } else if (type == "@") {
        EXPECT_EQ(DateTimeText(actual.AsDateTime()), text);
    } else if (type == "#") {
        double value = actual.VarType() == varCurrency ? actual.AsCurrency().ToDouble() : actual.AsDouble();
        EXPECT_NEAR(value, std::strtod(text.c_str(), nullptr), 1e-4 * std::max(1.0, std::fabs(value)));
    } else {
        double value = actual.VarType() == varInteger ? actual.AsInteger() : actual.AsDouble();
        EXPECT_DOUBLE_EQ(value, std::strtod(text.c_str(), nullptr));
    }
}

std::vector<std::string> PasswordsOf(const TJsonValue& table)
{
    if (table["password"].IsString())
        return {table["password"].AsString()};
    return {};
}

} // namespace

TEST(ParadoxManifest, EveryTableReadsAsTheIndependentReaderDecodedIt)
{
    auto tables = ParadoxTables();
    ASSERT_EQ(tables.size(), 40u);
    for (const TJsonValue* t : tables) {
        const TJsonValue& table = *t;
        std::string path = table["path"].AsString();
        SCOPED_TRACE(path);
        std::unique_ptr<TEngineCursor> cursor;
        ASSERT_NO_THROW(cursor = OpenParadox(SharedPath(path), true, PasswordsOf(table)));
        const auto& defs = cursor->FieldDefs();
        const auto& fields = table["fields"].Items();
        ASSERT_EQ(defs.size(), fields.size());
        for (size_t i = 0; i < defs.size(); ++i) {
            EXPECT_EQ(defs[i].NativeType, fields[i]["type"].AsString());
            if (!TextDecodedDifferently(table)) {
                EXPECT_EQ(defs[i].Name, fields[i]["name"].AsString());
            }
        }
        EXPECT_EQ(cursor->RecordCount(), static_cast<int64_t>(table["records"]["count"].AsNumber()));
        EXPECT_TRUE(cursor->IsSequenced());
        int expectedCodePage = static_cast<int>(table["code_page"]["header"].AsNumber());
        EXPECT_EQ(cursor->CodePage(), expectedCodePage == 0 ? 936 : expectedCodePage);

        const TJsonValue& first = table["first_record"];
        if (first.IsNull() || first["values"].IsNull())
            continue;
        TEngineRecord record;
        cursor->SetToBegin();
        ASSERT_TRUE(cursor->Next(record));
        for (size_t i = 0; i < defs.size(); ++i)
            ExpectValue(defs[i], record[i], first["values"][i], !TextDecodedDifferently(table), "first record");
    }
}

TEST(ParadoxManifest, TypeCollectionReadsEveryRecordExactly)
{
    for (const TJsonValue* t : ParadoxTables()) {
        if (!(*t).Has("all_records"))
            continue;
        auto cursor = OpenParadox(SharedPath((*t)["path"].AsString()), true);
        auto records = ReadAll(*cursor);
        const auto& expected = (*t)["all_records"].Items();
        ASSERT_EQ(records.size(), expected.size());
        for (size_t r = 0; r < records.size(); ++r)
            for (size_t i = 0; i < records[r].size(); ++i)
                ExpectValue(cursor->FieldDefs()[i], records[r][i], expected[r][i], true, "record " + std::to_string(r + 1));
        // Values the independent reader could not print: a date and a time
        // stamp before year 1 (stored day -366, stored milliseconds
        // -31618800000: day -366 at 01:00, the time counted forward from
        // that day's midnight).
        EXPECT_DOUBLE_EQ(records[2][6].AsDateTime(), -366.0 - 693594);
        EXPECT_DOUBLE_EQ(records[2][8].AsDateTime(), DateTimeFromDayAndMilliseconds(-366 - 693594, 3600000));
        // A BCD whose first byte lacks the value bit (0x06: no digits follow) is blank.
        EXPECT_TRUE(records[1][5].IsNull());
    }
}

TEST(ParadoxManifest, EncryptedTablesNeedTheirPassword)
{
    for (const TJsonValue* t : ParadoxTables()) {
        if (!(*t)["encrypted"].AsBool())
            continue;
        std::string path = SharedPath((*t)["path"].AsString());
        SCOPED_TRACE(path);
        try {
            OpenParadox(path, true);
            ADD_FAILURE() << "opened without a password";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_NOTSUFFTABLERIGHTS);
        }
        try {
            OpenParadox(path, true, {"wrong", "1234"});
            ADD_FAILURE() << "opened with wrong passwords";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_NOTSUFFTABLERIGHTS);
        }
        EXPECT_NO_THROW(OpenParadox(path, true, {"wrong", "123"}));
    }
}
