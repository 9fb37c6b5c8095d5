// A search kept in memory over a dBASE table without an index: the driver
// reads only the wanted columns, the copy takes in a newly searched column
// and follows the cursor's posts, and every search finds what a walk finds.

#include "DbfTestSupport.h"

#include "data/SearchedCursor.h"
#include "support/FieldDefs.h"
#include "support/SearchWalk.h"

#include <gtest/gtest.h>

namespace {

// NAME, CITY and a memo NOTES; record 3 deleted.
std::string MakeTable(const TScratchDir& dir)
{
    TCreateTableParams create;
    create.Path = dir.File("people.dbf");
    create.Level = "IV";
    create.Fields = {FieldDef("NAME", ftString, 10), FieldDef("CITY", ftString, 10), FieldDef("NOTES", ftMemo)};
    DbfDriver().CreateTable(create);
    auto writer = OpenDbf(create.Path);
    const char* const rows[][2] = {{"anna", "Rome"}, {"bert", "Oslo"}, {"carl", "Rome"}, {"dora", "Paris"},
                                   {"anna", "Oslo"}};
    for (const auto& row : rows) {
        TEngineRecord record{TVariant(row[0]), TVariant(row[1]), TVariant(std::string("notes of ") + row[0])};
        writer->InsertRecord(record, true);
    }
    writer->SetRecNo(3);
    writer->DeleteRecord();
    return create.Path;
}

TEST(DbfSearchedCopy, TheDriverReadsOnlyTheWantedColumnsOfLiveRecords)
{
    TScratchDir dir;
    auto table = OpenDbf(MakeTable(dir), true);
    std::vector<std::string> names, bookmarks;
    table->ReadColumns({true, false, false}, [&](TEngineRecord& values, const std::string& bookmark) {
        ASSERT_EQ(values.size(), 3u);
        EXPECT_TRUE(values[1].IsNull());
        EXPECT_TRUE(values[2].IsNull());
        names.push_back(values[0].AsString());
        bookmarks.push_back(bookmark);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"anna", "bert", "dora", "anna"}));
    std::vector<std::string> walked;
    TEngineRecord record;
    table->SetToBegin();
    while (table->Next(record))
        walked.push_back(table->Bookmark());
    EXPECT_EQ(bookmarks, walked);
}

TEST(DbfSearchedCopy, ANewlySearchedColumnJoinsTheCopyAndPostsAreFollowed)
{
    TScratchDir dir;
    const std::string path = MakeTable(dir);
    auto reference = OpenDbf(path, true);
    auto searched = WithColumnSearch(OpenDbf(path));
    const auto expectWalk = [&](const TEngineSearch& search) {
        const bool found = searched->FindFirst(search);
        reference->Refresh();
        EXPECT_EQ(found ? searched->RecNo() : 0, WalkedRecNo(*reference, search)) << search.Terms[0].Key.AsString();
    };
    expectWalk(OneTermSearch(0, TVariant("anna"), true, false, false));
    expectWalk(OneTermSearch(1, TVariant("oslo"), true, true, false));
    expectWalk(OneTermSearch(1, TVariant("Par"), true, false, true));
    TEngineSearch both = OneTermSearch(0, TVariant("anna"), true, false, false);
    both.Terms.push_back({1, TVariant("Oslo"), true});
    expectWalk(both);

    // Posts through the searched cursor: a new record, an edit, a delete.
    searched->SetToEnd();
    TEngineRecord added{TVariant("erik"), TVariant("Lima"), TVariant::Null()};
    searched->InsertRecord(added, true);
    expectWalk(OneTermSearch(1, TVariant("Lima"), true, false, false));
    ASSERT_TRUE(searched->FindFirst(OneTermSearch(0, TVariant("bert"), true, false, false)));
    TEngineRecord edited;
    searched->LockRecord(edited);
    edited[1] = TVariant("Lima");
    searched->ModifyRecord(edited);
    expectWalk(OneTermSearch(1, TVariant("Lima"), true, false, false));
    searched->DeleteRecord();
    expectWalk(OneTermSearch(1, TVariant("Lima"), true, false, false));
    expectWalk(both);
}

} // namespace
