// The data grid painted under right-to-left reading, on rendered images:
// the indicator and the first columns at the right, the indicator's arrow
// pointing at the row's cells, text drawn unmirrored with left and right
// alignment swapped, and always shown edit buttons at the cell's left.

#include "grid/PaintTestSupport.h"

#include "grid/columns/CellEditButtonsGx.h"

#include <gtest/gtest.h>

namespace {

// The smallest rectangle holding every pixel of rect that differs from the
// background.
QRect InkBox(const QImage& image, const QRect& rect, const QColor& background)
{
    const QPoint first = FirstInk(image, rect, background);
    if (first.x() < 0)
        return QRect();
    int bottom = first.y();
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != background)
                bottom = y;
    return QRect(QPoint(first.x(), first.y()), QPoint(LastInkX(image, rect, background), bottom));
}

struct TMirroredPaint : TPaintGrid {
    TMirroredPaint() { G().setLayoutDirection(Qt::RightToLeft); }
    // Where a logical cell is drawn mirrored.
    QRect Drawn(const QRect& cell) const
    {
        return QRect(Grid->ClientWidth() - cell.x() - cell.width(), cell.y(), cell.width(), cell.height());
    }
    QImage RenderIn(Qt::LayoutDirection direction)
    {
        G().setLayoutDirection(direction);
        return Render();
    }
};

TEST(PaintReadingOrder, TheIndicatorAndTheFirstColumnLieAtTheRight)
{
    TMirroredPaint grid;
    const int width = grid.G().ClientWidth();
    const int row = grid.G().TitleRows();
    const QRect indicator = grid.Drawn(grid.IndicatorCell(row));
    EXPECT_EQ(indicator.right(), width - 1);
    const QRect firstCell = grid.Drawn(grid.Cell(0, row));
    EXPECT_LT(firstCell.right(), indicator.left()) << "the first column left of the indicator";
    EXPECT_GT(firstCell.left(), grid.Drawn(grid.Cell(1, row)).right());

    const QImage mirrored = grid.RenderIn(Qt::RightToLeft);
    const QImage plain = grid.RenderIn(Qt::LeftToRight);
    const int otherRow = grid.Drawn(grid.IndicatorCell(row + 1)).center().y();
    EXPECT_EQ(Pixel(mirrored, width - 4, otherRow), Qc(clBtnFace)) << "the indicator's face";
    EXPECT_EQ(Pixel(mirrored, 3, otherRow), Qc(clWindow)) << "the free area at the left";
    // The indicator cell of the current row, frame and arrow, is the
    // left-to-right one mirrored: the arrow points at the row's cells.
    const QRect logical = grid.IndicatorCell(row);
    EXPECT_EQ(mirrored.copy(indicator), plain.copy(logical).mirrored(true, false));
    EXPECT_GT(CountColor(plain, logical, Qc(clBlack)), 10) << "the arrow is there";
}

TEST(PaintReadingOrder, TextIsUnmirroredAndLeftAndRightAlignmentSwap)
{
    TMirroredPaint grid;
    const int row = grid.G().TitleRows() + 1;   // Bob, not the current row
    const QColor white = Qc(clWindow);
    const QImage plain = grid.RenderIn(Qt::LeftToRight);
    const QImage mirrored = grid.RenderIn(Qt::RightToLeft);

    // NAME is left-justified: it starts at the cell's right edge.
    const QRect name = grid.Cell(1, row);
    const QRect nameInk = InkBox(mirrored, grid.Drawn(name).adjusted(1, 0, -1, -1), white);
    const QRect plainNameInk = InkBox(plain, name.adjusted(1, 0, -1, -1), white);
    ASSERT_FALSE(nameInk.isNull());
    EXPECT_NEAR(grid.Drawn(name).right() - nameInk.right(), plainNameInk.left() - name.left(), 3)
        << "as far from the right edge as left-to-right text from the left";
    EXPECT_EQ(mirrored.copy(nameInk), plain.copy(plainNameInk)) << "the letters read as ever";

    // AMOUNT is right-justified: it ends near the cell's left edge.
    const QRect amount = grid.Cell(5, row);
    const QRect amountInk = InkBox(mirrored, grid.Drawn(amount).adjusted(1, 0, -1, -1), white);
    ASSERT_FALSE(amountInk.isNull());
    EXPECT_LE(amountInk.left() - grid.Drawn(amount).left(), 4);
    EXPECT_GT(grid.Drawn(amount).right() - amountInk.right(), 10);

    // Title captions follow the same swap.
    const QRect title = grid.Cell(1, 0).adjusted(2, 2, -2, -2);
    const QRect titleInk = InkBox(mirrored, grid.Drawn(title), Qc(clBtnFace));
    ASSERT_FALSE(titleInk.isNull());
    EXPECT_GT(titleInk.left(), grid.Drawn(title).center().x()) << "NAME starts at the right";
}

TEST(PaintReadingOrder, AlwaysShownEditButtonsStandAtTheCellsLeft)
{
    TMirroredPaint grid;
    grid.Column(1).SetPickList({"Ann", "Bob"});
    grid.Column(1).SetAlwaysShowEditButton(true);
    const int row = grid.G().TitleRows() + 1;
    const QRect drawn = grid.Drawn(grid.Cell(1, row));
    const int buttons = CellEditButtonsWidth(grid.G(), grid.Column(1));
    ASSERT_GT(buttons, 0);
    const QImage image = grid.RenderIn(Qt::RightToLeft);
    const QRect strip(drawn.left(), drawn.top(), buttons, drawn.height());
    EXPECT_GT(CountColor(image, strip, Qc(clBtnFace)), buttons * 4) << "the button's face at the left";
    EXPECT_EQ(CountColor(image, QRect(drawn.right() - buttons + 1, drawn.top(), buttons, drawn.height()),
                         Qc(clBtnFace)),
              0);
}

}  // namespace
