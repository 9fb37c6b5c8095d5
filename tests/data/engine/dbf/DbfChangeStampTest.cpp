// A search kept over a dBASE table's records notices another program's
// edit made in place the same day, which leaves every header byte as it
// was: the file's change times tell.

#include "DbfTestSupport.h"

#include "data/SearchedCursor.h"
#include "support/FileTimes.h"
#include "support/SearchWalk.h"

#include <gtest/gtest.h>

namespace {

TEST(DbfChangeStamp, AnEditInPlaceByAnotherProgramIsNoticed)
{
    TScratchDir dir;
    const std::string path = dir.File("names.dbf");
    CreateNameAndMemoTable(path, "IV", 10);
    {
        auto writer = OpenDbf(path);
        for (const char* name : {"anna", "bert", "carl"}) {
            TEngineRecord record{TVariant(name), TVariant::Null()};
            writer->InsertRecord(record, true);
        }
    }
    ASSERT_TRUE(AgeFile(path));
    auto searched = WithColumnSearch(OpenDbf(path, true));
    const TEngineSearch zed = OneTermSearch(0, TVariant("zed"), true, false, false);
    EXPECT_FALSE(searched->FindFirst(zed));
    const uint64_t before = searched->ChangeStamp();

    // Another program rewrites record 2's name where it stands.
    std::string bytes = ReadFileBytes(path);
    const size_t at = bytes.find("bert");
    ASSERT_NE(at, std::string::npos);
    const std::string header = bytes.substr(0, 32);
    bytes.replace(at, 4, "zed ");
    WriteFileBytes(path, bytes);
    ASSERT_EQ(ReadFileBytes(path).substr(0, 32), header);

    EXPECT_NE(searched->ChangeStamp(), before);
    ASSERT_TRUE(searched->FindFirst(zed));
    EXPECT_EQ(searched->RecNo(), 2);
}

} // namespace
