// Drawing information, cell rectangles and hit testing of the base grid.

#include "GridTestSupport.h"

#include "grid/base/GridDrawInfo.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class GridGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        // Defaults: 5 x 5 cells, one fixed row and column, 64 x 24 pixels,
        // lines of 1 pixel.
        ShowGrid(*grid, 300, 200);
    }
    std::unique_ptr<TTestGrid> grid;
};

TEST_F(GridGeometry, DrawInfoPerAxisFollowsWidthsAndLines) {
    const TGridDrawInfo di = grid->CalcDrawInfo();
    EXPECT_EQ(di.Horz.EffectiveLineWidth, 1);
    EXPECT_EQ(di.Horz.FixedBoundary, 65);
    EXPECT_EQ(di.Horz.GridExtent, 300);
    // Columns 1..3 end at 130, 195, 260; column 4 would end at 325.
    EXPECT_EQ(di.Horz.LastFullVisibleCell, 3);
    EXPECT_EQ(di.Horz.FullVisBoundary, 260);
    EXPECT_EQ(di.Horz.GridBoundary, 300);
    EXPECT_EQ(di.Horz.FixedCellCount, 1);
    EXPECT_EQ(di.Horz.FirstGridCell, 1);
    EXPECT_EQ(di.Horz.GridCellCount, 5);
    // All rows fit: 25 + 4 * 25 = 125.
    EXPECT_EQ(di.Vert.FixedBoundary, 25);
    EXPECT_EQ(di.Vert.LastFullVisibleCell, 4);
    EXPECT_EQ(di.Vert.GridBoundary, 125);
    EXPECT_EQ(grid->VisibleColCount(), 3);
    EXPECT_EQ(grid->VisibleRowCount(), 4);
    EXPECT_EQ(grid->GridWidth(), 300);
    EXPECT_EQ(grid->GridHeight(), 125);
}

TEST_F(GridGeometry, LineOptionsAndWidthChangeThePitch) {
    grid->SetOptions({goFixedHorzLine, goHorzLine});
    TGridDrawInfo di = grid->CalcDrawInfo();
    EXPECT_EQ(di.Horz.EffectiveLineWidth, 0);
    EXPECT_EQ(di.Horz.FixedBoundary, 64);
    EXPECT_EQ(di.Vert.EffectiveLineWidth, 1);

    grid->SetOptions({goVertLine});  // data lines alone give the whole axis its width
    grid->SetGridLineWidth(3);
    di = grid->CalcDrawInfo();
    EXPECT_EQ(di.Horz.EffectiveLineWidth, 3);
    EXPECT_EQ(di.Horz.FixedBoundary, 67);
    EXPECT_EQ(di.Vert.EffectiveLineWidth, 0);
    EXPECT_EQ(grid->CellRect(2, 1), QRect(134, 24, 64, 24));
}

TEST_F(GridGeometry, CellRectsOfShownCutAndScrolledCells) {
    EXPECT_EQ(grid->CellRect(0, 0), QRect(0, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(2, 1), QRect(130, 25, 64, 24));
    // The partly shown column is cut at the client edge.
    EXPECT_EQ(grid->CellRect(4, 1), QRect(260, 25, 40, 24));
    EXPECT_EQ(grid->BoxRect(1, 1, 2, 2), QRect(65, 25, 129, 49));
    EXPECT_EQ(grid->BoxRect(2, 2, 1, 1), QRect(65, 25, 129, 49));

    grid->SetLeftCol(2);
    EXPECT_TRUE(grid->CellRect(1, 1).isEmpty());  // scrolled out of view
    EXPECT_EQ(grid->CellRect(2, 1), QRect(65, 25, 64, 24));
    // A box from a fixed column to a scrolled one spans the fixed part and
    // continues after it.
    EXPECT_EQ(grid->BoxRect(0, 0, 3, 0), QRect(0, 0, 194, 24));
}

TEST_F(GridGeometry, HiddenColumnsTakeNoSpaceOrOnlyTheirLine) {
    grid->SetColWidths(2, -1);
    EXPECT_TRUE(grid->CellRect(2, 1).isEmpty());
    EXPECT_EQ(grid->CellRect(3, 1).x(), 130);
    EXPECT_EQ(grid->MouseCoord(130, 30).X, 3);

    EXPECT_EQ(grid->VisibleColCount(), 4) << "the hidden column counts among the shown ones";

    grid->SetColWidths(2, 0);
    EXPECT_TRUE(grid->CellRect(2, 1).isEmpty());
    EXPECT_EQ(grid->CellRect(3, 1).x(), 131);  // the hidden column keeps its line
    EXPECT_EQ(grid->MouseCoord(130, 30).X, 2);
}

TEST_F(GridGeometry, MouseCoordAtBoundaries) {
    EXPECT_EQ(grid->MouseCoord(0, 0), (TGridCoord{0, 0}));
    EXPECT_EQ(grid->MouseCoord(63, 23), (TGridCoord{0, 0}));
    // A line belongs to the cell before it.
    EXPECT_EQ(grid->MouseCoord(64, 24), (TGridCoord{0, 0}));
    EXPECT_EQ(grid->MouseCoord(65, 25), (TGridCoord{1, 1}));
    EXPECT_EQ(grid->MouseCoord(129, 49).X, 1);
    EXPECT_EQ(grid->MouseCoord(130, 50), (TGridCoord{2, 2}));
    // Below the last row and before the grid.
    EXPECT_EQ(grid->MouseCoord(100, 125).Y, -1);
    EXPECT_EQ(grid->MouseCoord(-1, 10).X, -1);

    grid->SetTopRow(3);
    EXPECT_EQ(grid->MouseCoord(100, 30).Y, 3);
    EXPECT_EQ(grid->MouseCoord(100, 10).Y, 0);
}

TEST_F(GridGeometry, VisibleRowsCountRowsWhoseLineMayBeCut) {
    grid->SetRowCount(20);
    // Rows of pitch 25 after a 25-pixel title: 7 rows end at 200.
    grid->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(grid->VisibleRowCount(), 7);
    grid->resize(300, 199);  // the last row's line is cut off
    QApplication::processEvents();
    EXPECT_EQ(grid->VisibleRowCount(), 7);
    grid->resize(300, 198);
    QApplication::processEvents();
    EXPECT_EQ(grid->VisibleRowCount(), 6);

    // The height of the rows as footer fitting measures it: with every row
    // fitting and its last line cut, one pixel more than the client.
    grid->SetRowCount(8);
    grid->resize(300, 199);
    QApplication::processEvents();
    EXPECT_EQ(grid->ClientHeight() - grid->GridHeight(), -1);
    grid->resize(300, 230);
    QApplication::processEvents();
    EXPECT_EQ(grid->ClientHeight() - grid->GridHeight(), 30);
}

TEST_F(GridGeometry, RowHeightsAndDefaults) {
    grid->SetRowHeights(2, 40);
    EXPECT_EQ(grid->RowHeights(2), 40);
    EXPECT_EQ(grid->CellRect(1, 3).y(), 25 + 25 + 41);
    grid->SetDefaultRowHeight(20);  // resets every row
    EXPECT_EQ(grid->RowHeights(2), 20);
    EXPECT_EQ(grid->CellRect(1, 3).y(), 63);
    grid->SetColWidths(1, 10);
    grid->SetDefaultColWidth(30);
    EXPECT_EQ(grid->ColWidths(1), 30);
}

TEST_F(GridGeometry, CountsKeepFixedCellsAndCurrentCellValid) {
    grid->SetColCount(10);
    grid->SetRowCount(10);
    grid->FocusCell(8, 8, true);
    grid->SetRowCount(4);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_THROW(grid->SetFixedRows(4), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedCols(-1), EInvalidGridOperation);
    grid->SetRowCount(1);  // fixed rows give way
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_THROW(grid->SetColWidths(10, 5), EInvalidGridOperation);
}

TEST(GridAxis, MaxFirstCellShowsTheLastCellCompletely) {
    TGridAxisDrawInfo axis;
    GridAxis::CalcFixed(axis, 1, 1, 1, 10, [](int) { return 24; });
    GridAxis::CalcVisible(axis, 200);
    // From the last cell back, as many cells as fit below the fixed row.
    EXPECT_EQ(GridAxis::MaxFirstCell(axis, 9), 3);
    EXPECT_EQ(GridAxis::MaxFirstCell(axis, 2), 1);
    // A cell larger than the client is shown from its start.
    TGridAxisDrawInfo wide;
    GridAxis::CalcFixed(wide, 1, 0, 0, 3, [](int) { return 500; });
    GridAxis::CalcVisible(wide, 200);
    EXPECT_EQ(GridAxis::MaxFirstCell(wide, 2), 2);
    EXPECT_EQ(wide.LastFullVisibleCell, 0);
}

}  // namespace
