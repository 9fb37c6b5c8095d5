// The type-ahead search of the lookup lists: case-insensitive prefixes,
// the walk from the previous hit, and leaving the dataset alone on a miss.

#include "LookupTestSupport.h"
#include "editors/LookupTypeAheadGx.h"

#include <gtest/gtest.h>

namespace {

TEST(LookupTypeAheadMatch, IgnoresCaseOfAsciiAndOtherLetters)
{
    EXPECT_TRUE(TLookupTypeAheadGx::StartsWithIgnoringCase("Maple", "ma"));
    EXPECT_TRUE(TLookupTypeAheadGx::StartsWithIgnoringCase("maple", "MAP"));
    EXPECT_FALSE(TLookupTypeAheadGx::StartsWithIgnoringCase("Ma", "Map"));
    EXPECT_TRUE(TLookupTypeAheadGx::StartsWithIgnoringCase("Ölbaum", "öl"));
    EXPECT_FALSE(TLookupTypeAheadGx::StartsWithIgnoringCase("Olbaum", "öl"));
    EXPECT_TRUE(TLookupTypeAheadGx::StartsWithIgnoringCase("anything", ""));
}

TEST(LookupTypeAhead, FindsTheFirstRecordAndLeavesTheDataSetAloneOnAMiss)
{
    TTreeTables tables({{1, "Oak"}, {2, "maple"}, {3, "Marble"}, {4, "Maple"}});
    TField& name = *tables.Trees.FieldByName("NAME");
    TLookupTypeAheadGx search;
    ASSERT_TRUE(search.Find(name, "MA"));
    EXPECT_EQ(tables.CurrentCode(), 2);
    ASSERT_TRUE(search.Find(name, "MAR"));
    EXPECT_EQ(tables.CurrentCode(), 3);
    EXPECT_FALSE(search.Find(name, "MARX"));
    EXPECT_EQ(tables.CurrentCode(), 3);
    // A new word starts at the first record again.
    ASSERT_TRUE(search.Find(name, "o"));
    EXPECT_EQ(tables.CurrentCode(), 1);
}

TEST(LookupTypeAhead, AChangedTableStartsTheSearchAtTheFirstRecordAgain)
{
    TTreeTables tables({{1, "Maple"}, {2, "Marble"}});
    TField& name = *tables.Trees.FieldByName("NAME");
    TLookupTypeAheadGx search;
    ASSERT_TRUE(search.Find(name, "Mar"));
    EXPECT_EQ(tables.CurrentCode(), 2);
    // A record before the previous hit now starts with the longer prefix.
    tables.Trees.First();
    tables.Trees.Edit();
    name.SetAsString("Marsh");
    tables.Trees.Post();
    ASSERT_TRUE(search.Find(name, "Mars"));
    EXPECT_EQ(tables.CurrentCode(), 1);
}

TEST(LookupTypeAhead, AListWithoutAnIndexIsWalkedToTheSameRecords)
{
    TTreeTables tables({{1, "Oak"}, {2, "maple"}, {3, "Ölbaum"}, {4, "Marble"}, {5, "ölweide"}});
    TField& name = *tables.Trees.FieldByName("NAME");
    TLookupTypeAheadGx search;
    EXPECT_TRUE(tables.Trees.LocateIsQuick("NAME", {loCaseInsensitive, loPartialKey}));
    ASSERT_TRUE(search.Find(name, "MAR"));
    EXPECT_EQ(tables.CurrentCode(), 4);
    // Letters beyond ASCII are matched without regard to case, through the index.
    ASSERT_TRUE(search.Find(name, "öL"));
    EXPECT_EQ(tables.CurrentCode(), 3);
    ASSERT_TRUE(search.Find(name, "ÖLW"));
    EXPECT_EQ(tables.CurrentCode(), 5);

    // Letters without case, with or without ASCII digits, match only themselves.
    tables.Trees.AppendRecord({TVariant(6), TVariant("银杏"), TVariant()});
    tables.Trees.AppendRecord({TVariant(7), TVariant("银杏 2"), TVariant()});
    ASSERT_TRUE(search.Find(name, "银"));
    EXPECT_EQ(tables.CurrentCode(), 6);
    ASSERT_TRUE(search.Find(name, "银杏 2"));
    EXPECT_EQ(tables.CurrentCode(), 7);
    EXPECT_FALSE(search.Find(name, "银杉"));
    EXPECT_EQ(tables.CurrentCode(), 7);

    // A filter keeps the table from answering through its index.
    tables.Trees.OnFilterRecord = [](TDataSet& dataSet, bool& accept) {
        accept = dataSet.FieldByName("CODE")->AsInteger() != 2;
    };
    tables.Trees.SetFiltered(true);
    EXPECT_FALSE(tables.Trees.LocateIsQuick("NAME", {loCaseInsensitive, loPartialKey}));
    ASSERT_TRUE(search.Find(name, "ma"));
    EXPECT_EQ(tables.CurrentCode(), 4);
    ASSERT_TRUE(search.Find(name, "MARB"));
    EXPECT_EQ(tables.CurrentCode(), 4);
    EXPECT_FALSE(search.Find(name, "map"));
    EXPECT_EQ(tables.CurrentCode(), 4);
}

} // namespace
