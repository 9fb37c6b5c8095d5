// Presses on data rows: the dataset follows the clicked row in both scroll
// modes, a refused post keeps the record in edit and releases the locks,
// check boxes toggle by click, selections by the indicator and by drags,
// and the auto-scroll timer moving rows while the button is held.

#include "MouseTestSupport.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class MouseRows : public ::testing::TestWithParam<bool> {};

TEST_P(MouseRows, AClickOnARowMovesTheDatasetThere)
{
    TNumberedGrid t(50, GetParam());
    TDBGridGx& grid = t.G();
    const int firstId = t.FirstVisibleId();
    Click(grid, CellCentre(grid, 1, grid.TitleRows() + 3));
    EXPECT_EQ(t.Id(), firstId + 3);
    EXPECT_EQ(grid.Row(), grid.TitleRows() + 3);
    EXPECT_EQ(grid.Col(), 1);
    // A click on the indicator moves too, but keeps the column.
    Click(grid, CellCentre(grid, 0, grid.TitleRows() + 1));
    EXPECT_EQ(t.Id(), firstId + 1);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_P(MouseRows, HoldingTheButtonBelowTheDataAreaScrollsOnEveryTick)
{
    TNumberedGrid t(200, GetParam());
    TDBGridGx& grid = t.G();
    TDBGridGxAutoScroll& timer = grid.Mouse().AutoScroll();
    const QPoint start = CellCentre(grid, 1, grid.TitleRows() + 1);
    QTest::mousePress(Client(grid), Qt::LeftButton, {}, start);
    // 12 pixels below the last data row: 2 rows a tick, every 200 - 15 * 12 ms.
    const int below = grid.CellRect(1, grid.TitleRows() + RowWindowOf(grid).VisibleDataRowCount() - 1).bottom() + 12;
    QTest::mouseMove(Client(grid), QPoint(start.x(), below));
    ASSERT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 20);
    int id = t.Id();
    for (int tick = 0; tick < 3; ++tick) {
        timer.Tick();
        EXPECT_EQ(t.Id(), id + 2);
        id = t.Id();
    }
    QTest::mouseRelease(Client(grid), Qt::LeftButton, {}, QPoint(start.x(), below));
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(grid.UpdateLock(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothScrollModes, MouseRows, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Sequenced") : std::string("Unsequenced");
                         });

TEST(MouseRowsFailure, ARefusedPostWhenClickingAnotherRowIsShownAndKeepsTheEdit)
{
    TNumberedGrid t(20);
    TDBGridGx& grid = t.G();
    t.Table->BeforePost = [](TDataSet&) { throw EDatabaseError("Record refused by the table"); };
    Click(grid, CellCentre(grid, 1, grid.TitleRows() + 1));
    const int id = t.Id();
    t.Table->Edit();
    t.Table->FieldByName("NAME")->SetAsString("changed");

    TMessageAnswerer answerer(mrOk);
    Click(grid, CellCentre(grid, 1, grid.TitleRows() + 4));
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "Record refused by the table");
    EXPECT_EQ(t.Table->State(), dsEdit);
    EXPECT_EQ(t.Id(), id);
    EXPECT_EQ(t.Table->FieldByName("NAME")->AsString(), "changed");
    EXPECT_EQ(grid.UpdateLock(), 0);
    EXPECT_EQ(grid.LayoutLock(), 0);
    EXPECT_FALSE(grid.Mouse().Tracking());
    EXPECT_EQ(grid.Mouse().Interaction(), TGridInteractionGx::None);
}

// ---- check boxes -------------------------------------------------------------

struct TCheckGrid {
    TBoundGrid Bound;
    TColumnGx* Active;
    int Raw;
    TCheckGrid()
    {
        ShowActiveGrid(*Bound.Grid, 480, 240);
        Active = Bound.Column("ACTIVE");
        Active->SetCheckboxes(true);
        Raw = Bound.Grid->DataToRawColumn(Active->Index());
    }
    TCustomDBGridGx& G() { return *Bound.Grid; }
    QPoint Cell(int dataRow) { return CellCentre(G(), Raw, G().TitleRows() + dataRow); }
    TVariant Value() { return Bound.Table->FieldByName("ACTIVE")->Value(); }
};

TEST(MouseCheckBoxes, AClickTogglesOnlyWhenPressAndReleaseFallOnTheSameCell)
{
    TCheckGrid c;
    Click(c.G(), c.Cell(0));
    EXPECT_EQ(c.Bound.Table->State(), dsEdit);
    EXPECT_FALSE(c.Value().AsBoolean()) << "Ann was checked";
    Click(c.G(), c.Cell(0));
    EXPECT_TRUE(c.Value().AsBoolean());

    QTest::mousePress(Client(c.G()), Qt::LeftButton, {}, c.Cell(0));
    QTest::mouseRelease(Client(c.G()), Qt::LeftButton, {}, CellCentre(c.G(), c.Raw - 1, c.G().TitleRows()));
    EXPECT_TRUE(c.Value().AsBoolean()) << "released on another cell";
}

TEST(MouseCheckBoxes, WithDblClickNextValOnlyADoubleClickToggles)
{
    TCheckGrid c;
    c.Active->SetDblClickNextVal(true);
    Click(c.G(), c.Cell(1));
    EXPECT_FALSE(c.Value().AsBoolean());
    EXPECT_EQ(c.Bound.Table->State(), dsBrowse);
    QTest::mouseDClick(Client(c.G()), Qt::LeftButton, {}, c.Cell(1));
    EXPECT_TRUE(c.Value().AsBoolean()) << "Bob was unchecked";
}

TEST(MouseCheckBoxes, ShiftStepsAKeyListBackwards)
{
    TCheckGrid c;
    TColumnGx* code = c.Bound.Column("CODE");
    TImageList images(16, 16);
    code->SetKeyList({"Y", "N", "X"});
    code->SetImageList(&images);
    ASSERT_EQ(code->ColumnKind(), ckKeyImageList);
    const QPoint cell = CellCentre(c.G(), c.G().DataToRawColumn(code->Index()), c.G().TitleRows() + 2);
    Click(c.G(), cell);   // "N" -> "X"
    EXPECT_EQ(c.Bound.Table->FieldByName("CODE")->AsString(), "X");
    Click(c.G(), cell, Qt::ShiftModifier);   // "X" -> "N"
    EXPECT_EQ(c.Bound.Table->FieldByName("CODE")->AsString(), "N");
    Click(c.G(), cell, Qt::ShiftModifier);   // "N" -> "Y"
    EXPECT_EQ(c.Bound.Table->FieldByName("CODE")->AsString(), "Y");
}

// ---- selection by mouse ------------------------------------------------------

TEST(MouseSelection, IndicatorClicksSelectRecordsWithCtrlAndShift)
{
    TNumberedGrid t(30);
    TDBGridGx& grid = t.G();
    grid.SetOptions(grid.Options() + dgMultiSelect);
    const int top = grid.TitleRows();
    Click(grid, CellCentre(grid, 0, top + 1));
    EXPECT_EQ(grid.SelectedRecords().Count(), 1);
    Click(grid, CellCentre(grid, 0, top + 3), Qt::ControlModifier);
    EXPECT_EQ(grid.SelectedRecords().Count(), 2);
    Click(grid, CellCentre(grid, 0, top + 5), Qt::ShiftModifier);
    EXPECT_EQ(grid.SelectedRecords().Count(), 4) << "rows 1, 3, 4 and 5";
    EXPECT_EQ(t.Id(), t.IdAtRow(top + 5));
    Click(grid, CellCentre(grid, 0, top + 2));
    EXPECT_EQ(grid.SelectedRecords().Count(), 1) << "a plain click starts again";
    EXPECT_EQ(grid.Selection().SelectionType(), gstRecordBookmarks);
}

TEST(MouseSelection, DraggingDownTheIndicatorSelectsTheRowsPassed)
{
    TNumberedGrid t(30);
    TDBGridGx& grid = t.G();
    grid.SetOptions(grid.Options() + dgMultiSelect);
    const int top = grid.TitleRows();
    DragTo(grid, CellCentre(grid, 0, top + 1), CellCentre(grid, 0, top + 4));
    EXPECT_EQ(grid.SelectedRecords().Count(), 4);
    EXPECT_EQ(t.Id(), t.IdAtRow(top + 4));
}

TEST(MouseSelection, DraggingOverCellsSelectsARectangleAndRightClicksFollowTheRules)
{
    TNumberedGrid t(30, true, 480, 240);
    TDBGridGx& grid = t.G();
    grid.SetOptions(grid.Options() + dgMultiSelect);
    const int top = grid.TitleRows();
    DragTo(grid, CellCentre(grid, 1, top + 1), CellCentre(grid, 2, top + 3));
    ASSERT_EQ(grid.Selection().SelectionType(), gstRectangle);
    EXPECT_EQ(grid.Selection().Rect().LeftCol(), 0);
    EXPECT_EQ(grid.Selection().Rect().RightCol(), 1);
    EXPECT_EQ(t.Id(), t.IdAtRow(top + 3));

    Click(grid, CellCentre(grid, 1, top + 2), {}, Qt::RightButton);
    EXPECT_EQ(grid.Selection().SelectionType(), gstRectangle) << "a right click inside keeps it";
    Click(grid, CellCentre(grid, 2, top + 6), {}, Qt::RightButton);
    EXPECT_EQ(grid.Selection().SelectionType(), gstNon) << "outside it clears it";
}

TEST(MouseSelection, TheColumnSelectZoneOfATitleSelectsColumns)
{
    TNumberedGrid t(10, true, 480, 240);
    TDBGridGx& grid = t.G();
    grid.SetOptions(grid.Options() + dgMultiSelect);
    const QRect title = grid.CellRect(1, 0);
    const QPoint zone(title.center().x(), title.bottom() - 2);
    QTest::mouseMove(Client(grid), zone);
    EXPECT_EQ(Client(grid)->cursor().shape(), Qt::BitmapCursor) << "the down arrow";
    Click(grid, zone);
    ASSERT_EQ(grid.Selection().SelectionType(), gstColumns);
    EXPECT_EQ(grid.Selection().Cols().Count(), 1);
    const QRect second = grid.CellRect(2, 0);
    Click(grid, QPoint(second.center().x(), second.bottom() - 2), Qt::ControlModifier);
    EXPECT_EQ(grid.Selection().Cols().Count(), 2);
    EXPECT_FALSE(grid.Mouse().AutoScroll().Running()) << "the release stops the timer";

    QTest::mouseMove(Client(grid), CellCentre(grid, 0, grid.TitleRows() + 1));
    EXPECT_EQ(Client(grid)->cursor().shape(), Qt::BitmapCursor) << "the row arrow over the indicator";
    QTest::mouseMove(Client(grid), CellCentre(grid, 1, grid.TitleRows() + 1));
    EXPECT_EQ(Client(grid)->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
