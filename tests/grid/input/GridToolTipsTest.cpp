// The grid's own tip window over cut-off cells, driven by real mouse
// moves: its text lies pixel for pixel over the text the cell paints (in
// each alignment, wrapped, flat or not, under right-to-left reading); it
// shows at once, never takes the focus, and goes away when the pointer
// leaves the cell or the grid, on a press, a key, the wheel, a scroll, a
// change of the data and when the window deactivates.  A title's own hint
// stays with the platform's hint window.

#include "grid/PaintTestSupport.h"
#include "grid/input/MouseTestSupport.h"
#include "ui/ToolTipsWindow.h"

#include <QCursor>
#include <QToolTip>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// ID integer, NAME string(60): three records whose names are longer than
// a narrow column.
std::unique_ptr<TMemTable> LongNames()
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("ID", ftInteger);
    table->FieldDefs().Add("NAME", ftString, 60);
    table->AppendRecord({TVariant(1), TVariant("Wilhelmina Oakenshield")});
    table->AppendRecord({TVariant(2), TVariant("Bartholomew Quixote Jr")});
    table->AppendRecord({TVariant(3), TVariant("Maximilian Abernathy")});
    table->Open();
    return table;
}

class GridToolTips : public ::testing::Test {
protected:
    void SetUp() override
    {
        t = std::make_unique<TPaintGrid>(LongNames(), 420, 200);
        Name().SetToolTips(true);
        Name().SetWidth(90);
    }
    TRecordingGrid& G() { return t->G(); }
    TColumnGx& Name() { return t->Column(1); }
    TDBGridGxToolTips& Tips() { return G().Mouse().ToolTips(); }
    TToolTipsWindow& Window() { return Tips().Window(); }
    bool Shown() { return Window().isVisible(); }
    // A data row away from the current one (no focus frame, no highlight).
    int Row() const { return t->G().TitleRows() + 2; }
    QRect NameCell() { return G().ViewportRect(t->Cell(1, Row())); }
    // A move onto the cell from the grid's corner: the platform drops a
    // move to where the pointer already is.  The pointer itself goes there
    // too, for a window system that reports where it really is.
    void HoverName()
    {
        QTest::mouseMove(Client(G()), QPoint(1, 1));
        QCursor::setPos(Client(G())->mapToGlobal(NameCell().center()));
        QTest::mouseMove(Client(G()), NameCell().center());
    }
    void Relayout(Qt::LayoutDirection direction)
    {
        G().setLayoutDirection(direction);
        QApplication::processEvents();
    }

    // Compares, pixel by pixel over the cell's inside, where the tip puts
    // ink with where the grid does; returns the number of inked pixels
    // compared, failing on the first difference.
    int ExpectTipInkOverCellInk()
    {
        EXPECT_TRUE(Shown());
        const QImage grid = t->Render();
        const QImage tip = Window().grab().toImage();
        const QPoint tipOrigin = Client(G())->mapFromGlobal(Window().pos());
        // Inside the tip's frame and inside the cell, without its edges.
        const QRect inside = QRect(tipOrigin, Window().size()).adjusted(1, 1, -1, -1) &
                             NameCell().adjusted(1, 1, -1, -1);
        EXPECT_FALSE(inside.isEmpty());
        const QColor cellBack = Qc(Name().Color());
        const QColor tipBack = Qc(clInfoBk);
        int inked = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const bool gridInk = grid.pixelColor(x, y) != cellBack;
                const bool tipInk = tip.pixelColor(QPoint(x, y) - tipOrigin) != tipBack;
                if (gridInk != tipInk) {
                    ADD_FAILURE() << "ink differs at (" << x << ", " << y << ") of the viewport: grid " << gridInk
                                  << ", tip " << tipInk;
                    return inked;
                }
                inked += gridInk ? 1 : 0;
            }
        EXPECT_GT(inked, 20) << "the compared area holds text";
        return inked;
    }
    std::unique_ptr<TPaintGrid> t;
};

TEST_F(GridToolTips, TheTipsTextLiesOverTheCellsTextInEveryAlignmentAndReadingOrder)
{
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft})
        for (const bool flat : {false, true})
            for (const TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
                SCOPED_TRACE(testing::Message() << "direction " << direction << ", flat " << flat
                                                << ", alignment " << alignment);
                Relayout(direction);
                G().SetFlat(flat);
                Name().SetAlignment(alignment);
                Tips().Hide();
                HoverName();
                ASSERT_TRUE(Shown());
                EXPECT_EQ(Window().HintText(), "Maximilian Abernathy");
                ExpectTipInkOverCellInk();
            }
}

TEST_F(GridToolTips, AWrappedTipBreaksItsLinesAsTheCellDoes)
{
    G().SetRowLines(2);
    Name().SetWordWrap(true);
    Name().SetWidth(70);
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft})
        for (const TAlignment alignment : {taLeftJustify, taRightJustify}) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << ", alignment " << alignment);
            Relayout(direction);
            Name().SetAlignment(alignment);
            Tips().Hide();
            HoverName();
            ASSERT_TRUE(Shown());
            const int lineHeight = QFontMetrics(PaintTestFont()).height();
            EXPECT_GE(Window().height(), 3 * lineHeight) << "more lines than the row shows";
            EXPECT_LE(Window().width(), NameCell().width() - 4 + 2 * TToolTipsWindow::TextOffset)
                << "no wider than the cell's text";
            EXPECT_GE(ExpectTipInkOverCellInk(), 40) << "both lines the row shows";
        }
}

TEST_F(GridToolTips, TheTipShowsAtOnceInTheCellsFontAndNeverTakesTheFocus)
{
    TFontGx bold = PaintTestFont(true);
    Name().SetFont(bold);
    HoverName();
    ASSERT_TRUE(Shown()) << "no pause, no event loop turn";
    EXPECT_TRUE(Window().HintFont().bold());
    EXPECT_TRUE(Window().testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(Window().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QApplication::processEvents();
    EXPECT_TRUE(G().hasFocus());
    EXPECT_NE(QApplication::activeWindow(), &Window());
    ExpectTipInkOverCellInk();

    // A cell whose text fits shows none.
    QTest::mouseMove(Client(G()), G().ViewportRect(t->Cell(0, Row())).center());
    EXPECT_FALSE(Shown()) << "the pointer left the cell for one that needs no tip";
}

TEST_F(GridToolTips, TheTipAppearingUnderThePointerIsNoLeavingOfTheGrid)
{
    HoverName();
    ASSERT_TRUE(Shown());
    QCursor::setPos(Window().geometry().center());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Client(G()), &leave);
    EXPECT_TRUE(Shown()) << "the pointer is still over the cell, under the tip";
}

TEST_F(GridToolTips, NoTipWhileCtrlOrAMouseButtonIsHeld)
{
    const QPoint at = NameCell().center();
    QMouseEvent ctrlMove(QEvent::MouseMove, QPointF(at), Client(G())->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(Client(G()), &ctrlMove);
    EXPECT_FALSE(Shown());

    QTest::mouseMove(Client(G()), at);
    ASSERT_TRUE(Shown());
    QMouseEvent held(QEvent::MouseMove, QPointF(at + QPoint(1, 0)), Client(G())->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(Client(G()), &held);
    EXPECT_FALSE(Shown()) << "a button held";
}

TEST_F(GridToolTips, TheTipGoesOnLeavePressKeyWheelAndDeactivation)
{
    const auto expectHiddenBy = [&](const char* what, const std::function<void()>& act) {
        HoverName();
        ASSERT_TRUE(Shown()) << what;
        act();
        EXPECT_FALSE(Shown()) << what;
        EXPECT_TRUE(Tips().ShownText().isEmpty()) << what;
    };
    expectHiddenBy("leaving the grid", [&] {
        QCursor::setPos(Client(G())->mapToGlobal(QPoint(-30, -30)));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(Client(G()), &leave);
    });
    expectHiddenBy("a press", [&] { QTest::mousePress(Client(G()), Qt::LeftButton, {}, NameCell().center()); });
    QTest::mouseRelease(Client(G()), Qt::LeftButton, {}, NameCell().center());
    expectHiddenBy("a key", [&] { QTest::keyClick(&G(), Qt::Key_Shift); });
    expectHiddenBy("the wheel", [&] {
        const QPointF at(NameCell().center());
        QWheelEvent wheel(at, Client(G())->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Client(G()), &wheel);
    });
    expectHiddenBy("the window deactivating", [&] {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&G(), &deactivate);
    });
}

TEST_F(GridToolTips, TheTipGoesWhenTheGridScrollsOrItsDataChanges)
{
    HoverName();
    ASSERT_TRUE(Shown());
    t->Table->Next();   // moves the current record: the rows repaint
    EXPECT_FALSE(Shown()) << "a record move";

    HoverName();
    ASSERT_TRUE(Shown());
    t->Table->Edit();
    t->Table->FieldByName("ID")->SetAsInteger(3);   // not the cell's own field: the data changed all the same
    EXPECT_FALSE(Shown()) << "an edit";
    t->Table->Cancel();

    t->Column(0).SetWidth(300);   // the grid can now scroll sideways
    Name().SetWidth(90);
    QApplication::processEvents();
    const QPoint at = G().ViewportRect(t->Cell(1, Row())).center();
    QTest::mouseMove(Client(G()), at);
    ASSERT_TRUE(Shown());
    G().SetLeftCol(G().LeftCol() + 1);
    EXPECT_FALSE(Shown()) << "a sideways scroll";
}

TEST_F(GridToolTips, ATitlesOwnHintStaysWithThePlatformsHintWindow)
{
    Name().Title()->SetHint("The person's name|Long help");
    const QRect title = G().ViewportRect(t->Cell(1, 0));
    QTest::mouseMove(Client(G()), title.center());
    EXPECT_FALSE(Shown()) << "not at once";
    QHelpEvent help(QEvent::ToolTip, title.center(), Client(G())->mapToGlobal(title.center()));
    QApplication::sendEvent(Client(G()), &help);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(Tips().ShownText(), "The person's name") << "the short part";
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "The person's name");
    Tips().Hide();
    EXPECT_TRUE(Tips().ShownText().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "the platform's hint fades out";
}

}  // namespace
