// Editing: edit, insert, append, post, cancel and delete, through moves,
// with refused writes, required fields and the events around them.

#include "DataSetTestSupport.h"
#include "RefusingCursor.h"

#include <gtest/gtest.h>

namespace {

class Editing : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefineNumbered(Table);
        FillNumbered(Table, 10);
        Table.Open();
    }

    std::vector<int> AllIds()
    {
        std::vector<int> ids;
        std::string here = Table.Bookmark();
        Table.First();
        for (; !Table.Eof(); Table.Next())
            ids.push_back(CurrentId(Table));
        if (!here.empty())
            Table.GotoBookmark(here);
        return ids;
    }

    std::string Name() { return Table.FieldByName("NAME")->AsString(); }

    TRefusingTable Table;
    TDataSource Source{&Table};
    TRecordingLink Link{&Source, 4};
};

TEST_F(Editing, EditPostsWhenMovingAway)
{
    Table.MoveBy(2);
    Table.Edit();
    EXPECT_EQ(Table.State(), dsEdit);
    EXPECT_EQ(Table.LastCursor->Locks, 1);
    Table.FieldByName("NAME")->SetAsString("third");
    EXPECT_TRUE(Table.Modified());
    Table.Next();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(CurrentId(Table), 4);
    Table.Prior();
    EXPECT_EQ(Name(), "third");
}

TEST_F(Editing, AnUnchangedEditIsCancelledByAMove)
{
    int posts = 0, cancels = 0;
    Table.AfterPost = [&](TDataSet&) { ++posts; };
    Table.AfterCancel = [&](TDataSet&) { ++cancels; };
    Table.Edit();
    Table.Next();
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(Table.LastCursor->Unlocks, 1);
}

TEST_F(Editing, PendingEditsOfTheLinksAreWrittenBeforeAMove)
{
    Table.Edit();
    Link.PendingField = Table.FieldByName("NAME");
    Link.PendingText = "typed";
    Table.Next();
    Table.Prior();
    EXPECT_EQ(Name(), "typed");
}

TEST_F(Editing, FieldChangesReachEveryLink)
{
    TRecordingLink other(&Source, 1);
    Table.Edit();
    Link.Clear();
    other.Clear();
    Table.FieldByName("NAME")->SetAsString("x");
    EXPECT_EQ(Link.Events, (std::vector<std::string>{"RecordChanged:NAME"}));
    EXPECT_EQ(other.Events, (std::vector<std::string>{"RecordChanged:NAME"}));
}

TEST_F(Editing, ARefusedPostFailsTheMoveAndKeepsTheEdit)
{
    Table.MoveBy(1);
    Table.Edit();
    Table.FieldByName("NAME")->SetAsString("mine");
    Table.RefuseWrites = true;
    Link.Clear();
    try {
        Table.Next();
        FAIL() << "the move went through a refused post";
    } catch (const EDBEngineError& error) {
        EXPECT_EQ(error.ErrorCode(), DBIERR_KEYVIOL);
        EXPECT_EQ(error.Message(), "Key violation.\nField: ID");
    }
    EXPECT_EQ(Table.State(), dsEdit);
    EXPECT_EQ(CurrentId(Table), 2);
    EXPECT_EQ(Name(), "mine");
    EXPECT_TRUE(Table.Modified());
    EXPECT_EQ(Link.Count("DataSetScrolled"), 0);
    EXPECT_EQ(Link.ActiveRecord(), 1);

    // Post itself fails the same way; once the engine accepts, it goes through.
    EXPECT_THROW(Table.Post(), EDBEngineError);
    EXPECT_EQ(Table.State(), dsEdit);
    Table.RefuseWrites = false;
    Table.Post();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Name(), "mine");
}

TEST_F(Editing, CancelRestoresTheStoredValues)
{
    Table.Edit();
    Table.FieldByName("NAME")->SetAsString("changed");
    Table.Cancel();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Name(), "R1");
    EXPECT_FALSE(Table.Modified());
}

TEST_F(Editing, InsertGoesBeforeTheCurrentRecord)
{
    Table.MoveBy(2);
    Table.Insert();
    EXPECT_EQ(Table.State(), dsInsert);
    EXPECT_TRUE(Table.FieldByName("ID")->IsNull());
    Table.FieldByName("ID")->SetAsInteger(100);
    Table.Post();
    EXPECT_EQ(CurrentId(Table), 100);
    EXPECT_EQ(AllIds(), (std::vector<int>{1, 2, 100, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Editing, AppendGoesToTheEnd)
{
    Table.Append();
    Table.FieldByName("ID")->SetAsInteger(11);
    Table.FieldByName("NAME")->SetAsString("eleven");
    Table.Post();
    EXPECT_EQ(CurrentId(Table), 11);
    Table.Next();
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.RecordCount(), 11);
}

TEST_F(Editing, AnUntouchedNewRecordIsDroppedByAMove)
{
    Table.OnNewRecord = [](TDataSet& dataSet) { dataSet.FieldByName("NAME")->SetAsString("default"); };
    Table.Append();
    EXPECT_EQ(Name(), "default");
    EXPECT_FALSE(Table.Modified());
    Table.Prior();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Table.RecordCount(), 10);
    EXPECT_EQ(CurrentId(Table), 9);
}

TEST_F(Editing, CancelledInsertReturnsToTheRecordItWentBefore)
{
    Table.MoveBy(4);
    Table.Insert();
    Table.FieldByName("ID")->SetAsInteger(50);
    Table.Cancel();
    EXPECT_EQ(CurrentId(Table), 5);
    EXPECT_EQ(Table.RecordCount(), 10);
    EXPECT_EQ(Link.ActiveRecord(), 3);
}

TEST_F(Editing, RequiredFieldsAreCheckedAtPost)
{
    Table.Append();
    Table.FieldByName("NAME")->SetAsString("no id");
    Link.Clear();
    try {
        Table.Post();
        FAIL() << "posted without the required ID";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(error.Message().find("ID"), std::string::npos);
    }
    EXPECT_EQ(Table.State(), dsInsert);
    EXPECT_EQ(Name(), "no id");
    EXPECT_EQ(Link.Count("FocusControl"), 1);
    Table.Cancel();
    EXPECT_EQ(Table.RecordCount(), 10);
}

TEST_F(Editing, ARefusedInsertKeepsTheNewRecord)
{
    Table.Append();
    Table.FieldByName("ID")->SetAsInteger(11);
    Table.RefuseWrites = true;
    EXPECT_THROW(Table.Post(), EDBEngineError);
    EXPECT_EQ(Table.State(), dsInsert);
    EXPECT_EQ(CurrentId(Table), 11);
    Table.RefuseWrites = false;
    Table.Post();
    EXPECT_EQ(Table.RecordCount(), 11);
}

TEST_F(Editing, DeleteRemovesTheCurrentRecord)
{
    Table.MoveBy(3);
    int before = 0, after = 0;
    Table.BeforeDelete = [&](TDataSet& dataSet) {
        ++before;
        EXPECT_EQ(CurrentId(dataSet), 4);
    };
    Table.AfterDelete = [&](TDataSet&) { ++after; };
    Table.Delete();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(CurrentId(Table), 5);
    EXPECT_EQ(AllIds(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Editing, ARefusedDeleteLeavesEverything)
{
    Table.MoveBy(3);
    Table.RefuseWrites = true;
    EXPECT_THROW(Table.Delete(), EDBEngineError);
    EXPECT_EQ(CurrentId(Table), 4);
    EXPECT_EQ(Table.RecordCount(), 10);
    EXPECT_EQ(Link.ActiveRecord(), 3);
}

TEST_F(Editing, DeleteWhileInsertingCancelsTheInsert)
{
    Table.Insert();
    Table.Delete();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Table.RecordCount(), 10);
    EXPECT_EQ(CurrentId(Table), 1);
}

TEST_F(Editing, FieldsRefuseWritesOutsideEditStates)
{
    try {
        Table.FieldByName("NAME")->SetAsString("x");
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Dataset not in edit or insert mode");
    }
    EXPECT_THROW(Table.Post(), EDatabaseError);
    Table.Cancel();   // nothing to cancel: no failure
    EXPECT_EQ(Table.State(), dsBrowse);
}

TEST_F(Editing, AConversionErrorLeavesTheEditAsItWas)
{
    Table.Edit();
    Table.FieldByName("NAME")->SetAsString("kept");
    EXPECT_THROW(Table.FieldByName("ID")->SetAsString("twelve"), Exception);
    EXPECT_EQ(CurrentId(Table), 1);
    EXPECT_EQ(Name(), "kept");
    EXPECT_EQ(Table.State(), dsEdit);
}

TEST_F(Editing, ClearFieldsEmptiesTheEditedRecord)
{
    Table.Edit();
    Table.ClearFields();
    EXPECT_TRUE(Table.FieldByName("NAME")->IsNull());
    EXPECT_TRUE(Table.Modified());
    Table.Cancel();
    EXPECT_EQ(Name(), "R1");
}

TEST_F(Editing, EventsComeInOrder)
{
    std::vector<std::string> log;
    auto record = [&log](const char* name) { return [&log, name](TDataSet&) { log.push_back(name); }; };
    Table.BeforeInsert = record("BeforeInsert");
    Table.AfterInsert = record("AfterInsert");
    Table.OnNewRecord = record("OnNewRecord");
    Table.BeforePost = record("BeforePost");
    Table.AfterPost = record("AfterPost");
    Table.BeforeScroll = record("BeforeScroll");
    Table.AfterScroll = record("AfterScroll");
    Table.BeforeEdit = record("BeforeEdit");
    Table.AfterEdit = record("AfterEdit");
    Table.BeforeCancel = record("BeforeCancel");
    Table.AfterCancel = record("AfterCancel");

    Table.Insert();
    Table.FieldByName("ID")->SetAsInteger(70);
    Table.Next();
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                             "AfterScroll", "BeforePost", "AfterPost", "BeforeScroll",
                                             "AfterScroll"}));
    log.clear();
    Table.Edit();
    Table.Cancel();
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));
}

TEST_F(Editing, ABeforeHandlerAbortsWithEAbort)
{
    Table.BeforeEdit = [](TDataSet&) { throw EAbort(); };
    EXPECT_THROW(Table.Edit(), EAbort);
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Table.LastCursor->Locks, 0);

    Table.BeforeScroll = [](TDataSet&) { throw EAbort(); };
    EXPECT_THROW(Table.Next(), EAbort);
    EXPECT_EQ(CurrentId(Table), 1);
}

TEST_F(Editing, PostErrorHandlerCanRetry)
{
    int calls = 0;
    Table.OnPostError = [&](TDataSet&, EDatabaseError&, TDataAction& action) {
        ++calls;
        Table.RefuseWrites = false;
        action = daRetry;
    };
    Table.Edit();
    Table.FieldByName("NAME")->SetAsString("retried");
    Table.RefuseWrites = true;
    Table.Post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Name(), "retried");
}

TEST_F(Editing, ARecordLockedElsewhereCannotBeEdited)
{
    Table.LockedElsewhere = true;
    try {
        Table.Edit();
        FAIL();
    } catch (const EDBEngineError& error) {
        EXPECT_EQ(error.Message(), "Record locked by another user.");
    }
    EXPECT_EQ(Table.State(), dsBrowse);

    Table.OnEditError = [](TDataSet&, EDatabaseError&, TDataAction& action) { action = daAbort; };
    EXPECT_THROW(Table.Edit(), EAbort);
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_FALSE(Link.Editing());
}

TEST_F(Editing, ReadOnlyTableRefusesChanges)
{
    TMemTable table;
    DefineNumbered(table);
    FillNumbered(table, 2);
    table.SetReadOnly(true);
    table.Open();
    EXPECT_FALSE(table.CanModify());
    try {
        table.Edit();
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Cannot modify a read-only dataset");
    }
    EXPECT_THROW(table.Append(), EDatabaseError);
    EXPECT_THROW(table.Delete(), EDatabaseError);
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST_F(Editing, EditOnAnEmptyTableInserts)
{
    TMemTable table;
    DefineNumbered(table);
    table.Open();
    table.Edit();
    EXPECT_EQ(table.State(), dsInsert);
    table.FieldByName("ID")->SetAsInteger(1);
    table.Post();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_FALSE(table.IsEmpty());
}

TEST_F(Editing, CloseDiscardsAnUnpostedEdit)
{
    Table.Edit();
    Table.FieldByName("NAME")->SetAsString("lost");
    Table.Close();
    Table.Open();
    EXPECT_EQ(Name(), "R1");
}

TEST_F(Editing, AppendRecordAddsAFilledRecordOrNothing)
{
    Table.AppendRecord({TVariant(11), TVariant("eleven")});
    EXPECT_EQ(Table.RecordCount(), 11);
    EXPECT_EQ(Name(), "eleven");
    EXPECT_THROW(Table.AppendRecord({TVariant(), TVariant("no id")}), EDatabaseError);
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Table.RecordCount(), 11);
}

} // namespace
