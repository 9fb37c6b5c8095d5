#include "AsciiTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/ascii/AsciiDriver.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const VaryingSchema = "[T]\nFILETYPE=VARYING\nCHARSET=ascii\nDELIMITER=\"\nSEPARATOR=,\n"
                                  "Field1=Name,CHAR,8,0,0\nField2=Qty,LONGINT,6,0,8\nField3=Due,DATE,10,0,14\n"
                                  "Field4=Ok,BOOL,1,0,24\nField5=Cost,FLOAT,9,2,25\n";
const char* const FixedSchema = "[T]\nFILETYPE=FIXED\nCHARSET=ascii\n"
                                "Field1=Name,CHAR,8,0,0\nField2=Qty,LONGINT,6,0,8\nField3=Due,DATE,10,0,14\n"
                                "Field4=Ok,BOOL,1,0,24\nField5=Cost,FLOAT,9,2,25\n";

std::string RandomLine(std::mt19937& random)
{
    static const std::string alphabet = "ab \",,\"\"0123456789/-.:TF\t\x82\xFF\x1A\r";
    std::uniform_int_distribution<int> length(0, 50);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string line;
    for (int n = length(random); n > 0; --n)
        line += alphabet[pick(random)];
    return line;
}

std::unique_ptr<TEngineCursor> OpenTable(const std::string& path)
{
    TOpenTableParams params;
    params.Path = path;
    return CreateAsciiDriver()->OpenTable(params);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

// Random damaged lines open, read and walk without failing, and editing one
// value of one record changes that record's line only.
TEST(AsciiDamagedInput, RandomLinesNeverBreakReadingOrEditing)
{
    std::mt19937 random(20261208);
    for (const char* schema : {VaryingSchema, FixedSchema}) {
        for (int round = 0; round < 100; ++round) {
            TScratchFolder folder;
            std::string data;
            int lines = 1 + round % 12;
            for (int i = 0; i < lines; ++i)
                data += RandomLine(random) + "\n";
            WriteBytes(folder.File("t.sch"), schema);
            WriteBytes(folder.File("t.txt"), data);

            auto cursor = OpenTable(folder.File("t.txt"));
            int64_t count = cursor->RecordCount();
            TEngineRecord record;
            int64_t forward = 0, backward = 0;
            cursor->SetToBegin();
            while (cursor->Next(record))
                ++forward;
            while (cursor->Prior(record))
                ++backward;
            ASSERT_EQ(forward, count);
            ASSERT_EQ(backward, count);
            if (count == 0)
                continue;

            int64_t target = 1 + static_cast<int64_t>(random() % count);
            ASSERT_TRUE(cursor->SetRecNo(target));
            cursor->LockRecord(record);
            TEngineRecord before = record;
            std::vector<std::string> oldLines = SplitLines(ReadBytes(folder.File("t.txt")));
            record[1] = TVariant(int32_t(4242));
            cursor->ModifyRecord(record);

            std::vector<std::string> newLines = SplitLines(ReadBytes(folder.File("t.txt")));
            ASSERT_EQ(newLines.size(), oldLines.size());
            for (size_t i = 0; i < oldLines.size(); ++i) {
                if (static_cast<int64_t>(i) != target - 1) {
                    EXPECT_EQ(newLines[i], oldLines[i]) << "line " << i + 1 << " changed";
                }
            }
            auto reopened = OpenTable(folder.File("t.txt"));
            ASSERT_EQ(reopened->RecordCount(), count);
            ASSERT_TRUE(reopened->SetRecNo(target));
            TEngineRecord after;
            ASSERT_TRUE(reopened->ReadCurrent(after));
            EXPECT_EQ(after[1].AsInteger(), 4242) << newLines[target - 1];
            for (size_t column : {2u, 3u, 4u})
                EXPECT_EQ(TVariant::Compare(after[column], before[column]), 0)
                    << "column " << column << " of: " << newLines[target - 1];
        }
    }
}

TEST(AsciiDamagedInput, BrokenSchemasFailClearly)
{
    std::mt19937 random(7);
    std::string valid = VaryingSchema;
    for (int round = 0; round < 200; ++round) {
        std::string schema = valid;
        for (int cut = 0; cut < 3; ++cut) {
            size_t at = random() % schema.size();
            schema[at] = "=,[]\n9x\""[random() % 8];
        }
        TScratchFolder folder;
        WriteBytes(folder.File("t.sch"), schema);
        WriteBytes(folder.File("t.txt"), "\"a\",1,1/1/2000,T,1.5\n");
        try {
            auto cursor = OpenTable(folder.File("t.txt"));
            TEngineRecord record;
            cursor->SetToBegin();
            while (cursor->Next(record)) {
            }
        } catch (const EDBEngineError& e) {
            EXPECT_FALSE(e.Message().empty());
        }
    }
}

// Many records: the line index crosses the scan and read-ahead boundaries
// and still reaches each record directly, forwards and backwards.
TEST(AsciiDamagedInput, LargeFileIndexReachesEveryRecord)
{
    TScratchFolder folder;
    WriteBytes(folder.File("t.sch"), VaryingSchema);
    std::string data;
    const int count = 60000;
    for (int i = 0; i < count; ++i)
        data += "\"r" + std::to_string(i) + "\"," + std::to_string(i) + ",1/2/2003,T," + std::string(i % 7, '1') + "\r\n";
    WriteBytes(folder.File("t.txt"), data);
    auto cursor = OpenTable(folder.File("t.txt"));
    ASSERT_EQ(cursor->RecordCount(), count);
    TEngineRecord record;
    std::mt19937 random(3);
    for (int probe = 0; probe < 2000; ++probe) {
        int n = static_cast<int>(random() % count);
        ASSERT_TRUE(cursor->SetRecNo(n + 1));
        ASSERT_TRUE(cursor->ReadCurrent(record));
        ASSERT_EQ(record[1].AsInteger(), n);
    }
    cursor->SetToEnd();
    for (int n = count - 1; n >= 0; --n) {
        ASSERT_TRUE(cursor->Prior(record));
        ASSERT_EQ(record[1].AsInteger(), n);
    }
    ASSERT_TRUE(cursor->SetRecNo(count / 2));
    cursor->DeleteRecord();
    ASSERT_TRUE(cursor->SetRecNo(count - 1));
    ASSERT_TRUE(cursor->ReadCurrent(record));
    EXPECT_EQ(record[1].AsInteger(), count - 1);
}
