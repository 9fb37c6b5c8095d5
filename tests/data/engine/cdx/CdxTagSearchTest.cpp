// Locate and Lookup answered through a table's tags find the record a walk
// through the table finds: exact, partial and case-blind searches of text,
// number and integer columns, over repeated keys, case variants, accented
// letters, blank and deleted records and a value padded with zero bytes.
// Where the index is out of date or damaged the search is left to the
// records, and the answer is still the walk's.

#include "CdxTestSupport.h"

#include "data/SearchedCursor.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "support/FieldDefs.h"
#include "support/FileBytes.h"
#include "support/FileTimes.h"
#include "support/ScratchDir.h"
#include "support/SearchWalk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using TAnswer = TEngineCursor::TIndexedFind;

enum TColumn { ColId, ColName, ColCity, ColAmount };

// Texts with repeats, case variants and accented letters of code page 1252.
const char* const Words[] = {"anna", "Anna", "ANNA", "annabel", "Bert", "bert", "berta", "\xC3\x96lbaum",
                             "\xC3\xB6lbaum", "\xC3\x96LBAUM", "z\xC3\xA9", "Z\xC3\x89", "\xC3\xBF" "es",
                             "\xC5\xB8" "es", "o'Brien", "", "an", "a b", "A B", "12", "120"};
const double Amounts[] = {-1.5, 0, 2.25, 7, 120};

// Keys searched for: every word and some prefixes.
std::vector<std::string> Keys()
{
    std::vector<std::string> keys(std::begin(Words), std::end(Words));
    for (const char* prefix : {"a", "A", "AN", "b", "\xC3\xB6", "\xC3\x96L", "z", "Z", "A ", "1", "o'", "q"})
        keys.emplace_back(prefix);
    keys.erase(std::remove(keys.begin(), keys.end(), std::string()), keys.end());
    return keys;
}

// Required columns: a Visual FoxPro table without null flags.
TEngineFieldDef Field(const std::string& name, TFieldType type, int size)
{
    TEngineFieldDef def = FieldDef(name, type, size);
    def.Required = true;
    return def;
}

TEngineFieldDef Amount()
{
    TEngineFieldDef def = Field("AMOUNT", ftFloat, 0);
    def.NativeType = "N";
    def.Precision = 10;
    def.Scale = 2;
    return def;
}

const TDbfField& HeaderField(TDbfCursor& table, const std::string& name)
{
    for (const TDbfField& field : table.Header().Fields)
        if (field.Name == name)
            return field;
    throw std::runtime_error("no field " + name);
}

// A Visual FoxPro table in code page 1252 whose index has a tag on each
// searched column: ID, UPPER(NAME), CITY and AMOUNT.  `names` fill NAME
// and CITY of records 1, 2, ...; every fifth record is deleted.
std::string MakeSearchTable(const TScratchDir& dir, const std::vector<std::string>& names)
{
    TCreateTableParams create;
    create.Path = dir.File("search.dbf");
    create.Level = "VFP";
    create.CodePage = 1252;
    create.Fields = {Field("ID", ftInteger, 0), Field("NAME", ftString, 12), Field("CITY", ftString, 10),
                     Amount()};
    CdxDbfDriver().CreateTable(create);
    {
        auto table = OpenIndexedTable(create.Path);
        for (size_t i = 0; i < names.size(); ++i) {
            TEngineRecord record{TVariant(static_cast<int32_t>(i % 13)), TVariant(names[i]),
                                 TVariant(names[(i * 7) % names.size()]), TVariant(Amounts[i % std::size(Amounts)])};
            table->InsertRecord(record, true);
        }
        for (size_t recNo = 5; recNo <= names.size(); recNo += 5) {
            if (!table->SetRecNo(static_cast<int64_t>(recNo)))
                throw std::runtime_error("record " + std::to_string(recNo) + " is missing");
            table->DeleteRecord();
        }
    }
    cdx::CreateIndexFile(dir.File("search.cdx"), {{"ID", "ID", "", 4, 0, false},
                                                  {"NAME", "UPPER(NAME)", "", 12, 0, false},
                                                  {"CITY", "CITY", "", 10, 0, false},
                                                  {"AMOUNT", "AMOUNT", "", 8, 0, false}});
    std::string bytes = ReadFileBytes(create.Path);
    bytes[28] = static_cast<char>(bytes[28] | 0x01);
    WriteFileBytes(create.Path, bytes);
    OpenIndexedTable(create.Path)->RebuildIndex();
    return create.Path;
}

std::vector<std::string> RandomNames(size_t count, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.emplace_back(Words[random() % std::size(Words)]);
    return names;
}

// Writes `text` into a record's field as its bytes, padded with `pad`, behind the index's back.
void OverwriteField(const std::string& path, TDbfCursor& table, uint32_t recNo, const std::string& field,
                    const std::string& text, char pad)
{
    const TDbfField& f = HeaderField(table, field);
    std::string bytes = ReadFileBytes(path);
    const size_t at = table.Header().HeaderLength + (recNo - 1) * table.Header().RecordLength + f.Offset;
    std::string value = text;
    value.resize(static_cast<size_t>(f.Length), pad);
    bytes.replace(at, value.size(), value);
    WriteFileBytes(path, bytes);
}

std::string Describe(const TEngineSearch& search)
{
    return "column " + std::to_string(search.Terms[0].Column) + " key \"" + search.Terms[0].Key.AsString() +
           "\"" + (search.CaseInsensitive ? " ignoring case" : "") + (search.Partial ? " partial" : "");
}

// The index's answer is the walk's answer.
void ExpectWalksAnswer(TDbfCursor& table, const TEngineSearch& search, TAnswer answer)
{
    const int64_t found = answer == TAnswer::Found ? table.RecNo() : 0;
    EXPECT_EQ(found, WalkedRecNo(table, search)) << Describe(search);
}

class CdxTagSearch : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(CdxTagSearch, TextSearchesThroughTagsFindWhatTheWalkFinds)
{
    const std::string path = MakeSearchTable(Dir, RandomNames(400, 7));
    // A value padded with zero bytes, as some writers leave it, indexed as it stands.
    {
        auto table = OpenIndexedTable(path);
        OverwriteField(path, *table, 2, "NAME", "anna", '\0');
    }
    OpenIndexedTable(path)->RebuildIndex();
    auto table = OpenIndexedTable(path, true);
    for (const std::string& key : Keys())
        for (bool ignoreCase : {false, true})
            for (bool partial : {false, true}) {
                // NAME's UPPER() tag agrees with case folding in code page
                // 1252; CITY's plain tag answers a search that ignores case
                // only for a key without case.
                const TEngineSearch byName = OneTermSearch(ColName, TVariant(key), true, ignoreCase, partial);
                const TAnswer nameAnswer = table->FindThroughIndex(byName);
                EXPECT_NE(nameAnswer, TAnswer::NoIndex) << Describe(byName);
                ExpectWalksAnswer(*table, byName, nameAnswer);

                const TEngineSearch byCity = OneTermSearch(ColCity, TVariant(key), true, ignoreCase, partial);
                const TAnswer cityAnswer = table->FindThroughIndex(byCity);
                const bool cityAnswerable = !ignoreCase || key == "12" || key == "120" || key == "1";
                EXPECT_EQ(cityAnswer != TAnswer::NoIndex, cityAnswerable) << Describe(byCity);
                if (cityAnswer != TAnswer::NoIndex)
                    ExpectWalksAnswer(*table, byCity, cityAnswer);
            }
}

TEST_F(CdxTagSearch, NumberSearchesThroughTagsFindWhatTheWalkFinds)
{
    auto table = OpenIndexedTable(MakeSearchTable(Dir, RandomNames(300, 11)), true);
    for (double amount : {-1.5, 0.0, 2.25, 7.0, 120.0, 3.0, 1e6}) {
        const TEngineSearch search = OneTermSearch(ColAmount, TVariant(amount), false, false, false);
        const TAnswer answer = table->FindThroughIndex(search);
        EXPECT_NE(answer, TAnswer::NoIndex) << amount;
        ExpectWalksAnswer(*table, search, answer);
    }
    for (int32_t id : {0, 4, 12, 13, -1}) {
        const TEngineSearch search = OneTermSearch(ColId, TVariant(id), false, false, false);
        const TAnswer answer = table->FindThroughIndex(search);
        EXPECT_NE(answer, TAnswer::NoIndex) << id;
        ExpectWalksAnswer(*table, search, answer);
    }
}

TEST_F(CdxTagSearch, SearchesTheTagsCannotAnswerAreLeftToTheRecords)
{
    auto table = OpenIndexedTable(MakeSearchTable(Dir, RandomNames(50, 3)), true);
    TEngineSearch twoTerms = OneTermSearch(ColName, TVariant("anna"), true, false, false);
    twoTerms.Terms.push_back({ColCity, TVariant("anna"), true});
    EXPECT_EQ(table->FindThroughIndex(twoTerms), TAnswer::NoIndex);
    EXPECT_EQ(table->FindThroughIndex(OneTermSearch(ColName, TVariant::Null(), true, false, false)), TAnswer::NoIndex);
    // A character code page 1252 cannot hold.
    EXPECT_EQ(table->FindThroughIndex(OneTermSearch(ColName, TVariant("\xE4\xB8\xAD"), true, false, false)),
              TAnswer::NoIndex);
    // Longer than the field: nothing can match.
    EXPECT_EQ(table->FindThroughIndex(OneTermSearch(ColName, TVariant("abcdefghijklmn"), true, false, true)),
              TAnswer::NotFound);
}

// Through the searched cursor: the index's answer, or the copy's where the
// index cannot be trusted; both are the walk's.
void ExpectSearchedCursorWalks(TEngineCursor& searched, TDbfCursor& reference, const TEngineSearch& search)
{
    const bool found = searched.FindFirst(search);
    reference.Refresh();
    EXPECT_EQ(found ? searched.RecNo() : 0, WalkedRecNo(reference, search)) << Describe(search);
}

TEST_F(CdxTagSearch, AnIndexFoundOutOfDateOnOpenIsNotUsed)
{
    const std::string path = MakeSearchTable(Dir, {"bert", "anna", "anna", "berta"});
    {
        auto table = OpenIndexedTable(path);
        OverwriteField(path, *table, 1, "NAME", "zed", ' ');
    }
    auto table = OpenIndexedTable(path, true);
    const TEngineSearch search = OneTermSearch(ColName, TVariant("zed"), true, false, false);
    EXPECT_EQ(table->FindThroughIndex(search), TAnswer::NoIndex);
    auto reference = OpenIndexedTable(path, true);
    auto searched = WithColumnSearch(std::move(table));
    ExpectSearchedCursorWalks(*searched, *reference, search);
    EXPECT_EQ(searched->RecNo(), 1);
}

TEST_F(CdxTagSearch, ARecordChangedBehindTheIndexIsCaughtWhenTheTagListsIt)
{
    const std::string path = MakeSearchTable(Dir, {"bert", "anna", "anna", "berta"});
    auto table = OpenIndexedTable(path, true);
    const TEngineSearch anna = OneTermSearch(ColName, TVariant("anna"), true, false, false);
    ASSERT_EQ(table->FindThroughIndex(anna), TAnswer::Found);
    EXPECT_EQ(table->RecNo(), 2);
    OverwriteField(path, *table, 2, "NAME", "qqq", ' ');
    table->Refresh();
    EXPECT_EQ(table->FindThroughIndex(anna), TAnswer::NoIndex);
}

TEST_F(CdxTagSearch, RecordsAppendedBehindTheIndexAreNotMissed)
{
    const std::string path = MakeSearchTable(Dir, {"bert", "anna", "anna", "berta"});
    auto table = OpenIndexedTable(path, true);
    auto searched = WithColumnSearch(std::move(table));
    const TEngineSearch newcomer = OneTermSearch(ColName, TVariant("newcomer"), true, false, false);
    EXPECT_FALSE(searched->FindFirst(newcomer));

    // Another program appends a record and leaves the index alone.
    auto other = OpenIndexedTable(path, true);
    std::string bytes = ReadFileBytes(path);
    const TDbfHeader& header = other->Header();
    std::string record = bytes.substr(header.HeaderLength, header.RecordLength);
    std::string name = "newcomer";
    name.resize(12, ' ');
    record.replace(static_cast<size_t>(HeaderField(*other, "NAME").Offset), name.size(), name);
    bytes.insert(header.HeaderLength + header.RecordCount * header.RecordLength, record);
    const uint32_t count = header.RecordCount + 1;
    std::memcpy(&bytes[4], &count, 4);
    WriteFileBytes(path, bytes);

    other->Refresh();
    EXPECT_EQ(other->FindThroughIndex(newcomer), TAnswer::NoIndex);
    ASSERT_TRUE(searched->FindFirst(newcomer));
    EXPECT_EQ(searched->RecNo(), 5);
}

TEST_F(CdxTagSearch, AKeyChangedBehindTheIndexAfterTheOpenIsNotMissed)
{
    const std::string path = MakeSearchTable(Dir, {"bert", "anna", "anna", "berta"});
    ASSERT_TRUE(AgeFile(path));
    auto reference = OpenIndexedTable(path, true);
    auto searched = WithColumnSearch(OpenIndexedTable(path, true));
    const TEngineSearch zed = OneTermSearch(ColName, TVariant("zed"), true, false, false);
    EXPECT_FALSE(searched->FindFirst(zed));
    // Another program gives record 2 (neither the first nor the last) a
    // key its tag does not list.
    OverwriteField(path, *reference, 2, "NAME", "zed", ' ');
    ExpectSearchedCursorWalks(*searched, *reference, zed);
    EXPECT_EQ(searched->RecNo(), 2);
}

TEST_F(CdxTagSearch, ADamagedIndexLeavesTheSearchToTheRecords)
{
    const std::string path = MakeSearchTable(Dir, RandomNames(2000, 5));
    auto table = OpenIndexedTable(path, true);
    auto reference = OpenIndexedTable(path, true);
    ASSERT_NE(table->FindThroughIndex(OneTermSearch(ColName, TVariant("anna"), true, false, false)), TAnswer::NoIndex);
    // Every page past the headers overwritten, and the change counter bumped
    // so that the pages are read again.
    std::string index = ReadFileBytes(Dir.File("search.cdx"));
    std::mt19937 random(9);
    for (size_t at = 4096; at < index.size(); ++at)
        index[at] = static_cast<char>(random());
    index[11] = static_cast<char>(index[11] + 1);
    WriteFileBytes(Dir.File("search.cdx"), index);
    auto searched = WithColumnSearch(std::move(table));
    for (const std::string& key : Keys())
        for (bool partial : {false, true})
            ExpectSearchedCursorWalks(*searched, *reference, OneTermSearch(ColName, TVariant(key), true, true, partial));
}

// The corpus's two indexes that their tables have outgrown: every search
// through the searched cursor still finds what the walk finds.
TEST(CdxTagSearchCorpus, StaleIndexesOfTheCorpusGiveTheWalksAnswers)
{
    for (const char* name : {"dbf/MPSystemsServices_CodeBase-for-DBF/EXAMPLE.DBF", "dbf/luads_php-xbase/foxpro/issue115.dbf"}) {
        TScratchDir dir;
        const std::string path = CopyWritableTable(dir, std::string(TM_SHARED_DIR) + "/testdata/" + name);
        auto reference = OpenIndexedTable(path, true);
        auto raw = OpenIndexedTable(path, true);
        std::vector<TEngineRecord> records;
        TEngineRecord record;
        while (reference->Next(record))
            records.push_back(record);
        ASSERT_FALSE(records.empty()) << name;
        const std::vector<TEngineFieldDef> defs = raw->FieldDefs();
        auto searched = WithColumnSearch(std::move(raw));
        for (size_t column = 0; column < defs.size(); ++column) {
            if (defs[column].DataType != ftString)
                continue;
            for (const TEngineRecord& values : records) {
                if (values[column].IsNullOrEmpty())
                    continue;
                const std::string text = values[column].AsString();
                for (bool ignoreCase : {false, true})
                    for (const std::string& key : {text, text.substr(0, 1)})
                        ExpectSearchedCursorWalks(*searched, *reference,
                                                  OneTermSearch(static_cast<int>(column), TVariant(key), true,
                                                                ignoreCase, key != text));
            }
        }
    }
}

} // namespace
