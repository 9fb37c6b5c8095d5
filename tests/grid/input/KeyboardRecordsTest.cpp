// Keys that move and change records: Up and Down with the blank appended
// record, Insert, Esc, Ctrl+Delete with its confirmations, tab moves with
// their wraps, and a failed post that must leave everything unlocked.

#include "grid/input/KeyboardTestSupport.h"

#include "ui/DialogService.h"

#include <gtest/gtest.h>

#include <stdexcept>

class KeyboardRecords : public ::testing::TestWithParam<bool> {};

TEST_P(KeyboardRecords, DownPastTheLastRecordAppendsOneBlankRecordAndUpDropsIt)
{
    TKeyGrid grid(5, GetParam());
    grid.Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.Id(), 5);

    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.State(), dsInsert);
    EXPECT_TRUE(grid.Table->FieldByName("ID")->IsNull());
    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.State(), dsInsert) << "Down on the blank record does nothing";
    EXPECT_EQ(grid.RecordCount(), 5);

    grid.Key(Qt::Key_Up);
    EXPECT_EQ(grid.State(), dsBrowse);
    EXPECT_EQ(grid.RecordCount(), 5) << "nothing reaches the table";
    EXPECT_EQ(grid.Id(), 5);
}

TEST_P(KeyboardRecords, DownAndUpMoveOneRecordAndPageKeysAWindow)
{
    TKeyGrid grid(100, GetParam());
    grid.Key(Qt::Key_Down);
    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.Id(), 3);
    grid.Key(Qt::Key_Up);
    EXPECT_EQ(grid.Id(), 2);
    const int page = RowWindowOf(grid.G()).VisibleDataRowCount();
    grid.Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.Id(), 2 + page);
    grid.Key(Qt::Key_PageUp);
    EXPECT_EQ(grid.Id(), 2);
    grid.Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.Id(), 100);
    grid.Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.Id(), 1);
    EXPECT_EQ(grid.G().UpdateLock(), 0);
}

TEST_P(KeyboardRecords, AppendingNeedsAnEditableGridAndTheAppendOperation)
{
    TKeyGrid grid(3, GetParam());
    grid.G().SetAllowedOperations(TDBGridGxAllowedOperations{alopInsertGx, alopUpdateGx, alopDeleteGx});
    grid.Key(Qt::Key_End, Qt::ControlModifier);
    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.State(), dsBrowse);
    grid.G().SetAllowedOperations(AllAllowedOperationsGx);
    grid.G().SetReadOnly(true);
    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.State(), dsBrowse);
}

TEST_P(KeyboardRecords, InsertOpensANewRecordAndEscCancelsIt)
{
    TKeyGrid grid(3, GetParam());
    grid.Key(Qt::Key_Down);
    grid.Key(Qt::Key_Insert);
    EXPECT_EQ(grid.State(), dsInsert);
    grid.Key(Qt::Key_Escape);
    EXPECT_EQ(grid.State(), dsBrowse);
    EXPECT_EQ(grid.RecordCount(), 3);
    EXPECT_EQ(grid.Id(), 2);
}

TEST_P(KeyboardRecords, CtrlDeleteAsksAndCancelKeepsTheRecord)
{
    TKeyGrid grid(4, GetParam());
    grid.Key(Qt::Key_Down);
    {
        TMessageAnswerer cancel(mrCancel);
        grid.Key(Qt::Key_Delete, Qt::ControlModifier);
        ASSERT_EQ(cancel.Count(), 1);
        EXPECT_EQ(cancel.Last().Text, "Delete record?");
        EXPECT_EQ(cancel.Last().Buttons, mbOKCancel);
    }
    EXPECT_EQ(grid.RecordCount(), 4);
    {
        TMessageAnswerer ok(mrOk);
        grid.Key(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(ok.Count(), 1);
    }
    EXPECT_EQ(grid.RecordCount(), 3);
    EXPECT_EQ(grid.Id(), 3);
}

TEST_P(KeyboardRecords, DeletingSelectedRecordsAsksForAllOfThem)
{
    TKeyGrid grid(6, GetParam());
    grid.G().SetOptions(grid.G().Options() + dgMultiSelect);
    grid.G().SelectedRecords().SetCurrentRowSelected(true);
    grid.Table->Next();
    grid.G().SelectedRecords().SetCurrentRowSelected(true);
    TMessageAnswerer ok(mrOk);
    grid.Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(ok.Count(), 1);
    EXPECT_EQ(ok.Last().Text, "Delete all selected records?");
    EXPECT_EQ(grid.RecordCount(), 4);
}

TEST_P(KeyboardRecords, WithoutConfirmDeleteNothingIsAskedAndReadOnlyDeletesNothing)
{
    TKeyGrid grid(3, GetParam());
    grid.G().SetOptions(grid.G().Options() - dgConfirmDelete);
    TMessageAnswerer none(mrCancel);
    grid.Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(grid.RecordCount(), 2);
    grid.G().SetReadOnly(true);
    grid.Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid.RecordCount(), 2);
}

TEST_P(KeyboardRecords, TabWrapsToTheNextRecordAndShiftTabToThePriorOne)
{
    TKeyGrid grid(3, GetParam());
    TDBGridGx& g = grid.G();
    const int first = g.IndicatorCols();
    const int last = g.ColCount() - 1;
    ASSERT_GT(last, first);
    grid.Key(Qt::Key_Tab);
    EXPECT_EQ(g.Col(), first + 1);
    grid.Key(Qt::Key_Tab);
    EXPECT_EQ(g.Col(), first);
    EXPECT_EQ(grid.Id(), 2) << "past the last column: the next record";
    grid.Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(g.Col(), last);
    EXPECT_EQ(grid.Id(), 1);
}

TEST_P(KeyboardRecords, TabSkipsColumnsThatAreNoTabStopsAndStaysWithoutAny)
{
    TKeyGrid grid(3, GetParam());
    TDBGridGx& g = grid.G();
    const int first = g.IndicatorCols();
    g.SetTabStops(first + 1, false);
    grid.Key(Qt::Key_Tab);
    EXPECT_EQ(g.Col(), first);
    EXPECT_EQ(grid.Id(), 2);
    g.SetTabStops(first, false);
    grid.Key(Qt::Key_Tab);
    EXPECT_EQ(g.Col(), first);
    EXPECT_EQ(grid.Id(), 2) << "no tab stop at all: nothing moves";
    EXPECT_EQ(g.UpdateLock(), 0);
}

TEST_P(KeyboardRecords, EnterMovesLikeTabUnderEnterAsTab)
{
    TKeyGrid grid(3, GetParam());
    grid.G().SetOptionsGx(grid.G().OptionsGx() + dghEnterAsTab);
    const int first = grid.G().IndicatorCols();
    grid.Key(Qt::Key_Return);
    EXPECT_EQ(grid.G().Col(), first + 1);
    grid.Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(grid.G().Col(), first);
}

TEST_P(KeyboardRecords, EscCancelsAnEditOfTheRecord)
{
    TKeyGrid grid(3, GetParam());
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("changed");
    grid.Key(Qt::Key_Escape);
    EXPECT_EQ(grid.State(), dsBrowse);
    EXPECT_EQ(grid.Name(), "R1");
}

TEST_P(KeyboardRecords, ARefusedPostKeepsTheEditAndReleasesEveryLock)
{
    TKeyGrid grid(3, GetParam());
    grid.Table->BeforePost = [](TDataSet&) { throw std::runtime_error("refused"); };
    grid.Table->Edit();
    grid.Table->FieldByName("NAME")->SetAsString("typed");
    {
        // The grid reports the refusal itself: no exception leaves the key.
        TMessageAnswerer answer(mrOk);
        grid.Key(Qt::Key_Down);
        ASSERT_EQ(answer.Count(), 1);
        EXPECT_EQ(answer.Last().Text, "refused");
    }
    EXPECT_EQ(grid.State(), dsEdit);
    EXPECT_EQ(grid.Name(), "typed");
    EXPECT_EQ(grid.Id(), 1);
    EXPECT_EQ(grid.G().UpdateLock(), 0);
    EXPECT_EQ(grid.G().LayoutLock(), 0);
    EXPECT_FALSE(grid.Table->ControlsDisabled());
    // The grid goes on working once the post is allowed.
    grid.Table->BeforePost = nullptr;
    grid.Key(Qt::Key_Down);
    EXPECT_EQ(grid.Id(), 2);
}

INSTANTIATE_TEST_SUITE_P(BothScrollModes, KeyboardRecords, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Sequenced" : "Unsequenced"; });
