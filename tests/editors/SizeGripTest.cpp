// The size grip of the popup lists: its corner after each placement, its
// position in the parent, and dragging it within the work area and down to
// the list's minimum size.

#include "editors/SizeGripGx.h"
#include "ui/SystemMetrics.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SizeGrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        FList = std::make_unique<QFrame>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        FList->setFrameShape(QFrame::Box);
        FList->setLineWidth(1);
        const int minimum = VerticalScrollBarWidth();
        FList->setMinimumSize(minimum, minimum);
        FGrip = new TSizeGripGx(FList.get());
        FGrip->OnParentResized = [this] { ++FResizes; };
        FWorkArea = QApplication::primaryScreen()->availableGeometry();
    }

    void Place(const QRect& rect)
    {
        FList->setGeometry(rect);
        FList->show();
        FGrip->Reposition();
    }

    // Presses the grip's middle, moves by the travel, releases (screen coordinates).
    void Drag(QPoint travel)
    {
        const QPoint local = FGrip->rect().center();
        const QPoint start = FGrip->mapToGlobal(local);
        Send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, start + travel, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, start + travel, Qt::LeftButton, Qt::NoButton);
    }

    void Send(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(FGrip->mapFromGlobal(global)), QPointF(global), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(FGrip, &event);
    }

    std::unique_ptr<QFrame> FList;
    TSizeGripGx* FGrip = nullptr;
    QRect FWorkArea;
    int FResizes = 0;
};

} // namespace

TEST_F(SizeGrip, SitsInItsCornerInsideTheBorderAndReturnsThereWhenMoved)
{
    Place(QRect(100, 100, 150, 120));
    const int side = VerticalScrollBarWidth();
    EXPECT_EQ(FGrip->size(), QSize(side, side));
    EXPECT_EQ(FGrip->Corner(), sgcBottomRightGx);
    EXPECT_EQ(FGrip->geometry().bottomRight(), QPoint(148, 118));

    FGrip->move(5, 5);
    EXPECT_EQ(FGrip->geometry().bottomRight(), QPoint(148, 118));

    FGrip->SetCorner(sgcTopLeftGx);
    EXPECT_EQ(FGrip->pos(), QPoint(1, 1));
    FGrip->SetCorner(sgcBottomLeftGx);
    EXPECT_EQ(FGrip->pos(), QPoint(1, 118 - side + 1));
    FGrip->SetCorner(sgcTopRightGx);
    EXPECT_EQ(FGrip->pos(), QPoint(148 - side + 1, 1));
}

TEST_F(SizeGrip, PlacementCodesMoveItAwayFromTheCellAndTheScreenEdge)
{
    Place(QRect(100, 100, 150, 120));
    FGrip->ApplyPlacement(ppAboveGx);
    EXPECT_EQ(FGrip->Corner(), sgcTopRightGx);
    FGrip->ApplyPlacement(ppPushedLeftGx);
    EXPECT_EQ(FGrip->Corner(), sgcTopLeftGx);
    FGrip->ApplyPlacement(ppAboveGx);   // already at the top
    EXPECT_EQ(FGrip->Corner(), sgcTopLeftGx);
    FGrip->ApplyPlacement(ppBelowGx);
    EXPECT_EQ(FGrip->Corner(), sgcBottomLeftGx);
    FGrip->ApplyPlacement(ppLeftAlignedGx);
    EXPECT_EQ(FGrip->Corner(), sgcBottomRightGx);
    FGrip->ApplyPlacement(7);
    EXPECT_EQ(FGrip->Corner(), sgcBottomRightGx);
}

TEST_F(SizeGrip, TriangleMaskAndDiagonalCursorFollowTheCorner)
{
    Place(QRect(100, 100, 150, 120));
    const int side = VerticalScrollBarWidth();
    EXPECT_TRUE(FGrip->mask().contains(QPoint(side - 2, side - 2)));
    EXPECT_FALSE(FGrip->mask().contains(QPoint(1, 1)));
    EXPECT_EQ(FGrip->cursor().shape(), Qt::SizeFDiagCursor);
    FGrip->SetCorner(sgcTopRightGx);
    EXPECT_TRUE(FGrip->mask().contains(QPoint(side - 2, 1)));
    EXPECT_FALSE(FGrip->mask().contains(QPoint(1, side - 2)));
    EXPECT_EQ(FGrip->cursor().shape(), Qt::SizeBDiagCursor);
    FGrip->SetTriangular(false);
    EXPECT_TRUE(FGrip->mask().isEmpty());
}

TEST_F(SizeGrip, BottomRightDragGrowsTheListAndKeepsItsTopLeft)
{
    Place(QRect(100, 100, 150, 120));
    Drag(QPoint(30, 40));
    EXPECT_EQ(FList->geometry(), QRect(100, 100, 180, 160));
    EXPECT_EQ(FResizes, 1);
    EXPECT_EQ(FGrip->geometry().bottomRight(), QPoint(178, 158));
}

TEST_F(SizeGrip, TopLeftDragUpAndLeftGrowsTheListAroundItsBottomRightCorner)
{
    // A list opened above its cell at the screen's right edge.
    const QRect start(FWorkArea.right() - 149, 200, 150, 120);
    Place(start);
    FGrip->ApplyPlacement(ppAboveGx);
    FGrip->ApplyPlacement(ppPushedLeftGx);
    ASSERT_EQ(FGrip->Corner(), sgcTopLeftGx);
    Drag(QPoint(-20, -30));
    EXPECT_EQ(FList->geometry().bottomRight(), start.bottomRight());
    EXPECT_EQ(FList->size(), QSize(170, 150));
    EXPECT_EQ(FGrip->pos(), QPoint(1, 1));
}

TEST_F(SizeGrip, GrowingStopsAtTheWorkAreaEdges)
{
    Place(QRect(FWorkArea.right() - 199, FWorkArea.bottom() - 99, 150, 80));
    Drag(QPoint(500, 500));
    EXPECT_EQ(FList->geometry().right(), FWorkArea.right());
    EXPECT_EQ(FList->geometry().bottom(), FWorkArea.bottom());

    Place(QRect(FWorkArea.left() + 10, FWorkArea.top() + 10, 150, 80));
    FGrip->SetCorner(sgcTopLeftGx);
    Drag(QPoint(-500, -500));
    EXPECT_EQ(FList->geometry().topLeft(), FWorkArea.topLeft());
    EXPECT_EQ(FList->geometry().bottomRight(), QPoint(FWorkArea.left() + 159, FWorkArea.top() + 89));
}

TEST_F(SizeGrip, ShrinkingStopsAtTheListsMinimumSize)
{
    Place(QRect(300, 300, 150, 120));
    Drag(QPoint(-400, -400));
    const int side = VerticalScrollBarWidth();
    EXPECT_EQ(FList->size(), QSize(side, side));
    EXPECT_EQ(FList->pos(), QPoint(300, 300));

    Place(QRect(300, 300, 150, 120));
    FGrip->SetCorner(sgcTopLeftGx);
    Drag(QPoint(400, 400));
    EXPECT_EQ(FList->size(), QSize(side, side));
    EXPECT_EQ(FList->geometry().bottomRight(), QPoint(449, 419));
}

TEST_F(SizeGrip, PaintsRidgesInTheClassicColours)
{
    Place(QRect(100, 100, 150, 120));
    const QImage picture = FGrip->grab().toImage();
    bool highlight = false;
    bool shadow = false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y) & 0xFFFFFF;
            highlight = highlight || pixel == 0xFFFFFF;
            shadow = shadow || pixel == 0x808080;
        }
    EXPECT_TRUE(highlight);
    EXPECT_TRUE(shadow);
}
