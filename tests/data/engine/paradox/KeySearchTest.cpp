// Searches of a keyed Paradox table's first key field, answered by
// bisecting the records in key order, find what a walk finds; and a search
// kept over the records notices a record another program adds.

#include "ParadoxTestSupport.h"

#include "data/SearchedCursor.h"
#include "support/FieldDefs.h"
#include "support/SearchWalk.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using TAnswer = TEngineCursor::TIndexedFind;

// CODE (text, the key with SEQ), SEQ, NAME; codes repeat under several SEQs.
std::string MakeTextKeyed(const TScratchDir& dir)
{
    TCreateTableParams create;
    create.Path = dir.File("codes.db");
    create.KeyFieldCount = 2;
    create.CodePage = 1252;
    create.Fields = {FieldDef("CODE", ftString, 10), FieldDef("SEQ", ftInteger), FieldDef("NAME", ftString, 12)};
    CreateParadoxDriver()->CreateTable(create);
    auto cursor = OpenParadox(create.Path);
    const char* const codes[] = {"A1", "a1", "A10", "A2", "B", "b", "B 1", "12", "120", "1", "\xC3\x96l", "\xC3\xB6l", "Z"};
    std::mt19937 random(4);
    for (int seq = 0; seq < 300; ++seq) {
        TEngineRecord record{TVariant(codes[random() % std::size(codes)]), TVariant(static_cast<int32_t>(seq)),
                             TVariant("name " + std::to_string(seq))};
        cursor->InsertRecord(record, true);
    }
    return create.Path;
}

std::string Describe(const TEngineSearch& search)
{
    return "key \"" + search.Terms[0].Key.AsString() + "\"" + (search.CaseInsensitive ? " ignoring case" : "") +
           (search.Partial ? " partial" : "");
}

void ExpectWalksAnswer(TEngineCursor& cursor, const TEngineSearch& search, TAnswer answer)
{
    const int64_t found = answer == TAnswer::Found ? cursor.RecNo() : 0;
    EXPECT_EQ(found, WalkedRecNo(cursor, search)) << Describe(search);
}

TEST(ParadoxKeySearch, TextKeySearchesFindWhatTheWalkFinds)
{
    TScratchDir dir;
    auto cursor = OpenParadox(MakeTextKeyed(dir), true);
    for (const char* key : {"A1", "a1", "A", "a", "A10", "B", "B ", "b", "12", "1", "120", "\xC3\x96", "\xC3\xB6l", "Z",
                            "Y", "A1000000000"})
        for (bool ignoreCase : {false, true})
            for (bool partial : {false, true}) {
                const TEngineSearch search = OneTermSearch(0, TVariant(key), true, ignoreCase, partial);
                const TAnswer answer = cursor->FindThroughIndex(search);
                // Keys ordered by bytes answer a search that ignores case only for a key without case.
                const bool caseless = std::string(key).find_first_not_of("0123456789") == std::string::npos;
                EXPECT_EQ(answer != TAnswer::NoIndex, !ignoreCase || caseless) << Describe(search);
                if (answer != TAnswer::NoIndex)
                    ExpectWalksAnswer(*cursor, search, answer);
            }
    // Not the first key field.
    EXPECT_EQ(cursor->FindThroughIndex(OneTermSearch(1, TVariant(int32_t(3)), false, false, false)), TAnswer::NoIndex);
    EXPECT_EQ(cursor->FindThroughIndex(OneTermSearch(2, TVariant("name 3"), true, false, false)), TAnswer::NoIndex);
}

TEST(ParadoxKeySearch, NumberKeySearchesFindWhatTheWalkFinds)
{
    TScratchDir dir;
    TCreateTableParams create;
    create.Path = dir.File("numbers.db");
    create.KeyFieldCount = 1;
    create.Fields = {FieldDef("ID", ftInteger), FieldDef("NAME", ftString, 12)};
    CreateParadoxDriver()->CreateTable(create);
    {
        auto writer = OpenParadox(create.Path);
        for (int32_t id : {-40, -3, 0, 2, 5, 6, 100, 7000, 123456}) {
            TEngineRecord record{TVariant(id), TVariant("n" + std::to_string(id))};
            writer->InsertRecord(record, true);
        }
    }
    auto cursor = OpenParadox(create.Path, true);
    for (int32_t id : {-41, -40, -3, -1, 0, 1, 2, 5, 6, 99, 100, 7000, 123456, 999999}) {
        const TEngineSearch search = OneTermSearch(0, TVariant(id), false, false, false);
        const TAnswer answer = cursor->FindThroughIndex(search);
        EXPECT_NE(answer, TAnswer::NoIndex) << id;
        ExpectWalksAnswer(*cursor, search, answer);
    }
}

TEST(ParadoxKeySearch, ARecordAnotherProgramAddsIsFoundByTheNextSearch)
{
    TScratchDir dir;
    const std::string path = MakeTextKeyed(dir);
    auto searched = WithColumnSearch(OpenParadox(path));
    // NAME is no key: the search is answered from the values kept in memory.
    const TEngineSearch late = OneTermSearch(2, TVariant("late"), true, false, false);
    EXPECT_FALSE(searched->FindFirst(late));
    EXPECT_NE(searched->ChangeStamp(), 0u);

    auto other = OpenParadox(path);
    TEngineRecord record{TVariant("M"), TVariant(int32_t(1000)), TVariant("late")};
    other->InsertRecord(record, true);

    ASSERT_TRUE(searched->FindFirst(late));
    TEngineRecord found;
    ASSERT_TRUE(searched->ReadCurrent(found));
    EXPECT_EQ(found[1].AsInteger(), 1000);
}

} // namespace
