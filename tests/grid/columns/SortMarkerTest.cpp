// Sort markers: single and multiple sort marking, sort indexes, the sorted
// list of the grid, and the marker cycle of title clicks.

#include "grid/GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

class SortMarkers : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"ID", "NAME", "CODE", "AMOUNT"})
            Bound.Columns().Add()->SetFieldName(name);
    }
    TColumnTitleGx& Title(int index) { return *Bound.Columns()[index]->Title(); }
    std::vector<int> SortIndexes()
    {
        std::vector<int> indexes;
        for (const auto& column : Bound.Columns())
            indexes.push_back(column->Title()->SortIndex());
        return indexes;
    }
    std::vector<TColumnGx*> Sorted()
    {
        const TColumnsGxList& list = Bound.Grid->SortMarkedColumns();
        return std::vector<TColumnGx*>(list.begin(), list.end());
    }
    TColumnGx* Column(int index) { return Bound.Columns()[index]; }
    void MultiSort() { Bound.Grid->SetOptionsGx(Bound.Grid->OptionsGx() + dghMultiSortMarking); }

    TBoundGrid Bound;
};

TEST_F(SortMarkers, WithoutMultiSortOnlyOneColumnHasAMarker)
{
    Title(1).SetSortMarker(smDownGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 1, 0, 0}));
    Title(3).SetSortMarker(smUpGx);
    EXPECT_EQ(Title(1).SortMarker(), smNoneGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnGx*>{Column(3)}));
    Title(3).SetSortMarker(smNoneGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(Sorted().empty());
}

TEST_F(SortMarkers, MultiSortNumbersColumnsInMarkingOrder)
{
    MultiSort();
    Title(0).SetSortMarker(smDownGx);
    Title(1).SetSortMarker(smUpGx);
    Title(2).SetSortMarker(smDownGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 2, 3, 0}));
    Title(1).SetSortMarker(smNoneGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 0, 2, 0}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnGx*>{Column(0), Column(2)}));

    // Changing the direction keeps the place.
    Title(0).SetSortMarker(smUpGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 0, 2, 0}));
}

TEST_F(SortMarkers, SettingASortIndexSwapsPlacesWithItsHolder)
{
    MultiSort();
    Title(3).SetSortMarker(smDownGx);
    Title(0).SetSortMarker(smDownGx);
    Title(2).SetSortMarker(smUpGx);
    Title(2).SetSortIndex(1);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnGx*>{Column(2), Column(0), Column(3)}));

    Title(0).SetSortIndex(9);    // nobody has it: nothing changes
    Title(1).SetSortIndex(1);    // no marker: nothing changes
    Title(2).SetSortIndex(-4);   // becomes 0, which no marked column has
    EXPECT_EQ(SortIndexes(), (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(SortMarkers, NextSortMarkerCyclesWithAndWithoutKeepingOthers)
{
    TColumnTitleGx& title = Title(1);
    std::vector<TSortMarkerGx> cycle;
    for (int i = 0; i < 4; ++i) {
        title.SetNextSortMarkerValue(false);
        cycle.push_back(title.SortMarker());
    }
    EXPECT_EQ(cycle, (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smDownGx, smUpGx}));

    title.SetSortMarker(smNoneGx);
    MultiSort();
    cycle.clear();
    for (int i = 0; i < 4; ++i) {
        title.SetNextSortMarkerValue(true);
        cycle.push_back(title.SortMarker());
    }
    EXPECT_EQ(cycle, (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smNoneGx, smDownGx}));
}

TEST_F(SortMarkers, AClickWithoutKeepClearsTheOtherMarkers)
{
    MultiSort();
    Title(0).SetSortMarker(smDownGx);
    Title(2).SetSortMarker(smDownGx);
    Title(3).SetNextSortMarkerValue(false);
    EXPECT_EQ(Title(0).SortMarker(), smNoneGx);
    EXPECT_EQ(Title(2).SortMarker(), smNoneGx);
    EXPECT_EQ(Title(3).SortMarker(), smDownGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 0, 0, 1}));

    Title(1).SetNextSortMarkerValue(true);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 2, 0, 1}));
}

TEST_F(SortMarkers, TurningMultiSortOffKeepsOnlyTheFirstInSortOrder)
{
    MultiSort();
    Title(2).SetSortMarker(smDownGx);
    Title(0).SetSortMarker(smUpGx);
    Title(3).SetSortMarker(smDownGx);
    Bound.Grid->SetOptionsGx(Bound.Grid->OptionsGx() - dghMultiSortMarking);
    EXPECT_EQ(Title(2).SortMarker(), smDownGx);
    EXPECT_EQ(Title(0).SortMarker(), smNoneGx);
    EXPECT_EQ(Title(3).SortMarker(), smNoneGx);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnGx*>{Column(2)}));
}

TEST_F(SortMarkers, DeletingAMarkedColumnRenumbersTheOthers)
{
    MultiSort();
    Title(0).SetSortMarker(smDownGx);
    Title(1).SetSortMarker(smDownGx);
    Title(2).SetSortMarker(smDownGx);
    TColumnGx* third = Column(2);
    Bound.Columns().Delete(1);
    EXPECT_EQ(third->Title()->SortIndex(), 2);
    EXPECT_EQ(Sorted(), (std::vector<TColumnGx*>{Column(0), third}));
}

TEST_F(SortMarkers, AssignCopiesTheMarker)
{
    Title(0).SetSortMarker(smUpGx);
    Title(3).Assign(Title(0));
    EXPECT_EQ(Title(3).SortMarker(), smUpGx);
    EXPECT_EQ(Title(0).SortMarker(), smNoneGx);   // single marking: the copy takes it
}

}  // namespace
