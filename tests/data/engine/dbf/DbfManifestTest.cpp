// Every dBASE/FoxPro table of the shared test data, read through the
// driver and checked against what independent readers decoded from it.

#include "DbfTestSupport.h"
#include "support/JsonValue.h"

#include "data/engine/CodePage.h"
#include "data/engine/dbf/DbfDates.h"
#include "platform/DateTimeParts.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <strings.h>

namespace {

int CodePageNumber(const std::string& pythonName)
{
    static const std::map<std::string, int> names = {
        {"cp936", 936}, {"big5", 950}, {"utf-8", 65001}, {"cp1250", 1250}, {"cp1251", 1251},
        {"cp1252", 1252}, {"cp437", 437}, {"cp850", 850}, {"cp852", 852}, {"cp866", 866}, {"cp874", 874}};
    auto it = names.find(pythonName);
    return it == names.end() ? 0 : it->second;
}

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// What our engine shows for text the reference reader decoded with another
// code page: the same bytes, decoded with the table's code page.
std::string AsReadWith(const std::string& text, int referenceCodePage, int ourCodePage)
{
    if (IsAscii(text) || referenceCodePage == 0 || referenceCodePage == ourCodePage)
        return text;
    std::string bytes = TCodePage(referenceCodePage).FromUtf8(text);
    if (ourCodePage == 936 || ourCodePage == 950) {
        size_t i = 0;
        while (i < bytes.size()) i += static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
        if (i > bytes.size()) bytes.pop_back();
    }
    return TCodePage(ourCodePage).ToUtf8(bytes);
}

size_t Utf8Length(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Hex(const TBytes& bytes, size_t limit)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string DateText(double value)
{
    int64_t days, ms;
    SplitDateTime(value, days, ms);
    int64_t y;
    unsigned m, d;
    DbfDates::CivilFromDays(days - DbfDates::UnixToDateTimeDays, y, m, d);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(y), m, d);
    return text;
}

double ParseIsoDateTime(const std::string& iso)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0;
    std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%lf", &y, &mo, &d, &h, &mi, &s);
    int64_t days = DbfDates::DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) + DbfDates::UnixToDateTimeDays;
    int64_t ms = std::llround((h * 3600 + mi * 60 + s) * 1000);
    return DateTimeFromDayAndMilliseconds(days, ms);
}

struct TCheckContext {
    std::string Table;
    std::string FieldName;
    int ReferenceCodePage = 0;
    int OurCodePage = 0;
    // dbfread reads dBASE IV memos with a fixed 512-byte block, keeps the
    // 8 bytes past the end and stops at 0x1F; its memo values of such
    // tables are only a rough check (0 when the blocks are not 512 bytes:
    // then it reads other blocks altogether).
    bool DBase4Memos = false;
    int DBase4BlockSize = 0;
};

// Compares one value; returns false when the manifest has nothing to compare.
bool CheckValue(const TCheckContext& c, const TEngineFieldDef& def, const TVariant& ours, const TJsonValue& expected)
{
    SCOPED_TRACE(c.Table + " field " + c.FieldName);
    if (c.DBase4Memos && IsBlobType(def.DataType)) {
        if (c.DBase4BlockSize != 512 || ours.IsNull())
            return false;
        std::string got = ours.AsString();
        if (expected.IsString()) {
            EXPECT_EQ(expected.AsString().substr(0, got.size()), got);
            EXPECT_LE(expected.AsString().size(), got.size() + 8);
        } else if (expected["kind"].AsString() == "text") {
            EXPECT_EQ(got.substr(0, expected["prefix"].AsString().size()), expected["prefix"].AsString());
            EXPECT_LE(expected["chars"].AsNumber(), Utf8Length(got) + 8);
        } else {
            std::vector<uint8_t> head = FromHex(expected["head_hex"].AsString());
            std::string headText = TCodePage(c.OurCodePage).ToUtf8(std::string(head.begin(), head.end()));
            EXPECT_EQ(got.substr(0, headText.size()), headText);
        }
        return true;
    }
    if (expected.IsObject()) {
        if (expected.Has("unverified"))
            return false;
        if (expected.Has("unparsed_raw_hex")) {
            EXPECT_TRUE(ours.IsNull()) << "an unreadable stored value shows as empty";
            return true;
        }
        std::string kind = expected["kind"].AsString();
        if (kind == "binary") {
            size_t count = static_cast<size_t>(expected["bytes"].AsNumber());
            if (count == 0 && ours.IsNull())
                return true;
            std::string head = expected["head_hex"].AsString();
            if (ours.VarType() == varString) {
                // Binary data in a text memo: each byte of a single-byte
                // code page is one character.
                EXPECT_EQ(Utf8Length(ours.AsString()), count);
                std::vector<uint8_t> headBytes = FromHex(head);
                std::string headText = TCodePage(c.OurCodePage).ToUtf8(std::string(headBytes.begin(), headBytes.end()));
                EXPECT_EQ(ours.AsString().substr(0, headText.size()), headText);
                return true;
            }
            TBytes bytes = ours.AsBytes();
            EXPECT_EQ(bytes.size(), count);
            EXPECT_EQ(Hex(bytes, head.size() / 2), head);
            return true;
        }
        if (kind == "text") {
            std::string text = ours.VarType() == varBytes ? TCodePage(c.ReferenceCodePage ? c.ReferenceCodePage : 1252).ToUtf8(ours.AsString())
                                                          : ours.AsString();
            std::string prefix = AsReadWith(expected["prefix"].AsString(), c.ReferenceCodePage, c.OurCodePage);
            if (ours.VarType() != varBytes) {
                EXPECT_EQ(Utf8Length(text), static_cast<size_t>(expected["chars"].AsNumber()));
            }
            EXPECT_EQ(text.substr(0, prefix.size()), prefix);
            return true;
        }
        ADD_FAILURE() << "unknown manifest value";
        return false;
    }
    if (expected.IsNull()) {
        EXPECT_TRUE(ours.IsNull()) << "got " << ours.AsString();
        return true;
    }
    const std::string& text = expected.AsString();
    switch (def.DataType) {
    case ftString: case ftMemo:
        EXPECT_EQ(ours.AsString(), AsReadWith(text, c.ReferenceCodePage, c.OurCodePage));
        break;
    case ftBytes: case ftBlob: case ftVarBytes: {
        std::string bytes = ours.AsString();
        while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == '\0'))
            bytes.pop_back();
        EXPECT_EQ(TCodePage(c.ReferenceCodePage ? c.ReferenceCodePage : 1252).ToUtf8(bytes), text);
        break;
    }
    case ftSmallint: case ftInteger: case ftLargeint: case ftAutoInc: case ftFloat: case ftCurrency: case ftBCD: {
        EXPECT_FALSE(ours.IsNull());
        double want = std::stod(text);
        double got = ours.AsDouble();
        EXPECT_NEAR(got, want, std::fabs(want) * 1e-12 + 1e-12);
        break;
    }
    case ftBoolean:
        EXPECT_EQ(ours.IsNull() ? "null" : (ours.AsBoolean() ? "true" : "false"), text);
        break;
    case ftDate:
        EXPECT_FALSE(ours.IsNull());
        if (!ours.IsNull()) {
            EXPECT_EQ(DateText(ours.AsDateTime()), text);
        }
        break;
    case ftDateTime:
        EXPECT_FALSE(ours.IsNull());
        if (!ours.IsNull()) {
            EXPECT_NEAR(ours.AsDateTime(), ParseIsoDateTime(text), 1.5 / 86400000.0);
        }
        break;
    default:
        ADD_FAILURE() << "unexpected field type " << FieldTypeName(def.DataType);
    }
    return true;
}

// Null bits of Visual FoxPro fields, in the order the format assigns them.
std::map<size_t, int> NullBits(const TJsonValue& fields)
{
    std::map<size_t, int> bits;
    int next = 0;
    for (size_t i = 0; i < fields.Items().size(); ++i) {
        const TJsonValue& f = fields.Items()[i];
        std::string type = f["type"].AsString();
        int flags = std::stoi(f["flags"].AsString(), nullptr, 16);
        if (type == "0")
            continue;
        if (type == "V" || type == "Q")
            ++next;
        if (flags & 0x02)
            bits[i] = next++;
    }
    return bits;
}

} // namespace

TEST(DbfManifest, EveryTableReadsAsTheIndependentReadersDecodedIt)
{
    TJsonValue manifest = TJsonValue::ParseFile(SharedDir() + "/testdata/manifest.json");
    int tables = 0, compared = 0, counted = 0;
    for (const TJsonValue& table : manifest["tables"].Items()) {
        if (table["format"].AsString() != "dbf")
            continue;
        ++tables;
        const std::string path = SharedDir() + "/testdata/" + table["path"].AsString();
        SCOPED_TRACE(table["path"].AsString());
        std::unique_ptr<TEngineCursor> cursor;
        try {
            cursor = OpenDbf(path, true);
        } catch (const EDBEngineError& e) {
            ADD_FAILURE() << "cannot open: " << e.Message();
            continue;
        }
        EXPECT_FALSE(cursor->CanModify());
        std::vector<TEngineRecord> records = ReadAll(*cursor);

        const TJsonValue& counts = table["records"];
        const TJsonValue& structure = table["unverified_structure"];
        if (counts.IsObject()) {
            EXPECT_EQ(static_cast<double>(records.size()), counts["non_deleted"].AsNumber());
            EXPECT_EQ(static_cast<double>(cursor->RecordCount()), counts["non_deleted"].AsNumber());
            ++counted;
        } else if (structure.IsObject()) {
            EXPECT_EQ(static_cast<double>(records.size()), structure["non_deleted"].AsNumber());
            EXPECT_EQ(cursor->FieldDefs().size(), structure["fields"].Items().size());
            ++counted;
        }

        const TJsonValue& first = table["first_record"];
        if (!first.IsObject() || !first["values"].IsArray() || first["values"].Items().empty())
            continue;
        ASSERT_FALSE(records.empty());
        cursor->SetToBegin();
        TEngineRecord record;
        ASSERT_TRUE(cursor->Next(record));
        EXPECT_EQ(cursor->RecNo(), static_cast<int64_t>(first["physical_index"].AsNumber()) + 1);

        TCheckContext context;
        context.Table = table["path"].AsString();
        context.OurCodePage = cursor->CodePage();
        std::string used = table["code_page"]["used_for_decoding"].IsString() ? table["code_page"]["used_for_decoding"].AsString() : "";
        context.ReferenceCodePage = CodePageNumber(used);
        std::string version = table["version_byte"].AsString();
        context.DBase4Memos = version == "0x8B" || version == "0xCB" || version == "0x8C";
        for (const TJsonValue& companion : table["companion_files"].Items()) {
            std::string name = companion.AsString();
            if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".dbt") == 0) {
                std::string header = ReadFileBytes(SharedDir() + "/testdata/" + name).substr(0, 22);
                context.DBase4BlockSize = static_cast<uint8_t>(header[20]) | (static_cast<uint8_t>(header[21]) << 8);
            }
        }

        // The manifest's fields include hidden ones; ours do not.  A reader
        // that keys values by name keeps one value per name: the last.
        const TJsonValue& fields = table["fields"];
        std::map<size_t, int> nullBits = NullBits(fields);
        std::vector<uint8_t> nullFlags;
        std::vector<std::string> uniqueNames;
        std::map<std::string, size_t> lastVisible;   // name -> our column
        size_t column = 0;
        for (size_t i = 0; i < fields.Items().size(); ++i) {
            const TJsonValue& f = fields.Items()[i];
            const std::string name = f["name"].AsString();
            bool hidden = f["type"].AsString() == "0" || name == "_DBASELOCK";
            if (std::find(uniqueNames.begin(), uniqueNames.end(), name) == uniqueNames.end())
                uniqueNames.push_back(name);
            if (f["type"].AsString() == "0" && i < first["values"].Items().size())
                nullFlags = FromHex(first["values"].Items()[std::find(uniqueNames.begin(), uniqueNames.end(), name) - uniqueNames.begin()]["head_hex"].AsString());
            if (!hidden)
                lastVisible[name] = column++;
        }
        ASSERT_EQ(column, cursor->FieldDefs().size());
        std::set<std::string> seenNames;
        for (size_t i = 0, col = 0; i < fields.Items().size(); ++i) {
            const TJsonValue& f = fields.Items()[i];
            if (f["type"].AsString() == "0" || f["name"].AsString() == "_DBASELOCK")
                continue;
            if (seenNames.insert(f["name"].AsString()).second) {
                EXPECT_EQ(cursor->FieldDefs()[col].Name, AsReadWith(f["name"].AsString(), context.ReferenceCodePage, context.OurCodePage));
            }
            ++col;
        }
        std::map<size_t, size_t> manifestIndexOfColumn;
        for (size_t i = 0, col = 0; i < fields.Items().size(); ++i) {
            const TJsonValue& f = fields.Items()[i];
            if (f["type"].AsString() == "0" || f["name"].AsString() == "_DBASELOCK")
                continue;
            manifestIndexOfColumn[col++] = i;
        }
        for (size_t k = 0; k < uniqueNames.size() && k < first["values"].Items().size(); ++k) {
            auto it = lastVisible.find(uniqueNames[k]);
            if (it == lastVisible.end())
                continue;
            size_t col = it->second;
            size_t manifestIndex = manifestIndexOfColumn[col];
            context.FieldName = uniqueNames[k];
            const TJsonValue& expected = first["values"].Items()[k];
            auto bit = nullBits.find(manifestIndex);
            if (bit != nullBits.end() && !nullFlags.empty() &&
                (nullFlags[static_cast<size_t>(bit->second / 8)] >> (bit->second % 8) & 1)) {
                EXPECT_TRUE(record[col].IsNull()) << context.Table << " " << context.FieldName << " is flagged null";
                ++compared;
                continue;
            }
            if (CheckValue(context, cursor->FieldDefs()[col], record[col], expected))
                ++compared;
        }
    }
    EXPECT_EQ(tables, 73);
    EXPECT_GT(counted, 65);
    EXPECT_GT(compared, 900);
}
