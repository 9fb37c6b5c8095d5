// Key entry: the fields hold search values apart from the records, links
// see a one-row window, and GotoKey finds the record the values name.

#include "DataSetTestSupport.h"

#include <gtest/gtest.h>

namespace {

class KeyEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefineNumbered(Table);
        FillNumbered(Table, 30);
        Table.Open();
        Table.MoveBy(4);
        Link.Clear();
    }

    TMemTable Table;
    TDataSource Source{&Table};
    TRecordingLink Link{&Source, 10};
};

TEST_F(KeyEntry, KeyValuesAreKeptApartFromTheRecords)
{
    Table.SetKey();
    EXPECT_EQ(Table.State(), dsSetKey);
    EXPECT_EQ(Link.RecordCount(), 1);
    EXPECT_TRUE(Table.FieldByName("ID")->IsNull()) << "a new key starts empty";
    Table.FieldByName("NAME")->SetAsString("R17");
    EXPECT_FALSE(Table.Modified());
    Table.CancelKey();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(CurrentId(Table), 5) << "the record under the key is untouched";
    EXPECT_EQ(Table.FieldByName("NAME")->AsString(), "R5");
    EXPECT_EQ(Link.RecordCount(), 10);
}

TEST_F(KeyEntry, GotoKeyFindsTheRecordOfEveryGivenValue)
{
    Table.SetKey();
    Table.FieldByName("NAME")->SetAsString("R17");
    EXPECT_TRUE(Table.GotoKey());
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(CurrentId(Table), 17);

    Table.EditKey();
    EXPECT_EQ(Table.FieldByName("NAME")->AsString(), "R17") << "EditKey keeps the last key";
    Table.FieldByName("ID")->SetAsInteger(3);
    EXPECT_FALSE(Table.GotoKey()) << "no record has ID 3 and NAME R17";
    EXPECT_EQ(CurrentId(Table), 17);

    Table.SetKey();
    EXPECT_FALSE(Table.GotoKey()) << "an empty key finds nothing";
    EXPECT_THROW(Table.GotoKey(), EDatabaseError) << "not in key entry any more";
}

TEST_F(KeyEntry, AMoveOrCancelEndsKeyEntry)
{
    Table.SetKey();
    Table.FieldByName("ID")->SetAsInteger(20);
    Table.Next();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(CurrentId(Table), 6);
    Table.SetKey();
    Table.Cancel();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Link.Count("EditingChanged"), 0) << "key entry is not editing";
    EXPECT_GE(Link.Count("DataSetChanged"), 3);
}

} // namespace
