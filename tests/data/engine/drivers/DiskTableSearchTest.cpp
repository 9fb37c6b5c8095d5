// Locate on a dBASE table, answered from the values of its records kept in
// memory: the same record as a walk through the table, after this table's
// own posts, and after another program changed the file.

#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/Engine.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const std::string Products = std::string(TM_SHARED_DIR) + "/testdata/dbf/infused_dbf/dbase_31.dbf";

// The Northwind products (PRODUCTID, PRODUCTNAM, SUPPLIERID, ...): a copy
// of the shared table, which opens read-only, or with Writable() a dBASE IV
// table of the same ids and names, open for writing.  Walk() answers a
// search the way a filtered table must.
class DiskTableSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterBuiltinDrivers(Session().Engine());
        Path = Scratch.CopyTable(Products);
        Table.SetTableName(Path);
        Table.Open();
    }

    void Writable()
    {
        TCreateTableParams params;
        params.Path = Scratch.File("products.dbf");
        params.Level = "IV";
        params.CodePage = 1252;
        for (const auto& [name, type, size] : {std::tuple("PRODUCTID", ftInteger, 0), std::tuple("PRODUCTNAM", ftString, 40)}) {
            TEngineFieldDef def;
            def.Name = name;
            def.DataType = type;
            def.Size = size;
            def.Precision = type == ftInteger ? 5 : 0;
            params.Fields.push_back(def);
        }
        Session().Engine().Driver("DBASE").CreateTable(params);
        TTable copy;
        copy.SetTableName(params.Path);
        copy.Open();
        for (Table.First(); !Table.Eof(); Table.Next())
            copy.AppendRecord({Table.FieldByName("PRODUCTID")->Value(), Table.FieldByName("PRODUCTNAM")->Value()});
        copy.Close();
        Table.Close();
        Path = params.Path;
        Table.SetTableName(Path);
        Table.Open();
    }

    int CurrentId() { return Table.FieldByName("PRODUCTID")->AsInteger(); }

    // The id of the record a walk finds (0 when none).
    int Walk(const std::string& field, const TVariant& key, TLocateOptions options)
    {
        Table.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
        Table.SetFiltered(true);
        const bool found = Table.Locate(field, key, options);
        const int id = found ? CurrentId() : 0;
        Table.SetFiltered(false);
        return id;
    }

    void ExpectSameAsWalk(const std::string& field, const TVariant& key)
    {
        for (TLocateOptions options : {TLocateOptions(), TLocateOptions(loCaseInsensitive), TLocateOptions(loPartialKey),
                                       TLocateOptions{loCaseInsensitive, loPartialKey}}) {
            const int walked = Walk(field, key, options);
            ASSERT_TRUE(Table.LocateIsQuick(field, options));
            const bool found = Table.Locate(field, key, options);
            EXPECT_EQ(found ? CurrentId() : 0, walked) << field << " " << key.AsString();
        }
    }

    TScratchDir Scratch;
    std::string Path;
    TTable Table;
};

TEST_F(DiskTableSearch, FindsWhatAWalkFinds)
{
    for (const char* key : {"Chai", "chai", "CH", "Chang", "Tofu", "tof", "Zaanse koeken", "z", "Nothing", ""})
        ExpectSameAsWalk("PRODUCTNAM", TVariant(key));
    for (int id : {1, 38, 77, 78})
        ExpectSameAsWalk("PRODUCTID", TVariant(id));
    ExpectSameAsWalk("PRODUCTNAM;SUPPLIERID", TVariant(std::vector<TVariant>{TVariant("Chai"), TVariant(1)}));
}

TEST_F(DiskTableSearch, FollowsThisTablesPosts)
{
    Writable();
    ASSERT_TRUE(Table.Locate("PRODUCTNAM", TVariant("Chai")));   // the values are read now
    ASSERT_TRUE(Table.Locate("PRODUCTID", TVariant(2)));
    Table.Edit();
    Table.FieldByName("PRODUCTNAM")->SetAsString("Ölbaum-Tee");
    Table.Post();
    ExpectSameAsWalk("PRODUCTNAM", TVariant("ölBAUM"));
    ExpectSameAsWalk("PRODUCTNAM", TVariant("Chang"));

    Table.Append();
    Table.FieldByName("PRODUCTNAM")->SetAsString("Chai latte");
    Table.Post();
    const int added = CurrentId();
    ExpectSameAsWalk("PRODUCTNAM", TVariant("chai l"));
    ASSERT_TRUE(Table.Locate("PRODUCTNAM", TVariant("CHAI L"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentId(), added);

    ASSERT_TRUE(Table.Locate("PRODUCTID", TVariant(1)));
    Table.Delete();
    ExpectSameAsWalk("PRODUCTNAM", TVariant("Chai"));
    EXPECT_FALSE(Table.Locate("PRODUCTID", TVariant(1)));
}

TEST_F(DiskTableSearch, FindsRecordsAppendedAsABatch)
{
    Writable();
    ASSERT_FALSE(Table.Locate("PRODUCTNAM", TVariant("Kvass")));   // the values are read now
    const int64_t before = Table.RecordCount();
    std::vector<TEngineRecord> batch = {{TVariant(90), TVariant("Kvass")}, {TVariant(91), TVariant("Kvass light")}};
    size_t appended = 0;
    Table.AppendRecords(batch, appended);
    ASSERT_EQ(appended, 2u);
    ASSERT_EQ(Table.RecordCount(), before + 2);
    ExpectSameAsWalk("PRODUCTNAM", TVariant("kvass l"));
    ASSERT_TRUE(Table.Locate("PRODUCTNAM", TVariant("Kvass")));
    EXPECT_EQ(CurrentId(), 90);
    ASSERT_TRUE(Table.Locate("PRODUCTID", TVariant(91)));
    EXPECT_EQ(Table.FieldByName("PRODUCTNAM")->AsString(), "Kvass light");
}

TEST_F(DiskTableSearch, ReadsTheValuesAgainAfterAnotherProgramChangedTheFile)
{
    Writable();
    ASSERT_FALSE(Table.Locate("PRODUCTNAM", TVariant("Kvass")));
    {
        TTable other;
        other.SetTableName(Path);
        other.Open();
        ASSERT_TRUE(other.Locate("PRODUCTID", TVariant(5)));
        other.Edit();
        other.FieldByName("PRODUCTNAM")->SetAsString("Kvass");
        other.Post();
        other.Append();
        other.FieldByName("PRODUCTNAM")->SetAsString("Kvass 2");
        other.Post();
    }
    ASSERT_TRUE(Table.Locate("PRODUCTNAM", TVariant("Kvass")));
    EXPECT_EQ(CurrentId(), 5);
    ASSERT_TRUE(Table.Locate("PRODUCTNAM", TVariant("kvass 2"), loCaseInsensitive));
    EXPECT_EQ(Table.FieldByName("PRODUCTNAM")->AsString(), "Kvass 2");
}

} // namespace
