#include "platform/automation/dispatch.h"
#include "platform/automation/variant_ops.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

namespace {

Variant i32(int v) { return Variant(v); }
Variant str(const char* s) { return Variant(s); }

} // namespace

TEST(VariantOps, AdditionJoinsStringsAndAddsNumbers)
{
    EXPECT_EQ(varAdd(str("ab"), str("cd")).toString(), "abcd");
    EXPECT_EQ(varAdd(str("2"), i32(3)).type(), varInteger); // the string reads as a number
    EXPECT_EQ(varAdd(str("2"), i32(3)).toInt32(), 5);
    EXPECT_EQ(varAdd(str("2.5"), i32(3)).toDouble(), 5.5);
    EXPECT_THROW(varAdd(str("two"), i32(3)), VariantError);
    EXPECT_EQ(varAdd(Variant(), str("x")).toString(), "x");
    EXPECT_EQ(varAdd(str("x"), Variant::null()).toString(), "x");
    EXPECT_EQ(varAdd(Variant(), i32(4)).toInt32(), 4);
    EXPECT_EQ(varAdd(Variant(true), i32(1)).toInt32(), 0); // True is -1
    EXPECT_EQ(varAdd(i32(2), Variant(0.5)).type(), varDouble);
    EXPECT_EQ(varAdd(Variant::fromInt16(2), Variant::fromUInt8(3)).type(), varInteger);
}

TEST(VariantOps, IntegersWidenInsteadOfWrapping)
{
    Variant big = varAdd(i32(INT32_MAX), i32(1));
    EXPECT_EQ(big.type(), varInt64);
    EXPECT_EQ(big.toInt64(), 2147483648LL);
    EXPECT_EQ(varMul(i32(65536), i32(65536)).toInt64(), 4294967296LL);
    EXPECT_EQ(varSub(i32(INT32_MIN), i32(1)).toInt64(), -2147483649LL);
    Variant huge = varAdd(Variant::fromInt64(INT64_MAX), i32(1));
    EXPECT_EQ(huge.type(), varDouble);
    EXPECT_EQ(varNegate(i32(INT32_MIN)).toInt64(), 2147483648LL);
}

TEST(VariantOps, DivisionKinds)
{
    EXPECT_EQ(varDivide(i32(7), i32(2)).toDouble(), 3.5);
    EXPECT_EQ(varDivide(i32(6), i32(2)).type(), varDouble);
    EXPECT_EQ(varIntDiv(i32(7), i32(2)).toInt32(), 3);
    EXPECT_EQ(varIntDiv(i32(-7), i32(2)).toInt32(), -3);
    EXPECT_EQ(varMod(i32(-7), i32(2)).toInt32(), -1);
    EXPECT_EQ(varIntDiv(Variant(7.5), i32(2)).toInt32(), 4); // 7.5 rounds to 8
    EXPECT_EQ(varIntDiv(i32(INT32_MIN), i32(-1)).toInt32(), INT32_MIN);
    EXPECT_EQ(varMod(i32(INT32_MIN), i32(-1)).toInt32(), 0);
    EXPECT_EQ(varIntDiv(Variant::fromInt64(INT64_MIN), i32(-1)).toInt64(), INT64_MIN);
    EXPECT_THROW(varIntDiv(i32(1), i32(0)), VariantError);
    EXPECT_THROW(varMod(i32(1), i32(0)), VariantError);
    EXPECT_THROW(varDivide(i32(1), i32(0)), VariantError);
    EXPECT_THROW(varDivide(Variant(0.0), Variant(0.0)), VariantError);
    try {
        varIntDiv(i32(1), i32(0));
    } catch (const VariantError& e) {
        EXPECT_STREQ(e.what(), "Division by zero");
    }
}

TEST(VariantOps, LogicalOnBooleansBitwiseOnIntegers)
{
    EXPECT_EQ(varAnd(Variant(true), Variant(false)).type(), varBoolean);
    EXPECT_FALSE(varAnd(Variant(true), Variant(false)).toBool());
    EXPECT_TRUE(varOr(Variant(true), Variant(false)).toBool());
    EXPECT_TRUE(varXor(Variant(true), Variant(false)).toBool());
    EXPECT_TRUE(varAnd(str("True"), Variant(true)).toBool());
    EXPECT_EQ(varAnd(i32(12), i32(10)).toInt32(), 8);
    EXPECT_EQ(varOr(i32(12), i32(10)).toInt32(), 14);
    EXPECT_EQ(varXor(i32(12), i32(10)).toInt32(), 6);
    EXPECT_EQ(varAnd(Variant(true), i32(6)).toInt32(), 6); // True is all ones
    EXPECT_FALSE(varNot(Variant(true)).toBool());
    EXPECT_EQ(varNot(i32(0)).toInt32(), -1);
    EXPECT_EQ(varNot(Variant::fromInt64(0)).toInt64(), -1);
    EXPECT_EQ(varShl(i32(1), i32(31)).toInt32(), INT32_MIN);
    EXPECT_EQ(varShl(i32(1), i32(32)).toInt32(), 1); // the count is taken modulo 32
    EXPECT_EQ(varShr(i32(-1), i32(28)).toInt32(), 15); // logical shift
    EXPECT_EQ(varShl(Variant::fromInt64(1), i32(40)).toInt64(), 1LL << 40);
    EXPECT_THROW(varAnd(str("maybe"), i32(1)), VariantError);
}

TEST(VariantOps, DatesStayDatesUnderAddition)
{
    Variant d = Variant::fromDate(38353.0);
    EXPECT_EQ(varAdd(d, i32(1)).type(), varDate);
    EXPECT_EQ(varAdd(i32(1), d).type(), varDate);
    EXPECT_EQ(varSub(d, i32(1)).type(), varDate);
    Variant days = varSub(Variant::fromDate(38360.0), d);
    EXPECT_EQ(days.type(), varDouble);
    EXPECT_EQ(days.toDouble(), 7.0);
}

TEST(VariantOps, Comparisons)
{
    EXPECT_EQ(varCompare(i32(2), i32(3)), -1);
    EXPECT_EQ(varCompare(Variant(2.0), i32(2)), 0);
    EXPECT_EQ(varCompare(str("abc"), str("abd")), -1);
    EXPECT_EQ(varCompare(str("abc"), str("ABC")), 1); // letter case counts
    EXPECT_EQ(varCompare(str("ab"), str("abc")), -1);
    EXPECT_EQ(varCompare(str("\xe0"), str("a")), 1); // codes, unsigned
    EXPECT_EQ(varCompare(str("10"), i32(9)), 1);     // numerically, not "10" < "9"
    EXPECT_EQ(varCompare(Variant(true), i32(-1)), 0);
    EXPECT_EQ(varCompare(Variant(), str("")), 0);
    EXPECT_EQ(varCompare(Variant(), i32(0)), 0);
    EXPECT_EQ(varCompare(Variant(std::nan("")), Variant(std::nan(""))), 2);
    EXPECT_THROW(varCompare(str("x"), i32(1)), VariantError);
    EXPECT_TRUE(varEquals(Variant::fromCurrencyUnits(15000), Variant(1.5)));
}

TEST(VariantOps, ConcatenationTakesTexts)
{
    EXPECT_EQ(varConcat(str("n="), i32(5)).toString(), "n=5");
    EXPECT_EQ(varConcat(i32(1), Variant(2.5)).toString(), "12.5");
}

TEST(VariantOps, TypedIntegerPathsWrap)
{
    EXPECT_EQ(wrapAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrapSub(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(wrapMul(65536, 65536), 0);
    EXPECT_EQ(checkedDiv(INT32_MIN, -1), INT32_MIN);
    EXPECT_EQ(checkedDiv(7, 2), 3);
    EXPECT_EQ(checkedMod(-7, 3), -1);
    EXPECT_THROW(checkedDiv(1, 0), VariantError);
}

TEST(VariantOps, ObjectsCompareByIdentityAndRefuseArithmetic)
{
    class Obj : public Dispatch {
    public:
        DispId idOfName(std::string_view) const override { return kDispIdUnknown; }
        Variant invoke(DispId, InvokeKind, std::span<Variant>) override { return {}; }
    };
    Ref<Dispatch> a = makeRef<Obj>(), b = makeRef<Obj>();
    EXPECT_EQ(varCompare(Variant(a), Variant(a)), 0);
    EXPECT_EQ(varCompare(Variant(a), Variant(b)), 2);
    EXPECT_THROW(varAdd(Variant(a), i32(1)), VariantError);
}
