#include "platform/automation/safe_array.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

Ref<SafeArray> make(VarType t, std::initializer_list<SafeArray::Bound> bounds)
{
    std::vector<SafeArray::Bound> v(bounds);
    return Ref<SafeArray>::adopt(SafeArray::create(t, v));
}

} // namespace

TEST(SafeArray, FirstIndexRunsFastestWithSignedLowerBounds)
{
    auto a = make(varDouble, {{-2, 3}, {5, 2}}); // [-2..0] x [5..6]
    ASSERT_TRUE(a);
    EXPECT_EQ(a->dimensions(), 2u);
    EXPECT_EQ(a->lowerBound(0), -2);
    EXPECT_EQ(a->upperBound(0), 0);
    EXPECT_EQ(a->upperBound(1), 6);
    EXPECT_EQ(a->elementCount(), 6u);
    std::int32_t idx[2] = {-1, 6};
    EXPECT_EQ(a->offsetOf(idx), std::optional<std::size_t>(1 + 1 * 3));
    std::int32_t out1[2] = {1, 5};
    EXPECT_FALSE(a->offsetOf(out1));
    std::int32_t out2[2] = {-2, 4};
    EXPECT_FALSE(a->offsetOf(out2));
    std::int32_t wrongRank[1] = {0};
    EXPECT_FALSE(a->offsetOf(wrongRank));
    // Elements are zero and raw doubles.
    auto* d = static_cast<double*>(a->data());
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(d[i], 0.0);
    a->put(4, Variant("2.5"));
    EXPECT_EQ(d[4], 2.5);
    EXPECT_EQ(a->get(4).type(), varDouble);
}

TEST(SafeArray, ThreeDimensions)
{
    auto a = make(varInteger, {{0, 2}, {0, 3}, {-1, 4}});
    ASSERT_TRUE(a);
    std::int32_t idx[3] = {1, 2, 2};
    EXPECT_EQ(*a->offsetOf(idx), 1u + 2u * 2u + 3u * 6u);
}

TEST(SafeArray, RefusesWhatCannotBeMade)
{
    EXPECT_FALSE(make(varDouble, {}));
    EXPECT_FALSE(make(varEmpty, {{0, 1}}));
    EXPECT_FALSE(make(varDouble, {{0, 100000}, {0, 100000}})); // over the cap
    EXPECT_FALSE(make(varByte, {{0, 0xFFFFFFFFu}, {0, 0xFFFFFFFFu}}));
    EXPECT_FALSE(make(varDouble, {{INT32_MAX, 2}})); // last index past 32 bits
    auto empty = make(varDouble, {{0, 0}});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->elementCount(), 0u);
}

TEST(SafeArray, TypedElementsConvertAndCheckRange)
{
    auto a = make(varByte, {{0, 2}});
    a->put(0, Variant(255));
    EXPECT_THROW(a->put(1, Variant(256)), VariantError);
    EXPECT_THROW(a->put(1, Variant(-1)), VariantError);
    EXPECT_THROW(a->put(2, Variant(1)), VariantError); // past the end
    EXPECT_EQ(a->get(0).toInt32(), 255);

    auto b = make(varBoolean, {{0, 1}});
    b->put(0, Variant(true));
    EXPECT_TRUE(b->get(0).toBool());
    EXPECT_EQ(b->get(0).type(), varBoolean);

    auto s = make(varString, {{0, 1}});
    s->put(0, Variant(12));
    EXPECT_EQ(s->get(0).type(), varString);
    EXPECT_EQ(s->get(0).toString(), "12");

    auto c = make(varCurrency, {{0, 1}});
    c->put(0, Variant(1.5));
    EXPECT_EQ(c->get(0).toCurrencyUnits(), 15000);
}

TEST(SafeArray, CloneIsDeep)
{
    auto a = make(varVariant, {{0, 2}});
    a->put(0, Variant("text"));
    SafeArray* c = a->clone();
    ASSERT_NE(c, nullptr);
    c->put(0, Variant(1));
    EXPECT_EQ(a->get(0).toString(), "text");
    EXPECT_EQ(c->get(0).toInt32(), 1);
    c->release();
}
