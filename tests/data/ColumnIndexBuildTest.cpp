// Column indexes built over thousands of rows (the radix passes, and the
// ordering of rows whose first 8 or 16 bytes agree) and columns searched
// through the table's own order while it stays ordered: each search finds
// the record a walk through the table finds.

#include "data/HeadRadixSort.h"
#include "data/MemTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// A table searched through its indexes and a twin whose filter, accepting
// every record, makes every search a walk.
struct TTwinTables {
    TMemTable Indexed;
    TMemTable Walked;

    TTwinTables()
    {
        for (TMemTable* table : {&Indexed, &Walked}) {
            table->FieldDefs().Add("SEQ", ftInteger);
            table->FieldDefs().Add("NAME", ftString, 40);
            table->FieldDefs().Add("SCORE", ftFloat);
        }
        Walked.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
        Walked.SetFiltered(true);
    }

    void Append(const std::vector<TVariant>& record)
    {
        Indexed.AppendRecord(record);
        Walked.AppendRecord(record);
    }

    void Open()
    {
        Indexed.Open();
        Walked.Open();
    }

    void ExpectSameLocate(const std::string& field, const TVariant& key, TLocateOptions options)
    {
        const bool indexed = Indexed.Locate(field, key, options);
        const bool walked = Walked.Locate(field, key, options);
        ASSERT_EQ(indexed, walked) << field << " " << key.AsString();
        if (indexed) {
            ASSERT_EQ(Indexed.FieldByName("SEQ")->AsInteger(), Walked.FieldByName("SEQ")->AsInteger())
                << field << " " << key.AsString();
        }
    }

    void ExpectSameLocateEveryWay(const std::string& field, const TVariant& key)
    {
        for (TLocateOptions options : {TLocateOptions(), TLocateOptions(loCaseInsensitive), TLocateOptions(loPartialKey),
                                       TLocateOptions{loCaseInsensitive, loPartialKey}})
            ExpectSameLocate(field, key, options);
    }
};

// Names in bulk: texts sharing their first 9 or 16 bytes, short ASCII
// words, Cyrillic words in mixed case, repeats and missing values.
std::string BulkName(std::mt19937& random, const std::vector<std::string>& earlier)
{
    static const char* const syllables[] = {"ё", "Ё", "лк", "ЛК", "а", "А", "ж", "Ж", "ук", "УК", "ß", "é", "É"};
    switch (random() % 6) {
    case 0: return "Customer " + std::to_string(10000 + random() % 90000);
    case 1: return "Customer Number " + std::to_string(random() % 1000);
    case 2: {
        std::string word;
        for (unsigned n = 1 + random() % 6; n > 0; --n)
            word += static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 4);
        return word;
    }
    case 3: {
        std::string word;
        for (unsigned n = 1 + random() % 4; n > 0; --n)
            word += syllables[random() % std::size(syllables)];
        return word;
    }
    default: return earlier.empty() ? std::string("x") : earlier[random() % earlier.size()];
    }
}

// A key to search for: a stored name, cut short, with its ASCII letters'
// case turned, or a name no row holds.
TVariant ProbeFrom(std::mt19937& random, const std::vector<std::string>& names)
{
    std::string key = names[random() % names.size()];
    if (random() % 2)
        key.resize(random() % (key.size() + 1));
    if (random() % 2)
        for (char& c : key)
            if (std::isalpha(static_cast<unsigned char>(c)))
                c = static_cast<char>(c ^ 0x20);
    if (random() % 8 == 0)
        key += "#";
    return TVariant(key);
}

TEST(ColumnIndexBuild, ThousandsOfRowsAreFoundAsAWalkFindsThem)
{
    std::mt19937 random(20261209);
    TTwinTables tables;
    std::vector<std::string> names;
    for (int seq = 1; seq <= 3000; ++seq) {
        const bool missing = random() % 16 == 0;
        std::string name = BulkName(random, names);
        if (!missing)
            names.push_back(name);
        const TVariant score = random() % 10 == 0 ? TVariant::Null() : TVariant(static_cast<double>(random() % 500) - 250.5);
        tables.Append({TVariant(seq), missing ? TVariant::Null() : TVariant(name), score});
    }
    tables.Open();
    for (int probe = 0; probe < 150; ++probe) {
        tables.ExpectSameLocateEveryWay("NAME", ProbeFrom(random, names));
        if (probe % 5 == 0)
            tables.ExpectSameLocate("SCORE", TVariant(static_cast<double>(random() % 500) - 250.5), {});
        if (::testing::Test::HasFatalFailure())
            FAIL() << "probe " << probe;
    }
    tables.ExpectSameLocateEveryWay("NAME", TVariant::Null());
    tables.ExpectSameLocate("SCORE", TVariant::Null(), {});
}

TEST(ColumnIndexBuild, AnOrderedColumnIsSearchedUntilAnEditUndoesItsOrder)
{
    TTwinTables tables;
    // SEQ and NAME rise together; NAME repeats each text twice.
    for (int seq = 1; seq <= 400; ++seq)
        tables.Append({TVariant(seq * 2), TVariant("N" + std::to_string(1000 + seq / 2)), TVariant()});
    tables.Open();
    const auto searchAll = [&] {
        for (int key : {1, 2, 400, 401, 800, 801})
            tables.ExpectSameLocate("SEQ", TVariant(key), {});
        for (const char* key : {"N1100", "n1100", "N11", "n", "N1", "N1200", "N0", "O"})
            tables.ExpectSameLocateEveryWay("NAME", TVariant(key));
    };
    searchAll();

    // Inserted in its place, a record keeps both columns in order.
    for (TMemTable* table : {&tables.Indexed, &tables.Walked}) {
        ASSERT_TRUE(table->Locate("SEQ", TVariant(200)));
        table->InsertRecord({TVariant(199), TVariant("N1099"), TVariant()});
    }
    searchAll();
    tables.ExpectSameLocate("SEQ", TVariant(199), {});

    // An edit that puts a name out of order: searches go through an index.
    for (TMemTable* table : {&tables.Indexed, &tables.Walked}) {
        ASSERT_TRUE(table->Locate("SEQ", TVariant(4)));
        table->Edit();
        table->FieldByName("NAME")->SetAsString("n1100x");
        table->FieldByName("SEQ")->SetAsInteger(900);
        table->Post();
    }
    searchAll();
    tables.ExpectSameLocateEveryWay("NAME", TVariant("N1100X"));
    tables.ExpectSameLocate("SEQ", TVariant(900), {});
    ASSERT_TRUE(tables.Indexed.Locate("NAME", TVariant("N1100"), {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(tables.Indexed.FieldByName("SEQ")->AsInteger(), 900);   // now first in the table of its prefix

    // Emptied and refilled out of order, the table is searched by index.
    tables.Indexed.EmptyTable();
    tables.Walked.EmptyTable();
    for (int seq : {5, 3, 9, 1})
        for (TMemTable* table : {&tables.Indexed, &tables.Walked})
            table->AppendRecord({TVariant(seq), TVariant("z" + std::to_string(seq)), TVariant()});
    for (int key : {1, 3, 5, 9, 4})
        tables.ExpectSameLocate("SEQ", TVariant(key), {});
}

struct TItem {
    uint64_t Head;
    uint32_t Place;
};

TEST(HeadRadixSort, SortsStablyLikeAComparingSort)
{
    std::mt19937_64 random(7);
    for (uint64_t mask : {~uint64_t{0}, uint64_t{0xFFFF0000FFFF0000}, uint64_t{0x00000000000F0000}, uint64_t{0}}) {
        std::vector<TItem> items(50000);
        for (uint32_t i = 0; i < items.size(); ++i)
            items[i] = {(random() & mask) | 0x4000000000000000, i};
        std::vector<TItem> expected = items;
        std::stable_sort(expected.begin(), expected.end(), [](const TItem& a, const TItem& b) { return a.Head < b.Head; });
        RadixSortByHead(items.data(), items.data() + items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            ASSERT_EQ(items[i].Head, expected[i].Head) << i;
            ASSERT_EQ(items[i].Place, expected[i].Place) << i;
        }
    }
}

} // namespace
