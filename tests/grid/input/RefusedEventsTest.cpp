// A refused post started by the user (a key in the grid or in its editor,
// the scroll bar's arrow, the wheel over the bar) is reported where the
// event reaches the grid: one message, the edit kept, nothing thrown back
// into the toolkit's event delivery, and the grid goes on working.

#include "grid/RowWindowTestSupport.h"
#include "grid/base/GridTestSupport.h"

#include "data/Field.h"
#include "grid/input/DBGridInplaceEdit.h"
#include "platform/Exceptions.h"
#include "ui/DialogService.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const Refusal = "Record refused by the table";

class RefusedEvents : public ::testing::Test {
protected:
    TNumberedGrid T{50};

    TDBGridGx& G() { return T.G(); }
    std::string Name() { return T.Table->FieldByName("NAME")->AsString(); }

    // Puts the current record in edit with a changed name, then refuses
    // every post.
    void EditAndRefuse()
    {
        T.Table->Edit();
        T.Table->FieldByName("NAME")->SetAsString("changed");
        T.Table->BeforePost = [](TDataSet&) { throw EDatabaseError(Refusal); };
    }

    // Runs the user's action; the refusal must come as one message, with the
    // record still in edit where it was.
    void ExpectReported(const std::function<void()>& action)
    {
        const int id = T.Id();
        TMessageAnswerer answer(mrOk);
        action();
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Last().Text, Refusal);
        EXPECT_EQ(T.Table->State(), dsEdit);
        EXPECT_EQ(T.Id(), id);
        EXPECT_EQ(Name(), "changed");
        EXPECT_EQ(G().UpdateLock(), 0);
        EXPECT_EQ(G().LayoutLock(), 0);
    }

    void ExpectWorkingAgain(const std::function<void()>& action)
    {
        T.Table->BeforePost = nullptr;
        const int id = T.Id();
        action();
        EXPECT_EQ(T.Table->State(), dsBrowse);
        EXPECT_GT(T.Id(), id);
        ASSERT_TRUE(T.Table->Locate("ID", TVariant(id)));
        EXPECT_EQ(Name(), "changed") << "the edit is posted";
    }

    QString EditorText() { return static_cast<QLineEdit*>(G().InplaceEditor())->text(); }

    QScrollBar* VBar() { return G().ScrollBarControl(sbVertical); }

    void WheelDownOverTheBar()
    {
        const QPoint at = VBar()->rect().center();
        QWheelEvent wheel(at, VBar()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(VBar(), &wheel);
    }
};

TEST_F(RefusedEvents, AKeyInTheGrid)
{
    EditAndRefuse();
    ExpectReported([&] { QTest::keyClick(&G(), Qt::Key_Down); });
    ExpectWorkingAgain([&] { QTest::keyClick(&G(), Qt::Key_Down); });
}

TEST_F(RefusedEvents, AKeyInTheEditorKeepsTheTypedText)
{
    G().SetCol(G().DataToRawColumn(1));
    G().ShowEditor();
    QWidget* editor = G().InplaceEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, "typed");
    const QString typed = EditorText();
    ASSERT_TRUE(typed.endsWith("typed"));
    T.Table->BeforePost = [](TDataSet&) { throw EDatabaseError(Refusal); };
    const int id = T.Id();
    {
        TMessageAnswerer answer(mrOk);
        QTest::keyClick(editor, Qt::Key_Down);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Last().Text, Refusal);
    }
    EXPECT_EQ(T.Table->State(), dsEdit);
    EXPECT_EQ(T.Id(), id);
    EXPECT_TRUE(G().InplaceEditor()->isVisible());
    EXPECT_EQ(EditorText(), typed);
}

TEST_F(RefusedEvents, TheScrollBarsArrow)
{
    EditAndRefuse();
    const QPoint arrow = ScrollBarPart(VBar(), QStyle::SC_ScrollBarAddLine).center();
    ExpectReported([&] { QTest::mouseClick(VBar(), Qt::LeftButton, {}, arrow); });
    ExpectWorkingAgain([&] { QTest::mouseClick(VBar(), Qt::LeftButton, {}, arrow); });
}

TEST_F(RefusedEvents, TheWheelOverTheScrollBar)
{
    EditAndRefuse();
    ExpectReported([&] { WheelDownOverTheBar(); });
    ExpectWorkingAgain([&] { WheelDownOverTheBar(); });
}

}  // namespace
