// A failure in the middle of an export: the error reaches the caller, the
// dataset is back on its record with its controls enabled, and a file is
// closed holding what was written until then.

#include "ExportTestSupport.h"

#include "support/ScratchDir.h"
#include "exchange/DBGridGxExportAsHTML.h"
#include "exchange/DBGridGxExportAsRTF.h"
#include "exchange/DBGridGxExportAsText.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>

namespace {

int OpenFileCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

class ExportFailure : public ::testing::TestWithParam<TDBGridGxExportClass> {
protected:
    void SetUp() override
    {
        MakeNumbered(Grid, 20);
        Grid.GoTo("ID", TVariant(13));
        ActiveRecord = Grid.Grid->DataLink()->ActiveRecord();
    }
    void FailOnRecord(int id) { FailTextOnRecord(*Grid.Table->FieldByName("C2"), id); }
    void ExpectRestored()
    {
        EXPECT_EQ(Grid.Table->FieldByName("ID")->AsInteger(), 13);
        EXPECT_EQ(Grid.Grid->DataLink()->ActiveRecord(), ActiveRecord);
        EXPECT_FALSE(Grid.Table->ControlsDisabled());
    }

    TExportGrid Grid;
    int ActiveRecord = 0;
};

TEST_P(ExportFailure, FieldTextFailureLeavesTheDatasetAsItWas)
{
    FailOnRecord(7);
    TMemoryStream stream;
    EXPECT_THROW(ExportGridToStream(GetParam(), *Grid.Grid, stream, true), EDatabaseError);
    ExpectRestored();
}

TEST_P(ExportFailure, RefusingStreamLeavesTheDatasetAsItWas)
{
    TRefusingStream stream(100);
    EXPECT_THROW(ExportGridToStream(GetParam(), *Grid.Grid, stream, true), EWriteError);
    ExpectRestored();
    EXPECT_LE(stream.Size(), 100);
}

TEST_P(ExportFailure, FailureInARectangleAndARecordSelectionRestoresToo)
{
    FailOnRecord(5);
    Grid.Selection().Rect().Select(0, Grid.BookmarkOf("ID", TVariant(3)), false);
    Grid.Selection().Rect().Select(3, Grid.BookmarkOf("ID", TVariant(8)), true);
    Grid.GoTo("ID", TVariant(13));
    TMemoryStream stream;
    EXPECT_THROW(ExportGridToStream(GetParam(), *Grid.Grid, stream, false), EDatabaseError);
    ExpectRestored();
}

TEST_P(ExportFailure, FileIsClosedOnFailureAndKeepsWhatWasWritten)
{
    TScratchDir dir;
    const std::string path = dir.File("out.txt");
    std::ofstream(path) << std::string(5000, 'z');
    FailOnRecord(20);
    const int filesBefore = OpenFileCount();
    std::unique_ptr<TDBGridGxExport> exporter = GetParam()();
    exporter->Grid = Grid.Grid.get();
    EXPECT_THROW(exporter->ExportIntoFile(path, true), EDatabaseError);
    EXPECT_EQ(OpenFileCount(), filesBefore);
    ExpectRestored();
    // The old content is gone (the file was truncated).
    EXPECT_EQ(FileText(path).find("zzz"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, ExportFailure,
                         ::testing::Values(ExportClass<TDBGridGxExportAsText>, ExportClass<TDBGridGxExportAsCSV>,
                                           ExportClass<TDBGridGxExportAsRTF>, ExportClass<TDBGridGxExportAsHTML>));

TEST(ExportFile, ExistingFileIsTruncatedAndHoldsTheExport)
{
    TExportGrid grid;
    MakeWorkedExample(grid);
    TScratchDir dir;
    const std::string path = dir.File("out.csv");
    std::ofstream(path) << std::string(500, 'z');
    TDBGridGxExportAsCSV exporter;
    exporter.Grid = grid.Grid.get();
    exporter.ExportIntoFile(path, true);
    EXPECT_EQ(FileText(path), "\"A\";\"B\"\r\n\"1\";\"x\"\r\n\"2\";\"y\"");
}

TEST(ExportFile, TextFailureKeepsTheRowsWrittenBefore)
{
    TExportGrid grid;
    MakeNumbered(grid, 5);
    FailTextOnRecord(*grid.Table->FieldByName("C1"), 3);
    TMemoryStream stream;
    EXPECT_THROW(ExportGridToStream(ExportClass<TDBGridGxExportAsText>, *grid.Grid, stream, true), EDatabaseError);
    EXPECT_EQ(StreamText(stream), "ID\tC1\tC2\tC3\r\n1\ta1\tb1\tc1\r\n2\ta2\tb2\tc2\r\n3");
}

TEST(ExportFile, RtfFailureWritesNothingToTheStream)
{
    TExportGrid grid;
    MakeNumbered(grid, 5);
    FailTextOnRecord(*grid.Table->FieldByName("C1"), 4);
    TMemoryStream stream;
    EXPECT_THROW(ExportGridToStream(ExportClass<TDBGridGxExportAsRTF>, *grid.Grid, stream, true), EDatabaseError);
    EXPECT_EQ(stream.Size(), 0);
}

}  // namespace
