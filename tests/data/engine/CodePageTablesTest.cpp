// Tables whose header names no code page: written here in nine code pages,
// and the unmarked tables of the shared test data, opened with the guessed
// code page and read back.

#include "CodePageTestSupport.h"
#include "support/JsonValue.h"
#include "support/ScratchDir.h"

#include "data/engine/CodePageNames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

struct TTally {
    int Cases = 0;
    int Right = 0;
    std::vector<std::string> Failures;

    void Count(bool right, const TCodePageChoice& choice, const std::string& what)
    {
        ++Cases;
        Right += right;
        if (!right)
            Failures.push_back(what + ": " + DescribeCodePageChoice(choice));
        if (!right && choice.Certainty == TDetectCertainty::High)
            ADD_FAILURE() << "a wrong guess was given high certainty: " << what << ": " << DescribeCodePageChoice(choice);
    }
    void Expect90Percent() const
    {
        std::string list;
        for (const std::string& f : Failures)
            list += "\n  " + f;
        EXPECT_GE(Right * 10, Cases * 9) << Right << " of " << Cases << " right; wrong:" << list;
        std::printf("%d of %d right%s\n", Right, Cases, list.c_str());
    }
};

// Windows of `size` consecutive records (wrapping), one starting at each record.
std::vector<std::vector<TTextRecord>> Windows(const std::vector<TTextRecord>& records, size_t size)
{
    std::vector<std::vector<TTextRecord>> windows;
    for (size_t start = 0; start < records.size(); ++start) {
        std::vector<TTextRecord> window;
        for (size_t k = 0; k < size && k < records.size(); ++k)
            window.push_back(records[(start + k) % records.size()]);
        windows.push_back(window);
    }
    return windows;
}

void CheckWrittenTables(TTableFormat format, const char* extension, size_t recordsPerTable)
{
    TScratchDir dir;
    TTally tally;
    int n = 0;
    for (const TCodePageTexts& texts : CodePageTexts()) {
        for (const auto& window : Windows(texts.Records, recordsPerTable)) {
            std::string path = dir.File("t" + std::to_string(++n) + extension);
            std::vector<TTextRecord> written = WriteUnmarkedTable(path, format, texts.CodePage, window);
            if (written.empty())
                continue;
            auto cursor = OpenTable(path);
            TCodePageChoice choice = cursor->CodePageChoice();
            EXPECT_EQ(choice.Origin, TCodePageOrigin::Detected);
            tally.Count(ReadTexts(*cursor) == written, choice,
                        "written in " + CodePageLabel(texts.CodePage) + ", " + written.front().Name);
        }
    }
    tally.Expect90Percent();
}

} // namespace

TEST(CodePageTables, UnmarkedDbfTablesOfThreeRecordsReadRightInNineCodePages)
{
    CheckWrittenTables(TTableFormat::Dbf, ".dbf", 3);
}

TEST(CodePageTables, UnmarkedDbfTablesOfOneRecordStillMostlyReadRight)
{
    CheckWrittenTables(TTableFormat::Dbf, ".dbf", 1);
}

TEST(CodePageTables, UnmarkedParadoxTablesReadRightInNineCodePages)
{
    CheckWrittenTables(TTableFormat::Paradox, ".db", 3);
}

TEST(CodePageTables, AMarkedTableKeepsItsMarkWhateverItsTextLooksLike)
{
    TScratchDir dir;
    const TCodePageTexts& russian = CodePageTexts()[3];
    ASSERT_EQ(russian.CodePage, 1251);
    std::string path = dir.File("marked.dbf");
    WriteUnmarkedTable(path, TTableFormat::Dbf, 1251, russian.Records);
    std::string bytes = ReadFileBytes(path);
    bytes[DbfMarkOffset] = 0x03;   // says Windows-1252
    WriteFileBytes(path, bytes);
    auto cursor = OpenTable(path);
    EXPECT_EQ(cursor->CodePage(), 1252);
    EXPECT_EQ(cursor->CodePageChoice().Origin, TCodePageOrigin::Marked);
    EXPECT_EQ(cursor->CodePageChoice().Marked, 1252);
}

TEST(CodePageTables, UnmarkedSharedTablesReadAsTheirKnownCodePage)
{
    TJsonValue manifest = TJsonValue::ParseFile(std::string(TM_SHARED_DIR) + "/testdata/manifest.json");
    static const std::map<std::string, int> known = {
        {"ascii", 936},   {"cp936", 936},   {"gbk", 936},     {"big5", 950},    {"utf-8", 65001}, {"cp1250", 1250},
        {"cp1251", 1251}, {"cp1252", 1252}, {"cp437", 437},   {"cp850", 850},   {"cp866", 866}};
    TTally tally;
    int unmarked = 0;
    for (const TJsonValue& table : manifest["tables"].Items()) {
        const TJsonValue& codePage = table["code_page"];
        if (!codePage["used_for_decoding"].IsString())
            continue;
        auto reference = known.find(codePage["used_for_decoding"].AsString());
        if (reference == known.end())
            continue;   // a code page the engine has no table for
        std::string path = std::string(TM_SHARED_DIR) + "/testdata/" + table["path"].AsString();
        std::unique_ptr<TEngineCursor> guessed;
        try {
            guessed = OpenTable(path, 0, true);
        } catch (const std::exception&) {
            continue;   // tables the engine cannot open are another test's business
        }
        TCodePageChoice choice = guessed->CodePageChoice();
        if (choice.Origin != TCodePageOrigin::Detected)
            continue;
        ++unmarked;
        auto forced = OpenTable(path, reference->second, true);
        tally.Count(ReadAllAsText(*guessed) == ReadAllAsText(*forced), choice, table["path"].AsString());
    }
    EXPECT_GE(unmarked, 20) << "the manifest should hold many unmarked tables";
    tally.Expect90Percent();
}
