// Locate, Lookup, lookup and calculated fields, filters.

#include "DataSetTestSupport.h"
#include "data/FieldTypes.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TMemTable> People()
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("ID", ftInteger);
    table->FieldDefs().Add("NAME", ftString, 20);
    table->FieldDefs().Add("CITY", ftString, 20);
    table->AppendRecord({TVariant(1), TVariant("Anna"), TVariant("Berlin")});
    table->AppendRecord({TVariant(2), TVariant("anton"), TVariant("Bonn")});
    table->AppendRecord({TVariant(3), TVariant("Bert"), TVariant("Berlin")});
    table->AppendRecord({TVariant(4), TVariant("Anna"), TVariant("Bonn")});
    table->AppendRecord({TVariant(5), TVariant(), TVariant("Köln")});
    table->Open();
    return table;
}

TVariant Values(std::vector<TVariant> items)
{
    return TVariant(std::move(items));
}

TEST(Locate, FindsTheFirstMatchFromTheStart)
{
    auto table = People();
    table->Last();
    EXPECT_TRUE(table->Locate("NAME", TVariant("Anna")));
    EXPECT_EQ(CurrentId(*table), 1);
    EXPECT_TRUE(table->Locate("NAME;CITY", Values({TVariant("Anna"), TVariant("Bonn")})));
    EXPECT_EQ(CurrentId(*table), 4);
    EXPECT_TRUE(table->Locate("ID", TVariant("3")));   // converted to the field's type
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_TRUE(table->Locate("NAME", TVariant::Null()));
    EXPECT_EQ(CurrentId(*table), 5);
}

TEST(Locate, OptionsForCaseAndPartialKeys)
{
    auto table = People();
    EXPECT_FALSE(table->Locate("NAME", TVariant("ANTON")));
    EXPECT_TRUE(table->Locate("NAME", TVariant("ANTON"), loCaseInsensitive));
    EXPECT_EQ(CurrentId(*table), 2);
    EXPECT_FALSE(table->Locate("NAME", TVariant("Be")));
    EXPECT_TRUE(table->Locate("NAME", TVariant("Be"), loPartialKey));
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_TRUE(table->Locate("NAME", TVariant("ant"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentId(*table), 2);
}

TEST(Locate, AFailedSearchLeavesThePosition)
{
    auto table = People();
    table->MoveBy(2);
    EXPECT_FALSE(table->Locate("CITY", TVariant("Paris")));
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_THROW(table->Locate("ID", TVariant("three")), Exception);
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_THROW(table->Locate("AGE", TVariant(3)), EDatabaseError);
    EXPECT_THROW(table->Locate("ID;NAME", TVariant(3)), EDatabaseError);
    EXPECT_EQ(CurrentId(*table), 3);
    table->Next();
    EXPECT_EQ(CurrentId(*table), 4);   // the cursor is back where the window is
}

TEST(Locate, AMatchInsideTheWindowOnlyMovesTheRow)
{
    auto table = People();
    TDataSource source(table.get());
    TRecordingLink link(&source, 5);
    link.Clear();
    EXPECT_TRUE(table->Locate("ID", TVariant(4)));
    EXPECT_EQ(link.Events, (std::vector<std::string>{"CheckBrowseMode", "DataSetScrolled"}));
    EXPECT_EQ(link.Distances, (std::vector<int>{0}));
    EXPECT_EQ(link.ActiveRecord(), 3);
}

TEST(Locate, PostsAnEditFirst)
{
    auto table = People();
    table->Edit();
    table->FieldByName("CITY")->SetAsString("Paris");
    EXPECT_TRUE(table->Locate("CITY", TVariant("Paris")));
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(CurrentId(*table), 1);
}

TEST(Lookup, ReturnsValuesWithoutMoving)
{
    auto table = People();
    table->Next();
    EXPECT_EQ(table->Lookup("ID", TVariant(3), "NAME").AsString(), "Bert");
    TVariant both = table->Lookup("NAME;CITY", Values({TVariant("Anna"), TVariant("Bonn")}), "ID;NAME");
    ASSERT_TRUE(both.IsArray());
    EXPECT_EQ(both[0].AsInteger(), 4);
    EXPECT_TRUE(table->Lookup("ID", TVariant(99), "NAME").IsNull());
    EXPECT_EQ(CurrentId(*table), 2);
    table->Next();
    EXPECT_EQ(CurrentId(*table), 3);
}

class LookupFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cities.FieldDefs().Add("CODE", ftString, 3);
        Cities.FieldDefs().Add("CITYNAME", ftString, 20);
        Cities.AppendRecord({TVariant("B"), TVariant("Berlin")});
        Cities.AppendRecord({TVariant("K"), TVariant("Köln")});
        Cities.Open();

        Orders.FieldDefs().Add("NO", ftInteger);
        Orders.FieldDefs().Add("CITY", ftString, 3);
        Orders.FieldDefs().Add("QTY", ftInteger);
        Orders.AppendRecord({TVariant(1), TVariant("B"), TVariant(3)});
        Orders.AppendRecord({TVariant(2), TVariant("K"), TVariant(5)});
        Orders.AppendRecord({TVariant(3), TVariant("X"), TVariant(7)});
        for (const char* name : {"NO", "CITY", "QTY"}) {
            auto field = CreateField(std::string(name) == "CITY" ? ftString : ftInteger, 3);
            field->SetFieldName(name);
            Orders.Fields().Add(std::move(field));
        }
        auto cityName = CreateField(ftString, 20);
        cityName->SetFieldName("CITYNAME");
        cityName->SetFieldKind(fkLookup);
        cityName->SetLookupDataSet(&Cities);
        cityName->KeyFields = "CITY";
        cityName->LookupKeyFields = "CODE";
        cityName->LookupResultField = "CITYNAME";
        Orders.Fields().Add(std::move(cityName));
        auto doubled = CreateField(ftInteger);
        doubled->SetFieldName("DOUBLE");
        doubled->SetFieldKind(fkCalculated);
        Orders.Fields().Add(std::move(doubled));
        Orders.OnCalcFields = [this](TDataSet& dataSet) {
            ++Calculations;
            EXPECT_EQ(dataSet.State(), dsCalcFields);
            TField* qty = dataSet.FieldByName("QTY");
            if (!qty->IsNull())
                dataSet.FieldByName("DOUBLE")->SetAsInteger(qty->AsInteger() * 2);
        };
    }

    TMemTable Cities;
    TMemTable Orders;
    int Calculations = 0;
};

TEST_F(LookupFields, ValuesFollowTheKeyFields)
{
    Orders.Open();
    TField* cityName = Orders.FieldByName("CITYNAME");
    EXPECT_EQ(cityName->AsString(), "Berlin");
    Orders.Next();
    EXPECT_EQ(cityName->AsString(), "Köln");
    Orders.Next();
    EXPECT_TRUE(cityName->IsNull());   // no city with that code

    TDataSource source(&Orders);
    TRecordingLink link(&source, 3);
    Orders.First();
    Orders.Edit();
    link.Clear();
    Orders.FieldByName("CITY")->SetAsString("K");
    EXPECT_EQ(cityName->AsString(), "Köln");
    EXPECT_EQ(link.Count("RecordChanged:CITY"), 1);
    EXPECT_EQ(link.Count("RecordChanged:CITYNAME"), 1);
    Orders.Cancel();
    EXPECT_EQ(cityName->AsString(), "Berlin");
}

TEST_F(LookupFields, LookupResultsAreKeptUntilTheLookupDataSetChanges)
{
    int reads = 0;
    Cities.OnFilterRecord = [&](TDataSet&, bool& accept) {
        ++reads;
        accept = true;
    };
    Cities.SetFiltered(true);
    reads = 0;
    Orders.Open();
    for (; !Orders.Eof(); Orders.Next()) {
    }
    int firstPass = reads;
    EXPECT_GE(firstPass, 3);
    for (Orders.First(); !Orders.Eof(); Orders.Next()) {
    }
    Orders.Resync();
    EXPECT_EQ(reads, firstPass);   // nothing searched again

    ASSERT_TRUE(Cities.Locate("CODE", TVariant("K")));
    Cities.Edit();
    Cities.FieldByName("CITYNAME")->SetAsString("Cologne");
    Cities.Post();
    Orders.Refresh();
    Orders.First();
    Orders.Next();
    EXPECT_EQ(Orders.FieldByName("CITYNAME")->AsString(), "Cologne");
}

TEST_F(LookupFields, CalculatedFieldsForEveryBufferedRecord)
{
    TDataSource source(&Orders);
    TRecordingLink link(&source, 3);
    Orders.Open();
    EXPECT_GE(Calculations, 3);
    std::vector<int> doubled;
    for (int row = 0; row < link.RecordCount(); ++row) {
        link.SetActiveRecord(row);
        doubled.push_back(Orders.FieldByName("DOUBLE")->AsInteger());
    }
    link.SetActiveRecord(0);
    EXPECT_EQ(doubled, (std::vector<int>{6, 10, 14}));
    EXPECT_THROW(Orders.FieldByName("DOUBLE")->SetAsInteger(1), EDatabaseError);

    Orders.Edit();
    Orders.FieldByName("QTY")->SetAsInteger(50);
    EXPECT_EQ(Orders.FieldByName("DOUBLE")->AsInteger(), 100);
    Orders.Post();
    EXPECT_EQ(Orders.FieldByName("DOUBLE")->AsInteger(), 100);
}

TEST_F(LookupFields, HandlersCannotMoveTheDataSetBeingRead)
{
    Orders.OnCalcFields = [](TDataSet& dataSet) { dataSet.Next(); };
    try {
        Orders.Open();
        FAIL() << "a calculation moved the dataset it was reading";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Cannot move the dataset while its calculated fields or filter are being computed");
    }
    EXPECT_FALSE(Orders.Active());

    // Two datasets looking each other up would search one another forever.
    Orders.OnCalcFields = nullptr;
    auto back = CreateField(ftInteger);
    back->SetFieldName("ORDERNO");
    back->SetFieldKind(fkLookup);
    back->SetLookupDataSet(&Orders);
    back->KeyFields = "CODE";
    back->LookupKeyFields = "CITY";
    back->LookupResultField = "NO";
    Cities.Close();
    for (const char* name : {"CODE", "CITYNAME"}) {
        auto field = CreateField(ftString, 20);
        field->SetFieldName(name);
        Cities.Fields().Add(std::move(field));
    }
    Cities.Fields().Add(std::move(back));
    Cities.Open();
    EXPECT_THROW(Orders.Open(), EDatabaseError);
    EXPECT_FALSE(Orders.Active());
}

TEST_F(LookupFields, ABadLookupDefinitionRefusesToOpen)
{
    Orders.FieldByName("CITYNAME")->KeyFields = "TOWN";
    EXPECT_THROW(Orders.Open(), EDatabaseError);
    EXPECT_FALSE(Orders.Active());
    Orders.FieldByName("CITYNAME")->KeyFields = "CITY";
    Orders.FieldByName("CITYNAME")->SetLookupDataSet(nullptr);
    try {
        Orders.Open();
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), "Lookup field 'CITYNAME' has no LookupDataSet");
    }
}

TEST_F(LookupFields, AFreedLookupDataSetLeavesTheFieldEmpty)
{
    auto cities = std::make_unique<TMemTable>();
    cities->FieldDefs().Add("CODE", ftString, 3);
    cities->Open();
    TField* cityName = Orders.FieldByName("CITYNAME");
    cityName->SetLookupDataSet(cities.get());
    cities.reset();
    EXPECT_EQ(cityName->LookupDataSet(), nullptr);
}

TEST(Filter, SkipsRecordsInEveryMove)
{
    auto table = NumberedTable(20);
    table->SetFilter("ID > 5 AND ID <= 15");
    table->SetFiltered(true);
    EXPECT_EQ(CurrentId(*table), 6);
    EXPECT_FALSE(table->IsSequenced());
    EXPECT_EQ(table->RecordCount(), 10);
    table->Last();
    EXPECT_EQ(CurrentId(*table), 15);
    EXPECT_EQ(table->MoveBy(100), 0);
    EXPECT_EQ(table->MoveBy(-100), -9);
    EXPECT_EQ(CurrentId(*table), 6);
    table->SetRecNo(3);
    EXPECT_EQ(CurrentId(*table), 8);
    EXPECT_FALSE(table->Locate("ID", TVariant(2)));
    EXPECT_EQ(table->RecNo(), -1);

    table->SetFiltered(false);
    EXPECT_EQ(table->RecordCount(), 20);
    EXPECT_TRUE(table->IsSequenced());
}

TEST(Filter, OnFilterRecordAndOptions)
{
    auto table = NumberedTable(10);
    table->OnFilterRecord = [](TDataSet& dataSet, bool& accept) {
        EXPECT_EQ(dataSet.State(), dsFilter);
        accept = CurrentId(dataSet) % 2 == 0;
    };
    table->SetFiltered(true);
    std::vector<int> seen;
    for (table->First(); !table->Eof(); table->Next())
        seen.push_back(CurrentId(*table));
    EXPECT_EQ(seen, (std::vector<int>{2, 4, 6, 8, 10}));

    table->OnFilterRecord = nullptr;
    table->SetFilter("NAME = 'r1*'");
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_TRUE(table->Eof() && table->Bof());
    table->SetFilterOptions({foCaseInsensitive});
    EXPECT_EQ(table->RecordCount(), 2);   // R1 and R10
    table->SetFilterOptions({foCaseInsensitive, foNoPartialCompare});
    EXPECT_EQ(table->RecordCount(), 0);
}

TEST(Filter, ABadFilterKeepsTheOldOne)
{
    auto table = NumberedTable(10);
    table->SetFilter("ID < 4");
    table->SetFiltered(true);
    EXPECT_THROW(table->SetFilter("ID < "), EDatabaseError);
    EXPECT_EQ(table->Filter(), "ID < 4");
    EXPECT_THROW(table->SetFilter("AGE > 3"), EDatabaseError);
    EXPECT_EQ(table->Filter(), "ID < 4");
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(CurrentId(*table), 1);
}

TEST(Filter, AnEditedRecordLeavingTheFilterIsPostedAndSkipped)
{
    auto table = NumberedTable(5);
    table->SetFilter("NAME <> 'gone'");
    table->SetFiltered(true);
    table->Next();
    table->Edit();
    table->FieldByName("NAME")->SetAsString("gone");
    table->Post();
    EXPECT_EQ(CurrentId(*table), 3);
    EXPECT_EQ(table->RecordCount(), 4);
}

} // namespace
