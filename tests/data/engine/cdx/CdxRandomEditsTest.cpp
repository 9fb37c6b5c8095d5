// A table with a tag of every kind under random inserts, modifies and
// deletes: after every thousand edits every tag holds exactly the keys
// the records make, in order, with sound trees and free pages, and Perl's
// XBase::Index reads the same record numbers in the same order (one tag
// in turn after each thousand, every tag at the end).
//
// TM_CDX_RECORDS=n sets the table's size (default 10,000; the benchmark
// runs 100,000 and more), TM_CDX_EDITS the number of edits (10,000).

#include "CdxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

uint32_t Setting(const char* name, uint32_t fallback)
{
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? static_cast<uint32_t>(std::atoi(value)) : fallback;
}

// The record numbers of the live records, kept beside the table.
class TLiveRecords {
public:
    explicit TLiveRecords(uint32_t count)
    {
        for (uint32_t i = 1; i <= count; ++i)
            FLive.push_back(i);
    }
    uint32_t Pick(std::mt19937& random) const { return FLive[random() % FLive.size()]; }
    void Add(uint32_t recNo) { FLive.push_back(recNo); }
    void Remove(uint32_t recNo)
    {
        for (uint32_t& r : FLive)
            if (r == recNo) {
                r = FLive.back();
                FLive.pop_back();
                return;
            }
    }
    size_t Size() const { return FLive.size(); }

private:
    std::vector<uint32_t> FLive;
};

} // namespace

TEST(CdxRandomEdits, EveryTagHoldsExactlyTheKeysOfTheRecordsThroughoutTenThousandEdits)
{
    const uint32_t records = Setting("TM_CDX_RECORDS", 10000);
    const uint32_t edits = Setting("TM_CDX_EDITS", 10000);
    const bool perl = PerlReaderAvailable();
    if (!perl)
        std::cout << "[ NOTE ] Perl's XBase::Index (libdbd-xbase-perl) is missing: the second reader is not run.\n";
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "random", records, 7);
    auto table = OpenIndexedTable(path);
    ASSERT_TRUE(table->CanModify()) << table->ReadOnlyReason();
    EXPECT_EQ(IndexFindings(*table), "");

    std::mt19937 random(11);
    TLiveRecords live(records);
    int32_t nextId = static_cast<int32_t>(records) + 1;
    uint32_t violations = 0;
    size_t freedPagesSeen = 0;
    for (uint32_t step = 1; step <= edits; ++step) {
        const int kind = static_cast<int>(random() % 10);
        if (kind < 4 || live.Size() < 10) {
            TEngineRecord record = RandomRecord(random, nextId++);
            table->InsertRecord(record, true);
            live.Add(static_cast<uint32_t>(table->RecNo()));
        } else if (kind < 8) {
            const uint32_t recNo = live.Pick(random);
            ASSERT_TRUE(table->SetRecNo(recNo));
            TEngineRecord record;
            ASSERT_TRUE(table->ReadCurrent(record));
            TEngineRecord changed = RandomRecord(random, static_cast<int32_t>(record[FieldId].AsInt64()));
            // Change one to all fields; now and then take another record's ID.
            for (int f = FieldName; f <= FieldBorn; ++f)
                if (random() % 2)
                    record[static_cast<size_t>(f)] = changed[static_cast<size_t>(f)];
            if (random() % 20 == 0)
                record[FieldId] = TVariant(static_cast<int32_t>(random() % static_cast<uint32_t>(nextId)) + 1);
            else if (random() % 10 == 0)
                record[FieldId] = TVariant(nextId++);
            try {
                table->ModifyRecord(record);
            } catch (const EDBEngineError& e) {
                ASSERT_EQ(e.ErrorCode(), DBIERR_KEYVIOL) << e.what();
                ++violations;
            }
        } else {
            const uint32_t recNo = live.Pick(random);
            ASSERT_TRUE(table->SetRecNo(recNo));
            table->DeleteRecord();
            live.Remove(recNo);
        }
        if (step % 1000 == 0) {
            SCOPED_TRACE("after " + std::to_string(step) + " edits");
            cdx::TCheckReport report = table->CheckIndex(true);
            ASSERT_TRUE(report.Good()) << report.Summary();
            EXPECT_TRUE(report.Notes.empty()) << report.Summary();
            freedPagesSeen = std::max(freedPagesSeen, report.FreePages);
            // XBase::Index is slow: one tag in turn at each check, all at the end.
            if (perl && step == edits) {
                ExpectPerlReadsTheSame(*table);
            } else if (perl) {
                const cdx::TTag& tag = table->Index()->Tags()[step / 1000 % table->Index()->Tags().size()];
                std::string error;
                auto orders = PerlOrders(table->Index()->Path(), {tag.Name}, error);
                ASSERT_TRUE(error.empty()) << error;
                EXPECT_EQ(orders[tag.Name], EngineOrder(*table, tag.Name)) << "tag " << tag.Name;
            }
        }
    }
    EXPECT_GT(violations, 0u) << "no edit met the candidate tag";
    // The test also reopens the table the way another program would.
    table.reset();
    auto reopened = OpenIndexedTable(path);
    EXPECT_TRUE(reopened->CanModify()) << reopened->ReadOnlyReason();
    (void)freedPagesSeen;
}
