// Rectangle selection: growing and shrinking the block between its anchor
// and shifted corner, its bounds, and the strips of the window repainted.

#include "grid/GridTestSupport.h"
#include "grid/SelectionTestSupport.h"

#include <QApplication>
#include <QPaintEvent>
#include <QRegion>

#include <memory>

#include <gtest/gtest.h>

namespace {

QRegion RegionOf(const std::vector<QRect>& rects)
{
    QRegion region;
    for (const QRect& r : rects)
        region += r;
    return region;
}

TEST(ChangedStrips, AGrowingBlockRepaintsOnlyWhatItGained)
{
    QRect before(10, 10, 50, 40), after(10, 10, 80, 60);
    std::vector<QRect> strips = ChangedStrips(before, after);
    QRegion changed = RegionOf(strips);
    EXPECT_EQ(changed, QRegion(after) - QRegion(before));
    EXPECT_LE(strips.size(), 4u);
}

TEST(ChangedStrips, OverlappingBlocksRepaintTheirBoxOutsideTheOverlap)
{
    QRect before(0, 0, 50, 50), after(20, 30, 50, 50);
    QRegion changed = RegionOf(ChangedStrips(before, after));
    QRect box = before.united(after);
    EXPECT_EQ(changed, QRegion(box) - QRegion(before.intersected(after)));
}

TEST(ChangedStrips, SeparateBlocksRepaintBothAndEqualOnesNothing)
{
    QRect before(0, 0, 10, 10), after(50, 50, 10, 10);
    EXPECT_EQ(RegionOf(ChangedStrips(before, after)), QRegion(before) + QRegion(after));
    EXPECT_TRUE(ChangedStrips(before, before).empty());
    EXPECT_EQ(RegionOf(ChangedStrips(QRect(), after)), QRegion(after));
}

class SelectionRectangle : public ::testing::TestWithParam<bool> {
protected:
    TSelectionGrid Fixture{30, GetParam()};
    TDBGridGxSelectionRect& Rect() { return Fixture.Selection().Rect(); }
};

TEST_P(SelectionRectangle, GrowsAndShrinksFromItsAnchor)
{
    std::string b3 = Fixture.BookmarkOf(3), b7 = Fixture.BookmarkOf(7), b5 = Fixture.BookmarkOf(5);
    Rect().Select(2, b7, false);
    EXPECT_EQ(Fixture.Kind(), gstNon);   // one cell is no selection
    Rect().Select(4, b3, true);
    EXPECT_EQ(Fixture.Kind(), gstRectangle);
    EXPECT_EQ(Rect().TopRow(), b3);
    EXPECT_EQ(Rect().BottomRow(), b7);
    EXPECT_EQ(Rect().LeftCol(), 2);
    EXPECT_EQ(Rect().RightCol(), 4);
    EXPECT_TRUE(Rect().DataCellSelected(3, b5));
    EXPECT_TRUE(Rect().DataCellSelected(2, b3));
    EXPECT_FALSE(Rect().DataCellSelected(1, b5));
    EXPECT_FALSE(Rect().DataCellSelected(3, Fixture.BookmarkOf(8)));

    Rect().Select(3, b5, true);
    EXPECT_EQ(Rect().TopRow(), b5);
    EXPECT_EQ(Rect().RightCol(), 3);
    EXPECT_FALSE(Rect().DataCellSelected(4, b5));

    // Back onto the anchor: no selection.
    Rect().Select(2, b7, true);
    EXPECT_EQ(Fixture.Kind(), gstNon);

    // Without keepAnchor the block starts again.
    Rect().Select(0, b3, false);
    EXPECT_EQ(Rect().Anchor().Col, 0);
    EXPECT_EQ(Rect().Anchor().Bookmark, b3);
}

TEST_P(SelectionRectangle, EqualCornersGiveTheAnchorsBookmarkForBothBounds)
{
    std::string b4 = Fixture.BookmarkOf(4);
    Rect().Select(1, b4, false);
    Rect().Select(3, b4, true);
    EXPECT_EQ(Fixture.Kind(), gstRectangle);
    EXPECT_EQ(Rect().TopRow(), b4);
    EXPECT_EQ(Rect().BottomRow(), b4);
}

TEST_P(SelectionRectangle, TheBlockRectangleCoversItsRowsInTheWindow)
{
    TMemTable& table = *Fixture.Table;
    TDBGridGx& grid = *Fixture.Grid;
    table.First();
    int rows = Fixture.Link().RecordCount();
    ASSERT_GE(rows, 6);
    TDBCell a{1, Fixture.BookmarkOf(3)}, b{2, Fixture.BookmarkOf(5)};
    table.First();
    int titles = grid.TitleRows();
    EXPECT_EQ(Rect().BlockRect(a, b), grid.BoxRect(grid.DataToRawColumn(1), 2 + titles, grid.DataToRawColumn(2), 4 + titles));
    EXPECT_EQ(Rect().BlockRect(b, a), Rect().BlockRect(a, b));

    // A block running past the window ends at its last row; one wholly
    // outside it has no rectangle.
    TDBCell far{2, Fixture.BookmarkOf(29)};
    table.First();
    EXPECT_EQ(Rect().BlockRect(a, far),
              grid.BoxRect(grid.DataToRawColumn(1), 2 + titles, grid.DataToRawColumn(2), rows - 1 + titles));
    TDBCell farther{3, Fixture.BookmarkOf(30)};
    table.First();
    EXPECT_TRUE(Rect().BlockRect(far, farther).isEmpty());
    // The record the fields read is left as it was.
    EXPECT_EQ(Fixture.CurrentId(), 1);
}

TEST_P(SelectionRectangle, OnlyTheChangedStripsAreRepainted)
{
    TDBGridGx& grid = *Fixture.Grid;
    grid.show();
    QApplication::processEvents();
    ASSERT_TRUE(grid.HandleAllocated());
    Fixture.Table->First();
    std::string b2 = Fixture.BookmarkOf(2), b4 = Fixture.BookmarkOf(4), b6 = Fixture.BookmarkOf(6);
    Fixture.Table->First();
    Rect().Select(0, b2, false);
    Rect().Select(1, b4, true);
    QApplication::processEvents();

    auto recorder = std::make_unique<TPaintRecorder>(grid.viewport());
    TDBCell oldAnchor = Rect().Anchor(), oldShift = Rect().ShiftCell();
    Rect().Select(2, b6, true);
    QRect before = Rect().BlockRect(oldAnchor, oldShift);
    QRect after = Rect().BlockRect(Rect().Anchor(), Rect().ShiftCell());
    grid.Update();
    QApplication::processEvents();
    const QRegion painted = recorder->Painted;
    recorder.reset();

    ASSERT_FALSE(after.isEmpty());
    QRegion gained = QRegion(after) - QRegion(before);
    ASSERT_FALSE(gained.isEmpty());
    for (const QRect& strip : gained)
        EXPECT_TRUE(painted.contains(strip.center()));
    EXPECT_EQ(painted.intersected(gained), gained);
    // The cells inside both blocks are left alone.
    EXPECT_FALSE(painted.intersects(before.adjusted(1, 1, -1, -1)));
}

INSTANTIATE_TEST_SUITE_P(Sequencing, SelectionRectangle, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Sequenced" : "Unsequenced"; });

}  // namespace
