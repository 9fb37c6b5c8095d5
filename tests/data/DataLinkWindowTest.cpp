// The row window of data links: each link's own window of buffered records,
// the distances it is told, jumps, inserts and deletes at its edges.

#include "DataSetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<int>;

class LinkWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Table = NumberedTable(20, false);
        Source = std::make_unique<TDataSource>(Table.get());
    }

    std::unique_ptr<TMemTable> Table;
    std::unique_ptr<TDataSource> Source;
};

TEST_F(LinkWindow, MovesInsideTheWindowScrollByZeroAndAcrossItByTheShift)
{
    TRecordingLink link(Source.get(), 5);
    Table->Open();
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 4, 5}));
    EXPECT_EQ(link.ActiveRecord(), 0);
    link.Clear();

    Table->MoveBy(4);
    EXPECT_EQ(link.Distances, (std::vector<int>{0}));
    EXPECT_EQ(link.ActiveRecord(), 4);

    Table->Next();
    EXPECT_EQ(link.Distances.back(), 1);
    EXPECT_EQ(link.RowIds(), (Ids{2, 3, 4, 5, 6}));
    EXPECT_EQ(link.ActiveRecord(), 4);

    EXPECT_EQ(Table->MoveBy(3), 3);
    EXPECT_EQ(link.Distances.back(), 3);
    EXPECT_EQ(link.RowIds(), (Ids{5, 6, 7, 8, 9}));

    EXPECT_EQ(Table->MoveBy(-4), -4);
    EXPECT_EQ(link.Distances.back(), 0);
    EXPECT_EQ(link.ActiveRecord(), 0);

    Table->Prior();
    EXPECT_EQ(link.Distances.back(), -1);
    EXPECT_EQ(link.RowIds(), (Ids{4, 5, 6, 7, 8}));
    EXPECT_EQ(CurrentId(*Table), 4);

    EXPECT_EQ(Table->MoveBy(-10), -3);
    EXPECT_EQ(link.Distances.back(), -3);
    EXPECT_TRUE(Table->Bof());
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 4, 5}));
    EXPECT_EQ(link.Count("DataSetChanged"), 0);
}

TEST_F(LinkWindow, LinksOfDifferentSizesKeepTheirOwnWindows)
{
    TRecordingLink big(Source.get(), 10);
    TRecordingLink small(Source.get(), 3);
    Table->Open();
    EXPECT_EQ(big.RecordCount(), 10);
    EXPECT_EQ(small.RecordCount(), 3);

    Table->MoveBy(2);
    EXPECT_EQ(big.Distances.back(), 0);
    EXPECT_EQ(small.Distances.back(), 0);

    Table->Next();   // record 4: outside the small window only
    EXPECT_EQ(big.Distances.back(), 0);
    EXPECT_EQ(big.ActiveRecord(), 3);
    EXPECT_EQ(small.Distances.back(), 1);
    EXPECT_EQ(small.RowIds(), (Ids{2, 3, 4}));
    EXPECT_EQ(small.ActiveRecord(), 2);

    Table->MoveBy(6);   // record 10
    EXPECT_EQ(big.Distances.back(), 0);
    EXPECT_EQ(small.Distances.back(), 6);
    EXPECT_EQ(small.RowIds(), (Ids{8, 9, 10}));

    Table->Next();   // record 11: both windows move by one
    EXPECT_EQ(big.Distances.back(), 1);
    EXPECT_EQ(big.RowIds(), (Ids{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(small.Distances.back(), 1);

    Table->Prior();
    Table->Prior();   // record 9: first row of the small window
    EXPECT_EQ(small.Distances.back(), 0);
    EXPECT_EQ(small.ActiveRecord(), 0);
    Table->Prior();   // record 8
    EXPECT_EQ(small.Distances.back(), -1);
    EXPECT_EQ(small.RowIds(), (Ids{8, 9, 10}));
    EXPECT_EQ(big.Distances.back(), 0);
    EXPECT_EQ(big.ActiveRecord(), 6);
}

TEST_F(LinkWindow, JumpsGiveDataSetChangedAndPlaceEveryWindow)
{
    TRecordingLink big(Source.get(), 10);
    TRecordingLink small(Source.get(), 3);
    Table->Open();
    big.Clear();
    small.Clear();

    Table->Last();
    EXPECT_EQ(big.Events, (std::vector<std::string>{"CheckBrowseMode", "DataSetChanged"}));
    EXPECT_EQ(small.Count("DataSetChanged"), 1);
    EXPECT_EQ(big.RowIds(), (Ids{11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(small.RowIds(), (Ids{18, 19, 20}));
    EXPECT_EQ(small.ActiveRecord(), 2);
    EXPECT_TRUE(Table->Eof());

    Table->First();
    EXPECT_EQ(small.RowIds(), (Ids{1, 2, 3}));
    EXPECT_EQ(small.ActiveRecord(), 0);
    EXPECT_TRUE(Table->Bof());
}

TEST_F(LinkWindow, ActiveRecordSelectsTheRecordTheFieldsReadWithoutMoving)
{
    TRecordingLink link(Source.get(), 4);
    Table->Open();
    Table->MoveBy(2);
    link.SetActiveRecord(0);
    EXPECT_EQ(CurrentId(*Table), 1);
    EXPECT_EQ(Table->FieldByName("NAME")->AsString(), "R1");
    link.SetActiveRecord(3);
    EXPECT_EQ(CurrentId(*Table), 4);
    link.SetActiveRecord(2);
    EXPECT_EQ(CurrentId(*Table), 3);
    EXPECT_EQ(Table->RecNo(), 3);

    // A row without a record changes nothing.
    link.SetActiveRecord(7);
    EXPECT_EQ(link.ActiveRecord(), 2);
}

TEST_F(LinkWindow, BufferCountChangesKeepTheCurrentRecordInside)
{
    TRecordingLink grid(Source.get(), 5);
    TRecordingLink other(Source.get(), 2);
    Table->Open();
    Table->MoveBy(11);   // record 12
    ASSERT_EQ(CurrentId(*Table), 12);
    grid.Clear();
    other.Clear();

    grid.SetBufferCount(3);
    EXPECT_EQ(grid.RecordCount(), 3);
    EXPECT_EQ(CurrentId(*Table), 12);
    Ids rows = grid.RowIds();
    EXPECT_NE(std::find(rows.begin(), rows.end(), 12), rows.end());
    EXPECT_EQ(grid.Count("DataSetChanged"), 0);   // the link asking is not told
    EXPECT_EQ(other.Count("DataSetChanged"), 1);

    grid.SetBufferCount(8);
    EXPECT_EQ(grid.RecordCount(), 8);
    rows = grid.RowIds();
    EXPECT_EQ(rows.size(), 8u);
    EXPECT_NE(std::find(rows.begin(), rows.end(), 12), rows.end());
    EXPECT_EQ(CurrentId(*Table), 12);
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], rows[i - 1] + 1);

    // At the end of the table the window fills from before.
    Table->Last();
    grid.SetBufferCount(12);
    EXPECT_EQ(grid.RowIds(), (Ids{9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(grid.ActiveRecord(), 11);
}

TEST_F(LinkWindow, ALinkOfADisabledSourceGetsItsBuffersWhenEnabled)
{
    Table->Open();
    Source->SetEnabled(false);
    TRecordingLink link(Source.get(), 1);
    link.SetBufferCount(6);
    Source->SetEnabled(true);
    EXPECT_EQ(link.RecordCount(), 6);
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 4, 5, 6}));
}

TEST_F(LinkWindow, InsertAtTheTopAndBottomRowsAndCancel)
{
    TRecordingLink link(Source.get(), 4);
    Table->Open();
    link.Clear();

    Table->Insert();
    EXPECT_EQ(link.RowIds(), (Ids{0, 1, 2, 3}));
    EXPECT_EQ(link.ActiveRecord(), 0);
    EXPECT_EQ(link.Count("DataSetChanged"), 1);
    EXPECT_EQ(link.Count("EditingChanged"), 1);
    Table->Cancel();
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 4}));
    EXPECT_EQ(CurrentId(*Table), 1);

    Table->MoveBy(3);   // record 4, last row
    Table->Insert();
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 0}));
    EXPECT_EQ(link.ActiveRecord(), 3);
    Table->FieldByName("ID")->SetAsInteger(100);
    Table->Post();
    EXPECT_EQ(link.RowIds(), (Ids{1, 2, 3, 100}));
    EXPECT_EQ(CurrentId(*Table), 100);
    link.Clear();
    Table->Next();
    EXPECT_EQ(CurrentId(*Table), 4);
    EXPECT_EQ(link.Distances, (std::vector<int>{1}));
}

TEST_F(LinkWindow, AppendShowsTheNewRecordInTheLastRow)
{
    TRecordingLink link(Source.get(), 4);
    Table->Open();
    Table->Append();
    EXPECT_EQ(link.RowIds(), (Ids{18, 19, 20, 0}));
    EXPECT_EQ(link.ActiveRecord(), 3);
    Table->FieldByName("ID")->SetAsInteger(21);
    Table->Post();
    EXPECT_EQ(link.RowIds(), (Ids{18, 19, 20, 21}));
    EXPECT_EQ(CurrentId(*Table), 21);
}

TEST_F(LinkWindow, DeletesAtTheEdgesOfTheWindow)
{
    TRecordingLink link(Source.get(), 4);
    Table->Open();

    Table->Delete();   // first row: the next record takes its place
    EXPECT_EQ(link.RowIds(), (Ids{2, 3, 4, 5}));
    EXPECT_EQ(link.ActiveRecord(), 0);

    Table->MoveBy(2);   // record 4, in the middle
    Table->Delete();
    EXPECT_EQ(link.RowIds(), (Ids{2, 3, 5, 6}));
    EXPECT_EQ(CurrentId(*Table), 5);
    EXPECT_EQ(link.ActiveRecord(), 2);

    Table->Last();
    Table->Delete();   // the last record: the one before becomes current
    EXPECT_EQ(link.RowIds(), (Ids{16, 17, 18, 19}));
    EXPECT_EQ(CurrentId(*Table), 19);
    EXPECT_EQ(link.ActiveRecord(), 3);
    EXPECT_EQ(Table->RecordCount(), 17);
}

TEST_F(LinkWindow, SmallTableGivesAWindowOfAllRecords)
{
    auto table = NumberedTable(3, false);
    TDataSource source(table.get());
    TRecordingLink link(&source, 10);
    table->Open();
    EXPECT_EQ(link.RecordCount(), 3);
    EXPECT_EQ(table->MoveBy(5), 2);
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(link.ActiveRecord(), 2);
    EXPECT_EQ(link.Distances.back(), 0);
}

TEST_F(LinkWindow, EmptyTableHasNoRowsAndBothEnds)
{
    TMemTable table;
    DefineNumbered(table);
    TDataSource source(&table);
    TRecordingLink link(&source, 5);
    table.Open();
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.RecordCount(), 0);
    EXPECT_TRUE(table.Bof());
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.MoveBy(1), 0);
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_EQ(table.Bookmark(), "");
    EXPECT_TRUE(table.FieldByName("ID")->IsNull());
    EXPECT_THROW(table.Delete(), EDatabaseError);
}

TEST_F(LinkWindow, DisableControlsBatchesIntoOneDataSetChanged)
{
    TRecordingLink link(Source.get(), 5);
    Table->Open();
    link.Clear();

    Table->DisableControls();
    Table->DisableControls();
    EXPECT_TRUE(Table->ControlsDisabled());
    Table->MoveBy(7);
    Table->Next();
    Table->Edit();
    Table->FieldByName("NAME")->SetAsString("changed");
    Table->Post();
    Table->EnableControls();
    // Only the request to write pending edits gets through (a batch must
    // not lose what a control holds); no notification does.
    EXPECT_EQ(link.Events, (std::vector<std::string>{"UpdateData"}));
    Table->Last();
    Table->First();
    Table->MoveBy(12);
    Table->EnableControls();
    EXPECT_FALSE(Table->ControlsDisabled());

    EXPECT_EQ(link.Count("DataSetChanged"), 1);
    EXPECT_EQ(link.Count("DataSetScrolled"), 0);
    EXPECT_EQ(link.Count("EditingChanged"), 0);
    EXPECT_EQ(CurrentId(*Table), 13);
    Ids rows = link.RowIds();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[static_cast<size_t>(link.ActiveRecord())], 13);

    // An unbalanced EnableControls is harmless.
    Table->EnableControls();
    EXPECT_EQ(link.Count("DataSetChanged"), 1);
}

TEST_F(LinkWindow, StateChangesReachTheLinks)
{
    TRecordingLink link(Source.get(), 3);
    Table->Open();
    EXPECT_EQ(link.Events, (std::vector<std::string>{"ActiveChanged"}));
    link.Clear();

    EXPECT_TRUE(link.Edit());
    EXPECT_TRUE(link.Editing());
    EXPECT_EQ(Table->State(), dsEdit);
    Table->Cancel();
    EXPECT_FALSE(link.Editing());

    link.SetReadOnly(true);
    Table->Edit();
    EXPECT_FALSE(link.Editing());
    Table->Cancel();

    Source->SetEnabled(false);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.RecordCount(), 0);
    Source->SetEnabled(true);
    EXPECT_TRUE(link.Active());

    link.Clear();
    Table->Close();
    EXPECT_EQ(link.Events, (std::vector<std::string>{"ActiveChanged"}));
    EXPECT_FALSE(link.Active());
}

TEST_F(LinkWindow, SourcesShareTheDataSetAndReportTheirEvents)
{
    TDataSource second(Table.get());
    TRecordingLink first(Source.get(), 8);
    TRecordingLink other(&second, 2);
    std::vector<std::string> log;
    second.OnStateChange = [&](TDataSource& source) { log.push_back("state " + std::to_string(source.State())); };
    second.OnDataChange = [&](TDataSource&, TField* field) { log.push_back(field ? "data " + field->FieldName() : "data"); };
    second.OnUpdateData = [&](TDataSource&) { log.push_back("update"); };
    Table->Open();
    EXPECT_EQ(first.RecordCount(), 8);
    EXPECT_EQ(other.RecordCount(), 2);
    Table->MoveBy(3);
    EXPECT_EQ(other.Distances.back(), 2);
    Table->Edit();
    Table->FieldByName("NAME")->SetAsString("x");
    Table->Post();
    EXPECT_EQ(log, (std::vector<std::string>{"state 1", "data", "state 2", "data", "data NAME", "update",
                                             "state 1", "data"}));
    second.SetDataSet(nullptr);
    EXPECT_FALSE(other.Active());
    EXPECT_EQ(second.State(), dsInactive);
    EXPECT_TRUE(first.Active());
}

TEST_F(LinkWindow, FreedSourceAndDataSetLeaveNoPointers)
{
    auto link = std::make_unique<TRecordingLink>(Source.get(), 3);
    Table->Open();
    Source.reset();
    EXPECT_EQ(link->DataSource(), nullptr);
    EXPECT_FALSE(link->Active());
    EXPECT_EQ(link->Events.back(), "ActiveChanged");

    TDataSource source(Table.get());
    link->SetDataSource(&source);
    EXPECT_TRUE(link->Active());
    Table.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_FALSE(link->Active());
    EXPECT_EQ(link->RecordCount(), 0);

    // A freed link leaves the source.
    link.reset();
    EXPECT_TRUE(source.Links().empty());
}

TEST_F(LinkWindow, FocusControlStopsAtTheLinkThatTakesIt)
{
    TRecordingLink first(Source.get(), 1);
    TRecordingLink second(Source.get(), 1);
    Table->Open();
    first.TakeFocus = true;
    Table->FieldByName("NAME")->FocusControl();
    EXPECT_EQ(first.FocusedField, Table->FieldByName("NAME"));
    EXPECT_EQ(second.Count("FocusControl"), 0);
}

TEST_F(LinkWindow, FieldDisplayChangesGiveLayoutOrRepaint)
{
    TRecordingLink link(Source.get(), 1);
    Table->Open();
    link.Clear();
    Table->FieldByName("NAME")->SetDisplayLabel("Name");
    EXPECT_EQ(link.Count("LayoutChanged"), 1);
    Table->FieldByName("NAME")->SetDisplayFormat("x");
    EXPECT_GE(link.Count("DataSetChanged") + link.Count("LayoutChanged"), 2);
}

} // namespace
