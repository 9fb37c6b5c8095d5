// Positions: ends, record numbers in both modes, bookmarks across inserts
// and deletes, fields of an open dataset.

#include "DataSetTestSupport.h"
#include "data/FieldTypes.h"
#include "data/engine/EngineStatus.h"

#include <gtest/gtest.h>

namespace {

TEST(Navigation, EndsAndMoveByCounts)
{
    auto table = NumberedTable(5);
    EXPECT_TRUE(table->Bof());
    EXPECT_FALSE(table->Eof());
    EXPECT_EQ(table->MoveBy(-1), 0);
    EXPECT_EQ(table->MoveBy(3), 3);
    EXPECT_FALSE(table->Bof());
    EXPECT_EQ(table->MoveBy(10), 1);
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(CurrentId(*table), 5);
    EXPECT_EQ(table->MoveBy(1), 0);
    EXPECT_EQ(table->MoveBy(-2), -2);
    EXPECT_FALSE(table->Eof());
    table->Last();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(CurrentId(*table), 5);
    table->First();
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(CurrentId(*table), 1);

    int seen = 0;
    for (table->First(); !table->Eof(); table->Next())
        ++seen;
    EXPECT_EQ(seen, 5);
}

TEST(Navigation, ReachingAnEndIsToldToTheLinks)
{
    auto table = NumberedTable(2, false);
    TDataSource source(table.get());
    TRecordingLink link(&source, 5);
    table->Open();
    table->Next();
    link.Clear();
    EXPECT_EQ(table->MoveBy(1), 0);
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(link.Count("DataSetScrolled"), 1);   // so a navigator can disable Next
}

TEST(Navigation, SequencedRecordNumbers)
{
    auto table = NumberedTable(30);
    EXPECT_TRUE(table->IsSequenced());
    EXPECT_EQ(table->RecNo(), 1);
    table->SetRecNo(17);
    EXPECT_EQ(CurrentId(*table), 17);
    EXPECT_EQ(table->RecNo(), 17);
    table->SetRecNo(500);
    EXPECT_EQ(CurrentId(*table), 30);
    table->MoveBy(-5);
    EXPECT_EQ(table->RecNo(), 25);
    EXPECT_EQ(table->RecordCount(), 30);
}

TEST(Navigation, UnsequencedTableWalksToARecordNumber)
{
    TMemTable table;
    DefineNumbered(table);
    FillNumbered(table, 30);
    table.SetSequenced(false);
    table.Open();
    EXPECT_FALSE(table.IsSequenced());
    EXPECT_EQ(table.RecNo(), -1);
    table.SetRecNo(12);
    EXPECT_EQ(CurrentId(table), 12);
    table.SetRecNo(99);
    EXPECT_EQ(CurrentId(table), 30);
    EXPECT_EQ(table.RecordCount(), 30);
}

TEST(Navigation, ARecordTheFilterHidesCannotBeReachedByItsBookmark)
{
    auto table = NumberedTable(10);
    table->MoveBy(4);
    std::string hidden = table->Bookmark();
    table->SetFilter("ID <> 5");
    table->SetFiltered(true);
    ASSERT_TRUE(table->Locate("ID", TVariant(8)));
    EXPECT_FALSE(table->BookmarkValid(hidden));
    EXPECT_THROW(table->GotoBookmark(hidden), EDBEngineError);
    EXPECT_EQ(CurrentId(*table), 8) << "a failed jump leaves the current record";
    table->SetFiltered(false);
    EXPECT_TRUE(table->BookmarkValid(hidden));
    table->GotoBookmark(hidden);
    EXPECT_EQ(CurrentId(*table), 5);
}

TEST(Navigation, BookmarksSurviveInsertsAndDeletes)
{
    auto table = NumberedTable(10);
    table->MoveBy(4);
    std::string five = table->Bookmark();
    table->MoveBy(-2);
    std::string three = table->Bookmark();
    EXPECT_LT(table->CompareBookmarks(three, five), 0);
    EXPECT_GT(table->CompareBookmarks(five, three), 0);
    EXPECT_EQ(table->CompareBookmarks(five, five), 0);

    // Insert before 3, delete 4, insert at the start.
    table->Insert();
    table->FieldByName("ID")->SetAsInteger(100);
    table->Post();
    std::string hundred = table->Bookmark();
    table->SetRecNo(5);
    ASSERT_EQ(CurrentId(*table), 4);
    std::string four = table->Bookmark();
    table->Delete();
    table->First();
    table->Insert();
    table->FieldByName("ID")->SetAsInteger(200);
    table->Post();

    table->GotoBookmark(five);
    EXPECT_EQ(CurrentId(*table), 5);
    table->SetBookmark(three);
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_LT(table->CompareBookmarks(hundred, three), 0);
    EXPECT_LT(table->CompareBookmarks(three, five), 0);

    // A deleted record's bookmark is refused and the position kept.
    EXPECT_FALSE(table->BookmarkValid(four));
    EXPECT_THROW(table->GotoBookmark(four), EDBEngineError);
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_TRUE(table->BookmarkValid(five));
    EXPECT_THROW(table->GotoBookmark(""), EDBEngineError);
    EXPECT_EQ(table->CompareBookmarks("", five), -1);
    EXPECT_EQ(table->CompareBookmarks("", ""), 0);
}

TEST(Navigation, BookmarkPutsItsRecordInTheMiddleOfTheWindow)
{
    auto table = NumberedTable(100, false);
    TDataSource source(table.get());
    TRecordingLink link(&source, 9);
    table->Open();
    table->SetRecNo(50);
    std::string bookmark = table->Bookmark();
    table->First();
    link.Clear();
    table->GotoBookmark(bookmark);
    EXPECT_EQ(link.Count("DataSetChanged"), 1);
    EXPECT_EQ(link.ActiveRecord(), 4);
    EXPECT_EQ(CurrentId(*table), 50);
}

TEST(Navigation, ResyncAndRefreshKeepTheCurrentRecordAndRow)
{
    auto table = NumberedTable(20, false);
    TDataSource source(table.get());
    TRecordingLink link(&source, 5);
    table->Open();
    table->MoveBy(7);
    int row = link.ActiveRecord();
    table->Refresh();
    EXPECT_EQ(CurrentId(*table), 8);
    EXPECT_EQ(link.ActiveRecord(), row);
    table->Resync();
    EXPECT_EQ(CurrentId(*table), 8);
    table->Edit();
    EXPECT_THROW(table->Resync(), EDatabaseError);
}

TEST(Navigation, FieldsOfAnOpenDataSet)
{
    auto table = NumberedTable(3);
    EXPECT_TRUE(table->DefaultFields());
    EXPECT_EQ(table->FieldCount(), 2);
    EXPECT_EQ(table->FindField("name"), table->FieldByName("NAME"));
    EXPECT_EQ(table->FindField("missing"), nullptr);
    try {
        table->FieldByName("missing");
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Field 'missing' not found");
    }
    std::vector<TField*> list;
    table->GetFieldList(list, "NAME; ID");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->FieldName(), "NAME");
    EXPECT_EQ(list[1]->FieldName(), "ID");
    EXPECT_TRUE(table->FieldByName("ID")->Required());

    TVariant values = table->FieldValues("ID;NAME");
    ASSERT_TRUE(values.IsArray());
    EXPECT_EQ(values[0].AsInteger(), 1);
    EXPECT_EQ(values[1].AsString(), "R1");
    EXPECT_EQ(table->FieldValues("NAME").AsString(), "R1");

    table->Edit();
    table->SetFieldValues("ID;NAME", TVariant(std::vector<TVariant>{TVariant(7), TVariant("seven")}));
    EXPECT_EQ(table->FieldValues("NAME").AsString(), "seven");
    EXPECT_THROW(table->SetFieldValues("ID;NAME", TVariant(7)), EDatabaseError);
    table->Post();
    EXPECT_EQ(CurrentId(*table), 7);

    EXPECT_THROW(table->FieldByName("ID")->SetFieldName("X"), EDatabaseError);
    table->Close();
    EXPECT_EQ(table->FieldCount(), 0);   // default fields go with the close
    EXPECT_THROW(table->First(), EDatabaseError);
}

TEST(Navigation, PersistentFieldsBindByNameAndStay)
{
    TMemTable table;
    DefineNumbered(table);
    FillNumbered(table, 3);
    auto name = CreateField(ftString, 20);
    name->SetFieldName("name");
    table.Fields().Add(std::move(name));
    table.Open();
    EXPECT_FALSE(table.DefaultFields());
    ASSERT_EQ(table.FieldCount(), 1);
    EXPECT_EQ(table.Fields()[0]->AsString(), "R1");
    EXPECT_EQ(table.FindField("ID"), nullptr);
    table.Close();
    EXPECT_EQ(table.FieldCount(), 1);

    auto ghost = CreateField(ftInteger);
    ghost->SetFieldName("GHOST");
    table.Fields().Add(std::move(ghost));
    try {
        table.Open();
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Field 'GHOST' not found");
    }
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.FieldCount(), 2);
}

TEST(Navigation, OpenCloseEventsAndState)
{
    std::vector<std::string> log;
    auto table = NumberedTable(2, false);
    table->BeforeOpen = [&](TDataSet& d) { log.push_back(d.Active() ? "BeforeOpen:active" : "BeforeOpen"); };
    table->AfterOpen = [&](TDataSet& d) { log.push_back(d.Active() ? "AfterOpen:active" : "AfterOpen"); };
    table->AfterScroll = [&](TDataSet&) { log.push_back("AfterScroll"); };
    table->BeforeClose = [&](TDataSet&) { log.push_back("BeforeClose"); };
    table->AfterClose = [&](TDataSet& d) { log.push_back(d.Active() ? "AfterClose:active" : "AfterClose"); };
    table->SetActive(true);
    EXPECT_EQ(table->State(), dsBrowse);
    table->SetActive(false);
    EXPECT_EQ(table->State(), dsInactive);
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeOpen", "AfterOpen:active", "AfterScroll", "BeforeClose",
                                             "AfterClose"}));
    EXPECT_THROW(table->CheckActive(), EDatabaseError);
    table->Open();
    try {
        table->CheckInactive();
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Cannot perform this operation on an open dataset");
    }
}

TEST(MemCursor, CracksAfterDeleteAndAtTheEnds)
{
    std::vector<TEngineFieldDef> defs(1);
    defs[0].Name = "N";
    defs[0].DataType = ftInteger;
    auto storage = std::make_shared<TMemStorage>(defs);
    for (int i = 1; i <= 4; ++i)
        storage->Insert(storage->Count(), {TVariant(i)});
    TMemCursor cursor(storage, true, false);
    TEngineRecord record;
    EXPECT_FALSE(cursor.Prior(record));
    EXPECT_THROW(cursor.Bookmark(), EDBEngineError);
    ASSERT_TRUE(cursor.Next(record));
    ASSERT_TRUE(cursor.Next(record));
    EXPECT_EQ(record[0].AsInteger(), 2);
    cursor.DeleteRecord();
    EXPECT_FALSE(cursor.ReadCurrent(record));
    ASSERT_TRUE(cursor.Next(record));
    EXPECT_EQ(record[0].AsInteger(), 3);
    EXPECT_EQ(cursor.RecNo(), 2);
    cursor.SetToEnd();
    ASSERT_TRUE(cursor.Prior(record));
    EXPECT_EQ(record[0].AsInteger(), 4);
    EXPECT_FALSE(cursor.Next(record));
    EXPECT_FALSE(cursor.Next(record));
    EXPECT_EQ(cursor.RecordCount(), 3);
}

TEST(MemCursor, LocksBelongToOneCursor)
{
    std::vector<TEngineFieldDef> defs(1);
    defs[0].Name = "N";
    defs[0].DataType = ftInteger;
    auto storage = std::make_shared<TMemStorage>(defs);
    storage->Insert(0, {TVariant(1)});
    TMemCursor first(storage, true, false), second(storage, true, false);
    TEngineRecord record;
    first.Next(record);
    second.Next(record);
    first.LockRecord(record);
    try {
        second.LockRecord(record);
        FAIL();
    } catch (const EDBEngineError& error) {
        EXPECT_EQ(error.ErrorCode(), DBIERR_LOCKED);
    }
    first.ModifyRecord({TVariant(5)});
    // The lock went with the write; the other cursor's edit starts from the stored value.
    second.LockRecord(record);
    EXPECT_EQ(record[0].AsInteger(), 5);
}

TEST(MemCursor, ChecksRequiredLengthAndAssignsAutoIncrement)
{
    TMemTable table;
    table.FieldDefs().Add("KEY", ftAutoInc);
    table.FieldDefs().Add("CODE", ftString, 3, true);
    EXPECT_THROW(table.FieldDefs().Add("code", ftInteger), EDatabaseError);
    table.AppendRecord({TVariant(), TVariant("abc")});
    EXPECT_THROW(table.AppendRecord({TVariant(), TVariant("abcd")}), EDatabaseError);
    EXPECT_THROW(table.AppendRecord({TVariant(), TVariant()}), EDBEngineError);
    table.AppendRecord({TVariant(), TVariant("二三四")});   // three characters, nine bytes
    table.Open();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_TRUE(table.FieldByName("KEY")->ReadOnly());
    table.Append();
    table.FieldByName("CODE")->SetAsString("x");
    table.Post();
    EXPECT_EQ(table.FieldByName("KEY")->AsInteger(), 3);   // refused records took no number
}

} // namespace

namespace {

TEST(MemTable, RecordsStayUntilTheDefinitionsChange)
{
    auto table = NumberedTable(3, false);
    EXPECT_EQ(table->FieldDefs().Count(), 2);   // reading the definitions loses nothing
    table->Open();
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_THROW(table->FieldDefs(), EDatabaseError);
    table->Close();
    table->Open();
    EXPECT_EQ(table->RecordCount(), 3);   // closing keeps the records
    table->EmptyTable();
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_TRUE(table->Eof());
    table->Close();

    FillNumbered(*table, 2);
    table->FieldDefs().Add("EXTRA", ftInteger);
    table->Open();
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_EQ(table->FieldCount(), 3);
}

} // namespace
