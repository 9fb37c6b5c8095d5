// TVariant conversions (and their failures) and the order it sorts by;
// currency rounding half to even.
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

std::string VariantErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EVariantError& e) {
        return e.what();
    }
    return "(no exception)";
}

TVariant Curr(int64_t scaled) { return TVariant(TCurrency::FromScaled(scaled)); }

TEST(Variant, TextsOfEveryKind)
{
    EXPECT_EQ(TVariant().AsString(), "");
    EXPECT_EQ(TVariant::Null().AsString(), "");
    EXPECT_EQ(TVariant(true).AsString(), "True");
    EXPECT_EQ(TVariant(int32_t(-5)).AsString(), "-5");
    EXPECT_EQ(TVariant(INT64_MIN).AsString(), "-9223372036854775808");
    EXPECT_EQ(TVariant(1.5).AsString(), "1.5");
    EXPECT_EQ(TVariant(1e20).AsString(), "1E20");
    EXPECT_EQ(Curr(INT64_MAX).AsString(), "922337203685477.5807");
    EXPECT_EQ(TVariant::FromDateTime(EncodeDate(2024, 3, 5) + 0.5).AsString(), "2024-03-05 12:00:00");
    EXPECT_EQ(TVariant(TBytes{'a', 'b'}).AsString(), "ab");
    EXPECT_EQ(VariantErrorOf([] { TVariant(std::vector<TVariant>{1, 2}).AsString(); }),
              "Could not convert variant of type (Array) into type (String)");
}

TEST(Variant, NumbersFromTextAndTheFailures)
{
    EXPECT_EQ(TVariant(" 42 ").AsInteger(), 42);
    EXPECT_EQ(TVariant("1.5").AsInt64(), 2);
    EXPECT_EQ(TVariant("2.5").AsInt64(), 2);      // half to even
    EXPECT_EQ(TVariant("-3.5").AsInt64(), -4);
    EXPECT_DOUBLE_EQ(TVariant("-1.5e3").AsDouble(), -1500);
    EXPECT_EQ(TVariant("922337203685477.5807").AsCurrency().Scaled, INT64_MAX);
    EXPECT_EQ(VariantErrorOf([] { TVariant("abc").AsInteger(); }),
              "Could not convert variant of type (String) into type (Integer)");
    EXPECT_EQ(VariantErrorOf([] { TVariant("abc").AsDouble(); }),
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(VariantErrorOf([] { TVariant("1e30").AsCurrency(); }),
              "Could not convert variant of type (String) into type (Currency)");
    EXPECT_EQ(VariantErrorOf([] { TVariant::Null().AsDouble(); }),
              "Could not convert variant of type (Null) into type (Double)");
    EXPECT_EQ(VariantErrorOf([] { TVariant().AsInt64(); }),
              "Could not convert variant of type (Empty) into type (Int64)");
    EXPECT_EQ(VariantErrorOf([] { TVariant(3e9).AsInteger(); }),
              "Variant value 3000000000 is out of the range of an Integer");
    EXPECT_EQ(VariantErrorOf([] { TVariant(1e19).AsInt64(); }),
              "Could not convert variant of type (Double) into type (Int64)");
    EXPECT_EQ(VariantErrorOf([] { TVariant(std::nan("")).AsInt64(); }),
              "Could not convert variant of type (Double) into type (Int64)");
    EXPECT_EQ(VariantErrorOf([] { TVariant(1e16).AsCurrency(); }),
              "Could not convert variant of type (Double) into type (Currency)");
    EXPECT_EQ(VariantErrorOf([] { TVariant(INT64_MAX).AsCurrency(); }),
              "Could not convert variant of type (Int64) into type (Currency)");
}

TEST(Variant, BooleansAndDates)
{
    EXPECT_TRUE(TVariant("TRUE").AsBoolean());
    EXPECT_FALSE(TVariant("false").AsBoolean());
    EXPECT_FALSE(TVariant("0").AsBoolean());
    EXPECT_TRUE(TVariant(Curr(1)).AsBoolean());
    EXPECT_EQ(TVariant(true).AsInteger(), -1);
    EXPECT_EQ(VariantErrorOf([] { TVariant("yes").AsBoolean(); }),
              "Could not convert variant of type (String) into type (Boolean)");
    EXPECT_EQ(TVariant("2024-03-05 06:00").AsDateTime(), EncodeDate(2024, 3, 5) + 0.25);
    EXPECT_EQ(VariantErrorOf([] { TVariant("2024-02-30").AsDateTime(); }),
              "Could not convert variant of type (String) into type (Date)");
    EXPECT_EQ(VariantErrorOf([] { TVariant(1).AsBytes(); }),
              "Could not convert variant of type (Integer) into type (Bytes)");
}

TEST(Variant, CurrencyToIntegerIsExactAndHalfToEven)
{
    EXPECT_EQ(Curr(25000).AsInt64(), 2);
    EXPECT_EQ(Curr(35000).AsInt64(), 4);
    EXPECT_EQ(Curr(-25000).AsInt64(), -2);
    EXPECT_EQ(Curr(-35000).AsInt64(), -4);
    EXPECT_EQ(Curr(25001).AsInt64(), 3);
    EXPECT_EQ(Curr(-4999).AsInt64(), 0);
    // Through a double, .4999 at this size would become .5 and round up.
    EXPECT_EQ(Curr(9223372036854774999).AsInt64(), 922337203685477);
    EXPECT_EQ(Curr(INT64_MAX).AsInt64(), 922337203685478);
    EXPECT_EQ(Curr(INT64_MIN).AsInt64(), -922337203685478);
}

TEST(Variant, ComparesNumbersByExactValueAcrossKinds)
{
    EXPECT_EQ(TVariant(1), TVariant(1.0));
    EXPECT_EQ(TVariant(int64_t(3)), Curr(30000));
    EXPECT_EQ(TVariant(1.5), Curr(15000));
    EXPECT_EQ(TVariant::FromDateTime(2.0), TVariant(2));
    // 2^53 + 1 is not the double 2^53, although the double of it is.
    const int64_t big = (int64_t(1) << 53) + 1;
    EXPECT_NE(TVariant(big), TVariant(9007199254740992.0));
    EXPECT_GT(TVariant::Compare(TVariant(big), TVariant(9007199254740992.0)), 0);
    EXPECT_LT(TVariant::Compare(TVariant(9007199254740992.0), TVariant(big)), 0);
    EXPECT_LT(TVariant::Compare(TVariant(INT64_MAX), TVariant(9223372036854775807.0)), 0);   // the double is 2^63
    // Currency against integers beyond double precision.
    EXPECT_GT(TVariant::Compare(Curr(INT64_MAX), TVariant(int64_t(922337203685477))), 0);
    EXPECT_LT(TVariant::Compare(Curr(INT64_MAX), TVariant(int64_t(922337203685478))), 0);
    EXPECT_LT(TVariant::Compare(Curr(INT64_MAX - 1), Curr(INT64_MAX)), 0);
    EXPECT_LT(TVariant::Compare(TVariant(-1e300), TVariant(INT64_MIN)), 0);
    EXPECT_LT(TVariant::Compare(TVariant(true), TVariant(false)), 0);   // True is -1
}

TEST(Variant, NotANumberSortsFirstAndConsistently)
{
    const TVariant nan(std::nan(""));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TVariant::Compare(nan, nan), 0);
    EXPECT_LT(TVariant::Compare(nan, TVariant(-inf)), 0);
    EXPECT_GT(TVariant::Compare(TVariant(-inf), nan), 0);
    EXPECT_LT(TVariant::Compare(nan, TVariant(int32_t(0))), 0);
    EXPECT_GT(TVariant::Compare(Curr(0), nan), 0);
}

TEST(Variant, OrderOfKindsAndStrings)
{
    const TVariant ordered[] = {TVariant(), TVariant::Null(), TVariant(-1e300), TVariant(0), TVariant("A"),
                                TVariant("a"), TVariant(TBytes{0}), TVariant(std::vector<TVariant>{1})};
    for (size_t i = 0; i < std::size(ordered); ++i)
        for (size_t j = 0; j < std::size(ordered); ++j) {
            int expected = i < j ? -1 : i > j ? 1 : 0;
            EXPECT_EQ(TVariant::Compare(ordered[i], ordered[j]), expected) << i << " " << j;
        }
    EXPECT_EQ(TVariant::Compare(TVariant("abc"), TVariant("ABC"), true), 0);
    EXPECT_NE(TVariant("1"), TVariant(1));   // a text is not a number
    EXPECT_EQ(TVariant::Null(), TVariant::Null());
    EXPECT_LT(TVariant::Compare(TVariant(std::vector<TVariant>{1, "b"}), TVariant(std::vector<TVariant>{1, "c"})), 0);
    EXPECT_LT(TVariant::Compare(TVariant(std::vector<TVariant>{1}), TVariant(std::vector<TVariant>{1, 0})), 0);
}

TEST(Variant, ArrayElements)
{
    TVariant a(std::vector<TVariant>{1, "two", TVariant::Null()});
    EXPECT_EQ(a.ArrayLength(), 3);
    EXPECT_EQ(a[1].AsString(), "two");
    EXPECT_TRUE(a[2].IsNull());
    EXPECT_EQ(VariantErrorOf([&] { a[3]; }), "Variant array index out of bounds");
    EXPECT_EQ(VariantErrorOf([] { TVariant(1).ArrayLength(); }),
              "Could not convert variant of type (Integer) into type (Array)");
}

TEST(Currency, RoundHalfEven)
{
    struct {
        double Value, Expected;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {2.5001, 3},
                 {-0.4, 0}, {1e300, 1e300}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c.Value), c.Expected) << c.Value;
}

TEST(Currency, FromDoubleRoundsTheShownDigitsHalfToEven)
{
    EXPECT_EQ(TCurrency::FromDouble(1.005).Scaled, 10050);     // not 10049 from the binary neighbour
    EXPECT_EQ(TCurrency::FromDouble(0.00005).Scaled, 0);       // tie: to even
    EXPECT_EQ(TCurrency::FromDouble(0.00015).Scaled, 2);
    EXPECT_EQ(TCurrency::FromDouble(-0.00015).Scaled, -2);
    EXPECT_EQ(TCurrency::FromDouble(-0.00025).Scaled, -2);
    EXPECT_EQ(TCurrency::FromDouble(922337203685477.0).Scaled, 9223372036854770000);
    EXPECT_THROW(TCurrency::FromDouble(1e15), EConvertError);
    EXPECT_THROW(TCurrency::FromDouble(std::nan("")), EConvertError);
    EXPECT_THROW(TCurrency::FromDouble(-std::numeric_limits<double>::infinity()), EConvertError);
}

TEST(Currency, ArithmeticRaisesOnOverflow)
{
    const TCurrency max = TCurrency::FromScaled(INT64_MAX);
    const TCurrency one = TCurrency::FromInt(1);
    EXPECT_EQ((max - one + one), max);
    EXPECT_THROW(max + TCurrency::FromScaled(1), EConvertError);
    EXPECT_THROW(TCurrency::FromScaled(INT64_MIN) - TCurrency::FromScaled(1), EConvertError);
    EXPECT_EQ(TCurrency::FromScaled(-1).RoundToInt64(), 0);
    EXPECT_EQ(TCurrency::FromScaled(-15000).RoundToInt64(), -2);
}

} // namespace
