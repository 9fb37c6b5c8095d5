// Where drop-down lists open against the work area that offscreen Qt
// reports: under the cell, above it near the bottom, on the larger side
// shortened when neither fits, and pushed left at the right edge.

#include "editors/PopupPlacementGx.h"
#include "editors/SizeGripGx.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

class PopupPlacement : public ::testing::Test {
protected:
    QRect FWork = QApplication::primaryScreen()->availableGeometry();
    QRect CellAt(int x, int y) const { return QRect(FWork.x() + x, FWork.y() + y, 80, 18); }
};

} // namespace

TEST_F(PopupPlacement, OpensUnderTheCellWhenItFits)
{
    const TPopupPlaceGx place = PlacePopupGx(CellAt(10, 10), QSize(120, 100), FWork);
    EXPECT_EQ(place.Bounds, QRect(FWork.x() + 10, FWork.y() + 28, 120, 100));
    EXPECT_EQ(place.Vertical, ppBelowGx);
    EXPECT_EQ(place.Horizontal, ppLeftAlignedGx);
}

TEST_F(PopupPlacement, OpensAboveTheCellNearTheBottomOfTheScreen)
{
    const QRect cell = CellAt(10, FWork.height() - 40);
    const TPopupPlaceGx place = PlacePopupGx(cell, QSize(120, 100), FWork);
    EXPECT_EQ(place.Bounds, QRect(cell.x(), cell.y() - 100, 120, 100));
    EXPECT_EQ(place.Vertical, ppAboveGx);
}

TEST_F(PopupPlacement, TallerThanBothSidesOpensOnTheLargerSideShortened)
{
    const QRect upper = CellAt(10, FWork.height() / 3);
    const TPopupPlaceGx below = PlacePopupGx(upper, QSize(120, FWork.height()), FWork);
    EXPECT_EQ(below.Vertical, ppBelowGx);
    EXPECT_EQ(below.Bounds.top(), upper.bottom() + 1);
    EXPECT_EQ(below.Bounds.bottom(), FWork.bottom());

    const QRect lower = CellAt(10, FWork.height() * 2 / 3);
    const TPopupPlaceGx above = PlacePopupGx(lower, QSize(120, FWork.height()), FWork);
    EXPECT_EQ(above.Vertical, ppAboveGx);
    EXPECT_EQ(above.Bounds.top(), FWork.top());
    EXPECT_EQ(above.Bounds.bottom(), lower.top() - 1);
}

TEST_F(PopupPlacement, IsPushedLeftAtTheRightEdgeAndNeverWiderThanTheWorkArea)
{
    const QRect cell = CellAt(FWork.width() - 50, 10);
    const TPopupPlaceGx place = PlacePopupGx(cell, QSize(200, 50), FWork);
    EXPECT_EQ(place.Bounds.right(), FWork.right());
    EXPECT_EQ(place.Bounds.width(), 200);
    EXPECT_EQ(place.Horizontal, ppPushedLeftGx);

    const TPopupPlaceGx wide = PlacePopupGx(CellAt(0, 10), QSize(FWork.width() + 300, 50), FWork);
    EXPECT_EQ(wide.Bounds.width(), FWork.width());
    EXPECT_EQ(wide.Bounds.left(), FWork.left());
}
