// The footer summary list: one walk on open, differences after each post
// and delete, values to four decimals, the filter rule, external
// recalculation, values that cannot be computed, and the record list that
// numbers the records of an unsequenced dataset.

#include "grid/footers/DBSumList.h"

#include "data/Field.h"
#include "data/MemTable.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// ID (integer, required), AMOUNT (float, may be null), NAME (string).
std::unique_ptr<TMemTable> AmountsTable(const std::vector<TVariant>& amounts, bool sequenced = true)
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("ID", ftInteger, 0, true);
    table->FieldDefs().Add("AMOUNT", ftFloat);
    table->FieldDefs().Add("NAME", ftString, 20);
    table->SetSequenced(sequenced);
    int id = 1;
    for (const TVariant& amount : amounts) {
        table->AppendRecord({TVariant(id), amount, TVariant("N" + std::to_string(id))});
        ++id;
    }
    return table;
}

struct TSummed {
    TDBSumListProducer List;
    TDBSum* Sum;
    TDBSum* Avg;
    TDBSum* Count;
    TDBSum* CountAmount;
    int Recalcs = 0;
    int Changes = 0;

    explicit TSummed(TDataSet& dataSet)
    {
        Sum = &List.SumCollection().Add();
        Sum->SetFieldName("AMOUNT");
        Avg = &List.SumCollection().Add();
        Avg->SetFieldName("amount");   // names match without regard to case
        Avg->SetGroupOperation(goAvg);
        Count = &List.SumCollection().Add();
        Count->SetGroupOperation(goCount);
        CountAmount = &List.SumCollection().Add();
        CountAmount->SetFieldName("AMOUNT");
        CountAmount->SetGroupOperation(goCount);
        List.OnRecalcAll = [this] { ++Recalcs; };
        List.SumListChanged = [this] { ++Changes; };
        List.SetDataSet(&dataSet);
        List.SetActive(true);
    }
};

// The aggregates recomputed from scratch by reading every record.
struct TRecount {
    int64_t Sum = 0, AvgTotal = 0, Count = 0, NonNull = 0;

    explicit TRecount(TMemTable& table)
    {
        std::string here = table.Bookmark();
        table.DisableControls();
        for (table.First(); !table.Eof(); table.Next()) {
            ++Count;
            TField* amount = table.FieldByName("AMOUNT");
            if (amount->IsNull())
                continue;
            ++NonNull;
            auto scaled = static_cast<int64_t>(std::nearbyint(amount->AsFloat() * 10000));
            Sum += scaled;
            AvgTotal += scaled;
        }
        if (!here.empty())
            table.GotoBookmark(here);
        table.EnableControls();
    }
    int64_t Avg() const { return NonNull ? static_cast<int64_t>(std::nearbyint(double(AvgTotal) / NonNull)) : 0; }
};

} // namespace

TEST(SumList, OpeningWalksOnceAndLeavesTheDataSetOnItsFirstRecord)
{
    auto table = AmountsTable({TVariant(10.0), TVariant::Null(), TVariant(2.5), TVariant(-1.25)});
    table->Open();
    table->Last();
    TSummed s(*table);
    EXPECT_EQ(s.Sum->SumValue(), 112500);
    EXPECT_EQ(s.Count->SumValue(), 40000);
    EXPECT_EQ(s.CountAmount->SumValue(), 30000);
    EXPECT_EQ(s.Avg->SumValue(), 37500);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 1);
    EXPECT_EQ(s.Recalcs, 1);

    // Closing clears; opening again walks again.
    table->Close();
    EXPECT_EQ(s.Sum->SumValue(), 0);
    table->Open();
    EXPECT_EQ(s.Sum->SumValue(), 112500);
    EXPECT_EQ(s.Recalcs, 2);
}

TEST(SumList, PostsAndDeletesApplyTheirDifferenceWithoutAWalk)
{
    auto table = AmountsTable({TVariant(10.0), TVariant(20.0)});
    table->Open();
    TSummed s(*table);
    int walks = s.Recalcs;

    table->Edit();
    table->FieldByName("AMOUNT")->SetAsFloat(15);
    table->Post();
    EXPECT_EQ(s.Sum->SumValue(), 350000);

    table->Edit();
    table->FieldByName("AMOUNT")->SetAsFloat(99);
    table->Cancel();
    EXPECT_EQ(s.Sum->SumValue(), 350000);

    table->Append();
    table->FieldByName("ID")->SetAsInteger(3);
    table->FieldByName("AMOUNT")->SetAsFloat(7);
    table->Post();
    EXPECT_EQ(s.Sum->SumValue(), 420000);
    EXPECT_EQ(s.Count->SumValue(), 30000);

    table->Delete();
    EXPECT_EQ(s.Sum->SumValue(), 350000);
    EXPECT_EQ(s.Count->SumValue(), 20000);
    EXPECT_EQ(s.Recalcs, walks);
}

TEST(SumList, AveragesCountOnlyValuesAndFollowNullsComingAndGoing)
{
    auto table = AmountsTable({TVariant(2.0), TVariant(4.0), TVariant::Null()});
    table->Open();
    TSummed s(*table);
    EXPECT_EQ(s.Avg->SumValue(), 30000);
    table->Last();
    table->Edit();
    table->FieldByName("AMOUNT")->SetAsFloat(6);
    table->Post();
    EXPECT_EQ(s.Avg->SumValue(), 40000);
    EXPECT_EQ(s.CountAmount->SumValue(), 30000);
    table->First();
    table->Edit();
    table->FieldByName("AMOUNT")->Clear();
    table->Post();
    EXPECT_EQ(s.Avg->SumValue(), 50000);
    EXPECT_EQ(s.CountAmount->SumValue(), 20000);
}

TEST(SumList, ValuesAreHeldToFourDecimalsRoundedHalfToEven)
{
    auto table = AmountsTable({TVariant(1.23456), TVariant(0.00005), TVariant(0.00015)});
    table->Open();
    TSummed s(*table);
    // 12345.6 -> 12346, 0.5 -> 0, 1.5 -> 2
    EXPECT_EQ(s.Sum->SumValue(), 12348);
}

TEST(SumList, AFilterIsPickedUpAtTheNextMove)
{
    auto table = AmountsTable({TVariant(1.0), TVariant(2.0), TVariant(3.0)});
    table->Open();
    TSummed s(*table);
    table->SetFilter("AMOUNT > 1");
    table->SetFiltered(true);
    // Switching the filter on repositions the dataset, a move: the sums
    // follow the records the filter lets through.
    EXPECT_EQ(s.Sum->SumValue(), 50000);
    table->SetFilter("AMOUNT > 2");
    table->Next();
    EXPECT_EQ(s.Sum->SumValue(), 30000);
    // Moving without a filter change does not walk again.
    int walks = s.Recalcs;
    table->First();
    table->Next();
    EXPECT_EQ(s.Recalcs, walks);
}

TEST(SumList, ExternalRecalcLeavesTheValuesToItsHandler)
{
    auto table = AmountsTable({TVariant(1.0), TVariant(2.0)});
    table->Open();
    TSummed s(*table);
    s.List.OnRecalcAll = [&] {
        ++s.Recalcs;
        s.Sum->SetSumValue(123);
    };
    s.List.SetExternalRecalc(true);
    EXPECT_EQ(s.Sum->SumValue(), 123);
    EXPECT_EQ(s.Count->SumValue(), 0);
}

TEST(SumList, AValueThatCannotBeComputedIsNotShownRatherThanWrong)
{
    auto table = AmountsTable({TVariant(1.0), TVariant(2.0)});
    table->Open();
    TSummed s(*table);
    TDBSum& text = s.List.SumCollection().Add();
    text.SetFieldName("NAME");   // letters, not numbers
    EXPECT_FALSE(text.Valid());
    EXPECT_TRUE(s.Sum->Valid());
    EXPECT_EQ(s.Sum->SumValue(), 30000);

    // Beyond the 64-bit range of the fixed-point value.
    table->Edit();
    table->FieldByName("AMOUNT")->SetAsFloat(9e14);
    table->Post();
    EXPECT_TRUE(s.Sum->Valid());
    table->Next();
    table->Edit();
    table->FieldByName("AMOUNT")->SetAsFloat(9e14);
    table->Post();
    EXPECT_FALSE(s.Sum->Valid());
    // A full recalculation meets the same overflow.
    s.List.RecalcAll();
    EXPECT_FALSE(s.Sum->Valid());

    TDBSum& missing = s.List.SumCollection().Add();
    EXPECT_THROW(missing.SetFieldName("NOSUCHFIELD"), EDatabaseError);
}

TEST(SumList, ADataSetClosedInTheMiddleOfTheWalkLeavesNoPartialTotal)
{
    auto table = AmountsTable({TVariant(1.0), TVariant(2.0), TVariant(3.0), TVariant(4.0)});
    table->Open();
    TSummed s(*table);
    ASSERT_EQ(s.Sum->SumValue(), 100000);
    // The dataset's own scroll handler closes it on the third record.
    s.List.UnhookDataSetEvents();
    table->AfterScroll = [](TDataSet& dataSet) {
        if (dataSet.FieldByName("ID")->AsInteger() == 3)
            dataSet.Close();
    };
    s.List.HookDataSetEvents();
    try {
        s.List.RecalcAll();
        FAIL() << "a walk cut short was taken for a whole one";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("closed"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(table->Active());
    for (TDBSum* item : {s.Sum, s.Avg, s.Count, s.CountAmount})
        EXPECT_FALSE(item->Valid()) << "the first two records' total is no total";
    EXPECT_TRUE(s.List.RecordList().empty());

    // Opened again without the handler: every value is whole once more.
    s.List.UnhookDataSetEvents();
    table->AfterScroll = {};
    s.List.HookDataSetEvents();
    table->Open();
    EXPECT_TRUE(s.Sum->Valid());
    EXPECT_EQ(s.Sum->SumValue(), 100000);
    EXPECT_EQ(s.Count->SumValue(), 40000);
}

TEST(SumList, ADeleteTheTableRefusesLeavesEveryValue)
{
    auto table = AmountsTable({TVariant(5.0), TVariant(6.0)});
    table->Open();
    TSummed s(*table);
    // The list's own BeforeDelete runs, then the delete fails.
    auto listBeforeDelete = table->BeforeDelete;
    table->BeforeDelete = [&](TDataSet& d) {
        listBeforeDelete(d);
        throw EDatabaseError("Record locked by another user.");
    };
    EXPECT_THROW(table->Delete(), EDatabaseError);
    EXPECT_EQ(s.Sum->SumValue(), 110000);
    EXPECT_EQ(s.Count->SumValue(), 20000);
    table->BeforeDelete = listBeforeDelete;
    table->Delete();
    EXPECT_EQ(s.Sum->SumValue(), 60000);
}

TEST(SumList, TheDataSetsOwnHandlersKeepRunningAndComeBackWhenInactive)
{
    auto table = AmountsTable({TVariant(1.0)});
    int posts = 0;
    table->AfterPost = [&](TDataSet&) { ++posts; };
    table->Open();
    {
        TSummed s(*table);
        table->Edit();
        table->FieldByName("AMOUNT")->SetAsFloat(2);
        table->Post();
        EXPECT_EQ(posts, 1);
        EXPECT_EQ(s.Sum->SumValue(), 20000);
        s.List.SetActive(false);
        EXPECT_EQ(s.Sum->SumValue(), 0);
        table->Edit();
        table->Post();
        EXPECT_EQ(posts, 2);
        s.List.SetActive(true);
    }
    // The list is gone; the table's own handler is back in place.
    table->Edit();
    table->Post();
    EXPECT_EQ(posts, 3);
}

TEST(SumList, ADataSetFreedFirstLeavesTheListEmpty)
{
    auto table = AmountsTable({TVariant(1.0)});
    table->Open();
    TSummed s(*table);
    table.reset();
    EXPECT_EQ(s.List.DataSet(), nullptr);
    EXPECT_EQ(s.Sum->SumValue(), 0);
    EXPECT_EQ(s.List.RecordCount(), 0);
}

TEST(SumList, ThousandRandomChangesMatchAFullRecountAfterEveryStep)
{
    for (bool sequenced : {true, false}) {
        SCOPED_TRACE(sequenced ? "sequenced" : "unsequenced");
        auto table = AmountsTable({TVariant(1.5), TVariant::Null(), TVariant(-3.25)}, sequenced);
        table->Open();
        TSummed s(*table);
        s.List.SetVirtualRecords(true);
        std::mt19937 random(sequenced ? 7 : 11);
        int nextId = 100;
        for (int step = 0; step < 1000; ++step) {
            int what = static_cast<int>(random() % 10);
            TVariant amount = random() % 5 == 0 ? TVariant::Null() : TVariant(static_cast<int>(random() % 20000) / 8.0 - 1000);
            if (!table->IsEmpty())
                table->MoveBy(static_cast<int>(random() % 7) - 3);
            if (what < 3) {
                table->Append();
                table->FieldByName("ID")->SetAsInteger(nextId++);
                table->FieldByName("AMOUNT")->SetValue(amount);
                table->Post();
            } else if (what < 6 && !table->IsEmpty()) {
                table->Edit();
                table->FieldByName("AMOUNT")->SetValue(amount);
                table->Post();
            } else if (what < 8 && !table->IsEmpty()) {
                table->Delete();
            } else if (!table->IsEmpty()) {
                table->Edit();
                table->FieldByName("AMOUNT")->SetValue(amount);
                table->Cancel();
            }
            TRecount recount(*table);
            ASSERT_EQ(s.Sum->SumValue(), recount.Sum) << "step " << step;
            ASSERT_EQ(s.Avg->SumValue(), recount.Avg()) << "step " << step;
            ASSERT_EQ(s.Count->SumValue(), recount.Count * 10000) << "step " << step;
            ASSERT_EQ(s.CountAmount->SumValue(), recount.NonNull * 10000) << "step " << step;
            if (!sequenced) {
                ASSERT_EQ(s.List.RecordCount(), recount.Count) << "step " << step;
                if (!table->IsEmpty()) {
                    // The current record's number is its place in dataset order.
                    std::string here = table->Bookmark();
                    int64_t number = s.List.RecNo();
                    table->DisableControls();
                    int64_t position = 1;
                    for (table->First(); table->Bookmark() != here; table->Next())
                        ++position;
                    table->EnableControls();
                    ASSERT_EQ(number, position) << "step " << step;
                }
            }
        }
    }
}

TEST(SumList, TheRecordListNumbersAnUnsequencedDataSet)
{
    auto table = AmountsTable({TVariant(1.0), TVariant(2.0), TVariant(3.0), TVariant(4.0)}, false);
    table->Open();
    TDBSumListProducer list;
    list.SetDataSet(table.get());
    EXPECT_FALSE(list.HasRecordNumbers());
    list.SetActive(true);
    list.SetVirtualRecords(true);
    EXPECT_TRUE(list.HasRecordNumbers());
    EXPECT_EQ(list.RecordCount(), 4);
    list.SetRecNo(3);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 3);
    EXPECT_EQ(list.RecNo(), 3);
    // An insert before the third record numbers it 3 and the old third 4.
    table->Insert();
    table->FieldByName("ID")->SetAsInteger(10);
    table->Post();
    EXPECT_EQ(list.RecordCount(), 5);
    EXPECT_EQ(list.RecNo(), 3);
    table->Next();
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 3);
    EXPECT_EQ(list.RecNo(), 4);
    table->Delete();
    EXPECT_EQ(list.RecordCount(), 4);
    EXPECT_EQ(list.RecNo(), 4);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 4);
    // A sequenced dataset numbers itself.
    auto sequenced = AmountsTable({TVariant(1.0)}, true);
    sequenced->Open();
    list.SetDataSet(sequenced.get());
    EXPECT_TRUE(list.ServesRecordNumbers() == false);
    EXPECT_EQ(list.RecordCount(), 1);
}
