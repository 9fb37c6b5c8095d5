// The editor's gates follow a read-only state that a column's
// OnGetCellParams decides for editing: typed keys then change a read-only
// column's cell, or leave a writable one alone, whatever the column itself
// would answer.

#include "grid/input/KeyboardTestSupport.h"

#include "grid/GridTestSupport.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditReadOnly.h"
#include "grid/base/InplaceEdit.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The sample table in a shown, editable grid, NAME current; the events
// decide NAME's read-only state while `Decided` holds one.
struct TDecidedGrid : TBoundGrid {
    std::optional<bool> Decided;
    int EditModeCalls = 0;
    TDecidedGrid()
    {
        Grid->SetOptions(Grid->Options() + dgEditing);
        ShowActiveGrid(*Grid, 600, 240);
        Column("NAME")->SetOnGetCellParams([this](TColumnGx&, bool editMode, TColCellParamsGx& params) {
            if (!editMode)
                return;
            ++EditModeCalls;
            if (Decided)
                params.ReadOnly = *Decided;
        });
        Grid->SelectColumn(Grid->DataToRawColumn(Column("NAME")->Index()), 0, false);
    }
    TInplaceEdit& OpenEditor()
    {
        QTest::keyClick(Grid.get(), Qt::Key_F2);
        if (!Grid->InplaceEditor() || !Grid->InplaceEditor()->isVisible())
            throw std::runtime_error("the editor did not open");
        return *Grid->InplaceEditor();
    }
};

TEST(EditGatesOverride, AReadOnlyDecisionKeepsTypedKeysOutOfAWritableColumn)
{
    TDecidedGrid t;
    t.Decided = true;
    TInplaceEdit& editor = t.OpenEditor();
    EXPECT_TRUE(editor.isReadOnly()) << "the editor shows the decision";
    const QString before = editor.text();
    QTest::keyClicks(&editor, "xy");
    EXPECT_EQ(editor.text(), before);
    EXPECT_EQ(t.Table->State(), dsBrowse) << "no edit was started";
    EXPECT_GT(t.EditModeCalls, 0);
    QTest::keyClick(&editor, Qt::Key_Delete);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), before) << "nor deleting keys";
}

TEST(EditGatesOverride, AWritableDecisionOpensAReadOnlyColumnToTypedKeys)
{
    TDecidedGrid t;
    t.Column("NAME")->SetReadOnly(true);
    TInplaceEdit& editor = t.OpenEditor();
    QTest::keyClicks(&editor, "q");
    EXPECT_FALSE(editor.text().contains('q')) << "the column's own answer without a decision";
    EXPECT_EQ(t.Table->State(), dsBrowse);

    t.Decided = false;
    t.Grid->InvalidateEditor();   // the editor takes the decision as it is filled
    EXPECT_FALSE(editor.isReadOnly());
    QTest::keyClicks(&editor, "q");
    EXPECT_TRUE(editor.text().contains('q'));
    EXPECT_EQ(t.Table->State(), dsEdit) << "the gate put the dataset into edit state";
}

TEST(EditGatesOverride, ADecisionThatRepeatsTheColumnsAnswerIsNoOverride)
{
    TDecidedGrid t;
    TColumnGx& name = *t.Column("NAME");
    t.Decided = false;
    EXPECT_EQ(EditReadOnlyOverride(*t.Grid, name), std::nullopt) << "the column is writable anyway";
    t.Decided = true;
    EXPECT_EQ(EditReadOnlyOverride(*t.Grid, name), std::optional<bool>(true));

    // Check boxes never edit, whatever the events decide.
    t.Grid->SelectColumn(t.Grid->DataToRawColumn(t.Column("ACTIVE")->Index()), 0, false);
    t.Column("ACTIVE")->SetOnGetCellParams([](TColumnGx&, bool, TColCellParamsGx& params) { params.ReadOnly = false; });
    QTest::keyClick(t.Grid.get(), Qt::Key_F2);
    EXPECT_FALSE(t.Grid->InplaceEditor() && t.Grid->InplaceEditor()->isVisible());
    EXPECT_EQ(t.Table->State(), dsBrowse);
}

TEST(EditGatesOverride, TheDecisionSeesTheCellAsTheEditorShowsIt)
{
    TDecidedGrid t;
    TColumnGx& name = *t.Column("NAME");
    name.SetColor(0x00FF00);
    bool ownReadOnly = true;
    std::string text;
    TGridDrawState state;
    t.Grid->OnGetCellParams = [&](TCustomDBGridGx&, TColumnGx&, TFontGx&, TColor& background, TGridDrawState s) {
        state = s;
        background = 0x0000FF;
    };
    TColCellParamsGx params;
    name.SetOnGetCellParams([&](TColumnGx&, bool, TColCellParamsGx& p) {
        ownReadOnly = p.ReadOnly;
        text = p.Text;
    });
    EXPECT_EQ(DecideEditReadOnly(*t.Grid, name, params), std::nullopt);
    EXPECT_FALSE(ownReadOnly) << "starts from the column's own answer";
    EXPECT_EQ(text, t.Field("NAME")->EditText());
    EXPECT_TRUE(state.Contains(gdFocused));
    EXPECT_EQ(params.Background, TColor(0x0000FF)) << "the grid's event ran first";
    EXPECT_EQ(t.Table->State(), dsBrowse) << "deciding starts no edit";
}

}  // namespace
