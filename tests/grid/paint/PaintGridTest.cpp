// The whole grid rendered: line colours per region (fixed, data, frozen,
// flat), the area beside and below the cells, the row-select focus frame,
// frozen 3D cells, the flat border.

#include "grid/PaintTestSupport.h"

#include "grid/base/InplaceEdit.h"

#include <map>

#include <gtest/gtest.h>

namespace {

// The x of the vertical line right of a data column, and the y of the
// horizontal line below a row.
int LineAfterColumn(TPaintGrid& grid, int dataCol)
{
    const QRect cell = grid.Cell(dataCol, 1);
    return cell.x() + cell.width();
}
int LineBelowRow(TPaintGrid& grid, int row)
{
    const QRect cell = grid.Cell(0, row);
    return cell.y() + cell.height();
}

TEST(PaintGrid, FixedLinesAreBlackAndDataLinesSilver)
{
    TPaintGrid grid;
    QImage image = grid.Render();
    EXPECT_EQ(Pixel(image, LineAfterColumn(grid, 1), grid.Cell(1, 0).center().y()), Qc(clBlack));
    EXPECT_EQ(Pixel(image, grid.Cell(1, 0).center().x(), LineBelowRow(grid, 0)), Qc(clBlack));
    EXPECT_EQ(Pixel(image, LineAfterColumn(grid, 1), grid.Cell(1, 2).center().y()), Qc(clSilver));
    EXPECT_EQ(Pixel(image, grid.Cell(1, 2).center().x(), LineBelowRow(grid, 2)), Qc(clSilver));

    // Flat: grey fixed lines; a silver grid: grey data lines.
    grid.G().SetFlat(true);
    grid.G().SetColor(clSilver);
    image = grid.Render();
    EXPECT_EQ(Pixel(image, LineAfterColumn(grid, 1), grid.Cell(1, 0).center().y()), Qc(clGray));
    EXPECT_EQ(Pixel(image, LineAfterColumn(grid, 1), grid.Cell(1, 2).center().y()), Qc(clGray));
    EXPECT_EQ(Pixel(image, grid.Cell(1, 2).center()), Qc(clSilver));
}

TEST(PaintGrid, FrozenColumnsGetDataLinesUnlessFramed)
{
    TPaintGrid grid;
    grid.G().SetFrozenCols(1);
    ASSERT_EQ(grid.G().FixedCols(), grid.G().IndicatorCols() + 1);
    QImage image = grid.Render();
    const int x = LineAfterColumn(grid, 0);
    EXPECT_EQ(Pixel(image, x, grid.Cell(0, 2).center().y()), Qc(clSilver)) << "frozen data rows";
    EXPECT_EQ(Pixel(image, x, grid.Cell(0, 0).center().y()), Qc(clBlack)) << "the title row stays fixed";
    EXPECT_EQ(Pixel(image, grid.Cell(0, 2).center().x(), LineBelowRow(grid, 2)), Qc(clSilver));
    // Frozen cells show their data like any data cell.
    EXPECT_EQ(Pixel(image, grid.Cell(0, 2).topLeft()), Qc(clWindow));

    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghFrozen3D);
    image = grid.Render();
    EXPECT_EQ(Pixel(image, grid.Cell(0, 2).topLeft()), Qc(clBtnHighlight)) << "a raised frame";
    EXPECT_EQ(Pixel(image, x, grid.Cell(0, 2).center().y()), Qc(clBlack)) << "fixed lines around framed cells";
}

TEST(PaintGrid, AreasBesideAndBelowTheCellsTakeTheGridColour)
{
    TPaintGrid grid(SampleTable(), 700, 300);
    grid.G().SetColor(clAqua);
    const QImage image = grid.Render();
    const QRect last = grid.Cell(grid.G().Columns().Count() - 1, 3);
    EXPECT_EQ(Pixel(image, last.x() + last.width() + 5, 5), Qc(clAqua));
    EXPECT_EQ(Pixel(image, 5, image.height() - 2), Qc(clAqua));
    EXPECT_EQ(Pixel(image, image.width() - 2, image.height() - 2), Qc(clAqua));
}

TEST(PaintGrid, RowSelectFramesTheSelectedRowFromTheFirstColumn)
{
    TPaintGrid grid;
    grid.G().SetOptions(grid.G().Options() + dgRowSelect);
    const QImage image = grid.Render();
    const QRect first = grid.Cell(0, 1);
    const QColor highlight = Qc(clHighlight);
    const QColor inverted(255 - highlight.red(), 255 - highlight.green(), 255 - highlight.blue());
    EXPECT_EQ(Pixel(image, first.topLeft()), inverted) << "the frame starts at the first data column";
    const QRect code = grid.Cell(3, 1);
    EXPECT_EQ(Pixel(image, code.x() + 1, code.bottom() - 2), highlight) << "the whole row highlighted";
    EXPECT_EQ(Pixel(image, code.x() + 1, grid.Cell(3, 2).bottom() - 2), Qc(clWindow));
}

TEST(PaintGrid, FlatSingleBorderIsOneSunkenPixel)
{
    TPaintGrid grid;
    grid.G().SetBorderStyle(bsSingle);
    grid.G().SetFlat(true);
    grid.Render();
    QApplication::processEvents();
    EXPECT_EQ(grid.G().frameWidth(), 1);
    const QImage outer = grid.G().grab().toImage();
    EXPECT_EQ(Pixel(outer, 0, 0), Qc(clBtnShadow));
    EXPECT_EQ(Pixel(outer, outer.width() - 1, outer.height() - 1), Qc(clBtnHighlight));

    grid.G().SetFlat(false);
    grid.Render();
    QApplication::processEvents();
    EXPECT_EQ(grid.G().frameWidth(), 2) << "the standard border again";
}

TEST(PaintGrid, NoCellIsPaintedTwiceOrMissed)
{
    TPaintGrid grid;
    std::map<std::pair<int, int>, int> drawn;
    grid.G().OnDrawColumnCell = [&](TCustomDBGridGx& sender, const QRect& rect, int dataCol, TColumnGx&,
                                    TGridDrawState) {
        const int row = sender.MouseCoord(rect.center().x(), rect.center().y()).Y;
        ++drawn[{dataCol, row}];
    };
    QApplication::processEvents();
    drawn.clear();
    grid.G().viewport()->grab();
    const int columns = grid.G().Columns().Count();
    for (int row = 1; row <= 3; ++row)
        for (int col = 0; col < columns; ++col)
            EXPECT_EQ((drawn[{col, row}]), 1) << col << "," << row;
}

TEST(PaintGrid, TheCellUnderAShownEditorIsNotPainted)
{
    TPaintGrid grid;
    grid.G().SetCol(grid.G().DataToRawColumn(1));
    std::map<std::pair<int, int>, int> drawn;
    grid.G().OnDrawColumnCell = [&](TCustomDBGridGx& sender, const QRect& rect, int dataCol, TColumnGx&,
                                    TGridDrawState) {
        ++drawn[{dataCol, sender.MouseCoord(rect.center().x(), rect.center().y()).Y}];
    };
    grid.G().ShowEditor();
    QApplication::processEvents();
    ASSERT_TRUE(grid.G().InplaceEditor() && grid.G().InplaceEditor()->isVisible());
    drawn.clear();
    grid.G().viewport()->grab();
    EXPECT_EQ((drawn[{1, 1}]), 0) << "the editor covers it";
    EXPECT_EQ((drawn[{1, 2}]), 1);
    EXPECT_EQ((drawn[{0, 1}]), 1);
}

}  // namespace
