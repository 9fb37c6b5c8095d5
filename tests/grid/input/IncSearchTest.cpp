// The incremental search driven by typed keys, input-method text and its
// shortcuts, with a short time-out in place of 1500 ms.

#include "grid/input/KeyboardTestSupport.h"

#include "grid/input/DBGridGxIncSearch.h"
#include "grid/input/DBGridGxKeyboard.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>

#include <gtest/gtest.h>

namespace {
// A search grid: the NAME column current, the grid not editable, so that
// typing searches.
class TSearchGrid : public TKeyGrid {
public:
    explicit TSearchGrid(int records, bool sequenced = true) : TKeyGrid(records, sequenced)
    {
        G().SetOptions(G().Options() - dgEditing);
        G().SetOptionsGx(G().OptionsGx() + dghIncSearch);
        G().SetCol(G().DataToRawColumn(1));
    }
    void Commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(Grid.get(), &event);
    }
};

// Restores the typing time-out after a test shortened it.
class TShortTimeout {
public:
    explicit TShortTimeout(int ms) { TDBGridGxIncSearch::SetTypingTimeout(ms); }
    ~TShortTimeout() { TDBGridGxIncSearch::SetTypingTimeout(TDBGridGxIncSearch::TypingTimeoutMs); }
};
}  // namespace

class IncSearch : public ::testing::TestWithParam<bool> {};

TEST_P(IncSearch, TypedLettersFindTheFirstMatchInTheRecordsOwnCase)
{
    TSearchGrid grid(30, GetParam());
    grid.Type("r2");
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R2");
    EXPECT_EQ(grid.Id(), 2);
    grid.Type("5");
    EXPECT_EQ(grid.Id(), 25);
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R25");
}

TEST_P(IncSearch, ACharacterMatchingNothingLeavesPositionAndText)
{
    TSearchGrid grid(30, GetParam());
    grid.Type("r1");
    const int firstVisible = grid.FirstVisibleId();
    grid.Type("x");
    EXPECT_EQ(grid.Id(), 1);
    EXPECT_EQ(grid.FirstVisibleId(), firstVisible);
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R1");
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
    EXPECT_FALSE(grid.Table->ControlsDisabled());
}

TEST_P(IncSearch, TheSearchEndsAfterItsTimeOut)
{
    TShortTimeout timeout(40);
    TSearchGrid grid(10, GetParam());
    grid.Type("r3");
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !grid.G().Keyboard().IncSearchActive(); }, 2000));
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "");
    EXPECT_EQ(grid.Id(), 3) << "the found record stays current";
}

TEST_P(IncSearch, CtrlFStartsWithoutTimeOutAndCtrlEnterStepsBetweenMatches)
{
    TShortTimeout timeout(20);
    TSearchGrid grid(30, GetParam());
    grid.Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
    grid.Type("r2");
    EXPECT_EQ(grid.Id(), 2);
    QTest::qWait(60);
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive()) << "no time-out after Ctrl+F";
    grid.Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(grid.Id(), 20);
    grid.Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(grid.Id(), 21);
    grid.Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid.Id(), 20);
    grid.Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    grid.Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid.Id(), 2) << "no earlier match: the position stays";
    grid.Key(Qt::Key_Escape);
    EXPECT_FALSE(grid.G().Keyboard().IncSearchActive());
}

TEST_P(IncSearch, MovingTheRecordOrTheColumnEndsTheSearch)
{
    TSearchGrid grid(10, GetParam());
    grid.Type("r4");
    grid.Key(Qt::Key_Down);
    EXPECT_FALSE(grid.G().Keyboard().IncSearchActive());
    EXPECT_EQ(grid.Id(), 5);
    grid.Type("r7");
    grid.Key(Qt::Key_Left);
    EXPECT_FALSE(grid.G().Keyboard().IncSearchActive());
}

TEST_P(IncSearch, InputMethodTextSearchesAsTypedAndBackspaceRemovesOneWholeCharacter)
{
    TSearchGrid grid(5, GetParam());
    grid.Table->Last();
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("R\xC3\xA9sum\xC3\xA9");
    grid.Table->Post();
    grid.Table->First();
    grid.Commit(QString::fromUtf8("r\xC3\xA9"));
    EXPECT_EQ(grid.Id(), 5);
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R\xC3\xA9");
    grid.Key(Qt::Key_Backspace);
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R");
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
}

TEST_P(IncSearch, CtrlVAddsTheClipboardTextToTheSearch)
{
    TSearchGrid grid(30, GetParam());
    QApplication::clipboard()->setText("2");
    grid.Type("r");
    grid.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.G().Keyboard().IncSearchText(), "R2");
    EXPECT_EQ(grid.Id(), 2);
}

TEST_P(IncSearch, AnEditableColumnTakesTypingUnlessPreferred)
{
    TSearchGrid grid(10, GetParam());
    grid.G().SetOptions(grid.G().Options() + dgEditing);
    grid.Type("r");
    EXPECT_FALSE(grid.G().Keyboard().IncSearchActive());
    grid.Key(Qt::Key_Escape);
    grid.Key(Qt::Key_Escape);
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghPreferIncSearch);
    grid.Type("r3");
    EXPECT_TRUE(grid.G().Keyboard().IncSearchActive());
    EXPECT_EQ(grid.Id(), 3);
}

INSTANTIATE_TEST_SUITE_P(BothScrollModes, IncSearch, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Sequenced" : "Unsequenced"; });
