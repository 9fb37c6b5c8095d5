// The popup data list: a tool window that never takes the focus, whose
// highlight follows the pointer, that reports the user's picks and its
// mouse releases, hands placements to its grip and knows when the user
// resized it.

#include "LookupTestSupport.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupOwnerGx.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PopupDataList : public ::testing::Test {
protected:
    void SetUp() override
    {
        FOwner = std::make_unique<QWidget>();
        FList = new TPopupDataListGx(FOwner.get());
        FList->SetListSource(&FTables.TreeSource);
        FList->SetKeyField("CODE");
        FList->SetListField("NAME");
        FList->SetRowCount(5);
        FList->SetKeyValue(TVariant(1));
        FList->OnUserPick = [this](TPopupDataListGx&) { ++FPicks; };
        FList->OnMouseUp = [this](TPopupDataListGx&, Qt::MouseButton, QPoint at) { FMouseUps.push_back(at); };
        FList->move(100, 100);
        FList->show();
    }

    void Mouse(QEvent::Type type, int row, Qt::MouseButtons buttons)
    {
        const QPoint at(20, FList->ClientRect().top() + row * FList->RowHeight() + FList->RowHeight() / 2);
        QMouseEvent event(type, QPointF(at), QPointF(FList->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(FList, &event);
    }

    TTreeTables FTables{NumberedTrees(12)};
    std::unique_ptr<QWidget> FOwner;
    TPopupDataListGx* FList = nullptr;
    int FPicks = 0;
    std::vector<QPoint> FMouseUps;
};

} // namespace

TEST_F(PopupDataList, IsAToolWindowThatDoesNotTakeTheFocus)
{
    EXPECT_TRUE(FList->isWindow());
    EXPECT_TRUE(FList->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(FList->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(FList->frameWidth(), 1);
    EXPECT_TRUE(FList->SizeGrip().Triangular());
}

TEST_F(PopupDataList, TheHighlightFollowsThePointerAndCountsAsTheUsersPick)
{
    Mouse(QEvent::MouseMove, 3, Qt::NoButton);
    EXPECT_EQ(FList->CurrentKey(), TVariant(4));
    EXPECT_EQ(FList->DisplayText(), "Tree 04");
    EXPECT_GE(FPicks, 1);
    const int picks = FPicks;
    FList->SetKeyValue(TVariant(2));   // a change from code is no pick
    EXPECT_EQ(FPicks, picks);
    FList->SetReadOnly(true);
    Mouse(QEvent::MouseMove, 0, Qt::NoButton);
    EXPECT_EQ(FList->CurrentKey(), TVariant(2));
}

TEST_F(PopupDataList, AClickPicksTheRowAndReportsTheRelease)
{
    Mouse(QEvent::MouseButtonPress, 2, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 2, Qt::NoButton);
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    ASSERT_EQ(FMouseUps.size(), 1u);
    EXPECT_TRUE(FList->rect().contains(FMouseUps.front()));
}

TEST_F(PopupDataList, KeysPassedOnByTheOwnerMoveTheKey)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    FList->ForwardKey(down);
    FList->ForwardKey(down);
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    EXPECT_EQ(FPicks, 2);
}

TEST_F(PopupDataList, PlacementMovesTheGripAndResizingMarksTheListResizedByTheUser)
{
    FList->SetResizedByUser(false);
    TPopupPlacementEventGx above(ppAboveGx);
    QApplication::sendEvent(FList, &above);
    EXPECT_EQ(FList->SizeGrip().Corner(), sgcTopRightGx);
    EXPECT_EQ(FList->SizeGrip().pos().y(), 1);
    FList->resize(FList->width() + 30, FList->height() + 3 * FList->RowHeight());
    EXPECT_TRUE(FList->ResizedByUser());
    EXPECT_EQ(FList->RowCount(), 8);
    EXPECT_EQ(FList->SizeGrip().geometry().right(), FList->width() - 2);
}

TEST_F(PopupDataList, NeverGetsSmallerThanAScrollBarSquare)
{
    FList->resize(1, 1);
    EXPECT_GE(FList->width(), FList->minimumWidth());
    EXPECT_GE(FList->height(), FList->minimumHeight());
    EXPECT_EQ(FList->RowCount(), 1);
}
