// The grid's own editor on a shown grid, driven by keys: the text, mask and
// length it starts from, and what reaches the fields when the user leaves
// the cell or the row: plain text, a key pick list's key, a lookup
// record's key, the special row's key, and a pick list's unknown text.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/LookupExtraRowGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridInplaceEdit.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class EditorWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenTreeTable(FTrees);

        FTable.FieldDefs().Add("NAME", ftString, 8);
        FTable.FieldDefs().Add("CODE", ftString, 1);
        FTable.FieldDefs().Add("LEVEL", ftInteger);
        FTable.FieldDefs().Add("TREE", ftInteger);
        FTable.AppendRecord({TVariant("Ann"), TVariant("Y"), TVariant(1), TVariant(2)});
        FTable.AppendRecord({TVariant("Bob"), TVariant("N"), TVariant(3), TVariant(1)});
        AddTreeLookupField(FTable, FTrees);
        FTable.Open();

        FGrid = std::make_unique<TDBGridGx>();
        FGrid->SetDataSource(&FSource);
        FGrid->SetOptions(FGrid->Options() + dgEditing);
        ShowActiveGrid(*FGrid, 600, 200);
    }

    TColumnGx& Column(int index) { return *FGrid->Columns()[index]; }
    // Makes a data column current and opens the editor with F2.
    TDBGridInplaceEdit& Edit(int column)
    {
        FGrid->setFocus();
        FGrid->SetCol(FGrid->DataToRawColumn(column));
        QTest::keyClick(FGrid.get(), Qt::Key_F2);
        auto* editor = dynamic_cast<TDBGridInplaceEdit*>(FGrid->InplaceEditor());
        EXPECT_NE(editor, nullptr) << "the grid shows its own editor";
        EXPECT_TRUE(editor != nullptr && editor->isVisible());
        return *editor;
    }
    void Type(const char* text)
    {
        FGrid->InplaceEditor()->selectAll();
        QTest::keyClicks(FGrid->InplaceEditor(), text);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = FGrid->InplaceEditor() && FGrid->InplaceEditor()->hasFocus()
                              ? static_cast<QWidget*>(FGrid->InplaceEditor())
                              : FGrid.get();
        QTest::keyClick(target, key, modifiers);
    }
    // The first record's value of a field, read after leaving the row.
    std::string FirstRecords(const char* field)
    {
        FTable.First();
        return FTable.FieldByName(field)->AsString();
    }

    TMemTable FTrees;
    TMemTable FTable;
    TDataSource FSource{&FTable};
    std::unique_ptr<TDBGridGx> FGrid;
};

} // namespace

TEST_F(EditorWiring, TheEditorStartsFromTheFieldsTextWithItsMaskAndLength)
{
    FTable.FieldByName("NAME")->SetEditMask(">L<lllllll;0;_");
    TDBGridInplaceEdit& editor = Edit(0);
    EXPECT_EQ(editor.ValueText(), "Ann");
    EXPECT_EQ(editor.EditMask(), ">L<lllllll;0;_");
    EXPECT_EQ(editor.MaxLength(), 8);
    Edit(2);
    EXPECT_EQ(editor.ValueText(), "1");
    EXPECT_EQ(editor.EditMask(), "");
    EXPECT_EQ(editor.MaxLength(), 0) << "no limit on a number";
    EXPECT_EQ(FTable.State(), dsBrowse) << "showing the editor starts no edit";
}

TEST_F(EditorWiring, TypedTextReachesTheFieldWhenTheRowIsLeft)
{
    Edit(0);
    Type("Zed");
    EXPECT_EQ(FTable.State(), dsEdit);
    EXPECT_TRUE(FGrid->DataLink()->Modified());
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Ann") << "written when the cell or row is left";
    Key(Qt::Key_Down);
    EXPECT_EQ(FTable.State(), dsBrowse);
    EXPECT_EQ(FirstRecords("NAME"), "Zed");
}

TEST_F(EditorWiring, TabbingOnWritesTheCellOnceAndLeavesTheNextCellAlone)
{
    Edit(0);
    Type("Zed");
    Key(Qt::Key_Tab);
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Zed");
    EXPECT_FALSE(FGrid->DataLink()->Modified());
    // Opening the next cell and leaving the row writes nothing into it.
    Key(Qt::Key_F2);
    Key(Qt::Key_Down);
    EXPECT_EQ(FTable.State(), dsBrowse);
    EXPECT_EQ(FirstRecords("NAME"), "Zed");
    EXPECT_EQ(FTable.FieldByName("CODE")->AsString(), "Y");
}

TEST_F(EditorWiring, AKeyPickListShowsTheItemAndWritesTheKeyBesideIt)
{
    Column(2).SetPickList({"low", "middle", "high"});
    Column(2).SetKeyList({"1", "2", "3"});
    TDBGridInplaceEdit& editor = Edit(2);
    EXPECT_EQ(editor.ValueText(), "low");
    EXPECT_EQ(editor.MaxLength(), 0);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(editor.ValueText(), "high");
    Key(Qt::Key_Down);
    EXPECT_EQ(FirstRecords("LEVEL"), "3");
}

TEST_F(EditorWiring, AKeyPickListTextOutsideTheListGetsItsKeyOnlyWhenNotInListAddsIt)
{
    Column(2).SetPickList({"low", "middle", "high"});
    Column(2).SetKeyList({"1", "2", "3"});
    int asked = 0;
    Column(2).OnNotInList = [&](TColumnGx& column, const std::string& text, bool& recheck) {
        ++asked;
        column.SetPickList({"low", "middle", "high", text});
        column.SetKeyList({"1", "2", "3", "9"});
        recheck = true;
    };
    Edit(2);
    Type("top");
    Key(Qt::Key_Down);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(FirstRecords("LEVEL"), "9");

    // Without a recheck the key is null.
    Column(2).OnNotInList = [&](TColumnGx&, const std::string&, bool&) { ++asked; };
    Edit(2);
    Type("peak");
    Key(Qt::Key_Down);
    EXPECT_EQ(asked, 2);
    FTable.First();
    EXPECT_TRUE(FTable.FieldByName("LEVEL")->IsNull());
}

TEST_F(EditorWiring, APickListTextOutsideTheListIsToldAndWrittenAsTyped)
{
    Column(0).SetPickList({"Ann", "Bob"});
    std::string told;
    Column(0).OnNotInList = [&](TColumnGx&, const std::string& text, bool&) { told = text; };
    Edit(0);
    Type("Zoe");
    Key(Qt::Key_Down);
    EXPECT_EQ(told, "Zoe");
    EXPECT_EQ(FirstRecords("NAME"), "Zoe");
}

TEST_F(EditorWiring, ALookupValueTypedInFullStoresTheKeyOfItsRecord)
{
    TDBGridInplaceEdit& editor = Edit(4);
    EXPECT_EQ(editor.EditStyle(), esDataListGx);
    EXPECT_EQ(editor.ValueText(), "Tree B");
    EXPECT_EQ(FGrid->EditorHost().LookupKeyValue(), TVariant(2));
    Type("tree c");
    Key(Qt::Key_Down);
    FTable.First();
    EXPECT_EQ(FTable.FieldByName("TREE")->AsInteger(), 3);
    EXPECT_EQ(FTable.FieldByName("TREENAME")->AsString(), "Tree C");
}

TEST_F(EditorWiring, TheSpecialRowStandsForItsKeyAndForKeysOutsideTheLookupTable)
{
    TSpecRowGx& specRow = *Column(4).DropDownSpecRow();
    specRow.SetCellsText("(none)");
    specRow.SetValue(TVariant(0));
    specRow.SetShowIfNotInKeyList(false);
    specRow.SetVisible(true);
    FTable.Edit();
    FTable.FieldByName("TREE")->SetAsInteger(0);
    FTable.Post();
    TDBGridGxEditorHost& host = FGrid->EditorHost();
    const int raw = FGrid->DataToRawColumn(4);
    EXPECT_EQ(host.CellEditText(raw), "(none)");
    EXPECT_EQ(host.LookupKeyValue(), TVariant(0));

    FTable.Edit();
    FTable.FieldByName("TREE")->SetAsInteger(7);   // no such tree
    FTable.Post();
    EXPECT_EQ(host.CellEditText(raw), "");
    EXPECT_EQ(host.LookupKeyValue(), TVariant(7));
    specRow.SetShowIfNotInKeyList(true);
    EXPECT_EQ(host.CellEditText(raw), "(none)");
    EXPECT_EQ(host.LookupKeyValue(), TVariant(0));
    EXPECT_EQ(host.CellEditText(FGrid->DataToRawColumn(0)), "Ann");
    EXPECT_TRUE(host.LookupKeyValue().IsNull()) << "no key for other columns";
}

TEST_F(EditorWiring, EscThrowsTheTypedTextAwayAndNothingIsWritten)
{
    TDBGridInplaceEdit& editor = Edit(0);
    Type("Zed");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(FGrid->DataLink()->Modified());
    Key(Qt::Key_Escape);
    EXPECT_EQ(FTable.State(), dsBrowse);
    EXPECT_EQ(FirstRecords("NAME"), "Ann");
    EXPECT_NE(editor.ValueText(), "Zed");
}

TEST_F(EditorWiring, TextPendingWhenCodeMovesTheColumnIsWrittenToItsOwnField)
{
    Edit(0);
    Type("Zed");
    FGrid->SetCol(FGrid->DataToRawColumn(2));   // as a focus request does
    EXPECT_EQ(FTable.FieldByName("NAME")->AsString(), "Zed");
    EXPECT_FALSE(FGrid->DataLink()->Modified());
    Key(Qt::Key_Down);
    EXPECT_EQ(FirstRecords("NAME"), "Zed");
    EXPECT_EQ(FTable.FieldByName("LEVEL")->AsInteger(), 1) << "the new column's field is left alone";
}
