// Columns over lookup fields: their kind, their display fields, the text of
// the special row, writing the key and the can-modify test on the keys.

#include "grid/GridTestSupport.h"

#include "data/FieldTypes.h"

#include <gtest/gtest.h>

namespace {

class LookupColumn : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cities.FieldDefs().Add("CODE", ftString, 3);
        Cities.FieldDefs().Add("CITYNAME", ftString, 20);
        Cities.AppendRecord({TVariant("B"), TVariant("Berlin")});
        Cities.AppendRecord({TVariant("K"), TVariant("Koeln")});
        Cities.Open();

        Orders.FieldDefs().Add("NO", ftInteger);
        Orders.FieldDefs().Add("CITY", ftString, 3);
        Orders.AppendRecord({TVariant(1), TVariant("B")});
        Orders.AppendRecord({TVariant(2), TVariant("X")});
        Orders.AppendRecord({TVariant(3), TVariant::Null()});
        auto no = CreateField(ftInteger);
        no->SetFieldName("NO");
        Orders.Fields().Add(std::move(no));
        auto city = CreateField(ftString, 3);
        city->SetFieldName("CITY");
        Orders.Fields().Add(std::move(city));
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
    TColumnGx* Column(const std::string& name)
    {
        for (const auto& column : Grid.Columns())
            if (column->FieldName() == name)
                return column.get();
        return nullptr;
    }
    void GoTo(int no) { ASSERT_TRUE(Orders.Locate("NO", TVariant(no))); }

    TMemTable Cities;
    TMemTable Orders;
    TDataSource Source{&Orders};
    TDBGridGx Grid;
};

TEST_F(LookupColumn, IsALookupColumnShowingTheResultField)
{
    TColumnGx* column = Column("CITYNAME");
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->ColumnKind(), ckLookupField);
    EXPECT_EQ(column->LookupDisplayFields(), "CITYNAME");
    EXPECT_EQ(Column("CITY")->LookupDisplayFields(), "");
    GoTo(1);
    EXPECT_EQ(column->DisplayText(), "Berlin");
}

TEST_F(LookupColumn, TheSpecialRowStandsForItsKeyAndForMissingValues)
{
    TColumnGx* column = Column("CITYNAME");
    TSpecRowGx& specRow = *column->DropDownSpecRow();
    specRow.SetCellsText("(other);-");
    specRow.SetValue(TVariant("X"));
    specRow.SetShowIfNotInKeyList(false);
    GoTo(2);
    EXPECT_EQ(column->DisplayText(), "");   // invisible special row: the field's text
    specRow.SetVisible(true);
    EXPECT_EQ(column->DisplayText(), "(other)");
    GoTo(3);
    EXPECT_EQ(column->DisplayText(), "");
    specRow.SetShowIfNotInKeyList(true);
    EXPECT_EQ(column->DisplayText(), "(other)");   // the field has no value
    GoTo(1);
    EXPECT_EQ(column->DisplayText(), "Berlin");
    Cities.Close();
    EXPECT_EQ(column->DisplayText(), "(other)");   // no open lookup dataset
}

TEST_F(LookupColumn, UpdateDataWritesTheKeyFields)
{
    TColumnGx* column = Column("CITYNAME");
    GoTo(1);
    ASSERT_TRUE(column->CanModify(true));
    column->UpdateData("", TVariant("K"), false);
    EXPECT_EQ(Orders.FieldByName("CITY")->AsString(), "K");
    EXPECT_EQ(column->DisplayText(), "Koeln");
}

TEST_F(LookupColumn, CanModifyLooksAtTheKeyFields)
{
    TColumnGx* column = Column("CITYNAME");
    EXPECT_TRUE(column->CanModify(false));
    Orders.FieldByName("CITY")->SetReadOnly(true);
    EXPECT_FALSE(Column("CITYNAME")->CanModify(false));
    Orders.FieldByName("CITY")->SetReadOnly(false);
    Orders.FieldByName("CITYNAME")->KeyFields = "";
    EXPECT_FALSE(Column("CITYNAME")->CanModify(false));
    Orders.FieldByName("CITYNAME")->KeyFields = "NO_SUCH_KEY";
    EXPECT_FALSE(Column("CITYNAME")->CanModify(false));
}

}  // namespace
