// The drop-down calendar driven with keys and the mouse: picking a day of
// the shown month or a grayed day of the next month, paging without
// picking, Enter and Esc, the wheel, and the focus leaving it.

#include "editors/PopupMonthCalendarGx.h"
#include "editors/PopupOwnerGx.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The editor's stand-in: records every close up.
class TOwner : public QLineEdit, public TPopupOwnerGx {
public:
    void CloseUp(bool accept) override
    {
        Calls.push_back(accept);
        if (Calendar != nullptr)
            Calendar->hide();
    }
    std::vector<bool> Calls;
    QWidget* Calendar = nullptr;
};

class PopupCalendar : public ::testing::Test {
protected:
    void SetUp() override
    {
        FOwner = std::make_unique<TOwner>();
        FOwner->show();
        FCalendar = new TPopupMonthCalendarGx(FOwner.get());
        FOwner->Calendar = FCalendar;
        FCalendar->SetDate(QDate(2024, 2, 14));
        FCalendar->resize(FCalendar->RequiredSize());
        FCalendar->move(50, 50);
        FCalendar->show();
        FView = FCalendar->findChild<QTableView*>();
        ASSERT_NE(FView, nullptr);
    }

    // The centre of the day cell that shows the date.
    QPoint CellOf(const QDate& date) const
    {
        for (int row = 0; row < FView->model()->rowCount(); ++row)
            for (int column = 0; column < FView->model()->columnCount(); ++column) {
                const QModelIndex index = FView->model()->index(row, column);
                if (FView->model()->data(index, Qt::DisplayRole).toInt() != date.day())
                    continue;
                // Days of a neighbouring month share numbers with the month's own: tell them apart by row.
                const bool early = row <= 2;
                if ((date.month() == 2) == (early ? date.day() < 15 : date.day() >= 15))
                    return FView->visualRect(index).center();
            }
        return QPoint(-1, -1);
    }

    void Click(QWidget* widget, QPoint position) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, position); }

    std::unique_ptr<TOwner> FOwner;
    TPopupMonthCalendarGx* FCalendar = nullptr;
    QTableView* FView = nullptr;
};

} // namespace

TEST_F(PopupCalendar, IsABorderlessToolWindowSizedToTheMonth)
{
    EXPECT_TRUE(FCalendar->isWindow());
    EXPECT_TRUE(FCalendar->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(FCalendar->windowFlags().testFlag(Qt::Tool));
    EXPECT_GE(FCalendar->width(), FCalendar->minimumSizeHint().width());
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 14));
}

TEST_F(PopupCalendar, ClickingADayPicksItAndClosesAccepting)
{
    Click(FView->viewport(), CellOf(QDate(2024, 2, 20)));
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 20));
    ASSERT_EQ(FOwner->Calls, std::vector<bool>{true});
}

TEST_F(PopupCalendar, ClickingAGrayedDayOfTheNextMonthPicksThatDate)
{
    const QPoint cell = CellOf(QDate(2024, 3, 2));
    ASSERT_GE(cell.x(), 0);
    Click(FView->viewport(), cell);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 3, 2));
    EXPECT_EQ(FOwner->Calls, std::vector<bool>{true});
}

TEST_F(PopupCalendar, GrayedDaysAreDrawnInAnotherColourThanTheMonthsOwn)
{
    const QImage picture = FView->viewport()->grab().toImage();
    auto darkest = [&](QPoint centre) {
        int value = 255;
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -6; dx <= 6; ++dx)
                value = std::min(value, qGray(picture.pixel(centre + QPoint(dx, dy))));
        return value;
    };
    EXPECT_GT(darkest(CellOf(QDate(2024, 3, 2))), darkest(CellOf(QDate(2024, 2, 22))));
}

TEST_F(PopupCalendar, TheNextMonthButtonOnlyPages)
{
    auto* next = FCalendar->findChild<QToolButton*>("qt_calendar_nextmonth");
    ASSERT_NE(next, nullptr);
    Click(next, next->rect().center());
    EXPECT_EQ(FCalendar->monthShown(), 3);
    EXPECT_TRUE(FOwner->Calls.empty());
    EXPECT_TRUE(FCalendar->isVisible());
}

TEST_F(PopupCalendar, EnterAcceptsAndEscCancels)
{
    FView->setFocus();
    QTest::keyClick(FView, Qt::Key_Right);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 15));
    QTest::keyClick(FView, Qt::Key_Escape);
    EXPECT_EQ(FOwner->Calls, std::vector<bool>{false});
    FCalendar->show();
    QTest::keyClick(FView, Qt::Key_Return);
    EXPECT_EQ(FOwner->Calls, (std::vector<bool>{false, true}));
}

TEST_F(PopupCalendar, KeysTheOwnerPassesOnMoveTheDateAndEnterClosesUp)
{
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    FCalendar->ForwardKey(right);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    FCalendar->ForwardKey(down);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 22));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    FCalendar->ForwardKey(enter);
    EXPECT_EQ(FOwner->Calls, std::vector<bool>{true});
}

TEST_F(PopupCalendar, AWheelNotchMovesOneDayUnlessAHandlerTakesIt)
{
    auto wheel = [&](int delta) {
        const QPoint at = FView->viewport()->rect().center();
        QWheelEvent event(QPointF(at), QPointF(FView->viewport()->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(FView->viewport(), &event);
    };
    wheel(-120);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 15));
    wheel(120);
    wheel(120);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 13));
    int handled = 0;
    FCalendar->OnMouseWheelUp = [&](TPopupMonthCalendarGx&, bool& done) { done = true; ++handled; };
    wheel(120);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(FCalendar->Date(), QDate(2024, 2, 13));
    EXPECT_TRUE(FOwner->Calls.empty());
}

TEST_F(PopupCalendar, TheFocusLeavingItClosesUpWithoutAcceptingOnceTheChangeIsDone)
{
    FCalendar->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FCalendar));
    FView->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), FView);
    FOwner->activateWindow();
    FOwner->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FOwner.get()));
    // The event loop delivers the deferred close up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !FOwner->Calls.empty(); }, 1000));
    EXPECT_EQ(FOwner->Calls, std::vector<bool>{false});
}

TEST_F(PopupCalendar, WithoutAnOwnerInterfaceNothingHappens)
{
    QWidget plainOwner;
    TPopupMonthCalendarGx calendar(&plainOwner);
    calendar.SetDate(QDate(2024, 2, 14));
    calendar.show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    calendar.ForwardKey(enter);
    EXPECT_TRUE(calendar.isVisible());
    EXPECT_TRUE(FOwner->Calls.empty());
}
