// Footer summaries over copies of real tables written by other programs: a
// dBASE table with deleted records (no record numbers of its own) and a
// Paradox table with money fields.  The values after open equal a sum the
// test works out from the records itself, and stay equal to a full recount
// after every one of a thousand random posts, inserts, deletes and cancels.

#include "grid/footers/DBSumList.h"

#include "data/Field.h"
#include "data/Session.h"
#include "data/Table.h"
#include "data/engine/drivers/RegisterDrivers.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

namespace {

struct TRealTableCase {
    const char* Path;
    const char* Summed;        // the field of the sum, average and count items
    const char* Key;           // a field that must stay unique, or null
    double Largest;            // the largest value the summed field holds
    int Decimals;              // decimals the summed field keeps
    bool Numbered;             // whether the dataset numbers its records itself
};

std::ostream& operator<<(std::ostream& out, const TRealTableCase& c) { return out << c.Path; }

// The aggregates worked out from the records, read one by one.
struct TRecount {
    int64_t Sum = 0;
    int64_t Records = 0;
    int64_t NonNull = 0;
    int64_t Average = 0;

    TRecount(TDataSet& dataSet, const std::string& field)
    {
        const std::string here = dataSet.Bookmark();
        dataSet.DisableControls();
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
            ++Records;
            const TField* value = dataSet.FieldByName(field);
            if (value->IsNull())
                continue;
            ++NonNull;
            // The value as a float, x 10000 in extended precision, rounded
            // half to even: the currency conversion's rule.
            Sum += static_cast<int64_t>(std::nearbyint(static_cast<long double>(value->AsFloat()) * 10000));
        }
        if (!here.empty())
            dataSet.GotoBookmark(here);
        dataSet.EnableControls();
        Average = NonNull ? static_cast<int64_t>(std::nearbyint(static_cast<double>(Sum) / NonNull)) : 0;
    }
};

class SumListRealTable : public ::testing::TestWithParam<TRealTableCase> {
protected:
    void SetUp() override
    {
        static const bool registered = (RegisterBuiltinDrivers(Session().Engine()), true);
        (void)registered;
        const std::string path = Dir.CopyTable(std::string(TM_SHARED_DIR) + "/testdata/" + GetParam().Path);
        // The corpus is kept read-only; its copies are for writing.
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        Table.SetTableName(path);
        Sum = &List.SumCollection().Add();
        Sum->SetFieldName(GetParam().Summed);
        Avg = &List.SumCollection().Add();
        Avg->SetFieldName(GetParam().Summed);
        Avg->SetGroupOperation(goAvg);
        Count = &List.SumCollection().Add();
        Count->SetGroupOperation(goCount);
        NonNull = &List.SumCollection().Add();
        NonNull->SetFieldName(GetParam().Summed);
        NonNull->SetGroupOperation(goCount);
        List.SetDataSet(&Table);
        List.SetActive(true);
        List.SetVirtualRecords(true);
    }
    void TearDown() override
    {
        List.SetActive(false);
        Table.Close();
    }

    // Every item against a full recount; a failure names the step.
    void ExpectCurrent(const std::string& step)
    {
        const TRecount recount(Table, GetParam().Summed);
        ASSERT_TRUE(Sum->Valid() && Avg->Valid() && Count->Valid() && NonNull->Valid()) << step;
        ASSERT_EQ(Sum->SumValue(), recount.Sum) << step;
        ASSERT_EQ(Avg->SumValue(), recount.Average) << step;
        ASSERT_EQ(Count->SumValue(), recount.Records * 10000) << step;
        ASSERT_EQ(NonNull->SumValue(), recount.NonNull * 10000) << step;
        if (List.ServesRecordNumbers()) {
            ASSERT_EQ(static_cast<int64_t>(List.RecordList().size()), recount.Records) << step;
        }
    }

    TVariant RandomValue(std::mt19937& random)
    {
        if (random() % 8 == 0)
            return TVariant::Null();
        const double scale = std::pow(10.0, GetParam().Decimals);
        const auto largest = static_cast<int64_t>(GetParam().Largest * scale);
        const int64_t units = static_cast<int64_t>(random() % static_cast<uint64_t>(2 * largest + 1)) - largest;
        return TVariant(static_cast<double>(units) / scale);
    }
    void Fill(std::mt19937& random)
    {
        Table.FieldByName(GetParam().Summed)->SetValue(RandomValue(random));
        if (GetParam().Key)
            Table.FieldByName(GetParam().Key)->SetAsInteger(NextKey++);
    }

    TScratchDir Dir;
    TTable Table;
    TDBSumListProducer List;
    TDBSum* Sum = nullptr;
    TDBSum* Avg = nullptr;
    TDBSum* Count = nullptr;
    TDBSum* NonNull = nullptr;
    int NextKey = 900000;
};

TEST_P(SumListRealTable, OpenGivesTheRecordsSumsAndEveryChangeKeepsThem)
{
    Table.Open();
    ASSERT_EQ(Table.ReadOnlyReason(), "");
    EXPECT_EQ(Table.IsSequenced(), GetParam().Numbered);
    EXPECT_EQ(List.ServesRecordNumbers(), !GetParam().Numbered) << "the record list numbers what the dataset cannot";
    EXPECT_TRUE(Table.Bof()) << "the walk leaves the dataset on its first record";
    ExpectCurrent("open");
    const TRecount opened(Table, GetParam().Summed);
    EXPECT_GT(opened.NonNull, 0) << "the table holds values to sum";

    std::mt19937 random(20261209);
    for (int step = 0; step < 1000; ++step) {
        const std::string name = "step " + std::to_string(step);
        const int records = static_cast<int>(Count->SumValue() / 10000);
        if (records > 0) {
            Table.First();
            Table.MoveBy(static_cast<int>(random() % static_cast<unsigned>(records)));
        }
        switch (records < 3 ? 1 : random() % 5) {
        case 0:   // edit and post
            Table.Edit();
            Table.FieldByName(GetParam().Summed)->SetValue(RandomValue(random));
            Table.Post();
            break;
        case 1:   // insert and post
            Table.Insert();
            Fill(random);
            Table.Post();
            break;
        case 2:   // delete
            Table.Delete();
            break;
        case 3:   // edit, then cancel
            Table.Edit();
            Table.FieldByName(GetParam().Summed)->SetValue(RandomValue(random));
            Table.Cancel();
            break;
        default:  // insert, then cancel
            Table.Insert();
            Fill(random);
            Table.Cancel();
            break;
        }
        ExpectCurrent(name);
        if (HasFatalFailure())
            return;
    }
    // A reopened copy gives the same values from its file.
    const int64_t sum = Sum->SumValue();
    const int64_t count = Count->SumValue();
    Table.Close();
    EXPECT_EQ(Sum->SumValue(), 0) << "closed: nothing to sum";
    Table.Open();
    EXPECT_EQ(Sum->SumValue(), sum);
    EXPECT_EQ(Count->SumValue(), count);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SumListRealTable,
    ::testing::Values(TRealTableCase{"dbf/yortus_DBFFile/PYACFL.DBF", "AFHRPW", nullptr, 99, 5, false},
                      TRealTableCase{"paradox/leonhad_paradoxdriver/db/ORDERS.DB", "Amount Paid", "Order No", 99999.99,
                                     2, true}));

}  // namespace
