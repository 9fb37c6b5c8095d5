// Record numbers and bookmarks: SetRecNo reaches every record, bookmarks
// stay valid and ordered while records are inserted and deleted.

#include "ParadoxTestSupport.h"

#include "data/engine/EngineStatus.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

void CreateIntTable(const std::string& path, bool keyed)
{
    TCreateTableParams p;
    p.Path = path;
    p.KeyFieldCount = keyed ? 1 : 0;
    TEngineFieldDef id;
    id.Name = "Id";
    id.DataType = ftInteger;
    TEngineFieldDef filler;
    filler.Name = "Filler";
    filler.DataType = ftString;
    filler.Size = 200;   // few records per block: many blocks and splits
    p.Fields = {id, filler};
    CreateParadoxDriver()->CreateTable(p);
}

int32_t CurrentId(TEngineCursor& cursor)
{
    TEngineRecord r;
    EXPECT_TRUE(cursor.ReadCurrent(r));
    return r[0].AsInteger();
}

class ParadoxBookmarks : public ::testing::TestWithParam<bool> {};

} // namespace

TEST_P(ParadoxBookmarks, StayValidAndOrderedThroughInsertsAndDeletes)
{
    const bool keyed = GetParam();
    TScratchDir dir;
    std::string path = dir.File("marks.db");
    CreateIntTable(path, keyed);
    auto cursor = OpenParadox(path);
    std::mt19937 random(3);
    std::map<int32_t, std::string> marks;   // id -> bookmark
    int32_t nextId = 1;
    for (int step = 0; step < 600; ++step) {
        bool remove = !marks.empty() && random() % 3 == 0;
        if (remove) {
            auto it = std::next(marks.begin(), static_cast<long>(random() % marks.size()));
            ASSERT_TRUE(cursor->GotoBookmark(it->second));
            ASSERT_EQ(CurrentId(*cursor), it->first);
            std::string gone = it->second;
            cursor->DeleteRecord();
            marks.erase(it);
            EXPECT_FALSE(cursor->GotoBookmark(gone));
            continue;
        }
        if (cursor->RecordCount() > 0) {
            ASSERT_TRUE(cursor->SetRecNo(1 + static_cast<int64_t>(random() % cursor->RecordCount())));
        }
        int32_t id = keyed ? static_cast<int32_t>(random() % 100000) : nextId++;
        if (marks.count(id))
            continue;
        TEngineRecord r{TVariant(id), TVariant("x")};
        cursor->InsertRecord(r, random() % 4 == 0);
        EXPECT_EQ(CurrentId(*cursor), id);
        marks[id] = cursor->Bookmark();
    }
    // Every bookmark still finds its record, and bookmarks order as the table does.
    std::vector<std::pair<int64_t, std::string>> byPosition;
    for (const auto& [id, mark] : marks) {
        ASSERT_TRUE(cursor->GotoBookmark(mark));
        EXPECT_EQ(CurrentId(*cursor), id);
        byPosition.emplace_back(cursor->RecNo(), mark);
    }
    std::sort(byPosition.begin(), byPosition.end());
    for (size_t i = 1; i < byPosition.size(); ++i) {
        EXPECT_LT(cursor->CompareBookmarks(byPosition[i - 1].second, byPosition[i].second), 0);
        EXPECT_GT(cursor->CompareBookmarks(byPosition[i].second, byPosition[i - 1].second), 0);
    }
    EXPECT_EQ(cursor->CompareBookmarks(byPosition[0].second, byPosition[0].second), 0);
    EXPECT_EQ(cursor->RecordCount(), static_cast<int64_t>(marks.size()));
}

INSTANTIATE_TEST_SUITE_P(Tables, ParadoxBookmarks, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Keyed" : "NonKeyed"; });

TEST(ParadoxRecNo, SetRecNoReachesEveryRecordOfARealTable)
{
    // ZIPCODES: 43,185 keyed records in many blocks.
    auto cursor = OpenParadox(SharedPath("paradox/leonhad_paradoxdriver/areas/ZIPCODES.DB"), true);
    auto all = ReadAll(*cursor);
    ASSERT_EQ(all.size(), 43185u);
    std::mt19937 random(5);
    for (int i = 0; i < 2000; ++i) {
        int64_t recNo = 1 + static_cast<int64_t>(random() % all.size());
        ASSERT_TRUE(cursor->SetRecNo(recNo));
        EXPECT_EQ(cursor->RecNo(), recNo);
        TEngineRecord r;
        ASSERT_TRUE(cursor->ReadCurrent(r));
        EXPECT_EQ(r[0].AsString(), all[recNo - 1][0].AsString());
    }
    EXPECT_FALSE(cursor->SetRecNo(0));
    EXPECT_FALSE(cursor->SetRecNo(static_cast<int64_t>(all.size()) + 1));
    // Keys in order, so bookmarks (the keys) compare as the records stand.
    ASSERT_TRUE(cursor->SetRecNo(10));
    std::string tenth = cursor->Bookmark();
    ASSERT_TRUE(cursor->SetRecNo(11));
    EXPECT_LT(cursor->CompareBookmarks(tenth, cursor->Bookmark()), 0);
}

TEST(ParadoxRecNo, CursorWalksBothWaysAndReportsCracks)
{
    auto cursor = OpenParadox(SharedPath("paradox/teverett_paradoxReader/PCLDATA/BOLDNESS.DB"), true);
    TEngineRecord r;
    cursor->SetToEnd();
    EXPECT_EQ(cursor->RecNo(), -1);
    EXPECT_THROW(cursor->Bookmark(), EDBEngineError);
    ASSERT_TRUE(cursor->Prior(r));
    EXPECT_EQ(cursor->RecNo(), 15);
    int count = 1;
    while (cursor->Prior(r))
        ++count;
    EXPECT_EQ(count, 15);
    EXPECT_FALSE(cursor->ReadCurrent(r));
    ASSERT_TRUE(cursor->Next(r));
    EXPECT_EQ(r[0].AsString(), "Black");
}
