// The main window with a sample table open, rendered headless: the grid
// shows its records with titles, the indicator and lines.

#include "AppTestSupport.h"

#include "grid/DBGridGx.h"
#include "ui/OpenDialog.h"
#include "ui/QtColor.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

struct MainWindowPaint : testing::Test {
    void SetUp() override
    {
        TOpenDialogAnswerer chooser(scratch.CopySample("demo.dbf"));
        window->itmDBF()->trigger();
        QApplication::processEvents();
        grid = window->dgrdDBF();
        image = window->grab().toImage();
    }
    // A cell of the grid in the window's picture.
    QRect Cell(int col, int row) const
    {
        QRect rect = grid->CellRect(col, row);
        return rect.translated(grid->viewport()->mapTo(window.Get(), QPoint(0, 0)));
    }
    QColor Pixel(QPoint at) const { return image.pixelColor(at); }
    // Pixels of a rectangle darker than mid grey.
    int DarkPixels(const QRect& rect) const
    {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (qGray(image.pixel(x, y)) < 96)
                    ++count;
        return count;
    }

    TScratchDir scratch;
    TMainWindowHolder window;
    TDBGridGx* grid = nullptr;
    QImage image;
};

TEST_F(MainWindowPaint, TitlesShowTheFieldNamesOnTheButtonFace)
{
    ASSERT_TRUE(window->tblDBF.Active());
    const QRect title = Cell(grid->IndicatorCols(), 0);
    ASSERT_FALSE(title.isEmpty());
    // Background: the fixed colour, right of the caption "NAME".
    EXPECT_EQ(Pixel(QPoint(title.right() - 4, title.center().y())), ToQColor(clBtnFace));
    // The caption is written in the title's left part.
    EXPECT_GT(DarkPixels(QRect(title.left() + 2, title.top() + 2, title.width() / 2, title.height() - 4)), 10);
}

TEST_F(MainWindowPaint, TheIndicatorPointsAtTheCurrentRecord)
{
    const QRect current = Cell(0, grid->TitleRows());
    const QRect other = Cell(0, grid->TitleRows() + 1);
    EXPECT_GT(DarkPixels(current.adjusted(1, 1, -1, -1)), 10) << "the arrow of the current row";
    EXPECT_EQ(DarkPixels(other.adjusted(1, 1, -1, -1)), 0) << "no arrow on another row";
    window->tblDBF.MoveBy(3);
    QApplication::processEvents();
    image = window->grab().toImage();
    EXPECT_EQ(DarkPixels(current.adjusted(1, 1, -1, -1)), 0);
    EXPECT_GT(DarkPixels(Cell(0, grid->TitleRows() + 3).adjusted(1, 1, -1, -1)), 10);
}

TEST_F(MainWindowPaint, RecordsShowTheirTextBetweenSilverLines)
{
    // Every one of the eight records writes something in its first column.
    for (int row = grid->TitleRows() + 1; row < grid->TitleRows() + 8; ++row)
        EXPECT_GT(DarkPixels(Cell(grid->IndicatorCols(), row).adjusted(1, 1, -1, -1)), 10) << "row " << row;
    // The lines between data cells.
    const QRect cell = Cell(grid->IndicatorCols() + 1, grid->TitleRows() + 2);
    EXPECT_EQ(Pixel(QPoint(cell.right() + 1, cell.center().y())), ToQColor(clSilver));
    EXPECT_EQ(Pixel(QPoint(cell.center().x(), cell.bottom() + 1)), ToQColor(clSilver));
    // Below the last record the grid is empty window colour.
    const QRect last = Cell(grid->IndicatorCols(), grid->RowCount() - 1);
    EXPECT_EQ(Pixel(QPoint(last.center().x(), last.bottom() + 10)), ToQColor(clWindow));
}

}  // namespace
