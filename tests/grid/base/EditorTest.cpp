// Hosting of the in-place editor: showing, filling, placing, key
// forwarding between editor and grid, and hiding with the changed text.

#include "GridTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

class EditorGrid : public TTestGrid {
public:
    bool Modifiable = true;
    int Limit = 0;
    QString Mask;

protected:
    bool CanEditModify() override { return Modifiable; }
    int GetEditLimit() override { return Limit; }
    QString GetEditMask(int, int) override { return Mask; }
};

class GridEditor : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        grid = std::make_unique<EditorGrid>();
        grid->SetColCount(8);
        grid->SetRowCount(20);
        grid->SetOptions(grid->Options() + goEditing);
        ShowGrid(*grid, 300, 200);
    }
    TInplaceEdit* Editor() const { return grid->InplaceEditor(); }
    bool EditorShown() const { return Editor() && Editor()->isVisible(); }
    std::unique_ptr<EditorGrid> grid;
};

TEST_F(GridEditor, F2ShowsTheEditorOverTheCurrentCellWithItsText) {
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(Editor()->geometry(), grid->CellRect(1, 2));
    EXPECT_EQ(Editor()->text(), "r2c1");
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_FALSE(Editor()->hasSelectedText()) << "F2 leaves the caret at the end";
}

TEST_F(GridEditor, TypingOpensTheEditorAndReplacesTheText) {
    QTest::keyClicks(grid.get(), "x");
    ASSERT_TRUE(EditorShown());
    QTest::keyClicks(Editor(), "yz");
    EXPECT_EQ(Editor()->text(), "xyz");
    ASSERT_FALSE(grid->EditTexts.empty());
    EXPECT_EQ(grid->EditTexts.back().second, "xyz");
    EXPECT_EQ(grid->EditTexts.back().first, (TGridCoord{1, 1}));
}

TEST_F(GridEditor, WithoutEditingTypingOpensNothing) {
    grid->SetOptions(grid->Options() - goEditing);
    QTest::keyClicks(grid.get(), "x");
    QTest::keyClick(grid.get(), Qt::Key_F2);
    EXPECT_FALSE(EditorShown());
}

TEST_F(GridEditor, CharacterIsAKeyPressWhereNoEditorCanOpen) {
    grid->SetOptions(grid->Options() + goRowSelect);
    QString pressed;
    grid->OnKeyPress = [&](QString& key) { pressed += key; };
    QTest::keyClicks(grid.get(), "ab");
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(pressed, "ab");
}

TEST_F(GridEditor, EnterTogglesTheEditorAndHandsBackTheText) {
    QTest::keyClick(grid.get(), Qt::Key_Return);
    ASSERT_TRUE(EditorShown());
    QTest::keyClick(Editor(), Qt::Key_End);
    QTest::keyClicks(Editor(), "!");
    grid->EditTexts.clear();
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_TRUE(grid->hasFocus());
    ASSERT_FALSE(grid->EditTexts.empty());
    EXPECT_EQ(grid->EditTexts.back().second, "r1c1!");
}

TEST_F(GridEditor, UnchangedTextIsNotHandedBack) {
    QTest::keyClick(grid.get(), Qt::Key_F2);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(grid->EditTexts.empty());
}

TEST_F(GridEditor, NavigationKeysGoFromTheEditorToTheGrid) {
    QTest::keyClick(grid.get(), Qt::Key_F2);
    QTest::keyClick(Editor(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(EditorShown()) << "moving ends editor mode";
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid.get(), Qt::Key_F2);
    QTest::keyClick(Editor(), Qt::Key_Left);  // moves the caret, not the cell
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditor, AlwaysShownEditorFollowsTheCurrentCell) {
    grid->SetOptions(grid->Options() + goAlwaysShowEditor);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->text(), "r1c1");
    QTest::keyClick(Editor(), Qt::Key_Down);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->geometry(), grid->CellRect(1, 2));
    EXPECT_EQ(Editor()->text(), "r2c1");
    // With the whole text selected, Right leaves the cell.
    QTest::keyClick(Editor(), Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(Editor()->text(), "r2c2");
    // With the caret inside the text, Right and Left stay in the editor.
    Editor()->setCursorPosition(2);
    QTest::keyClick(Editor(), Qt::Key_Right);
    QTest::keyClick(Editor(), Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(Editor()->cursorPosition(), 2);
    // At the very start, Left leaves the cell.
    Editor()->setCursorPosition(0);
    QTest::keyClick(Editor(), Qt::Key_Left);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridEditor, ScrollingAndSizingMoveTheEditor) {
    grid->SetOptions(grid->Options() + goAlwaysShowEditor);
    grid->SetColWidths(1, 100);
    EXPECT_EQ(Editor()->geometry(), grid->CellRect(1, 1));
    EXPECT_EQ(Editor()->width(), 100);
    grid->SetTopRow(5);  // the current row scrolls out of view
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_TRUE(grid->EditorMode());
    grid->SetTopRow(1);
    EXPECT_TRUE(Editor()->isVisible());
    EXPECT_EQ(Editor()->geometry(), grid->CellRect(1, 1));
}

TEST_F(GridEditor, ClickOnTheCurrentCellOpensTheEditor) {
    const QPoint inCell = grid->CellRect(1, 1).center();
    QTest::mouseClick(Client(*grid), Qt::LeftButton, {}, inCell);
    EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditor, GatesRefuseChangesAndLimitLength) {
    grid->Modifiable = false;
    QTest::keyClick(grid.get(), Qt::Key_F2);
    QTest::keyClicks(Editor(), "abc");
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    EXPECT_EQ(Editor()->text(), "r1c1");

    grid->Modifiable = true;
    grid->Limit = 3;
    QTest::keyClick(Editor(), Qt::Key_Down);
    QTest::keyClicks(grid.get(), "abcdef");
    EXPECT_EQ(Editor()->text(), "abc");
}

TEST_F(GridEditor, EditMaskIsApplied) {
    // The editor shows the mask's edit text and hands the grid its value.
    grid->Mask = "00-00;0;_";
    QTest::keyClick(grid.get(), Qt::Key_F2);
    EXPECT_EQ(Editor()->EditMask(), "00-00;0;_");
    EXPECT_TRUE(Editor()->inputMask().isEmpty());
    EXPECT_EQ(Editor()->text(), "_1-_1");   // "r1c1": the letters do not fit their positions
    Editor()->setCursorPosition(0);
    Editor()->deselect();
    QTest::keyClicks(Editor(), "12x3");
    EXPECT_EQ(Editor()->text(), "12-31");
    EXPECT_EQ(Editor()->ValueText(), "1231");
    ASSERT_FALSE(grid->EditTexts.empty());
    EXPECT_EQ(grid->EditTexts.back().second, "1231");
}

TEST_F(GridEditor, MaskedEditingKeepsLiteralsOnBackspaceDeleteAndPaste) {
    grid->Mask = ">LL-00;1;*";
    QTest::keyClick(grid.get(), Qt::Key_F2);
    Editor()->selectAll();
    QTest::keyClicks(Editor(), "ab");
    EXPECT_EQ(Editor()->text(), "AB-**");
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    EXPECT_EQ(Editor()->text(), "A*-**");
    EXPECT_EQ(Editor()->InvalidMaskPosition(), 1);
    Editor()->setCursorPosition(0);
    QTest::keyClick(Editor(), Qt::Key_Delete);
    EXPECT_EQ(Editor()->text(), "**-**");
    EXPECT_EQ(Editor()->ValueText(), "");
    EXPECT_EQ(Editor()->InvalidMaskPosition(), -1);   // empty: clears the value
    QGuiApplication::clipboard()->setText("xy42");
    Editor()->setCursorPosition(0);
    QTest::keyClick(Editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor()->text(), "XY-42");
    EXPECT_EQ(Editor()->ValueText(), "XY-42");
    EXPECT_EQ(Editor()->InvalidMaskPosition(), -1);
}

}  // namespace
