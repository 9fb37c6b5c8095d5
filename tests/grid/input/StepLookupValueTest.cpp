// Stepping the value of a lookup column: the key of the lookup record after
// or before the current one, wrapping at either end; a missing key or one
// the lookup table does not hold starts from its first record.

#include "grid/GridTestSupport.h"

#include "data/FieldTypes.h"
#include "grid/input/DBGridGxStepValue.h"

#include <gtest/gtest.h>

namespace {

class StepLookupValue : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cities.FieldDefs().Add("CODE", ftString, 3);
        Cities.FieldDefs().Add("CITYNAME", ftString, 20);
        Cities.AppendRecord({TVariant("B"), TVariant("Berlin")});
        Cities.AppendRecord({TVariant("K"), TVariant("Koeln")});
        Cities.AppendRecord({TVariant("M"), TVariant("Muenchen")});
        Cities.Open();

        Orders.FieldDefs().Add("NO", ftInteger);
        Orders.FieldDefs().Add("CITY", ftString, 3);
        Orders.AppendRecord({TVariant(1), TVariant("B")});
        Orders.AppendRecord({TVariant(2), TVariant("X")});
        Orders.AppendRecord({TVariant(3), TVariant::Null()});
        Orders.AppendRecord({TVariant(4), TVariant("M")});
        for (const char* name : {"NO", "CITY"}) {
            auto field = CreateField(std::string(name) == "NO" ? ftInteger : ftString, 3);
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
        Orders.Open();
        Grid.SetDataSource(&Source);
    }
    TColumnGx& Lookup()
    {
        for (const auto& column : Grid.Columns())
            if (column->FieldName() == "CITYNAME")
                return *column;
        throw std::runtime_error("no lookup column");
    }
    void GoTo(int no) { ASSERT_TRUE(Orders.Locate("NO", TVariant(no))); }
    std::string City() const { return Orders.FieldByName("CITY")->AsString(); }

    TMemTable Cities;
    TMemTable Orders;
    TDataSource Source{&Orders};
    TDBGridGx Grid;
};

TEST_F(StepLookupValue, WalksTheLookupRecordsBothWaysAndWraps)
{
    TColumnGx& column = Lookup();
    ASSERT_EQ(column.ColumnKind(), ckLookupField);
    GoTo(1);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "K");
    EXPECT_EQ(column.DisplayText(), "Koeln") << "the result field of the new key";
    EXPECT_EQ(Orders.State(), dsEdit);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "M");
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "B") << "after the last record the first";
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(City(), "M") << "before the first record the last";
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(City(), "K");
    Orders.Post();
    EXPECT_EQ(City(), "K");
}

TEST_F(StepLookupValue, AMissingOrUnknownKeyStartsFromTheFirstLookupRecord)
{
    TColumnGx& column = Lookup();
    GoTo(2);   // "X" is no city
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "K");
    Orders.Cancel();
    GoTo(2);
    EXPECT_TRUE(StepColumnValue(column, -1));
    EXPECT_EQ(City(), "M");
    Orders.Cancel();
    GoTo(3);   // null
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "K");
}

TEST_F(StepLookupValue, TheWriteGoesThroughTheColumnsUpdateDataWithTheShownText)
{
    TColumnGx& column = Lookup();
    std::string text;
    TVariant value;
    column.OnUpdateData = [&](TColumnGx&, std::string& t, TVariant& v, bool& useText, bool& handled) {
        text = t;
        value = v;
        EXPECT_FALSE(useText);
        handled = true;
    };
    GoTo(4);
    EXPECT_TRUE(StepColumnValue(column, 1));
    EXPECT_EQ(text, "Berlin");
    EXPECT_EQ(value.AsString(), "B");
    EXPECT_EQ(City(), "M") << "a handled write leaves the field";
}

TEST_F(StepLookupValue, NothingChangesWhenTheColumnOrTheLookupTableCannotServe)
{
    TColumnGx& column = Lookup();
    GoTo(1);
    column.SetReadOnly(true);
    EXPECT_FALSE(StepColumnValue(column, 1));
    EXPECT_EQ(Orders.State(), dsBrowse);
    column.SetReadOnly(false);

    Cities.Close();
    EXPECT_FALSE(StepColumnValue(column, 1));
    EXPECT_EQ(City(), "B");
    Cities.Open();
    Cities.First();
    while (!Cities.IsEmpty())
        Cities.Delete();
    EXPECT_FALSE(StepColumnValue(column, 1)) << "an empty lookup table has no value to give";
    EXPECT_EQ(City(), "B");
}

}  // namespace
