// Multi-line editing in the grid's in-place editor (memo and long text
// cells on rows of several lines) and the column's input method settings,
// with real key events on a shown grid.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

class InplaceEditWrap : public ::testing::Test {
protected:
    void SetUp() override
    {
        FTable.FieldDefs().Add("CODE", ftInteger);
        FTable.FieldDefs().Add("NOTES", ftMemo);
        FTable.FieldDefs().Add("NAME", ftString, 12);
        FTable.AppendRecord({TVariant(1), TVariant("first line\r\nsecond line"), TVariant("Ann")});
        FTable.AppendRecord({TVariant(2), TVariant("other"), TVariant("Bob")});
        FTable.Open();
        FTable.First();
        FGrid.SetDataSource(&FSource);
        FGrid.SetOptions(FGrid.Options() + dgEditing);
        FGrid.SetDrawMemoText(true);
        FGrid.SetRowLines(3);
        ShowActiveGrid(FGrid, 500, 300);
    }

    TColumnGx& Column(int index) { return *FGrid.Columns()[index]; }
    TDBGridInplaceEdit& Edit(int column) { return EditGridColumn(FGrid, column); }
    QPlainTextEdit& Box(TDBGridInplaceEdit& editor)
    {
        QPlainTextEdit* box = editor.WordWrapBox();
        EXPECT_NE(box, nullptr);
        return *box;
    }
    void MoveCaret(QPlainTextEdit& box, QTextCursor::MoveOperation where)
    {
        QTextCursor cursor = box.textCursor();
        cursor.movePosition(where);
        box.setTextCursor(cursor);
    }

    TMemTable FTable;
    TDataSource FSource{&FTable};
    TEditingGrid FGrid;
};

} // namespace

TEST_F(InplaceEditWrap, AMemoCellShowsItsLinesAndCtrlEnterBreaksALine)
{
    ASSERT_TRUE(FGrid.MultiLine());
    TDBGridInplaceEdit& editor = Edit(1);
    ASSERT_TRUE(editor.WordWrap());
    QPlainTextEdit& box = Box(editor);
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(box.document()->blockCount(), 2);
    EXPECT_EQ(box.toPlainText(), "first line\nsecond line");

    MoveCaret(box, QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(&box, "third");
    EXPECT_EQ(box.document()->blockCount(), 3);
    EXPECT_EQ(editor.text(), "first line\r\nsecond line\r\nthird");
    EXPECT_EQ(FTable.State(), dsEdit);

    // Leaving the record posts the text with its line breaks.
    FTable.Next();
    FTable.First();
    EXPECT_EQ(FTable.FieldByName("NOTES")->AsString(), "first line\r\nsecond line\r\nthird");
}

TEST_F(InplaceEditWrap, EnterIsTheGridsKeyInAMultiLineCell)
{
    TDBGridInplaceEdit& editor = Edit(1);
    QPlainTextEdit& box = Box(editor);
    MoveCaret(box, QTextCursor::End);
    QTest::keyClicks(&box, "!");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.document()->blockCount(), 2) << "Enter breaks no line";
    EXPECT_EQ(FTable.FieldByName("NOTES")->AsString(), "first line\r\nsecond line!") << "Enter writes the text";
}

TEST_F(InplaceEditWrap, UpAndDownLeaveTheTextOnlyFromItsFirstAndLastLines)
{
    FGrid.SetOptions(FGrid.Options() + dgAlwaysShowEditor);
    TDBGridInplaceEdit& editor = Edit(1);
    QPlainTextEdit& box = Box(editor);
    MoveCaret(box, QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(FTable.FieldByName("CODE")->AsInteger(), 1);
    EXPECT_EQ(box.textCursor().blockNumber(), 0) << "the caret went up a line";
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.textCursor().blockNumber(), 1);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(FTable.FieldByName("CODE")->AsInteger(), 2) << "Down on the last line moves to the next record";
}

TEST_F(InplaceEditWrap, WithoutAlwaysShowEditorUpAndDownMoveTheRecord)
{
    TDBGridInplaceEdit& editor = Edit(1);
    QPlainTextEdit& box = Box(editor);
    MoveCaret(box, QTextCursor::Start);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(FTable.FieldByName("CODE")->AsInteger(), 2);
}

TEST_F(InplaceEditWrap, TheLengthLimitCountsLineBreaks)
{
    TDBGridInplaceEdit& editor = Edit(2);
    ASSERT_TRUE(editor.WordWrap()) << "a string cell wraps on rows of several lines";
    editor.SetMaxLength(6);
    QPlainTextEdit& box = Box(editor);
    MoveCaret(box, QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(&box, "xyz");
    EXPECT_EQ(editor.text(), "Ann\r\nx");
}

TEST_F(InplaceEditWrap, OneLineRowsEditInOneLine)
{
    FGrid.SetRowLines(0);
    ASSERT_FALSE(FGrid.MultiLine());
    TDBGridInplaceEdit& editor = Edit(1);
    EXPECT_FALSE(editor.WordWrap());
    EXPECT_EQ(editor.WordWrapBox(), nullptr);
    EXPECT_TRUE(editor.hasFocus());
    EXPECT_EQ(editor.text(), "first line\r\nsecond line");
    Column(1).SetWordWrap(false);
    FGrid.SetRowLines(3);
    EXPECT_FALSE(Edit(1).WordWrap()) << "the column's WordWrap is off";
}

TEST_F(InplaceEditWrap, TheColumnsInputMethodModeReachesTheEditor)
{
    Column(0).SetImeMode(imDisable);
    Column(2).SetImeMode(imSAlpha);
    FGrid.SetRowLines(0);
    TDBGridInplaceEdit& editor = Edit(0);
    EXPECT_FALSE(editor.testAttribute(Qt::WA_InputMethodEnabled));
    Edit(2);
    EXPECT_TRUE(editor.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(editor.inputMethodHints().testFlag(Qt::ImhPreferLatin));
    FGrid.SetImeMode(imChinese);
    Edit(1);
    EXPECT_TRUE(editor.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(editor.inputMethodHints().testFlag(Qt::ImhPreferLatin)) << "the grid's mode, as the column has none";

    // A multi-line box takes the same settings.
    FGrid.SetRowLines(3);
    Column(1).SetImeMode(imDisable);
    Edit(0);
    QPlainTextEdit& box = Box(Edit(1));
    EXPECT_FALSE(box.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(InplaceEditWrap, AMemoLongerThanALineEditsWhole)
{
    const std::string longText(40000, 'w');
    FTable.Edit();
    FTable.FieldByName("NOTES")->SetAsString(longText);
    FTable.Post();
    for (int lines : {0, 3}) {
        FGrid.SetRowLines(lines);
        TDBGridInplaceEdit& editor = Edit(1);
        ASSERT_EQ(editor.text().length(), 40000) << lines << " lines";
        if (QPlainTextEdit* box = editor.WordWrapBox()) {
            MoveCaret(*box, QTextCursor::End);
            QTest::keyClicks(box, "z");
        } else {
            editor.end(false);
            QTest::keyClicks(&editor, "z");
        }
        FTable.Next();
        FTable.First();
        EXPECT_EQ(FTable.FieldByName("NOTES")->AsString(), longText + "z") << lines << " lines";
        FTable.Edit();
        FTable.FieldByName("NOTES")->SetAsString(longText);
        FTable.Post();
    }
}
