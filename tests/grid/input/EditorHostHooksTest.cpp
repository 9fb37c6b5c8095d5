// The grid asks its editor host for the in-place editor, takes the
// editor's text from it and writes the editor back through it.

#include "grid/BehaviourTestSupport.h"

#include "grid/base/InplaceEdit.h"

#include <gtest/gtest.h>

TEST(EditorHostHooks, ShowingTheEditorFirstAsksTheHost)
{
    TShownBehaviourGrid shown;
    TBehaviourGrid& grid = *shown.Grid;
    grid.SetOptions(grid.Options() + dgEditing);
    grid.SetCol(grid.DataToRawColumn(1));
    grid.ShowEditor();

    EXPECT_EQ(grid.Editors->EditorsAsked, 1);
    // The host left it to the cell grid, whose plain editor shows.
    ASSERT_NE(grid.InplaceEditor(), nullptr);
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
