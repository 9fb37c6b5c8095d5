// The selected records: kept in the dataset's order, found by binary search
// with its one-entry cache, selected and deselected through the current
// record, deleted from the dataset, and dropped when their records go.

#include "grid/SelectionTestSupport.h"

#include "platform/Exceptions.h"
#include "ui/DialogService.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<int>;

class BookmarkList : public ::testing::TestWithParam<bool> {
protected:
    TSelectionGrid Fixture{30, GetParam()};
    TBookmarkListGx& List() { return Fixture.Records(); }
};

TEST_P(BookmarkList, KeepsBookmarksInDatasetOrderWithoutDuplicates)
{
    Fixture.Select({17, 3, 25, 3, 9, 1, 30});
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{1, 3, 9, 17, 25, 30}));
    for (int i = 1; i < List().Count(); ++i)
        EXPECT_LT(List().Compare(List()[i - 1], List()[i]), 0);
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
}

TEST_P(BookmarkList, FindGivesThePositionOrTheInsertionPoint)
{
    Fixture.Select({4, 8, 12});
    int index = -1;
    EXPECT_TRUE(List().Find(Fixture.BookmarkOf(8), index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(List().Find(Fixture.BookmarkOf(10), index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(List().Find(Fixture.BookmarkOf(1), index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(List().Find(Fixture.BookmarkOf(20), index));
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(List().Find(Fixture.BookmarkOf(12), index));
    EXPECT_EQ(index, 2);
}

TEST_P(BookmarkList, RepeatedSearchesComeFromTheCacheUntilTheListChanges)
{
    Fixture.Select({5, 15});
    std::string ten = Fixture.BookmarkOf(10);
    int index = -1;
    EXPECT_FALSE(List().Find(ten, index));
    int hits = List().CacheHits();
    EXPECT_FALSE(List().Find(ten, index));
    EXPECT_FALSE(List().Find(ten, index));
    EXPECT_EQ(List().CacheHits(), hits + 2);
    EXPECT_EQ(index, 1);

    // Selecting the record itself changes the list: the cached "not found"
    // must not answer again.
    Fixture.GoTo(10);
    List().SetCurrentRowSelected(true);
    hits = List().CacheHits();
    EXPECT_TRUE(List().Find(ten, index));
    EXPECT_EQ(List().CacheHits(), hits);
    EXPECT_EQ(index, 1);

    Fixture.GoTo(5);
    List().SetCurrentRowSelected(false);
    EXPECT_TRUE(List().Find(ten, index));
    EXPECT_EQ(index, 0);
}

TEST_P(BookmarkList, SelectedRecordsAreFoundAfterRecordsAreInsertedAndDeletedAround)
{
    Fixture.Select({2, 10, 20, 29});
    TMemTable& table = *Fixture.Table;
    Fixture.GoTo(10);
    table.Insert();
    table.FieldByName("ID")->SetAsInteger(100);
    table.Post();
    Fixture.GoTo(21);
    table.Delete();
    Fixture.GoTo(1);
    table.Delete();
    for (int id : {2, 10, 20, 29}) {
        Fixture.GoTo(id);
        EXPECT_TRUE(List().CurrentRowSelected()) << id;
    }
    for (int id : {3, 9, 100, 22, 30}) {
        Fixture.GoTo(id);
        EXPECT_FALSE(List().CurrentRowSelected()) << id;
    }
    // A record inserted between selected ones goes into its place.
    Fixture.GoTo(100);
    List().SetCurrentRowSelected(true);
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{2, 100, 10, 20, 29}));
}

TEST_P(BookmarkList, SelectingAndDeselectingTheCurrentRecord)
{
    Fixture.GoTo(7);
    EXPECT_FALSE(List().CurrentRowSelected());
    List().SetCurrentRowSelected(true);
    EXPECT_TRUE(List().CurrentRowSelected());
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
    List().SetCurrentRowSelected(true);
    EXPECT_EQ(List().Count(), 1);

    // Deselecting the last selected record ends the record selection.
    List().SetCurrentRowSelected(false);
    EXPECT_FALSE(List().CurrentRowSelected());
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

TEST_P(BookmarkList, SelectingARecordReplacesARectangle)
{
    Fixture.Selection().Rect().Select(1, Fixture.BookmarkOf(3), false);
    Fixture.Selection().Rect().Select(2, Fixture.BookmarkOf(6), true);
    ASSERT_EQ(Fixture.Kind(), gstRectangle);

    Fixture.GoTo(12);
    List().SetCurrentRowSelected(true);
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
    EXPECT_TRUE(Fixture.Selection().Rect().Anchor().Empty());
    EXPECT_TRUE(Fixture.Selection().Rect().ShiftCell().Empty());
    EXPECT_TRUE(Fixture.Selection().DataCellSelected(4, Fixture.BookmarkOf(12)));
    EXPECT_FALSE(Fixture.Selection().DataCellSelected(1, Fixture.BookmarkOf(4)));
}

TEST_P(BookmarkList, AClosedDatasetHasNoCurrentBookmark)
{
    Fixture.Select({4, 5});
    Fixture.Model->LinkChanged(false);
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
    Fixture.Table->Close();
    try {
        List().SetCurrentRowSelected(true);
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& error) {
        EXPECT_STREQ(error.what(), "Cannot perform this operation on a closed dataset");
    }
    EXPECT_THROW(List().CurrentRowSelected(), EInvalidGridOperation);
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

TEST_P(BookmarkList, DeleteRemovesEverySelectedRecord)
{
    Fixture.Select({2, 9, 10, 30});
    List().Delete();
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
    EXPECT_FALSE(Fixture.Table->ControlsDisabled());
    EXPECT_EQ(Fixture.Table->RecordCount(), 26);
    for (int id : {2, 9, 10, 30})
        EXPECT_FALSE(Fixture.Table->Locate("ID", TVariant(id))) << id;
}

TEST_P(BookmarkList, ARefusedDeleteEndsTheWalkAndKeepsTheRest)
{
    Fixture.Select({3, 6, 12, 20});
    Fixture.Table->BeforeDelete = [](TDataSet& dataSet) {
        if (dataSet.FieldByName("ID")->AsInteger() == 6)
            throw EDatabaseError("Record 6 is locked");
    };
    EXPECT_THROW(List().Delete(), EDatabaseError);
    Fixture.Table->BeforeDelete = nullptr;
    EXPECT_FALSE(Fixture.Table->ControlsDisabled());
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{3, 6}));
    EXPECT_EQ(Fixture.Kind(), gstRecordBookmarks);
    EXPECT_FALSE(Fixture.Table->Locate("ID", TVariant(12)));
    EXPECT_FALSE(Fixture.Table->Locate("ID", TVariant(20)));
    EXPECT_TRUE(Fixture.Table->Locate("ID", TVariant(6)));
}

TEST_P(BookmarkList, RecordsDeletedElsewhereStayUntilRefreshDropsThem)
{
    Fixture.Select({4, 8, 16});
    Fixture.GoTo(8);
    Fixture.Table->Delete();
    EXPECT_EQ(List().Count(), 3);
    EXPECT_TRUE(List().Refresh());
    EXPECT_EQ(Fixture.SelectedIds(), (Ids{4, 16}));
    EXPECT_FALSE(List().Refresh());

    Fixture.GoTo(4);
    Fixture.Table->Delete();
    Fixture.GoTo(16);
    Fixture.Table->Delete();
    EXPECT_TRUE(List().Refresh());
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

TEST_P(BookmarkList, DeleteSkipsRecordsAlreadyGone)
{
    Fixture.Select({5, 6, 7});
    Fixture.GoTo(6);
    Fixture.Table->Delete();
    EXPECT_NO_THROW(List().Delete());
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(Fixture.Table->RecordCount(), 27);
}

TEST_P(BookmarkList, DeleteNeverTouchesARecordAFilterHidesNow)
{
    Fixture.Select({5, 6, 7});
    TMemTable& table = *Fixture.Table;
    table.OnFilterRecord = [](TDataSet& dataSet, bool& accept) {
        accept = dataSet.FieldByName("ID")->AsInteger() != 6;
    };
    table.SetFiltered(true);
    List().Delete();
    table.SetFiltered(false);
    EXPECT_EQ(List().Count(), 0);
    for (int id : {5, 7})
        EXPECT_FALSE(table.Locate("ID", TVariant(id))) << id;
    // The hidden record and its neighbours are all still there.
    for (int id : {4, 6, 8})
        EXPECT_TRUE(table.Locate("ID", TVariant(id))) << id;
    EXPECT_EQ(table.RecordCount(), 28);
}

// ---- deleting with the confirmation

TEST_P(BookmarkList, DeletingSeveralSelectedRecordsAsksOnceAndKeepsTheCurrentRecordInItsRow)
{
    TMemTable& table = *Fixture.Table;
    auto goToTwentieth = [&table] {
        table.First();
        table.MoveBy(19);
    };
    goToTwentieth();
    ASSERT_EQ(Fixture.CurrentId(), 20);
    int row = Fixture.Link().ActiveRecord();
    ASSERT_GT(row, 0);
    Fixture.Select({2, 25, 28});
    goToTwentieth();
    ASSERT_EQ(Fixture.Link().ActiveRecord(), row);

    TMessageAnswerer answerer(mrOk);
    EXPECT_TRUE(Fixture.Model->DeleteRecords());
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "Delete all selected records?");
    EXPECT_EQ(answerer.Last().Type, mtConfirmation);
    EXPECT_EQ(answerer.Last().Buttons, mbOKCancel);
    EXPECT_EQ(table.RecordCount(), 27);
    EXPECT_EQ(Fixture.CurrentId(), 20);
    EXPECT_EQ(Fixture.Link().ActiveRecord(), row);
    EXPECT_EQ(Fixture.Kind(), gstNon);
}

TEST_P(BookmarkList, OneSelectedRecordOrNoneAsksDeleteRecord)
{
    Fixture.Select({8});
    {
        TMessageAnswerer answerer(mrOk);
        EXPECT_TRUE(Fixture.Model->DeleteRecords());
        EXPECT_EQ(answerer.Last().Text, "Delete record?");
    }
    EXPECT_FALSE(Fixture.Table->Locate("ID", TVariant(8)));

    // None selected: the current record goes.
    Fixture.GoTo(11);
    TMessageAnswerer answerer(mrOk);
    EXPECT_TRUE(Fixture.Model->DeleteRecords());
    EXPECT_EQ(answerer.Last().Text, "Delete record?");
    EXPECT_FALSE(Fixture.Table->Locate("ID", TVariant(11)));
    EXPECT_EQ(Fixture.Table->RecordCount(), 28);
}

TEST_P(BookmarkList, CancelLeavesEverythingAndNoQuestionWithoutConfirmDelete)
{
    Fixture.Select({8, 9});
    {
        TMessageAnswerer answerer(mrCancel);
        EXPECT_FALSE(Fixture.Model->DeleteRecords());
        EXPECT_EQ(answerer.Count(), 1);
    }
    EXPECT_EQ(Fixture.Table->RecordCount(), 30);
    EXPECT_EQ(List().Count(), 2);

    Fixture.Grid->SetOptions(Fixture.Grid->Options() - dgConfirmDelete);
    TMessageAnswerer answerer(mrCancel);
    EXPECT_TRUE(Fixture.Model->DeleteRecords());
    EXPECT_EQ(answerer.Count(), 0);
    EXPECT_EQ(Fixture.Table->RecordCount(), 28);
}

TEST_P(BookmarkList, DeletingTheCurrentRecordAmongTheSelectedMovesToItsNeighbour)
{
    Fixture.Select({12, 13});
    Fixture.GoTo(13);
    TMessageAnswerer answerer(mrOk);
    EXPECT_TRUE(Fixture.Model->DeleteRecords());
    EXPECT_EQ(Fixture.CurrentId(), 14);
}

INSTANTIATE_TEST_SUITE_P(Sequencing, BookmarkList, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Sequenced" : "Unsequenced"; });

}  // namespace
