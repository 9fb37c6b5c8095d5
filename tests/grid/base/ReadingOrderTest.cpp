// The base grid under right-to-left reading: the cells painted mirrored
// (the fixed column at the right), pointer positions and the editor's place
// mapped through the mirror, pixel scrolling in the mirrored direction, and
// the horizontal scroll bar revealing further columns towards the left.

#include "GridTestSupport.h"

#include "ui/QtColor.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

const QColor BtnFace = ToQColor(clBtnFace);
const QColor White = ToQColor(clWindow);

class GridReadingOrder : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<TTestGrid>();
        // Cells of 64 x 24 with 1-pixel lines; the fixed column is logical
        // [0, 64), column 1 [65, 129), column 2 [130, 194).
        grid->setLayoutDirection(Qt::RightToLeft);
        ShowGrid(*grid, 300, 200);
    }
    // The viewport pixel of a logical one.
    QPoint At(int x, int y) const { return grid->ViewportPoint({x, y}); }
    // Twelve columns and twenty rows with both bars; the horizontal bar.
    QScrollBar* ShowScrollBars() {
        grid->SetColCount(12);
        grid->SetRowCount(20);
        grid->SetScrollBars(ssBoth);
        QApplication::processEvents();
        return grid->ScrollBarControl(sbHorizontal);
    }
    std::unique_ptr<TTestGrid> grid;
};

TEST_F(GridReadingOrder, TheMirrorMapsAreasAndPointsAndIsItsOwnInverse) {
    EXPECT_EQ(grid->ViewportRect(QRect(0, 5, 64, 24)), QRect(236, 5, 64, 24));
    EXPECT_EQ(grid->ViewportPoint({0, 7}), QPoint(299, 7));
    EXPECT_EQ(grid->LogicalPoint(grid->ViewportPoint({123, 7})), QPoint(123, 7));
    grid->setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(grid->ViewportRect(QRect(0, 5, 64, 24)), QRect(0, 5, 64, 24));
    EXPECT_EQ(grid->ViewportPoint({0, 7}), QPoint(0, 7));
}

TEST_F(GridReadingOrder, PaintingIsTheLeftToRightPictureMirrored) {
    grid->SetColCount(4);
    grid->SetSelection({2, 2, 3, 3});
    grid->clearFocus();   // no focus frame, whose dots keep their own phase
    QApplication::processEvents();
    const QImage mirrored = Render(*grid);
    EXPECT_EQ(PixelAt(mirrored, 299 - 10, 40), BtnFace) << "the fixed column at the right";
    EXPECT_EQ(PixelAt(mirrored, 10, 40), White) << "the free area at the left";

    grid->setLayoutDirection(Qt::LeftToRight);
    QApplication::processEvents();
    const QImage plain = Render(*grid);
    EXPECT_EQ(PixelAt(plain, 10, 40), BtnFace);
    EXPECT_EQ(mirrored, plain.mirrored(true, false));
}

TEST_F(GridReadingOrder, PointerPositionsAreMirroredAsTheyEnter) {
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, At(140, 60));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    // The physically rightmost scrollable cell is column 1.
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, QPoint(300 - 65 - 3, 30));
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridReadingOrder, LeftGoesOnToTheFollowingColumnAndRightBack) {
    int seen = 0;
    grid->OnKeyDown = [&](int& key, TShiftState) { seen = key; };
    QTest::keyClick(grid.get(), Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(seen, Qt::Key_Left) << "the handler sees the key pressed";
    QTest::keyClick(grid.get(), Qt::Key_Right);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 1) << "not into the fixed column";
    QTest::keyClick(grid.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_GT(grid->Col(), 2) << "a page on";
}

TEST_F(GridReadingOrder, SizingDragsTheMirroredBorderTowardsTheLeft) {
    grid->SetOptions(grid->Options() + goColSizing);
    // Column 1's border line is logical 129: physically left of the column.
    const QPoint border = At(129, 10);
    QTest::mouseMove(Client(*grid), border);
    EXPECT_EQ(Client(*grid)->cursor().shape(), Qt::SplitHCursor);
    EXPECT_EQ(grid->CursorAt(129, 10).shape(), Qt::SplitHCursor) << "the hooks take logical positions";
    Drag(*grid, border, border - QPoint(20, 0));
    EXPECT_EQ(grid->ColWidths(1), 84) << "dragging away from the column's start widens it";
    EXPECT_EQ(grid->ColWidths(2), 64);
    Drag(*grid, At(130 + 20, 10), At(130 + 20, 10) + QPoint(30, 0));
    EXPECT_EQ(grid->ColWidths(1), 54);
}

TEST_F(GridReadingOrder, TheEditorSitsOverTheMirroredCellAndFollowsAChangedOrder) {
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetCol(2);
    grid->ShowEditor();
    ASSERT_TRUE(grid->InplaceEditor()->isVisible());
    EXPECT_EQ(grid->InplaceEditor()->geometry(), QRect(300 - 194, 25, 64, 24));
    TInplaceEdit& editor = *grid->InplaceEditor();
    editor.end(false);
    (void)editor.grab();   // the line edit places its text when it paints
    EXPECT_GT(editor.inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 64 / 2) << "Latin text too stands at the leading, right edge";
    grid->setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(grid->InplaceEditor()->geometry(), QRect(130, 25, 64, 24));
    editor.end(false);
    (void)editor.grab();
    EXPECT_LT(editor.inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 64 / 2);
}

TEST_F(GridReadingOrder, ScrolledPixelsMatchAFullRepaint) {
    grid->SetColCount(12);
    grid->SetRowCount(12);
    QApplication::processEvents();
    (void)Render(*grid);
    grid->SetLeftCol(2);   // moves the pixels of the scrollable band
    QApplication::processEvents();
    const QImage scrolled = Render(*grid);
    grid->InvalidateGrid();
    QApplication::processEvents();
    EXPECT_EQ(scrolled, Render(*grid));
}

TEST_F(GridReadingOrder, TheScrollBarsLeftArrowRevealsFurtherColumns) {
    QScrollBar* bar = ShowScrollBars();
    ASSERT_TRUE(bar->isVisible());
    const int left = grid->LeftCol();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, bar->height() / 2));
    EXPECT_EQ(grid->LeftCol(), left + 1);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, bar->height() / 2));
    EXPECT_EQ(grid->LeftCol(), left);
    QScrollBar* vertical = grid->ScrollBarControl(sbVertical);
    ASSERT_TRUE(vertical->isVisible());
    EXPECT_LT(vertical->mapTo(grid.get(), QPoint(0, 0)).x(), grid->viewport()->x()) << "the vertical bar at the left";
}

TEST_F(GridReadingOrder, TheHorizontalThumbStartsAtTheRightAndMovesLeftAsFurtherColumnsShow) {
    QScrollBar* bar = ShowScrollBars();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->layoutDirection(), Qt::RightToLeft);
    EXPECT_FALSE(bar->invertedAppearance());
    const QRect groove = ScrollBarPart(bar, QStyle::SC_ScrollBarGroove);
    const auto thumb = [&] { return ScrollBarPart(bar, QStyle::SC_ScrollBarSlider); };
    EXPECT_EQ(thumb().right(), groove.right()) << "the first columns shown: the thumb at the right";

    grid->SetLeftCol(grid->LeftCol() + 3);
    const QRect further = thumb();
    EXPECT_LT(further.right(), groove.right());
    EXPECT_GT(further.left(), groove.left());

    // A page click left of the thumb shows the following columns, right of it the earlier ones.
    const int before = grid->LeftCol();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(groove.left() + 1, bar->height() / 2));
    EXPECT_GT(grid->LeftCol(), before);
    EXPECT_LT(thumb().left(), further.left());
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(thumb().right() + 2, bar->height() / 2));
    EXPECT_LT(grid->LeftCol(), before + grid->VisibleColCount());

    // The thumb dragged to the left end shows the last columns; back to the right end, the first.
    const auto dragThumbTo = [&](int x) {
        const QPoint from = thumb().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, from);
        QTest::mouseMove(bar, QPoint((from.x() + x) / 2, from.y()));
        QTest::mouseMove(bar, QPoint(x, from.y()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(x, from.y()));
    };
    dragThumbTo(groove.left());
    EXPECT_EQ(grid->LeftCol() + grid->VisibleColCount(), grid->ColCount()) << "the last column in view";
    EXPECT_EQ(thumb().left(), groove.left());
    dragThumbTo(groove.right());
    EXPECT_EQ(grid->LeftCol(), grid->FixedCols());
    EXPECT_EQ(thumb().right(), groove.right());
}

}  // namespace
