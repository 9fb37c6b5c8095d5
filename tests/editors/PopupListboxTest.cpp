// The pick list drop-down: sizing for its rows and items, the type-ahead
// search with its pause and length limit, the pointer-following highlight,
// the wheel, mouse releases, grip placement and resizing by the user.

#include "editors/PopupListbox.h"
#include "editors/PopupOwnerGx.h"
#include "editors/SearchClockGx.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PopupListbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        FRealClock = SearchClockGx();
        SearchClockGx() = [this] { return FNow; };
        FOwner = std::make_unique<QWidget>();
        FList = new TPopupListbox(FOwner.get());
        FList->SetItemHeight(16);
        QStringList items;
        for (const char* text : {"Apple", "apricot", "Banana", "Blueberry", "Cherry", "Date", "Elder", "Fig", "Grape",
                                 "Hazel", "Kiwi", "Lemon"})
            items << text;
        FList->SetItems(items);
        FList->setGeometry(100, 100, 120, FList->HeightForRows(5));
        FList->show();
        FList->SetResizedByUser(false);
    }
    void TearDown() override { SearchClockGx() = FRealClock; }

    void Type(const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            FList->ForwardKey(key);
        }
    }
    QPoint RowCentre(int row) const { return QPoint(30, row * 16 + 8); }

    std::unique_ptr<QWidget> FOwner;
    TPopupListbox* FList = nullptr;
    std::function<int64_t()> FRealClock;
    int64_t FNow = 50000;
};

} // namespace

TEST_F(PopupListbox, IsAToolWindowThatNeverTakesTheFocusAndShowsWholeRows)
{
    EXPECT_TRUE(FList->isWindow());
    EXPECT_TRUE(FList->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(FList->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(FList->HeightForRows(5), 5 * 16 + 2);
    EXPECT_EQ(FList->VisibleRows(), 5);
    EXPECT_GT(FList->WidestItemWidth(), QFontMetrics(FList->font()).horizontalAdvance("Fig"));
}

TEST_F(PopupListbox, TypingSearchesTheItemsWithoutRegardToCase)
{
    Type("b");
    EXPECT_EQ(FList->currentRow(), 2);
    Type("L");
    EXPECT_EQ(FList->currentRow(), 3);
    EXPECT_EQ(FList->SearchText(), "bL");
    Type("x");   // no item: the selection stays
    EXPECT_EQ(FList->currentRow(), 3);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    FList->ForwardKey(backspace);
    EXPECT_EQ(FList->SearchText(), "");
    Type("ap");
    EXPECT_EQ(FList->currentRow(), 0);
}

TEST_F(PopupListbox, APauseOfMoreThanTwoSecondsStartsANewSearch)
{
    Type("a");
    FNow += 2000;
    Type("p");
    EXPECT_EQ(FList->SearchText(), "ap");
    FNow += 2001;
    Type("k");
    EXPECT_EQ(FList->SearchText(), "k");
    EXPECT_EQ(FList->currentRow(), 10);
}

TEST_F(PopupListbox, TheSearchStopsGrowingAt32Characters)
{
    Type(QString(32, QLatin1Char('z')));
    EXPECT_EQ(FList->SearchText().size(), 32);
    Type("z");
    EXPECT_EQ(FList->SearchText().size(), 32);
}

TEST_F(PopupListbox, ArrowKeysPassedOnMoveTheSelection)
{
    FList->setCurrentRow(1);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    FList->ForwardKey(down);
    EXPECT_EQ(FList->currentRow(), 2);
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    FList->ForwardKey(pageDown);
    EXPECT_GT(FList->currentRow(), 2);
}

TEST_F(PopupListbox, TheHighlightFollowsThePointerAndAReleaseIsReported)
{
    std::vector<QPoint> releases;
    FList->OnMouseUp = [&](TPopupListbox&, Qt::MouseButton, QPoint at) { releases.push_back(at); };
    QTest::mouseMove(FList->viewport(), RowCentre(3));
    EXPECT_EQ(FList->currentRow(), 3);
    QTest::mouseClick(FList->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(1));
    EXPECT_EQ(FList->currentRow(), 1);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_EQ(releases.front(), RowCentre(1));
}

TEST_F(PopupListbox, AWheelNotchScrollsOneItemUnlessAHandlerTakesIt)
{
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(30, 30), QPointF(FList->viewport()->mapToGlobal(QPoint(30, 30))), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(FList->viewport(), &event);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(FList->verticalScrollBar()->value(), 2);
    int handled = 0;
    FList->OnMouseWheelUp = [&](TPopupListbox&, bool& done) { done = true; ++handled; };
    wheel(120);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(FList->verticalScrollBar()->value(), 2);
}

TEST_F(PopupListbox, APlacementAboveAtTheRightEdgePutsTheGripTopLeftAndResizingIsTheUsers)
{
    TPopupPlacementEventGx above(ppAboveGx);
    QApplication::sendEvent(FList, &above);
    TPopupPlacementEventGx pushed(ppPushedLeftGx);
    QApplication::sendEvent(FList, &pushed);
    EXPECT_EQ(FList->SizeGrip().Corner(), sgcTopLeftGx);
    EXPECT_EQ(FList->SizeGrip().pos(), QPoint(1, 1));
    EXPECT_FALSE(FList->ResizedByUser());

    const QRect before = FList->geometry();
    TSizeGripGx& grip = FList->SizeGrip();
    const QPoint start = grip.mapToGlobal(grip.rect().center());
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(grip.mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&grip, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(-30, -32), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(-30, -32), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(FList->ResizedByUser());
    EXPECT_EQ(FList->geometry().bottomRight(), before.bottomRight());
    EXPECT_EQ(FList->size(), before.size() + QSize(30, 32));
    EXPECT_EQ(FList->VisibleRows(), 7);
}
