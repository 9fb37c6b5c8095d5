// Locate and Lookup answered from the in-memory table's column indexes:
// the same record as a walk through the table finds, after inserts, edits,
// deletes, appends one by one and in batches, reopening and emptying the
// table, over a few dozen rows and over thousands (where the indexes hold
// their entries in several blocks and prefixes are shared by hundreds of
// rows).

#include "DataSetTestSupport.h"
#include "data/FieldTypes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// SEQ identifies a record; CODE, NAME and SCORE hold values searched for,
// with repeats, letter case variants and missing values.
void DefineSearched(TMemTable& table)
{
    table.FieldDefs().Add("SEQ", ftInteger);
    table.FieldDefs().Add("CODE", ftInteger);
    table.FieldDefs().Add("NAME", ftString, 12);
    table.FieldDefs().Add("SCORE", ftFloat);
}

int CurrentSeq(const TDataSet& dataSet) { return dataSet.FieldByName("SEQ")->AsInteger(); }

TVariant Values(std::vector<TVariant> items) { return TVariant(std::move(items)); }

const std::vector<TVariant>& Names()
{
    static const std::vector<TVariant> names = {
        TVariant::Null(), TVariant(""), TVariant("a"), TVariant("A"), TVariant("ab"), TVariant("Ab"),
        TVariant("aB"), TVariant("abc"), TVariant("ABC"), TVariant("abd"), TVariant("b"), TVariant("Ba"),
        TVariant("bA "), TVariant("Ölbaum"), TVariant("ölbaum"), TVariant("z\xC3\xA9"), TVariant("[a]"),
        TVariant("abcdefghij"), TVariant("abcdefghiJ"), TVariant("abcdefgh"),
        // Cyrillic and Greek in several cases, a Kelvin sign that folds to
        // "k", a 0 byte inside a text.
        TVariant("Ёлка"), TVariant("ёлка"), TVariant("ЁЛКА-2"), TVariant("Ωμέγα"), TVariant("ωΜΈΓΑ"),
        TVariant("\u212Aelvin"), TVariant("kelvin"), TVariant(std::string("ab\0", 3))};
    return names;
}

// Keys searched for: every name, and prefixes that only a case-folding
// search finds beyond ASCII.
const std::vector<TVariant>& Keys()
{
    static const std::vector<TVariant> keys = [] {
        std::vector<TVariant> all = Names();
        for (const char* prefix : {"ё", "Ё", "ЁЛ", "ёлка-", "ω", "ΩΜ", "K", "ö", "Ö", "Z\xC3\x89"})
            all.emplace_back(prefix);
        return all;
    }();
    return keys;
}

const std::vector<TVariant>& Scores()
{
    static const std::vector<TVariant> scores = {TVariant::Null(), TVariant(1.5), TVariant(2.0), TVariant(-3.25)};
    return scores;
}

// Two tables kept equal: one searched through its indexes, one through a
// filter that accepts every record, which makes every search a walk.
class IndexedSearch : public ::testing::Test {
protected:
    void SetUp() override { Load(40); }

    // Both tables filled with `count` records while closed, then opened.
    void Load(int count)
    {
        DefineSearched(Indexed);
        DefineSearched(Walked);
        Walked.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
        Walked.SetFiltered(true);
        for (int i = 0; i < count; ++i)
            AppendBoth();
        Indexed.Open();
        Walked.Open();
    }

    TVariant Pick(const std::vector<TVariant>& pool) { return pool[Random() % pool.size()]; }
    TVariant Code() { return Random() % 7 == 0 ? TVariant::Null() : TVariant(static_cast<int32_t>(Random() % 9)); }

    std::vector<TVariant> NewRecord()
    {
        return {TVariant(++LastSeq), Code(), Pick(Names()), Pick(Scores())};
    }

    void AppendBoth()
    {
        const std::vector<TVariant> record = NewRecord();
        Indexed.AppendRecord(record);
        Walked.AppendRecord(record);
    }

    // Both tables on the same record: the one with this SEQ.
    void GoToBoth(int seq)
    {
        ASSERT_TRUE(Indexed.Locate("SEQ", TVariant(seq)));
        ASSERT_TRUE(Walked.Locate("SEQ", TVariant(seq)));
    }

    int RandomSeq()
    {
        Walked.First();
        Walked.MoveBy(static_cast<int>(Random() % static_cast<unsigned>(Indexed.StoredRecordCount())));
        return CurrentSeq(Walked);
    }

    // A few records appended at the end while the tables are open: one by
    // one, or as one batch.
    void AppendWhileOpen(bool batch)
    {
        std::vector<TEngineRecord> records;
        for (unsigned n = 1 + Random() % 4; n > 0; --n)
            records.push_back(NewRecord());
        for (TMemTable* table : {&Indexed, &Walked}) {
            if (batch) {
                std::vector<TEngineRecord> copy = records;
                size_t appended = 0;
                table->AppendRecords(copy, appended);
                ASSERT_EQ(appended, records.size());
            } else {
                for (const TEngineRecord& record : records)
                    table->AppendRecord(record);
            }
        }
    }

    void ChangeBoth()
    {
        const unsigned what = Random() % 8;
        if (what == 5) {
            // Records appended while closed are sorted in at the next open.
            Indexed.Close(), Walked.Close();
            if (Random() % 2)
                AppendBoth();
            Indexed.Open(), Walked.Open();
            return;
        }
        if (what >= 6) {
            AppendWhileOpen(what == 7);
            return;
        }
        if (Indexed.IsEmpty() || what == 0) {
            const std::vector<TVariant> record = NewRecord();
            if (!Indexed.IsEmpty())
                GoToBoth(RandomSeq());
            Indexed.InsertRecord(record);
            Walked.InsertRecord(record);
            return;
        }
        GoToBoth(RandomSeq());
        if (what == 1) {
            Indexed.Delete();
            Walked.Delete();
            return;
        }
        const std::vector<TVariant> changed = NewRecord();
        for (TMemTable* table : {&Indexed, &Walked}) {
            table->Edit();
            if (what == 2)
                table->FieldByName("NAME")->SetValue(changed[2]);
            else if (what == 3)
                table->FieldByName("CODE")->SetValue(changed[1]);
            else
                table->FieldByName("SCORE")->SetValue(changed[3]);
            table->Post();
        }
    }

    // The same search on both tables gives the same record (or none).
    void ExpectSameLocate(const std::string& fields, const TVariant& keys, TLocateOptions options)
    {
        const bool indexed = Indexed.Locate(fields, keys, options);
        const bool walked = Walked.Locate(fields, keys, options);
        ASSERT_EQ(indexed, walked) << fields;
        if (indexed) {
            ASSERT_EQ(CurrentSeq(Indexed), CurrentSeq(Walked)) << fields;
        }
        ASSERT_EQ(Indexed.Lookup(fields, keys, "SEQ"), Walked.Lookup(fields, keys, "SEQ")) << fields;
    }

    void SearchBoth()
    {
        static const TLocateOptions optionSets[] = {
            {}, {loCaseInsensitive}, {loPartialKey}, {loCaseInsensitive, loPartialKey}};
        const TLocateOptions options = optionSets[Random() % 4];
        switch (Random() % 4) {
        case 0: ExpectSameLocate("NAME", Pick(Keys()), options); break;
        case 1: ExpectSameLocate("CODE", Code(), options); break;
        case 2: ExpectSameLocate("SCORE", Pick(Scores()), options); break;
        default: ExpectSameLocate("NAME;CODE", Values({Pick(Names()), Code()}), options); break;
        }
    }

    // Rounds of a random change followed by random searches.
    void ChangeAndSearch(int rounds, int searchesPerRound)
    {
        for (int round = 0; round < rounds; ++round) {
            ChangeBoth();
            for (int search = 0; search < searchesPerRound; ++search) {
                SearchBoth();
                if (HasFatalFailure())
                    FAIL() << "after round " << round;
            }
        }
    }

    TMemTable Indexed;
    TMemTable Walked;
    std::mt19937 Random{20261209};
    int LastSeq = 0;
};

TEST_F(IndexedSearch, OnlyTheTableWithoutAFilterIsSearchedQuickly)
{
    EXPECT_TRUE(Indexed.LocateIsQuick("NAME", {loCaseInsensitive, loPartialKey}));
    EXPECT_TRUE(Indexed.LocateIsQuick("CODE;NAME"));
    EXPECT_FALSE(Walked.LocateIsQuick("NAME"));
    EXPECT_THROW(Indexed.LocateIsQuick("NOSUCH"), EDatabaseError);
}

TEST_F(IndexedSearch, FindsWhatAWalkFindsWhileTheTableChanges)
{
    ChangeAndSearch(400, 6);
}

// Thousands of records: every name is held by a couple of hundred of them,
// and the prefix of a short name by about a thousand.
class IndexedSearchOfThousands : public IndexedSearch {
protected:
    void SetUp() override { Load(6000); }
};

TEST_F(IndexedSearchOfThousands, FindsWhatAWalkFindsWhileTheTableChanges)
{
    ChangeAndSearch(150, 4);
}

TEST_F(IndexedSearch, FollowsTheEmptiedAndRefilledTable)
{
    ExpectSameLocate("NAME", TVariant("ab"), loPartialKey);
    Indexed.EmptyTable();
    Walked.EmptyTable();
    EXPECT_FALSE(Indexed.Locate("NAME", TVariant(""), loPartialKey));
    Indexed.AppendRecord({TVariant(1000), TVariant(1), TVariant("abba"), TVariant()});
    EXPECT_TRUE(Indexed.Locate("NAME", TVariant("AB"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentSeq(Indexed), 1000);
}

TEST(IndexedSearchOrder, TheFirstRecordInTableOrderWinsAfterInsertsAndEdits)
{
    TMemTable table;
    DefineSearched(table);
    table.AppendRecord({TVariant(1), TVariant(5), TVariant("Maple"), TVariant()});
    table.AppendRecord({TVariant(2), TVariant(5), TVariant("maple"), TVariant()});
    table.Open();
    ASSERT_TRUE(table.Locate("CODE", TVariant(5)));   // the indexes are built now
    ASSERT_TRUE(table.Locate("NAME", TVariant("MAP"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentSeq(table), 1);

    // A record inserted before both becomes the first of its code and prefix.
    table.First();
    table.InsertRecord({TVariant(3), TVariant(5), TVariant("mapLE tree"), TVariant()});
    ASSERT_TRUE(table.Locate("CODE", TVariant(5)));
    EXPECT_EQ(CurrentSeq(table), 3);
    ASSERT_TRUE(table.Locate("NAME", TVariant("map"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(CurrentSeq(table), 3);

    // Its new values move it out of both runs.
    table.Edit();
    table.FieldByName("CODE")->SetAsInteger(6);
    table.FieldByName("NAME")->SetAsString("Oak");
    table.Post();
    ASSERT_TRUE(table.Locate("CODE", TVariant(5)));
    EXPECT_EQ(CurrentSeq(table), 1);
    EXPECT_FALSE(table.Locate("NAME", TVariant("oak")));
    ASSERT_TRUE(table.Locate("NAME", TVariant("oak"), loCaseInsensitive));
    EXPECT_EQ(CurrentSeq(table), 3);

    // A deleted record is found no more.
    table.Delete();
    EXPECT_FALSE(table.Locate("NAME", TVariant("Oak")));
    EXPECT_FALSE(table.Locate("CODE", TVariant(6)));
    EXPECT_EQ(table.Lookup("CODE", TVariant(5), "SEQ").AsInteger(), 1);
}

// A prefix that a long run of names shares: the record found is the first
// in the table, whether it stands among the leading records or far behind
// them, and whatever the other key field asks for.
TEST(IndexedSearchOrder, ALongRunOfPrefixMatchesFindsTheFirstInTheTable)
{
    TMemTable table;
    DefineSearched(table);
    int seq = 0;
    for (int i = 0; i < 300; ++i)
        table.AppendRecord({TVariant(++seq), TVariant(i % 3), TVariant("zz" + std::to_string(i)), TVariant()});
    for (int i = 0; i < 150; ++i)
        table.AppendRecord({TVariant(++seq), TVariant(i % 5), TVariant("Ab" + std::to_string(i)), TVariant()});
    table.Open();
    const TLocateOptions prefixIgnoringCase{loCaseInsensitive, loPartialKey};
    ASSERT_TRUE(table.Locate("NAME", TVariant("a"), prefixIgnoringCase));
    EXPECT_EQ(CurrentSeq(table), 301);
    ASSERT_TRUE(table.Locate("NAME;CODE", Values({TVariant("AB"), TVariant(4)}), prefixIgnoringCase));
    EXPECT_EQ(CurrentSeq(table), 305);
    ASSERT_TRUE(table.Locate("NAME;CODE", Values({TVariant("Z"), TVariant(2)}), prefixIgnoringCase));
    EXPECT_EQ(CurrentSeq(table), 3);

    // A matching record moved to the table's start is found there.
    table.First();
    table.InsertRecord({TVariant(++seq), TVariant(4), TVariant("aBc"), TVariant()});
    ASSERT_TRUE(table.Locate("NAME", TVariant("a"), prefixIgnoringCase));
    EXPECT_EQ(CurrentSeq(table), seq);
    ASSERT_TRUE(table.Locate("NAME;CODE", Values({TVariant("ab"), TVariant(3)}), prefixIgnoringCase));
    EXPECT_EQ(CurrentSeq(table), 304);
}

} // namespace
