// The in-place editor's buttons and drop-downs under the real mouse: an
// up-down button held down keeps stepping, a press the grid hands on to a
// cell's button opens the drop-down and leaves it open, the wheel goes to
// an open list, and an open drop-down closes without taking its value when
// something else takes the mouse, the window or the editor.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"
#include "editors/PopupMonthCalendarGx.h"
#include "platform/DateTimeFormat.h"

#include <QScrollBar>
#include <QtTest/qtestspontaneevent.h>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

class InplaceEditPopups : public ::testing::Test {
protected:
    static constexpr int CountCol = 0, NameCol = 1, BornCol = 2, TreeCol = 4;

    void SetUp() override
    {
        OpenTreeTable(FTrees);
        FTable.FieldDefs().Add("COUNT", ftInteger);
        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.FieldDefs().Add("BORN", ftDate);
        FTable.FieldDefs().Add("TREE", ftInteger);
        for (int i = 0; i < 3; ++i)
            FTable.AppendRecord({TVariant(5 + i), TVariant("Bob"),
                                 TVariant::FromDateTime(EncodeDate(2024, 2, 14 + i)), TVariant(2)});
        AddTreeLookupField(FTable, FTrees);
        FTable.Open();
        FTable.First();
        FGrid = std::make_unique<TEditingGrid>();
        FGrid->SetDataSource(&FSource);
        FGrid->SetOptions(FGrid->Options() + dgEditing);
        std::vector<std::string> lines;
        for (int i = 0; i < 30; ++i)
            lines.push_back("Name " + std::to_string(100 + i));
        lines[1] = "Bob";
        Column(NameCol).SetPickList(lines);
        ShowActiveGrid(*FGrid, 900, 200);
    }

    TColumnGx& Column(int index) { return *(*FGrid).Columns()[index]; }
    TDBGridInplaceEdit& Edit(int column) { return EditGridColumn(*FGrid, column); }
    QWindow& Window() { return *FGrid->window()->windowHandle(); }
    // The middle of the button area of a data column's cell on a data row.
    QPoint ButtonAreaOf(int dataColumn, int dataRow)
    {
        const QRect cell = FGrid->CellRect(FGrid->DataToRawColumn(dataColumn), FGrid->TitleRows() + dataRow);
        return QPoint(cell.right() - FGrid->EditButtonWidth() / 2, cell.center().y());
    }
    QPoint InWindow(QPoint viewportPoint) { return Window().mapFromGlobal(FGrid->viewport()->mapToGlobal(viewportPoint)); }
    // A press and a release on the editor's default button, and the
    // moment the window system takes to show what opened.
    static void PressButton(TDBGridInplaceEdit& editor)
    {
        TEditButtonControlGx& button = editor.DefaultButton();
        QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, button.rect().center());
        QTest::qWait(20);
    }
    // One wheel notch over a widget as the window system delivers it (passed
    // on to the parents when the widget leaves it), the way QTest delivers
    // its mouse and key events.
    static void Wheel(QWidget& under, QPoint at, bool down)
    {
        QWheelEvent event(QPointF(at), QPointF(under.mapToGlobal(at)), QPoint(), QPoint(0, down ? -120 : 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(&under, &event);
    }
    // A press and a release at a viewport point, as the window system delivers them.
    void ClickWindowAt(QPoint viewportPoint)
    {
        const QPoint at = InWindow(viewportPoint);
        QTest::mousePress(&Window(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        QTest::mouseRelease(&Window(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
    }

    TMemTable FTrees;
    TMemTable FTable;
    TDataSource FSource{&FTable};
    std::unique_ptr<TEditingGrid> FGrid;
};

} // namespace

TEST_F(InplaceEditPopups, HoldingTheUpDownButtonKeepsSteppingWithTheEditorUpAndTheTextFollowing)
{
    Column(CountCol).SetButtonStyle(cbsUpDown);
    TDBGridInplaceEdit& editor = Edit(CountCol);
    TEditButtonControlGx& button = editor.DefaultButton();
    TField& count = *FTable.FieldByName("COUNT");
    std::vector<QString> shown;
    QObject::connect(&editor, &QLineEdit::textChanged, [&](const QString& text) { shown.push_back(text); });
    const QPoint top(button.width() / 2, 2);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, top);
    EXPECT_EQ(count.AsInteger(), 6) << "one step at the press";
    // Then again after 400 ms and every 100 ms while held.
    ASSERT_TRUE(QTest::qWaitFor([&] { return count.AsInteger() >= 9; }, 5000));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(editor.hasFocus());
    EXPECT_EQ(button.State(), TSpeedButton::bsDown);
    EXPECT_TRUE(button.Repeating());
    EXPECT_EQ(button.CurrentRepeatInterval(), TEditButtonControlGx::RepeatInterval);
    EXPECT_EQ(editor.text(), QString::number(count.AsInteger()));
    for (int value = 6; value <= 9; ++value)
        EXPECT_NE(std::find(shown.begin(), shown.end(), QString::number(value)), shown.end()) << value;

    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, top);
    const int released = count.AsInteger();
    EXPECT_FALSE(button.Repeating());
    QTest::qWait(250);
    EXPECT_EQ(count.AsInteger(), released) << "stepping ends with the release";

    // The bottom half steps down the same way.
    const QPoint bottom(button.width() / 2, button.height() - 3);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, bottom);
    ASSERT_TRUE(QTest::qWaitFor([&] { return count.AsInteger() <= released - 3; }, 5000));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, bottom);
    EXPECT_EQ(editor.text(), QString::number(count.AsInteger()));
}

TEST_F(InplaceEditPopups, APressPassedOnByTheGridOpensTheDropDownAndTheNextPressOnTheButtonClosesIt)
{
    // A pick list, a lookup and a date cell, each on the second record.
    for (const int dataColumn : {NameCol, TreeCol, BornCol}) {
        SCOPED_TRACE(dataColumn);
        FTable.First();
        FGrid->HideEditor();
        Column(dataColumn).SetAlwaysShowEditButton(true);
        const QPoint onButton = ButtonAreaOf(dataColumn, 1);
        ClickWindowAt(onButton);
        TDBGridInplaceEdit& editor = FGrid->Editor();
        ASSERT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 6) << "the press moved to the second record";
        // Whatever the window system does with the new window, the list stays.
        QTest::qWait(50);
        ASSERT_TRUE(editor.isVisible());
        ASSERT_TRUE(editor.ListVisible());
        EXPECT_TRUE(editor.ActiveList()->isVisible());
        EXPECT_TRUE(editor.DefaultButton().Dropped());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the release ended the button's hold on the mouse";

        // The editor now covers the cell: the next press lands on the button.
        const QString before = editor.text();
        ClickWindowAt(onButton);
        EXPECT_FALSE(editor.ListVisible());
        EXPECT_FALSE(editor.ActiveList()->isVisible());
        EXPECT_FALSE(editor.DefaultButton().Dropped());
        EXPECT_EQ(editor.text(), before) << "closed without taking a value";
        EXPECT_EQ(FTable.State(), dsBrowse);
    }
}

TEST_F(InplaceEditPopups, TheWheelOverTheEditorOrTheGridScrollsAnOpenPickListNotTheRecords)
{
    TDBGridInplaceEdit& editor = Edit(NameCol);
    PressButton(editor);
    TPopupListbox& list = *editor.PickList();
    ASSERT_TRUE(editor.ListVisible());
    ASSERT_GT(list.verticalScrollBar()->maximum(), 2);
    const int first = list.verticalScrollBar()->value();
    Wheel(editor, QPoint(5, editor.height() / 2), true);
    EXPECT_EQ(list.verticalScrollBar()->value(), first + 1);
    Wheel(*FGrid->viewport(), ButtonAreaOf(CountCol, 2), true);
    EXPECT_EQ(list.verticalScrollBar()->value(), first + 2);
    Wheel(editor, QPoint(5, editor.height() / 2), false);
    EXPECT_EQ(list.verticalScrollBar()->value(), first + 1);
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 5) << "the records stayed";
    EXPECT_TRUE(editor.ListVisible());

    // Closed, the wheel moves the records again.
    QTest::keyClick(&editor, Qt::Key_Escape);
    Wheel(editor, QPoint(5, editor.height() / 2), true);
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 6);
}

TEST_F(InplaceEditPopups, TheWheelOverTheEditorMovesTheOpenCalendarByADay)
{
    TDBGridInplaceEdit& editor = Edit(BornCol);
    PressButton(editor);
    ASSERT_TRUE(editor.ListVisible());
    Wheel(editor, QPoint(5, editor.height() / 2), true);
    Wheel(editor, QPoint(5, editor.height() / 2), true);
    EXPECT_EQ(editor.Calendar()->Date(), QDate(2024, 2, 16));
    Wheel(*FGrid->viewport(), ButtonAreaOf(CountCol, 2), false);
    EXPECT_EQ(editor.Calendar()->Date(), QDate(2024, 2, 15));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 5);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(FTable.FieldByName("BORN")->AsDateTime(), EncodeDate(2024, 2, 15));
}

// Each way of cancelling leaves the list's choice untaken.
TEST_F(InplaceEditPopups, AnOpenListClosesWithoutItsValueWhenSomethingElseTakesTheMouseOrTheWindow)
{
    QWidget other;
    other.resize(100, 50);
    const std::vector<std::pair<const char*, std::function<void()>>> cancels = {
        {"a press on another cell", [&] { ClickWindowAt(ButtonAreaOf(CountCol, 0)); }},
        {"a press on the grid's scroll bar",
         [&] {
             QWidget& bar = *FGrid->verticalScrollBar();
             QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar.width() / 2, bar.height() - 3));
         }},
        {"a press on another window",
         [&] {
             other.setWindowFlags(Qt::Tool | Qt::WindowDoesNotAcceptFocus);
             other.setAttribute(Qt::WA_ShowWithoutActivating);
             other.show();
             QTest::mouseClick(&other, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
             other.hide();
         }},
        {"the application deactivated", [&] { QApplication::setActiveWindow(nullptr); }},
        {"another window activated",
         [&] {
             other.setWindowFlags(Qt::Window);
             other.setAttribute(Qt::WA_ShowWithoutActivating, false);
             other.show();
             QApplication::setActiveWindow(&other);
             QApplication::processEvents();
             other.hide();
         }},
        {"the editor moved with its column", [&] { Column(CountCol).SetWidth(Column(CountCol).Width() + 30); }},
        {"the editor hidden", [&] { FGrid->HideEditor(); }},
        {"the record moved by code", [&] { FTable.Next(); }},
    };
    for (const auto& [what, cancel] : cancels) {
        SCOPED_TRACE(what);
        ShowActiveGrid(*FGrid, 900, 200);
        FTable.First();
        TDBGridInplaceEdit& editor = Edit(NameCol);
        PressButton(editor);
        ASSERT_TRUE(editor.ListVisible());
        editor.PickList()->setCurrentRow(5);
        cancel();
        QApplication::processEvents();
        EXPECT_FALSE(editor.ListVisible());
        EXPECT_FALSE(editor.PickList()->isVisible());
        EXPECT_FALSE(editor.DefaultButton().Dropped());
        EXPECT_NE(editor.text(), "Name 105");
        EXPECT_EQ(FTable.State(), dsBrowse);
        FTable.First();
        EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Bob");
    }
}

TEST_F(InplaceEditPopups, PressesOnTheEditorAndTheListAndARefillOfTheSameCellKeepTheListOpen)
{
    TDBGridInplaceEdit& editor = Edit(NameCol);
    PressButton(editor);
    ASSERT_TRUE(editor.ListVisible());
    QTest::mouseClick(&editor, Qt::LeftButton, Qt::NoModifier, QPoint(5, editor.height() / 2));
    EXPECT_TRUE(editor.ListVisible());
    TPopupListbox& list = *editor.PickList();
    const QPoint onItem = list.visualItemRect(list.item(2)).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, Qt::NoModifier, onItem);
    EXPECT_TRUE(editor.ListVisible()) << "a press in the list picks at its release";
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, Qt::NoModifier, onItem);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(editor.text(), "Name 102");

    // The field changing under the open list refills the editor in place.
    PressButton(editor);
    ASSERT_TRUE(editor.ListVisible());
    FTable.Edit();
    FTable.FieldByName("NAME")->SetAsString("Cid");
    QApplication::processEvents();
    EXPECT_TRUE(editor.ListVisible());
    EXPECT_EQ(editor.text(), "Cid");
    FTable.Cancel();
}

TEST_F(InplaceEditPopups, ASizeGivenToAListThatTheGridClosesByMovingOnStaysWithItsOwnColumn)
{
    Column(NameCol).SetDropDownSizing(true);
    TDBGridInplaceEdit& editor = Edit(NameCol);
    PressButton(editor);
    ASSERT_TRUE(editor.ListVisible());
    TPopupListbox& list = *editor.PickList();
    list.resize(list.width() + 40, list.height());
    list.SetResizedByUser(true);
    const int width = list.width();
    FGrid->SetCol(FGrid->DataToRawColumn(CountCol));
    QApplication::processEvents();
    ASSERT_FALSE(editor.ListVisible());
    EXPECT_EQ(Column(NameCol).DropDownWidth(), width);
    EXPECT_EQ(Column(CountCol).DropDownWidth(), 0);
}
