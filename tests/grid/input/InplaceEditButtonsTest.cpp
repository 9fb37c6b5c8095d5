// The in-place editor's row of edit buttons, driven with the mouse and keys
// on a shown grid: the layout of the column's extra buttons beside the
// default one, their events and menus, stepping with the up-down button,
// Ctrl+Enter on ellipsis cells, and presses on a cell's always shown button.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupListbox.h"
#include "grid/input/InplaceEditButtonsGx.h"

#include <QMenu>
#include <QWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class InplaceEditButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        FTable.FieldDefs().Add("COUNT", ftInteger);
        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.FieldDefs().Add("NOTE", ftString, 20);
        FTable.AppendRecord({TVariant(5), TVariant("Bob"), TVariant("x")});
        FTable.AppendRecord({TVariant(8), TVariant("Cid"), TVariant("y")});
        FTable.Open();
        FTable.First();
        FGrid.SetDataSource(&FSource);
        FGrid.SetOptions(FGrid.Options() + dgEditing);
        FGrid.Columns()[1]->SetPickList({"Ann", "Bob", "Cid", "Dan"});
        ShowActiveGrid(FGrid, 500, 200);
    }

    TDBGridInplaceEdit& Edit(int column) { return EditGridColumn(FGrid, column); }
    TColumnGx& Column(int index) { return *FGrid.Columns()[index]; }
    static void Press(QWidget& widget, QPoint at) { QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, at); }
    static void Release(QWidget& widget, QPoint at)
    {
        QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, at);
    }
    static void Click(QWidget& widget) { QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, widget.rect().center()); }
    static QPoint TopHalf(const QWidget& button) { return QPoint(button.width() / 2, 2); }
    static QPoint BottomHalf(const QWidget& button) { return QPoint(button.width() / 2, button.height() - 3); }

    TMemTable FTable;
    TDataSource FSource{&FTable};
    TEditingGrid FGrid;
};

} // namespace

TEST_F(InplaceEditButtons, ExtraButtonsStandRightOfTheDefaultButtonInTheirOwnWidths)
{
    TEditButtonsGx& items = Column(2).EditButtons();
    items.Add()->SetStyle(ebsPlusGx);
    TEditButtonGx& wide = *items.Add();
    wide.SetStyle(ebsEllipsisGx);
    wide.SetWidth(30);
    wide.SetHint("More");
    items.Add()->SetVisible(false);
    Column(2).SetButtonStyle(cbsEllipsis);
    TDBGridInplaceEdit& editor = Edit(2);
    TInplaceEditButtonsGx& buttons = editor.Buttons();
    ASSERT_EQ(buttons.Count(), 4);
    const int standard = FGrid.EditButtonWidth();
    EXPECT_EQ(buttons.Button(2).geometry().right(), editor.width() - 1) << "the last shown item at the edge";
    EXPECT_EQ(buttons.Button(2).width(), 30);
    EXPECT_EQ(buttons.Button(2).toolTip(), "More");
    EXPECT_EQ(buttons.Button(2).Style(), ebsEllipsisGx);
    EXPECT_EQ(buttons.Button(1).geometry().right(), buttons.Button(2).x() - 1);
    EXPECT_EQ(buttons.Button(1).width(), standard);
    EXPECT_EQ(buttons.Button(1).Style(), ebsPlusGx);
    EXPECT_EQ(buttons.Button(0).geometry().right(), buttons.Button(1).x() - 1) << "the default button next to the text";
    EXPECT_FALSE(buttons.Button(3).isVisible());
    EXPECT_EQ(buttons.TotalWidth(), 30 + 2 * standard);
    EXPECT_EQ(editor.textMargins().right(), buttons.TotalWidth());
    EXPECT_FALSE(buttons.Separator(0).isVisible());

    // A flat grid draws a one-pixel line left of every button.
    FGrid.SetFlat(true);
    TDBGridInplaceEdit& flat = Edit(2);
    EXPECT_TRUE(flat.Buttons().Separator(0).isVisible());
    EXPECT_EQ(flat.Buttons().Separator(0).width(), 1);
    EXPECT_EQ(flat.Buttons().Separator(0).geometry().right(), flat.Buttons().Button(0).x() - 1);
    EXPECT_EQ(flat.Buttons().TotalWidth(), 30 + 1 + 2 * FGrid.EditButtonWidth());
    EXPECT_FALSE(flat.Buttons().Separator(3).isVisible());
}

TEST_F(InplaceEditButtons, ItemsFireTheirOwnDownAndClickEvents)
{
    TEditButtonGx& item = *Column(2).EditButtons().Add();
    std::vector<std::string> fired;
    item.OnDown = [&](TEditButtonGx& sender, bool top, bool&, bool&) {
        fired.push_back(&sender == &item && top ? "down" : "wrong down");
    };
    item.OnClick = [&](TEditButtonGx& sender, bool&) { fired.push_back(&sender == &item ? "click" : "wrong click"); };
    bool columnClicked = false;
    Column(2).OnEditButtonClick = [&](TColumnGx&, bool&) { columnClicked = true; };
    TDBGridInplaceEdit& editor = Edit(2);
    Click(editor.Buttons().Button(1));
    EXPECT_EQ(fired, (std::vector<std::string>{"down", "click"}));
    EXPECT_FALSE(columnClicked) << "an extra button is not the column's button";
    EXPECT_TRUE(editor.hasFocus());
}

TEST_F(InplaceEditButtons, AnEllipsisClickFiresTheGridsEventBeforeTheColumns)
{
    Column(2).SetButtonStyle(cbsEllipsis);
    std::vector<std::string> fired;
    FGrid.OnEditButtonClick = [&] { fired.push_back("grid"); };
    Column(2).OnEditButtonClick = [&](TColumnGx& sender, bool&) {
        fired.push_back(&sender == &Column(2) ? "column" : "wrong column");
    };
    Click(Edit(2).DefaultButton());
    EXPECT_EQ(fired, (std::vector<std::string>{"grid", "column"}));
}

TEST_F(InplaceEditButtons, CtrlEnterOnAnEllipsisCellClicksOnceAndTypesNothing)
{
    Column(2).SetButtonStyle(cbsEllipsis);
    int clicks = 0;
    FGrid.OnEditButtonClick = [&] { ++clicks; };
    TDBGridInplaceEdit& editor = Edit(2);
    editor.setCursorPosition(1);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(editor.text(), "x");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(editor.isModified());

    // A simple cell takes Ctrl+Enter without a line break either.
    TDBGridInplaceEdit& plain = Edit(1);
    Column(1).SetButtonStyle(cbsNone);
    TDBGridInplaceEdit& simple = Edit(1);
    ASSERT_EQ(&plain, &simple);
    QTest::keyClick(&simple, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(simple.text().contains('\n'));
    EXPECT_FALSE(simple.text().contains('\r'));
}

TEST_F(InplaceEditButtons, TheColumnsDownEventMayTakeThePressFromTheList)
{
    bool handle = true;
    std::vector<bool> tops;
    Column(1).OnEditButtonDown = [&](TColumnGx&, bool top, bool&, bool& handled) {
        tops.push_back(top);
        handled = handle;
    };
    TDBGridInplaceEdit& editor = Edit(1);
    Click(editor.DefaultButton());
    EXPECT_FALSE(editor.ListVisible());
    handle = false;
    Click(editor.DefaultButton());
    EXPECT_TRUE(editor.ListVisible());
    EXPECT_EQ(tops, (std::vector<bool>{true, true}));
}

TEST_F(InplaceEditButtons, TheUpDownButtonStepsByTheIncrement)
{
    Column(0).SetButtonStyle(cbsUpDown);
    Column(0).SetIncrement(2);
    TDBGridInplaceEdit& editor = Edit(0);
    TEditButtonControlGx& button = editor.DefaultButton();
    ASSERT_EQ(button.Style(), ebsUpDownGx);
    Press(button, TopHalf(button));
    Release(button, TopHalf(button));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 7);
    EXPECT_EQ(editor.text(), "7");
    Press(button, BottomHalf(button));
    Release(button, BottomHalf(button));
    Press(button, BottomHalf(button));
    Release(button, BottomHalf(button));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 3);

    // A typed number counts: it is written before the step.
    editor.selectAll();
    QTest::keyClicks(&editor, "40");
    Press(button, TopHalf(button));
    Release(button, TopHalf(button));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 42);
    EXPECT_EQ(editor.text(), "42");
}

TEST_F(InplaceEditButtons, TheTopButtonOfAPickListCellTakesTheLineAbove)
{
    Column(1).SetButtonStyle(cbsUpDown);
    TDBGridInplaceEdit& editor = Edit(1);
    TEditButtonControlGx& button = editor.DefaultButton();
    Press(button, TopHalf(button));
    Release(button, TopHalf(button));
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Ann");
    Press(button, BottomHalf(button));
    Release(button, BottomHalf(button));
    Press(button, BottomHalf(button));
    Release(button, BottomHalf(button));
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Cid");
}

TEST_F(InplaceEditButtons, DoubleClickStepsColumnsThatAskForIt)
{
    Column(0).SetDblClickNextVal(true);
    TDBGridInplaceEdit& editor = Edit(0);
    QTest::mouseDClick(&editor, Qt::LeftButton, Qt::NoModifier, QPoint(5, editor.height() / 2));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 6);
    QTest::mouseDClick(&editor, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, editor.height() / 2));
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 5);
}

TEST_F(InplaceEditButtons, AnItemsMenuOpensUnderItsButtonAndItsClosingPressDoesNotReopenIt)
{
    QMenu menu;
    menu.addAction("First");
    TEditButtonGx& item = *Column(2).EditButtons().Add();
    item.SetDropdownMenu(&menu);
    TDBGridInplaceEdit& editor = Edit(2);
    TEditButtonControlGx& button = editor.Buttons().Button(1);
    Press(button, button.rect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }, 1000));
    EXPECT_EQ(menu.pos(), button.mapToGlobal(QPoint(0, button.height())));
    EXPECT_NE(button.State(), TSpeedButton::bsDown) << "the button does not stay pressed behind the menu";
    menu.hide();
    // The press that closed the menu reaches the button before the menu's
    // closing message: it opens nothing.
    Press(button, button.rect().center());
    Release(button, button.rect().center());
    QApplication::processEvents();
    EXPECT_FALSE(menu.isVisible());
    // A later press opens it again.
    Press(button, button.rect().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }, 1000));
    menu.hide();
}

TEST_F(InplaceEditButtons, APressOnAnAlwaysShownDropDownButtonOpensTheEditorOnThatCell)
{
    Column(1).SetAlwaysShowEditButton(true);
    Edit(2);
    FGrid.HideEditor();
    // The button area of the name cell on the second record.
    const int row = FGrid.TitleRows() + 1;
    const QRect cell = FGrid.CellRect(FGrid.DataToRawColumn(1), row);
    const QPoint onButton(cell.right() - 3, cell.center().y());
    QWindow& window = *FGrid.window()->windowHandle();
    const QPoint at = window.mapFromGlobal(FGrid.viewport()->mapToGlobal(onButton));
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Cid");
    TDBGridInplaceEdit& editor = FGrid.Editor();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.geometry(), cell);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, at);

    // Outside the button area the press only moves there.
    FGrid.HideEditor();
    const QRect first = FGrid.CellRect(FGrid.DataToRawColumn(1), FGrid.TitleRows());
    QTest::mouseClick(FGrid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(first.left() + 3, first.center().y()));
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Bob");
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(InplaceEditButtons, APressDraggedFromTheButtonIntoTheListPicksThere)
{
    TDBGridInplaceEdit& editor = Edit(1);
    TEditButtonControlGx& button = editor.DefaultButton();
    Press(button, button.rect().center());
    ASSERT_TRUE(editor.ListVisible());
    TPopupListbox& list = *editor.PickList();
    const QRect item = list.visualItemRect(list.item(3));
    const QPoint inList = button.mapFromGlobal(list.viewport()->mapToGlobal(item.center()));
    QMouseEvent move(QEvent::MouseMove, QPointF(inList), QPointF(button.mapToGlobal(inList)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
    Release(button, inList);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(editor.text(), "Dan");
}
