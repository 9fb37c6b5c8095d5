// The grid asks its editor host for the in-place editor, takes the
// editor's text from it and writes the editor back through it.

#include "grid/BehaviourTestSupport.h"

#include "grid/base/InplaceEdit.h"
#include "grid/input/DBGridInplaceEdit.h"

#include <gtest/gtest.h>

TEST(EditorHostHooks, ShowingTheEditorFirstAsksTheHost)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetOptions(grid.Options() + dgEditing);
    grid.SetCol(grid.DataToRawColumn(1));
    grid.ShowEditor();

    EXPECT_EQ(grid.Editors->EditorsAsked, 1);
    // The host made the grid's own editor.
    ASSERT_NE(dynamic_cast<TDBGridInplaceEdit*>(grid.InplaceEditor()), nullptr);
    EXPECT_TRUE(grid.EditorMode());
    // Made once: showing it again asks no more.
    grid.HideEditor();
    grid.ShowEditor();
    EXPECT_EQ(grid.Editors->EditorsAsked, 1);
}

TEST(EditorHostHooks, MemoTextGetsCrLfLineBreaksOnlyWithDrawMemoText)
{
    TShownBehaviourGrid shown;
    TField* notes = shown.Table->FieldByName("NOTES");
    TDBGridGxEditorHost& host = shown.Grid->EditorHost();
    EXPECT_EQ(host.EditorTextOf(*notes), notes->EditText());
    shown.Grid->SetDrawMemoText(true);
    EXPECT_EQ(host.EditorTextOf(*notes), "first line\r\nsecond line");
}

TEST(EditorHostHooks, WriteToFieldPutsTheEditorTextIntoTheCurrentField)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetOptions(grid.Options() + dgEditing);
    grid.SetCol(grid.DataToRawColumn(1));
    grid.ShowEditor();
    ASSERT_NE(grid.InplaceEditor(), nullptr);
    shown.Table->Edit();
    grid.InplaceEditor()->setText("Anna");

    grid.EditorHost().WriteToField();
    shown.Table->Post();
    EXPECT_EQ(shown.Table->FieldByName("NAME")->AsString(), "Anna");
}

TEST(EditorHostHooks, MaskAndLimitComeFromTheFieldExceptForKeyPickLists)
{
    TShownBehaviourGrid shown;
    TDBGridGxEditorHost& host = shown.Grid->EditorHost();
    TColumnGx& name = *shown.Grid->Columns()[1];
    TColumnGx& amount = *shown.Grid->Columns()[5];
    shown.Table->FieldByName("NAME")->SetEditMask(">L<llll;0;_");
    EXPECT_EQ(host.EditMaskOf(name), ">L<llll;0;_");
    EXPECT_EQ(host.EditLimitOf(name), 20);
    EXPECT_EQ(host.EditLimitOf(amount), 0);
    name.SetPickList({"Ann", "Bob"});
    name.SetKeyList({"1", "2"});
    EXPECT_EQ(host.EditMaskOf(name), "");
    EXPECT_EQ(host.EditLimitOf(name), 0);
}

TEST(EditorHostHooks, AnIncompleteMaskedTextIsRefusedNamingTheFieldAndNothingIsWritten)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetOptions(grid.Options() + dgEditing);
    shown.Table->FieldByName("NAME")->SetEditMask("LL-00;1;_");
    grid.SetCol(grid.DataToRawColumn(1));
    grid.ShowEditor();
    TInplaceEdit& editor = *grid.InplaceEditor();
    EXPECT_EQ(editor.EditMask(), "LL-00;1;_") << "the field's mask reaches the editor";
    shown.Table->Edit();
    editor.SetValueText("AB-1");
    try {
        grid.EditorHost().WriteToField();
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("field 'NAME'"), std::string::npos) << error.what();
    }
    EXPECT_EQ(editor.cursorPosition(), 4);
    EXPECT_EQ(editor.text(), "AB-1_");   // the typed text stays
    EXPECT_EQ(shown.Table->FieldByName("NAME")->AsString(), "Ann");

    editor.SetValueText("AB-12");
    grid.EditorHost().WriteToField();
    shown.Table->Post();
    EXPECT_EQ(shown.Table->FieldByName("NAME")->AsString(), "AB-12");
}
