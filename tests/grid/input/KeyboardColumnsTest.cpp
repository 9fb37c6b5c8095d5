// Column keys, check box keys, sort-marking release and the standard edit
// actions through the clipboard interface.

#include "grid/input/KeyboardTestSupport.h"

#include "grid/GridTestSupport.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditActions.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/input/DBGridGxStepValue.h"
#include "grid/base/InplaceEdit.h"
#include "ui/DialogService.h"

#include <QAction>

#include <gtest/gtest.h>

namespace {
// The sample table (ID, NAME, ACTIVE, CODE, NOTES, AMOUNT) in a shown grid.
struct TShownSample : TBoundGrid {
    TShownSample() { ShowActiveGrid(*Grid, 600, 240); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Grid.get(), key, modifiers);
    }
    void GoTo(const std::string& fieldName)
    {
        Grid->SelectColumn(Grid->DataToRawColumn(Column(fieldName)->Index()), 0, false);
    }
};
}  // namespace

TEST(KeyboardColumns, ArrowsHomeAndEndSelectColumnsAndFireExitAndEnter)
{
    TKeyGrid grid(3);
    TDBGridGx& g = grid.G();
    std::vector<std::string> events;
    g.OnColExit = [&] { events.push_back("exit"); };
    g.OnColEnter = [&] { events.push_back("enter"); };
    const int first = g.IndicatorCols();
    grid.Key(Qt::Key_Right);
    EXPECT_EQ(g.Col(), first + 1);
    EXPECT_EQ(events, (std::vector<std::string>{"exit", "enter"}));
    grid.Key(Qt::Key_Home);
    EXPECT_EQ(g.Col(), first);
    grid.Key(Qt::Key_End);
    EXPECT_EQ(g.Col(), g.ColCount() - 1);
    grid.Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(g.Col(), first);
    grid.Key(Qt::Key_Left);
    EXPECT_EQ(g.Col(), first) << "no column before the first";
}

TEST(KeyboardColumns, RightToLeftReadingSwapsLeftAndRight)
{
    TKeyGrid grid(3);
    grid.G().setLayoutDirection(Qt::RightToLeft);
    grid.Key(Qt::Key_Left);
    EXPECT_EQ(grid.G().Col(), grid.G().IndicatorCols() + 1);
}

TEST(KeyboardColumns, SelectColumnStepsOverHiddenColumnsAndYieldsToAColExitMove)
{
    TShownSample shown;
    TDBGridGx& g = *shown.Grid;
    shown.GoTo("ID");
    shown.Column("NAME")->SetVisible(false);
    g.SelectColumn(g.Col() + 1, +1, false);
    EXPECT_EQ(g.CurrentField(), shown.Field("ACTIVE"));

    const int codeCol = g.DataToRawColumn(shown.Column("CODE")->Index());
    g.OnColExit = [&] { g.SetCol(codeCol); };
    g.SelectColumn(g.DataToRawColumn(shown.Column("AMOUNT")->Index()), 0, false);
    EXPECT_EQ(g.Col(), codeCol) << "the column the exit event chose stays";
}

TEST(KeyboardColumns, SpaceTogglesACheckBoxAndDeleteClearsIt)
{
    TShownSample shown;
    ASSERT_EQ(shown.Column("ACTIVE")->ColumnKind(), ckCheckboxes);
    shown.GoTo("ACTIVE");
    TField* active = shown.Field("ACTIVE");
    ASSERT_TRUE(active->AsBoolean());
    shown.Key(Qt::Key_Space);
    EXPECT_FALSE(active->AsBoolean());
    EXPECT_EQ(shown.Table->State(), dsEdit);
    EXPECT_EQ(shown.Grid->InplaceEditor() && shown.Grid->InplaceEditor()->isVisible(), false) << "no editor opens";
    shown.Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_TRUE(active->AsBoolean());
    shown.Key(Qt::Key_Delete);
    EXPECT_TRUE(active->IsNull());
    active->SetRequired(true);
    shown.Key(Qt::Key_Space);
    shown.Key(Qt::Key_Delete);
    EXPECT_FALSE(active->IsNull()) << "a required field is not cleared";
}

TEST(KeyboardColumns, StepValueWalksPickListsAndAddsToNumbers)
{
    TShownSample shown;
    TColumnGx& code = *shown.Column("CODE");
    code.SetPickList({"N", "Y", "Z"});
    EXPECT_TRUE(StepColumnValue(code, 1));
    EXPECT_EQ(shown.Field("CODE")->AsString(), "Z") << "\"Y\" is followed by \"Z\"";
    EXPECT_TRUE(StepColumnValue(code, 1));
    EXPECT_EQ(shown.Field("CODE")->AsString(), "N") << "wraps to the first line";
    EXPECT_TRUE(StepColumnValue(code, -1));
    EXPECT_EQ(shown.Field("CODE")->AsString(), "Z");
    EXPECT_TRUE(StepColumnValue(*shown.Column("AMOUNT"), 2.5));
    EXPECT_DOUBLE_EQ(shown.Field("AMOUNT")->AsFloat(), 15.0);
    EXPECT_FALSE(StepColumnValue(*shown.Column("NAME"), 1)) << "text is not stepped";
    shown.Grid->SetReadOnly(true);
    EXPECT_FALSE(StepColumnValue(*shown.Column("AMOUNT"), 1));
}

TEST(KeyboardColumns, ReleasingCtrlAnnouncesAPendingSortMarkingOnce)
{
    TKeyGrid grid(3);
    int announced = 0;
    grid.G().OnSortMarkingChanged = [&] { ++announced; };
    grid.G().Keyboard().SetSortMarkingPending(true);
    QTest::keyRelease(grid.Grid.get(), Qt::Key_Control);
    EXPECT_EQ(announced, 1);
    EXPECT_FALSE(grid.G().Keyboard().SortMarkingPending());
    QTest::keyRelease(grid.Grid.get(), Qt::Key_Control);
    EXPECT_EQ(announced, 1);
}

TEST(KeyboardColumns, EditorGatesRefuseCheckBoxesSearchesAndReadOnlyGrids)
{
    TShownSample shown;
    TDBGridGx& g = *shown.Grid;
    shown.GoTo("NAME");
    shown.Key(Qt::Key_F2);
    ASSERT_TRUE(g.InplaceEditor() && g.InplaceEditor()->isVisible());
    shown.Key(Qt::Key_Escape);
    shown.GoTo("ACTIVE");
    shown.Key(Qt::Key_F2);
    EXPECT_FALSE(g.InplaceEditor()->isVisible()) << "a check box column has no editor";
    shown.GoTo("NAME");
    g.Keyboard().IncSearch().Start();
    g.ShowEditor();
    EXPECT_FALSE(g.InplaceEditor()->isVisible()) << "no editor while searching";
    shown.Key(Qt::Key_F2);
    EXPECT_FALSE(g.Keyboard().IncSearchActive());
    EXPECT_TRUE(g.InplaceEditor()->isVisible()) << "F2 ends the search and opens the editor";
    g.SetReadOnly(true);
    EXPECT_FALSE(CanEditColumn(g));
}

// ---- clipboard keys and the standard edit actions ------------------------

namespace {
struct TClipboardGrid : TKeyGrid {
    std::vector<std::string> Calls;
    TRecordingClipboardActions* Actions = nullptr;
    TClipboardGrid() : TKeyGrid(5)
    {
        G().SetOptions(G().Options() + dgMultiSelect);
        G().SetEditActions(TDBGridGxEditActions{geaCopyGx, geaCutGx, geaPasteGx, geaDeleteGx, geaSelectAllGx});
        auto actions = std::make_unique<TRecordingClipboardActions>(Calls);
        Actions = actions.get();
        G().SetClipboardActions(std::move(actions));
    }
};
}  // namespace

TEST(KeyboardEditActions, CopyNeedsASelectionAndCtrlASelectsAll)
{
    TClipboardGrid grid;
    grid.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(grid.Calls.empty()) << "nothing selected";
    EXPECT_FALSE(CopyAllowed(grid.G()));
    grid.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.G().Selection().SelectionType(), gstAll);
    grid.Key(Qt::Key_C, Qt::ControlModifier);
    grid.Key(Qt::Key_Insert, Qt::ControlModifier);
    grid.Key(Qt::Key_X, Qt::ControlModifier);
    grid.Key(Qt::Key_Delete, Qt::ShiftModifier);
    grid.Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.Calls, (std::vector<std::string>{"copy", "copy", "cut", "cut", "delete"}));
}

TEST(KeyboardEditActions, PasteNeedsPasteableDataAndAnUpdatableTable)
{
    TClipboardGrid grid;
    grid.Actions->Pasteable = false;
    grid.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(grid.Calls.empty());
    grid.Actions->Pasteable = true;
    grid.Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(grid.Calls, (std::vector<std::string>{"paste"}));
    grid.G().SetAllowedOperations(TDBGridGxAllowedOperations{alopInsertGx, alopDeleteGx, alopAppendGx});
    EXPECT_FALSE(PasteAllowed(grid.G()));
    grid.G().SetReadOnly(true);
    grid.G().SetAllowedOperations(AllAllowedOperationsGx);
    EXPECT_FALSE(PasteAllowed(grid.G()));
}

TEST(KeyboardEditActions, WithoutAnInterfaceTheClipboardKeysDoNothing)
{
    TKeyGrid grid(5);
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().SetEditActions(TDBGridGxEditActions{geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx});
    grid.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(SelectAllAllowed(grid.G()));
    EXPECT_FALSE(CopyAllowed(grid.G()));
    EXPECT_FALSE(PasteAllowed(grid.G()));
    EXPECT_FALSE(DeleteAllowed(grid.G()));
    TMessageAnswerer none(mrCancel);
    grid.Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.RecordCount(), 5) << "a selection without an interface deletes nothing";
}

TEST(KeyboardEditActions, StandardActionsRunAndEnableByTheSameTests)
{
    TClipboardGrid grid;
    QAction copy;
    copy.setShortcut(QKeySequence::Copy);
    QAction selectAll;
    selectAll.setShortcut(QKeySequence::SelectAll);
    QAction other;
    other.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));

    EXPECT_TRUE(UpdateGridAction(grid.G(), copy));
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_FALSE(UpdateGridAction(grid.G(), other));
    EXPECT_TRUE(ExecuteGridAction(grid.G(), selectAll));
    EXPECT_EQ(grid.G().Selection().SelectionType(), gstAll);
    UpdateGridAction(grid.G(), copy);
    EXPECT_TRUE(copy.isEnabled());
    EXPECT_TRUE(ExecuteGridAction(grid.G(), copy));
    EXPECT_EQ(grid.Calls, (std::vector<std::string>{"copy"}));
    grid.G().SetEditActions(TDBGridGxEditActions{geaSelectAllGx});
    UpdateGridAction(grid.G(), copy);
    EXPECT_FALSE(copy.isEnabled()) << "copy left out of EditActions";
}
