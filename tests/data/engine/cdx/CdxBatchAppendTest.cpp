// Appending many records in one operation: the table comes out byte for
// byte as appending them one by one leaves it and every tag holds exactly
// the computed keys (read the same by Perl's XBase::Index); a candidate
// violation anywhere in the batch refuses all of it with the files
// unchanged; memo values go into .fpt and .dbt files as single appends
// write them.

#include "CdxTestSupport.h"

#include "data/engine/EngineStatus.h"
#include "data/engine/dbf/CdxRebuild.h"
#include "support/FileBytes.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>


namespace {

using TFiles = std::map<std::string, std::string>;

std::string CorpusPath(const char* table) { return std::string(TM_SHARED_DIR) + "/testdata/" + table; }

std::vector<TEngineRecord> RandomRecords(uint32_t seed, int32_t firstId, size_t count)
{
    std::mt19937 random(seed);
    std::vector<TEngineRecord> records;
    for (size_t i = 0; i < count; ++i)
        records.push_back(RandomRecord(random, firstId + static_cast<int32_t>(i)));
    return records;
}

void AppendOneByOne(TDbfCursor& table, std::vector<TEngineRecord> records)
{
    for (TEngineRecord& record : records)
        table.InsertRecord(record, true);
}

void AppendBatch(TDbfCursor& table, std::vector<TEngineRecord> records)
{
    size_t appended = 0;
    table.AppendRecords(records, appended);
    EXPECT_EQ(appended, records.size());
}

// Every tag's record order, as the engine reads it.
std::map<std::string, std::vector<uint32_t>> TagOrders(TDbfCursor& table)
{
    std::map<std::string, std::vector<uint32_t>> orders;
    for (const cdx::TTag& tag : table.Index()->Tags())
        orders[tag.Name] = EngineOrder(table, tag.Name);
    return orders;
}

// Two copies of the files in `source`'s folder, named one and two.
struct TTwoCopies {
    TScratchDir One, Two;
    std::string PathOne, PathTwo;

    explicit TTwoCopies(const std::string& source)
    {
        PathOne = CopyWritableTable(One, source);
        PathTwo = CopyWritableTable(Two, source);
    }
};

// The live records of a table, each with its text fields marked so that
// text keys differ from the stored ones.
std::vector<TEngineRecord> MarkedCopiesOfRecords(TDbfCursor& table)
{
    std::vector<TEngineRecord> records;
    table.SetToBegin();
    TEngineRecord record;
    while (table.Next(record)) {
        for (size_t i = 0; i < record.size(); ++i) {
            const TEngineFieldDef& def = table.FieldDefs()[i];
            if (def.DataType == ftString && !def.ReadOnly && def.Size >= 3)
                record[i] = TVariant("Zq" + record[i].AsString().substr(0, static_cast<size_t>(def.Size) - 2));
        }
        records.push_back(record);
    }
    return records;
}

} // namespace

TEST(CdxBatchAppend, CorpusTablesComeOutAsAppendsOneByOneLeaveThem)
{
    const char* const tables[] = {
        "dbf/Valentin-Kaiser_go-dbase/database/employees.dbf", "dbf/MPSystemsServices_CodeBase-for-DBF/DBF.DBF",
        "dbf/MPSystemsServices_CodeBase-for-DBF/STUDENT.DBF",  "dbf/MPSystemsServices_CodeBase-for-DBF/PRIV4.dbf",
        "dbf/MPSystemsServices_CodeBase-for-DBF/account4.dbf", "dbf/iryndin_jdbf/texto.dbf",
        "dbf/infused_dbf/foxprodb/contacts.dbf",
    };
    size_t tablesTakingRecords = 0;
    for (const char* corpus : tables) {
        SCOPED_TRACE(corpus);
        TTwoCopies copies(CorpusPath(corpus));
        auto one = OpenIndexedTable(copies.PathOne);
        auto two = OpenIndexedTable(copies.PathTwo);
        ASSERT_TRUE(one->CanModify()) << one->ReadOnlyReason();
        // The records a candidate tag lets in, found one by one.
        std::vector<TEngineRecord> accepted;
        bool refused = false;
        for (TEngineRecord& record : MarkedCopiesOfRecords(*one)) {
            try {
                one->InsertRecord(record, true);
                accepted.push_back(record);
            } catch (const EDBEngineError& e) {
                ASSERT_EQ(e.ErrorCode(), DBIERR_KEYVIOL) << e.what();
                refused = true;
            }
        }
        if (refused) {
            // With the refused ones in, the whole batch is refused.
            const TFiles before = Snapshot(copies.Two.Path());
            std::vector<TEngineRecord> all = MarkedCopiesOfRecords(*two);
            size_t appended = 99;
            EXPECT_THROW(two->AppendRecords(all, appended), EDBEngineError);
            EXPECT_EQ(appended, 0u);
            EXPECT_TRUE(Snapshot(copies.Two.Path()) == before) << "a refused batch changed the files";
        }
        if (accepted.empty())
            continue;
        ++tablesTakingRecords;
        AppendBatch(*two, accepted);

        EXPECT_EQ(IndexFindings(*two), "");
        EXPECT_EQ(TagOrders(*two), TagOrders(*one));
        ExpectPerlReadsTheSame(*two);
        EXPECT_TRUE(ReadFileBytes(copies.PathTwo) == ReadFileBytes(copies.PathOne)) << "the table's bytes differ";
    }
    EXPECT_GE(tablesTakingRecords, 4u);
}

TEST(CdxBatchAppend, EveryTagOfAHundredThousandRecordTableHoldsTheKeysOfABigBatch)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "big", 100000, 21);
    auto table = OpenIndexedTable(path);
    AppendBatch(*table, RandomRecords(22, 100001, 30000));
    EXPECT_EQ(table->RecordCount(), 130000);
    EXPECT_EQ(IndexFindings(*table), "");
    ExpectPerlReadsTheSame(*table);
    // A second batch into the pages the first one filled.
    AppendBatch(*table, RandomRecords(23, 130001, 5000));
    EXPECT_EQ(IndexFindings(*table), "");
    table.reset();
    EXPECT_TRUE(OpenIndexedTable(path)->CanModify());
}

TEST(CdxBatchAppend, BatchAndOneByOneGiveTheSameTableAndTagOrders)
{
    TScratchDir one, two;
    const std::string pathOne = MakeIndexedTable(one.Path(), "same", 3000, 31);
    const std::string pathTwo = MakeIndexedTable(two.Path(), "same", 3000, 31);
    auto tableOne = OpenIndexedTable(pathOne);
    auto tableTwo = OpenIndexedTable(pathTwo);
    const std::vector<TEngineRecord> records = RandomRecords(32, 3001, 2500);
    AppendOneByOne(*tableOne, records);
    AppendBatch(*tableTwo, records);
    EXPECT_TRUE(ReadFileBytes(pathTwo) == ReadFileBytes(pathOne)) << "the table's bytes differ";
    EXPECT_EQ(TagOrders(*tableTwo), TagOrders(*tableOne));
    EXPECT_EQ(IndexFindings(*tableTwo), "");
    // The unique tag holds the lowest record of each city: stored ones win.
    EXPECT_EQ(EngineOrder(*tableTwo, "CITY").size(), 14u);
}

TEST(CdxBatchAppend, ACandidateViolationAnywhereRefusesTheWholeBatch)
{
    TScratchDir dir;
    const std::string path = MakeIndexedTable(dir.Path(), "viol", 2000, 41);
    auto table = OpenIndexedTable(path);
    const TFiles before = Snapshot(dir.Path());

    struct TCase {
        const char* What;
        size_t At;
        int32_t Id;
        const char* Said;
    };
    const TCase cases[] = {
        {"a stored key", 700, 1234, "Record 701 of the 1000 being added has the key of record 1234."},
        {"a key twice in the batch", 900, 2005, "Records 5 and 901 of the 1000 being added have the same key."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<TEngineRecord> records = RandomRecords(42, 2001, 1000);
        records[c.At][FieldId] = TVariant(c.Id);
        size_t appended = 7;
        try {
            table->AppendRecords(records, appended);
            ADD_FAILURE() << "the batch was taken";
        } catch (const EDBEngineError& e) {
            EXPECT_EQ(e.ErrorCode(), DBIERR_KEYVIOL);
            const std::string message = e.what();
            EXPECT_NE(message.find("Uniqueness of index ID is violated."), std::string::npos) << message;
            EXPECT_NE(message.find("Key: ID"), std::string::npos) << message;
            EXPECT_NE(message.find(c.Said), std::string::npos) << message;
        }
        EXPECT_EQ(appended, 0u);
        EXPECT_TRUE(Snapshot(dir.Path()) == before) << "a refused batch changed the files";
        EXPECT_EQ(table->RecordCount(), 2000);
    }
    // A value that does not fit names its record, and nothing is written either.
    std::vector<TEngineRecord> records = RandomRecords(43, 2001, 300);
    records[150][FieldName] = TVariant(std::string(40, 'x'));
    size_t appended = 0;
    try {
        table->AppendRecords(records, appended);
        ADD_FAILURE() << "a name too long was taken";
    } catch (const EDBEngineError& e) {
        EXPECT_NE(std::string(e.what()).find("Record 151 of the 300 being added"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(Snapshot(dir.Path()) == before) << "a refused batch changed the files";
    // The table takes the batch once it is mended.
    records[150][FieldName] = TVariant("mended");
    AppendBatch(*table, records);
    EXPECT_EQ(IndexFindings(*table), "");
}

TEST(CdxBatchAppend, MemoValuesOfABatchAreStoredAsSingleAppendsStoreThem)
{
    struct TDialect {
        const char* Level;
        bool Indexed;
    };
    for (const TDialect& dialect : {TDialect{"VFP", true}, TDialect{"FOXPRO2", false}, TDialect{"IV", false},
                                    TDialect{"III", false}}) {
        SCOPED_TRACE(dialect.Level);
        TScratchDir one, two;
        auto create = [&](const TScratchDir& dir) {
            TCreateTableParams params;
            params.Path = dir.Path() + "/memo.dbf";
            params.Level = dialect.Level;
            TEngineFieldDef id, note;
            id.Name = "ID";
            id.DataType = ftInteger;
            id.Required = true;
            note.Name = "NOTE";
            note.DataType = ftMemo;
            params.Fields = {id, note};
            CdxDbfDriver().CreateTable(params);
            if (dialect.Indexed) {
                cdx::CreateIndexFile(dir.Path() + "/memo.cdx", {{"ID", "ID", "", 4, cdx::OptCandidate, false}});
                std::string bytes = ReadFileBytes(params.Path);
                bytes[28] = static_cast<char>(bytes[28] | 0x01);
                WriteFileBytes(params.Path, bytes);
            }
            return params.Path;
        };
        const std::string pathOne = create(one), pathTwo = create(two);
        std::vector<TEngineRecord> records;
        for (int32_t i = 1; i <= 40; ++i)
            records.push_back({TVariant(i), i % 5 == 0 ? TVariant::Null()
                                                       : TVariant("memo " + std::to_string(i) + std::string(i * 37, 'm'))});
        auto tableOne = OpenIndexedTable(pathOne);
        auto tableTwo = OpenIndexedTable(pathTwo);
        AppendOneByOne(*tableOne, records);
        AppendBatch(*tableTwo, records);
        // The index's change counter moves once per post, and once for the batch.
        TFiles batch = Snapshot(two.Path()), single = Snapshot(one.Path());
        for (TFiles* files : {&batch, &single})
            if (files->count("memo.cdx"))
                (*files)["memo.cdx"].replace(8, 4, 4, '\0');
        EXPECT_TRUE(batch == single) << "the files differ";
        tableTwo->SetRecNo(12);
        TEngineRecord read;
        ASSERT_TRUE(tableTwo->ReadCurrent(read));
        EXPECT_EQ(read[1].AsString(), records[11][1].AsString());
        if (dialect.Indexed) {
            EXPECT_EQ(IndexFindings(*tableTwo), "");
        }
    }
}
