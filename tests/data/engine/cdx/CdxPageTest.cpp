// Leaf packing of compound-index pages: the entry width grows with the
// record numbers, duplicate counts never reach into trailing fill, and a
// damaged page is refused rather than read past.

#include "data/engine/ByteOrder.h"
#include "data/engine/dbf/CdxPage.h"

#include "CdxLeafSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace cdx;

namespace {

// The (shared prefix, trailing fill) counts of entry `i` of an encoded leaf.
std::pair<int, int> EntryCounts(const uint8_t* page, int i)
{
    const int recBits = page[20], countBits = page[21];
    uint64_t v = 0;
    for (int b = 0; b < page[23]; ++b)
        v |= static_cast<uint64_t>(page[24 + i * page[23] + b]) << (8 * b);
    return {static_cast<int>((v >> recBits) & ((1u << countBits) - 1)), static_cast<int>(v >> (recBits + countBits))};
}

TNode RoundTrip(const TNode& node, uint16_t keyLength, uint8_t page[PageSize])
{
    EXPECT_TRUE(EncodeNode(node, keyLength, ' ', page));
    TNode decoded;
    std::string error;
    EXPECT_TRUE(DecodeNode(page, keyLength, ' ', decoded, error)) << error;
    return decoded;
}

} // namespace

TEST(CdxPage, EntriesWidenWhenRecordNumbersOutgrowThem)
{
    uint8_t page[PageSize];
    TNode small = LeafOf(10, {{"alpha     ", 1}, {"alpha     ", 65535}});
    TNode decoded = RoundTrip(small, 10, page);
    EXPECT_EQ(page[23], 3) << "16 record bits, 4 and 4 for the counts";
    EXPECT_EQ(page[20], 16);
    EXPECT_EQ(decoded.Count(), 2u);

    TNode large = LeafOf(10, {{"alpha     ", 1}, {"alpha     ", 65536}, {"beta      ", 16777300}});
    decoded = RoundTrip(large, 10, page);
    EXPECT_EQ(page[23], 5) << "a record number past 2^24 needs a fifth byte";
    EXPECT_EQ(page[20], 32);
    EXPECT_EQ(Le32(page + 14), 0xFFFFFFFFu);
    ASSERT_EQ(decoded.Count(), 3u);
    EXPECT_EQ(decoded.RecNo(2), 16777300u);
    EXPECT_EQ(decoded.Key(1), "alpha     ");
}

TEST(CdxPage, DuplicateCountsStopAtEitherKeysTrailingFill)
{
    uint8_t page[PageSize];
    // "ab" then "ab  x": the shared prefix may not reach into the first
    // key's trailing blanks, so only "ab" is shared.
    TNode node = LeafOf(6, {{"ab    ", 1}, {"ab  x ", 2}, {"ab  x ", 3}});
    TNode decoded = RoundTrip(node, 6, page);
    EXPECT_EQ(EntryCounts(page, 0), std::make_pair(0, 4));
    EXPECT_EQ(EntryCounts(page, 1), std::make_pair(2, 1));
    EXPECT_EQ(EntryCounts(page, 2), std::make_pair(5, 1));
    EXPECT_EQ(Le16(page + 12), LeafSpace - 3 * page[23] - (2 + 3 + 0));
    ASSERT_EQ(decoded.Count(), 3u);
    EXPECT_EQ(decoded.Key(1), "ab  x ");
}

// Long keys are compared a word at a time: every length of shared prefix
// and of trailing fill, across and within words, counts as a byte-by-byte
// count does, and the keys come back whole.
TEST(CdxPage, LongKeysCountTheirSharedPrefixesAndFillsAsByteByByte)
{
    constexpr uint16_t keyLength = 40;
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> keys;
        for (int k = 0; k < 8; ++k) {
            std::string key(keyLength, ' ');
            const size_t filled = random() % (keyLength + 1);
            for (size_t i = 0; i < filled; ++i)
                key[i] = "ab "[random() % (i < 24 ? 2 : 3)];
            keys.push_back(key);
        }
        std::sort(keys.begin(), keys.end());
        std::vector<TEntry> entries;
        for (size_t k = 0; k < keys.size(); ++k)
            entries.push_back({keys[k], static_cast<uint32_t>(k + 1)});
        uint8_t page[PageSize];
        TNode decoded = RoundTrip(LeafOf(keyLength, entries), keyLength, page);
        ASSERT_EQ(decoded.Count(), keys.size());
        size_t previousTrail = 0;
        for (size_t k = 0; k < keys.size(); ++k) {
            size_t trail = 0;
            while (trail < keyLength && keys[k][keyLength - 1 - trail] == ' ')
                ++trail;
            size_t dup = 0;
            while (k > 0 && dup < keyLength - std::max(trail, previousTrail) && keys[k][dup] == keys[k - 1][dup])
                ++dup;
            EXPECT_EQ(EntryCounts(page, static_cast<int>(k)), std::make_pair(static_cast<int>(dup), static_cast<int>(trail)))
                << "key " << k << " of round " << round;
            EXPECT_EQ(decoded.Key(k), keys[k]);
            previousTrail = trail;
        }
    }
}

TEST(CdxPage, AFullLeafIsNotEncodedAndDamagedLeavesAreRefused)
{
    TNode full = LeafOf(10, {});
    for (uint32_t i = 0; i < 60; ++i)
        full.Append(std::string(10, static_cast<char>('A' + i % 26)), i + 1);
    uint8_t page[PageSize];
    EXPECT_FALSE(EncodeNode(full, 10, ' ', page));

    TNode node = LeafOf(10, {{"key1      ", 1}, {"key2      ", 2}});
    ASSERT_TRUE(EncodeNode(node, 10, ' ', page));
    TNode decoded;
    std::string error;
    uint8_t damaged[PageSize];
    std::memcpy(damaged, page, PageSize);
    PutLe16(damaged + 2, 300);   // more entries than fit
    EXPECT_FALSE(DecodeNode(damaged, 10, ' ', decoded, error));
    std::memcpy(damaged, page, PageSize);
    PutLe16(damaged + 12, 7);    // a wrong free-space count
    EXPECT_FALSE(DecodeNode(damaged, 10, ' ', decoded, error));
    std::memcpy(damaged, page, PageSize);
    damaged[24] = 0xFF;          // the first key claims a shared prefix
    damaged[25] = 0xFF;
    damaged[26] = 0xFF;
    EXPECT_FALSE(DecodeNode(damaged, 10, ' ', decoded, error));
}

namespace {

// The page a leaf encodes to when every count is worked out afresh.
std::vector<uint8_t> EncodedAfresh(const TNode& node, uint16_t keyLength, uint8_t fill)
{
    TNode plain = node;
    plain.Measured = false;
    std::vector<uint8_t> page(PageSize);
    EXPECT_TRUE(EncodeNode(plain, keyLength, fill, page.data()));
    return page;
}

} // namespace

// A decoded leaf keeps its keys' counts through every kind of change, so
// encoding it gives the page a full count gives; a leaf from a page whose
// counts the encoder would not choose is counted afresh.
TEST(CdxPage, ALeafChangedAfterDecodingEncodesAsAFreshlyCountedOne)
{
    for (const auto& [keyLength, fill] : {std::pair<uint16_t, char>{12, ' '}, {20, '\0'}, {40, ' '}}) {
        std::mt19937 random(keyLength);
        for (int round = 0; round < 200; ++round) {
            const std::vector<std::string> keys = RandomSortedLeafKeys(random, 6 + round % 10, keyLength, fill);
            TNode built(keyLength);
            built.Attributes = AttrLeaf;
            for (size_t k = 0; k < keys.size(); ++k)
                built.Append(keys[k], static_cast<uint32_t>(k + 1));
            uint8_t page[PageSize];
            ASSERT_TRUE(EncodeNode(built, keyLength, static_cast<uint8_t>(fill), page));
            TNode node;
            std::string error;
            ASSERT_TRUE(DecodeNode(page, keyLength, static_cast<uint8_t>(fill), node, error)) << error;
            ASSERT_TRUE(node.Measured);

            for (int change = 0; change < 12; ++change) {
                const size_t at = random() % (node.Count() + 1);
                switch (random() % 5) {
                case 0:
                    node.Insert(at, RandomLeafKey(random, keyLength, fill), random() % 5000);
                    break;
                case 1:
                    if (at < node.Count() && node.Count() > 1)
                        node.Erase(at);
                    break;
                case 2:
                    if (at < node.Count())
                        node.Set(at, RandomLeafKey(random, keyLength, fill), random() % 5000);
                    break;
                case 3: {
                    TNode part(keyLength);
                    part.AssignRange(node, at / 2, at);
                    if (!part.Empty())
                        node = part;
                    break;
                }
                default: {
                    TNode tail = node;
                    node.AppendPairs(tail);
                    if (node.Count() > 30)
                        node.AssignRange(tail, 0, tail.Count());
                    break;
                }
                }
                ASSERT_TRUE(node.Measured);
                uint8_t encoded[PageSize];
                if (!EncodeNode(node, keyLength, static_cast<uint8_t>(fill), encoded))
                    break;
                ASSERT_EQ(std::vector<uint8_t>(encoded, encoded + PageSize),
                          EncodedAfresh(node, keyLength, static_cast<uint8_t>(fill)))
                    << "key length " << keyLength << ", round " << round << ", change " << change;
            }
        }
    }

    // Another program shared fewer bytes than it could: the page decodes,
    // but its leaf is counted afresh when encoded.
    TNode built = LeafOf(10, {{"abcd      ", 1}, {"abce      ", 2}});
    uint8_t page[PageSize];
    ASSERT_TRUE(EncodeNode(built, 10, ' ', page));
    ASSERT_EQ(EntryCounts(page, 1).first, 3);
    TNode plain = LeafOf(10, {{"abcd      ", 1}, {"bbce      ", 2}});
    uint8_t foreign[PageSize];
    ASSERT_TRUE(EncodeNode(plain, 10, ' ', foreign));
    foreign[PageSize - 8] = 'a';   // the second key, stored whole, now reads "abce"
    TNode decoded;
    std::string error;
    ASSERT_TRUE(DecodeNode(foreign, 10, ' ', decoded, error)) << error;
    EXPECT_EQ(decoded.Key(1), "abce      ");
    EXPECT_FALSE(decoded.Measured);
    uint8_t again[PageSize];
    ASSERT_TRUE(EncodeNode(decoded, 10, ' ', again));
    EXPECT_EQ(std::vector<uint8_t>(again, again + PageSize), std::vector<uint8_t>(page, page + PageSize));
}
