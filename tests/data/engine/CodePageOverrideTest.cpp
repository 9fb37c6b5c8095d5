// A code page chosen for one opening: the texts read and are written in
// it, and the header's mark stays as it was.

#include "CodePageTestSupport.h"
#include "support/ScratchDir.h"

#include "data/engine/CodePage.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

const TCodePageTexts& TextsOf(int codePage)
{
    for (const TCodePageTexts& t : CodePageTexts())
        if (t.CodePage == codePage)
            return t;
    throw std::runtime_error("no texts for code page " + std::to_string(codePage));
}

// Edits the second record's job through a cursor opened in `codePage`.
void EditSecondJob(const std::string& path, int codePage, const std::string& job)
{
    auto cursor = OpenTable(path, codePage);
    ASSERT_TRUE(cursor->CanModify()) << cursor->ReadOnlyReason();
    EXPECT_EQ(cursor->CodePageChoice().Origin, TCodePageOrigin::Chosen);
    EXPECT_EQ(cursor->CodePage(), codePage);
    cursor->SetToBegin();
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    ASSERT_TRUE(cursor->Next(record));
    TEngineRecord fresh;
    cursor->LockRecord(fresh);
    fresh[2] = TVariant(job);
    cursor->ModifyRecord(fresh);
}

struct TOverrideCase {
    TTableFormat Format;
    const char* Extension;
    int WrittenIn;
    size_t MarkOffset;
    std::string Mark;   // the header's mark to leave in place ("" keeps the cleared one)
};

void CheckOverrideThenEdit(const TOverrideCase& c)
{
    TScratchDir dir;
    std::string path = dir.File(std::string("edit") + c.Extension);
    std::vector<TTextRecord> written = WriteUnmarkedTable(path, c.Format, c.WrittenIn, TextsOf(c.WrittenIn).Records);
    ASSERT_GE(written.size(), 3u);
    if (!c.Mark.empty()) {
        std::string bytes = ReadFileBytes(path);
        bytes.replace(c.MarkOffset, c.Mark.size(), c.Mark);
        WriteFileBytes(path, bytes);
    }
    std::string markBefore = ReadFileBytes(path).substr(c.MarkOffset, 2);

    const std::string job = TextsOf(c.WrittenIn).Records[5].Job;   // another text of the same language
    EditSecondJob(path, c.WrittenIn, job);

    EXPECT_EQ(ReadFileBytes(path).substr(c.MarkOffset, 2), markBefore) << "the header's mark was changed";
    std::string stored = TCodePage(c.WrittenIn).FromUtf8(job);
    EXPECT_NE(ReadFileBytes(path).find(stored), std::string::npos) << "the edit was not written in the chosen code page";

    auto reread = OpenTable(path, c.WrittenIn, true);
    std::vector<TTextRecord> expected = written;
    expected[1].Job = job;
    EXPECT_EQ(ReadTexts(*reread), expected);
}

} // namespace

TEST(CodePageOverride, AnUnmarkedDbfTableEditedInTheChosenCodePageReadsBackAndStaysUnmarked)
{
    CheckOverrideThenEdit({TTableFormat::Dbf, ".dbf", 1251, DbfMarkOffset, ""});
}

TEST(CodePageOverride, AMarkedDbfTableKeepsItsMarkWhenEditedInAnotherCodePage)
{
    CheckOverrideThenEdit({TTableFormat::Dbf, ".dbf", 866, DbfMarkOffset, std::string(1, '\x03')});
}

TEST(CodePageOverride, AnUnmarkedParadoxTableEditedInTheChosenCodePageReadsBackAndStaysUnmarked)
{
    CheckOverrideThenEdit({TTableFormat::Paradox, ".db", 950, ParadoxMarkOffset, ""});
}

TEST(CodePageOverride, AMarkedParadoxTableKeepsItsMarkWhenEditedInAnotherCodePage)
{
    CheckOverrideThenEdit({TTableFormat::Paradox, ".db", 1253, ParadoxMarkOffset, std::string("\xE4\x04", 2)});
}

TEST(CodePageOverride, ATextTheChosenCodePageCannotHoldIsRefusedAndNothingChanges)
{
    TScratchDir dir;
    std::string path = dir.File("refuse.dbf");
    WriteUnmarkedTable(path, TTableFormat::Dbf, 1251, TextsOf(1251).Records);
    std::string before = ReadFileBytes(path);
    auto cursor = OpenTable(path, 1251);
    cursor->SetToBegin();
    TEngineRecord record;
    ASSERT_TRUE(cursor->Next(record));
    TEngineRecord fresh;
    cursor->LockRecord(fresh);
    fresh[0] = TVariant("张伟");
    try {
        cursor->ModifyRecord(fresh);
        ADD_FAILURE() << "a Chinese name was stored in Windows-1251";
    } catch (const EDBEngineError& e) {
        EXPECT_NE(std::string(e.what()).find("1251"), std::string::npos) << e.what();
    }
    cursor.reset();
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(CodePageOverride, ACodePageTheEngineLacksIsRefusedAtOpen)
{
    TScratchDir dir;
    std::string path = dir.File("none.dbf");
    WriteUnmarkedTable(path, TTableFormat::Dbf, 1252, TextsOf(1252).Records);
    EXPECT_THROW(OpenTable(path, 12345), EDBEngineError);
}
