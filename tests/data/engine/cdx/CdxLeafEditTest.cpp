// Pairs removed from and inserted into leaf pages as they stand give the
// very pages that decoding, changing and encoding the leaves give, and
// what the tree must do itself is declined.

#include "data/engine/ByteOrder.h"
#include "data/engine/dbf/CdxLeafEdit.h"
#include "data/engine/dbf/CdxPage.h"

#include "CdxLeafSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

using namespace cdx;

namespace {

using TPageBytes = std::vector<uint8_t>;

TPageBytes Bytes(const uint8_t* page) { return TPageBytes(page, page + PageSize); }

// Calls `visit` with encoded leaves of random keys of several lengths and
// fills, of a few pairs to full pages, of small and large record numbers.
void ForRandomLeaves(const std::function<void(const TNode&, const uint8_t*, uint16_t, char, std::mt19937&)>& visit)
{
    for (const auto& [keyLength, fill] : {std::pair<uint16_t, char>{8, '\0'}, {12, ' '}, {20, ' '}, {40, ' '}}) {
        std::mt19937 random(keyLength + 1);
        for (int round = 0; round < 150; ++round) {
            const std::vector<std::string> keys = RandomSortedLeafKeys(random, 4 + round % 60, keyLength, fill);
            TNode built(keyLength);
            built.Attributes = AttrLeaf;
            built.Left = 4096;
            built.Right = round % 2 ? NoPage : 8192;
            const uint32_t largest = round % 3 == 0 ? 70000 : 900;
            uint32_t recNo = 0;
            for (const std::string& key : keys) {
                recNo += 1 + random() % (largest / keys.size());
                built.Append(key, recNo);
            }
            uint8_t page[PageSize];
            if (EncodeNode(built, keyLength, static_cast<uint8_t>(fill), page))
                visit(built, page, keyLength, fill, random);
        }
    }
}

// The leaf of `page` decoded, changed by `change` and encoded again.
TPageBytes EncodedAfter(const uint8_t* page, uint16_t keyLength, char fill, const std::function<void(TNode&)>& change)
{
    TNode node;
    std::string error;
    EXPECT_TRUE(DecodeNode(page, keyLength, static_cast<uint8_t>(fill), node, error)) << error;
    change(node);
    uint8_t encoded[PageSize];
    if (!EncodeNode(node, keyLength, static_cast<uint8_t>(fill), encoded))
        return {};
    return Bytes(encoded);
}

} // namespace

// Removing a pair from a leaf's page as it stands gives the very page that
// decoding, erasing and encoding give, for every pair of every leaf; the
// cases left to the tree are declined.
TEST(CdxLeafEdit, APairRemovedFromALeafsPageLeavesTheBytesTheEncoderWrites)
{
    size_t removedInPlace = 0, declined = 0;
    ForRandomLeaves([&](const TNode& built, const uint8_t* page, uint16_t keyLength, char fill, std::mt19937&) {
        for (size_t i = 0; i < built.Count(); ++i) {
            const std::string key(built.Key(i));
            const TPageBytes expected = EncodedAfter(page, keyLength, fill, [&](TNode& node) { node.Erase(i); });
            uint8_t edited[PageSize];
            if (!RemoveFromLeafPage(page, keyLength, static_cast<uint8_t>(fill), key, built.RecNo(i), edited)) {
                const bool thin = Le16(expected.data() + 12) >= 2 * LeafSpace / 3;
                EXPECT_TRUE(i + 1 == built.Count() || thin) << "pair " << i << " of " << built.Count();
                ++declined;
                continue;
            }
            ASSERT_EQ(Bytes(edited), expected) << "key length " << keyLength << ", pair " << i;
            ++removedInPlace;
        }
        // A pair the leaf does not hold (no record is numbered 0), and a key of another length.
        uint8_t edited[PageSize];
        EXPECT_FALSE(RemoveFromLeafPage(page, keyLength, static_cast<uint8_t>(fill), std::string(built.Key(1)), 0, edited));
        EXPECT_FALSE(RemoveFromLeafPage(page, keyLength, static_cast<uint8_t>(fill), "a", built.RecNo(0), edited));
    });
    EXPECT_GT(removedInPlace, 5000u);
    EXPECT_GT(declined, 100u);

    // Another program shared fewer bytes than it could: the keys the edit
    // does not touch keep its bytes.
    TNode plain = LeafOf(10, {{"abcd      ", 1}, {"bbce      ", 2}, {"bbcf      ", 3}, {"cbcf      ", 4}});
    for (uint32_t i = 10; i < 50; ++i)   // enough keys after them that the leaf stays a third full
        plain.Append("e" + std::to_string(i) + "       ", i);
    uint8_t foreign[PageSize];
    ASSERT_TRUE(EncodeNode(plain, 10, ' ', foreign));
    foreign[PageSize - 8] = 'a';   // the second key, stored whole, now reads "abce"; the third "abcf"
    uint8_t edited[PageSize];
    ASSERT_TRUE(RemoveFromLeafPage(foreign, 10, ' ', "abcf      ", 3, edited));
    TNode decoded;
    std::string error;
    ASSERT_TRUE(DecodeNode(edited, 10, ' ', decoded, error)) << error;
    ASSERT_EQ(decoded.Count(), 43u);
    EXPECT_EQ(decoded.Key(1), "abce      ");
    EXPECT_EQ(decoded.Key(2), "cbcf      ");
    EXPECT_EQ(decoded.RecNo(2), 4u);
    EXPECT_EQ(std::memcmp(edited + 24, foreign + 24, 2 * 3), 0) << "the first two entries keep their counts";
    EXPECT_EQ(std::memcmp(edited + PageSize - 8, foreign + PageSize - 8, 8), 0) << "and their key bytes";
}

// The same for a pair inserted: in place wherever the leaf's last pair
// stays last and the pair fits in the entries' width and the page.
TEST(CdxLeafEdit, APairInsertedIntoALeafsPageLeavesTheBytesTheEncoderWrites)
{
    size_t insertedInPlace = 0, declined = 0;
    ForRandomLeaves([&](const TNode& built, const uint8_t* page, uint16_t keyLength, char fill, std::mt19937& random) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            // Mostly keys like the leaf's own, some of them exactly its own.
            std::string key = attempt % 4 == 0 ? std::string(built.Key(random() % built.Count()))
                                               : RandomLeafKey(random, keyLength, fill);
            const uint32_t recNo = attempt % 10 == 0 ? built.RecNo(random() % built.Count()) : 1 + random() % 80000;
            const size_t at = built.LowerBound(key, recNo);
            const TPageBytes expected =
                EncodedAfter(page, keyLength, fill, [&](TNode& node) { node.Insert(at, key, recNo); });
            uint8_t edited[PageSize];
            if (!InsertIntoLeafPage(page, keyLength, static_cast<uint8_t>(fill), key, recNo, edited)) {
                const bool held = built.Holds(at, key, recNo);
                const bool wider = expected.empty() || expected[23] != page[23];
                EXPECT_TRUE(held || at == built.Count() || wider) << "pair at " << at << " of " << built.Count();
                ++declined;
                continue;
            }
            ASSERT_FALSE(built.Holds(at, key, recNo));
            ASSERT_EQ(Bytes(edited), expected) << "key length " << keyLength << ", pair at " << at;
            ++insertedInPlace;
        }
        uint8_t edited[PageSize];
        EXPECT_FALSE(InsertIntoLeafPage(page, keyLength, static_cast<uint8_t>(fill), "a", 1, edited));
    });
    EXPECT_GT(insertedInPlace, 5000u);
    EXPECT_GT(declined, 500u);

    // A full leaf is left to the tree, which splits it.
    TNode full = LeafOf(10, {});
    uint8_t page[PageSize];
    for (uint32_t i = 0; EncodeNode(full, 10, ' ', page); ++i)
        full.Append("B" + std::to_string(1000 + i) + "     ", i + 1);
    full.Erase(full.Count() - 1);
    ASSERT_TRUE(EncodeNode(full, 10, ' ', page));
    TNode more = full;
    more.Insert(0, "A0000xyzzy", 5000);
    uint8_t unused[PageSize];
    ASSERT_FALSE(EncodeNode(more, 10, ' ', unused));
    EXPECT_FALSE(InsertIntoLeafPage(page, 10, ' ', "A0000xyzzy", 5000, unused));
}

// A damaged page is never read past, and whatever an edit accepts it turns
// into a page the decoder reads.
TEST(CdxLeafEdit, DamagedPagesAreNeverReadPastAndEditsLeavePagesThatDecode)
{
    size_t accepted = 0;
    ForRandomLeaves([&](const TNode& built, const uint8_t* page, uint16_t keyLength, char fill, std::mt19937& random) {
        for (int damage = 0; damage < 20; ++damage) {
            uint8_t damaged[PageSize];
            std::memcpy(damaged, page, PageSize);
            for (int flips = 1 + random() % 3; flips > 0; --flips)
                damaged[random() % PageSize] = static_cast<uint8_t>(random());
            const std::string key(built.Key(random() % built.Count()));
            const uint32_t recNo = built.RecNo(random() % built.Count());
            uint8_t edited[PageSize];
            for (const auto edit : {RemoveFromLeafPage, InsertIntoLeafPage}) {
                if (!edit(damaged, keyLength, static_cast<uint8_t>(fill), key, recNo, edited))
                    continue;
                TNode node;
                std::string error;
                EXPECT_TRUE(DecodeNode(edited, keyLength, static_cast<uint8_t>(fill), node, error)) << error;
                ++accepted;
            }
        }
    });
    EXPECT_GT(accepted, 1000u) << "damage to key bytes alone leaves pages the edits take";
}
