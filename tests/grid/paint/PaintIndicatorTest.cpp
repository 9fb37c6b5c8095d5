// Indicator cells rendered: the glyph of each dataset state at its place,
// the dark look of selected rows, the search arrow, a closed dataset.

#include "grid/PaintTestSupport.h"
#include "grid/input/DBGridGxKeyboard.h"

#include "grid/layout/DBGridGxRowWindow.h"
#include "grid/paint/GridImages.h"

#include <gtest/gtest.h>

namespace {

const QColor Dark(64, 64, 64);

// Where the glyph of a grid row is drawn: right edge - 6 - DX, centred
// vertically, inside the framed content rectangle (DX 1 with dghFixed3D).
QPoint GlyphOrigin(TPaintGrid& grid, int row)
{
    QRect content = grid.IndicatorCell(row).adjusted(1, 1, -1, -1);
    const int right = content.x() + content.width();
    const int bottom = content.y() + content.height();
    return QPoint(right - 6 - 1, (content.y() + bottom - 11) / 2);
}

// Every pixel of the glyph: its own colour where the picture is not the
// transparent colour, the cell's background elsewhere.
void ExpectGlyph(const QImage& image, QPoint origin, const char* name, TColor transparent, const QColor& background,
                 const QColor& replaceInk = QColor())
{
    const QImage glyph = LoadGridBitmap(name);
    ASSERT_EQ(glyph.size(), QSize(6, 11)) << name;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
            const bool ink = glyph.pixelColor(x, y) != Qc(transparent);
            QColor expected = ink ? (replaceInk.isValid() ? replaceInk : glyph.pixelColor(x, y)) : background;
            ASSERT_EQ(Pixel(image, origin + QPoint(x, y)), expected) << name << " at " << x << "," << y;
        }
}

int RowOfRecord(TPaintGrid& grid, int record) { return grid.G().TitleRows() + record; }

TEST(PaintIndicator, BrowseShowsTheBlackArrowOnTheCurrentRowOnly)
{
    TPaintGrid grid;
    grid.Table->MoveBy(1);
    const int current = grid.G().TitleRows() + grid.G().DataLink()->ActiveRecord();
    const QImage image = grid.Render();
    ExpectGlyph(image, GlyphOrigin(grid, current), "DBGARROWGX", clWhite, Qc(clBtnFace));
    // The arrow's picture: the widest line in the middle, one pixel at the tips.
    const QPoint origin = GlyphOrigin(grid, current);
    EXPECT_EQ(CountColor(image, QRect(origin + QPoint(0, 5), QSize(6, 1)), Qc(clBlack)), 6);
    EXPECT_EQ(CountColor(image, QRect(origin, QSize(6, 1)), Qc(clBlack)), 1);
    for (int row : {current - 1, current + 1})
        EXPECT_EQ(CountColor(image, grid.IndicatorCell(row).adjusted(1, 1, -1, -1), Qc(clBlack)), 0);
    EXPECT_EQ(RowWindowOf(grid.G()).IndicatorRow(), current);
}

TEST(PaintIndicator, EditAndInsertStatesShowTheIBeamAndTheStar)
{
    TPaintGrid grid;
    grid.Table->Edit();
    int current = grid.G().TitleRows() + grid.G().DataLink()->ActiveRecord();
    QImage image = grid.Render();
    ExpectGlyph(image, GlyphOrigin(grid, current), "DBEDITGX", clWhite, Qc(clBtnFace));
    EXPECT_EQ(CountColor(image, QRect(GlyphOrigin(grid, current), QSize(6, 1)), Qc(clBlack)), 4) << "##..##";
    grid.Table->Cancel();

    grid.Table->Insert();
    current = grid.G().TitleRows() + grid.G().DataLink()->ActiveRecord();
    image = grid.Render();
    ExpectGlyph(image, GlyphOrigin(grid, current), "DBINSERTGX", clWhite, Qc(clBtnFace));
    EXPECT_EQ(CountColor(image, QRect(GlyphOrigin(grid, current) + QPoint(0, 5), QSize(6, 1)), Qc(clBlack)), 6);
    EXPECT_EQ(RowWindowOf(grid.G()).IndicatorRow(), current);
    grid.Table->Cancel();
}

TEST(PaintIndicator, SelectedRowsAreDarkAndTheCurrentOneShowsTheWhiteArrow)
{
    TPaintGrid grid;
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().SelectedRecords().SetCurrentRowSelected(true);   // record 0, current
    grid.Table->MoveBy(2);
    grid.G().SelectedRecords().SetCurrentRowSelected(true);   // record 2
    grid.Table->MoveBy(-2);
    const QImage image = grid.Render();

    const int current = RowOfRecord(grid, 0);
    ExpectGlyph(image, GlyphOrigin(grid, current), "DBGARROWGXW", clTeal, Dark);
    EXPECT_EQ(CountColor(image, QRect(GlyphOrigin(grid, current) + QPoint(0, 5), QSize(6, 1)), Qc(clWhite)), 6);
    // A selected row that is not current: dark, without a glyph.
    const QRect other = grid.IndicatorCell(RowOfRecord(grid, 2)).adjusted(1, 1, -1, -1);
    EXPECT_EQ(CountColor(image, other, Dark), other.width() * other.height());
    // The unselected row keeps the fixed colour.
    const QRect plain = grid.IndicatorCell(RowOfRecord(grid, 1)).adjusted(1, 1, -1, -1);
    EXPECT_EQ(CountColor(image, plain, Qc(clBtnFace)), plain.width() * plain.height());
}

TEST(PaintIndicator, SearchingShowsTheYellowArrow)
{
    TPaintGrid grid;
    grid.G().Keyboard().IncSearch().Start();
    const int current = grid.G().TitleRows() + grid.G().DataLink()->ActiveRecord();
    const QImage image = grid.Render();
    ExpectGlyph(image, GlyphOrigin(grid, current), "DBGARROWGXW", clTeal, Qc(clBtnFace), Qc(clYellow));

    grid.G().Keyboard().IncSearch().End();
    ExpectGlyph(grid.Render(), GlyphOrigin(grid, current), "DBGARROWGX", clWhite, Qc(clBtnFace));
}

TEST(PaintIndicator, AllSelectedDarkensTheTitleIndicator)
{
    TPaintGrid grid;
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().Selection().SelectAll();
    const QImage image = grid.Render();
    const QRect corner = grid.IndicatorCell(0).adjusted(1, 1, -1, -1);
    EXPECT_EQ(CountColor(image, corner, Dark), corner.width() * corner.height());
    // Sunken: the dark shadow on the top and left, the light on the bottom
    // and right (raised frames have them the other way round).
    const QRect frame = grid.IndicatorCell(0);
    EXPECT_EQ(Pixel(image, frame.topLeft()), Qc(cl3DDkShadow));
    EXPECT_EQ(Pixel(image, frame.bottomRight()), Qc(cl3DLight));
    const QRect raised = grid.IndicatorCell(1);
    EXPECT_EQ(Pixel(image, raised.topLeft()), Qc(clBtnHighlight));
}

TEST(PaintIndicator, ClosedDatasetPaintsEmptyCellsInTheirColours)
{
    TPaintGrid grid;
    TColumnGx* column = grid.G().Columns().Add();
    column->SetFieldName("NAME");
    column->SetColor(clAqua);
    grid.Table->Close();
    const QImage image = grid.Render();
    const int row = grid.G().TitleRows();
    const QRect indicator = grid.IndicatorCell(row).adjusted(1, 1, -1, -1);
    EXPECT_EQ(CountColor(image, indicator, Qc(clBtnFace)), indicator.width() * indicator.height())
        << "no glyph, the fixed colour";
    const QRect cell = grid.Cell(0, row).adjusted(1, 1, -1, -1);
    EXPECT_EQ(CountColor(image, cell, Qc(clAqua)), cell.width() * cell.height()) << "the column's colour";
}

}  // namespace
