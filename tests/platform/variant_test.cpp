#include "platform/automation/dispatch.h"
#include "platform/automation/safe_array.h"
#include "platform/automation/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

TEST(Variant, IsCompactAndDefaultsToEmpty)
{
    EXPECT_EQ(sizeof(Variant), 16u);
    Variant v;
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(v.toInt32(), 0);
    EXPECT_EQ(v.toString(), "");
    EXPECT_FALSE(v.toBool());
    EXPECT_TRUE(Variant::null().isNull());
    EXPECT_EQ(Variant::null().toDouble(), 0.0);
}

TEST(Variant, StringsAreSharedUntilWritten)
{
    Variant a("hello");
    Variant b = a;
    EXPECT_EQ(a.stringView().data(), b.stringView().data()); // shared
    b.mutableChars()[0] = 'j';
    EXPECT_EQ(a.stringView(), "hello");
    EXPECT_EQ(b.stringView(), "jello");
    EXPECT_NE(a.stringView().data(), b.stringView().data());

    // A sole owner writes in place: no copy per character.
    const char* before = b.stringView().data();
    for (int i = 0; i < 5; ++i)
        b.mutableChars()[i] = 'x';
    EXPECT_EQ(b.stringView().data(), before);
    EXPECT_EQ(b.stringView(), "xxxxx");
}

TEST(Variant, AppendGrowsAmortisedAndLeavesSharersAlone)
{
    Variant s("");
    EXPECT_TRUE(s.isString());
    EXPECT_EQ(s.stringLength(), 0u);
    for (int i = 0; i < 1000; ++i)
        s.appendString("ab");
    EXPECT_EQ(s.stringLength(), 2000u);
    Variant t = s;
    t.appendString("!");
    EXPECT_EQ(s.stringLength(), 2000u);
    EXPECT_EQ(t.stringLength(), 2001u);
    t.resizeString(3);
    EXPECT_EQ(t.stringView(), "aba");
    t.resizeString(5, '-');
    EXPECT_EQ(t.stringView(), "aba--");
    t.resizeString(0);
    EXPECT_TRUE(t.isString());
    EXPECT_EQ(t.stringView(), "");
}

TEST(Variant, StringsKeepEmbeddedZeros)
{
    std::string raw("a\0b", 3);
    Variant v(raw);
    EXPECT_EQ(v.stringLength(), 3u);
    EXPECT_EQ(v.toString(), raw);
}

TEST(Variant, IntegerConversionsRoundHalfToEvenAndCheckRange)
{
    EXPECT_EQ(Variant(2.5).toInt32(), 2);
    EXPECT_EQ(Variant(3.5).toInt32(), 4);
    EXPECT_EQ(Variant(-2.5).toInt32(), -2);
    EXPECT_EQ(Variant(true).toInt32(), -1);
    EXPECT_EQ(Variant(false).toInt32(), 0);
    EXPECT_EQ(Variant("  42 ").toInt32(), 42);
    EXPECT_EQ(Variant("$FF").toInt32(), 255);
    EXPECT_EQ(Variant("2.5").toInt32(), 2);
    EXPECT_EQ(Variant::fromCurrencyUnits(25000).toInt32(), 2); // 2.5
    EXPECT_THROW(Variant(3e9).toInt32(), VariantError);
    // The message names the type asked for, even beyond 64 bits.
    try {
        Variant(1e20).toInt32();
        ADD_FAILURE();
    } catch (const VariantError& e) {
        EXPECT_STREQ(e.what(), "Overflow while converting variant of type (Double) into type (Integer)");
    }
    EXPECT_EQ(Variant(2147483647.4).toInt32(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).toInt32(), INT32_MIN);
    EXPECT_THROW(Variant(std::nan("")).toInt32(), VariantError);
    EXPECT_THROW(Variant("abc").toInt32(), VariantError);
    EXPECT_THROW(Variant("").toInt32(), VariantError);
    EXPECT_EQ(Variant::fromUInt32(0xFFFFFFFFu).toInt32(), -1); // keeps its bits
    EXPECT_EQ(Variant::fromInt64(5000000000LL).toInt64(), 5000000000LL);
    EXPECT_THROW(Variant::fromInt64(5000000000LL).toInt32(), VariantError);
}

TEST(Variant, NumberKindsConvertToDouble)
{
    EXPECT_EQ(Variant::fromInt16(-7).toDouble(), -7.0);
    EXPECT_EQ(Variant::fromUInt8(200).toDouble(), 200.0);
    EXPECT_EQ(Variant::fromInt8(-100).toDouble(), -100.0);
    EXPECT_EQ(Variant::fromUInt16(65535).toDouble(), 65535.0);
    EXPECT_FLOAT_EQ(static_cast<float>(Variant::fromSingle(1.25f).toDouble()), 1.25f);
    EXPECT_EQ(Variant::fromCurrency(0.03125).toCurrencyUnits(), 312); // 312.5, half to even
    EXPECT_EQ(Variant::fromCurrency(0.09375).toCurrencyUnits(), 938);
    EXPECT_EQ(Variant::fromDate(38353.5).toDouble(), 38353.5);
    EXPECT_EQ(Variant("1e3").toDouble(), 1000.0);
    EXPECT_EQ(Variant(" -0.5 ").toDouble(), -0.5);
    EXPECT_THROW(Variant("1,5").toDouble(), VariantError); // "." is the only point
    EXPECT_EQ(Variant::fromObject(77).toDouble(), 77.0);
}

TEST(Variant, TextFormsAreLocaleIndependent)
{
    EXPECT_EQ(Variant(0.5).toString(), "0.5");
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(Variant(1e20).toString(), "1E20");
    EXPECT_EQ(Variant(1e15).toString(), "1E15");
    EXPECT_EQ(Variant(123456789012345.0).toString(), "123456789012345");
    EXPECT_EQ(Variant(0.00001).toString(), "0.00001");
    EXPECT_EQ(Variant(0.000001).toString(), "1E-6");
    EXPECT_EQ(Variant(-3.0).toString(), "-3");
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant::fromCurrencyUnits(123400).toString(), "12.34");
    EXPECT_EQ(Variant::fromCurrencyUnits(-5).toString(), "-0.0005");
    EXPECT_EQ(Variant::fromInt64(-9000000000LL).toString(), "-9000000000");
    EXPECT_EQ(Variant::fromDate(38353.0).toString(), "01.01.2005");
    EXPECT_EQ(Variant::fromDate(38353.75).toString(), "01.01.2005 18:00:00");
    EXPECT_EQ(Variant::fromDate(0.25).toString(), "06:00:00");
    EXPECT_EQ(Variant(std::numeric_limits<double>::infinity()).toString(), "INF");
}

TEST(Variant, BooleanConversions)
{
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("false").toBool());
    EXPECT_TRUE(Variant("2").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_FALSE(Variant("").toBool());
    EXPECT_THROW(Variant("maybe").toBool(), VariantError);
    EXPECT_TRUE(Variant(0.1).toBool());
    EXPECT_FALSE(Variant::fromInt32(0).toBool());
}

TEST(Variant, CopyAndMoveKeepReferencesBalanced)
{
    SafeArray::Bound b{0, 3};
    SafeArray* arr = SafeArray::create(varVariant, std::span(&b, 1));
    ASSERT_NE(arr, nullptr);
    {
        Variant a(arr);
        arr->release(); // a holds the only reference now
        EXPECT_EQ(a.array()->refCount(), 1u);
        Variant b2 = a;
        EXPECT_EQ(a.array()->refCount(), 2u);
        Variant c = std::move(b2);
        EXPECT_TRUE(b2.isEmpty());
        EXPECT_EQ(a.array()->refCount(), 2u);
        c = a; // self-sharing assignment
        EXPECT_EQ(a.array()->refCount(), 2u);
        c = c;
        EXPECT_EQ(a.array()->refCount(), 2u);
        c.clear();
        EXPECT_EQ(a.array()->refCount(), 1u);
        a = Variant("x");
        EXPECT_TRUE(a.isString());
    }
}

TEST(Variant, ArraysAreCopiedOnlyWhenWritten)
{
    SafeArray::Bound b{1, 4};
    Variant a(Ref<SafeArray>::adopt(SafeArray::create(varVariant, std::span(&b, 1))));
    a.mutableArray()->put(0, Variant(10));
    Variant c = a;
    EXPECT_EQ(a.array(), c.array());
    c.mutableArray()->put(0, Variant(20));
    EXPECT_NE(a.array(), c.array());
    EXPECT_EQ(a.array()->get(0).toInt32(), 10);
    EXPECT_EQ(c.array()->get(0).toInt32(), 20);
    // Assigning an array into its own element copies the value, not a cycle.
    Variant self = a;
    a.mutableArray()->put(1, self);
    EXPECT_TRUE(a.array()->get(1).isArray());
    EXPECT_EQ(a.array()->get(1).array()->get(0).toInt32(), 10);
    EXPECT_EQ(a.type(), VarType(varArray | varVariant));
    EXPECT_THROW(a.toDouble(), VariantError);
}
