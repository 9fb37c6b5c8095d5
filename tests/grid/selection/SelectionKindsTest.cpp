// The kinds of selection: which ones a grid's options and AllowedSelections
// let in, what each reports as selected, select-all, clearing, and the
// painter's test.

#include "grid/SelectionTestSupport.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

const TDBGridGxSelectionType AllKinds[] = {gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll};

std::vector<TDBGridGxSelectionType> Selectable(TDBGridGxSelectionModel& model)
{
    std::vector<TDBGridGxSelectionType> kinds;
    for (TDBGridGxSelectionType kind : AllKinds)
        if (model.CanSelectType(kind))
            kinds.push_back(kind);
    return kinds;
}

using Kinds = std::vector<TDBGridGxSelectionType>;

TEST(SelectionKinds, OptionsAndAllowedSelectionsDecideWhatCanBeSelected)
{
    TSelectionGrid fixture;
    TDBGridGxSelectionModel& model = *fixture.Model;
    EXPECT_EQ(model.AllowedSelections(), DefaultAllowedSelectionsGx);
    EXPECT_EQ(Selectable(model), (Kinds{gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll}));

    fixture.Grid->SetOptions(fixture.Grid->Options() + dgRowSelect);
    EXPECT_EQ(Selectable(model), (Kinds{gstNon, gstRecordBookmarks, gstAll}));

    fixture.Grid->SetOptions(fixture.Grid->Options() - dgRowSelect);
    model.SetAllowedSelections({gstColumns, gstNon});
    EXPECT_EQ(model.AllowedSelections(), TDBGridGxAllowedSelections{gstColumns});
    EXPECT_EQ(Selectable(model), (Kinds{gstNon, gstColumns}));

    model.SetAllowedSelections(DefaultAllowedSelectionsGx);
    fixture.Grid->SetOptions(fixture.Grid->Options() - dgMultiSelect);
    EXPECT_EQ(Selectable(model), (Kinds{gstNon}));
}

TEST(SelectionKinds, WithoutMultiSelectThePainterSeesNoSelectedCell)
{
    TSelectionGrid fixture;
    fixture.Selection().SelectAll();
    fixture.GoTo(3);
    EXPECT_TRUE(fixture.Model->DrawnCellSelected(2));
    fixture.Grid->SetOptions(fixture.Grid->Options() - dgMultiSelect);
    EXPECT_FALSE(fixture.Model->DrawnCellSelected(2));
}

TEST(SelectionKinds, ThePainterAsksAboutTheRecordBeingDrawn)
{
    TSelectionGrid fixture;
    fixture.Table->First();
    fixture.Select({2});
    fixture.Table->First();
    fixture.Link().SetActiveRecord(1);
    EXPECT_TRUE(fixture.Model->DrawnCellSelected(0));
    fixture.Link().SetActiveRecord(2);
    EXPECT_FALSE(fixture.Model->DrawnCellSelected(0));
    fixture.Link().SetActiveRecord(0);
}

TEST(SelectionKinds, EachKindReportsItsOwnCells)
{
    TSelectionGrid fixture;
    TDBGridGxSelection& selection = fixture.Selection();
    std::string five = fixture.BookmarkOf(5), six = fixture.BookmarkOf(6);
    EXPECT_FALSE(selection.DataCellSelected(0, five));

    fixture.Select({5});
    EXPECT_TRUE(selection.DataCellSelected(3, five));
    EXPECT_FALSE(selection.DataCellSelected(3, six));

    selection.Cols().Select(fixture.Column(2), false);
    EXPECT_EQ(fixture.Kind(), gstColumns);
    EXPECT_EQ(fixture.Records().Count(), 0);
    EXPECT_TRUE(selection.DataCellSelected(2, six));
    EXPECT_FALSE(selection.DataCellSelected(1, six));
    EXPECT_FALSE(selection.DataCellSelected(-1, six));

    selection.Rect().Select(1, five, false);
    selection.Rect().Select(3, six, true);
    EXPECT_EQ(fixture.Kind(), gstRectangle);
    EXPECT_EQ(selection.Cols().Count(), 0);
    EXPECT_TRUE(selection.DataCellSelected(1, six));
    EXPECT_FALSE(selection.DataCellSelected(4, six));
    EXPECT_FALSE(selection.DataCellSelected(-1, five));

    selection.SelectAll();
    EXPECT_EQ(fixture.Kind(), gstAll);
    EXPECT_TRUE(selection.Rect().Anchor().Empty());
    EXPECT_TRUE(selection.DataCellSelected(-1, fixture.BookmarkOf(30)));

    selection.Clear();
    EXPECT_EQ(fixture.Kind(), gstNon);
    EXPECT_FALSE(selection.DataCellSelected(0, five));
}

TEST(SelectionKinds, RemovingTheKindInUseFromAllowedSelectionsClearsIt)
{
    TSelectionGrid fixture;
    fixture.Select({3, 4});
    fixture.Model->SetAllowedSelections({gstRecordBookmarks, gstColumns});
    EXPECT_EQ(fixture.Kind(), gstRecordBookmarks);
    EXPECT_EQ(fixture.Records().Count(), 2);

    fixture.Model->SetAllowedSelections(DefaultAllowedSelectionsGx - gstRecordBookmarks);
    EXPECT_EQ(fixture.Kind(), gstNon);
    EXPECT_EQ(fixture.Records().Count(), 0);
}

TEST(SelectionKinds, ClearSelectionFollowsDghClearSelection)
{
    TSelectionGrid fixture;
    fixture.Select({3, 4});
    fixture.Model->SetRowShiftActive(true);
    fixture.Grid->SetOptionsGx(fixture.Grid->OptionsGx() - dghClearSelection);
    fixture.Model->ClearSelection();
    EXPECT_FALSE(fixture.Model->RowShiftActive());
    EXPECT_EQ(fixture.Records().Count(), 2);
    EXPECT_EQ(fixture.Kind(), gstRecordBookmarks);

    fixture.Grid->SetOptionsGx(fixture.Grid->OptionsGx() + dghClearSelection);
    fixture.Model->ClearSelection();
    EXPECT_EQ(fixture.Records().Count(), 0);
    EXPECT_EQ(fixture.Kind(), gstNon);

    fixture.Selection().SelectAll();
    fixture.Model->ClearSelection();
    EXPECT_EQ(fixture.Kind(), gstNon);
}

TEST(SelectionKinds, TurningMultiSelectOffClearsWithTheOldOptions)
{
    TSelectionGrid fixture;
    fixture.Select({3});
    fixture.Model->OptionsChanging(fixture.Grid->Options() - dgMultiSelect);
    EXPECT_EQ(fixture.Kind(), gstNon);

    fixture.Select({3});
    fixture.Grid->SetOptionsGx(fixture.Grid->OptionsGx() - dghClearSelection);
    fixture.Model->OptionsChanging(fixture.Grid->Options() - dgMultiSelect);
    EXPECT_EQ(fixture.Kind(), gstRecordBookmarks);
}

TEST(SelectionKinds, ClosingTheTableClearsEverything)
{
    TSelectionGrid fixture;
    fixture.Select({3, 9});
    fixture.Model->LinkChanged(false);
    EXPECT_EQ(fixture.Records().Count(), 0);
    EXPECT_FALSE(fixture.Records().LinkActive());
    EXPECT_EQ(fixture.Kind(), gstNon);

    fixture.Model->LinkChanged(true);
    fixture.Selection().SelectAll();
    fixture.Model->LinkChanged(false);
    EXPECT_EQ(fixture.Kind(), gstNon);
}

TEST(SelectionKinds, RectangleQueriesNeedAnActiveLink)
{
    TSelectionGrid fixture;
    fixture.Selection().Rect().Select(0, fixture.BookmarkOf(2), false);
    fixture.Selection().Rect().Select(1, fixture.BookmarkOf(3), true);
    fixture.Table->Close();
    try {
        fixture.Selection().Rect().DataCellSelected(0, "x");
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& error) {
        EXPECT_STREQ(error.what(), "Error in function TDBGridGxSelectionRect.CellSelected");
    }
    for (auto query : {+[](TDBGridGxSelectionRect& r) { (void)r.TopRow(); },
                       +[](TDBGridGxSelectionRect& r) { (void)r.BottomRow(); },
                       +[](TDBGridGxSelectionRect& r) { (void)r.LeftCol(); },
                       +[](TDBGridGxSelectionRect& r) { (void)r.RightCol(); }}) {
        try {
            query(fixture.Selection().Rect());
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGridOperation& error) {
            EXPECT_STREQ(error.what(), "Error in TDBGridGxSelectionRect.GetBottomRow");
        }
    }
}

}  // namespace
