// Typing into the in-place editor's list cells, with real key events on a
// shown grid: type-ahead in lookup and pick list cells (and what
// OnNotInList lets stay), Delete and Backspace there, the special row's
// shortcut, and pick lists near the edges of the screen.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"

#include <QClipboard>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class InplaceEditTyping : public ::testing::Test {
protected:
    void SetUp() override
    {
        FTrees.FieldDefs().Add("CODE", ftInteger);
        FTrees.FieldDefs().Add("NAME", ftString, 20);
        int code = 1;
        for (const char* name : {"Maple", "Marble", "Oak"})
            FTrees.AppendRecord({TVariant(code++), TVariant(name)});
        FTrees.Open();

        FTable.FieldDefs().Add("TREE", ftInteger);
        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.FieldDefs().Add("SIZE", ftInteger);
        FTable.AppendRecord({TVariant(3), TVariant("Bob"), TVariant(2)});
        AddTreeLookupField(FTable, FTrees);
        FTable.Open();

        FGrid.SetDataSource(&FSource);
        FGrid.SetOptions(FGrid.Options() + dgEditing);
        Column(1).SetPickList({"Ann", "Bob", "Cid", "Dan"});
        Column(2).SetPickList({"Small", "Medium", "Large"});
        Column(2).SetKeyList({"1", "2", "3"});
        ShowActiveGrid(FGrid, 500, 200);
    }

    TColumnGx& Column(int index) { return *FGrid.Columns()[index]; }
    TDBGridInplaceEdit& Edit(int column) { return EditGridColumn(FGrid, column); }
    static void Type(QWidget& editor, const char* text) { QTest::keyClicks(&editor, text); }
    static QString Selected(const QLineEdit& editor) { return editor.selectedText(); }
    TVariant TreeKey() { return FTable.FieldByName("TREE")->Value(); }

    TMemTable FTrees;
    TMemTable FTable;
    TDataSource FSource{&FTable};
    TEditingGrid FGrid;
};

} // namespace

TEST_F(InplaceEditTyping, ALookupCellCompletesTheTypedStartAndIgnoresTextOutsideTheList)
{
    TDBGridInplaceEdit& editor = Edit(3);
    ASSERT_EQ(editor.EditStyle(), esDataListGx);
    ASSERT_EQ(editor.text(), "Oak");
    editor.selectAll();
    Type(editor, "m");
    EXPECT_EQ(editor.text(), "Maple");
    EXPECT_EQ(Selected(editor), "aple");
    EXPECT_EQ(TreeKey(), TVariant(1));
    Type(editor, "i");
    EXPECT_EQ(editor.text(), "Maple") << "nothing starts with Mi";
    EXPECT_EQ(TreeKey(), TVariant(1));
    editor.selectAll();
    Type(editor, "mar");
    EXPECT_EQ(editor.text(), "Marble");
    EXPECT_EQ(Selected(editor), "ble");
    EXPECT_EQ(TreeKey(), TVariant(2));
}

TEST_F(InplaceEditTyping, WithOnNotInListTheTypedTextStaysWithoutAKey)
{
    std::vector<std::string> asked;
    Column(3).OnNotInList = [&](TColumnGx&, const std::string& text, bool&) { asked.push_back(text); };
    TDBGridInplaceEdit& editor = Edit(3);
    editor.selectAll();
    Type(editor, "mi");
    EXPECT_EQ(editor.text(), "Mi");
    EXPECT_FALSE(editor.hasSelectedText());
    EXPECT_TRUE(TreeKey().IsNull());
    EXPECT_TRUE(editor.isModified()) << "the text is left for writing back";
    EXPECT_TRUE(asked.empty()) << "asked when the text is written, not while typing";
}

TEST_F(InplaceEditTyping, BackspaceInALookupCellShortensTheMatchedStart)
{
    TDBGridInplaceEdit& editor = Edit(3);
    editor.selectAll();
    Type(editor, "mar");
    ASSERT_EQ(editor.text(), "Marble");
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), "Marble") << "nothing is deleted";
    EXPECT_EQ(Selected(editor), "rble");
    Type(editor, "p");
    EXPECT_EQ(editor.text(), "Maple");
}

TEST_F(InplaceEditTyping, DeleteOnAWholeLookupTextClearsTheKey)
{
    TDBGridInplaceEdit& editor = Edit(3);
    editor.setCursorPosition(1);
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_EQ(editor.text(), "Oak") << "part of a list value is not deleted";
    EXPECT_EQ(TreeKey(), TVariant(3));
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_EQ(editor.text(), "");
    EXPECT_TRUE(TreeKey().IsNull());
    EXPECT_EQ(FTable.State(), dsEdit);
}

TEST_F(InplaceEditTyping, TheSpecialRowsShortcutPutsItsTextAndValueIntoTheCell)
{
    TSpecRowGx& specRow = *Column(3).DropDownSpecRow();
    specRow.SetCellsText("(none)");
    specRow.SetValue(TVariant(0));
    TDBGridInplaceEdit& editor = Edit(3);
    QTest::keyClick(&editor, Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(editor.text(), "Oak") << "the row is not shown";
    specRow.SetVisible(true);
    QTest::keyClick(&editor, Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(editor.text(), "(none)");
    EXPECT_EQ(Selected(editor), "(none)");
    EXPECT_EQ(TreeKey(), TVariant(0));

    // A shortcut of the column's own choosing.
    specRow.SetShortCut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Type(editor, "o");
    ASSERT_EQ(editor.text(), "Oak");
    QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "(none)");
}

TEST_F(InplaceEditTyping, APickListCellCompletesFromItsLinesAndOtherwiseTypesAsUsual)
{
    TDBGridInplaceEdit& editor = Edit(1);
    ASSERT_EQ(editor.EditStyle(), esPickListGx);
    editor.selectAll();
    Type(editor, "c");
    EXPECT_EQ(editor.text(), "Cid");
    EXPECT_EQ(Selected(editor), "id");
    EXPECT_TRUE(editor.isModified());
    Type(editor, "x");
    EXPECT_EQ(editor.text(), "Cx") << "a plain pick list takes other text too";

    // With the list open, the matching line is chosen in it.
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    Type(editor, "d");
    EXPECT_EQ(editor.text(), "Dan");
    EXPECT_EQ(editor.PickList()->currentRow(), 3);
}

TEST_F(InplaceEditTyping, AKeyPickListCellTakesOnlyItsLines)
{
    TDBGridInplaceEdit& editor = Edit(2);
    editor.selectAll();
    Type(editor, "l");
    EXPECT_EQ(editor.text(), "Large");
    Type(editor, "q");
    EXPECT_EQ(editor.text(), "Large");
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), "Large");
    EXPECT_EQ(editor.selectionStart(), 0);

    Column(2).OnNotInList = [](TColumnGx&, const std::string&, bool&) {};
    editor.selectAll();
    Type(editor, "sq");
    EXPECT_EQ(editor.text(), "Sq");
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), "S");
}

TEST_F(InplaceEditTyping, PickListsStayInsideTheScreensWorkArea)
{
    const QRect work = QApplication::primaryScreen()->availableGeometry();
    Column(1).SetDropDownWidth(300);
    // The name cell's right edge near the right of the work area: the list
    // ends at the work area's edge instead.
    FGrid.move(work.right() - 200, work.top() + 40);
    QApplication::processEvents();
    TDBGridInplaceEdit& editor = Edit(1);
    QTest::keyClick(&editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    QRect list = GlobalRect(*editor.PickList());
    EXPECT_EQ(list.right(), work.right());
    EXPECT_EQ(list.width(), 300);
    EXPECT_EQ(list.top(), GlobalRect(editor).bottom() + 1) << "room below: it opens below";
    QTest::keyClick(&editor, Qt::Key_Escape);

    // A list taller than the room on both sides opens on the larger side, shortened.
    TStringListGx many;
    for (int i = 0; i < 400; ++i)
        many.push_back("Line " + std::to_string(i));
    Column(1).SetPickList(many);
    Column(1).SetDropDownRows(400);
    FGrid.move(work.left(), work.top() + work.height() / 3);
    QApplication::processEvents();
    TDBGridInplaceEdit& again = Edit(1);
    QTest::keyClick(&again, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(again.ListVisible());
    list = GlobalRect(*again.PickList());
    const QRect cell = GlobalRect(again);
    EXPECT_EQ(list.top(), cell.bottom() + 1) << "more room below";
    EXPECT_EQ(list.bottom(), work.bottom());
    EXPECT_EQ(list.left(), cell.left());
    QTest::keyClick(&again, Qt::Key_Escape);

    FGrid.move(work.left(), work.bottom() - work.height() / 3);
    QApplication::processEvents();
    TDBGridInplaceEdit& above = Edit(1);
    QTest::keyClick(&above, Qt::Key_Down, Qt::AltModifier);
    list = GlobalRect(*above.PickList());
    EXPECT_EQ(list.bottom(), GlobalRect(above).top() - 1) << "more room above";
    EXPECT_EQ(list.top(), work.top());
}

TEST_F(InplaceEditTyping, TheUpDownButtonWalksTheLookupTableWithWrapAround)
{
    Column(3).SetButtonStyle(cbsUpDown);
    TDBGridInplaceEdit& editor = Edit(3);
    TEditButtonControlGx& button = editor.DefaultButton();
    auto press = [&](bool top) {
        const QPoint at(button.width() / 2, top ? 2 : button.height() - 3);
        QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, at);
    };
    press(true);
    EXPECT_EQ(TreeKey(), TVariant(2)) << "the top button goes to the record above";
    EXPECT_EQ(editor.text(), "Marble");
    press(false);
    press(false);
    EXPECT_EQ(TreeKey(), TVariant(1)) << "past the last record to the first";
    EXPECT_EQ(editor.text(), "Maple");
}

TEST_F(InplaceEditTyping, APasteIntoALookupCellIsMatchedAsTypedText)
{
    QGuiApplication::clipboard()->setText("mar");
    TDBGridInplaceEdit& editor = Edit(3);
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "Marble");
    EXPECT_EQ(Selected(editor), "ble");
    EXPECT_EQ(TreeKey(), TVariant(2));
    QGuiApplication::clipboard()->setText("pine");
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "Marble") << "a text outside the list is not pasted";
}
