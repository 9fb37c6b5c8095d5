// Multi-level titles in a shown grid: the tree every layout pass builds,
// the title row's height, and the bands rendered above the leaves, checked
// by their pixels.

#include "grid/PaintTestSupport.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include <gtest/gtest.h>

namespace {

constexpr int Width = 60;

// A painted grid whose first columns carry the given captions, each
// `Width` pixels wide, under multi-level titles.
class MultiTitleGrid : public ::testing::Test {
protected:
    // Columns of their own over the sample table's fields, in place of
    // the default ones.
    void Captions(std::initializer_list<const char*> captions)
    {
        static const char* const fields[] = {"ID", "NAME", "ACTIVE", "CODE", "NOTES", "AMOUNT"};
        TDBGridGx& grid = Grid.G();
        grid.LockLayout();
        grid.Columns().Clear();
        size_t i = 0;
        for (const char* caption : captions) {
            TColumnGx* column = grid.Columns().Add();
            column->SetFieldName(fields[i++ % 6]);
            column->SetWidth(Width);
            column->Title()->SetCaption(caption);
        }
        grid.SetUseMultiTitle(true);
        grid.UnlockLayout();
    }
    const THeadTreeNode& Leaf(int dataCol) { return *Grid.G().TitleTree().Leaf(dataCol); }
    int LineHeight() const { return QFontMetrics(PaintTestFont()).height(); }
    int TitleRowHeight() { return Grid.G().RowHeights(0); }
    // The top of a column's leaf, where the band above it ends.
    int LeafTop(int dataCol)
    {
        const QRect cell = Grid.Cell(dataCol, 0);
        return cell.bottom() - Leaf(dataCol).Height + 3;
    }
    // The band row of pixels half way between the title row's top and y.
    QRect BandRow(int dataCol, int y) const
    {
        const QRect cell = Grid.Cell(dataCol, 0);
        return QRect(cell.left() + 2, (cell.top() + y) / 2, cell.width() - 4, 1);
    }

    TPaintGrid Grid;
};

// Left and right x of the ink of `color` inside rect, or (-1, -1).
std::pair<int, int> InkSpan(const QImage& image, const QRect& rect, const QColor& color)
{
    int left = -1, right = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) == color) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST_F(MultiTitleGrid, EveryLayoutPassBuildsTheTreeFromTheCurrentCaptions)
{
    Captions({"A|B", "A|C", "D"});
    const THeadTreeNode* a = Leaf(0).Host();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Text, "A");
    EXPECT_EQ(Leaf(1).Host(), a);
    EXPECT_EQ(Leaf(0).Text, "B");
    EXPECT_EQ(Leaf(2).Host(), &Grid.G().TitleTree().Tree().Root());
    EXPECT_EQ(a->Width, 2 * Width + 1) << "two columns and the line between them";

    // A caption changed: the next pass regroups.
    Grid.Column(2).Title()->SetCaption("A|E");
    EXPECT_EQ(Leaf(2).Host(), Leaf(0).Host());
    EXPECT_EQ(Leaf(0).Host()->Width, 3 * Width + 2);
    // A width changed by the program: the node follows.
    Grid.Column(1).SetWidth(Width + 10);
    EXPECT_EQ(Leaf(0).Host()->Width, 3 * Width + 12);
}

TEST_F(MultiTitleGrid, TitleRowIsAsHighAsTheTallestBranch)
{
    const int band = LineHeight() + 10;   // one text line and VTitleMargin
    Captions({"A|B", "A|C", "D"});
    EXPECT_EQ(TitleRowHeight(), 2 * band - 1) << "two bands, less 1 with dghFixed3D";
    Captions({"A|B|C", "A|B|D", "E"});
    EXPECT_EQ(TitleRowHeight(), 3 * band - 1);
    EXPECT_EQ(Leaf(2).Height, 3 * band) << "a top-level leaf reaches over the whole title row";

    // Every band grows with the margin.
    Grid.G().SetVTitleMargin(20);
    EXPECT_EQ(TitleRowHeight(), 3 * (band + 10) - 1);
    // Without the 3D frame the row is 3 pixels lower than the tree.
    Grid.G().SetOptionsGx(Grid.G().OptionsGx() - dghFixed3D);
    EXPECT_EQ(TitleRowHeight(), 3 * (band + 10) - 3);
}

TEST_F(MultiTitleGrid, SortMarkedLeafMeasuresItsCaption16PixelsNarrower)
{
    // One word that fits the column's text width but not 16 pixels less:
    // a word too long for its line is broken inside.
    const QFontMetrics metrics(PaintTestFont());
    std::string caption = "A|";
    while (metrics.horizontalAdvance(QString::fromStdString(caption.substr(2) + "W")) <= Width - 4)
        caption += "W";
    ASSERT_GT(metrics.horizontalAdvance(QString::fromStdString(caption.substr(2))), Width - 4 - 16);
    Captions({caption.c_str(), "A|x"});
    const int plain = TitleRowHeight();
    Grid.Column(0).Title()->SetSortMarker(smUpGx);
    Grid.G().RequestLayout();
    EXPECT_EQ(TitleRowHeight(), plain + LineHeight());
    EXPECT_EQ(Leaf(0).WidthIndent, 16);
}

TEST_F(MultiTitleGrid, UpperBandSpansItsColumnsWithLinesBetweenBands)
{
    Captions({"A|B", "A|C", "D"});
    const QImage image = Grid.Render();
    const QRect c0 = Grid.Cell(0, 0), c1 = Grid.Cell(1, 0), c2 = Grid.Cell(2, 0);
    const int leafTop = LeafTop(0);
    ASSERT_GT(leafTop, c0.top() + 5);
    const int bandY = (c0.top() + leafTop) / 2;

    // Over the line between A's two columns the band goes on; in the
    // leaves' rows and between A and D the grid line shows.
    EXPECT_EQ(Pixel(image, c0.right() + 1, bandY), Qc(clBtnFace));
    EXPECT_EQ(Pixel(image, c0.right() + 1, c0.bottom() - 2), Qc(clBlack));
    EXPECT_EQ(Pixel(image, c1.right() + 1, bandY), Qc(clBlack));

    // The line between the bands runs across both columns below A, not
    // across D, whose leaf fills the whole title row.
    const int lineY = leafTop - 1;
    EXPECT_EQ(CountColor(image, QRect(c0.left(), lineY, 2 * Width + 1, 1), Qc(clBlack)), 2 * Width + 1);
    EXPECT_LT(CountColor(image, QRect(c2.left() + 2, lineY, Width - 4, 1), Qc(clBlack)), Width / 2);

    // "A" is written once, centred over the whole span.
    const auto [left, right] = InkSpan(image, QRect(c0.left(), c0.top() + 2, 2 * Width + 1, leafTop - 4 - c0.top()),
                                       Qc(clBlack));
    ASSERT_GE(left, 0);
    const int spanCentre = c0.left() + (2 * Width + 1) / 2;
    EXPECT_LE(std::abs((left + right) / 2 - spanCentre), 2);
    EXPECT_LT(right - left, 12);
    // D's caption sits in the middle of the whole title row.
    const auto d = FirstInk(image, c2.adjusted(2, 2, -2, -2), Qc(clBtnFace));
    EXPECT_GT(d.y(), c2.top() + (c2.height() - LineHeight()) / 2 - 3);
    EXPECT_LT(d.y(), c2.top() + c2.height() / 2);
}

TEST_F(MultiTitleGrid, ThreeLevelsPaintThreeBands)
{
    Captions({"A|B|C", "A|B|D", "E"});
    const QImage image = Grid.Render();
    const QRect c0 = Grid.Cell(0, 0);
    const int band = LineHeight() + 10;
    // Lines under A and under B across both columns.
    for (int y : {c0.top() + band, c0.top() + 2 * band})
        EXPECT_EQ(CountColor(image, QRect(c0.left(), y, 2 * Width + 1, 1), Qc(clBlack)), 2 * Width + 1) << y;
    // Each band holds ink of its own text.
    for (int level = 0; level < 3; ++level) {
        const QRect row(c0.left() + 2, c0.top() + level * band + 2, Width - 4, band - 5);
        EXPECT_GT(CountColor(image, row.adjusted(0, 0, Width, 0), Qc(clBlack)), 0) << "level " << level;
    }
}

TEST_F(MultiTitleGrid, HiddenColumnKeepsItsLeafWithoutASlice)
{
    Captions({"A|B", "A|C", "A|E"});
    Grid.Column(1).SetVisible(false);
    EXPECT_EQ(Leaf(1).Width, -1) << "hidden, with column lines";
    EXPECT_EQ(Leaf(1).Host(), Leaf(0).Host());
    EXPECT_EQ(Leaf(0).Host()->Width, 2 * Width + 1);

    const QImage image = Grid.Render();
    const QRect c0 = Grid.Cell(0, 0), c2 = Grid.Cell(2, 0);
    EXPECT_EQ(c2.left(), c0.right() + 2) << "the visible columns stand side by side";
    const int bandY = (c0.top() + LeafTop(0)) / 2;
    EXPECT_EQ(Pixel(image, c0.right() + 1, bandY), Qc(clBtnFace)) << "one band over both visible columns";
    const auto [left, right] = InkSpan(image, QRect(c0.left(), c0.top() + 2, 2 * Width + 1, LeafTop(0) - 4 - c0.top()),
                                       Qc(clBlack));
    EXPECT_LE(std::abs((left + right) / 2 - (c0.left() + Width)), 2);
}

TEST_F(MultiTitleGrid, HorizontalScrollCutsAnUpperBandAtTheLeftEdge)
{
    // A long text over two columns: half of it over each.
    Captions({"XXXXXXXXXXXXXX|a", "XXXXXXXXXXXXXX|b", "c", "d", "e", "f"});
    for (int i = 2; i < 6; ++i)
        Grid.Column(i).SetWidth(120);
    const int leafTop = LeafTop(1);
    const QImage before = Grid.Render();
    const QRect c1 = Grid.Cell(1, 0);
    // Inside the band's frame: from the column's left edge, where the band
    // goes on to the left.
    const QRect slice(c1.left(), c1.top() + 3, Width - 2, leafTop - 4 - (c1.top() + 3));
    const QImage sliceBefore = before.copy(slice);
    ASSERT_GT(sliceBefore.width() * sliceBefore.height() - CountColor(sliceBefore, sliceBefore.rect(), Qc(clBtnFace)),
              20)
        << "the right half of the text";

    // Scrolled by one column: the second column stands at the left edge and
    // shows the same part of the text as before, the rest lies beyond the edge.
    Grid.G().SetLeftCol(Grid.G().LeftCol() + 1);
    const QImage after = Grid.Render();
    const QRect moved = Grid.Cell(1, 0);
    ASSERT_EQ(moved.left(), Grid.G().CellRect(0, 0).right() + 2) << "right of the indicator";
    const QRect movedSlice(moved.left(), slice.top(), slice.width(), slice.height());
    EXPECT_EQ(after.copy(movedSlice), sliceBefore);
    // The text starts right at the edge: it is cut, not moved into the slice.
    EXPECT_LE(FirstInk(after, movedSlice, Qc(clBtnFace)).x(), moved.left() + 1);
}

TEST_F(MultiTitleGrid, BandOverTheLastFrozenColumnStopsAtItsLineOnceScrolled)
{
    Captions({"Both|a", "Both|b", "c", "d", "e", "f"});
    for (int i = 2; i < 6; ++i)
        Grid.Column(i).SetWidth(120);
    Grid.G().SetFrozenCols(1);
    const QRect frozen = Grid.Cell(0, 0);
    const int bandY = (frozen.top() + LeafTop(0)) / 2;
    // The band goes on over the line into the next column.
    EXPECT_EQ(Pixel(Grid.Render(), frozen.right() + 1, bandY), Qc(clBtnFace));

    // Scrolled past the band's second column: the frozen slice ends at its
    // line, and the scroll repaints it although its pixels did not move.
    TPaintRecorder recorder(Grid.G().viewport());
    Grid.G().SetLeftCol(Grid.G().LeftCol() + 1);
    for (int i = 0; i < 4; ++i)   // the scroll's paint, then the one it asks for
        QApplication::processEvents();
    EXPECT_TRUE(recorder.Painted.contains(frozen)) << "the frozen title cell is repainted";
    EXPECT_EQ(Pixel(Grid.Render(), frozen.right() + 1, bandY), Qc(clBlack));

    // And back again.
    Grid.G().SetLeftCol(Grid.G().LeftCol() - 1);
    EXPECT_EQ(Pixel(Grid.Render(), frozen.right() + 1, bandY), Qc(clBtnFace));
}

TEST_F(MultiTitleGrid, SelectedColumnDrawsItsSliceDark)
{
    Captions({"A|B", "A|C"});
    Grid.G().SetOptions(Grid.G().Options() + dgMultiSelect);
    Grid.G().Selection().Cols().Select(&Grid.Column(1), false);
    const QImage image = Grid.Render();
    const int bandY = (Grid.Cell(0, 0).top() + LeafTop(0)) / 2;
    EXPECT_EQ(Pixel(image, Grid.Cell(1, 0).left() + 3, bandY), QColor(64, 64, 64));
    EXPECT_EQ(Pixel(image, Grid.Cell(0, 0).left() + 3, bandY), Qc(clBtnFace));
}

TEST_F(MultiTitleGrid, FlatTitlesFrameTheirBandsOnTheTopAndLeftOnly)
{
    Captions({"A|B", "A|C"});
    const QRect c0 = Grid.Cell(0, 0);
    // The band's last pixel row, just above the line between the bands.
    const QPoint bottomEdge(c0.left() + 3, LeafTop(0) - 2);
    const QColor raisedBottom = Pixel(Grid.Render(), bottomEdge.x(), bottomEdge.y());
    ASSERT_NE(raisedBottom, Qc(clBtnFace)) << "the raised band has a shadowed bottom edge";

    Grid.G().SetFlat(true);
    const QRect flatCell = Grid.Cell(0, 0);
    const QImage flat = Grid.Render();
    EXPECT_EQ(Pixel(flat, flatCell.left() + 3, LeafTop(0) - 2), Qc(clBtnFace));
    EXPECT_NE(Pixel(flat, flatCell.left() + 3, flatCell.top()), Qc(clBtnFace)) << "the top edge stays";
}

}  // namespace
