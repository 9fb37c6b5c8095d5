// The row window: grid rows follow the link's buffered records, footers
// and their filler fill the space below, and an empty or closed table
// keeps one empty data row.

#include "grid/RowWindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(RowWindow, AnOpenTableFillsTheFullyVisibleRows)
{
    TNumberedGrid grid(1000);
    TDBGridGx& g = grid.G();
    const int rows = grid.DataRows();
    ASSERT_GT(rows, 3);
    EXPECT_EQ(g.RowCount(), g.TitleRows() + rows);
    EXPECT_EQ(grid.Link().BufferCount(), rows);
    // Every data row is whole, and one more would not fit.
    EXPECT_LE(grid.RowEnd(g.RowCount() - 1), g.ClientHeight());
    EXPECT_GT(grid.RowEnd(g.RowCount() - 1) + RowWindowOf(g).RowPitch(), g.ClientHeight());
    for (int row = g.TitleRows(); row < g.RowCount(); ++row)
        EXPECT_EQ(grid.IdAtRow(row), row - g.TitleRows() + 1);
    EXPECT_EQ(g.Row(), g.TitleRows());
    EXPECT_EQ(RowWindowOf(g).VisibleDataRowCount(), rows);
}

TEST(RowWindow, TheCurrentRowFollowsTheCurrentRecord)
{
    TNumberedGrid grid(1000);
    TDBGridGx& g = grid.G();
    grid.Table->MoveBy(3);
    EXPECT_EQ(g.Row(), g.TitleRows() + 3);
    EXPECT_EQ(grid.IdAtRow(g.Row()), 4);
    grid.Table->Last();
    EXPECT_EQ(g.Row(), g.RowCount() - 1);
    EXPECT_EQ(grid.IdAtRow(g.Row()), 1000);
    EXPECT_EQ(grid.FirstVisibleId(), 1000 - grid.DataRows() + 1);
}

TEST(RowWindow, FewRecordsGiveAsManyRows)
{
    TNumberedGrid grid(3);
    EXPECT_EQ(grid.G().RowCount(), grid.G().TitleRows() + 3);
    EXPECT_EQ(grid.IdAtRow(grid.G().TitleRows() + 2), 3);
    EXPECT_EQ(grid.IdAtRow(grid.G().TitleRows() + 3), -1);
}

TEST(RowWindow, AnEmptyTableShowsOneEmptyDataRow)
{
    TNumberedGrid grid(0, false);
    TDBGridGx& g = grid.G();
    EXPECT_EQ(g.RowCount(), g.TitleRows() + 1);
    EXPECT_EQ(RowWindowOf(g).RecordIndexOfRow(g.TitleRows()), -1);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Pos, 0);
    EXPECT_EQ(g.GetScrollInfo(sbVertical).Max, 4);
}

TEST(RowWindow, ClosingTheTableLeavesOneEmptyRowAndReopeningRefills)
{
    TNumberedGrid grid(100);
    TDBGridGx& g = grid.G();
    grid.Table->Close();
    EXPECT_EQ(g.RowCount(), g.TitleRows() + 1);
    EXPECT_EQ(RowWindowOf(g).RecordIndexOfRow(g.TitleRows()), -1);
    grid.Table->Open();
    EXPECT_EQ(g.RowCount(), g.TitleRows() + grid.DataRows());
    EXPECT_GT(grid.DataRows(), 1);
}

TEST(RowWindow, ResizingTheGridChangesTheWindow)
{
    TNumberedGrid grid(1000);
    const int before = grid.DataRows();
    grid.G().resize(320, 240 + 3 * RowWindowOf(grid.G()).RowPitch());
    QApplication::processEvents();
    EXPECT_EQ(grid.DataRows(), before + 3);
    EXPECT_EQ(grid.G().RowCount(), grid.G().TitleRows() + before + 3);
}

// The footer rows always end at the bottom of the client area, the rows
// are the titles, the data rows, one filler and the footers, and at least
// one data row stays.
void ExpectFootersFitted(TNumberedGrid& grid, int footers, int records)
{
    TDBGridGx& g = grid.G();
    const int data = grid.DataRows();
    ASSERT_GE(data, 1);
    EXPECT_EQ(g.RowCount(), g.TitleRows() + data + 1 + footers);
    if (data < records) {
        EXPECT_EQ(RowWindowOf(g).VisibleDataRowCount(), std::max(g.VisibleRowCount() - footers - 1, 1));
    }
    // The data rows are whole.
    const int lastData = g.TitleRows() + data - 1;
    EXPECT_LE(grid.RowEnd(lastData), g.ClientHeight());
    // Footer rows map to no record.
    EXPECT_EQ(RowWindowOf(g).RecordIndexOfRow(g.RowCount() - 1), -1);
    EXPECT_EQ(RowWindowOf(g).RecordIndexOfRow(g.TitleRows() + data), -1);
}

TEST(RowWindow, FootersBelowFewRecordsTakeTheFreeSpaceInTheFiller)
{
    TNumberedGrid grid(3);
    TDBGridGx& g = grid.G();
    g.SetFooterRowCount(2);
    ExpectFootersFitted(grid, 2, 3);
    EXPECT_EQ(grid.DataRows(), 3);
    EXPECT_EQ(grid.RowEnd(g.RowCount() - 1), g.ClientHeight());
}

TEST(RowWindow, FootersFitBelowAFullWindowAtEveryHeight)
{
    TNumberedGrid grid(1000);
    TDBGridGx& g = grid.G();
    for (int footers = 1; footers <= 3; ++footers) {
        g.SetFooterRowCount(footers);
        for (int height = 120; height < 120 + 2 * RowWindowOf(g).RowPitch(); ++height) {
            SCOPED_TRACE(testing::Message() << footers << " footers, height " << height);
            g.resize(320, height);
            QApplication::processEvents();
            ExpectFootersFitted(grid, footers, 1000);
            if (grid.DataRows() > 1) {
                EXPECT_EQ(grid.RowEnd(g.RowCount() - 1), g.ClientHeight());
            }
        }
    }
}

TEST(RowWindow, AGridTooShortForItsFootersKeepsOneDataRow)
{
    TNumberedGrid grid(1000);
    TDBGridGx& g = grid.G();
    g.SetFooterRowCount(3);
    g.resize(320, g.RowHeights(0) + 2 * RowWindowOf(g).RowPitch());
    QApplication::processEvents();
    EXPECT_EQ(grid.DataRows(), 1);
    EXPECT_EQ(g.RowCount(), g.TitleRows() + 3 + 2);
    EXPECT_EQ(RowWindowOf(g).VisibleDataRowCount(), 1);
    // The current record still shows and moves.
    grid.Table->MoveBy(5);
    EXPECT_EQ(grid.IdAtRow(g.TitleRows()), 6);
}

TEST(RowWindow, FootersOnAClosedTableFollowTheEmptyRow)
{
    TNumberedGrid grid(10);
    TDBGridGx& g = grid.G();
    g.SetFooterRowCount(1);
    grid.Table->Close();
    EXPECT_EQ(g.RowCount(), g.TitleRows() + 1 + 1 + 1);
    EXPECT_EQ(grid.RowEnd(g.RowCount() - 1), g.ClientHeight());
}

TEST(RowWindow, SavedViewPositionBringsTheSameRecordBackToTheSameRow)
{
    TNumberedGrid grid(1000);
    TDBGridGx& g = grid.G();
    grid.Table->MoveBy(500);
    grid.Table->MoveBy(-3);
    const int id = grid.Id();
    const int row = g.Row();
    const int first = grid.FirstVisibleId();
    ASSERT_NE(row, g.TitleRows());
    g.SaveViewPosition();
    EXPECT_EQ(grid.Id(), id);
    grid.Table->First();
    grid.Table->Last();
    g.RestoreViewPosition();
    EXPECT_EQ(grid.Id(), id);
    EXPECT_EQ(g.Row(), row);
    EXPECT_EQ(grid.FirstVisibleId(), first);
}

TEST(RowWindow, FreeingTheDataSourceLeavesTheGridUnboundAndEmpty)
{
    TNumberedGrid grid(100);
    TDBGridGx& g = grid.G();
    grid.Source.reset();
    EXPECT_EQ(g.DataSource(), nullptr);
    EXPECT_FALSE(g.DataLink()->Active());
    EXPECT_EQ(g.RowCount(), g.TitleRows() + 1);
    EXPECT_EQ(g.Columns().Count(), 1);
    // It still paints and moves through its empty cells.
    EXPECT_FALSE(g.viewport()->grab().isNull());
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.Row(), g.TitleRows());
}

}  // namespace
