// Values of numeric literals as the program builder takes them.

#include "platform/automation/variant.h"
#include "script/il/number_literal.h"

#include <gtest/gtest.h>

using platform::Variant;
using script::il::NumberLiteralValue;

TEST(NumberLiteral, IntegersFloatsAndHex)
{
    Variant v;
    ASSERT_TRUE(NumberLiteralValue("123", v));
    EXPECT_EQ(v.type(), platform::varInteger);
    EXPECT_EQ(v.toInt32(), 123);
    ASSERT_TRUE(NumberLiteralValue("2147483647", v));
    EXPECT_EQ(v.type(), platform::varInteger);
    // Beyond 32 bits a decimal integer is a float, never wrapped.
    ASSERT_TRUE(NumberLiteralValue("2147483648", v));
    EXPECT_EQ(v.type(), platform::varDouble);
    EXPECT_EQ(v.toDouble(), 2147483648.0);
    ASSERT_TRUE(NumberLiteralValue("4294967297", v));
    EXPECT_EQ(v.toDouble(), 4294967297.0);
    ASSERT_TRUE(NumberLiteralValue("99999999999999999999", v));
    EXPECT_EQ(v.toDouble(), 1e20);
    // Hex keeps its low 32 bits.
    ASSERT_TRUE(NumberLiteralValue("$FFFFFFFF", v));
    EXPECT_EQ(v.type(), platform::varInteger);
    EXPECT_EQ(v.toInt32(), -1);
    ASSERT_TRUE(NumberLiteralValue("$1FFFFFFFE", v));
    EXPECT_EQ(v.toInt32(), -2);
    ASSERT_TRUE(NumberLiteralValue("$7fffffff", v));
    EXPECT_EQ(v.toInt32(), 2147483647);
    ASSERT_TRUE(NumberLiteralValue("1.5", v));
    EXPECT_EQ(v.type(), platform::varDouble);
    EXPECT_EQ(v.toDouble(), 1.5);
    ASSERT_TRUE(NumberLiteralValue("25e-1", v));
    EXPECT_EQ(v.toDouble(), 2.5);
    ASSERT_TRUE(NumberLiteralValue("1E3", v));
    EXPECT_EQ(v.type(), platform::varDouble);
    for (const char* bad : {"", "$", "$1F.5", "$G", "abc", "1E400", "1.", "-1"})
        EXPECT_FALSE(NumberLiteralValue(bad, v)) << bad;
}
