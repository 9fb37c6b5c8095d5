// The value encodings, the password checksum and the position labels,
// checked against the examples of the format reference.

#include "data/engine/paradox/PxCrypt.h"
#include "data/engine/paradox/PxEncoding.h"
#include "data/engine/paradox/PxLabels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace px;

namespace {

std::string Hex(const uint8_t* p, size_t n)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

} // namespace

TEST(ParadoxEncoding, IntegersSortAsBytesAndKeepTheirRange)
{
    uint8_t b[4];
    ASSERT_TRUE(EncodeInt(1, b, 2));
    EXPECT_EQ(Hex(b, 2), "8001");
    ASSERT_TRUE(EncodeInt(256, b, 2));
    EXPECT_EQ(Hex(b, 2), "8100");
    ASSERT_TRUE(EncodeInt(-2, b, 2));
    EXPECT_EQ(Hex(b, 2), "7FFE");
    EXPECT_EQ(DecodeInt(b, 2), -2);
    EXPECT_FALSE(EncodeInt(-32768, b, 2)) << "encodes to blank";
    EXPECT_FALSE(EncodeInt(32768, b, 2));
    EXPECT_TRUE(EncodeInt(-2147483647, b, 4));
    EXPECT_EQ(DecodeInt(b, 4), -2147483647);
    EXPECT_FALSE(EncodeInt(-2147483648LL, b, 4));
    // Byte order is numeric order.
    uint8_t lower[4], higher[4];
    std::mt19937 random(1);
    for (int i = 0; i < 1000; ++i) {
        int32_t a = static_cast<int32_t>(random() % 2000000) - 1000000, c = a + 1 + static_cast<int32_t>(random() % 1000);
        EncodeInt(a, lower, 4);
        EncodeInt(c, higher, 4);
        ASSERT_LT(std::memcmp(lower, higher, 4), 0);
    }
}

TEST(ParadoxEncoding, DoublesSortAsBytesWithoutNegativeZeroOrNaN)
{
    uint8_t b[8];
    ASSERT_TRUE(EncodeDouble(1.0, b));
    EXPECT_EQ(Hex(b, 8), "BFF0000000000000");
    ASSERT_TRUE(EncodeDouble(-1.0, b));
    EXPECT_EQ(Hex(b, 8), "400FFFFFFFFFFFFF");
    EXPECT_EQ(DecodeDouble(b), -1.0);
    ASSERT_TRUE(EncodeDouble(-0.0, b));
    EXPECT_EQ(Hex(b, 8), "8000000000000000");
    EXPECT_FALSE(std::signbit(DecodeDouble(b)));
    EXPECT_FALSE(EncodeDouble(NAN, b));
    EXPECT_FALSE(EncodeDouble(INFINITY, b));
    uint8_t lower[8], higher[8];
    EncodeDouble(-1e300, lower);
    EncodeDouble(-2.5, higher);
    EXPECT_LT(std::memcmp(lower, higher, 8), 0);
    EncodeDouble(0.0, lower);
    EncodeDouble(1e-300, higher);
    EXPECT_LT(std::memcmp(lower, higher, 8), 0);
}

TEST(ParadoxEncoding, BcdFollowsTheReferenceExamples)
{
    uint8_t b[17];
    ASSERT_TRUE(EncodeBcd("1.23", 2, b));
    EXPECT_EQ(Hex(b, 17), "C2000000000000000000000000000" "00123");
    EXPECT_EQ(DecodeBcd(b, 2), "1.23");
    ASSERT_TRUE(EncodeBcd("-1.23", 2, b));
    EXPECT_EQ(Hex(b, 17), "42FFFFFFFFFFFFFFFFFFFFFFFFFFFFFEDC");
    EXPECT_EQ(DecodeBcd(b, 2), "-1.23");
    ASSERT_TRUE(EncodeBcd("0", 2, b));
    EXPECT_EQ(DecodeBcd(b, 2), "0.00");
    ASSERT_TRUE(EncodeBcd("-0.004", 2, b));
    EXPECT_EQ(b[0], 0xC2) << "a value rounding to zero is stored as +0";
    ASSERT_TRUE(EncodeBcd("2.345", 2, b));
    EXPECT_EQ(DecodeBcd(b, 2), "2.35");
    ASSERT_TRUE(EncodeBcd("99999999999999999999999999999999", 0, b));
    EXPECT_FALSE(EncodeBcd("100000000000000000000000000000000", 0, b));
    EXPECT_FALSE(EncodeBcd("1e5", 0, b));
    EXPECT_FALSE(EncodeBcd("", 0, b));
    // Junk nibbles beyond the digits a float had read as zero.
    ASSERT_TRUE(EncodeBcd("1.5", 2, b));
    b[16] = 0x5A;
    EXPECT_EQ(DecodeBcd(b, 2), "1.50");
}

TEST(ParadoxCrypt, PasswordChecksumAndScramblingRoundTrip)
{
    EXPECT_EQ(PasswordChecksum("123"), 0x0A25E09Au);
    EXPECT_EQ(PasswordChecksum(""), 0u);
    EXPECT_NE(PasswordChecksum("124"), PasswordChecksum("123"));
    std::vector<uint8_t> block(2048), original;
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7);
    original = block;
    EncryptBlock(block.data(), block.size(), 0x0A25E09A, 5);
    EXPECT_NE(block, original);
    DecryptBlock(block.data(), block.size(), 0x0A25E09A, 5);
    EXPECT_EQ(block, original);
    uint8_t piece[256];
    std::memcpy(piece, original.data(), 256);
    EncryptBlobPiece(piece, 77);
    DecryptBlobPiece(piece, 77);
    EXPECT_EQ(std::memcmp(piece, original.data(), 256), 0);
}

TEST(ParadoxLabels, LabelsBetweenNeighboursKeepTheOrderForever)
{
    std::vector<std::string> labels{EncodeLabel(1), EncodeLabel(2)};
    std::mt19937 random(9);
    for (int i = 0; i < 3000; ++i) {
        size_t at = random() % labels.size();
        std::string high = at + 1 < labels.size() ? labels[at + 1] : std::string();
        std::string label = LabelBetween(labels[at], high);
        ASSERT_LT(labels[at], label);
        if (!high.empty()) {
            ASSERT_LT(label, high);
        }
        labels.insert(labels.begin() + static_cast<long>(at) + 1, label);
    }
    // Repeatedly inserting right after the same label stays short enough.
    std::string low = EncodeLabel(7), high = EncodeLabel(8);
    for (int i = 0; i < 200; ++i)
        high = LabelBetween(low, high);
    EXPECT_LT(high.size(), 40u);
    EXPECT_LT(low, high);
}
